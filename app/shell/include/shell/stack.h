// The screen stack: the open screens, the main menu at the bottom and the
// screen the clerk sees on top, with a name slot (4 characters) for each of
// at most 30 positions. The stack holds references only; loading, hiding and
// unloading are the screens' own business. It also remembers the owner of a
// small modal window opened through ShowModalOwned.
#pragma once

#include <string>

namespace px {

class Form;

constexpr int kScrMax = 30;
constexpr const char* kMenuName = "Gyom";

// The main menu becomes entry 1.
void ScrInit();
// Releases the stack; the forms stay as they are.
void ScrTerm();
// Adds a form on top and shows it. A 31st entry is refused with run-time
// error 9 and leaves the stack as it was. A form whose load failed is not
// added: it is unloaded and the menu shows.
void ScrPush(Form& form);
// Removes the top entry (never the menu) and shows the new top.
void ScrBack();
// Removes every entry above the menu and shows the menu.
void ScrBackToMenu();
// Removes entries from the top until the screen of that name is on top (the
// menu is never compared) and shows it; with no such screen the menu shows.
void ScrBackTo(const std::string& name);

// Shows the screen on top again when the program is left without a window
// (the forms kit calls it after a handler that hid the last one: a screen
// that failed as it first showed has sent the clerk back before its caller
// hid itself). When the top screen is no longer loaded, the menu shows.
void ScrShowLost();

// Shows a form modally with `owner` remembered for the time of the display.
void ShowModalOwned(Form& form, Form* owner);
// The remembered owner, or nullptr outside such a display.
Form* GetModalOwner();

// The number of entries, and name slot k (1-30).
int ScrCount();
std::string ScrName(int k);

}  // namespace px
