#include "prices/dprc.h"

#include <cmath>

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/files.h"
#include "prices/fields.h"
#include "prices/price_inquiry_record.h"
#include "prices/prices_entries.h"
#include "shell/codepage.h"
#include "shell/field_box.h"
#include "shell/grid.h"
#include "shell/gyom.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px {

namespace {

namespace lp = lib::prices;

constexpr int16_t kMsgPrompt = 124;
constexpr int16_t kMsgListFull = 809;
constexpr int16_t kMsgNoPriceFile = 839;
constexpr int16_t kMsgBadPartNo = 866;
constexpr int16_t kMsgSystemError = 999;
constexpr int kPathSize = 80;
constexpr const char* kSource = "PXDprc";
const int kBoxLength[3] = {5, 5, 2};

const QColor kFocusGrey(0xE0, 0xE0, 0xE0);
const QColor kOptionFocusText(0x00, 0x00, 0xC0);

}  // namespace

void OpenDprcScreen(Form& caller, QLabel* caller_msg) {
    std::string buf(kPathSize, '\0');
    int32_t kind = lp::dprc_get_path(buf.data());
    if (kind == -1) {
        DispMsg(kMsgSystemError, caller_msg);
        ShowErrorDialog(caller);
        return;
    }
    if (kind == 0) {
        DispMsg(kMsgNoPriceFile, caller_msg);
        Beep();
        return;
    }
    Form& dprc = load_form(Dprc::kName);
    ScrPush(dprc);
    caller.hide();
}

static const bool dprc_opener_registered = register_menu_opener(Dprc::kName, &OpenDprcScreen);

std::string Dprc::join_part_no(const QString& b0, const QString& b1, const QString& b2) {
    const QString* boxes[3] = {&b0, &b1, &b2};
    std::string joined;
    for (int i = 0; i < 3; ++i) {
        // The price files hold part numbers in capitals, as every search
        // takes them: a number typed in lower case is the same number.
        std::string t = to_ansi(*boxes[i]);
        for (char& c : t)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        std::string r = prices::rtrim(t);
        joined += t + std::string(r.size() < static_cast<size_t>(kBoxLength[i]) ? kBoxLength[i] - r.size() : 0, ' ');
    }
    return prices::fixed(joined, 12);
}

bool Dprc::part_no_valid(const std::string& part_no) {
    std::string t = prices::rtrim(part_no);
    if (t.size() < 9) return false;
    for (char c : t)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

Dprc::Dprc() : Form(kName) {
    resize(1000, 720);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 2, 8, 4);
    layout->setSpacing(2);
    layout->addWidget(make_key_bar({1, 2, 3, 4, 6, 11}));
    lbl_Titel = new QLabel(this);
    lbl_Titel->setObjectName("lbl_Titel");
    lbl_Titel->setAlignment(Qt::AlignCenter);
    QFont title_font = lbl_Titel->font();
    title_font.setBold(true);
    lbl_Titel->setFont(title_font);
    layout->addWidget(lbl_Titel);

    // The grid stands where its twips put it (top 1080, its own width and
    // height); the layout keeps its room free beside the entry groups.
    auto* body = new QHBoxLayout;
    msg_Main = new Grid(this);
    msg_Main->setObjectName("msg_Main");
    msg_Main->setFocusPolicy(Qt::NoFocus);
    msg_Main->set_cols(5);  // the captions fill the header before the grid is laid out
    grid_room_ = new QWidget(this);
    body->addWidget(grid_room_);
    auto* side = new QVBoxLayout;
    QFont courier = oem_font(12);
    for (int g = 0; g < 2; ++g) {
        fra_Select[static_cast<size_t>(g)] = new QGroupBox(this);
        fra_Select[static_cast<size_t>(g)]->setObjectName(QString("fra_Select_%1").arg(g));
        side->addWidget(fra_Select[static_cast<size_t>(g)]);
    }
    auto* entry = new QHBoxLayout(fra_Select[0]);
    for (int i = 0; i < 3; ++i) {
        auto* box = new QLineEdit(fra_Select[0]);
        box->setObjectName(QString("txt_PNo_%1").arg(i));
        box->setFont(courier);
        box->setFixedWidth(QFontMetrics(courier).horizontalAdvance(QString(kBoxLength[i] + 1, 'W')) + 12);
        box->installEventFilter(this);
        txt_PNo[static_cast<size_t>(i)] = box;
        entry->addWidget(box);
        if (i < 2) {
            auto* dash = new QLabel("-", fra_Select[0]);
            dash->setObjectName(QString("Label3_%1").arg(i));
            entry->addWidget(dash);
        }
    }
    cmd_Sech = new QPushButton(fra_Select[0]);
    cmd_Sech->setObjectName("cmd_Sech");
    cmd_Sech->setFocusPolicy(Qt::StrongFocus);
    cmd_Sech->installEventFilter(this);
    entry->addWidget(cmd_Sech);
    connect(cmd_Sech, &QPushButton::clicked, this, [this] { run("cmd_Sech_Click", [this] { cmd_Sech_Click(); }); });

    auto* choice = new QVBoxLayout(fra_Select[1]);
    for (int i = 0; i < 3; ++i) {
        auto* opt = new QRadioButton(fra_Select[1]);
        opt->setObjectName(QString("opt_Price_%1").arg(i));
        opt->installEventFilter(this);
        opt_Price[static_cast<size_t>(i)] = opt;
        choice->addWidget(opt);
        connect(opt, &QRadioButton::clicked, this, [this, i] { run("opt_Price_Click", [this, i] { opt_Price_Click(i); }); });
    }
    side->addStretch(1);
    body->addLayout(side);
    layout->addLayout(body, 1);
    layout->addWidget(make_message_line());
    msg_Main->raise();
}

void Dprc::on_load() {
    load_failed_ = false;
    prices::FixedString path(kPathSize);
    int32_t kind = lp::dprc_get_path(path.data());
    DprcWorkPath = path.text();
    DPRC_Delete_WorkFile();
    DPRC_Set_Keys();
    DPRC_Set_Captions();
    CenterForm(*this);
    DprcGridRows = DPRC_Init_Grid();
    DprcLineCount = 0;
    for (int i = 0; i < 3; ++i) limit_to_field(txt_PNo[static_cast<size_t>(i)], kBoxLength[i]);
    opt_Price[0]->setChecked(true);
    DPRC_Set_File_Kind(kind);
}

void Dprc::on_activate() {
    if (load_failed_) {
        // The library failed while the screen loaded: the failure end runs
        // now that the screen stands on the stack.
        load_failed_ = false;
        DispMsg(kMsgSystemError, lbl_Msg);
        ShowErrorDialog(*this);
        DPRC_Menu();
        return;
    }
    if (fra_Select[0]->isEnabled()) txt_PNo[0]->setFocus();
}

void Dprc::DPRC_Set_File_Kind(int32_t kind) {
    switch (kind) {
        case -1:
            load_failed_ = true;
            break;
        case 0:
            for (QRadioButton* o : opt_Price) o->setVisible(false);
            fra_Select[0]->setEnabled(false);
            fra_Select[1]->setEnabled(false);
            msg_Main->setEnabled(false);
            grid_in_use_ = false;
            DispMsg(kMsgNoPriceFile, lbl_Msg);
            Beep();
            break;
        case 1:
            opt_Price[0]->setVisible(true);
            opt_Price[1]->setVisible(false);
            opt_Price[2]->setVisible(false);
            fra_Select[0]->setEnabled(true);
            fra_Select[1]->setEnabled(false);
            msg_Main->setEnabled(true);
            grid_in_use_ = true;
            DispMsg(kMsgPrompt, lbl_Msg);
            break;
        case 3:
            for (QRadioButton* o : opt_Price) o->setVisible(true);
            fra_Select[0]->setEnabled(true);
            fra_Select[1]->setEnabled(true);
            msg_Main->setEnabled(true);
            grid_in_use_ = true;
            DispMsg(kMsgPrompt, lbl_Msg);
            break;
        default: break;
    }
}

int16_t Dprc::DPRC_Init_Grid() {
    Grid* g = msg_Main;
    g->set_font_name(oem_font_name(), 12);
    const int w = g->char_width();
    const int h = std::max(1, g->text_height());
    g->set_redraw(false);
    g->set_rows(2);
    g->set_cols(5);
    g->set_fixed_rows(1);
    g->set_fixed_cols(0);
    g->set_scroll_bars(Grid::kVertical);
    g->set_selection_mode(Grid::Selection::ByRow);
    g->set_row(1);
    const int widths[5] = {static_cast<int>(std::lround(w * 2.5)), w * 15, static_cast<int>(std::lround(w * 23.8)),
                           w * 11, w * 11};
    int16_t sum = 0;
    for (int c = 0; c < 5; ++c) {
        g->set_col_width(c, widths[c]);
        sum = static_cast<int16_t>(sum + widths[c]);
    }
    const int top = 1080;
    const int height = 9495 - (top + 250);
    g->set_geometry_twips(120, top, sum + 350, height);
    grid_room_->setFixedSize(g->width() + 8, g->height());
    const int rows = height / h - 1;
    g->set_rows(rows);
    g->set_row_heights(h);
    g->set_redraw(true);
    return static_cast<int16_t>(rows);
}

void Dprc::DPRC_Set_Captions() {
    QString title = prices::caption(2901, 17);
    lbl_Titel->setText(title);
    setWindowTitle(title);
    fra_Select[0]->setTitle(prices::caption(2903, 13));
    fra_Select[1]->setTitle(prices::caption(2910, 14));
    opt_Price[0]->setText(prices::caption(2907, 15));
    opt_Price[1]->setText(prices::caption(2908, 16));
    opt_Price[2]->setText(prices::caption(2909, 15));
    cmd_Sech->setText(prices::caption(401, 8));
    Grid* g = msg_Main;
    g->set_redraw(false);
    g->set_text(0, 0, prices::screen_field(2902, 2));
    g->set_text(0, 1, prices::screen_field(2903, 13));
    g->set_text(0, 2, prices::screen_field(2904, 13));
    g->set_text(0, 3, prices::screen_field(2905, 4));
    g->set_text(0, 4, prices::screen_field(2906, 8));
    g->set_redraw(true);
}

void Dprc::DPRC_Set_Keys() {
    for (int n : {1, 2, 3, 4, 6, 11}) cmd_PF(n)->setText(prices::caption(199 + n, 8));
}

void Dprc::DPRC_Set_Frame_Color(int group, int state) {
    QGroupBox* frame = fra_Select[static_cast<size_t>(group)];
    auto paint = [&](QWidget* w) {
        w->setAutoFillBackground(state == 0);
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, state == 0 ? kFocusGrey : palette().color(QPalette::Button));
        w->setPalette(pal);
    };
    paint(frame);
    if (group == 1)
        for (QRadioButton* o : opt_Price) paint(o);
}

int16_t Dprc::DPRC_Get_Price_Choice() const {
    for (int i = 0; i < 3; ++i)
        if (opt_Price[static_cast<size_t>(i)]->isChecked()) return static_cast<int16_t>(i);
    return 0;
}

void Dprc::DPRC_Clear_Input() {
    for (QLineEdit* b : txt_PNo) b->clear();
}

void Dprc::DPRC_Delete_WorkFile() {
    if (prices::file_found(DprcWorkPath)) plat::delete_file(prices::rtrim(DprcWorkPath));
}

bool Dprc::on_key_down(int key_code) {
    if (key_code == kKeyEnter) {
        for (QLineEdit* box : txt_PNo)
            if (focusWidget() == box) {
                run("cmd_Sech_Click", [this] { cmd_Sech_Click(); });
                return true;
            }
        return false;
    }
    if (key_code == key_f(1)) {
        ShowHelp(*this);
        DispMsg(kMsgPrompt, lbl_Msg);
    } else if (key_code == key_f(2)) {
        DPRC_PrintList();
    } else if (key_code == key_f(3)) {
        DPRC_Back();
    } else if (key_code == key_f(4)) {
        DPRC_Menu();
    } else if (key_code == key_f(6)) {
        HardCopy(*this, lbl_Msg);
        DispMsg(kMsgPrompt, lbl_Msg);
    } else if (key_code == key_f(11)) {
        DPRC_Clear();
    }
    return false;
}

void Dprc::on_button_focus(QPushButton* button, bool got) {
    if (button == cmd_Sech) {
        paint_button(button, got);
        DPRC_Set_Frame_Color(0, got ? 0 : 1);
    }
}

bool Dprc::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type t = event->type();
    for (int i = 0; i < 3; ++i) {
        QLineEdit* box = txt_PNo[static_cast<size_t>(i)];
        if (watched != box) continue;
        if (t == QEvent::FocusIn) DPRC_Set_Frame_Color(0, 0);
        if (t == QEvent::FocusOut) DPRC_Set_Frame_Color(0, 1);
        if (t != QEvent::KeyRelease || !box->hasFocus()) break;
        const int k = static_cast<QKeyEvent*>(event)->key();
        bool counts = (k >= Qt::Key_0 && k <= Qt::Key_9) || (k >= Qt::Key_A && k <= Qt::Key_Z) ||
                      k == Qt::Key_Backspace || k == Qt::Key_Left ||
                      (k == Qt::Key_Right && !prices::trim(box->text()).isEmpty());
        if (!counts) break;
        const int at = box->cursorPosition();
        auto go = [&](int to, int caret) {
            txt_PNo[static_cast<size_t>(to)]->setFocus();
            txt_PNo[static_cast<size_t>(to)]->setCursorPosition(caret);
        };
        if (i == 0 && at == 5) go(1, 0);
        else if (i == 1 && at == 0) go(0, 5);
        else if (i == 1 && at == 5) go(2, 0);
        else if (i == 2 && at == 0) go(1, 5);
        break;
    }
    for (int i = 0; i < 3; ++i) {
        QRadioButton* opt = opt_Price[static_cast<size_t>(i)];
        if (watched != opt || (t != QEvent::FocusIn && t != QEvent::FocusOut)) continue;
        DPRC_Set_Frame_Color(1, t == QEvent::FocusIn ? 0 : 1);
        QPalette pal = opt->palette();
        pal.setColor(QPalette::WindowText,
                     t == QEvent::FocusIn ? kOptionFocusText : palette().color(QPalette::ButtonText));
        opt->setPalette(pal);
    }
    return Form::eventFilter(watched, event);
}

void Dprc::cmd_Sech_Click() {
    try {
        std::string p = join_part_no(txt_PNo[0]->text(), txt_PNo[1]->text(), txt_PNo[2]->text());
        if (!part_no_valid(p)) {
            DispMsg(kMsgBadPartNo, lbl_Msg);
            Beep();
            txt_PNo[0]->setFocus();
            return;
        }
        if (msg_Main->rows() >= kMaxGridRows) {
            DispMsg(kMsgListFull, lbl_Msg);
            Beep();
            txt_PNo[0]->setFocus();
            return;
        }
        int32_t r = lp::dprc_search(p.c_str(), DPRC_Get_Price_Choice());
        if (r == -1) {
            fail_to_menu();
            return;
        }
        if (r != 0) {
            DispMsg(static_cast<int16_t>(r), lbl_Msg);
            return;
        }
        std::string bytes;
        int32_t rc = prices::read_file(DprcWorkPath, &bytes);
        if (rc != 0) throw RuntimeError(rc, "");
        size_t count = bytes.size() / dprc_rec::kSize;
        if (count == 0) throw RuntimeError(kErrFileNotFound, "");
        DprcLine line = parse_dprc_record(std::string_view(bytes).substr((count - 1) * dprc_rec::kSize, dprc_rec::kSize));
        int16_t n = DPRC_Add_Row();
        Grid* g = msg_Main;
        g->set_row(n);
        g->set_redraw(false);
        if (g->rows() > DprcGridRows) g->set_top_row(g->rows() - DprcGridRows + 2);
        else g->set_top_row(1);
        g->set_row_texts(n, {line.number, line.part_no, line.name, line.price + " ", line.field});
        g->set_redraw(true);
        DPRC_Clear_Input();
        txt_PNo[0]->setFocus();
        DispMsg(kMsgPrompt, lbl_Msg);
    } catch (const RuntimeError& e) {
        WriteErrorLog(kSource, "cmd_Sech_Click", "", e.number(), 0, 0);
        fail_to_menu();
    }
}

int16_t Dprc::DPRC_Add_Row() {
    DprcLineCount = static_cast<int16_t>(DprcLineCount + 1);
    if (DprcLineCount >= DprcGridRows) {
        Grid* g = msg_Main;
        int h = g->row_height(g->rows() - 1);
        g->set_rows(g->rows() + 1);
        g->set_row_height(g->rows() - 1, h);
    }
    return DprcLineCount;
}

void Dprc::opt_Price_Click(int index) {
    try {
        DispMsg(kMsgPrompt, lbl_Msg);
        if (DprcLineCount <= 0) return;
        int32_t r = lp::dprc_update_wfile(index);
        if (r == -1) {
            fail_to_menu();
            return;
        }
        if (r != 0) {
            DispMsg(static_cast<int16_t>(r), lbl_Msg);
            return;
        }
        std::string bytes;
        int32_t rc = prices::read_file(DprcWorkPath, &bytes);
        if (rc != 0) throw RuntimeError(rc, "");
        Grid* g = msg_Main;
        g->set_redraw(false);
        const size_t count = bytes.size() / dprc_rec::kSize;
        for (size_t i = 1; i <= count; ++i) {
            DprcLine line = parse_dprc_record(std::string_view(bytes).substr((i - 1) * dprc_rec::kSize, dprc_rec::kSize));
            g->set_text(static_cast<int>(i), 3, line.price + " ");
        }
        g->set_redraw(true);
    } catch (const RuntimeError& e) {
        msg_Main->set_redraw(true);
        WriteErrorLog(kSource, "opt_Price_Click", "", e.number(), 0, 0);
        fail_to_menu();
    }
}

void Dprc::DPRC_Back() {
    DPRC_Delete_WorkFile();
    ScrBack();
    unload_form(*this);
}

void Dprc::DPRC_Menu() {
    DPRC_Delete_WorkFile();
    ScrBackToMenu();
    unload_form(*this);
}

void Dprc::DPRC_Clear() {
    if (grid_in_use_) {
        DprcLineCount = 0;
        msg_Main->set_rows(1);
        DprcGridRows = DPRC_Init_Grid();
        DPRC_Delete_WorkFile();
        DPRC_Clear_Input();
        txt_PNo[0]->setFocus();
    }
    DispMsg(kMsgPrompt, lbl_Msg);
}

void Dprc::fail_to_menu() {
    DispMsg(kMsgSystemError, lbl_Msg);
    ShowErrorDialog(*this);
    DPRC_Menu();
}

PX_FORM(Dprc);

}  // namespace px
