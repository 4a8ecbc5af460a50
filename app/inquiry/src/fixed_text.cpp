#include "inquiry/fixed_text.h"

#include <fstream>
#include <iterator>

#include "platform/drives.h"
#include "shell/codepage.h"
#include "shell/messages.h"

namespace px::inquiry {

namespace {

bool blank(char c) { return c == ' ' || c == '\0'; }

constexpr int32_t kErrFileNotFound = 53;
constexpr int32_t kErrDeviceIo = 57;

}  // namespace

std::string field(std::string_view rec, size_t at, size_t n) {
    std::string out(n, ' ');
    if (at < rec.size()) out.replace(0, std::min(n, rec.size() - at), rec.substr(at, n));
    return out;
}

std::string fixed(std::string_view s, size_t n) {
    std::string out(s.substr(0, std::min(n, s.size())));
    out.resize(n, ' ');
    return out;
}

std::string rtrim(std::string_view s) {
    size_t n = s.size();
    while (n > 0 && blank(s[n - 1])) --n;
    return std::string(s.substr(0, n));
}

std::string trim(std::string_view s) {
    size_t b = 0;
    while (b < s.size() && blank(s[b])) ++b;
    return rtrim(s.substr(b));
}

QString rtrim(const QString& s) {
    qsizetype n = s.size();
    while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == QChar(0))) --n;
    return s.left(n);
}

QString trim(const QString& s) {
    qsizetype b = 0;
    while (b < s.size() && (s[b] == ' ' || s[b] == QChar(0))) ++b;
    return rtrim(s.mid(b));
}

bool is_numeric(std::string_view s) {
    std::string t = trim(s);
    if (t.empty()) return false;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    return true;
}

QString shown(std::string_view bytes) {
    std::string b(bytes);
    for (char& c : b)
        if (c == '\0') c = ' ';
    return from_ansi(b);
}

QString screen_field(int32_t no, int width) {
    QString t = ScrText(no, width);
    if (t.size() < width) t += QString(width - t.size(), ' ');
    return t;
}

int32_t read_record_file(const std::string& win_path, size_t size, std::vector<std::string>* records) {
    records->clear();
    auto host = plat::host_path(win_path);
    if (!host) return kErrFileNotFound;
    std::ifstream in(*host, std::ios::binary);
    if (!in) return kErrFileNotFound;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return kErrDeviceIo;
    size_t n = bytes.size() / size;
    records->reserve(n);
    for (size_t i = 0; i < n; ++i) records->push_back(bytes.substr(i * size, size));
    return 0;
}

}  // namespace px::inquiry
