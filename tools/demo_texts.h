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

// The texts each area of screens brings, one file each (demo_texts_<area>.cpp).
struct HelpFile {
    const char* id;  // "PX" and the screen's four-letter name in capitals
    std::vector<const char*> lines;
};
struct AreaTexts {
    std::vector<Text> messages;
    std::vector<Text> screen_texts;
    std::vector<HelpFile> help;  // help files of the area's screens (demo_help.h writes them)
};
// Every area's texts, in a fixed order.
std::vector<const AreaTexts*> area_texts();
const AreaTexts& texts_vehicle();
const AreaTexts& texts_vlists();
const AreaTexts& texts_figure();
const AreaTexts& texts_partslist();
const AreaTexts& texts_search();
const AreaTexts& texts_index();
const AreaTexts& texts_inquiry();
const AreaTexts& texts_prices();
const AreaTexts& texts_setup();
const AreaTexts& texts_maint();

// The section tag of the screen a screen text belongs to ("#PXGYOM" for
// 1000-1099 ...), or null for a number outside every screen's block.
const char* screen_section_tag(int no);

// Writes the message file into the program-file folder (ECFIL of the
// environment file) and the screen file into `screen_dir_host`, the folder
// the program starts in (the screen file is read from the current
// directory); by default both are the same folder. Text lines end with
// CR LF. Throws std::runtime_error when a file cannot be written.
void write_demo_texts(const std::string& program_dir_host, const std::string& screen_dir_host = "");

}  // namespace pxbuild::demo
