// Keyed catalogue files: the stored layout shared by the readers (keyed_file.h)
// and the data-set builder (tools/). Numbers are little-endian.
//
// Blocks. Every catalogue file is read in blocks of 2048 bytes. Block n of a
// file that starts at block s of its container lies at byte (s + n) x 2048.
// A data block holds whole records of the record length from its first byte
// (at most 2048 / record length); a record whose first byte is NUL ends the
// block's records, the rest of the block is zero.
//
// Index record (index key length + 9 bytes):
//     0   k  key: the data key cut to the index key length (files with id 14
//            and 15: the data key without its 6th character, then cut)
//     k   6  ASCII digits: first block of the range, counted from the start
//            of the next level (or of the data file below the last level)
//   k+6   3  ASCII digits: number of blocks in the range, 1-999
// Entries ascend by key; an entry stands for the keys up to and including its
// own. Up to three levels; level 1 is one block. A group's index levels and
// its data file share one descriptor row set (below).
//
// Master file header (32 bytes; PXROOTMF.MST, PX<cat6>.MST, PXFRNOMF.MST):
//     0  8  CD date: the 8 characters after the CD id in the CD's label
//     8  8  set-up date CCYYMMDD        16  6  set-up time HHMMSS
//    22  2  the data set's directory name ("E1", "EF")
//    24  2  CD number                   26  1  data language digit
//    28  2  catalogue master: the directory name again; other masters 0
// Master entry (32 bytes), from the header on to the end of the file (a
// catalogue master is read as its first 2048 bytes):
//     0 10  file name ("SHAMEI.IA1")    10  1  NUL, carried as it stands
//    11  1  file id (JOUHOU.DAT: the key set 1, 2, 3)
//    12  1  compare mask of the descriptor row
//    13  1  key length                  14  1  key offset in the data record
//    15  1  number of key sets over the data file
//    16  4  first block inside the container
//    20  4  length in blocks; 0: the file is absent
//    24  2  record length
//    26  1  index entry: its level 1-3; data entry: index levels present 0-3
//    27  1  location: 0 on the CD, 1 a file in the data set's directory,
//           2 inside the catalogue master file
//    28  2  directory name of the data set that holds the file (1 and 2),
//           0 on the CD
// A group is four entries, index levels 1-3 and then the data file; the data
// entry's level count says how many of the three level entries before it
// describe levels that exist. On disk (location 1) a group's levels are one
// file named by the first 9 characters of the level-1 name ("SHAMEI.IA"),
// level 1 at block 0 and each further level after the one before; the
// catalogue master holds its 2048-byte header block, then its location-2
// files from block 1 on.
//
// Index shape the builder writes: the level next to the data has one entry per
// data block; a file with an equal-key level (mask 2: SHAMEI, FRKATA) keeps one
// index key to a data block and names each key once with all its blocks; the
// JOUHOU key sets S and K name each key once per run of blocks holding it.
//
// Descriptor table (built in; 109 rows, whose stored form is 40 bytes a row,
// kept here as constexpr data): name 12, several-key-sets flag 1, file id 1,
// compare mask 1, location class 1, key sets 4, record length 4, level 4,
// key length 4, key offset 4, block size 4. Rows 0-71 are the files of a data
// set (its root master), 72-76 KATARG and CATALG (in no master), 77-104 the
// files of one catalogue directory (its catalogue master), 105-108 FRKATA (the
// frame-number master). A group is four rows: index levels 1-3, then the data
// file (KATARG: data first).
#pragma once

#include <cstddef>
#include <cstdint>

namespace pxall::keyed {

constexpr int32_t kBlockSize = 2048;
constexpr int kMaxLevels = 3;
constexpr int kMaxKey = 20;
constexpr int kNameSize = 10;

// Compare-mask bits of d_search: the wanted key below, equal to, above the
// record's key.
constexpr uint8_t kMaskBelow = 1;
constexpr uint8_t kMaskEqual = 2;
constexpr uint8_t kMaskAbove = 4;
constexpr uint8_t kMaskNotBelow = kMaskBelow | kMaskEqual;

// Index record tail.
constexpr int kIndexDigits = 9;
constexpr int kIndexBlockDigits = 6;
constexpr int kIndexCountDigits = 3;
constexpr int32_t kIndexMaxBlock = 999999;
constexpr int32_t kIndexMaxCount = 999;

// Files whose index key drops the data key's 6th character.
constexpr uint8_t kIdFigureName = 14;
constexpr uint8_t kIdFigureIndex = 15;
constexpr int kDroppedKeyChar = 5;  // 0-based

namespace mhdr {
constexpr size_t kSize = 32;
constexpr size_t kCdDate = 0, kCdDateSize = 8;
constexpr size_t kSetupDate = 8, kSetupDateSize = 8;
constexpr size_t kSetupTime = 16, kSetupTimeSize = 6;
constexpr size_t kDirName = 22;
constexpr size_t kCdNo = 24;
constexpr size_t kLangDigit = 26;
constexpr size_t kOwnDir = 28;
}  // namespace mhdr

namespace ment {
constexpr size_t kSize = 32;
constexpr size_t kName = 0;
constexpr size_t kByte10 = 10;
constexpr size_t kFileId = 11;
constexpr size_t kMask = 12;
constexpr size_t kKeyLen = 13;
constexpr size_t kKeyOff = 14;
constexpr size_t kKeySets = 15;
constexpr size_t kFirstBlock = 16;
constexpr size_t kBlocks = 20;
constexpr size_t kRecLen = 24;
constexpr size_t kLevels = 26;
constexpr size_t kLocation = 27;
constexpr size_t kDataSet = 28;
}  // namespace ment

enum Location : uint8_t {
    kOnCd = 0,
    kOnDisk = 1,
    kInMaster = 2,
};

constexpr const char* kRootMaster = "PXROOTMF.MST";
constexpr const char* kFrameMaster = "PXFRNOMF.MST";
// "PX" + the first 6 characters of the catalogue code + ".MST".
constexpr const char* kCatalogMasterFormat = "PX%6.6s.MST";
// A catalogue master is read as its first block: header and 28 entries.
constexpr int32_t kCatalogMasterRead = kBlockSize;
// Location-1 index levels: one file named by the level-1 name's first 9
// characters.
constexpr int kDiskIndexNameSize = 9;
// A file on a CD: at its root, or under the catalogue's directory.
constexpr const char* kCdFileFormat = "%10.10s";
constexpr const char* kCdCatalogFileFormat = "%6.6s\\%10.10s";

// One row of the descriptor table.
struct FileDesc {
    char name[12];
    uint8_t multi_key;  // 1 for the JOUHOU key sets
    uint8_t file_id;    // JOUHOU: key set 1, 2, 3
    uint8_t mask;
    uint8_t loc_class;  // 0 CD, 1 disk, 2 catalogue master, 9 by data language
    int32_t key_sets;
    int32_t rec_len;
    int32_t level;      // index rows 1-3; data rows the levels of the table
    int32_t key_len;
    int32_t key_off;
    int32_t block_size;
};

constexpr int kTableSize = 109;
constexpr int kRootFirst = 0, kRootCount = 72;
constexpr int kKatargFirst = 72;  // KATARG.DAT, its three levels, CATALG.DAT
constexpr int kCatalogFirst = 77, kCatalogCount = 28;
constexpr int kFrameFirst = 105, kFrameCount = 4;
constexpr int kGroupRows = 4;

namespace detail {
// The four rows of a group: three index levels, then the data file.
// idx/dat: record length and key length of index and data rows.
#define PX_KEYED_GROUP(base, flag, id, m1, m2, m3, md, cls, clsd, ks, ksd, irec, drec, dlevel, ikey, dkey, doff) \
    FileDesc{base ".IA1", flag, id, m1, cls, ks, irec, 1, ikey, 0, kBlockSize},                                 \
        FileDesc{base ".IA2", flag, id, m2, cls, ks, irec, 2, ikey, 0, kBlockSize},                             \
        FileDesc{base ".IA3", flag, id, m3, cls, ks, irec, 3, ikey, 0, kBlockSize},                             \
        FileDesc{base ".DAT", flag, id, md, clsd, ksd, drec, dlevel, dkey, doff, kBlockSize}
#define PX_KEYED_SET(base, ext, flag, id, m1, m2, m3, md, cls, irec, drec, ikey, dkey, doff) \
    FileDesc{base "." ext "1", flag, id, m1, cls, 1, irec, 1, ikey, 0, kBlockSize},         \
        FileDesc{base "." ext "2", flag, id, m2, cls, 1, irec, 2, ikey, 0, kBlockSize},     \
        FileDesc{base "." ext "3", flag, id, m3, cls, 1, irec, 3, ikey, 0, kBlockSize},     \
        FileDesc{base ".DAT", flag, id, md, cls, 3, drec, 3, dkey, doff, kBlockSize}

constexpr FileDesc kTable[kTableSize] = {
    // The files of a data set: its CD root and its root master.
    PX_KEYED_GROUP("SHAMEI", 0, 1, 3, 3, 2, 2, 1, 1, 1, 1, 14, 97, 3, 5, 6, 23),
    PX_KEYED_SET("JOUHOU", "IA", 1, 1, 3, 3, 3, 2, 1, 14, 186, 5, 6, 0),
    PX_KEYED_SET("JOUHOU", "IS", 1, 2, 3, 3, 2, 2, 1, 18, 186, 9, 9, 6),
    PX_KEYED_SET("JOUHOU", "IK", 1, 3, 3, 3, 2, 2, 1, 24, 186, 15, 15, 15),
    PX_KEYED_GROUP("FRAMNO", 0, 13, 3, 3, 3, 2, 1, 1, 1, 1, 16, 107, 3, 7, 7, 6),
    PX_KEYED_GROUP("RYAKUG", 0, 4, 3, 3, 3, 2, 1, 1, 1, 1, 29, 102, 3, 20, 20, 0),
    PX_KEYED_GROUP("FIGM01", 0, 14, 3, 3, 3, 2, 9, 9, 1, 1, 15, 71, 1, 6, 7, 0),
    PX_KEYED_GROUP("FIGM02", 0, 14, 3, 3, 3, 2, 9, 9, 1, 1, 15, 71, 1, 6, 7, 0),
    PX_KEYED_GROUP("FIGM03", 0, 14, 3, 3, 3, 2, 9, 9, 1, 1, 15, 71, 1, 6, 7, 0),
    PX_KEYED_GROUP("FIGM04", 0, 14, 3, 3, 3, 2, 9, 9, 1, 1, 15, 71, 1, 6, 7, 0),
    PX_KEYED_GROUP("FIGM05", 0, 14, 3, 3, 3, 2, 9, 9, 1, 1, 15, 71, 1, 6, 7, 0),
    PX_KEYED_GROUP("HINM01", 0, 7, 3, 3, 3, 2, 9, 9, 1, 1, 15, 66, 3, 6, 6, 0),
    PX_KEYED_GROUP("HINM02", 0, 7, 3, 3, 3, 2, 9, 9, 1, 1, 15, 66, 3, 6, 6, 0),
    PX_KEYED_GROUP("HINM03", 0, 7, 3, 3, 3, 2, 9, 9, 1, 1, 15, 66, 3, 6, 6, 0),
    PX_KEYED_GROUP("HINM04", 0, 7, 3, 3, 3, 2, 9, 9, 1, 1, 15, 66, 3, 6, 6, 0),
    PX_KEYED_GROUP("HINM05", 0, 7, 3, 3, 3, 2, 9, 9, 1, 1, 15, 66, 3, 6, 6, 0),
    PX_KEYED_GROUP("FIGIND", 0, 15, 3, 3, 3, 2, 0, 0, 1, 1, 26, 28, 3, 17, 18, 0),
    PX_KEYED_GROUP("IMAGEF", 0, 0, 2, 2, 2, 2, 0, 0, 1, 1, 0, 0, 3, 0, 0, 0),
    // The catalogue lists of a CD, in no master; KATARG's data row first.
    FileDesc{"KATARG.DAT", 0, 1, 2, 0, 1, 253, 0, 5, 0, kBlockSize},
    FileDesc{"KATARG.IA1", 0, 1, 3, 0, 1, 14, 1, 5, 0, kBlockSize},
    FileDesc{"KATARG.IA2", 0, 1, 3, 0, 1, 14, 2, 5, 0, kBlockSize},
    FileDesc{"KATARG.IA3", 0, 1, 3, 0, 1, 14, 3, 5, 0, kBlockSize},
    FileDesc{"CATALG.DAT", 0, 0, 2, 0, 0, 0, 0, 0, 0, kBlockSize},
    // The files of one catalogue directory: its catalogue master.
    PX_KEYED_GROUP("EMINDE", 0, 10, 3, 3, 3, 2, 2, 2, 1, 1, 13, 30, 3, 4, 4, 6),
    PX_KEYED_GROUP("HCODEH", 0, 7, 3, 3, 3, 2, 2, 0, 1, 1, 15, 16, 3, 6, 6, 10),
    PX_KEYED_GROUP("BUINDE", 0, 11, 3, 3, 3, 2, 2, 0, 1, 1, 13, 256, 3, 4, 4, 6),
    PX_KEYED_GROUP("HINBAN", 0, 7, 3, 3, 3, 2, 2, 0, 1, 1, 15, 256, 3, 6, 6, 6),
    PX_KEYED_GROUP("KIRIKA", 0, 6, 3, 3, 3, 2, 2, 2, 1, 1, 13, 75, 3, 4, 4, 6),
    PX_KEYED_GROUP("TOKUME", 0, 0, 2, 2, 2, 2, 2, 2, 1, 0, 30, 30, 0, 0, 0, 0),
    PX_KEYED_GROUP("KIGOUU", 0, 0, 2, 2, 2, 2, 2, 2, 1, 0, 90, 90, 0, 0, 0, 0),
    // The frame-model file of a frame-number data set.
    PX_KEYED_GROUP("FRKATA", 0, 17, 3, 3, 2, 2, 1, 0, 1, 1, 20, 2048, 3, 11, 11, 0),
};
#undef PX_KEYED_GROUP
#undef PX_KEYED_SET
}  // namespace detail

constexpr const FileDesc* file_table() { return detail::kTable; }

// Index record length of a key length.
constexpr int32_t index_rec_len(int32_t key_len) { return key_len + kIndexDigits; }

// Records of a record length in one block; 0 for a length of 0 or above a block.
constexpr int32_t recs_per_block(int32_t rec_len) {
    return rec_len > 0 && rec_len <= kBlockSize ? kBlockSize / rec_len : 0;
}

// The index form of a data key: for the figure-name and figure-index files a
// key of 6 or more characters loses its 6th character. Writes at most
// kMaxKey bytes to out and returns the length written.
inline int index_key_form(uint8_t file_id, const char* key, int len, char* out) {
    if (len > kMaxKey) len = kMaxKey;
    if (len < 0) len = 0;
    int n = 0;
    bool drop = (file_id == kIdFigureName || file_id == kIdFigureIndex) && len > kDroppedKeyChar;
    for (int i = 0; i < len; ++i)
        if (!(drop && i == kDroppedKeyChar)) out[n++] = key[i];
    return n;
}

static_assert(detail::kTable[kRootCount - 1].name[0] == 'I' && detail::kTable[kRootCount - 1].level == 3,
              "the data set's files end with IMAGEF.DAT");
static_assert(detail::kTable[kCatalogFirst].name[0] == 'E', "the catalogue files start with EMINDE");
static_assert(detail::kTable[kCatalogFirst + kCatalogCount - 1].rec_len == 90, "and end with KIGOUU.DAT");
static_assert(detail::kTable[kFrameFirst].name[0] == 'F' && detail::kTable[kFrameFirst].file_id == 17,
              "FRKATA closes the table");

}  // namespace pxall::keyed
