// Texts of the system are single-byte ANSI bytes; under code page 932 a
// Japanese character takes two of them, the first a lead byte. A text cut
// to a field's bytes must end on a character boundary, or the field ends in
// half a character that joins whatever follows it. The shell and the
// libraries cut through this one rule.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/export.h"

namespace plat {

// The length of the longest head of `bytes` no longer than `max` that ends
// on a character boundary: with `double_byte` (code page 932) a character of
// two bytes is never split; else it is `max` (or the whole text, if shorter).
PX_EXPORT size_t char_cut_length(std::string_view bytes, size_t max, bool double_byte);

}  // namespace plat
