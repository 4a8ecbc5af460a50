// Decoding an image work file's picture into a one-bit bitmap file.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/files.h"
#include "pxall/faxdecode.h"
#include "pxall/image.h"

namespace pxall {

namespace {

using namespace image;

constexpr int32_t kInputChunk = 2048;
constexpr int32_t kOutputChunk = 7168;

uint32_t be(const uint8_t* p, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = v << 8 | p[i];
    return v;
}

void le16(uint8_t* p, uint32_t v) {
    p[0] = v & 0xff;
    p[1] = (v >> 8) & 0xff;
}

void le32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = (v >> (8 * i)) & 0xff;
}

struct Stored {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t coding = 0;
    uint32_t coded_length = 0;
};

Stored fill_header(const uint8_t* st, uint8_t* out) {
    le32(out + kHdNumber, be(st + kStNumber, 3));
    le16(out + kHdWidth, be(st + kStWidth, 2));
    le16(out + kHdHeight, be(st + kStHeight, 2));
    std::memcpy(out + kHdId, st + kStId, kIdSize);
    out[kHdId + kIdSize] = 0;
    out[kHdKind] = st[kStKind];
    out[kHdCoding] = st[kStCoding];
    le32(out + kHdCodedLength, be(st + kStCodedLength, 3));
    le32(out + kHdTextLength, be(st + kStTextLength, 2));
    Stored s;
    s.width = be(st + kStWidth, 2);
    s.height = be(st + kStHeight, 2);
    s.coding = st[kStCoding];
    s.coded_length = be(st + kStCodedLength, 3);
    return s;
}

struct Buffers {
    uint8_t* in = nullptr;
    uint8_t* out = nullptr;
    uint8_t* picture = nullptr;
    uint8_t* pixels = nullptr;
    ~Buffers() {
        std::free(in);
        std::free(out);
        std::free(picture);
        std::free(pixels);
    }
};

// Feeds the coded picture to the decoder and gathers its rows in
// b->picture (room for `height` rows). The decoder is free again on return.
int decode_picture(std::FILE* in, const Stored& s, Buffers* b) {
    const int32_t row = row_bytes(static_cast<int32_t>(s.width));
    const size_t room = static_cast<size_t>(row) * s.height;
    uint16_t width = static_cast<uint16_t>(s.width);
    uint16_t status = 0;
    if (s.width < 1 || s.height < 1 || fax_decode(kFaxInit, &width, nullptr, 0, nullptr, nullptr, &status) != 0 ||
        status != kFaxInitialised)
        return kImgDecode;

    int result = 0;
    size_t filled = 0;
    uint32_t left = s.coded_length;
    auto next_input = [&](int32_t* n) {
        *n = static_cast<int32_t>(std::min<uint32_t>(left, kInputChunk));
        if (*n > 0 && std::fread(b->in, 1, static_cast<size_t>(*n), in) != static_cast<size_t>(*n)) return false;
        left -= static_cast<uint32_t>(*n);
        return true;
    };
    auto take = [&](int32_t count) {
        if (count < 0 || static_cast<size_t>(count) > room - filled) return false;
        std::memcpy(b->picture + filled, b->out, static_cast<size_t>(count));
        filled += static_cast<size_t>(count);
        return true;
    };

    int32_t n = 0;
    if (!next_input(&n)) result = kImgReadData;
    while (result == 0) {
        int32_t count = kOutputChunk;
        if (fax_decode(kFaxDecode, &width, b->in, n, b->out, &count, &status) != 0) {
            result = kImgDecode;
        } else if (status == kFaxNeedInput) {
            // Coded bytes used up before the end code: the picture is cut.
            if (left == 0) result = kImgDecode;
            else if (!next_input(&n)) result = kImgReadData;
        } else if (status == kFaxOutputReady) {
            if (!take(count)) result = kImgDecode;
        } else if (status == kFaxEndOfImage) {
            if (!take(count)) result = kImgDecode;
            break;
        } else {
            result = kImgDecode;
        }
    }
    fax_decode(kFaxRelease, nullptr, nullptr, 0, nullptr, nullptr, nullptr);
    return result;
}

int write_bitmap(std::FILE* f, const Stored& s, const uint8_t* pixels, size_t pixel_bytes) {
    uint8_t head[kBmpPixelOffset] = {};
    head[0] = 'B';
    head[1] = 'M';
    le32(head + 2, static_cast<uint32_t>(kBmpPixelOffset + pixel_bytes));
    le32(head + 10, kBmpPixelOffset);
    le32(head + 14, 40);
    le32(head + 18, s.width);
    le32(head + 22, s.height);
    le16(head + 26, 1);
    le16(head + 28, 1);
    le32(head + 46, 2);
    le32(head + 50, 2);
    head[54] = head[55] = head[56] = 0xFF;  // colour 0 white; colour 1 black stays zero
    if (std::fwrite(head, 1, kBmpFileHeaderSize, f) != kBmpFileHeaderSize ||
        std::fwrite(head + kBmpFileHeaderSize, 1, kBmpInfoSize, f) != kBmpInfoSize ||
        std::fwrite(pixels, 1, pixel_bytes, f) != pixel_bytes)
        return kImgWriteBitmap;
    return 0;
}

int decode_to_bitmap(std::FILE* in, const Stored& s, const char* bitmap_path) {
    if (s.width > static_cast<uint32_t>(kMaxWidth) || s.height > static_cast<uint32_t>(kMaxHeight)) return kImgTooLarge;
    if (s.coding != kCodingFax2D) return kImgCodingType;
    std::FILE* bmp = plat::fopen(bitmap_path, "wb");
    if (bmp == nullptr) return kImgOpenBitmap;

    const int32_t row = row_bytes(static_cast<int32_t>(s.width));
    const int32_t stride = bitmap_stride(static_cast<int32_t>(s.width));
    const size_t pixel_bytes = static_cast<size_t>(stride) * s.height;
    Buffers b;
    int result = 0;
    b.in = static_cast<uint8_t*>(std::malloc(kInputChunk));
    b.out = static_cast<uint8_t*>(std::malloc(kOutputChunk));
    // Rows the decoder does not bring stay white.
    b.picture = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(row) * s.height + 1, 1));
    if (b.in == nullptr || b.out == nullptr || b.picture == nullptr) result = kImgNoMemory;
    if (result == 0) result = decode_picture(in, s, &b);
    if (result == 0) {
        std::free(b.in);
        std::free(b.out);
        b.in = b.out = nullptr;
        b.pixels = static_cast<uint8_t*>(std::calloc(pixel_bytes + 1, 1));
        if (b.pixels == nullptr) result = kImgNoMemory;
    }
    if (result == 0) {
        for (uint32_t i = 0; i < s.height; ++i)
            std::memcpy(b.pixels + static_cast<size_t>(s.height - 1 - i) * stride,
                        b.picture + static_cast<size_t>(i) * row, static_cast<size_t>(row));
        std::free(b.picture);
        b.picture = nullptr;
        result = write_bitmap(bmp, s, b.pixels, pixel_bytes);
    }
    // Closing flushes the bitmap: a failure there is a lost write.
    if (std::fclose(bmp) != 0 && result == 0) result = kImgWriteBitmap;
    return result;
}

}  // namespace

int decord_img(const char* image_path, const char* bitmap_path, uint8_t* header) {
    if (image_path == nullptr) return kImgOpenImage;
    std::FILE* in = plat::fopen(image_path, "rb");
    if (in == nullptr) return kImgOpenImage;
    uint8_t st[kStoredHeaderSize];
    if (std::fread(st, 1, sizeof st, in) != sizeof st) {
        std::fclose(in);
        return kImgReadHeader;
    }
    uint8_t scratch[kHeaderSize] = {};
    Stored s = fill_header(st, header != nullptr ? header : scratch);
    int result = 0;
    if (bitmap_path != nullptr && bitmap_path[0] != 0) result = decode_to_bitmap(in, s, bitmap_path);
    std::fclose(in);
    return result;
}

}  // namespace pxall
