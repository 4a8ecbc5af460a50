// The screen-text editor Sscr and its edit dialog Ssed: the texts of the menu
// language's screen file, one screen at a time, copied into the work file
// SCREEN.TMP (screen_work.h), replaced one text at a time and written back
// by F10, after which the screen texts are reloaded. F11 throws the changes
// away, F3 and F4 leave without writing; unloading deletes the work file.
#pragma once

#include <string>

#include "maint/screen_work.h"
#include "shell/form.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace px {
class Grid;
}

namespace px::maint {

// The chosen screen, program-wide: its tag and name, or both empty.
std::string& ScreenSectionTag();
std::string& ScreenSectionName();
// The chosen screen from the editor's screen choice: the first screen whose
// name equals the choice's text, else none.
void SSCR_Get_Section();

class Sscr : public Form {
public:
    static constexpr const char* kName = "Sscr";
    Sscr();
    ~Sscr() override;

    QComboBox* cbo_scrnm = nullptr;
    Grid* msg_Screen = nullptr;
    QLabel* lbl_title = nullptr;
    QLabel* lbl_scrnm = nullptr;
    QGroupBox* fra_scrflstp = nullptr;

    void on_load() override;
    void on_activate() override;
    void on_unload() override;
    bool on_key_down(int key_code) override;
    void on_pf_click(int n) override;

    void SSCR_Disp_Section();
    const std::string& screen_path() const { return screen_path_; }
    const std::string& work_path() const { return work_path_; }
    ScreenWork& work() { return work_; }

private:
    void SSCR_Set_Combo();
    void SSCR_Import_Text();
    void SSCR_Export_Text();
    void SSCR_Reload_Text();
    void SSCR_Set_PF_Caption(int mode);
    void open_editor();
    void choose(const QString& name);

    ScreenWork work_;
    std::string screen_path_;
    std::string work_path_;
    int char_width_ = 0;
    int char_height_ = 0;
};

class Ssed : public Form {
public:
    static constexpr const char* kName = "Ssed";
    Ssed();

    QLineEdit* txt_Old = nullptr;
    QLineEdit* txt_New = nullptr;
    QLabel* lbl_txtold = nullptr;
    QLabel* lbl_txtnew = nullptr;
    QPushButton* cmd_Ok = nullptr;
    QPushButton* cmd_Cancel = nullptr;

    void on_load() override;
    void on_close_request() override;

private:
    // Writes the new text into the work file: false, with nothing written,
    // when the editor's current row is no text of the chosen screen.
    bool SSED_Write_Text();
    void ok();

    std::string screen_path_;
    std::string work_path_;
};

}  // namespace px::maint
