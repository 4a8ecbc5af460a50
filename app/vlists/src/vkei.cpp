#include "vlists/vkei.h"

#include <algorithm>

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/codepage.h"
#include "shell/grid.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/pxall_entries.h"
#include "shell/seams.h"
#include "shell/vehicle_header.h"
#include "vlists/list_entries.h"
#include "vlists/list_records.h"
#include "vlists/record_file.h"

namespace px {

namespace {

constexpr int16_t kMsgGuide = 102;
constexpr int16_t kMsgRefused = 843;
constexpr int16_t kMsgSystemError = 999;
constexpr int kPathSize = 80;
constexpr int kModelTextSize = 15;
constexpr int kEndF3 = 3;
constexpr int kEndAbort = 4;
constexpr int kRetFailure = -1;
constexpr int kRetTaken = 0;
constexpr int kRetRefused = 5;
constexpr int kErrOverflow = 6;

// A failed step of the grid's set-up and its run-time error number.
struct StepFailure {
    int number;
};

namespace ml = vlists::modellist;

QLabel* named_label(QWidget* parent, const QString& name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    return l;
}

// A current-vehicle field of `len` bytes, blank-padded.
QString vehicle_field(Declared<void(VbString*)>& accessor, int len) {
    std::string buf(static_cast<size_t>(len), ' ');
    VbString str{buf.data(), len};
    accessor(&str);
    return vlists::shown_field(buf);
}

}  // namespace

Vkei::Vkei() : Form(kName) {
    auto* layout = make_frame({.keys = {1, 3, 4, 6, 12}, .bars = FrameSpec::Bars::KeysThenMessage});
    lbl_vkei = named_label(this, "lbl_vkei");
    lbl_vkei->setAlignment(Qt::AlignCenter);
    QFont title_font = lbl_vkei->font();
    title_font.setPointSizeF(title_font.pointSizeF() * 1.4);
    title_font.setBold(true);
    lbl_vkei->setFont(title_font);
    layout->addWidget(lbl_vkei);

    const QFont fixed = oem_font();
    auto* head = new QGridLayout;
    head->setHorizontalSpacing(8);
    for (int i = 0; i < 3; ++i) {
        lbl_title[i] = named_label(this, QString("lbl_title_%1").arg(i));
        head->addWidget(lbl_title[i], i, 0);
    }
    lbl_Catalog = named_label(this, "lbl_Catalog");
    lbl_Pdatef = named_label(this, "lbl_Pdatef");
    lbl_Pdatet = named_label(this, "lbl_Pdatet");
    lbl_Modname = named_label(this, "lbl_Modname");
    lbl_Model = named_label(this, "lbl_Model");
    for (QLabel* l : {lbl_Catalog, lbl_Pdatef, lbl_Pdatet, lbl_Modname, lbl_Model}) l->setFont(fixed);
    head->addWidget(lbl_Catalog, 0, 1, Qt::AlignLeft);
    auto* period = new QHBoxLayout;
    period->setSpacing(4);
    period->addWidget(lbl_Pdatef);
    auto* dash = new QFrame(this);
    dash->setObjectName("lin_Pdate");
    dash->setFrameShape(QFrame::HLine);
    dash->setFixedWidth(16);
    period->addWidget(dash);
    period->addWidget(lbl_Pdatet);
    period->addSpacing(16);
    period->addWidget(lbl_Modname);
    period->addStretch(1);
    head->addLayout(period, 1, 1);
    head->addWidget(lbl_Model, 2, 1, Qt::AlignLeft);
    head->setColumnStretch(1, 1);
    layout->addLayout(head);

    lbl_Char = named_label(this, "lbl_Char");
    lbl_Char->setAlignment(Qt::AlignRight);
    layout->addWidget(lbl_Char);

    fra_vkei = new QFrame(this);
    fra_vkei->setObjectName("fra_vkei");
    fra_vkei->setFrameShape(QFrame::NoFrame);
    fra_vkei->setFixedSize(kFrameWidth / std::max(1, display_twips().x),
                           kFrameHeight / std::max(1, display_twips().y));
    msg_vkei = new Grid(fra_vkei);
    msg_vkei->setObjectName("msg_vkei");
    msg_vkei->set_font_name(oem_font_name(), 12);
    lbl_tst = named_label(this, "lbl_tst");
    lbl_tst->hide();
    layout->addWidget(fra_vkei, 0, Qt::AlignHCenter);

    msg_vkei->on_click = [this] { run("msg_vkei_Click", [this] { grid_click(); }); };
    msg_vkei->on_key_press = [this](int& key_ascii) {
        if (key_ascii != kKeyEnter) return;
        key_ascii = 0;
        run("msg_vkei_KeyPress", [this] { VKEI_Ret(msg_vkei->row()); });
    };
}

void Vkei::on_load() {
    SetHourglass();
    QString title = ScrText(1300, 40).trimmed();
    setWindowTitle(title);
    lbl_vkei->setText(title);
    lbl_title[0]->setText(ScrText(1301, 26).trimmed());
    lbl_title[1]->setText(ScrText(1302, 26).trimmed());
    lbl_title[2]->setText(ScrText(1303, 26).trimmed());
    lbl_Char->setText(ScrText(1308, 29).trimmed());
    DispMsg(kMsgGuide, lbl_Msg);
    VkeiLoadError = 0;
    try {
        VKEI_Set_Captions();
        std::string path(kPathSize, '\0');
        VbString str{path.data(), kPathSize};
        lib::vlists::vkei_main(&str);
        VkeiListPath = vlists::path_of(path);
    } catch (const RuntimeError& e) {
        // Without the engine there is no list: logged, and the list aborts
        // on its activation.
        WriteErrorLog("PXVKEI", "Form_Load", e.step(), e.number(), 0, 0);
        VkeiLoadError = 1;
        SetDefaultPointer();
        return;
    }
    VKEI_Grd_Set();
    SetDefaultPointer();
}

void Vkei::VKEI_Set_Captions() {
    cmd_PF(1)->setText(ScrText(200, 8).trimmed());
    cmd_PF(3)->setText(ScrText(202, 8).trimmed());
    cmd_PF(4)->setText(ScrText(203, 8).trimmed());
    cmd_PF(6)->setText(ScrText(205, 8).trimmed());
    cmd_PF(12)->setText(ScrText(227, 8).trimmed());
    bool f3 = lib::vlists::vkei_check_mode() == 0;
    cmd_PF(3)->setVisible(f3);
    cmd_PF(3)->setEnabled(f3);
    cmd_PF(4)->setVisible(false);
    cmd_PF(4)->setEnabled(false);
}

void Vkei::VKEI_Grd_Set() {
    try {
        lbl_Catalog->setText(vehicle_field(lib::VBGetCat, 6));
        lbl_Pdatef->setText(vehicle_field(lib::VBGetProDateF, 4));
        lbl_Pdatet->setText(vehicle_field(lib::VBGetProDateT, 4));
        lbl_Modname->setText(vehicle_field(lib::VBGetVName, 20));
        std::string model(kModelTextSize, ' ');
        VbString str{model.data(), kModelTextSize};
        lib::vlists::vkei_disp_model(&str);
        lbl_Model->setText(vlists::shown_field(model));

        vlists::RecordFile file(ml::kSize);
        if (int err = file.open(VkeiListPath); err != 0) throw StepFailure{err};
        if (file.count() > 32767) throw StepFailure{kErrOverflow};
        VkeiRecCount = static_cast<int16_t>(file.count());
        msg_vkei->set_redraw(false);
        msg_vkei->set_cols(kColumns);
        msg_vkei->set_fixed_rows(1);
        msg_vkei->set_fixed_cols(kFixedColumns);
        msg_vkei->set_rows(1 + VkeiRecCount);
        VKEI_Grd_Format();
        if (int r = VKEI_Grd_Read(); r != 0) {
            WriteErrorLog("PXVKEI", "Form_Load", "VKEI_Grd_Set", r, 0, 0);
            DispMsg(kMsgSystemError, lbl_Msg);
            VkeiLoadError = 1;
            msg_vkei->set_redraw(true);
            return;
        }
        msg_vkei->set_col(0);
    } catch (const StepFailure& f) {
        // The log then says why the error dialog opens.
        WriteErrorLog("PXVKEI", "Form_Load", "VKEI_Grd_Set", f.number, 0, 0);
        VkeiLoadError = 1;
    } catch (const RuntimeError& e) {
        WriteErrorLog("PXVKEI", "Form_Load", "VKEI_Grd_Set", e.number(), 0, 0);
        VkeiLoadError = 1;
    }
    msg_vkei->set_redraw(true);
}

void Vkei::VKEI_Grd_Format() {
    const int cw = msg_vkei->char_width();
    const int rh = static_cast<int16_t>(msg_vkei->text_height());
    msg_vkei->set_redraw(false);
    msg_vkei->set_row_heights(rh);
    if (msg_vkei->rows() > 1) msg_vkei->set_row(1);
    const int t = cw / 3;
    const int fixed_chars[kFixedColumns] = {9, 15, 10, 10};
    for (int c = 0; c < kColumns; ++c) {
        int width = c < kFixedColumns ? fixed_chars[c] * cw + t : 5 * cw + cw / 2;
        msg_vkei->set_col_width(c, width);
        msg_vkei->set_col_alignment(c, Grid::Align::Left);
    }
    // The columns that fit the frame; the rest scroll in under a bar.
    const int frame_width = fra_vkei->width() * display_twips().x;
    const int frame_height = fra_vkei->height() * display_twips().y;
    int sum = 0;
    int bars = Grid::kNone;
    for (int c = 0; c < kColumns; ++c) {
        int total = sum + msg_vkei->col_width(c) + msg_vkei->grid_line_width();
        if (frame_width - 2 * kGridLeft < total) {
            bars = Grid::kHorizontal;
            break;
        }
        sum = total;
    }
    const int avail = static_cast<int16_t>(frame_height - kGridTop);
    const int fit = rh > 0 ? (avail - rh) / rh : 0;
    if (fit < msg_vkei->rows()) {
        bars += Grid::kVertical;
        sum += 2 * cw;
    }
    msg_vkei->set_scroll_bars(bars);
    int width = sum + (bars == Grid::kBoth ? kBorderBoth : kBorderOne);
    msg_vkei->set_geometry_twips(kGridLeft, kGridTop, width, avail - kGridTop / 2);
    msg_vkei->set_redraw(true);
}

int Vkei::VKEI_Grd_Read() {
    try {
        msg_vkei->set_text(0, 0, ScrText(1304, 9));
        msg_vkei->set_text(0, 1, ScrText(1305, 15));
        msg_vkei->set_text(0, 2, ScrText(1306, 10));
        msg_vkei->set_text(0, 3, ScrText(1307, 9));
        msg_vkei->set_redraw(false);
        for (int c = kFixedColumns; c < kColumns; ++c)
            msg_vkei->set_text(0, c, QString("(%1)").arg(c - kFixedColumns + 1, 2, 10, QChar('0')));
        vlists::RecordFile file(ml::kSize);
        if (int err = file.open(VkeiListPath); err != 0) return err;
        const QColor normal = msg_vkei->palette().color(QPalette::Base);
        for (int n = 1; n <= VkeiRecCount; ++n) {
            std::string_view rec = file.record(static_cast<size_t>(n - 1));
            if (rec.size() != ml::kSize) return vlists::kErrInputPastEnd;
            size_t at = 0;
            for (size_t k = 0; k < ml::kFixedCount; ++k) {
                msg_vkei->set_text(n, static_cast<int>(k), vlists::shown_field(rec.substr(at, ml::kFixedWidths[k])));
                msg_vkei->set_cell_back_color(n, static_cast<int>(k), normal);
                at += ml::kFixedWidths[k];
            }
            for (size_t i = 0; i < ml::kItemCount; ++i)
                msg_vkei->set_text(n, static_cast<int>(kFixedColumns + i),
                                   vlists::shown_field(rec.substr(ml::kItems + i * ml::kItemSize, ml::kItemSize)));
        }
        if (VkeiRecCount > 0) msg_vkei->set_top_row(1);
        msg_vkei->set_redraw(true);
        return 0;
    } catch (const RuntimeError& e) {
        return e.number();
    }
}

void Vkei::on_activate() {
    // The list is activated again when a dialog over it closes.
    if (closing_) return;
    if (VkeiLoadError != 0) {
        closing_ = true;
        ShowErrorDialog(*this);
        VKEI_Abort();
        return;
    }
    // The first row is selected when the list opens; a dialog closing over
    // it leaves the row the clerk was on. An empty list shows its header
    // only: there is no row to select.
    if (!opened_ && VkeiRecCount > 0) msg_vkei->select(1, 0, 1, kColumns - 1);
    opened_ = true;
    msg_vkei->setFocus();
}

bool Vkei::on_key_down(int key_code) {
    if (key_code == key_f(1)) {
        if (cmd_PF(1)->isEnabled()) ShowHelp(*this);
        if (loaded()) msg_vkei->setFocus();
    } else if (key_code == key_f(3)) {
        if (!cmd_PF(3)->isEnabled()) return true;
        lib::vlists::vkei_end_proc(kEndF3);
        unload_form(*this);
    } else if (key_code == key_f(6)) {
        HardCopy(*this, lbl_Msg);
    } else if (key_code == key_f(12)) {
        VKEI_Show_Vinf();
    } else {
        return false;
    }
    return true;
}

void Vkei::grid_click() {
    // A click on the header row takes no model.
    if (msg_vkei->mouse_row() < msg_vkei->fixed_rows()) return;
    VKEI_Ret(msg_vkei->row());
}

void Vkei::VKEI_Ret(int grid_row) {
    if (grid_row < 1 || grid_row > VkeiRecCount) return;
    int32_t r = lib::vlists::vkei_ret(static_cast<int16_t>(grid_row - 1));
    if (r == kRetFailure) {
        DispMsg(kMsgSystemError, lbl_Msg);
        Beep();
        closing_ = true;
        ShowErrorDialog(*this);
        VKEI_Abort();
    } else if (r == kRetTaken) {
        unload_form(*this);
    } else if (r == kRetRefused) {
        DispMsg(kMsgRefused, lbl_Msg);
        Beep();
    }
}

void Vkei::VKEI_Show_Vinf() {
    // Without a model there is no vehicle information to show.
    if (VkeiRecCount < 1 || msg_vkei->row() < 1) return;
    bool failed = lib::vlists::vkei_make_vclinf_tmp(static_cast<int16_t>(msg_vkei->row() - 1)) != 0;
    if (!failed) {
        failed = ShowVehicleInfoDialog(*this) != 0;
        if (!failed && loaded()) msg_vkei->setFocus();
    }
    if (failed && loaded()) {
        DispMsg(kMsgSystemError, lbl_Msg);
        Beep();
        closing_ = true;
        ShowErrorDialog(*this);
        VKEI_Abort();
    }
}

void Vkei::VKEI_Abort() {
    lib::vlists::vkei_end_proc(kEndAbort);
    unload_form(*this);
}

// The window's close button takes the abort path: no model, back to the menu.
void Vkei::on_close_request() { VKEI_Abort(); }

PX_FORM(Vkei);

}  // namespace px
