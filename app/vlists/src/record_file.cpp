#include "vlists/record_file.h"

#include "shell/codepage.h"
#include "shell/fixed_text.h"

namespace px::vlists {

int RecordFile::open(std::string_view win_path) {
    bytes_.clear();
    if (win_path.empty()) return kErrBadFileName;
    int32_t r = text::read_file(std::string(win_path), &bytes_);
    if (r == 0) return 0;
    bytes_.clear();
    return r == kErrDeviceIo ? kErrInputPastEnd : r;
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
