// The keyword result list and the group list, over the real search-route
// library where it needs no catalogue.
#include <cstdio>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "search/kgrl.h"
#include "search/kkwd.h"
#include "search/route_context.h"
#include "shell/help.h"
#include "shell/stack.h"
#include "support/search_fixture.h"

namespace pxtest {
namespace {

using px::Form;
using px::search::Kgrl;
using px::search::Kkwd;

// A line of KKWDPNC.TMP: part name, code, figure.
std::string hit(const std::string& name, const std::string& code, const std::string& figure) {
    std::string n = name;
    n.resize(60, ' ');
    return n + " " + code + " " + figure + "\r\n";
}

class KkwdTest : public SearchTest {
protected:
    Kkwd& open_list(const std::string& file_bytes, const std::string& keyword = "PUMP") {
        auto& ctx = px::search::route_context();
        ctx.KeywordText = px::search::fixed(keyword, 20);
        const std::string path = work_file("KKWDPNC.TMP", file_bytes);
        ctx.KeywordResultPath = path + std::string(80 - path.size(), '\0');
        px::ScrPush(px::load_form(Kkwd::kName));
        menu->hide();
        settle();
        return *static_cast<Kkwd*>(px::loaded_form(Kkwd::kName));
    }
    // `n` hits of distinct codes over `figures` distinct figures.
    static std::string hits(int n, int figures) {
        std::string out;
        char code[8], fig[8];
        for (int i = 0; i < n; ++i) {
            std::snprintf(code, sizeof code, "%05d", i);
            std::snprintf(fig, sizeof fig, "%04d", 1000 + i % figures);
            out += hit("PART " + std::to_string(i), std::string(code) + "A", fig);
        }
        return out;
    }
    static void mark_all(QListWidget* list) {
        for (int i = 0; i < list->count(); ++i) list->item(i)->setSelected(true);
    }
};

TEST_F(KkwdTest, ShowsTheResultLinesAsTheFileHoldsThem) {
    Kkwd& k = open_list(hit("WATER PUMP", "16100A", "1601") + hit("FUEL PUMP", "23221 ", "2301"));
    EXPECT_EQ(k.windowTitle(), "Keyword Search Result");
    EXPECT_EQ(k.lbl_KeyWord->text(), "PUMP                ");
    EXPECT_EQ(k.lbl_Ttl[5]->text(), "PNC");
    EXPECT_EQ(lines(k.lst_KeyWord), (std::vector<std::string>{hit("WATER PUMP", "16100A", "1601").substr(0, 72),
                                                              hit("FUEL PUMP", "23221 ", "2301").substr(0, 72)}));
    EXPECT_EQ(k.lbl_Msg->text(), message(110));
    EXPECT_EQ(k.focusWidget(), k.lst_KeyWord);
    EXPECT_TRUE(k.lst_KeyWord->selectedItems().isEmpty());
}

TEST_F(KkwdTest, NothingMarkedShowsTheGuideAndWritesNothing) {
    Kkwd& k = open_list(hit("WATER PUMP", "16100A", "1601"));
    work_file("SELECT.TMP", std::string(20000, 'x'));
    k.lbl_Msg->clear();
    key(k, Qt::Key_F10);
    EXPECT_EQ(k.lbl_Msg->text(), message(110));
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(read_work("SELECT.TMP"), std::string(20000, 'x'));
    EXPECT_TRUE(StandIn::opened().empty());
}

TEST_F(KkwdTest, MarkedLinesBecomeFiguresAndSelection) {
    Kkwd& k = open_list(hit("WATER PUMP", "16100A", "1601") + hit("PUMP GASKET", "16120 ", "1601") +
                        hit("FUEL PUMP", "23221 ", "2301") + hit("WATER PUMP", "16100A", "1101"));
    for (int i : {0, 1, 3}) click_line(k.lst_KeyWord, i);
    key(k, Qt::Key_F10);
    settle();
    EXPECT_EQ(StandIn::opened(), std::vector<std::string>{"Bunz"});
    EXPECT_EQ(px::loaded_form(Kkwd::kName), nullptr);
    EXPECT_EQ(block_figures(), (std::vector<std::string>{"1601", "1101"}));
    using Item = std::pair<std::string, std::string>;
    EXPECT_EQ(selection(), (std::vector<Item>{{"16100A      ", "01"}, {"16120       ", "01"}}));
    // Back from the illustration: the full list again, nothing marked.
    key(*px::loaded_form("Bunz"), Qt::Key_F3);
    settle();
    auto* again = static_cast<Kkwd*>(px::loaded_form(Kkwd::kName));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->lst_KeyWord->count(), 4);
    EXPECT_TRUE(again->lst_KeyWord->selectedItems().isEmpty());
}

// The figure list holds 100 figures and the selection 1000 codes: one more
// is refused with nothing written and the marks left as they were.
TEST_F(KkwdTest, TooManyFiguresOrCodesAreRefused) {
    const struct {
        int lines, figures, msg;
        bool opens;
    } cases[] = {{100, 100, 0, true}, {101, 101, 811, false}, {1000, 50, 0, true}, {1001, 50, 812, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        StandIn::opened().clear();
        beeps = 0;
        work_file("SELECT.TMP", std::string(20000, 'x'));
        Kkwd& k = open_list(hits(c.lines, c.figures));
        mark_all(k.lst_KeyWord);
        key(k, Qt::Key_F10);
        settle();
        if (c.opens) {
            ASSERT_EQ(StandIn::opened(), std::vector<std::string>{"Bunz"});
            EXPECT_EQ(static_cast<int>(block_figures().size()), std::min(c.figures, 100));
            EXPECT_EQ(static_cast<int>(selection().size()), c.lines);
            key(*px::loaded_form("Bunz"), Qt::Key_F3);
            settle();
            key(*px::loaded_form(Kkwd::kName), Qt::Key_F4);
        } else {
            EXPECT_EQ(k.lbl_Msg->text(), message(c.msg));
            EXPECT_EQ(beeps, 1);
            EXPECT_EQ(read_work("SELECT.TMP"), std::string(20000, 'x'));
            EXPECT_EQ(k.lst_KeyWord->selectedItems().size(), c.lines);
            key(k, Qt::Key_F4);
        }
        settle();
    }
}

TEST_F(KkwdTest, EnterTogglesAndF11UnmarksAll) {
    Kkwd& k = open_list(hit("A", "11111 ", "1101") + hit("B", "22222 ", "1101") + hit("C", "33333 ", "1101"));
    k.lst_KeyWord->setCurrentRow(1, QItemSelectionModel::NoUpdate);
    QTest::keyClick(k.lst_KeyWord, Qt::Key_Return);
    EXPECT_TRUE(k.lst_KeyWord->item(1)->isSelected());
    QTest::keyClick(k.lst_KeyWord, Qt::Key_Return);
    EXPECT_FALSE(k.lst_KeyWord->item(1)->isSelected());
    click_line(k.lst_KeyWord, 0);
    click_line(k.lst_KeyWord, 2);
    k.lbl_Msg->clear();
    key(k, Qt::Key_F11);
    EXPECT_TRUE(k.lst_KeyWord->selectedItems().isEmpty());
    EXPECT_TRUE(k.lbl_Msg->text().isEmpty());
}

TEST_F(KkwdTest, UnreadableResultFileShowsTheDialogAndGoesToTheMenu) {
    on_modal("Errm", [](Form& f) { key(f, Qt::Key_F4); });
    auto& ctx = px::search::route_context();
    ctx.KeywordResultPath = std::string("C:\\WORK\\GONE.TMP") + std::string(64, '\0');
    px::ScrPush(px::load_form(Kkwd::kName));
    settle();
    EXPECT_EQ(modals, std::vector<std::string>{"Errm"});
    EXPECT_EQ(px::loaded_form(Kkwd::kName), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);
}

// --- The group list ----------------------------------------------------------

class KgrlTest : public SearchTest {
protected:
    void SetUp() override {
        SearchTest::SetUp();
        script().group_lines = {group_line("G01", "BRAKE PARTS"), group_line("G02", "SERVICE PARTS")};
    }
    static std::string group_line(const std::string& code, const std::string& name) {
        std::string n = name;
        n.resize(60, ' ');
        return "  " + code + "     " + n;
    }
    Kgrl& open_groups() {
        px::ScrPush(px::load_form(Kgrl::kName));
        menu->hide();
        settle();
        return *static_cast<Kgrl*>(px::loaded_form(Kgrl::kName));
    }
};

TEST_F(KgrlTest, F10WithoutAChosenGroupAsks) {
    Kgrl& k = open_groups();
    EXPECT_EQ(k.windowTitle(), "User Part Groups");
    EXPECT_EQ(k.focusWidget(), k.lst_Grp);
    EXPECT_EQ(lines(k.lst_Grp).size(), 2u);
    EXPECT_EQ(k.lbl_Msg->text(), message(115));
    key(k, Qt::Key_F10);
    EXPECT_EQ(k.lbl_Msg->text(), message(157));
    EXPECT_EQ(px::loaded_form(Kgrl::kName), &k);
}

TEST_F(KgrlTest, ChosenGroupOpensTheGroupEntryList) {
    on_modal("Kgpl", [](Form& f) { key(f, Qt::Key_F3); });
    Kgrl& k = open_groups();
    k.lst_Grp->setCurrentRow(1);
    key(k, Qt::Key_F10);
    settle();
    EXPECT_EQ(block_group_code(), "G02");
    EXPECT_EQ(block_group_name(), px::search::fixed("SERVICE PARTS", 60));
    EXPECT_EQ(px::ScrName(px::ScrCount()), "Kgrp");
    EXPECT_EQ(px::loaded_form(Kgrl::kName), nullptr);
    // Back again: the list afresh, no group chosen.
    key(*px::loaded_form("Kgrp"), Qt::Key_F3);
    settle();
    auto* again = static_cast<Kgrl*>(px::loaded_form(Kgrl::kName));
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->lst_Grp->selectedItems().isEmpty());
}

TEST_F(KgrlTest, HelpAndHardCopyLeaveTheGuide) {
    on_modal("Help", [](Form& f) { key(f, Qt::Key_F3); });
    Kgrl& k = open_groups();
    k.lbl_Msg->clear();
    key(k, Qt::Key_F1);
    EXPECT_EQ(px::GetHelpScreenId(), "PXKGRL");
    EXPECT_EQ(k.lbl_Msg->text(), message(115));
    key(k, Qt::Key_F6);
    EXPECT_FALSE(printer.last_image.isNull());
}

}  // namespace
}  // namespace pxtest
