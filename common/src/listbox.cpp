#include "pxall/listbox.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/controls.h"
#include "platform/files.h"
#include "pxall/errlog.h"
#include "text_lines.h"

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
    int read_error = pxall::add_text_lines(fp, box, kLineBuffer);
    if (read_error != 0) {
        std::fclose(fp);
        pxall::syerr_message(kModule, kFunction, "fgets", 14, read_error, 2);
        return 14;
    }
    std::fclose(fp);
    return 0;
}
