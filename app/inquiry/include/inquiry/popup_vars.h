// What passes between the catalogue-CD pop-up Cdss and the screen that opens
// it (Teki, Newp, Hinb), and the two values the part-number list and the
// part-number search share. They live as long as the program.
//
// The owner calls its library's pop-up function, which writes PXPOPUP.TMP
// and gives its path (PopupPath) and the mode (PopupChoose: 1 the clerk
// chooses the CDs of the next search, 0 the list only shows which CDs are
// available). Cdss reads and deletes the file and leaves: PopupLineCount
// (records read), PopupSel(k) "1" for each chosen CD record k (0-based, in
// file order), PopupSetupNo(k) its set-up index, PopupSelCount the number
// chosen; PopupToMenu when it could not read the list (it has shown the
// system-error dialog; the owner goes back to the main menu).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace px {

// The library writes at most 30 records; position 30 is spare.
constexpr int kPopupPositions = 31;

struct PopupVars {
    std::string PopupPath;  // path of PXPOPUP.TMP (80 characters as the library fills it)
    int16_t PopupChoose = 0;
    int16_t PopupLineCount = 0;
    int16_t PopupSelCount = 0;
    std::array<std::string, kPopupPositions> PopupSel{};
    std::array<int16_t, kPopupPositions> PopupSetupNo{};
    bool PopupToMenu = false;
};
PopupVars& popup_vars();

// The resting message of the part-number list and of the part-number search
// (the two are never open together), and the records of the block or page
// on display.
struct InquiryVars {
    int16_t InquiryMsgNo = 0;
    int32_t InquiryRowCount = 0;
};
InquiryVars& inquiry_vars();

}  // namespace px
