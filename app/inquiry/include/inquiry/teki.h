// The applicability inquiry: the clerk collects up to ten part numbers,
// optionally chooses the catalogue CDs (F12, the pop-up Cdss), and F10
// lists in which catalogues each is used (PXTEKI writes SCRTEKI.TMP); F2
// prints the list, F11 starts again. Opened from item 2 of the main menu.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "shell/form.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace px {

class Grid;
class ListBoxControl;
class PrinterObject;

// "xxxxx-xxxxx-xx" of a part number typed in three parts (a 10-character
// entry ends in the second hyphen).
QString teki_edit_part_no(const QString& joined);
// 10 to 12 letters and digits.
bool teki_check_part_no(const QString& joined);

class Teki : public Form {
public:
    static constexpr const char* kName = "Teki";
    static constexpr int kMaxEntries = 10;
    Teki();
    ~Teki() override;

    QLabel* lbl_title = nullptr;
    QGroupBox* frm_Entry = nullptr;
    std::array<QLineEdit*, 3> txt_Enter{};
    QListWidget* lst_Entry = nullptr;
    QPushButton* cmd_Entry = nullptr;
    Grid* msg_Parts = nullptr;

    bool has_result() const { return TekiHasResult; }
    const std::string& result_path() const { return TekiResultPath; }

    void on_load() override;
    void on_activate() override;
    void on_unload() override;
    bool on_key_down(int key_code) override;
    void on_button_focus(QPushButton* button, bool got) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void grid_init();
    void set_captions();
    void enter_part_no();
    void remove_entry();
    void pf_exec();
    bool grid_set_data();
    void pf_clear();
    void pf_popup();
    void pf_print();
    void list_print(PrinterObject& p);
    void print_page_header(PrinterObject& p);
    QString find_entry_name(const std::string& part_no) const;
    void exit_to_menu();
    void fail_to_menu();

    std::unique_ptr<ListBoxControl> list_control_;
    std::string TekiResultPath;
    bool TekiHasResult = false;
    bool TekiNoCdInDrive = false;
    int16_t TekiLoadState = 0;
    int TekiCharWidth = 0;
    int TekiLineHeight = 0;
};

}  // namespace px
