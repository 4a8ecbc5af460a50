// The builder's dealer files through the set-up: the fixed file and the
// CSV pieces give the very files the builder's own price writer makes, and
// the local-parts files and pictures come in as the screen brings them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/controls.h"
#include "pxall/blocks.h"
#include "pxbuild/dealer_sources.h"
#include "pxbuild/price_writer.h"
#include "stup/stup.h"
#include "support/temp_env.h"

namespace ct = pxall::ctop;
namespace fs = std::filesystem;

namespace {

class DealerSourcesTest : public ::testing::Test {
protected:
    pxtest::TempEnv env;
    void SetUp() override {
        unsigned char* top = pxall::get_ctop_addr();
        pxtest::set_field(top, ct::kMasterDir, ct::kDirSize, "C:\\MST");
        pxtest::set_field(top, ct::kPriceDir, ct::kDirSize, "C:\\MST");
        pxtest::set_field(top, ct::kLocalPriceDir, ct::kDirSize, "C:\\MST");
        pxtest::set_field(top, ct::kWorkDir, ct::kDirSize, "C:\\WORK");
        env.mkdir("WORK");
        pxbuild::write_dealer_sources(env.root() + "/A", 1000, 3);
    }
    int import(const std::string& name, int kind, int append) {
        std::string path = "C:\\A\\" + name;
        VbString s{path.data(), static_cast<int32_t>(path.size())};
        return stup_kakaku_setup(&s, static_cast<int16_t>(kind), static_cast<int16_t>(append));
    }
    std::string files(const char* data, const char* index) {
        return env.read(std::string("MST/") + data) + env.read(std::string("MST/") + index) + env.read("MST/PRICE.MST");
    }
};

TEST_F(DealerSourcesTest, FixedAndCsvPiecesGiveTheBuildersPriceFiles) {
    struct Case {
        int kind;
        const char* fixed;
        const char* piece;
        const char* data;
        const char* index;
    } cases[] = {{1, "PRICE", "PRICE%03d.CSV", "KAKAKU.D", "KAKAKU.IA"},
                 {2, "PRICE3", "PRIC3%03d.CSV", "PRICE3.D", "PRICE3.IA"}};
    for (const auto& c : cases) {
        auto img = pxbuild::build_price(c.kind == 1 ? pxbuild::PriceKind::kKakaku : pxbuild::PriceKind::kPrice3,
                                        pxbuild::dealer_price_records(c.kind, 1000));
        const std::string built(img.data.begin(), img.data.end());
        const std::string want = built + std::string(img.index.begin(), img.index.end()) +
                                 std::string(img.master.begin(), img.master.end());
        ASSERT_EQ(import(c.fixed, c.kind, 0), 0) << c.fixed;
        EXPECT_EQ(files(c.data, c.index), want) << c.fixed;
        for (int p = 1; p <= 3; ++p) {
            char name[16];
            std::snprintf(name, sizeof name, c.piece, p);
            ASSERT_EQ(import(name, c.kind, p == 1 ? 0 : 1), 0) << name;
        }
        EXPECT_EQ(files(c.data, c.index), want) << c.piece;
    }
}

TEST_F(DealerSourcesTest, LocalPartsAndPicturesComeIn) {
    for (int type : {0, 1, 2, 3}) {
        const char* names[] = {"LOCALP", "LOCALP1", "LOCALP2", "LOCALP3"};
        if (Check_Setuped_Localp(static_cast<int16_t>(type)) == 1) Init_Setuped_Localp(0, static_cast<int16_t>(type));
        ASSERT_EQ(Setup_Localp(static_cast<int16_t>(type), (std::string("C:\\A\\") + names[type]).c_str()), 0)
            << type;
    }
    EXPECT_EQ(env.read("MST/LOCALP1.D").size(), 9u * 62);  // LOCALP and LOCALP1 merged
    EXPECT_EQ(env.read("MST/LOCALP2.D").size(), 2u * 62);
    plat::MemoryListBox pics, files;
    int32_t hp = plat::register_control(&pics), hf = plat::register_control(&files);
    ASSERT_EQ(Localp3_SetImageFile(hp), 0);
    ASSERT_EQ(pics.lines().size(), 2u);
    for (const auto& e : fs::directory_iterator(env.root() + "/A/PICS")) files.lb_add(e.path().filename().string());
    Localp3_CopyImageFile(hp, hf, "C:\\A\\PICS");
    EXPECT_EQ(pics.lines()[0].substr(0, 13), "* LOCAL01.BMP");
    EXPECT_EQ(pics.lines()[1].substr(0, 13), "* LOCAL02.BMP");
    EXPECT_EQ(env.read("MST/LOCAL02.BMP").substr(0, 2), "BM");
    plat::unregister_control(hp);
    plat::unregister_control(hf);
}

}  // namespace
