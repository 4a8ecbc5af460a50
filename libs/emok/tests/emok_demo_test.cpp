// The demo's illustration index read through the library: every page of
// every figure group, and on each page every area of the overall picture
// selects exactly the figures the page shows beside that area.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "emok/emok.h"
#include "platform/controls.h"
#include "platform/picture.h"
#include "pxall/blocks.h"
#include "pxall/selection.h"
#include "pxbuild/demo_data.h"
#include "pxbuild/demo_emok.h"
#include "pxbuild/keyed_writer.h"
#include "support/keyed_fixture.h"

namespace {

namespace demo = pxbuild::demo;

class DemoIndexTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        const std::string cat = GetParam();
        const demo::IndexPictures idx = demo::index_pictures(0);
        auto cd = k.make_cd("E1", "20240115");
        cd.put("", "IMAGEF.DAT", idx.images);
        cd.put_keyed(cat, "EMINDE.DAT", pxbuild::build_keyed("EMINDE.DAT", idx.eminde.at(cat)));
        demo::RootFiles root = demo::root_files("E1");
        demo::RootFiles root2 = demo::root_files("E2");
        root.figm01.insert(root.figm01.end(), root2.figm01.begin(), root2.figm01.end());
        std::stable_sort(root.figm01.begin(), root.figm01.end(),
                         [](const std::string& a, const std::string& b) { return a.compare(0, 11, b, 0, 11) < 0; });
        cd.put_keyed("", "FIGM01.DAT", pxbuild::build_keyed("FIGM01.DAT", root.figm01));
        k.install("E1", '0');
        k.set_cd_drives({{'E', "cd/E1"}});
        unsigned char* car = pxall::get_ccar_addr();
        std::memcpy(car + pxall::ccar::kCatalog, cat.data(), 6);
        pxall::put_i32(car + pxall::ccar::kSetupIndex, 0);
        pxall::put_i32(car + pxall::ccar::kNameSetupIndex, 0);
        std::memcpy(pxall::get_cnexta_addr(), "1234", 4);
    }
    void TearDown() override {
        VBEmokTerm();
        for (int32_t h : {list, zpic, zwin, spic, swin}) plat::unregister_control(h);
    }
    std::set<std::string> picks() {
        std::set<std::string> out;
        for (pxall::ItemLinks* l = pxall::get_selfgn()->first; l != nullptr; l = l->next)
            out.emplace(reinterpret_cast<pxall::SelFgnItem*>(l)->figure, 4);
        return out;
    }

    pxtest::KeyedEnv k;
    plat::MemoryListBox box;
    plat::MemoryPicture overall{1216, 832}, detail{1216, 832};
    plat::MemoryPictureWindow owin{1216, 832}, dwin{1216, 832};
    int32_t list = plat::register_control(&box);
    int32_t zpic = plat::register_control(&overall), zwin = plat::register_control(&owin);
    int32_t spic = plat::register_control(&detail), swin = plat::register_control(&dwin);
};

TEST_P(DemoIndexTest, EveryAreaSelectsItsFigures) {
    const auto& pages = demo::index_pages();
    int16_t count = 0, status = 0;
    ASSERT_EQ(VBEmokInit(&count, &status), 0);
    ASSERT_EQ(count, static_cast<int16_t>(pages.size()));
    for (size_t n = 1; n <= pages.size(); ++n) {
        SCOPED_TRACE(n);
        const demo::IndexPage& page = pages[n - 1];
        std::string a(80, 0), b(80, 0), c(80, 0);
        VbString sa{a.data(), 80}, sb{b.data(), 80}, sc{c.data(), 80};
        int16_t last = 0;
        ASSERT_EQ(VBEmokGetPageData(static_cast<int16_t>(n), &sa, &sb, &sc, &last, &status), 0);
        ASSERT_EQ(status, 0);
        EXPECT_EQ(last, n == pages.size() ? 1 : 0);
        const std::string fnls = k.env().read("WORK/EMOKFNLS.TMP");
        for (const auto& area : page.areas)
            for (const auto& fig : area.figures)
                EXPECT_NE(fnls.find(fig.substr(0, 2) + "-" + fig.substr(2, 2) + " "), std::string::npos) << fig;

        std::vector<pxbuild::ImageText> boxes;
        demo::index_overall_picture(page.group, 0, &boxes);
        for (const auto& area : page.areas) {
            SCOPED_TRACE(area.code);
            for (const auto& t : boxes) {
                if (t.text != area.code) continue;
                const float x = (t.left + t.right) / 2 * 0.9f, y = (t.top + t.bottom) / 2 * 0.9f;
                ASSERT_EQ(VBEmokSelectZentai(zpic, zwin, spic, swin, list, x, y, &status), 0);
                EXPECT_EQ(status, -1);
                EXPECT_EQ(picks(), std::set<std::string>(area.figures.begin(), area.figures.end()));
                ASSERT_EQ(VBEmokSelectZentai(zpic, zwin, spic, swin, list, x, y, &status), 0);
                EXPECT_TRUE(picks().empty());
            }
        }
    }
    EXPECT_TRUE(k.env().log_lines().empty());
}

INSTANTIATE_TEST_SUITE_P(Catalogs, DemoIndexTest, ::testing::Values("4410A1", "6120D1"));

}  // namespace
