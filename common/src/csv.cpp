#include "pxall/csv.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "pxall/text_cut.h"

namespace pxall {

namespace {
constexpr int kMaxOffset = INT16_MAX;

inline bool ends_line(char c) { return c == '\0' || c == '\n'; }

// From offset i, the end of the field: the address after its separator, or
// null at the end of the line (or at the offset limit).
const char* after_separator(const char* pos, int i, char sep) {
    while (i < kMaxOffset && !ends_line(pos[i]) && pos[i] != sep) ++i;
    return i < kMaxOffset && pos[i] == sep ? pos + i + 1 : nullptr;
}
}  // namespace

const char* get_next_csv(const char* pos, int16_t* first, int16_t* last, char sep) {
    int16_t f = 0;
    int16_t l = -1;
    const char* next = nullptr;
    if (pos != nullptr && pos[0] == '"') {
        int i = 1;
        while (i < kMaxOffset && !ends_line(pos[i])) {
            if (pos[i] == '"') {
                if (pos[i + 1] != '"') break;  // the closing quote
                i += 2;
            } else {
                ++i;
            }
        }
        f = 1;
        l = static_cast<int16_t>(i - 1);
        // Anything between the closing quote and the separator is dropped.
        if (i < kMaxOffset && pos[i] == '"') next = after_separator(pos, i + 1, sep);
    } else if (pos != nullptr) {
        int i = 0;
        while (i < kMaxOffset && !ends_line(pos[i]) && pos[i] != sep) ++i;
        l = static_cast<int16_t>(i - 1);
        next = after_separator(pos, i, sep);
    }
    if (first != nullptr) *first = f;
    if (last != nullptr) *last = l;
    return next;
}

int copy_csv_item(const char* pos, char* dest, int n, int16_t first, int16_t last) {
    if (pos == nullptr || dest == nullptr || first < 0) return first < 0 ? 0 : first;
    // The bytes a field character takes: a doubled double quote stands for one.
    auto step = [&](int i) { return pos[i] == '"' && i + 1 <= last && pos[i + 1] == '"' ? 2 : 1; };
    // The field's characters up to one past the width, so that a cut never
    // leaves half a double-byte character at the end.
    std::string text;
    int i = first;
    while (i <= last && static_cast<int>(text.size()) <= std::max(n, 0)) {
        text.push_back(pos[i]);
        i += step(i);
    }
    const size_t keep = text_cut_length(text, static_cast<size_t>(std::max(n, 0)));
    if (keep > 0) std::memcpy(dest, text.data(), keep);
    i = first;
    for (size_t k = 0; k < keep; ++k) i += step(i);
    return i;
}

void append_csv_quoted(std::string* out, const unsigned char* field, size_t width, bool first) {
    if (!first) out->push_back(',');
    out->push_back('"');
    for (size_t i = 0; i < width; ++i) {
        if (field[i] == '"') out->push_back('"');
        out->push_back(static_cast<char>(field[i]));
    }
    out->push_back('"');
}

}  // namespace pxall
