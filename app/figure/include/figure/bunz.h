// The illustration screen: one page of a sectional illustration of the chosen
// figures at a time, whole beside its reference-number list or enlarged in a
// clipping frame with an overview box and scroll bars. The clerk pages
// through the figures, opens and closes sub-illustrations, switches the match
// setting, picks reference numbers and quantities into the selection list
// (on the picture or in the lists), prints the page, and hands the selection
// to the parts list (F10).
//
// The illustration library PXBUNZ keeps the page lists, the page's work files
// and the picks; the screen keeps the figure key, the page record, the flags
// and the paths the library returns, and shows the page from them (DispBun).
// All the screen's positions and sizes are pixels.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include <QImage>
#include <QLineEdit>
#include <QListWidget>

#include "shell/form.h"

class QFrame;
class QLabel;
class QScrollBar;

namespace px {

class ListBoxControl;
class PictureBox;
class UpDown;

// A list whose user actions reach the screen as the run time's events: a
// change of the current line by the clerk (Click), Enter (KeyPress 13) and
// any mouse button (MouseDown, after the line under the pointer became
// current). The space key never toggles a line.
class PickList : public QListWidget {
public:
    explicit PickList(QWidget* parent) : QListWidget(parent) {}
    std::function<void()> on_click;
    std::function<void()> on_enter;
    std::function<void()> on_mouse_down;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // Lines are never swept into the selection by dragging.
    void mouseMoveEvent(QMouseEvent* event) override {}
};

// The quantity box: at most two characters; the screen filters what is typed.
class QtyBox : public QLineEdit {
public:
    explicit QtyBox(QWidget* parent) : QLineEdit(parent) {}
    // A key went down (run-time key code); true when the screen consumed it.
    std::function<bool(int)> on_key_down;
    // A character was typed; false drops it.
    std::function<bool(int)> on_key_press;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class Bunz : public Form {
public:
    static constexpr const char* kName = "Bunz";
    Bunz();
    ~Bunz() override;

    // --- Form state (16-bit as the library sees them) ---------------------------
    int16_t BunzSubMode = 0;       // 1: the page belongs to an open sub-illustration
    int16_t BunzViewMode = 1;      // 1 whole, 2 enlarged
    int16_t BunzPictureState = 0;  // 0 no picture, 1 or 2 picture kind, 3 too large to decode
    int16_t BunzKeySet = 1;        // 1 or 2
    int16_t BunzListView = 2;      // 2 both lists, 1 selection-list layout, 0 no lists
    int16_t BunzScrollUnit = 0;    // page pixels per pixel of the overview box
    int16_t BunzLoadResult = 0;    // 0 ready, 1 leave quietly, 2 loading failed
    int16_t BunzMatchFlag = 0;
    int16_t BunzLastPage = 0;
    int16_t BunzListBusy = 0;
    // Fixed-length strings, blank-padded, as the library fills them.
    std::string BunzFigureKey = std::string(4, ' ');
    std::string BunzPageRecord = std::string(61, ' ');
    std::string BunzPageCode = std::string(7, ' ');
    std::string BunzPageTitle = std::string(250, ' ');
    std::string BunzPrintName = std::string(204, ' ');
    std::string BunzPartName = std::string(60, ' ');
    std::string BunzImagePath = std::string(80, ' ');
    std::string BunzPartListPath = std::string(80, ' ');

    // --- Controls ------------------------------------------------------------------
    std::array<QLabel*, 5> lbl_Ttl{};
    QLabel* lbl_NextEnd = nullptr;
    QLabel* lbl_Teki = nullptr;
    QLabel* lbl_Match = nullptr;
    QWidget* pic_Cotn = nullptr;
    PictureBox* pic_Bun = nullptr;
    QImage pic_Strch;  // the full page while it is painted at half size
    QLabel* lbl_NotIllust = nullptr;
    QLabel* lbl_BigIllust = nullptr;
    std::array<QFrame*, 4> lin_Frm{};
    QLabel* lbl_FigNo = nullptr;
    QLabel* lbl_FigName = nullptr;
    PickList* lst_Pnc = nullptr;
    PictureBox* pic_Move = nullptr;
    QFrame* shp_Move = nullptr;
    PickList* lst_SelPnc = nullptr;
    QScrollBar* hsb_Move = nullptr;
    QScrollBar* vsb_Move = nullptr;
    UpDown* upd_Qty = nullptr;
    QtyBox* txt_Qty = nullptr;
    QLabel* lbl_PartName = nullptr;

    // Handles the libraries are given.
    int32_t pnc_handle() const;
    int32_t selpnc_handle() const;
    int32_t qty_handle() const;

    // --- Handlers --------------------------------------------------------------------
    void on_load() override;
    void on_activate() override;
    void on_unload() override;
    bool on_key_down(int key_code) override;
    void on_pf_click(int n) override;

    // --- Keys (screen procedures) ------------------------------------------------------
    void ShowBunzHelp();
    void PrintBunzPage();
    void CloseBunzSubIllust();
    void ReturnBunzToMenu();
    void ToggleBunzPFSet();
    void HardCopyBunz();
    void ShowBunzPrevPage();
    void ShowBunzNextPage();
    void ToggleBunzMatch();
    void SubmitBunzSelection();
    void ClearBunzSelection();
    void ToggleBunzListView();
    void LoadBunzTexts();
    void SetPFKeys(int16_t state);

    // --- Page display -------------------------------------------------------------------
    int32_t DispBun(int16_t flag);
    int32_t LoadBunzBitmap(const std::string& path);
    int32_t LoadBunkBitmap(const std::string& path);
    void SetBunzFocus();

    // --- Picking --------------------------------------------------------------------------
    void lst_Pnc_Click();
    void lst_SelPnc_Click();
    void lst_Pnc_Pick();     // Enter or a mouse button on lst_Pnc
    void lst_SelPnc_Pick();  // Enter or a mouse button on lst_SelPnc
    bool txt_Qty_KeyPress(int key_ascii);
    bool txt_Qty_KeyDown(int key_code);
    void upd_Qty_UpClick();
    void upd_Qty_DownClick();
    void pic_Bun_MouseDown(int button, int shift, float x, float y);
    void pic_Move_MouseDown(int button, int shift, float x, float y);
    void hsb_Move_Change();
    void vsb_Move_Change();
    int32_t OpenBunzSubIllust();

    // The list kind of the moment: 1 whole, 2 enlarged with the selected-parts
    // list, 3 enlarged with the page's list.
    int16_t list_kind() const;
    // The list the clerk works in.
    PickList* active_list() const;
    // The paths the library returned, cut at their end.
    std::string image_path() const;
    std::string part_list_path() const;
    // True once the screen has unloaded itself: nothing more may touch it.
    bool gone() const { return gone_; }

private:
    enum class PageCall { kPrev, kNext, kMatch, kCloseSub };
    void page_call(PageCall call);
    void system_error_ending();
    void list_pick(PickList* list, int16_t kind, bool opens_sub);
    void entry_qty(int16_t step);
    void show_visibility(int column);
    void back_to_opener();
    // The caption buffers (screen texts at their widths).
    QString text(int no) const;

    std::unique_ptr<ListBoxControl> pnc_control_;
    std::unique_ptr<ListBoxControl> selpnc_control_;
    class QtyControl;
    std::unique_ptr<QtyControl> qty_control_;
    std::map<int, QString> texts_;
    // The main illustration's key and page record while a sub-illustration is
    // open: closing it shows them again.
    std::string main_key_, main_record_;
    bool gone_ = false;
};

}  // namespace px
