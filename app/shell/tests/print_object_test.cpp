// The printer object: twips to printer pixels, the current position that
// printing moves, pages, fonts; and a two-page list into a real PDF file.
#include <algorithm>
#include <cstdio>
#include <string>
#include <filesystem>

#include "shell/print_object.h"
#include "shell/printing.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

namespace fs = std::filesystem;

TEST(PrintObjectTest, PositionsAreTwipsAndPrintingMovesThem) {
    RecordingPrinter printer;
    printer.dpi = 1440;        // a pixel is a twip
    printer.char_width = 120;
    printer.line_px = 240;
    px::PrinterObject p(printer);
    p.move_to(250, 470);
    p.print("ABC", false);
    EXPECT_EQ(p.current_x(), 250 + 360);
    EXPECT_EQ(p.current_y(), 470);
    p.print("D");
    EXPECT_EQ(p.current_x(), 0);
    EXPECT_EQ(p.current_y(), 470 + 240);
    p.line(200, 400, 15000, 400);
    EXPECT_EQ(p.current_x(), 15000);
    EXPECT_EQ(p.current_y(), 400);
    EXPECT_EQ(p.text_width("12345"), 600);
    EXPECT_EQ(p.text_height(), 240);
    std::vector<std::string> expected = {"text 250,470:ABC", "text 610,470:D", "line 200,400-15000,400"};
    EXPECT_EQ(printer.calls, expected);
}

TEST(PrintObjectTest, PagesCountFromOneAndAJobEndsWithItsDocument) {
    RecordingPrinter printer;  // 600 dpi
    px::PrinterObject p(printer);
    EXPECT_EQ(p.page(), 1);
    p.set_landscape(true);
    p.set_font("Courier New", 8, true);
    p.move_to(1440, 2880);
    p.print("x");
    p.new_page();
    EXPECT_EQ(p.page(), 2);
    EXPECT_EQ(p.current_y(), 0);
    p.print("y");
    p.end_doc();
    EXPECT_EQ(p.page(), 1);
    std::vector<std::string> expected = {"landscape 1", "font Courier New 8", "style 1 0 0", "text 600,1200:x",
                                         "page", "text 0,0:y", "end"};
    EXPECT_EQ(printer.calls, expected);
}

// A list that breaks its page after every `rows` rows: the break after the
// last row is only pending, so the job has no blank trailing page; a line or
// a print after a break starts the new page, as many as were asked.
TEST(PrintObjectTest, APageBreakWaitsForWhatIsPrintedAfterIt) {
    struct Case {
        int rows_printed, rows_per_page, pages_started;
    };
    for (const Case& c : {Case{34, 34, 0}, Case{35, 34, 1}, Case{68, 34, 1}, Case{69, 34, 2}, Case{1, 1, 0}}) {
        SCOPED_TRACE(std::to_string(c.rows_printed) + " rows");
        RecordingPrinter printer;
        px::PrinterObject p(printer);
        for (int row = 1; row <= c.rows_printed; ++row) {
            p.print("row");
            if (row % c.rows_per_page == 0) p.new_page();
        }
        EXPECT_EQ(p.page(), c.rows_printed / c.rows_per_page + 1);  // the count runs on
        p.end_doc();
        EXPECT_EQ(std::count(printer.calls.begin(), printer.calls.end(), "page"), c.pages_started);
        EXPECT_EQ(printer.calls.back(), "end");
    }
    RecordingPrinter printer;
    px::PrinterObject p(printer);
    p.print("a");
    p.new_page();
    p.new_page();  // an empty page asked for between two printed ones
    p.set_font("Courier New", 8);
    p.line(0, 0, 10, 0);
    p.new_page();
    p.kill_doc();  // nothing pending reaches the next job
    p.print("b");
    p.end_doc();
    std::vector<std::string> expected = {"text 0,0:a", "font Courier New 8", "style 0 0 0", "page", "page",
                                         "line 0,0-4,0", "kill", "text 0,0:b", "end"};
    EXPECT_EQ(printer.calls, expected);
}

TEST(PrintObjectTest, FontsByIndexAndFailuresPassThrough) {
    RecordingPrinter printer;
    px::PrinterObject p(printer);
    ASSERT_EQ(p.font_count(), 3);
    EXPECT_EQ(p.font(1), "Courier New");
    EXPECT_THROW(p.font(3), px::RuntimeError);
    printer.fail_at = "text";
    printer.fail_number = 482;
    try {
        p.print("x");
        FAIL();
    } catch (const px::RuntimeError& e) {
        EXPECT_EQ(e.number(), 482);
    }
}

TEST(PrintObjectTest, ARealJobOfTwoPagesIsAPdfThatReadsRight) {
    Installation inst;
    std::string dir = inst.root() + "/print";
    setenv("PXDROM_PRINT_DIR", dir.c_str(), 1);
    {
        auto device = px::make_qt_printer();
        px::PrinterObject p(*device);
        p.set_landscape(true);
        p.set_font("Courier New", 8, true);
        p.move_to(1500, 100);
        p.print("FIRST PAGE TITLE");
        p.line(200, 400, 15000, 400);
        p.new_page();
        p.move_to(1500, 100);
        p.print("SECOND PAGE TITLE");
        p.end_doc();
    }
    unsetenv("PXDROM_PRINT_DIR");
    std::string pdf = dir + "/pxdrom-0001.pdf";
    ASSERT_TRUE(fs::exists(pdf));
    std::string text;
    if (FILE* f = popen(("pdftotext -layout '" + pdf + "' -").c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
        pclose(f);
    }
    size_t first = text.find("FIRST PAGE TITLE"), second = text.find("SECOND PAGE TITLE");
    ASSERT_NE(first, std::string::npos) << text;
    ASSERT_NE(second, std::string::npos) << text;
    EXPECT_NE(text.find('\f', first), std::string::npos);  // a page break between them
    EXPECT_LT(text.find('\f', first), second);
}

}  // namespace
}  // namespace pxtest
