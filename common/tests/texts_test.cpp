#include "pxall/texts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "pxall/blocks.h"
#include "support/temp_env.h"

namespace {

using namespace pxall;

// A message text as the table holds it: blank-padded to 71.
std::string msg_pad(const std::string& s) { return s + std::string(71 - s.size(), ' '); }

// A caller's string of n bytes with guard bytes behind it.
struct CallerString {
    explicit CallerString(int n, char fill = '?') : bytes(n + 8, fill), str{bytes.data(), n} {}
    std::string content() const { return bytes.substr(0, str.len); }
    std::string guard() const { return bytes.substr(str.len); }
    std::string bytes;
    VbString str;
};

class TextsTest : public ::testing::Test {
protected:
    void SetUp() override {
        top = get_ctop_addr();
        ASSERT_NE(top, nullptr);
        pxtest::set_field(top, ctop::kMenuLangCode, 3, "01");
        pxtest::set_field(top, ctop::kProgramDir, ctop::kDirSize, "C:\\PROG");
    }
    void TearDown() override {
        free_msg();
        free_scr();
    }
    int msg_count() const { return get_i16(top + ctop::kMsgCount); }
    int scr_count() const { return get_i16(top + ctop::kScrCount); }

    pxtest::TempEnv env;
    unsigned char* top = nullptr;
};

TEST_F(TextsTest, MessageTableFromTheProgramDirectory) {
    const std::string long_text(75, 'L');  // 79 characters with number and line feed
    env.write("PROG/PXDROM01.MSG",
              "; header line\r\n"
              "101First line\r\n"
              "101Second line\r\n"
              "102Only line\r\n"
              "10x not a message\r\n"
              "103" + long_text + "\r\n"
              "104\r\n");
    // A file of the same name in the current directory is not the one read.
    env.write("PXDROM01.MSG", "101Wrong\n");
    ASSERT_EQ(set_msg(), 0);
    EXPECT_EQ(msg_count(), 5);
    EXPECT_EQ(get_i32(top + ctop::kMsgTableSlot), 0);

    const char* t = get_1stmsg_text(101);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(std::string(t), msg_pad("First line"));
    EXPECT_EQ(std::string(get_2ndmsg_text()), msg_pad("Second line"));
    EXPECT_EQ(get_2ndmsg_text(), nullptr);  // only directly after the first line

    EXPECT_EQ(std::string(get_1stmsg_text(102)), msg_pad("Only line"));
    EXPECT_EQ(get_2ndmsg_text(), nullptr);
    EXPECT_EQ(std::string(get_1stmsg_text(103)), std::string(71, 'L'));
    EXPECT_EQ(std::string(get_1stmsg_text(104)), std::string(71, ' '));
    EXPECT_EQ(get_1stmsg_text(105), nullptr);
    EXPECT_EQ(get_2ndmsg_text(), nullptr);

    // A miss leaves the remembered message alone.
    get_1stmsg_text(101);
    EXPECT_EQ(get_1stmsg_text(999), nullptr);
    EXPECT_EQ(std::string(get_2ndmsg_text()), msg_pad("Second line"));
}

TEST_F(TextsTest, VBGetMsgJoinsBothLines) {
    env.write("PROG/PXDROM01.MSG", "101First\n101Second\n102Alone\n");
    ASSERT_EQ(set_msg(), 0);
    const std::string both = msg_pad("First") + "\r\n" + msg_pad("Second");

    CallerString exact(144);
    EXPECT_EQ(VBGetMsg(101, &exact.str), 144);
    EXPECT_EQ(exact.content(), both);
    EXPECT_EQ(exact.guard(), std::string(8, '?'));

    CallerString one(80);
    EXPECT_EQ(VBGetMsg(102, &one.str), 80);
    EXPECT_EQ(one.content(), msg_pad("Alone") + std::string(9, '\0'));

    CallerString shorter(10);
    EXPECT_EQ(VBGetMsg(101, &shorter.str), 10);
    EXPECT_EQ(shorter.content(), "First     ");
    EXPECT_EQ(shorter.guard(), std::string(8, '?'));

    // Longer than the 148-byte buffer: the copy stops there, NUL bytes after it.
    CallerString longer(200);
    EXPECT_EQ(VBGetMsg(101, &longer.str), 200);
    EXPECT_EQ(longer.content(), both + std::string(200 - 144, '\0'));
    EXPECT_EQ(longer.guard(), std::string(8, '?'));

    CallerString missing(20);
    EXPECT_EQ(VBGetMsg(555, &missing.str), 0);
    EXPECT_EQ(missing.content(), std::string(20, '?'));
}

TEST_F(TextsTest, TablesIgnoreEntriesPastTheirSize) {
    std::string msgs, scrs;
    for (int i = 0; i < 401; ++i) msgs += std::to_string(100 + i) + "M" + std::to_string(i) + "\n";
    for (int i = 0; i < 501; ++i) scrs += std::to_string(1000 + i) + " S" + std::to_string(i) + "\n";
    env.write("PROG/PXDROM01.MSG", msgs);
    env.write("PXDROM01.SCR", scrs);
    ASSERT_EQ(set_msg(), 0);
    ASSERT_EQ(set_scr(), 0);
    EXPECT_EQ(msg_count(), 400);
    EXPECT_EQ(scr_count(), 500);
    EXPECT_EQ(std::string(get_1stmsg_text(499)), msg_pad("M399"));
    EXPECT_EQ(get_1stmsg_text(500), nullptr);
    EXPECT_EQ(std::string(get_scr_text(1499)), "S499");
    EXPECT_EQ(get_scr_text(1500), nullptr);
}

TEST_F(TextsTest, ScreenTextsFromTheCurrentDirectory) {
    const std::string long_text(93, 'T');  // 99 characters with number, separator, line feed
    env.write("PXDROM01.SCR",
              "#1000 a comment does not define 1000\r\n"
              "1001 One\r\n"
              "1003 Three\r\n"
              "1004\r\n"
              "1005 " + long_text + "\r\n"
              "100 short\r\n");
    env.write("PROG/PXDROM01.SCR", "1000 Wrong\n");
    ASSERT_EQ(set_scr(), 0);
    EXPECT_EQ(scr_count(), 4);
    EXPECT_EQ(get_i32(top + ctop::kScrTableSlot), 0);
    EXPECT_EQ(get_scr_text(1000), nullptr);
    EXPECT_EQ(std::string(get_scr_text(1001)), "One");
    EXPECT_EQ(get_scr_text(1002), nullptr);
    EXPECT_EQ(std::string(get_scr_text(1003)), "Three");
    EXPECT_EQ(std::string(get_scr_text(1004)), "");
    EXPECT_EQ(std::string(get_scr_text(1005)), std::string(70, 'T'));
}

TEST_F(TextsTest, RisingRunsAreAnsweredFromTheNextEntry) {
    // 2001 stands twice: a search finds the first, the run the one after 2000.
    env.write("PXDROM01.SCR", "2001 early\n2000 zero\n2001 one\n2003 three\n");
    ASSERT_EQ(set_scr(), 0);
    EXPECT_EQ(std::string(get_scr_text(2000)), "zero");
    EXPECT_EQ(std::string(get_scr_text(2001)), "one");
    EXPECT_EQ(get_scr_text(2002), nullptr);
    EXPECT_EQ(std::string(get_scr_text(2003)), "three");
    EXPECT_EQ(std::string(get_scr_text(2001)), "early");
}

TEST_F(TextsTest, VBGetScrPadsWithNul) {
    env.write("PXDROM01.SCR", "1000 Hello\n");
    ASSERT_EQ(set_scr(), 0);
    struct Case {
        int len;
        std::string want;
    };
    const Case cases[] = {
        {8, std::string("Hello\0\0\0", 8)},
        {5, "Hello"},  // as long as the text: no terminator
        {3, "Hel"},
    };
    for (const Case& c : cases) {
        CallerString s(c.len);
        VBGetScr(1000, &s.str);
        EXPECT_EQ(s.content(), c.want);
        EXPECT_EQ(s.guard(), std::string(8, '?'));
    }
    CallerString missing(8);
    VBGetScr(1001, &missing.str);
    EXPECT_EQ(missing.content(), std::string(8, '?'));
}

// Under the Japanese menu language (code page 932) a text is cut before a
// double-byte character that does not fit whole, in the tables and in the
// caller's string, and the place is padded; a Latin language cuts the same
// bytes where they fall.
TEST_F(TextsTest, JapaneseTextsAreCutBeforeACharacterThatDoesNotFit) {
    const std::string kana = "\x83\x4A";  // one character of two bytes
    const std::string scr = std::string(69, 'S') + kana + "X";  // the character at the field's last byte
    const std::string msg = std::string(70, 'M') + kana;
    for (const std::string name : {"PXDROM01", "PXDROM02"}) {
        env.write("PROG/" + name + ".MSG", "101" + msg + "\n101" + kana + "\n");
        env.write(name + ".SCR", "1000 " + scr + "\n1001 A" + kana + kana + "\n");
    }
    struct Case {
        const char* lang;
        std::string scr, msg;        // the table entries
        std::string scr4, msg74;     // into caller's strings of 4 and 74 bytes
    };
    const Case cases[] = {
        {"02", std::string(69, 'S'), std::string(70, 'M') + ' ', "A" + kana + '\0',
         std::string(70, 'M') + " \r\n" + '\0'},
        {"01", scr.substr(0, 70), msg.substr(0, 71), "A" + kana + "\x83", std::string(70, 'M') + "\x83\r\n\x83"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lang);
        pxtest::set_field(top, ctop::kMenuLangCode, 3, c.lang);
        ASSERT_EQ(set_msg(), 0);
        ASSERT_EQ(set_scr(), 0);
        EXPECT_EQ(std::string(get_scr_text(1000)), c.scr);
        EXPECT_EQ(std::string(get_1stmsg_text(101)), c.msg);
        CallerString s(4);
        VBGetScr(1001, &s.str);
        EXPECT_EQ(s.content(), c.scr4);
        CallerString m(74);
        EXPECT_EQ(VBGetMsg(101, &m.str), 74);
        EXPECT_EQ(m.content(), c.msg74);
        EXPECT_EQ(m.guard(), std::string(8, '?'));
    }
}

TEST_F(TextsTest, MissingFilesAndReload) {
    EXPECT_EQ(set_msg(), 1);
    EXPECT_EQ(set_scr(), 1);
    EXPECT_EQ(get_1stmsg_text(101), nullptr);
    EXPECT_EQ(get_scr_text(1000), nullptr);

    env.write("PROG/PXDROM01.MSG", "101English\n");
    env.write("PROG/PXDROM02.MSG", "101Japanese\n");
    env.write("PXDROM02.SCR", "1000 Japanese\n");
    ASSERT_EQ(set_msg(), 0);
    EXPECT_EQ(std::string(get_1stmsg_text(101)), msg_pad("English"));

    // A language change: both tables are freed and loaded again.
    pxtest::set_field(top, ctop::kMenuLangCode, 3, "02");
    free_msg();
    free_scr();
    EXPECT_EQ(msg_count(), 0);
    EXPECT_EQ(get_1stmsg_text(101), nullptr);
    ASSERT_EQ(set_msg(), 0);
    ASSERT_EQ(set_scr(), 0);
    EXPECT_EQ(std::string(get_1stmsg_text(101)), msg_pad("Japanese"));
    EXPECT_EQ(std::string(get_scr_text(1000)), "Japanese");

    // A failed reload leaves no table behind.
    pxtest::set_field(top, ctop::kMenuLangCode, 3, "03");
    EXPECT_EQ(set_msg(), 1);
    EXPECT_EQ(msg_count(), 0);
    EXPECT_EQ(get_1stmsg_text(101), nullptr);
}

TEST_F(TextsTest, FreeWithoutTheSharedArea) {
    env.write("PXDROM01.SCR", "1000 Hello\n");
    ASSERT_EQ(set_scr(), 0);
    free_table();
    free_scr();
    free_msg();
    EXPECT_EQ(get_scr_text(1000), nullptr);
    EXPECT_EQ(set_scr(), 1);
    set_table();
}

}  // namespace
