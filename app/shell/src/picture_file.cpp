#include "shell/picture_file.h"

#include <array>
#include <cstring>
#include <span>
#include <vector>

#include "platform/files.h"

namespace px {

namespace {

constexpr size_t kFileHeader = 14;
constexpr size_t kMinInfo = 40;
// Beyond this a picture is not one of ours (and its pixels would not fit).
constexpr int32_t kMaxSide = 32767;
// The largest picture file read, far beyond an A3 drawing at 600 dots an
// inch in one bit, and the most pixels a picture may have: as many as the
// memory Qt allows a picture it reads (256 MB in 32 bits).
constexpr size_t kMaxPictureBytes = size_t{32} << 20;
constexpr uint64_t kMaxPixels = uint64_t{64} << 20;

using Bytes = std::span<const uint8_t>;

uint32_t le32(Bytes b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t le16(Bytes b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

// A one-bit uncompressed bitmap, read straight into RGB32. False when the
// file is not one (the caller tries the general reader); *bad when it is one
// but its sizes do not hold.
bool read_one_bit(Bytes b, QImage* out, bool* bad) {
    *bad = false;
    if (b.size() < kFileHeader + kMinInfo || b[0] != 'B' || b[1] != 'M') return false;
    const uint32_t info = le32(b, 14);
    if (info < kMinInfo || le16(b, 28) != 1 || le32(b, 30) != 0) return false;
    *bad = true;
    const int32_t width = static_cast<int32_t>(le32(b, 18));
    const int32_t raw_height = static_cast<int32_t>(le32(b, 22));
    if (width <= 0 || width > kMaxSide || raw_height == 0 || raw_height < -kMaxSide || raw_height > kMaxSide)
        return true;
    const bool top_down = raw_height < 0;
    const int32_t height = top_down ? -raw_height : raw_height;
    if (uint64_t(width) * uint64_t(height) > kMaxPixels) return true;
    const size_t table = kFileHeader + info;
    if (info > b.size() || table + 8 > b.size()) return true;
    QRgb colour[2];
    for (int i = 0; i < 2; ++i)
        colour[i] = qRgb(b[table + 4 * i + 2], b[table + 4 * i + 1], b[table + 4 * i]);
    const size_t offset = le32(b, 10);
    const size_t stride = (static_cast<size_t>(width) + 31) / 32 * 4;
    const size_t row_bytes = (static_cast<size_t>(width) + 7) / 8;
    if (offset > b.size() || (b.size() - offset) / stride < static_cast<size_t>(height)) return true;

    // Eight pixels a byte, through a table of every byte's eight colours.
    std::vector<std::array<QRgb, 8>> expand(256);
    for (int v = 0; v < 256; ++v)
        for (int bit = 0; bit < 8; ++bit) expand[v][bit] = colour[(v >> (7 - bit)) & 1];

    QImage img(width, height, QImage::Format_RGB32);
    if (img.isNull()) return true;
    const int32_t whole = width / 8;
    const int32_t rest = width % 8;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = b.data() + offset + stride * static_cast<size_t>(top_down ? y : height - 1 - y);
        auto* px = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int32_t i = 0; i < whole; ++i, px += 8) std::memcpy(px, expand[row[i]].data(), sizeof(QRgb) * 8);
        if (rest > 0 && row_bytes > static_cast<size_t>(whole))
            std::memcpy(px, expand[row[whole]].data(), sizeof(QRgb) * static_cast<size_t>(rest));
    }
    *out = std::move(img);
    *bad = false;
    return true;
}

}  // namespace

int32_t load_picture_file(const std::string& win_path, QImage* out) {
    *out = QImage();
    std::string file;
    switch (plat::read_whole_file(win_path, kMaxPictureBytes, &file)) {
        case plat::ReadWhole::kDone: break;
        case plat::ReadWhole::kNotFound: return kPicFileNotFound;
        case plat::ReadWhole::kTooLarge: return kPicInvalid;
        case plat::ReadWhole::kCannotOpen:
        case plat::ReadWhole::kReadError: return kPicCannotOpen;
    }
    const Bytes bytes(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    bool bad = false;
    if (read_one_bit(bytes, out, &bad)) return bad ? kPicInvalid : 0;
    QImage any;
    if (!any.loadFromData(bytes.data(), static_cast<int>(bytes.size())) || any.isNull()) return kPicInvalid;
    *out = any.convertToFormat(QImage::Format_RGB32);
    return 0;
}

}  // namespace px
