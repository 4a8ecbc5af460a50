#include "pxall/intf.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "pxall/blocks.h"
#include "pxall/savefile.h"
#include "support/temp_env.h"

namespace {

// The stand-in PXINTF (built beside the libraries) takes its exit code from
// PXINTF_EXIT and records its arguments in the work file.
class IntfTest : public ::testing::Test {
protected:
    void SetUp() override {
        pxtest::set_field(pxall::get_ctop_addr(), pxall::ctop::kMasterDir, pxall::ctop::kDirSize, "C:\\MST");
        env.mkdir("MST");
        unsetenv("PXINTF_EXIT");
        int32_t err = 0;
        ASSERT_EQ(pxall::make_save_mst(&err), 0);
    }
    void TearDown() override {
        int32_t err = 0;
        pxall::close_save_dat_file(nullptr, &err);
        unsetenv("PXINTF_EXIT");
    }

    // A saved list with `parts` part records; its number.
    int32_t save_list(int parts) {
        int32_t no = 0, err = 0;
        EXPECT_EQ(pxall::get_save_no(&no, &err), 0);
        std::string header(99, ' ');
        header.replace(32, 6, "12345A");
        header.replace(96, 3, "042");
        std::string bytes = header;
        for (int i = 0; i < parts; ++i) bytes += "9091501030  01";
        char name[32];
        std::snprintf(name, sizeof name, "MST/PXIF%04d.SAV", no);
        env.write(name, bytes);
        return no;
    }
    // Makes a saved list the current one, open for update.
    void make_current(int32_t no) {
        int32_t err = 0;
        ASSERT_EQ(pxall::open_save_dat_file(no, pxall::kSaveUpdateInPlace, pxall::kSaveUpdate, nullptr, &err), 0);
    }
    void close_current() {
        int32_t err = 0;
        ASSERT_EQ(pxall::close_save_dat_file(nullptr, &err), 0);
    }
    int32_t saved_count() {
        int32_t count = -1, err = 0;
        pxall::check_save_mst_file_exist(&count, &err);
        return count;
    }

    pxtest::TempEnv env;
};

TEST_F(IntfTest, ExitZeroWithoutAListPassesTheMarker) {
    int32_t detail = -1;
    EXPECT_EQ(pxall::intf_pro(&detail), 0);
    EXPECT_EQ(detail, 0);
    EXPECT_EQ(env.read("MST/PXINTF.TMP"), "PXINTF\r\nLIST=@@@@@\r\nEXIT=0\r\n");
    EXPECT_TRUE(env.log_lines().empty());
}

TEST_F(IntfTest, ExitOneResetsTheCallersNumber) {
    int32_t no = save_list(3);
    const std::string before = env.read("MST/PXIF0001.SAV");
    make_current(no);
    setenv("PXINTF_EXIT", "1", 1);
    int32_t detail = -1;
    EXPECT_EQ(pxall::intf_pro(&detail), 0);
    close_current();

    // The program was handed the list's host path and could read it.
    EXPECT_EQ(env.read("MST/PXINTF.TMP"),
              "PXINTF\r\nLIST=" + env.root() + "/MST/PXIF0001.SAV\r\nPARTS=3\r\nEXIT=1\r\n");
    std::string expected = before;
    expected.replace(96, 3, "000");
    EXPECT_EQ(env.read("MST/PXIF0001.SAV"), expected);
}

TEST_F(IntfTest, ExitTwoRemovesTheListAndTellsWhetherAnyRemain) {
    int32_t first = save_list(1);
    int32_t second = save_list(2);
    setenv("PXINTF_EXIT", "2", 1);
    int32_t detail = -1;

    make_current(first);
    EXPECT_EQ(pxall::intf_pro(&detail), pxall::kMsgSavedListsRemain);
    close_current();
    EXPECT_EQ(saved_count(), 1);
    EXPECT_EQ(env.read("MST/PXIFSMST.SAV")[16 * first], 'D');

    make_current(second);
    EXPECT_EQ(pxall::intf_pro(&detail), pxall::kMsgNoSavedListLeft);
    close_current();
    EXPECT_EQ(saved_count(), 0);

    // Without a current list the master's count answers.
    save_list(0);
    EXPECT_EQ(pxall::intf_pro(&detail), pxall::kMsgSavedListsRemain);
    EXPECT_EQ(saved_count(), 1);
    std::remove((env.root() + "/MST/PXIFSMST.SAV").c_str());
    EXPECT_EQ(pxall::intf_pro(&detail), pxall::kMsgNoSavedListLeft);
}

TEST_F(IntfTest, OtherExitCodesChangeNothing) {
    int32_t no = save_list(1);
    const std::string list = env.read("MST/PXIF0001.SAV");
    const std::string master = env.read("MST/PXIFSMST.SAV");
    make_current(no);
    setenv("PXINTF_EXIT", "7", 1);
    int32_t detail = -1;
    EXPECT_EQ(pxall::intf_pro(&detail), 0);
    close_current();
    EXPECT_EQ(env.read("MST/PXIF0001.SAV"), list);
    EXPECT_EQ(env.read("MST/PXIFSMST.SAV"), master);
    EXPECT_NE(env.read("MST/PXINTF.TMP").find("EXIT=7"), std::string::npos);
}

TEST_F(IntfTest, ProgramThatCannotStartIsLogged) {
    // Found first (current directory) but cannot be run: its interpreter is missing.
    env.write("PXINTF.EXE", "#!/nonexistent/interpreter\n");
    ::chmod((env.root() + "/PXINTF.EXE").c_str(), 0755);
    int32_t detail = -1;
    EXPECT_EQ(pxall::intf_pro(&detail), 0);
    EXPECT_FALSE(env.exists("MST/PXINTF.TMP"));
    auto lines = env.log_lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("PXSUBI01,intf_pro,PXINTF.EXE,(0)(2)", 0), 0u) << lines[0];
}

}  // namespace
