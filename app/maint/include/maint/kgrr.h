// The group code list pop-up of the part-group maintenance screen: one line
// per group of the group work table ("  " code, 5 blanks, description). Enter
// or a mouse press on a line hands its code to Stgp's txt_GroupCode (first
// the empty text, then the code, so Stgp's change rule runs for each) and
// closes the pop-up; F3 closes it without a choice. Shown without modality.
#pragma once

#include <memory>

#include "shell/form.h"
#include "shell/listbox.h"

class QGroupBox;
class QLabel;
class QListWidget;

namespace px::maint {

class Kgrr : public Form {
public:
    static constexpr const char* kName = "Kgrr";
    Kgrr();
    ~Kgrr() override;

    QLabel* lbl_title = nullptr;
    QGroupBox* fra_grpcdlst = nullptr;
    QLabel* lbl_GroupCode = nullptr;
    QLabel* lbl_Description = nullptr;
    QListWidget* lst_Group = nullptr;

    void on_load() override;
    void on_activate() override;
    bool on_key_down(int key_code) override;
    void on_pf_click(int n) override;
    void on_close_request() override;
    bool eventFilter(QObject* obj, QEvent* event) override;

    void KGRR_Select_Group();

private:
    std::unique_ptr<ListBoxControl> list_;
};

}  // namespace px::maint
