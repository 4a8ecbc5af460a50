// Reading back what an entry wrote: fixed-length records and text lines of a
// file's bytes, and blank-padded fields to compare them with.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pxtest {

// s blank-padded (or cut) to n characters.
std::string pad(std::string s, size_t n);
// The whole records of len bytes; a short tail is dropped.
std::vector<std::string> records(const std::string& bytes, size_t len);
// The LF-ended lines, without the LF; text after the last LF is dropped.
std::vector<std::string> text_lines(const std::string& bytes);

}  // namespace pxtest
