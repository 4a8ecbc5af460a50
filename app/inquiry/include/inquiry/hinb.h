// The part-number and part-name search: the clerk enters a part-name code,
// or a part name (or a piece of one, "_" standing for a blank) and picks one
// of the matching names (Slpn); PXHINB lists the code's part numbers in
// every catalogue of the chosen CDs (F12, the pop-up Cdss) into PXHINB1.TMP,
// which the screen shows in pages of about 2000 records (F7, F8) and prints
// (F2). Opened from item 6 of the main menu.
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

class Hinb : public Form {
public:
    static constexpr const char* kName = "Hinb";
    static constexpr int kMinGridRows = 21;
    Hinb();

    QLabel* lbl_HinbTitle = nullptr;
    QLabel* lbl_Pname = nullptr;
    QLineEdit* txt_PNm = nullptr;
    QLabel* lbl_Pnm_Txt = nullptr;
    QLabel* lbl_PnCode = nullptr;
    QLineEdit* txt_Pnc = nullptr;
    QLabel* lbl_Pnc_Txt = nullptr;
    QLabel* lbl_Page = nullptr;
    Grid* msg_Parts = nullptr;

    int32_t list_count() const { return HinbListCount; }
    int32_t page() const { return HinbPage; }
    int32_t last_page() const { return HinbLastPage; }

    void on_load() override;
    void on_activate() override;
    bool on_key_down(int key_code) override;
    bool on_key_press(int key_ascii) override;
    void on_pf_click(int n) override;

private:
    void action(int n);
    void disp_msg(int16_t no);
    void prompt();
    void set_pf_keys();
    void set_mode(int mode);
    void clear_all();
    void clear_input();
    void term();
    void fail();
    void pnc_search();
    void name_search();
    void run_pn_main(const char* procedure);
    int32_t check_input(int mode);
    int32_t name_search_run();
    void cd_popup();
    int32_t read_list();
    void grid_set();
    void grid_layout();
    void grid_title();
    void grid_reset();
    void grid_home();
    void disp_page();
    void prev_page();
    void next_page();
    void print_out();
    void print_header(PrinterObject& p);

    int32_t HinbListCount = 0;
    bool HinbCdError = false;
    bool HinbNoCd = false;
    int16_t HinbLibMsg = 0;
    int32_t HinbGridRows = kMinGridRows;
    int32_t HinbPage = 0;
    int32_t HinbLastPage = 0;
    int32_t HinbPageStart = 0;
    std::vector<int32_t> HinbPageStarts;
    int HinbDigitWidth = 0;
    int HinbLineHeight = 0;
};

// The part-name pick list over PXHINB0.TMP: the names that hold the searched
// text (or whose code begins with the searched code); F10, Enter or a click
// picks one, F3 leaves without a pick.
class Slpn : public Form {
public:
    static constexpr const char* kName = "Slpn";
    Slpn();

    class QListWidget* Lst_PNm = nullptr;
    QLabel* lbl_Input = nullptr;
    QLabel* lbl_PNm = nullptr;
    QLabel* lbl_Desc = nullptr;
    QLabel* lbl_Pnc = nullptr;

    void on_load() override;
    void on_activate() override;
    void on_unload() override;
    bool on_key_down(int key_code) override;
    void on_close_request() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void select();
    void cancel();

    std::string SlpnName, SlpnPnc;
    int32_t SlpnCount = 0;
    int16_t SlpnLoadError = 0;
};

}  // namespace px
