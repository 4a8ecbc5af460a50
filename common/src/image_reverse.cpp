// Marking a picked area of a shown picture.
#include "platform/picture.h"
#include "pxall/image.h"

namespace pxall {

int reverse_image(int32_t picture, int32_t window, const int16_t* rect) {
    if (rect == nullptr) return 0;
    plat::PixelRect r{rect[0], rect[1], rect[2], rect[3]};
    plat::invert_picture(picture, r);
    return plat::show_picture(window, picture, r);
}

}  // namespace pxall
