#include "pxall/paths.h"

#include <cstring>
#include <string>

#include "pxall/blocks.h"

namespace pxall {

namespace {

// The NUL-terminated text of a directory field, at most its width.
std::string field_text(const unsigned char* p, size_t width) {
    size_t n = 0;
    while (n < width && p[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
}

// The directory field behind a kind, or false for an unknown kind or entry.
bool kind_directory(int kind, int entry, std::string* dir) {
    const unsigned char* top = get_ctop_addr();
    if (top == nullptr) return false;
    switch (kind) {
        case kPathWork: *dir = field_text(top + ctop::kWorkDir, ctop::kDirSize); return true;
        case kPathMaster: *dir = field_text(top + ctop::kMasterDir, ctop::kDirSize); return true;
        case kPathPrice: *dir = field_text(top + ctop::kPriceDir, ctop::kDirSize); return true;
        case kPathLocalPrice: *dir = field_text(top + ctop::kLocalPriceDir, ctop::kDirSize); return true;
        case kPathProgram: *dir = field_text(top + ctop::kProgramDir, ctop::kDirSize); return true;
        case kPathFrameWorld: *dir = field_text(top + ctop::kFrameWorldDir, ctop::kDirSize); return true;
        case kPathFrameJapan: *dir = field_text(top + ctop::kFrameJapanDir, ctop::kDirSize); return true;
        case kPathCdDrive: {
            int count = top[ctop::kDriveCount];
            if (entry < 0 || entry >= count || entry >= ctop::kMaxDrives) return false;
            const unsigned char* d = top + ctop::kDrives + 2 * static_cast<size_t>(entry);
            *dir = field_text(d, 2);
            return true;
        }
        default: return false;
    }
}

}  // namespace

int get_path_name(int kind, int entry, char* buf) {
    if (buf == nullptr) return -1;
    std::string dir;
    if (kind < 0 || kind > kPathFrameJapan) return 0;
    bool sub = kind == kPathMaster || kind == kPathFrameWorld || (kind == kPathFrameJapan && entry != -1);
    // A drive or set-up entry that does not exist is refused, never read.
    if (kind == kPathCdDrive && !kind_directory(kind, entry, &dir)) return -1;
    if (sub && entry != -1 && (entry < 0 || entry >= ctop::kMaxSetup)) return -1;
    if (kind != kPathCdDrive && !kind_directory(kind, entry, &dir)) return 0;
    if (dir.empty()) return 0;

    if (dir.size() > static_cast<size_t>(kPathSize)) dir.resize(kPathSize);
    char last = dir.back();
    if (last == ';') {
        dir.pop_back();
        if (dir.empty() || dir.back() != '\\') dir.push_back('\\');
    } else if (last != '\\') {
        dir.push_back('\\');
    }
    if (sub && entry != -1) {
        const unsigned char* e = setup_entry_addr(entry);
        dir.append(reinterpret_cast<const char*>(e + setup_entry::kName), 2);
        dir.push_back('\\');
    }
    size_t name_len = strnlen(buf, kPathSize);
    dir.append(buf, name_len);
    if (dir.size() > static_cast<size_t>(kPathSize - 1)) return -1;
    std::memset(buf, 0, kPathSize);
    std::memcpy(buf, dir.data(), dir.size());
    return 0;
}

void set_path_name(char* buf, int size) {
    const unsigned char* top = get_ctop_addr();
    if (buf == nullptr || size < 1 || top == nullptr) return;
    std::string master = field_text(top + ctop::kMasterDir, ctop::kDirSize);
    if (buf[0] == 0) {
        size_t n = std::min(master.size(), static_cast<size_t>(size - 1));
        std::memcpy(buf, master.data(), n);
        buf[n] = 0;
        return;
    }
    if (size < 4) return;
    char letter = buf[0];
    size_t skip = 0;
    if (master.size() >= 2 && master[1] == ':')
        skip = std::min<size_t>(3, master.size());
    else if (!master.empty() && master[0] == '\\')
        skip = 1;
    std::string rest = master.substr(skip);
    size_t n = std::min(rest.size(), static_cast<size_t>(size - 4));
    buf[0] = letter;
    buf[1] = ':';
    buf[2] = '\\';
    std::memcpy(buf + 3, rest.data(), n);
    buf[3 + n] = 0;
}

}  // namespace pxall

extern "C" int32_t VBGetPathName(int16_t kind, VbString* str) {
    if (str == nullptr || str->data == nullptr || str->len < 0) return 0;
    char buf[pxall::kPathSize] = {};
    pxall::get_path_name(kind, -1, buf);
    int32_t n = str->len < pxall::kPathSize ? str->len : pxall::kPathSize;
    std::memcpy(str->data, buf, static_cast<size_t>(n));
    return n;
}
