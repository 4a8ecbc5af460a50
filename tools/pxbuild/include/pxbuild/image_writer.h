// Writing illustration images (layout in pxall/image_layout.h): one-bit
// pictures coded with libtiff's CCITT fax encoders, the stored image with its
// header and text-placement records, and IMAGEF.DAT as images one after the
// other, each from a block boundary.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pxbuild/bytes.h"

namespace pxbuild {

// A black-and-white picture: rows of (width + 7) / 8 bytes, bit 1 black,
// the leftmost pixel in the most significant bit, unused low bits zero.
class Picture {
public:
    Picture() = default;
    Picture(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    int row_bytes() const { return (width_ + 7) / 8; }
    const Bytes& bits() const { return bits_; }
    const uint8_t* row(int y) const { return bits_.data() + static_cast<size_t>(y) * row_bytes(); }
    // Pixels outside the picture are ignored (set) and white (get).
    bool get(int x, int y) const;
    void set(int x, int y, bool black = true);

private:
    int width_ = 0;
    int height_ = 0;
    Bytes bits_;
};

enum class FaxCoding {
    kGroup4,     // every line two-dimensional, ended by EOFB
    kGroup3TwoD  // end-of-line codes with tag bits, one line in 4 one-dimensional, ended by RTC
};

// The coded picture, as libtiff's encoder writes it (Group 3 with the
// end-of-page code that libtiff leaves out of its strip). Throws BuildError.
Bytes fax_code(const Picture& picture, FaxCoding coding);

// One text placement: a rectangle of picture pixels and its text.
struct ImageText {
    int left = 0, top = 0, right = 0, bottom = 0;
    char attribute = '0';  // '1' sub-illustration, '4' special, else a reference
    uint8_t value = 0;
    std::string text;      // at most 12 characters, blank-padded
};

struct StoredImage {
    uint32_t number = 0;  // 24 bits
    char kind = '3';
    std::string id;       // 7 characters, blank-padded
    int width = 0;
    int height = 0;
    char coding = '3';
    Bytes coded;
    std::vector<ImageText> texts;
};

// The image's bytes, zero-padded to whole 2048-byte blocks. Writes what it is
// given (a picture beyond the readers' limits too); throws BuildError for
// fields that do not fit their width.
Bytes stored_image(const StoredImage& image);

// IMAGEF.DAT, image after image.
class ImageFile {
public:
    // Appends an image and returns its locator: first block (6 digits) and
    // block count (3 digits).
    std::string add(const StoredImage& image);
    const Bytes& bytes() const { return data_; }

private:
    Bytes data_;
};

}  // namespace pxbuild
