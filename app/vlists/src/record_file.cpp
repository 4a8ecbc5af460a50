#include "vlists/record_file.h"

#include <cstdio>
#include <memory>

#include "platform/files.h"
#include "shell/codepage.h"

namespace px::vlists {

int RecordFile::open(std::string_view win_path) {
    bytes_.clear();
    if (win_path.empty()) return kErrBadFileName;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> fp(plat::fopen(win_path, "rb"), &std::fclose);
    if (!fp) return kErrFileNotFound;
    char buf[8192];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, fp.get())) > 0) bytes_.append(buf, n);
    if (std::ferror(fp.get())) {
        bytes_.clear();
        return kErrInputPastEnd;
    }
    return 0;
}

std::string_view RecordFile::record(size_t i) const {
    if (i >= count()) return {};
    return std::string_view(bytes_).substr(i * size_, size_);
}

std::string_view RecordFile::at(size_t offset, size_t len) const {
    if (offset > bytes_.size() || len > bytes_.size() - offset) return {};
    return std::string_view(bytes_).substr(offset, len);
}

std::string path_of(const std::string& buffer) {
    size_t end = buffer.find('\0');
    std::string path = buffer.substr(0, end);
    size_t first = path.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    size_t last = path.find_last_not_of(' ');
    return path.substr(first, last - first + 1);
}

QString shown_field(std::string_view bytes) {
    std::string copy(bytes);
    for (char& c : copy)
        if (c == '\0') c = ' ';
    return from_ansi(copy);
}

}  // namespace px::vlists
