// The system settings screen: main-menu item 8. It shows the settings of the
// environment file PXDROM.SYS (current area, data and menu languages, price
// and local-price drives, export programs); F10 hands the choices to the
// settings library, which rewrites the file, and the program then speaks the
// new menu language.
#pragma once

#include <array>
#include <string>

#include "shell/form.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace px {

class Siup : public Form {
public:
    static constexpr const char* kName = "Siup";
    static constexpr int kMaxPrograms = 8;
    Siup();

    std::array<QRadioButton*, 4> opt_Country{};
    std::array<QRadioButton*, 6> opt_DataLang{};  // indexes 1, 3, 4, 5
    std::array<QRadioButton*, 10> opt_Lang{};     // indexes 1, 3, 4, 5, 9
    std::array<QLabel*, 1> lbl_Index{};
    QComboBox* Drv_Price = nullptr;
    QComboBox* Drv_Localp = nullptr;
    QListWidget* lst_IntfP = nullptr;
    QPushButton* cmd_Add1 = nullptr;
    QPushButton* cmd_Del1 = nullptr;
    QLineEdit* txt_IntfF = nullptr;
    QPushButton* cmd_Add2 = nullptr;
    QPushButton* cmd_Del2 = nullptr;
    std::array<QLabel*, 2> lbl_SubIndex{};
    std::array<QGroupBox*, 9> frm_siup{};
    int16_t load_state = 0;

    void on_load() override;
    void on_activate() override;
    void on_unload() override;
    bool on_key_down(int key_code) override;

    bool SIUP_Get_User_File(QString* path);
    int32_t SIUP_Read_Pxdrom();
    void SIUP_Exec_PF10();
    void cmd_Add1_Click();
    void cmd_Del1_Click();
    void cmd_Add2_Click();
    void cmd_Del2_Click();

    // The selected button's index of a group, 0 when none is selected.
    static int selected(const QButtonGroup* group);
    QButtonGroup* country_group = nullptr;
    QButtonGroup* data_lang_group = nullptr;
    QButtonGroup* lang_group = nullptr;

private:
    void system_error();
    std::string saved_directory_;
};

}  // namespace px
