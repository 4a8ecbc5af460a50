// The price inquiry: each inquiry appends one record to the work file
// PXDPRC1.TMP (price_inquiry_layout.h); switching the price kind re-prices
// every record in place.
//
// Price kind 0, 1 or 2: kind 0 reads the KAKAKU file, or the PRICE3 file
// when there is no KAKAKU file; kinds 1 and 2 read only the PRICE3 file and
// pick its second or third price.
//
// Results are 32-bit: 0 success, the message numbers below, or -1 after one
// error-log line (module "PXDPRC01").
#pragma once

#include <cstdint>

#include "platform/export.h"

namespace pxdprc {
constexpr int32_t kMsgNoPriceFile = 839;  // no price file can be opened
constexpr int32_t kMsgNeedsPrice3 = 850;  // the kind needs PRICE3, only KAKAKU is set up
// Price-file kinds of dprc_get_path.
constexpr int32_t kKindNone = 0;
constexpr int32_t kKindKakaku = 1;
constexpr int32_t kKindPrice3 = 3;
}  // namespace pxdprc

extern "C" {

// Appends the record of the 12-character part number.
PX_EXPORT int32_t dprc_search(const char* part_no, int32_t price_kind);
// Re-prices every record with the price kind; a part the file does not
// hold keeps its record.
PX_EXPORT int32_t dprc_update_wfile(int32_t price_kind);
// The full path of PXDPRC1.TMP into the 80-byte buffer (NUL after the path)
// and the kind of the price file set up: 1 KAKAKU, 3 PRICE3, 0 none, -1.
PX_EXPORT int32_t dprc_get_path(char* path80);
}
