// Selection work files, in the work directory: fixed images of 20000 bytes,
// 1000 records of 20 bytes in list order from record 0. The first record
// whose byte 0 is zero ends the list (an all-zero image is empty); a shorter
// file reads as if the rest were zero.
//
// "SELECT.TMP" record (select_tmp_record)
//    0 12  code: part number, or part-name code (6) + 6 blanks
//   12  2  quantity, two decimal characters "01".."99"
//   14  1  kind: 1 part number, 0 part-name code
//   15  5  zero
//
// "LCPSEL.TMP" record (lcpsel_tmp_record)
//    0  4  figure number (four characters)
//    4 12  part number, blank-padded
//   16  2  quantity, two decimal characters
//   18  1  kind (1)
//   19  1  zero
#pragma once

#include <cstddef>

namespace pxall::selfile {

constexpr const char* kSelectName = "SELECT.TMP";
constexpr const char* kLcpselName = "LCPSEL.TMP";

constexpr size_t kRecordSize = 20;
constexpr int kRecords = 1000;
constexpr size_t kImageSize = kRecordSize * kRecords;

namespace sel {
constexpr size_t kCode = 0, kCodeSize = 12;
constexpr size_t kQty = 12, kQtySize = 2;
constexpr size_t kKind = 14;
}  // namespace sel

namespace lcp {
constexpr size_t kFigure = 0, kFigureSize = 4;
constexpr size_t kPart = 4, kPartSize = 12;
constexpr size_t kQty = 16, kQtySize = 2;
constexpr size_t kKind = 18;
}  // namespace lcp

}  // namespace pxall::selfile
