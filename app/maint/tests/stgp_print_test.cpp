// The group list on the recording printer, from group files written here and
// a scripted group-print helper.
#include <cstring>

#include "maint/maint_entries.h"
#include "maint/stgp.h"
#include "platform/clock.h"
#include "pxall/group_layout.h"
#include "shell/stack.h"
#include "support/fixture.h"
#include "support/group_fake.h"

namespace pxtest {
namespace {

namespace gf = pxall::grpfile;
namespace lib = px::maint::lib;
using px::maint::Stgp;

int16_t g_fail_on = 0;  // VBGetPncmei fails with this code at the first call (0: never)

int32_t fake_paths(char* names, char* codes) {
    std::strcpy(names, "C:\\PXGRPMEI.D");
    std::strcpy(codes, "C:\\PXGRPPNC.D");
    return 0;
}
int16_t fake_check_null(const char* code) {
    size_t n = strnlen(code, 3);
    for (size_t i = 0; i < n; ++i)
        if (code[i] != ' ') return 0;
    return 1;
}
int16_t fake_pncmei(const char* pnc, char* name, int32_t* flag) {
    if (g_fail_on != 0) return g_fail_on;
    std::string p(pnc, strnlen(pnc, 6));
    if (p.find_first_not_of(' ') == std::string::npos) {
        *flag = 1;
        return 0;
    }
    std::string n = "NAME " + p;
    std::memcpy(name, n.data(), n.size());
    *flag = 0;
    return 0;
}

class StgpPrintTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(start());
        install_group_fake();
        lib::VBGet_GrpFName.entry().set_address(reinterpret_cast<void*>(&fake_paths));
        lib::VBCheckNull.entry().set_address(reinterpret_cast<void*>(&fake_check_null));
        lib::VBGetPncmei.entry().set_address(reinterpret_cast<void*>(&fake_pncmei));
        g_fail_on = 0;
        printer.dpi = 1440;  // printer pixels are twips
        plat::fix_clock(2026, 3, 7, 10, 0, 0);
    }
    void TearDown() override {
        plat::unfix_clock();
        ProgramTest::TearDown();
        remove_group_fake();
        for (px::EntryPoint* e : {&lib::VBGet_GrpFName.entry(), &lib::VBCheckNull.entry(), &lib::VBGetPncmei.entry()})
            e->set_address(nullptr);
    }
    // The two group files with these groups (code, name, number of codes).
    void write_groups(const std::vector<std::tuple<std::string, std::string, int>>& groups) {
        std::string names(gf::kNameFileSize, '\0'), codes(gf::kCodeFileSize, '\0');
        names[0] = static_cast<char>(groups.size());
        int k = 1;
        for (const auto& [code, name, n] : groups) {
            std::string slot = code + name;
            slot.resize(gf::kSlotSize, ' ');
            names.replace(gf::slot_offset(k), gf::kSlotSize, slot);
            std::string rec;
            for (int i = 0; i < gf::kCodesPerGroup; ++i) {
                char pnc[8];
                std::snprintf(pnc, sizeof pnc, "%c%05d", code[0], i + 1);
                rec += i < n ? std::string(pnc, 6) : std::string(6, ' ');
            }
            codes.replace(gf::record_offset(k), gf::kRecordSize, rec);
            ++k;
        }
        inst->write("PXGRPMEI.D", names);
        inst->write("PXGRPPNC.D", codes);
    }
    int32_t print() {
        px::ScrPush(px::load_form(Stgp::kName));
        settle();
        return static_cast<Stgp*>(px::loaded_form(Stgp::kName))->Stgp_Print();
    }
    int count(const std::string& call) const {
        return static_cast<int>(std::count(printer.calls.begin(), printer.calls.end(), call));
    }
    std::vector<std::string> headings() const {
        std::vector<std::string> out;
        for (const auto& c : printer.calls)
            if (c.rfind("text 3000,100:", 0) == 0) out.push_back(c.substr(14));
        return out;
    }
};

TEST_F(StgpPrintTest, FortyLinesAPageAndEveryGroupOnANewPage) {
    // 41 codes: a second page with one line; exactly 40: a page with the
    // heading block only; no codes: the heading block only.
    write_groups({{"AAA", "FIRST", 41}, {"BBB", "SECOND", 40}, {"CCC", "THIRD", 0}});
    ASSERT_EQ(print(), 0);
    EXPECT_EQ(count("landscape 1"), 1);
    EXPECT_EQ(count("font Courier New 9"), 5);
    EXPECT_EQ(count("style 1 0 0"), 5);
    EXPECT_EQ(count("page"), 4);
    EXPECT_EQ(count("end"), 1);
    const std::string title = "USER PART GROUP LIST" + std::string(37, ' ');
    std::vector<std::string> expected;
    for (const char* page : {"001", "002", "003", "004", "005"})
        expected.push_back(title + "   Date:07/03/26   Page:" + page);
    EXPECT_EQ(headings(), expected);

    // Page by page: the code lines between the headings.
    std::vector<int> lines_per_page;
    std::vector<std::string> groups;
    for (const auto& c : printer.calls) {
        if (c.rfind("text 3000,100:", 0) == 0) lines_per_page.push_back(0);
        else if (c.find(":Group: ") != std::string::npos) groups.push_back(c.substr(c.find(":Group: ") + 8, 3));
        else if (c.rfind("text 1500,", 0) == 0 && c.find(":    ") != std::string::npos &&
                 c.find("PNC") == std::string::npos)
            ++lines_per_page.back();
    }
    EXPECT_EQ(lines_per_page, (std::vector<int>{40, 1, 40, 0, 0}));
    EXPECT_EQ(groups, (std::vector<std::string>{"AAA", "AAA", "BBB", "BBB", "CCC"}));
    const auto texts = printer.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Group: AAA   FIRST" + std::string(55, ' ')), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "    PNC      Part name" + std::string(12, ' ')), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "    A00041      NAME A00041" + std::string(49, ' ')),
              texts.end());
}

TEST_F(StgpPrintTest, StopsAtTheFirstEmptySlot) {
    write_groups({{"AAA", "FIRST", 1}, {"   ", "", 3}, {"CCC", "AFTER A GAP", 1}});
    ASSERT_EQ(print(), 0);
    EXPECT_EQ(headings().size(), 1u);
    EXPECT_EQ(count("page"), 0);
}

TEST_F(StgpPrintTest, WithoutCourierNewTheFixedPitchFaceByItsName) {
    printer.font_list = {"Arial", "Symbol"};
    write_groups({{"AAA", "FIRST", 1}});
    ASSERT_EQ(print(), 0);
    EXPECT_EQ(count("font Courier New 9"), 1);
}

TEST_F(StgpPrintTest, FailuresAreLoggedAndTheJobThrownAway) {
    write_groups({{"AAA", "FIRST", 3}});
    g_fail_on = 11;
    EXPECT_EQ(print(), 11);
    EXPECT_EQ(count("kill"), 1);
    EXPECT_EQ(count("end"), 0);
    auto log = inst->log_lines();
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("Stgp_Print"), std::string::npos) << log.back();
    EXPECT_NE(log.back().find("VBGetPncmei"), std::string::npos) << log.back();

    inst->remove("PXGRPPNC.D");  // a file that cannot be opened
    g_fail_on = 0;
    printer.calls.clear();
    EXPECT_EQ(print(), 53);
    EXPECT_NE(inst->log_lines().back().find("OnErrorTrap"), std::string::npos) << inst->log_lines().back();
}

}  // namespace
}  // namespace pxtest
