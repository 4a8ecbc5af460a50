// A drive list of the set-up screens: the drives of the platform's drive
// table, "c:" style, in letter order.
#pragma once

class QComboBox;

namespace px::setup {

// Fills the list afresh from the drive table.
void fill_drive_list(QComboBox* list);
// The chosen drive's letter in upper case, or ' ' when none is chosen.
char drive_letter(const QComboBox* list);
// Chooses the drive of that letter (either case); false, and the list as it
// was, when the table has no such drive.
bool set_drive(QComboBox* list, char letter);

}  // namespace px::setup
