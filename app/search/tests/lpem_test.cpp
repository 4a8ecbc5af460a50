// The figure list of the locally supplied parts, over the real local-parts
// library (its figure-list entry needs no catalogue).
#include <cstdio>

#include <QLabel>
#include <QListWidget>
#include <QTest>

#include "search/lpem.h"
#include "search/route_context.h"
#include "shell/help.h"
#include "shell/stack.h"
#include "support/search_fixture.h"

namespace pxtest {
namespace {

using px::Form;
using px::search::Lpem;

std::string figure_line(const std::string& figure, const std::string& name) {
    std::string n = name;
    n.resize(30, ' ');
    return " " + figure + "  " + n + "\r\n";
}

class LpemTest : public SearchTest {
protected:
    Lpem& open_list(const std::string& bytes) {
        const std::string path = work_file("LPEMFNLS.TMP", bytes);
        px::search::route_context().LpemFigListPath = path + std::string(80 - path.size(), '\0');
        px::ScrPush(px::load_form(Lpem::kName));
        menu->hide();
        settle();
        return *static_cast<Lpem*>(px::loaded_form(Lpem::kName));
    }
    static std::string figures(int n) {
        std::string out;
        char fig[8];
        for (int i = 0; i < n; ++i) {
            std::snprintf(fig, sizeof fig, "%04d", 1000 + i);
            out += figure_line(fig, "FIGURE");
        }
        return out;
    }
};

TEST_F(LpemTest, MarkedFiguresBecomeTheFigureListOnce) {
    Lpem& l = open_list(figure_line("1601", "WATER PUMP & RADIATOR") + figure_line("1101", "ENGINE") +
                        figure_line("1601", "WATER PUMP & RADIATOR"));
    EXPECT_EQ(l.windowTitle(), "Local Parts - Figures");
    EXPECT_EQ(l.lbl_Msg->text(), message(117));
    EXPECT_EQ(l.focusWidget(), l.lst_FigNo);
    EXPECT_EQ(lines(l.lst_FigNo)[1], figure_line("1101", "ENGINE").substr(0, 37));
    for (int i : {0, 2}) click_line(l.lst_FigNo, i);
    key(l, Qt::Key_F10);
    settle();
    EXPECT_EQ(px::ScrName(px::ScrCount()), "Lpps");
    EXPECT_EQ(block_figures(), std::vector<std::string>{"1601"});
    // Back from the pages: the list afresh, nothing marked.
    key(*px::loaded_form("Lpps"), Qt::Key_F3);
    settle();
    auto* again = static_cast<Lpem*>(px::loaded_form(Lpem::kName));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->lst_FigNo->count(), 3);
    EXPECT_TRUE(again->lst_FigNo->selectedItems().isEmpty());
}

TEST_F(LpemTest, NoMarkOrTooManyFiguresStay) {
    Lpem& l = open_list(figures(101));
    key(l, Qt::Key_F10);
    EXPECT_EQ(l.lbl_Msg->text(), message(831));
    for (int i = 0; i < 101; ++i) click_line(l.lst_FigNo, i);
    key(l, Qt::Key_F10);
    EXPECT_EQ(l.lbl_Msg->text(), message(811));
    EXPECT_EQ(l.lst_FigNo->selectedItems().size(), 101);
    click_line(l.lst_FigNo, 100);
    key(l, Qt::Key_F10);
    settle();
    EXPECT_EQ(px::ScrName(px::ScrCount()), "Lpps");
    EXPECT_EQ(block_figures().size(), 100u);
}

TEST_F(LpemTest, EnterTogglesAndF11UnmarksAll) {
    Lpem& l = open_list(figures(3));
    l.lst_FigNo->setCurrentRow(2, QItemSelectionModel::NoUpdate);
    QTest::keyClick(l.lst_FigNo, Qt::Key_Return);
    EXPECT_TRUE(l.lst_FigNo->item(2)->isSelected());
    QTest::keyClick(l.lst_FigNo, Qt::Key_Return);
    EXPECT_FALSE(l.lst_FigNo->item(2)->isSelected());
    click_line(l.lst_FigNo, 0);
    l.lbl_Msg->clear();
    key(l, Qt::Key_F11);
    EXPECT_TRUE(l.lst_FigNo->selectedItems().isEmpty());
    EXPECT_EQ(l.lbl_Msg->text(), message(117));
}

TEST_F(LpemTest, UnreadableListShowsTheDialogAndGoesToTheMenu) {
    on_modal("Errm", [](Form& f) { key(f, Qt::Key_F4); });
    px::search::route_context().LpemFigListPath = std::string("C:\\WORK\\GONE.TMP") + std::string(64, '\0');
    px::ScrPush(px::load_form(Lpem::kName));
    settle();
    EXPECT_EQ(modals, std::vector<std::string>{"Errm"});
    EXPECT_EQ(px::loaded_form(Lpem::kName), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);
}

}  // namespace
}  // namespace pxtest
