#include "platform/process.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/errors.h"

namespace fs = std::filesystem;

namespace {

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "pxproc-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        saved_cwd_ = fs::current_path();
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(saved_cwd_);
        fs::remove_all(dir_);
    }
    void script(const std::string& rel, const std::string& body, bool executable = true) {
        fs::path p = fs::path(dir_) / rel;
        fs::create_directories(p.parent_path());
        std::ofstream(p) << "#!/bin/sh\n" << body << "\n";
        ::chmod(p.c_str(), executable ? 0755 : 0644);
    }
    std::string dir_;
    fs::path saved_cwd_;
};

TEST_F(ProcessTest, RunsWithArgumentsAndGivesTheExitCode) {
    script("tool", "echo \"$0|$1|$2\" > out.txt; exit 3");
    int32_t code = -1;
    ASSERT_EQ(plat::run_and_wait("tool", {"tool", "a b", "@@@@@"}, &code), 1);
    EXPECT_EQ(code, 3);
    std::ifstream in(fs::path(dir_) / "out.txt");
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line.substr(line.find('|')), "|a b|@@@@@");
}

TEST_F(ProcessTest, WindowsProgramNameFindsThePlainFile) {
    script("Helper", "exit 1");
    int32_t code = -1;
    ASSERT_EQ(plat::run_and_wait("HELPER.EXE", {"HELPER.EXE"}, &code), 1);
    EXPECT_EQ(code, 1);
    // A file with the suffix is taken first.
    script("helper.exe", "exit 2");
    ASSERT_EQ(plat::run_and_wait("HELPER.EXE", {"HELPER.EXE"}, &code), 1);
    EXPECT_EQ(code, 2);
}

TEST_F(ProcessTest, SearchesPathAfterTheCurrentDirectory) {
    script("bin/onpath", "exit 4");
    std::string saved = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (dir_ + "/bin:" + saved).c_str(), 1);
    int32_t code = -1;
    EXPECT_EQ(plat::run_and_wait("ONPATH.EXE", {"ONPATH.EXE"}, &code), 1);
    EXPECT_EQ(code, 4);
    script("onpath", "exit 5");  // the current directory comes first
    EXPECT_EQ(plat::run_and_wait("onpath", {"onpath"}, &code), 1);
    EXPECT_EQ(code, 5);
    setenv("PATH", saved.c_str(), 1);
}

TEST_F(ProcessTest, ProgramsThatCannotStart) {
    int32_t code = -1;
    EXPECT_EQ(plat::run_and_wait("NOSUCHPROGRAM.EXE", {"x"}, &code), 0);
    EXPECT_EQ(plat::last_error(), plat::kErrFileNotFound);
    script("plain", "exit 0", false);  // not executable: not a program
    EXPECT_EQ(plat::run_and_wait(dir_ + "/plain", {"plain"}, &code), 0);
    std::ofstream(fs::path(dir_) / "broken") << "#!/nonexistent/interpreter\n";
    ::chmod((fs::path(dir_) / "broken").c_str(), 0755);
    EXPECT_EQ(plat::run_and_wait("broken", {"broken"}, &code), 0);
    EXPECT_EQ(plat::last_error(), plat::kErrFileNotFound);
    EXPECT_EQ(code, -1);
}

// Whether the process is gone from the process table: ended and collected,
// not a zombie. Waits, bounded, for a program that is about to end.
bool collected(pid_t pid) {
    for (int i = 0; i < 6000; ++i) {
        if (!fs::exists("/proc/" + std::to_string(pid))) return true;
        ::usleep(10000);
    }
    return false;
}

pid_t pid_in(const fs::path& file) {
    std::error_code ec;
    for (int i = 0; i < 6000 && (fs::file_size(file, ec) == 0 || ec); ++i) ::usleep(10000);
    pid_t pid = 0;
    std::ifstream(file) >> pid;
    return pid;
}

TEST_F(ProcessTest, AStartedProgramRunsOnItsOwnAndIsCollectedWhenItEnds) {
    // It notes its process id, then waits until the test lets it end: the
    // start cannot have waited for it.
    script("EXPORTER", "echo $$ > pid.txt; i=0; while [ ! -f go ] && [ $i -lt 6000 ]; do sleep 0.01; i=$((i+1)); done; "
                       "echo \"$1\" > done.txt");
    ASSERT_EQ(plat::start_program("exporter.exe", {"exporter.exe", "C:\\OUT.CSV"}), 1);
    pid_t pid = pid_in(fs::path(dir_) / "pid.txt");
    ASSERT_GT(pid, 0);
    EXPECT_FALSE(fs::exists(fs::path(dir_) / "done.txt"));
    std::ofstream(fs::path(dir_) / "go") << "";
    EXPECT_TRUE(collected(pid));
    std::ifstream in(fs::path(dir_) / "done.txt");
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "C:\\OUT.CSV");
}

TEST_F(ProcessTest, ProgramsThatEndAtOnceLeaveNoZombie) {
    // More than the slots for running programs: each ended one frees its own.
    script("quick", "echo $$ > pid$1.txt");
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(plat::start_program("quick", {"quick", std::to_string(i)}), 1) << i;
        pid_t pid = pid_in(fs::path(dir_) / ("pid" + std::to_string(i) + ".txt"));
        ASSERT_GT(pid, 0);
        ASSERT_TRUE(collected(pid)) << i;
    }
    // A program waited for is still the waiter's: its exit code is there.
    script("tool", "exit 6");
    int32_t code = -1;
    EXPECT_EQ(plat::run_and_wait("tool", {"tool"}, &code), 1);
    EXPECT_EQ(code, 6);
}

TEST_F(ProcessTest, AProgramThatCannotStartIsNotStarted) {
    EXPECT_EQ(plat::start_program("NOSUCHPROGRAM.EXE", {"x"}), 0);
    EXPECT_EQ(plat::last_error(), plat::kErrFileNotFound);
    script("plain", "exit 0", false);
    EXPECT_EQ(plat::start_program(dir_ + "/plain", {"plain"}), 0);
}

TEST_F(ProcessTest, LibraryFolderHoldsThePlatformLibrary) {
    std::string folder = plat::library_folder();
    ASSERT_FALSE(folder.empty());
    bool found = false;
    for (const auto& e : fs::directory_iterator(folder))
        found |= e.path().filename().string().rfind("libpxplatform", 0) == 0;
    EXPECT_TRUE(found);
}

}  // namespace
