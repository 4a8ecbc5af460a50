// System settings: staging values, the settings rewrite of PXDROM.SYS, and
// the text files of a menu language.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "pxall/atomic_write.h"
#include "pxall/blocks.h"
#include "pxall/env.h"
#include "pxall/texts.h"
#include "siup/siup.h"
#include "support/temp_env.h"

namespace ct = pxall::ctop;

namespace {

class SiupTest : public ::testing::Test {
protected:
    pxtest::TempEnv env;
    unsigned char* top = pxall::get_ctop_addr();

    void SetUp() override {
        pxtest::set_field(top, ct::kMasterDir, ct::kDirSize, "C:\\HBNMSTW2");
        pxtest::set_field(top, ct::kWorkDir, ct::kDirSize, "C:\\WORK");
        pxtest::set_field(top, ct::kProgramDir, ct::kDirSize, "C:\\PRG");
        env.mkdir("WORK");
        env.mkdir("PRG");
    }
    void stage(int kind, const std::string& v) {
        std::string copy = v;
        VbString s{copy.data(), static_cast<int32_t>(copy.size())};
        VBGet_Setup_Data(static_cast<int16_t>(kind), &s);
    }
    std::string field(size_t at, size_t n = 256) const {
        const char* p = reinterpret_cast<const char*>(top + at);
        return std::string(p, strnlen(p, n));
    }
    std::string program(int i) const { return field(ct::kExportPrograms + ct::kExportProgramSize * i); }
};

TEST_F(SiupTest, ExportProgramsSplitAtCommas) {
    struct Case {
        std::string value;
        std::vector<std::string> want;  // entries 1-8
    } cases[] = {
        {"", {"", "", "", "", "", "", "", ""}},
        {"A,B,C,D,E,F,G,H,I", {"A", "B", "C", "D", "E", "F", "G", "H"}},
        {"C:\\X.EXE,,C:\\Y.EXE", {"C:\\X.EXE", "", "C:\\Y.EXE", "", "", "", "", ""}},
        {"P ,Q,", {"P ", "Q", "", "", "", "", "", ""}},
    };
    for (const auto& c : cases) {
        stage(5, "OLD,OLD,OLD,OLD,OLD,OLD,OLD,OLD");
        stage(5, c.value);
        for (int i = 0; i < 8; ++i) EXPECT_EQ(program(i), c.want[i]) << c.value << " entry " << i;
    }
}

TEST_F(SiupTest, AreasLanguagesAndDrives) {
    top[ct::kAreaDrives + 4] = 'D';
    stage(0, "2");
    EXPECT_EQ(pxall::get_i32(top + ct::kAreaIndex), 2);
    EXPECT_EQ(field(ct::kMasterDir, 64), "D:\\HBNMSTW2");
    // An area without a drive is not chosen: the master directory stays.
    stage(0, "1");
    EXPECT_EQ(pxall::get_i32(top + ct::kAreaIndex), 2);
    EXPECT_EQ(field(ct::kMasterDir, 64), "D:\\HBNMSTW2");

    stage(1, "5");
    EXPECT_EQ(pxall::get_i16(top + ct::kDataLangNo), 5);
    EXPECT_EQ(field(ct::kDataLangCode, 3), "05");
    stage(1, "0");  // no language: ignored
    EXPECT_EQ(pxall::get_i16(top + ct::kDataLangNo), 5);
    stage(2, " 3x");
    EXPECT_EQ(pxall::get_i16(top + ct::kMenuLangNo), 3);
    EXPECT_EQ(field(ct::kMenuLangCode, 3), "03");

    stage(3, "E:");
    EXPECT_EQ(field(ct::kPriceDir, 64), "E:\\HBNMSTW2");
    stage(4, "f");
    EXPECT_EQ(field(ct::kLocalPriceDir, 64), "f:\\HBNMSTW2");
    stage(6, "C:\\ED.EXE");
    EXPECT_EQ(field(ct::kSaveEditor), "C:\\ED.EXE");
    stage(6, "");
    EXPECT_EQ(field(ct::kSaveEditor), "");
}

TEST_F(SiupTest, SettingsRewriteTakesTheSharedState) {
    env.write("PXDROM.SYS",
              "ECRAM=C:\\WORK\r\nECMST=C:\\OLD\r\nLANGUAGE=ENGLISHX\r\nMENULANG=FRENCH\r\nCDROM=Q:\r\n"
              "PRICE=C:\r\nLOCALP=C:\r\nCRNTAREA=US\r\nECMSTALL=EU:C,,JP:D\r\nFRAMEWLD=C:\\FRW\r\n"
              "EXPPPNHO=OLD\r\nEXPPFSAD=C:\\OLD.EXE\r\nUNKNOWN=1\r\nlanguage=french");
    top[ct::kAreaDrives] = 'C';
    top[ct::kAreaDrives + 6] = 'D';
    pxall::put_i32(top + ct::kAreaIndex, -1);
    pxall::put_i16(top + ct::kDataLangNo, 1);
    pxall::put_i16(top + ct::kMenuLangNo, 4);
    pxtest::set_field(top, ct::kPriceDir, 64, "P:\\HBNMSTW2");
    pxtest::set_field(top, ct::kLocalPriceDir, 64, "C:\\HBNMSTW2");
    stage(5, "A.EXE,,B.EXE");
    ASSERT_EQ(Write_Initial_Data(), 0);
    EXPECT_EQ(env.read("PXDROM.SYS"),
              "ECRAM=C:\\WORK\r\nECMST=C:\\HBNMSTW2\r\nLANGUAGE=ENGLISH\r\nMENULANG=GERMANY\r\nCDROM=Q:\r\n"
              "PRICE=P:\r\nLOCALP=C:\r\nCRNTAREA=\r\nECMSTALL=EU:C,JP:D\r\nFRAMEWLD=C:\\FRW\r\n"
              "EXPPPNHO=A.EXE,B.EXE\r\nEXPPFSAD=\r\nUNKNOWN=1\r\nlanguage=french");
    EXPECT_TRUE(env.exists("WORK/PXDROM.BAK"));

    // A failed replacement keeps the file and says so.
    const std::string before = env.read("PXDROM.SYS");
    pxall::put_i32(top + ct::kAreaIndex, 3);
    // Two replacements fail: the backup's copy (which is not checked) and the file.
    pxall::atomic_fail_next_commits(2, ENOSPC);
    EXPECT_EQ(Write_Initial_Data(), 13);
    EXPECT_EQ(env.read("PXDROM.SYS"), before);
    ASSERT_FALSE(env.log_lines().empty());
    EXPECT_NE(env.log_lines().back().find("PXSIUP02,Write_Initial_Data,fputs,(13)"), std::string::npos);
    ASSERT_EQ(Write_Initial_Data(), 0);
    EXPECT_NE(env.read("PXDROM.SYS").find("CRNTAREA=JP\r\n"), std::string::npos);
}

// Eight export programs of an ordinary 38 characters make a line longer
// than the start-up reader takes: refused before anything is written (the
// file and its backup as they were), the staged settings put back. The
// longest line that fits is written and read back whole at the next start.
TEST_F(SiupTest, NothingIsWrittenThatTheNextStartCouldNotRead) {
    const std::string sys = "ECMST=C:\\HBNMSTW2\r\nMENULANG=ENGLISH\r\nEXPPPNHO=C:\\OLD.EXE\r\nEXPPFSAD=C:\\ED.EXE\r\n";
    env.write("PXDROM.SYS", sys);
    env.write("WORK/PXDROM.BAK", "the backup before");
    stage(5, "C:\\OLD.EXE");
    stage(6, "C:\\ED.EXE");
    stage(2, "1");
    ASSERT_EQ(Write_Initial_Data(), 0);
    env.write("WORK/PXDROM.BAK", "the backup before");

    std::string eight;
    for (int i = 1; i <= 8; ++i) eight += (i > 1 ? "," : "") + std::string("C:\\DEALERS\\EXPORT\\PROGRAMS\\EXPORT") + char('0' + i) + ".EXE";
    ASSERT_EQ(eight.size(), 8u * 38 + 7);
    const std::string editor = "C:\\" + std::string(pxall::kEnvLineMax - 12, 'E');  // "EXPPFSAD=" and 245
    struct Case {
        const char* what;
        int kind;
        std::string value;
    } const cases[] = {
        {"eight programs of 38 characters", 5, eight},
        {"programs one character past the line", 5, "C:\\A.EXE," + std::string(pxall::kEnvLineMax - 9 - 9 + 1, 'B')},
        {"a saved-list program one character past the line", 6, editor + "E"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        stage(2, "3");
        stage(c.kind, c.value);
        EXPECT_EQ(Write_Initial_Data(), 15);
        EXPECT_EQ(env.read("PXDROM.SYS"), sys);
        EXPECT_EQ(env.read("WORK/PXDROM.BAK"), "the backup before");
        EXPECT_EQ(program(0), "C:\\OLD.EXE");
        EXPECT_EQ(program(1), "");
        EXPECT_EQ(field(ct::kSaveEditor), "C:\\ED.EXE");
        EXPECT_EQ(pxall::get_i16(top + ct::kMenuLangNo), 1);
    }

    // At the limit: written, and the start-up reader takes every value whole.
    const std::string programs = "C:\\A.EXE," + std::string(pxall::kEnvLineMax - 9 - 9, 'B');
    stage(5, programs);
    stage(6, editor);
    ASSERT_EQ(Write_Initial_Data(), 0);
    EXPECT_NE(env.read("PXDROM.SYS").find("EXPPPNHO=" + programs + "\r\n"), std::string::npos);
    for (size_t at : {ct::kExportPrograms, ct::kExportPrograms + ct::kExportProgramSize, ct::kSaveEditor})
        std::memset(top + at, 0, 256);
    EXPECT_EQ(pxall::kankyo_set(), 0);
    EXPECT_EQ(program(0), "C:\\A.EXE");
    EXPECT_EQ(program(1), programs.substr(9));
    EXPECT_EQ(field(ct::kSaveEditor), editor);
    for (const std::string& l : env.log_lines()) EXPECT_EQ(l.find("kankyo_set"), std::string::npos) << l;
}

TEST_F(SiupTest, MissingEnvironmentFile) {
    EXPECT_EQ(Write_Initial_Data(), 11);
    EXPECT_FALSE(env.exists("PXDROM.SYS"));
}

TEST_F(SiupTest, BothTextFilesOfALanguageMustExist) {
    EXPECT_EQ(Check_ScrMsgFile(3), -1);
    env.write("PXDROM03.SCR", "0001 A\n");
    env.write("PXDROM03.MSG", "001 in the current directory only\n");
    EXPECT_EQ(Check_ScrMsgFile(3), -1);
    env.write("PRG/PXDROM03.MSG", "001 M\n");
    EXPECT_EQ(Check_ScrMsgFile(3), 0);
    EXPECT_EQ(Check_ScrMsgFile(0x10003), 0);  // only the low 16 bits count
    env.write("PRG/PXDROM04.MSG", "001 M\n");
    EXPECT_EQ(Check_ScrMsgFile(4), -1);
}

TEST_F(SiupTest, ReloadFollowsTheMenuLanguage) {
    env.write("PXDROM01.SCR", "0100 ONE\n");
    env.write("PRG/PXDROM01.MSG", "100ONE\n");
    env.write("PXDROM03.SCR", "0100 TROIS\n");
    env.write("PRG/PXDROM03.MSG", "100TROIS\n");
    pxtest::set_field(top, ct::kMenuLangCode, 3, "01");
    ASSERT_EQ(pxall::set_scr(), 0);
    ASSERT_EQ(pxall::set_msg(), 0);
    EXPECT_EQ(Reload_ScrMsgFile(), 0);  // no menu language number: nothing reloaded
    EXPECT_STREQ(pxall::get_scr_text(100), "ONE");

    stage(2, "3");
    EXPECT_EQ(Reload_ScrMsgFile(), 0);
    EXPECT_STREQ(pxall::get_scr_text(100), "TROIS");
    EXPECT_EQ(std::string(pxall::get_1stmsg_text(100)).substr(0, 5), "TROIS");
    pxall::free_scr();
    pxall::free_msg();
}

}  // namespace
