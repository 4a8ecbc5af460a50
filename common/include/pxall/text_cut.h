// Texts of the menu language cut to a field's bytes. Under the Japanese menu
// language the texts are in code page 932, where a character may take two
// bytes: a cut falls before a character that does not fit, never inside it
// (the rule is platform/char_cut.h's).
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/export.h"

namespace pxall {

// The bytes of the longest head of `text` no longer than `max` that ends on
// a character boundary.
PX_EXPORT size_t text_cut_length(std::string_view text, size_t max);

// `text` so cut into a field of `width` bytes, the rest filled with `pad`.
PX_EXPORT void put_text_field(char* field, size_t width, std::string_view text, char pad);

}  // namespace pxall
