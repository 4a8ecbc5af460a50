// The first place of a run of bytes in a buffer, as memmem finds it, for
// the name searches that look for a short text in megabytes of records:
// sixteen places are tested at once on the text's first and last byte, and
// only a place where both agree is compared in full.
#pragma once

#include <string.h>  // memmem

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace pxall {

namespace find_bytes_detail {

#if defined(__SSE2__) && defined(__GNUC__)
// Thirty-two places a step where the processor has the wider compares: the
// first place at or after *from whose first and last byte agree in full, or
// null; *from is left where the narrower steps go on.
__attribute__((target("avx2"))) inline const uint8_t* wide(const uint8_t* hay, size_t n, const uint8_t* needle,
                                                          size_t k, size_t* from) {
    const __m256i first = _mm256_set1_epi8(static_cast<char>(needle[0]));
    const __m256i last = _mm256_set1_epi8(static_cast<char>(needle[k - 1]));
    size_t i = *from;
    for (; i + k - 1 + 32 <= n; i += 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(hay + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(hay + i + k - 1));
        unsigned mask = static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_and_si256(_mm256_cmpeq_epi8(a, first), _mm256_cmpeq_epi8(b, last))));
        while (mask != 0) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
            if (std::memcmp(hay + i + bit + 1, needle + 1, k - 2) == 0) return hay + i + bit;
            mask &= mask - 1;
        }
    }
    *from = i;
    return nullptr;
}

inline bool has_wide() {
    static const bool yes = __builtin_cpu_supports("avx2");
    return yes;
}
#endif

}  // namespace find_bytes_detail

// The first place of needle[0..k) in hay[0..n), or null; a needle of no
// bytes is found at the start.
inline const uint8_t* find_bytes(const uint8_t* hay, size_t n, const uint8_t* needle, size_t k) {
    if (k == 0) return hay;
    if (k > n) return nullptr;
    if (k == 1) return static_cast<const uint8_t*>(std::memchr(hay, needle[0], n));
    size_t i = 0;
#if defined(__SSE2__) && defined(__GNUC__)
    if (find_bytes_detail::has_wide()) {
        if (const uint8_t* p = find_bytes_detail::wide(hay, n, needle, k, &i)) return p;
    }
#endif
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(static_cast<char>(needle[0]));
    const __m128i last = _mm_set1_epi8(static_cast<char>(needle[k - 1]));
    // Both loads of a step stay inside the buffer.
    for (; i + k - 1 + 16 <= n; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i + k - 1));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
        while (mask != 0) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
            if (std::memcmp(hay + i + bit + 1, needle + 1, k - 2) == 0) return hay + i + bit;
            mask &= mask - 1;
        }
    }
#endif
    return static_cast<const uint8_t*>(::memmem(hay + i, n - i, needle, k));
}

}  // namespace pxall
