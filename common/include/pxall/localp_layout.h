// Local price files: three sets of locally supplied parts in the local-price
// directory (path kind 3), each a data file of fixed-length records and an
// index file, written by the local-parts set-up and read by localp.h.
//
//   set  index file    data file    record  index entry  key
//   1    LOCALP1.IA    LOCALP1.D     62      16           12
//   2    LOCALP2.IA    LOCALP2.D     62      16           12
//   3    LOCALP3.IA    LOCALP3.D    132      14           10
//
// Data file: records back to back from byte 0, no header, no end mark;
// record k at k x record length. Text fields, blank-padded. The records of
// one key are consecutive (the file is sorted on the key).
// Set 1 record:  0 12 key | 12 12 | 24 4 | 28 4 | 32 30 text
// Set 2 record:  0 6 + 6 6 key (two fields) | 12 12 | 24 4 | 28 4 | 32 30 text
// Set 3 record:  0 6 catalogue code | 6 4 figure number (0-9 the key)
//               10 30 figure title | 40 12 picture file name
//               52 12 part number | 64 4 | 68 4 | 72 30 part text
//              102 30 second text
//
// Index file: one entry per distinct key, in data-file order:
//     0   k  key (k = key length)
//     k   2  number of the key's first record, unsigned 16-bit
//   k+2   2  number of consecutive records of the key, unsigned 16-bit
// An entry whose first byte is zero, or the end of the file, ends the index.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pxall::localp {

constexpr int kSets = 3;

struct SetLayout {
    const char* index_name;
    const char* data_name;
    int16_t rec_len;
    int16_t entry_len;
    int16_t key_len;
};

constexpr SetLayout kLayout[kSets] = {
    {"LOCALP1.IA", "LOCALP1.D", 62, 16, 12},
    {"LOCALP2.IA", "LOCALP2.D", 62, 16, 12},
    {"LOCALP3.IA", "LOCALP3.D", 132, 14, 10},
};

// Index entry: the two numbers after the key.
constexpr size_t first_at(int16_t key_len) { return static_cast<size_t>(key_len); }
constexpr size_t count_at(int16_t key_len) { return static_cast<size_t>(key_len) + 2; }

namespace set1 {
constexpr size_t kKey = 0, kKeySize = 12;
constexpr size_t kField2 = 12, kField2Size = 12;
constexpr size_t kField3 = 24, kField4 = 28, kShortSize = 4;
constexpr size_t kText = 32, kTextSize = 30;
}  // namespace set1

namespace set2 {
constexpr size_t kField1 = 0, kField2 = 6, kCodeSize = 6;
constexpr size_t kField3 = 12, kField3Size = 12;
constexpr size_t kField4 = 24, kField5 = 28, kShortSize = 4;
constexpr size_t kText = 32, kTextSize = 30;
}  // namespace set2

namespace set3 {
constexpr size_t kCatalog = 0, kCatalogSize = 6;
constexpr size_t kFigure = 6, kFigureSize = 4;
constexpr size_t kTitle = 10, kTitleSize = 30;
constexpr size_t kPicture = 40, kPictureSize = 12;
constexpr size_t kPart = 52, kPartSize = 12;
constexpr size_t kField6 = 64, kField7 = 68, kShortSize = 4;
constexpr size_t kText = 72, kText2 = 102, kTextSize = 30;
}  // namespace set3

// The reader's blocks: 4088 bytes of records or index entries each.
constexpr int32_t kBlockBytes = 4088;

}  // namespace pxall::localp
