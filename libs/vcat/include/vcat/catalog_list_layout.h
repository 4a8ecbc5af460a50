// The catalogue list's work files in the work directory (path kind 0), and
// the fields of the car-name record it reads.
//
// "PXVCAT.TMP": the rows of the list (vcat_row), row n at byte 107 n. A row
// starts as 107 blanks; character fields are copied byte for byte, the four
// numbers are 32-bit little-endian.
//     0   6  catalogue code
//     6   4  set-up table index of the CD the car-name record was read on
//    10   4  set-up table index of the catalogue's own CD
//    14   4  line of this row within its car name's rows, from 0
//    18   4  number of rows of this car name
//    22  20  car name                      (blank on continuation rows)
//    42  50  one item of the description   (blank when there is none)
//    92   4  production date from          (blank on continuation rows)
//    96   4  production date to            (blank on continuation rows)
//   100   4  car-name record bytes 92-95   (blank on continuation rows)
//   104   2  CD number of the catalogue    (blank on continuation rows)
//   106   1  brand flag                    (blank on continuation rows)
//
// "DSPCAT.TMP": the display record (DspcatRecord, 91 bytes) of each row, in
// row order, no separators:
//     0  20  car name (row 22)              20   6  catalogue code (row 0)
//    26   4  production date from (row 92)  30   1  '-'
//    31   4  production date to (row 96)    35  50  description item (row 42)
//    85   4  row 100                        89   2  CD number (row 104)
//
// The car-name record it reads is SHAMEI.DAT's (pxall/part_records.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "pxall/part_records.h"

namespace pxvcat {

constexpr const char* kRowsName = "PXVCAT.TMP";
constexpr const char* kDisplayName = "DSPCAT.TMP";
constexpr int32_t kMaxRows = 999;

namespace row {
constexpr size_t kSize = 107;
constexpr size_t kCatalog = 0, kCatalogSize = 6;
constexpr size_t kReadIndex = 6;
constexpr size_t kOwnIndex = 10;
constexpr size_t kLine = 14;
constexpr size_t kLines = 18;
constexpr size_t kCarName = 22, kCarNameSize = 20;
constexpr size_t kItem = 42, kItemSize = 50;
constexpr size_t kDateFrom = 92, kDateTo = 96, kDateSize = 4;
constexpr size_t kField = 100, kFieldSize = 4;
constexpr size_t kCdNo = 104, kCdNoSize = 2;
constexpr size_t kBrand = 106;
}  // namespace row

namespace dsp {
constexpr size_t kSize = 91;
constexpr size_t kCarName = 0;
constexpr size_t kCatalog = 20;
constexpr size_t kDateFrom = 26;
constexpr size_t kDash = 30;
constexpr size_t kDateTo = 31;
constexpr size_t kItem = 35;
constexpr size_t kField = 85;
constexpr size_t kCdNo = 89;
}  // namespace dsp

namespace shamei = pxall::shamei_rec;

}  // namespace pxvcat
