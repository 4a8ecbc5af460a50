// The price inquiry's work file PXDPRC1.TMP as the screen and its print read
// it: 54-byte records, one per inquiry, in the order of the inquiries, all
// text, no separators; the record count is the file length divided by 54.
//
//   at width
//    0   2   line number, "%02d" of the record's position, modulo 100
//    2  14   part number in display form (5, '-', 5, '-', 2)
//   16   8   price, leading '0', ',' and blanks blanked
//   24  10   the ten characters that follow the price in the price entry
//   34  20   part name
//
// A part number the price file does not hold has '@' in all 38 bytes after
// the part number.
#pragma once

#include <cstddef>
#include <string_view>

#include <QString>

namespace px {

namespace dprc_rec {
constexpr size_t kSize = 54;
constexpr size_t kNumber = 0, kNumberSize = 2;
constexpr size_t kPartNo = 2, kPartNoSize = 14;
constexpr size_t kPrice = 16, kPriceSize = 8;
constexpr size_t kField = 24, kFieldSize = 10;
constexpr size_t kName = 34, kNameSize = 20;
}  // namespace dprc_rec

struct DprcLine {
    QString number, part_no, price, field, name;
};

// The fields of one record, as they stand (a short record reads blank).
DprcLine parse_dprc_record(std::string_view rec);

}  // namespace px
