// Work files of the part-number and part-name search (work directory, path
// kind 0) and its CSV file (master directory, path kind 1).
//
// PXHINB0.TMP, names found (HinbNameRecord, 66 bytes, as in the part-name
// file):
//     0   6  part-name code            6  60  part name
//
// PXHINB1.TMP, the part numbers found (HinbListRecord, 158 bytes,
// blank-filled, one or more lines a part):
//                     first line of a part         further lines
//     0   2  count of the part modulo 100, "%02.2d"  blank
//     2   6  part-name code                usage label on line 1, "(SUB) " on
//                                          lines 2-4 within the alternatives
//     8  14  part number, display form     alternative n on line n
//    22   6  catalogue code                blank
//    28  20  car name                      blank
//    48   9  valid from '-' valid to ("9999" shown blank)   blank
//    57   2  quantity of the part or alternative on the line
//    59  99  a remark piece of at most 98 characters
//
// PXHINB2.TMP, the parts as gathered, one after another (variable length):
//     0   2  length of the record: 157 + 219 per continuation (16-bit)
//     2   6  catalogue code
//     8  14  part number (12) and quantity (2)
//    22  56  alternatives 1-4, part number (12) and quantity (2) each
//    78   4  valid from                82   4  valid to
//    86  71  remarks, first part      157 219  remarks continued, each
//
// PXHINB.CSV, one line per PXHINB1.TMP record, the record's fields in double
// quotes (a quote inside a field doubled), separated by commas, the line
// ended by LF. Without doubled quotes a line is 182 bytes:
//     0  4  "count"                  4  9  ,"code or label"
//    13 17  ,"part number" (14, the whole display form)
//    30  9  ,"catalogue code"       39 23  ,"car name"
//    62 12  ,"validity"             74  5  ,"quantity"
//    79 102 ,"remark piece"        181  1  LF
#pragma once

#include <cstddef>

namespace hinb {

constexpr const char* kNameFile = "PXHINB0.TMP";
constexpr const char* kListFile = "PXHINB1.TMP";
constexpr const char* kWorkFile = "PXHINB2.TMP";
constexpr const char* kCsvFile = "PXHINB.CSV";

namespace name_rec {
constexpr size_t kSize = 66;
constexpr size_t kPnc = 0;
constexpr size_t kName = 6;
}  // namespace name_rec

namespace list_rec {
constexpr size_t kSize = 158;
constexpr size_t kCount = 0;
constexpr size_t kCode = 2;
constexpr size_t kPart = 8;
constexpr size_t kCatalog = 22;
constexpr size_t kCarName = 28;
constexpr size_t kValidity = 48;
constexpr size_t kValiditySize = 9;
constexpr size_t kQty = 57;
constexpr size_t kRemarks = 59;
constexpr size_t kRemarksSize = 99;
constexpr int kPieceWidth = 98;
}  // namespace list_rec

namespace work_rec {
constexpr size_t kLength = 0;
constexpr size_t kCatalog = 2;
constexpr size_t kMain = 8;
constexpr size_t kSlots = 22;
constexpr size_t kFrom = 78;
constexpr size_t kTo = 82;
constexpr size_t kRemarks = 86;
constexpr size_t kBaseSize = 157;
constexpr size_t kMoreSize = 219;
}  // namespace work_rec

constexpr size_t kCsvLineSize = 182;

}  // namespace hinb
