// Files with more than one way in: the three key sets of the vehicle file,
// the figure names whose index key drops the key's 6th character, and the car
// names whose last index level names every key once.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "pxall/keyed_file.h"
#include "pxbuild/keyed_writer.h"
#include "support/keyed_fixture.h"

namespace {

using namespace pxall;

std::vector<std::string> sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

class JouhouTest : public ::testing::Test {
protected:
    void SetUp() override {
        // 60 vehicles of two catalogues; the S and K keys recur all over the
        // data, which is in catalogue order.
        for (int i = 0; i < 60; ++i) {
            std::string r(186, ' ');
            r.replace(0, 6, i < 30 ? "4410A1" : "4420B1");
            r.replace(6, 9, "XPAAVS" + std::to_string(i % 5) + "K9");
            r.replace(15, 15, "AVS14P1GL  5M" + std::to_string(i % 7) + "U");
            r.replace(48, 10, "VEHICLE" + std::to_string(100 + i));
            records.push_back(r);
        }
        pxbuild::IndexShape shape;
        shape.records_per_block = 3;
        shape.index_entries_per_block = 4;
        auto img = pxbuild::build_jouhou(records, shape);
        auto cd = k.make_cd("E1", "20240115");
        cd.put_jouhou(img);
        k.install("E1", '1');
    }
    std::vector<std::string> expect(size_t at, const std::string& key) const {
        std::vector<std::string> out;
        for (const auto& r : records)
            if (r.compare(at, key.size(), key) == 0) out.push_back(r);
        return out;
    }
    pxtest::KeyedEnv k;
    std::vector<std::string> records;
};

TEST_F(JouhouTest, KeySetATakesTheCatalogue) {
    CdHandle* h = k.open("JOUHOU.DAT", "", 1);
    int last = 0;
    auto got = pxtest::read_all(h, "4420B1", 186, &last);
    EXPECT_EQ(last, -1);
    EXPECT_EQ(got, expect(0, "4420B1"));
    cdclose(&h, nullptr);
}

TEST_F(JouhouTest, KeySetsSAndKFindEveryVehicleOfAKeyOnce) {
    struct Case {
        int set;
        size_t at;
        std::string key;
    } cases[] = {{2, 6, "XPAAVS3K9"}, {2, 6, "XPAAVS0K9"}, {3, 15, "AVS14P1GL  5M6U"}, {3, 15, "AVS14P1GL  5M0U"}};
    for (const auto& c : cases) {
        CdHandle* h = k.open("JOUHOU.DAT", "", c.set);
        ASSERT_NE(h, nullptr);
        int last = 0;
        auto got = pxtest::read_all(h, c.key, 186, &last);
        EXPECT_EQ(last, -1) << c.key;
        EXPECT_EQ(sorted(got), sorted(expect(c.at, c.key))) << c.key;
        cdreopen(h, nullptr);
        std::string absent = c.key;
        absent.back() = 'Z';
        EXPECT_TRUE(pxtest::read_all(h, absent, 186).empty()) << absent;
        cdclose(&h, nullptr);
    }
}

TEST_F(JouhouTest, AShortSKeyGivesTheVehiclesOfEveryMatchingKeyInKeyOrder) {
    CdHandle* h = k.open("JOUHOU.DAT", "", 2);
    auto got = pxtest::read_all(h, "XPAAVS", 186);
    EXPECT_EQ(sorted(got), sorted(records));
    for (size_t i = 1; i < got.size(); ++i) EXPECT_LE(got[i - 1].substr(6, 9), got[i].substr(6, 9));
    cdclose(&h, nullptr);
}

TEST(FigureNames, IndexSearchDropsTheKeysSixthCharacter) {
    pxtest::KeyedEnv k;
    std::vector<std::string> recs;
    for (const char* cat : {"4410A1", "5130C2"})
        for (char range : {'1', '2', '4'})
            for (int f = 0; f < 12; ++f) {
                std::string r(71, ' ');
                r.replace(0, 6, cat);
                r[6] = range;
                r.replace(7, 4, std::to_string(range - '0') + "1" + std::to_string(10 + f));
                std::string name = std::string("FIGURE ") + cat;
                r.replace(11, name.size(), name);
                recs.push_back(r);
            }
    pxbuild::IndexShape shape;
    shape.records_per_block = 5;
    shape.index_entries_per_block = 3;
    shape.levels = 2;
    auto cd = k.make_cd("E1", "20240115");
    cd.put_keyed("", "FIGM01.DAT", pxbuild::build_keyed("FIGM01.DAT", recs, shape));
    k.install("E1", '1');
    CdHandle* h = k.open("FIGM01.DAT", "", 14);
    auto got = pxtest::read_all(h, "5130C22", 71);
    ASSERT_EQ(got.size(), 12u);
    for (const auto& r : got) EXPECT_EQ(r.substr(0, 7), "5130C22");
    cdreopen(h, nullptr);
    // Six characters: the catalogue code alone, searched as its first five.
    got = pxtest::read_all(h, "4410A1", 71);
    ASSERT_GE(got.size(), 36u);
    for (size_t i = 0; i < 36; ++i) EXPECT_EQ(got[i], recs[i]);
    cdclose(&h, nullptr);
}

TEST(CarNames, EachCatalogueIsOneEntryOfTheEqualKeyLevel) {
    pxtest::KeyedEnv k;
    std::map<std::string, int> per = {{"4410A1", 3}, {"4420B1", 2}, {"5130C2", 30}, {"6120D1", 1}};
    std::vector<std::string> recs;
    for (const auto& [cat, n] : per)
        for (int i = 0; i < n; ++i) recs.push_back(pxtest::rec("SHAMEI.DAT", cat, "NAME " + std::to_string(i)));
    // SHAMEI's key is at 23: the record starts with the car name.
    for (auto& r : recs) r.replace(0, 3, "001");
    pxbuild::IndexShape shape;
    shape.records_per_block = 4;
    shape.index_entries_per_block = 2;
    auto cd = k.make_cd("E1", "20240115");
    cd.put_keyed("", "SHAMEI.DAT", pxbuild::build_keyed("SHAMEI.DAT", recs, shape));
    k.install("E1", '1');
    CdHandle* h = k.open("SHAMEI.DAT");
    for (const auto& [cat, n] : per) {
        int last = 0;
        auto got = pxtest::read_all(h, cat, 97, &last);
        EXPECT_EQ(static_cast<int>(got.size()), n) << cat;
        EXPECT_EQ(last, -1);
        for (const auto& r : got) EXPECT_EQ(r.substr(23, 6), cat);
        cdreopen(h, nullptr);
    }
    EXPECT_TRUE(pxtest::read_all(h, "4415X1", 97).empty());
    cdreopen(h, nullptr);
    auto got = pxtest::read_all(h, "51", 97);
    ASSERT_GE(got.size(), 30u);
    EXPECT_EQ(got.front().substr(23, 6), "5130C2");
    cdclose(&h, nullptr);
}

}  // namespace
