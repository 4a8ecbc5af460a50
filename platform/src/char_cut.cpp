#include "platform/char_cut.h"

namespace plat {

namespace {

// A byte that begins a double-byte character of code page 932.
bool lead_byte_932(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

}  // namespace

size_t char_cut_length(std::string_view bytes, size_t max, bool double_byte) {
    if (bytes.size() <= max) return bytes.size();
    if (!double_byte) return max;
    size_t i = 0;
    while (i < bytes.size()) {
        const size_t step = lead_byte_932(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i + step > max) break;
        i += step;
    }
    return i;
}

}  // namespace plat
