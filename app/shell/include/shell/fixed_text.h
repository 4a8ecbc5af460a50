// Fixed-width text fields as the screens cut them out of the records of the
// libraries' work files, of the save data files and of the screen file:
// byte fields in the ANSI code page, blank-padded; a screen text is
// NUL-padded in its field, and a NUL is shown and printed as a blank. And
// the fixed-length strings the library entries fill.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

#include "pxall/vbstring.h"

namespace px::text {

// Bytes [at, at + n) of a record; what lies beyond its end is blank.
std::string field(std::string_view rec, size_t at, size_t n);
// Cut or blank-padded to n bytes.
std::string fixed(std::string_view s, size_t n);
// Without trailing (or leading and trailing) blanks and NULs.
std::string rtrim(std::string_view s);
std::string trim(std::string_view s);
QString rtrim(const QString& s);
QString trim(const QString& s);
// A record's entry number (its first field) marks the first record of an
// entry: blank-trimmed, not empty, digits only.
bool is_numeric(std::string_view s);
// The text of a byte field for a widget or a printer (NUL shown as blank).
QString shown(std::string_view bytes);
// Screen text `no` in a field of `width` characters, blank-padded (the
// column headers and print headings that stand at full width).
QString screen_field(int32_t no, int width);
// Screen text `no` cut to `width` and trimmed (captions).
QString caption(int32_t no, int width);

// A fixed-length string for the library entries to fill, and its text up to
// the first NUL.
class FixedString {
public:
    explicit FixedString(size_t len) : buf_(len, '\0') { vb_ = {buf_.data(), static_cast<int32_t>(len)}; }
    FixedString(const FixedString&) = delete;
    FixedString& operator=(const FixedString&) = delete;
    VbString* vb() { return &vb_; }
    char* data() { return buf_.data(); }
    const std::string& bytes() const { return buf_; }
    std::string text() const { return buf_.substr(0, buf_.find('\0')); }

private:
    std::string buf_;
    VbString vb_{};
};

// The largest list or work file a screen reads whole.
constexpr size_t kMaxWorkFileBytes = 64u << 20;
// A whole file's bytes, through the platform (which refuses what is not a
// regular file). 0, or the run-time error number: 53 the file does not
// exist, 75 it cannot be opened (a folder, FIFO or device under its name),
// 7 it is larger than kMaxWorkFileBytes, 57 it cannot be read.
int32_t read_file(const std::string& win_path, std::string* bytes);
// A file of fixed-length records, whole (the count is the file's length
// divided by `size`); 0 or an error number as read_file.
int32_t read_record_file(const std::string& win_path, size_t size, std::vector<std::string>* records);
// Whether a file exists (a directory search finds it).
bool file_found(const std::string& win_path);

}  // namespace px::text
