// Fixed-width text fields as the inquiry screens cut them out of the
// records of the libraries' work files and out of the screen file: byte
// fields in the ANSI code page, blank-padded; a screen text is NUL-padded
// in its field, and a NUL is shown and printed as a blank.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

namespace px::inquiry {

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
// The text of a byte field for a widget or a printer.
QString shown(std::string_view bytes);
// Screen text `no` in a field of `width` characters, blank-padded.
QString screen_field(int32_t no, int width);

// Reads a file of fixed-length records whole (the count is the file's length
// divided by `size`). 0, or the run-time error number: 53 the file does not
// exist, 57 it cannot be read.
int32_t read_record_file(const std::string& win_path, size_t size, std::vector<std::string>* records);

}  // namespace px::inquiry
