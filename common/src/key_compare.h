// The sign of memcmp over short keys, without a library call: the keys of a
// walk are compared some twenty times a lookup, and most differ in their
// first eight bytes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace pxall {

inline uint64_t big_endian_word(const unsigned char* p) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    if constexpr (std::endian::native == std::endian::little) w = __builtin_bswap64(w);
    return w;
}

// -1, 0 or 1 as memcmp(a, b, n) is below, equal to or above zero.
inline int compare_keys(const void* a, const void* b, size_t n) {
    const auto* x = static_cast<const unsigned char*>(a);
    const auto* y = static_cast<const unsigned char*>(b);
    for (; n >= 8; x += 8, y += 8, n -= 8) {
        uint64_t u = big_endian_word(x), v = big_endian_word(y);
        if (u != v) return u < v ? -1 : 1;
    }
    for (; n > 0; ++x, ++y, --n)
        if (*x != *y) return *x < *y ? -1 : 1;
    return 0;
}

}  // namespace pxall
