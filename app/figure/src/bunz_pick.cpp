// Picking on the illustration screen: reference numbers picked on the picture
// or in the lists, quantities, the enlarged page moved by the right button,
// the overview box and the scroll bars, and the opening of a
// sub-illustration.
#include <algorithm>

#include <QFrame>
#include <QLabel>
#include <QScrollBar>

#include "figure/bunz.h"
#include "figure/bunz_entries.h"
#include "figure/bunz_util.h"
#include "shell/codepage.h"
#include "shell/messages.h"
#include "shell/picture_box.h"
#include "shell/seams.h"

namespace px {

using namespace bunz_msg;

namespace {

constexpr int16_t kStFull = 6;
constexpr int16_t kStSubIllust = 31;

// The guard of the list handlers, set for the length of a library call.
class Busy {
public:
    explicit Busy(int16_t& flag) : flag_(flag) { flag_ = -1; }
    ~Busy() { flag_ = 0; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    int16_t& flag_;
};

}  // namespace

int16_t Bunz::list_kind() const {
    if (BunzViewMode == 1) return 1;
    return BunzListView == 1 ? 2 : 3;
}

PickList* Bunz::active_list() const { return list_kind() == 2 ? lst_SelPnc : lst_Pnc; }

// --- Lists -------------------------------------------------------------------------

void Bunz::lst_Pnc_Click() {
    if (BunzListBusy != 0) return;
    int32_t r = 0;
    {
        Busy busy(BunzListBusy);
        int16_t status = 0;
        r = bunz_lib::VBBunClickListBox(BunzViewMode == 1 ? 1 : 3, pnc_handle(), qty_handle(), &status);
    }
    if (r != 0) system_error_ending();
}

void Bunz::lst_SelPnc_Click() {
    if (BunzListBusy != 0) return;
    int32_t r = 0;
    {
        Busy busy(BunzListBusy);
        int16_t status = 0;
        r = bunz_lib::VBBunClickListBox(2, selpnc_handle(), qty_handle(), &status);
    }
    if (r != 0) system_error_ending();
}

void Bunz::lst_Pnc_Pick() { list_pick(lst_Pnc, BunzViewMode == 1 ? 1 : 3, true); }
void Bunz::lst_SelPnc_Pick() { list_pick(lst_SelPnc, 2, false); }

void Bunz::list_pick(PickList* list, int16_t kind, bool opens_sub) {
    if (BunzListBusy != 0) return;
    bool failed = false;
    {
        Busy busy(BunzListBusy);
        int16_t status = 0;
        const int32_t list_handle = list == lst_Pnc ? pnc_handle() : selpnc_handle();
        if (bunz_lib::VBBunSelectListBox(kind, pic_Bun->hdc(), pic_Bun->hwnd(), list_handle, qty_handle(), &status) !=
            0) {
            failed = true;
        } else if (status == kStFull) {
            DispMsg(kMsgSelectionFull, lbl_Msg);
            Beep();
        } else if (status == kStSubIllust && opens_sub) {
            if (OpenBunzSubIllust() != 0) failed = true;
        }
    }
    if (failed && !gone_) system_error_ending();
}

// --- Quantity ----------------------------------------------------------------------

bool Bunz::txt_Qty_KeyPress(int key_ascii) {
    if ((key_ascii >= '0' && key_ascii <= '9') || key_ascii == 13 || key_ascii == 27 || key_ascii == 8) return true;
    Beep();
    return false;
}

bool Bunz::txt_Qty_KeyDown(int key_code) {
    if (key_code == 38 || key_code == 40 || key_code == 27) {
        active_list()->setFocus();
        return true;
    }
    if (key_code == 13) entry_qty(0);
    return false;
}

void Bunz::upd_Qty_UpClick() { entry_qty(1); }
void Bunz::upd_Qty_DownClick() { entry_qty(-1); }

void Bunz::entry_qty(int16_t step) {
    int16_t status = 0;
    const int32_t list_handle = list_kind() == 2 ? selpnc_handle() : pnc_handle();
    bunz_lib::VBBunEntryQty(list_kind(), step, list_handle, qty_handle(), &status);
    if (status != 0) Beep();
}

// --- Picture -------------------------------------------------------------------------

void Bunz::pic_Bun_MouseDown(int button, int shift, float x, float y) {
    if (button == 1) {
        const int16_t kind = list_kind();
        const int32_t list_handle = kind == 2 ? selpnc_handle() : pnc_handle();
        int16_t status = 0;
        VbString name = vb(BunzPartName);
        if (bunz_lib::VBBunSelectIllust(kind, pic_Bun->hdc(), pic_Bun->hwnd(), list_handle, qty_handle(), &name, x, y,
                                        &status) != 0) {
            system_error_ending();
            return;
        }
        if (status == kStFull) {
            DispMsg(kMsgSelectionFull, lbl_Msg);
            Beep();
        } else if (status == kStSubIllust) {
            if (OpenBunzSubIllust() != 0) {
                if (!gone_) system_error_ending();
                return;
            }
            if (gone_) return;
        }
        lbl_PartName->setText(from_ansi(BunzPartName));
        return;
    }
    if (button != 2) return;
    if (BunzViewMode == 1) {
        SetHourglass();
        BunzViewMode = 2;
        BunzListView = 1;
        if (DispBun(0) != 0) {
            system_error_ending();
            SetDefaultPointer();
            return;
        }
        SetDefaultPointer();
        return;
    }
    // Enlarged: the page centred on the point, across then down. A move
    // never shows beyond the page's edge (the scroll bars' range).
    const int unit = std::max<int>(BunzScrollUnit, 1);
    if (!hsb_Move->isHidden()) {
        const int half = to_integer(pic_Cotn->width()) / 2;
        const int limit = to_integer(pic_Bun->width() - half);
        int px = to_integer(x);
        if (px < half) px = half;
        if (px > limit) px = limit;
        pic_Bun->move(std::clamp(half - px, -hsb_Move->maximum(), 0), pic_Bun->y());
        int n = (px - half) / unit;
        if (n + shp_Move->width() > pic_Move->width()) n = pic_Move->width() - shp_Move->width();
        shp_Move->move(n, shp_Move->y());
        if (px - half >= 0) hsb_Move->setValue(std::min(px - half, hsb_Move->maximum()));
    }
    if (!vsb_Move->isHidden()) {
        const int half = to_integer(pic_Cotn->height()) / 2;
        const int limit = to_integer(pic_Bun->height() - half);
        int py = to_integer(y);
        if (py < half) py = half;
        if (py > limit) py = limit;
        pic_Bun->move(pic_Bun->x(), std::clamp(half - py, -vsb_Move->maximum(), 0));
        int n = (py - half) / unit;
        if (n + shp_Move->height() > pic_Move->height()) n = pic_Move->height() - shp_Move->height();
        shp_Move->move(shp_Move->x(), n);
        if (py - half >= 0) vsb_Move->setValue(std::min(py - half, vsb_Move->maximum()));
    }
}

void Bunz::pic_Move_MouseDown(int button, int shift, float x, float y) {
    const int unit = std::max<int>(BunzScrollUnit, 1);
    if (!hsb_Move->isHidden()) {
        const int half = to_integer(shp_Move->width()) / 2;
        const int limit = to_integer(pic_Move->width() - half);
        int px = to_integer(x);
        if (px < half) px = half;
        if (px > limit) px = limit;
        shp_Move->move(px - half, shp_Move->y());
        pic_Bun->move(std::clamp((half - px) * unit, -hsb_Move->maximum(), 0), pic_Bun->y());
        if (px - half >= 0) hsb_Move->setValue(std::min((px - half) * unit, hsb_Move->maximum()));
    }
    if (!vsb_Move->isHidden()) {
        const int half = to_integer(shp_Move->height()) / 2;
        const int limit = to_integer(pic_Move->height() - half);
        int py = to_integer(y);
        if (py < half) py = half;
        if (py > limit) py = limit;
        shp_Move->move(shp_Move->x(), py - half);
        pic_Bun->move(pic_Bun->x(), std::clamp((half - py) * unit, -vsb_Move->maximum(), 0));
        if (py - half >= 0) vsb_Move->setValue(std::min((py - half) * unit, vsb_Move->maximum()));
    }
}

void Bunz::hsb_Move_Change() {
    pic_Bun->move(-hsb_Move->value(), pic_Bun->y());
    shp_Move->move(hsb_Move->value() / std::max<int>(BunzScrollUnit, 1), shp_Move->y());
}

void Bunz::vsb_Move_Change() {
    pic_Bun->move(pic_Bun->x(), -vsb_Move->value());
    shp_Move->move(shp_Move->x(), vsb_Move->value() / std::max<int>(BunzScrollUnit, 1));
}

// --- Sub-illustration ----------------------------------------------------------------

int32_t Bunz::OpenBunzSubIllust() {
    // The main page's key and record, shown again when the sub-illustration closes.
    if (BunzSubMode == 0) {
        main_key_ = BunzFigureKey;
        main_record_ = BunzPageRecord;
    }
    int16_t status = 0;
    VbString key = vb(BunzFigureKey), record = vb(BunzPageRecord);
    if (int32_t r = bunz_lib::VBBuszInit(&key, &record, &BunzMatchFlag, &BunzLastPage, &status); r != 0) {
        DispMsg(kMsgSystemError, lbl_Msg);
        return r;
    }
    switch (status) {
        case 0: BunzPictureState = 1; break;
        case 1: BunzPictureState = 0; break;
        case 4: ReturnBunzToMenu(); return 0;
        default: DispMsg(kMsgSystemError, lbl_Msg); return 0;
    }
    if (BunzPictureState != 0) {
        int16_t kind = 0;
        VbString code = vb(BunzPageCode), title = vb(BunzPageTitle), image = vb(BunzImagePath),
                 list = vb(BunzPartListPath);
        if (int32_t r = bunz_lib::VBBunzMakePageInfo(&code, &title, &image, &list, &kind, &status); r != 0) {
            DispMsg(kMsgSystemError, lbl_Msg);
            return r;
        }
        switch (status) {
            case 0: BunzPictureState = kind; break;
            case 4: ReturnBunzToMenu(); return 0;
            case 5: BunzPictureState = 3; break;
            default: DispMsg(kMsgSystemError, lbl_Msg); return 0;
        }
    }
    BunzSubMode = 1;
    BunzViewMode = 1;
    BunzKeySet = 1;
    BunzListView = 2;
    const int32_t r = DispBun(0);
    if (r != 0) DispMsg(kMsgSystemError, lbl_Msg);
    return r;
}

}  // namespace px
