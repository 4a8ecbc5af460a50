// The dealer's price and local-parts sources, read as records: a line (or
// a fixed record) is taken only whole and printable, and blank lines at the
// very end of a file, as editors leave them, are no records.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "stup_internal.h"

namespace pxstup {

namespace {

constexpr int kEndOfText = 0x1a;  // the end mark some editors still write
constexpr size_t kPiece = size_t{256} << 10;

}  // namespace

bool printable(const char* p, size_t n) {
    // Without an early exit the loop is vectorised: a price file has
    // millions of bytes to look at.
    unsigned bad = 0;
    for (size_t i = 0; i < n; ++i) {
        unsigned char c = static_cast<unsigned char>(p[i]);
        bad |= static_cast<unsigned>(c < 0x20) | static_cast<unsigned>(c == 0x7f);
    }
    return bad == 0;
}

bool SourceLines::fill() {
    if (buf_.empty()) buf_.resize(kPiece);
    at_ = 0;
    end_ = std::fread(buf_.data(), 1, buf_.size(), fp_);
    return end_ > 0;
}

int SourceLines::next(std::string* line) {
    for (;;) {
        line->clear();
        bool ended = false, too_long = false;
        // The line's bytes up to the limit; one beyond it makes it too long.
        while (at_ < end_ || fill()) {
            const char* from = buf_.data() + at_;
            const size_t avail = end_ - at_;
            const char* nl = static_cast<const char*>(std::memchr(from, '\n', avail));
            const size_t n = nl != nullptr ? static_cast<size_t>(nl - from) : avail;
            const size_t room = limit_ - line->size();
            if (n > room) too_long = true;
            line->append(from, std::min(n, room));
            at_ += n;
            if (nl != nullptr) {
                ++at_;
                ended = true;
                break;
            }
        }
        if (!ended && std::ferror(fp_)) return kSourceUnread;
        if (!line->empty() && line->back() == '\r') line->pop_back();
        if (!ended && (line->empty() || (line->size() == 1 && (*line)[0] == kEndOfText))) {
            return 0;  // blank lines before the end are no records
        }
        if (too_long || !printable(line->data(), line->size())) return kSourceBadRecord;
        if (line->empty()) {
            ++held_;  // a record only if a line follows
            continue;
        }
        // A blank line between records is an empty record: not whole.
        if (held_ > 0) return kSourceBadRecord;
        return 1;
    }
}

}  // namespace pxstup
