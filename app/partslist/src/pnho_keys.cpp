// The parts-list screen's keys: the three key sets, the dispatcher, and the
// hand-offs to printing, the price list, saving, export and the features.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "partslist/pnho.h"
#include "partslist/pnho_entries.h"
#include "partslist/pnho_module.h"
#include "platform/files.h"
#include "shell/price_export_handover.h"
#include "shell/codepage.h"
#include "shell/grid.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px {

namespace pl = partslist;
namespace eng = lib::partslist;

namespace {

constexpr int16_t kMsgPrompt = 105;
constexpr int16_t kMsgCondPrompt = 160;
constexpr int16_t kMsgPricing = 700;
constexpr int16_t kMsgMaking = 701;
constexpr int16_t kMsgSaving = 702;
constexpr int16_t kMsgPrinting = 707;
constexpr int16_t kMsgFirstPage = 801;
constexpr int16_t kMsgLastPage = 802;
constexpr int16_t kMsgNothingMarked = 836;
constexpr int16_t kMsgNoPrice = 839;
constexpr int16_t kMsgNoNarrowing = 840;
constexpr int16_t kMsgPriceNotSetUp = 850;
constexpr int16_t kMsgPrintRefused = 853;
constexpr int16_t kMsgRefused = 860;
constexpr int16_t kMsgSaved = 886;

// A path string for the engine and the path it leaves in it.
struct PathBuffer {
    std::string bytes = std::string(pl::kPathBuffer, '\0');
    VbString str{bytes.data(), pl::kPathBuffer};
    std::string path() const { return field_text(bytes.data(), bytes.size()).trimmed().toStdString(); }
};

}  // namespace

void Pnho::Pnho_SetPFKeys(int16_t mode) {
    const int always[5] = {1, 5, 6, 7, 8};
    const int texts[5] = {200, 204, 205, 206, 207};
    for (int i = 0; i < 5; ++i) cmd_PF(always[i])->setText(ScrText(texts[i], 8).trimmed());
    // Only list mode takes the grid; set once, for disabling the grid that
    // has the focus would hand the focus to a key.
    msg_Pnho->setEnabled(mode == kModeList);
    auto set = [this](int key, int text, bool shown, int width = 11) {
        if (text > 0) cmd_PF(key)->setText(ScrText(text, width).trimmed());
        cmd_PF(key)->setVisible(shown);
    };
    if (mode == kModeList) {
        bool f10 = eng::pnho_check_LclFigFlg(1) != 1;
        set(1, 0, true);
        set(2, 201, true);
        set(3, 202, true);
        set(4, 203, true);
        set(5, 0, true);
        set(6, 0, true);
        set(7, 0, true);
        set(8, 0, true);
        set(9, 208, true, 8);
        set(10, 222, f10);
        set(11, 224, true);
        set(12, 225, true);
    } else if (mode == kModeKeys2) {
        bool f10 = eng::pnho_check_LclFigFlg(1) != 1;
        set(1, 0, true);
        set(2, 217, true);
        set(3, 218, true);
        set(4, 219, true);
        set(5, 0, true);
        set(6, 0, true);
        set(7, 0, false);
        set(8, 0, false);
        set(9, 0, false);
        set(10, 226, f10);
        set(11, 215, true);
        set(12, 216, true);
    } else if (mode == kModeConditions) {
        set(1, 0, true);
        set(2, 0, false);
        set(3, 202, true);
        set(4, 0, false);
        set(5, 0, false);
        set(6, 0, true);
        set(7, 0, false);
        set(8, 0, false);
        set(9, 0, false);
        set(10, 209, true);
        set(11, 210, true);
        set(12, 211, true);
    }
}

void Pnho::enter_list_mode() {
    PnhoMode = kModeList;
    Pnho_SetPFKeys(PnhoMode);
    grid_focus();
}

bool Pnho::on_key_down(int key_code) {
    if (key_code >= kKeyF1 && key_code <= kKeyF12) {
        int index = key_code - kKeyF1 + 1;
        // The key of a hidden button does nothing and goes no further.
        if (!cmd_PF(index)->isHidden()) cmd_PF_Click(index);
        return true;
    }
    if (key_code == kKeyEnter) return form_key_enter();
    return false;
}

void Pnho::on_pf_click(int n) { cmd_PF_Click(n); }

void Pnho::cmd_PF_Click(int index) {
    if (closed_) return;
    try {
        if (txt_Qty->isVisible()) txt_Qty->hide();
        DispMsg(kMsgPrompt, lbl_Msg);
        if (index >= 1 && index <= 12) {
            if (index == 1) ShowHelp(*this);
            else if (index == 6) HardCopy(*this, lbl_Msg);
            else if (PnhoMode == kModeList) list_key(index);
            else if (PnhoMode == kModeKeys2) keys2_key(index);
            else if (PnhoMode == kModeConditions) conditions_key(index);
        }
    } catch (const RuntimeError& e) {
        // The action ends where it failed; no message, but the log says why.
        WriteErrorLog("PXPNHO", "cmd_PF_Click", e.step(), e.number(), index, 0);
        if (!closed_) redraw(true);
    }
    SetDefaultPointer();
}

void Pnho::list_key(int index) {
    switch (index) {
        case 2: Pnho_ExecPrint(); break;
        case 3:
            if (lib::partslist::VBClearSelectTmp() == 0) {
                closed_ = true;
                ScrBack();
                unload_form(*this);
            } else {
                Pnho_Exit(-1);
            }
            break;
        case 4:
            closed_ = true;
            ScrBackToMenu();
            unload_form(*this);
            break;
        case 5:
            PnhoMode = kModeKeys2;
            redraw(false);
            Pnho_SetPFKeys(PnhoMode);
            redraw(true);
            break;
        case 7:
            if (PnhoPageIndex != 0) {
                redraw(false);
                Pnho_ChangePage(-1);
                PnhoAtLastPage = false;
                redraw(true);
                grid_focus();
            } else {
                DispMsg(kMsgFirstPage, lbl_Msg);
                Beep();
            }
            break;
        case 8:
            if (!PnhoAtLastPage) {
                redraw(false);
                Pnho_ChangePage(1);
                redraw(true);
                grid_focus();
            } else {
                DispMsg(kMsgLastPage, lbl_Msg);
                Beep();
            }
            break;
        case 9: ShowModalOwned(load_form("Ryak"), this); break;
        case 10:
            redraw(false);
            Pnho_LoadMatch();
            if (!closed_) redraw(true);
            break;
        case 11:
            closed_ = true;
            ScrBackTo("Krot");
            unload_form(*this);
            break;
        case 12:
            if (eng::pnho_reset_mstflag() == 0) {
                closed_ = true;
                ScrBackTo("Vjin");
                unload_form(*this);
            } else {
                Pnho_Exit(-1);
            }
            break;
        default: break;
    }
}

void Pnho::keys2_key(int index) {
    switch (index) {
        case 2: Pnho_ExecPrice(0); break;
        case 3: Pnho_ExecPrice(1); break;
        case 4: Pnho_ExecPrice(2); break;
        case 5:
            redraw(false);
            enter_list_mode();
            redraw(true);
            break;
        case 10: start_conditions(); break;
        case 11:
            if (eng::pnho_check_selcnt() > 0) {
                Pnho_ExecSave();
            } else {
                DispMsg(kMsgNothingMarked, lbl_Msg);
                Beep();
            }
            if (closed_) return;
            enter_list_mode();
            break;
        case 12:
            if (eng::pnho_check_selcnt() > 0) {
                PriceExportHandover& h = price_export_handover();
                h.ExportSource = -1;
                h.ExportFailed = 0;
                // The export dialog comes with the price screens; without it
                // the key does nothing more.
                if (form_exists("Intf")) show_modal(load_form("Intf"));
                if (h.ExportFailed == -1) Pnho_Exit(0);
            } else {
                DispMsg(kMsgNothingMarked, lbl_Msg);
                Beep();
            }
            break;
        default: break;
    }
}

void Pnho::conditions_key(int index) {
    switch (index) {
        case 3:
            redraw(false);
            eng::pnho_close_pop();
            Pnho_DispVehicle(-1);
            Pnho_OpenCondBoxes(false);
            enter_list_mode();
            redraw(true);
            break;
        case 10: narrow_by_conditions(); break;
        case 11:
            redraw(false);
            Pnho_DispVehicle(-1);
            Pnho_OpenCondBoxes(true);
            redraw(true);
            break;
        case 12: show_features(); break;
        default: break;
    }
}

void Pnho::start_conditions() {
    redraw(false);
    SetHourglass();
    int16_t r = eng::pnho_check_retran();
    if (r == 0) {
        PnhoMode = kModeConditions;
        Pnho_SetPFKeys(PnhoMode);
        Pnho_OpenCondBoxes(true);
        DispMsg(kMsgCondPrompt, lbl_Msg);
        redraw(true);
    } else if (r == kMsgNoNarrowing) {
        redraw(true);
        DispMsg(kMsgNoNarrowing, lbl_Msg);
        Beep();
    } else {
        redraw(true);
        Pnho_Exit(-1);
    }
}

void Pnho::narrow_by_conditions() {
    redraw(false);
    DispMsg(kMsgMaking, lbl_Msg);
    SetHourglass();
    std::string ad = to_ansi(txt_Ad->text() + txt_Ad2->text());
    int16_t r = eng::pnho_check_jouhou(1, ad.c_str());
    if (r == kMsgRefused) {
        redraw(true);
        DispMsg(kMsgRefused, lbl_Msg);
        Beep();
        return;
    }
    if (r != 0) {
        redraw(true);
        Pnho_Exit(-1);
        return;
    }
    eng::pnho_set_FrameModel(to_ansi(txt_FrameModel->text()).c_str());
    eng::pnho_set_FrameNo(to_ansi(txt_FrameNo->text()).c_str());
    eng::pnho_set_Ad(ad.c_str());
    eng::pnho_set_ColorNo(to_ansi(txt_ColorNo->text()).c_str());
    eng::pnho_set_TrimNo(to_ansi(txt_TrimNo->text()).c_str());
    pl::pnho_module().price_kind = 0;
    PnhoMatchState = 0;
    lbl_Match[0]->setText(ScrText(2215, 10));
    int32_t zero = 0;
    r = eng::pnho_exec_retran(&zero);
    if (r != 0) {
        enter_list_mode();
        redraw(true);
        return;
    }
    int32_t e = Pnho_msg_Pnho_Set(-1);
    if (e != 0) {
        WriteErrorLog("PXPNHO", "Pnho_Retran", "Pnho_msg_Pnho_Set", e, 0, 0);
        redraw(true);
        Pnho_Exit(-1);
        return;
    }
    Pnho_MoveRow(0);
    enter_list_mode();
    redraw(true);
}

void Pnho::show_features() {
    pl::PnhoModule& m = pl::pnho_module();
    PathBuffer kinds, codes;
    int16_t r = eng::pnho_exec_pop(&kinds.str, &codes.str);
    m.feature_kind_path = kinds.path();
    m.feature_code_path = codes.path();
    if (r == 4) {
        Pnho_Exit(0);
        return;
    }
    if (r != 0) {
        Pnho_Exit(-1);
        return;
    }
    ShowModalOwned(load_form("Toku"), this);
    if (closed_) return;
    Pnho_DispVehicle(0);
    DispMsg(kMsgPrompt, lbl_Msg);
}

void Pnho::Pnho_ExecPrint() {
    pl::PnhoModule& m = pl::pnho_module();
    SetHourglass();
    DispMsg(kMsgPrinting, lbl_Msg);
    PathBuffer buf;
    int16_t r = eng::pnho_exec_print(&buf.str);
    m.print_path = buf.path();
    if (r == 0) {
        int status = Pnho_PrintList();
        plat::delete_file(m.print_path);
        // A print that failed has said so; only a whole print gets the prompt.
        if (status == 0) DispMsg(kMsgPrompt, lbl_Msg);
    } else if (r == kMsgPrintRefused) {
        DispMsg(kMsgPrintRefused, lbl_Msg);
        Beep();
    } else if (r == 4) {
        Pnho_Exit(0);
    } else {
        Pnho_Exit(-1);
    }
    SetDefaultPointer();
}

void Pnho::Pnho_ExecPrice(int16_t kind) {
    pl::PnhoModule& m = pl::pnho_module();
    SetHourglass();
    DispMsg(kMsgPricing, lbl_Msg);
    PathBuffer buf;
    int16_t r = eng::pnho_exec_price(kind, &buf.str);
    m.price_path = buf.path();
    if (r == -1 || r == kMsgNothingMarked || r == kMsgPriceNotSetUp) {
        DispMsg(r == -1 ? kMsgNoPrice : r, lbl_Msg);
        Beep();
        SetDefaultPointer();
        return;
    }
    if (r != 0) {
        SetDefaultPointer();
        Pnho_Exit(-1);
        return;
    }
    m.price_kind = kind;
    if (form_exists("Pric")) {
        PriceExportHandover& h = price_export_handover();
        h.PriceFilePath = m.price_path;
        h.PriceKind = kind;
        h.PriceListFailed = 0;
        ShowModalOwned(load_form("Pric"), this);
        if (h.PriceListFailed != 0) {
            // The price list could not show: the menu, and nothing more here.
            closed_ = true;
            ScrBackToMenu();
            unload_form(*this);
            SetDefaultPointer();
            return;
        }
    } else {
        // No price list in this program: its file would only be left behind.
        plat::delete_file(m.price_path);
    }
    DispMsg(kMsgPrompt, lbl_Msg);
    SetDefaultPointer();
}

void Pnho::Pnho_ExecSave() {
    SetHourglass();
    DispMsg(kMsgSaving, lbl_Msg);
    int16_t r = eng::pnho_exec_save();
    if (r == 0) {
        DispMsg(kMsgSaved, lbl_Msg);
        Beep();
    } else if (r == 855 || r == 836 || r == 900) {
        DispMsg(r, lbl_Msg);
        Beep();
    } else {
        Pnho_Exit(-1);
    }
    SetDefaultPointer();
}

bool Pnho::form_key_enter() {
    QWidget* w = focusWidget();
    auto* box = qobject_cast<QLineEdit*>(w);
    if (box == nullptr) return false;
    if (box == txt_Qty) {
        redraw(false);
        Pnho_SetQty(true);
        grid_focus();
        redraw(true);
        return true;
    }
    auto boxes = cond_boxes();
    for (int i = 0; i < 6; ++i)
        if (boxes[static_cast<size_t>(i)] == box) {
            int next = i == 5 ? kTabFrameModel : kTabFrameModel + i + 1;
            Pnho_FocusCondition(next);
            return true;
        }
    return true;
}

}  // namespace px
