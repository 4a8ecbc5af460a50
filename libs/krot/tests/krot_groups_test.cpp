// The user part-group route.
#include <gtest/gtest.h>

#include "krot/krot.h"
#include "pxall/group_layout.h"
#include "pxall/groups.h"
#include "krot_fixture.h"

namespace {

using namespace krottest;
namespace gf = pxall::grpfile;

class GroupsTest : public CatalogTest {
protected:
    void SetUp() override { pxtest::set_field(pxall::get_ctop_addr(), pxall::ctop::kMasterDir, 64, "C:\\MST"); }
    void TearDown() override { VBTermGrpTmp(); }
    // The two group files with these groups (code, name).
    void groups(const std::vector<std::pair<std::string, std::string>>& g) {
        std::string names(gf::kNameFileSize, '\0'), codes(gf::kCodeFileSize, '\0');
        names[0] = static_cast<char>(g.size() & 0xff);
        names[1] = static_cast<char>(g.size() >> 8);
        for (size_t i = 0; i < g.size(); ++i) {
            names.replace(gf::slot_offset(static_cast<int>(i) + 1), gf::kSlotSize, pad(g[i].first, 3) + pad(g[i].second, 60));
            codes.replace(gf::record_offset(static_cast<int>(i) + 1), 6, "15601A");
        }
        k.env().write("MST/PXGRPMEI.D", names);
        k.env().write("MST/PXGRPPNC.D", codes);
    }
    int16_t load(const char* code) {
        VBKgrlSetGroupCode(code);
        int16_t status = -1;
        EXPECT_EQ(VBKgrlLoad(&status), 0);
        return status;
    }
};

TEST_F(GroupsTest, LoadLooksTheStoredCodeUp) {
    groups({{"SRV", "SERVICE PARTS"}, {"BRK", "BRAKES, FRONT AND REAR"}});
    std::memcpy(pxall::get_cnexta_addr() + pxall::cnexta::kGroupName, std::string(60, '#').data(), 60);
    EXPECT_EQ(load("***"), 0);
    EXPECT_EQ(block_bytes(pxall::cnexta::kGroupName, 60), std::string(60, '#')) << "no look-up for ***";
    EXPECT_EQ(load("BRKXYZ"), 0);
    EXPECT_EQ(block_bytes(pxall::cnexta::kGroupCode, 3), "BRK");
    EXPECT_EQ(block_bytes(pxall::cnexta::kGroupName, 60), pad("BRAKES, FRONT AND REAR", 60));
    EXPECT_EQ(load("S"), 2);
    EXPECT_EQ(block_bytes(pxall::cnexta::kGroupCode, 3), "S  ");
    // Each load reads the files afresh: the table never holds a group twice.
    EXPECT_EQ(VBGetGrpNum(), 2);
}

TEST_F(GroupsTest, NoGroupAtAll) {
    groups({});
    EXPECT_EQ(load("***"), 1);
    EXPECT_EQ(load("SRV"), 1);
}

TEST_F(GroupsTest, SelectedLineGoesIntoTheBlockAndBackOut) {
    box.lb_add("  SRV     " + pad("SERVICE PARTS", 60));
    box.lb_add("  BRK     " + pad("BRAKES", 60));
    int16_t status = -1;
    EXPECT_EQ(VBKgrlSelectGroup(list, &status), 0);
    EXPECT_EQ(status, 1);
    box.lb_set_sel(1, true);
    EXPECT_EQ(VBKgrlSelectGroup(list, &status), 0);
    EXPECT_EQ(status, 0);
    char code[3], name[70];
    VbString c{code, 3}, n{name, 70};
    std::memset(name, '#', sizeof name);
    VBKgrpGetGroup(&c, &n);
    EXPECT_EQ(std::string(code, 3), "BRK");
    EXPECT_EQ(std::string(name, 60), pad("BRAKES", 60));
    EXPECT_EQ(std::string(name + 60, 10), std::string(10, '\0'));
    char short_name[5];
    VbString s{short_name, 5};
    VBKgrpGetGroup(&c, &s);
    EXPECT_EQ(std::string(short_name, 5), "BRAKE");
}

}  // namespace
