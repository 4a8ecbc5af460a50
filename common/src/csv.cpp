#include "pxall/csv.h"

#include <cstdint>

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
    int i = first;
    int k = 0;
    while (i <= last && k < n) {
        if (pos[i] == '"' && i + 1 <= last && pos[i + 1] == '"') {
            dest[k++] = '"';
            i += 2;
        } else {
            dest[k++] = pos[i++];
        }
    }
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
