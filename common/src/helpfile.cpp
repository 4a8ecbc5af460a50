#include "pxall/helpfile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/controls.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/errlog.h"
#include "pxall/paths.h"

namespace {

constexpr const char* kModule = "PXSUBH01";
constexpr const char* kFunction = "VBReadHelpFile";
constexpr int kLineBuffer = 120;
constexpr const char* kExtension = ".HLP";
constexpr size_t kLangLen = 2;

}  // namespace

extern "C" int32_t VBReadHelpFile(int32_t hwnd, const char* id) {
    plat::Control* box = plat::control(hwnd);
    if (box != nullptr) box->lb_reset();

    // id + language + ".HLP" must leave the path buffer its terminator.
    char path[pxall::kPathSize] = {};
    size_t id_len = id != nullptr ? strnlen(id, pxall::kPathSize) : 0;
    if (id_len + kLangLen + std::strlen(kExtension) >= static_cast<size_t>(pxall::kPathSize)) {
        std::string shown(id, std::min(id_len, static_cast<size_t>(pxall::kPathSize - 1)));
        pxall::syerr_message(kModule, kFunction, shown.c_str(), 11, ENAMETOOLONG, 1);
        return 11;
    }
    std::memcpy(path, id, id_len);
    const unsigned char* top = pxall::get_ctop_addr();
    char lang[kLangLen] = {' ', ' '};
    if (top != nullptr) {
        // "%2.2s": at most two characters, blank-padded on the left when shorter.
        size_t n = strnlen(reinterpret_cast<const char*>(top + pxall::ctop::kMenuLangCode), kLangLen);
        std::memcpy(lang + (kLangLen - n), top + pxall::ctop::kMenuLangCode, n);
    }
    std::memcpy(path + id_len, lang, kLangLen);
    std::memcpy(path + id_len + kLangLen, kExtension, std::strlen(kExtension));
    if (pxall::get_path_name(pxall::kPathProgram, -1, path) != 0) {
        pxall::syerr_message(kModule, kFunction, path, 11, ENAMETOOLONG, 2);
        return 11;
    }

    std::FILE* fp = plat::fopen(path, "rt");
    if (fp == nullptr) {
        pxall::syerr_message(kModule, kFunction, path, 11, errno, 3);
        return 11;
    }
    char buf[kLineBuffer];
    // A piece of 119 characters is a cut in an over-long line; the line end
    // that follows it is that line's own, not an empty line.
    bool cut = false;
    for (;;) {
        std::memset(buf, 0, sizeof buf);
        if (plat::fgets_text(buf, kLineBuffer, fp) == nullptr) break;
        size_t n = std::strlen(buf);
        const char* nl = static_cast<const char*>(std::memchr(buf, '\n', kLineBuffer - 1));
        bool ended = nl != nullptr;
        size_t end_at = ended ? static_cast<size_t>(nl - buf) : 0;
        // Only the line end goes: a last line without one keeps every character.
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
        pxall::syerr_message(kModule, kFunction, path, 14, e, 4);
        return 14;
    }
    std::fclose(fp);
    return 0;
}
