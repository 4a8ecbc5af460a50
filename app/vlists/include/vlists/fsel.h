// The saved-vehicle list: one line per saved list from the list file that
// PXVJIN wrote, with the vehicle it was saved for. Enter or a mouse press on
// a line hands its save number to the engine, which restores that vehicle;
// F3 goes back to the vehicle screen, F4 to the main menu. Shown modally by
// the vehicle screen's F2; the vehicle screen asks the engine afterwards.
#pragma once

#include <cstdint>
#include <string>

#include "shell/form.h"

class QLabel;
class QListWidget;

namespace px {

class Fsel : public Form {
public:
    static constexpr const char* kName = "Fsel";
    static constexpr int kHeadings = 7;
    Fsel();

    QLabel* lbl_title = nullptr;
    QLabel* lbl_List[kHeadings] = {};
    QListWidget* lst_Fsel = nullptr;

    // The save number a line carries (its item value).
    int32_t item_data(int line) const;
    bool load_failed() const { return FselLoadFailed != 0; }

    void on_load() override;
    void on_activate() override;
    bool on_key_down(int key_code) override;
    void on_close_request() override;

    // One list line of an 80-byte record, and the save number it carries
    // (0 when the field holds no number).
    static QString line_of(std::string_view record);
    static int32_t save_number_of(std::string_view record);

private:
    void FSEL_Set_PFKeys();
    void FSEL_SetSvList(int32_t& status);
    void FSEL_Select_File();
    void FSEL_Back();
    void FSEL_Menu();

    std::string FselListPath;
    int16_t FselLoadFailed = 0;
    bool closing_ = false;  // ending after a failure
};

}  // namespace px
