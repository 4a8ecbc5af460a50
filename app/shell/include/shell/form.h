// The forms kit: one top-level window per four-letter screen, on one base.
//
// A form is a single instance, loaded at its first touch (load_form): its
// widgets are built and its load handler runs. Each time it becomes the
// active window of the program its activate handler runs: when it is shown,
// and again when a modal window opened over it closes. Unloading runs the
// unload handler and destroys the instance; touching the form again loads it
// afresh.
//
// The form sees every key before its controls (key preview): F1 to F12 go to
// its key-down handler as key codes 112 to 123 and never reach a control;
// other keys reach the handler (as key codes, shell/keys.h) only from the
// focused control, then the character they typed reaches on_key_press, and
// the key goes on to the control unless a handler consumes it; a key whose
// key-down handler moved the focus has been handled and is consumed. Shift, Ctrl
// and Alt alone are no key for a screen. Tab and Shift+Tab move the focus
// along the tab order and reach neither the handlers nor a control.
// A key-up reaches a control only for a key whose press went to it, so the
// release of a key that moved the focus or closed a pop-up runs no rule of
// the control it lands on. Enter on a focused button presses it; Space on
// a multi-select list turns over the line with the focus and nothing else;
// Shift+Enter on a list does what a double-click on its line does
// (shell/list_lines.h).
//
// A control's focus handler (on_focus) runs when the focus moves to or from
// it on the screen, whatever moved it: the clerk, the screen, or the window
// coming back after a pop-up closed. A window losing or regaining the
// activation alone moves no focus. The buttons cmd_PF(1) to cmd_PF(12)
// stand in one row in fixed places, after the screen's own controls in the
// tab order; a click of cmd_PF(n) is the key F<n> unless the screen says
// otherwise. A focused button takes the system's
// button-shadow colour, the others the button face.
//
// Every handler runs through run(): a RuntimeError takes the common failure
// path of the screen (error-log line, message 999, system-error dialog).
// A form whose load handler failed so is never shown: showing it unloads it
// instead (its unload handler's own failures are not reported again), and
// the screen stack does not take it. Whatever fails, a handler that started
// with a window shown leaves one shown (the screen on top of the stack).
#pragma once

#include <array>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include <QPointer>
#include <QWidget>

#include "shell/errors.h"
#include "shell/keys.h"

class QEventLoop;
class QFont;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace px {

// Every form is designed for a display of 1024 x 768.
constexpr int kDesignWidth = 1024;
constexpr int kDesignHeight = 768;

// Where a form stands when it shows: centred on the display (CenterForm,
// once per load), or where it was put. A modal form stands over the window
// it was opened from, unless its load handler put it somewhere itself.
enum class Placement { Centred, Kept };

// The frame every screen shares, built by Form::make_frame: an optional
// title line and vehicle header at the top, the screen's own controls in the
// body, the key bar and the message line.
struct FrameSpec {
    // The size the screen is drawn at; the kit gives it what its layout
    // needs, and never more than the design display.
    QSize size;
    std::initializer_list<int> keys;
    enum class Bars { MessageThenKeys, KeysThenMessage, KeysOnTop };
    Bars bars = Bars::MessageThenKeys;
    bool message = true;
    bool vehicle_header = false;
    // Object name of a title label in the title font (nullptr: none).
    const char* title = nullptr;
    bool title_centred = true;
    Placement placement = Placement::Centred;
};

// The large bold serif font of screen titles.
QFont title_font();

class Form : public QWidget {
public:
    explicit Form(const char* name);
    ~Form() override;

    // The form's name ("Gyom"), as the screen stack and help know it.
    const std::string& name() const { return name_; }
    // The source name of its log lines: "PX" and the upper-cased name.
    std::string source_name() const;
    bool loaded() const { return loaded_; }
    // Whether its load handler failed (and the failure was reported).
    bool load_failed() const { return load_failed_; }

    // The message line, where the screen has one.
    QLabel* lbl_Msg = nullptr;
    // The title line of the frame, where the screen has one.
    QLabel* frame_title() const { return title_; }
    Placement placement() const { return placement_; }
    // Function-key button n (1-12), or nullptr where the screen has none.
    QPushButton* cmd_PF(int n) const { return n >= 1 && n <= 12 ? pf_[n] : nullptr; }

    // Runs a handler body; a run-time error takes the common failure path.
    // False when it did.
    bool run(const char* procedure, const std::function<void()>& body);

    // Handlers. on_key_down returns true when it consumes the key.
    virtual void on_load() {}
    virtual void on_activate() {}
    virtual void on_unload() {}
    virtual bool on_key_down(int key_code) { return false; }
    // The character a key typed (shell/keys.h), after the key-down handler
    // let the key pass; true drops it.
    virtual bool on_key_press(int key_ascii) { return false; }
    virtual void on_pf_click(int n) { on_key_down(key_f(n)); }
    // A control got (true) or lost the focus; buttons also reach
    // on_button_focus.
    virtual void on_focus(QWidget* control, bool got) {}
    virtual void on_button_focus(QPushButton* button, bool got) {}
    // The control that has the focus as the screen's rules see it.
    QWidget* focus_control() const { return focus_control_; }
    // Tab (forward) or Shift+Tab: the next control in the tab order.
    void move_focus(bool forward) { focusNextPrevChild(forward); }
    // The window system's close command; by default the form stays.
    virtual void on_close_request() {}

protected:
    // Builds the shared frame and returns the body, where the screen puts
    // its own controls (it takes the room the frame leaves).
    QVBoxLayout* make_frame(const FrameSpec& spec);
    void set_placement(Placement p) { placement_ = p; }

    // The row of function-key buttons with the given indexes.
    QWidget* make_key_bar(std::initializer_list<int> indexes);
    // A message line at the foot of the screen.
    QLabel* make_message_line();

    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The keys come after the screen's own controls in the tab order, so the
    // focus starts on the screen's first control, not on F1.
    void keys_last();

    friend Form& load_form(const std::string& name);
    friend void unload_form(Form& form);
    friend void show_modal(Form& form);
    friend void show_modeless(Form& form);
    friend void hand_keyboard_back(Form& gone);
    friend QLabel* message_line_for(QWidget* window);

    std::string name_;
    std::array<QPushButton*, 13> pf_{};
    bool loaded_ = false;
    // Placed since it was loaded (a centred form is centred once per load).
    bool placed_ = false;
    Placement placement_ = Placement::Kept;
    QLabel* title_ = nullptr;
    bool load_failed_ = false;
    QEventLoop* modal_loop_ = nullptr;
    // The active form when it was last shown.
    QPointer<Form> opener_;
    // Its load handler moved it: a modal display leaves it there.
    bool placed_by_load_ = false;
    QPointer<QWidget> focus_control_;
    friend class FormsKitFilter;
};

using FormFactory = std::function<Form*()>;

// Makes a screen known by its name (at static initialisation: PX_FORM).
bool register_form(const std::string& name, FormFactory factory);
// Whether a screen of that name is built into the program.
bool form_exists(const std::string& name);
// The names of the screens built into the program.
std::vector<std::string> form_names();
// The single instance, loaded when it is not. Throws for an unknown name.
Form& load_form(const std::string& name);
template <typename F>
F& load_form() {
    return static_cast<F&>(load_form(F::kName));
}
// The instance when loaded, else nullptr.
Form* loaded_form(const std::string& name);
// Loaded forms, in the order they were loaded.
std::vector<Form*> loaded_forms();
void unload_form(Form& form);

// Gives a form the size its layout needs: at least that, at most the
// design display, else the size the screen was drawn at.
void size_to_layout(Form& form);

// Shows a form without modality: it becomes the active window. When it goes
// (hidden or unloaded) while it is the active one, the window it was opened
// from becomes the active window again.
void show_modeless(Form& form);
// Shows a form modally (no owner window) and returns when it is hidden or
// unloaded; the form that was active before becomes active again. A dialog
// of the platform (file dialog, message box) that closes hands the keyboard
// back in the same way, to the window under it. Neither
// shows a form whose load failed: it is unloaded.
void show_modal(Form& form);
// The program's active form, or nullptr.
Form* active_form();
// The message line a window reports on: that of its form, or where the form
// has none, that of the form it was opened from (a set-up dialog reports on
// the set-up menu's line); nullptr when there is none.
QLabel* message_line_for(QWidget* window);

// Installs the key preview and the button colours; once per application.
void install_forms_kit();

// Paints a button in the button-shadow colour (focused) or the button face.
void paint_button(QPushButton* button, bool shadow);

// The screen's mouse pointer: hourglass, or back to the default.
void SetHourglass();
void SetDefaultPointer();

}  // namespace px

// Registers a form class (with a static kName) in its source file.
#define PX_FORM(Class) \
    static const bool px_form_registered_##Class = ::px::register_form(Class::kName, [] { return new Class; })
