// The demo's illustration index read through the library: every page of
// every figure group, and on each page every area of the overall picture
// selects exactly the figures the page shows beside that area, and every
// figure label of the detail picture its figure, picked where the screen
// shows them (the top-left 640 x 352 pixels of each picture).
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

// The part of a picture the index screen shows, and the library's scale of
// its hot spots.
constexpr int kShownWidth = 640, kShownHeight = 352;
constexpr float kScale = 0.9f;

// A hot spot's centre as the screen passes a click on it.
std::pair<float, float> centre(const pxbuild::ImageText& t) {
    return {(t.left + t.right) / 2 * kScale, (t.top + t.bottom) / 2 * kScale};
}

// Whether a placement lies whole in the shown part of the picture.
bool shown(const pxbuild::ImageText& t) {
    return t.left >= 0 && t.top >= 0 && t.right < kShownWidth && t.bottom < kShownHeight;
}

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
    plat::MemoryPicture overall{kShownWidth, kShownHeight}, detail{kShownWidth, kShownHeight};
    plat::MemoryPictureWindow owin{kShownWidth, kShownHeight}, dwin{kShownWidth, kShownHeight};
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

        std::vector<pxbuild::ImageText> boxes, labels;
        const pxbuild::Picture whole = demo::index_overall_picture(page.group, 0, &boxes);
        const pxbuild::Picture part = demo::index_detail_picture(page, &labels);
        for (const pxbuild::Picture* p : {&whole, &part}) {
            EXPECT_EQ(p->width(), kShownWidth);
            EXPECT_EQ(p->height(), kShownHeight);
        }
        for (const auto& area : page.areas) {
            SCOPED_TRACE(area.code);
            int found = 0;
            for (const auto& t : boxes) {
                if (t.text != area.code) continue;
                ++found;
                EXPECT_TRUE(shown(t)) << t.left << "," << t.top << "-" << t.right << "," << t.bottom;
                const auto [x, y] = centre(t);
                ASSERT_EQ(VBEmokSelectZentai(zpic, zwin, spic, swin, list, x, y, &status), 0);
                EXPECT_EQ(status, -1);
                EXPECT_EQ(picks(), std::set<std::string>(area.figures.begin(), area.figures.end()));
                ASSERT_EQ(VBEmokSelectZentai(zpic, zwin, spic, swin, list, x, y, &status), 0);
                EXPECT_TRUE(picks().empty());
            }
            EXPECT_GT(found, 0) << "the area is not on the overall picture";
        }
        // On the detail picture: each figure label picks its figure alone,
        // and a second pick takes it back.
        int figures = 0;
        for (const auto& t : labels) {
            EXPECT_TRUE(shown(t)) << t.text;
            if (t.attribute != '1') continue;
            ++figures;
            SCOPED_TRACE(t.text);
            const auto [x, y] = centre(t);
            ASSERT_EQ(VBEmokSelectShosai(zpic, zwin, spic, swin, list, x, y, &status), 0);
            EXPECT_EQ(picks(), std::set<std::string>{t.text});
            ASSERT_EQ(VBEmokSelectShosai(zpic, zwin, spic, swin, list, x, y, &status), 0);
            EXPECT_TRUE(picks().empty());
        }
        size_t on_page = 0;
        for (const auto& area : page.areas) on_page += area.figures.size();
        EXPECT_EQ(figures, static_cast<int>(on_page));
    }
    EXPECT_TRUE(k.env().log_lines().empty());
}

INSTANTIATE_TEST_SUITE_P(Catalogs, DemoIndexTest, ::testing::Values("4410A1", "6120D1"));

}  // namespace
