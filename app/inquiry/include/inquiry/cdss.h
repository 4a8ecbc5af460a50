// The catalogue-CD pop-up: the catalogue CDs of the owner's search listed
// under area headings, each with its issue date and an availability mark.
// In choose mode (PopupChoose 1: the applicability inquiry, the part-number
// search) the clerk marks the CDs the next search covers; in display mode
// (0: the part-number list) the marks only show which CDs are available.
// Shown modally by its owner (ShowModalOwned); it reads and deletes
// PXPOPUP.TMP and hands the choice back through popup_vars(). F12 confirms,
// F6 prints the owner screen.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "shell/form.h"

class QLabel;
class QListWidget;

namespace px {

// The lines of the list for the records of PXPOPUP.TMP: per area (E, G, U,
// J) a blank line (not before the first), the area heading and a blank
// line; then each record's display text. `kinds` gets '1' for a CD line and
// '0' for the others. headings: the texts of areas E, G, U and J.
void cdss_make_lines(const std::vector<std::string>& records, const std::array<QString, 4>& headings,
                     std::vector<QString>* lines, std::string* kinds);

class Cdss : public Form {
public:
    static constexpr const char* kName = "Cdss";
    Cdss();

    QListWidget* lst_PopUp = nullptr;
    std::array<QLabel*, 3> lbl_PopUp{};
    QLabel* lbl_dum = nullptr;

    // The records read, and one kind per list line ('1' a CD line); the
    // list grows with the records (no fixed limit of lines).
    const std::vector<std::string>& records() const { return records_; }
    const std::string& line_kinds() const { return CdssLineKinds; }

    void on_load() override;
    void on_activate() override;
    bool on_key_down(int key_code) override;
    void on_close_request() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool read_list();
    void make_list();
    void check_select(int key);
    void confirm();
    void clear_select();
    bool cd_line(int line) const;
    // The record of a CD line.
    const std::string& record_of(int line) const;
    bool has_cd_lines() const;

    std::vector<std::string> records_;
    std::string CdssLineKinds;
    int CdssLastKey = 0;
    bool CdssBusy = false;
    int CdssLoadState = 0;
};

}  // namespace px
