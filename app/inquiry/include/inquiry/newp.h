// The part-number list of a catalogue: the clerk enters a catalogue code,
// part of a car name or nothing (Enter or F10); a code is checked and used at
// once, anything else opens the catalogue list Vcat. PXNEWP writes the list
// of the catalogue's part numbers (new ones against the earlier issue) into
// PXNEWP2.TMP; the screen holds it whole and shows it in blocks of about
// 2000 records (F7, F8), prints it (F2), shows the installed CDs (F12) and
// starts again (F11). Opened from item 4 of the main menu.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/form.h"

class QLabel;
class QLineEdit;

namespace px {

class Grid;
class PrinterObject;

// Where a long part name (kind 0: first line at most 40 characters, the
// second at most 60) or application text (kind 1: 60, then 100) breaks: a
// comma or semicolon from the limit down to half of it, else a blank from
// the limit down; the break's 1-based position, 0 when there is none.
// *at_blank tells a break at a blank.
int newp_print_split(const std::string& text, int kind, bool* at_blank);
// The two printed lines of a long text (see newp_print_split): the text
// before the break; after it, the rest without the blank that follows a
// comma or semicolon. Without a break the text is cut at the limit.
void newp_split_lines(const std::string& text, int kind, std::string* first, std::string* second);

class Newp : public Form {
public:
    static constexpr const char* kName = "Newp";
    static constexpr int kMinGridRows = 23;
    Newp();

    QLineEdit* txt_Catalog = nullptr;
    QLabel* lbl_Catalog = nullptr;
    QLabel* lbl_Model = nullptr;
    QLabel* lbl_Cat = nullptr;
    QLabel* lbl_NewpTitle = nullptr;
    QPushButton* cmd_Search = nullptr;
    Grid* msg_Newp = nullptr;
    QLabel* lbl_Page = nullptr;

    int32_t record_count() const { return NewpRecCount; }
    int32_t block() const { return NewpBlock; }
    int32_t last_block() const { return NewpLastBlock; }
    int32_t block_start() const { return NewpBlockStart; }
    const std::string& key() const { return NewpKey; }

    void on_load() override;
    bool on_key_down(int key_code) override;
    void on_pf_click(int n) override;

private:
    void action(int n);
    void disp_msg(int16_t no);
    void enter();
    void search_click();
    void search(bool via_list);
    void set_state(int32_t count);
    bool data_set();
    void fill_block();
    void grid_layout();
    void grid_header();
    void grid_reset();
    void grid_home();
    void page_label();
    void prev_block();
    void next_block();
    void clear();
    void popup();
    void print_out();
    void print_head(PrinterObject& p);
    void resting_message();
    void exit_to_menu();
    void fail_to_menu();

    std::string NewpWork0Path, NewpListPath, NewpWork3Path;
    std::vector<std::string> NewpList;
    std::string NewpCatCode, NewpCarName, NewpDateFrom, NewpDateTo;
    std::string NewpKey;
    int32_t NewpRecCount = 0;
    int32_t NewpGridRows = kMinGridRows;
    int32_t NewpLastBlock = 0;
    int32_t NewpBlock = 0;
    int32_t NewpBlockStart = 0;
    std::vector<int32_t> NewpBlockStarts;
    int NewpCharWidth = 0;
    int NewpLineHeight = 0;
};

}  // namespace px
