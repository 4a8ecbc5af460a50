// The price inquiry against a scripted price library: opening by the price
// files installed, lookups, re-pricing, clearing, leaving.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cmath>

#include "prices/dprc.h"
#include "shell/grid.h"
#include "shell/gyom.h"
#include "shell/stack.h"
#include "support/prices_test.h"

namespace pxtest {
namespace {

using px::Dprc;

class DprcTest : public PricesTest {
protected:
    void SetUp() override {
        PricesTest::SetUp();
        auto& p = prices_fakes().prices;
        p["1234567890AB"] = {"   12.50", "   10.00", "    9.00"};
        p["abcde12345  "] = {"    3.10", "    2.90", "    2.80"};
        p["11111222223 "] = {"     100", "      90", "      80"};
    }
    // Menu item 3, as the clerk clicks it.
    Dprc* open_from_menu() {
        static_cast<px::Gyom*>(menu)->cmd_Menu[3]->click();
        menu_msg = msg(*menu);
        settle();
        return static_cast<Dprc*>(px::loaded_form("Dprc"));
    }
    void type(Dprc& d, const QString& b0, const QString& b1, const QString& b2) {
        d.txt_PNo[0]->setText(b0);
        d.txt_PNo[1]->setText(b1);
        d.txt_PNo[2]->setText(b2);
        d.txt_PNo[0]->setFocus();
        key(d, Qt::Key_Return);
    }
    std::string menu_msg;  // the menu's message right after the click
    std::string work_file() const { return file("WORK/PXDPRC1.TMP"); }
};

TEST_F(DprcTest, MenuOpensItOnlyWithAPriceFile) {
    struct Case {
        int32_t kind;
        bool opens;
        std::string menu_msg;
        int beeps;
    };
    for (const Case& c : {Case{0, false, "M839", 1}, Case{-1, false, "", 3}, Case{1, true, "", 0},
                          Case{3, true, "", 0}}) {
        SCOPED_TRACE(c.kind);
        prices_fakes().kind = c.kind;
        beeps = 0;
        modals.clear();
        Dprc* d = open_from_menu();
        EXPECT_EQ(d != nullptr, c.opens);
        EXPECT_EQ(beeps, c.beeps);
        if (!c.opens) {
            if (!c.menu_msg.empty()) EXPECT_EQ(menu_msg, c.menu_msg);
            EXPECT_EQ(modals, (c.kind == -1 ? std::vector<std::string>{"Errm"} : std::vector<std::string>{}));
            continue;
        }
        EXPECT_EQ(px::ScrName(px::ScrCount()), "Dprc");
        EXPECT_EQ(msg(*d), "M124");
        EXPECT_FALSE(d->opt_Price[0]->isHidden());
        EXPECT_EQ(d->opt_Price[1]->isHidden(), c.kind == 1);
        EXPECT_EQ(d->opt_Price[2]->isHidden(), c.kind == 1);
        EXPECT_EQ(d->fra_Select[1]->isEnabled(), c.kind == 3);
        EXPECT_TRUE(d->opt_Price[0]->isChecked());
        key(*d, Qt::Key_F4);
        settle();
    }
}

TEST_F(DprcTest, ALibraryFailureAtLoadEndsAtTheMenuOnceTheScreenShows) {
    // The price file went away between the menu's check and the load.
    prices_fakes().kind = -1;
    px::Form& d = px::load_form("Dprc");
    EXPECT_TRUE(d.loaded());  // not unloaded inside its own load
    px::ScrPush(d);
    menu->hide();
    settle();
    EXPECT_EQ(px::loaded_form("Dprc"), nullptr);
    EXPECT_EQ(modals, std::vector<std::string>{"Errm"});
    EXPECT_EQ(px::ScrCount(), 1);
}

TEST_F(DprcTest, AnOldListIsDroppedAtLoad) {
    inst->write("WORK/PXDPRC1.TMP", std::string(54, 'x'));
    Dprc* d = open_from_menu();
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(inst->exists("WORK/PXDPRC1.TMP"));
    EXPECT_EQ(d->DprcLineCount, 0);
}

TEST_F(DprcTest, PartNumbersAreCheckedBeforeTheLibrarySeesThem) {
    struct Case {
        const char *b0, *b1, *b2;
        bool valid;
    };
    const Case cases[] = {
        {"12345", "678", "", false},      // 8 characters
        {"1234", "56789", "AB", false},   // a blank inside
        {"12345", "6789-", "", false},    // not a letter or digit
        {"12345", "67890", "", true},     // 10 characters
        {"12345", "6789", "", true},      // 9 characters
        {"abcde", "12345", "", true},     // lower case is the same number in capitals
    };
    Dprc* d = open_from_menu();
    ASSERT_NE(d, nullptr);
    int lines = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.b0) + "/" + c.b1 + "/" + c.b2);
        beeps = 0;
        prices_fakes().calls.clear();
        type(*d, c.b0, c.b1, c.b2);
        if (c.valid) {
            ++lines;
            ASSERT_EQ(prices_fakes().calls.size(), 1u);
            EXPECT_EQ(prices_fakes().calls[0], "dprc_search " + Dprc::join_part_no(c.b0, c.b1, c.b2) + " 0");
            EXPECT_EQ(msg(*d), "M124");
            EXPECT_TRUE(d->txt_PNo[0]->text().isEmpty());
        } else {
            EXPECT_TRUE(prices_fakes().calls.empty());
            EXPECT_EQ(msg(*d), "M866");
            EXPECT_EQ(beeps, 1);
            EXPECT_EQ(d->txt_PNo[0]->text(), c.b0);  // the boxes keep their text
        }
        EXPECT_EQ(d->DprcLineCount, lines);
    }
    EXPECT_EQ(prices_fakes().calls.back(), "dprc_search ABCDE12345   0");
}

TEST_F(DprcTest, EachLookupAddsItsRecordAsARow) {
    Dprc* d = open_from_menu();
    ASSERT_NE(d, nullptr);
    type(*d, "12345", "67890", "AB");
    type(*d, "99999", "88888", "");
    EXPECT_EQ(row(d->msg_Main, 1), "01|12345-67890-AB|NAME 12345          |   12.50 |RMK0      ");
    // A part the price file does not hold: '@' as it stands.
    EXPECT_EQ(row(d->msg_Main, 2), "02|99999-88888-  |" + std::string(20, '@') + "|" + std::string(8, '@') + " |" +
                                       std::string(10, '@'));
    EXPECT_EQ(work_file().size(), 2 * 54u);
}

TEST_F(DprcTest, ALibraryMessageLeavesEverythingAsItWas) {
    Dprc* d = open_from_menu();
    ASSERT_NE(d, nullptr);
    prices_fakes().search_rc = 839;
    type(*d, "12345", "67890", "AB");
    EXPECT_EQ(msg(*d), "M839");
    EXPECT_EQ(d->DprcLineCount, 0);
    EXPECT_EQ(d->txt_PNo[1]->text(), "67890");
}

TEST_F(DprcTest, ALibraryFailureEndsAtTheMenu) {
    Dprc* d = open_from_menu();
    ASSERT_NE(d, nullptr);
    type(*d, "12345", "67890", "AB");
    prices_fakes().search_rc = -1;
    type(*d, "12345", "67890", "AB");
    settle();
    EXPECT_EQ(modals, std::vector<std::string>{"Errm"});
    EXPECT_EQ(px::loaded_form("Dprc"), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);
    EXPECT_FALSE(inst->exists("WORK/PXDPRC1.TMP"));
}

TEST_F(DprcTest, LineNumbersRunModuloAHundredAndTheGridScrolls) {
    Dprc* d = open_from_menu();
    ASSERT_NE(d, nullptr);
    const int shown = d->DprcGridRows;
    ASSERT_GT(shown, 2);
    for (int i = 1; i <= 101; ++i) {
        type(*d, "12345", "67890", "AB");
        if (i == shown - 1) {
            EXPECT_EQ(d->msg_Main->rows(), shown);
            EXPECT_EQ(d->msg_Main->top_row(), 1);
        }
        if (i == shown) {
            // The list outgrows the grid: one more row, scrolled to the end.
            EXPECT_EQ(d->msg_Main->rows(), shown + 1);
        }
    }
    EXPECT_EQ(d->msg_Main->text(100, 0), "00");
    EXPECT_EQ(d->msg_Main->text(101, 0), "01");
    EXPECT_EQ(d->msg_Main->rows(), 102);
    EXPECT_EQ(d->DprcLineCount, 101);
    EXPECT_EQ(d->msg_Main->row(), 101);
}

TEST_F(DprcTest, GridGeometryFollowsTheMeasuredFont) {
    Dprc* d = open_from_menu();
    ASSERT_NE(d, nullptr);
    px::Grid* g = d->msg_Main;
    const int w = g->char_width(), h = g->text_height();
    EXPECT_EQ(g->col_width(0), static_cast<int>(std::lround(w * 2.5)));
    EXPECT_EQ(g->col_width(1), w * 15);
    EXPECT_EQ(g->col_width(2), static_cast<int>(std::lround(w * 23.8)));
    EXPECT_EQ(g->col_width(3), w * 11);
    EXPECT_EQ(g->col_width(4), w * 11);
    EXPECT_EQ(g->top_twips(), 1080);
    EXPECT_NEAR(g->height_twips(), 8165, 15);  // whole pixels
    EXPECT_EQ(d->DprcGridRows, 8165 / h - 1);
    for (int c = 0; c < 5; ++c) EXPECT_FALSE(g->text(0, c).trimmed().isEmpty()) << c;  // every header
}

TEST_F(DprcTest, TheListIsFullAt2000Rows) {
    Dprc* d = open_from_menu();
    ASSERT_NE(d, nullptr);
    d->msg_Main->set_rows(2000);
    beeps = 0;
    type(*d, "12345", "67890", "AB");
    EXPECT_EQ(msg(*d), "M809");
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(prices_fakes().calls.empty() || prices_fakes().calls.back().rfind("dprc_search", 0) != 0);
}

TEST_F(DprcTest, RepricingRewritesThePriceColumnOnly) {
    prices_fakes().kind = 3;
    Dprc* d = open_from_menu();
    ASSERT_NE(d, nullptr);
    type(*d, "12345", "67890", "AB");
    type(*d, "99999", "88888", "");
    d->opt_Price[2]->click();
    EXPECT_EQ(prices_fakes().calls.back(), "dprc_update_wfile 2");
    EXPECT_EQ(d->msg_Main->text(1, 3), "    9.00 ");
    EXPECT_EQ(d->msg_Main->text(1, 4), "RMK0      ");
    EXPECT_EQ(d->msg_Main->text(2, 3), "@@@@@@@@ ");
    // Later lookups take the chosen price.
    type(*d, "11111", "22222", "3");
    EXPECT_EQ(prices_fakes().calls.back(), "dprc_search 11111222223  2");
    // A refused re-pricing shows its message and changes nothing.
    prices_fakes().update_rc = 850;
    d->opt_Price[1]->click();
    EXPECT_EQ(msg(*d), "M850");
    EXPECT_EQ(d->msg_Main->text(1, 3), "    9.00 ");
}

TEST_F(DprcTest, RepricingAnEmptyListOnlyPrompts) {
    prices_fakes().kind = 3;
    Dprc* d = open_from_menu();
    ASSERT_NE(d, nullptr);
    prices_fakes().calls.clear();
    d->opt_Price[1]->click();
    EXPECT_EQ(msg(*d), "M124");
    EXPECT_TRUE(prices_fakes().calls.empty());
}

TEST_F(DprcTest, ClearEmptiesListBoxesAndWorkFile) {
    Dprc* d = open_from_menu();
    ASSERT_NE(d, nullptr);
    const int rows = d->msg_Main->rows();
    const QString header = d->msg_Main->text(0, 1);
    type(*d, "12345", "67890", "AB");
    d->txt_PNo[0]->setText("777");
    key(*d, Qt::Key_F11);
    EXPECT_EQ(d->DprcLineCount, 0);
    EXPECT_EQ(d->msg_Main->rows(), rows);
    EXPECT_TRUE(d->msg_Main->text(1, 1).isEmpty());
    EXPECT_EQ(d->msg_Main->text(0, 1), header);
    EXPECT_FALSE(inst->exists("WORK/PXDPRC1.TMP"));
    EXPECT_TRUE(d->txt_PNo[0]->text().isEmpty());
    EXPECT_EQ(msg(*d), "M124");
    type(*d, "12345", "67890", "AB");
    EXPECT_EQ(d->msg_Main->text(1, 0), "01");
}

TEST_F(DprcTest, BackAndMenuDeleteTheWorkFile) {
    for (int k : {Qt::Key_F3, Qt::Key_F4}) {
        Dprc* d = open_from_menu();
        ASSERT_NE(d, nullptr);
        type(*d, "12345", "67890", "AB");
        ASSERT_TRUE(inst->exists("WORK/PXDPRC1.TMP"));
        key(*d, k);
        settle();
        EXPECT_FALSE(inst->exists("WORK/PXDPRC1.TMP"));
        EXPECT_EQ(px::loaded_form("Dprc"), nullptr);
        EXPECT_TRUE(menu->isVisible());
    }
}

TEST_F(DprcTest, TypingRunsOnFromAFullBox) {
    Dprc* d = open_from_menu();
    ASSERT_NE(d, nullptr);
    d->activateWindow();
    d->txt_PNo[0]->setFocus();
    for (char c : std::string("1234567890AB")) QTest::keyClick(d->focusWidget(), c);
    EXPECT_EQ(d->txt_PNo[0]->text(), "12345");
    EXPECT_EQ(d->txt_PNo[1]->text(), "67890");
    EXPECT_EQ(d->txt_PNo[2]->text(), "AB");
    for (int i = 0; i < 3; ++i) QTest::keyClick(d->focusWidget(), Qt::Key_Backspace);
    EXPECT_EQ(d->txt_PNo[1]->text(), "6789");
}

}  // namespace
}  // namespace pxtest
