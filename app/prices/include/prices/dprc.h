// The price inquiry (Dprc): part numbers priced one at a time from the
// dealer's price file into a growing list, re-priced when the clerk chooses
// another of the file's prices, printed with F2. The list is the work file
// PXDPRC1.TMP that the price library appends to; row i of the grid and
// record i of the file describe the same line.
//
// The main menu opens it through OpenDprcScreen, which first makes sure a
// price file is installed.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "shell/form.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpacerItem;

namespace px {

class Grid;
class PrinterObject;

// Menu item 3: opens the price inquiry over the calling screen when a price
// file is installed; else message 839 (none) or 999 and the error dialog
// (the library failed) on the caller's message line.
void OpenDprcScreen(Form& caller, QLabel* caller_msg);

class Dprc : public Form {
public:
    static constexpr const char* kName = "Dprc";
    // The list holds at most this many rows, the header row included.
    static constexpr int kMaxGridRows = 2000;
    Dprc();

    QLabel* lbl_Titel = nullptr;
    std::array<QGroupBox*, 2> fra_Select{};     // 0 entry group, 1 price choice
    std::array<QLineEdit*, 3> txt_PNo{};        // 5, 5 and 2 characters
    QPushButton* cmd_Sech = nullptr;
    std::array<QRadioButton*, 3> opt_Price{};
    Grid* msg_Main = nullptr;

    std::string DprcWorkPath;   // PXDPRC1.TMP
    int16_t DprcGridRows = 0;   // rows the grid shows without scrolling, header included
    int16_t DprcLineCount = 0;  // lines listed (records of the work file)

    void on_load() override;
    void on_activate() override;
    bool on_key_down(int key_code) override;
    void on_button_focus(QPushButton* button, bool got) override;

    // The 12-character part number of the three boxes, and its check.
    static std::string join_part_no(const QString& b0, const QString& b1, const QString& b2);
    static bool part_no_valid(const std::string& part_no);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DPRC_Set_File_Kind(int32_t kind);
    int16_t DPRC_Init_Grid();
    int16_t DPRC_Add_Row();
    void DPRC_Set_Captions();
    void DPRC_Set_Keys();
    void DPRC_Set_Frame_Color(int group, int state);
    int16_t DPRC_Get_Price_Choice() const;
    void DPRC_Clear_Input();
    void DPRC_Delete_WorkFile();
    void DPRC_Back();
    void DPRC_Menu();
    void DPRC_Clear();
    void DPRC_PrintList();
    void print_rows(PrinterObject& p);
    void cmd_Sech_Click();
    void opt_Price_Click(int index);
    void fail_to_menu();

    QSpacerItem* grid_room_ = nullptr;
    bool grid_in_use_ = false;
    bool load_failed_ = false;
};

}  // namespace px
