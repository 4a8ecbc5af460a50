// The two user part-group files change together or not at all: a kill (a
// child process ending itself inside the step hook) or a failure injected at
// each step of a rewrite leaves the old pair or the new pair for the next
// reader, and no temporary behind. Temporaries of dead processes go.
#include "pxall/commit_files.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/files.h"
#include "pxall/atomic_write.h"
#include "pxall/blocks.h"
#include "pxall/drom.h"
#include "pxall/groups.h"
#include "support/step_script.h"
#include "support/temp_env.h"

namespace {

// The step hook's script: the steps seen, and the step (by count) at which
// the process ends or the step fails.
using Script = pxtest::StepScript;
using pxtest::index_of;
using pxtest::scripted_step;
Script& g_script = pxtest::step_script();

// A group's part-name code in the group table.
void set_pnc(const char* code, const char* pnc) {
    unsigned char* g = pxall::search_grptmp(code);
    ASSERT_NE(g, nullptr);
    std::memcpy(g + pxall::grpitem::kSlots, pnc, 6);
}

using pxtest::dead_pid;

class GroupsCommitTest : public ::testing::Test {
protected:
    void SetUp() override {
        pxtest::set_field(pxall::get_ctop_addr(), pxall::ctop::kMasterDir, pxall::ctop::kDirSize, "C:\\MST");
        env.mkdir("MST");
        VBInitGrpTmp();
        // The new pair as a whole rewrite makes it, and the old one.
        make_old();
        edit();
        EXPECT_EQ(VBwrite_group_file(), 0);
        new_pair_ = pair();
        make_old();
        old_pair_ = pair();
        ASSERT_NE(old_pair_, new_pair_);
        ASSERT_NE(old_pair_.first, new_pair_.first);
        ASSERT_NE(old_pair_.second, new_pair_.second);
    }
    void TearDown() override {
        pxall::set_write_step_hook(nullptr);
        VBTermGrpTmp();
    }
    // The old pair: written by a first rewrite from an empty table.
    void make_old() {
        VBTermGrpTmp();
        VBInitGrpTmp();
        ASSERT_EQ(VBSetGrpCd("BRK", "Brakes"), 0);
        set_pnc("BRK", "11400A");
        ASSERT_EQ(VBSetGrpCd("ENG", "Engine"), 0);
        ASSERT_EQ(VBwrite_group_file(), 0);
    }
    // The table read back and changed: one group gone, one new.
    void edit() {
        VBTermGrpTmp();
        VBInitGrpTmp();
        int16_t n = 0;
        ASSERT_EQ(VBread_group_file(&n), 0);
        ASSERT_EQ(n, 2);
        VBDelGrpCd("BRK");
        ASSERT_EQ(VBSetGrpCd("NEW", "Newly made"), 0);
        set_pnc("NEW", "16400B");
    }
    std::pair<std::string, std::string> pair() const {
        return {env.read("MST/PXGRPMEI.D"), env.read("MST/PXGRPPNC.D")};
    }
    std::vector<std::string> others() const {
        std::vector<std::string> v;
        for (const auto& e : std::filesystem::directory_iterator(env.root() + "/MST")) {
            std::string n = e.path().filename().string();
            if (n != "PXGRPMEI.D" && n != "PXGRPPNC.D") v.push_back(n);
        }
        return v;
    }
    // What the next reader gets: the pair read back through the library.
    std::pair<std::string, std::string> next_read() {
        VBTermGrpTmp();
        VBInitGrpTmp();
        int16_t n = 0;
        EXPECT_EQ(VBread_group_file(&n), 0);
        return pair();
    }
    std::vector<std::string> steps() {
        make_old();
        edit();
        int rc = -1;
        const auto seen = pxtest::steps_of([&] { rc = VBwrite_group_file(); });
        EXPECT_EQ(rc, 0);
        return seen;
    }

    pxtest::TempEnv env;
    std::pair<std::string, std::string> old_pair_, new_pair_;
};

TEST_F(GroupsCommitTest, AKillAtEveryStepLeavesTheOldOrTheNewPair) {
    const auto all = steps();
    const int first_rename = index_of(all, "rename PXGRPPNC.D");
    ASSERT_GT(first_rename, 0);
    ASSERT_GT(index_of(all, "rename PXGRPMEI.D"), first_rename);
    for (int k = 0; k < static_cast<int>(all.size()); ++k) {
        SCOPED_TRACE("killed at " + all[k]);
        make_old();
        edit();
        ASSERT_TRUE(pxtest::killed_at_step(k, [&] { VBwrite_group_file(); }));
        // Once the journal stands, the commit is decided: the next reader
        // finishes it.
        EXPECT_EQ(next_read(), k >= first_rename ? new_pair_ : old_pair_);
        EXPECT_EQ(others(), std::vector<std::string>{});
    }
}

TEST_F(GroupsCommitTest, AFullDiskOrAFailedRenameAtEveryStepIsReportedAndLeavesAWholePair) {
    const auto all = steps();
    const int first_rename = index_of(all, "rename PXGRPPNC.D");
    const int second_rename = index_of(all, "rename PXGRPMEI.D");
    for (int k = 0; k < static_cast<int>(all.size()); ++k) {
        SCOPED_TRACE("failed at " + all[k]);
        make_old();
        edit();
        int rc = -1;
        pxtest::failed_at_step(k, all, [&] { rc = VBwrite_group_file(); });
        if (all[k].rfind("unjournal", 0) == 0) {
            EXPECT_EQ(rc, 0);  // both files were in place; the journal goes at the next read
        } else {
            EXPECT_NE(rc, 0);
            auto lines = env.log_lines();
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(lines.back().rfind("PXSUBG02,VBwrite_group_file,", 0), 0u) << lines.back();
        }
        // A failed second rename leaves the commit for the next reader to finish.
        bool is_new = k == second_rename || k > second_rename;
        EXPECT_EQ(next_read(), is_new ? new_pair_ : old_pair_);
        EXPECT_EQ(others(), std::vector<std::string>{});
        EXPECT_LT(first_rename, second_rename);
    }
}

TEST_F(GroupsCommitTest, EveryReaderAndTheRebuildFinishAnInterruptedCommitFirst) {
    const auto all = steps();
    const int second_rename = index_of(all, "rename PXGRPMEI.D");
    struct Reader {
        const char* name;
        int (*read)();
    };
    const Reader readers[] = {
        {"g_mei_f_check", [] { return pxall::g_mei_f_check() >= 0 ? 0 : 1; }},
        {"g_mei_f_read", [] {
             int32_t failure = 0;
             return pxall::g_mei_f_read("NEW", nullptr, &failure) >= 0 ? 0 : 1;
         }},
        {"VBRemakeGpFile", [] { return static_cast<int>(VBRemakeGpFile()); }},
        {"VBwrite_group_file", [] { return static_cast<int>(VBwrite_group_file()); }},
    };
    for (const auto& reader : readers) {
        SCOPED_TRACE(reader.name);
        make_old();
        edit();
        // New part-name codes in place, old group names, the journal standing.
        g_script = Script{};
        g_script.at = second_rename;
        g_script.error = EIO;
        pxall::set_write_step_hook(scripted_step);
        EXPECT_EQ(VBwrite_group_file(), 13);
        pxall::set_write_step_hook(nullptr);
        EXPECT_EQ(env.read("MST/PXGRPPNC.D"), new_pair_.second);
        EXPECT_EQ(env.read("MST/PXGRPMEI.D"), old_pair_.first);
        EXPECT_EQ(reader.read(), 0);
        EXPECT_EQ(pair(), new_pair_);
        EXPECT_EQ(others(), std::vector<std::string>{});
    }
}

TEST(StaleTemporariesTest, OnlyLeftoversOfProcessesNoLongerRunningAreRemoved) {
    pxtest::TempEnv env;
    env.mkdir("MST");
    const std::string dead = std::to_string(dead_pid());
    const std::vector<std::string> stale = {"PXGRPMEI.D.~pxdrom" + dead + "-1", "PXIFSMST.SAV.~pxdrom" + dead + "-17",
                                            ".pxcopy-" + dead + "-a1B2c3"};
    // Pid 1 always runs; names that only look alike are the user's.
    const std::vector<std::string> kept = {"PXGRPMEI.D", "PXGRPMEI.D.~pxdrom1-1", "NOTES.~X-1", "A.~12", "A.~-3",
                                           ".pxcopy-abc", "PXIF0001.SAV", "NOTES.~" + dead + "-1",
                                           "A.~pxdrom" + dead + "-1x", "A.~pxdrom" + dead, "A.~pxdrom-1"};
    for (const auto& n : stale) env.write("MST/" + n, "x");
    for (const auto& n : kept) env.write("MST/" + n, "x");
    EXPECT_EQ(pxall::sweep_stale_temporaries("C:\\MST"), 3);
    for (const auto& n : stale) EXPECT_FALSE(env.exists("MST/" + n)) << n;
    for (const auto& n : kept) EXPECT_TRUE(env.exists("MST/" + n)) << n;
    EXPECT_EQ(pxall::sweep_stale_temporaries("C:\\NOFOLDER"), -1);

    // A rewrite of a file sweeps the leftovers of its folder first, of
    // whichever file.
    env.write("MST/GRP.D.~pxdrom" + dead + "-5", "half");
    env.write("MST/OTHER.D.~pxdrom" + dead + "-5", "half");
    int32_t err = 0;
    ASSERT_EQ(pxall::atomic_write_file("C:\\MST\\GRP.D", "new", 3, &err), 0);
    EXPECT_FALSE(env.exists("MST/GRP.D.~pxdrom" + dead + "-5"));
    EXPECT_FALSE(env.exists("MST/OTHER.D.~pxdrom" + dead + "-5"));
    for (const auto& n : kept) EXPECT_TRUE(env.exists("MST/" + n)) << n;
}

TEST(CommitFilesTest, AJournalThatIsNotWholeIsDroppedAndArgumentsAreChecked) {
    pxtest::TempEnv env;
    env.mkdir("MST");
    env.mkdir("WORK");
    env.write("MST/A.D", "old a");
    env.write("MST/B.D", "old b");
    // Never written by a commit (a journal goes in place whole): nothing renamed.
    env.write("MST/A.D.~jnl", "PXCOMMIT 1\nA.D.~1-1\tA.D\n");
    env.write("MST/A.D.~1-1", "new a");
    int32_t err = 0;
    EXPECT_EQ(pxall::settle_commit("C:\\MST\\A.D", &err), 0);
    EXPECT_EQ(env.read("MST/A.D"), "old a");
    EXPECT_FALSE(env.exists("MST/A.D.~jnl"));
    // A journal naming a file outside its folder is not followed.
    env.write("MST/A.D.~jnl", "PXCOMMIT 1\n../WORK/X.~1-1\t../WORK/X\nEND\n");
    env.write("WORK/X.~1-1", "x");
    EXPECT_EQ(pxall::settle_commit("C:\\MST\\A.D", &err), 0);
    EXPECT_FALSE(env.exists("WORK/X"));

    const pxall::CommitFile split[2] = {{"C:\\MST\\A.D", "a", 1}, {"C:\\WORK\\B.D", "b", 1}};
    EXPECT_EQ(pxall::commit_files(split, 2, &err), 11);
    EXPECT_EQ(pxall::commit_files(nullptr, 0, &err), 11);
    const pxall::CommitFile both[2] = {{"C:\\MST\\A.D", "new a", 5}, {"C:\\MST\\B.D", "new b", 5}};
    EXPECT_EQ(pxall::commit_files(both, 2, &err), 0);
    EXPECT_EQ(env.read("MST/A.D") + env.read("MST/B.D"), "new anew b");
}

// A file the set drops goes once the new files stand; one that will not go
// is reported, tried once more by the next settle, and then left: it holds
// no reader up.
TEST(CommitFilesTest, AFileTheSetDropsGoesAfterTheNewFilesAndNeverHoldsReadersUp) {
    pxtest::TempEnv env;
    env.mkdir("MST");
    env.write("MST/A.D", "old a");
    env.write("MST/B.D", "old b");
    const pxall::CommitFile drop_b[2] = {{"C:\\MST\\B.D", nullptr, 0, true}, {"C:\\MST\\A.D", "new a", 5}};
    int32_t err = -1;
    EXPECT_EQ(pxall::commit_files(drop_b, 2, &err), 0);
    EXPECT_EQ(err, 0);
    EXPECT_EQ(env.read("MST/A.D"), "new a");
    EXPECT_FALSE(env.exists("MST/B.D"));
    // Already gone: no failure.
    EXPECT_EQ(pxall::commit_files(drop_b, 2, &err), 0);

    // A folder under the name cannot be unlinked.
    env.mkdir("MST/B.D/inside");
    const pxall::CommitFile again[2] = {{"C:\\MST\\B.D", nullptr, 0, true}, {"C:\\MST\\A.D", "newer", 5}};
    EXPECT_EQ(pxall::commit_files(again, 2, &err), 16);
    EXPECT_NE(err, 0);
    EXPECT_EQ(env.read("MST/A.D"), "newer");
    EXPECT_TRUE(env.exists("MST/B.D.~jnl"));
    EXPECT_EQ(pxall::settle_commit("C:\\MST\\A.D", &err), 0);
    EXPECT_FALSE(env.exists("MST/B.D.~jnl"));
    EXPECT_EQ(env.read("MST/A.D"), "newer");
}

}  // namespace

namespace {

// The start-up of the catalogue environment finishes an interrupted group
// commit and removes the temporaries dead processes left in its folders.
TEST(StartUpSweepTest, DromInitFinishesCommitsAndRemovesLeftovers) {
    pxtest::TempEnv env;
    env.mkdir("WORK");
    env.mkdir("MST");
    env.write("PXDROM.SYS", "ECRAM=C:\\WORK\nECMST=C:\\MST\nECFIL=C:\\PROG\nCRNTAREA=EU\n");
    env.write("PROG/PXDROM01.MSG", "115Choose a menu item.\n");
    env.write("PXDROM01.SCR", "1000 PARTS CATALOGUE\n");
    const std::string dead = std::to_string(dead_pid());
    env.write("MST/A.D", "old a");
    env.write("MST/B.D", "old b");
    env.write("MST/A.D.~pxdrom" + dead + "-1", "new a");
    env.write("MST/B.D.~pxdrom" + dead + "-2", "new b");
    env.write("MST/A.D.~jnl", "PXCOMMIT 1\nA.D.~pxdrom" + dead + "-1\tA.D\nB.D.~pxdrom" + dead + "-2\tB.D\nEND\n");
    env.write("MST/PXIFSMST.SAV.~pxdrom" + dead + "-9", "half");
    env.write("WORK/SELECT.TMP.~pxdrom" + dead + "-3", "half");
    ASSERT_EQ(drom_init(), 0);
    EXPECT_EQ(env.read("MST/A.D") + env.read("MST/B.D"), "new anew b");
    for (const char* gone : {"MST/A.D.~jnl", "MST/PXIFSMST.SAV.~", "WORK/SELECT.TMP.~"}) {
        std::string name = gone;
        if (name.back() == '~') name += dead + (name[0] == 'M' ? "-9" : "-3");
        EXPECT_FALSE(env.exists(name)) << name;
    }
    drom_term();
}

}  // namespace

namespace {

int fail_rename_of_b(const char* step, const char* host) {
    return std::string(step) == "rename" && std::filesystem::path(host).filename() == "B.D" ? EIO : 0;
}

// A rename that failed leaves the journal and the temporary it names; a
// start-up that cannot finish the journal either keeps both and logs it,
// and no reader takes the mixed pair for a whole one until it is finished.
TEST(CommitFilesTest, AFailedRenameThenARestartNeverReadsAMixedPair) {
    pxtest::TempEnv env;
    env.mkdir("MST");
    env.write("MST/A.D", "old a");
    env.write("MST/B.D", "old b");
    const pxall::CommitFile both[2] = {{"C:\\MST\\A.D", "new a", 5}, {"C:\\MST\\B.D", "new b", 5}};
    int32_t err = 0;
    pxall::set_write_step_hook(fail_rename_of_b);
    EXPECT_EQ(pxall::commit_files(both, 2, &err), 13);
    pxall::set_write_step_hook(nullptr);
    EXPECT_EQ(err, EIO);
    ASSERT_EQ(env.read("MST/A.D") + env.read("MST/B.D"), "new aold b");

    // The rename still fails at the restart (a folder stands in its way).
    std::filesystem::rename(env.root() + "/MST/B.D", env.root() + "/MST/B.KEEP");
    env.mkdir("MST/B.D");
    env.mkdir("MST/B.D/X");
    const size_t logged = env.log_lines().size();
    pxall::sweep_stale_temporaries("C:\\MST");
    ASSERT_EQ(env.log_lines().size(), logged + 1);
    EXPECT_EQ(env.log_lines().back().rfind("PXCOMMIT,sweep_stale_temporaries,A.D.~jnl,(13)", 0), 0u)
        << env.log_lines().back();
    EXPECT_TRUE(env.exists("MST/A.D.~jnl"));
    EXPECT_EQ(pxall::settle_commit("C:\\MST\\A.D", &err), 13);
    EXPECT_EQ(pxall::commit_files(both, 2, &err), 13);  // nothing new begins on top of it

    // Once the way is clear, the next reader finishes the new pair.
    std::filesystem::remove_all(env.root() + "/MST/B.D");
    std::filesystem::rename(env.root() + "/MST/B.KEEP", env.root() + "/MST/B.D");
    pxall::sweep_stale_temporaries("C:\\MST");
    EXPECT_EQ(pxall::settle_commit("C:\\MST\\A.D", &err), 0);
    EXPECT_EQ(env.read("MST/A.D") + env.read("MST/B.D"), "new anew b");
    for (const auto& e : std::filesystem::directory_iterator(env.root() + "/MST"))
        EXPECT_TRUE(e.path().filename() == "A.D" || e.path().filename() == "B.D") << e.path();
}

// Files the caller builds through their temporaries: a sweep of the folder
// in between leaves them alone, an abandoned build leaves nothing, and the
// commit puts them in place together.
TEST(CommitFilesTest, ABuildIsSweptNeverAndCommitsTogether) {
    pxtest::TempEnv env;
    env.mkdir("MST");
    env.write("MST/A.D", "old a");
    env.write("MST/B.D", "old b");
    int32_t err = 0;
    {
        pxall::CommitBuild build;
        ASSERT_EQ(build.begin({"C:\\MST\\A.D", "C:\\MST\\B.D"}, &err), 0);
        env.write("MST/" + std::filesystem::path(*plat::host_path(build.temporary(0))).filename().string(), "half");
        EXPECT_EQ(pxall::sweep_stale_temporaries("C:\\MST"), 0);
        EXPECT_TRUE(plat::file_exists(build.temporary(0)));
        EXPECT_TRUE(plat::file_exists(build.temporary(1)));
    }
    EXPECT_EQ(env.read("MST/A.D") + env.read("MST/B.D"), "old aold b");
    for (const auto& e : std::filesystem::directory_iterator(env.root() + "/MST"))
        EXPECT_TRUE(e.path().filename() == "A.D" || e.path().filename() == "B.D") << e.path();

    pxall::CommitBuild build;
    ASSERT_EQ(build.begin({"C:\\MST\\A.D", "C:\\MST\\B.D"}, &err), 0);
    for (int i = 0; i < 2; ++i) {
        std::FILE* fp = plat::fopen(build.temporary(static_cast<size_t>(i)), "wb");
        ASSERT_NE(fp, nullptr);
        std::fputs(i == 0 ? "new a" : "new b", fp);
        std::fclose(fp);
    }
    EXPECT_EQ(build.commit(&err), 0);
    EXPECT_EQ(env.read("MST/A.D") + env.read("MST/B.D"), "new anew b");
    EXPECT_EQ(build.commit(&err), 11);  // nothing left to commit
}

}  // namespace
