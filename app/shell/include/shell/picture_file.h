// The picture files the screens show (illustrations, local-parts pictures):
// read through the platform's regular-file check within a bound that fits a
// picture, and decoded. One-bit uncompressed bitmaps are read here; other
// pictures by Qt.
//
// Bitmap files read here (Windows DIB, little-endian):
//     0  2  "BM"                          10  4  offset of the pixels
//    14  4  info header size (>= 40)      18  4  width   22  4  height (< 0: top-down)
//    26  2  planes (1)                    28  2  bits a pixel (1 read here, others by Qt)
//    30  4  compression (0)               46  4  colours used (0: 2)
//    14 + info size: the colour table, 4 bytes a colour (blue, green, red, 0)
//    pixel offset: the rows, bottom-up unless the height is negative, each
//                  (width + 7) / 8 bytes (leftmost pixel in the high bit)
//                  padded to a multiple of 4
#pragma once

#include <cstdint>
#include <string>

#include <QImage>

namespace px {

// Error numbers of the picture operations, as the forms run time gives them.
constexpr int32_t kPicFileNotFound = 53;
constexpr int32_t kPicInvalid = 481;
constexpr int32_t kPicCannotOpen = 75;

// Reads a picture file (a Windows-shaped path) into `out` (RGB32). 0, or
// kPicFileNotFound (no such file, or the path names no drive),
// kPicCannotOpen (a folder, FIFO or device under the name, or a read error)
// or kPicInvalid (not a picture, a damaged one, or a file larger than any
// picture of ours). `out` is left empty on failure.
int32_t load_picture_file(const std::string& win_path, QImage* out);

}  // namespace px
