#include "text_lines.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/files.h"
#include "pxall/text_cut.h"

namespace pxall {

namespace {

// Whether the last of the n bytes begins a double-byte character whose
// second byte is still in the file.
bool ends_inside_a_character(const char* bytes, size_t n) {
    std::string probe(bytes, n);
    probe.push_back(' ');
    return text_cut_length(probe, n) < n;
}

}  // namespace

int add_text_lines(std::FILE* fp, plat::Control* box, int piece_size) {
    struct stat st;
    if (::fstat(::fileno(fp), &st) == 0 && st.st_size > kMaxTextListBytes) return EFBIG;
    std::vector<char> buf(static_cast<size_t>(piece_size));
    // A full piece is a cut in an over-long line; the line end that follows
    // it is that line's own, not an empty line.
    bool cut = false;
    for (;;) {
        std::memset(buf.data(), 0, buf.size());
        if (plat::fgets_text(buf.data(), piece_size, fp) == nullptr) break;
        // The list shows a line up to a NUL byte, as the add call would.
        size_t n = std::strlen(buf.data());
        const char* nl = static_cast<const char*>(std::memchr(buf.data(), '\n', buf.size() - 1));
        bool ended = nl != nullptr;
        size_t end_at = ended ? static_cast<size_t>(nl - buf.data()) : 0;
        // Only the line end goes: a last line without one keeps every character.
        if (ended && n == end_at + 1) {
            n = end_at;
            if (n > 0 && buf[n - 1] == '\r') --n;
        }
        if (!ended && n == buf.size() - 1 && n > 1 && ends_inside_a_character(buf.data(), n)) {
            // The character goes to the next piece whole.
            std::ungetc(static_cast<unsigned char>(buf[n - 1]), fp);
            --n;
        }
        bool only_end = ended && (end_at == 0 || (end_at == 1 && buf[0] == '\r'));
        if (!(cut && only_end) && box != nullptr) box->lb_add(std::string(buf.data(), n));
        cut = !ended;
    }
    return std::ferror(fp) ? (errno != 0 ? errno : EIO) : 0;
}

}  // namespace pxall
