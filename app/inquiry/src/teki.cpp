#include "inquiry/teki.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "inquiry/fixed_text.h"
#include "inquiry/inquiry_entries.h"
#include "inquiry/layouts.h"
#include "inquiry/popup_vars.h"
#include "inquiry/result_grid.h"
#include "shell/codepage.h"
#include "shell/field_box.h"
#include "shell/grid.h"
#include "shell/help.h"
#include "shell/listbox.h"
#include "shell/messages.h"
#include "shell/print_object.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px {

namespace {

namespace sr = teki::screen_rec;

constexpr int16_t kMsgResult = 105;
constexpr int16_t kMsgEntry = 111;
constexpr int16_t kMsgChooseCds = 140;
constexpr int16_t kMsgSearching = 700;
constexpr int16_t kMsgNothingToPrint = 846;
constexpr int16_t kMsgBadPartNo = 885;
constexpr int16_t kMsgTooManyCds = 889;
constexpr int16_t kMsgSystemError = 999;
constexpr int16_t kStatusEmptyList = 2;
constexpr int16_t kStatusNoCd = 4;
constexpr int16_t kLoadFailed = 2;
// The library's CD table holds 11 CDs.
constexpr int kMaxCds = 11;
constexpr int kPathSize = 128;

}  // namespace

QString teki_edit_part_no(const QString& joined) {
    return joined.mid(0, 5) + "-" + joined.mid(5, 5) + "-" + joined.mid(10, 2);
}

bool teki_check_part_no(const QString& joined) {
    if (joined.size() < 10) return false;
    for (QChar c : joined)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

Teki::Teki() : Form(kName) {
    auto* layout = make_frame({.size = {1180, 720}, .keys = {1, 2, 3, 4, 6, 9, 10, 11, 12}, .bars = FrameSpec::Bars::KeysOnTop});
    lbl_title = new QLabel(this);
    lbl_title->setObjectName("lbl_title");
    lbl_title->setAlignment(Qt::AlignCenter);
    layout->addWidget(lbl_title);

    frm_Entry = new QGroupBox(this);
    frm_Entry->setObjectName("frm_Entry");
    auto* entry = new QHBoxLayout(frm_Entry);
    QFont courier = oem_font(12);
    const int lengths[3] = {5, 5, 2};
    for (int i = 0; i < 3; ++i) {
        auto* box = new QLineEdit(frm_Entry);
        box->setObjectName(QString("txt_Enter_%1").arg(i));
        limit_to_field(box, lengths[i]);
        box->setFont(courier);
        box->setFixedWidth(QFontMetrics(courier).horizontalAdvance(QString(lengths[i] + 1, 'W')) + 12);
        box->installEventFilter(this);
        // A letter is taken in capitals.
        connect(box, &QLineEdit::textEdited, box, [box](const QString& t) {
            if (t == t.toUpper()) return;
            int at = box->cursorPosition();
            box->setText(t.toUpper());
            box->setCursorPosition(at);
        });
        txt_Enter[static_cast<size_t>(i)] = box;
        entry->addWidget(box);
        if (i < 2) entry->addWidget(new QLabel("-", frm_Entry));
    }
    lst_Entry = new QListWidget(frm_Entry);
    lst_Entry->setObjectName("lst_Entry");
    lst_Entry->setFont(courier);
    lst_Entry->setFixedHeight(QFontMetrics(courier).height() * 5 + 8);
    entry->addWidget(lst_Entry, 1);
    cmd_Entry = new QPushButton(frm_Entry);
    cmd_Entry->setObjectName("cmd_Entry");
    entry->addWidget(cmd_Entry, 0, Qt::AlignTop);
    frm_Entry->installEventFilter(this);
    layout->addWidget(frm_Entry);
    list_control_ = std::make_unique<ListBoxControl>(lst_Entry);

    msg_Parts = new Grid(this);
    msg_Parts->setObjectName("msg_Parts");
    layout->addWidget(msg_Parts, 1);
    connect(cmd_Entry, &QPushButton::clicked, this, [this] { run("cmd_Entry_Click", [this] { remove_entry(); }); });
}

Teki::~Teki() = default;

void Teki::on_load() {
    SetHourglass();
    TekiHasResult = false;
    TekiNoCdInDrive = false;
    TekiLoadState = 0;
    grid_init();
    set_captions();
    DispMsg(kMsgEntry, lbl_Msg);
    int16_t flag = 0;
    if (lib::VBTekiInit(&flag) != 0) {
        DispMsg(kMsgSystemError, lbl_Msg);
        TekiLoadState = kLoadFailed;
    } else if (flag == 1) {
        TekiNoCdInDrive = true;
    }
    SetDefaultPointer();
}

void Teki::on_activate() {
    if (TekiLoadState == kLoadFailed) {
        // The dialog's closing activates this form again: once is enough.
        TekiLoadState = 0;
        ShowErrorDialog(*this);
        exit_to_menu();
        return;
    }
    if (TekiNoCdInDrive) {
        TekiNoCdInDrive = false;
        pf_popup();
        if (!loaded()) return;
    }
    msg_Parts->setFocus();
}

void Teki::on_unload() { lib::VBTekiTerm(); }

void Teki::grid_init() {
    Grid* g = msg_Parts;
    inquiry::set_result_font(g);
    TekiCharWidth = g->char_width();
    TekiLineHeight = g->text_height();
    g->set_redraw(false);
    g->set_cols(8);
    g->set_rows(9);
    g->set_fixed_cols(0);
    g->set_fixed_rows(1);
    g->set_row_heights(2 * TekiLineHeight);
    g->set_row_height(0, TekiLineHeight);
    g->set_row(1);
    if (ansi_code_page() == 932)
        inquiry::set_col_widths(g, {30, 150, 80, 85, 220, 70, 475, 40});
    else
        inquiry::set_col_widths(g, {25, 145, 70, 75, 205, 55, 420, 35});
    using A = Grid::Align;
    const A align[8] = {A::Center, A::Left, A::Left, A::Center, A::Left, A::Left, A::Left, A::Center};
    for (int c = 0; c < 8; ++c) g->set_col_alignment(c, align[c]);
    g->set_row(1);
    g->set_col(0);
    g->set_redraw(true);
}

void Teki::set_captions() {
    setWindowTitle(inquiry::trim(ScrText(2700, 43)));
    lbl_title->setText(ScrText(2700, 43));
    frm_Entry->setTitle(ScrText(2703, 14));
    cmd_Entry->setText(ScrText(403, 7));
    msg_Parts->set_redraw(false);
    msg_Parts->set_text(0, 0, ScrText(2702, 3));
    msg_Parts->set_text(0, 1, ScrText(2703, 15));
    const int widths[6] = {7, 9, 17, 6, 26, 5};
    for (int i = 0; i < 6; ++i) msg_Parts->set_text(0, 2 + i, ScrText(2704 + i, widths[i]));
    // Character widths that suit the screen font may cut a heading here.
    msg_Parts->widen_to_headings();
    msg_Parts->set_redraw(true);
    for (int n : {1, 2, 3, 4, 6}) cmd_PF(n)->setText(ScrText(199 + n, 8));
    cmd_PF(9)->setText(ScrText(208, 8));
    for (int n : {10, 11, 12}) cmd_PF(n)->setText(ScrText(199 + n, 9));
}

bool Teki::on_key_down(int key_code) {
    if (key_code == kKeyEnter) {
        for (QLineEdit* box : txt_Enter)
            if (focusWidget() == box) {
                enter_part_no();
                return true;
            }
        return false;
    }
    if (key_code == key_f(1)) {
        DispMsg(kMsgResult, lbl_Msg);
        ShowHelp(*this);
    } else if (key_code == key_f(2)) {
        pf_print();
    } else if (key_code == key_f(3)) {
        ScrBack();
        unload_form(*this);
    } else if (key_code == key_f(4)) {
        exit_to_menu();
    } else if (key_code == key_f(6)) {
        HardCopy(*this, lbl_Msg);
        DispMsg(kMsgResult, lbl_Msg);
    } else if (key_code == key_f(9)) {
        DispMsg(kMsgResult, lbl_Msg);
        ShowModalOwned(load_form("Ryak"), this);
    } else if (key_code == key_f(10)) {
        // Only in the entry state: the key follows its button.
        if (cmd_PF(10)->isVisible() && cmd_PF(10)->isEnabled()) pf_exec();
    } else if (key_code == key_f(11)) {
        pf_clear();
    } else if (key_code == key_f(12)) {
        pf_popup();
    }
    return false;
}

void Teki::on_button_focus(QPushButton* button, bool got) {
    if (button == cmd_Entry) paint_button(button, got);
}

bool Teki::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        for (int i = 0; i < 3; ++i) {
            // The release of a key that moved the focus away is not this box's.
            if (watched != txt_Enter[static_cast<size_t>(i)] || !txt_Enter[static_cast<size_t>(i)]->hasFocus()) continue;
            int at = txt_Enter[static_cast<size_t>(i)]->cursorPosition();
            if (i < 2 && at == 5) txt_Enter[static_cast<size_t>(i + 1)]->setFocus();
            else if (i > 0 && at == 0) txt_Enter[static_cast<size_t>(i - 1)]->setFocus();
        }
    } else if (event->type() == QEvent::MouseButtonPress && watched == frm_Entry) {
        txt_Enter[0]->setFocus();
    }
    return Form::eventFilter(watched, event);
}

void Teki::enter_part_no() {
    if (lst_Entry->count() >= kMaxEntries) {
        Beep();
        return;
    }
    QString joined = txt_Enter[0]->text() + txt_Enter[1]->text() + txt_Enter[2]->text();
    if (!teki_check_part_no(joined)) {
        DispMsg(kMsgBadPartNo, lbl_Msg);
        return;
    }
    lst_Entry->addItem(teki_edit_part_no(joined));
    if (lst_Entry->count() >= 5) list_control_->lb_set_top(lst_Entry->count() - 5);
    for (QLineEdit* box : txt_Enter) box->clear();
    txt_Enter[0]->setFocus();
}

void Teki::remove_entry() {
    QListWidgetItem* item = lst_Entry->currentItem();
    if (lst_Entry->count() > 0 && item != nullptr && item->isSelected()) remove_list_line(lst_Entry, lst_Entry->row(item));
    txt_Enter[0]->setFocus();
}

void Teki::pf_exec() {
    SetHourglass();
    DispMsg(kMsgSearching, lbl_Msg);
    std::string path(kPathSize, '\0');
    VbString s{path.data(), kPathSize};
    int16_t status = 0;
    int32_t rc = lib::VBTekiSearchProc(list_control_->hwnd(), &s, &status);
    TekiResultPath = inquiry::rtrim(path);
    if (rc != 0) {
        fail_to_menu();
    } else if (status == kStatusEmptyList) {
        DispMsg(kMsgEntry, lbl_Msg);
    } else if (status == kStatusNoCd) {
        exit_to_menu();
    } else if (!grid_set_data()) {
        WriteErrorLog("PXTEKI.FRM", "TEKI_PFKeyExec", "TEKI_GridSetData", 0, 0, 0);
        fail_to_menu();
    } else {
        DispMsg(kMsgResult, lbl_Msg);
        frm_Entry->setEnabled(false);
        cmd_PF(10)->setEnabled(false);
        cmd_PF(10)->hide();
        msg_Parts->setFocus();
    }
    SetDefaultPointer();
}

bool Teki::grid_set_data() {
    std::vector<std::string> recs;
    if (inquiry::read_record_file(TekiResultPath, sr::kSize, &recs) != 0) return false;
    Grid* g = msg_Parts;
    g->set_redraw(false);
    const int n = static_cast<int>(recs.size());
    for (int i = 1; i <= n; ++i) {
        if (g->rows() < i + 1) {
            g->set_rows(i + 1);
            g->set_row_height(i, 2 * TekiLineHeight);
        }
        const std::string& r = recs[static_cast<size_t>(i - 1)];
        auto f = [&](size_t at, size_t len) { return inquiry::shown(inquiry::field(r, at, len)); };
        std::string from = inquiry::field(r, sr::kFrom, 4), to = inquiry::field(r, sr::kTo, 4);
        QString period = inquiry::trim(from + to).empty() ? QString() : f(sr::kFrom, 4) + "-\n " + f(sr::kTo, 4);
        g->set_row_texts(i, {f(sr::kNumber, 2), f(sr::kPart[0], 14) + "\n" + f(sr::kPart[1], 14),
                             f(sr::kLabel[0], 6) + "\n" + f(sr::kLabel[1], 6), f(sr::kCatalog, 6), f(sr::kCarName, 20),
                             period, f(sr::kPiece[0], sr::kPieceWidth) + "\n" + f(sr::kPiece[1], sr::kPieceWidth),
                             f(sr::kQty[0], 2) + "\n" + f(sr::kQty[1], 2)});
    }
    // Rows of an earlier, longer result must not pass for this one's.
    for (int i = n + 1; i < g->rows(); ++i) g->set_row_texts(i, std::vector<QString>(8));
    g->set_row(1);
    g->set_col(0);
    g->set_redraw(true);
    TekiHasResult = n > 0;
    return true;
}

void Teki::pf_clear() {
    frm_Entry->setEnabled(true);
    cmd_PF(10)->setEnabled(true);
    cmd_PF(10)->show();
    msg_Parts->set_cols(8);
    msg_Parts->set_rows(1);
    grid_init();
    set_captions();
    lst_Entry->clear();
    for (QLineEdit* box : txt_Enter) box->clear();
    TekiHasResult = false;
    DispMsg(kMsgEntry, lbl_Msg);
    txt_Enter[0]->setFocus();
}

void Teki::pf_popup() {
    auto& v = popup_vars();
    std::string path(kPathSize, '\0');
    VbString s{path.data(), kPathSize};
    if (lib::VBTekiPopup(&s) != 0) {
        fail_to_menu();
        return;
    }
    v.PopupPath = inquiry::rtrim(path);
    v.PopupChoose = 1;
    DispMsg(kMsgChooseCds, lbl_Msg);
    ShowModalOwned(load_form("Cdss"), this);
    if (!loaded()) return;
    if (v.PopupToMenu) {
        exit_to_menu();
        return;
    }
    if (v.PopupSelCount > kMaxCds) {
        // The search covers at most 11 CDs: the choice is refused and the
        // previous one stays.
        DispMsg(kMsgTooManyCds, lbl_Msg);
        Beep();
        return;
    }
    // A pop-up closed without a choice changes nothing.
    if (v.PopupSelCount > 0) {
        int16_t j = 0;
        for (int k = 0; k < v.PopupLineCount && k < kPopupPositions; ++k) {
            if (v.PopupSel[static_cast<size_t>(k)] != "1") continue;
            int16_t setup = v.PopupSetupNo[static_cast<size_t>(k)];
            lib::VBTekiPopupSetSel(&setup, &j);
            ++j;
        }
        int16_t count = v.PopupSelCount;
        lib::VBTekiPopupSetNum(&count);
    }
    DispMsg(TekiHasResult ? kMsgResult : kMsgEntry, lbl_Msg);
}

void Teki::pf_print() {
    SetHourglass();
    if (!TekiHasResult) {
        Beep();
        // After a search that found nothing the entry is closed: a new
        // search begins with F11.
        DispMsg(frm_Entry->isEnabled() ? kMsgEntry : kMsgNothingToPrint, lbl_Msg);
        SetDefaultPointer();
        return;
    }
    DispMsg(707, lbl_Msg);
    PrinterObject p;
    try {
        list_print(p);
        DispMsg(kMsgResult, lbl_Msg);
    } catch (const RuntimeError& e) {
        try {
            p.kill_doc();
        } catch (const RuntimeError&) {
        }
        if (e.number() == kErrPrinter || e.number() == kErrPrinterInfo) {
            DispMsg(842, lbl_Msg);
            Beep();
        } else {
            WriteErrorLog("PXTEKI", "TEKI_PFKeyPrnt", "TEKI_ListPrint", e.number(), 0, 0);
            SetDefaultPointer();
            fail_to_menu();
            return;
        }
    }
    SetDefaultPointer();
}

void Teki::exit_to_menu() {
    ScrBackToMenu();
    unload_form(*this);
}

void Teki::fail_to_menu() {
    DispMsg(kMsgSystemError, lbl_Msg);
    ShowErrorDialog(*this);
    exit_to_menu();
}

PX_FORM(Teki);

}  // namespace px
