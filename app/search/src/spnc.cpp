#include "search/spnc.h"

#include <cstdio>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "search/route_context.h"
#include "search/route_entries.h"
#include "shell/codepage.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px::search {

namespace {

constexpr int16_t kMsgPncGuide = 121;
constexpr int16_t kMsgGroupGuide = 115;
constexpr int16_t kMsgListFull = 812;
constexpr int kMaxEntryLines = 1000;

// Pick line: code (6), two blanks, part name (60).
constexpr size_t kPickLen = 68, kPickCode = 0, kPickName = 8;

}  // namespace

Spnc::Spnc(const char* name, bool group) : SearchScreen(name), group_(group) {
    setWindowTitle(group ? "GROUP PNC SEARCH" : "PNC  SELECT");
    auto* layout = make_frame({.size = {760, 520}, .keys = {1, 3, 6, 10, 11}, .placement = Placement::Kept});
    for (int i = 1; i <= (group ? 3 : 2); ++i) {
        lbl_Ttl[i] = make_label(QString("lbl_Ttl_%1").arg(i).toLatin1().constData());
        lbl_Ttl[i]->setFont(LineFont());
    }
    int first_head = 1;
    if (group) {
        lbl_GrpCd = make_label("lbl_GrpCd");
        lbl_GrpNm = make_label("lbl_GrpNm");
        lbl_GrpCd->setFont(LineFont());
        lbl_GrpNm->setFont(LineFont());
        auto* top = new QHBoxLayout;
        top->addWidget(lbl_Ttl[1]);
        top->addWidget(lbl_GrpCd);
        top->addStretch(1);
        layout->addLayout(top);
        layout->addWidget(lbl_GrpNm);
        first_head = 2;
    }
    auto* heads = new QHBoxLayout;
    heads->setSpacing(0);
    heads->setContentsMargins(4, 0, 0, 0);
    lbl_Ttl[first_head]->setFixedWidth(LineWidth(8));
    heads->addWidget(lbl_Ttl[first_head]);
    heads->addWidget(lbl_Ttl[first_head + 1]);
    heads->addStretch(1);
    layout->addLayout(heads);
    pick_list = make_line_list(group ? "lst_GrpPnc" : "lst_Pnc", true);
    list_control_ = std::make_unique<ListBoxControl>(pick_list);
    layout->addWidget(pick_list, 1);
}

Spnc::~Spnc() = default;

void Spnc::on_load() {
    RouteContext& ctx = route_context();
    ctx.PickListToMenu = 0;
    PickState = 0;
    if (group_) {
        lbl_Ttl[1]->setText(ScreenText(3507, 9));
        lbl_Ttl[2]->setText(ScreenText(3504, 6));
        lbl_Ttl[3]->setText(ScreenText(3505, 20));
        lbl_GrpCd->setText(from_ansi(ctx.SelGroupCode));
        lbl_GrpNm->setText(from_ansi(ctx.SelGroupName));
    } else {
        lbl_Ttl[1]->setText(ScreenText(1604, 6));
        lbl_Ttl[2]->setText(ScreenText(1605, 20));
    }
    msg(group_ ? kMsgGroupGuide : kMsgPncGuide);
    set_key_captions({{1, 200}, {3, 202}, {6, 205}, {10, 209}, {11, 210}});
    int32_t rc = 0;
    if (group_) {
        int16_t flag = 0;
        rc = lib::VBMakeListGrpPnc(ctx.SelGroupCode.c_str(), list_control_->hwnd(), &flag);
    } else {
        const std::string path = up_to_nul(ctx.PncPopPath);
        rc = lib::VBSetListBox(list_control_->hwnd(), path.c_str());
    }
    if (rc != 0) {
        msg(kMsgSystemError);
        PickState = kLoadFailed;
    }
}

void Spnc::on_activate() {
    if (PickState == kLoadReady) {
        pick_list->setFocus();
        return;
    }
    if (PickState == kLoadLeaving) return;
    PickState = kLoadLeaving;
    ShowErrorDialog(*this);
    route_context().PickListToMenu = -1;
    unload_form(*this);
}

void Spnc::on_close_request() { unload_form(*this); }

bool Spnc::on_other_key(int key_code) {
    if (key_code != kKeyEnter || focusWidget() != pick_list) return false;
    toggle_current_line(pick_list);
    return true;
}

void Spnc::on_function_key(int n) {
    switch (n) {
        case 1: ShowHelpByName(group_ ? "Kgrp" : "Kpnc"); break;
        case 3: unload_form(*this); break;
        case 6: {
            Form* owner = GetModalOwner();
            if (owner == nullptr) throw RuntimeError(kErrObjectNotSet, "GetModalOwner");
            HardCopy(*owner, lbl_Msg);
            break;
        }
        case 10: SPNC_Exec(); break;
        case 11: lib::VBAllResetListBox(list_control_->hwnd()); break;
        default: break;
    }
}

void Spnc::SPNC_Exec() {
    QListWidget* entries = group_ ? route_context().GrpPncEntryList : route_context().PncEntryList;
    if (entries == nullptr) throw RuntimeError(kErrObjectNotSet, group_ ? "GrpPncEntryList" : "PncEntryList");
    int picked = 0;
    for (int i = 0; i < pick_list->count(); ++i)
        if (pick_list->item(i)->isSelected()) ++picked;
    if (entries->count() + picked > kMaxEntryLines) {
        msg(kMsgListFull);
        return Beep();
    }
    for (int i = 0; i < pick_list->count(); ++i) {
        if (!pick_list->item(i)->isSelected()) continue;
        std::string pick = to_ansi(pick_list->item(i)->text());
        pick.resize(kPickLen, ' ');
        char number[8];
        std::snprintf(number, sizeof number, "%03d", entries->count() % 1000);
        const std::string line =
            std::string(number) + " " + pick.substr(kPickCode, 6) + " " + pick.substr(kPickName, 60) + " 01";
        entries->addItem(from_ansi(line));
    }
    if (picked > 0) entries->scrollToItem(entries->item(entries->count() - 1), QAbstractItemView::PositionAtTop);
    unload_form(*this);
}

PX_FORM(Spnc);
PX_FORM(Kgpl);

}  // namespace px::search
