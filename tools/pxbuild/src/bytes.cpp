#include "pxbuild/bytes.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace pxbuild {

Record& Record::text(size_t at, size_t width, std::string_view s) {
    if (at + width > bytes_.size()) throw BuildError("field past the record's end");
    for (size_t i = 0; i < width; ++i) bytes_[at + i] = i < s.size() ? s[i] : ' ';
    return *this;
}

Record& Record::num(size_t at, size_t width, long value) {
    std::string s = std::to_string(value);
    if (s.size() > width) throw BuildError("number wider than its field: " + s);
    return text(at, width, std::string(width - s.size(), '0') + s);
}

Record& Record::u16(size_t at, uint32_t v) {
    if (at + 2 > bytes_.size()) throw BuildError("field past the record's end");
    put_u16(reinterpret_cast<uint8_t*>(&bytes_[at]), v);
    return *this;
}

Record& Record::u32(size_t at, uint32_t v) {
    if (at + 4 > bytes_.size()) throw BuildError("field past the record's end");
    put_u32(reinterpret_cast<uint8_t*>(&bytes_[at]), v);
    return *this;
}

Record& Record::zero(size_t at, size_t width) { return fill(at, width, '\0'); }

Record& Record::fill(size_t at, size_t width, char c) {
    if (at + width > bytes_.size()) throw BuildError("field past the record's end");
    for (size_t i = 0; i < width; ++i) bytes_[at + i] = c;
    return *this;
}

void write_file(const std::string& host_path, const void* data, size_t size) {
    std::filesystem::path p(host_path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) throw BuildError("cannot write " + host_path);
}

void write_text(const std::string& host_path, std::string_view text) { write_file(host_path, text.data(), text.size()); }

Bytes read_file(const std::string& host_path) {
    std::ifstream in(host_path, std::ios::binary);
    if (!in) throw BuildError("cannot read " + host_path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace pxbuild
