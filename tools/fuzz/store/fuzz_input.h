// The framing of the stored-file fuzz inputs, shared by the targets and the
// seed writer: one byte that picks the use, then the number of parts, the
// length of each part but the last (u32, little-endian), and the parts. A
// short or damaged frame still gives parts: lengths are cut to what is left.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pxfuzz {

struct Part {
    const uint8_t* data;
    size_t size;
};

struct Input {
    uint8_t use = 0;
    std::vector<Part> parts;  // always `count` of them, empty when missing
};

inline Input split(const uint8_t* data, size_t size, size_t count) {
    Input in;
    in.parts.assign(count, Part{data, 0});
    if (size == 0) return in;
    in.use = data[0];
    const uint8_t* p = data + 1;
    size_t n = size - 1;
    size_t len[16] = {};
    for (size_t i = 0; i + 1 < count && i < 16; ++i) {
        uint32_t v = 0;
        for (int b = 0; b < 4 && n > 0; ++b, --n) v |= uint32_t(*p++) << (8 * b);
        len[i] = v;
    }
    for (size_t i = 0; i < count; ++i) {
        size_t m = (i + 1 < count && len[i] < n) ? len[i] : n;
        in.parts[i] = Part{p, m};
        p += m;
        n -= m;
    }
    return in;
}

// The seed writer's side: the frame of `use` and its parts.
inline std::string frame(uint8_t use, const std::vector<std::string>& parts) {
    std::string out(1, static_cast<char>(use));
    for (size_t i = 0; i + 1 < parts.size(); ++i)
        for (int b = 0; b < 4; ++b) out.push_back(static_cast<char>((parts[i].size() >> (8 * b)) & 0xff));
    for (const auto& p : parts) out += p;
    return out;
}

}  // namespace pxfuzz
