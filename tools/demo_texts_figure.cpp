// The texts of the figure screens: messages, screen texts and help.
#include "demo_texts.h"

namespace pxbuild::demo {

const AreaTexts& texts_figure() {
    static const AreaTexts texts = {
        // messages
        {
            {118, "Pick reference numbers on the picture or in the list; F10: parts list."},
            {829, "The picture of this page is too large to be shown."},
            {832, "Nothing is picked yet."},
            {862, "This page has no picture."},
        },
        // screen texts
        {
            {100, "NEXT"},
            {101, "END"},
            {204, "F5:Keys"},  // also the parts list's
            {214, "F9:Enlrg"},
            {220, "F9:All"},
            {221, "F9:Match"},
            {1800, "Illustration"},
            {1801, "Figure:"},
            {1802, "Qty"},
            {1803, "Vehicle"},
            {1804, "All pages"},
            {1805, "The picture of this page is too large to be shown."},
            {1806, "Catalogue"},
            {1807, "Figure"},
            {1808, "Page"},
            {1809, "SEE NOTE"},
            {1810, "SUB-ILLUSTRATION"},
            {1900, "Illustration (Enlarged)"},
            {1901, "Selected PNC"},
            {1902, "Qty"},
            {2000, "Sub-Illustration"},
            {2100, "Sub-Illustration (Enlarged)"},
        },
        // help files
        {
            {"PXBUNZ",
             {"ILLUSTRATION", "", "Click a reference number on the picture, or press Enter on a line",
              "of the list, to pick the part; again to drop it. Set the quantity",
              "with the arrows or type it and press Enter. A right click enlarges.", "",
              "  F1 Help  F2 Print  F3 Back  F4 Menu  F5 Keys  F6 Hard copy",
              "  F7 Previous page  F8 Next page  F9 Match  F10 Parts list",
              "  F11 Clear the picks  F12 Vehicle information",
              "Second key set: F9 enlarges, F12 shows the picture wide."}},
            {"PXBUSZ",
             {"SUB-ILLUSTRATION", "", "Pick as on the illustration. F3 goes back to the page",
              "the sub-illustration was opened from; F8 past its last page goes on.", "",
              "  F1 Help  F2 Print  F3 Back  F5 Keys  F6 Hard copy",
              "  F7 Previous page  F8 Next page  F9 Match  F10 Parts list  F11 Clear"}},
            {"PXBUNK",
             {"ILLUSTRATION (ENLARGED)", "", "The page at full size. A right click centres it on the point,",
              "a click in the small overview box moves there; Alt+arrows scroll.", "",
              "  F1 Help  F2 Print  F3 Whole page  F4 Menu  F6 Hard copy",
              "  F7 Previous page  F8 Next page  F9 Abbreviations  F10 Parts list",
              "  F11 Clear the picks  F12 Selected or page list"}},
            {"PXBUSK",
             {"SUB-ILLUSTRATION (ENLARGED)", "", "As the enlarged illustration; F3 shows the whole page.", "",
              "  F1 Help  F2 Print  F3 Whole page  F6 Hard copy  F7 Previous page",
              "  F8 Next page  F9 Abbreviations  F10 Parts list  F11 Clear the picks"}},
        },
    };
    return texts;
}

}  // namespace pxbuild::demo
