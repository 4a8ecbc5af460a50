// Work files of the part-number list (work directory, path kind 0) and its
// CSV file (master directory, path kind 1).
//
// PXNEWP2.TMP (NewpListRecord, 193 bytes, blank-filled), a part's lines,
// one per remark piece and at least one:
//     0   2  number of the part (from 1) modulo 100, "%02d"; first line only
//     2   6  part-name code            8  14  part number, display form
//    22   2  quantity                 24  10  valid from, '-', valid to, blank
//    34  60  part name                94  99  remark piece
//
// PXNEWP3.TMP, the parts as gathered, one after another (variable length):
//     0   2  length of the record: 217 + 219 per continuation (16-bit)
//     2   6  part-name code            8  12  part number
//    20   2  quantity                 22  56  alternatives 1-4, part number
//                                             (12) and quantity (2) each
//    78   4  valid from               82   4  valid to
//    86  60  part name               146  71  remarks, first part
//   217 219  remarks continued, each
//
// PXNEWP0.TMP, with a single CD drive: the earlier issue's figure-index
// blocks of the catalogue (2048-byte blocks of FIGIND.DAT, pxall/
// part_records.h), copied in rounds of at most 50 reads of 10 blocks.
//
// PXNEWP.CSV, one line per PXNEWP2.TMP record, the record's fields in
// double quotes (a quote inside a field doubled), separated by commas, the
// line ended by LF. Without doubled quotes a line is 214 bytes:
//     0   4  "number"                 4   9  ,"part-name code"
//    13  17  ,"part number" (14, the whole display form)
//    30   5  ,"quantity"             35  13  ,"validity"
//    48  63  ,"part name"           111 102  ,"remark piece"     213 1 LF
#pragma once

#include <cstddef>

namespace newp {

constexpr const char* kCopyFile = "PXNEWP0.TMP";
constexpr const char* kListFile = "PXNEWP2.TMP";
constexpr const char* kPartFile = "PXNEWP3.TMP";
constexpr const char* kCsvFile = "PXNEWP.CSV";

namespace list_rec {
constexpr size_t kSize = 193;
constexpr size_t kNumber = 0;
constexpr size_t kPnc = 2;
constexpr size_t kPart = 8;
constexpr size_t kQty = 22;
constexpr size_t kValidity = 24;
constexpr size_t kValiditySize = 10;
constexpr size_t kName = 34;
constexpr size_t kNameSize = 60;
constexpr size_t kRemarks = 94;
constexpr int kPieceWidth = 99;
}  // namespace list_rec

namespace part_rec {
constexpr size_t kLength = 0;
constexpr size_t kPnc = 2;
constexpr size_t kPart = 8;
constexpr size_t kQty = 20;
constexpr size_t kSlots = 22;
constexpr size_t kFrom = 78;
constexpr size_t kTo = 82;
constexpr size_t kName = 86;
constexpr size_t kRemarks = 146;
constexpr size_t kBaseSize = 217;
constexpr size_t kMoreSize = 219;
}  // namespace part_rec

constexpr size_t kCsvLineSize = 214;
// Blocks of the figure index read at a time, and reads per copy round.
constexpr int kReadBlocks = 10;
constexpr int kRoundReads = 50;
// Parts after which the clerk is asked once whether to go on.
constexpr int kAskAfter = 300;

}  // namespace newp
