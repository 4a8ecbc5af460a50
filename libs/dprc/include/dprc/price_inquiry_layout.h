// The price inquiry's work file "PXDPRC1.TMP" in the work directory (path
// kind 0): one 54-byte record (dprc_record) per inquiry, in the order of the
// inquiries, all text, no separators. The record count is the file length
// divided by 54; a trailing piece shorter than a record is no record.
//
//   at width  part found                        part not found
//    0   2    "%02d" of (records before + 1) mod 100, both
//    2  14    the price entry's part number     the part number asked for,
//             in display form                   in display form
//   16   8    price, price entry bytes 12-19,   8 '@'
//             leading '0', ',' and blanks
//             blanked
//   24   8    price entry bytes 20-27           8 '@'
//   32   2    price entry bytes 28-29           2 '@'
//   34  20    price entry bytes 30-49 (name)    20 '@'
//
// The price entry is the 50-byte entry of pxall/price_layout.h (namespace
// entry).
#pragma once

#include <cstddef>

namespace pxdprc {

constexpr const char* kWorkName = "PXDPRC1.TMP";

namespace rec {
constexpr size_t kSize = 54;
constexpr size_t kLine = 0, kLineSize = 2;
constexpr size_t kPartNo = 2, kPartNoSize = 14;
constexpr size_t kPrice = 16, kPriceSize = 8;
constexpr size_t kField = 24, kFieldSize = 8;
constexpr size_t kField2 = 32, kField2Size = 2;
constexpr size_t kName = 34, kNameSize = 20;
constexpr char kUnknownFill = '@';
}  // namespace rec

}  // namespace pxdprc
