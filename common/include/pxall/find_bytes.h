// The places of a run of bytes in a buffer, as memmem finds them, for the
// name searches that look for a short text in megabytes of records.
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

// Whether a[0..n) equals b[0..n): the few bytes between a text's first and
// last compared in place, which costs less than a call.
inline bool same_bytes(const uint8_t* a, const uint8_t* b, size_t n) {
    if (n > 32) return std::memcmp(a, b, n) == 0;
    for (size_t j = 0; j < n; ++j)
        if (a[j] != b[j]) return false;
    return true;
}

// The places of a step whose first and last byte agree (bit b: place i + b)
// are tested in full, each find handed to on(): true when on() asked to
// stop; otherwise *i is where the next step begins (past the step, or where
// on() asked to go on).
template <typename On>
inline bool visit(unsigned mask, unsigned width, const uint8_t* hay, size_t n, const uint8_t* needle, size_t k,
                  size_t* i, On& on) {
    size_t at = *i;
    while (mask != 0) {
        const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
        mask &= mask - 1;
        if (!same_bytes(hay + at + bit + 1, needle + 1, k - 2)) continue;
        const size_t next = on(at + bit);
        if (next >= n) return true;
        if (next >= at + width) {
            *i = next;
            return false;
        }
        mask &= ~((1u << (next - at)) - 1);  // places before `next` are passed
    }
    *i = at + width;
    return false;
}

#if defined(__SSE2__) && defined(__GNUC__)
// Thirty-two places a step where the processor has the wider compares.
// True when on() asked to stop; *from is left where the narrower steps go on.
template <typename On>
__attribute__((target("avx2"))) inline bool wide(const uint8_t* hay, size_t n, const uint8_t* needle, size_t k,
                                                size_t* from, On& on) {
    const __m256i first = _mm256_set1_epi8(static_cast<char>(needle[0]));
    const __m256i last = _mm256_set1_epi8(static_cast<char>(needle[k - 1]));
    size_t i = *from;
    while (i + k - 1 + 32 <= n) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(hay + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(hay + i + k - 1));
        const unsigned mask = static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_and_si256(_mm256_cmpeq_epi8(a, first), _mm256_cmpeq_epi8(b, last))));
        if (mask == 0) {
            i += 32;
            continue;
        }
        if (visit(mask, 32, hay, n, needle, k, &i, on)) return true;
    }
    *from = i;
    return false;
}

inline bool has_wide() {
    static const bool yes = __builtin_cpu_supports("avx2");
    return yes;
}
#endif

}  // namespace find_bytes_detail

// Every place of needle[0..k) (k at least 1) in hay[0..n), in order: on(at)
// is called with the offset of each and returns the offset to go on from
// (past `at`; n or more to stop). Sixteen or thirty-two places are tested a
// step on the text's first and last byte, and only a place where both agree
// is compared in full.
template <typename On>
inline void find_each(const uint8_t* hay, size_t n, const uint8_t* needle, size_t k, On on) {
    if (k == 0 || k > n) return;
    size_t i = 0;
    if (k == 1) {
        while (i < n) {
            const void* p = std::memchr(hay + i, needle[0], n - i);
            if (p == nullptr) return;
            i = on(static_cast<size_t>(static_cast<const uint8_t*>(p) - hay));
        }
        return;
    }
#if defined(__SSE2__) && defined(__GNUC__)
    if (find_bytes_detail::has_wide() && find_bytes_detail::wide(hay, n, needle, k, &i, on)) return;
#endif
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(static_cast<char>(needle[0]));
    const __m128i last = _mm_set1_epi8(static_cast<char>(needle[k - 1]));
    // Both loads of a step stay inside the buffer.
    while (i + k - 1 + 16 <= n) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i + k - 1));
        const unsigned mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
        if (mask == 0) {
            i += 16;
            continue;
        }
        if (find_bytes_detail::visit(mask, 16, hay, n, needle, k, &i, on)) return;
    }
#endif
    while (i + k <= n) {
        const void* p = ::memmem(hay + i, n - i, needle, k);
        if (p == nullptr) return;
        i = on(static_cast<size_t>(static_cast<const uint8_t*>(p) - hay));
    }
}

// The first place of needle[0..k) in hay[0..n), or null; a needle of no
// bytes is found at the start.
inline const uint8_t* find_bytes(const uint8_t* hay, size_t n, const uint8_t* needle, size_t k) {
    if (k == 0) return hay;
    const uint8_t* found = nullptr;
    find_each(hay, n, needle, k, [&](size_t at) {
        found = hay + at;
        return n;
    });
    return found;
}

}  // namespace pxall
