// Two runs of one installation committing into one folder: a run that is
// carrying out its commit (a real second process, holding its run mark,
// stopped at one of its steps) is never taken over by the other run's
// start-up or readers, and reports the outcome that is on disk; once it has
// died, its journal is finished by the next. Journals of the older layout,
// which name no run, are finished only where no live run can be writing them.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "pxall/atomic_write.h"
#include "pxall/blocks.h"
#include "pxall/commit_files.h"
#include "support/step_script.h"
#include "support/temp_env.h"

namespace {

// The child's script: the step (by count) at which it stops, and the pipes
// it says so through and waits on.
int g_stop_at = -1;
int g_steps = 0;
int g_stopped_fd = -1;
int g_go_fd = -1;

int stopping_step(const char*, const char*) {
    if (g_steps++ == g_stop_at) {
        char c = 's';
        if (::write(g_stopped_fd, &c, 1) != 1) ::_exit(4);
        if (::read(g_go_fd, &c, 1) != 1) ::_exit(5);
    }
    return 0;
}

const pxall::CommitFile kNewPair[2] = {{"C:\\MST\\A.D", "new a", 5}, {"C:\\MST\\B.D", "new b", 5}};

// The other run: a child process that marks the master folder as its run
// does and commits the new pair, stopping at step `at` until told to go on
// (never, with `at` -1: it then only holds its mark until it is ended).
class OtherRun {
public:
    OtherRun(const pxtest::TempEnv& env, int at) {
        int stopped[2], go[2];
        if (::pipe(stopped) != 0 || ::pipe(go) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(stopped[0]);
            ::close(go[1]);
            int mark = ::open((env.root() + "/MST").c_str(), O_RDONLY | O_DIRECTORY);
            if (mark < 0 || ::flock(mark, LOCK_SH) != 0) ::_exit(6);
            g_stopped_fd = stopped[1];
            g_go_fd = go[0];
            if (at < 0) {
                g_stop_at = 0;
                stopping_step("", "");  // says it runs, then waits
                ::_exit(0);
            }
            g_stop_at = at;
            pxall::set_write_step_hook(stopping_step);
            int32_t err = 0;
            ::_exit(pxall::commit_files(kNewPair, 2, &err));
        }
        ::close(stopped[1]);
        ::close(go[0]);
        stopped_ = stopped[0];
        go_ = go[1];
    }
    ~OtherRun() {
        if (pid_ > 0) kill();
        ::close(stopped_);
        ::close(go_);
    }
    pid_t pid() const { return pid_; }
    // True once the child stands at its step (or runs, with `at` -1).
    bool stopped() {
        char c = 0;
        return pid_ > 0 && ::read(stopped_, &c, 1) == 1;
    }
    void go() {
        char c = 'g';
        ASSERT_EQ(::write(go_, &c, 1), 1);
    }
    // The child's result: its commit's code, or -1 when it was killed.
    int end() {
        int status = 0;
        if (::waitpid(pid_, &status, 0) != pid_) return -2;
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void kill() {
        ::kill(pid_, SIGKILL);
        end();
    }

private:
    pid_t pid_ = -1;
    int stopped_ = -1;
    int go_ = -1;
};

class CommitRunsTest : public ::testing::Test {
protected:
    void SetUp() override {
        pxtest::set_field(pxall::get_ctop_addr(), pxall::ctop::kMasterDir, pxall::ctop::kDirSize, "C:\\MST");
        pxtest::set_field(pxall::get_ctop_addr(), pxall::ctop::kWorkDir, pxall::ctop::kDirSize, "");
        env.mkdir("MST");
    }
    void TearDown() override { pxall::set_write_step_hook(nullptr); }
    void old_pair() {
        std::filesystem::remove_all(env.root() + "/MST");
        env.mkdir("MST");
        env.write("MST/A.D", "old a");
        env.write("MST/B.D", "old b");
    }
    std::string pair() const { return env.read("MST/A.D") + env.read("MST/B.D"); }
    // Every file of the folder with its content.
    std::map<std::string, std::string> folder() const {
        std::map<std::string, std::string> m;
        for (const auto& e : std::filesystem::directory_iterator(env.root() + "/MST"))
            m[e.path().filename().string()] = env.read("MST/" + e.path().filename().string());
        return m;
    }
    std::vector<std::string> steps() {
        old_pair();
        int rc = -1;
        const auto seen = pxtest::steps_of([&] {
            int32_t err = 0;
            rc = pxall::commit_files(kNewPair, 2, &err);
        });
        EXPECT_EQ(rc, 0);
        return seen;
    }
    pxtest::TempEnv env;
};

// At every step of its commit the live run is left alone by the other run's
// start-up sweep, ends with 0 and leaves the new pair; killed there, its
// commit is finished (or dropped, before its journal stood) by the next.
TEST_F(CommitRunsTest, ALiveRunsCommitIsNeverTakenOverAndADeadRunsIsFinished) {
    const auto all = steps();
    const int journal = pxtest::index_of(all, "journal A.D.~jnl");
    const int first_rename = pxtest::index_of(all, "rename A.D");
    ASSERT_GT(journal, 0);
    ASSERT_GT(pxtest::index_of(all, "rename B.D"), first_rename);
    for (int k = 0; k < static_cast<int>(all.size()); ++k) {
        SCOPED_TRACE("stopped at " + all[static_cast<size_t>(k)]);
        old_pair();
        {
            OtherRun live(env, k);
            ASSERT_TRUE(live.stopped());
            const auto before = folder();
            const size_t logged = env.log_lines().size();
            EXPECT_GE(pxall::sweep_stale_temporaries("C:\\MST"), 0);
            EXPECT_EQ(folder(), before) << "the live run's files were touched";
            EXPECT_EQ(env.log_lines().size(), logged);
            live.go();
            EXPECT_EQ(live.end(), 0) << "the live run reports what it put in place";
        }
        EXPECT_EQ(pair(), "new anew b");
        EXPECT_EQ(folder().size(), 2u);

        old_pair();
        {
            OtherRun dying(env, k);
            ASSERT_TRUE(dying.stopped());
            dying.kill();
        }
        int32_t err = 0;
        EXPECT_EQ(pxall::settle_commit("C:\\MST\\A.D", &err), 0);
        EXPECT_EQ(pair(), k >= first_rename ? "new anew b" : "old aold b");
        EXPECT_EQ(folder().size(), 2u);
    }
}

// A reader of the folder waits for the live run to carry its commit out and
// then reads the new pair; one that cannot wait that long is told the files
// are not whole yet (and touches nothing).
TEST_F(CommitRunsTest, AReaderWaitsForTheLiveRunAndNeverReadsAMix) {
    const auto all = steps();
    const int second_rename = pxtest::index_of(all, "rename B.D");
    ASSERT_GT(second_rename, 0);

    old_pair();
    {
        OtherRun live(env, second_rename);
        ASSERT_TRUE(live.stopped());
        ASSERT_EQ(env.read("MST/A.D"), "new a");  // half way
        std::thread later([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            live.go();
        });
        int32_t err = -1;
        EXPECT_EQ(pxall::settle_commit("C:\\MST\\A.D", &err), 0);
        EXPECT_EQ(err, 0);
        EXPECT_EQ(pair(), "new anew b");
        later.join();
        EXPECT_EQ(live.end(), 0);
    }

    old_pair();
    {
        OtherRun stuck(env, second_rename);
        ASSERT_TRUE(stuck.stopped());
        const auto before = folder();
        int32_t err = 0;
        EXPECT_EQ(pxall::settle_commit("C:\\MST\\A.D", &err), 13);
        EXPECT_EQ(err, EBUSY);
        EXPECT_EQ(pxall::commit_files(kNewPair, 2, &err), 13) << "nothing new begins on top of it";
        EXPECT_EQ(folder(), before);
        stuck.go();
        EXPECT_EQ(stuck.end(), 0);
    }
    int32_t err = 0;
    EXPECT_EQ(pxall::settle_commit("C:\\MST\\A.D", &err), 0);
    EXPECT_EQ(pair(), "new anew b");
    EXPECT_EQ(folder().size(), 2u);
}

// Two runs commit the same files at once: the one that puts its journal in
// place second (both settled the folder before either journal stood) fails
// and says so, and the other's files stand whole.
const pxtest::TempEnv* g_env = nullptr;
int g_first_rename = -1;
OtherRun* g_first = nullptr;
int first_run_ahead(const char* step, const char*) {
    if (std::string(step) == "journal" && g_first == nullptr) {
        // The other run starts now and stops at its first rename, its
        // journal standing.
        g_first = new OtherRun(*g_env, g_first_rename);
        if (!g_first->stopped()) return EIO;
    }
    return 0;
}

TEST_F(CommitRunsTest, TwoRunsCommittingTheSameFilesAtOnceNeverBothReportSuccess) {
    const auto all = steps();
    g_first_rename = pxtest::index_of(all, "rename A.D");
    ASSERT_GT(g_first_rename, 0);
    old_pair();
    g_env = &env;
    pxall::set_write_step_hook(first_run_ahead);
    const pxall::CommitFile mine[2] = {{"C:\\MST\\A.D", "mine a", 6}, {"C:\\MST\\B.D", "mine b", 6}};
    int32_t err = 0;
    EXPECT_EQ(pxall::commit_files(mine, 2, &err), 13);
    EXPECT_EQ(err, EBUSY);
    pxall::set_write_step_hook(nullptr);
    ASSERT_NE(g_first, nullptr);
    g_first->go();
    EXPECT_EQ(g_first->end(), 0);
    delete g_first;
    g_first = nullptr;
    EXPECT_EQ(pair(), "new anew b");
    EXPECT_EQ(folder().size(), 2u);
}

// What a run that does not honour the journal's lock (an older version)
// does at the live run's first rename: it finishes the commit itself.
std::string g_folder;
int taking_over(const char* step, const char* host) {
    if (std::string(step) != "rename" || std::filesystem::path(host).filename() != "A.D") return 0;
    for (const auto& e : std::filesystem::directory_iterator(g_folder)) {
        const std::string name = e.path().filename().string();
        const size_t mark = name.find(".~");
        if (mark != std::string::npos && name.substr(mark) != ".~jnl")
            std::filesystem::rename(e.path(), g_folder + "/" + name.substr(0, mark));
    }
    std::filesystem::remove(g_folder + "/A.D.~jnl");
    return 0;
}

// Taken over all the same, the run reports what stands on the disk: its new
// pair, put in place.
TEST_F(CommitRunsTest, ARunWhoseCommitAnotherFinishedReportsItsNewFiles) {
    old_pair();
    g_folder = env.root() + "/MST";
    pxall::set_write_step_hook(taking_over);
    int32_t err = -1;
    EXPECT_EQ(pxall::commit_files(kNewPair, 2, &err), 0);
    pxall::set_write_step_hook(nullptr);
    EXPECT_EQ(err, 0);
    EXPECT_EQ(pair(), "new anew b");
    EXPECT_EQ(folder().size(), 2u);
}

// A journal of the older layout names no run: it is finished when every
// temporary it names is of a process that no longer runs, or when no other
// run of the installation is alive; else it stays for a later start.
TEST_F(CommitRunsTest, AJournalWithoutItsRunIsFinishedOnlyWhereNoLiveRunCanBeWritingIt) {
    const std::string dead = std::to_string(pxtest::dead_pid());
    struct Case {
        const char* what;
        bool live_twins;  // its temporaries carry the other run's number
        bool removal_only;
        bool other_alive;
        bool finished;
    };
    const Case cases[] = {
        {"temporaries of a dead process, another run alive", false, false, true, true},
        {"temporaries of a dead process, no other run", false, false, false, true},
        {"temporaries of the live run", true, false, true, false},
        {"a removal only, another run alive", false, true, true, false},
        {"a removal only, no other run", false, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        old_pair();
        OtherRun other(env, -1);
        ASSERT_TRUE(other.stopped());
        const std::string pid = c.live_twins ? std::to_string(other.pid()) : dead;
        if (!c.other_alive) other.kill();
        std::string journal = "PXCOMMIT 1\n";
        if (c.removal_only) {
            journal += "\tB.D\n";
        } else {
            env.write("MST/A.D.~" + pid + "-1", "new a");
            env.write("MST/B.D.~" + pid + "-2", "new b");
            journal += "A.D.~" + pid + "-1\tA.D\nB.D.~" + pid + "-2\tB.D\n";
        }
        env.write("MST/A.D.~jnl", journal + "END\n");
        EXPECT_GE(pxall::sweep_stale_temporaries("C:\\MST"), 0);
        EXPECT_NE(env.exists("MST/A.D.~jnl"), c.finished);
        if (!c.finished) continue;
        if (c.removal_only) {
            EXPECT_FALSE(env.exists("MST/B.D"));
        } else {
            EXPECT_EQ(pair(), "new anew b");
        }
        EXPECT_EQ(folder().size(), c.removal_only ? 1u : 2u);
    }
}

}  // namespace
