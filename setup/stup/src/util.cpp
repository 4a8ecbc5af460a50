// Helpers shared by the parts of the set-up library.
#include <cerrno>
#include <cstring>

#include "platform/files.h"
#include "platform/space.h"
#include "pxall/blocks.h"
#include "stup_internal.h"

namespace pxstup {

RunState& run() {
    static RunState state;
    return state;
}

bool blank(char c) { return c == ' ' || c == 0; }

std::string state_dir(size_t at) {
    const unsigned char* top = pxall::get_ctop_addr();
    if (top == nullptr) return {};
    const char* p = reinterpret_cast<const char*>(top + at);
    std::string s(p, strnlen(p, pxall::ctop::kDirSize));
    while (!s.empty() && s.back() == '\\') s.pop_back();
    return s;
}

std::string on_drive(std::string path, char drive) {
    if (path.size() >= 2 && path[1] == ':' && !blank(drive)) path[0] = drive;
    return path;
}

std::string join(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '\\') return dir + name;
    return dir + "\\" + name;
}

bool make_dirs(const std::string& win_path) {
    if (plat::directory_exists(win_path)) return true;
    size_t cut = win_path.rfind('\\');
    if (cut != std::string::npos && cut > 2) {
        if (!make_dirs(win_path.substr(0, cut))) return false;
    }
    return plat::create_directory(win_path) || plat::directory_exists(win_path);
}

bool put_bytes(std::FILE* fp, const std::string& win_path, const void* data, size_t n) {
    if (!plat::charge_disk_write(win_path, n)) return false;
    errno = 0;
    if (std::fwrite(data, 1, n, fp) != n) {
        if (errno == 0) errno = EIO;
        return false;
    }
    return true;
}

int put_file(const std::string& win_path, const void* data, size_t n) {
    std::FILE* fp = plat::fopen(win_path, "wb");
    if (fp == nullptr) return errno != 0 ? errno : EIO;
    int e = put_bytes(fp, win_path, data, n) ? 0 : errno;
    if (std::fclose(fp) != 0 && e == 0) e = errno != 0 ? errno : EIO;
    return e;
}

std::string data_lang() {
    const unsigned char* top = pxall::get_ctop_addr();
    if (top == nullptr) return "01";
    const char* c = reinterpret_cast<const char*>(top + pxall::ctop::kDataLangCode);
    return std::string(c, 2);
}

bool known_issue(const char* issue) { return is_digit(issue[0]); }

}  // namespace pxstup
