// CD identities, finding the wanted CD, files on a CD and the set-up table.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>

#include <cstring>
#include <string>
#include <vector>

#include "platform/msgbox.h"
#include "pxall/blocks.h"
#include "pxall/cdrom.h"
#include "support/keyed_fixture.h"

namespace {

using namespace pxall;

class CdDriveTest : public ::testing::Test {
protected:
    void SetUp() override {
        k.make_cd("E1", "20240115");
        k.make_cd("E2", "20240601");
        k.make_cd("G1", "20231001");
    }
    pxtest::KeyedEnv k;
};

TEST(CdMsgId, OptionsPickTheRequestMessage) {
    const int cases[][2] = {{0, 881}, {705, 881}, {700, 881}, {-1, 882}, {-3, 882}, {-2, 883}, {-4, 883}, {-5, 881}};
    for (const auto& c : cases) EXPECT_EQ(cdmsgid(c[0]), c[1]) << c[0];
}

TEST_F(CdDriveTest, ReadHeadGivesTheLabelsFirstTenCharacters) {
    k.set_cd_drives({{'E', "cd/E2"}, {'F', ""}});
    char ident[10];
    int err = -1;
    ASSERT_EQ(cdread_head(0, ident, &err), 0);
    EXPECT_EQ(std::string(ident, 10), "E220240601");
    EXPECT_EQ(cdread_head(1, ident, &err), 80);
    EXPECT_EQ(err, 21);
    EXPECT_EQ(cdread_head(-1, ident, &err), 128);
    EXPECT_EQ(cdread_head(2, ident, &err), 128) << "past the drive list";
}

TEST_F(CdDriveTest, SetCdFindsTheCdInAnyDrive) {
    k.set_cd_drives({{'E', "cd/G1"}, {'F', "cd/E2"}, {'G', ""}});
    int drive = -1, detail = 0;
    char id[2], date[8];
    ASSERT_EQ(cdset_cd(-1, "E2", "02", "20240601", &drive, id, date, 0, &detail), 0);
    EXPECT_EQ(drive, 1);
    EXPECT_EQ(std::string(id, 2), "E2");
    EXPECT_EQ(std::string(date, 8), "20240601");
    // A blank second character compares the area letter only; no date, no test.
    ASSERT_EQ(cdset_cd(-1, "G ", nullptr, nullptr, &drive, nullptr, nullptr, 0, &detail), 0);
    EXPECT_EQ(drive, 0);
    EXPECT_EQ(cdset_cd(-1, " ", nullptr, nullptr, &drive, nullptr, nullptr, 0, &detail), 128);
    EXPECT_EQ(detail, cdd::kSetNoCdId);
    EXPECT_EQ(cdset_cd(3, "E2", nullptr, nullptr, &drive, nullptr, nullptr, 0, &detail), 128);
    EXPECT_EQ(detail, cdd::kSetBadDrive);
    EXPECT_EQ(k.boxes_shown(), 0);
}

TEST_F(CdDriveTest, StarredDateTakesACdOlderThanTheFirstInstalled) {
    k.set_cd_drives({{'E', "cd/E2"}, {'F', "cd/E1"}});
    int drive = -1, detail = 0;
    EXPECT_EQ(cdset_cd(-1, "E", nullptr, "********", &drive, nullptr, nullptr, 0, &detail), 128);
    EXPECT_EQ(detail, cdd::kSetNoDataSet);
    k.add_setup("E2", "02", "20240601", false);
    ASSERT_EQ(cdset_cd(-1, "E", nullptr, "********", &drive, nullptr, nullptr, 0, &detail), 0);
    EXPECT_EQ(drive, 1) << "E1 of 20240115 is older than E2 of 20240601";
}

TEST_F(CdDriveTest, TheRequestBoxIsShownUntilCancelOrTheCd) {
    k.set_cd_drives({{'E', "cd/E1"}});
    int drive = -1, detail = 0;
    k.script_box({plat::kIdRetry, plat::kIdCancel});
    EXPECT_EQ(cdset_cd(0, "E2", "02", nullptr, &drive, nullptr, nullptr, 0, &detail), 4);
    EXPECT_EQ(k.boxes_shown(), 2);
    // Without a hook the box answers Cancel.
    plat::set_message_box_hook({});
    EXPECT_EQ(cdset_cd(-1, "E1", nullptr, "20240116", &drive, nullptr, nullptr, 0, &detail), 4);
}

TEST_F(CdDriveTest, IdentityTableHoldsElevenAtMost) {
    std::vector<std::pair<char, std::string>> drives;
    for (char c = 'D'; c < 'D' + 10; ++c) drives.push_back({c, "cd/E2"});
    k.set_cd_drives(drives);
    for (int i = 0; i < 10; ++i) {
        std::string name = "E" + std::to_string(i);
        std::string hdr(32, '\0');
        hdr.replace(0, 8, "20230101");
        hdr.replace(22, 2, name);
        k.env().write("MST/" + name + "/PXROOTMF.MST", hdr);
        k.add_setup(name, "01", "20230101", true);
    }
    std::vector<char> table(kCdIdentTableSize * kCdIdentSize);  // exactly its size
    int detail = 0;
    ASSERT_EQ(cdread_head_alldrive(table.data(), 'E', &detail), 0);
    EXPECT_EQ(std::string(table.data() + 9 * 10, 10), "E220240601");
    EXPECT_EQ(std::string(table.data() + 10 * 10, 10), "E020230101") << "one data set fits after the drives";
}

TEST_F(CdDriveTest, IdentityTableMatchesTheInstalledDataSets) {
    k.set_cd_drives({{'E', "cd/E2"}, {'F', ""}});
    std::string hdr(32, '\0');
    hdr.replace(0, 8, "20240115");
    hdr.replace(22, 2, "E1");
    k.env().write("MST/E1/PXROOTMF.MST", hdr);
    k.add_setup("E1", "01", "20240115", true);   // a full copy stands for its CD
    k.add_setup("E2", "02", "20240601", false);  // its CD is in drive E:
    k.add_setup("E3", "03", "20240901", false);  // its CD is not here
    k.add_setup("G1", "01", "20231001", true);   // another area
    int32_t list[30], count = -1;
    int detail = 0;
    ASSERT_EQ(cdmake_cdidtbl_alldrive(list, &count, &detail), 0);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(list[0], 0);
    EXPECT_EQ(list[1], 1);
    put_i32(get_ctop_addr() + ctop::kAreaIndex, -1);
    ASSERT_EQ(cdmake_cdidtbl_alldrive(list, &count, &detail), 0);
    EXPECT_EQ(count, 0) << "no area, no data sets";
}

TEST_F(CdDriveTest, FileGetGivesBlocksRoundedUp) {
    k.env().write("cd/E2/SHAMEI.DAT", std::string(2049, 'x'));
    k.env().write("cd/E2/6120D1/HINBAN.DAT", std::string(4096, 'x'));
    k.set_cd_drives({{'E', "cd/E2"}});
    int32_t blocks = -1;
    int detail = 0;
    ASSERT_EQ(cdfile_get("SHAMEI.DAT", "", 0, &detail, &blocks), 0);
    EXPECT_EQ(blocks, 2);
    ASSERT_EQ(cdfile_get("HINBAN.DAT", "6120D1", 0, &detail, &blocks), 0);
    EXPECT_EQ(blocks, 2);
    EXPECT_EQ(cdfile_get("FIGIND.DAT", "", 0, &detail, &blocks), -1);
    EXPECT_EQ(detail, 2);
    EXPECT_EQ(cdfile_get("HINBAN.DAT", "9999X9", 0, &detail, &blocks), -1);
    EXPECT_EQ(cdfile_get("SHAMEI.DAT", "", 0, &detail, nullptr), 128);
    EXPECT_EQ(detail, cdd::kFileNoLength);
    EXPECT_EQ(cdfile_get("SHAMEI.DAT", "", 4, &detail, &blocks), 128);
    EXPECT_EQ(detail, cdd::kFilePath);
}

// A name on the CD that is there but no file to read (a FIFO) cannot be
// opened; it is not a missing file, which would read as "not found".
TEST_F(CdDriveTest, FileGetRefusesAFifoAsNotOpenable) {
    k.env().mkdir("cd/E2");
    ASSERT_EQ(::mkfifo((k.env().root() + "/cd/E2/SHAMEI.DAT").c_str(), 0644), 0);
    k.set_cd_drives({{'E', "cd/E2"}});
    int32_t blocks = -1;
    int detail = 0;
    EXPECT_EQ(cdfile_get("SHAMEI.DAT", "", 0, &detail, &blocks), 11);
    EXPECT_EQ(detail, EACCES);
}

TEST_F(CdDriveTest, SetupTableLookUps) {
    k.add_setup("EF", "11", "20240101", true);
    k.add_setup("E1", "01", "20240115", true);
    k.add_setup("E2", "02", "20240601", false);
    k.add_setup("JG", "21", "20240101", true);
    k.add_setup("J1", "01", "20240301", true);
    EXPECT_EQ(setuped_top_cdno('E'), 1) << "EF is a frame-number data set";
    EXPECT_EQ(setuped_top_fcdno('E'), 0);
    EXPECT_EQ(setuped_top_cdno('J'), 4);
    EXPECT_EQ(setuped_top_fcdno('J'), 3);
    EXPECT_EQ(setuped_top_cdno('U'), -1);
    EXPECT_EQ(setuped_top_cdno(' '), -1);
    char no[2] = {};
    EXPECT_EQ(setuped_cdno1_to_cdno2("E2", no), 2);
    EXPECT_EQ(std::string(no, 2), "02");
    EXPECT_EQ(setuped_cdno1_to_cdno2("G1", nullptr), -1);
    char name[2] = {};
    EXPECT_EQ(setuped_cdno2_to_cdno1('J', name, "01"), 4);
    EXPECT_EQ(std::string(name, 2), "J1");
    EXPECT_EQ(setuped_cdno2_to_cdno1('\0', name, "01"), -1);
    int32_t index = -1, found = -1;
    ASSERT_EQ(make_setuped_top_cdid_table(&index, &found), 0);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(index, 1);
    put_i32(get_ctop_addr() + ctop::kAreaIndex, -1);
    ASSERT_EQ(make_setuped_top_cdid_table(&index, &found), 0);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(make_setuped_top_cdid_table(nullptr, &found), -1);
}

}  // namespace
