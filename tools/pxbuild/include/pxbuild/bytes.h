// Byte helpers of the builder: little-endian numbers and fixed-width text
// fields written at byte offsets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pxbuild {

using Bytes = std::vector<uint8_t>;

// A failure of the builder: bad input records or a file it cannot write.
class BuildError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline void put_u16(uint8_t* p, uint32_t v) {
    p[0] = v & 0xff;
    p[1] = (v >> 8) & 0xff;
}
inline void put_u32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = (v >> (8 * i)) & 0xff;
}

// A fixed-width record of `len` bytes, blank-filled, with fields set at byte
// offsets. Text longer than its field is cut.
class Record {
public:
    explicit Record(size_t len, char fill = ' ') : bytes_(len, fill) {}
    Record& text(size_t at, size_t width, std::string_view s);
    // Right-justified number with leading zeros ("%0*d").
    Record& num(size_t at, size_t width, long value);
    Record& u16(size_t at, uint32_t v);
    Record& u32(size_t at, uint32_t v);
    Record& zero(size_t at, size_t width);
    Record& fill(size_t at, size_t width, char c);
    const std::string& str() const { return bytes_; }
    operator std::string() const { return bytes_; }

private:
    std::string bytes_;
};

// Whole host files.
void write_file(const std::string& host_path, const void* data, size_t size);
inline void write_file(const std::string& host_path, const Bytes& b) { write_file(host_path, b.data(), b.size()); }
void write_text(const std::string& host_path, std::string_view text);
Bytes read_file(const std::string& host_path);

}  // namespace pxbuild
