#include "pxall/helpfile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/controls.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/errlog.h"
#include "text_lines.h"
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
    int read_error = pxall::add_text_lines(fp, box, kLineBuffer);
    if (read_error != 0) {
        std::fclose(fp);
        pxall::syerr_message(kModule, kFunction, path, 14, read_error, 4);
        return 14;
    }
    std::fclose(fp);
    return 0;
}
