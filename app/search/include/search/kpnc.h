// The part-name-code entry lists: the clerk types part-name codes with
// quantities into a list (at most 1000 lines) and F10 hands it to the parts
// list as the selection SELECT.TMP.
//
// Kpnc is the list of the vehicle; Kgrp the same list for one user part
// group, which fetches the chosen group, has the key F12 and opens the
// group's pick list Kgpl by itself when it is first shown. A code typed with
// a trailing "*" lists every code that begins with it in the pick list Spnc;
// the picks come back into this list.
//
// Entry-list line (74 characters, search_route_layout.h): number "%03d" of
// its position, code, part name, quantity.
#pragma once

#include <array>
#include <memory>

#include "search/search_screen.h"
#include "shell/listbox.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace px::search {

class Kpnc : public SearchScreen {
public:
    static constexpr const char* kName = "Kpnc";
    Kpnc() : Kpnc(kName, false) {}
    ~Kpnc() override;

    QLineEdit* txt_Pnc = nullptr;
    QLineEdit* txt_Qty = nullptr;
    QPushButton* cmd_Pnc = nullptr;
    QListWidget* lst_Pnc = nullptr;
    std::array<QLabel*, 7> lbl_Ttl{};  // lbl_KpncTtl (lbl_KgrpTtl) 1-6
    QLabel* lbl_title = nullptr;

    int16_t EditLine = -1;

    void on_load() override;
    void on_activate() override;
    int32_t list_handle() const { return list_control_->hwnd(); }

    // The quantity of an entry as it goes into the list: two digits from
    // "01" to "99", "01" for an empty box.
    static std::string entry_quantity(const QString& typed);

protected:
    Kpnc(const char* name, bool group);
    void on_function_key(int n) override;
    bool on_other_key(int key_code) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Kgrp: the group's pick list (F12 and the first activation).
    void KGRP_GroupPick();

    const bool group_;
    int16_t PickShown = 0;

private:
    void KPNC_Entry();
    void KPNC_Exec();
    void KPNC_Clear();
    void delete_lines();
    void edit_line();
    void pick_from_prefix(const std::string& code);
    bool key_press(QObject* box, QKeyEvent* event);
    void key_release(QObject* box, QKeyEvent* event);
    void focus_pnc();

    std::unique_ptr<ListBoxControl> list_control_;
};

class Kgrp : public Kpnc {
public:
    static constexpr const char* kName = "Kgrp";
    Kgrp() : Kpnc(kName, true) {}
};

}  // namespace px::search
