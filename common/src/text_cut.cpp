#include "pxall/text_cut.h"

#include <cstring>

#include "platform/char_cut.h"
#include "pxall/texts.h"

namespace pxall {

size_t text_cut_length(std::string_view text, size_t max) {
    return plat::char_cut_length(text, max, texts_double_byte());
}

void put_text_field(char* field, size_t width, std::string_view text, char pad) {
    if (field == nullptr) return;
    const size_t n = text_cut_length(text, width);
    if (n > 0) std::memcpy(field, text.data(), n);
    std::memset(field + n, pad, width - n);
}

}  // namespace pxall
