// The parts-list screen row by row and box by box: narrowing to the
// vehicle, marks, quantities, and the condition boxes with their checks.
#include <ctime>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "partslist/pnho.h"
#include "partslist/pnho_entries.h"
#include "platform/clock.h"
#include "shell/codepage.h"
#include "shell/grid.h"
#include "shell/messages.h"
#include "shell/pxall_entries.h"
#include "shell/seams.h"
#include "shell/updown.h"

namespace px {

namespace pl = partslist;
namespace eng = lib::partslist;

namespace {

constexpr int16_t kMsgCondPrompt = 160;
constexpr int16_t kMsgPageChange = 719;
constexpr int16_t kMsgRefused = 860;
constexpr int kVisibleRows = 17;

bool digits_only(const QString& t) {
    if (t.isEmpty()) return false;
    for (QChar c : t)
        if (c < '0' || c > '9') return false;
    return true;
}

// A 4-character production date "YYMM" as year and month: 0 when it is no
// number; two-digit years above 49 are in the 1900s.
int pro_date(const std::string& yymm) {
    if (!pl::reads_as_number(yymm) || yymm.size() != 4 || yymm.find(' ') != std::string::npos) return 0;
    int yy = std::stoi(yymm.substr(0, 2));
    return (yy > 49 ? 1900 + yy : 2000 + yy) * 100 + std::stoi(yymm.substr(2, 2));
}

std::string vehicle_date(Declared<void(VbString*)>& entry) {
    std::string buf(4, ' ');
    VbString s{buf.data(), 4};
    entry(&s);
    return buf;
}

}  // namespace

QString Pnho::Pnho_CheckYear(const QString& text, int step, int this_year) {
    QString t = text.trimmed();
    int y = t.isEmpty() ? this_year : (digits_only(t) ? t.toInt() : 0);
    y += step;
    if (y < 1900 || y > 2500) return QString();
    return QString::number(y);
}

QString Pnho::Pnho_CheckMonth(const QString& text, int step, int this_month) {
    QString t = text.trimmed();
    int m = t.isEmpty() ? this_month : (digits_only(t) ? t.toInt() : -100);
    m += step;
    if (m >= 1 && m <= 12) return QString("%1").arg(m, 2, 10, QChar('0'));
    if (m == 13 && step == 1) return "01";
    if (m == 0 && step == -1) return "12";
    return QString();
}

void Pnho::Pnho_LoadMatch() {
    SetHourglass();
    DispMsg(kMsgPageChange, lbl_Msg);
    if (eng::pnho_exec_match(&PnhoMatchState) != 0) {
        Pnho_Exit(-1);
        return;
    }
    int32_t e = Pnho_msg_Pnho_Set(-1);
    if (e != 0) {
        WriteErrorLog("PXPNHO", "Pnho_LoadMatch", "Pnho_msg_Pnho_Set", e, 0, 0);
        Pnho_Exit(-1);
        return;
    }
    Pnho_MoveRow(0);
    bool whole = PnhoMatchState == 0;
    cmd_PF(10)->setText(ScrText(whole ? 222 : 223, 11).trimmed());
    lbl_Match[0]->setText(ScrText(whole ? 2215 : 2216, 10));
    SetDefaultPointer();
}

void Pnho::Pnho_OpenCondBoxes(bool open) {
    for (QLineEdit* b : cond_boxes()) b->setEnabled(false);
    for (UpDown* u : upd_Ad) u->setEnabled(false);
    if (!open) return;
    auto offer = [](QLineEdit* box, UpDown* updown) {
        box->setEnabled(true);
        if (updown != nullptr) updown->setEnabled(true);
        box->setFocus();
    };
    if (PnhoCondFlagsSet == 0) {
        auto empty = [](QLineEdit* b) { return b->text().trimmed().isEmpty(); };
        if (empty(txt_TrimNo)) PnhoCondTrimOpen = 1;
        if (empty(txt_ColorNo)) PnhoCondColorOpen = 1;
        if (empty(txt_Ad2)) PnhoCondMonthOpen = 1;
        if (empty(txt_Ad)) PnhoCondYearOpen = 1;
        auto* model = findChild<QLabel*>("lbl_Model");
        bool has_model = model != nullptr && !model->text().trimmed().isEmpty();
        if (has_model && empty(txt_FrameNo)) PnhoCondFrameOpen = 1;
        PnhoCondFlagsSet = 1;
    }
    if (PnhoCondTrimOpen) offer(txt_TrimNo, nullptr);
    if (PnhoCondColorOpen) offer(txt_ColorNo, nullptr);
    if (PnhoCondMonthOpen) offer(txt_Ad2, upd_Ad[1]);
    if (PnhoCondYearOpen) offer(txt_Ad, upd_Ad[0]);
    if (PnhoCondFrameOpen) {
        offer(txt_FrameNo, nullptr);
        offer(txt_FrameModel, nullptr);
    }
}

void Pnho::Pnho_ReverseSel(int row) {
    Grid* g = msg_Pnho;
    if (row < 1 || row >= g->rows()) return;
    int32_t rec = record_of_row(row);
    if (eng::pnho_reverse_sel(static_cast<int16_t>(rec - 1)) == 0) {
        std::string& r = PnhoRecords[static_cast<size_t>(rec)];
        QString cell = g->text(row, 0);
        while (cell.endsWith(' ')) cell.chop(1);
        if (cell.isEmpty()) {
            if (r.size() > pl::kMark) r[pl::kMark] = 'S';
            g->set_text(row, 0, "*");
        } else if (cell == "*") {
            if (r.size() > pl::kMark) r[pl::kMark] = ' ';
            g->set_text(row, 0, "");
        }
        g->select(row, 0, row, g->cols() - 1);
    } else {
        g->select(g->row(), 0, g->row_sel(), 0);
    }
}

void Pnho::Pnho_InputQty(int row) {
    Grid* g = msg_Pnho;
    if (row < 1 || row >= g->rows()) return;
    int32_t rec = record_of_row(row);
    if (eng::pnho_input_qty(static_cast<int16_t>(rec - 1)) != 0) return;
    PnhoQtyRow = row;
    g->set_col(3);
    QString t = g->text(row, 3).trimmed();
    QString start = digits_only(t) ? QString::number(t.toInt()) : QString("01");
    const DisplayTwips tw = display_twips();
    g->set_row(row);
    int left = g->cell_left(row, 3) / tw.x;
    int top = g->cell_top(row, 3) / tw.y;
    int width = (g->col_width(3) + PnhoCharWidth / 3) / tw.x;
    int height = g->row_height(row) / tw.y;
    txt_Qty->setGeometry(left, top, width, height);
    txt_Qty->setText(start);
    txt_Qty->show();
    txt_Qty->raise();
    txt_Qty->setFocus();
}

void Pnho::Pnho_SetQty(bool move_on) {
    Grid* g = msg_Pnho;
    int remembered = g->row();
    QString t = txt_Qty->text().trimmed();
    QString qty;
    if (digits_only(t)) {
        qty = QString("%1").arg(t.toInt(), 2, 10, QChar('0'));
        if (qty == "00") qty = "01";
    } else if (t.isEmpty()) {
        qty = "01";
    } else {
        return;  // the box stays open
    }
    txt_Qty->hide();
    if (PnhoQtyRow < 1 || PnhoQtyRow >= g->rows()) return;
    g->set_row(PnhoQtyRow);
    g->set_text(PnhoQtyRow, 3, qty);
    int32_t rec = record_of_row(PnhoQtyRow);
    std::string q = to_ansi(qty);
    std::string& r = PnhoRecords[static_cast<size_t>(rec)];
    if (r.size() >= pl::kQty + 2) r.replace(pl::kQty, 2, q);
    eng::pnho_set_qty(static_cast<int16_t>(rec - 1), q.c_str());
    g->set_row(remembered);
    if (move_on) {
        int row = g->row();
        if (g->top_row() + kVisibleRows <= row + 1 && g->top_row() + kVisibleRows <= g->rows() - 1) Pnho_Scroll(1);
        Pnho_MoveRow(1);
    }
    grid_focus();
}

void Pnho::msg_Pnho_Click() {
    redraw(false);
    if (txt_Qty->isVisible()) Pnho_SetQty(false);
    int row = msg_Pnho->row();
    Pnho_ReverseSel(row);
    Pnho_InputQty(row);
    redraw(true);
}

void Pnho::msg_Pnho_KeyPress(int& key_ascii) {
    if (key_ascii != kKeyEnter) return;
    key_ascii = 0;
    if (PnhoMode == kModeList) msg_Pnho_Click();
    if (txt_Qty->isVisible()) return;
    Grid* g = msg_Pnho;
    redraw(false);
    Pnho_MoveRow(1);
    if (g->top_row() + kVisibleRows <= g->row() + 1 && g->top_row() + kVisibleRows <= g->rows() - 1) Pnho_Scroll(1);
    redraw(true);
}

void Pnho::upd_Ad_Click(int index, int step) {
    std::tm now = plat::local_now();
    QLineEdit* box = index == 0 ? txt_Ad : txt_Ad2;
    QString r = index == 0 ? Pnho_CheckYear(box->text(), step, now.tm_year + 1900)
                           : Pnho_CheckMonth(box->text(), step, now.tm_mon + 1);
    if (r.isEmpty()) box->setFocus();
    else box->setText(r);
}

void Pnho::cond_lost_focus(QLineEdit* box) {
    if (closed_ || !box->isEnabled()) return;
    QString t = box->text().trimmed();
    if (t.isEmpty()) return;
    const bool year = box == txt_Ad;
    int v = digits_only(t) ? t.toInt() : -1;
    bool ok = year ? v >= 1900 && v <= 2500 : v >= 1 && v <= 12;
    if (!ok) {
        DispMsg(kMsgRefused, lbl_Msg);
        Beep();
        box->setFocus();
        return;
    }
    box->setText(QString("%1").arg(v, year ? 4 : 2, 10, QChar('0')));
    Pnho_CheckProDate();
}

void Pnho::Pnho_CheckProDate() {
    if (txt_Ad->text().isEmpty() || txt_Ad2->text().isEmpty()) {
        DispMsg(kMsgCondPrompt, lbl_Msg);
        return;
    }
    std::string entered = to_ansi(txt_Ad->text() + txt_Ad2->text());
    if (!pl::reads_as_number(entered)) {
        DispMsg(kMsgCondPrompt, lbl_Msg);
        return;
    }
    long v = std::stol(entered);
    int from = pro_date(vehicle_date(lib::VBGetProDateF));
    int to = pro_date(vehicle_date(lib::VBGetProDateT));
    bool refused = (from != 0 && from > v) || (to != 0 && to < v);
    if (!refused) {
        DispMsg(kMsgCondPrompt, lbl_Msg);
        return;
    }
    DispMsg(kMsgRefused, lbl_Msg);
    Beep();
    QWidget* focus = focusWidget();
    auto* box = qobject_cast<QLineEdit*>(focus);
    if (box != nullptr && box != txt_Ad && box != txt_Ad2) txt_Ad->setFocus();
}

void Pnho::Pnho_FocusCondition(int tab) {
    if (tab < kTabFrameModel || tab > kTabTrimNo) return;
    auto boxes = cond_boxes();
    // Each box is tried once: when none can take the focus, nothing happens.
    for (int i = 0; i < 6; ++i) {
        QLineEdit* b = boxes[static_cast<size_t>((tab - kTabFrameModel + i) % 6)];
        if (b->isEnabled() && !b->isHidden()) {
            b->setFocus();
            return;
        }
    }
}

}  // namespace px
