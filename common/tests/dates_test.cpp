#include "pxall/dates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/clock.h"

namespace {

using namespace pxall;

class Dates : public ::testing::Test {
protected:
    void TearDown() override { plat::unfix_clock(); }
};

TEST_F(Dates, Date2AndTime2FollowTheClock) {
    struct Case { int y, mo, d, h, mi, s; std::string date; std::string time; };
    const std::vector<Case> cases = {
        {2024, 3, 5, 9, 7, 2, "20240305", "090702"},
        {1999, 12, 31, 23, 59, 59, "19991231", "235959"},
        {2050, 1, 1, 0, 0, 0, "20500101", "000000"},
        {2000, 2, 29, 12, 0, 0, "20000229", "120000"},
    };
    for (const auto& c : cases) {
        plat::fix_clock(c.y, c.mo, c.d, c.h, c.mi, c.s);
        char date[10] = "*********";
        char time[8] = "*******";
        date2(date);
        time2(time);
        EXPECT_EQ(std::string(date, 9), c.date + "*");  // no terminator written
        EXPECT_EQ(std::string(time, 7), c.time + "*");
    }
}

TEST_F(Dates, TimerWaitsOnTheClock) {
    plat::fix_clock(2024, 1, 1, 10, 0, 0);
    int64_t start = plat::now_seconds();
    timer(3);
    EXPECT_GE(plat::now_seconds() - start, 3);
    EXPECT_LT(plat::now_seconds() - start, 4);
    int64_t mid = plat::now_seconds();
    timer(0);
    timer(-2);
    EXPECT_EQ(plat::now_seconds(), mid);
}

TEST(DatesRule, Check2000) {
    struct Case { const char* yy; int year; int result; };
    const std::vector<Case> cases = {
        {"00", 0, 2}, {"50", 50, 2}, {"51", 51, 1}, {"99", 99, 1}, {"  ", 0, 2}, {" 7", 7, 2},
    };
    for (const auto& c : cases) {
        int year = -1;
        EXPECT_EQ(check_2000(c.yy, &year), c.result) << c.yy;
        EXPECT_EQ(year, c.year) << c.yy;
    }
}

TEST(DatesRule, Ad2i) {
    struct Case { const char* yymm; int32_t months; };
    const std::vector<Case> cases = {
        {"9912", 99 * 12 + 12},
        {"0001", 100 * 12 + 1},
        {"5012", 150 * 12 + 12},
        {"5101", 51 * 12 + 1},
        {"0000", 0},
        {"    ", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ad2i(c.yymm), c.months) << c.yymm;
    // 1999-12 comes before 2000-01.
    EXPECT_LT(ad2i("9912"), ad2i("0001"));
}

}  // namespace
