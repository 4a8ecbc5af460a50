#include "pxall/hinban.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace pxall;

TEST(Hinban, DisplayFormBothWays) {
    struct Case { std::string stored; std::string display; std::string back; };
    const std::vector<Case> cases = {
        {"12345ABCDE01", "12345-ABCDE-01", "12345ABCDE01"},
        {"12345ABCDE  ", "12345-ABCDE-  ", "12345ABCDE  "},
        {"12345       ", "12345-     -  ", "12345       "},
        {"            ", "              ", "            "},
    };
    for (const auto& c : cases) {
        char display[15] = "**************";
        display[14] = '#';
        edit_hinban14(display, c.stored.data());
        EXPECT_EQ(std::string(display, 14), c.display) << c.stored;
        EXPECT_EQ(display[14], '#');
        char back[13];
        back[12] = '#';
        edit_hinban12(back, display);
        EXPECT_EQ(std::string(back, 12), c.back) << c.display;
        EXPECT_EQ(back[12], '#');
    }
}

TEST(Hinban, AllBlankKeepsOnlyTheFirstFive) {
    const char stored[12] = {'\0', '\0', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    char display[14];
    edit_hinban14(display, stored);
    EXPECT_EQ(std::string(display, 14), std::string("\0\0", 2) + std::string(12, ' '));
}

TEST(Hinban, Edit12KeepsPositionsOfLaterGroups) {
    char out[12];
    edit_hinban12(out, "12345- ABCD-01");  // 7th blank: 7-11 dropped, 13-14 stay at 11-12
    EXPECT_EQ(std::string(out, 12), "12345     01");
}

TEST(Hinban, EditFilename) {
    struct Case { std::string in; std::string out; };
    const std::vector<Case> cases = {
        {"KAKAKU  D     ", "KAKAKU.D"},
        {"KAKAKU  IA1   ", "KAKAKU.IA1"},
        {"SHAMEI  DAT   ", "SHAMEI.DAT"},
        {"PRICE      XYZ", "PRICE"},  // bytes after the 8+3 name are not read
        {"ABCDEFGHIJK   ", "ABCDEFGH.IJK"},
    };
    for (const auto& c : cases) {
        char buf[14];
        c.in.copy(buf, 14);
        edit_filename(buf);
        EXPECT_STREQ(buf, c.out.c_str()) << c.in;
    }
}

TEST(Hinban, Teki2bit) {
    struct Case { const char* n; int result; int byte; uint8_t mask; };
    const std::vector<Case> cases = {
        {"001", 0, 0, 0x80},
        {"008", 0, 0, 0x01},
        {"009", 0, 1, 0x80},
        {"016", 0, 1, 0x01},
        {"999", 0, 124, 0x02},
        {"000", -1, 0, 0},  // item 0 has no bit
        {"0A1", -1, 0, 0},
        {"  1", -1, 0, 0},
    };
    for (const auto& c : cases) {
        int byte = 77;
        uint8_t mask = 0x55;
        EXPECT_EQ(teki2bit(c.n, &byte, &mask), c.result) << c.n;
        EXPECT_EQ(byte, c.byte) << c.n;
        EXPECT_EQ(mask, c.mask) << c.n;
    }
    int byte = 5;
    EXPECT_EQ(teki2bit("001", &byte, nullptr), -1);
    EXPECT_EQ(byte, 0);
}

TEST(Hinban, CvtAlnum2Ulong) {
    struct Case { std::string field; uint32_t value; };
    const std::vector<Case> cases = {
        {"123", 123},
        {"A", 10},
        {"1B", 10 + 11},
        {"Z0", 350},
        {"z0", 350},
        {"999999999", 999999999u},
        {"ZZZZZZZZZ", 35u * 111111111u},
        {"1 2", 102},
        {"1234567890", 0},  // longer than 9
        {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cvt_alnum2ulong(c.field.data(), static_cast<int>(c.field.size())), c.value) << c.field;
}

TEST(Hinban, Areas) {
    struct Case { const char* text; int id; };
    const std::vector<Case> cases = {
        {"E1", 0}, {"G", 1}, {"U3", 2}, {"JF", 3}, {"e1", -1}, {"X", -1}, {"", -1}, {nullptr, -1},
    };
    unsigned char table[8] = {};
    for (const auto& c : cases) {
        EXPECT_EQ(area_id(c.text), c.id) << (c.text ? c.text : "null");
        unsigned char* slot = area_letter(c.text, table, 2);
        EXPECT_EQ(slot, c.id < 0 ? nullptr : table + 2 * c.id);
    }
    EXPECT_EQ(area_letter("J", static_cast<unsigned char*>(nullptr), 2), nullptr);
    EXPECT_EQ(area_letter("J", table, 0), nullptr);
    char chars[4] = {};
    EXPECT_EQ(area_letter("U", chars, 1), chars + 2);

    char letter = '?';
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(GetAreaChar(i, &letter), 0);
        EXPECT_EQ(letter, "EGUJ"[i]);
    }
    letter = '?';
    EXPECT_EQ(GetAreaChar(-1, &letter), -1);
    EXPECT_EQ(GetAreaChar(4, &letter), -1);
    EXPECT_EQ(letter, '?');
}

}  // namespace
