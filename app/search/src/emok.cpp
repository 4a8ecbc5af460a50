#include "search/emok.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "search/route_context.h"
#include "search/route_entries.h"
#include "shell/codepage.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/picture_box.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/vehicle_header.h"

namespace px::search {

namespace {

constexpr int16_t kMsgGuide = 117;
constexpr int16_t kMsgNoPageBefore = 801;
constexpr int16_t kMsgNoPageAfter = 802;
constexpr int16_t kMsgFigureListFull = 811;
constexpr int16_t kMsgNothingSelected = 831;
constexpr int16_t kMsgNoIndexPage = 861;

constexpr int16_t kStatusBeforeFirst = 1;
constexpr int16_t kStatusAfterLast = 2;
constexpr int16_t kStatusNoCd = 4;
constexpr int16_t kStatusListFull = 6;
constexpr int kFailed = -1;

constexpr int16_t kLoadNoCd = 1;

// The boxes' inner area: the bitmap's 640 x 352 source at the library's
// scale of 90 in 100, so that its hot spots fall on what is shown.
constexpr int kBoxWidth = Emok::kSourceWidth * 9 / 10, kBoxHeight = Emok::kSourceHeight * 9 / 10;

}  // namespace

Emok::Emok() : SearchScreen(kName) {
    auto* layout = make_frame({.size = {1020, 760}, .keys = {1, 3, 4, 6, 7, 8, 10, 11, 12}});
    auto* body = new QHBoxLayout;
    auto* pictures = new QVBoxLayout;
    pic_FigZen = new PictureBox(this);
    pic_FigZen->setObjectName("pic_FigZen");
    pic_FigSho = new PictureBox(this);
    pic_FigSho->setObjectName("pic_FigSho");
    for (PictureBox* box : {pic_FigZen, pic_FigSho}) {
        box->setFixedSize(kBoxWidth, kBoxHeight);
        box->clear_picture();
        pictures->addWidget(box);
    }
    pic_FigZen->on_mouse_down = [this](int, int, float x, float y) {
        run("pic_FigZen_MouseDown", [&] {
            int16_t status = 0;
            const int32_t r = lib::VBEmokSelectZentai(pic_FigZen->hdc(), pic_FigZen->hwnd(), pic_FigSho->hdc(),
                                                      pic_FigSho->hwnd(), list_control_->hwnd(), x, y, &status);
            after_pick(r, status, true);
        });
    };
    pic_FigSho->on_mouse_down = [this](int, int, float x, float y) {
        run("pic_FigSho_MouseDown", [&] {
            int16_t status = 0;
            const int32_t r = lib::VBEmokSelectShosai(pic_FigZen->hdc(), pic_FigZen->hwnd(), pic_FigSho->hdc(),
                                                      pic_FigSho->hwnd(), list_control_->hwnd(), x, y, &status);
            after_pick(r, status, true);
        });
    };
    pictures->addStretch(1);
    body->addLayout(pictures);
    auto* right = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    lbl_TtlFigIdx = make_label("lbl_TtlFigIdx");
    lbl_NextEnd = make_label("lbl_NextEnd");
    top->addWidget(lbl_TtlFigIdx, 1);
    top->addWidget(lbl_NextEnd);
    right->addLayout(top);
    lst_FigNo = make_line_list("lst_FigNo", true);
    lst_FigNo->setMinimumWidth(LineWidth(37));
    lst_FigNo->viewport()->installEventFilter(this);
    lst_FigNo->installEventFilter(this);
    list_control_ = std::make_unique<ListBoxControl>(lst_FigNo);
    right->addWidget(lst_FigNo, 1);
    body->addLayout(right, 1);
    layout->addLayout(body, 1);
}

Emok::~Emok() = default;

void Emok::on_load() {
    Hourglass pointer;
    LoadState = 0;
    lib::VBClearSelTmp();
    setWindowTitle(ScreenText(1700, 20).trimmed());
    lbl_TtlFigIdx->setText(ScreenText(1701, 26));
    msg(kMsgGuide);
    set_key_captions(
        {{1, 200}, {3, 202}, {4, 203}, {6, 205}, {7, 206}, {8, 207}, {10, 209}, {11, 210}, {12, 227}});
    if (lib::VBread_figno() != 0) {
        msg(kMsgSystemError);
        LoadState = kLoadFailed;
        return;
    }
    int16_t count = 0, status = 0;
    if (lib::VBEmokInit(&count, &status) != 0) {
        msg(kMsgSystemError);
        LoadState = kLoadFailed;
        return;
    }
    if (status == kStatusNoCd) {
        LoadState = kLoadNoCd;
        return;
    }
    if (count == 0) {
        msg(kMsgNoIndexPage);
        Beep();
        return;
    }
    PageNo = 1;
    const int shown = page_display(1, false, "Form_Load");
    if (shown == kStatusNoCd) LoadState = kLoadNoCd;
    if (shown == kFailed) LoadState = kLoadFailed;
}

void Emok::on_activate() {
    if (LoadState == kLoadReady) {
        lst_FigNo->setFocus();
        return;
    }
    if (LoadState == kLoadLeaving) return;
    const int16_t state = LoadState;
    LoadState = kLoadLeaving;
    if (state == kLoadFailed) ShowErrorDialog(*this);
    MenuVar_Menu();
}

void Emok::on_unload() { lib::VBEmokTerm(); }

int32_t Emok::LoadStretchBitmap(int kind, const std::string& path) {
    QImage picture;
    const int32_t r = load_picture_file(up_to_nul(path), &picture);
    if (r != 0) return r;
    PictureBox* box = kind == 1 ? pic_FigZen : pic_FigSho;
    box->paint_picture(picture, QRect(0, 0, box->width(), box->height()), QRect(0, 0, kSourceWidth, kSourceHeight));
    return 0;
}

bool Emok::repaint_pictures(const char* procedure) {
    for (int kind : {1, 2}) {
        const int32_t r = LoadStretchBitmap(kind, kind == 1 ? ZenBmpPath : ShoBmpPath);
        if (r == 0) continue;
        WriteErrorLog("PXEMOK.FRM", procedure, "LoadStretchBitmap", r, 0, kind);
        return false;
    }
    return true;
}

int Emok::page_display(int16_t n, bool paging, const char* procedure) {
    // Copies of the page's paths: a page the library does not make (a
    // refused move, the CD missing) leaves the page shown as it was.
    std::string sho = ShoBmpPath, zen = ZenBmpPath, fig = FigListPath;
    VbString s{sho.data(), 80}, z{zen.data(), 80}, f{fig.data(), 80};
    int16_t last = 0, status = 0;
    if (lib::VBEmokGetPageData(n, &s, &z, &f, &last, &status) != 0) {
        msg(kMsgSystemError);
        return kFailed;
    }
    if (status == kStatusBeforeFirst || status == kStatusAfterLast || status == kStatusNoCd) return status;
    ShoBmpPath = sho;
    ZenBmpPath = zen;
    FigListPath = fig;
    if (paging) {
        msg(kMsgGuide);
        PageNo = n;
    }
    lbl_NextEnd->setText(ScreenText(last == 1 ? 101 : 100, 5));
    if (lib::VBSetListBox(list_control_->hwnd(), up_to_nul(FigListPath).c_str()) != 0 || !repaint_pictures(procedure)) {
        msg(kMsgSystemError);
        return kFailed;
    }
    lib::VBEmokSelectAll(pic_FigZen->hdc(), pic_FigZen->hwnd(), pic_FigSho->hdc(), pic_FigSho->hwnd(),
                         list_control_->hwnd());
    if (paging) lst_FigNo->setFocus();
    return 0;
}

void Emok::on_function_key(int n) {
    switch (n) {
        case 1:
            ShowHelp(*this);
            msg(kMsgGuide);
            lst_FigNo->setFocus();
            break;
        case 3: MenuVar_Back(); break;
        case 4: MenuVar_Menu(); break;
        case 6:
            msg(kMsgGuide);
            HardCopy(*this, lbl_Msg);
            break;
        case 7: change_page(-1); break;
        case 8: change_page(1); break;
        case 10: MenuVar_Bunz(); break;
        case 11: MenuVar_Cler(); break;
        case 12: MenuVar_Vinf(); break;
        default: break;
    }
}

void Emok::MenuVar_Back() {
    lib::VBclear_figno();
    go_back();
}

void Emok::MenuVar_Menu() {
    lib::VBclear_figno();
    go_menu();
}

void Emok::change_page(int step) {
    Hourglass pointer;
    // Without any page (none for the chosen groups) there is nothing to turn.
    if (PageNo == 0) return;
    const int16_t n = static_cast<int16_t>(PageNo + step);
    const int shown = page_display(n, true, step < 0 ? "MenuVar_Prev" : "MenuVar_Next");
    if (shown == kFailed) {
        ShowErrorDialog(*this);
        return MenuVar_Menu();
    }
    if (shown == kStatusNoCd) return MenuVar_Menu();
    if (step < 0 && shown == kStatusBeforeFirst) {
        msg(kMsgNoPageBefore);
        Beep();
    } else if (step > 0 && shown == kStatusAfterLast) {
        msg(kMsgNoPageAfter);
        Beep();
    }
}

void Emok::MenuVar_Cler() {
    Hourglass pointer;
    // Without a page there are no pictures to repaint, only picks to drop.
    if (PageNo != 0 && !repaint_pictures("MenuVar_Cler")) {
        msg(kMsgSystemError);
        ShowErrorDialog(*this);
        return MenuVar_Menu();
    }
    lib::VBEmokClear(list_control_->hwnd());
    msg(kMsgGuide);
    lst_FigNo->setFocus();
}

void Emok::MenuVar_Bunz() {
    Hourglass pointer;
    int16_t count = 0;
    lib::VBwrite_figno(&count);
    if (count == 0) {
        msg(kMsgNothingSelected);
        return Beep();
    }
    open_next("Bunz");
}

void Emok::MenuVar_Vinf() {
    if (ShowVehicleInfoDialog(*this) != 0) {
        msg(kMsgSystemError);
        ShowErrorDialog(*this);
        return MenuVar_Menu();
    }
    msg(kMsgGuide);
    lst_FigNo->setFocus();
}

void Emok::after_pick(int32_t result, int16_t status, bool focus_list) {
    if (result != 0) {
        msg(kMsgSystemError);
        ShowErrorDialog(*this);
        return MenuVar_Menu();
    }
    if (status == kStatusListFull) {
        msg(kMsgFigureListFull);
        Beep();
    }
    if (focus_list) lst_FigNo->setFocus();
}

bool Emok::on_other_key(int key_code) {
    // The space bar is swallowed: it neither marks a line nor presses a button.
    if (key_code == ' ') return true;
    if (key_code != kKeyEnter || focusWidget() != lst_FigNo) return false;
    int16_t status = 0;
    const int32_t r = lib::VBEmokSelectListBox(pic_FigZen->hdc(), pic_FigZen->hwnd(), pic_FigSho->hdc(),
                                               pic_FigSho->hwnd(), list_control_->hwnd(), &status);
    after_pick(r, status, false);
    return true;
}

bool Emok::eventFilter(QObject* watched, QEvent* event) {
    if (!loaded()) return false;
    if (watched == lst_FigNo && event->type() == QEvent::KeyPress)
        return static_cast<QKeyEvent*>(event)->matches(QKeySequence::SelectAll);
    if (watched != lst_FigNo->viewport()) return false;
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        auto* me = static_cast<QMouseEvent*>(event);
        QListWidgetItem* item = lst_FigNo->itemAt(me->position().toPoint());
        lst_FigNo->setFocus();
        if (item == nullptr || event->type() != QEvent::MouseButtonPress) return true;
        lst_FigNo->setCurrentItem(item, QItemSelectionModel::NoUpdate);
        run("lst_FigNo_MouseDown", [this] {
            int16_t status = 0;
            const int32_t r = lib::VBEmokSelectListBox(pic_FigZen->hdc(), pic_FigZen->hwnd(), pic_FigSho->hdc(),
                                                       pic_FigSho->hwnd(), list_control_->hwnd(), &status);
            after_pick(r, status, true);
        });
        return true;
    }
    return event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseMove;
}

PX_FORM(Emok);

}  // namespace px::search
