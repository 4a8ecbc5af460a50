// Printing the parts list on the recording printer (1440 dots an inch, so a
// dot is a twip): the header page, the page breaks and the total line.
#include <QLabel>

#include <cstring>

#include "partslist/pnho_entries.h"
#include "partslist/pnho_module.h"
#include "platform/clock.h"
#include "shell/codepage.h"
#include "support/pnho_fixture.h"

namespace pxtest {
namespace {

std::string print_record(int n) {
    std::string r(134, ' ');
    char c1[64];
    std::snprintf(c1, sizeof c1, "%02d PART %d", n % 100, n);
    r.replace(0, std::strlen(c1), c1);
    r.replace(49, 6, "000010");
    r.replace(56, 14, "11111-22222-33");
    r.replace(70, 2, "02");
    return r;
}

std::string total_record(const std::string& total) {
    std::string r(134, ' ');
    r[55] = '2';
    r.replace(0, total.size(), total);
    return r;
}

// The calls "text x,y:..." at x, in order.
std::vector<std::string> at_x(const RecordingPrinter& p, int x) {
    std::vector<std::string> out;
    std::string lead = "text " + std::to_string(x) + ",";
    for (const auto& c : p.calls) {
        if (c.rfind(lead, 0) != 0) continue;
        // The characteristic fields of the first page share the total's X.
        int y = std::stoi(c.substr(lead.size()));
        if (x == 9100 && (y == 1700 || y == 1900 || y == 2100)) continue;
        out.push_back(c.substr(5));
    }
    return out;
}

int pages(const RecordingPrinter& p) {
    int n = 1;
    for (const auto& c : p.calls)
        if (c == "page") ++n;
    return n;
}

class PnhoPrintTest : public PnhoTest {
protected:
    void SetUp() override {
        PnhoTest::SetUp();
        printer.dpi = 1440;
        plat::fix_clock(2026, 3, 9, 10, 0, 0);
    }
    void TearDown() override {
        plat::unfix_clock();
        PnhoTest::TearDown();
    }
    void print(int records, bool total) {
        std::string file;
        for (int i = 1; i <= records; ++i) file += print_record(i);
        if (total) file += total_record("        980.00") + print_record(99);
        engine().print = file;
        printer.calls.clear();
        auto& p = open(numbered_records(3));
        press(p, 2);
    }
};

TEST_F(PnhoPrintTest, NoRecordsPrintTheHeaderPageOnly) {
    print(0, false);
    EXPECT_EQ(pages(printer), 1);
    auto titles = at_x(printer, 1500);
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0], "1500,100:" + std::string("PARTS LIST") + std::string(46, ' ') + std::string(30, ' ') +
                             "09/03/26   PAGE001");
    auto rows = at_x(printer, 250);
    ASSERT_EQ(rows.size(), 1u) << "the headings only";
    EXPECT_EQ(rows[0].substr(0, 10), "250,3720:N");
    EXPECT_NE(std::find(printer.calls.begin(), printer.calls.end(), "line 200,3650-15000,3650"), printer.calls.end());
    EXPECT_NE(std::find(printer.calls.begin(), printer.calls.end(), "font Courier New 8"), printer.calls.end());
    EXPECT_EQ(printer.calls.back(), "end");
    EXPECT_FALSE(work_exists("PXPNHO2.TMP")) << "the print file goes after printing";
}

TEST_F(PnhoPrintTest, TwentyTwoRecordsAndTheTotalFitTheFirstPage) {
    print(22, true);
    EXPECT_EQ(pages(printer), 1);
    auto rows = at_x(printer, 250);
    ASSERT_EQ(rows.size(), 23u);
    EXPECT_EQ(rows[22].substr(0, 10), "250,10320:");
    auto total = at_x(printer, 9100);
    ASSERT_EQ(total.size(), 1u);
    EXPECT_EQ(total[0], "9100,10670:        " + std::string("TOTAL RETAIL") + std::string(16, ' ') + " 980.00");
}

TEST_F(PnhoPrintTest, TheTwentyThirdRecordBreaksThePageAndTheTotalGoesUnderTheNewHeadings) {
    print(23, true);
    EXPECT_EQ(pages(printer), 2);
    auto rows = at_x(printer, 250);
    ASSERT_EQ(rows.size(), 25u);  // headings, 23 lines, the headings of page 2
    EXPECT_EQ(rows[23].substr(0, 10), "250,10620:");
    EXPECT_EQ(rows[24].substr(0, 8), "250,470:");
    auto total = at_x(printer, 9100);
    ASSERT_EQ(total.size(), 1u);
    EXPECT_EQ(total[0].substr(0, 9), "9100,820:");
    auto titles = at_x(printer, 1500);
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_EQ(titles[1].substr(titles[1].size() - 3), "002");
    // The record after the total line is never printed.
    for (const auto& c : printer.calls) EXPECT_EQ(c.find("PART 99"), std::string::npos);
}

TEST_F(PnhoPrintTest, TheTwentyFourthRecordStandsAtTheTopOfPageTwo) {
    print(24, false);
    EXPECT_EQ(pages(printer), 2);
    auto rows = at_x(printer, 250);
    ASSERT_EQ(rows.size(), 26u);
    EXPECT_EQ(rows[25].substr(0, 8), "250,770:");
    EXPECT_NE(rows[25].find("24 PART 24"), std::string::npos);
    // Record line: Column1, Column2, Column3, LineKind and Column4 at their places.
    std::string line;
    for (const auto& l : printer.lines(250))
        if (l.find("24 PART 24") != std::string::npos) line = l;
    EXPECT_EQ(line.substr(50, 6), "000010");
    EXPECT_EQ(line.substr(57, 2), "02");
    EXPECT_EQ(line.substr(62, 14), "11111-22222-33");
    EXPECT_EQ(line.size(), 148u);  // the amount under its heading, two cells on
    EXPECT_NE(std::find(printer.calls.begin(), printer.calls.end(), "line 200,400-15000,400"), printer.calls.end());
}

TEST_F(PnhoPrintTest, PriceKindsChooseTheHeadingAndTotalCaption) {
    struct Case {
        int16_t kind;
        const char* heading;
        const char* total;
    } cases[] = {{1, "DEALER", "TOTAL DEALER"}, {2, "PRICE 3", "TOTAL PRICE 3"}, {3, "", ""}};
    for (const Case& c : cases) {
        px::partslist::pnho_module().price_kind = c.kind;
        engine().print = print_record(1) + total_record("5.00");
        printer.calls.clear();
        auto& p = open(numbered_records(1));
        // The load sets the kind to 0; a price list sets it.
        px::partslist::pnho_module().price_kind = c.kind;
        press(p, 2);
        auto rows = at_x(printer, 250);
        ASSERT_FALSE(rows.empty());
        std::string headings;
        for (const auto& l : printer.lines(250))
            if (l.rfind("NO PART NAME", 0) == 0) headings = l;
        ASSERT_GE(headings.size(), 135u);
        EXPECT_EQ(headings.substr(123, 12), (std::string(c.heading) + std::string(12, ' ')).substr(0, 12)) << c.kind;
        auto total = at_x(printer, 9100);
        ASSERT_EQ(total.size(), 1u);
        EXPECT_EQ(total[0].substr(total[0].find(':') + 1),
                  std::string(8, ' ') + (std::string(c.total) + std::string(28, ' ')).substr(0, 28) + " 5.00");
        px::unload_form(p);
        settle();
    }
}

// Each heading stands at its column's X and each value of a line at the
// same X, under both code pages: a Japanese name moves no column after it.
TEST_F(PnhoPrintTest, EachHeadingStandsAtItsColumnsXInBothCodePages) {
    for (int code_page : {1252, 932}) {
        SCOPED_TRACE(code_page);
        px::set_ansi_code_page(code_page);
        // "脱着式トウバー（ソケット付" in code page 932.
        std::string japanese = print_record(2);
        japanese.replace(3, 26, "\x92\x45\x92\x85\x8E\xAE\x83\x67\x83\x45\x83\x6F\x81\x5B\x81\x69\x83\x5C\x83\x50"
                                "\x83\x62\x83\x67\x95\x74");
        engine().print = print_record(1) + japanese;
        printer.calls.clear();
        auto& p = open(numbered_records(3));
        press(p, 2);
        std::vector<std::vector<int>> columns;
        for (const auto& xs : printer.xs_by_line())
            if (xs.size() == 9) columns.push_back(xs);
        ASSERT_EQ(columns.size(), 3u) << "the headings and the two lines, nine columns each";
        EXPECT_EQ(columns[1], columns[0]);
        EXPECT_EQ(columns[2], columns[0]);
        px::unload_form(p);
        settle();
    }
    px::set_ansi_code_page(1252);
}

TEST_F(PnhoPrintTest, ARefusedPrintBeepsAndPrintsNothing) {
    engine().rc["pnho_exec_print"] = 853;
    auto& p = open(numbered_records(1));
    int before = beeps;
    press(p, 2);
    EXPECT_EQ(p.lbl_Msg->text(), message(853));
    EXPECT_EQ(beeps, before + 1);
    EXPECT_TRUE(printer.calls.empty());
}

TEST_F(PnhoPrintTest, APrinterWithoutTheFontIsAFailureTheClerkIsTold) {
    printer.font_list = {"Arial"};
    engine().print = print_record(1) + total_record("1.00");
    auto& p = open(numbered_records(1));
    int before = beeps;
    press(p, 2);
    EXPECT_EQ(p.lbl_Msg->text(), message(842));
    EXPECT_EQ(beeps, before + 1);
    EXPECT_FALSE(work_exists("PXPNHO2.TMP"));
    ASSERT_NE(px::loaded_form("Pnho"), nullptr);
}

TEST_F(PnhoPrintTest, APrinterFailingMidwayIsReported) {
    printer.fail_at = "page";
    printer.fail_number = 482;
    std::string file;
    for (int i = 1; i <= 30; ++i) file += print_record(i);
    engine().print = file;
    auto& p = open(numbered_records(1));
    press(p, 2);
    EXPECT_EQ(p.lbl_Msg->text(), message(842));
}

int16_t print_without_file(VbString* path) {
    engine().calls.push_back("pnho_exec_print");
    std::memset(path->data, 0, static_cast<size_t>(path->len));
    std::memcpy(path->data, "C:\\WORK\\GONE.TMP", 16);
    return 0;
}

TEST_F(PnhoPrintTest, AMissingPrintFileIsReportedAfterTheHeaderPage) {
    px::lib::partslist::pnho_exec_print.entry().set_address(reinterpret_cast<void*>(&print_without_file));
    std::vector<std::string> log;
    on_modal("Errm", [&](px::Form& f) {
        log = inst->log_lines();
        px::unload_form(f);
    });
    auto& p = open(numbered_records(1));
    press(p, 2);
    EXPECT_EQ(p.lbl_Msg->text(), message(999));
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("Pnho_PrintList"), std::string::npos);
    EXPECT_EQ(printer.calls.back(), "end") << "the header page is still printed";
    EXPECT_NE(px::loaded_form("Pnho"), nullptr) << "the clerk stays on the list";
}

}  // namespace
}  // namespace pxtest
