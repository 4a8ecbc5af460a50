#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/msgbox.h"
#include "pxall/blocks.h"
#include "pxall/texts.h"
#include "support/temp_env.h"

namespace {

using namespace pxall;

std::string msg_pad(const std::string& s) { return s + std::string(71 - s.size(), ' '); }

class MsgBoxCdTest : public ::testing::Test {
protected:
    void SetUp() override {
        top = get_ctop_addr();
        ASSERT_NE(top, nullptr);
        pxtest::set_field(top, ctop::kMenuLangCode, 3, "01");
        env.write("PXDROM01.MSG", "810Please insert into drive [\n810the CD [\n811One line only\n");
        write_screen_file(true);
        ASSERT_EQ(set_msg(), 0);
        ASSERT_EQ(set_scr(), 0);

        top[ctop::kDriveCount] = 2;
        std::memcpy(top + ctop::kDrives, "D:E:", 4);
        put_i32(top + ctop::kSetupCount, 2);
        add_setup(0, "E1", "07");
        add_setup(1, "U1", "12");
        add_setup(2, "G0", "99");  // past the count: not an entry

        plat::set_message_box_hook([this](const std::string& text, const std::string& caption, uint32_t style) {
            shown.push_back(text);
            last_caption = caption;
            last_style = style;
            return reply;
        });
    }
    void TearDown() override {
        plat::set_message_box_hook({});
        free_msg();
        free_scr();
    }

    void write_screen_file(bool with_any_drive) {
        env.write("PXDROM01.SCR", std::string(with_any_drive ? "0111 ANY DRIVE\n" : "") +
                                      "0112 EU-CAT\n0113 GR-CAT\n0114 US-CAT\n0115 JP-CAT\n"
                                      "0126 EU-FRM\n0127 JP-FRAMENO\n");
    }
    void add_setup(int i, const char* name, const char* cd_no) {
        unsigned char* e = setup_entry_addr(i);
        ASSERT_NE(e, nullptr);
        std::memcpy(e + setup_entry::kName, name, 2);
        std::memcpy(e + setup_entry::kCdNo, cd_no, 2);
    }
    static std::string box(const std::string& drive, const std::string& tail) {
        return msg_pad("Please insert into drive [") + drive + "]\n" + msg_pad("the CD [") + tail;
    }

    pxtest::TempEnv env;
    unsigned char* top = nullptr;
    std::vector<std::string> shown;
    std::string last_caption;
    uint32_t last_style = 0;
    int32_t reply = plat::kIdRetry;
};

TEST_F(MsgBoxCdTest, ComposesTheRequestAndReturnsTheAnswer) {
    int answer = 0;
    EXPECT_EQ(disp_msgbox(810, 0, "E1", "03", &answer), 0);
    EXPECT_EQ(answer, 2);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], box("D:       ", "EU-CAT 03]"));
    EXPECT_EQ(last_caption, "Please Insert CD");
    EXPECT_EQ(last_style, plat::kMbRetryCancel | plat::kMbIconQuestion);

    reply = plat::kIdCancel;
    EXPECT_EQ(disp_msgbox(810, -1, "E1", "03", &answer), 0);
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(shown.back(), box("ANY DRIVE", "EU-CAT 03]"));

    // Without a hook the box answers Cancel.
    plat::set_message_box_hook({});
    answer = 0;
    EXPECT_EQ(disp_msgbox(810, 1, "E1", "03", &answer), 0);
    EXPECT_EQ(answer, 1);
    EXPECT_TRUE(env.log_lines().empty());
}

TEST_F(MsgBoxCdTest, WordAndCdNumberFromTheId) {
    struct Case {
        const char* id;
        const char* cd_no;
        const char* tail;
    };
    const Case cases[] = {
        {"E1", nullptr, "EU-CAT 07]"},   // from the set-up table
        {"EF", nullptr, "EU-FRM   ]"},   // no entry, no digit: a blank
        {"G0", nullptr, "GR-CAT A0]"},   // the entry past the count does not count
        {"U1", nullptr, "US-CAT 12]"},
        {"J1", nullptr, "JP-CAT A1]"},
        {"JG", "5", "JP-FRA 5 ]"},
        {"X5", nullptr, "         ]"},
        {"E", nullptr, "EU-FRM   ]"},
        {nullptr, nullptr, "         ]"},
        {nullptr, "05", "       05]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id ? c.id : "(none)");
        int answer = 0;
        EXPECT_EQ(disp_msgbox(810, 0, c.id, c.cd_no, &answer), 0);
        EXPECT_EQ(shown.back(), box("D:       ", c.tail));
    }
}

TEST_F(MsgBoxCdTest, DriveOutsideTheListShowsNoDrive) {
    for (int drive : {2, 9, 10, 200, -2}) {
        SCOPED_TRACE(drive);
        int answer = 0;
        EXPECT_EQ(disp_msgbox(810, drive, "E1", "03", &answer), 0);
        EXPECT_EQ(shown.back(), box("         ", "EU-CAT 03]"));
    }
}

// Under the Japanese menu language the texts are in code page 932: the
// drive's name is cut before a character that would not fit, never inside
// it, so that the bracket follows a whole character.
TEST_F(MsgBoxCdTest, JapaneseDriveNameIsCutAtACharacter) {
    // "任意のドライブ" in code page 932: seven characters of two bytes.
    const std::string any_drive = "\x94\x43\x88\xD3\x82\xCC\x83\x68\x83\x89\x83\x43\x83\x75";
    pxtest::set_field(top, ctop::kMenuLangCode, 3, "02");
    env.write("PXDROM02.MSG", "810Please insert into drive [\n810the CD [\n");
    env.write("PXDROM02.SCR", "0111 " + any_drive + "\n0112 EU-CAT\n");
    ASSERT_EQ(set_msg(), 0);
    ASSERT_EQ(set_scr(), 0);
    int answer = 0;
    EXPECT_EQ(disp_msgbox(810, -1, "E1", "03", &answer), 0);
    EXPECT_EQ(shown.back(), box(any_drive.substr(0, 8) + " ", "EU-CAT 03]"));
    // A Latin menu language keeps the byte cut: its bytes are characters.
    pxtest::set_field(top, ctop::kMenuLangCode, 3, "01");
    EXPECT_FALSE(texts_double_byte());
    EXPECT_EQ(disp_msgbox(810, -1, "E1", "03", &answer), 0);
    EXPECT_EQ(shown.back(), box(any_drive.substr(0, 9), "EU-CAT 03]"));
}

// The word of the CD's kind has six places: under the Japanese menu
// language a character that would take the sixth and a seventh byte is left
// out and its place is blank; Latin words and Latin menus are cut on bytes.
TEST_F(MsgBoxCdTest, AreaWordIsCutBeforeACharacterThatDoesNotFit) {
    const std::string kata = "\x83\x4A\x83\x5E\x83\x8D";  // three characters of two bytes
    env.write("PXDROM02.MSG", "810Please insert into drive [\n810the CD [\n");
    struct Case {
        const char* lang;
        std::string word;
        std::string shown;
    };
    const Case cases[] = {
        {"02", kata, kata},                                    // fits exactly
        {"02", "EUR" + kata, "EUR\x83\x4A "},                  // the lead byte at the sixth place
        {"02", "E" + kata, "E\x83\x4A\x83\x5E "},
        {"02", "EU-CATALOGUE", "EU-CAT"},
        {"02", "EU", "EU    "},
        {"01", "EUR" + kata, "EUR\x83\x4A\x83"},              // a Latin menu: bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        pxtest::set_field(top, ctop::kMenuLangCode, 3, c.lang);
        env.write(std::string("PXDROM") + c.lang + ".SCR", "0111 ANY DRIVE\n0112 " + c.word + "\n");
        ASSERT_EQ(set_msg(), 0);
        ASSERT_EQ(set_scr(), 0);
        int answer = 0;
        EXPECT_EQ(disp_msgbox(810, 0, "E1", "03", &answer), 0);
        EXPECT_EQ(shown.back(), box("D:       ", c.shown + " 03]"));
    }
}

TEST_F(MsgBoxCdTest, FailuresAreLogged) {
    int answer = 7;
    EXPECT_EQ(disp_msgbox(700, 0, "E1", "03", &answer), -1);
    EXPECT_EQ(disp_msgbox(811, 0, "E1", "03", &answer), -3);
    reply = plat::kIdOk;
    EXPECT_EQ(disp_msgbox(810, 0, "E1", "03", &answer), -4);
    write_screen_file(false);
    ASSERT_EQ(set_scr(), 0);
    EXPECT_EQ(disp_msgbox(810, -1, "E1", "03", &answer), -2);
    EXPECT_EQ(answer, 7);
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(env.log_lines(), (std::vector<std::string>{
                                   "PXSUBM01,disp_msgbox,get_1stmsg_text,(-1)(0)(192)",
                                   "PXSUBM01,disp_msgbox,get_2ndmsg_text,(-3)(0)(217)",
                                   "PXSUBM01,disp_msgbox,MessageBox,(-4)(1)(298)",
                                   "PXSUBM01,disp_msgbox,get_scr_text,(-2)(0)(202)",
                               }));
}

}  // namespace
