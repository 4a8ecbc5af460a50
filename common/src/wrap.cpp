#include "pxall/wrap.h"

#include <cstring>
#include <string_view>

#include "pxall/text_cut.h"

namespace pxall {

namespace {
inline bool is_blank_or_control(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// The whole characters of the n bytes at t that fit into w; a piece too
// narrow for even the first character takes w bytes, so the walk goes on.
int whole_chars(const char* t, int n, int w) {
    int k = static_cast<int>(text_cut_length(std::string_view(t, static_cast<size_t>(n)), static_cast<size_t>(w)));
    return k > 0 ? k : w;
}

// Blanks the field and finds the start of the next piece: its offset, or -1
// when the arguments are unusable or only blanks remain.
int begin_piece(const char* text, int text_len, char* out, int w, const int32_t* pos, bool skip_scolon) {
    if (out == nullptr || w < 1) return -1;
    std::memset(out, ' ', static_cast<size_t>(w));
    if (text == nullptr || pos == nullptr || *pos < 0) return -1;
    int p = *pos;
    while (p < text_len && (is_blank_or_control(text[p]) || (skip_scolon && text[p] == ';'))) ++p;
    return p < text_len ? p : -1;
}
}  // namespace

int memory_edit_2_n_data(const char* text, int text_len, char* out, int w, int32_t* pos) {
    int p = begin_piece(text, text_len, out, w, pos, false);
    if (p < 0) return -1;
    int len = text_len - p;
    if (len > w) {
        const char* t = text + p;
        len = 0;
        if (t[w] != ' ') {
            // The last separator among the w characters decides the cut.
            // (A separator is never the second byte of a character.)
            for (int i = w - 1; i > 0; --i) {
                if (t[i] == ' ' || t[i] == '\0') {
                    len = i;
                    break;
                }
                if (t[i] == ',') {
                    len = i + 1;
                    break;
                }
            }
        }
        if (len == 0) len = whole_chars(t, text_len - p, w);
    }
    std::memcpy(out, text + p, static_cast<size_t>(len));
    *pos = p + len;
    return 0;
}

int memory_edit_2_n_data_by_scolon(const char* text, int text_len, char* out, int w, int32_t* pos) {
    int p = begin_piece(text, text_len, out, w, pos, true);
    if (p < 0) return -1;
    int run = 0;
    while (p + run < text_len && text[p + run] != ';') ++run;
    int len = whole_chars(text + p, run, w);
    std::memcpy(out, text + p, static_cast<size_t>(len));
    *pos = p + len;
    return 0;
}

}  // namespace pxall
