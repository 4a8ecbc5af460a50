// Screen hard copy and image printing on a recording printer, and one real
// hard copy into a PDF file.
#include <cstdio>
#include <filesystem>

#include <QImage>
#include <QLabel>

#include "shell/gyom.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

namespace fs = std::filesystem;
using px::Form;

class PrintingTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        inst->write("PROG/PXDROM01.MSG", "115Menu.\r\n842Printer.\r\n999System error.\r\n");
        ASSERT_TRUE(start());
        menu = static_cast<px::Gyom*>(px::loaded_form("Gyom"));
    }
    // The menu's picture as the hard copy takes it.
    QSize picture() { return px::CaptureFormPicture(*menu).size(); }
    px::Gyom* menu = nullptr;
};

TEST_F(PrintingTest, HardCopyPageAt600Dpi) {
    QSize pic = picture();
    px::HardCopy(*menu, menu->lbl_Msg);
    int w = pic.width() * 15 / 2 * 80 / 100, h = pic.height() * 15 / 2 * 80 / 100;
    std::vector<std::string> expected = {
        "landscape 1",
        "image 480,144 " + std::to_string(w) + "x" + std::to_string(h),
        "font Courier New 10",
    };
    const std::string blank20(20, ' ');
    std::vector<std::string> lines = {
        "************   Information   ************************************************",
        " Program.................... Type-1",
        " Data.......................         ",
        " VIN/VDS.................... " + std::string(17, ' '),
        " Model name/Catalog code.... " + std::string(20, ' ') + " (    -     " + blank20 + ")",
        " Model(Frame-No)............ " + blank20 + " (       -       )",
        " Production Date(YYMM)......     -  ",
        std::string(77, '*'),
    };
    int y = 3936;
    for (const auto& l : lines) {
        expected.push_back("text 480," + std::to_string(y) + ":" + l);
        y += 100;
    }
    expected.push_back("end");
    expected.push_back("landscape 0");
    EXPECT_EQ(printer.calls, expected);
    EXPECT_EQ(lines[0].size(), 77u);
    EXPECT_EQ(beeps, 0);
}

TEST_F(PrintingTest, GeometryFollowsThePrinterResolution) {
    struct Case {
        int dpi;
        int left, top, info_top, twips;
    } cases[] = {
        {600, 480, 144, 3936, 2},  // 2.4 twips a pixel count as 2
        {300, 240, 72, 1968, 5},   // 4.8 as 5
        {576, 460, 138, 3772, 2},  // 2.5 rounds to even
        {24, 0, 0, 0, 60},         // under 25 dots per inch the unit is 0
    };
    QSize pic = picture();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        printer.calls.clear();
        printer.dpi = c.dpi;
        px::HardCopy(*menu, menu->lbl_Msg);
        int w = pic.width() * 15 / c.twips * 80 / 100, h = pic.height() * 15 / c.twips * 80 / 100;
        ASSERT_GE(printer.calls.size(), 4u);
        EXPECT_EQ(printer.calls[1], "image " + std::to_string(c.left) + "," + std::to_string(c.top) + " " +
                                        std::to_string(w) + "x" + std::to_string(h));
        EXPECT_EQ(printer.calls[3].substr(0, printer.calls[3].find(':')),
                  "text " + std::to_string(c.left) + "," + std::to_string(c.info_top));
    }
}

// A screen as large as the display: its picture is scaled down whole into
// the room between the side margins and above the information block, in its
// own proportions; a small one keeps the size it has.
TEST_F(PrintingTest, ALargeScreenIsPrintedWholeAboveTheInformationBlock) {
    const QSize room(7015 - 2 * 480, 3936 - 2 * 24 - 144);  // A4 landscape at 600 dpi
    for (QSize screen : {QSize(1262, 900), QSize(1024, 300), QSize(500, 740), QSize(640, 400)}) {
        SCOPED_TRACE(std::to_string(screen.width()) + "x" + std::to_string(screen.height()));
        menu->resize(screen);
        QSize pic = picture();
        QSize natural(pic.width() * 15 / 2 * 80 / 100, pic.height() * 15 / 2 * 80 / 100);
        printer.calls.clear();
        px::HardCopy(*menu, menu->lbl_Msg);
        ASSERT_GE(printer.calls.size(), 4u);
        int x = 0, y = 0, w = 0, h = 0;
        ASSERT_EQ(std::sscanf(printer.calls[1].c_str(), "image %d,%d %dx%d", &x, &y, &w, &h), 4) << printer.calls[1];
        EXPECT_EQ(x, 480);
        EXPECT_EQ(y, 144);
        EXPECT_EQ(printer.calls[3].substr(0, printer.calls[3].find(':')), "text 480,3936");
        if (natural.width() <= room.width() && natural.height() <= room.height()) {
            EXPECT_EQ(QSize(w, h), natural);
            continue;
        }
        EXPECT_LE(w, room.width());
        EXPECT_LE(h, room.height());
        EXPECT_TRUE(w == room.width() || h == room.height());
        EXPECT_NEAR(double(w) / h, double(natural.width()) / natural.height(), 0.01);
        EXPECT_EQ(printer.last_image.size(), pic);  // the whole picture, not a part of it
    }
}

TEST_F(PrintingTest, FailuresByKind) {
    struct Case {
        const char* fail_at;
        int number;
        const char* message;
        int beeps;
        std::vector<std::string> log;
        std::vector<std::string> calls;
    } cases[] = {
        // No printer: message 842 and a beep, nothing logged, nothing started.
        {"dpi", 484, "Printer.", 1, {}, {}},
        // The printer fails on the page: the job is thrown away, the orientation put back.
        {"image", 482, "Printer.", 1, {}, {"landscape 1", "kill", "landscape 0"}},
        // Anything else is logged and shown as a system error.
        {"image", 7, "System error.", 0, {"PXSUBP01,HardCopy,ErrProc,(7)(0)(0)"}, {"landscape 1", "kill", "landscape 0"}},
        // A setting the printer does not support is passed over.
        {"landscape 1", 483, "Menu.", 0, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fail_at) + " " + std::to_string(c.number));
        printer.calls.clear();
        printer.fail_at = c.fail_at;
        printer.fail_number = c.number;
        beeps = 0;
        inst->remove("PXERROR.LOG");
        px::DispMsg(115, menu->lbl_Msg);
        px::HardCopy(*menu, menu->lbl_Msg);
        EXPECT_EQ(menu->lbl_Msg->text(), c.message);
        EXPECT_EQ(beeps, c.beeps);
        EXPECT_EQ(inst->log_lines(), c.log);
        if (c.number == 483) {
            EXPECT_EQ(printer.calls.back(), "landscape 0");
            EXPECT_EQ(printer.calls[printer.calls.size() - 2], "end");
        } else {
            EXPECT_EQ(printer.calls, c.calls);
        }
        EXPECT_FALSE(printer.is_landscape);
        EXPECT_TRUE(modals.empty());  // the hard copy opens no dialog
    }
}

TEST_F(PrintingTest, FindPrinterFont) {
    printer.font_list = {"Arial", "Courier New  ", "Courier New", "courier new", "Symbol"};
    struct Case {
        const char* name;
        int index;
    } cases[] = {{"Courier New", 1}, {"Courier New   ", 1}, {"courier new", 3}, {"COURIER NEW", -1}, {"Nope", -1}};
    for (const Case& c : cases) EXPECT_EQ(px::FindPrinterFont(c.name), c.index) << c.name;
}

TEST_F(PrintingTest, WithoutCourierNewTheCurrentFontStays) {
    printer.font_list = {"Arial", "Symbol"};
    printer.current_font = "Symbol";
    px::HardCopy(*menu, menu->lbl_Msg);
    EXPECT_EQ(printer.calls[2], "font Symbol 10");
    EXPECT_EQ(printer.calls.back(), "landscape 0");
}

class PrintImageTest : public PrintingTest {
protected:
    void SetUp() override {
        PrintingTest::SetUp();
        QImage img(200, 100, QImage::Format_Mono);
        img.fill(1);
        ASSERT_TRUE(img.save(QString::fromStdString(inst->root() + "/WORK/PXIMG2.BMP"), "BMP"));
    }
    const std::string path = "C:\\WORK\\PXIMG2.BMP";
};

TEST_F(PrintImageTest, ModesTitleAndSize) {
    const QString title = QString(74, 'A') + QString(6, 'B');  // 80 characters
    struct Case {
        int16_t mode;
        std::vector<std::string> texts;
        const char* box;
        const char* image;
    } cases[] = {
        {2, {std::string(74, 'A'), "BBBBBB", ""}, "box 478,382-1234,763", "image 480,384 750x375"},
        {3, {title.toStdString()}, "box 478,382-1984,1138", "image 480,384 1500x750"},
        {0, {}, "box 478,382-1234,763", "image 480,384 750x375"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        printer.calls.clear();
        EXPECT_EQ(px::PrintImage(c.mode, path, title, 0), 0);
        EXPECT_EQ(printer.texts(), c.texts);
        EXPECT_NE(std::find(printer.calls.begin(), printer.calls.end(), c.box), printer.calls.end());
        EXPECT_NE(std::find(printer.calls.begin(), printer.calls.end(), c.image), printer.calls.end());
        if (!c.texts.empty()) {
            EXPECT_EQ(printer.calls[2].rfind("text 480,96:", 0), 0u) << printer.calls[2];  // the title's top
        }
        EXPECT_EQ(printer.calls.back(), "landscape 0");
    }
}

TEST_F(PrintImageTest, JapaneseFontWhereTheCodePageAsks) {
    const QString mincho = QString::fromUtf8("ＭＳ 明朝");
    struct Case {
        std::vector<QString> fonts;
        int16_t code_page;
        std::string font;
    } cases[] = {
        {{"Courier New", mincho}, 932, "font " + mincho.toStdString() + " 10"},
        {{"Courier New"}, 932, "font Courier New 10"},
        {{"Courier New", mincho}, 0, "font Courier New 10"},
    };
    for (const Case& c : cases) {
        printer.calls.clear();
        printer.font_list = c.fonts;
        EXPECT_EQ(px::PrintImage(3, path, "T", c.code_page), 0);
        EXPECT_EQ(printer.calls[1], c.font);
    }
}

TEST_F(PrintImageTest, Failures) {
    EXPECT_EQ(px::PrintImage(3, "C:\\WORK\\NONE.BMP", "T", 0), 53);
    EXPECT_EQ(inst->log_lines(), (std::vector<std::string>{"PXSUBP01,PrintImage,ErrProc,(53)(0)(0)"}));
    EXPECT_EQ(printer.calls, (std::vector<std::string>{"landscape 1", "kill", "landscape 0"}));

    inst->remove("PXERROR.LOG");
    printer.calls.clear();
    printer.fail_at = "dpi";
    printer.fail_number = 484;
    EXPECT_EQ(px::PrintImage(3, path, "T", 0), 2000);
    EXPECT_TRUE(inst->log_lines().empty());
}

// The real printer, writing the job as a PDF file.
class PdfTest : public PrintingTest {
protected:
    void SetUp() override {
        PrintingTest::SetUp();
        print_dir = inst->root() + "/print";
        setenv("PXDROM_PRINT_DIR", print_dir.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("PXDROM_PRINT_DIR");
        PrintingTest::TearDown();
    }
    static std::string run(const std::string& command) {
        std::string out;
        if (FILE* p = popen(command.c_str(), "r")) {
            char buf[4096];
            size_t n;
            while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
            pclose(p);
        }
        return out;
    }
    std::string print_dir;
};

TEST_F(PdfTest, F6OnTheMenuWritesAPageWithTheScreenAndTheInformationBlock) {
    auto beep = px::seams().beep;
    auto display = px::seams().display;
    px::reset_seams();  // the real printer
    px::seams().beep = beep;
    px::seams().display = display;
    px::seams().modal_shown = [](Form& f) { ADD_FAILURE() << f.name(); px::unload_form(f); };

    key(*menu, Qt::Key_F6);
    std::string pdf = print_dir + "/pxdrom-0001.pdf";
    ASSERT_TRUE(fs::exists(pdf)) << menu->lbl_Msg->text().toStdString();
    EXPECT_EQ(beeps, 0);

    std::string text = run("pdftotext -layout '" + pdf + "' -");
    EXPECT_NE(text.find("Information"), std::string::npos) << text;
    EXPECT_NE(text.find("Program.................... Type-1"), std::string::npos) << text;
    EXPECT_NE(text.find("Production Date(YYMM)......"), std::string::npos) << text;

    // The page at 50 dots per inch: landscape, the caption strip of the
    // screen's picture at the top-left margin (20 mm in, 6 mm down).
    run("pdftoppm -r 50 -png -singlefile '" + pdf + "' '" + print_dir + "/page'");
    QImage page(QString::fromStdString(print_dir + "/page.png"));
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(page.width(), page.height());
    QColor strip = page.pixelColor(480 / 12 + 20, 144 / 12 + 3);
    EXPECT_LT(strip.red(), 60);
    EXPECT_GT(strip.blue(), 90);
    // Below the information block the page is blank.
    EXPECT_EQ(page.pixelColor(page.width() / 2, page.height() - 5), QColor(Qt::white));
}

}  // namespace
}  // namespace pxtest
