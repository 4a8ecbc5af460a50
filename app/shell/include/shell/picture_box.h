// A picture box with a persistent drawing surface: the box owns an image of
// its own size, paints it 1:1 (one image pixel to one pixel of the screen's
// logical coordinates) and keeps what is painted or inverted on it across
// repaints. The libraries mark picked areas through two platform handles
// (platform/picture.h): the surface (what a memory device context is to them)
// and the window; an inversion through them shows at once.
//
// Loading a picture file sizes the box to the picture. A one-bit line drawing
// shown at half size is reduced two by two with "any black pixel makes the
// pixel black", so that lines one pixel wide stay visible.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <QImage>
#include <QRect>
#include <QWidget>

#include "shell/picture_file.h"

namespace px {

// The picture reduced to half its size (w / 2 x h / 2, an odd last column or
// row dropped): each pixel takes the darkest of the 2 x 2 pixels it stands
// for, so that a black pixel anywhere among them makes it black.
QImage reduce_half(const QImage& src);

// The mouse button value of the forms run time: 1 left, 2 right, 4 middle,
// added for every button held.
int mouse_button_value(Qt::MouseButtons buttons);

class PictureBox : public QWidget {
public:
    explicit PictureBox(QWidget* parent = nullptr);
    ~PictureBox() override;
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    // The handles the libraries are given: the drawing surface and the window.
    int32_t hdc() const;
    int32_t hwnd() const;

    // The persistent surface, always the box's own size.
    const QImage& image() const;

    // Loads a picture file: the surface becomes the picture and the box takes
    // its size. An empty path empties the box (white, size kept). 0 or the
    // error number (the box is left empty).
    int32_t load_picture(const std::string& win_path);
    // Loads a picture file that a screen shows the clerk as it stands: one
    // that cannot be read (damaged, not a picture, a folder or a device under
    // its name) leaves the box empty and writes one error-log line (the
    // screen's source and procedure, step "LoadPicture", the error number),
    // and the screen tells the clerk. 0 or the error number.
    int32_t show_picture_file(const std::string& win_path, const char* source, const char* procedure);
    // Takes a picture into the box, which takes its size.
    void set_picture(const QImage& picture);
    // Empties the picture: the surface is white.
    void clear_picture();
    // Draws the source rectangle of a picture into the destination rectangle
    // of the surface. A destination of half the source's size is reduced two
    // by two (reduce_half); any other size is scaled.
    void paint_picture(const QImage& from, const QRect& dest, const QRect& src);
    // Inverts the pixels of a rectangle (edges of `r` as QRect gives them) and
    // repaints it.
    void invert(const QRect& r);

    // A mouse button went down: the button value (mouse_button_value), the
    // modifier keys as the run time gives them (1 Shift, 2 Ctrl, 4 Alt) and
    // the position in surface pixels.
    std::function<void(int button, int shift, float x, float y)> on_mouse_down;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    class Surface;
    class Window;
    // Brings the surface to the box's size: what it holds stays at the
    // top-left, new room is white.
    void fit_surface() const;

    mutable QImage surface_;
    std::unique_ptr<Surface> surface_handle_;
    std::unique_ptr<Window> window_handle_;
};

}  // namespace px
