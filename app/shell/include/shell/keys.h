// Keys as the forms run time hands them to a screen.
//
// A key press is two things to a screen: a key-down with the key's code
// (F1-F12 112-123, the arrows 37-40, letters 65-90 whatever the case, Shift
// 16 ...) and, where the key types one, a character with its character code
// ("%" 37, "y" 121). The two are never derived from each other: "%" typed is
// no Left arrow, F10 is no "y". A key-up carries the key's code again.
#pragma once

class QKeyEvent;

namespace px {

// Key codes of the forms run time.
constexpr int kKeyBack = 8;
constexpr int kKeyTab = 9;
constexpr int kKeyEnter = 13;
constexpr int kKeyShift = 16;
constexpr int kKeyControl = 17;
constexpr int kKeyAlt = 18;
constexpr int kKeyEscape = 27;
constexpr int kKeySpace = 32;
constexpr int kKeyPageUp = 33;
constexpr int kKeyPageDown = 34;
constexpr int kKeyEnd = 35;
constexpr int kKeyHome = 36;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
constexpr int kKeyInsert = 45;
constexpr int kKeyDelete = 46;
constexpr int kKeyNumpad0 = 96;
constexpr int kKeyF1 = 112;
constexpr int kKeyF12 = 123;
constexpr int key_f(int n) { return kKeyF1 - 1 + n; }

// The state of Shift (1), Ctrl (2) and Alt (4) that goes with a key.
constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
constexpr int kAltMask = 4;

// The key-down (and key-up) code of the key, 0 for a key the run time has
// no code for. Digits and operators of the numeric pad have their own codes.
int key_code(const QKeyEvent* event);
// The character the key typed, 0 where it typed none; Enter 13, Backspace 8
// and Escape 27 type theirs. Tab types none: it moves the focus.
int key_ascii(const QKeyEvent* event);
// Shift, Ctrl and Alt held with the key.
int key_shift(const QKeyEvent* event);
// Shift, Ctrl or Alt alone: no key for a screen's rules.
bool is_modifier_key(int key_code);

}  // namespace px
