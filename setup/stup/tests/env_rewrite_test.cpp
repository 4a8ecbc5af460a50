// The set-up's rewrites of PXDROM.SYS: which lines change, what stays byte
// for byte, the shared state that follows, and a failed replacement.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "pxall/atomic_write.h"
#include "pxall/blocks.h"
#include "setup_fixture.h"
#include "stup_internal.h"

namespace fs = std::filesystem;
namespace ct = pxall::ctop;
using namespace stuptest;

namespace {

class EnvRewriteTest : public ::testing::Test {
protected:
    SetupEnv s;
    char drive(int area) const { return static_cast<char>(s.top()[ct::kAreaDrives + 2 * area]); }
    int32_t area_index() const { return pxall::get_i32(s.top() + ct::kAreaIndex); }
};

TEST_F(EnvRewriteTest, SetupRewriteReplacesOnlyItsKeys) {
    const std::string long_programs = "EXPPPNHO=" + std::string(70, 'P') + "ECMSTALL=XX," + std::string(100, 'Q');
    struct Case {
        const char* what;
        std::string in;
        int mode;
        std::string want;
    } cases[] = {
        {"U block on D, mode 0",
         default_sys(), 0,
         "ECRAM=C:\\WORK\r\nECMST=D:\\MST\r\nLANGUAGE=ENGLISH\r\nMENULANG=ENGLISH\r\nCDROM=Q:,R:,S:\r\n"
         "ECFIL=C:\\PRG\r\nPRICE=C:\r\nLOCALP=C:\r\nCRNTAREA=US\r\nECMSTALL=US:D\r\nFRAMEWLD=C:\\FRW\r\n"
         "FRAMEJPN=C:\\FRJ\r\nEXPPPNHO=C:\\PXDROM\\PXPNHO\r\nEXPPFSAD=C:\\PXDROM\\PXEDIT\r\n"},
        // A key line the file lacks is added: the set-up is recorded.
        {"no ECMSTALL line: added", "ECMST=C:\\MST\nCRNTAREA=EU\n", 0, "ECMST=D:\\MST\nCRNTAREA=US\nECMSTALL=US:D\n"},
        {"no key line at all", "ECRAM=C:\\WORK\n", 0, "ECRAM=C:\\WORK\nECMSTALL=US:D\nCRNTAREA=US\n"},
        {"long line survives whole", long_programs + "\nCRNTAREA=EU", 0,
         long_programs + "\nCRNTAREA=US\nECMSTALL=US:D\n"},
        {"lower-case keys are not ours", "crntarea=eu\necmstall=eu:c\nECMSTALL=EU:C\n", 0,
         "crntarea=eu\necmstall=eu:c\nECMSTALL=US:D\nCRNTAREA=US\n"},
        {"empty line copied", "ECMSTALL=EU:C\n\nCRNTAREA=EU\n", 0, "ECMSTALL=US:D\n\nCRNTAREA=US\n"},
    };
    for (const auto& c : cases) {
        s.clear_selection();
        s.select_area(2, 'D', {{"A1", '1'}}, false);
        s.write_sys(c.in);
        ASSERT_EQ(pxstup::Updt_Sys_File(s.catalog, s.frame, c.mode), 0) << c.what;
        EXPECT_EQ(s.sys(), c.want) << c.what;
        EXPECT_EQ(s.env().read("WORK/PXDROM.BAK"), c.in) << c.what;
    }
    EXPECT_EQ(area_index(), 2);
    EXPECT_EQ(drive(2), 'D');
    EXPECT_EQ(drive(0), 0);
    EXPECT_EQ(s.top()[ct::kMasterDir], 'D');
}

TEST_F(EnvRewriteTest, NoBlockTakenEmptiesAreaAndCurrentArea) {
    ASSERT_EQ(pxstup::Updt_Sys_File(s.catalog, s.frame, 0), 0);
    EXPECT_EQ(s.value("ECMSTALL"), "");
    EXPECT_EQ(s.value("CRNTAREA"), "");
    EXPECT_EQ(s.value("ECMST"), "C:\\MST");
    EXPECT_EQ(area_index(), -1);
    EXPECT_EQ(drive(0), 0);
}

TEST_F(EnvRewriteTest, ClientModeTakesSelectedBlocksAndFrameDrives) {
    s.select_area(0, 'D', {{"A1", '0'}});
    s.select_area(1, 'E', {}, true);  // selected, no CD: recorded, not current
    s.select_frame(1, 'F', {{"F1", '1'}});
    ASSERT_EQ(pxstup::Updt_Sys_File(s.catalog, s.frame, 1), 0);
    EXPECT_EQ(s.value("ECMSTALL"), "EU:D,GR:E");
    EXPECT_EQ(s.value("CRNTAREA"), "EU");
    EXPECT_EQ(s.value("FRAMEJPN"), "F:\\FRJ");
    EXPECT_EQ(s.value("FRAMEWLD"), "C:\\FRW");
    EXPECT_EQ(s.top()[ct::kFrameJapanDir], 'F');
}

TEST_F(EnvRewriteTest, FailedReplacementKeepsTheOldFileWhole) {
    s.select_area(2, 'D', {{"A1", '1'}}, false);
    const std::string before = s.sys();
    for (int e : {ENOSPC, EIO}) {
        // Two replacements fail: the backup's copy (which is not checked) and the file.
        pxall::atomic_fail_next_commits(2, e);
        EXPECT_EQ(pxstup::Updt_Sys_File(s.catalog, s.frame, 0), 13);
        EXPECT_EQ(s.sys(), before);
        pxall::atomic_fail_next_commits(2, e);
        EXPECT_EQ(pxstup::Updt_Sys_File_F4(s.catalog, s.frame), 13);
        EXPECT_EQ(s.sys(), before);
    }
    // No half-written twin is left beside the file.
    int files = 0;
    for (const auto& f : fs::directory_iterator(s.root()))
        if (f.path().filename().string().rfind("PXDROM.SYS", 0) == 0) ++files;
    EXPECT_EQ(files, 1);
    auto log = s.env().log_lines();
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("PXSTUP12,Updt_Sys_File_F4,fputs,(13)"), std::string::npos);
    EXPECT_EQ(pxstup::Updt_Sys_File(s.catalog, s.frame, 0), 0);
    EXPECT_EQ(s.value("ECMSTALL"), "US:D");
}

// Steps of a replacement counted by the write hook; at step g_kill_at the
// process ends there, as a kill or a power cut would end it.
int g_step = 0;
int g_kill_at = -1;
int kill_at_step(const char*, const char*) {
    if (g_step++ == g_kill_at) ::_exit(0);
    return 0;
}

// Runs the rewrite in a child process that ends at step kill_at (-1: runs
// to the end); gives the number of steps the child saw, or -1.
int rewrite_in_child(SetupEnv& s, int kill_at) {
    pid_t child = ::fork();
    if (child == 0) {
        g_step = 0;
        g_kill_at = kill_at;
        pxall::set_write_step_hook(kill_at_step);
        int r = pxstup::Updt_Sys_File(s.catalog, s.frame, 0);
        ::_exit(r == 0 ? 100 + g_step : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status)) return -1;
    int code = WEXITSTATUS(status);
    return kill_at >= 0 ? (code == 0 ? kill_at : -1) : (code >= 100 ? code - 100 : -1);
}

TEST_F(EnvRewriteTest, KillAtAnyStepLeavesTheOldOrTheNewFileWhole) {
    s.select_area(2, 'D', {{"A1", '1'}}, false);
    const std::string before = s.sys();
    const int steps = rewrite_in_child(s, -1);
    ASSERT_GE(steps, 4);  // create, write, sync, rename at least
    const std::string after = s.sys();
    ASSERT_NE(after, before);
    for (int k = 0; k < steps; ++k) {
        s.write_sys(before);
        ASSERT_EQ(rewrite_in_child(s, k), k) << "the child was not ended at step " << k;
        const std::string now = s.sys();
        EXPECT_TRUE(now == before || now == after) << "killed at step " << k << ":\n" << now;
        // The backup is the previous file whole, never cut short by the kill.
        EXPECT_EQ(s.env().read("WORK/PXDROM.BAK"), before) << "killed at step " << k;
    }
    // The twins the killed runs left go with the next replacement.
    ASSERT_EQ(pxstup::Updt_Sys_File(s.catalog, s.frame, 0), 0);
    int files = 0;
    for (const auto& f : fs::directory_iterator(s.root()))
        if (f.path().filename().string().rfind("PXDROM.SYS", 0) == 0) ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(EnvRewriteTest, MissingEnvironmentFileIsOpenFailure) {
    fs::remove(s.root() + "/PXDROM.SYS");
    EXPECT_EQ(pxstup::Updt_Sys_File(s.catalog, s.frame, 0), 11);
    EXPECT_EQ(pxstup::Updt_Sys_File_F4(s.catalog, s.frame), 11);
    EXPECT_FALSE(s.env().exists("PXDROM.SYS"));
}

TEST_F(EnvRewriteTest, CancelledSetupRecordsEachAreaWhoseFirstDataSetIsThere) {
    // E's first data set is missing, U's is there (in the real master
    // directory, C:\MST): U is recorded all the same.
    s.select_area(0, 'C', {{"A1", '0'}});
    s.select_area(2, 'D', {{"A1", '0'}});
    s.env().map_drive('D', "d", 3);
    s.env().write("d/MST/U1/PXROOTMF.MST", std::string(2336, '\0'));
    s.env().write("d/MST/U1/SHAMEI.DAT", std::string(2048, 'x'));
    ASSERT_EQ(pxstup::Updt_Sys_File_F4(s.catalog, s.frame), 0);
    EXPECT_EQ(s.value("ECMSTALL"), "US:D");
    EXPECT_EQ(s.value("ECMST"), "D:\\MST");
    EXPECT_EQ(s.value("CRNTAREA"), "US");
    EXPECT_EQ(area_index(), 2);
    EXPECT_EQ(drive(0), 0);
    EXPECT_EQ(drive(2), 'D');

    // The area list is added when the file lacks it.
    s.write_sys("ECMST=C:\\MST\r\nCRNTAREA=EU\r\n");
    ASSERT_EQ(pxstup::Updt_Sys_File_F4(s.catalog, s.frame), 0);
    EXPECT_EQ(s.sys(), "ECMST=D:\\MST\r\nCRNTAREA=US\r\nECMSTALL=US:D\r\n");

    // Nothing there: the current area is none and its line stays.
    s.clear_selection();
    s.write_sys(default_sys());
    ASSERT_EQ(pxstup::Updt_Sys_File_F4(s.catalog, s.frame), 0);
    EXPECT_EQ(s.value("ECMSTALL"), "");
    EXPECT_EQ(s.value("CRNTAREA"), "EU");
    EXPECT_EQ(s.value("ECMST"), "C:\\MST");  // the work directory's drive
    EXPECT_EQ(area_index(), -1);
}

}  // namespace
