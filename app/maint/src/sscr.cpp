#include "maint/sscr.h"

#include <algorithm>

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "maint/maint_entries.h"
#include "platform/files.h"
#include "shell/codepage.h"
#include "shell/grid.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px::maint {

namespace {

constexpr int16_t kMsgGuide = 159;
constexpr int16_t kMsgSystemError = 999;
constexpr int kPathLen = 128;
constexpr const char* kSource = "PXSSCR";
// Logged: the screen file could not be read whole, or not written.
constexpr int32_t kErrReadScreenFile = 14;
constexpr int32_t kErrWriteScreenFile = 13;

}  // namespace

std::string& ScreenSectionTag() {
    static std::string tag;
    return tag;
}

std::string& ScreenSectionName() {
    static std::string name;
    return name;
}

void SSCR_Get_Section() {
    ScreenSectionTag().clear();
    ScreenSectionName().clear();
    auto* editor = dynamic_cast<Sscr*>(loaded_form(Sscr::kName));
    if (editor == nullptr) return;
    const std::string text = to_ansi(editor->cbo_scrnm->currentText());
    for (int i = 0; i < kScreenCount; ++i) {
        if (!ScreenNames()[i].empty() && ScreenNames()[i] == text) {
            ScreenSectionTag() = kScreenTags[i];
            ScreenSectionName() = ScreenNames()[i];
            return;
        }
    }
}

// Both paths from the set-up library, into strings of kPathLen bytes.
void screen_paths(std::string* screen, std::string* work) {
    std::string s(kPathLen, '\0'), w(kPathLen, '\0');
    VbString vs{s.data(), kPathLen}, vw{w.data(), kPathLen};
    lib::Screen_FilePath(&vs, &vw);
    auto cut = [](std::string x) {
        size_t n = x.find('\0');
        if (n != std::string::npos) x.resize(n);
        while (!x.empty() && x.back() == ' ') x.pop_back();
        return x;
    };
    *screen = cut(s);
    *work = cut(w);
}

Sscr::Sscr() : Form(kName) {
    auto* layout = make_frame({.size = {960, 700}, .keys = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}});
    lbl_title = new QLabel(this);
    lbl_title->setObjectName("lbl_title");
    lbl_title->setAlignment(Qt::AlignCenter);
    QFont f = lbl_title->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 4);
    lbl_title->setFont(f);
    layout->addWidget(lbl_title);
    fra_scrflstp = new QGroupBox(this);
    fra_scrflstp->setObjectName("fra_scrflstp");
    auto* frame = new QVBoxLayout(fra_scrflstp);
    auto* choice = new QHBoxLayout;
    lbl_scrnm = new QLabel(fra_scrflstp);
    lbl_scrnm->setObjectName("lbl_scrnm");
    cbo_scrnm = new QComboBox(fra_scrflstp);
    cbo_scrnm->setObjectName("cbo_scrnm");
    cbo_scrnm->setEditable(true);
    cbo_scrnm->setInsertPolicy(QComboBox::NoInsert);
    cbo_scrnm->setMinimumWidth(420);
    choice->addWidget(lbl_scrnm);
    choice->addWidget(cbo_scrnm);
    choice->addStretch(1);
    frame->addLayout(choice);
    msg_Screen = new Grid(fra_scrflstp);
    msg_Screen->setObjectName("msg_Screen");
    msg_Screen->set_font_name(oem_font_name(), 10);
    msg_Screen->set_cols(2);
    msg_Screen->set_rows(2);
    msg_Screen->set_fixed_rows(1);
    msg_Screen->set_fixed_cols(0);
    msg_Screen->set_selection_mode(Grid::Selection::ByRow);
    msg_Screen->set_scroll_bars(Grid::kVertical);
    msg_Screen->setFixedSize(900, 480);
    frame->addWidget(msg_Screen, 1);
    layout->addWidget(fra_scrflstp, 1);

    connect(cbo_scrnm, &QComboBox::editTextChanged, this, [this] {
        run("cbo_scrnm_Change", [this] {
            SSCR_Get_Section();
            SSCR_Disp_Section();
        });
    });
    msg_Screen->on_dbl_click = [this] { run("msg_Screen_DblClick", [this] { open_editor(); }); };
    msg_Screen->on_key_press = [this](int& key_ascii) {
        if (key_ascii != kKeyEnter) return;
        key_ascii = 0;
        run("msg_Screen_KeyPress", [this] { open_editor(); });
    };
}

Sscr::~Sscr() = default;

void Sscr::on_load() {
    const QString title = ScrText(4400, 40);
    setWindowTitle(title.trimmed());
    lbl_title->setText(title);
    lbl_scrnm->setText(ScrText(4401, 15));
    DispMsg(kMsgGuide, lbl_Msg);
    screen_paths(&screen_path_, &work_path_);
    SSCR_Import_Text();
    SSCR_Set_Combo();
    char_width_ = msg_Screen->char_width();
    char_height_ = msg_Screen->text_height();
    SSCR_Set_PF_Caption(1);
    msg_Screen->set_col_width(0, 2 * char_width_);
    // No wider than the room beside the scroll bar: a click on a text must
    // not scroll the mark column out of sight, with no bar to bring it back.
    msg_Screen->set_col_width(
        1, std::min(msg_Screen->width_twips() - (4 * char_width_ + char_width_ / 2), msg_Screen->fill_width(1)));
    // The texts stand left-aligned, so that their leading blanks show.
    msg_Screen->set_col_alignment(1, Grid::Align::Left);
    msg_Screen->set_text(0, 1, ScrText(4402, 20));
    choose(from_ansi(ScreenNames()[0]));
}

void Sscr::choose(const QString& name) {
    cbo_scrnm->setEditText(QString());
    cbo_scrnm->setEditText(name);
}

void Sscr::on_activate() {
    msg_Screen->select(1, 0, 1, 1);
    msg_Screen->setFocus();
}

void Sscr::on_unload() { plat::delete_file(work_path_); }

void Sscr::SSCR_Set_PF_Caption(int mode) {
    if (mode != 1) return;
    for (int n = 1; n <= 12; ++n) {
        QPushButton* b = cmd_PF(n);
        b->setText(ScrText(199 + n, n <= 9 ? 8 : 9));
        b->setEnabled(n == 1 || n == 3 || n == 4 || n == 6 || n == 10 || n == 11);
    }
}

void Sscr::SSCR_Set_Combo() {
    cbo_scrnm->blockSignals(true);
    cbo_scrnm->clear();
    for (const std::string& name : ScreenNames())
        if (!name.empty()) cbo_scrnm->addItem(from_ansi(name));
    cbo_scrnm->setEditText(QString());
    cbo_scrnm->blockSignals(false);
}

void Sscr::SSCR_Import_Text() {
    SetHourglass();
    const bool whole = work_.import_file(screen_path_, work_path_);
    SetDefaultPointer();
    if (whole) return;
    // The texts read so far can be looked at, never written back.
    WriteErrorLog(kSource, "SSCR_Import_Text", "import_file", kErrReadScreenFile, 0, 0);
    DispMsg(kMsgSystemError, lbl_Msg);
}

void Sscr::SSCR_Disp_Section() {
    msg_Screen->set_redraw(false);
    for (int r = 1; r < msg_Screen->rows(); ++r)
        for (int c = 0; c < msg_Screen->cols(); ++c) msg_Screen->set_text(r, c, QString());
    if (!ScreenSectionTag().empty()) {
        int row = 1;
        for (const ScreenRow& s : work_.section(work_path_, ScreenSectionTag())) {
            msg_Screen->set_rows(row + 1);
            msg_Screen->set_text(row, 0, QString(QChar(s.mark)));
            msg_Screen->set_text(row, 1, from_ansi(s.text));
            ++row;
        }
        msg_Screen->set_top_row(1);
    }
    msg_Screen->set_redraw(true);
}

void Sscr::open_editor() {
    auto& dialog = static_cast<Ssed&>(load_form(Ssed::kName));
    dialog.txt_Old->setText(msg_Screen->text(msg_Screen->row(), 1));
    ShowModalOwned(dialog, this);
}

bool Sscr::on_key_down(int key_code) {
    switch (key_code) {
        case key_f(1): case key_f(3): case key_f(4): case key_f(6): case key_f(10): case key_f(11):
            on_pf_click(key_code - kKeyF1 + 1);
            return true;
        default: return key_code >= kKeyF1 && key_code <= kKeyF12;
    }
}

void Sscr::on_pf_click(int n) {
    switch (n) {
        case 1: ShowHelp(*this); break;
        case 3:
            ScrBack();
            unload_form(*this);
            break;
        case 4:
            ScrBackToMenu();
            unload_form(*this);
            break;
        case 6: HardCopy(*this, lbl_Msg); break;
        case 10: SSCR_Export_Text(); break;
        case 11: SSCR_Reload_Text(); break;
        default: break;
    }
}

void Sscr::SSCR_Export_Text() {
    SetHourglass();
    const bool ok = work_.export_file(work_path_, screen_path_);
    if (ok) lib::Reload_ScreenFile();
    SetDefaultPointer();
    if (!ok) {
        // The screen file stays as it was; the clerk is told and stays here.
        WriteErrorLog(kSource, "SSCR_Export_Text", "export_file", work_.whole() ? kErrWriteScreenFile : kErrReadScreenFile,
                      0, 0);
        DispMsg(kMsgSystemError, lbl_Msg);
        Beep();
        return;
    }
    ScrBack();
    unload_form(*this);
}

void Sscr::SSCR_Reload_Text() {
    plat::delete_file(work_path_);
    SSCR_Import_Text();
    SSCR_Set_Combo();
    choose(from_ansi(ScreenNames()[0]));
}

PX_FORM(Sscr);

}  // namespace px::maint
