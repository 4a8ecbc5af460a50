#include "pxall/fileutil.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pxall/atomic_write.h"
#include "pxall/fdtable.h"
#include "support/temp_env.h"

namespace {

using pxtest::TempEnv;

TEST(OpenFiles, ModesAndFailures) {
    TempEnv env;
    env.write("A.DAT", "abc");
    int fd = -1;
    int32_t err = -7;

    EXPECT_EQ(pxall::open_read("C:\\NONE.DAT", &fd, &err), 11);
    EXPECT_EQ(err, ENOENT);
    EXPECT_EQ(pxall::open_rdwr("C:\\NONE.DAT", &fd, &err), 11);
    EXPECT_EQ(err, ENOENT);
    EXPECT_FALSE(env.exists("NONE.DAT"));

    // Read-only: the descriptor is in the table and refuses writes.
    ASSERT_EQ(pxall::open_read("c:\\a.dat", &fd, &err), 0);
    EXPECT_EQ(err, 0);
    if (fd < 32) {
        EXPECT_NE(*pxall::handle_flag() & (1u << fd), 0u);
    }
    EXPECT_EQ(pxall::direct_write(fd, 0, "x", 1, &err), 13);
    EXPECT_EQ(err, EBADF);
    pxall::close2(fd);

    // Write truncates an existing file.
    ASSERT_EQ(pxall::open_write("C:\\A.DAT", &fd, &err), 0);
    pxall::close2(fd);
    EXPECT_EQ(env.read("A.DAT"), "");

    EXPECT_EQ(pxall::open_write("C:\\NODIR\\B.DAT", &fd, &err), 11);
    EXPECT_EQ(err, ENOENT);
}

TEST(DirectRecords, ReadAndWriteByNumber) {
    TempEnv env;
    int fd = -1;
    int32_t err = 0;
    ASSERT_EQ(pxall::open_write("C:\\R.DAT", &fd, &err), 0);
    ASSERT_EQ(pxall::direct_write(fd, 1, "BBBB", 4, &err), 0);
    ASSERT_EQ(pxall::direct_write(fd, 0, "AAAA", 4, &err), 0);
    ASSERT_EQ(pxall::direct_write(fd, 4, "CC", 2, &err), 0);  // 4 x 2: a half record at 8
    pxall::close2(fd);
    EXPECT_EQ(env.read("R.DAT"), "AAAABBBBCC");

    ASSERT_EQ(pxall::open_rdwr("C:\\R.DAT", &fd, &err), 0);
    char buf[5] = {};
    err = 99;
    EXPECT_EQ(pxall::direct_read(fd, 1, buf, 4, &err), 0);
    EXPECT_EQ(err, 0);
    EXPECT_STREQ(buf, "BBBB");
    EXPECT_EQ(pxall::direct_read(fd, 0, buf, 4, &err), 0);
    EXPECT_STREQ(buf, "AAAA");

    // Fewer bytes than a record, and a record past the end: 14, no C error.
    EXPECT_EQ(pxall::direct_read(fd, 2, buf, 4, &err), 14);
    EXPECT_EQ(err, 0);
    EXPECT_EQ(pxall::direct_read(fd, 9, buf, 4, &err), 14);
    EXPECT_EQ(err, 0);

    // Seeks that cannot be made.
    EXPECT_EQ(pxall::direct_read(fd, -1, buf, 4, &err), 15);
    EXPECT_EQ(err, EINVAL);
    EXPECT_EQ(pxall::direct_write(fd, -1, buf, 4, &err), 15);
    pxall::close2(fd);
    EXPECT_EQ(pxall::direct_read(fd, 0, buf, 4, &err), 15);
    EXPECT_EQ(err, EBADF);
}

TEST(FileCopy, CopiesInChunks) {
    TempEnv env;
    std::string data;
    for (int i = 0; i < 5000; ++i) data.push_back(static_cast<char>(i * 7));
    env.write("SRC.DAT", data);
    env.write("EMPTY.DAT", "");
    env.write("DST2.DAT", "old contents");
    int32_t err = -1;
    const uint32_t open_before = *pxall::handle_flag();

    EXPECT_EQ(pxall::file_copy("C:\\DST.DAT", "C:\\SRC.DAT", &err), 0);
    EXPECT_EQ(err, 0);
    EXPECT_EQ(env.read("DST.DAT"), data);

    EXPECT_EQ(pxall::file_copy("C:\\DST2.DAT", "C:\\EMPTY.DAT", &err), 0);
    EXPECT_TRUE(env.exists("DST2.DAT"));
    EXPECT_EQ(env.read("DST2.DAT"), "");
    EXPECT_EQ(*pxall::handle_flag(), open_before);  // both descriptors closed
}

TEST(FileCopy, MissingSourceLeavesDestination) {
    TempEnv env;
    env.write("DST.DAT", "keep me");
    int32_t err = 0;
    const uint32_t open_before = *pxall::handle_flag();
    EXPECT_EQ(pxall::file_copy("C:\\DST.DAT", "C:\\NONE.DAT", &err), 11);
    EXPECT_EQ(err, ENOENT);
    EXPECT_EQ(env.read("DST.DAT"), "keep me");
    EXPECT_FALSE(env.exists("NONE.DAT"));

    // A destination that cannot be created: the source stays intact.
    env.write("SRC.DAT", "source");
    EXPECT_EQ(pxall::file_copy("C:\\NODIR\\DST.DAT", "C:\\SRC.DAT", &err), 11);
    EXPECT_EQ(env.read("SRC.DAT"), "source");
    EXPECT_EQ(*pxall::handle_flag(), open_before);
}

// A copy that fails at any step of putting it in place leaves the old
// destination whole and no piece of the copy beside it.
const char* g_fail_step = nullptr;
int fail_at(const char* step, const char*) { return std::strcmp(step, g_fail_step) == 0 ? ENOSPC : 0; }

TEST(FileCopy, FailureAtAnyStepLeavesTheOldDestination) {
    TempEnv env;
    env.write("SRC.DAT", std::string(100000, 'n'));
    for (const char* step : {"create", "sync", "rename"}) {
        env.write("DST.DAT", "old");
        g_fail_step = step;
        pxall::set_write_step_hook(fail_at);
        int32_t err = 0;
        EXPECT_NE(pxall::file_copy("C:\\DST.DAT", "C:\\SRC.DAT", &err), 0) << step;
        pxall::set_write_step_hook(nullptr);
        EXPECT_EQ(err, ENOSPC) << step;
        EXPECT_EQ(env.read("DST.DAT"), "old") << step;
        int files = 0;
        for (const auto& f : std::filesystem::directory_iterator(env.root()))
            if (f.path().filename().string().rfind("DST.DAT", 0) == 0) ++files;
        EXPECT_EQ(files, 1) << step;
    }
    int32_t err = 0;
    EXPECT_EQ(pxall::file_copy("C:\\DST.DAT", "C:\\SRC.DAT", &err), 0);
    EXPECT_EQ(env.read("DST.DAT"), std::string(100000, 'n'));
}

TEST(FileRemove, RefusesBadDirectories) {
    TempEnv env;
    env.write("W/A.TMP", "x");
    const std::string dir74 = "C:\\W" + std::string(70, 'D');
    const std::string dir74s = dir74 + "\\";
    const std::string dir80 = dir74 + "\\12345";
    struct Case {
        const char* dir;
        const char* pattern;
        int want;
    };
    const Case cases[] = {
        {nullptr, "*.*", 401},
        {"", "*.*", 401},
        {" C:\\W", "*.*", 401},
        {"\tC:\\W", "*.*", 401},
        {dir74.c_str(), "*.TMP", 402},   // 74 + 1 + 5 = 80
        {dir74s.c_str(), "*.TMP", 402},  // the backslash is the directory's own
        {dir74.c_str(), "*.TM", 0},      // 79 fits
        {dir80.c_str(), nullptr, 402},   // the default pattern counts too
    };
    for (const Case& c : cases)
        EXPECT_EQ(pxall::file_remove(c.dir, c.pattern), c.want)
            << (c.dir ? c.dir : "(null)") << " " << (c.pattern ? c.pattern : "(null)");
    EXPECT_TRUE(env.exists("W/A.TMP"));
}

TEST(FileRemove, DeletesMatchesOnly) {
    TempEnv env;
    env.write("W/A.TMP", "x");
    env.write("W/pximg1.tmp", "x");
    env.write("W/KEEP.DAT", "x");
    env.mkdir("W/SUB.TMP");

    // A trailing backslash is not doubled; the match ignores case.
    EXPECT_EQ(pxall::file_remove("C:\\W\\", "*.TMP"), 0);
    EXPECT_FALSE(env.exists("W/A.TMP"));
    EXPECT_FALSE(env.exists("W/pximg1.tmp"));
    EXPECT_TRUE(env.exists("W/KEEP.DAT"));
    EXPECT_TRUE(env.exists("W/SUB.TMP"));  // directories are not files

    EXPECT_EQ(pxall::file_remove("C:\\W", "*.TMP"), 0);  // nothing left to match

    // No pattern, or a blank one: every file.
    env.write("W/B.X", "x");
    EXPECT_EQ(pxall::file_remove("C:\\W", " "), 0);
    EXPECT_FALSE(env.exists("W/KEEP.DAT"));
    EXPECT_FALSE(env.exists("W/B.X"));
    EXPECT_TRUE(env.exists("W/SUB.TMP"));

    env.write("W/C.X", "x");
    EXPECT_EQ(pxall::file_remove("C:\\W", nullptr), 0);
    EXPECT_FALSE(env.exists("W/C.X"));

    EXPECT_EQ(pxall::file_remove("C:\\NODIR", "*.*"), 0);
}

TEST(FileRemove, KeepsFilesWhoseFullPathDoesNotFit) {
    TempEnv env;
    // "C:\W\" is 5 characters; a name of 75 makes a full path of 80.
    std::string longname = std::string(71, 'L') + ".TMP";
    std::string fits = std::string(70, 'S') + ".TMP";
    env.write("W/" + longname, "x");
    env.write("W/" + fits, "x");
    EXPECT_EQ(pxall::file_remove("C:\\W", "*.TMP"), 0);
    EXPECT_TRUE(env.exists("W/" + longname));
    EXPECT_FALSE(env.exists("W/" + fits));
}

}  // namespace
