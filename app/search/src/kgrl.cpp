#include "search/kgrl.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "search/route_entries.h"
#include "shell/codepage.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/pxall_entries.h"

namespace px::search {

namespace {

constexpr int16_t kMsgGuide = 115;
constexpr int16_t kMsgNoGroupChosen = 157;
constexpr int16_t kOutNoLine = 1;

}  // namespace

Kgrl::Kgrl() : SearchScreen(kName) {
    auto* layout = make_frame({.size = {860, 600}, .keys = {1, 3, 4, 6, 10}, .title = "lbl_Ttl_0"});
    lbl_Ttl[0] = frame_title();
    for (int i = 1; i < 5; ++i) lbl_Ttl[i] = make_label(QString("lbl_Ttl_%1").arg(i).toLatin1().constData());
    lbl_Catalog = make_label("lbl_Catalog");
    lbl_Vehicle[0] = make_label("lbl_Vehicle_0");
    lbl_Vehicle[1] = make_label("lbl_Vehicle_1");
    for (QLabel* l : {lbl_Catalog, lbl_Vehicle[0], lbl_Vehicle[1]}) l->setFont(LineFont());
    auto* rows = new QGridLayout;
    rows->addWidget(lbl_Ttl[1], 0, 0);
    rows->addWidget(lbl_Catalog, 0, 1);
    rows->addWidget(lbl_Ttl[2], 1, 0);
    rows->addWidget(lbl_Vehicle[0], 1, 1);
    rows->addWidget(lbl_Vehicle[1], 1, 2);
    rows->setColumnStretch(3, 1);
    layout->addLayout(rows);
    // Column titles over the code (columns 1-10) and the description.
    auto* heads = new QHBoxLayout;
    heads->setSpacing(0);
    heads->setContentsMargins(4, 0, 0, 0);
    lbl_Ttl[3]->setFixedWidth(LineWidth(10, true));
    for (int i = 3; i <= 4; ++i) {
        lbl_Ttl[i]->setFont(LineFont(true));
        heads->addWidget(lbl_Ttl[i]);
    }
    heads->addStretch(1);
    layout->addLayout(heads);
    lst_Grp = make_line_list("lst_Grp", false);
    list_control_ = std::make_unique<ListBoxControl>(lst_Grp);
    layout->addWidget(lst_Grp, 1);
}

Kgrl::~Kgrl() = default;

void Kgrl::on_load() {
    const QString title = ScreenText(3400, 41);
    setWindowTitle(title.trimmed());
    lbl_Ttl[0]->setText(title);
    const int widths[5] = {41, 16, 16, 11, 61};
    for (int i = 1; i < 5; ++i) lbl_Ttl[i]->setText(ScreenText(3400 + i, widths[i]));
    lbl_Catalog->setText(from_ansi(VehicleField(px::lib::VBGetCat, 6)));
    lbl_Vehicle[0]->setText(
        from_ansi(VehicleField(px::lib::VBGetProDateF, 4) + "-" + VehicleField(px::lib::VBGetProDateT, 4)));
    lbl_Vehicle[1]->setText(from_ansi(VehicleField(px::lib::VBGetVName, 20)));
    msg(kMsgGuide);
    set_key_captions({{1, 200}, {3, 202}, {4, 203}, {6, 205}, {10, 209}});
    lib::VBMakeListGrpMei(list_control_->hwnd());
    // The list opens with no group chosen.
    lst_Grp->setCurrentRow(-1);
    lst_Grp->clearSelection();
}

void Kgrl::on_activate() { lst_Grp->setFocus(); }

void Kgrl::on_function_key(int n) {
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
        case 10: KGRL_Exec(); break;
        default: break;
    }
}

void Kgrl::KGRL_Exec() {
    int16_t out = 0;
    lib::VBKgrlSelectGroup(list_control_->hwnd(), &out);
    if (out == kOutNoLine) return msg(kMsgNoGroupChosen);
    open_next("Kgrp");
}

PX_FORM(Kgrl);

}  // namespace px::search
