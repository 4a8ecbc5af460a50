// The group operations that take part names from the catalogue, on a small
// installed data set E1 whose part-name file HINM01.DAT is written here from
// the stored layout.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "pxall/blocks.h"
#include "pxall/group_layout.h"
#include "pxall/groups.h"
#include "pxall/keyed_layout.h"
#include "support/temp_env.h"

namespace {

namespace gf = pxall::grpfile;
namespace kl = pxall::keyed;

std::string pad(const std::string& s, size_t n) {
    std::string out = s.substr(0, n);
    out.resize(n, ' ');
    return out;
}

struct PartName {
    const char* pnc;
    const char* name;
};
const std::vector<PartName> kParts = {
    {"04465A", "PAD KIT, DISC BRAKE, FRONT"},
    {"15601A", "ELEMENT, OIL FILTER"},
    {"17801A", "ELEMENT, AIR CLEANER FILTER"},
    {"90341A", "PLUG, DRAIN"},
};

std::string master_entry(const char* name, uint8_t mask, uint8_t rec_len, uint8_t levels, uint8_t blocks = 1) {
    std::string e(kl::ment::kSize, '\0');
    e.replace(kl::ment::kName, 10, name);
    e[kl::ment::kFileId] = 7;
    e[kl::ment::kMask] = static_cast<char>(mask);
    e[kl::ment::kKeyLen] = 6;
    e[kl::ment::kKeySets] = 1;
    e[kl::ment::kBlocks] = static_cast<char>(blocks);
    e[kl::ment::kRecLen] = static_cast<char>(rec_len);
    e[kl::ment::kLevels] = static_cast<char>(levels);
    e[kl::ment::kLocation] = kl::kOnDisk;
    e.replace(kl::ment::kDataSet, 2, "E1");
    return e;
}

class GroupsCatalogTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsigned char* top = pxall::get_ctop_addr();
        pxtest::set_field(top, pxall::ctop::kMasterDir, pxall::ctop::kDirSize, "C:\\MST");
        pxtest::set_field(top, pxall::ctop::kDataLangCode, 3, "01");
        unsigned char* e = pxall::setup_entry_addr(0);
        std::memcpy(e, "E101202401150000", 16);
        pxall::put_i32(top + pxall::ctop::kSetupCount, 1);
        pxall::put_i32(top + pxall::ctop::kAreaIndex, 0);
        pxall::put_i32(pxall::get_ccar_addr() + pxall::ccar::kSetupIndex, 0);

        // One index level of one block over one data block; the entries of
        // levels 2 and 3 stand there empty.
        std::string header(kl::mhdr::kSize, '\0');
        header.replace(kl::mhdr::kCdDate, 8, "20240115");
        header.replace(kl::mhdr::kDirName, 2, "E1");
        env.write("MST/E1/PXROOTMF.MST", header + master_entry("HINM01.IA1", kl::kMaskNotBelow, 15, 1) +
                                             master_entry("HINM01.IA2", kl::kMaskNotBelow, 15, 2, 0) +
                                             master_entry("HINM01.IA3", kl::kMaskNotBelow, 15, 3, 0) +
                                             master_entry("HINM01.DAT", kl::kMaskEqual, 66, 1));
        std::string data(kl::kBlockSize, '\0');
        for (size_t i = 0; i < kParts.size(); ++i)
            data.replace(66 * i, 66, pad(kParts[i].pnc, 6) + pad(kParts[i].name, 60));
        env.write("MST/E1/HINM01.DAT", data);
        std::string index(kl::kBlockSize, '\0');
        index.replace(0, 15, std::string(kParts.back().pnc) + "000000001");
        env.write("MST/E1/HINM01.IA", index);

        VBInitGrpTmp();
        hwnd = plat::register_control(&box);
    }
    void TearDown() override {
        VBTermGrpTmp();
        plat::unregister_control(hwnd);
    }
    // A group in the work table with these codes.
    void group(const char* code, const std::vector<std::string>& pncs) {
        ASSERT_EQ(VBSetGrpCd(code, "Group"), 0);
        unsigned char* g = pxall::search_grptmp(code);
        for (size_t i = 0; i < pncs.size(); ++i) std::memcpy(g + pxall::grpitem::kSlots + 6 * i, pncs[i].data(), 6);
    }
    std::string slots_of(const char* code) {
        const unsigned char* g = pxall::search_grptmp(code);
        return std::string(reinterpret_cast<const char*>(g + pxall::grpitem::kSlots), gf::kRecordSize);
    }
    static std::string line(const char* pnc, const char* name) { return pad(pnc, 6) + "  " + pad(name, 60); }

    pxtest::TempEnv env;
    plat::MemoryListBox box;
    int32_t hwnd = 0;
};

TEST_F(GroupsCatalogTest, PartNameLinesOfAGroup) {
    group("SRV", {"15601A", "99999X", "90341A"});
    for (int16_t first_of_area : {0, 1}) {
        SCOPED_TRACE(first_of_area);
        box.lb_reset();
        int16_t flag = first_of_area;
        ASSERT_EQ(VBMakeListGrpPnc("SRV", hwnd, &flag), 0);
        EXPECT_EQ(flag, 0);
        // Stops at the first free slot; a code the catalogue lacks has a blank name.
        EXPECT_EQ(box.lines(), (std::vector<std::string>{line("15601A", "ELEMENT, OIL FILTER"), line("99999X", ""),
                                                         line("90341A", "PLUG, DRAIN")}));
        EXPECT_EQ(box.lines()[0].size(), 68u);
    }

    int16_t flag = 0;
    box.lb_reset();
    EXPECT_EQ(VBMakeListGrpPnc("ZZZ", hwnd, &flag), 0);
    EXPECT_EQ(flag, 1);
    EXPECT_TRUE(box.lines().empty());

    // No area to take the first data set from.
    pxall::put_i32(pxall::get_ctop_addr() + pxall::ctop::kAreaIndex, -1);
    flag = 1;
    EXPECT_EQ(VBMakeListGrpPnc("SRV", hwnd, &flag), 14);
    auto lines = env.log_lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("PXSUBG02,VBMakeListGrpPnc,GetAreaChar,(14)", 0), 0u) << lines[0];
}

TEST_F(GroupsCatalogTest, MissingPartNameFileIsLoggedAndReturned) {
    group("SRV", {"15601A"});
    std::remove((env.root() + "/MST/E1/PXROOTMF.MST").c_str());
    int16_t flag = 0;
    int32_t rc = VBMakeListGrpPnc("SRV", hwnd, &flag);
    EXPECT_NE(rc, 0);
    auto lines = env.log_lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().rfind("PXSUBG02,VBMakeListGrpPnc,cdopen,", 0), 0u) << lines.back();
}

TEST_F(GroupsCatalogTest, AddingCodesToAGroup) {
    group("BRK", {});
    int16_t index = -1;
    ASSERT_EQ(VBSetGrpPnc(hwnd, "BRK", "04465A", &index), 0);
    EXPECT_EQ(index, 0);
    index = -1;
    ASSERT_EQ(VBSetGrpPnc(hwnd, "BRK", "17801A", &index), 0);
    EXPECT_EQ(slots_of("BRK").substr(0, 18), "04465A17801A      ");
    EXPECT_EQ(box.lines(), (std::vector<std::string>{line("04465A", "PAD KIT, DISC BRAKE, FRONT"),
                                                     line("17801A", "ELEMENT, AIR CLEANER FILTER")}));

    // An explicit slot replaces that code and its line.
    index = 0;
    ASSERT_EQ(VBSetGrpPnc(hwnd, "BRK", "90341A", &index), 0);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(slots_of("BRK").substr(0, 12), "90341A17801A");
    EXPECT_EQ(box.lines()[0], line("90341A", "PLUG, DRAIN"));
    EXPECT_EQ(box.lines().size(), 2u);

    // A code the catalogue lacks is reported in the index and not stored.
    index = -1;
    ASSERT_EQ(VBSetGrpPnc(hwnd, "BRK", "99999X", &index), 0);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(slots_of("BRK").substr(12, 6), "      ");

    // Places outside the group.
    for (int16_t bad : {int16_t(100), int16_t(-2), int16_t(32767)}) {
        index = bad;
        ASSERT_EQ(VBSetGrpPnc(hwnd, "BRK", "15601A", &index), 0);
        EXPECT_EQ(static_cast<uint16_t>(index), 65535u);
    }
    // An unknown group: nothing.
    index = -1;
    EXPECT_EQ(VBSetGrpPnc(hwnd, "ZZZ", "15601A", &index), 0);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(box.lines().size(), 2u);
}

TEST_F(GroupsCatalogTest, FullGroupTakesNoMoreCodes) {
    std::vector<std::string> full(100, "15601A");
    group("ALL", full);
    int16_t index = -1;
    ASSERT_EQ(VBSetGrpPnc(hwnd, "ALL", "04465A", &index), 0);
    EXPECT_EQ(static_cast<uint16_t>(index), 65535u);
    EXPECT_EQ(slots_of("ALL"), [] {
        std::string s;
        for (int i = 0; i < 100; ++i) s += "15601A";
        return s;
    }());
}

TEST_F(GroupsCatalogTest, PartNamesOfAGroupFromTheFiles) {
    group("SRV", {"15601A", "99999X", "90341A"});
    group("NON", {});
    ASSERT_EQ(VBwrite_group_file(), 0);

    std::vector<char> table(100 * 66, '#');
    ASSERT_EQ(pxall::g_pnc_f_read("SRV", table.data()), 0);
    EXPECT_EQ(std::string(table.data(), 66), pad("15601A", 6) + pad("ELEMENT, OIL FILTER", 60));
    EXPECT_EQ(std::string(table.data() + 66, 66), std::string(66, '#'));  // not in the catalogue: left as it was
    EXPECT_EQ(std::string(table.data() + 132, 66), pad("90341A", 6) + pad("PLUG, DRAIN", 60));
    EXPECT_EQ(std::string(table.data() + 198, 66), std::string(66, '#'));

    EXPECT_EQ(pxall::g_pnc_f_read("NON", table.data()), -1);  // no codes
    EXPECT_EQ(pxall::g_pnc_f_read("XYZ", table.data()), -1);  // not a group

    // The part-code file ends before the group's record.
    std::string codes = env.read("MST/PXGRPPNC.D");
    env.write("MST/PXGRPPNC.D", codes.substr(0, 300));
    EXPECT_EQ(pxall::g_pnc_f_read("SRV", table.data()), 14);
    auto lines = env.log_lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("PXSUBG01,g_pnc_f_read,fread,(14)(0)", 0), 0u) << lines[0];
}

}  // namespace
