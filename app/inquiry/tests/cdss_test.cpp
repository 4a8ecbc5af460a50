// The catalogue-CD pop-up in choose and display mode.
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "inquiry/cdss.h"
#include "inquiry/popup_vars.h"
#include "shell/stack.h"
#include "support/inquiry_test.h"

namespace pxtest {
namespace {

using px::Cdss;
using px::Form;

class CdssTest : public InquiryTest {
protected:
    // Writes the list file and shows the pop-up in the mode; `inside` runs
    // while it is up, then F12 closes it if it is still open.
    void show(const std::vector<std::string>& records, int16_t choose, std::function<void(Cdss&)> inside) {
        std::string body;
        for (const auto& r : records) body += r;
        inst->write("WORK/PXPOPUP.TMP", body);
        auto& v = px::popup_vars();
        v.PopupPath = "C:\\WORK\\PXPOPUP.TMP";
        v.PopupChoose = choose;
        on_modal("Cdss", [&](Form& f) {
            auto& c = static_cast<Cdss&>(f);
            inside(c);
            if (c.loaded()) key(c, Qt::Key_F12);
            if (c.loaded()) px::unload_form(c);
        });
        px::ShowModalOwned(px::load_form(Cdss::kName), menu);
    }
    static std::vector<std::string> area(char letter, int first, int n, int present_every = 1) {
        std::vector<std::string> out;
        for (int i = 0; i < n; ++i)
            out.push_back(popup_record(first + i, static_cast<int16_t>(first + i - 1), letter,
                                       i % present_every == 0, "   E" + std::to_string(i) + " : 01/15/'24"));
        return out;
    }
    static std::vector<bool> marks(Cdss& c) {
        std::vector<bool> m;
        for (int i = 0; i < c.lst_PopUp->count(); ++i) m.push_back(c.lst_PopUp->item(i)->isSelected());
        return m;
    }
    static void click_line(Cdss& c, int line) {
        c.lst_PopUp->setFocus();
        QRect r = c.lst_PopUp->visualItemRect(c.lst_PopUp->item(line));
        QTest::mouseClick(c.lst_PopUp->viewport(), Qt::LeftButton, {}, r.center());
    }
    static void key_on_line(Cdss& c, int line, Qt::Key k) {
        c.lst_PopUp->setFocus();
        c.lst_PopUp->setCurrentRow(line, QItemSelectionModel::NoUpdate);
        QTest::keyClick(c.lst_PopUp, k);
    }
};

TEST_F(CdssTest, OneAreaGivesHeadingBlankAndItsCdsWithTheAvailableOnesMarked) {
    std::vector<std::string> lines;
    std::string kinds;
    std::vector<bool> m;
    show(area('E', 1, 3, 2), 1, [&](Cdss& c) {
        for (int i = 0; i < c.lst_PopUp->count(); ++i) lines.push_back(c.lst_PopUp->item(i)->text().toStdString());
        kinds = c.line_kinds();
        m = marks(c);
    });
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(kinds, "00111");
    EXPECT_EQ(lines[0], std::string(10, ' ') + "EUROPE");
    EXPECT_EQ(lines[1], std::string(31, ' '));
    EXPECT_EQ(lines[2].substr(0, 20), "   E0 : 01/15/'24   ");
    EXPECT_EQ(m, (std::vector<bool>{false, false, true, false, true}));
    EXPECT_FALSE(inst->exists("WORK/PXPOPUP.TMP"));
    EXPECT_EQ(px::popup_vars().PopupLineCount, 3);
    EXPECT_FALSE(px::popup_vars().PopupToMenu);
}

TEST_F(CdssTest, ChoosingTheSecondAndThirdCdHandsOverTheirPositionsAndSetupIndexes) {
    auto records = area('E', 1, 3);
    records[1] = popup_record(2, 7, 'E', true, "   E7");
    records[2] = popup_record(3, 9, 'E', false, "   E9");
    show(records, 1, [&](Cdss& c) {
        click_line(c, 2);             // the first CD: its preselection is taken off
        key_on_line(c, 4, Qt::Key_Space);  // the unavailable third may be chosen
        EXPECT_EQ(marks(c), (std::vector<bool>{false, false, false, true, true}));
    });
    auto& v = px::popup_vars();
    EXPECT_EQ(v.PopupSelCount, 2);
    EXPECT_EQ(v.PopupSel[0], "0");
    EXPECT_EQ(v.PopupSel[1], "1");
    EXPECT_EQ(v.PopupSel[2], "1");
    EXPECT_EQ(v.PopupSetupNo[1], 7);
    EXPECT_EQ(v.PopupSetupNo[2], 9);
    EXPECT_EQ(beeps, 0);
}

TEST_F(CdssTest, TwoAreasOfManyCdsKeepEveryLineAChoosableCd) {
    // 2 + 12 + 3 + 12 lines: far beyond twenty.
    auto records = area('E', 1, 12);
    auto g = area('G', 13, 12);
    records.insert(records.end(), g.begin(), g.end());
    std::string kinds;
    px::popup_vars().PopupSel[3] = "1";  // left from an earlier choice: cleared at load
    show(records, 1, [&](Cdss& c) {
        kinds = c.line_kinds();
        EXPECT_EQ(c.lst_PopUp->item(15)->text().trimmed(), "GENERAL");
        // Every CD is available and marked: all but the first and the last are taken off.
        for (int line = 3; line < 28; ++line)
            if (c.line_kinds()[static_cast<size_t>(line)] == '1') key_on_line(c, line, Qt::Key_Return);
    });
    EXPECT_EQ(kinds, "00" + std::string(12, '1') + "000" + std::string(12, '1'));
    auto& v = px::popup_vars();
    EXPECT_EQ(v.PopupSelCount, 2);  // the first CD and the last
    EXPECT_EQ(v.PopupSel[0], "1");
    EXPECT_EQ(v.PopupSel[3], "0");
    EXPECT_EQ(v.PopupSel[23], "1");
    EXPECT_EQ(v.PopupSetupNo[23], 23);
}

// Enter and Space on a focused key press it, as on every screen: F6 prints
// without touching a line, F12 confirms the marks; neither beeps.
TEST_F(CdssTest, EnterAndSpaceOnAFocusedKeyPressIt) {
    for (Qt::Key k : {Qt::Key_Return, Qt::Key_Space}) {
        SCOPED_TRACE(k);
        printer.calls.clear();
        beeps = 0;
        std::vector<bool> before, after_f6;
        size_t printed = 0;
        bool open_after_f12 = true;
        show(area('E', 1, 3, 2), 1, [&](Cdss& c) {
            before = marks(c);
            c.cmd_PF(6)->setFocus();
            QTest::keyClick(c.cmd_PF(6), k);
            after_f6 = marks(c);
            printed = printer.calls.size();
            c.cmd_PF(12)->setFocus();
            QTest::keyClick(c.cmd_PF(12), k);
            open_after_f12 = c.loaded();
        });
        EXPECT_EQ(after_f6, before);
        EXPECT_GT(printed, 0u);
        EXPECT_FALSE(open_after_f12);
        EXPECT_EQ(px::popup_vars().PopupSelCount, 2);
        EXPECT_EQ(beeps, 0);
    }
}

TEST_F(CdssTest, HeadingsAndBlankLinesCannotBeChosen) {
    show(area('E', 1, 2), 1, [&](Cdss& c) {
        click_line(c, 0);
        key_on_line(c, 1, Qt::Key_Space);
        EXPECT_EQ(marks(c), (std::vector<bool>{false, false, true, true}));
    });
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(px::popup_vars().PopupSelCount, 2);
}

TEST_F(CdssTest, ConfirmingNoCdInChooseModeBeepsAndStays) {
    bool stayed = false;
    std::vector<bool> after;
    show(area('E', 1, 2, 5), 1, [&](Cdss& c) {
        key_on_line(c, 2, Qt::Key_Space);  // off again
        key(c, Qt::Key_F12);
        stayed = c.loaded();
        after = marks(c);
        key_on_line(c, 3, Qt::Key_Space);
    });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(after, (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(px::popup_vars().PopupSelCount, 1);
    EXPECT_EQ(px::popup_vars().PopupSel[1], "1");
}

TEST_F(CdssTest, DisplayModeMarksShowAvailabilityOnly) {
    std::vector<bool> before, after;
    bool closed = false;
    show(area('U', 1, 2, 2), 0, [&](Cdss& c) {
        before = marks(c);
        click_line(c, 2);                  // available: stays marked
        key_on_line(c, 3, Qt::Key_Space);  // unavailable: stays unmarked
        after = marks(c);
        key(c, Qt::Key_F12);
        closed = !c.loaded();
    });
    EXPECT_EQ(before, (std::vector<bool>{false, false, true, false}));
    EXPECT_EQ(after, before);
    EXPECT_EQ(beeps, 2);
    EXPECT_TRUE(closed);
    EXPECT_EQ(px::popup_vars().PopupSelCount, 0);
}

TEST_F(CdssTest, AnEmptyListInChooseModeCanBeClosedWithoutAChoice) {
    bool stayed = false, closed = false;
    show({}, 1, [&](Cdss& c) {
        EXPECT_EQ(c.lst_PopUp->count(), 0);
        key(c, Qt::Key_F12);
        stayed = c.loaded();
        c.close();
        closed = !c.loaded();
    });
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(closed);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(px::popup_vars().PopupSelCount, 0);
    EXPECT_FALSE(px::popup_vars().PopupToMenu);
}

TEST_F(CdssTest, AMissingListFileShowsTheErrorDialogAndTellsTheOwner) {
    auto& v = px::popup_vars();
    v.PopupPath = "C:\\WORK\\PXPOPUP.TMP";
    v.PopupChoose = 1;
    std::vector<std::string> log;
    on_modal("Errm", [&](Form& f) {
        log = inst->log_lines();  // the dialog deletes the log when it closes
        key(f, Qt::Key_F4);
    });
    px::ShowModalOwned(px::load_form(Cdss::kName), menu);
    EXPECT_EQ(modals, (std::vector<std::string>{"Errm"}));
    EXPECT_TRUE(v.PopupToMenu);
    EXPECT_EQ(px::loaded_form("Cdss"), nullptr);
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("Tbl_Set_PopUp"), std::string::npos);
}

}  // namespace
}  // namespace pxtest
