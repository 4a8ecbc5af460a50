// The parts-list screen: the list the parts-list engine builds for the picks,
// page by page in a nine-column grid under the vehicle header; marks and
// quantities, narrowing to the vehicle or by conditions, printing, the price
// list, saving, export and the special features, on three sets of keys
// (1 list, 116 price and save, 121 conditions).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "partslist/pnho_pages.h"
#include <QString>

#include "shell/form.h"

class QLabel;
class QLineEdit;

namespace px {

class Grid;
class UpDown;

class Pnho : public Form {
public:
    static constexpr const char* kName = "Pnho";
    static constexpr int16_t kModeList = 1;
    static constexpr int16_t kModeKeys2 = 116;
    static constexpr int16_t kModeConditions = 121;
    // Tab positions of the six condition boxes, frame model first.
    static constexpr int kTabFrameModel = 39;
    static constexpr int kTabTrimNo = 44;

    Pnho();

    // Controls.
    Grid* msg_Pnho = nullptr;
    QLabel* lbl_title = nullptr;
    QLineEdit* txt_FrameModel = nullptr;
    QLineEdit* txt_FrameNo = nullptr;
    QLineEdit* txt_Ad = nullptr;
    QLineEdit* txt_Ad2 = nullptr;
    QLineEdit* txt_ColorNo = nullptr;
    QLineEdit* txt_TrimNo = nullptr;
    std::array<UpDown*, 2> upd_Ad{};
    std::array<QLabel*, 6> lbl_Cond{};  // captions of the condition boxes
    QLineEdit* txt_Qty = nullptr;
    QLabel* lbl_NowPage = nullptr;
    QLabel* lbl_Page = nullptr;
    std::array<QLabel*, 2> lbl_Match{};

    // Form state.
    int32_t PnhoRecordCount = 0;
    PartsList PnhoRecords;           // element 0 unused
    int32_t PnhoPageTop = 1;
    std::vector<int32_t> PnhoPageStarts{1};  // grows with the pages met
    int32_t PnhoPageIndex = 0;
    int32_t PnhoPageCount = 0;
    bool PnhoAtLastPage = false;
    int PnhoCharWidth = 0;
    int16_t PnhoMode = kModeList;
    int16_t PnhoMatchState = 0;
    int PnhoQtyRow = 0;
    int16_t PnhoCondFlagsSet = 0;
    int16_t PnhoCondFrameOpen = 0, PnhoCondYearOpen = 0, PnhoCondMonthOpen = 0, PnhoCondColorOpen = 0,
            PnhoCondTrimOpen = 0;
    int32_t PnhoLoadResult = 0;

    void on_load() override;
    void on_activate() override;
    void on_unload() override;
    bool on_key_down(int key_code) override;
    void on_pf_click(int n) override;
    void on_close_request() override {}

    // The key dispatcher, also for the keyboard (only a shown button's key).
    void cmd_PF_Click(int index);
    void Pnho_SetPFKeys(int16_t mode);
    // The one way into list mode: its keys, and the grid has the focus.
    void enter_list_mode();

    // Year and month stepping of the up-down buttons: the new text, or ""
    // when the step would leave the range.
    static QString Pnho_CheckYear(const QString& text, int step, int this_year);
    static QString Pnho_CheckMonth(const QString& text, int step, int this_month);

    // Prints the print file the engine wrote: 0, or the message shown for
    // the failure (842 printer, 999 the print file).
    int Pnho_PrintList();

private:
    friend class PnhoAccess;

    // Load, reading and layout.
    int32_t Pnho_msg_Pnho_Set(int flag);
    int32_t Pnho_LoadList();
    void Pnho_SetGridLayout();
    void Pnho_DispVehicle(int flag);
    void Pnho_Exit(int status);
    void set_header_row();

    // Paging and the row cursor.
    void Pnho_DispPage(int step);
    void Pnho_CountPages();
    void Pnho_ClearRows();
    void Pnho_ChangePage(int step);
    void Pnho_MoveRow(int step);
    void Pnho_Scroll(int step);
    void show_page_label();
    int32_t record_of_row(int row) const;

    // Keys.
    void list_key(int index);
    void keys2_key(int index);
    void conditions_key(int index);
    void start_conditions();
    void narrow_by_conditions();
    void show_features();
    void Pnho_ExecPrint();
    void Pnho_ExecPrice(int16_t kind);
    void Pnho_ExecSave();
    bool form_key_enter();

    // Marks, quantities, conditions.
    void Pnho_LoadMatch();
    void Pnho_OpenCondBoxes(bool open);
    void Pnho_ReverseSel(int row);
    void Pnho_InputQty(int row);
    void Pnho_SetQty(bool move_on);
    void msg_Pnho_Click();
    void msg_Pnho_KeyPress(int& key_ascii);
    void upd_Ad_Click(int index, int step);
    void cond_lost_focus(QLineEdit* box);
    void Pnho_CheckProDate();
    void Pnho_FocusCondition(int tab);
    std::array<QLineEdit*, 6> cond_boxes() const;

    void redraw(bool on);
    void grid_focus();

    bool closed_ = false;  // unloaded: later steps leave the form alone
};

}  // namespace px
