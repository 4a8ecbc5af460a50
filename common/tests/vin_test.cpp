#include "pxall/vin.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "pxall/vehicle_work_layout.h"

namespace {

using namespace pxall;

TEST(VinTest, EveryMakerIdentifierGivesTheLongPrefix) {
    ASSERT_EQ(vehwork::kWmiCount, 15);
    for (const auto& wmi : vehwork::kWmis) {
        std::string vin = std::string(wmi) + "AVS1604A100001";
        EXPECT_EQ(v_set_vin_len(vin.c_str()), 9) << wmi;
        EXPECT_EQ(v_set_vin_char(vin.c_str()), '0') << wmi;
    }
}

TEST(VinTest, PrefixLengthAndFillOfOtherVins) {
    struct Case {
        const char* vin;
        int len;
    };
    const Case cases[] = {
        {"PX1AVS1604A100001", 9},
        {"PXFMRV2207C100001", 9},
        {"px1AVS1604A100001", 8},    // lower case is not the identifier
        {"PXGAVS1604A100001", 8},    // one past the table
        {"PX0AVS1604A100001", 8},
        {"XPAAVS1604A100001", 8},
        {" PX1AVS1604A10000", 8},
        {"PX-AVS1604A100001", 8},
        {"P\xd8" "1AVS1604A100001", 8},  // a byte above 0x7f
        {"\0\0\0AVS1604A100001", 8},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(v_set_vin_len(c.vin), c.len) << c.vin;
        EXPECT_EQ(v_set_vin_char(c.vin), c.len == 9 ? '0' : ' ') << c.vin;
    }
    EXPECT_EQ(v_set_vin_len(nullptr), 8);
}

TEST(VinTest, CopyVinBlankFillsNineBytes) {
    char field[10] = "#########";
    EXPECT_EQ(v_copy_vin("PX3BRH1405A123456", field), 9);
    EXPECT_EQ(std::string(field, 9), "PX3BRH140");
    std::memset(field, '#', 9);
    EXPECT_EQ(v_copy_vin("ZZZBRH1405A123456", field), 8);
    EXPECT_EQ(std::string(field, 9), "ZZZBRH14 ");
    EXPECT_EQ(field[9], '\0');  // nothing past the 9 bytes
    std::memset(field, '#', 9);
    EXPECT_EQ(v_copy_vin(nullptr, field), 0);
    EXPECT_EQ(std::string(field, 9), "         ");
}

TEST(VinTest, EditVinFillsEmptyPositionsNineAndTenOnlyBeforeAFrameNumber) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"PX2AVS16  A100001", "PX2AVS1600A100001"},  // identifier: "0" fill
        {"ZZZAVS16  A100001", "ZZZAVS16  A100001"},  // other: blank fill
        {"ZZZAVS16\t\x01" "A100001", "ZZZAVS16  A100001"},  // control characters become the fill
        {"PX2AVS16   100001", "PX2AVS16   100001"},  // 11th blank: unchanged
        {"PX2AVS16\0\0\0\0\0\0\0\0\0", "PX2AVS16\0\0\0\0\0\0\0\0\0"},
        {"PX2AVS164 A100001", "PX2AVS1640A100001"},  // only the empty one
        {"PX2AVS1641A100001", "PX2AVS1641A100001"},
    };
    for (const Case& c : cases) {
        char vin[17];
        std::memcpy(vin, c.in, 17);
        v_edit_vin(vin);
        EXPECT_EQ(std::string(vin, 17), std::string(c.out, 17)) << c.in;
    }
    v_edit_vin(nullptr);
}

TEST(VinTest, FrameNumberShapes) {
    struct Case {
        const char* field;  // 7 bytes are read
        int valid;
    };
    const Case cases[] = {
        {"A123456", 1},
        {"0123456", 1},
        {"Z000000", 1},
        {"a123456", 1},          // lower case: any letter
        {"z000000", 1},
        {"`123456", 0},          // the bytes beside the lower-case letters
        {"{123456", 0},
        {"@123456", 0},
        {"[123456", 0},
        {"AB23456", 0},          // a letter in the second position
        {"A12345 ", 0},          // six characters
        {"A12 456", 0},          // a blank among the seven
        {" A12345", 0},
        {"A12345\0", 0},
        {"-123456", 0},          // punctuation
        {"A1234.6", 0},
        {"\xc1" "123456", 0},    // non-ASCII first byte
        {"A12345\xb9", 0},       // non-ASCII digit-like byte
        {"       ", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(v_valid_frameno(c.field), c.valid) << c.field;
    EXPECT_EQ(v_valid_frameno(nullptr), 0);
}

}  // namespace
