// Illustration images: the stored layout in IMAGEF.DAT, shared by the image
// functions (image.h) and the data-set builder (tools/), and the layouts the
// image functions hand out.
//
// Image locator (9 ASCII digits, from a page's index record): the first
// 2048-byte block of the image in IMAGEF.DAT (6 digits), then the number of
// blocks it occupies (3 digits).
//
// Stored image (numbers big-endian), from the image's first block:
//     0  3  a number                      3  1  kind byte ('3' and others)
//     4  7  illustration identifier      11  2  width in pixels
//    13  2  height in pixels             15  1  coding type: '3' is decoded
//    16  3  L: coded picture length      19  2  T: text-placement length
//    21  L  the coded picture (two-dimensional fax coding, faxdecode.h)
//  21+L  T  text-placement records, 22 bytes each; T is a multiple of 22
//  rest     zero up to the end of the image's last block
//
// Text-placement record (22 bytes, big-endian):
//     0  2  left    2  2  top    4  2  right    6  2  bottom (picture pixels)
//     8  1  attribute: '1' a sub-illustration whose figure number is the
//           first 4 characters of the text, '4' a special reference, else a
//           reference number
//     9  1  a one-byte value
//    10 12  the text (reference code), blank-padded
//
// Image header as decord_img hands it out (28 bytes, little-endian):
//     0  4  the number (stored bytes 0-2)
//     4  2  width (signed)                6  2  height (signed)
//     8  7  illustration identifier      15  1  zero (ends the identifier)
//    16  1  kind byte                    17  1  coding type
//    20  4  L: coded picture length      24  4  T: text-placement length
// Bytes 18-19 are not written.
//
// Text entry as decord_text makes it of a record (36 bytes, little-endian):
//     0  2  left    2  2  top    4  2  right    6  2  bottom
//     8  2  the one-byte value, zero-extended
//    10 12  the text                     22  1  attribute
// Bytes 23-35 are not written; callers zero the table (a zero attribute
// after the last entry is an end mark for some).
//
// Bitmap file (little-endian, bottom-up, one bit a pixel, bit 1 black):
//     0  2  "BM"                          2  4  file size: 62 + pixel bytes
//     6  4  0                            10  4  62, offset of the pixels
//    14  4  40, info header size         18  4  width
//    22  4  height (positive)            26  2  1 plane
//    28  2  1 bit a pixel                30  4  0, no compression
//    34 12  0                            46  4  2 colours used
//    50  4  2 important colours          54  4  colour 0: white (FF FF FF 00)
//    58  4  colour 1: black (00 00 00 00)
//    62     the rows, the picture's last row first: (width + 7) / 8 bytes
//           (the leftmost pixel in the high bit), zero-padded to a multiple
//           of 4 (the stride)
#pragma once

#include <cstddef>
#include <cstdint>

namespace pxall::image {

constexpr int32_t kBlockSize = 2048;
constexpr int kLocatorBlockDigits = 6;
constexpr int kLocatorCountDigits = 3;
constexpr int kLocatorSize = kLocatorBlockDigits + kLocatorCountDigits;

// Stored image header.
constexpr size_t kStoredHeaderSize = 21;
constexpr size_t kStNumber = 0;       // 3
constexpr size_t kStKind = 3;         // 1
constexpr size_t kStId = 4;           // 7
constexpr size_t kIdSize = 7;
constexpr size_t kStWidth = 11;       // 2
constexpr size_t kStHeight = 13;      // 2
constexpr size_t kStCoding = 15;      // 1
constexpr size_t kStCodedLength = 16; // 3
constexpr size_t kStTextLength = 19;  // 2
constexpr uint8_t kCodingFax2D = '3';  // the only coding type decoded

// Limits of a decoded picture.
constexpr int kMaxWidth = 1616;
constexpr int kMaxHeight = 1158;

// Text-placement record.
constexpr size_t kTextRecordSize = 22;
constexpr size_t kTrLeft = 0, kTrTop = 2, kTrRight = 4, kTrBottom = 6;
constexpr size_t kTrAttribute = 8;
constexpr size_t kTrValue = 9;
constexpr size_t kTrText = 10;
constexpr size_t kTextSize = 12;
constexpr uint8_t kAttrSubIllustration = '1';
constexpr uint8_t kAttrSpecial = '4';

// Image header handed out.
constexpr size_t kHeaderSize = 28;
constexpr size_t kHdNumber = 0;       // 4
constexpr size_t kHdWidth = 4;        // 2
constexpr size_t kHdHeight = 6;       // 2
constexpr size_t kHdId = 8;           // 7, then a zero at 15
constexpr size_t kHdKind = 16;        // 1
constexpr size_t kHdCoding = 17;      // 1
constexpr size_t kHdCodedLength = 20; // 4
constexpr size_t kHdTextLength = 24;  // 4

// Text entry.
constexpr size_t kTextEntrySize = 36;
constexpr size_t kTeLeft = 0, kTeTop = 2, kTeRight = 4, kTeBottom = 6;
constexpr size_t kTeValue = 8;        // 2
constexpr size_t kTeText = 10;        // 12
constexpr size_t kTeAttribute = 22;   // 1

// Bitmap file.
constexpr size_t kBmpFileHeaderSize = 14;
constexpr size_t kBmpInfoSize = 48;  // info header and the two colours
constexpr size_t kBmpPixelOffset = kBmpFileHeaderSize + kBmpInfoSize;  // 62

// Bytes of a picture row and of a bitmap row.
constexpr int32_t row_bytes(int32_t width) { return (width + 7) / 8; }
constexpr int32_t bitmap_stride(int32_t width) { return (row_bytes(width) + 3) / 4 * 4; }

// Text entries that decord_text fills for a text-placement length: one per
// 22 bytes begun (a length that is not a multiple of 22 reads the partial
// record's 22 bytes from the file all the same). Tables sized by this never
// overflow.
constexpr int32_t text_entries(int32_t text_length) {
    return text_length > 0 ? (text_length + static_cast<int32_t>(kTextRecordSize) - 1) /
                                 static_cast<int32_t>(kTextRecordSize)
                           : 0;
}

}  // namespace pxall::image
