// The applicability inquiry over a scripted PXTEKI.
#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "inquiry/cdss.h"
#include "inquiry/popup_vars.h"
#include "inquiry/teki.h"
#include "shell/codepage.h"
#include "platform/clock.h"
#include "shell/grid.h"
#include "shell/messages.h"
#include "shell/stack.h"
#include "support/inquiry_test.h"

namespace pxtest {
namespace {

using px::Form;
using px::Teki;

class TekiTest : public InquiryTest {
protected:
    Teki& teki() { return static_cast<Teki&>(open(Teki::kName)); }
    static void type(Teki& t, const char* a, const char* b, const char* c) {
        const char* parts[3] = {a, b, c};
        for (int i = 0; i < 3; ++i) {
            t.txt_Enter[static_cast<size_t>(i)]->setFocus();
            QTest::keyClicks(t.txt_Enter[static_cast<size_t>(i)], parts[i]);
        }
        QTest::keyClick(t.txt_Enter[2], Qt::Key_Return);
    }
    static std::vector<std::string> list(Teki& t) {
        std::vector<std::string> out;
        for (int i = 0; i < t.lst_Entry->count(); ++i) out.push_back(t.lst_Entry->item(i)->text().toStdString());
        return out;
    }
    // n hits of one part number, one line each.
    static std::vector<std::string> hits(int n, const std::string& part = "15601-YZ001-A1") {
        std::vector<std::string> out;
        for (int i = 0; i < n; ++i) {
            char no[8];
            std::snprintf(no, sizeof no, "%02d", (i + 1) % 100);
            out.push_back(teki_record(no, part, "15601A", "4410A" + std::to_string(i % 10), "CAR " + std::to_string(i),
                                      "0101", "", "REMARK " + std::to_string(i), "", "15601-YZ002-A1", "(SUBS)"));
        }
        return out;
    }
};

// The screen opens on the result grid, its headings whole in the grid's
// font; a column wider than its heading keeps its width in characters.
TEST_F(TekiTest, OpensOnTheGridWithEveryHeadingWhole) {
    inst->write("PXDROM01.SCR", "2702 No\n2703 Part Number\n2704 Code\n2705 Catalog\n2706 Catalogue Name\n"
                                "2707 Period\n2708 Remarks\n2709 Qty\n");
    Teki& t = teki();
    px::Grid* g = t.msg_Parts;
    EXPECT_EQ(t.focusWidget(), g);
    EXPECT_EQ(g->text(0, 5).trimmed(), "Period");
    const QFontMetrics fm(g->font());
    const int tw = px::display_twips().x;
    for (int c = 0; c < g->cols(); ++c)
        EXPECT_GE(g->col_width(c) / tw, fm.horizontalAdvance(g->text(0, c).trimmed()) + 4) << "column " << c;
    EXPECT_EQ(g->col_width(6), 42 * g->char_width());
}

TEST_F(TekiTest, PartNumbersAreTypedInThreeBoxesAndListedInDisplayForm) {
    Teki& t = teki();
    t.txt_Enter[0]->setFocus();
    QTest::keyClicks(t.txt_Enter[0], "ab1cd");
    EXPECT_EQ(t.txt_Enter[0]->text(), "AB1CD");
    EXPECT_EQ(t.focusWidget(), t.txt_Enter[1]);  // the fifth character moves on
    QTest::keyClicks(t.txt_Enter[1], "e2f3g");
    EXPECT_EQ(t.focusWidget(), t.txt_Enter[2]);
    QTest::keyClick(t.txt_Enter[2], Qt::Key_Backspace);  // at the start: back to the box before
    EXPECT_EQ(t.focusWidget(), t.txt_Enter[1]);
    t.txt_Enter[2]->setFocus();
    QTest::keyClick(t.txt_Enter[2], Qt::Key_Return);
    type(t, "15601", "YZ001", "A1");
    type(t, "15601", "YZ001", "A1");  // a number entered twice is listed twice
    EXPECT_EQ(list(t), (std::vector<std::string>{"AB1CD-E2F3G-", "15601-YZ001-A1", "15601-YZ001-A1"}));
    EXPECT_EQ(t.focusWidget(), t.txt_Enter[0]);
    EXPECT_TRUE(t.txt_Enter[2]->text().isEmpty());
}

TEST_F(TekiTest, ShortOrOddPartNumbersAreRefusedAndAnEleventhBeeps) {
    Teki& t = teki();
    type(t, "15601", "YZ0", "");
    EXPECT_EQ(msg(t), "M885");
    t.txt_Enter[0]->clear();
    t.txt_Enter[1]->clear();
    type(t, "156-1", "YZ001", "A1");
    EXPECT_EQ(msg(t), "M885");
    EXPECT_EQ(t.lst_Entry->count(), 0);
    for (int i = 0; i < 10; ++i) {
        for (QLineEdit* b : t.txt_Enter) b->clear();
        type(t, "15601", "YZ001", QString::number(10 + i).toLatin1().constData());
    }
    EXPECT_EQ(t.lst_Entry->count(), 10);
    for (QLineEdit* b : t.txt_Enter) b->clear();
    type(t, "15601", "YZ001", "99");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(t.lst_Entry->count(), 10);
    EXPECT_EQ(t.txt_Enter[2]->text(), "99");  // the boxes keep the refused entry
}

// Delete removes the line the clerk chose and chooses no other in its
// place: a second Delete removes nothing until a line is chosen again.
TEST_F(TekiTest, DeleteRemovesOnlyTheChosenLineAndASecondDeleteNothing) {
    Teki& t = teki();
    for (const char* last : {"A1", "B2", "C3"}) type(t, "15601", "YZ001", last);
    t.lst_Entry->setFocus();  // on the first line, none chosen
    QTest::keyClick(t.lst_Entry, Qt::Key_Down);  // the second line chosen
    ASSERT_EQ(t.lst_Entry->selectedItems().size(), 1);
    ASSERT_EQ(t.lst_Entry->row(t.lst_Entry->selectedItems().front()), 1);
    t.cmd_Entry->setFocus();
    key(t, Qt::Key_Return);
    EXPECT_EQ(list(t), (std::vector<std::string>{"15601-YZ001-A1", "15601-YZ001-C3"}));
    EXPECT_TRUE(t.lst_Entry->selectedItems().isEmpty());
    EXPECT_EQ(t.focusWidget(), t.txt_Enter[0]);
    t.cmd_Entry->setFocus();
    key(t, Qt::Key_Return);
    EXPECT_EQ(list(t), (std::vector<std::string>{"15601-YZ001-A1", "15601-YZ001-C3"}));
    // The last line removed: the list keeps the one before it, unchosen.
    t.lst_Entry->setCurrentRow(1);
    t.cmd_Entry->click();
    t.cmd_Entry->click();
    EXPECT_EQ(list(t), std::vector<std::string>{"15601-YZ001-A1"});
    EXPECT_TRUE(t.lst_Entry->selectedItems().isEmpty());
}

TEST_F(TekiTest, OnePartNumberIsSearchedAndShownTwoLinesAHit) {
    Teki& t = teki();
    fakes().teki_names = {"ELEMENT, OIL FILTER"};
    fakes().teki_records = hits(1);
    fakes().teki_records.push_back(teki_record("", "", "", "", "", "", "", "CONTINUED REMARK", "LAST PIECE"));
    type(t, "15601", "YZ001", "A1");
    key(t, Qt::Key_F10);
    EXPECT_EQ(msg(t), "M105");
    EXPECT_EQ(list(t)[0].substr(0, 37), "15601-YZ001-A1  : ELEMENT, OIL FILTER");
    px::Grid* g = t.msg_Parts;
    EXPECT_EQ(g->rows(), 9);
    EXPECT_EQ(g->text(1, 0), "01");
    EXPECT_EQ(g->text(1, 1), "15601-YZ001-A1\n15601-YZ002-A1");
    EXPECT_EQ(g->text(1, 2), "15601A\n(SUBS)");
    EXPECT_EQ(g->text(1, 3), "4410A0");
    EXPECT_EQ(g->text(1, 5), "0101-\n     ");  // an open period shows its start and a hyphen
    EXPECT_TRUE(g->text(2, 5).isEmpty());      // no period at all: empty
    EXPECT_EQ(g->text(2, 6).trimmed().left(16), "CONTINUED REMARK");
    EXPECT_FALSE(t.frm_Entry->isEnabled());
    EXPECT_FALSE(t.cmd_PF(10)->isVisible());
    EXPECT_TRUE(t.has_result());
}

TEST_F(TekiTest, TenPartNumbersGrowTheGridAndALaterShorterResultLeavesNoStaleRows) {
    Teki& t = teki();
    for (int i = 0; i < 10; ++i) type(t, "15601", "YZ001", QString::number(10 + i).toLatin1().constData());
    fakes().teki_records = hits(20);
    key(t, Qt::Key_F10);
    EXPECT_EQ(fakes().teki_lines.size(), 10u);
    EXPECT_EQ(t.msg_Parts->rows(), 21);
    EXPECT_EQ(t.msg_Parts->text(20, 4).trimmed(), "CAR 19");

    // The key F10 follows its hidden button: no second search.
    key(t, Qt::Key_F10);
    EXPECT_EQ(std::count(fakes().calls.begin(), fakes().calls.end(), "VBTekiSearchProc"), 1);

    key(t, Qt::Key_F11);
    EXPECT_EQ(msg(t), "M111");
    EXPECT_EQ(t.lst_Entry->count(), 0);
    EXPECT_TRUE(t.frm_Entry->isEnabled());
    type(t, "15601", "YZ001", "A1");
    fakes().teki_records = hits(3);
    key(t, Qt::Key_F10);
    for (int r = 4; r < t.msg_Parts->rows(); ++r) EXPECT_EQ(row(t.msg_Parts, r), "|||||||") << "row " << r;
    EXPECT_EQ(t.msg_Parts->text(3, 4).trimmed(), "CAR 2");
}

TEST_F(TekiTest, SearchOfAnEmptyListAndLibraryOutcomes) {
    Teki& t = teki();
    key(t, Qt::Key_F10);
    EXPECT_EQ(msg(t), "M111");
    EXPECT_FALSE(t.has_result());

    type(t, "15601", "YZ001", "A1");
    fakes().teki_status = 4;  // a catalogue CD was not there: back to the menu, no message
    key(t, Qt::Key_F10);
    EXPECT_EQ(px::loaded_form("Teki"), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);
    EXPECT_TRUE(modals.empty());
    EXPECT_NE(std::find(fakes().calls.begin(), fakes().calls.end(), "VBTekiTerm"), fakes().calls.end());
}

TEST_F(TekiTest, ASearchFailureShowsTheErrorDialogAndGoesToTheMenu) {
    Teki& t = teki();
    type(t, "15601", "YZ001", "A1");
    fakes().teki_search_rc = 14;
    on_modal("Errm", [](Form& f) { key(f, Qt::Key_F4); });
    key(t, Qt::Key_F10);
    EXPECT_EQ(modals, (std::vector<std::string>{"Errm"}));
    EXPECT_EQ(px::loaded_form("Teki"), nullptr);
}

TEST_F(TekiTest, TheChosenCdsGoToTheLibraryInOrder) {
    Teki& t = teki();
    fakes().popup = {popup_record(1, 4, 'E', true, "   E1"), popup_record(2, 5, 'E', true, "   E2"),
                     popup_record(3, 6, 'E', false, "   E3")};
    on_modal("Cdss", [](Form& f) { key(f, Qt::Key_F12); });  // the available two, as preselected
    key(t, Qt::Key_F12);
    EXPECT_EQ(fakes().calls, (std::vector<std::string>{"VBTekiInit", "VBTekiPopup", "VBTekiPopupSetSel 4 0",
                                                       "VBTekiPopupSetSel 5 1", "VBTekiPopupSetNum 2"}));
    EXPECT_EQ(px::popup_vars().PopupChoose, 1);
    EXPECT_EQ(msg(t), "M111");
}

TEST_F(TekiTest, MoreCdsThanTheSearchTakesAreRefused) {
    Teki& t = teki();
    for (int i = 0; i < 12; ++i) fakes().popup.push_back(popup_record(i + 1, static_cast<int16_t>(i), 'E', true, "   E"));
    on_modal("Cdss", [](Form& f) { key(f, Qt::Key_F12); });
    key(t, Qt::Key_F12);
    EXPECT_EQ(msg(t), "M889");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(std::count_if(fakes().calls.begin(), fakes().calls.end(),
                            [](const std::string& c) { return c.rfind("VBTekiPopupSet", 0) == 0; }),
              0);
}

TEST_F(TekiTest, NoCdInAnyDriveOpensThePopUpAtOnce) {
    fakes().teki_init_flag = 1;
    fakes().popup = {popup_record(1, 0, 'E', false, "   E1")};
    on_modal("Cdss", [](Form& f) {
        auto& c = static_cast<px::Cdss&>(f);
        c.lst_PopUp->setCurrentRow(2, QItemSelectionModel::NoUpdate);
        c.lst_PopUp->setFocus();
        QTest::keyClick(c.lst_PopUp, Qt::Key_Space);
        key(c, Qt::Key_F12);
    });
    Teki& t = teki();
    EXPECT_EQ(modals, (std::vector<std::string>{"Cdss"}));
    EXPECT_NE(std::find(fakes().calls.begin(), fakes().calls.end(), "VBTekiPopupSetNum 1"), fakes().calls.end());
    EXPECT_TRUE(t.loaded());
}

TEST_F(TekiTest, APopUpThatFailsSendsTheScreenToTheMenu) {
    Teki& t = teki();
    fakes().popup_rc = 128;
    on_modal("Errm", [](Form& f) { key(f, Qt::Key_F4); });
    key(t, Qt::Key_F12);
    EXPECT_EQ(modals, (std::vector<std::string>{"Errm"}));
    EXPECT_EQ(px::loaded_form("Teki"), nullptr);
}

TEST_F(TekiTest, PrintingWithoutAResultBeeps) {
    Teki& t = teki();
    key(t, Qt::Key_F2);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(msg(t), "M111");
    EXPECT_TRUE(printer.calls.empty());
}

// After a search that found nothing, entry is closed and F10 hidden: F2
// says there is nothing to print, not to enter part numbers and press F10.
TEST_F(TekiTest, PrintingAfterASearchThatFoundNothingSaysSo) {
    Teki& t = teki();
    type(t, "15601", "YZ001", "A1");
    key(t, Qt::Key_F10);
    ASSERT_FALSE(t.frm_Entry->isEnabled());
    ASSERT_FALSE(t.cmd_PF(10)->isVisible());
    key(t, Qt::Key_F2);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(msg(t), "M846");
    EXPECT_TRUE(printer.calls.empty());
    key(t, Qt::Key_F11);  // a new inquiry: the entry's own guide again
    key(t, Qt::Key_F2);
    EXPECT_EQ(msg(t), "M111");
}

TEST_F(TekiTest, ThePrintoutCarriesTheNamesAndBreaksPages) {
    plat::fix_clock(2026, 3, 7, 10, 0, 0);
    printer.dpi = 1440;
    Teki& t = teki();
    fakes().teki_names = {"ELEMENT, OIL FILTER"};
    fakes().teki_records = hits(50);
    fakes().teki_records.insert(fakes().teki_records.begin() + 1,
                                teki_record("", "", "", "", "", "", "", "MORE REMARK", "LAST"));
    type(t, "15601", "YZ001", "A1");
    key(t, Qt::Key_F10);
    key(t, Qt::Key_F2);
    plat::unfix_clock();
    EXPECT_EQ(msg(t), "M105");
    auto lines = printer.lines(500);
    ASSERT_GE(lines.size(), 8u);
    EXPECT_NE(lines[0].find("Date =07/03/26"), std::string::npos);
    EXPECT_NE(lines[0].find("Page =001"), std::string::npos);
    EXPECT_EQ(lines[1].substr(0, 26), "Part Number     Code      ");
    EXPECT_EQ(lines[3].substr(0, 73),
              "15601-YZ001-A1  (15601A)  ELEMENT, OIL FILTER             4410A0    CAR 0");
    EXPECT_EQ(lines[4], "15601-YZ002-A1   (SUBS)");
    EXPECT_EQ(lines[5], std::string(101, ' ') + "MORE REMARK");
    EXPECT_EQ(std::count(printer.calls.begin(), printer.calls.end(), "page"), 1);
    auto second = std::find_if(lines.begin() + 1, lines.end(),
                               [](const std::string& l) { return l.find("Page =002") != std::string::npos; });
    EXPECT_NE(second, lines.end());
    EXPECT_EQ(printer.calls.back(), "end");
    EXPECT_TRUE(printer.is_landscape);
}

// Each heading stands at the X of its column's values, under both code
// pages: a Japanese name moves no column after it.
TEST_F(TekiTest, EachHeadingStandsAtItsColumnsXInBothCodePages) {
    struct Case {
        int code_page;
        std::string name;
    } cases[] = {
        {1252, "ELEMENT, OIL FILTER"},
        // "脱着式トウバー（ソケット付" in code page 932.
        {932, "\x92\x45\x92\x85\x8E\xAE\x83\x67\x83\x45\x83\x6F\x81\x5B\x81\x69\x83\x5C\x83\x50\x83\x62\x83\x67\x95\x74"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code_page);
        px::set_ansi_code_page(c.code_page);
        printer.calls.clear();
        printer.dpi = 1440;
        Teki& t = teki();
        fakes().teki_names = {c.name};
        fakes().teki_records = hits(1);
        type(t, "15601", "YZ001", "A1");
        key(t, Qt::Key_F10);
        key(t, Qt::Key_F2);
        const auto xs = printer.xs_by_line();
        // The title, the headings, a blank line and the two lines of the hit.
        ASSERT_GE(xs.size(), 4u);
        EXPECT_EQ(xs[1].size(), 7u);
        EXPECT_EQ(xs[1], xs[3]) << "the headings and the values of the first line";
        px::unload_form(t);
        settle();
    }
    px::set_ansi_code_page(1252);
}

TEST_F(TekiTest, APrinterWithoutCourierNewTakesTheFailurePath) {
    Teki& t = teki();
    printer.font_list = {"Arial"};
    fakes().teki_records = hits(1);
    type(t, "15601", "YZ001", "A1");
    key(t, Qt::Key_F10);
    std::vector<std::string> log;
    on_modal("Errm", [&](Form& f) {
        log = inst->log_lines();
        key(f, Qt::Key_F4);
    });
    key(t, Qt::Key_F2);
    EXPECT_EQ(modals, (std::vector<std::string>{"Errm"}));
    EXPECT_EQ(px::loaded_form("Teki"), nullptr);
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("TEKI_PFKeyPrnt"), std::string::npos);
}

TEST_F(TekiTest, NoPrinterGivesMessage842) {
    Teki& t = teki();
    fakes().teki_records = hits(1);
    type(t, "15601", "YZ001", "A1");
    key(t, Qt::Key_F10);
    printer.fail_at = "landscape";
    printer.fail_number = 484;
    key(t, Qt::Key_F2);
    EXPECT_EQ(msg(t), "M842");
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(t.loaded());
}

}  // namespace
}  // namespace pxtest

namespace pxtest {
namespace {

TEST_F(TekiTest, AFailedLibraryStartShowsTheDialogOnceAndGoesToTheMenu) {
    fakes().teki_init_rc = 11;
    on_modal("Errm", [](px::Form& f) { key(f, Qt::Key_F4); });
    open(px::Teki::kName);
    settle();
    EXPECT_EQ(modals, (std::vector<std::string>{"Errm"}));
    EXPECT_EQ(px::loaded_form("Teki"), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);
}

}  // namespace
}  // namespace pxtest
