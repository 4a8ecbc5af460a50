// The printer object the screens print lists through: positions in twips
// (1440 to the inch) from the page's origin, a current position that each
// printed text moves on, a page counter, fonts by name with size and style.
// It stands on the one print interface (printing.h): the system's default
// printer, PDF files in PXDROM_PRINT_DIR, or a recording printer in tests.
//
// As with the forms run time's printer: a job starts with its first output
// and ends with end_doc() (sent) or kill_doc() (thrown away); print() with a
// line end puts the position at the left edge of the next line, without one
// it moves it past the text; the page number is 1 on a job's first page and
// one more after each new_page(), which puts the position at the top left.
// A new page is started on the printer only when something is printed after
// new_page(): end_doc() right after it adds no blank page.
// Every failure of the printer throws RuntimeError (482, 483, 484).
#pragma once

#include <QString>

namespace px {

class PrintDevice;

class PrinterObject {
public:
    // The printer in use (Printer()), or a given one.
    PrinterObject();
    explicit PrinterObject(PrintDevice& device);

    PrintDevice& device() { return device_; }

    void set_landscape(bool on);
    bool landscape();

    // The printer's fonts, by index (FindPrinterFont gives an index).
    int font_count();
    QString font(int index);
    void set_font(const QString& name, int points, bool bold = false, bool italic = false, bool underline = false);

    int current_x() const { return x_; }
    int current_y() const { return y_; }
    void set_current_x(int twips) { x_ = twips; }
    void set_current_y(int twips) { y_ = twips; }
    void move_to(int x_twips, int y_twips) {
        x_ = x_twips;
        y_ = y_twips;
    }

    // Prints at the current position; see above for where it moves.
    void print(const QString& text, bool line_end = true);
    // Prints a text at (x, y), the position left after it. A table prints
    // each heading and each value at its column's own X, so that characters
    // wider or narrower than their cells (Japanese in a Latin face) never
    // move the columns after them.
    void print_at(int x, int y, const QString& text);
    // The X of cell `cell` of a fixed-pitch line that starts at x, in the
    // current font.
    int cell_x(int x, int cell);
    void line(int x1, int y1, int x2, int y2);
    void new_page();
    int page() const { return page_; }

    int text_width(const QString& text);
    int text_height();

    void end_doc();
    void kill_doc();

    // Twips to printer pixels and back, rounded to the nearest.
    int to_px_x(int twips);
    int to_px_y(int twips);
    int to_twips_x(int px);
    int to_twips_y(int px);

private:
    void start_pending_pages();

    PrintDevice& device_;
    int x_ = 0;
    int y_ = 0;
    int page_ = 1;
    int pending_pages_ = 0;
};

}  // namespace px
