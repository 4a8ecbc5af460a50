// Work files of the applicability search (work directory, path kind 0) and
// its CSV file (master directory, path kind 1).
//
// WRKTEKIn.TMP (n the entry's index 0-9), the uses of entry n's part number,
// one record after another (variable length):
//     0   2  length of the record: 159 + 219 per continuation (16-bit)
//     2   2  index of the catalogue in the search's catalogue table (16-bit)
//     4   6  part-name code           10  12  part number
//    22   2  quantity                 24  56  alternatives 1-4, part
//                                             number (12) and quantity (2)
//    80   4  valid from               84   4  valid to
//    88  71  remarks, first part     159 219  remarks continued, each
//
// SCRTEKI.TMP (TekiListRecord, 164 bytes, blank-filled), the lines of the
// work records of the found entries in entry order:
//     0   2  number of the work record from 1, modulo 100, "%02.2d"; first
//            line only
//     2  14  first line: the part number (display form); further lines:
//            alternative 2 or 4
//    16   6  first line: part-name code; further lines: "(SUB) "
//    22   2  quantity of the part number at 2
//    24  14  first line: alternative 1 (not for "(IRRG)"); line 2:
//            alternative 3
//    38   6  first line: usage label; line 2: "(SUB) "
//    44   2  quantity of the part number at 24
//    46   6  catalogue code           52  20  car name
//    72   4  valid from               76   4  valid to, blank for "9999"
//            (these four on the first line only)
//    80  42  remark piece             122 42  next remark piece
//
// PXTEKI.CSV, text, ten comma-separated fields per line, the line ended by
// LF. Per SCRTEKI.TMP record: number, part number, code or label, quantity,
// the entry's part name (first lines), catalogue code, car name, valid from,
// valid to, remark piece 1; then, when byte 24 or 122 is not blank, a line
// of: empty, part number at 24, label at 38, quantity at 44, five empty
// fields, remark piece 2. A field whose first character is blank is empty;
// part numbers, labels, names and remarks lose their trailing blanks; the
// part name, the car name and the remarks stand in double quotes (a quote
// inside doubled).
#pragma once

#include <cstddef>

namespace teki {

constexpr const char* kWorkFileFormat = "WRKTEKI%d.TMP";
constexpr const char* kScreenFile = "SCRTEKI.TMP";
constexpr const char* kCsvFile = "PXTEKI.CSV";

namespace work_rec {
constexpr size_t kLength = 0;
constexpr size_t kCatalogIndex = 2;
constexpr size_t kPnc = 4;
constexpr size_t kPart = 10;
constexpr size_t kQty = 22;
constexpr size_t kSlots = 24;
constexpr size_t kFrom = 80;
constexpr size_t kTo = 84;
constexpr size_t kRemarks = 88;
constexpr size_t kBaseSize = 159;
constexpr size_t kMoreSize = 219;
}  // namespace work_rec

namespace screen_rec {
constexpr size_t kSize = 164;
constexpr size_t kNumber = 0;
// The two part-number cells of a line: part number, code or label, quantity.
constexpr size_t kPart[2] = {2, 24};
constexpr size_t kLabel[2] = {16, 38};
constexpr size_t kQty[2] = {22, 44};
constexpr size_t kCatalog = 46;
constexpr size_t kCarName = 52;
constexpr size_t kFrom = 72;
constexpr size_t kTo = 76;
constexpr size_t kPiece[2] = {80, 122};
constexpr int kPieceWidth = 42;
}  // namespace screen_rec

}  // namespace teki
