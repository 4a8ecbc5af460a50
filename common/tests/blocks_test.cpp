#include "pxall/blocks.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "pxall/fdtable.h"
#include "pxall/paths.h"
#include "support/temp_env.h"

namespace {

using pxtest::set_field;

TEST(SharedArea, BlocksLieAtTheirPositionsAndVanishWithTheArea) {
    ASSERT_EQ(pxall::set_table(), 0);
    unsigned char* top = pxall::get_ctop_addr();
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(std::memcmp(top, "COMN", 4), 0);
    EXPECT_EQ(pxall::get_cnext_addr() - top, 3497);
    EXPECT_EQ(pxall::get_cnexta_addr() - top, 3575);
    EXPECT_EQ(pxall::get_ccar_addr() - top, 4075);
    EXPECT_EQ(pxall::get_cimg_addr() - top, 4707);
    for (size_t i = 4; i < pxall::area::kSize; ++i) ASSERT_EQ(top[i], 0) << i;
    pxall::free_table();
    EXPECT_EQ(pxall::get_ctop_addr(), nullptr);
    EXPECT_EQ(pxall::get_ccar_addr(), nullptr);
    EXPECT_EQ(pxall::setup_entry_addr(0), nullptr);
    pxall::free_table();  // a second free is harmless
}

TEST(SharedArea, MenuStackIsBoundedAtBothEnds) {
    ASSERT_EQ(pxall::set_table(), 0);
    unsigned char* stack = pxall::set_back_menu();
    EXPECT_EQ(pxall::get_i32(stack), 0);
    for (int i = 0; i < 65; ++i) pxall::set_next_menu(i + 1);
    EXPECT_EQ(pxall::get_i32(stack), 64);
    EXPECT_EQ(stack[4 + 63], 64);
    pxall::set_back_menu();
    EXPECT_EQ(pxall::get_i32(stack), 63);
    pxall::set_main_menu();
    EXPECT_EQ(pxall::get_i32(stack), 0);
    pxall::free_table();
    EXPECT_EQ(pxall::set_next_menu(1), nullptr);
}

TEST(SharedArea, BitOperationsRefuseBitsOutsideTheWord) {
    uint32_t w = 0;
    EXPECT_EQ(pxall::b_setl(&w, 0), 0);
    EXPECT_EQ(pxall::b_setl(&w, 31), 0);
    EXPECT_EQ(w, 0x80000001u);
    EXPECT_EQ(pxall::b_setl(&w, 32), -1);
    EXPECT_EQ(pxall::b_resetl(&w, -1), -1);
    EXPECT_EQ(w, 0x80000001u);
    EXPECT_EQ(pxall::b_resetl(&w, 31), 0);
    EXPECT_EQ(w, 1u);
}

class PathTest : public ::testing::Test {
protected:
    void SetUp() override {
        top = pxall::get_ctop_addr();
        ASSERT_NE(top, nullptr);
    }
    std::string path(int kind, int entry, const std::string& name, int* rc = nullptr) {
        char buf[pxall::kPathSize] = {};
        std::memcpy(buf, name.data(), std::min<size_t>(name.size(), 79));
        int r = pxall::get_path_name(kind, entry, buf);
        if (rc) *rc = r;
        return buf;
    }
    pxtest::TempEnv env;
    unsigned char* top = nullptr;
};

TEST_F(PathTest, DirectoryEndsAreMadeABackslash) {
    const char* dirs[] = {"C:\\DATA;", "C:\\DATA\\;", "C:\\DATA", "C:\\DATA\\"};
    for (const char* d : dirs) {
        set_field(top, pxall::ctop::kWorkDir, 64, d);
        EXPECT_EQ(path(pxall::kPathWork, -1, "SELECT.TMP"), "C:\\DATA\\SELECT.TMP") << d;
    }
}

TEST_F(PathTest, EveryKindFindsItsDirectory) {
    set_field(top, pxall::ctop::kWorkDir, 64, "C:\\WORK");
    set_field(top, pxall::ctop::kMasterDir, 64, "D:\\MST\\");
    set_field(top, pxall::ctop::kPriceDir, 64, "E:\\MST\\");
    set_field(top, pxall::ctop::kLocalPriceDir, 64, "F:\\MST\\");
    set_field(top, pxall::ctop::kProgramDir, 64, "C:\\PXDROM");
    set_field(top, pxall::ctop::kFrameWorldDir, 64, "C:\\FRW");
    set_field(top, pxall::ctop::kFrameJapanDir, 64, "C:\\FRJ");
    top[pxall::ctop::kDriveCount] = 2;
    std::memcpy(top + pxall::ctop::kDrives, "Q:R:", 4);
    std::memcpy(pxall::setup_entry_addr(0), "E1", 2);
    std::memcpy(pxall::setup_entry_addr(1), "JF", 2);

    struct Case {
        int kind, entry;
        const char* want;
    } cases[] = {
        {0, -1, "C:\\WORK\\X.DAT"},       {1, 0, "D:\\MST\\E1\\X.DAT"},   {1, -1, "D:\\MST\\X.DAT"},
        {2, -1, "E:\\MST\\X.DAT"},        {3, -1, "F:\\MST\\X.DAT"},      {4, -1, "C:\\PXDROM\\X.DAT"},
        {5, 1, "R:\\X.DAT"},              {6, 0, "C:\\FRW\\E1\\X.DAT"},   {7, -1, "C:\\FRJ\\X.DAT"},
        {7, 1, "C:\\FRJ\\JF\\X.DAT"},
    };
    for (const Case& c : cases) {
        int rc = 99;
        EXPECT_EQ(path(c.kind, c.entry, "X.DAT", &rc), c.want) << c.kind << "/" << c.entry;
        EXPECT_EQ(rc, 0);
    }
}

TEST_F(PathTest, UnusableKindsAndEntriesLeaveTheNameAlone) {
    int rc = 99;
    EXPECT_EQ(path(pxall::kPathWork, -1, "A.TMP", &rc), "A.TMP");  // empty directory
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(path(8, -1, "A.TMP", &rc), "A.TMP");
    EXPECT_EQ(rc, 0);
    // A drive beyond the drive list or a set-up entry beyond the table is
    // refused rather than read.
    set_field(top, pxall::ctop::kMasterDir, 64, "D:\\MST");
    top[pxall::ctop::kDriveCount] = 1;
    std::memcpy(top + pxall::ctop::kDrives, "Q:", 2);
    EXPECT_EQ(path(pxall::kPathCdDrive, 1, "A", &rc), "A");
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(path(pxall::kPathCdDrive, -1, "A", &rc), "A");
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(path(pxall::kPathMaster, 30, "A", &rc), "A");
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(path(pxall::kPathMaster, -2, "A", &rc), "A");
    EXPECT_EQ(rc, -1);
}

TEST_F(PathTest, ResultOf79CharactersFitsAnd80IsRefused) {
    set_field(top, pxall::ctop::kWorkDir, 64, "C:\\WORK\\");  // 8 characters
    std::string name71(71, 'N'), name72(72, 'N');
    int rc = 99;
    EXPECT_EQ(path(0, -1, name71, &rc).size(), 79u);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(path(0, -1, name72, &rc), name72);
    EXPECT_EQ(rc, -1);
}

TEST_F(PathTest, PriceDirectoryIsTheMasterPathOnItsDrive) {
    struct Case {
        const char* master;
        const char* field;
        const char* want;
    } cases[] = {
        {"C:\\MST\\", "D", "D:\\MST\\"},
        {"C:\\MST\\", "", "C:\\MST\\"},
        {"\\MST\\", "E", "E:\\MST\\"},
        {"MST\\", "E", "E:\\MST\\"},
    };
    for (const Case& c : cases) {
        set_field(top, pxall::ctop::kMasterDir, 64, c.master);
        char buf[64] = {};
        std::strcpy(buf, c.field);
        pxall::set_path_name(buf, sizeof buf);
        EXPECT_STREQ(buf, c.want) << c.master << " " << c.field;
    }
}

TEST_F(PathTest, VbGetPathNameCopiesTheCallersLength) {
    set_field(top, pxall::ctop::kWorkDir, 64, "C:\\WORK");
    char s[100];
    std::memset(s, 'x', sizeof s);
    VbString str{s, 100};
    EXPECT_EQ(VBGetPathName(0, &str), 80);
    EXPECT_STREQ(s, "C:\\WORK\\");
    EXPECT_EQ(s[79], 0);
    EXPECT_EQ(s[80], 'x');
    char small[4];
    VbString str2{small, 4};
    EXPECT_EQ(VBGetPathName(0, &str2), 4);
    EXPECT_EQ(std::string(small, 4), "C:\\W");
}

TEST_F(PathTest, DescriptorTableClosesEveryDescriptorItOpened) {
    env.write("A.DAT", "abc");
    // Push descriptors above 31, as a windowed process has them.
    std::vector<int> filler;
    for (int i = 0; i < 40; ++i) filler.push_back(::dup(0));
    int high = pxall::open2("C:\\A.DAT", O_RDONLY, 0);
    ASSERT_GT(high, 31);
    int fd = pxall::open2("C:\\a.dat", O_RDONLY, 0);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(pxall::close2(high), 0);
    EXPECT_EQ(::fcntl(high, F_GETFD), -1);  // really closed
    int other = ::dup(0);
    EXPECT_EQ(pxall::close2(other), 0);     // not ours: left open
    EXPECT_NE(::fcntl(other, F_GETFD), -1);
    EXPECT_EQ(pxall::closeall2(), 0);
    EXPECT_EQ(::fcntl(fd, F_GETFD), -1);
    EXPECT_EQ(*pxall::handle_flag(), 0u);
    EXPECT_EQ(pxall::open2("C:\\MISSING.DAT", O_RDONLY, 0), -1);
    ::close(other);
    for (int f : filler) ::close(f);
}

TEST_F(PathTest, LowDescriptorsShowInTheMask) {
    env.write("A.DAT", "abc");
    int fd = pxall::open2("C:\\A.DAT", O_RDONLY, 0);
    ASSERT_GE(fd, 0);
    if (fd < 32) {
        EXPECT_NE(*pxall::handle_flag() & (1u << fd), 0u);
    }
    EXPECT_EQ(pxall::close2(fd), 0);
    EXPECT_EQ(*pxall::handle_flag(), 0u);
}

}  // namespace
