// Illustration image files for tests: a stored image made of a test picture
// (through the data-set builder), and a bitmap file read back with every
// header field checked against the one-bit bitmap layout.
#pragma once

#include <string>

#include "pxbuild/image_writer.h"
#include "support/tiff_codec.h"

namespace pxtest {

// A stored image of `picture`, coded by libtiff, type '3', without text
// placements.
pxbuild::StoredImage stored_picture(const Bitmap& picture, FaxCoding coding = FaxCoding::kGroup4);

struct BmpFile {
    std::string error;  // empty when the file is a sound one-bit bitmap
    Bitmap picture;     // top row first
};

// Reads a bitmap file (host path) as decord_img writes it.
BmpFile read_bmp(const std::string& host_path);

}  // namespace pxtest
