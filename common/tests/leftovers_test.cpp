// Start-up over an installation full of what runs killed on the way left
// behind (data sets half built by a set-up among them): with no other run
// alive all of it goes; with one alive only what a dead process's number
// marks as its own. A saved list the master does not account for is never
// a leftover: it stays, and is logged.
#include "pxall/leftovers.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "pxall/drom.h"
#include "pxall/savefile.h"
#include "pxall/savefile_layout.h"
#include "support/step_script.h"
#include "support/temp_env.h"

namespace {

namespace sv = pxall::savefile;

using pxtest::dead_pid;

// A master: header, then entries 1.. with the given states.
std::string master(const std::vector<unsigned char>& states) {
    std::string m(sv::kRecordSize * (states.size() + 1), '\0');
    m[sv::kHdrCount] = static_cast<char>(states.size());
    m[sv::kHdrNext] = static_cast<char>(states.size() + 1);
    for (size_t i = 0; i < states.size(); ++i) m[sv::entry_offset(static_cast<int32_t>(i + 1))] = static_cast<char>(states[i]);
    return m;
}

class LeftoversTest : public ::testing::Test {
protected:
    void SetUp() override {
        env_.mkdir("WORK");
        env_.mkdir("MST");
        env_.write("PXDROM.SYS",
                   "ECRAM=C:\\WORK\nECMST=C:\\MST\nECFIL=C:\\PROG\nCRNTAREA=EU\nECMSTALL=EU:C,US:D\nFRAMEWLD=C:\\FRW\n");
        env_.map_drive('D', "DISKD", plat::kDriveFixed);
        env_.write("PROG/PXDROM01.MSG", "115Choose a menu item.\n");
        env_.write("PXDROM01.SCR", "1000 PARTS CATALOGUE\n");
        dead_ = std::to_string(dead_pid());
        for (const char* name : {"PXFSAD.TMP", "SCREEN.TMP", "CATALOG.TMP", "FRAME.TMP", "VCLINF.TMP"})
            env_.write(std::string("WORK/") + name, "left by a dead run");
        env_.write("WORK/KEEP.DAT", "the user's");
        // Temporaries of the rewrites in the program folder; pid 1 always runs.
        env_.write("PXDROM.SYS.~pxdrom" + dead_ + "-4", "half");
        env_.write("PXDROM01.SCR.~pxdrom" + dead_ + "-9", "half");
        env_.write("PROG/PXDROM01.MSG.~pxdrom" + dead_ + "-2", "half");
        env_.write("PXDROM.SYS.~pxdrom1-1", "a living process's");
        // Lists 1 used, 2 in use (its editor was killed), 3 deleted, 4 in use
        // without its file; data files 3 and 7 have no entry (the master
        // lost them, or the delete of 3 could not remove its file).
        env_.write("MST/PXIFSMST.SAV", master({sv::kStateUsed, sv::kStateInUse, sv::kStateDeleted, sv::kStateInUse}));
        for (const char* name : {"PXIF0001.SAV", "PXIF0002.SAV", "PXIF0003.SAV", "PXIF0007.SAV"})
            env_.write(std::string("MST/") + name, "list");
        env_.mkdir("MST/PXIF0008.SAV");
        // Data sets that set-up runs were building, on the area drives and in
        // the frame-number folder, beside a data set in force.
        for (const char* building : {"MST/$E1/PXROOTMF.MST", "MST/$E2/SHAMEI.DAT", "DISKD/MST/$U1/PXROOTMF.MST",
                                     "FRW/$EF/PXFRNOMF.MST"})
            env_.write(building, std::string(64, 'b'));
        env_.write("MST/E1/PXROOTMF.MST", std::string(2336, '\0'));
        env_.write("MST/E1/SHAMEI.DAT", "in force");
    }
    const std::vector<const char*> building_ = {"MST/$E1", "MST/$E2", "DISKD/MST/$U1", "FRW/$EF"};
    void TearDown() override { drom_term(); }
    unsigned char state(int no) {
        return static_cast<unsigned char>(env_.read("MST/PXIFSMST.SAV").at(sv::entry_offset(no)));
    }
    // The error-log lines of the saved lists, without their times.
    std::vector<std::string> list_lines() const {
        std::vector<std::string> v;
        for (const auto& l : env_.log_lines())
            if (l.find("saved_lists") != std::string::npos) v.push_back(l);
        return v;
    }
    pxtest::TempEnv env_;
    std::string dead_;
};

TEST_F(LeftoversTest, AloneStartUpRemovesEveryLeftoverOfDeadRunsAndKeepsUnlistedLists) {
    ASSERT_EQ(drom_init(), 0);
    for (const char* gone : {"WORK/PXFSAD.TMP", "WORK/SCREEN.TMP", "WORK/CATALOG.TMP", "WORK/FRAME.TMP",
                             "WORK/VCLINF.TMP"})
        EXPECT_FALSE(env_.exists(gone)) << gone;
    for (const char* kept : {"MST/PXIF0003.SAV", "MST/PXIF0007.SAV"}) EXPECT_EQ(env_.read(kept), "list") << kept;
    EXPECT_EQ(list_lines(), (std::vector<std::string>{"PXDROM,saved_lists,C:\\MST\\PXIF0003.SAV,(14)(3)(1)",
                                                      "PXDROM,saved_lists,C:\\MST\\PXIF0007.SAV,(14)(7)(1)"}));
    for (std::string gone : {"PXDROM.SYS.~pxdrom" + dead_ + "-4", "PXDROM01.SCR.~pxdrom" + dead_ + "-9",
                             "PROG/PXDROM01.MSG.~pxdrom" + dead_ + "-2"})
        EXPECT_FALSE(env_.exists(gone)) << gone;
    for (const char* kept : {"WORK/KEEP.DAT", "WORK/SELECT.TMP", "PXDROM.SYS.~pxdrom1-1", "MST/PXIF0001.SAV",
                             "MST/PXIF0002.SAV", "MST/PXIF0008.SAV", "MST/E1/PXROOTMF.MST", "MST/E1/SHAMEI.DAT"})
        EXPECT_TRUE(env_.exists(kept)) << kept;
    for (const char* gone : building_) EXPECT_FALSE(env_.exists(gone)) << gone;
    EXPECT_EQ(state(1), sv::kStateUsed);
    EXPECT_EQ(state(2), sv::kStateUsed) << "the dead run's mark is released";
    EXPECT_EQ(state(3), sv::kStateDeleted);
    EXPECT_EQ(state(4), sv::kStateUsed) << "listed without its file, and can be deleted";
}

TEST_F(LeftoversTest, WithAnotherRunAliveItsFilesStay) {
    // Another run of the same installation holds the folders.
    std::vector<int> held;
    for (const char* dir : {"WORK", "MST"}) {
        int fd = ::open((env_.root() + "/" + dir).c_str(), O_RDONLY | O_DIRECTORY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::flock(fd, LOCK_SH), 0);
        held.push_back(fd);
    }
    ASSERT_EQ(drom_init(), 0);
    for (const char* kept : {"WORK/PXFSAD.TMP", "WORK/SCREEN.TMP", "MST/PXIF0003.SAV", "MST/PXIF0007.SAV"})
        EXPECT_TRUE(env_.exists(kept)) << kept;
    // A set-up of the live run may be building them.
    for (const char* kept : building_) EXPECT_TRUE(env_.exists(kept)) << kept;
    EXPECT_EQ(state(2), sv::kStateInUse);
    // A dead process's temporaries are its own, whoever else runs.
    EXPECT_FALSE(env_.exists("PXDROM.SYS.~pxdrom" + dead_ + "-4"));
    EXPECT_FALSE(env_.exists("PXDROM01.SCR.~pxdrom" + dead_ + "-9"));
    for (int fd : held) ::close(fd);
}

TEST_F(LeftoversTest, ARunHoldsItsFoldersUntilItEnds) {
    ASSERT_EQ(drom_init(), 0);
    int fd = ::open((env_.root() + "/WORK").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    EXPECT_NE(::flock(fd, LOCK_EX | LOCK_NB), 0) << "a second start-up sees this run";
    drom_term();
    EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    ::close(fd);
}

// Masters that went wrong beside the clerk's lists 1 and 3: no list is
// removed or replaced. A master read whole that does not list a data file
// gets one error-log line naming that file, at every start-up, and a new
// list takes a number no data file has; a master that cannot be read whole
// gets one line naming it and is left as it is, its lists too.
TEST_F(LeftoversTest, DamagedMastersNeverCostAList) {
    const std::string lists = master({sv::kStateUsed, sv::kStateFree, sv::kStateUsed});
    std::string huge_count = lists;
    huge_count[sv::kHdrCount] = huge_count[sv::kHdrCount + 1] = '\xff';
    const std::string unlisted_1 = "PXDROM,saved_lists,C:\\MST\\PXIF0001.SAV,(14)(1)(1)";
    const std::string unlisted_3 = "PXDROM,saved_lists,C:\\MST\\PXIF0003.SAV,(14)(3)(1)";
    const std::string damaged = "PXDROM,saved_lists,C:\\MST\\PXIFSMST.SAV,(14)(0)(2)";
    struct Case {
        const char* what;
        std::string master;  // "-" none, "/" a folder in its place
        std::vector<std::string> lines;
        int next_save;  // the number a new list takes; 0 when none is tried
    };
    const Case cases[] = {
        {"whole", lists, {}, 4},
        {"zeroed, same size", std::string(lists.size(), '\0'), {unlisted_1, unlisted_3}, 2},
        {"cut after entry 1", lists.substr(0, 2 * sv::kRecordSize), {unlisted_3}, 4},
        {"missing", "-", {unlisted_1, unlisted_3}, 2},
        {"cut inside entry 2", lists.substr(0, 2 * sv::kRecordSize + 5), {damaged}, 0},
        {"cut inside its header", lists.substr(0, 8), {damaged}, 0},
        {"a count no master holds", huge_count, {damaged}, 0},
        {"a folder in its place", "/", {}, 0},
    };
    bool started = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (started) drom_term();
        started = true;
        std::filesystem::remove_all(env_.root() + "/MST");
        env_.mkdir("MST");
        env_.write("MST/PXIF0001.SAV", "list one");
        env_.write("MST/PXIF0003.SAV", "list three");
        if (c.master == "/") {
            env_.mkdir("MST/PXIFSMST.SAV");
        } else if (c.master != "-") {
            env_.write("MST/PXIFSMST.SAV", c.master);
        }
        ASSERT_EQ(drom_init(), 0);
        if (c.master == "/") {
            ASSERT_EQ(list_lines().size(), 1u);
            EXPECT_EQ(list_lines()[0].rfind("PXDROM,saved_lists,C:\\MST\\PXIFSMST.SAV,(", 0), 0u) << list_lines()[0];
        } else {
            EXPECT_EQ(list_lines(), c.lines);
        }
        EXPECT_EQ(env_.read("MST/PXIF0001.SAV"), "list one");
        EXPECT_EQ(env_.read("MST/PXIF0003.SAV"), "list three");
        if (c.master != "-" && c.master != "/") {
            EXPECT_EQ(env_.read("MST/PXIFSMST.SAV"), c.master);
        }
        if (c.next_save == 0) continue;

        // The clerk saves a list (the parts list makes a missing master
        // first), and starts again.
        int32_t no = 0, err = 0;
        ASSERT_EQ(pxall::make_save_mst(&err), 0);
        ASSERT_EQ(pxall::save_new_list("new list", 8, &no, &err), 0);
        EXPECT_EQ(no, c.next_save);
        drom_term();
        ASSERT_EQ(drom_init(), 0);
        EXPECT_EQ(list_lines(), c.lines);
        EXPECT_EQ(env_.read("MST/PXIF0001.SAV"), "list one");
        EXPECT_EQ(env_.read("MST/PXIF0003.SAV"), "list three");
        char name[32];
        std::snprintf(name, sizeof name, "MST/PXIF%04d.SAV", c.next_save);
        EXPECT_EQ(env_.read(name), "new list");
        EXPECT_EQ(state(c.next_save), sv::kStateUsed);
    }
}

}  // namespace
