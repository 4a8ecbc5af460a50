// The applicability search on the demo installation.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/controls.h"
#include "pxall/part_records.h"
#include "pxbuild/demo_data.h"
#include "support/parts_fixture.h"
#include "teki/teki.h"
#include "teki/teki_layout.h"

namespace {

using namespace pxall;

TEST(TekiDemo, ACommonPartIsUsedInEveryCatalogue) {
    pxtest::KeyedEnv k;
    std::string folder = pxtest::open_demo(k);
    ASSERT_FALSE(folder.empty());
    // A part of the second CD's catalogue, read from the CD in drive E.
    std::string van_part;
    for (const auto& r : pxbuild::demo::root_files("E2").figind)
        if (r.compare(0, 6, "6120D1") == 0 && r.compare(figind_rec::kPnc, 6, "16400A") == 0) {
            van_part = r.substr(figind_rec::kPart, 12);
            break;
        }
    ASSERT_EQ(van_part.size(), 12u);
    plat::MemoryListBox box;
    box.lb_add("15601-YZ001-A1");
    box.lb_add(van_part.substr(0, 5) + "-" + van_part.substr(5, 5) + "-" + van_part.substr(10, 2));
    int32_t hwnd = plat::register_control(&box);
    int16_t status = -1;
    ASSERT_EQ(VBTekiInit(&status), 0);
    EXPECT_EQ(status, 0);
    std::string path(80, '\0');
    VbString s{path.data(), 80};
    ASSERT_EQ(VBTekiSearchProc(hwnd, &s, &status), 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(box.lines()[0].substr(0, 37), "15601-YZ001-A1  : ELEMENT, OIL FILTER");
    EXPECT_EQ(box.lines()[1].substr(18, 13), "RADIATOR ASSY");
    std::ifstream in(folder + "/c/PXDROM/WORK/" + teki::kScreenFile, std::ios::binary);
    std::string screen(std::istreambuf_iterator<char>(in), {});
    int first_lines = 0;
    for (size_t at = 0; at + teki::screen_rec::kSize <= screen.size(); at += teki::screen_rec::kSize)
        if (screen[at] != ' ') ++first_lines;
    EXPECT_EQ(first_lines, static_cast<int>(pxbuild::demo::catalogs().size()) + 1);
    VBTekiTerm();
    plat::unregister_control(hwnd);
}

}  // namespace
