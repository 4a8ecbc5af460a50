// The choice of a dealer's source file for the price-file and local-parts
// set-up: the file dialog opened in the folder of a path kind, the current
// directory kept across it.
#pragma once

#include <cstdint>
#include <string>

#include <QString>

class QWidget;

namespace px::setup {

// 0 with the chosen file's Windows-shaped path; 1 when the dialog was
// cancelled; 100, 101 or 102 when the current directory could not be read
// or put back (logged under `source` and `procedure`).
int16_t choose_user_file(QWidget* parent, int16_t path_kind, const QString& filter, const char* source,
                         const char* procedure, std::string* chosen);

}  // namespace px::setup
