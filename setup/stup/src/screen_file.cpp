// The screen file of the menu language, for the screen-text editor: its
// path (current directory) with the editor's work file, and its reload.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/paths.h"
#include "pxall/texts.h"
#include "stup/stup.h"

namespace {

constexpr int kScreenPathSize = 80;
constexpr int kWorkPathSize = 256;

int16_t menu_language() {
    const unsigned char* top = pxall::get_ctop_addr();
    return top == nullptr ? 0 : pxall::get_i16(top + pxall::ctop::kMenuLangNo);
}

void copy_out(VbString* s, const char* buf, size_t size) {
    if (s == nullptr || s->data == nullptr || s->len <= 0) return;
    size_t n = std::min(size, static_cast<size_t>(s->len));
    std::memset(s->data, 0, static_cast<size_t>(s->len));
    std::memcpy(s->data, buf, n);
}

}  // namespace

int32_t Screen_FilePath(VbString* screen_path, VbString* work_path) {
    char work[kWorkPathSize] = {};
    std::snprintf(work, sizeof work, "\\SCREEN.TMP");
    pxall::get_path_name(pxall::kPathWork, -1, work);

    // The current directory, the separator and the 12-character name must
    // fit 79 characters; a longer directory is left out rather than cut.
    char screen[kScreenPathSize] = {};
    std::string cwd = plat::current_directory();
    if (!cwd.empty() && cwd.back() == '\\') cwd.pop_back();
    if (cwd.size() + 1 + 12 > kScreenPathSize - 1) cwd.clear();
    char number[8];
    std::snprintf(number, sizeof number, "%02d", menu_language());
    std::snprintf(screen, sizeof screen, "%s\\PXDROM%.2s.SCR", cwd.c_str(), number);

    copy_out(screen_path, screen, sizeof screen);
    copy_out(work_path, work, sizeof work);
    return work_path == nullptr ? 0 : work_path->len;
}

int32_t Reload_ScreenFile() {
    if (menu_language() <= 0) return 0;
    pxall::free_scr();
    return pxall::set_scr();
}
