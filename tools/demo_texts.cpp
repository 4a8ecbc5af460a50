#include "demo_texts.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <algorithm>

#include "pxbuild/demo_parts.h"

namespace pxbuild::demo {

const std::vector<Text>& demo_messages() {
    static const std::vector<Text> texts = {
        {115, "Select an item."},
        {120, "Enter an abbreviation and press F10 or Enter."},
        {838, "The abbreviation is not found in this catalogue."},
        {842, "Printing failed. Check that a printer is installed and ready."},
        {876, "There is no saved list."},
        {881, "Please insert the catalogue CD into drive     ["},
        {881, "Catalogue CD needed:                          ["},
        {882, "Please insert the CD into drive               ["},
        {882, "CD needed:                                    ["},
        {883, "Please insert the frame-number CD into drive  ["},
        {883, "Frame-number CD needed:                       ["},
        {891, "No catalogue data set is set up."},
        {891, "Set one up first: main menu item 7, Catalogue set-up."},
        // The forms kit's file dialog: its second line, the drives, is the kit's.
        {950, "A file must lie on one of these drives:"},
        {999, "A system error occurred."},
    };
    return texts;
}

const std::vector<Text>& demo_screen_texts() {
    static const std::vector<Text> texts = {
        {111, "any drive"},
        {112, "EUROPE"},
        {113, "GEN."},
        {114, "USA"},
        {115, "JAPAN"},
        {126, "EU FRM"},
        {127, "JP FRM"},
        {200, "F1:Help"},
        {202, "F3:Back"},
        {205, "F6:Hcpy"},
        {209, "F10:Exec"},
        {210, "F11:Clr"},
        {213, "F3:End"},
        {1000, "Parts Catalogue - Main Menu"},
        {1001, "1  Vehicle Identification"},
        {1002, "2  Part Number Applicability"},
        {1003, "3  Price Inquiry"},
        {1004, "4  Part Number List of a Catalogue"},
        {1005, "5  Saved Lists"},
        {1006, "6  Part Number / Part Name Search"},
        {1007, "7  Set-up"},
        {1008, "8  System Settings"},
        {2400, "Abbreviation"},
        {2401, "Abbreviation"},
        {2402, "Meaning"},
    };
    return texts;
}

namespace {

void write_file(const std::string& path, const std::string& body) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << body;
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
}

// The shell's texts and those of the libraries' screens, in number order;
// the two lines of a message keep their order.
template <typename Extra>
std::vector<Text> merged(const std::vector<Text>& own, const Extra& extra) {
    std::vector<Text> all = own;
    for (const auto& t : extra) all.push_back(Text{t.no, t.text});
    std::stable_sort(all.begin(), all.end(), [](const Text& a, const Text& b) { return a.no < b.no; });
    return all;
}

}  // namespace

std::vector<const AreaTexts*> area_texts() {
    return {&texts_vehicle(), &texts_vlists(), &texts_figure(), &texts_partslist(), &texts_search(), &texts_index(), &texts_inquiry(), &texts_prices(), &texts_setup(), &texts_maint()};
}

namespace {

// Every area's texts beside the shell's own.
std::vector<Text> all_messages() {
    std::vector<Text> all = merged(demo_messages(), part_inquiry_messages());
    for (const AreaTexts* area : area_texts()) all = merged(all, area->messages);
    return all;
}

std::vector<Text> all_screen_texts() {
    std::vector<Text> all = merged(demo_screen_texts(), part_inquiry_screen_texts());
    for (const AreaTexts* area : area_texts()) all = merged(all, area->screen_texts);
    return all;
}

}  // namespace

void write_demo_texts(const std::string& program_dir_host, const std::string& screen_dir_host) {
    const std::string& screen_dir = screen_dir_host.empty() ? program_dir_host : screen_dir_host;
    char num[16];
    std::string msg = "; Messages, English: number (3 digits) and text\r\n";
    for (const Text& t : all_messages()) {
        std::snprintf(num, sizeof num, "%03d", t.no);
        msg += std::string(num) + t.text + "\r\n";
    }
    std::string scr = "# Screen texts, English: number (4 digits), a blank and text\r\n";
    const char* section = nullptr;
    for (const Text& t : all_screen_texts()) {
        // Each screen's texts under its section tag, for the screen-text editor.
        if (const char* tag = screen_section_tag(t.no); tag != section && tag != nullptr)
            scr += std::string(tag) + "\r\n";
        section = screen_section_tag(t.no);
        std::snprintf(num, sizeof num, "%04d", t.no);
        scr += std::string(num) + " " + t.text + "\r\n";
    }
    write_file(program_dir_host + "/PXDROM01.MSG", msg);
    write_file(screen_dir + "/PXDROM01.SCR", scr);
}

}  // namespace pxbuild::demo
