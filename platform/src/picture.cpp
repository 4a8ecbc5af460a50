#include "platform/picture.h"

#include <algorithm>
#include <utility>

namespace plat {

PixelRect clip_rect(const PixelRect& r, int32_t w, int32_t h) {
    PixelRect c = r;
    if (c.left > c.right) std::swap(c.left, c.right);
    if (c.top > c.bottom) std::swap(c.top, c.bottom);
    c.left = std::clamp(c.left, 0, std::max(w, 0));
    c.right = std::clamp(c.right, 0, std::max(w, 0));
    c.top = std::clamp(c.top, 0, std::max(h, 0));
    c.bottom = std::clamp(c.bottom, 0, std::max(h, 0));
    if (c.left == c.right || c.top == c.bottom) return PixelRect{};
    return c;
}

bool invert_picture(int32_t picture, const PixelRect& r) {
    auto* p = dynamic_cast<PictureSurface*>(control(picture));
    if (p == nullptr) return false;
    p->invert(r);
    return true;
}

int32_t show_picture(int32_t window, int32_t picture, const PixelRect& r) {
    auto* w = dynamic_cast<PictureWindow*>(control(window));
    if (w == nullptr) return 0;
    if (const auto* p = dynamic_cast<const PictureSurface*>(control(picture))) w->show(*p, r);
    return 1;
}

MemoryPicture::MemoryPicture(int32_t width, int32_t height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0) {}

bool MemoryPicture::pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
    return pixels_[static_cast<size_t>(y) * width_ + x] != 0;
}

void MemoryPicture::set_pixel(int32_t x, int32_t y, bool black) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<size_t>(y) * width_ + x] = black ? 1 : 0;
}

void MemoryPicture::invert(const PixelRect& r) {
    inverted_.push_back(r);
    PixelRect c = clip_rect(r, width_, height_);
    for (int32_t y = c.top; y < c.bottom; ++y)
        for (int32_t x = c.left; x < c.right; ++x) pixels_[static_cast<size_t>(y) * width_ + x] ^= 1;
}

MemoryPictureWindow::MemoryPictureWindow(int32_t width, int32_t height) : shown_pixels_(width, height) {}

void MemoryPictureWindow::show(const PictureSurface& from, const PixelRect& r) {
    shown_.push_back(r);
    PixelRect c = clip_rect(r, shown_pixels_.width(), shown_pixels_.height());
    for (int32_t y = c.top; y < c.bottom; ++y)
        for (int32_t x = c.left; x < c.right; ++x) shown_pixels_.set_pixel(x, y, from.pixel(x, y));
}

}  // namespace plat
