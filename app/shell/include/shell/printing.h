// Printing: the screen hard copy (F6 of every screen), the printing of an
// image file with a title and a frame, and the one print interface both use.
//
// The printer is the system's default printer; where the process environment
// names a folder in PXDROM_PRINT_DIR, each job is written there as a PDF file
// instead. "Courier New" is served by Liberation Mono and "ＭＳ 明朝" by a
// Japanese font of the system, under those names in the printer's font list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

class QLabel;

namespace px {

class Form;

// The printer object: settings stay between jobs, a job starts with its
// first drawing and ends with end_doc (or kill_doc). Coordinates are printer
// pixels from the page's origin. Failures throw RuntimeError 482 (printer
// error), 483 (setting not supported) or 484 (no printer).
class PrintDevice {
public:
    virtual ~PrintDevice() = default;
    virtual int dpi_x() = 0;
    virtual int dpi_y() = 0;
    virtual bool landscape() = 0;
    virtual void set_landscape(bool on) = 0;
    virtual std::vector<QString> fonts() = 0;
    virtual QString font_name() = 0;
    virtual void set_font(const QString& name, int points) = 0;
    virtual void draw_image(const QRect& rect, const QImage& image) = 0;
    virtual void draw_box(const QRect& rect) = 0;
    // Prints one line with its top at y; the top of the next line.
    virtual int print_line(int x, int y, const QString& text) = 0;
    virtual void end_doc() = 0;
    virtual void kill_doc() = 0;

    // What the printer object of the screens needs beside (print_object.h).
    virtual void set_font_style(bool bold, bool italic, bool underline) = 0;
    // Width of a text and height of a line in the current font.
    virtual int text_width(const QString& text) = 0;
    virtual int line_height() = 0;
    // A text with its top at y, the position left as it is.
    virtual void draw_text(int x, int y, const QString& text) = 0;
    virtual void draw_line(int x1, int y1, int x2, int y2) = 0;
    virtual void new_page() = 0;
    // The page's size in printer pixels, in the orientation set.
    virtual QSize page_size() = 0;
};

// The printer in use (seams().printer), by default the Qt one below.
PrintDevice& Printer();
std::unique_ptr<PrintDevice> make_qt_printer();

// Index of a font in the printer's font list (trailing blanks ignored, case
// counts), or -1.
int16_t FindPrinterFont(const QString& name);

// A picture of the form: its client area under a caption strip that carries
// the window title.
QImage CaptureFormPicture(Form& form);

// Prints a picture of the form and the information block on one landscape
// page; progress and failures go to `msg`. A picture too large for the room
// above the information block and within the side margins is scaled down
// whole, keeping its proportions.
void HardCopy(Form& form, QLabel* msg);

// Prints an image file (Windows-shaped path) on one landscape page with the
// title above it and a frame around it. mode 1 or 2: half size, the title in
// three lines of 74 characters; 3: full size, one line; other: half size, no
// title. code_page 932 prints in "ＭＳ 明朝". 0, 2000 for a printer failure,
// else the run-time error number (logged).
int32_t PrintImage(int16_t mode, const std::string& path, const QString& title, int16_t code_page);

// Printer twips per pixel as the forms run time gives them: rounded half to even.
int printer_twips_per_pixel(int dpi);

}  // namespace px
