#include "search/kkwd.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "search/route_context.h"
#include "search/route_entries.h"
#include "shell/codepage.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/pxall_entries.h"
#include "shell/seams.h"

namespace px::search {

namespace {

constexpr int16_t kMsgGuide = 110;
constexpr int16_t kMsgTooManyFigures = 811;
constexpr int16_t kMsgTooManyCodes = 812;
constexpr int16_t kOutFigureListFull = 1;
constexpr int16_t kOutSelectionFull = 2;

}  // namespace

Kkwd::Kkwd() : SearchScreen(kName) {
    auto* layout = make_frame({.size = {900, 640}, .keys = {1, 3, 4, 6, 10, 11}, .title = "lbl_Ttl_0"});
    lbl_Ttl[0] = frame_title();
    for (int i = 1; i < 7; ++i) lbl_Ttl[i] = make_label(QString("lbl_Ttl_%1").arg(i).toLatin1().constData());
    lbl_Catalog = make_label("lbl_Catalog");
    lbl_Model = make_label("lbl_Model");
    lbl_KeyWord = make_label("lbl_KeyWord");
    auto* rows = new QGridLayout;
    rows->addWidget(lbl_Ttl[1], 0, 0);
    rows->addWidget(lbl_Catalog, 0, 1);
    rows->addWidget(lbl_Ttl[2], 1, 0);
    rows->addWidget(lbl_Model, 1, 1);
    rows->addWidget(lbl_Ttl[3], 2, 0);
    rows->addWidget(lbl_KeyWord, 2, 1);
    rows->setColumnStretch(1, 1);
    for (QLabel* l : {lbl_Catalog, lbl_Model, lbl_KeyWord}) l->setFont(LineFont());
    layout->addLayout(rows);
    // The column titles stand over the list's columns: part name (61
    // characters with its blank), code (7), figure.
    auto* heads = new QHBoxLayout;
    lbl_Ttl[4]->setFixedWidth(LineWidth(61));
    lbl_Ttl[5]->setFixedWidth(LineWidth(7));
    heads->setSpacing(0);
    heads->setContentsMargins(4, 0, 0, 0);
    for (int i = 4; i <= 6; ++i) {
        lbl_Ttl[i]->setFont(LineFont());
        heads->addWidget(lbl_Ttl[i]);
    }
    heads->addStretch(1);
    layout->addLayout(heads);
    lst_KeyWord = make_line_list("lst_KeyWord", true);
    list_control_ = std::make_unique<ListBoxControl>(lst_KeyWord);
    layout->addWidget(lst_KeyWord, 1);
}

Kkwd::~Kkwd() = default;

void Kkwd::on_load() {
    Hourglass pointer;
    load_status_ = kLoadReady;
    KKWD_Load_Text();
    msg(kMsgGuide);
    set_key_captions({{1, 200}, {3, 202}, {4, 203}, {6, 205}, {10, 209}, {11, 210}});
    const std::string path = up_to_nul(route_context().KeywordResultPath);
    if (lib::VBSetListBox(list_control_->hwnd(), path.c_str()) != 0) {
        msg(kMsgSystemError);
        load_status_ = kLoadFailed;
    }
}

void Kkwd::KKWD_Load_Text() {
    const QString title = ScreenText(1500, 41);
    setWindowTitle(title.trimmed());
    lbl_Ttl[0]->setText(title);
    const int widths[7] = {41, 15, 15, 14, 50, 6, 6};
    for (int i = 1; i < 7; ++i) lbl_Ttl[i]->setText(ScreenText(1500 + i, widths[i]));
    const std::string cat = VehicleField(px::lib::VBGetCat, 6);
    const std::string from = VehicleField(px::lib::VBGetProDateF, 4);
    const std::string to = VehicleField(px::lib::VBGetProDateT, 4);
    const std::string name = VehicleField(px::lib::VBGetVName, 20);
    lbl_Catalog->setText(from_ansi(cat));
    lbl_Model->setText(from_ansi(from + "-" + to + " " + name));
    // The keyword as stored, trailing blanks included.
    lbl_KeyWord->setText(from_ansi(route_context().KeywordText));
}

void Kkwd::on_activate() {
    if (load_status_ == kLoadReady) {
        lst_KeyWord->setFocus();
        return;
    }
    if (load_status_ == kLoadLeaving) return;
    load_status_ = kLoadLeaving;
    ShowErrorDialog(*this);
    go_menu();
}

bool Kkwd::on_other_key(int key_code) {
    if (key_code != kKeyEnter || focusWidget() != lst_KeyWord) return false;
    toggle_current_line(lst_KeyWord);
    return true;
}

void Kkwd::on_function_key(int n) {
    switch (n) {
        case 1: ShowHelp(*this); break;
        case 3: go_back(); break;
        case 4: go_menu(); break;
        case 6: HardCopy(*this, lbl_Msg); break;
        case 10: KKWD_Exec(); break;
        case 11: lib::VBAllResetListBox(list_control_->hwnd()); break;
        default: break;
    }
}

void Kkwd::KKWD_Exec() {
    Hourglass pointer;
    if (lst_KeyWord->selectedItems().isEmpty()) return msg(kMsgGuide);
    int16_t out = 0;
    if (lib::VBKkwdWriteSelectTmp(list_control_->hwnd(), &out) != 0) return system_error();
    if (out == kOutFigureListFull) {
        msg(kMsgTooManyFigures);
        return Beep();
    }
    if (out == kOutSelectionFull) {
        msg(kMsgTooManyCodes);
        return Beep();
    }
    open_next("Bunz");
}

PX_FORM(Kkwd);

}  // namespace px::search
