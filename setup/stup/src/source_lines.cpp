// The dealer's price and local-parts sources, read as records: a line (or
// a fixed record) is taken only whole and printable, and blank lines at the
// very end of a file, as editors leave them, are no records.
#include <cstdio>
#include <string>

#include "stup_internal.h"

namespace pxstup {

namespace {

constexpr int kEndOfText = 0x1a;  // the end mark some editors still write

}  // namespace

bool printable(const char* p, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        unsigned char c = static_cast<unsigned char>(p[i]);
        if (c < 0x20 || c == 0x7f) return false;
    }
    return true;
}

int SourceLines::next(std::string* line) {
    for (;;) {
        std::string text;
        bool ended = false, too_long = false;
        int c;
        // One reader per stream: no lock a character (a price file has
        // millions of them).
        while ((c = getc_unlocked(fp_)) != EOF) {
            if (c == '\n') {
                ended = true;
                break;
            }
            if (text.size() >= limit_) too_long = true;
            else text.push_back(static_cast<char>(c));
        }
        if (c == EOF && std::ferror(fp_)) return kSourceUnread;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (!ended && (text.empty() || (text.size() == 1 && text[0] == kEndOfText))) {
            return 0;  // blank lines before the end are no records
        }
        if (too_long || !printable(text.data(), text.size())) return kSourceBadRecord;
        if (text.empty()) {
            ++held_;  // a record only if a line follows
            continue;
        }
        // A blank line between records is an empty record: not whole.
        if (held_ > 0) return kSourceBadRecord;
        *line = std::move(text);
        return 1;
    }
}

}  // namespace pxstup
