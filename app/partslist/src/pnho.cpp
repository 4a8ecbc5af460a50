// The parts-list screen: building it, reading the list the engine wrote,
// the grid's layout, the vehicle header, the pages and the row cursor, and
// leaving it.
#include "partslist/pnho.h"

#include <cstdio>

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "partslist/pnho_entries.h"
#include "partslist/pnho_module.h"
#include "platform/files.h"
#include "shell/codepage.h"
#include "shell/field_box.h"
#include "shell/grid.h"
#include "shell/messages.h"
#include "shell/pxall_entries.h"
#include "shell/stack.h"
#include "shell/updown.h"
#include "shell/vehicle_entries.h"
#include "shell/vehicle_header.h"

namespace px {

namespace pl = partslist;
namespace eng = lib::partslist;

namespace {

constexpr int16_t kMsgPrompt = 105;
constexpr int16_t kMsgMaking = 701;
constexpr int16_t kMsgPageChange = 719;
constexpr int16_t kMsgSystemError = 999;
constexpr int kRunTimeFileNotFound = 53;
constexpr int kRunTimeBadRecord = 63;

// A condition box: its lost-focus handler runs when the focus moves to
// another control of the screen, not when another window takes it.
class CondBox : public QLineEdit {
public:
    explicit CondBox(QWidget* parent) : QLineEdit(parent) {}
    std::function<void()> on_lost_focus;

protected:
    void focusOutEvent(QFocusEvent* event) override {
        QLineEdit::focusOutEvent(event);
        if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) return;
        if (on_lost_focus) on_lost_focus();
    }
};

QString accessor(Declared<void(VbString*)>& entry, int width) {
    std::string buf(static_cast<size_t>(width), ' ');
    VbString s{buf.data(), width};
    entry(&s);
    return from_ansi(buf);
}

}  // namespace

Pnho::Pnho() : Form(kName) {
    auto* layout = make_frame({.size = {1200, 860}, .keys = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, .bars = FrameSpec::Bars::KeysThenMessage});
    lbl_title = new QLabel(this);
    lbl_title->setObjectName("lbl_title");
    layout->addWidget(lbl_title);
    layout->addWidget(make_vehicle_header(*this));

    // The conditions: the vehicle's own values, editable in the
    // condition-entry mode.
    auto* cond = new QHBoxLayout;
    const char* names[6] = {"txt_FrameModel", "txt_FrameNo", "txt_Ad", "txt_Ad2", "txt_ColorNo", "txt_TrimNo"};
    const int lengths[6] = {7, 7, 4, 2, 3, 4};
    QLineEdit** boxes[6] = {&txt_FrameModel, &txt_FrameNo, &txt_Ad, &txt_Ad2, &txt_ColorNo, &txt_TrimNo};
    for (int i = 0; i < 6; ++i) {
        auto* box = new CondBox(this);
        box->setObjectName(names[i]);
        limit_to_field(box, lengths[i]);
        box->setFont(oem_font());
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(lengths[i] + 2, '0')));
        box->setEnabled(false);
        *boxes[i] = box;
        if (i == 2 || i == 3) box->on_lost_focus = [this, box] { run("txt_Ad_LostFocus", [&] { cond_lost_focus(box); }); };
    }
    for (int i = 0; i < 2; ++i) {
        upd_Ad[i] = new UpDown(this);
        upd_Ad[i]->setObjectName(QString("upd_Ad_%1").arg(i));
        upd_Ad[i]->setEnabled(false);
        upd_Ad[i]->on_up_click = [this, i] { run("upd_Ad_UpClick", [&] { upd_Ad_Click(i, 1); }); };
        upd_Ad[i]->on_down_click = [this, i] { run("upd_Ad_DownClick", [&] { upd_Ad_Click(i, -1); }); };
    }
    // Captions before the frame model, the year, the colour and the trim;
    // the frame number and the month go with the box before them.
    for (int i = 0; i < 6; ++i) {
        lbl_Cond[i] = new QLabel(this);
        lbl_Cond[i]->setObjectName(QString("lbl_Cond_%1").arg(i));
        if (i == 1 || i == 3) lbl_Cond[i]->hide();
    }
    cond->addWidget(lbl_Cond[0]);
    cond->addWidget(txt_FrameModel);
    cond->addWidget(new QLabel("-", this));
    cond->addWidget(txt_FrameNo);
    cond->addSpacing(16);
    cond->addWidget(lbl_Cond[2]);
    cond->addWidget(txt_Ad);
    cond->addWidget(upd_Ad[0]);
    cond->addWidget(txt_Ad2);
    cond->addWidget(upd_Ad[1]);
    cond->addSpacing(16);
    cond->addWidget(lbl_Cond[4]);
    cond->addWidget(txt_ColorNo);
    cond->addSpacing(16);
    cond->addWidget(lbl_Cond[5]);
    cond->addWidget(txt_TrimNo);
    cond->addStretch(1);
    lbl_Match[0] = new QLabel(this);
    lbl_Match[0]->setObjectName("lbl_Match_0");
    lbl_Match[1] = new QLabel(this);
    lbl_Match[1]->setObjectName("lbl_Match_1");
    lbl_Page = new QLabel(this);
    lbl_Page->setObjectName("lbl_Page");
    lbl_NowPage = new QLabel(this);
    lbl_NowPage->setObjectName("lbl_NowPage");
    cond->addWidget(lbl_Match[0]);
    cond->addWidget(lbl_Match[1]);
    cond->addSpacing(16);
    cond->addWidget(lbl_Page);
    cond->addWidget(lbl_NowPage);
    layout->addLayout(cond);

    msg_Pnho = new Grid(this);
    msg_Pnho->setObjectName("msg_Pnho");
    msg_Pnho->set_cols(9);
    msg_Pnho->set_fixed_rows(1);
    msg_Pnho->set_fixed_cols(0);
    msg_Pnho->set_selection_mode(Grid::Selection::ByRow);
    msg_Pnho->on_click = [this] { run("msg_Pnho_Click", [&] { msg_Pnho_Click(); }); };
    msg_Pnho->on_key_press = [this](int& key) { run("msg_Pnho_KeyPress", [&] { msg_Pnho_KeyPress(key); }); };
    layout->addWidget(msg_Pnho, 1);

    // The quantity box lies over the quantity cell of the row it edits.
    txt_Qty = new QLineEdit(msg_Pnho);
    txt_Qty->setObjectName("txt_Qty");
    txt_Qty->setMaxLength(2);
    txt_Qty->setFont(screen_font("Courier", 12));
    txt_Qty->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,2}"), txt_Qty));
    txt_Qty->hide();

}

std::array<QLineEdit*, 6> Pnho::cond_boxes() const {
    return {txt_FrameModel, txt_FrameNo, txt_Ad, txt_Ad2, txt_ColorNo, txt_TrimNo};
}

void Pnho::redraw(bool on) { msg_Pnho->set_redraw(on); }

void Pnho::grid_focus() {
    if (msg_Pnho->isEnabled()) msg_Pnho->setFocus();
}

void Pnho::on_load() {
    SetHourglass();
    PnhoLoadResult = 0;
    closed_ = false;
    pl::PnhoModule& m = pl::pnho_module();
    QString title = ScrText(2200, 37).trimmed();
    setWindowTitle(title);
    lbl_title->setText(title);
    const int cond_texts[6] = {303, 303, 304, 304, 305, 306};
    for (int i = 0; i < 6; ++i) lbl_Cond[i]->setText(ScrText(cond_texts[i], 18).trimmed());
    lbl_Page->setText(ScrText(2220, 5).trimmed());
    redraw(false);
    DispMsg(kMsgMaking, lbl_Msg);
    try {
        enter_list_mode();
        txt_Qty->hide();
        PnhoCondFlagsSet = 0;
        PnhoAtLastPage = false;
        Pnho_DispVehicle(-1);
        m.price_kind = 0;
        PnhoMatchState = 0;
        lbl_Match[0]->setText(ScrText(2215, 10));
        std::string buf(pl::kPathBuffer, '\0');
        VbString path{buf.data(), pl::kPathBuffer};
        int16_t r = eng::pnho_exec_main(&path, &PnhoMatchState);
        m.list_path = field_text(buf.data(), buf.size()).trimmed().toStdString();
        if (r != 0) {
            PnhoLoadResult = r;
        } else {
            int32_t e = Pnho_msg_Pnho_Set(0);
            if (e != 0) {
                WriteErrorLog("PXPNHO", "Form_Load", "Pnho_msg_Pnho_Set", e, 0, 0);
                PnhoLoadResult = 1;
            } else {
                // The engine knows now where the list came from (F10's
                // visibility follows it).
                Pnho_SetPFKeys(PnhoMode);
                Pnho_MoveRow(0);
            }
        }
    } catch (const RuntimeError& e) {
        // An engine that cannot be loaded or called: the exit after failure.
        WriteErrorLog("PXPNHO", "Form_Load", e.step(), e.number(), 0, 0);
        PnhoLoadResult = -1;
    }
    redraw(true);
    SetDefaultPointer();
}

void Pnho::on_activate() {
    if (closed_) return;
    if (PnhoLoadResult == 4) {
        Pnho_Exit(0);
    } else if (PnhoLoadResult != 0) {
        Pnho_Exit(-1);
    } else {
        grid_focus();
    }
}

void Pnho::on_unload() {
    PnhoRecords.clear();
    PnhoRecordCount = 0;
    try {
        eng::pnho_check_LclFigFlg(0);
        eng::pnho_close_main();
    } catch (const RuntimeError&) {
        // Nothing more to close.
    }
    const std::string& path = pl::pnho_module().list_path;
    if (!path.empty()) plat::delete_file(path);
}

void Pnho::Pnho_Exit(int status) {
    if (closed_) return;
    // From here on nothing touches the screen again, also when the dialog's
    // closing activates it once more.
    closed_ = true;
    if (status == -1) {
        DispMsg(kMsgSystemError, lbl_Msg);
        ShowErrorDialog(*this);
    }
    ScrBackToMenu();
    unload_form(*this);
}

// A screen text in its field of `len` characters, blank-padded.
static QString fixed(int32_t no, int len) { return ScrText(no, len).leftJustified(len, ' ', true); }

void Pnho::set_header_row() {
    Grid* g = msg_Pnho;
    g->set_text(0, 0, "");
    g->set_text(0, 1, fixed(2201, 2));
    // The two texts run on as one; blanks after them would only push the
    // heading off its column.
    QString code = fixed(2202, 5) + fixed(2203, 6);
    while (code.endsWith(' ')) code.chop(1);
    g->set_text(0, 2, code);
    g->set_text(0, 3, fixed(2204, 2) + "\n" + fixed(2205, 2));
    g->set_text(0, 4, ScrText(2206, 13).trimmed());
    g->set_text(0, 5, fixed(2207, 2) + "\n" + fixed(2208, 2));
    g->set_text(0, 6, ScrText(2209, 9).trimmed());
    g->set_text(0, 7, ScrText(2212, 20).trimmed());
    g->set_text(0, 8, ScrText(2213, 28).trimmed());
}

int32_t Pnho::Pnho_msg_Pnho_Set(int flag) {
    if (flag == -1) {
        PnhoRecords.clear();
        Pnho_ClearRows();
    }
    int32_t r = Pnho_LoadList();
    if (r != 0) return r;
    DispMsg(kMsgPrompt, lbl_Msg);
    Pnho_OpenCondBoxes(false);
    grid_focus();
    return 0;
}

int32_t Pnho::Pnho_LoadList() {
    const std::string& path = pl::pnho_module().list_path;
    // A list file that is not there is no list: a failure, not an empty one.
    std::FILE* f = path.empty() ? nullptr : plat::fopen(path, "rb");
    if (f == nullptr) return kRunTimeFileNotFound;
    std::string bytes;
    char chunk[8192];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
    bool bad = std::ferror(f) != 0;
    std::fclose(f);
    if (bad) return kRunTimeBadRecord;
    PnhoRecordCount = static_cast<int32_t>(bytes.size() / pl::kRecordSize);
    msg_Pnho->set_cols(9);
    set_header_row();
    PnhoRecords.assign(static_cast<size_t>(PnhoRecordCount) + 1, std::string());
    int32_t counted = 0;
    for (int32_t i = 1; i <= PnhoRecordCount; ++i) {
        std::string& rec = PnhoRecords[static_cast<size_t>(i)];
        rec = bytes.substr(static_cast<size_t>(i - 1) * pl::kRecordSize, pl::kRecordSize);
        if (pl::reads_as_number(pl::field(rec, 1))) ++counted;
    }
    PnhoPageTop = 1;
    PnhoPageIndex = 0;
    PnhoPageStarts.assign(1, 1);
    PnhoAtLastPage = false;
    Pnho_DispPage(1);
    if (msg_Pnho->rows() > 1) msg_Pnho->set_row(1);
    msg_Pnho->set_col(0);
    Pnho_CountPages();
    show_page_label();
    lbl_Match[1]->setText(QString::number(counted));
    return 0;
}

void Pnho::Pnho_SetGridLayout() {
    Grid* g = msg_Pnho;
    g->set_font_name(oem_font_name(), 12);
    PnhoCharWidth = g->char_width();
    const int unit = g->text_height();
    g->set_rows(2000);
    g->set_row_heights(unit);
    g->set_row_height(0, unit * 2);
    const bool jp = ansi_code_page() == 932;
    const int whole_jp[9] = {2, 3, 8, 4, 16, 4, 11, 33, 33};
    const int whole[9] = {1, 2, 6, 3, 15, 3, 10, 30, 30};
    const bool half[9] = {true, true, true, false, false, false, false, false, false};
    const int cw = PnhoCharWidth;
    for (int c = 0; c < 9; ++c) {
        int w = jp ? whole_jp[c] * cw : whole[c] * cw + (half[c] ? cw / 2 : 0);
        g->set_col_width(c, w);
        bool left = c == 4 || c == 6 || c == 7 || c == 8;
        g->set_col_alignment(c, left ? Grid::Align::Left : Grid::Align::Center);
    }
}

void Pnho::Pnho_DispVehicle(int flag) {
    DispVehicleInfo(*this, flag == -1);
    if (flag != -1) return;
    txt_FrameModel->setText(accessor(lib::VBGetFrameModel, 7).trimmed());
    txt_FrameNo->setText(accessor(lib::VBGetFrameNo, 7).trimmed());
    QString ad = accessor(lib::VBGetAd, 6);
    txt_Ad->setText(ad.left(txt_Ad->maxLength()).trimmed());
    txt_Ad2->setText(ad.right(txt_Ad2->maxLength()).trimmed());
    txt_ColorNo->setText(accessor(lib::vehicle::VBGetColorNo, 3).trimmed());
    txt_TrimNo->setText(accessor(lib::vehicle::VBGetTrimNo, 4).trimmed());
}

// --- pages ---------------------------------------------------------------------

void Pnho::Pnho_DispPage(int step) {
    Pnho_SetGridLayout();
    Grid* g = msg_Pnho;
    const int32_t end = pl::page_end(PnhoRecords, PnhoPageTop);
    const int32_t lines = end - PnhoPageTop;
    // A group larger than a page is shown whole: the grid grows for it.
    if (lines + 1 > g->rows()) g->set_rows(lines + 1);
    int row = 0;
    for (int32_t r = PnhoPageTop; r < end; ++r) {
        const std::string& rec = PnhoRecords[static_cast<size_t>(r)];
        ++row;
        std::vector<QString> cells;
        cells.reserve(9);
        cells.push_back(rec.size() > pl::kMark && rec[pl::kMark] == 'S' ? "*" : "");
        for (int fld = 1; fld <= 8; ++fld) {
            std::string f = pl::field(rec, fld);
            cells.push_back(from_ansi(f));
        }
        g->set_row_texts(row, cells);
    }
    g->set_rows(row + 1);
    const int32_t count = PnhoRecordCount;
    if (end > count) {
        PnhoAtLastPage = true;
    } else if (step == 1) {
        size_t next = static_cast<size_t>(PnhoPageIndex) + 1;
        if (PnhoPageStarts.size() <= next) PnhoPageStarts.resize(next + 1, 0);
        PnhoPageStarts[next] = end;
    }
    PnhoPageTop = end;
}

void Pnho::Pnho_CountPages() { PnhoPageCount = pl::count_pages(PnhoRecords); }

void Pnho::Pnho_ClearRows() {
    int rows = msg_Pnho->rows();
    msg_Pnho->set_rows(2);
    msg_Pnho->set_text(1, 0, "");
    for (int c = 0; c < msg_Pnho->cols(); ++c) msg_Pnho->set_text(1, c, "");
    msg_Pnho->set_rows(rows);
}

void Pnho::show_page_label() {
    lbl_NowPage->setText(QString("%1/%2").arg(PnhoPageIndex + 1).arg(PnhoPageCount));
}

void Pnho::Pnho_ChangePage(int step) {
    SetHourglass();
    DispMsg(kMsgPageChange, lbl_Msg);
    Pnho_ClearRows();
    size_t at = static_cast<size_t>(PnhoPageIndex + step);
    if (at >= PnhoPageStarts.size()) {
        SetDefaultPointer();
        return;
    }
    PnhoPageTop = PnhoPageStarts[at];
    PnhoPageIndex += step;
    Pnho_DispPage(step);
    if (msg_Pnho->rows() > 1) msg_Pnho->set_row(1);
    msg_Pnho->set_col(0);
    Pnho_MoveRow(0);
    show_page_label();
    DispMsg(kMsgPrompt, lbl_Msg);
    SetDefaultPointer();
}

void Pnho::Pnho_MoveRow(int step) {
    Grid* g = msg_Pnho;
    if (g->rows() < 2) return;
    int row = step == 0 ? 1 : g->row();
    if (row + step < g->rows()) row += step;
    g->select(row, 1, row, g->cols() - 1);
}

void Pnho::Pnho_Scroll(int step) { msg_Pnho->set_top_row(msg_Pnho->top_row() + step); }

int32_t Pnho::record_of_row(int row) const {
    size_t at = static_cast<size_t>(PnhoPageIndex);
    int32_t start = at < PnhoPageStarts.size() ? PnhoPageStarts[at] : 1;
    return start - 1 + row;
}

PX_FORM(Pnho);

}  // namespace px
