// The texts of the maint screens: messages and screen texts.
#include "demo_texts.h"

#include <iterator>

namespace pxbuild::demo {

const AreaTexts& texts_maint() {
    static const AreaTexts texts = {
        {
            // messages
            {154, "Enter a group code (up to 3 characters) or pick one with List."},
            {155, "Enter the group's description and press Enter."},
            {156, "Enter a part-name code. F10: save, F2: print the groups."},
            {159, "Choose a screen, double-click a text to change it. F10: save."},
            {404, "The groups have been saved. Enter a group code or pick one with List."},
            {405, "Saving the user part groups..."},
            {819, "No more groups can be added: there are 1000 groups."},
            {851, "The group has no part-name codes: enter at least one before saving."},
            {887, "The catalogue CD is not in the drive: the code was not checked."},
        },
        {
            // screen texts
            {3300, "USER PART GROUPS"},
            {3301, "Group code"},
            {3302, "Description"},
            {3303, "PNC"},
            {3305, "List"},
            {3306, "USER PART GROUP LIST"},
            {3307, "Date:"},
            {3308, "Page:"},
            {3309, "Group:"},
            {3310, "PNC"},
            {3311, "Part name"},
            {3800, "USER PART GROUP CODES"},
            {3801, "Group code"},
            {3802, "Description"},
            {4400, "SCREEN TEXT EDITOR"},
            {4401, "Screen"},
            {4402, "Text"},
            {4500, "Change a screen text"},
            {4501, "Current text"},
            {4502, "New text"},
            {4503, "OK"},
            {4504, "Cancel"},
        },
        {
            // help files
            {"PXSSCR",
             {"SCREEN TEXT EDITOR", "",
              "Choose a screen in the list: its texts are shown one per line.",
              "Double-click a text (or move to it and press Enter) and type the new",
              "text, up to 70 characters. A changed text is marked with *.", "",
              "F10 saves the texts and shows them on the screens opened from then on.",
              "F11 throws the changes away. F3 and F4 leave without saving."}},
        },
    };
    return texts;
}

// The screen file's sections: the common texts below 1000, then one block of
// 100 numbers a screen from 1000 on, in the order of the editor's tag table.
const char* screen_section_tag(int no) {
    static const char* const kTags[] = {
        "#PXCOMN", "#PXGYOM", "#PXVJIN", "#PXVCAT", "#PXVKEI", "#PXKROT", "#PXKKWD", "#PXKPNC", "#PXEMOK", "#PXBUNZ",
        "#PXBUNK", "#PXBUSZ", "#PXBUSK", "#PXPNHO", "#PXPRIC", "#PXRYAK", "#PXSIUP", "#PXSTUP", "#PXTEKI", "#PXNEWP",
        "#PXDPRC", "#PXFSAV", "#PXFSAD", "#PXSHOP", "#PXSTGP", "#PXKGRL", "#PXKGRP", "#PXHINB", "#PXFSEL", "#PXKGRR",
        "#PXLPEM", "#PXLPPS", "#PXINTF", "#PXSTLP", "#PXSTPR", "#PXSSCR", "#PXSSED"};
    if (no < 0) return nullptr;
    const int i = no < 1000 ? 0 : 1 + (no - 1000) / 100;
    return i < static_cast<int>(std::size(kTags)) ? kTags[i] : nullptr;
}

}  // namespace pxbuild::demo
