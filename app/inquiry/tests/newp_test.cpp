// The part-number list of a catalogue over a scripted PXNEWP, its blocks and
// its printout.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "inquiry/entry_pages.h"
#include "inquiry/newp.h"
#include "inquiry/popup_vars.h"
#include "platform/clock.h"
#include "shell/grid.h"
#include "shell/stack.h"
#include "support/inquiry_test.h"

namespace pxtest {
namespace {

using px::Form;
using px::Newp;

class NewpTest : public InquiryTest {
protected:
    Newp& newp() { return static_cast<Newp&>(open(Newp::kName)); }
    // Enters a catalogue code that the library accepts and lists `records`.
    Newp& listed(std::vector<std::string> records) {
        Newp& n = newp();
        fakes().newp_records = std::move(records);
        n.txt_Catalog->setFocus();
        QTest::keyClicks(n.txt_Catalog, "4410a1");
        QTest::keyClick(n.txt_Catalog, Qt::Key_Return);
        return n;
    }
    // The record number ("REC n" in the remark) of a grid row, or -1.
    static int rec_of(px::Grid* g, int r) {
        QString t = g->text(r, 6).trimmed();
        return t.startsWith("REC ") ? t.mid(4).toInt() : -1;
    }
};

TEST_F(NewpTest, ACatalogueCodeIsListedAtOnce) {
    std::vector<std::string> recs = {newp_record("01", "15601A", "15601-YZ001-A1", "0101-9999 ", "ELEMENT, OIL FILTER",
                                                 "ALL"),
                                     newp_record("", "", "", "", "", "FOR EXPORT"),
                                     newp_record("02", "16400A", "16400-YZ001-B1", "0101-0512 ", "RADIATOR ASSY", "")};
    Newp& n = listed(recs);
    EXPECT_EQ(fakes().calls[1], "newp_input_check 4410A1");
    EXPECT_EQ(msg(n), "M105");
    EXPECT_FALSE(n.txt_Catalog->isVisible());
    EXPECT_EQ(n.lbl_Catalog->text(), "4410A1");
    EXPECT_EQ(n.lbl_Model->text(), "0101-9999 DEMO SEDAN          ");
    for (int k : {2, 7, 8}) EXPECT_TRUE(n.cmd_PF(k)->isVisible()) << k;
    EXPECT_FALSE(n.cmd_PF(10)->isVisible());
    EXPECT_FALSE(n.cmd_Search->isEnabled());
    EXPECT_EQ(n.msg_Newp->rows(), 24);  // at least 23 data rows
    EXPECT_EQ(n.msg_Newp->text(1, 4), "0101-");
    EXPECT_EQ(n.msg_Newp->text(3, 4), "0101-0512 ");
    EXPECT_EQ(n.msg_Newp->text(2, 6).trimmed(), "FOR EXPORT");
    EXPECT_EQ(n.lbl_Page->text(), " 1/ 1");
    key(n, Qt::Key_F7);
    key(n, Qt::Key_F8);
    EXPECT_EQ(msg(n), "M802");
    EXPECT_EQ(beeps, 4);  // each end: the message's beep and one more
}

// Every record lies in exactly one block, blocks start at entries, and the
// block label counts them all.
TEST_F(NewpTest, LongListsAreReachableBlockByBlock) {
    struct Case {
        int count, entry, blocks;
    };
    for (Case c : std::vector<Case>{{5, 2, 1}, {1999, 7, 1}, {2000, 3, 2}, {3999, 7, 3}, {4001, 9, 3}}) {
        SCOPED_TRACE(c.count);
        Newp& n = listed(newp_list(c.count, c.entry));
        std::vector<int> seen;
        for (int b = 0; b < c.blocks; ++b) {
            EXPECT_EQ(n.block(), b);
            EXPECT_EQ(n.last_block(), c.blocks - 1);
            int rows = px::inquiry_vars().InquiryRowCount;
            EXPECT_LE(rows, 2000);
            EXPECT_EQ(n.msg_Newp->text(1, 0).trimmed().isEmpty(), false) << "a block starts with an entry";
            for (int r = 1; r <= rows; ++r) seen.push_back(rec_of(n.msg_Newp, r));
            if (c.count < 23) EXPECT_EQ(rec_of(n.msg_Newp, rows + 1), -1);
            key(n, Qt::Key_F8);
        }
        EXPECT_EQ(msg(n), "M802");
        ASSERT_EQ(seen.size(), static_cast<size_t>(c.count));
        for (int i = 0; i < c.count; ++i) ASSERT_EQ(seen[static_cast<size_t>(i)], i);
        key(n, Qt::Key_F7);
        if (c.blocks > 1) EXPECT_EQ(n.block(), c.blocks - 2);
        px::unload_form(n);
        px::ScrBackToMenu();
        settle();
    }
}

TEST_F(NewpTest, TheCutNeverSplitsAnEntryAndAnEntryLongerThanABlockIsCut) {
    auto heads = [](const std::vector<bool>& h) {
        return [h](int32_t i) { return i >= 0 && static_cast<size_t>(i) < h.size() && h[static_cast<size_t>(i)]; };
    };
    std::vector<bool> h(2000, false);
    h[0] = true;
    h[1997] = true;  // the entry holding the last record moves whole
    EXPECT_EQ(px::inquiry::entry_block_starts(heads(h), 2000), (std::vector<int32_t>{0, 1997}));
    std::vector<bool> one(4500, false);
    one[0] = true;  // one entry of 4500 records
    EXPECT_EQ(px::inquiry::entry_block_starts(heads(one), 4500), (std::vector<int32_t>{0, 2000, 4000}));
    EXPECT_EQ(px::inquiry::block_label(10, 12), "  11/  13");
    EXPECT_EQ(px::inquiry::block_label(9, 12), " 10/ 13");
}

TEST_F(NewpTest, AClickOnTheCatalogueFieldReachesItBeforeAndAfterAList) {
    // The label that shows a listed catalogue shares the field's place; it
    // must never lie over the field while the field is the one shown.
    Newp& n = newp();
    QApplication::processEvents();
    QPoint at = n.txt_Catalog->geometry().center();
    EXPECT_EQ(n.childAt(at), n.txt_Catalog);
    QTest::mouseClick(n.txt_Catalog, Qt::LeftButton);
    QTest::keyClicks(n.childAt(at), "4410a1");
    EXPECT_EQ(n.txt_Catalog->text().toUpper(), "4410A1");
}

TEST_F(NewpTest, OpensWithTheFocusInTheCatalogueField) {
    Newp& n = newp();
    QApplication::processEvents();
    EXPECT_EQ(n.focusWidget(), n.txt_Catalog);
}

TEST_F(NewpTest, AnEmptyEntryOpensTheCatalogueListFromTheButtonOnly) {
    Newp& n = newp();
    n.txt_Catalog->setFocus();
    key(n, Qt::Key_F10);
    EXPECT_EQ(fakes().calls.size(), 1u);  // the key needs text
    fakes().newp_check_rc = -13;
    fakes().newp_main_rc = 3;  // the list left without a choice
    on_modal("Vcat", [](Form& f) { key(f, Qt::Key_F3); });
    n.cmd_PF(10)->click();
    EXPECT_EQ(modals, (std::vector<std::string>{"Vcat"}));
    EXPECT_EQ(fakes().calls[1], "newp_input_check ALL");
    EXPECT_EQ(fakes().calls[2], "newp_catalog_input ALL");
    EXPECT_EQ(fakes().calls[3], "vcat_init");
    EXPECT_EQ(msg(n), "M114");
    EXPECT_TRUE(n.txt_Catalog->isVisible());
}

TEST_F(NewpTest, RefusalsKeepTheEntryState) {
    Newp& n = newp();
    fakes().vcat_rc = 1;
    n.cmd_Search->click();
    EXPECT_EQ(msg(n), "M860");
    EXPECT_EQ(fakes().calls.back(), "vcat_init");
    fakes().newp_check_rc = 1;
    fakes().newp_check_msg = 828;
    n.txt_Catalog->setText("4410A9");
    n.txt_Catalog->setFocus();
    QTest::keyClick(n.txt_Catalog, Qt::Key_Return);
    EXPECT_EQ(msg(n), "M828");
    EXPECT_EQ(n.txt_Catalog->text(), "4410A9");
    EXPECT_EQ(beeps, 2);
    EXPECT_TRUE(n.cmd_PF(10)->isVisible());
}

TEST_F(NewpTest, NewInquiryAndThePopUpOfInstalledCds) {
    Newp& n = listed(newp_list(30, 3));
    fakes().popup = {popup_record(1, 0, 'E', true, "   E1"), popup_record(2, 1, 'E', false, "   E2")};
    on_modal("Cdss", [](Form& f) { key(f, Qt::Key_F12); });
    key(n, Qt::Key_F12);
    EXPECT_EQ(px::popup_vars().PopupChoose, 0);
    EXPECT_EQ(msg(n), "M105");
    key(n, Qt::Key_F11);
    EXPECT_EQ(msg(n), "M114");
    EXPECT_EQ(n.record_count(), 0);
    EXPECT_TRUE(n.txt_Catalog->isVisible());
    EXPECT_TRUE(n.txt_Catalog->text().isEmpty());
    EXPECT_TRUE(n.lbl_Page->text().isEmpty());
    EXPECT_TRUE(n.msg_Newp->text(1, 6).isEmpty());
    EXPECT_EQ(fakes().calls.back(), "newp_clear");
    key(n, Qt::Key_F3);
    EXPECT_EQ(px::loaded_form("Newp"), nullptr);
    EXPECT_EQ(fakes().calls.back(), "newp_term");
}

TEST_F(NewpTest, SplitOfLongNamesAndTexts) {
    struct Case {
        std::string text;
        int kind;
        std::string first, second;
    };
    std::string forty_one = "ELEMENT SUB-ASSY OIL FILTER W/GASKET, RH X";  // comma at 36
    for (const Case& c : std::vector<Case>{
             {"BRACKET SUB-ASSY FRONT BUMPER SIDE, LEFT HAND", 0, "BRACKET SUB-ASSY FRONT BUMPER SIDE",
              "LEFT HAND"},
             {"BRACKET SUB-ASSY FRONT BUMPER SIDE,LEFT HAND", 0, "BRACKET SUB-ASSY FRONT BUMPER SIDE",
              "LEFT HAND"},
             {"BRACKET SUB ASSY FRONT BUMPER SIDE LEFT HAND", 0, "BRACKET SUB ASSY FRONT BUMPER SIDE LEFT",
              "HAND"},
             {std::string(45, 'X'), 0, std::string(40, 'X'), std::string(5, 'X')},
             {std::string(59, 'A') + " " + std::string(10, 'B'), 1, std::string(59, 'A'), std::string(10, 'B')},
         }) {
        std::string first, second;
        px::newp_split_lines(c.text, c.kind, &first, &second);
        EXPECT_EQ(first, c.first) << c.text;
        EXPECT_EQ(second, c.second) << c.text;
    }
}

TEST_F(NewpTest, PrintoutPagesOf24WithSplitLines) {
    plat::fix_clock(2026, 3, 7, 10, 0, 0);
    printer.dpi = 1440;
    auto recs = newp_list(25, 1);
    recs[0] = newp_record("01", "15601A", "15601-YZ001-A1", "0101-9999 ",
                          "BRACKET SUB-ASSY FRONT BUMPER SIDE, LEFT HAND", std::string(60, 'R') + " TAIL");
    Newp& n = listed(recs);
    key(n, Qt::Key_F2);
    plat::unfix_clock();
    EXPECT_EQ(msg(n), "M105");
    auto has = [&](const std::string& call) {
        return std::find(printer.calls.begin(), printer.calls.end(), call) != printer.calls.end();
    };
    EXPECT_TRUE(has("text 14700,200:Page:001"));
    EXPECT_TRUE(has("text 14700,200:Page:002"));
    EXPECT_TRUE(has("text 12500,200:Date:07/03/26"));
    EXPECT_TRUE(has("text 2200,600:4410A1"));
    EXPECT_TRUE(has("text 4200,1400:0101-"));
    EXPECT_TRUE(has("text 5600,1400:BRACKET SUB-ASSY FRONT BUMPER SIDE"));
    EXPECT_TRUE(has("text 5600,1600:LEFT HAND"));
    EXPECT_TRUE(has("text 10100,1400:" + std::string(60, 'R')));
    EXPECT_TRUE(has("text 10100,1600:TAIL"));
    EXPECT_TRUE(has("text 1700,10600:00024-A0023-01"));  // the 24th record closes page 1
    EXPECT_TRUE(has("text 1700,1400:00025-A0024-01"));
    EXPECT_EQ(std::count(printer.calls.begin(), printer.calls.end(), "page"), 1);
    EXPECT_EQ(printer.calls.back(), "end");
    EXPECT_TRUE(has("style 1 0 0"));
}

TEST_F(NewpTest, APrinterFailureGoesToTheMenu) {
    Newp& n = listed(newp_list(3, 1));
    printer.font_list = {"Arial"};
    on_modal("Errm", [](Form& f) { key(f, Qt::Key_F4); });
    key(n, Qt::Key_F2);
    EXPECT_EQ(modals, (std::vector<std::string>{"Errm"}));
    EXPECT_EQ(px::loaded_form("Newp"), nullptr);
    EXPECT_EQ(printer.calls.back(), "kill");
}

}  // namespace
}  // namespace pxtest
