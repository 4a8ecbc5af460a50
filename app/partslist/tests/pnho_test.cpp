// The parts-list screen against a scripted engine: loading and pages, the
// three key sets, marks and quantities, narrowing and the conditions.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstring>
#include <algorithm>
#include <filesystem>

#include "partslist/pnho_entries.h"
#include "partslist/pnho_module.h"
#include "shell/price_export_handover.h"
#include "shell/codepage.h"
#include "shell/grid.h"
#include "shell/stack.h"
#include "support/pnho_fixture.h"

namespace pxtest {
namespace {

using px::Pnho;

TEST_F(PnhoTest, LoadShowsTheRecordsMarksCountAndPageLabel) {
    std::string list = list_record("01", "000010", "02", "11111-22222-01", "S") +
                       list_record("", "(SUB) ", "02", "11111-22222-02") + list_record("02", "", "01", "33333-44444-01") +
                       list_record("", "", "", "") + list_record("03", "000020", "03", "55555-66666-01");
    auto& p = open(list + std::string(40, 'x'));  // a partial record at the end is no record
    ASSERT_TRUE(p.loaded());
    EXPECT_EQ(p.PnhoLoadResult, 0);
    EXPECT_EQ(p.PnhoRecordCount, 5);
    EXPECT_EQ(p.msg_Pnho->rows(), 6);
    EXPECT_EQ(p.msg_Pnho->text(1, 0), "*");
    EXPECT_EQ(p.msg_Pnho->text(2, 0), "");
    EXPECT_EQ(p.msg_Pnho->text(1, 2), "000010");
    EXPECT_EQ(p.msg_Pnho->text(1, 4), "11111-22222-01");
    EXPECT_EQ(p.msg_Pnho->text(2, 2), "(SUB) ");
    EXPECT_EQ(p.lbl_NowPage->text(), "1/1");
    EXPECT_EQ(p.lbl_Match[1]->text(), "3");
    EXPECT_EQ(p.lbl_Match[0]->text().trimmed(), "All parts");
    EXPECT_EQ(p.lbl_Msg->text(), message(105));
    EXPECT_EQ(p.windowTitle(), "Parts List");
    EXPECT_EQ(p.msg_Pnho->text(0, 4), "Part Number");
    EXPECT_EQ(p.msg_Pnho->row(), 1);
    EXPECT_TRUE(p.msg_Pnho->is_selected(1, 8));
    EXPECT_EQ(px::ScrName(px::ScrCount()), "Pnho");
}

TEST_F(PnhoTest, GridColumnsAreMeasuredInCharacterWidths) {
    auto& p = open(numbered_records(1));
    const int cw = p.PnhoCharWidth;
    ASSERT_GT(cw, 0);
    const int want[9] = {cw + cw / 2, 2 * cw + cw / 2, 6 * cw + cw / 2, 3 * cw, 15 * cw, 3 * cw, 10 * cw, 30 * cw, 30 * cw};
    for (int c = 0; c < 9; ++c) EXPECT_EQ(p.msg_Pnho->col_width(c), want[c]) << c;
    EXPECT_EQ(p.msg_Pnho->col_alignment(4), px::Grid::Align::Left);
    EXPECT_EQ(p.msg_Pnho->col_alignment(5), px::Grid::Align::Center);
    EXPECT_EQ(p.msg_Pnho->row_height(0), 2 * p.msg_Pnho->row_height(1));
}

TEST_F(PnhoTest, AJapaneseCodePageTakesWholeUnits) {
    px::set_ansi_code_page(932);
    auto& p = open(numbered_records(1));
    const int cw = p.PnhoCharWidth;
    const int units[9] = {2, 3, 8, 4, 16, 4, 11, 33, 33};
    for (int c = 0; c < 9; ++c) EXPECT_EQ(p.msg_Pnho->col_width(c), units[c] * cw) << c;
    px::set_ansi_code_page(1252);
}

struct PagingCase {
    const char* what;
    std::string list;
    std::vector<int> rows;  // data rows of each page
};

TEST_F(PnhoTest, PagesHoldWholeGroupsOfAtMost1999LinesAndAnOversizedGroupAlone) {
    const std::vector<PagingCase> cases = {
        {"empty", "", {0}},
        {"five", numbered_records(5), {5}},
        {"1999", numbered_records(1999), {1999}},
        {"2000", numbered_records(2000), {1999, 1}},
        {"2001", numbered_records(2001), {1999, 2}},
        {"one group of 2500", one_group(2500), {2500}},
        {"ten, then a group of 2500, then three", numbered_records(10) + one_group(2500, "000011") + numbered_records(3),
         {10, 2500, 3}},
        {"1999 + a group of 2", numbered_records(1998) + one_group(2, "009999"), {1998, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        engine().list = c.list;
        auto& p = open(c.list);
        int pages = static_cast<int>(c.rows.size());
        if (c.list.empty()) {
            EXPECT_EQ(p.lbl_NowPage->text(), "1/0");
            EXPECT_EQ(p.msg_Pnho->rows(), 1);
        }
        for (int i = 0; i < pages; ++i) {
            if (!c.list.empty()) EXPECT_EQ(p.lbl_NowPage->text(), QString("%1/%2").arg(i + 1).arg(pages));
            EXPECT_EQ(p.msg_Pnho->rows() - 1, c.rows[static_cast<size_t>(i)]) << "page " << i + 1;
            EXPECT_EQ(p.PnhoAtLastPage, i == pages - 1);
            if (i < pages - 1) press(p, 8);
        }
        int before = beeps;
        press(p, 8);
        EXPECT_EQ(p.lbl_Msg->text(), message(802));
        EXPECT_EQ(beeps, before + 1);
        // Back to the first page: the same records on the same rows.
        for (int i = pages - 1; i > 0; --i) press(p, 7);
        EXPECT_EQ(p.PnhoPageIndex, 0);
        if (!c.list.empty()) EXPECT_EQ(p.msg_Pnho->rows() - 1, c.rows[0]);
        press(p, 7);
        EXPECT_EQ(p.lbl_Msg->text(), message(801));
        px::ScrBackToMenu();
        px::unload_form(p);
        settle();
    }
}

TEST_F(PnhoTest, EachModeHasItsKeyBar) {
    auto& p = open(numbered_records(3));
    EXPECT_EQ(shown_keys(p), "1 2 3 4 5 6 7 8 9 10 11 12");
    EXPECT_EQ(p.cmd_PF(2)->text(), "F2:Print");
    EXPECT_EQ(p.cmd_PF(10)->text(), "F10:Match");
    EXPECT_TRUE(p.msg_Pnho->isEnabled());
    press(p, 5);
    EXPECT_EQ(p.PnhoMode, 116);
    EXPECT_EQ(shown_keys(p), "1 2 3 4 5 6 10 11 12");
    EXPECT_EQ(p.cmd_PF(2)->text(), "F2:Retail");
    EXPECT_EQ(p.cmd_PF(4)->text(), "F4:Price3");
    EXPECT_EQ(p.cmd_PF(11)->text(), "F11:Save");
    EXPECT_FALSE(p.msg_Pnho->isEnabled());
    // F7 has no button here: the key does nothing.
    press(p, 7);
    EXPECT_EQ(engine().count("pnho_exec_match"), 0);
    press(p, 10);
    EXPECT_EQ(p.PnhoMode, 121);
    EXPECT_EQ(shown_keys(p), "1 3 6 10 11 12");
    EXPECT_EQ(p.cmd_PF(10)->text(), "F10:Exec");
    EXPECT_EQ(p.lbl_Msg->text(), message(160));
    press(p, 3);
    EXPECT_EQ(p.PnhoMode, 1);
    EXPECT_EQ(engine().count("pnho_close_pop"), 1);
    EXPECT_EQ(shown_keys(p), "1 2 3 4 5 6 7 8 9 10 11 12");
    // F5 twice gives the list keys back.
    press(p, 5);
    press(p, 5);
    EXPECT_EQ(p.PnhoMode, 1);
    EXPECT_EQ(p.cmd_PF(2)->text(), "F2:Print");
    EXPECT_TRUE(p.msg_Pnho->isEnabled());
}

TEST_F(PnhoTest, ALocalPartsListHasNoF10AndItsKeyIsIgnored) {
    engine().lcl_fig = 1;
    auto& p = open(numbered_records(3));
    EXPECT_TRUE(p.cmd_PF(10)->isHidden());
    press(p, 10);
    EXPECT_EQ(engine().count("pnho_exec_match"), 0);
    press(p, 5);
    EXPECT_TRUE(p.cmd_PF(10)->isHidden());
    press(p, 10);
    EXPECT_EQ(engine().count("pnho_check_retran"), 0);
    // The engine forgets the flag when the screen goes.
    press(p, 5);
    press(p, 4);
    EXPECT_EQ(engine().count("pnho_check_LclFigFlg 0"), 1);
    EXPECT_EQ(engine().count("pnho_close_main"), 1);
    EXPECT_FALSE(work_exists("PXPNHO1.TMP"));
}

TEST_F(PnhoTest, AClickMarksTheRowAndOpensItsQuantity) {
    auto& p = open(list_record("01", "000010", "02", "11111-22222-01") + list_record("", "", "", "") +
                   list_record("02", "000020", "01", "33333-44444-01"));
    p.show();
    p.msg_Pnho->set_row(1);
    p.msg_Pnho->on_click();
    EXPECT_EQ(engine().count("pnho_reverse_sel 0"), 1);
    EXPECT_EQ(p.msg_Pnho->text(1, 0), "*");
    EXPECT_EQ(p.PnhoRecords[1][95], 'S');
    ASSERT_TRUE(p.txt_Qty->isVisible());
    EXPECT_EQ(p.txt_Qty->text(), "2");
    EXPECT_EQ(p.PnhoQtyRow, 1);
    // Laid over the quantity cell, a third of a character wider.
    EXPECT_EQ(p.txt_Qty->x(), p.msg_Pnho->cell_left(1, 3) / 15);
    EXPECT_EQ(p.txt_Qty->width(), (p.msg_Pnho->col_width(3) + p.PnhoCharWidth / 3) / 15);
    // A letter cannot be typed; 7 and Enter store "07" and move on.
    QTest::keyClicks(p.txt_Qty, "a");
    EXPECT_EQ(p.txt_Qty->text(), "2");
    p.txt_Qty->setText("7");
    p.txt_Qty->setFocus();
    QTest::keyClick(p.txt_Qty, Qt::Key_Return);
    EXPECT_FALSE(p.txt_Qty->isVisible());
    EXPECT_EQ(p.msg_Pnho->text(1, 3), "07");
    EXPECT_EQ(p.PnhoRecords[1].substr(8, 2), "07");
    EXPECT_EQ(engine().count("pnho_set_qty 0 07"), 1);
    EXPECT_EQ(p.msg_Pnho->row(), 2);

    // A line the engine refuses keeps its mark; the click stores an open
    // quantity in its own row first.
    p.msg_Pnho->set_row(3);
    p.msg_Pnho->on_click();
    p.txt_Qty->setText("00");
    engine().rc["pnho_reverse_sel"] = 1;
    p.msg_Pnho->set_row(2);
    p.msg_Pnho->on_click();
    EXPECT_EQ(engine().count("pnho_set_qty 2 01"), 1) << "00 is one";
    EXPECT_EQ(p.msg_Pnho->text(2, 0), "");
    // Clicking the marked row again takes the mark away.
    engine().rc["pnho_reverse_sel"] = 0;
    engine().rc["pnho_input_qty"] = 1;
    p.msg_Pnho->set_row(1);
    p.msg_Pnho->on_click();
    EXPECT_EQ(p.msg_Pnho->text(1, 0), "");
    EXPECT_EQ(p.PnhoRecords[1][95], ' ');
    EXPECT_FALSE(p.txt_Qty->isVisible());
    // A function key drops a quantity being typed.
    engine().rc["pnho_input_qty"] = 0;
    p.msg_Pnho->on_click();
    ASSERT_TRUE(p.txt_Qty->isVisible());
    press(p, 7);
    EXPECT_FALSE(p.txt_Qty->isVisible());
}

TEST_F(PnhoTest, EnterInTheGridMarksAndWalksDownScrollingAfterSeventeenRows) {
    engine().rc["pnho_input_qty"] = 1;  // no quantity box: Enter moves on
    auto& p = open(numbered_records(30));
    p.show();
    p.msg_Pnho->set_row(1);
    for (int i = 0; i < 29; ++i) {
        int k = 13;
        p.msg_Pnho->on_key_press(k);
        EXPECT_EQ(k, 0);
    }
    EXPECT_EQ(p.msg_Pnho->row(), 30);
    EXPECT_EQ(engine().count("pnho_reverse_sel"), 29);
    EXPECT_EQ(p.msg_Pnho->text(29, 0), "*");
    EXPECT_GT(p.msg_Pnho->top_row(), 1) << "the grid scrolled with the cursor";
    // On the last row Enter marks it and stays.
    int k = 13;
    p.msg_Pnho->on_key_press(k);
    EXPECT_EQ(p.msg_Pnho->row(), 30);
    EXPECT_EQ(p.msg_Pnho->text(30, 0), "*");
    // Any other key is the grid's.
    k = 'A';
    p.msg_Pnho->on_key_press(k);
    EXPECT_EQ(k, 'A');
}

TEST_F(PnhoTest, NarrowingToTheVehicleReloadsTheListAndKeepsItsMarks) {
    engine().list_after = list_record("01", "000010", "05", "11111-22222-01", "S");
    auto& p = open(numbered_records(3));
    press(p, 10);
    EXPECT_EQ(engine().count("pnho_exec_match"), 1);
    EXPECT_EQ(p.PnhoMatchState, 1);
    EXPECT_EQ(p.PnhoRecordCount, 1);
    EXPECT_EQ(p.msg_Pnho->text(1, 0), "*");
    EXPECT_EQ(p.msg_Pnho->text(1, 3), "05");
    EXPECT_EQ(p.cmd_PF(10)->text(), "F10:All");
    EXPECT_EQ(p.lbl_Match[0]->text().trimmed(), "Matched");
    // Any later list key bar puts 222 back.
    press(p, 5);
    press(p, 5);
    EXPECT_EQ(p.cmd_PF(10)->text(), "F10:Match");
}

TEST_F(PnhoTest, ConditionsAreOfferedCheckedAndHandedToTheEngine) {
    auto& p = open(numbered_records(4));
    p.show();
    // The vehicle of the scratch installation is blank: year, month, colour
    // and trim are offered; without a model no frame boxes.
    press(p, 5);
    press(p, 10);
    ASSERT_EQ(p.PnhoMode, 121);
    EXPECT_TRUE(p.txt_TrimNo->isEnabled());
    EXPECT_TRUE(p.txt_Ad->isEnabled());
    EXPECT_FALSE(p.txt_FrameModel->isEnabled());
    EXPECT_FALSE(p.txt_FrameNo->isEnabled());
    // Enter walks the boxes that can take the focus, from trim round to the year.
    p.txt_TrimNo->setFocus();
    QTest::keyClick(p.txt_TrimNo, Qt::Key_Return);
    EXPECT_TRUE(p.txt_Ad->hasFocus());
    p.txt_Ad->setText("2021");
    p.txt_Ad2->setText("3");
    p.txt_ColorNo->setText("1E7");
    press(p, 10);
    EXPECT_EQ(engine().count("pnho_check_jouhou 1 20213"), 1);
    EXPECT_EQ(engine().count("pnho_set_Ad 20213"), 1);
    std::vector<std::string> order;
    for (const auto& c : engine().calls)
        if (c.rfind("pnho_set_", 0) == 0 || c.rfind("pnho_exec_retran", 0) == 0) order.push_back(c.substr(0, c.find(' ')));
    std::vector<std::string> want = {"pnho_set_FrameModel", "pnho_set_FrameNo", "pnho_set_Ad", "pnho_set_ColorNo",
                                     "pnho_set_TrimNo", "pnho_exec_retran"};
    EXPECT_EQ(order, want);
    EXPECT_EQ(engine().count("pnho_set_ColorNo 1E7"), 1);
    EXPECT_EQ(p.PnhoMode, 1);
    EXPECT_EQ(p.lbl_Msg->text(), message(105));
    EXPECT_FALSE(p.txt_Ad->isEnabled());

    // Refused conditions keep the mode and beep.
    press(p, 5);
    press(p, 10);
    engine().rc["pnho_check_jouhou"] = 860;
    int before = beeps;
    press(p, 10);
    EXPECT_EQ(p.PnhoMode, 121);
    EXPECT_EQ(p.lbl_Msg->text(), message(860));
    EXPECT_EQ(beeps, before + 1);
    EXPECT_EQ(engine().count("pnho_exec_retran"), 1);
}

// Every way back to list mode gives the grid the focus: the clerk's next
// Enter marks a row, and no key button (F1 first among them) takes it.
TEST_F(PnhoTest, EveryWayBackToListModeGivesTheGridTheFocus) {
    struct Way {
        const char* what;
        std::vector<int> keys;  // from list mode, with the focus in a condition box where one is open
        int retran = 0;         // the engine's answer to the narrowing
    } ways[] = {
        {"F10 narrows by the conditions", {5, 10, 10}},
        {"F10 with a narrowing the engine refuses", {5, 10, 10}, 4},
        {"F3 leaves the conditions", {5, 10, 3}},
        {"F5 of the price keys", {5, 5}},
        {"F11 of the price keys with nothing marked", {5, 11}},
    };
    for (const Way& w : ways) {
        SCOPED_TRACE(w.what);
        engine() = EngineScript{};
        engine().rc["pnho_exec_retran"] = w.retran;
        modals.clear();
        auto& p = open(numbered_records(3));
        p.show();
        p.activateWindow();
        settle();
        for (size_t i = 0; i < w.keys.size(); ++i) {
            press(p, w.keys[i]);
            if (p.PnhoMode == Pnho::kModeConditions) p.txt_Ad->setFocus();
        }
        ASSERT_EQ(p.PnhoMode, Pnho::kModeList);
        EXPECT_EQ(p.focusWidget(), p.msg_Pnho);
        key(p, Qt::Key_Return);
        settle();
        EXPECT_EQ(engine().count("pnho_reverse_sel 0"), 1) << "Enter marks the first row";
        EXPECT_EQ(std::count(modals.begin(), modals.end(), "Help"), 0);
        px::ScrBackToMenu();
        px::unload_form(p);
        settle();
    }
}

TEST_F(PnhoTest, NoBoxToFocusEndsTheCycleAtOnce) {
    auto& p = open(numbered_records(1));
    // Every box disabled: Enter in a box must not loop.
    p.txt_TrimNo->setEnabled(true);
    p.show();
    p.txt_TrimNo->setFocus();
    p.txt_TrimNo->setEnabled(false);
    QTest::keyClick(&p, Qt::Key_Return);
    SUCCEED();
}

TEST_F(PnhoTest, YearAndMonthStepWithinTheirRanges) {
    struct Case {
        bool year;
        const char* text;
        int step;
        const char* want;
    } cases[] = {
        {true, "", 1, "2027"},    {true, "", -1, "2025"},   {true, "2500", 1, ""},  {true, "1900", -1, ""},
        {true, "2024", 1, "2025"}, {true, "99", 1, ""},     {false, "12", 1, "01"}, {false, "01", -1, "12"},
        {false, "15", 1, ""},     {false, "", 1, "08"},     {false, "7", 1, "08"},  {false, "06", -1, "05"},
    };
    for (const Case& c : cases) {
        QString got = c.year ? Pnho::Pnho_CheckYear(c.text, c.step, 2026) : Pnho::Pnho_CheckMonth(c.text, c.step, 7);
        EXPECT_EQ(got, c.want) << c.text << " " << c.step;
    }
}

TEST_F(PnhoTest, PriceKindsGoToTheEngineAndThePriceList) {
    auto& p = open(numbered_records(2));
    press(p, 5);
    for (int key : {2, 3, 4}) {
        press(p, key);
        EXPECT_EQ(engine().count("pnho_exec_price " + std::to_string(key - 2)), 1);
        EXPECT_EQ(px::partslist::pnho_module().price_kind, key - 2);
        EXPECT_EQ(px::partslist::pnho_module().price_path, "C:\\WORK\\PXPNHO3.TMP");
        EXPECT_EQ(px::price_export_handover().PriceFilePath, "C:\\WORK\\PXPNHO3.TMP");  // handed to the price list
        EXPECT_EQ(px::price_export_handover().PriceKind, key - 2);
        EXPECT_EQ(modals.back(), "Pric");
        EXPECT_EQ(p.lbl_Msg->text(), message(105));
    }
    engine().rc["pnho_exec_price"] = -1;
    int before = beeps;
    press(p, 2);
    EXPECT_EQ(p.lbl_Msg->text(), message(839));
    EXPECT_EQ(beeps, before + 1);
    EXPECT_EQ(p.PnhoMode, 116);
    // Nothing marked is a refusal of its own, not a missing price file.
    engine().rc["pnho_exec_price"] = 836;
    press(p, 2);
    EXPECT_EQ(p.lbl_Msg->text(), message(836));
    EXPECT_EQ(beeps, before + 2);
    EXPECT_EQ(p.PnhoMode, 116);
    // So is a price kind that is not set up beside a retail price file.
    engine().rc["pnho_exec_price"] = 850;
    for (int key : {3, 4}) {
        press(p, key);
        EXPECT_EQ(p.lbl_Msg->text(), message(850));
        EXPECT_EQ(p.PnhoMode, 116);
    }
    EXPECT_EQ(beeps, before + 4);
    EXPECT_EQ(modals.back(), "Pric") << "no price list for it";
}

TEST_F(PnhoTest, APriceListThatFailedLeavesForTheMenuAndNothingMore) {
    auto& p = open(numbered_records(2));
    on_modal("Pric", [](px::Form& f) {
        px::price_export_handover().PriceListFailed = 1;
        px::unload_form(f);
    });
    press(p, 5);
    press(p, 2);
    EXPECT_EQ(px::loaded_form("Pnho"), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);
    EXPECT_EQ(engine().count("pnho_close_main"), 1);
}

TEST_F(PnhoTest, AnExportThatFailedLeavesQuietly) {
    engine().selcnt = 1;
    auto& p = open(numbered_records(2));
    on_modal("Intf", [](px::Form& f) {
        EXPECT_EQ(px::price_export_handover().ExportSource, -1);
        px::price_export_handover().ExportFailed = -1;
        px::unload_form(f);
    });
    press(p, 5);
    press(p, 12);
    EXPECT_EQ(px::loaded_form("Pnho"), nullptr);
    EXPECT_EQ(std::count(modals.begin(), modals.end(), "Errm"), 0);
}

TEST_F(PnhoTest, SavingNeedsMarkedPartsAndAlwaysEndsInListMode) {
    auto& p = open(numbered_records(2));
    press(p, 5);
    int before = beeps;
    press(p, 11);
    EXPECT_EQ(p.lbl_Msg->text(), message(836));
    EXPECT_EQ(beeps, before + 1);
    EXPECT_EQ(engine().count("pnho_exec_save"), 0);
    EXPECT_EQ(p.PnhoMode, 1);
    engine().selcnt = 2;
    press(p, 5);
    press(p, 11);
    EXPECT_EQ(engine().count("pnho_exec_save"), 1);
    EXPECT_EQ(p.lbl_Msg->text(), message(886));
    EXPECT_EQ(beeps, before + 2);
    EXPECT_EQ(p.PnhoMode, 1);
    // Export with nothing marked is refused the same way.
    engine().selcnt = 0;
    press(p, 5);
    press(p, 12);
    EXPECT_EQ(p.lbl_Msg->text(), message(836));
    EXPECT_EQ(p.PnhoMode, 116);
    engine().selcnt = 1;
    press(p, 12);
    EXPECT_EQ(px::price_export_handover().ExportSource, -1);
    EXPECT_EQ(modals.back(), "Intf");
    EXPECT_EQ(p.PnhoMode, 116);
}

int16_t exec_main_without_file(VbString* path, int16_t* match) {
    engine().calls.push_back("pnho_exec_main");
    std::memset(path->data, 0, static_cast<size_t>(path->len));
    std::memcpy(path->data, "C:\\WORK\\NOFILE.TMP", 18);
    *match = 0;
    return 0;
}

TEST_F(PnhoTest, AMissingListFileIsAFailureNotAnEmptyList) {
    // The engine says 0, yet its list file is not there.
    px::lib::partslist::pnho_exec_main.entry().set_address(reinterpret_cast<void*>(&exec_main_without_file));
    std::vector<std::string> log;
    on_modal("Errm", [&](px::Form& f) {
        log = inst->log_lines();
        px::unload_form(f);
    });
    auto& p = px::load_form<Pnho>();
    EXPECT_EQ(p.PnhoLoadResult, 1);
    px::ScrPush(p);
    settle();
    ASSERT_FALSE(modals.empty());
    EXPECT_EQ(modals.back(), "Errm");
    EXPECT_EQ(px::loaded_form("Pnho"), nullptr);
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("Pnho_msg_Pnho_Set"), std::string::npos);
}

TEST_F(PnhoTest, EngineResultFourLeavesQuietlyAndOthersWithTheErrorDialog) {
    engine().rc["pnho_exec_main"] = 4;
    open(numbered_records(1));
    EXPECT_EQ(px::loaded_form("Pnho"), nullptr);
    EXPECT_TRUE(modals.empty());
    engine().rc["pnho_exec_main"] = 31;
    open(numbered_records(1));
    EXPECT_EQ(px::loaded_form("Pnho"), nullptr);
    ASSERT_EQ(modals.size(), 1u);
    EXPECT_EQ(modals[0], "Errm");
}

TEST_F(PnhoTest, BackKeysLeaveTheScreen) {
    auto& p = open(numbered_records(1));
    press(p, 3);
    EXPECT_EQ(engine().count("VBClearSelectTmp"), 1);
    EXPECT_EQ(px::loaded_form("Pnho"), nullptr);
    // Back to the route search or the vehicle: screens not on the stack
    // leave the menu.
    press(open(numbered_records(1)), 11);
    EXPECT_EQ(px::loaded_form("Pnho"), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);
    press(open(numbered_records(1)), 12);
    EXPECT_EQ(engine().count("pnho_reset_mstflag"), 1);
    EXPECT_EQ(px::loaded_form("Pnho"), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);
    EXPECT_EQ(engine().count("pnho_close_main"), 3);
    auto& q = open(numbered_records(1));
    engine().rc["pnho_reset_mstflag"] = 14;
    press(q, 12);
    EXPECT_EQ(px::loaded_form("Pnho"), nullptr);
    EXPECT_EQ(modals.back(), "Errm");
}

}  // namespace
}  // namespace pxtest
