#include "shell/print_object.h"

#include <cmath>

#include "shell/errors.h"
#include "shell/printing.h"

namespace px {

namespace {

int scale(int value, int num, int den) {
    if (den <= 0) throw RuntimeError(kErrPrinterInfo, "Resolution");
    return static_cast<int>(std::lround(static_cast<double>(value) * num / den));
}

}  // namespace

PrinterObject::PrinterObject() : device_(Printer()) {}
PrinterObject::PrinterObject(PrintDevice& device) : device_(device) {}

void PrinterObject::set_landscape(bool on) { device_.set_landscape(on); }
bool PrinterObject::landscape() { return device_.landscape(); }

int PrinterObject::font_count() { return static_cast<int>(device_.fonts().size()); }

QString PrinterObject::font(int index) {
    std::vector<QString> fonts = device_.fonts();
    if (index < 0 || index >= static_cast<int>(fonts.size())) throw RuntimeError(kErrSubscriptOutOfRange, "Fonts");
    return fonts[static_cast<size_t>(index)];
}

void PrinterObject::set_font(const QString& name, int points, bool bold, bool italic, bool underline) {
    device_.set_font(name, points);
    device_.set_font_style(bold, italic, underline);
}

void PrinterObject::print(const QString& text, bool line_end) {
    start_pending_pages();
    device_.draw_text(to_px_x(x_), to_px_y(y_), text);
    if (line_end) {
        x_ = 0;
        y_ += text_height();
    } else {
        x_ += text_width(text);
    }
}

void PrinterObject::print_at(int x, int y, const QString& text) {
    move_to(x, y);
    print(text, false);
}

int PrinterObject::cell_x(int x, int cell) { return x + text_width(QString(cell, QLatin1Char(' '))); }

void PrinterObject::line(int x1, int y1, int x2, int y2) {
    start_pending_pages();
    device_.draw_line(to_px_x(x1), to_px_y(y1), to_px_x(x2), to_px_y(y2));
    x_ = x2;
    y_ = y2;
}

void PrinterObject::new_page() {
    ++pending_pages_;
    ++page_;
    x_ = 0;
    y_ = 0;
}

int PrinterObject::text_width(const QString& text) { return to_twips_x(device_.text_width(text)); }
int PrinterObject::text_height() { return to_twips_y(device_.line_height()); }

// A page break with nothing printed after it is dropped: a list of an exact
// multiple of its page rows ends on its last printed page.
void PrinterObject::start_pending_pages() {
    for (; pending_pages_ > 0; --pending_pages_) device_.new_page();
}

void PrinterObject::end_doc() {
    pending_pages_ = 0;
    page_ = 1;
    x_ = y_ = 0;
    device_.end_doc();
}

void PrinterObject::kill_doc() {
    pending_pages_ = 0;
    page_ = 1;
    x_ = y_ = 0;
    device_.kill_doc();
}

int PrinterObject::to_px_x(int twips) { return scale(twips, device_.dpi_x(), 1440); }
int PrinterObject::to_px_y(int twips) { return scale(twips, device_.dpi_y(), 1440); }
int PrinterObject::to_twips_x(int px) { return scale(px, 1440, device_.dpi_x()); }
int PrinterObject::to_twips_y(int px) { return scale(px, 1440, device_.dpi_y()); }

}  // namespace px
