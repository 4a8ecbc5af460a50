#include "pxall/strutil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace pxall;

// Runs a field function on a copy bounded by guard bytes, so a write outside
// the n bytes shows up.
struct Guarded {
    explicit Guarded(const std::string& s) : buf("##" + s + "##") {}
    char* field() { return buf.data() + 2; }
    std::string value() const { return buf.substr(2, buf.size() - 4); }
    bool guards_intact() const { return buf.substr(0, 2) == "##" && buf.substr(buf.size() - 2) == "##"; }
    std::string buf;
};

TEST(StrUtil, MemlftShiftsAndRefills) {
    struct Case { std::string in; char c; std::string out; int removed; };
    const std::vector<Case> cases = {
        {"  AB ", ' ', "AB   ", 2},
        {"00012", '0', "12000", 3},
        {"AB", ' ', "AB", 0},
        {"   ", ' ', "   ", 3},
        {"", ' ', "", 0},
    };
    for (const auto& c : cases) {
        Guarded g(c.in);
        EXPECT_EQ(memlft(g.field(), c.c, static_cast<int>(c.in.size())), c.removed) << c.in;
        EXPECT_EQ(g.value(), c.out) << c.in;
        EXPECT_TRUE(g.guards_intact());
    }
    char x = 'Z';
    EXPECT_EQ(memlft(&x, 'Z', -3), 0);
    EXPECT_EQ(x, 'Z');
}

TEST(StrUtil, Memlft2ReplacesThenDropsLeadingRun) {
    char field[] = "00102";
    char dest[6] = "xxxxx";
    EXPECT_EQ(memlft2(dest, field, '0', ' ', 5), 2);
    EXPECT_EQ(std::string(dest, 5), "1 2  ");
    EXPECT_EQ(std::string(field, 5), "  1 2");  // the field itself is converted
    // In place.
    char same[] = "  AB C";
    EXPECT_EQ(memlft2(same, same, ' ', '*', 6), 2);
    EXPECT_EQ(std::string(same, 6), "AB*C**");
}

TEST(StrUtil, MemrepShowsNulAsBlank) {
    const char src[5] = {'A', '\0', 'B', '\0', '\0'};
    char dest[5];
    memrep(dest, src, '\0', ' ', 5);
    EXPECT_EQ(std::string(dest, 5), "A B  ");
}

TEST(StrUtil, StrlftAndStrrep) {
    char s[] = "**AB*";
    EXPECT_EQ(strlft(s, '*'), 2);
    EXPECT_STREQ(s, "AB***");
    char t[] = "A.B.C";
    EXPECT_EQ(strrep(t, '.', '\0'), 2);  // the walk covers the whole string
    EXPECT_EQ(std::string(t, 5), std::string("A\0B\0C", 5));
    char u[] = "ABC";
    EXPECT_EQ(strrep(u, '\0', 'x'), 0);
    EXPECT_STREQ(u, "ABC");
}

TEST(StrUtil, FieldTests) {
    struct Case { const char* field; int n; int all_blank; int digit; int alnum; int cat; };
    const std::vector<Case> cases = {
        {"123456", 6, 0, 1, 1, 1},
        {"1234A6", 6, 0, 0, 1, 1},   // fifth may be a letter
        {"123A56", 6, 0, 0, 1, 0},   // fourth may not
        {"1234a6", 6, 0, 0, 1, 1},
        {"1234-6", 6, 0, 0, 0, 0},
        {"12 456", 6, 0, 0, 0, 0},
        {"      ", 6, 1, 0, 0, 0},
        {"\xB1\xB2", 2, 0, 0, 0, 0},  // single-byte katakana is not alnum
        {"", 0, 1, 1, 1, 1},          // empty field
        {"", -1, 1, 1, 1, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(memall(c.field, ' ', c.n), c.all_blank) << c.field;
        EXPECT_EQ(memisdigit(c.field, c.n), c.digit) << c.field;
        EXPECT_EQ(memisalnum(c.field, c.n), c.alnum) << c.field;
        EXPECT_EQ(memcatcheck(c.field, c.n), c.cat) << c.field;
    }
}

TEST(StrUtil, Lengths) {
    struct Case { std::string field; int clen_x; int lenf; int lenb; };
    const std::vector<Case> cases = {
        {"AB CD   ", -1, 2, 5},
        {"ABXCD\t\n ", 2, 5, 5},
        {std::string("AB\0\0", 4), -1, 2, 2},
        {"        ", -1, 0, 0},
        {"ABCDEFGH", -1, 8, 8},
        {" X", 1, 0, 2},
        {"\xE3\x81\x82 ", -1, 3, 3},  // bytes above 0x7F are characters
    };
    for (const auto& c : cases) {
        int n = static_cast<int>(c.field.size());
        EXPECT_EQ(memclen(c.field.data(), 'X', n), c.clen_x) << c.field;
        EXPECT_EQ(memlenf(c.field.data(), n), c.lenf) << c.field;
        EXPECT_EQ(memlenb(c.field.data(), n), c.lenb) << c.field;
    }
    EXPECT_EQ(memclen("X", 'X', 0), -1);
    EXPECT_EQ(memlenf("X", 0), 0);
    EXPECT_EQ(memlenb("X", -5), 0);
}

TEST(StrUtil, Zeroedit) {
    struct Case { std::string in; std::string out; };
    const std::vector<Case> cases = {
        {"12   ", "00012"},
        {" 1 2 ", "00012"},
        {"     ", "00000"},
        {"12345", "12345"},
        {"123456789", "123456789"},
        {"12        ", "12        "},  // longer than 9: unchanged
    };
    for (const auto& c : cases) {
        Guarded g(c.in);
        zeroedit(g.field(), static_cast<int>(c.in.size()));
        EXPECT_EQ(g.value(), c.out) << c.in;
        EXPECT_TRUE(g.guards_intact());
    }
}

TEST(StrUtil, MemncpyStopsAtTerminatorAndAddsNone) {
    char dest[8];
    std::memset(dest, '*', sizeof dest);
    memncpy(dest, "ABC", 8);
    EXPECT_EQ(std::string(dest, 8), "ABC*****");
    memncpy(dest, "WXYZ", 2);
    EXPECT_EQ(std::string(dest, 8), "WXC*****");
    memncpy(dest, "Q", 0);
    EXPECT_EQ(dest[0], 'W');
}

TEST(StrUtil, LastSpace2Null) {
    Guarded g("AB C \t ");
    last_space2null(g.field(), 7);
    EXPECT_EQ(g.value(), std::string("AB C\0\0\0", 7));
    EXPECT_TRUE(g.guards_intact());
    Guarded all("   ");
    last_space2null(all.field(), 3);
    EXPECT_EQ(all.value(), std::string(3, '\0'));
}

TEST(StrUtil, Memmem) {
    struct Case { std::string buf; std::string pat; int at; };
    const std::vector<Case> cases = {
        {"ABCABD", "ABD", 3},
        {"ABCABD", "ABC", 0},
        {"ABCABD", "D", 5},
        {"ABCABD", "ABE", -1},
        {"AB", "ABC", -1},   // pattern longer than buffer
        {"ABC", "", -1},     // empty pattern
        {std::string("A\0B", 3), std::string("\0B", 2), 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pxall::memmem(c.buf.data(), static_cast<int>(c.buf.size()), c.pat.data(),
                                static_cast<int>(c.pat.size())),
                  c.at)
            << c.buf << " / " << c.pat;
    // The pattern is only compared inside the n bytes, never past them.
    const char buf[] = "XXABC";
    EXPECT_EQ(pxall::memmem(buf, 4, "ABC", 3), -1);
}

TEST(StrUtil, EraseZero) {
    struct Case { std::string in; std::string out; int blanked; };
    const std::vector<Case> cases = {
        {"0,000", "    0", 4},
        {"00012,345", "   12,345", 3},
        {" ,0 1", "    1", 4},
        {"12,000", "12,000", 0},
        {"     ", "    0", 4},
        {"0", "0", 0},
    };
    for (const auto& c : cases) {
        Guarded g(c.in);
        EXPECT_EQ(erase_zero(g.field(), static_cast<int>(c.in.size())), c.blanked) << c.in;
        EXPECT_EQ(g.value(), c.out) << c.in;
        EXPECT_TRUE(g.guards_intact());
    }
    char x = '0';
    EXPECT_EQ(erase_zero(&x, 0), 0);
    EXPECT_EQ(x, '0');
}

}  // namespace
