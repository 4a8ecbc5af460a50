#include "pxall/atomic_write.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/step_script.h"
#include "support/temp_env.h"

namespace {

using namespace pxall;

// The names in a folder of the scratch installation.
std::vector<std::string> names_in(const pxtest::TempEnv& env, const std::string& rel) {
    std::vector<std::string> v;
    for (const auto& e : std::filesystem::directory_iterator(env.root() + "/" + rel)) v.push_back(e.path().filename());
    std::sort(v.begin(), v.end());
    return v;
}

class AtomicWriteTest : public ::testing::Test {
protected:
    void SetUp() override { env.mkdir("D"); }
    void TearDown() override { atomic_fail_next_commits(0, 0); }
    pxtest::TempEnv env;
};

TEST_F(AtomicWriteTest, ReplacesTheFileKeepingItsNameAndMode) {
    env.write("D/grp.d", "old content, longer than the new");
    ::chmod((env.root() + "/D/grp.d").c_str(), 0640);
    int32_t err = -1;
    // The name matches without regard to case, as every file of the system.
    EXPECT_EQ(atomic_write_file("C:\\D\\GRP.D", "new", 3, &err), 0);
    EXPECT_EQ(err, 0);
    EXPECT_EQ(env.read("D/grp.d"), "new");
    EXPECT_EQ(names_in(env, "D"), std::vector<std::string>{"grp.d"});
    struct stat st;
    ASSERT_EQ(::stat((env.root() + "/D/grp.d").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    EXPECT_EQ(atomic_write_file("C:\\D\\NEW.D", "", 0, &err), 0);
    EXPECT_TRUE(env.exists("D/NEW.D"));
}

TEST_F(AtomicWriteTest, AFailureLeavesTheOldFileAndNoTwin) {
    env.write("D/GRP.D", "old");
    atomic_fail_next_commits(1, ENOSPC);
    int32_t err = 0;
    EXPECT_EQ(atomic_write_file("C:\\D\\GRP.D", "new content", 11, &err), 13);
    EXPECT_EQ(err, ENOSPC);
    EXPECT_EQ(env.read("D/GRP.D"), "old");
    EXPECT_EQ(names_in(env, "D"), std::vector<std::string>{"GRP.D"});
    // The hook was for one commit only.
    EXPECT_EQ(atomic_write_file("C:\\D\\GRP.D", "new", 3, &err), 0);
    EXPECT_EQ(env.read("D/GRP.D"), "new");

    EXPECT_EQ(atomic_write_file("C:\\NOFOLDER\\GRP.D", "x", 1, &err), 11);
    EXPECT_EQ(err, ENOENT);
    EXPECT_EQ(atomic_write_file("Q:\\GRP.D", "x", 1, &err), 11);  // no such drive
}

TEST_F(AtomicWriteTest, StagedStreamReplacesTheFileOnlyAtASuccessfulCommit) {
    env.write("D/M.SAV", "0123456789");
    auto open_seeded = [&](int32_t* err) {
        std::FILE* seed = std::fopen((env.root() + "/D/M.SAV").c_str(), "rb");
        std::FILE* fp = atomic_open("C:\\D\\M.SAV", seed, err);
        std::fclose(seed);
        return fp;
    };
    int32_t err = 0;

    // Updated in its copy; the file changes only at the commit.
    std::FILE* fp = open_seeded(&err);
    ASSERT_NE(fp, nullptr);
    EXPECT_TRUE(atomic_is_staged(fp));
    std::fseek(fp, 2, SEEK_SET);
    std::fputs("ab", fp);
    EXPECT_EQ(env.read("D/M.SAV"), "0123456789");
    EXPECT_EQ(atomic_close(fp, true, &err), 0);
    EXPECT_EQ(env.read("D/M.SAV"), "01ab456789");

    // Dropped.
    fp = open_seeded(&err);
    std::fputs("zz", fp);
    EXPECT_EQ(atomic_close(fp, false, &err), 0);
    EXPECT_EQ(env.read("D/M.SAV"), "01ab456789");

    // A full disk at the commit.
    fp = open_seeded(&err);
    std::fputs("zz", fp);
    atomic_fail_next_commits(1, ENOSPC);
    EXPECT_EQ(atomic_close(fp, true, &err), 13);
    EXPECT_EQ(err, ENOSPC);
    EXPECT_EQ(env.read("D/M.SAV"), "01ab456789");

    // While staged the twin stands beside the file; dropping removes it.
    fp = open_seeded(&err);
    EXPECT_EQ(names_in(env, "D").size(), 2u);
    EXPECT_EQ(atomic_close(fp, false, &err), 0);
    EXPECT_EQ(names_in(env, "D"), std::vector<std::string>{"M.SAV"});
    EXPECT_FALSE(atomic_is_staged(fp));
}

}  // namespace

namespace {

// A replacement killed at each of its steps (the vehicle-information file,
// an export, the screen file are written so) leaves the old file or the new
// one whole, never an empty or cut file; what the kill left beside it goes
// with the next replacement.
const char* g_kill_step = nullptr;
int kill_at(const char* step, const char*) {
    if (std::strcmp(step, g_kill_step) == 0) ::_exit(0);
    return 0;
}

TEST_F(AtomicWriteTest, AKillAtAnyStepLeavesTheOldOrTheNewFile) {
    const std::string old_text = "SAVED VEHICLE=old\r\n";
    const std::string new_text(70000, 'n');
    for (const char* step : {"create", "write", "sync", "rename"}) {
        env.write("D/CAR.TXT", old_text);
        pid_t child = ::fork();
        if (child == 0) {
            g_kill_step = step;
            set_write_step_hook(kill_at);
            int32_t err = 0;
            atomic_write_file("C:\\D\\CAR.TXT", new_text.data(), new_text.size(), &err);
            ::_exit(1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "not killed at " << step;
        const std::string now = env.read("D/CAR.TXT");
        EXPECT_TRUE(now == old_text || now == new_text) << step << ": " << now.size() << " bytes";
    }
    int32_t err = 0;
    ASSERT_EQ(atomic_write_file("C:\\D\\CAR.TXT", "x", 1, &err), 0);
    EXPECT_EQ(names_in(env, "D"), std::vector<std::string>{"CAR.TXT"});
}

}  // namespace

namespace {

// Writes in a folder the clerk chose (vehicle-information files, exports)
// killed at each step leave their temporaries there; the clerk may never
// write those files again, so the next write of any file in the folder
// removes them. A running process's temporaries stay (a second run's write
// in flight, this run's own staged stream), and so does every name this
// program does not make.
TEST_F(AtomicWriteTest, TheNextWriteInAFolderRemovesWhatKilledWritesLeftThere) {
    const std::string text(70000, 'v');
    auto write = [&](const std::string& name) {
        int32_t err = 0;
        return atomic_write_file(("C:\\D\\" + name).c_str(), text.data(), text.size(), &err);
    };
    const auto all = pxtest::steps_of([&] { write("CAR0.TXT"); });
    ASSERT_EQ(all, (std::vector<std::string>{"create CAR0.TXT", "write CAR0.TXT", "sync CAR0.TXT", "rename CAR0.TXT"}));
    for (int k = 0; k < static_cast<int>(all.size()); ++k) {
        // Each vehicle saved under a name of its own.
        const std::string name = "CAR" + std::to_string(k + 1) + ".TXT";
        ASSERT_TRUE(pxtest::killed_at_step(k, [&] { write(name); })) << all[k];
    }
    auto temporaries = [&] {
        std::vector<std::string> v;
        for (const auto& n : names_in(env, "D"))
            if (n.find(".~pxdrom") != std::string::npos) v.push_back(n);
        return v;
    };
    ASSERT_FALSE(temporaries().empty()) << "killed after the temporary was made";

    // A second run, alive, with a write in flight.
    int gate[2];
    ASSERT_EQ(::pipe(gate), 0);
    const pid_t live = ::fork();
    if (live == 0) {
        char c;
        ::close(gate[1]);
        while (::read(gate[0], &c, 1) < 0) {
        }
        ::_exit(0);
    }
    ::close(gate[0]);
    const std::string in_flight = "EXPORT.CSV.~pxdrom" + std::to_string(live) + "-1";
    env.write("D/" + in_flight, "in flight");
    int32_t err = 0;
    std::FILE* staged = atomic_open("C:\\D\\LIST.SAV", nullptr, &err);
    ASSERT_NE(staged, nullptr);
    const std::vector<std::string> others = {"NOTES.~" + std::to_string(pxtest::dead_pid()) + "-1", "REPORT.~1~",
                                             "BOOK.CSV.~pxdrom" + std::to_string(pxtest::dead_pid()) + "-x"};
    for (const auto& n : others) env.write("D/" + n, "another program's");

    ASSERT_EQ(atomic_write_file("C:\\D\\EXPORT2.CSV", "a,b\r\n", 5, &err), 0);
    const auto left = temporaries();
    EXPECT_EQ(left.size(), 3u);
    EXPECT_NE(std::find(left.begin(), left.end(), in_flight), left.end());
    for (const auto& n : others) EXPECT_TRUE(env.exists("D/" + n)) << n;
    EXPECT_EQ(atomic_close(staged, true, &err), 0);
    EXPECT_TRUE(env.exists("D/LIST.SAV"));
    ::close(gate[1]);
    int status = 0;
    ::waitpid(live, &status, 0);
}

}  // namespace
