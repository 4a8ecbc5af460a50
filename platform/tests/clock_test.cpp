#include "platform/clock.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

class ClockTest : public ::testing::Test {
protected:
    void TearDown() override { plat::unfix_clock(); }
};

TEST_F(ClockTest, FixedClockMovesOnlyBySleeps) {
    plat::fix_clock(1999, 12, 31, 23, 59, 58);
    std::tm t = plat::local_now();
    EXPECT_EQ(t.tm_year, 99);
    EXPECT_EQ(t.tm_mon, 11);
    EXPECT_EQ(t.tm_mday, 31);
    EXPECT_EQ(t.tm_hour, 23);
    EXPECT_EQ(t.tm_min, 59);
    EXPECT_EQ(t.tm_sec, 58);
    const int64_t start = plat::now_seconds();

    plat::sleep_ms(600);
    EXPECT_EQ(plat::now_seconds(), start);
    plat::sleep_ms(600);  // the remainders add up to a second
    EXPECT_EQ(plat::now_seconds(), start + 1);
    plat::sleep_ms(0);
    plat::sleep_ms(-5);
    plat::sleep_ms(1800);  // 200 + 1800 ms: into the next year
    EXPECT_EQ(plat::now_seconds(), start + 3);
    t = plat::local_now();
    EXPECT_EQ(t.tm_year, 100);
    EXPECT_EQ(t.tm_mon, 0);
    EXPECT_EQ(t.tm_mday, 1);
    EXPECT_EQ(t.tm_sec, 1);
}

TEST_F(ClockTest, RealClockByDefault) {
    plat::fix_clock(2001, 1, 1, 0, 0, 0);
    plat::unfix_clock();
    const int64_t before = static_cast<int64_t>(std::time(nullptr));
    const int64_t now = plat::now_seconds();
    EXPECT_GE(now, before);
    EXPECT_LE(now, before + 2);
    plat::sleep_ms(20);
    EXPECT_GE(plat::now_seconds(), now);
}

}  // namespace
