// The editor's work file: the screen file copied in and written back byte
// for byte, texts replaced in place, names of the screens collected.
#include <fstream>
#include <sstream>

#include "maint/screen_work.h"
#include "support/file_size_limit.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

using px::maint::ScreenNames;
using px::maint::ScreenWork;

std::string read(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// The program started in a scratch installation: its drive C: is the folder.
class ScreenWorkTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(start());
    }
    std::string host(const std::string& rel) const { return inst->root() + "/" + rel; }
    ScreenWork work;
    const std::string scr = "C:\\PXDROM01.SCR";
    const std::string tmp = "C:\\SCREEN.TMP";
};

const std::string k70(70, 'x');

// Every kind of line the screen file may hold.
const std::string kFile = std::string("# Screen texts\r\n") +
                          "#PXCOMN\r\n"
                          "0200 F1:Help\r\n"
                          "0201 trailing   \r\n"
                          "#PXSTPR\r\n"
                          "3900   Price set-up   \r\n"
                          "3901 " + k70 + "\r\n"
                          "3902 " + k70 + "y\r\n"
                          "\r\n"
                          "ab\r\n"
                          "     five blanks first\r\n"
                          "3903 #not a tag\r\n"
                          "12345\r\n"
                          "#PXSSCR\r\n"
                          "4400 Editor\r\n";

TEST_F(ScreenWorkTest, ImportAndExportRoundTripByteForByte) {
    inst->write("PXDROM01.SCR", kFile);
    ASSERT_TRUE(work.import_file(scr, tmp));
    EXPECT_EQ(read(host("SCREEN.TMP")).size(), 15u * 77u);  // one record a line
    ASSERT_TRUE(work.export_file(tmp, scr));
    EXPECT_EQ(read(host("PXDROM01.SCR")), kFile);
}

TEST_F(ScreenWorkTest, RecordsAsTheLayoutSays) {
    inst->write("PXDROM01.SCR", "#PXCOMN\r\n0201 trailing   \r\n");
    ASSERT_TRUE(work.import_file(scr, tmp));
    const std::string recs = read(host("SCREEN.TMP"));
    ASSERT_EQ(recs.size(), 154u);
    EXPECT_EQ(recs.substr(0, 77), "      #PXCOMN\r" + std::string(63, ' '));
    EXPECT_EQ(recs.substr(77, 77), " 0201 trailing   \r" + std::string(59, ' '));
}

TEST_F(ScreenWorkTest, NamesAndSectionsOfTheScreens) {
    inst->write("PXDROM01.SCR", kFile);
    ScreenNames()[35] = "kept from before";
    ASSERT_TRUE(work.import_file(scr, tmp));
    EXPECT_EQ(ScreenNames()[0], "F1:Help");
    EXPECT_EQ(ScreenNames()[34], "Price set-up");
    EXPECT_EQ(ScreenNames()[35], "Editor");
    auto rows = work.section(tmp, "#PXSTPR");
    std::vector<std::string> texts;
    for (const auto& r : rows) texts.push_back(r.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"  Price set-up   ", k70, k70 + "y", "", "ab",
                                               "     five blanks first", "#not a tag", ""}));
    EXPECT_TRUE(work.section(tmp, "").empty());
    EXPECT_TRUE(work.section(tmp, "#PXGYOM").empty());
}

TEST_F(ScreenWorkTest, ReplacedTextIsMarkedAndExported) {
    inst->write("PXDROM01.SCR", kFile);
    ASSERT_TRUE(work.import_file(scr, tmp));
    ASSERT_TRUE(work.write_text(tmp, "#PXSTPR", 3, "short now"));  // the long line
    ASSERT_TRUE(work.write_text(tmp, "#PXCOMN", 2, k70));
    auto rows = work.section(tmp, "#PXSTPR");
    EXPECT_EQ(rows[2].mark, '*');
    EXPECT_EQ(rows[2].text, "short now");
    EXPECT_EQ(rows[1].mark, ' ');
    // Not a text of the screen: nothing written.
    EXPECT_FALSE(work.write_text(tmp, "#PXCOMN", 3, "x"));
    EXPECT_FALSE(work.write_text(tmp, "#PXCOMN", 0, "x"));
    EXPECT_FALSE(work.write_text(tmp, "", 1, "x"));
    EXPECT_FALSE(work.write_text(tmp, "#PXCOMN", 1, k70 + "z"));
    EXPECT_EQ(read(host("PXDROM01.SCR")), kFile);  // untouched until the export
    ASSERT_TRUE(work.export_file(tmp, scr));
    std::string expected = kFile;
    expected.replace(expected.find("0201 trailing   "), 16, "0201 " + k70);
    expected.replace(expected.find("3902 " + k70 + "y"), 76, "3902 short now");
    EXPECT_EQ(read(host("PXDROM01.SCR")), expected);
}

TEST_F(ScreenWorkTest, FailedExportLeavesTheScreenFileWhole) {
    inst->write("PXDROM01.SCR", kFile);
    ASSERT_TRUE(work.import_file(scr, tmp));
    inst->remove("SCREEN.TMP");
    EXPECT_FALSE(work.export_file(tmp, scr));
    EXPECT_EQ(read(host("PXDROM01.SCR")), kFile);
    EXPECT_FALSE(work.import_file("C:\\MISSING.SCR", tmp));
}

// The work file cannot grow past a few records (as on a full disk): the
// import says so, and neither that cut copy nor one put in its place is
// ever written back over the screen file.
TEST_F(ScreenWorkTest, AnImportCutShortIsNeverWrittenBack) {
    inst->write("PXDROM01.SCR", kFile);
    pxtest::FileSizeLimit limit(5 * px::maint::swrec::kSize);
    ASSERT_TRUE(limit.set());
    const bool whole = work.import_file(scr, tmp);
    limit.lift();
    EXPECT_FALSE(whole);
    EXPECT_FALSE(work.whole());
    EXPECT_FALSE(work.export_file(tmp, scr));
    EXPECT_EQ(read(host("PXDROM01.SCR")), kFile);
    // A failed import after a whole one: the earlier copy is not written back either.
    ASSERT_TRUE(work.import_file(scr, tmp));
    const std::string copy = read(host("SCREEN.TMP"));
    EXPECT_FALSE(work.import_file("C:\\MISSING.SCR", tmp));
    inst->write("SCREEN.TMP", copy.substr(0, 3 * px::maint::swrec::kSize));
    EXPECT_FALSE(work.export_file(tmp, scr));
    EXPECT_EQ(read(host("PXDROM01.SCR")), kFile);
}

}  // namespace
}  // namespace pxtest
