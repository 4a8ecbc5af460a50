#include "pxall/listbox.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/controls.h"
#include "platform/files.h"
#include "pxall/errlog.h"

namespace {

constexpr const char* kModule = "PXSUBD01";
constexpr const char* kFunction = "VBSetListBox";
constexpr int kLineBuffer = 128;

}  // namespace

extern "C" int32_t VBAllResetListBox(int32_t hwnd) {
    plat::Control* box = plat::control(hwnd);
    if (box == nullptr) return plat::kLbErr;
    int32_t count = box->lb_count();
    if (count < 1) return count;
    int32_t result = 0;
    for (int32_t i = 0; i < count; ++i) result = box->lb_set_sel(i, false);
    return result;
}

extern "C" int32_t VBSetListBox(int32_t hwnd, const char* path) {
    plat::Control* box = plat::control(hwnd);
    if (box != nullptr) box->lb_reset();

    std::FILE* fp = path != nullptr ? plat::fopen(path, "rt") : nullptr;
    if (fp == nullptr) {
        pxall::syerr_message(kModule, kFunction, "fopen", 11, path != nullptr ? errno : EINVAL, 1);
        return 11;
    }
    char buf[kLineBuffer];
    // A piece of 127 characters is a cut in an over-long line; the line end
    // that follows it is that line's own, not an empty line.
    bool cut = false;
    for (;;) {
        std::memset(buf, 0, sizeof buf);
        if (plat::fgets_text(buf, kLineBuffer, fp) == nullptr) break;
        // The list shows a line up to a NUL byte, as the add call would.
        size_t n = std::strlen(buf);
        const char* nl = static_cast<const char*>(std::memchr(buf, '\n', kLineBuffer - 1));
        bool ended = nl != nullptr;
        size_t end_at = ended ? static_cast<size_t>(nl - buf) : 0;
        // Only the line end goes; a last line without one keeps every character.
        if (ended && n == end_at + 1) {
            n = end_at;
            if (n > 0 && buf[n - 1] == '\r') --n;
        }
        bool only_end = ended && (end_at == 0 || (end_at == 1 && buf[0] == '\r'));
        if (!(cut && only_end) && box != nullptr) box->lb_add(std::string(buf, n));
        cut = !ended;
    }
    if (std::ferror(fp)) {
        int e = errno;
        std::fclose(fp);
        pxall::syerr_message(kModule, kFunction, "fgets", 14, e, 2);
        return 14;
    }
    std::fclose(fp);
    return 0;
}
