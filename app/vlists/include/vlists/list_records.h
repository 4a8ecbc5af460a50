// The records the vehicle lists read, as the screens see them (the files
// belong to their writers: DSPCAT.TMP to PXVCAT, the model list and the
// saved-vehicle list to PXVJIN, VCLINF.TMP to PXALL). Text fields are
// single-byte characters, fixed width, no separators; numbers are
// little-endian. A file's record count is its length divided by the record
// size; a trailing piece is no record.
//
// DSPCAT.TMP, 91 bytes a record (catalogue list, grid columns 0-5):
//     0  20  car name                 26   9  production period "YYMM-YYMM"
//    20   6  catalogue code           35  50  description
//    85   4  reference                89   2  CD number
//
// Model list, 148 bytes a record (grid columns 0-24):
//     0   9  first field              24  10  third field
//     9  15  second field             34   9  fourth field
//    43 105  items 1 to 21, 5 characters each (columns 4 to 24)
//
// Saved-vehicle list, 80 bytes a record (save_list_record):
//     0   2  running number            38  30  notes
//     2   4  save number               68   6  date of the save
//     6  17  VIN                       74   6  time of the save
//    23  15  frame model "-" frame number
//
// VCLINF.TMP, as the vehicle-information dialog reads it: a 133-byte
// header, then 32-byte records, record i (from 0) at 133 + 32 i.
//   header:  0 17 VIN; 17 15 catalogue code; 32 4 production date from;
//            36 4 production date to; 40 20 vehicle name; 60 20 model;
//            80 7 frame model; 87 7 frame number; 94 6 production date
//            "yyyymm"; 100 2 record count (16-bit; the writer's 32-bit
//            count reads the same up to its 250 records)
//   record:  0 29 text (NUL ends it early); 29 2 mark, 16-bit: 1 the line
//            applies to the vehicle, 0 it does not; 31 1 not read
#pragma once

#include <cstddef>

namespace px::vlists {

namespace dspcat {
constexpr size_t kSize = 91;
constexpr size_t kFieldCount = 6;
constexpr size_t kWidths[kFieldCount] = {20, 6, 9, 50, 4, 2};
}  // namespace dspcat

namespace modellist {
constexpr size_t kSize = 148;
constexpr size_t kFixedCount = 4;
constexpr size_t kFixedWidths[kFixedCount] = {9, 15, 10, 9};
constexpr size_t kItems = 43;
constexpr size_t kItemCount = 21, kItemSize = 5;
}  // namespace modellist

namespace savelist {
constexpr size_t kSize = 80;
constexpr size_t kRun = 0, kRunSize = 2;
constexpr size_t kSaveNo = 2, kSaveNoSize = 4;
constexpr size_t kVin = 6, kVinSize = 17;
constexpr size_t kFrame = 23, kFrameSize = 15;
constexpr size_t kNotes = 38, kNotesSize = 30;
constexpr size_t kDate = 68, kDateSize = 6;
constexpr size_t kTime = 74, kTimeSize = 6;
}  // namespace savelist

namespace vclinf {
constexpr size_t kHeaderSize = 133;
constexpr size_t kHeaderRead = 102;
constexpr size_t kVin = 0, kVinSize = 17;
constexpr size_t kCatalog = 17, kCatalogSize = 15;
constexpr size_t kDateFrom = 32, kDateTo = 36, kDateSize = 4;
constexpr size_t kName = 40, kNameSize = 20;
constexpr size_t kModel = 60, kModelSize = 20;
constexpr size_t kFrameModel = 80, kFrameNo = 87, kFrameSize = 7;
constexpr size_t kProdDate = 94, kProdDateSize = 6;
constexpr size_t kCount = 100;
constexpr size_t kRecordSize = 32;
constexpr size_t kText = 0, kTextSize = 29;
constexpr size_t kMark = 29;
constexpr size_t record_offset(size_t i) { return kHeaderSize + kRecordSize * i; }
}  // namespace vclinf

}  // namespace px::vlists
