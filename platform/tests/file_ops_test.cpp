#include <cerrno>
#include <filesystem>

#include "platform/files.h"
#include "scratch.h"

namespace {

using plattest::ScratchTest;

class FileOpsTest : public ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        make_dir("c/WORK/FULL");
        write("c/WORK/SRC.DAT", "source bytes");
        write("c/WORK/OLD.DAT", "old");
        write("c/WORK/FULL/X", "x");
        plat::set_drive('C', at("c"));
    }

    // Runs a call that must fail and gives the error it left.
    template <typename F>
    int32_t error_of(F call) {
        plat::set_last_error(0);
        EXPECT_FALSE(call());
        return plat::last_error();
    }

    bool scratch_left() const {
        for (const auto& e : std::filesystem::directory_iterator(at("c/WORK"))) {
            if (e.path().filename().string().rfind(".pxcopy", 0) == 0) return true;
        }
        return false;
    }
};

TEST(WinErrorTest, FromErrno) {
    const struct {
        int err;
        int32_t win;
    } cases[] = {
        {0, plat::kErrNone},          {ENOENT, plat::kErrFileNotFound},   {ENOTDIR, plat::kErrPathNotFound},
        {EACCES, plat::kErrAccessDenied}, {EPERM, plat::kErrAccessDenied}, {ENOSPC, plat::kErrDiskFull},
        {EEXIST, plat::kErrFileExists}, {EMFILE, plat::kErrTooManyOpenFiles}, {ENOMEM, plat::kErrNotEnoughMemory},
        {ENOTEMPTY, plat::kErrDirNotEmpty}, {EBADF, plat::kErrInvalidHandle}, {EINVAL, plat::kErrInvalidParameter},
    };
    for (const auto& c : cases) EXPECT_EQ(plat::win_error_from_errno(c.err), c.win) << c.err;
}

TEST_F(FileOpsTest, ExistenceChecks) {
    EXPECT_TRUE(plat::file_exists("c:\\work\\src.dat"));
    EXPECT_TRUE(plat::directory_exists("C:\\Work\\Full"));
    EXPECT_EQ(error_of([] { return plat::file_exists("C:\\WORK"); }), plat::kErrFileNotFound);
    EXPECT_EQ(error_of([] { return plat::file_exists("C:\\WORK\\NONE.DAT"); }), plat::kErrFileNotFound);
    EXPECT_EQ(error_of([] { return plat::file_exists("C:\\NONE\\NONE.DAT"); }), plat::kErrPathNotFound);
    EXPECT_EQ(error_of([] { return plat::directory_exists("C:\\WORK\\SRC.DAT"); }), plat::kErrPathNotFound);
}

TEST_F(FileOpsTest, Directories) {
    EXPECT_TRUE(plat::create_directory("C:\\WORK\\NewDir"));
    EXPECT_TRUE(exists("c/WORK/NewDir"));
    EXPECT_EQ(error_of([] { return plat::create_directory("c:\\work\\newdir"); }), plat::kErrAlreadyExists);
    EXPECT_EQ(error_of([] { return plat::create_directory("C:\\NONE\\NEW"); }), plat::kErrPathNotFound);
    EXPECT_EQ(error_of([] { return plat::remove_directory("C:\\WORK\\FULL"); }), plat::kErrDirNotEmpty);
    EXPECT_EQ(error_of([] { return plat::remove_directory("C:\\WORK\\NONE"); }), plat::kErrFileNotFound);
    EXPECT_EQ(error_of([] { return plat::remove_directory("C:\\NONE\\NONE"); }), plat::kErrPathNotFound);
    EXPECT_TRUE(plat::remove_directory("c:\\work\\NEWDIR"));
    EXPECT_FALSE(exists("c/WORK/NewDir"));
    EXPECT_EQ(error_of([] { return plat::set_current_directory("C:\\NONE"); }), plat::kErrFileNotFound);
}

TEST_F(FileOpsTest, Delete) {
    EXPECT_EQ(error_of([] { return plat::delete_file("C:\\WORK\\NONE.DAT"); }), plat::kErrFileNotFound);
    EXPECT_EQ(error_of([] { return plat::delete_file("C:\\NONE\\X.DAT"); }), plat::kErrPathNotFound);
    EXPECT_EQ(error_of([] { return plat::delete_file("C:\\WORK\\FULL"); }), plat::kErrAccessDenied);
    EXPECT_EQ(error_of([] { return plat::delete_file("Q:\\X.DAT"); }), plat::kErrPathNotFound);
    EXPECT_TRUE(plat::delete_file("c:\\work\\old.dat"));
    EXPECT_FALSE(exists("c/WORK/OLD.DAT"));
}

TEST_F(FileOpsTest, Copy) {
    EXPECT_TRUE(plat::copy_file("C:\\WORK\\SRC.DAT", "C:\\WORK\\Copy.dat", true));
    EXPECT_EQ(read("c/WORK/Copy.dat"), "source bytes");

    EXPECT_EQ(error_of([] { return plat::copy_file("C:\\WORK\\SRC.DAT", "c:\\work\\old.dat", true); }),
              plat::kErrFileExists);
    EXPECT_EQ(read("c/WORK/OLD.DAT"), "old");
    EXPECT_TRUE(plat::copy_file("C:\\WORK\\SRC.DAT", "c:\\work\\old.dat", false));
    EXPECT_EQ(read("c/WORK/OLD.DAT"), "source bytes");

    EXPECT_EQ(error_of([] { return plat::copy_file("C:\\WORK\\NONE", "C:\\WORK\\X", false); }),
              plat::kErrFileNotFound);
    EXPECT_EQ(error_of([] { return plat::copy_file("C:\\WORK\\SRC.DAT", "C:\\NONE\\X", false); }),
              plat::kErrPathNotFound);
    EXPECT_EQ(error_of([] { return plat::copy_file("C:\\WORK\\FULL", "C:\\WORK\\X", false); }),
              plat::kErrAccessDenied);
    // Onto itself under another case: refused, and the source survives.
    EXPECT_EQ(error_of([] { return plat::copy_file("C:\\WORK\\SRC.DAT", "c:\\work\\src.dat", false); }),
              plat::kErrSharingViolation);
    EXPECT_EQ(read("c/WORK/SRC.DAT"), "source bytes");
    EXPECT_FALSE(scratch_left());
}

TEST_F(FileOpsTest, Move) {
    EXPECT_EQ(error_of([] { return plat::move_file("C:\\WORK\\SRC.DAT", "C:\\WORK\\OLD.DAT"); }),
              plat::kErrAlreadyExists);
    EXPECT_EQ(read("c/WORK/OLD.DAT"), "old");
    EXPECT_EQ(error_of([] { return plat::move_file("C:\\WORK\\NONE", "C:\\WORK\\X"); }), plat::kErrFileNotFound);
    EXPECT_EQ(error_of([] { return plat::move_file("C:\\WORK\\SRC.DAT", "C:\\NONE\\X"); }), plat::kErrPathNotFound);

    EXPECT_TRUE(plat::move_file("c:\\work\\src.dat", "C:\\WORK\\FULL\\Moved.dat"));
    EXPECT_FALSE(exists("c/WORK/SRC.DAT"));
    EXPECT_EQ(read("c/WORK/FULL/Moved.dat"), "source bytes");

    EXPECT_TRUE(plat::move_file("C:\\WORK\\OLD.DAT", "C:\\WORK\\old.dat"));  // a change of case only
    EXPECT_TRUE(exists("c/WORK/old.dat"));
    EXPECT_FALSE(exists("c/WORK/OLD.DAT"));
}

TEST_F(FileOpsTest, VolumesAndFreeSpace) {
    make_dir("cd1");
    write("cd1/.volume-label", "PXCD 1 \r\nsecond line\r\n");
    make_dir("disc2");
    plat::set_drive('D', at("cd1"), plat::kDriveCdrom);
    plat::set_drive('E', at("disc2"), plat::kDriveCdrom);
    plat::set_drive('F', at("nodisc"), plat::kDriveCdrom);
    plat::set_drive('G', at("gone"));

    std::string label;
    EXPECT_TRUE(plat::volume_label("D:\\", &label));
    EXPECT_EQ(label, "PXCD 1 ");
    EXPECT_TRUE(plat::volume_label("e:", &label));
    EXPECT_EQ(label, "disc2");
    EXPECT_EQ(error_of([&] { return plat::volume_label("F:\\", &label); }), plat::kErrNotReady);
    EXPECT_EQ(error_of([&] { return plat::volume_label("G:\\", &label); }), plat::kErrPathNotFound);
    EXPECT_EQ(error_of([&] { return plat::volume_label("Q:\\", &label); }), plat::kErrPathNotFound);

    // Swapping discs is repointing the drive.
    plat::set_drive('D', at("disc2"), plat::kDriveCdrom);
    EXPECT_TRUE(plat::volume_label("D:\\", &label));
    EXPECT_EQ(label, "disc2");

    uint64_t free_bytes = 0, total = 0;
    EXPECT_TRUE(plat::free_disk_space("C:\\WORK", &free_bytes, &total));
    EXPECT_GT(total, 0u);
    EXPECT_LE(free_bytes, total);
    EXPECT_EQ(error_of([&] { return plat::free_disk_space("F:\\", &free_bytes, &total); }), plat::kErrNotReady);
    EXPECT_EQ(error_of([&] { return plat::free_disk_space("C:\\NONE", &free_bytes, &total); }),
              plat::kErrPathNotFound);
}

}  // namespace
