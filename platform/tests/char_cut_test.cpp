#include <gtest/gtest.h>

#include <string>

#include "platform/char_cut.h"

namespace {

TEST(CharCut, CutsOnlyAtCharacterBoundaries) {
    // "任意" in code page 932, then ASCII, then a half-width katakana (one
    // byte, 0xB1) and a character whose second byte is '\' (0x83 0x5C).
    const std::string jp = "\x94\x43\x88\xD3";
    const std::string mixed = "A\x94\x43" "B\xB1\x83\x5C";
    struct Case {
        std::string text;
        size_t max;
        bool double_byte;
        size_t want;
    } cases[] = {
        {jp, 4, true, 4},       // fits whole
        {jp, 3, true, 2},       // the second character would be split
        {jp, 1, true, 0},
        {jp, 3, false, 3},      // a single-byte code page cuts on bytes
        {mixed, 2, true, 1},    // not after the lead byte
        {mixed, 3, true, 3},
        {mixed, 5, true, 5},    // the half-width katakana is one byte
        {mixed, 6, true, 5},    // a trail byte '\' is no character of its own
        {mixed, 7, true, 7},
        {"", 3, true, 0},
        {"ABC", 0, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.max);
        EXPECT_EQ(plat::char_cut_length(c.text, c.max, c.double_byte), c.want);
    }
}

}  // namespace
