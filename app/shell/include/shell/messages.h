// The message line, the error log, the system-error dialog's opening and the
// placing of a screen: the common failure path that every screen takes.
#pragma once

#include <cstdint>
#include <string>

#include <QString>

#include "shell/errors.h"

class QLabel;
class QWidget;

namespace px {

class Form;

// A message of the message file on a message line. Progress messages
// (700-799) are painted at once, before the caller's long step starts.
void DispMsg(int16_t no, QLabel* label);
// One line in the error log (the library writes it).
void WriteErrorLog(const std::string& source, const std::string& procedure, const std::string& step, int32_t n1,
                   int32_t n2, int32_t n3);
// Opens the system-error dialog over a screen; returns when it has closed.
void ShowErrorDialog(Form& caller);
// The screen over which the dialog was last opened (never cleared).
Form* ErrorCaller();
// Places a screen: centred on a display wider than 1024 pixels, else at the
// top-left corner.
void CenterForm(Form& form);
// Moves a dialog that reports its outcome on another screen's message line
// off that line, so that the outcome is seen: above the line where there is
// room, else below or beside it; on a display too small for any of these,
// to the display's right edge, leaving the start of the line's text in
// sight. A dialog clear of the line stays where it is.
void KeepMessageLineClear(QWidget& dialog, const QLabel* line);

// The common failure path for a run-time error in a screen's procedure: the
// log line, message 999 on the screen's message line, the dialog over it.
void ReportFailure(Form& form, const std::string& procedure, const RuntimeError& error);

// The display's twips per pixel, whole numbers, recorded by the main menu
// when it loads; read by the placing and the printing of screens.
struct DisplayTwips {
    int x = 15;
    int y = 15;
};
DisplayTwips& display_twips();

// A screen text in a field of `len` bytes, as the caption shows it.
QString ScrText(int32_t no, int len);

}  // namespace px
