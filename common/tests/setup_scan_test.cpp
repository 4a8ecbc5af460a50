#include "pxall/setup_scan.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/drives.h"
#include "pxall/blocks.h"
#include "support/temp_env.h"

namespace {

using pxtest::TempEnv;
using Names = std::vector<std::string>;

// A 32-byte root master header: CD date, set-up date and time, directory
// name, CD number, language digit.
std::string header(const std::string& dir, const std::string& cd_date, const std::string& cd_no, char lang) {
    std::string h(32, '\0');
    h.replace(0, 8, cd_date);
    h.replace(8, 8, "20240201");
    h.replace(16, 6, "101500");
    h.replace(22, 2, dir);
    h.replace(24, 2, cd_no);
    h[26] = lang;
    return h;
}

class SetupScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        pxtest::set_field(top(), pxall::ctop::kMasterDir, pxall::ctop::kDirSize, "C:\\MST");
    }
    unsigned char* top() { return pxall::get_ctop_addr(); }

    // A catalogue data set under host folder `base` (relative to the root).
    void catalogue(const std::string& base, const std::string& name, bool shamei = true, bool imagef = false,
                   const std::string& cd_date = "20240115") {
        env_.write(base + "/" + name + "/PXROOTMF.MST", header(name, cd_date, "0" + name.substr(1, 1), '1'));
        if (shamei) env_.write(base + "/" + name + "/SHAMEI.DAT", "x");
        if (imagef) env_.write(base + "/" + name + "/IMAGEF.DAT", "x");
    }
    void frame(const std::string& base, const std::string& name, bool frkata) {
        env_.write(base + "/" + name + "/PXFRNOMF.MST", header(name, "20230901", "F1", '2'));
        if (frkata) env_.write(base + "/" + name + "/FRKATA.DAT", "x");
    }

    int32_t count() { return pxall::get_i32(top() + pxall::ctop::kSetupCount); }
    int flag() { return top()[pxall::ctop::kSetupFlag]; }
    const unsigned char* entry(int i) { return pxall::setup_entry_addr(i); }
    Names table() {
        Names n;
        for (int i = 0; i < count(); ++i) n.emplace_back(reinterpret_cast<const char*>(entry(i)), 2);
        return n;
    }
    void set_area(int32_t index) { pxall::put_i32(top() + pxall::ctop::kAreaIndex, index); }
    void set_area_drive(int area, char letter) { top()[pxall::ctop::kAreaDrives + 2 * area] = letter; }

    TempEnv env_;
};

TEST_F(SetupScanTest, FindsSortsAndFillsEntries) {
    catalogue("MST", "G1");
    catalogue("MST", "E2", true, true, "20250301");
    catalogue("MST", "E1");
    env_.write("MST/E3", "a file, not a data set");
    env_.mkdir("MST/EX");  // a letter after E is no catalogue data set
    env_.mkdir("MST/X1");
    env_.mkdir("MST/E");

    ASSERT_EQ(pxall::setuped_cd_check(), 0);
    EXPECT_EQ(table(), (Names{"E1", "E2", "G1"}));
    EXPECT_EQ(flag(), 1);

    const unsigned char* e = entry(1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(e), 12), "E202" "20250301");
    EXPECT_EQ(e[12], '0');
    EXPECT_EQ(e[13], '1');
    EXPECT_EQ(e[14], 1);  // IMAGEF.DAT present
    EXPECT_EQ(e[15], 0);
    EXPECT_EQ(entry(0)[14], 0);
    EXPECT_EQ(entry(3)[0], 0);
    EXPECT_TRUE(env_.log_lines().empty());
}

TEST_F(SetupScanTest, FrameNumberDataSets) {
    pxtest::set_field(top(), pxall::ctop::kFrameWorldDir, pxall::ctop::kDirSize, "C:\\FRW\\");
    pxtest::set_field(top(), pxall::ctop::kFrameJapanDir, pxall::ctop::kDirSize, "C:\\FRJ");
    catalogue("MST", "J1");
    catalogue("MST", "E1");
    frame("FRW", "EF", true);
    frame("FRW", "G5", false);  // only E in the world directory
    frame("FRJ", "JG", false);
    frame("FRJ", "EH", false);  // only J in the Japan directory

    ASSERT_EQ(pxall::setuped_cd_check(), 0);
    EXPECT_EQ(table(), (Names{"E1", "EF", "J1", "JG"}));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry(1)), 12), "EFF1" "20230901");
    EXPECT_EQ(entry(1)[13], '2');
    EXPECT_EQ(entry(1)[14], 1);  // FRKATA.DAT present
    EXPECT_EQ(entry(3)[14], 0);
}

TEST_F(SetupScanTest, AreaWithoutCarNamesIsLeftOut) {
    catalogue("MST", "E1", /*shamei=*/false);
    catalogue("MST", "E2");
    catalogue("MST", "G1");
    catalogue("MST", "G2", /*shamei=*/false);  // only the first data set is checked
    ASSERT_EQ(pxall::setuped_cd_check(), 0);
    EXPECT_EQ(table(), (Names{"G1", "G2"}));
    EXPECT_EQ(flag(), 1);
}

TEST_F(SetupScanTest, InstalledFlagRule) {
    pxtest::set_field(top(), pxall::ctop::kFrameWorldDir, pxall::ctop::kDirSize, "C:\\FRW");
    frame("FRW", "EF", false);
    env_.mkdir("MST");
    set_area(0);
    ASSERT_EQ(pxall::setuped_cd_check(), 0);
    EXPECT_EQ(table(), Names{"EF"});
    EXPECT_EQ(flag(), 0);  // frame-number data only

    catalogue("MST", "U1");
    ASSERT_EQ(pxall::setuped_cd_check(), 0);
    EXPECT_EQ(flag(), 1);

    set_area(-1);
    ASSERT_EQ(pxall::setuped_cd_check(), 0);
    EXPECT_EQ(table(), (Names{"EF", "U1"}));
    EXPECT_EQ(flag(), 0);
}

TEST_F(SetupScanTest, AreaMasterDrive) {
    env_.map_drive('D', "ddrive", plat::kDriveFixed);
    catalogue("ddrive/MST", "G1", true, true);
    catalogue("MST", "G2");  // on C:, not G's drive
    catalogue("MST", "E1");
    set_area_drive(1, 'D');
    set_area_drive(0, 'C');
    ASSERT_EQ(pxall::setuped_cd_check(), 0);
    EXPECT_EQ(table(), (Names{"E1", "G1"}));
    EXPECT_EQ(entry(1)[14], 1);

    // A drive that does not exist ends the scan at its listing.
    set_area_drive(2, 'Q');
    EXPECT_EQ(pxall::setuped_cd_check(), 12);
    EXPECT_EQ(env_.log_lines(), Names{"PXSUBS01,setuped_cd_check,Q:\\MST\\*.,(12)(3)(1)"});
    EXPECT_EQ(table(), (Names{"E1", "G1"}));  // the table is not touched
}

TEST_F(SetupScanTest, EmptyInstallations) {
    ASSERT_EQ(pxall::setuped_cd_check(), 12);  // C:\MST does not exist
    env_.mkdir("MST");
    ASSERT_EQ(pxall::setuped_cd_check(), 0);
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(flag(), 0);

    // A drive root lists no "." entries: nothing at all matches, and that is no error.
    env_.map_drive('R', "rdrive", plat::kDriveFixed);
    pxtest::set_field(top(), pxall::ctop::kMasterDir, pxall::ctop::kDirSize, "R:\\");
    EXPECT_EQ(pxall::setuped_cd_check(), 0);
    EXPECT_EQ(count(), 0);
}

TEST_F(SetupScanTest, StaleEntriesAreCleared) {
    for (int i = 0; i < 30; ++i) std::memset(pxall::setup_entry_addr(i), 'Z', 16);
    pxall::put_i32(top() + pxall::ctop::kSetupCount, 30);
    top()[pxall::ctop::kSetupFlag] = 1;
    catalogue("MST", "J1");
    ASSERT_EQ(pxall::setuped_cd_check(), 0);
    EXPECT_EQ(table(), Names{"J1"});
    for (int i = 1; i < 30; ++i)
        for (int b = 0; b < 16; ++b) ASSERT_EQ(entry(i)[b], 0) << i << "," << b;
}

TEST_F(SetupScanTest, TakesAtMostThirtyNames) {
    for (char area : std::string("EGUJ"))
        for (char d = '0'; d <= '9'; ++d) catalogue("MST", std::string{area, d});
    ASSERT_EQ(pxall::setuped_cd_check(), 0);
    ASSERT_EQ(count(), 30);
    Names t = table();
    // The areas are listed in order, so J's data sets are the ones left over.
    for (int i = 0; i < 30; ++i) {
        const std::string want{"EGU"[i / 10], static_cast<char>('0' + i % 10)};
        EXPECT_EQ(t[i], want) << i;
    }
}

TEST_F(SetupScanTest, DefectiveRootMasterFiles) {
    catalogue("MST", "E1");
    catalogue("MST", "E2");
    catalogue("MST", "G1");
    env_.write("MST/E2/PXROOTMF.MST", std::string(31, '2'));
    set_area(0);
    EXPECT_EQ(pxall::setuped_cd_check(), 14);
    EXPECT_EQ(env_.log_lines(), Names{"PXSUBS01,setuped_cd_check,C:\\MST\\E2\\PXROOTMF.MST,(14)(0)(3)"});
    // The entries filled before stay, and the count says so.
    EXPECT_EQ(table(), Names{"E1"});
    EXPECT_EQ(entry(1)[0], 0);
    EXPECT_EQ(flag(), 1);

    std::remove(env_.host("C:\\MST\\E2\\PXROOTMF.MST").c_str());
    EXPECT_EQ(pxall::setuped_cd_check(), 11);
    EXPECT_EQ(env_.log_lines().back(), "PXSUBS01,setuped_cd_check,C:\\MST\\E2\\PXROOTMF.MST,(11)(2)(2)");
    EXPECT_EQ(table(), Names{"E1"});

    // A data set of frame numbers without its master file.
    env_.write("MST/E2/PXROOTMF.MST", header("E2", "20240115", "02", '1'));
    pxtest::set_field(top(), pxall::ctop::kFrameJapanDir, pxall::ctop::kDirSize, "C:\\FRJ");
    env_.mkdir("FRJ/JF");
    EXPECT_EQ(pxall::setuped_cd_check(), 11);
    EXPECT_EQ(env_.log_lines().back(), "PXSUBS01,setuped_cd_check,C:\\FRJ\\JF\\PXFRNOMF.MST,(11)(2)(2)");
    EXPECT_EQ(table(), (Names{"E1", "E2", "G1"}));
}

TEST_F(SetupScanTest, NoSharedArea) {
    pxall::free_table();
    EXPECT_EQ(pxall::setuped_cd_check(), 12);
}

}  // namespace

namespace {

// Sets set aside by a set-up (half removed, or with nothing left but a
// file) are never listed and never stop the scan before the frame-number
// sets; the start-up sweep takes only the names the set-up makes.
TEST_F(SetupScanTest, SetsSetAsideAreSkippedAndOnlyTheyGoAtStartUp) {
    pxtest::set_field(top(), pxall::ctop::kFrameWorldDir, pxall::ctop::kDirSize, "C:\\FRW");
    catalogue("MST", "E1");
    frame("FRW", "EF", true);
    env_.write("MST/$E2/FIGIND.DAT", "half removed");
    env_.write("MST/$E3~/SHAMEI.DAT", "x");
    env_.write("FRW/$EG/FRKATA.DAT", "x");
    env_.write("MST/$NOTES/KEEP.TXT", "the dealer's");
    env_.write("MST/$E4.OLD/KEEP.TXT", "the dealer's");
    ASSERT_EQ(pxall::setuped_cd_check(), 0);
    EXPECT_EQ(table(), (Names{"E1", "EF"}));

    pxall::remove_building_leftovers();
    for (const char* gone : {"MST/$E2", "MST/$E3~", "FRW/$EG"}) EXPECT_FALSE(env_.exists(gone)) << gone;
    for (const char* kept : {"MST/$NOTES/KEEP.TXT", "MST/$E4.OLD/KEEP.TXT", "MST/E1/PXROOTMF.MST", "FRW/EF/FRKATA.DAT"})
        EXPECT_TRUE(env_.exists(kept)) << kept;
    EXPECT_TRUE(env_.log_lines().empty());

    // A folder inside is none the set-up made: the set aside stays, logged,
    // and is tried again at the next start-up.
    env_.write("MST/$E2/FIGIND.DAT", "x");
    env_.mkdir("MST/$E2/INSIDE");
    pxall::remove_building_leftovers();
    EXPECT_TRUE(env_.exists("MST/$E2/INSIDE"));
    EXPECT_FALSE(env_.exists("MST/$E2/FIGIND.DAT"));
    auto log = env_.log_lines();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("PXSUBS01,remove_building_leftovers,", 0), 0u) << log[0];
    EXPECT_NE(log[0].find("$E2,(16)"), std::string::npos) << log[0];
    ASSERT_EQ(pxall::setuped_cd_check(), 0);
    EXPECT_EQ(table(), (Names{"E1", "EF"}));
}

}  // namespace
