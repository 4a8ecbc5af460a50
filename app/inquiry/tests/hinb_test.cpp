// The part-number and part-name search over a scripted PXHINB: the search
// run, the pick list, the pages of the result and the printout.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "inquiry/hinb.h"
#include "inquiry/hinb_vars.h"
#include "inquiry/popup_vars.h"
#include "platform/clock.h"
#include "shell/grid.h"
#include "shell/stack.h"
#include "support/inquiry_test.h"

namespace pxtest {
namespace {

using px::Form;
using px::Hinb;
using px::Slpn;

class HinbTest : public InquiryTest {
protected:
    Hinb& hinb() { return static_cast<Hinb&>(open(Hinb::kName)); }
    static void enter(QLineEdit* box, const char* text) {
        box->setFocus();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    bool called(const std::string& c) const {
        return std::find(fakes().calls.begin(), fakes().calls.end(), c) != fakes().calls.end();
    }
    static int rec_of(px::Grid* g, int r) {
        QString t = g->text(r, 7).trimmed();
        return t.startsWith("REC ") ? t.mid(4).toInt() : -1;
    }
};

TEST_F(HinbTest, APartNameCodeIsCheckedAndItsPartNumbersListed) {
    Hinb& h = hinb();
    EXPECT_EQ(msg(h), "M125");
    fakes().hinb_check_name = "ELEMENT, OIL FILTER";
    fakes().hinb_records = hinb_list(20, 2);
    h.txt_Pnc->setFocus();
    QTest::keyClicks(h.txt_Pnc, "156-0 1a");  // the hyphen and the blank are dropped
    EXPECT_EQ(h.txt_Pnc->text(), "15601a");
    QTest::keyClick(h.txt_Pnc, Qt::Key_Return);
    EXPECT_TRUE(called("hinb_in_check_input 6 [15601A] [15601A]"));
    EXPECT_EQ(msg(h), "M105");
    EXPECT_EQ(h.lbl_Pnm_Txt->text(), "ELEMENT, OIL FILTER");
    EXPECT_EQ(h.lbl_Pnc_Txt->text(), "15601A");
    EXPECT_FALSE(h.txt_Pnc->isVisible());
    EXPECT_TRUE(h.cmd_PF(2)->isVisible());
    EXPECT_FALSE(h.cmd_PF(10)->isVisible());
    EXPECT_EQ(h.msg_Parts->rows(), 22);
    EXPECT_EQ(h.msg_Parts->text(1, 2), "15601-YZ001-A1");
    EXPECT_EQ(h.msg_Parts->text(2, 1), "(SUB) ");
    EXPECT_TRUE(h.msg_Parts->text(21, 7).isEmpty());
    EXPECT_EQ(h.lbl_Page->text(), " 1/ 1");
    key(h, Qt::Key_F10);  // no search while a result is shown
    EXPECT_EQ(std::count(fakes().calls.begin(), fakes().calls.end(), "hinb_pn_main"), 1);
    key(h, Qt::Key_F11);
    EXPECT_EQ(msg(h), "M125");
    EXPECT_TRUE(h.txt_Pnc->isVisible());
    EXPECT_TRUE(h.lbl_Page->text().isEmpty());
}

TEST_F(HinbTest, ClicksReachTheEntryFieldsOfAFreshScreen) {
    Hinb& h = hinb();
    QApplication::processEvents();
    for (QLineEdit* field : {h.txt_PNm, h.txt_Pnc}) {
        QPoint at = field->mapTo(&h, field->rect().center());
        QWidget* hit = h.childAt(at);
        EXPECT_EQ(hit, field) << field->objectName().toStdString() << " is covered by "
                              << (hit ? hit->objectName().toStdString() : "nothing");
    }
}

TEST_F(HinbTest, OpensOnTheNameFieldAndTheCodeFieldTakesArrowsButNoSigns) {
    Hinb& h = hinb();
    QApplication::processEvents();
    EXPECT_EQ(h.focusWidget(), h.txt_PNm);
    // A sign typed first into the name stays there: it is no Down arrow.
    QTest::keyClick(h.txt_PNm, Qt::Key_ParenLeft, Qt::ShiftModifier);
    EXPECT_EQ(h.focusWidget(), h.txt_PNm);
    EXPECT_EQ(h.txt_PNm->text(), "(");
    h.txt_PNm->clear();
    h.txt_Pnc->setFocus();
    QTest::keyClicks(h.txt_Pnc, "15601a");
    for (int i = 0; i < 3; ++i) QTest::keyClick(h.txt_Pnc, Qt::Key_Left);
    QTest::keyClick(h.txt_Pnc, Qt::Key_Backspace);
    QTest::keyClicks(h.txt_Pnc, "7-%");
    EXPECT_EQ(h.txt_Pnc->text(), "15701a");
    EXPECT_EQ(h.focusWidget(), h.txt_Pnc);
}

// Up on a key button with the code field empty goes to the name field, Down
// with the name field empty to the code field, and no further.
TEST_F(HinbTest, ArrowsOnAKeyButtonEndInTheFieldTheirRuleNames) {
    Hinb& h = hinb();
    for (int n : {1, 6, 12}) {
        SCOPED_TRACE(n);
        h.cmd_PF(n)->setFocus();
        QTest::keyClick(h.cmd_PF(n), Qt::Key_Up);
        EXPECT_EQ(h.focusWidget(), h.txt_PNm);
        h.cmd_PF(n)->setFocus();
        QTest::keyClick(h.cmd_PF(n), Qt::Key_Down);
        EXPECT_EQ(h.focusWidget(), h.txt_Pnc);
    }
}

TEST_F(HinbTest, F10FromTheCodeFieldSearchesAsEnterDoes) {
    // F10's key code is also the code of a character the field refuses: the
    // key still runs the search.
    Hinb& h = hinb();
    fakes().hinb_check_name = "ELEMENT, OIL FILTER";
    fakes().hinb_records = hinb_list(20, 2);
    h.txt_Pnc->setFocus();
    QTest::keyClicks(h.txt_Pnc, "15601A");
    QTest::keyClick(h.txt_Pnc, Qt::Key_F10);
    EXPECT_TRUE(called("hinb_in_check_input 6 [15601A] [15601A]"));
    EXPECT_EQ(msg(h), "M105");
}

TEST_F(HinbTest, AnUnknownCodeShows865AndKeepsTheEntry) {
    Hinb& h = hinb();
    fakes().hinb_check_rc = 2;
    fakes().hinb_check_msg = 867;
    enter(h.txt_Pnc, "99999Z");
    EXPECT_EQ(msg(h), "M865");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(h.txt_Pnc->text(), "99999Z");
    EXPECT_EQ(h.focusWidget(), h.txt_Pnc);
    EXPECT_FALSE(called("hinb_pn_main"));
}

TEST_F(HinbTest, ANamePickedFromThePickListIsSearchedByItsCode) {
    Hinb& h = hinb();
    fakes().hinb_names = {hinb_name("15600A", "FILTER SUB-ASSY, OIL"), hinb_name("15601A", "ELEMENT, OIL FILTER"),
                          hinb_name("17801A", "ELEMENT, AIR CLEANER FILTER")};
    fakes().hinb_check_name = "ELEMENT, OIL FILTER";
    fakes().hinb_records = hinb_list(3, 3);
    std::vector<std::string> lines;
    on_modal("Slpn", [&](Form& f) {
        auto& s = static_cast<Slpn&>(f);
        for (int i = 0; i < s.Lst_PNm->count(); ++i) lines.push_back(s.Lst_PNm->item(i)->text().toStdString());
        EXPECT_EQ(msg(s), "M126");
        s.Lst_PNm->setCurrentRow(1);
        QTest::keyClick(s.Lst_PNm, Qt::Key_Return);
    });
    enter(h.txt_PNm, "oil");
    ASSERT_EQ(lines.size(), 2u);  // the air cleaner's name does not hold the text
    EXPECT_EQ(lines[1], (std::string("ELEMENT, OIL FILTER") + std::string(41, ' ') + "  15601A"));
    EXPECT_TRUE(called("hinb_in_check_input 60 [OIL] []"));
    EXPECT_TRUE(called("hinb_term2"));
    EXPECT_FALSE(inst->exists("WORK/PXHINB0.TMP"));
    EXPECT_EQ(px::hinb_vars().HinbPnc, "15601A");
    EXPECT_EQ(msg(h), "M105");
    EXPECT_EQ(h.lbl_Pnm_Txt->text(), "ELEMENT, OIL FILTER");
    EXPECT_TRUE(h.cmd_PF(2)->isVisible());
}

TEST_F(HinbTest, NamesOfBlanksOrUnderscoresOnlyAreRefused) {
    Hinb& h = hinb();
    for (const char* name : {"___", "_ _", "  "}) {
        h.txt_PNm->setText(name);
        h.txt_PNm->setFocus();
        QTest::keyClick(h.txt_PNm, Qt::Key_Return);
        EXPECT_EQ(msg(h), "M865") << name;
    }
    EXPECT_FALSE(called("hinb_pc_main"));
    EXPECT_TRUE(h.loaded());
}

TEST_F(HinbTest, AnEmptyPickListEndsWithoutAPick) {
    Hinb& h = hinb();
    fakes().hinb_names = {hinb_name("15601A", "ELEMENT  OIL FILTER")};  // the library's match, not the list's
    bool empty = false;
    on_modal("Slpn", [&](Form& f) {
        auto& s = static_cast<Slpn&>(f);
        empty = s.Lst_PNm->count() == 0;
        key(s, Qt::Key_F10);
    });
    enter(h.txt_PNm, "ELEMENT_OIL");
    EXPECT_TRUE(empty);
    EXPECT_EQ(msg(h), "M125");
    EXPECT_TRUE(h.txt_PNm->text().isEmpty());
    EXPECT_FALSE(called("hinb_pn_main"));
    EXPECT_TRUE(h.loaded());
}

TEST_F(HinbTest, AFailedCheckOfThePickedCodeEndsTheScreen) {
    Hinb& h = hinb();
    fakes().hinb_names = {hinb_name("15601A", "ELEMENT, OIL FILTER")};
    fakes().hinb_code_check_rc = -1;
    on_modal("Slpn", [](Form& f) { key(f, Qt::Key_F10); });
    on_modal("Errm", [](Form& f) { key(f, Qt::Key_F4); });
    enter(h.txt_PNm, "OIL");
    EXPECT_EQ(modals, (std::vector<std::string>{"Slpn", "Errm"}));
    EXPECT_FALSE(called("hinb_pn_main"));
    EXPECT_EQ(px::loaded_form("Hinb"), nullptr);
}

TEST_F(HinbTest, LeavingThePickListWithF3ClearsTheFields) {
    Hinb& h = hinb();
    fakes().hinb_names = {hinb_name("15601A", "ELEMENT, OIL FILTER")};
    on_modal("Slpn", [](Form& f) { key(f, Qt::Key_F3); });
    enter(h.txt_PNm, "OIL");
    EXPECT_EQ(msg(h), "M125");
    EXPECT_EQ(px::hinb_vars().HinbPickStatus, 1);
    EXPECT_TRUE(h.txt_PNm->text().isEmpty());
}

TEST_F(HinbTest, PagesReachEveryRecordAndCountTrue) {
    struct Case {
        int count, entry, pages;
    };
    // 2000 in entries of 3: the entry holding record 1999 moves; 3999 in
    // entries of 7 needs three pages; 4001 in entries of 9 crosses 2000.
    for (Case c : std::vector<Case>{{20, 4, 1}, {1999, 3, 1}, {2000, 3, 2}, {2001, 9, 2}, {3999, 7, 3}, {4001, 9, 3}}) {
        SCOPED_TRACE(c.count);
        Hinb& h = hinb();
        fakes().hinb_records = hinb_list(c.count, c.entry);
        enter(h.txt_Pnc, "15601A");
        EXPECT_EQ(h.last_page(), c.pages - 1);
        std::vector<int> seen;
        for (int p = 0; p < c.pages; ++p) {
            QString label = h.lbl_Page->text().simplified().remove(' ');
            EXPECT_EQ(label, QString("%1/%2").arg(p + 1).arg(c.pages));
            int rows = px::inquiry_vars().InquiryRowCount;
            EXPECT_LE(rows, 2000);
            EXPECT_FALSE(h.msg_Parts->text(1, 0).trimmed().isEmpty());
            for (int r = 1; r <= rows; ++r) seen.push_back(rec_of(h.msg_Parts, r));
            key(h, Qt::Key_F8);
        }
        EXPECT_EQ(msg(h), "M802");
        ASSERT_EQ(seen.size(), static_cast<size_t>(c.count));
        for (int i = 0; i < c.count; ++i) ASSERT_EQ(seen[static_cast<size_t>(i)], i);
        key(h, Qt::Key_F4);
        settle();
    }
}

TEST_F(HinbTest, ThreeChosenCdsGoToTheLibraryWithTheirRunningNumbers) {
    Hinb& h = hinb();
    for (int i = 0; i < 4; ++i)
        fakes().popup.push_back(popup_record(i + 1, static_cast<int16_t>(10 + i), 'E', i != 1, "   E"));
    on_modal("Cdss", [](Form& f) { key(f, Qt::Key_F12); });
    key(h, Qt::Key_F12);
    std::vector<std::string> sel;
    for (const auto& c : fakes().calls)
        if (c.rfind("hinb_popup", 0) == 0) sel.push_back(c);
    EXPECT_EQ(sel, (std::vector<std::string>{"hinb_popup", "hinb_popup_set_sel 3 10 0", "hinb_popup_set_sel 3 12 1",
                                             "hinb_popup_set_sel 3 13 2", "hinb_popup_make_cat"}));
}

TEST_F(HinbTest, NoCdInTheDrivesOpensThePopUpAtTheFirstShowing) {
    fakes().hinb_scan_rc = 1;
    fakes().popup = {popup_record(1, 0, 'E', true, "   E1")};
    on_modal("Cdss", [](Form& f) { key(f, Qt::Key_F12); });
    Hinb& h = hinb();
    EXPECT_EQ(modals, (std::vector<std::string>{"Cdss"}));
    EXPECT_TRUE(called("hinb_popup_make_cat"));
    EXPECT_TRUE(h.loaded());
}

TEST_F(HinbTest, AFailedCdScanEndsTheScreen) {
    fakes().hinb_scan_rc = -1;
    on_modal("Errm", [](Form& f) { key(f, Qt::Key_F4); });
    open(Hinb::kName);
    settle();
    EXPECT_EQ(modals, (std::vector<std::string>{"Errm"}));
    EXPECT_EQ(px::loaded_form("Hinb"), nullptr);
    EXPECT_TRUE(called("hinb_term 1"));
}

TEST_F(HinbTest, PrintPagesOf47OneLineRecordsAndLongRemarks) {
    plat::fix_clock(2026, 3, 7, 10, 0, 0);
    printer.dpi = 1440;
    Hinb& h = hinb();
    fakes().hinb_records = hinb_list(48, 100);  // one entry: no blank lines
    fakes().hinb_check_name = "ELEMENT, OIL FILTER";
    enter(h.txt_Pnc, "15601A");
    key(h, Qt::Key_F2);
    plat::unfix_clock();
    auto has = [&](const std::string& call) {
        return std::find(printer.calls.begin(), printer.calls.end(), call) != printer.calls.end();
    };
    EXPECT_EQ(msg(h), "M105");
    EXPECT_TRUE(has("text 14700,200:Page=001"));
    EXPECT_TRUE(has("text 12500,200:Date=07/03/26"));
    EXPECT_TRUE(has("text 3000,600:15601A"));
    EXPECT_TRUE(has("text 4100,600:ELEMENT, OIL FILTER"));
    EXPECT_TRUE(has("text 1800,1400:15601-YZ001-A1"));
    // 47 one-line records fill Y 1400 to 10600.
    EXPECT_TRUE(has("text 9500,10600:REC 46"));
    EXPECT_TRUE(has("text 14700,200:Page=002"));
    EXPECT_TRUE(has("text 9500,1400:REC 47"));
    EXPECT_EQ(std::count(printer.calls.begin(), printer.calls.end(), "page"), 1);
    EXPECT_EQ(printer.calls.back(), "end");
}

TEST_F(HinbTest, EntriesAreSeparatedByABlankLineExceptAtTheTopOfAPage) {
    printer.dpi = 1440;
    Hinb& h = hinb();
    fakes().hinb_records = hinb_list(5, 2);
    fakes().hinb_records[3] = hinb_record("", "(SUB) ", "15601-YZ002-A1", "", "", "", "02", std::string(50, 'R') + "S");
    fakes().hinb_records[4] = hinb_record("03", "15601A", "15601-YZ003-A1", "", "", "", "01", std::string(50, 'Q'));
    enter(h.txt_Pnc, "15601A");
    key(h, Qt::Key_F2);
    auto has = [&](const std::string& call) {
        return std::find(printer.calls.begin(), printer.calls.end(), call) != printer.calls.end();
    };
    EXPECT_TRUE(has("text 9500,1400:REC 0"));
    EXPECT_TRUE(has("text 9500,1600:REC 1"));
    EXPECT_TRUE(has("text 1,1800:"));
    EXPECT_TRUE(has("text 9500,2000:REC 2"));
    EXPECT_TRUE(has("text 9500,2200:" + std::string(50, 'R')));  // 51 characters: two lines
    EXPECT_TRUE(has("text 9500,2400:S"));
    EXPECT_TRUE(has("text 1,2600:"));
    EXPECT_TRUE(has("text 9500,2800:" + std::string(50, 'Q')));  // 50 characters: one line
    EXPECT_EQ(printer.calls.back(), "end");
}

TEST_F(HinbTest, APrintFailureEndsTheScreen) {
    Hinb& h = hinb();
    fakes().hinb_records = hinb_list(3, 1);
    enter(h.txt_Pnc, "15601A");
    printer.font_list = {"Arial"};
    on_modal("Errm", [](Form& f) { key(f, Qt::Key_F4); });
    key(h, Qt::Key_F2);
    EXPECT_EQ(px::loaded_form("Hinb"), nullptr);
    EXPECT_EQ(printer.calls.back(), "kill");
    EXPECT_TRUE(called("hinb_term 1"));
}

}  // namespace
}  // namespace pxtest
