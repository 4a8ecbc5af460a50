// F10 of the search-route screen: the current route's input is checked,
// its library call made, and the next screen opened or the reason shown.
#include <QCheckBox>
#include <QLineEdit>

#include "search/krot.h"
#include "search/route_context.h"
#include "search/route_entries.h"
#include "shell/codepage.h"
#include "shell/messages.h"
#include "shell/seams.h"

namespace px::search {

namespace {

constexpr int16_t kMsgProgress = 700;
constexpr int16_t kMsgKeywordProgress = 710;
constexpr int16_t kMsgNoGroupChecked = 830;
constexpr int16_t kMsgNoIndexPage = 861;
constexpr int16_t kMsgNoUserGroup = 133;
constexpr int16_t kMsgNothingFound = 865;
constexpr int16_t kMsgFigureNotFound = 868;
constexpr int16_t kMsgPncNotFound = 867;
constexpr int16_t kMsgPartNotFound = 866;
constexpr int16_t kMsgGroupNotFound = 877;

constexpr int16_t kStatusNotFound = 1;
constexpr int16_t kStatusNoSuchGroup = 2;
constexpr int16_t kStatusNoCd = 4;

// The group code of every group; the list route stores it, the code route
// never takes it.
constexpr const char* kAllGroups = "***";

bool blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

}  // namespace

void Krot::not_found(int16_t no, bool beep) {
    PendingMsg = no;
    msg(no);
    if (beep) Beep();
    KROT_Set_Focus(CurRoute);
}

void Krot::empty_input() {
    Beep();
    KROT_Set_Focus(CurRoute);
}

void Krot::open(const char* screen) { open_next(screen); }

void Krot::MenuVar_Exec() {
    Hourglass pointer;
    switch (CurRoute) {
        case 0: route_figure_groups(); break;
        case 1: open("Kpnc"); break;
        case 2: route_group_list(true); break;
        case 3: route_local_parts(); break;
        case 4: route_figure_number(); break;
        case 5: route_pnc(); break;
        case 6: route_part_number(); break;
        case 7: route_group_code(); break;
        case 8: route_keyword(); break;
        default:
            msg(kMsgSystemError);
            WriteErrorLog("PXKROT", "MenuVar_Exec", "MV_Cmd_Focus", 0, 0, 0);
            break;
    }
}

void Krot::GroupListButton() { route_group_list(false); }

void Krot::route_figure_groups() {
    lib::VBKrotClearFigGrp();
    bool any = false;
    for (int16_t i = 0; i < 4; ++i) {
        if (!chk_Sech[i]->isChecked()) continue;
        lib::VBKrotSetFigGrp(i);
        any = true;
    }
    if (!any) return not_found(kMsgNoGroupChecked);
    msg(kMsgProgress);
    int16_t count = 0, status = 0;
    if (lib::VBEmokInit(&count, &status) != 0) return system_error();
    if (status == kStatusNoCd) return go_menu();
    // A build without pages leaves the index library closed, so that the
    // next figure groups are built afresh.
    if (count == 0) return not_found(kMsgNoIndexPage);
    // Without the index screen nobody would close the library it opened.
    if (!open_next("Emok")) lib::VBEmokTerm();
}

void Krot::route_group_list(bool wait) {
    if (wait) msg(kMsgProgress);
    int16_t status = 0;
    lib::VBKgrlSetGroupCode(kAllGroups);
    if (lib::VBKgrlLoad(&status) != 0) return system_error();
    if (status == kStatusNotFound) return not_found(kMsgNoUserGroup, false);
    open("Kgrl");
}

void Krot::route_local_parts() {
    msg(kMsgProgress);
    int16_t count = 0;
    std::string& path = route_context().LpemFigListPath;
    path.assign(kWorkPathWidth, '\0');
    VbString p{path.data(), static_cast<int32_t>(path.size())};
    if (lib::VBLpemMakeFigListFile(&count, &p) != 0) return system_error();
    if (count == 0) return not_found(kMsgNothingFound);
    open("Lpem");
}

void Krot::route_figure_number() {
    RouteFigNo = fixed(to_ansi(txt_FigNo[0]->text() + txt_FigNo[1]->text()), 4);
    if (blank(RouteFigNo)) return empty_input();
    msg(kMsgProgress);
    int16_t status = 0;
    if (lib::VBKrotCheckFigNo(RouteFigNo.c_str(), &status) != 0) return system_error();
    if (status == kStatusNotFound) return not_found(kMsgFigureNotFound);
    if (status == kStatusNoCd) return go_menu();
    open("Bunz");
}

void Krot::route_pnc() {
    RoutePnc = fixed(to_ansi(txt_PNm->text()), 6);
    if (blank(RoutePnc)) return empty_input();
    msg(kMsgProgress);
    int16_t status = 0;
    VbString fig{RouteFigNo.data(), static_cast<int32_t>(RouteFigNo.size())};
    if (lib::VBKrotCheckPnc(RoutePnc.c_str(), &fig, &status) != 0) return system_error();
    if (status == kStatusNotFound) return not_found(kMsgPncNotFound);
    if (status == kStatusNoCd) return go_menu();
    open("Bunz");
}

void Krot::route_part_number() {
    RoutePartNo = fixed(to_ansi(txt_PNo[0]->text() + txt_PNo[1]->text() + txt_PNo[2]->text()), 12);
    if (blank(RoutePartNo)) return empty_input();
    // The boxes show the number as it is looked up, blanks included.
    txt_PNo[0]->setText(from_ansi(RoutePartNo.substr(0, 5)));
    txt_PNo[1]->setText(from_ansi(RoutePartNo.substr(5, 5)));
    txt_PNo[2]->setText(from_ansi(RoutePartNo.substr(10, 2)));
    msg(kMsgProgress);
    int16_t status = 0;
    VbString fig{RouteFigNo.data(), static_cast<int32_t>(RouteFigNo.size())};
    if (lib::VBKrotCheckPn(RoutePartNo.c_str(), &fig, &status) != 0) return system_error();
    if (status == kStatusNotFound) return not_found(kMsgPartNotFound);
    if (status == kStatusNoCd) return go_menu();
    open("Bunz");
}

void Krot::route_group_code() {
    const std::string code = to_ansi(txt_Grp->text());
    if (blank(code)) return empty_input();
    // "***" stands for every group, never for one: the group screen would
    // open on no group at all. It cannot be typed, only pasted.
    if (fixed(code, 3) == kAllGroups) return not_found(kMsgGroupNotFound);
    msg(kMsgProgress);
    lib::VBKgrlSetGroupCode(code.c_str());
    int16_t status = 0;
    if (lib::VBKgrlLoad(&status) != 0) return system_error();
    if (status == kStatusNotFound || status == kStatusNoSuchGroup) return not_found(kMsgGroupNotFound);
    open("Kgrp");
}

void Krot::route_keyword() {
    QString keyword = txt_KeyWord->text();
    qsizetype n = keyword.size();
    while (n > 0 && keyword[n - 1] == ' ') --n;
    keyword.truncate(n);
    txt_KeyWord->setText(keyword);
    if (keyword.isEmpty()) return empty_input();
    RouteContext& ctx = route_context();
    ctx.KeywordText = fixed(to_ansi(keyword), kKeywordWidth);
    msg(kMsgKeywordProgress);
    int16_t count = 0, status = 0;
    ctx.KeywordResultPath.assign(kWorkPathWidth, '\0');
    VbString path{ctx.KeywordResultPath.data(), static_cast<int32_t>(ctx.KeywordResultPath.size())};
    if (lib::VBKkwdLoad(ctx.KeywordText.c_str(), &count, &path, &status) != 0) return system_error();
    if (status == kStatusNoCd) return go_menu();
    if (count == 0) return not_found(kMsgNothingFound);
    open("Kkwd");
}

}  // namespace px::search
