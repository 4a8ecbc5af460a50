// The double-click rule of a list's lines, reachable from the keyboard.
//
// A rule given here runs for a double-click on a line and for Shift+Enter on
// the list's current line (the forms kit's key preview). On a list of
// several selectable lines the double-click leaves the line's selection as
// it was before it: its two presses turn the line over twice.
#pragma once

#include <functional>

class QListWidget;
class QObject;

namespace px {

class Form;

void on_line_double_click(Form& form, QListWidget* list, const char* procedure, std::function<void(int row)> rule);
// Whether the list has such a rule.
bool has_line_rule(const QObject* list);

}  // namespace px
