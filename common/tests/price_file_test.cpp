// The price files: KAKAKU and PRICE3 through PRICE.MST, the local-price
// master, and the damage the reader must survive.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "pxall/blocks.h"
#include "pxall/price_file.h"
#include "pxbuild/price_writer.h"
#include "support/keyed_fixture.h"

namespace fs = std::filesystem;

namespace {

using namespace pxall;

std::string part(int i) {
    char b[32];
    std::snprintf(b, sizeof b, "%05dAB%03d01", 10000 + i * 7, i % 1000);
    return b;
}

std::string kakaku(int i) {
    char price[16];
    std::snprintf(price, sizeof price, "%8.2f", 10.0 + i);
    std::string r = part(i) + price + "DG01      " + "PART NAME";
    r.resize(50, ' ');
    return r;
}

std::string price3(int i) {
    std::string r = part(i) + "  100.00" + "  200.00" + "  300.00" + "FIELD-10XY" + "PART THREE";
    r.resize(66, ' ');
    return r;
}

class PriceTest : public ::testing::Test {
protected:
    void SetUp() override {
        pxtest::set_field(get_ctop_addr(), ctop::kPriceDir, ctop::kDirSize, "C:\\PRICE");
        pxtest::set_field(get_ctop_addr(), ctop::kLocalPriceDir, ctop::kDirSize, "C:\\LOCAL");
        k.env().mkdir("PRICE");
    }
    void write(pxbuild::PriceKind kind, int n, const char* dir = "PRICE") {
        std::vector<std::string> recs;
        for (int i = 0; i < n; ++i)
            recs.push_back(kind == pxbuild::PriceKind::kKakaku   ? kakaku(i)
                           : kind == pxbuild::PriceKind::kPrice3 ? price3(i)
                                                                 : part(i) + std::string(32, 'L'));
        pxbuild::write_price(k.env().root() + "/" + dir, pxbuild::build_price(kind, recs));
    }
    pxtest::KeyedEnv k;
};

TEST_F(PriceTest, EveryPartOfOneAndTwoLevelFilesIsFound) {
    for (int n : {40, 3601}) {
        write(pxbuild::PriceKind::kKakaku, n);
        CdHandle* h = nullptr;
        int detail = 0;
        ASSERT_EQ(kakaku_open(0, &h, &detail), 0);
        EXPECT_EQ(kakaku_kind(h), kPriceKakaku);
        for (int i : {0, 1, 35, 36, n / 2, n - 1}) {
            char entry[50];
            ASSERT_EQ(kakaku_read(entry, part(i).data(), 12, 0, h, &detail), 0) << n << " " << part(i) << " " << detail;
            EXPECT_EQ(std::string(entry, 50), kakaku(i));
            kakaku_reopen(h);
        }
        char entry[50];
        std::string absent = part(5);
        absent[11] = '9';
        EXPECT_EQ(kakaku_read(entry, absent.data(), 12, 0, h, &detail), -1);
        kakaku_reopen(h);
        // A short key reads from the first part at or after it.
        ASSERT_EQ(kakaku_read(entry, part(3).data(), 6, 0, h, &detail), 0);
        EXPECT_EQ(std::string(entry, 12), part(3));
        ASSERT_EQ(kakaku_read(entry, part(3).data(), 6, 0, h, &detail), 0);
        EXPECT_EQ(std::string(entry, 12), part(4));
        EXPECT_EQ(kakaku_read(entry, "1234567890123", 13, 0, h, &detail), 128);
        EXPECT_EQ(detail, prd::kKeyTooLong);
        // Every record in sequence.
        kakaku_reopen(h);
        int count = 0;
        char rec[50];
        while (hdread(rec, nullptr, 0, h, &detail) == 0) ++count;
        EXPECT_EQ(count, n);
        kakaku_close(&h);
        EXPECT_EQ(h, nullptr);
    }
}

TEST_F(PriceTest, Price3HandsOnTheChosenPrice) {
    write(pxbuild::PriceKind::kPrice3, 50);
    EXPECT_EQ(kakaku_check(), 0);
    CdHandle* h = nullptr;
    int detail = 0;
    ASSERT_EQ(kakaku_open(0, &h, &detail), 0);
    EXPECT_EQ(kakaku_kind(h), kPricePrice3);
    const char* expect[] = {"  100.00", "  200.00", "  300.00", "        "};
    for (int kind = 0; kind < 4; ++kind) {
        char entry[50];
        ASSERT_EQ(kakaku_read(entry, part(7).data(), 12, kind, h, &detail), 0);
        EXPECT_EQ(std::string(entry, 12), part(7));
        EXPECT_EQ(std::string(entry + 12, 8), expect[kind]) << kind;
        EXPECT_EQ(std::string(entry + 20, 10), "FIELD-10XY");
        EXPECT_EQ(std::string(entry + 30, 20), "PART THREE          ");
        kakaku_reopen(h);
    }
    kakaku_close(&h);
    // With the skip flag PRICE3 is opened directly; asking for KAKAKU fails.
    ASSERT_EQ(kakaku_open(1, &h, &detail), 0);
    kakaku_close(&h);
    EXPECT_EQ(hdopen("KAKAKU  D  ", 2, &h, &detail), -1);
}

TEST_F(PriceTest, OpenFailures) {
    CdHandle* h = nullptr;
    int detail = 0;
    EXPECT_EQ(hdopen("KAKAKU  D  ", 4, &h, &detail), 128);
    EXPECT_EQ(detail, prd::kBadMode);
    EXPECT_EQ(kakaku_check(), -1) << "no master";
    write(pxbuild::PriceKind::kKakaku, 40);
    fs::remove(k.env().root() + "/PRICE/KAKAKU.D");
    EXPECT_EQ(hdopen("KAKAKU  D  ", 2, &h, &detail), -1) << "no data file";
    write(pxbuild::PriceKind::kKakaku, 40);
    std::string m = k.env().read("PRICE/PRICE.MST");
    k.env().write("PRICE/PRICE.MST", m.substr(0, 100));
    EXPECT_EQ(hdopen("KAKAKU  D  ", 2, &h, &detail), 14);
    std::string empty = m;
    empty.replace(96 + 20, 4, std::string(4, '\0'));
    k.env().write("PRICE/PRICE.MST", empty);
    EXPECT_EQ(hdopen("KAKAKU  D  ", 2, &h, &detail), -1) << "a data file of no blocks";
    std::string bad = m;
    bad[96 + 30] = 9;  // nine index levels
    k.env().write("PRICE/PRICE.MST", bad);
    EXPECT_EQ(hdopen("KAKAKU  D  ", 2, &h, &detail), 128);
    EXPECT_EQ(h, nullptr);
}

TEST_F(PriceTest, CutFilesGiveTheirCodes) {
    write(pxbuild::PriceKind::kKakaku, 200);  // 6 data blocks
    CdHandle* h = nullptr;
    int detail = 0;
    fs::resize_file(k.env().root() + "/PRICE/KAKAKU.D", 1800 * 2);
    ASSERT_EQ(kakaku_open(0, &h, &detail), 0);
    char entry[50];
    EXPECT_EQ(kakaku_read(entry, part(199).data(), 12, 0, h, &detail), 11) << "a short data block";
    kakaku_close(&h);
    fs::resize_file(k.env().root() + "/PRICE/KAKAKU.IA", 10);
    ASSERT_EQ(kakaku_open(0, &h, &detail), 0);
    EXPECT_EQ(kakaku_read(entry, part(1).data(), 12, 0, h, &detail), 14) << "a short index block";
    kakaku_close(&h);
}

TEST_F(PriceTest, LocalPriceMasterOfTheSameForm) {
    k.env().mkdir("LOCAL");
    write(pxbuild::PriceKind::kLocal, 100, "LOCAL");
    CdHandle* h = nullptr;
    int detail = 0;
    ASSERT_EQ(hdopen("LOCALP  D  ", 3, &h, &detail), 0);
    char rec[44];
    ASSERT_EQ(hdread(rec, part(77).data(), 12, h, &detail), 0);
    EXPECT_EQ(std::string(rec, 12), part(77));
    EXPECT_EQ(hdropen(h), 0);
    EXPECT_EQ(hdropen(nullptr), 128);
    hdclose(&h);
    EXPECT_EQ(hdclose(&h), 0);
}

}  // namespace
