// Small pieces the illustration screen's sources share: its message numbers,
// its fixed-length strings as the libraries receive them, and the run time's
// rounding of sizes.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "pxall/vbstring.h"

namespace px {

namespace bunz_msg {
constexpr int16_t kMsgGuide = 118;
constexpr int16_t kMsgToPartsList = 701;
constexpr int16_t kMsgPrinting = 707;
constexpr int16_t kMsgNoPrevPage = 801;
constexpr int16_t kMsgNoNextPage = 802;
constexpr int16_t kMsgSelectionFull = 812;
constexpr int16_t kMsgTooLarge = 829;
constexpr int16_t kMsgNothingSelected = 832;
constexpr int16_t kMsgPrinterError = 842;
constexpr int16_t kMsgNoPicture = 862;
constexpr int16_t kMsgSystemError = 999;
}  // namespace bunz_msg

// A fixed-length string as a library entry receives it: its bytes, its length.
inline VbString vb(std::string& s) { return VbString{s.data(), static_cast<int32_t>(s.size())}; }

// A path a library wrote into a fixed-length string: up to its first NUL,
// trailing blanks dropped.
inline std::string path_field(const std::string& s) {
    std::string p = s.substr(0, s.find('\0'));
    while (!p.empty() && p.back() == ' ') p.pop_back();
    return p;
}

// A measure to a whole number of pixels, halves to even, as the run time
// converts sizes and mouse positions.
inline int to_integer(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace px
