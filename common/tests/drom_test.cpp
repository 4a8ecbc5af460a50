#include "pxall/drom.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/texts.h"
#include "support/temp_env.h"

namespace {

using Lines = std::vector<std::string>;

// A small installation: environment file, English text files, a work and a
// master directory, optionally one installed catalogue data set.
class DromTest : public ::testing::Test {
protected:
    void SetUp() override {
        env_.mkdir("WORK");
        env_.mkdir("MST");
        write_env("ECRAM=C:\\WORK\nECMST=C:\\MST\nECFIL=C:\\PROG\nCRNTAREA=EU\n");
        env_.write("PROG/PXDROM01.MSG", "115Choose a menu item.\n891No catalogue is set up.\n");
        env_.write("PXDROM01.SCR", "1000 PARTS CATALOGUE\n1001 Vehicle\n");
    }
    void TearDown() override { drom_term(); }
    void write_env(const std::string& text) { env_.write("PXDROM.SYS", text); }
    void install_catalogue() {
        std::string header(32, '\0');
        header.replace(0, 8, "20240115");
        header.replace(22, 2, "E1");
        header.replace(24, 2, "01");
        env_.write("MST/E1/PXROOTMF.MST", header);
        env_.write("MST/E1/SHAMEI.DAT", "x");
    }
    pxtest::TempEnv env_;
};

TEST_F(DromTest, StartUpLoadsTextsWritesTheSelectionAndKeepsThisRunsLog) {
    env_.write("PXERROR.LOG", "(01/01/00 00:00:00)old,run,line,(1)(0)(0)\n");
    write_env("ECRAM=C:\\WORK\nECMST=C:\\MST\nECFIL=C:\\PROG\nNOEQUALSIGN\n");
    ASSERT_EQ(drom_init(), 0);
    EXPECT_STREQ(pxall::get_scr_text(1001), "Vehicle");
    EXPECT_NE(pxall::get_1stmsg_text(115), nullptr);
    EXPECT_EQ(env_.read("WORK/SELECT.TMP"), std::string(20000, '\0'));
    // The previous run's line is gone; the defect of this run's file stays.
    EXPECT_EQ(env_.log_lines(), (Lines{"PXDROM,kankyo_set,NOEQUALSIGN,(2)(0)(434)"}));
}

TEST_F(DromTest, MissingTextFileFailsWithItsLogLineAndNoTables) {
    struct Case {
        const char* remove;
        const char* step;
    } cases[] = {
        {"PROG/PXDROM01.MSG", "PXDROM,pxdrom,Invalid or not found MESSAGE FILE,(1)(0)(0)"},
        {"PXDROM01.SCR", "PXDROM,pxdrom,Invalid or not found SCREEN FILE,(1)(0)(0)"},
    };
    for (const Case& c : cases) {
        SetUp();
        std::remove((env_.root() + "/" + c.remove).c_str());
        std::remove((env_.root() + "/PXERROR.LOG").c_str());
        EXPECT_EQ(drom_init(), 1);
        EXPECT_EQ(env_.log_lines(), (Lines{c.step}));
        EXPECT_EQ(pxall::get_1stmsg_text(115), nullptr);
        EXPECT_EQ(pxall::get_scr_text(1000), nullptr);
        EXPECT_EQ(pxall::get_ctop_addr(), nullptr);
    }
}

TEST_F(DromTest, MenuCheckAnswersByInstallationAndSavedLists) {
    ASSERT_EQ(drom_init(), 0);
    EXPECT_EQ(drom_check_setup(1), 891);
    EXPECT_EQ(drom_check_setup(7), 891);
    install_catalogue();
    EXPECT_EQ(drom_check_setup(1), 0);
    EXPECT_EQ(drom_check_setup(5), 876);  // no saved list yet
    EXPECT_EQ(drom_reset_com(), 0);       // nothing current: nothing to release
}

TEST_F(DromTest, ShutDownRemovesEveryWorkFileAndNothingElse) {
    ASSERT_EQ(drom_init(), 0);
    env_.write("WORK/pximg1.tmp", "x");
    env_.write("WORK/HINMEI1.TMP", "x");
    env_.write("WORK/KEEP.DAT", "x");
    env_.write("WORK/PXIF0001.SAV", "x");
    drom_term();
    EXPECT_FALSE(env_.exists("WORK/SELECT.TMP"));
    EXPECT_FALSE(env_.exists("WORK/pximg1.tmp"));
    EXPECT_FALSE(env_.exists("WORK/HINMEI1.TMP"));
    EXPECT_TRUE(env_.exists("WORK/KEEP.DAT"));
    EXPECT_TRUE(env_.exists("WORK/PXIF0001.SAV"));
    EXPECT_EQ(pxall::get_ctop_addr(), nullptr);
    EXPECT_EQ(pxall::get_scr_text(1000), nullptr);
}

TEST_F(DromTest, HomeDirectoryIsWhereStartUpRan) {
    ASSERT_EQ(drom_init(), 0);
    std::string home = plat::current_directory();
    ASSERT_TRUE(plat::set_current_directory("C:\\WORK"));
    EXPECT_NE(drom_set_homedir(), 0);
    EXPECT_EQ(plat::current_directory(), home);
}

}  // namespace
