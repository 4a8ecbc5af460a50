// The demo's English help texts: one help file per screen in the program-file
// directory, named by the screen's help id and the menu language code 01
// ("PXGYOM01.HLP"), text lines ending in CR LF.
#pragma once

#include <string>

namespace pxbuild::demo {

// Writes the help files into the host folder of the program-file directory.
// Throws std::runtime_error when a file cannot be written.
void write_demo_help(const std::string& program_dir);

// Number of help files written, for the builder's summary.
int demo_help_count();

}  // namespace pxbuild::demo
