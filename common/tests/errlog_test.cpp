#include "pxall/errlog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/clock.h"
#include "support/temp_env.h"

namespace {

class ErrorLogTest : public ::testing::Test {
protected:
    void SetUp() override { plat::fix_clock(1999, 9, 21, 10, 15, 2); }
    void TearDown() override { plat::unfix_clock(); }
    pxtest::TempEnv env;
};

TEST_F(ErrorLogTest, AppendsOneFormattedLinePerCall) {
    EXPECT_EQ(pxall::syerr_message("PXDROM", "pxdrom", "Invalid or not found MESSAGE FILE", 1, 0, 0), 0);
    EXPECT_EQ(VBsyerr_message("Gyom", "Form_Load", "step, with comma", -5, 2, 77), 0);
    EXPECT_EQ(env.read("PXERROR.LOG"),
              "(09/21/99 10:15:02)PXDROM,pxdrom,Invalid or not found MESSAGE FILE,(1)(0)(0)\n"
              "(09/21/99 10:15:02)Gyom,Form_Load,step, with comma,(-5)(2)(77)\n");
}

TEST_F(ErrorLogTest, InitDeletesTheLogAndReportsAMissingOne) {
    pxall::syerr_message("M", "f", "s", 1, 2, 3);
    ASSERT_TRUE(env.exists("PXERROR.LOG"));
    EXPECT_EQ(pxall::init_syerr_message(), 0);
    EXPECT_FALSE(env.exists("PXERROR.LOG"));
    EXPECT_EQ(pxall::init_syerr_message(), -1);
}

TEST_F(ErrorLogTest, TempDirectoryForms) {
    struct Case {
        const char* tmp;  // nullptr: unset
        const char* path;
    };
    const Case cases[] = {
        {nullptr, ".\\PXERROR.LOG"},
        {"C:\\LOGS", "C:\\LOGS\\PXERROR.LOG"},
        {"C:\\LOGS\\", "C:\\LOGS\\PXERROR.LOG"},
    };
    for (const Case& c : cases) {
        if (c.tmp)
            setenv("TMP", c.tmp, 1);
        else
            unsetenv("TMP");
        char buf[pxall::kErrorLogPathSize];
        ASSERT_TRUE(pxall::error_log_path(buf));
        EXPECT_STREQ(buf, c.path);
    }
    // With TMP unset the log lands in the current directory.
    unsetenv("TMP");
    pxall::syerr_message("M", "f", "s", 0, 0, 0);
    EXPECT_TRUE(env.exists("PXERROR.LOG"));
}

TEST_F(ErrorLogTest, UnwritableOrOverlongTempDirectoryIsSkippedSilently) {
    setenv("TMP", "C:\\NO\\SUCH\\DIR", 1);
    EXPECT_EQ(pxall::syerr_message("M", "f", "s", 1, 2, 3), 0);
    std::string longdir = "C:\\" + std::string(70, 'A');
    setenv("TMP", longdir.c_str(), 1);
    char buf[pxall::kErrorLogPathSize];
    EXPECT_FALSE(pxall::error_log_path(buf));
    EXPECT_EQ(pxall::syerr_message("M", "f", "s", 1, 2, 3), 0);
    EXPECT_EQ(pxall::init_syerr_message(), -1);
}

}  // namespace
