// Illustration images (layout in image_layout.h): a page's image copied out of
// IMAGEF.DAT into a work file, its picture decoded into a one-bit bitmap
// file, its text placements read into a table, and a rectangle of a shown
// picture inverted to mark a pick.
//
// Nothing stays between calls; every call closes its files and frees its
// buffers on every path. These functions log nothing: the callers log the
// result under their own names.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/image_layout.h"

namespace pxall {

// Results of the image functions (besides those of the catalogue file layer
// that make_pack_image_file passes on: 4, 11, 12, 13, 14, 15, 128, -1).
constexpr int kImgNoMemory = 20;
constexpr int kImgOpenImage = 201;
constexpr int kImgOpenBitmap = 202;
constexpr int kImgReadHeader = 203;
constexpr int kImgReadData = 204;     // the coded picture or a text record
constexpr int kImgSeekText = 205;
constexpr int kImgCloseImage = 206;
constexpr int kImgWriteBitmap = 207;
constexpr int kImgDecode = 208;       // damaged or incomplete coded picture
constexpr int kImgTooLarge = 209;
constexpr int kImgCodingType = 210;

// Detail numbers of make_pack_image_file with result 128.
namespace imgd {
constexpr int kBadLocator = 90;      // the locator is not 9 digits
constexpr int kShortGroup = 94;      // fewer blocks than a group of 4 came
constexpr int kShortRemainder = 112; // fewer blocks than the remainder came
}  // namespace imgd

// Copies the image that `locator` (9 digits, image_layout.h) names out of
// IMAGEF.DAT of the current vehicle's data set into the work file (created
// or truncated), 4 blocks at a time. 0; the catalogue file layer's result
// with its detail (4 when the clerk gave up on the CD request); 128 with an
// imgd detail; 11 (work file not opened) or 13 (not written) with the
// system error number as detail.
PX_EXPORT int make_pack_image_file(const char* work_path, const char* locator, int* detail);

// Reads the stored header of an image work file into `header`
// (image_layout.h, 28 bytes; only the named fields are written). With a
// bitmap path (not null, not empty) it also decodes the picture and writes
// the bitmap file; without one it returns 0 whatever the picture is. A
// picture that ends before its rows are all there is white below; one that
// brings more rows than its height, or ends without its end code, is 208.
PX_EXPORT int decord_img(const char* image_path, const char* bitmap_path, uint8_t* header);

// Fills one 36-byte entry of `entries` per text-placement record, from byte
// 21 + coded_length of the image work file: image::text_entries(text_length)
// entries, but never more than `capacity` (the table's room in entries).
// 0; 201; 205; 204 for a record that cannot be read whole; 206 when closing
// fails.
PX_EXPORT int decord_text(const char* image_path, uint8_t* entries, int32_t text_length, int32_t coded_length,
                          int32_t capacity);

// Inverts a rectangle (left, top, right, bottom: the pixels left .. right - 1
// by top .. bottom - 1) of the picture on handle `picture` and copies that
// rectangle to the window on handle `window` at the same place, so that
// marking it twice removes the mark. 1 when the window's drawing was done
// (the window exists), 0 otherwise. Handles: platform/picture.h.
PX_EXPORT int reverse_image(int32_t picture, int32_t window, const int16_t* rect);

}  // namespace pxall
