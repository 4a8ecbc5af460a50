#include "pxbuild/image_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using pxbuild::Bytes;

TEST(ImageWriter, StoredImageLayout) {
    pxbuild::StoredImage img;
    img.number = 0x010203;
    img.kind = '3';
    img.id = "1101001";
    img.width = 1608;
    img.height = 1158;
    img.coded = {0xAA, 0xBB, 0xCC};
    img.texts = {{-2, 300, 1607, 1157, '1', 0xFE, "1301"}};
    Bytes b = pxbuild::stored_image(img);
    ASSERT_EQ(b.size(), 2048u);
    const Bytes want = {0x01, 0x02, 0x03, '3', '1', '1', '0', '1', '0', '0', '1', 0x06, 0x48, 0x04, 0x86,
                        '3',  0x00, 0x00, 0x03, 0x00, 22,  0xAA, 0xBB, 0xCC,
                        0xFF, 0xFE, 0x01, 0x2C, 0x06, 0x47, 0x04, 0x85, '1', 0xFE,
                        '1',  '3',  '0',  '1',  ' ',  ' ',  ' ',  ' ',  ' ', ' ', ' ', ' '};
    EXPECT_EQ(Bytes(b.begin(), b.begin() + want.size()), want);
    EXPECT_EQ(Bytes(b.begin() + want.size(), b.end()), Bytes(2048 - want.size(), 0));
}

TEST(ImageWriter, ImagesFollowEachOtherFromBlockBoundaries) {
    pxbuild::ImageFile f;
    pxbuild::StoredImage img;
    img.id = "A";
    img.width = img.height = 8;
    img.coded.assign(2048 - 21, 1);  // exactly one block
    EXPECT_EQ(f.add(img), "000000001");
    img.coded.push_back(1);          // one byte more: two blocks
    EXPECT_EQ(f.add(img), "000001002");
    EXPECT_EQ(f.add(img), "000003002");
    EXPECT_EQ(f.bytes().size(), 5u * 2048);
}

TEST(ImageWriter, RefusesWhatDoesNotFit) {
    pxbuild::StoredImage img;
    img.id = "TOOLONG1";
    EXPECT_THROW(pxbuild::stored_image(img), pxbuild::BuildError);
    img.id = "OK";
    img.width = 70000;
    EXPECT_THROW(pxbuild::stored_image(img), pxbuild::BuildError);
    img.width = 8;
    img.texts = {{0, 0, 40000, 1, '0', 0, "X"}};
    EXPECT_THROW(pxbuild::stored_image(img), pxbuild::BuildError);
    img.texts = {{0, 0, 1, 1, '0', 0, "THIRTEEN CHRS"}};
    EXPECT_THROW(pxbuild::stored_image(img), pxbuild::BuildError);
}

TEST(ImageWriter, GroupThreeEndsWithSixTaggedEndOfLineCodes) {
    pxbuild::Picture p(40, 6);
    for (int x = 3; x < 30; ++x) p.set(x, 2);
    Bytes g3 = pxbuild::fax_code(p, pxbuild::FaxCoding::kGroup3TwoD);
    const Bytes rtc = {0x00, 0x18, 0x00, 0xC0, 0x06, 0x00, 0x30, 0x01, 0x80, 0x0C};
    ASSERT_GT(g3.size(), rtc.size());
    EXPECT_EQ(Bytes(g3.end() - 10, g3.end()), rtc);
    Bytes g4 = pxbuild::fax_code(p, pxbuild::FaxCoding::kGroup4);
    EXPECT_LT(g4.size(), g3.size());
}

}  // namespace
