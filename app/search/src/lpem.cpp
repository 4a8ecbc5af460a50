#include "search/lpem.h"

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

namespace px::search {

namespace {

constexpr int16_t kMsgGuide = 117;
constexpr int16_t kMsgTooManyFigures = 811;
constexpr int16_t kMsgNoFigure = 831;
constexpr int16_t kOutFigureListFull = 1;
constexpr int16_t kOutNoneMarked = 2;

}  // namespace

Lpem::Lpem() : SearchScreen(kName) {
    auto* layout = make_frame({.size = {760, 600}, .keys = {1, 3, 4, 6, 10, 11}, .title = "lbl_Ttl_0"});
    lbl_Ttl[0] = frame_title();
    for (int i = 1; i < 5; ++i) lbl_Ttl[i] = make_label(QString("lbl_Ttl_%1").arg(i).toLatin1().constData());
    lbl_Catalog = make_label("lbl_Catalog");
    lbl_Model = make_label("lbl_Model");
    for (QLabel* l : {lbl_Catalog, lbl_Model}) l->setFont(LineFont());
    auto* rows = new QGridLayout;
    rows->addWidget(lbl_Ttl[1], 0, 0);
    rows->addWidget(lbl_Catalog, 0, 1);
    rows->addWidget(lbl_Ttl[2], 1, 0);
    rows->addWidget(lbl_Model, 1, 1);
    rows->setColumnStretch(1, 1);
    layout->addLayout(rows);
    // Headings over the figure number (columns 1-7) and the figure name.
    auto* heads = new QHBoxLayout;
    heads->setSpacing(0);
    heads->setContentsMargins(4, 0, 0, 0);
    lbl_Ttl[3]->setFixedWidth(LineWidth(7));
    for (int i = 3; i <= 4; ++i) {
        lbl_Ttl[i]->setFont(LineFont());
        heads->addWidget(lbl_Ttl[i]);
    }
    heads->addStretch(1);
    layout->addLayout(heads);
    lst_FigNo = make_line_list("lst_FigNo", true);
    list_control_ = std::make_unique<ListBoxControl>(lst_FigNo);
    layout->addWidget(lst_FigNo, 1);
}

Lpem::~Lpem() = default;

void Lpem::on_load() {
    Hourglass pointer;
    load_status_ = kLoadReady;
    const int widths[5] = {41, 15, 15, 9, 20};
    QString texts[5];
    for (int i = 0; i < 5; ++i) texts[i] = ScreenText(3900 + i, widths[i]);
    setWindowTitle(texts[0].trimmed());
    for (int i = 0; i < 5; ++i) lbl_Ttl[i]->setText(texts[i]);
    lbl_Catalog->setText(from_ansi(VehicleField(px::lib::VBGetCat, 6)));
    lbl_Model->setText(from_ansi(VehicleField(px::lib::VBGetProDateF, 4) + "-" + VehicleField(px::lib::VBGetProDateT, 4) +
                                 " " + VehicleField(px::lib::VBGetVName, 20)));
    msg(kMsgGuide);
    set_key_captions({{1, 200}, {3, 202}, {4, 203}, {6, 205}, {10, 209}, {11, 210}});
    const std::string path = up_to_nul(route_context().LpemFigListPath);
    if (lib::VBSetListBox(list_control_->hwnd(), path.c_str()) != 0) {
        msg(kMsgSystemError);
        load_status_ = kLoadFailed;
    }
}

void Lpem::on_activate() {
    if (load_status_ == kLoadReady) {
        lst_FigNo->setFocus();
        return;
    }
    if (load_status_ == kLoadLeaving) return;
    load_status_ = kLoadLeaving;
    ShowErrorDialog(*this);
    go_menu();
}

bool Lpem::on_other_key(int key_code) {
    if (key_code != kKeyEnter || focusWidget() != lst_FigNo) return false;
    toggle_current_line(lst_FigNo);
    return true;
}

void Lpem::on_function_key(int n) {
    switch (n) {
        case 1:
            ShowHelp(*this);
            msg(kMsgGuide);
            break;
        case 3: go_back(); break;
        case 4: go_menu(); break;
        case 6:
            msg(kMsgGuide);
            HardCopy(*this, lbl_Msg);
            break;
        case 10: Lpem_Exec(); break;
        case 11:
            lib::VBAllResetListBox(list_control_->hwnd());
            msg(kMsgGuide);
            break;
        default: break;
    }
}

void Lpem::Lpem_Exec() {
    Hourglass pointer;
    int16_t out = 0;
    if (lib::VBLpemSetFigNo(list_control_->hwnd(), &out) != 0) return system_error();
    if (out == kOutFigureListFull) return msg(kMsgTooManyFigures);
    if (out == kOutNoneMarked) return msg(kMsgNoFigure);
    open_next("Lpps");
}

PX_FORM(Lpem);

}  // namespace px::search
