// What the shell's tests stand on: a scratch installation in a temporary
// folder (drive table, environment file, the English texts), the program
// started in it, and the seams scripted: modal windows answered by the test,
// beeps counted, the printer recorded.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/form.h"
#include "shell/printing.h"

namespace pxtest {

// A temporary installation, the process's current directory while it lives.
// Drive C: is the folder; C:\PROG holds the message and help files, the
// folder itself the screen file; TMP is C:\, so the error log lands there.
class Installation {
public:
    explicit Installation(bool with_texts = true);
    ~Installation();
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    const std::string& root() const { return root_; }
    void write(const std::string& rel, const std::string& bytes) const;
    bool exists(const std::string& rel) const;
    void remove(const std::string& rel) const;
    // Lines of PXERROR.LOG without their date and time.
    std::vector<std::string> log_lines() const;
    // Names of the files in the work directory.
    std::vector<std::string> work_files() const;

private:
    std::string root_;
    std::string saved_cwd_;
    std::string saved_tmp_;
    bool had_tmp_ = false;
};

// Every call on the printer, as text: "landscape 1", "image 480,144 6000x4000",
// "font Courier New 10", "style 1 0 0" (bold, italic, underline), "text
// 480,3936:...", "box ...", "line 200,400-15000,400", "page", "end", "kill".
// With dpi 1440 a printer pixel is a twip, so the printer object's positions
// are recorded as the screens give them.
class RecordingPrinter : public px::PrintDevice {
public:
    int dpi = 600;
    int char_width = 40;   // printer pixels per character (a fixed-pitch face)
    int line_px = 100;     // printer pixels per line
    bool is_landscape = false;
    std::vector<QString> font_list = {"Arial", "Courier New", "Symbol"};
    QString current_font = "Arial";
    // Throws run-time error `fail_number` at the first call whose record starts with `fail_at`.
    std::string fail_at;
    int fail_number = 0;
    std::vector<std::string> calls;
    QImage last_image;

    int dpi_x() override;
    int dpi_y() override;
    bool landscape() override;
    void set_landscape(bool on) override;
    std::vector<QString> fonts() override;
    QString font_name() override;
    void set_font(const QString& name, int points) override;
    void draw_image(const QRect& rect, const QImage& image) override;
    void draw_box(const QRect& rect) override;
    int print_line(int x, int y, const QString& text) override;
    void end_doc() override;
    void kill_doc() override;
    void set_font_style(bool bold, bool italic, bool underline) override;
    int text_width(const QString& text) override;
    int line_height() override;
    void draw_text(int x, int y, const QString& text) override;
    void draw_line(int x1, int y1, int x2, int y2) override;
    void new_page() override;
    QSize page_size() override;  // A4 at `dpi`, landscape or portrait

    std::vector<std::string> texts() const;  // the printed lines only
    // The printed lines as a reader sees them: the texts of each run of
    // texts at one Y put together, each at its cell from `left` (printer
    // pixels, a cell `char_width` wide).
    std::vector<std::string> lines(int left) const;
    // The X of each text of each of those lines.
    std::vector<std::vector<int>> xs_by_line() const;

private:
    void record(const std::string& call);
};

// A plain screen for the tests, registered under the names "Scra" to "Scre",
// "Longname" and "Ab": a message line and the twelve keys. F3 goes back one
// screen and F4 to the menu (each unloading the screen), F5 calls an entry
// of a library that does not exist. Its events are recorded by name.
class TestScreen : public px::Form {
public:
    explicit TestScreen(const char* name);
    void on_load() override;
    void on_activate() override;
    void on_unload() override;
    bool on_key_down(int key_code) override;

    // "Scra load", "Scra activate", "Scra unload" ... in order.
    static std::vector<std::string>& events();
};

// Base of the tests that drive forms: seams scripted, forms unloaded after.
class FormsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // What to do when a modal window named `name` is up (by default it is
    // closed and recorded as unanswered).
    void on_modal(const std::string& name, std::function<void(px::Form&)> action);
    // Sends a key to a form's focused control (or the form).
    static void key(px::Form& form, int qt_key);
    // Runs pending events, deleting unloaded forms.
    static void settle();

    std::vector<std::string> modals;  // names of the modal windows shown, in order
    int beeps = 0;
    RecordingPrinter printer;

private:
    std::map<std::string, std::function<void(px::Form&)>> actions_;
};

// FormsTest with an installation and the program started in it.
class ProgramTest : public FormsTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts the program; false when it ended at once.
    bool start();

    std::unique_ptr<Installation> inst;
};

}  // namespace pxtest
