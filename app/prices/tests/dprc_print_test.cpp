// The price inquiry's printout on a recording printer (dpi 1440: positions
// are twips): headings, rows, page breaks and the failure path.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/clock.h"
#include "prices/dprc.h"
#include "shell/gyom.h"
#include "shell/stack.h"
#include "support/prices_test.h"

namespace pxtest {
namespace {

using px::Dprc;

class DprcPrintTest : public PricesTest {
protected:
    void SetUp() override {
        PricesTest::SetUp();
        printer.dpi = 1440;
        prices_fakes().prices["1234567890AB"] = {"   12.50", "   10.00", "    9.00"};
        plat::fix_clock(2026, 3, 7, 10, 0, 0);
        static_cast<px::Gyom*>(menu)->cmd_Menu[3]->click();
        settle();
        d = static_cast<Dprc*>(px::loaded_form("Dprc"));
        ASSERT_NE(d, nullptr);
    }
    void TearDown() override {
        plat::unfix_clock();
        PricesTest::TearDown();
    }
    void lookups(int n, const char* b0 = "12345") {
        for (int i = 0; i < n; ++i) {
            d->txt_PNo[0]->setText(b0);
            d->txt_PNo[1]->setText("67890");
            d->txt_PNo[2]->setText("AB");
            d->txt_PNo[0]->setFocus();
            key(*d, Qt::Key_Return);
        }
    }
    // The printed texts with their positions, empty lines left out.
    std::vector<std::string> placed() const {
        std::vector<std::string> out;
        for (const auto& c : printer.calls)
            if (c.rfind("text ", 0) == 0 && c.back() != ':') out.push_back(c.substr(5));
        return out;
    }
    int pages() const {
        int n = 0;
        for (const auto& c : printer.calls) n += c == "page";
        return n;
    }
    int headings() const {
        int n = 0;
        for (const auto& t : placed()) n += t.rfind("1200,0:", 0) == 0;
        return n;
    }
    Dprc* d = nullptr;
};

TEST_F(DprcPrintTest, NothingListedPrintsNothing) {
    d->lbl_Msg->setText("before");
    key(*d, Qt::Key_F2);
    EXPECT_TRUE(printer.calls.empty());
    EXPECT_EQ(msg(*d), "before");
}

TEST_F(DprcPrintTest, OneLineIsOnePageWithItsHeading) {
    lookups(1);
    key(*d, Qt::Key_F2);
    std::vector<std::string> t = placed();
    ASSERT_EQ(t.size(), 9u);
    // The title at 42 characters, 40 blanks, date caption and date, page.
    std::string title = t[0].substr(7);
    EXPECT_EQ(title.find("Date"), 82u);
    EXPECT_NE(title.find("Date07/03/26/ Page001"), std::string::npos) << title;
    EXPECT_EQ(t[1].substr(0, 9), "1200,500:");
    EXPECT_EQ(t[2].substr(0, 9), "4150,500:");
    EXPECT_EQ(t[3].substr(0, 9), "7600,500:");
    EXPECT_EQ(t[4].substr(0, 9), "9300,500:");
    EXPECT_EQ(t[5], "1200,1000:12345-67890-AB");
    EXPECT_EQ(t[6], "4150,1000:NAME 12345          ");
    EXPECT_EQ(t[7], "7600,1000:   12.50");
    EXPECT_EQ(t[8], "9300,1000:RMK0      ");
    EXPECT_EQ(printer.calls.back(), "end");
    EXPECT_TRUE(printer.is_landscape);
    EXPECT_NE(std::find(printer.calls.begin(), printer.calls.end(), "font Courier New 8"), printer.calls.end());
    EXPECT_NE(std::find(printer.calls.begin(), printer.calls.end(), "style 1 0 0"), printer.calls.end());
    EXPECT_EQ(msg(*d), "M124");
    EXPECT_TRUE(inst->exists("WORK/PXDPRC1.TMP"));
}

TEST_F(DprcPrintTest, ThirtyFourRowsAPage) {
    struct Case {
        int lines, page_breaks, headings;
        std::string last_row_at;
    };
    // A full last page ends the job: no blank page after it.
    for (const Case& c : {Case{34, 0, 1, "1200,10900:"}, Case{35, 1, 2, "1200,1000:"}, Case{68, 1, 2, "1200,10900:"}}) {
        SCOPED_TRACE(c.lines);
        key(*d, Qt::Key_F11);
        lookups(c.lines);
        printer.calls.clear();
        key(*d, Qt::Key_F2);
        EXPECT_EQ(pages(), c.page_breaks);
        EXPECT_EQ(headings(), c.headings);
        std::vector<std::string> t = placed();
        EXPECT_EQ(t[t.size() - 4].substr(0, c.last_row_at.size()), c.last_row_at);
        EXPECT_EQ(printer.calls.back(), "end");
    }
    // The heading of page two carries its number.
    bool page2 = false;
    for (const auto& t : placed()) page2 = page2 || (t.rfind("1200,0:", 0) == 0 && t.find("Page002") != std::string::npos);
    EXPECT_TRUE(page2);
}

TEST_F(DprcPrintTest, UnknownPartsPrintTheirAtSigns) {
    lookups(1, "99999");
    key(*d, Qt::Key_F2);
    std::vector<std::string> t = placed();
    EXPECT_EQ(t[6], "4150,1000:" + std::string(20, '@'));
    EXPECT_EQ(t[7], "7600,1000:" + std::string(8, '@'));
}

TEST_F(DprcPrintTest, APrinterWithoutCourierNewEndsAtTheMenu) {
    lookups(2);
    printer.font_list = {"Arial"};
    key(*d, Qt::Key_F2);
    settle();
    EXPECT_EQ(printer.calls.back(), "kill");
    EXPECT_EQ(modals, std::vector<std::string>{"Errm"});
    EXPECT_EQ(px::loaded_form("Dprc"), nullptr);
    EXPECT_FALSE(inst->exists("WORK/PXDPRC1.TMP"));
    EXPECT_TRUE(errm_text.find("DPRC_PrintList") != std::string::npos) << errm_text;
}

}  // namespace
}  // namespace pxtest
