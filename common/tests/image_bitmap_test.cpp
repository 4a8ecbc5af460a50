#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "pxall/blocks.h"
#include "pxall/faxdecode.h"
#include "pxall/image.h"
#include "pxbuild/image_writer.h"
#include "support/fax_pictures.h"
#include "support/image_files.h"
#include "support/temp_env.h"

namespace {

using pxtest::Bitmap;
using pxtest::FaxCoding;

class DecordImg : public ::testing::Test {
protected:
    pxtest::TempEnv env;

    void put(const std::string& name, const pxbuild::Bytes& bytes) {
        env.write(name, std::string(bytes.begin(), bytes.end()));
    }
    void put(const std::string& name, const pxbuild::StoredImage& img) { put(name, pxbuild::stored_image(img)); }

    // Decodes C:\<name> into C:\OUT.BMP and reads it back.
    int decode(const std::string& name, pxtest::BmpFile* bmp = nullptr, uint8_t* header = nullptr) {
        uint8_t h[pxall::image::kHeaderSize] = {};
        int r = pxall::decord_img(("C:\\" + name).c_str(), "C:\\OUT.BMP", header != nullptr ? header : h);
        if (bmp != nullptr) *bmp = pxtest::read_bmp(env.host("C:\\OUT.BMP"));
        return r;
    }

    // A picture decodes as the picture it was coded from.
    void expect_round_trip(const Bitmap& pic, FaxCoding coding) {
        put("PIC.TMP", pxtest::stored_picture(pic, coding));
        pxtest::BmpFile bmp;
        ASSERT_EQ(decode("PIC.TMP", &bmp), 0) << pic.width << " x " << pic.height;
        ASSERT_EQ(bmp.error, "");
        EXPECT_EQ(bmp.picture.width, pic.width);
        EXPECT_EQ(bmp.picture.height, pic.height);
        EXPECT_TRUE(bmp.picture.bits == pic.bits) << pic.width << " x " << pic.height;
    }
};

Bitmap random_picture(int w, int h, unsigned seed) {
    Bitmap b(w, h);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w;) {
            int run = 1 + static_cast<int>(rng() % 40);
            if (rng() % 3 == 0) b.fill(x, x + run, y);
            x += run;
        }
    return b;
}

TEST_F(DecordImg, PicturesComeOutAsTheyWereDrawn) {
    struct Case {
        int w, h;
        FaxCoding coding;
    } cases[] = {
        {1608, 40, FaxCoding::kGroup4},       // 201 bytes a row, stride 204
        {1600, 64, FaxCoding::kGroup3TwoD},   // one-dimensional lines too
        {1601, 30, FaxCoding::kGroup4},       // a width that is not a multiple of 8
        {13, 7, FaxCoding::kGroup3TwoD},
        {1616, 1158, FaxCoding::kGroup4},     // the largest picture
    };
    for (const auto& c : cases) {
        Bitmap pic = c.w * c.h > 200000 ? pxtest::line_drawing(c.w, c.h, 7) : random_picture(c.w, c.h, c.w);
        // The corners mark which way up the rows are.
        pic.set(0, 0);
        pic.set(c.w - 1, c.h - 1);
        pic.clear_padding();
        expect_round_trip(pic, c.coding);
    }
}

TEST_F(DecordImg, BitmapFileStartsWithTheBottomRowPaddedToFourBytes) {
    Bitmap pic(1608, 3);
    pic.fill(0, 8, 2);  // bottom row: the first byte black
    put("PIC.TMP", pxtest::stored_picture(pic));
    ASSERT_EQ(decode("PIC.TMP"), 0);
    std::string f = env.read("OUT.BMP");
    ASSERT_EQ(f.size(), 62u + 204u * 3);
    EXPECT_EQ(static_cast<uint8_t>(f[62]), 0xFF);
    EXPECT_EQ(static_cast<uint8_t>(f[62 + 204]), 0x00);
    EXPECT_EQ(f.substr(62 + 201, 3), std::string(3, '\0'));
}

TEST_F(DecordImg, HeaderIsFilledWithoutTouchingTheGaps) {
    // Stored big-endian: number 0x010203, kind '7', id, 1617 x 1159 (beyond
    // the limits), type 'X', L = 0x000102, T = 0x002C.
    std::string st = std::string("\x01\x02\x03", 3) + "7" + "1101001" + "\x06\x51" + "\x04\x87" + "X" +
                     std::string("\x00\x01\x02", 3) + std::string("\x00\x2C", 2);
    env.write("HDR.TMP", st);
    uint8_t h[28];
    std::memset(h, 0xAA, sizeof h);
    EXPECT_EQ(pxall::decord_img("C:\\HDR.TMP", nullptr, h), 0);
    const uint8_t want[28] = {0x03, 0x02, 0x01, 0x00, 0x51, 0x06, 0x87, 0x04, '1', '1', '0', '1', '0', '0',
                              '1',  0x00, '7',  'X',  0xAA, 0xAA, 0x02, 0x01, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(h, want, sizeof want), 0);
    std::memset(h, 0, sizeof h);
    EXPECT_EQ(pxall::decord_img("C:\\HDR.TMP", "", h), 0);  // an empty path is no path
    EXPECT_FALSE(env.exists("OUT.BMP"));
}

TEST_F(DecordImg, SizeLimitsAndCodingType) {
    struct Case {
        int w, h;
        char coding;
        int want;
    } cases[] = {
        {1616, 1158, '3', 0}, {1617, 8, '3', 209}, {8, 1159, '3', 209},
        {65535, 8, '3', 209},  // read unsigned: not a negative width
        {16, 8, '4', 210},     {1617, 8, '4', 209},
    };
    for (const auto& c : cases) {
        pxbuild::StoredImage img = pxtest::stored_picture(Bitmap(c.w > 1616 ? 8 : c.w, c.h > 1158 ? 8 : c.h));
        img.width = c.w;
        img.height = c.h;
        img.coding = c.coding;
        put("PIC.TMP", img);
        EXPECT_EQ(decode("PIC.TMP"), c.want) << c.w << " x " << c.h << " " << c.coding;
        uint8_t h[28] = {};
        EXPECT_EQ(pxall::decord_img("C:\\PIC.TMP", nullptr, h), 0);
        EXPECT_EQ(pxall::get_i16(h + 4), static_cast<int16_t>(c.w));
    }
}

TEST_F(DecordImg, DamagedPicturesFailWithTheirCodesAndTheNextOneDecodes) {
    Bitmap pic = random_picture(200, 40, 3);
    pic.clear_padding();
    const pxbuild::StoredImage good = pxtest::stored_picture(pic);
    auto with = [&](auto change) {
        pxbuild::StoredImage img = good;
        change(img);
        return img;
    };
    struct Case {
        const char* what;
        pxbuild::StoredImage img;
        int want;
    } cases[] = {
        // The coded bytes end before the end code: decoding stops.
        {"cut", with([](auto& i) { i.coded.resize(i.coded.size() / 2); }), 208},
        {"no end code", with([](auto& i) { i.coded.resize(i.coded.size() - 3); }), 208},
        {"nothing coded", with([](auto& i) { i.coded.clear(); }), 208},
        {"bad code", with([](auto& i) { std::fill(i.coded.begin() + 10, i.coded.begin() + 20, 0x00); i.coded[20] = 0x01; }), 208},
        // More rows than the height: never written past the picture.
        {"rows beyond the height", with([](auto& i) { i.height = 20; }), 208},
        {"no height", with([](auto& i) { i.height = 0; }), 208},
        {"no width", with([](auto& i) { i.width = 0; }), 208},
        {"wrong width", with([](auto& i) { i.width = 208; }), 208},
    };
    for (const auto& c : cases) {
        put("BAD.TMP", c.img);
        EXPECT_EQ(decode("BAD.TMP"), c.want) << c.what;
        expect_round_trip(pic, FaxCoding::kGroup4);
    }
}

TEST_F(DecordImg, FewerRowsThanTheHeightLeavesTheRestWhite) {
    Bitmap pic(64, 10);
    for (int y = 0; y < 10; ++y) pic.fill(0, 64, y);
    pxbuild::StoredImage img = pxtest::stored_picture(pic);
    img.height = 16;
    put("PIC.TMP", img);
    pxtest::BmpFile bmp;
    ASSERT_EQ(decode("PIC.TMP", &bmp), 0);
    ASSERT_EQ(bmp.error, "");
    EXPECT_TRUE(bmp.picture.get(63, 9));
    EXPECT_FALSE(bmp.picture.get(0, 10));
    EXPECT_FALSE(bmp.picture.get(63, 15));
}

TEST_F(DecordImg, FileFailures) {
    Bitmap pic = random_picture(64, 8, 1);
    pic.clear_padding();
    put("PIC.TMP", pxtest::stored_picture(pic));
    uint8_t h[28] = {};
    EXPECT_EQ(pxall::decord_img("C:\\NONE.TMP", "C:\\OUT.BMP", h), 201);
    EXPECT_EQ(pxall::decord_img(nullptr, "C:\\OUT.BMP", h), 201);
    env.write("SHORT.TMP", std::string(20, '\0'));
    EXPECT_EQ(pxall::decord_img("C:\\SHORT.TMP", nullptr, h), 203);
    EXPECT_EQ(pxall::decord_img("C:\\PIC.TMP", "C:\\NODIR\\OUT.BMP", h), 202);
    // A coded length beyond the file's end.
    pxbuild::Bytes b = pxbuild::stored_image(pxtest::stored_picture(pic));
    b.resize(pxall::image::kStoredHeaderSize + 5);
    put("TRUNC.TMP", b);
    EXPECT_EQ(pxall::decord_img("C:\\TRUNC.TMP", "C:\\OUT.BMP", h), 204);
    // A bitmap that cannot be written whole (the disk is full).
    plat::set_drive('F', "/dev", plat::kDriveFixed);
    EXPECT_EQ(pxall::decord_img("C:\\PIC.TMP", "F:\\full", h), 207);
    EXPECT_EQ(pxall::decord_img("C:\\PIC.TMP", "C:\\OUT.BMP", h), 0);
}

TEST_F(DecordImg, LeavesTheDecoderFree) {
    Bitmap pic = random_picture(96, 12, 5);
    pic.clear_padding();
    put("PIC.TMP", pxtest::stored_picture(pic));
    ASSERT_EQ(decode("PIC.TMP"), 0);
    uint16_t w = 96, status = 0;
    EXPECT_EQ(pxall::fax_decode(pxall::kFaxInit, &w, nullptr, 0, nullptr, nullptr, &status), 0);
    pxall::fax_decode(pxall::kFaxRelease, nullptr, nullptr, 0, nullptr, nullptr, nullptr);
}

}  // namespace
