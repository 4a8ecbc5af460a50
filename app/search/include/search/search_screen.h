// The base of the search-route screens: what every one of them does the same
// way.
//
// - Function keys: F1 to F12 act only where the screen has a button for the
//   key, shown and enabled; a click of cmd_PF(n) and the key Fn run the same
//   action (on_function_key). A key whose button is hidden or missing does
//   nothing, so that hiding a button takes its action away with it.
// - Key captions come from the screen file at a fixed width: 8 for F1 to F8
//   (texts 200-207), 9 for F9 to F12 (208-211).
// - Messages go to the message line lbl_Msg; a long step shows the
//   hourglass (Hourglass) and the default pointer comes back on every way
//   out of it.
// - Leaving: a screen that opens the next one pushes it and unloads itself
//   (open_next); F3 goes back one screen, F4 to the main menu (each
//   unloading the screen); a failed library call shows message 999, the
//   system-error dialog and then goes to the main menu (system_error).
// - A screen whose load can fail keeps a load status that its activation
//   acts on (kLoadReady, kLoadFailed).
// - Lists of fixed-width lines are shown in a fixed-pitch font; in a list of
//   simple multiple selection Enter turns the current line's mark over.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

#include <QFont>
#include <QString>

#include "pxall/vbstring.h"
#include "shell/form.h"

class QLabel;
class QListWidget;

namespace px::search {

constexpr int16_t kMsgSystemError = 999;

class SearchScreen : public Form {
public:
    explicit SearchScreen(const char* name);

    // The load status: ready, or failed with message 999 already shown.
    static constexpr int16_t kLoadReady = 0;
    static constexpr int16_t kLoadFailed = 2;
    // A failed load being reported: the dialog's closing activates the
    // screen again, which then does nothing more.
    static constexpr int16_t kLoadLeaving = 3;

    bool on_key_down(int key_code) final;
    void on_pf_click(int n) final;

    // Whether the key Fn acts on this screen now.
    bool key_serves(int n) const;

protected:
    // The action of the key Fn (only for keys the screen serves).
    virtual void on_function_key(int n) = 0;
    // Keys other than F1-F12 from the focused control, as the forms kit
    // passes them; true consumes the key.
    virtual bool on_other_key(int key_code) { return false; }

    // Captions of the key buttons from the screen file, at the keys' widths.
    void set_key_captions(std::initializer_list<std::pair<int, int32_t>> key_texts);
    // The message on the message line.
    void msg(int16_t no);

    // F3: back one screen; F4: back to the main menu; both unload this one.
    void go_back();
    void go_menu();
    // 999, the system-error dialog over this screen, then the main menu.
    void system_error();
    // Opens the next screen by its name and unloads this one. A screen that
    // is not built into the program is not opened: false, and this screen
    // stays as it is.
    bool open_next(const char* name);

    // A list of fixed-width lines in the fixed-pitch font, with simple
    // multiple selection (a click marks or unmarks a line) or single selection.
    QListWidget* make_line_list(const char* object_name, bool multiple);
    // Enter on a list: the current line's mark turned over; nothing without
    // a current line.
    static void toggle_current_line(QListWidget* list);
    // A label with a name, for the screens' captions.
    QLabel* make_label(const char* object_name);

    int16_t load_status_ = kLoadReady;
};

// The mouse pointer as an hourglass while it lives.
class Hourglass {
public:
    Hourglass() { SetHourglass(); }
    ~Hourglass() { SetDefaultPointer(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
};

// The screen text as a fixed-length string of `width` characters shows it,
// and the same without leading and trailing blanks (window captions).
QString ScreenText(int32_t no, int width);
QString TitleText(int32_t no, int width);
// The screen's fixed-pitch font.
QFont LineFont(bool bold = false);
// The width of `chars` characters of that font, in pixels.
int LineWidth(int chars, bool bold = false);
// A caption for a button, check box or frame: an "&" of the text shown as
// itself, not as a mnemonic.
QString Caption(const QString& text);

// A field of the current vehicle through its accessor (_VBGetCat@4 ...), at
// its fixed width, a NUL shown as a blank.
template <typename Accessor>
std::string VehicleField(Accessor& accessor, int width) {
    std::string s(static_cast<size_t>(width), ' ');
    VbString v{s.data(), width};
    accessor(&v);
    for (char& c : s)
        if (c == '\0') c = ' ';
    return s;
}

}  // namespace px::search
