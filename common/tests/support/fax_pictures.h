// Black-and-white test pictures for the fax decoder and its benchmark.
#pragma once

#include "support/tiff_codec.h"

namespace pxtest {

// Something like a sectional illustration: circular outlines, boxes (some
// hatched), callout lines ending in four-digit reference numbers. The amount
// of drawing grows with the area; the same seed gives the same picture.
Bitmap line_drawing(int width, int height, unsigned seed);

}  // namespace pxtest
