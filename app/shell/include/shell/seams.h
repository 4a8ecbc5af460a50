// What the tests script or record in place of the real thing: beeps, what
// happens inside a modal display, the printer, the file dialog, the display's
// metrics and the flashing of a window. Each defaults to the real one. (The
// clock is the platform's: plat::fix_clock.)
#pragma once

#include <cstdint>
#include <functional>

#include <QString>

class QWidget;

namespace px {

class Form;
class PrintDevice;

struct DisplayMetrics {
    int width_px = 0;
    int height_px = 0;
    double twips_per_px_x = 15;
    double twips_per_px_y = 15;
};

struct FileChoice {
    bool save = false;      // a save dialog (asks before overwriting) or an open dialog (file must exist)
    QString title;
    QString filter;         // "Text File(*.txt)|*.txt|CSV File(*.csv)|*.csv"
    QString initial_dir;
    int filter_index = 1;   // the filter entry selected (from 1): in, and out as the clerk left it
    // A file to save whose name ends in none of the filter's extensions gets
    // the extension of the entry selected (where the screen asks for it).
    bool add_extension = false;
};

struct Seams {
    std::function<void()> beep;
    // Runs inside each modal display once the form is up (tests answer it).
    std::function<void(Form&)> modal_shown;
    std::function<PrintDevice&()> printer;
    std::function<DisplayMetrics()> display;
    // The window system's FlashWindow: the invert flag in, the new state out.
    std::function<int32_t(QWidget*, int32_t)> flash_window;
    // The chosen file's path, or empty when cancelled; the filter entry the
    // clerk left selected goes back into the choice.
    std::function<QString(QWidget*, FileChoice&)> choose_file;
};

// A file chosen outside the drives (its second line names them).
constexpr int16_t kMsgOutsideDrives = 950;

Seams& seams();
// Puts the real ones back.
void reset_seams();

void Beep();
DisplayMetrics display_metrics();
// The common file dialog; the current directory is kept across it. With
// add_extension, the file is of the type chosen and the open dialog of that
// type lists it. A file outside every drive's folder is not taken (empty as
// for a cancel): the system names files by drive. The message line of the
// window that asked (message_line_for) then says so and names the drives,
// with a beep.
QString ChooseFile(QWidget* parent, FileChoice& choice);

}  // namespace px
