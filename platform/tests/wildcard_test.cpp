#include <gtest/gtest.h>

#include "platform/files.h"

namespace {

TEST(WildcardTest, WindowsRules) {
    const struct {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"*.TMP", "pximg1.tmp", true},
        {"PX*.tmp", "PXIMG2.TMP", true},
        {"*.TMP", "pximg1.tmpx", false},
        {"*.TMP", "TMP", false},
        {"*", "a.b.c", true},
        {"*.*", "README", true},  // names without a dot too
        {"*.*", "a.b", true},
        {"*.", "README", true},
        {"*.", "a.b", false},
        {"ABC.", "abc", true},
        {"a.b.", "A.B", true},
        {"abc.*", "abc", true},
        {"abc.*", "abc.def", true},
        {"abc.*", "abcd", false},
        {"A??.TXT", "A.TXT", true},  // '?' may match nothing before the dot
        {"A??.TXT", "AB.TXT", true},
        {"A??.TXT", "ABC.TXT", true},
        {"A??.TXT", "ABCD.TXT", false},
        {"???", "ab", true},  // ... and at the end of the name
        {"???", "abcd", false},
        {"*.t?p", "x.TMP", true},
        {"*a", "BA", true},
        {"*a", "ab", false},
        {"*.d", "a.b.d", true},
        {"x.dat", "X.DAT", true},
        {"x.dat", "x.data", false},
        {"*1*", "pximg1.tmp", true},
        {"**.*", "x", true},
        {"", "x", false},
        {".", ".", true},
        {"..", "..", true},
        {"*.", "..", true},
        {"*.*", ".", true},
        {"*.TMP", ".", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(plat::wildcard_match(c.pattern, c.name), c.match) << c.pattern << " / " << c.name;
    }
}

TEST(WildcardTest, ManyStarsStayCheap) {
    std::string name(200, 'a');
    EXPECT_FALSE(plat::wildcard_match("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b", name));
}

}  // namespace
