// Pieces shared by the entries of the saved-list library.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "pxall/vbstring.h"

namespace pxfsav {

constexpr const char* kModList = "PXFSAV01";
constexpr const char* kModEdit = "PXFSAD00";

// Puts n bytes into the caller's string, at most its length; with pad >= 0
// the rest of the string is filled with that byte.
inline void to_caller(VbString* s, const char* bytes, size_t n, int pad) {
    if (s == nullptr || s->data == nullptr || s->len <= 0) return;
    size_t room = static_cast<size_t>(s->len);
    size_t k = std::min(n, room);
    std::memcpy(s->data, bytes, k);
    if (pad >= 0 && k < room) std::memset(s->data + k, pad, room - k);
}

// An 80-byte path buffer (NUL after the path) into the caller's string,
// NUL-padded.
inline void path_to_caller(VbString* s, const char* path80) { to_caller(s, path80, std::strlen(path80), 0); }

}  // namespace pxfsav
