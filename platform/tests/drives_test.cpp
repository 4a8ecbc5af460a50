#include "platform/drives.h"

#include <unistd.h>

#include "platform/files.h"
#include "scratch.h"

namespace {

using plattest::ScratchTest;

class DrivesTest : public ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        make_dir("c/MST/E1");
        write("c/MST/E1/SHAMEI.DAT", "x");
        plat::set_drive('C', at("c"));
    }
};

TEST_F(DrivesTest, LoadsTableWithCommentsCrLfAndRelativeFolders) {
    make_dir("etc");
    write("etc/PXDRIVES.SYS",
          "\xEF\xBB\xBF# drives of the demo\r\n"
          "\r\n"
          "C = ../c\r\n"
          "d=/media/pxcd,CDROM   # the catalogue disc\r\n"
          "A=floppy , removable\n"
          "  E=" + at("e#1") + ",fixed\n");
    plat::set_drive('Q', "/srv/q");
    std::string error;
    ASSERT_TRUE(plat::load_drive_table(at("etc/PXDRIVES.SYS"), &error)) << error;
    EXPECT_EQ(plat::drive_dir('C'), at("c"));
    EXPECT_EQ(plat::drive_dir('D'), "/media/pxcd");
    EXPECT_EQ(plat::drive_dir('a'), at("etc/floppy"));
    EXPECT_EQ(plat::drive_dir('E'), at("e#1"));
    EXPECT_EQ(plat::drive_dir('Q'), "/srv/q");  // letters the table leaves out stay
    EXPECT_EQ(plat::drive_type("D:"), plat::kDriveCdrom);
    EXPECT_EQ(plat::drive_type("A:\\"), plat::kDriveRemovable);
}

TEST_F(DrivesTest, DefectiveTableMapsNothing) {
    const char* defects[] = {
        "C\n",                   // no '='
        "CC=/x\n",               // not one letter
        "1=/x\n",                // not a letter
        "C=\n",                  // no folder
        "C=/x,floppy\n",         // unknown type
        "C=/x\nc=/y\n",          // mapped twice
        "F=/ok\nC=/x,\n",        // empty type; F must not be mapped either
    };
    for (const char* text : defects) {
        write("bad.sys", text);
        plat::clear_drives();
        std::string error;
        EXPECT_FALSE(plat::load_drive_table(at("bad.sys"), &error)) << text;
        EXPECT_FALSE(error.empty()) << text;
        EXPECT_FALSE(plat::drive_dir('C') || plat::drive_dir('F')) << text;
    }
    std::string error;
    EXPECT_FALSE(plat::load_drive_table(at("missing.sys"), &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(DrivesTest, TranslatesWithoutRegardToCase) {
    const struct {
        const char* win;
        std::string host;
    } cases[] = {
        {"C:\\MST\\E1\\SHAMEI.DAT", at("c/MST/E1/SHAMEI.DAT")},
        {"c:\\mst\\e1\\shamei.dat", at("c/MST/E1/SHAMEI.DAT")},
        {"C:/Mst/E1\\Shamei.Dat", at("c/MST/E1/SHAMEI.DAT")},
        {"C:", at("c")},
        {"C:\\", at("c")},
        {"C:\\mst\\\\e1\\", at("c/MST/E1")},
        {"C:\\mst\\new\\Out.Dat", at("c/MST/new/Out.Dat")},  // missing parts kept as written
        {"C:\\mst\\e1\\New.dat", at("c/MST/E1/New.dat")},
        {"C:\\mst\\.\\x\\..\\e1", at("c/MST/E1")},
        {"C:\\..\\..\\mst", at("c/MST")},  // ".." stops at the drive root
        {"C:\\MST\\E1\\SHAMEI.DAT\\X", at("c/MST/E1/SHAMEI.DAT/X")},
    };
    for (const auto& c : cases) EXPECT_EQ(plat::host_path(c.win), c.host) << c.win;

    // Host paths pass, with the same case matching.
    EXPECT_EQ(plat::host_path(at("C/mst/e1")), at("c/MST/E1"));
}

TEST_F(DrivesTest, UnmappedAndNotReadyDrives) {
    plat::set_drive('D', at("cd"), plat::kDriveCdrom);
    plat::set_drive('A', at("floppy"), plat::kDriveRemovable);
    plat::set_drive('F', at("gone"), plat::kDriveFixed);
    const struct {
        const char* win;
        int32_t error;
    } failures[] = {
        {"Q:\\X.DAT", plat::kErrPathNotFound},
        {"D:\\X.DAT", plat::kErrNotReady},
        {"a:", plat::kErrNotReady},
        {"\\\\server\\share", plat::kErrPathNotFound},
        {"", plat::kErrPathNotFound},
    };
    for (const auto& f : failures) {
        plat::set_last_error(0);
        EXPECT_FALSE(plat::host_path(f.win)) << f.win;
        EXPECT_EQ(plat::last_error(), f.error) << f.win;
    }
    EXPECT_FALSE(plat::host_path(std::string_view("C:\\A\0B", 6)));

    // A fixed drive without its folder still translates; opening fails later.
    EXPECT_EQ(plat::host_path("F:\\X"), at("gone/X"));
    make_dir("cd");  // the disc goes in
    EXPECT_EQ(plat::host_path("D:\\X.DAT"), at("cd/X.DAT"));
}

TEST_F(DrivesTest, RelativePathsFollowTheCurrentDirectory) {
    ASSERT_TRUE(plat::set_current_directory("c:\\mst"));
    EXPECT_EQ(plat::current_directory(), "C:\\MST");
    EXPECT_EQ(plat::host_path("e1\\shamei.dat"), at("c/MST/E1/SHAMEI.DAT"));
    EXPECT_EQ(plat::host_path(".\\E1"), at("c/MST/E1"));
    EXPECT_EQ(plat::host_path("..\\..\\..\\MST"), at("c/MST"));
    EXPECT_EQ(plat::host_path("\\mst\\e1"), at("c/MST/E1"));
    EXPECT_EQ(plat::host_path("C:e1"), at("c/MST/E1"));  // D: relative = the current folder on that drive

    ASSERT_TRUE(plat::set_current_directory("E1"));
    EXPECT_EQ(plat::current_directory(), "C:\\MST\\E1");
    ASSERT_TRUE(plat::set_current_directory("C:\\"));
    EXPECT_EQ(plat::current_directory(), "C:\\");

    // Outside every drive the current directory is a host path; there is no
    // drive root for a leading separator there.
    ASSERT_EQ(::chdir(root_.c_str()), 0);
    EXPECT_EQ(plat::current_directory(), root_);
    EXPECT_EQ(plat::host_path("C\\Mst"), at("c/MST"));
    EXPECT_FALSE(plat::host_path("\\etc\\passwd"));
}

// A name read from data never leaves the drives: starting with a separator
// of either kind it starts at the root of the current drive; a host path
// passes only where it lies in a drive's folder.
TEST_F(DrivesTest, NamesFromDataStayInTheDrives) {
    ASSERT_TRUE(plat::set_current_directory("C:\\MST"));
    const struct {
        std::string name;
        std::string host;
    } cases[] = {
        {"/etc/passwd", at("c/etc/passwd")},
        {"\\etc\\passwd", at("c/etc/passwd")},
        {"/../../etc/passwd", at("c/etc/passwd")},
        {"/MST/E1/SHAMEI.DAT", at("c/MST/E1/SHAMEI.DAT")},
        {at("c/mst/e1/shamei.dat"), at("c/MST/E1/SHAMEI.DAT")},
        {at("C/MST/E1"), at("c/MST/E1")},
        {at("c/MST/../../x"), at("c") + at("x")},
    };
    for (const auto& c : cases) EXPECT_EQ(plat::host_path(c.name), c.host) << c.name;
}

TEST_F(DrivesTest, WindowsPathTakesTheLongestDrive) {
    plat::set_drive('E', at("c/MST/E1"));
    EXPECT_EQ(plat::windows_path(at("c/MST/E1/SHAMEI.DAT")), "E:\\SHAMEI.DAT");
    EXPECT_EQ(plat::windows_path(at("c/MST")), "C:\\MST");
    EXPECT_EQ(plat::windows_path(at("c")), "C:\\");
    EXPECT_EQ(plat::windows_path(at("c/MST/../MST/x")), "C:\\MST\\x");
    EXPECT_EQ(plat::windows_path(at("cx/y")), at("cx/y"));  // a sibling with the same prefix is no drive of C
}

TEST_F(DrivesTest, DriveTypes) {
    plat::set_drive('D', at("cd"), plat::kDriveCdrom);
    plat::set_drive('F', at("gone"));
    const struct {
        const char* root;
        plat::DriveType type;
    } cases[] = {
        {"C:", plat::kDriveFixed},     {"C:\\", plat::kDriveFixed},     {"c:", plat::kDriveFixed},
        {"c:/", plat::kDriveFixed},    {"D:\\", plat::kDriveCdrom},     {"F:\\", plat::kDriveNoRootDir},
        {"Q:\\", plat::kDriveNoRootDir}, {"C:\\MST", plat::kDriveNoRootDir}, {"1:", plat::kDriveNoRootDir},
    };
    for (const auto& c : cases) EXPECT_EQ(plat::drive_type(c.root), c.type) << c.root;
}

}  // namespace
