#include "support/image_files.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace pxtest {

pxbuild::StoredImage stored_picture(const Bitmap& picture, FaxCoding coding) {
    pxbuild::StoredImage img;
    img.id = "TEST001";
    img.width = picture.width;
    img.height = picture.height;
    img.coded = fax_encode(picture, coding);
    return img;
}

namespace {

uint32_t le(const std::vector<uint8_t>& b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | b[at + i];
    return v;
}

}  // namespace

BmpFile read_bmp(const std::string& host_path) {
    BmpFile out;
    std::ifstream in(host_path, std::ios::binary);
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 62) {
        out.error = "shorter than its headers: " + std::to_string(b.size());
        return out;
    }
    const int w = static_cast<int>(le(b, 18, 4)), h = static_cast<int>(le(b, 22, 4));
    const size_t row = (static_cast<size_t>(w) + 7) / 8, stride = (row + 3) / 4 * 4;
    struct Field {
        size_t at;
        int n;
        uint32_t want;
        const char* name;
    };
    const Field fields[] = {
        {0, 2, 0x4D42, "BM"},  {2, 4, static_cast<uint32_t>(62 + stride * h), "file size"},
        {6, 4, 0, "reserved"}, {10, 4, 62, "pixel offset"}, {14, 4, 40, "info size"},
        {26, 2, 1, "planes"},  {28, 2, 1, "bits"},          {30, 4, 0, "compression"},
        {34, 4, 0, "image size"}, {38, 4, 0, "x resolution"}, {42, 4, 0, "y resolution"},
        {46, 4, 2, "colours"}, {50, 4, 2, "important colours"}, {54, 4, 0x00FFFFFF, "colour 0"},
        {58, 4, 0, "colour 1"},
    };
    for (const auto& f : fields)
        if (le(b, f.at, f.n) != f.want) {
            out.error = std::string(f.name) + " is " + std::to_string(le(b, f.at, f.n));
            return out;
        }
    if (b.size() != 62 + stride * h) {
        out.error = "file holds " + std::to_string(b.size()) + " bytes";
        return out;
    }
    out.picture = Bitmap(w, h);
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = b.data() + 62 + stride * static_cast<size_t>(h - 1 - y);
        std::memcpy(out.picture.row(y), src, row);
        for (size_t i = row; i < stride; ++i)
            if (src[i] != 0) out.error = "padding not zero in row " + std::to_string(y);
        if (w % 8 != 0 && (src[row - 1] & (0xFF >> (w % 8))) != 0) out.error = "bits past the width in row " + std::to_string(y);
    }
    return out;
}

}  // namespace pxtest
