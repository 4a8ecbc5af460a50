// A work file of fixed-length records that a library wrote for a screen,
// read whole and record by record. Every read is checked: a record past the
// end of the file is an error, never bytes from beyond it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <QString>

namespace px::vlists {

// Run-time error numbers of a failed reading, as the forms run time gives them.
constexpr int kErrBadFileName = 52;
constexpr int kErrFileNotFound = 53;
constexpr int kErrInputPastEnd = 62;
constexpr int kErrDeviceIo = 57;

class RecordFile {
public:
    RecordFile(size_t record_size) : size_(record_size) {}

    // Reads the file of a Windows-shaped path: 0, or the error number (53
    // when it does not exist, 52 for an empty path, 75 when a folder, FIFO
    // or device stands under its name, 7 when it is too large for a list,
    // 62 when it cannot be read).
    int open(std::string_view win_path);
    // Whole records in the file; a trailing piece counts for none.
    size_t count() const { return bytes_.size() / size_; }
    size_t length() const { return bytes_.size(); }
    // Record i (from 0), or an empty view past the last whole record.
    std::string_view record(size_t i) const;
    // Bytes at an offset of the file, or an empty view when they run past it.
    std::string_view at(size_t offset, size_t len) const;

private:
    size_t size_;
    std::string bytes_;
};

// A path a library wrote into the caller's fixed-length string: cut at the
// first NUL and trimmed of blanks.
std::string path_of(const std::string& buffer);

// A fixed-width field as the screen shows it: every byte, untrimmed (a NUL
// shows as a blank), decoded in the system's code page.
QString shown_field(std::string_view bytes);

}  // namespace px::vlists
