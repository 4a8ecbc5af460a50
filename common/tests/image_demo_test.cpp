// The demo's illustrations, as the builder stores them in IMAGEF.DAT, decode
// into the pictures it drew, with its text placements.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "pxall/blocks.h"
#include "pxall/image.h"
#include "pxbuild/demo_data.h"
#include "pxbuild/demo_images.h"
#include "support/image_files.h"
#include "support/temp_env.h"

namespace {

TEST(DemoImages, EveryPageDecodesToItsDrawingWithItsCallouts) {
    pxtest::TempEnv env;
    const auto& file = pxbuild::demo::demo_image_file();
    ASSERT_EQ(file.data.size() % 2048, 0u);
    std::set<std::string> figures_with_subs;
    for (const auto& [key, loc] : file.locators) {
        const std::string fig = key.substr(0, 4);
        const int variant = key[4] - '0';
        const size_t first = std::stoul(loc.substr(0, 6)) * 2048, size = std::stoul(loc.substr(6, 3)) * 2048;
        ASSERT_LE(first + size, file.data.size()) << key;
        env.write("IMG.TMP", std::string(file.data.begin() + first, file.data.begin() + first + size));

        uint8_t h[pxall::image::kHeaderSize] = {};
        ASSERT_EQ(pxall::decord_img("C:\\IMG.TMP", "C:\\IMG.BMP", h), 0) << key;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(h + 8)), fig + "00" + std::to_string(variant + 1));
        EXPECT_EQ(h[16], '3');
        pxtest::BmpFile bmp = pxtest::read_bmp(env.host("C:\\IMG.BMP"));
        ASSERT_EQ(bmp.error, "") << key;

        pxbuild::demo::Illustration ill = pxbuild::demo::illustration(fig, variant);
        ASSERT_EQ(bmp.picture.width, ill.picture.width());
        ASSERT_EQ(bmp.picture.height, ill.picture.height());
        EXPECT_TRUE(bmp.picture.bits == ill.picture.bits()) << key;

        const int32_t text_len = pxall::get_i32(h + 24);
        ASSERT_EQ(text_len, static_cast<int32_t>(ill.texts.size() * 22)) << key;
        std::vector<uint8_t> t(ill.texts.size() * 36);
        ASSERT_EQ(pxall::decord_text("C:\\IMG.TMP", t.data(), text_len, pxall::get_i32(h + 20),
                                     static_cast<int32_t>(ill.texts.size())),
                  0);
        for (size_t i = 0; i < ill.texts.size(); ++i) {
            const uint8_t* e = t.data() + i * 36;
            const auto& want = ill.texts[i];
            EXPECT_EQ(pxall::get_i16(e), want.left);
            EXPECT_EQ(pxall::get_i16(e + 6), want.bottom);
            std::string code(reinterpret_cast<const char*>(e + 10), 12);
            EXPECT_EQ(code.substr(0, want.text.size()), want.text);
            EXPECT_EQ(e[22], static_cast<uint8_t>(want.attribute));
            // Every rectangle lies on the page and holds some of its text.
            EXPECT_TRUE(want.left >= 0 && want.top >= 0 && want.right < ill.picture.width() &&
                        want.bottom < ill.picture.height() && want.left < want.right && want.top < want.bottom)
                << key << " " << want.text;
            int black = 0;
            for (int y = want.top; y < want.bottom; ++y)
                for (int x = want.left; x < want.right; ++x) black += bmp.picture.get(x, y);
            EXPECT_GT(black, 50) << key << " " << want.text;
            if (want.attribute == '1') figures_with_subs.insert(fig);
        }
    }
    EXPECT_EQ(figures_with_subs.size(), pxbuild::demo::sub_illustrations().size());
    // Every figure of the demo catalogues has its pages.
    for (const char* cd : {"E1", "E2"})
        for (const auto& r : pxbuild::demo::root_files(cd).figm01)
            for (int v : {0, 1}) EXPECT_NO_THROW(file.locator(r.substr(7, 4), v)) << r.substr(7, 4);
}

}  // namespace
