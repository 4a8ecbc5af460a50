// The demo installation, read the way the program reads it: the drive table
// and the environment file, the scan of installed data sets, then catalogue
// files from the full copy, from the master-only data set and its CD, the
// frame-number set, prices and abbreviations.
#include <gtest/gtest.h>

#include "pxbuild/demo_vehicle_info.h"

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/drives.h"
#include "pxall/abbrev.h"
#include "pxall/blocks.h"
#include "pxall/cdrom.h"
#include "pxall/env.h"
#include "pxall/keyed_layout.h"
#include "pxall/price_file.h"
#include "pxbuild/demo_install.h"
#include "support/keyed_fixture.h"

namespace fs = std::filesystem;

namespace {

using namespace pxall;

class DemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = k.env().root() + "/demo";
        auto sum = pxbuild::write_demo(folder);
        EXPECT_EQ(sum.catalogs, 5);
        std::string error;
        ASSERT_TRUE(plat::load_drive_table(folder + "/c/PXDROM/PXDRIVES.SYS", &error)) << error;
        fs::current_path(folder + "/c/PXDROM");
        ASSERT_EQ(kankyo_set(), 0);
    }
    int index_of(const char* name) {
        for (int i = 0; i < get_i32(get_ctop_addr() + ctop::kSetupCount); ++i)
            if (std::memcmp(setup_entry_addr(i), name, 2) == 0) return i;
        return -1;
    }
    pxtest::KeyedEnv k;
    std::string folder;
};

TEST_F(DemoTest, TheScanFindsBothCdsAndTheFrameNumberSet) {
    ASSERT_EQ(index_of("E1"), 0);
    ASSERT_EQ(index_of("E2"), 1);
    EXPECT_GE(index_of("EF"), 2);
    EXPECT_EQ(setup_entry_addr(0)[setup_entry::kPictureFlag], 1) << "E1 is a full copy";
    EXPECT_EQ(setup_entry_addr(1)[setup_entry::kPictureFlag], 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(setup_entry_addr(1)), 12), "E2A220240115");
}

TEST_F(DemoTest, CatalogueFilesReadFromDiskMasterAndCd) {
    CdHandle* h = nullptr;
    int detail = 0;
    // Car names of the area, through the second CD's shared entries.
    ASSERT_EQ(cdopen("SHAMEI.DAT", "", 1, 0, -1, 1, 0, &h, &detail), 0) << detail;
    EXPECT_EQ(pxtest::read_all(h, "6230E1", 97).size(), 1u);
    cdclose(&h, nullptr);
    // Parts of the big catalogue on disk, of a second-CD catalogue on its CD.
    ASSERT_EQ(cdopen("HINBAN.DAT", "4410A1", 7, 0, -1, 0, 0, &h, &detail), 0) << detail;
    auto parts = pxtest::read_all(h, "16400A", 256);
    EXPECT_GE(parts.size(), 12u);
    for (const auto& p : parts) EXPECT_EQ(p.substr(6, 6), "16400A");
    cdclose(&h, nullptr);
    ASSERT_EQ(cdopen("HINBAN.DAT", "6120D1", 7, 0, -1, 1, 0, &h, &detail), 0) << detail;
    EXPECT_GE(pxtest::read_all(h, "15601A", 256).size(), 1u);
    cdclose(&h, nullptr);
    // Vehicles by VIN prefix.
    ASSERT_EQ(cdopen("JOUHOU.DAT", "", 2, 0, -1, 0, 0, &h, &detail), 0) << detail;
    const std::string prefix = pxbuild::demo::vehicle_files("E1").jouhou.front().substr(6, 7);
    auto cars = pxtest::read_all(h, prefix.c_str(), 186);
    EXPECT_GE(cars.size(), 8u);
    for (const auto& c : cars) EXPECT_EQ(c.substr(6, 7), prefix);
    cdclose(&h, nullptr);
    // Frame models.
    int ef = index_of("EF");
    ASSERT_EQ(fcdopen("FRKATA.DAT", 17, 0, -1, ef, 0, &h, &detail), 0) << detail;
    EXPECT_EQ(pxtest::read_all(h, "TVN22D1    ", 2048).size(), 1u);
    cdclose(&h, nullptr);
}

TEST_F(DemoTest, TheMainFilesHaveRealIndexLevels) {
    // The level next to the data spans more than one block.
    struct Case {
        const char* master;
        const char* name;
        int key_set;
    } cases[] = {{"c/MST/E1/PX4410A1.MST", "HINBAN.IA3", 0}, {"c/MST/E1/PXROOTMF.MST", "JOUHOU.IS3", 0}};
    for (const auto& c : cases) {
        std::string m = k.env().read("demo/" + std::string(c.master));
        size_t at = m.find(c.name);
        ASSERT_NE(at, std::string::npos);
        EXPECT_GE(static_cast<unsigned char>(m[at + keyed::ment::kBlocks]), 2) << c.name;
        EXPECT_EQ(m[at + 32 + keyed::ment::kLevels], 3) << c.name;
    }
}

TEST_F(DemoTest, PricesAndAbbreviations) {
    CdHandle* h = nullptr;
    int detail = 0;
    ASSERT_EQ(kakaku_open(0, &h, &detail), 0) << detail;
    char entry[50];
    ASSERT_EQ(kakaku_read(entry, "15601YZ001A1", 12, 0, h, &detail), 0);
    EXPECT_EQ(std::string(entry + 30, 19), "ELEMENT, OIL FILTER");
    kakaku_close(&h);

    put_i32(get_ccar_addr() + ccar::kNameSetupIndex, 1);
    char abbr[] = "GLX";
    std::string out(130, ' ');
    VbString a{abbr, 3}, m{out.data(), 130};
    int16_t flag = -1;
    ASSERT_EQ(VBryak_get_mean(&a, &m, &flag), 0);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(out.substr(0, 10), "GRAND LUXE");
}

}  // namespace
