// The English texts of the installation: the message file PXDROM01.MSG and
// the screen file PXDROM01.SCR, with the numbers of the screens built so
// far; each screen brings its own. (The help files: demo_help.h.)
#pragma once

#include <string>
#include <vector>

namespace pxbuild::demo {

struct Text {
    int no;
    const char* text;
};

// Message texts (3-digit numbers; a number given twice is a message of two lines).
const std::vector<Text>& demo_messages();
// Screen texts (4-digit numbers).
const std::vector<Text>& demo_screen_texts();

// Writes the message file into the program-file folder (ECFIL of the
// environment file) and the screen file into `screen_dir_host`, the folder
// the program starts in (the screen file is read from the current
// directory); by default both are the same folder. Text lines end with
// CR LF. Throws std::runtime_error when a file cannot be written.
void write_demo_texts(const std::string& program_dir_host, const std::string& screen_dir_host = "");

}  // namespace pxbuild::demo
