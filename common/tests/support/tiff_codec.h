// libtiff's CCITT fax codecs on in-memory TIFF files, as an independent
// encoder and a reference decoder for the illustration pictures.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace pxtest {

// A black-and-white picture: rows of (width + 7) / 8 bytes, bit 1 black,
// leftmost pixel in the most significant bit, unused low bits zero.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bits;

    Bitmap() = default;
    Bitmap(int w, int h) : width(w), height(h), bits(static_cast<size_t>(row_bytes()) * h) {}
    int row_bytes() const { return (width + 7) / 8; }
    uint8_t* row(int y) { return bits.data() + static_cast<size_t>(y) * row_bytes(); }
    bool get(int x, int y) const { return (bits[static_cast<size_t>(y) * row_bytes() + x / 8] >> (7 - x % 8)) & 1; }
    void set(int x, int y, bool black = true);
    // Sets pixels [x0, x1) of row y, clipped to the picture.
    void fill(int x0, int x1, int y, bool black = true);
    // Clears the unused bits at the end of every row.
    void clear_padding();
};

enum class FaxCoding {
    kGroup4,     // every line two-dimensional, ended by EOFB
    kGroup3TwoD  // end-of-line codes with tag bits, a one-dimensional line every K lines, RTC at the end
};

// Codes a picture with libtiff's encoder and returns the coded bytes of its
// single strip. k_factor (Group 3 only) is 2 or 4: one line in k is
// one-dimensional. libtiff leaves the Group 3 end-of-page code (RTC) out of
// the strip, so it is appended here.
std::vector<uint8_t> fax_encode(const Bitmap& picture, FaxCoding coding, int k_factor = 4);

// Decodes coded bytes with libtiff's decoder, one scan line at a time; false
// when libtiff reports an error.
bool fax_decode_reference(const std::vector<uint8_t>& coded, int width, int height, FaxCoding coding,
                          Bitmap* out);

// Keeps one coded picture open inside libtiff so that it can be decoded
// again and again (for timing).
class ReferenceDecoder {
public:
    ReferenceDecoder(const std::vector<uint8_t>& coded, int width, int height, FaxCoding coding);
    ~ReferenceDecoder();
    ReferenceDecoder(const ReferenceDecoder&) = delete;
    ReferenceDecoder& operator=(const ReferenceDecoder&) = delete;

    bool ok() const { return tiff_ != nullptr; }
    // Decodes the whole picture into `out` ((width + 7) / 8 * height bytes):
    // the strip at once, or one scan line at a time.
    bool decode(uint8_t* out);
    bool decode_by_lines(uint8_t* out);

private:
    struct MemFile;
    std::unique_ptr<MemFile> file_;
    void* tiff_ = nullptr;
    int height_ = 0;
    int row_bytes_ = 0;
};

}  // namespace pxtest
