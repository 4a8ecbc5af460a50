#include "vlists/vcat.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/codepage.h"
#include "shell/grid.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "vlists/list_entries.h"
#include "vlists/list_records.h"
#include "vlists/record_file.h"

namespace px {

namespace {

constexpr int16_t kMsgGuide = 101;
constexpr int16_t kMsgSystemError = 999;
constexpr int kPathSize = 80;
constexpr int kEndF3 = 3;
constexpr int kEndClosed = 4;

// The run-time error of a failed step, for the log line of the grid set-up.
struct GridFailure {
    int number;
};

}  // namespace

Vcat::Vcat() : Form(kName) {
    auto* layout = make_frame({.keys = {1, 3, 4, 6}, .bars = FrameSpec::Bars::KeysThenMessage});
    lbl_title = new QLabel(this);
    lbl_title->setObjectName("lbl_title");
    lbl_title->setAlignment(Qt::AlignCenter);
    QFont title_font = lbl_title->font();
    title_font.setPointSizeF(title_font.pointSizeF() * 1.4);
    title_font.setBold(true);
    lbl_title->setFont(title_font);
    layout->addWidget(lbl_title);

    fra_vcat = new QFrame(this);
    fra_vcat->setObjectName("fra_vcat");
    msg_Vcat = new Grid(fra_vcat);
    msg_Vcat->setObjectName("msg_Vcat");
    // The grid stands centred across the form, its size its own.
    auto* centre = new QHBoxLayout(fra_vcat);
    centre->setContentsMargins(0, 0, 0, 0);
    centre->addWidget(msg_Vcat, 0, Qt::AlignHCenter | Qt::AlignTop);
    msg_Vcat->set_selection_mode(Grid::Selection::ByRow);
    msg_Vcat->set_font_name(oem_font_name(), 12);
    lbl_tst = new QLabel(this);
    lbl_tst->setObjectName("lbl_tst");
    lbl_tst->hide();
    layout->addWidget(fra_vcat, 1);

    msg_Vcat->on_click = [this] { run("msg_Vcat_Click", [this] { grid_click(); }); };
    msg_Vcat->on_key_press = [this](int& key_ascii) {
        if (key_ascii != kKeyEnter) return;
        key_ascii = 0;
        run("msg_Vcat_KeyPress", [this] { choose(msg_Vcat->row()); });
    };
}

void Vcat::on_load() {
    SetHourglass();
    setWindowTitle(ScrText(1200, 40).trimmed());
    lbl_title->setText(windowTitle());
    DispMsg(kMsgGuide, lbl_Msg);
    cmd_PF(1)->setText(ScrText(200, 8).trimmed());
    cmd_PF(3)->setText(ScrText(202, 8).trimmed());
    cmd_PF(4)->setText(ScrText(203, 8).trimmed());
    cmd_PF(6)->setText(ScrText(205, 8).trimmed());
    cmd_PF(4)->setVisible(false);
    load_error_ = 0;
    try {
        // A list of the vehicles of a VIN or frame search must be chosen from.
        bool f3 = lib::vlists::vcat_check_mode() == 0;
        cmd_PF(3)->setVisible(f3);
        cmd_PF(3)->setEnabled(f3);
        std::string path(kPathSize, '\0');
        VbString str{path.data(), kPathSize};
        lib::vlists::vcat_main(&str);
        dspcat_path_ = vlists::path_of(path);
        VCAT_Grd_Set();
    } catch (const RuntimeError& e) {
        // The library cannot be had: the list closes on its activation.
        WriteErrorLog("PXVCAT", "Form_Load", e.step(), e.number(), 0, 0);
        DispMsg(kMsgSystemError, lbl_Msg);
        load_error_ = 1;
    }
    SetDefaultPointer();
}

// Lays the grid out and fills it from DSPCAT.TMP; a failure is logged, shown
// and left to the activation, which closes the list.
void Vcat::VCAT_Grd_Set() {
    msg_Vcat->set_redraw(false);
    try {
        vlists::RecordFile file(vlists::dspcat::kSize);
        if (int err = file.open(dspcat_path_); err != 0) throw GridFailure{err};
        records_ = static_cast<int32_t>(file.count());
        msg_Vcat->set_cols(kColumns);
        msg_Vcat->set_fixed_cols(0);
        msg_Vcat->set_fixed_rows(1);
        msg_Vcat->set_rows(1 + records_);
        lay_out_columns(1 + records_);
        for (int c = 0; c < kColumns; ++c) msg_Vcat->set_text(0, c, ScrText(1201 + c, 50).trimmed());
        for (int32_t i = 0; i < records_; ++i) {
            std::string_view rec = file.record(static_cast<size_t>(i));
            size_t at = 0;
            for (size_t k = 0; k < vlists::dspcat::kFieldCount; ++k) {
                size_t w = vlists::dspcat::kWidths[k];
                msg_Vcat->set_text(i + 1, static_cast<int>(k), vlists::shown_field(rec.substr(at, w)));
                at += w;
            }
        }
    } catch (const GridFailure& f) {
        WriteErrorLog("PXVCAT", "Form_Load", "VCAT_Grd_Set", f.number, 0, 0);
        DispMsg(kMsgSystemError, lbl_Msg);
        load_error_ = 1;
        msg_Vcat->set_redraw(true);
        return;
    }
    msg_Vcat->set_left_col(0);
    msg_Vcat->set_redraw(true);
}

void Vcat::lay_out_columns(int rows) {
    const int cw = msg_Vcat->char_width();
    const int rh = msg_Vcat->text_height();
    msg_Vcat->set_row_heights(rh);
    int width = 0;
    for (int c = 0; c < kColumns; ++c) {
        msg_Vcat->set_col_width(c, kWidthChars[c] * cw);
        width += kWidthChars[c] * cw;
    }
    msg_Vcat->set_col_alignment(0, Grid::Align::Left);
    msg_Vcat->set_col_alignment(1, Grid::Align::Center);
    msg_Vcat->set_col_alignment(2, Grid::Align::Left);
    msg_Vcat->set_col_alignment(3, Grid::Align::Left);
    msg_Vcat->set_col_alignment(4, Grid::Align::Center);
    msg_Vcat->set_col_alignment(5, Grid::Align::Center);
    // Rows that do not fit the grid's height bring a vertical scroll bar,
    // and the grid grows by its width.
    const int line = msg_Vcat->grid_line_width();
    const bool scrolls = static_cast<int64_t>(rows) * (rh + line) > kGridHeightTwips;
    msg_Vcat->set_scroll_bars(scrolls ? Grid::kVertical : Grid::kNone);
    if (scrolls) width += 2 * cw;
    // The lines between the cells, and the grid's border on both sides.
    width += kColumns * line + 2 * (msg_Vcat->frameWidth() + 1) * display_twips().x;
    msg_Vcat->set_geometry_twips(0, 0, width, kGridHeightTwips);
    msg_Vcat->setFixedSize(msg_Vcat->size());
}

void Vcat::on_activate() {
    // The list is activated again when the error dialog over it closes.
    if (closing_) return;
    if (load_error_ != 0) {
        closing_ = true;
        ShowErrorDialog(*this);
        close_list();
        return;
    }
    // The first row is selected when the list opens; the help closing over
    // it leaves the row the clerk was on.
    if (!opened_ && records_ > 0) msg_Vcat->select(1, 0, 1, kColumns - 1);
    opened_ = true;
    msg_Vcat->setFocus();
}

void Vcat::grid_click() {
    // A click on the header row chooses nothing.
    if (msg_Vcat->mouse_row() < msg_Vcat->fixed_rows()) return;
    choose(msg_Vcat->row());
}

void Vcat::choose(int grid_row) {
    if (grid_row < 1 || grid_row > records_) return;
    if (lib::vlists::vcat_ret(grid_row - 1) == 0) {
        unload_form(*this);
        return;
    }
    DispMsg(kMsgSystemError, lbl_Msg);
    Beep();
    closing_ = true;
    ShowErrorDialog(*this);
    close_list();
}

void Vcat::close_list() {
    lib::vlists::vcat_end_proc(kEndClosed);
    unload_form(*this);
}

bool Vcat::on_key_down(int key_code) {
    if (key_code == key_f(1)) {
        if (cmd_PF(1)->isEnabled()) ShowHelp(*this);
        if (loaded()) msg_Vcat->setFocus();
        return true;
    }
    if (key_code == key_f(3)) {
        if (!cmd_PF(3)->isEnabled()) return true;
        lib::vlists::vcat_end_proc(kEndF3);
        unload_form(*this);
        return true;
    }
    if (key_code == key_f(6)) {
        HardCopy(*this, lbl_Msg);
        return true;
    }
    return false;
}

// The window's close button ends the list as a failure would: without a choice.
void Vcat::on_close_request() { close_list(); }

PX_FORM(Vcat);

}  // namespace px
