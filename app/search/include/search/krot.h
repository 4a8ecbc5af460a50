// The search-route screen: after the vehicle is identified, the clerk picks
// one of nine routes to the vehicle's parts, fills in its input and runs it
// with F10 (MenuVar_Exec, krot_exec.cpp).
//
//   route 0  figure groups (check boxes)    -> illustration index Emok
//         1  part-name-code entry list      -> Kpnc
//         2  user part-group list           -> Kgrl
//         3  locally supplied parts         -> Lpem
//         4  figure number (2 + 2)          -> illustration Bunz
//         5  part-name code (6)             -> Bunz
//         6  part number (5 + 5 + 2)        -> Bunz
//         7  group code (3)                 -> Kgrp
//         8  keyword (20)                   -> keyword result list Kkwd
//
// The route whose input last had the focus is the current one; its frame is
// marked and its help message shown, unless a not-found message is pending
// (PendingMsg), which the next route input to get the focus shows instead.
// The screen never stays loaded under another: it unloads when it opens the
// next screen, so every return to it starts afresh with the selection, the
// figure list and SELECT.TMP emptied.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "search/search_screen.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace px::search {

class Krot : public SearchScreen {
public:
    static constexpr const char* kName = "Krot";
    static constexpr int kRoutes = 9;
    Krot();

    std::array<QGroupBox*, kRoutes> fra_Route{};
    std::array<QCheckBox*, 4> chk_Sech{};
    std::array<QPushButton*, 4> cmd_Sech{};  // indexes 1-3
    std::array<QLineEdit*, 2> txt_FigNo{};
    QLineEdit* txt_PNm = nullptr;
    std::array<QLineEdit*, 3> txt_PNo{};
    QLineEdit* txt_Grp = nullptr;
    QLineEdit* txt_KeyWord = nullptr;
    QLabel* lbl_title = nullptr;

    int16_t CurRoute = 0;
    int16_t PendingMsg = 0;
    std::string RouteFigNo = std::string(4, ' ');
    std::string RoutePnc = std::string(6, ' ');
    std::string RoutePartNo = std::string(12, ' ');

    void on_load() override;
    void on_activate() override;

    void KROT_Set_Focus(int route);
    void KROT_Mark_Route(int route, int on);
    // F10: runs the current route.
    void MenuVar_Exec();
    // A click of the group-list button: route 2 without the wait pointer.
    void GroupListButton();

    // The route an input belongs to, or -1.
    int route_of(const QObject* input) const;

protected:
    void on_function_key(int n) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void KROT_Load_Text();
    void KROT_Clear();
    void input_focus(QObject* input, bool got);
    bool input_key_press(QObject* input, QKeyEvent* event);
    void input_key_release(QObject* input, QKeyEvent* event);
    void figure_groups_changed();
    int16_t help_message(int route) const;

    // The outcomes of a route.
    void not_found(int16_t no, bool beep = true);
    void empty_input();
    void open(const char* screen);

    void route_figure_groups();
    void route_group_list(bool wait);
    void route_local_parts();
    void route_figure_number();
    void route_pnc();
    void route_part_number();
    void route_group_code();
    void route_keyword();
};

}  // namespace px::search
