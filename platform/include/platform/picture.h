// Pictures on integer handles: the page bitmap that a library marks (what a
// memory device context holds) and the picture box that shows it. Both are
// controls (controls.h), registered with register_control; the program wraps
// its image and its picture widget, tests and headless runs use the models
// below.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/controls.h"
#include "platform/export.h"

namespace plat {

// Picture pixels: columns left .. right - 1, rows top .. bottom - 1 (the
// extent of a bit-block transfer is right - left by bottom - top). A
// rectangle given the wrong way round is taken with its edges swapped.
struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The rectangle with its edges in order, cut to a picture of w x h (empty
// when nothing of it lies inside).
PX_EXPORT PixelRect clip_rect(const PixelRect& r, int32_t w, int32_t h);

class PX_EXPORT PictureSurface : public Control {
public:
    virtual int32_t width() const = 0;
    virtual int32_t height() const = 0;
    // True for a black (set) pixel; false outside the picture.
    virtual bool pixel(int32_t x, int32_t y) const = 0;
    // Inverts every pixel of the rectangle inside the picture.
    virtual void invert(const PixelRect& r) = 0;
};

class PX_EXPORT PictureWindow : public Control {
public:
    // Draws the rectangle of `from` at the same place in the window.
    virtual void show(const PictureSurface& from, const PixelRect& r) = 0;
};

// Inverts a rectangle of the picture of a handle: false when the handle is
// no picture.
PX_EXPORT bool invert_picture(int32_t picture, const PixelRect& r);
// Copies a rectangle of a picture into a window at the same coordinates. As
// releasing a window's drawing context does: 1 when the handle is a window
// (nothing is copied from a handle that is no picture), 0 when it is none.
PX_EXPORT int32_t show_picture(int32_t window, int32_t picture, const PixelRect& r);

// A picture in memory, every pixel white at first.
class PX_EXPORT MemoryPicture : public PictureSurface {
public:
    MemoryPicture(int32_t width, int32_t height);
    int32_t width() const override { return width_; }
    int32_t height() const override { return height_; }
    bool pixel(int32_t x, int32_t y) const override;
    void invert(const PixelRect& r) override;
    void set_pixel(int32_t x, int32_t y, bool black);
    // Every rectangle inverted, in order, as given.
    const std::vector<PixelRect>& inverted() const { return inverted_; }

private:
    int32_t width_;
    int32_t height_;
    std::vector<uint8_t> pixels_;
    std::vector<PixelRect> inverted_;
};

// A window in memory: what was copied into it, pixel by pixel.
class PX_EXPORT MemoryPictureWindow : public PictureWindow {
public:
    MemoryPictureWindow(int32_t width, int32_t height);
    void show(const PictureSurface& from, const PixelRect& r) override;
    bool pixel(int32_t x, int32_t y) const { return shown_pixels_.pixel(x, y); }
    // Every rectangle copied in, in order, as given.
    const std::vector<PixelRect>& shown() const { return shown_; }

private:
    MemoryPicture shown_pixels_;
    std::vector<PixelRect> shown_;
};

}  // namespace plat
