// A saved list's data file and master entry are committed together: a kill
// (a child ending itself in the step hook) or a full disk at each step
// leaves either no new entry or a used entry with its whole file, never an
// entry without its file, and no temporary behind once the next reader has
// finished an interrupted commit. A delete drops the file in the commit of
// the new master: the list stays whole or is gone, entry and file.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "pxall/atomic_write.h"
#include "pxall/blocks.h"
#include "pxall/commit_files.h"
#include "pxall/leftovers.h"
#include "pxall/savefile.h"
#include "support/step_script.h"
#include "support/temp_env.h"

namespace {

using namespace pxall;
namespace sv = pxall::savefile;

struct Script {
    int seen = 0;
    int at = -1;
    bool kill = false;
    int error = 0;
    std::vector<std::string> names;
};
Script g_script;

int scripted_step(const char* step, const char*) {
    g_script.names.push_back(step);
    if (g_script.seen++ != g_script.at) return 0;
    if (g_script.kill) ::_exit(0);
    return g_script.error;
}

class SavedListCommitTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.mkdir("MST");
        pxtest::set_field(get_ctop_addr(), ctop::kMasterDir, ctop::kDirSize, "C:\\MST");
        list_ = std::string(sv::kDatHeaderSize, 'H') + std::string(3 * sv::kPartRecordSize, 'P');
    }
    void TearDown() override { set_write_step_hook(nullptr); }
    void fresh() {
        std::filesystem::remove_all(env.root() + "/MST");
        env.mkdir("MST");
        int32_t err = 0;
        ASSERT_EQ(make_save_mst(&err), 0);
    }
    std::string data_name(int n) const {
        char b[32];
        std::snprintf(b, sizeof b, "MST/PXIF%04d.SAV", n);
        return b;
    }
    // Every used entry has its whole file; the number of used entries.
    int check_entries() {
        std::string m = env.read("MST/PXIFSMST.SAV");
        int used = 0;
        for (int n = 1; sv::entry_offset(n) < m.size(); ++n) {
            auto s = static_cast<unsigned char>(m[sv::entry_offset(n)]);
            if (s != sv::kStateUsed && s != sv::kStateInUse) continue;
            ++used;
            EXPECT_TRUE(env.exists(data_name(n))) << n;
            if (env.exists(data_name(n))) EXPECT_EQ(env.read(data_name(n)), list_) << n;
        }
        EXPECT_EQ(get_i16(reinterpret_cast<const unsigned char*>(m.data()) + sv::kHdrCount), used);
        return used;
    }
    std::vector<std::string> temporaries() const {
        std::vector<std::string> v;
        for (const auto& e : std::filesystem::directory_iterator(env.root() + "/MST")) {
            std::string n = e.path().filename().string();
            if (n.find(".~") != std::string::npos) v.push_back(n);
        }
        return v;
    }
    int steps() {
        fresh();
        g_script = Script{};
        set_write_step_hook(scripted_step);
        int32_t no = 0, err = 0;
        EXPECT_EQ(save_new_list(list_.data(), static_cast<int32_t>(list_.size()), &no, &err), 0);
        set_write_step_hook(nullptr);
        EXPECT_EQ(no, 1);
        EXPECT_EQ(check_entries(), 1);
        names_ = g_script.names;
        return g_script.seen;
    }
    // The step (by count) of the commit's first and second renames.
    int rename_step(int which) const {
        for (int k = 0, seen = 0; k < static_cast<int>(names_.size()); ++k)
            if (names_[k] == "rename" && seen++ == which) return k;
        return -1;
    }
    // Lists 1 and 2 saved, for list 1 to be deleted.
    void two_lists() {
        fresh();
        int32_t no = 0, err = 0;
        for (int i = 0; i < 2; ++i)
            ASSERT_EQ(save_new_list(list_.data(), static_cast<int32_t>(list_.size()), &no, &err), 0);
    }
    // What a delete of list 1 left: kOld (listed with its whole file), kNew
    // (deleted, its file gone) or kMixed; list 2 stays whole either way.
    enum Outcome { kOld, kNew, kMixed };
    Outcome delete_outcome() {
        const int used = check_entries();
        const auto state = static_cast<unsigned char>(env.read("MST/PXIFSMST.SAV").at(sv::entry_offset(1)));
        EXPECT_TRUE(env.exists(data_name(2)));
        if (used == 2 && state == sv::kStateUsed) return kOld;
        if (used == 1 && state == sv::kStateDeleted && !env.exists(data_name(1))) return kNew;
        return kMixed;
    }
    std::vector<std::string> names_;
    pxtest::TempEnv env;
    std::string list_;
};

TEST_F(SavedListCommitTest, AKillAtEveryStepLeavesNoEntryWithoutItsFile) {
    const int n = steps();
    ASSERT_GE(n, 6);
    int saved = 0;
    for (int k = 0; k < n; ++k) {
        SCOPED_TRACE("killed at step " + std::to_string(k));
        fresh();
        g_script = Script{};
        g_script.at = k;
        g_script.kill = true;
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            set_write_step_hook(scripted_step);
            int32_t no = 0, err = 0;
            save_new_list(list_.data(), static_cast<int32_t>(list_.size()), &no, &err);
            ::_exit(3);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        // The start-up after the kill finishes the commit or drops it, and
        // clears its temporaries.
        sweep_stale_temporaries("C:\\MST");
        EXPECT_EQ(temporaries(), std::vector<std::string>{});
        int used = check_entries();
        // Once the journal stands, the list is saved.
        EXPECT_EQ(used, k >= rename_step(0) ? 1 : 0);
        saved += used;
        // And the next save works.
        int32_t no = 0, err = 0;
        EXPECT_EQ(save_new_list(list_.data(), static_cast<int32_t>(list_.size()), &no, &err), 0);
    }
    ASSERT_GT(rename_step(0), 0);
    EXPECT_EQ(saved, n - rename_step(0));
}

TEST_F(SavedListCommitTest, AFullDiskAtEveryStepIsReportedAndLeavesNoEntryWithoutItsFile) {
    const int n = steps();
    ASSERT_GT(rename_step(1), rename_step(0));
    for (int k = 0; k < n; ++k) {
        SCOPED_TRACE("disk full at step " + std::to_string(k) + " " + names_[static_cast<size_t>(k)]);
        fresh();
        g_script = Script{};
        g_script.at = k;
        g_script.error = ENOSPC;
        set_write_step_hook(scripted_step);
        int32_t no = -1, err = 0;
        int rc = save_new_list(list_.data(), static_cast<int32_t>(list_.size()), &no, &err);
        set_write_step_hook(nullptr);
        // A rename that fails after the first leaves the commit to the next
        // reader of the master, which finishes it; a failure to remove the
        // journal comes after the list is in place.
        const bool finished = k >= rename_step(1);
        EXPECT_EQ(rc == 0, k > rename_step(1));
        EXPECT_EQ(no, rc == 0 ? 1 : 0);
        int32_t count = -1;
        EXPECT_EQ(check_save_mst_file_exist(&count, &err), 0);  // a reader: settles
        EXPECT_EQ(check_entries(), finished ? 1 : 0);
        EXPECT_EQ(env.exists(data_name(1)), finished);
        EXPECT_EQ(temporaries(), std::vector<std::string>{});
    }
}

TEST_F(SavedListCommitTest, ANumberIsHandedOutOnlyOnceItsFileStands) {
    fresh();
    int32_t no = 0, err = 0;
    ASSERT_EQ(save_new_list(list_.data(), static_cast<int32_t>(list_.size()), &no, &err), 0);
    EXPECT_EQ(no, 1);
    ASSERT_EQ(save_new_list(list_.data(), static_cast<int32_t>(list_.size()), &no, &err), 0);
    EXPECT_EQ(no, 2);
    EXPECT_EQ(check_entries(), 2);
    // A file under a free number is a list the master lost: it stays, and
    // the new list takes the next number.
    env.write(data_name(3), "kept");
    ASSERT_EQ(save_new_list(list_.data(), static_cast<int32_t>(list_.size()), &no, &err), 0);
    EXPECT_EQ(no, 4);
    EXPECT_EQ(env.read(data_name(3)), "kept");
    EXPECT_EQ(check_entries(), 3);
    EXPECT_EQ(save_new_list(nullptr, 4, &no, &err), 13);
}

// A master made anew beside the clerk's lists (the old one was lost): a
// kill or a full disk at any step of the next save never touches the list
// under number 1, which the new list does not take.
TEST_F(SavedListCommitTest, ASaveBesideAListTheMasterLostNeverTouchesItAtAnyStep) {
    auto lost_list = [&] {
        fresh();
        env.write(data_name(1), "the clerk's list");
    };
    auto save = [&] {
        int32_t no = 0, err = 0;
        return save_new_list(list_.data(), static_cast<int32_t>(list_.size()), &no, &err) == 0 ? no : -1;
    };
    lost_list();
    int no = 0;
    const auto steps = pxtest::steps_of([&] { no = save(); });
    ASSERT_EQ(no, 2);
    ASSERT_GT(pxtest::index_of(steps, "rename PXIF0002.SAV"), 0);
    for (int k = 0; k < static_cast<int>(steps.size()); ++k) {
        SCOPED_TRACE("step " + std::to_string(k) + " " + steps[static_cast<size_t>(k)]);
        lost_list();
        ASSERT_TRUE(pxtest::killed_at_step(k, [&] { save(); }));
        sweep_stale_temporaries("C:\\MST");
        EXPECT_EQ(env.read(data_name(1)), "the clerk's list");
        EXPECT_LE(check_entries(), 1);
        EXPECT_EQ(temporaries(), std::vector<std::string>{});
        EXPECT_EQ(save(), env.exists(data_name(2)) ? 3 : 2);

        lost_list();
        int got = 0;
        pxtest::failed_at_step(k, steps, [&] { got = save(); });
        int32_t count = 0, err = 0;
        EXPECT_EQ(check_save_mst_file_exist(&count, &err), 0);  // a reader: settles
        EXPECT_EQ(env.read(data_name(1)), "the clerk's list");
        EXPECT_EQ(check_entries(), env.exists(data_name(2)) ? 1 : 0);
        EXPECT_TRUE(got == -1 || got == 2) << got;
        EXPECT_EQ(temporaries(), std::vector<std::string>{});
    }
}

TEST_F(SavedListCommitTest, AKillOrAFailureAtEveryStepOfADeleteLeavesTheListWholeOrGone) {
    two_lists();
    pxtest::step_script() = pxtest::StepScript{};
    set_write_step_hook(pxtest::scripted_step);
    int32_t count = 0, file = -2, err = 0;
    ASSERT_EQ(delete_saved_list(1, &count, &file, &err), 0);
    set_write_step_hook(nullptr);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(file, 0);
    ASSERT_EQ(delete_outcome(), kNew);
    const std::vector<std::string> steps = pxtest::step_script().seen;
    const int n = static_cast<int>(steps.size());
    // The new master is committed once its journal stands (its rename is the
    // next step); the list's file goes after the rename, the journal last.
    const int rename = pxtest::index_of(steps, "rename PXIFSMST.SAV");
    const int remove = pxtest::index_of(steps, "remove PXIF0001.SAV");
    ASSERT_GT(rename, 0);
    ASSERT_EQ(remove, rename + 1);
    ASSERT_EQ(steps.back().rfind("unjournal ", 0), 0u);

    int outcomes[2][3] = {};  // killed, failed x old, new, mixed
    for (int k = 0; k < n; ++k) {
        SCOPED_TRACE("step " + std::to_string(k) + " " + steps[static_cast<size_t>(k)]);
        two_lists();
        ASSERT_TRUE(pxtest::killed_at_step(k, [] {
            int32_t c = 0, f = 0, e = 0;
            delete_saved_list(1, &c, &f, &e);
        }));
        // The start-up after the kill finishes the commit or drops it, and
        // removes a data file left without its entry.
        remove_dead_runs_leftovers();
        release_run_marks();
        EXPECT_EQ(temporaries(), std::vector<std::string>{});
        Outcome o = delete_outcome();
        EXPECT_EQ(o, k >= rename ? kNew : kOld);
        outcomes[0][o]++;

        two_lists();
        pxtest::step_script() = pxtest::StepScript{};
        pxtest::step_script().at = k;
        pxtest::step_script().error = ENOSPC;
        set_write_step_hook(pxtest::scripted_step);
        count = -1, file = -2, err = 0;
        int rc = delete_saved_list(1, &count, &file, &err);
        set_write_step_hook(nullptr);
        // Failed before the rename: nothing changed, reported. After it the
        // list is deleted; a file that would not go is reported and goes at
        // the next reader's settle.
        EXPECT_EQ(rc == 0, k > rename);
        if (rc == 0) {
            EXPECT_EQ(file, k == remove ? 16 : 0);
            EXPECT_EQ(err, k == remove ? ENOSPC : 0);
        }
        EXPECT_EQ(check_save_mst_file_exist(&count, &err), 0);  // a reader: settles
        EXPECT_EQ(temporaries(), std::vector<std::string>{});
        o = delete_outcome();
        EXPECT_EQ(o, k > rename ? kNew : kOld);
        outcomes[1][o]++;
    }
    std::printf("delete of a saved list: %d steps; killed: old %d, new %d, mixed %d; failed: old %d, new %d, mixed %d\n",
                n, outcomes[0][kOld], outcomes[0][kNew], outcomes[0][kMixed], outcomes[1][kOld], outcomes[1][kNew],
                outcomes[1][kMixed]);
    EXPECT_EQ(outcomes[0][kMixed] + outcomes[1][kMixed], 0);
}

}  // namespace
