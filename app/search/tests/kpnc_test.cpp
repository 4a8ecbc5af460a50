// The part-name-code entry lists and their pick lists.
#include <cstdio>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "search/kpnc.h"
#include "search/route_context.h"
#include "search/spnc.h"
#include "shell/codepage.h"
#include "shell/help.h"
#include "shell/stack.h"
#include "support/search_fixture.h"

namespace pxtest {
namespace {

using px::Form;
using px::search::Kgrp;
using px::search::Kpnc;
using px::search::Spnc;

std::string entry_line(int n, const std::string& code, const std::string& name, const std::string& qty) {
    char num[8];
    std::snprintf(num, sizeof num, "%03d", n);
    std::string c = code, nm = name;
    c.resize(6, ' ');
    nm.resize(60, ' ');
    return std::string(num) + " " + c + " " + nm + " " + qty;
}

std::string pick_line(const std::string& code, const std::string& name) {
    std::string c = code, nm = name;
    c.resize(6, ' ');
    nm.resize(60, ' ');
    return c + "  " + nm;
}

class KpncTest : public SearchTest {
protected:
    Kpnc& open_entry(const char* name = Kpnc::kName) {
        px::ScrPush(px::load_form(name));
        menu->hide();
        settle();
        return *static_cast<Kpnc*>(px::loaded_form(name));
    }
    // Types into the focused box as the clerk would.
    static void type(Kpnc& k, const char* text) {
        for (const char* p = text; *p != 0; ++p) QTest::keyClicks(k.focusWidget(), QString(QChar(*p)));
    }
    static void enter(Kpnc& k, const char* code, const char* qty = "") {
        k.txt_Pnc->setFocus();
        k.txt_Pnc->setText(code);
        k.txt_Qty->setText(qty);
        QTest::keyClick(k.txt_Pnc, Qt::Key_Return);
    }
    static void fill(Kpnc& k, int n) {
        for (int i = 0; i < n; ++i) {
            char code[8];
            std::snprintf(code, sizeof code, "%05d", i);
            k.lst_Pnc->addItem(px::from_ansi(entry_line(i, code, "PART", "01")));
        }
    }
    // A pick file of `n` codes and its path in the context.
    void pick_file(const std::vector<std::string>& picks) {
        std::string bytes;
        for (const auto& p : picks) bytes += p + "\r\n";
        script()["VBKpncMakePncLst"] = Answer{0, 0, static_cast<int16_t>(picks.size()), work_file("PNCPOP.TMP", bytes)};
    }
};

TEST_F(KpncTest, CodeBoxTakesCodesAndAStarAfterThreeCharacters) {
    Kpnc& k = open_entry();
    EXPECT_EQ(k.windowTitle(), "Part-Name-Code Entry");
    EXPECT_EQ(k.focusWidget(), k.txt_Pnc);
    EXPECT_EQ(k.lbl_Msg->text(), message(112));
    type(k, "12*");
    EXPECT_EQ(k.txt_Pnc->text(), "12");
    EXPECT_EQ(beeps, 1);
    type(k, "3*-");
    EXPECT_EQ(k.txt_Pnc->text(), "123*");
    EXPECT_EQ(beeps, 2);
    k.txt_Pnc->clear();
    type(k, "16a0b");
    EXPECT_EQ(k.txt_Pnc->text(), "16A0B");
    EXPECT_EQ(k.focusWidget(), k.txt_Pnc);
    type(k, "c");  // the sixth character moves on to the quantity
    EXPECT_EQ(k.focusWidget(), k.txt_Qty);
    type(k, "5x");
    EXPECT_EQ(k.txt_Qty->text(), "5");
    EXPECT_EQ(beeps, 3);
    QTest::keyClick(k.txt_Qty, Qt::Key_Backspace);  // back at the start: back to the code
    EXPECT_EQ(k.focusWidget(), k.txt_Pnc);
    EXPECT_EQ(k.txt_Pnc->cursorPosition(), 6);
}

TEST_F(KpncTest, ShortCodeIsRefusedWithTwoBeeps) {
    Kpnc& k = open_entry();
    enter(k, "1234");
    EXPECT_EQ(k.lbl_Msg->text(), message(867));
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(k.lst_Pnc->count(), 0);
    enter(k, "12345");
    EXPECT_EQ(lines(k.lst_Pnc), std::vector<std::string>{entry_line(0, "12345", "NAME 12345 ", "01")});
    EXPECT_TRUE(k.txt_Pnc->text().isEmpty());
    EXPECT_EQ(k.EditLine, -1);
}

// Quantities go into the list as two digits from 01 to 99.
TEST_F(KpncTest, QuantitiesAreZeroPaddedWithinRange) {
    const struct {
        const char* typed;
        const char* stored;
    } cases[] = {{"", "01"}, {"5", "05"}, {"0", "01"}, {"00", "01"}, {"07", "07"}, {"99", "99"}};
    for (const auto& c : cases) EXPECT_EQ(Kpnc::entry_quantity(c.typed), c.stored) << c.typed;
    Kpnc& k = open_entry();
    enter(k, "16100", "5");
    EXPECT_EQ(script().calls_of("VBKpncAddRepPnc"), std::vector<std::string>{"VBKpncAddRepPnc(16100,05,-1)"});
}

TEST_F(KpncTest, DoubleClickedLineIsReplacedInPlaceWithItsNewName) {
    script().names["16100 "] = "WATER PUMP";
    script().names["23221 "] = "FUEL PUMP";
    Kpnc& k = open_entry();
    enter(k, "11111");
    enter(k, "16100", "2");
    enter(k, "22222");
    k.lst_Pnc->setCurrentRow(1, QItemSelectionModel::NoUpdate);
    emit k.lst_Pnc->itemDoubleClicked(k.lst_Pnc->item(1));
    EXPECT_EQ(k.txt_Pnc->text(), "16100 ");
    EXPECT_EQ(k.txt_Qty->text(), "02");
    EXPECT_EQ(k.focusWidget(), k.txt_Qty);
    k.txt_Pnc->setText("23221");
    k.txt_Qty->setText("12");
    QTest::keyClick(k.txt_Qty, Qt::Key_Return);
    EXPECT_EQ(lines(k.lst_Pnc)[1], entry_line(1, "23221", "FUEL PUMP", "12"));
    EXPECT_EQ(k.lst_Pnc->count(), 3);
    EXPECT_EQ(k.EditLine, -1);
}

TEST_F(KpncTest, DeletingRenumbersTheLinesThatFollow) {
    Kpnc& k = open_entry();
    for (const char* c : {"11111", "22222", "33333", "44444", "55555"}) enter(k, c);
    click_line(k.lst_Pnc, 1);
    click_line(k.lst_Pnc, 2);
    k.txt_Pnc->setText("999");
    k.cmd_Pnc->click();
    std::vector<std::string> numbers, codes;
    for (const auto& l : lines(k.lst_Pnc)) {
        numbers.push_back(l.substr(0, 3));
        codes.push_back(l.substr(4, 5));
    }
    EXPECT_EQ(numbers, (std::vector<std::string>{"000", "001", "002"}));
    EXPECT_EQ(codes, (std::vector<std::string>{"11111", "44444", "55555"}));
    EXPECT_TRUE(k.txt_Pnc->text().isEmpty());
}

// The list holds 1000 lines: the 1000th entry is taken, a further one is
// refused with the boxes kept, and F10 hands all 1000 over.
TEST_F(KpncTest, ThousandLinesAndNoMore) {
    Kpnc& k = open_entry();
    fill(k, 998);
    enter(k, "A0998");
    enter(k, "A0999");
    EXPECT_EQ(k.lst_Pnc->count(), 1000);
    EXPECT_EQ(lines(k.lst_Pnc)[999].substr(0, 9), "999 A0999");
    enter(k, "A1000", "3");
    EXPECT_EQ(k.lbl_Msg->text(), message(812));
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(k.txt_Pnc->text(), "A1000");
    EXPECT_EQ(k.txt_Qty->text(), "3");
    EXPECT_EQ(k.lst_Pnc->count(), 1000);
    key(k, Qt::Key_F10);
    settle();
    EXPECT_EQ(StandIn::opened(), std::vector<std::string>{"Pnho"});
    const auto sel = selection();
    ASSERT_EQ(sel.size(), 1000u);
    EXPECT_EQ(sel[999], (std::pair<std::string, std::string>{"A0999       ", "01"}));
}

TEST_F(KpncTest, EmptyListIsNotHandedOver) {
    Kpnc& k = open_entry();
    key(k, Qt::Key_F10);
    EXPECT_EQ(k.lbl_Msg->text(), message(833));
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(StandIn::opened().empty());
}

TEST_F(KpncTest, PrefixWithoutCodesFindsNothing) {
    script()["VBKpncMakePncLst"] = Answer{0, 0, 0, ""};
    Kpnc& k = open_entry();
    enter(k, "ZZZ*");
    EXPECT_EQ(k.lbl_Msg->text(), message(865));
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(modals.empty());
}

TEST_F(KpncTest, PicksOfThePrefixAreAppended) {
    pick_file({pick_line("16100A", "WATER PUMP"), pick_line("16120", "PUMP GASKET"), pick_line("16150", "")});
    Kpnc& k = open_entry();
    enter(k, "11111");
    on_modal("Spnc", [&](Form& f) {
        auto& s = static_cast<Spnc&>(f);
        EXPECT_EQ(s.windowTitle(), "PNC  SELECT");
        EXPECT_EQ(s.lbl_Msg->text(), message(121));
        EXPECT_EQ(s.pick_list->count(), 3);
        click_line(s.pick_list, 2);
        click_line(s.pick_list, 0);
        key(s, Qt::Key_F10);
    });
    k.txt_Qty->setText("4");
    enter(k, "161*", "4");
    EXPECT_EQ(modals, std::vector<std::string>{"Spnc"});
    EXPECT_EQ(lines(k.lst_Pnc), (std::vector<std::string>{entry_line(0, "11111", "NAME 11111 ", "01"),
                                                          entry_line(1, "16100A", "WATER PUMP", "01"),
                                                          entry_line(2, "16150", "", "01")}));
    EXPECT_EQ(k.txt_Pnc->text(), "161*");
    EXPECT_TRUE(k.txt_Qty->text().isEmpty());
    EXPECT_EQ(k.lbl_Msg->text(), message(112));
}

TEST_F(KpncTest, PickListRefusesToOverfillTheEntryList) {
    pick_file({pick_line("16100", "A"), pick_line("16120", "B"), pick_line("16150", "C")});
    Kpnc& k = open_entry();
    fill(k, 998);
    int rounds = 0;
    on_modal("Spnc", [&](Form& f) {
        auto& s = static_cast<Spnc&>(f);
        for (int i = 0; i < 3; ++i) click_line(s.pick_list, i);
        key(s, Qt::Key_F10);
        EXPECT_EQ(s.lbl_Msg->text(), message(812));
        EXPECT_TRUE(s.loaded());
        ++rounds;
        click_line(s.pick_list, 1);
        key(s, Qt::Key_F10);
    });
    enter(k, "161*");
    EXPECT_EQ(rounds, 1);
    EXPECT_EQ(beeps, 1);
    ASSERT_EQ(k.lst_Pnc->count(), 1000);
    EXPECT_EQ(lines(k.lst_Pnc)[998], entry_line(998, "16100", "A", "01"));
    EXPECT_EQ(lines(k.lst_Pnc)[999], entry_line(999, "16150", "C", "01"));
}

TEST_F(KpncTest, PickListKeysCopyNothing) {
    pick_file({pick_line("16100", "A"), pick_line("16120", "B")});
    Kpnc& k = open_entry();
    on_modal("Spnc", [&](Form& f) {
        auto& s = static_cast<Spnc&>(f);
        click_line(s.pick_list, 0);
        s.pick_list->setCurrentRow(1, QItemSelectionModel::NoUpdate);
        QTest::keyClick(s.pick_list, Qt::Key_Return);  // Enter marks the current line
        EXPECT_EQ(s.pick_list->selectedItems().size(), 2);
        key(s, Qt::Key_F11);
        EXPECT_TRUE(s.pick_list->selectedItems().isEmpty());
        EXPECT_TRUE(s.loaded());
        key(s, Qt::Key_F6);  // prints the entry list below
        click_line(s.pick_list, 0);
        key(s, Qt::Key_F3);
    });
    enter(k, "161*");
    EXPECT_EQ(k.lst_Pnc->count(), 0);
    EXPECT_EQ(printer.last_image.width(), k.width());
}

TEST_F(KpncTest, UnreadablePickFileTakesTheEntryListToTheMenu) {
    script()["VBKpncMakePncLst"] = Answer{0, 0, 2, "C:\\WORK\\GONE.TMP"};
    on_modal("Spnc", [](Form&) {});
    on_modal("Errm", [](Form& f) { key(f, Qt::Key_F4); });
    Kpnc& k = open_entry();
    enter(k, "161*");
    settle();
    EXPECT_EQ(modals, (std::vector<std::string>{"Errm"}));
    EXPECT_EQ(px::search::route_context().PickListToMenu, -1);
    EXPECT_EQ(px::loaded_form(Kpnc::kName), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);
}

TEST_F(KpncTest, F11EmptiesEverything) {
    Kpnc& k = open_entry();
    enter(k, "11111");
    k.txt_Pnc->setText("222");
    key(k, Qt::Key_F11);
    EXPECT_EQ(k.lst_Pnc->count(), 0);
    EXPECT_TRUE(k.txt_Pnc->text().isEmpty());
    EXPECT_EQ(k.lbl_Msg->text(), message(112));
    EXPECT_EQ(k.focusWidget(), k.txt_Pnc);
}

// --- The group's entry list --------------------------------------------------

TEST_F(KpncTest, GroupListOpensItsPickListOnceByItself) {
    script().group_pnc_lines = {std::string("16100   ") + std::string(60, ' '),
                                std::string("16120   PUMP GASKET") + std::string(49, ' ')};
    int shown = 0;
    on_modal("Kgpl", [&](Form& f) {
        auto& s = static_cast<Spnc&>(f);
        ++shown;
        EXPECT_EQ(s.windowTitle(), "GROUP PNC SEARCH");
        EXPECT_EQ(s.lbl_GrpCd->text(), "G01");
        EXPECT_EQ(s.lbl_GrpNm->text().trimmed(), "BRAKE PARTS");
        EXPECT_EQ(s.lbl_Msg->text(), message(115));
        click_line(s.pick_list, 1);
        key(s, Qt::Key_F10);
    });
    on_modal("Help", [](Form& f) { key(f, Qt::Key_F3); });
    Kpnc& k = open_entry(Kgrp::kName);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(k.windowTitle(), "User Part Group Entry");
    EXPECT_EQ(script().calls_of("VBMakeListGrpPnc"), std::vector<std::string>{"VBMakeListGrpPnc(G01,0)"});
    EXPECT_EQ(lines(k.lst_Pnc), std::vector<std::string>{entry_line(0, "16120", "PUMP GASKET", "01")});
    EXPECT_EQ(k.focusWidget(), k.txt_Pnc);
    // Later activations leave it closed; F12 opens it again.
    key(k, Qt::Key_F1);
    EXPECT_EQ(px::GetHelpScreenId(), "PXKGRL");
    EXPECT_EQ(shown, 1);
    key(k, Qt::Key_F12);
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(k.lst_Pnc->count(), 2);
}

TEST_F(KpncTest, KeyF12BelongsToTheGroupListOnly) {
    Kpnc& k = open_entry();
    key(k, Qt::Key_F12);
    EXPECT_TRUE(modals.empty());
}

}  // namespace
}  // namespace pxtest
