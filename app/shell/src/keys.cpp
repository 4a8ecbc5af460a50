#include "shell/keys.h"

#include <QKeyEvent>

namespace px {

namespace {

// Keys of the main keyboard that type a sign: the code of the key the sign
// stands on (a US keyboard), so that "%" is the key of "5", never Left.
int sign_key(int key) {
    switch (key) {
        case Qt::Key_Exclam: return '1';
        case Qt::Key_At: return '2';
        case Qt::Key_NumberSign: return '3';
        case Qt::Key_Dollar: return '4';
        case Qt::Key_Percent: return '5';
        case Qt::Key_AsciiCircum: return '6';
        case Qt::Key_Ampersand: return '7';
        case Qt::Key_Asterisk: return '8';
        case Qt::Key_ParenLeft: return '9';
        case Qt::Key_ParenRight: return '0';
        case Qt::Key_Semicolon:
        case Qt::Key_Colon: return 186;
        case Qt::Key_Equal:
        case Qt::Key_Plus: return 187;
        case Qt::Key_Comma:
        case Qt::Key_Less: return 188;
        case Qt::Key_Minus:
        case Qt::Key_Underscore: return 189;
        case Qt::Key_Period:
        case Qt::Key_Greater: return 190;
        case Qt::Key_Slash:
        case Qt::Key_Question: return 191;
        case Qt::Key_QuoteLeft:
        case Qt::Key_AsciiTilde: return 192;
        case Qt::Key_BracketLeft:
        case Qt::Key_BraceLeft: return 219;
        case Qt::Key_Backslash:
        case Qt::Key_Bar: return 220;
        case Qt::Key_BracketRight:
        case Qt::Key_BraceRight: return 221;
        case Qt::Key_Apostrophe:
        case Qt::Key_QuoteDbl: return 222;
        default: return 0;
    }
}

// The numeric pad's own codes: digits 96-105, * + - . / 106-111.
int pad_key(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return kKeyNumpad0 + (key - Qt::Key_0);
    switch (key) {
        case Qt::Key_Asterisk: return 106;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 109;
        case Qt::Key_Period:
        case Qt::Key_Comma: return 110;
        case Qt::Key_Slash: return 111;
        default: return 0;
    }
}

}  // namespace

int key_code(const QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return kKeyF1 + (key - Qt::Key_F1);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
    if ((event->modifiers() & Qt::KeypadModifier) != 0)
        if (int pad = pad_key(key)) return pad;
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
    switch (key) {
        case Qt::Key_Backspace: return kKeyBack;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return kKeyTab;
        case Qt::Key_Clear: return 12;
        case Qt::Key_Return:
        case Qt::Key_Enter: return kKeyEnter;
        case Qt::Key_Shift: return kKeyShift;
        case Qt::Key_Control: return kKeyControl;
        case Qt::Key_Alt:
        case Qt::Key_AltGr: return kKeyAlt;
        case Qt::Key_Pause: return 19;
        case Qt::Key_CapsLock: return 20;
        case Qt::Key_Escape: return kKeyEscape;
        case Qt::Key_Space: return kKeySpace;
        case Qt::Key_PageUp: return kKeyPageUp;
        case Qt::Key_PageDown: return kKeyPageDown;
        case Qt::Key_End: return kKeyEnd;
        case Qt::Key_Home: return kKeyHome;
        case Qt::Key_Left: return kKeyLeft;
        case Qt::Key_Up: return kKeyUp;
        case Qt::Key_Right: return kKeyRight;
        case Qt::Key_Down: return kKeyDown;
        case Qt::Key_Print: return 44;
        case Qt::Key_Insert: return kKeyInsert;
        case Qt::Key_Delete: return kKeyDelete;
        case Qt::Key_Menu: return 93;
        case Qt::Key_NumLock: return 144;
        case Qt::Key_ScrollLock: return 145;
        default: return sign_key(key);
    }
}

int key_ascii(const QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return kKeyEnter;
        case Qt::Key_Backspace: return kKeyBack;
        case Qt::Key_Escape: return kKeyEscape;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return 0;
        default: break;
    }
    const QString text = event->text();
    if (text.isEmpty()) return 0;
    const char16_t c = text[0].unicode();
    return c >= 32 && c != 127 ? c : 0;
}

int key_shift(const QKeyEvent* event) {
    const Qt::KeyboardModifiers m = event->modifiers();
    return ((m & Qt::ShiftModifier) != 0 ? kShiftMask : 0) | ((m & Qt::ControlModifier) != 0 ? kCtrlMask : 0) |
           ((m & Qt::AltModifier) != 0 ? kAltMask : 0);
}

bool is_modifier_key(int code) { return code == kKeyShift || code == kKeyControl || code == kKeyAlt; }

}  // namespace px
