#include "pxall/helpfile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/controls.h"
#include "pxall/blocks.h"
#include "support/temp_env.h"

namespace {

using Lines = std::vector<std::string>;

class HelpFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsigned char* top = pxall::get_ctop_addr();
        pxtest::set_field(top, pxall::ctop::kProgramDir, pxall::ctop::kDirSize, "C:\\PRG");
        pxtest::set_field(top, pxall::ctop::kMenuLangCode, 3, "01");
        env.mkdir("PRG");
        hwnd = plat::register_control(&box);
    }
    void TearDown() override { plat::unregister_control(hwnd); }

    pxtest::TempEnv env;
    plat::MemoryListBox box;
    int32_t hwnd = 0;
};

TEST_F(HelpFileTest, OnlyTheLineEndIsStripped) {
    const std::string long_line(150, 'L');
    struct Case {
        const char* what;
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"CR LF lines", "Main menu\r\n\r\nF3 Exit\r\n", {"Main menu", "", "F3 Exit"}},
        {"LF lines", "one\ntwo\n", {"one", "two"}},
        {"last line without a line end", "one\nlast", {"one", "last"}},
        {"one character, no line end", "x", {"x"}},
        {"empty file", "", {}},
        {"line longer than 119", long_line + "\r\nnext\r\n", {long_line.substr(0, 119), long_line.substr(119), "next"}},
        {"line of exactly 119", std::string(119, 'a') + "\nb\n", {std::string(119, 'a'), "b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        env.write("PRG/PXGYOM01.HLP", c.bytes);
        EXPECT_EQ(VBReadHelpFile(hwnd, "PXGYOM"), 0);
        EXPECT_EQ(box.lines(), c.lines);
    }
}

// An over-long line under the Japanese menu language (code page 932): a
// piece ends before a double-byte character that would be split and the next
// piece begins with it; a Latin menu cuts the bytes where they fall.
TEST_F(HelpFileTest, LongJapaneseLineIsCutBetweenCharacters) {
    const std::string ka = "\x83\x4A";  // one character of two bytes
    std::string line = "AB";
    for (int i = 0; i < 70; ++i) line += ka;  // 142 bytes, a first byte at the 119th
    const struct {
        const char* lang;
        Lines lines;
    } cases[] = {
        {"02", {line.substr(0, 118), line.substr(118), "next"}},
        {"01", {line.substr(0, 119), line.substr(119), "next"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lang);
        pxtest::set_field(pxall::get_ctop_addr(), pxall::ctop::kMenuLangCode, 3, c.lang);
        env.write(std::string("PRG/PXGYOM") + c.lang + ".HLP", line + "\r\nnext\r\n");
        EXPECT_EQ(VBReadHelpFile(hwnd, "PXGYOM"), 0);
        EXPECT_EQ(box.lines(), c.lines);
    }
}

TEST_F(HelpFileTest, NameComesFromIdAndMenuLanguage) {
    env.write("PRG/PXGYOM01.HLP", "English\n");
    env.write("PRG/pxgyom03.hlp", "Francais\n");  // names match without regard to case
    env.write("PRG/PXVJIN01.HLP", "Vehicle\n");
    ASSERT_EQ(VBReadHelpFile(hwnd, "PXGYOM"), 0);
    EXPECT_EQ(box.lines(), Lines{"English"});
    // A second help replaces the first.
    ASSERT_EQ(VBReadHelpFile(hwnd, "PXVJIN"), 0);
    EXPECT_EQ(box.lines(), Lines{"Vehicle"});
    pxtest::set_field(pxall::get_ctop_addr(), pxall::ctop::kMenuLangCode, 3, "03");
    ASSERT_EQ(VBReadHelpFile(hwnd, "PXGYOM"), 0);
    EXPECT_EQ(box.lines(), Lines{"Francais"});
}

TEST_F(HelpFileTest, MissingFileEmptiesTheListAndIsLogged) {
    box.lb_add("left over");
    EXPECT_EQ(VBReadHelpFile(hwnd, "PXNONE"), 11);
    EXPECT_TRUE(box.lines().empty());
    auto lines = env.log_lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("PXSUBH01,VBReadHelpFile,C:\\PRG\\PXNONE01.HLP,(11)(2)", 0), 0u) << lines[0];
}

// What stands under a help file's name but is no file to read (a FIFO, a
// folder, a device without end) is refused at once with the open failure;
// a file larger than any help is refused unread.
TEST_F(HelpFileTest, OddFilesAndGiantsUnderAHelpsNameAreRefused) {
    ASSERT_EQ(::mkfifo((env.root() + "/PRG/PXFIFO01.HLP").c_str(), 0644), 0);
    env.mkdir("PRG/PXDIRE01.HLP");
    ASSERT_EQ(::symlink("/dev/zero", (env.root() + "/PRG/PXZERO01.HLP").c_str()), 0);
    for (const char* id : {"PXFIFO", "PXDIRE", "PXZERO"}) {
        box.lb_add("left over");
        EXPECT_EQ(VBReadHelpFile(hwnd, id), 11) << id;
        EXPECT_TRUE(box.lines().empty()) << id;
    }
    std::string big(static_cast<size_t>(16 << 20) + 1, 'x');
    env.write("PRG/PXHUGE01.HLP", big);
    EXPECT_EQ(VBReadHelpFile(hwnd, "PXHUGE"), 14);
    EXPECT_TRUE(box.lines().empty());
}

TEST_F(HelpFileTest, NamesThatCannotFitThePathAreRefused) {
    const std::string id(200, 'A');
    EXPECT_EQ(VBReadHelpFile(hwnd, id.c_str()), 11);
    // Fits the name buffer but not with the directory in front.
    EXPECT_EQ(VBReadHelpFile(hwnd, std::string(70, 'B').c_str()), 11);
    EXPECT_EQ(env.log_lines().size(), 2u);
    EXPECT_TRUE(box.lines().empty());
}

}  // namespace
