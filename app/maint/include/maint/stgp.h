// The user part-group maintenance screen: group codes with a description and
// up to 100 part-name codes, edited in the common library's group work table
// and saved to the group files by F10 (and by deleting a group). F2 prints
// the group list (Stgp_Print), the group-code button opens the pop-up Kgrr,
// which hands a chosen code back by setting txt_GroupCode.
//
// Entry modes: 1 group entry (the group frame usable), 2 part-name-code entry.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "shell/form.h"
#include "shell/listbox.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace px {
class PrinterObject;
}

namespace px::maint {

class Stgp : public Form {
public:
    static constexpr const char* kName = "Stgp";
    static constexpr int16_t kGroupEntry = 1;
    static constexpr int16_t kPncEntry = 2;
    // Shown when a part-name code could not be looked up because the
    // catalogue CD is not there: the code stays in the box.
    static constexpr int16_t kMsgCdMissing = 887;

    Stgp();
    ~Stgp() override;

    QLabel* lbl_stgp = nullptr;
    QGroupBox* fra_stgp = nullptr;
    QGroupBox* fra_Group = nullptr;
    QGroupBox* fra_PNC = nullptr;
    QLabel* lbl_GroupCode = nullptr;
    QLineEdit* txt_GroupCode = nullptr;
    QPushButton* cmd_GroupCode = nullptr;
    QLabel* lbl_Description[2] = {};
    QLineEdit* txt_Description = nullptr;
    QPushButton* cmd_DelGroup = nullptr;
    QLabel* lbl_Pnc = nullptr;
    QLineEdit* txt_Pnc = nullptr;
    QLabel* lbl_PNCDescription = nullptr;
    QListWidget* lst_Pnc = nullptr;
    QPushButton* cmd_DelPnc = nullptr;

    int16_t entry_mode() const { return entry_mode_; }
    int16_t pnc_edit_position() const { return pnc_edit_; }

    void on_load() override;
    void on_activate() override;
    void on_unload() override;
    bool on_key_down(int key_code) override;
    void on_pf_click(int n) override;
    bool eventFilter(QObject* obj, QEvent* event) override;

    // The group list on the printer: 0, or the failing code (logged).
    int32_t Stgp_Print();

private:
    void STGP_Clear_Screen();
    int32_t Init_Stgp();
    void STGP_Set_Print_Font(PrinterObject& printer, int16_t font_index);
    void exec_pf(int n);
    void save();
    void set_entry_mode(int16_t mode);
    void apply_entry_mode();
    void full_failure();
    void short_failure();
    void leave_back();
    void leave_menu();

    // The code box's text as the library takes it (NUL-terminated, ANSI).
    std::string code() const;
    std::string description() const;
    // Shows a known group (description, part-name lines): false when the
    // screen left by its failure path or the list could not be built.
    bool show_group(const std::string& code, bool* known);

    void group_code_changed();
    bool group_code_key_press(QKeyEvent* e);
    void group_code_key_up(int key);
    bool description_key_press(QKeyEvent* e);
    void description_key_up(int key);
    bool pnc_key_press(QKeyEvent* e);
    void pnc_changed();
    void store_pnc();
    void pnc_double_click();
    void STGP_Delete_Pnc();
    void STGP_Delete_Group();
    void open_group_list();

    std::unique_ptr<ListBoxControl> pnc_list_;
    int16_t pnc_edit_ = -1;
    int16_t load_status_ = 0;
    int16_t entry_mode_ = kGroupEntry;
    bool filling_ = false;  // the screen sets a box itself: its change rule stays out
    bool leaving_ = false;
};

}  // namespace px::maint
