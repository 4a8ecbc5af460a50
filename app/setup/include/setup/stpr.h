// The price-file set-up dialog, shown over the set-up menu: the dealer picks a
// price source file (fixed records "PRICE"/"PRICE3" or the CSV pieces
// PRICEnnn.CSV/PRIC3nnn.CSV), runs the set-up, and appends each further
// piece until he answers that no more data follow. Its messages go to the
// set-up menu's message line.
#pragma once

#include <array>
#include <string>

#include "shell/form.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace px {

class Stpr : public Form {
public:
    static constexpr const char* kName = "Stpr";
    Stpr();

    QGroupBox* Frame1 = nullptr;
    QLabel* lbl_flnm = nullptr;
    QLabel* lbl_price = nullptr;
    QLabel* lbl_FileName = nullptr;
    QLabel* lbl_FileType = nullptr;
    QPushButton* cmd_Refer = nullptr;
    QPushButton* cmd_Exit = nullptr;
    QPushButton* cmd_Exec = nullptr;
    QPushButton* cmd_Clear = nullptr;

    int16_t file_type = 0;     // 0 none, 1 PRICE, 2 PRICEnnn.CSV, 3 PRICE3, 4 PRIC3nnn.CSV
    int32_t file_sequence = 1; // nnn of the CSV piece to offer
    int32_t system_error = 0;
    std::array<std::string, 5> descriptions;  // by file type, 1-4
    std::string chosen_file;  // the dialog's file name (Windows-shaped)

    void on_load() override;
    bool on_key_down(int key_code) override;
    void on_close_request() override;

    // The dialog's filter for the current file type and sequence number.
    std::string filter() const;
    void STPR_Set_File_Type();
    int16_t STPR_Get_User_File(int16_t filter_index);
    void STPR_Exit();
    void STPR_Clear();
    void STPR_Exec_Setup();
    void cmd_Refer_Click();

private:
    void set_type_text(const QString& text);
    void fail();
};

}  // namespace px
