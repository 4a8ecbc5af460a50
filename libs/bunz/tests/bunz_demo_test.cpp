// The demo catalogue's illustration pages read by the library: a vehicle sees
// its figures' pages, the production change with its grace, the page of its
// engine kind, and a sub-illustration drawn on a picture.
#include <gtest/gtest.h>

#include "bunz_fixture.h"
#include "pxbuild/demo_bunz.h"
#include "pxbuild/demo_data.h"
#include "pxbuild/demo_images.h"

namespace bunztest {
namespace {

namespace demo = pxbuild::demo;

class BunzDemoPages : public ::testing::Test {
protected:
    BunzEnv env;
    const demo::Catalog& cat = demo::catalogs().front();  // four frame models, petrol and diesel

    void SetUp() override {
        demo::RootFiles root = demo::root_files(cat.cd_id);
        pxbuild::CdWriter cd = env.k.make_cd(cat.cd_id, "20240115");
        cd.put_keyed("", "FIGM01.DAT", pxbuild::build_keyed("FIGM01.DAT", root.figm01));
        cd.put_keyed("", "HINM01.DAT", pxbuild::build_keyed("HINM01.DAT", root.hinm01));
        pxbuild::write_demo_images(cd);
        cd.put_keyed(cat.code, "BUINDE.DAT", pxbuild::build_keyed("BUINDE.DAT", demo::illustration_pages(cat)));
        env.k.install(cat.cd_id, '1');
        unsigned char* car = pxall::get_ccar_addr();
        std::memcpy(car + pxall::ccar::kCatalog, cat.code.data(), 6);
        pxall::put_i32(car + pxall::ccar::kSetupIndex, 0);
    }
    std::vector<std::string> titles(const BunzEnv::Move& first) {
        std::vector<std::string> out;
        for (int i = 0; i < first.pages(); ++i) {
            if (i > 0) env.next();
            out.push_back(env.title());
        }
        return out;
    }
};

TEST_F(BunzDemoPages, VehicleSeesItsPages) {
    // The catalogue runs 2018-03 to 2023-12: the change comes after 2021-01.
    env.vehicle("202102", demo::vehicle_applicability(cat, "AVS19D1"));
    env.choose({"1101", "1501"});
    BunzEnv::Move m = env.init();
    ASSERT_EQ(m.result, 0);
    EXPECT_EQ(m.name().substr(0, 31), "ENGINE ASSEMBLY & CYLINDER HEAD");
    // Within two months of the change both drawings fit.
    EXPECT_EQ(titles(m), (std::vector<std::string>{"ENGINE ASSEMBLY & CYLINDER HEAD (TO CHANGE)",
                                                   "ENGINE ASSEMBLY & CYLINDER HEAD (FROM CHANGE)"}));
    m = env.next();
    EXPECT_EQ(m.figure(), "1501");
    EXPECT_EQ(titles(m), (std::vector<std::string>{"ENGINE OIL PUMP & FILTER", "ENGINE OIL PUMP & FILTER (DIESEL)"}));
    EXPECT_EQ(env.change().pages(), 3);  // all pages: the petrol one too

    env.vehicle("202306", demo::vehicle_applicability(cat, "AVS14P1"));
    env.choose({"1101", "1501", "1901"});
    m = env.init();
    EXPECT_EQ(titles(m), (std::vector<std::string>{"ENGINE ASSEMBLY & CYLINDER HEAD (FROM CHANGE)"}));
    EXPECT_EQ(titles(env.next()), (std::vector<std::string>{"ENGINE OIL PUMP & FILTER", "ENGINE OIL PUMP & FILTER (PETROL)"}));
    EXPECT_EQ(env.next().pages(), 1);  // listed twice in the index, shown once
}

TEST_F(BunzDemoPages, SubIllustrationOnTheEnginePicture) {
    env.vehicle("201901", demo::vehicle_applicability(cat, "AVS16P1"));
    env.choose({"1101"});
    ASSERT_EQ(env.init().result, 0);
    BunzEnv::PageInfo p = env.page_info();
    ASSERT_EQ(p.result, 0);
    EXPECT_EQ(p.kind, 1);
    std::string list = env.work("hinmei1.tmp");
    EXPECT_NE(list.find("11400A BLOCK SUB-ASSY, SHORT"), std::string::npos);
    EXPECT_NE(list.find("1301         SEE SUB-ILLUSTRAT"), std::string::npos) << list;

    // Click the middle of the sub-illustration box on the picture.
    const demo::Illustration ill = demo::illustration("1101");
    const pxbuild::ImageText* box = nullptr;
    for (const auto& t : ill.texts)
        if (t.attribute == '1' && t.text.rfind("1301", 0) == 0) box = &t;
    ASSERT_NE(box, nullptr);
    plat::MemoryListBox lb, qty;
    plat::MemoryPicture pic(demo::kIllustrationWidth, demo::kIllustrationHeight);
    plat::MemoryPictureWindow win(demo::kIllustrationWidth, demo::kIllustrationHeight);
    int32_t hl = env.add(&lb), hq = env.add(&qty), hp = env.add(&pic), hw = env.add(&win);
    ASSERT_EQ(VBSetListBox(hl, p.list.c_str()), 0);
    int16_t status = -1;
    EXPECT_EQ(VBBunSelectIllust(3, hp, hw, hl, hq, nullptr, (box->left + box->right) / 2.0f,
                                (box->top + box->bottom) / 2.0f, &status),
              0);
    ASSERT_EQ(status, 31);
    BunzEnv::Move m = env.busz();
    EXPECT_EQ(m.status, 0);
    EXPECT_EQ(m.figure(), "1301");
    EXPECT_EQ(env.title(), "CRANKSHAFT & PISTON (TO CHANGE)");
}

}  // namespace
}  // namespace bunztest
