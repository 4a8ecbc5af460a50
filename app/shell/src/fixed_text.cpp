#include "shell/fixed_text.h"

#include <cstdio>

#include "platform/files.h"
#include "shell/codepage.h"
#include "shell/messages.h"

namespace px::text {

namespace {

bool blank(char c) { return c == ' ' || c == '\0'; }
bool blank(QChar c) { return c == ' ' || c == QChar(0); }

constexpr int32_t kErrFileNotFound = 53;
constexpr int32_t kErrDeviceIo = 57;
constexpr int32_t kErrPathAccess = 75;
constexpr int32_t kErrOutOfMemory = 7;

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
    while (n > 0 && blank(s[n - 1])) --n;
    return s.left(n);
}

QString trim(const QString& s) {
    qsizetype b = 0;
    while (b < s.size() && blank(s[b])) ++b;
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
    for (QChar& c : t)
        if (c == QChar(0)) c = ' ';
    if (t.size() < width) t += QString(width - t.size(), ' ');
    return t.left(width);
}

QString caption(int32_t no, int width) { return trim(ScrText(no, width)); }

int32_t read_file(const std::string& win_path, std::string* bytes) {
    switch (plat::read_whole_file(win_path, kMaxWorkFileBytes, bytes)) {
        case plat::ReadWhole::kDone: return 0;
        case plat::ReadWhole::kNotFound: return kErrFileNotFound;
        case plat::ReadWhole::kCannotOpen: return kErrPathAccess;
        case plat::ReadWhole::kTooLarge: return kErrOutOfMemory;
        case plat::ReadWhole::kReadError: break;
    }
    return kErrDeviceIo;
}

int32_t read_record_file(const std::string& win_path, size_t size, std::vector<std::string>* records) {
    records->clear();
    std::string bytes;
    if (int32_t r = read_file(win_path, &bytes); r != 0) return r;
    if (size == 0) return 0;
    size_t n = bytes.size() / size;
    records->reserve(n);
    for (size_t i = 0; i < n; ++i) records->push_back(bytes.substr(i * size, size));
    return 0;
}

bool file_found(const std::string& win_path) {
    std::string p = rtrim(win_path);
    return !p.empty() && plat::file_exists(p);
}

}  // namespace px::text
