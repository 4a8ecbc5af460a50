// The price files the builder writes, checked byte by byte against the
// worked cases of the price set-up.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "pxbuild/price_writer.h"

namespace {

using pxbuild::Bytes;
using pxbuild::PriceKind;

std::vector<std::string> records(PriceKind kind, int n) {
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "P%011d", i);
        std::string r(pxbuild::price_rec_len(kind), ' ');
        r.replace(0, 12, key);
        out.push_back(r);
    }
    return out;
}

uint32_t u32(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24; }
uint32_t u16(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8; }

struct Entry {
    uint32_t blocks, first;
    int level;
};
Entry entry(const Bytes& m, int i) { return {u32(m, i * 32 + 20), u32(m, i * 32 + 24), m[i * 32 + 30]}; }

TEST(PriceWriter, OneBlockOfRecords) {
    auto img = pxbuild::build_price(PriceKind::kKakaku, records(PriceKind::kKakaku, 36));
    EXPECT_EQ(img.data.size(), 1800u);
    ASSERT_EQ(img.index.size(), 1800u);
    EXPECT_EQ(std::string(img.index.begin(), img.index.begin() + 12), "P00000000035");
    EXPECT_EQ(u32(img.index, 12), 0u);
    EXPECT_EQ(u16(img.index, 16), 1u);
    EXPECT_EQ(Bytes(img.index.begin() + 18, img.index.end()), Bytes(1782, 0));
    ASSERT_EQ(img.master.size(), 128u);
    EXPECT_EQ(std::string(img.master.begin(), img.master.begin() + 11), "KAKAKU  IA1");
    EXPECT_EQ(std::string(img.master.begin() + 96, img.master.begin() + 107), "KAKAKU  D  ");
    Entry top = entry(img.master, 0), data = entry(img.master, 3);
    EXPECT_EQ(top.blocks, 1u);
    EXPECT_EQ(top.first, 0u);
    EXPECT_EQ(top.level, 1);
    EXPECT_EQ(data.blocks, 1u);
    EXPECT_EQ(data.level, 1);
    EXPECT_EQ(img.master[12], 3) << "index entries compare not below";
    EXPECT_EQ(img.master[96 + 12], 2) << "data entry compares equal";
    EXPECT_EQ(u16(img.master, 96 + 16), 1800u);
    EXPECT_EQ(u16(img.master, 96 + 28), 50u);
    EXPECT_EQ(u16(img.master, 28), 18u);
    EXPECT_EQ(img.data_name, "KAKAKU.D");
    EXPECT_EQ(img.index_name, "KAKAKU.IA");
}

TEST(PriceWriter, ASecondDataBlockHoldsTheRest) {
    auto img = pxbuild::build_price(PriceKind::kKakaku, records(PriceKind::kKakaku, 37));
    ASSERT_EQ(img.data.size(), 3600u);
    EXPECT_EQ(Bytes(img.data.begin() + 1850, img.data.end()), Bytes(1750, 0));
    EXPECT_EQ(std::string(img.index.begin() + 18, img.index.begin() + 30), "P00000000036");
    EXPECT_EQ(entry(img.master, 0).blocks, 1u);
    EXPECT_EQ(entry(img.master, 3).blocks, 2u);
}

TEST(PriceWriter, FiveThousandRecordsMakeTwoLevels) {
    auto img = pxbuild::build_price(PriceKind::kKakaku, records(PriceKind::kKakaku, 5000));
    EXPECT_EQ(img.data.size(), 139u * 1800);
    ASSERT_EQ(img.index.size(), 3u * 1800);
    // Top block: two entries for the two first-level blocks.
    EXPECT_EQ(u32(img.index, 12), 0u);
    EXPECT_EQ(u32(img.index, 18 + 12), 1u);
    EXPECT_EQ(img.index[36], 0);
    EXPECT_EQ(std::string(img.index.begin() + 18, img.index.begin() + 30), "P00000004999");
    // First level: 100 and 39 entries.
    EXPECT_NE(img.index[1800 + 99 * 18], 0);
    EXPECT_NE(img.index[3600 + 38 * 18], 0);
    EXPECT_EQ(img.index[3600 + 39 * 18], 0);
    Entry top = entry(img.master, 0), second = entry(img.master, 1), third = entry(img.master, 2), data = entry(img.master, 3);
    EXPECT_EQ(top.blocks, 1u);
    EXPECT_EQ(top.level, 1);
    EXPECT_EQ(second.blocks, 2u);
    EXPECT_EQ(second.first, 1u);
    EXPECT_EQ(second.level, 2);
    EXPECT_EQ(third.blocks, 0u);
    EXPECT_EQ(third.level, 0);
    EXPECT_EQ(data.blocks, 139u);
    EXPECT_EQ(data.level, 2);
}

TEST(PriceWriter, KindTwoAndTheBounds) {
    auto img = pxbuild::build_price(PriceKind::kPrice3, records(PriceKind::kPrice3, 30));
    EXPECT_EQ(img.data.size(), 1980u);
    EXPECT_EQ(std::string(img.master.begin() + 96, img.master.begin() + 107), "PRICE3  D  ");
    EXPECT_NO_THROW(pxbuild::build_price(PriceKind::kKakaku, records(PriceKind::kKakaku, 360000)));
    EXPECT_THROW(pxbuild::build_price(PriceKind::kKakaku, records(PriceKind::kKakaku, 360001)), pxbuild::BuildError);
    EXPECT_THROW(pxbuild::build_price(PriceKind::kKakaku, {}), pxbuild::BuildError);
    auto backwards = records(PriceKind::kKakaku, 3);
    std::swap(backwards[0], backwards[2]);
    EXPECT_THROW(pxbuild::build_price(PriceKind::kKakaku, backwards), pxbuild::BuildError);
}

}  // namespace
