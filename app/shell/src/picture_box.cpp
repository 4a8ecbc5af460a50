#include "shell/picture_box.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>

#include "platform/picture.h"
#include "shell/messages.h"

namespace px {

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;
bool dark(QRgb c) { return qGray(c) < 128; }

}  // namespace

QImage reduce_half(const QImage& src) {
    const QImage in = src.format() == QImage::Format_RGB32 ? src : src.convertToFormat(QImage::Format_RGB32);
    const int w = in.width() / 2;
    const int h = in.height() / 2;
    QImage out(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(in.constScanLine(2 * y));
        const auto* b = reinterpret_cast<const QRgb*>(in.constScanLine(2 * y + 1));
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb p[4] = {a[2 * x], a[2 * x + 1], b[2 * x], b[2 * x + 1]};
            // The darkest channel values: black wins over white.
            QRgb m = p[0];
            for (int i = 1; i < 4; ++i)
                m = qRgb(std::min(qRed(m), qRed(p[i])), std::min(qGreen(m), qGreen(p[i])),
                         std::min(qBlue(m), qBlue(p[i])));
            o[x] = m;
        }
    }
    return out;
}

int mouse_button_value(Qt::MouseButtons buttons) {
    int v = 0;
    if (buttons & Qt::LeftButton) v |= 1;
    if (buttons & Qt::RightButton) v |= 2;
    if (buttons & Qt::MiddleButton) v |= 4;
    return v;
}

// The surface as the libraries see it.
class PictureBox::Surface : public plat::PictureSurface {
public:
    explicit Surface(PictureBox* box) : box_(box), handle_(plat::register_control(this)) {}
    ~Surface() override { plat::unregister_control(handle_); }
    int32_t handle() const { return handle_; }
    int32_t width() const override { return box_->image().width(); }
    int32_t height() const override { return box_->image().height(); }
    bool pixel(int32_t x, int32_t y) const override {
        const QImage& img = box_->image();
        if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return false;
        return dark(img.pixel(x, y));
    }
    void invert(const plat::PixelRect& r) override {
        plat::PixelRect c = plat::clip_rect(r, width(), height());
        if (c.right > c.left) box_->invert(QRect(c.left, c.top, c.right - c.left, c.bottom - c.top));
    }

private:
    PictureBox* box_;
    int32_t handle_;
};

// The window as the libraries see it: a rectangle of a surface copied in.
class PictureBox::Window : public plat::PictureWindow {
public:
    Window(PictureBox* box, const Surface* own) : box_(box), own_(own), handle_(plat::register_control(this)) {}
    ~Window() override { plat::unregister_control(handle_); }
    int32_t handle() const { return handle_; }
    void show(const plat::PictureSurface& from, const plat::PixelRect& r) override {
        const QImage& img = box_->image();
        plat::PixelRect c = plat::clip_rect(r, img.width(), img.height());
        if (c.right <= c.left) return;
        if (&from != own_) {
            // Another surface: its pixels, black or white, into ours.
            box_->fit_surface();
            for (int32_t y = c.top; y < c.bottom; ++y)
                for (int32_t x = c.left; x < c.right; ++x)
                    box_->surface_.setPixel(x, y, from.pixel(x, y) ? qRgb(0, 0, 0) : kWhite);
        }
        box_->update(QRect(c.left, c.top, c.right - c.left, c.bottom - c.top));
    }
    void set_focus() override { box_->setFocus(); }

private:
    PictureBox* box_;
    const Surface* own_;
    int32_t handle_;
};

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    surface_handle_ = std::make_unique<Surface>(this);
    window_handle_ = std::make_unique<Window>(this, surface_handle_.get());
}

PictureBox::~PictureBox() = default;

int32_t PictureBox::hdc() const { return surface_handle_->handle(); }
int32_t PictureBox::hwnd() const { return window_handle_->handle(); }

const QImage& PictureBox::image() const {
    fit_surface();
    return surface_;
}

void PictureBox::fit_surface() const {
    const QSize size = this->size();
    if (surface_.size() == size && !surface_.isNull()) return;
    if (size.isEmpty()) {
        surface_ = QImage();
        return;
    }
    QImage fresh(size, QImage::Format_RGB32);
    fresh.fill(kWhite);
    if (!surface_.isNull()) {
        QPainter p(&fresh);
        p.drawImage(0, 0, surface_);
    }
    surface_ = std::move(fresh);
}

int32_t PictureBox::load_picture(const std::string& win_path) {
    if (win_path.empty()) {
        clear_picture();
        return 0;
    }
    QImage picture;
    int32_t e = load_picture_file(win_path, &picture);
    if (e != 0) {
        clear_picture();
        return e;
    }
    set_picture(picture);
    return 0;
}

int32_t PictureBox::show_picture_file(const std::string& win_path, const char* source, const char* procedure) {
    const int32_t e = load_picture(win_path);
    if (e != 0) WriteErrorLog(source, procedure, "LoadPicture", e, 0, 0);
    return e;
}

void PictureBox::set_picture(const QImage& picture) {
    surface_ = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
    resize(surface_.size());
    update();
}

void PictureBox::clear_picture() {
    fit_surface();
    if (!surface_.isNull()) surface_.fill(kWhite);
    update();
}

void PictureBox::paint_picture(const QImage& from, const QRect& dest, const QRect& src) {
    fit_surface();
    if (surface_.isNull() || from.isNull() || dest.isEmpty() || src.isEmpty()) return;
    QPainter p(&surface_);
    if (dest.width() == src.width() / 2 && dest.height() == src.height() / 2) {
        p.drawImage(dest.topLeft(), reduce_half(from.copy(src)));
    } else {
        p.drawImage(dest, from, src);
    }
    p.end();
    update(dest);
}

void PictureBox::invert(const QRect& r) {
    fit_surface();
    const QRect c = r.normalized() & surface_.rect();
    if (c.isEmpty()) return;
    for (int y = c.top(); y <= c.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(surface_.scanLine(y));
        for (int x = c.left(); x <= c.right(); ++x) line[x] ^= 0x00FFFFFFu;
    }
    update(c);
}

void PictureBox::paintEvent(QPaintEvent* event) {
    fit_surface();
    QPainter p(this);
    const QRect r = event->rect();
    p.fillRect(r, Qt::white);
    if (!surface_.isNull()) p.drawImage(r.topLeft(), surface_, r);
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fit_surface();
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (!on_mouse_down) return QWidget::mousePressEvent(event);
    int shift = 0;
    if (event->modifiers() & Qt::ShiftModifier) shift |= 1;
    if (event->modifiers() & Qt::ControlModifier) shift |= 2;
    if (event->modifiers() & Qt::AltModifier) shift |= 4;
    const QPointF at = event->position();
    on_mouse_down(mouse_button_value(event->buttons() | event->button()), shift, static_cast<float>(at.x()),
                  static_cast<float>(at.y()));
}

}  // namespace px
