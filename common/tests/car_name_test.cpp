#include "pxall/car_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pxbuild/bytes.h"
#include "pxbuild/keyed_writer.h"
#include "support/keyed_fixture.h"

namespace {

using namespace pxall;

std::string shamei(const std::string& code, const std::string& name, const std::string& cd_no) {
    return pxbuild::Record(97).text(0, 3, "001").text(3, 20, name).text(23, 6, code).text(79, 8, "18032312").text(87, 2, cd_no);
}

// Two full copies of area E: E1 (CD number 01) and E2 (02), each with its
// own car names; E2's list also names a catalogue of a CD not set up.
class CarNameTest : public ::testing::Test {
protected:
    void SetUp() override {
        k.make_cd("E1", "20240115").put_keyed("", "SHAMEI.DAT", pxbuild::build_keyed("SHAMEI.DAT", {
            shamei("4410A1", "ARVENA SEDAN", "01"), shamei("5130C2", "BRISCA HATCH", "01")}));
        k.install("E1", '1', "01");
        k.make_cd("E2", "20240601").put_keyed("", "SHAMEI.DAT", pxbuild::build_keyed("SHAMEI.DAT", {
            shamei("6120D1", "TORVAN VAN", "02"), shamei("7777X7", "LOST MODEL", "07")}));
        k.install("E2", '1', "02");
    }
    pxtest::KeyedEnv k;
};

TEST_F(CarNameTest, TheRecordAndTheSetUpEntryOfItsCdNumber) {
    struct Case {
        const char* key;
        std::vector<int32_t> list;
        int result;
        int32_t index;
    };
    const Case cases[] = {
        {"4410A1", {0}, 0, 0},
        {"6120D1", {0, 1}, 0, 1},   // not in E1: found in E2
        {"6120D1", {1, 0}, 0, 1},
        {"5130C2", {1}, 1, -9},     // only E2 asked
        {"9999Z9", {0, 1}, 1, -9},
        {"7777X7", {1}, 6, -9},     // CD 07 is not set up
        {"4410A1", {}, 1, -9},
        {"4410A1", {29, 0}, 0, 0},  // an empty entry is passed over
    };
    for (const Case& c : cases) {
        std::string rec(97, '#');
        int32_t index = -9, err = -1;
        int r = v_check_shamei_d(c.key, c.list.data(), static_cast<int>(c.list.size()), rec.data(), &index, &err);
        EXPECT_EQ(r, c.result) << c.key;
        EXPECT_EQ(index, c.index) << c.key;
        if (r == 0) {
            EXPECT_EQ(rec.substr(23, 6), c.key);
        }
        else EXPECT_EQ(rec, std::string(97, '#'));
    }
    EXPECT_EQ(v_check_shamei_d("4410A1", nullptr, 1, nullptr, nullptr, nullptr), 1);
    int32_t one = 0;
    EXPECT_EQ(v_check_shamei_d("4410A1", &one, 1, nullptr, nullptr, nullptr), 0);
}

}  // namespace
