#include "demo_help.h"
#include "demo_texts.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace pxbuild::demo {

namespace {

// The reader shows lines of up to 119 characters; these stay well inside the
// width of the help window.
constexpr size_t kMaxLine = 72;
constexpr const char* kLanguage = "01";

struct HelpText {
    const char* id;  // "PX" and the screen's four-letter name in capitals
    std::vector<const char*> lines;
};

const std::vector<HelpText>& texts() {
    static const std::vector<HelpText> t = {
        {"PXGYOM",
         {"MAIN MENU",
          "",
          "Choose the work you want to do and click its button, or move to it",
          "with the TAB key and press ENTER.",
          "",
          "  Vehicle identification   Identify a vehicle by VIN, frame number",
          "                           or model, then search its parts.",
          "  Applicability            Find the vehicles a part number fits.",
          "  Price inquiry            Show the price of a part number.",
          "  Part-number list         List the part numbers of a catalogue.",
          "  Saved lists              Open, print or delete the parts lists",
          "                           you have saved.",
          "  Part-number search       Find a part by its number or its name.",
          "  Set-up                   Install catalogue CDs, price files and",
          "                           local parts; maintain part groups.",
          "  System settings          Drives, directories and languages.",
          "",
          "The first six items need an installed catalogue data set.",
          "",
          "  F1  Help                 This text.",
          "  F3  End                  Close the catalogue.",
          "  F6  Hard copy            Print the screen."}},
        {"PXVJIN",
         {"VEHICLE IDENTIFICATION",
          "",
          "Enter the VIN (17 characters) or the frame model and frame number,",
          "or choose the car name, model and production date step by step.",
          "The vehicle header shows what has been identified so far.",
          "",
          "  F1  Help                 This text.",
          "  F2  Saved list           Continue with a saved parts list.",
          "  F3  Back                 Return to the previous screen.",
          "  F4  Menu                 Return to the main menu.",
          "  F6  Hard copy            Print the screen.",
          "  F10 Execute              Accept the vehicle and choose how to",
          "                           search its parts.",
          "  F11 Clear                Clear every entry and start again.",
          "  F12 Vehicle information  Show the vehicle's full description."}},
        {"PXKROT",
         {"SEARCH ROUTE",
          "",
          "Choose how to find the parts of the identified vehicle:",
          "",
          "  Figure groups            Tick the groups to browse in the",
          "                           illustration index.",
          "  Part-name code list      Pick part-name codes from a list.",
          "  Part groups              Pick one of your own part groups.",
          "  Local parts              Figures of the locally supplied parts.",
          "  Figure number            Go straight to a figure you know.",
          "  Part-name code           The figure of one part-name code.",
          "  Part number              The figure of one part number.",
          "  Group code               The parts of one of your part groups,",
          "                           such as those of a regular service.",
          "  Keyword                  Part names that contain a word.",
          "",
          "  F1  Help    F3  Back    F4  Menu    F6  Hard copy",
          "  F10 Execute the chosen route."}},
        {"PXSTGP",
         {"USER PART GROUPS",
          "",
          "A part group collects the part-name codes of a job you quote often,",
          "for example a service or a brake overhaul. There can be up to 1000",
          "groups of up to 100 part-name codes each.",
          "",
          "Group entry: type a group code of up to 3 characters (or pick one",
          "with the list button) and its description, then press ENTER.",
          "",
          "Part-name entry: type a part-name code and press ENTER to add it.",
          "Double-click a line to replace its code. Select lines and press",
          "the delete button to remove them from the group.",
          "",
          "  F1  Help                 This text.",
          "  F2  Print                Print the list of groups.",
          "  F3  Back                 Return without saving.",
          "  F4  Menu                 Return to the main menu without saving.",
          "  F6  Hard copy            Print the screen.",
          "  F10 Save                 Save every group.",
          "  F11 Cancel               Discard the changes not yet saved."}},
        {"PXFSAV",
         {"SAVED LISTS",
          "",
          "Every parts list you save is kept under a four-digit number with the",
          "date and time it was saved. Choose a list to open it again, print",
          "it or delete it. A deleted list cannot be brought back.",
          "",
          "  F1  Help    F3  Back    F4  Menu    F6  Hard copy"}},
    };
    return t;
}

// The shell's help files and those each area of screens brings.
std::vector<HelpText> all_texts() {
    std::vector<HelpText> all = texts();
    for (const AreaTexts* area : area_texts())
        for (const HelpFile& h : area->help) all.push_back(HelpText{h.id, h.lines});
    return all;
}

}  // namespace

int demo_help_count() { return static_cast<int>(all_texts().size()); }

void write_demo_help(const std::string& program_dir) {
    for (const HelpText& h : all_texts()) {
        std::string body;
        for (const char* line : h.lines) {
            if (std::strlen(line) > kMaxLine) throw std::runtime_error(std::string("help line too long: ") + line);
            body += line;
            body += "\r\n";
        }
        std::string path = program_dir + "/" + h.id + kLanguage + ".HLP";
        std::FILE* fp = std::fopen(path.c_str(), "wb");
        if (fp == nullptr) throw std::runtime_error("cannot create " + path + ": " + std::strerror(errno));
        bool ok = std::fwrite(body.data(), 1, body.size(), fp) == body.size();
        ok = std::fclose(fp) == 0 && ok;
        if (!ok) throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace pxbuild::demo
