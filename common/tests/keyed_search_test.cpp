#include <gtest/gtest.h>

#include <string>

#include "pxall/keyed_file.h"

namespace {

using pxall::d_search;
using pxall::d_search2;

// Records of 6 bytes with a 3-byte key at offset 2.
const std::string kBuf = "..AAB." "..ABB." "..ABB." "..ACA.";

struct Case {
    const char* key;
    int mask;
    int bit;
    int index;
};

TEST(DSearch, MaskPicksTheFirstRecordInItsRelation) {
    const Case cases[] = {
        {"ABB", 2, 2, 1},  // first equal
        {"ABA", 3, 1, 1},  // first not below the wanted key
        {"ABB", 3, 2, 1},
        {"ABC", 4, 4, 0},  // first record below the wanted key
        {"ABC", 3, 1, 3},
        {"ABC", 2, 0, -1},
        {"AZZ", 3, 0, -1},
        {"AB", 2, 2, 1},   // a shorter key compares its own length
    };
    for (const auto& c : cases) {
        int index = -1;
        int bit = d_search(c.key, static_cast<int>(std::string(c.key).size()), 2, c.mask, kBuf.data(),
                           static_cast<int>(kBuf.size()), 6, &index);
        EXPECT_EQ(bit, c.bit) << c.key << " mask " << c.mask;
        if (c.bit != 0) {
            EXPECT_EQ(index, c.index) << c.key;
        }
    }
}

TEST(DSearch, ComparesBytesUnsigned) {
    const std::string buf = "\x7f" "\x80";
    int index = -1;
    EXPECT_EQ(d_search("\x80", 1, 0, 3, buf.data(), 2, 1, &index), 2);
    EXPECT_EQ(index, 1);
}

TEST(DSearch, StaysInsideItsBuffer) {
    int index = -1;
    // A key field past the record, no records, a zero record length: no match.
    EXPECT_EQ(d_search("AB", 2, 5, 7, kBuf.data(), 24, 6, &index), 0);
    EXPECT_EQ(d_search("AB", 2, 0, 7, kBuf.data(), 5, 6, &index), 0);
    EXPECT_EQ(d_search("AB", 2, 0, 7, kBuf.data(), 24, 0, &index), 0);
    EXPECT_EQ(d_search(nullptr, 2, 0, 7, kBuf.data(), 24, 6, &index), 0);
    // A partial last record is not looked at.
    EXPECT_EQ(d_search("ACA", 3, 2, 2, kBuf.data(), 23, 6, &index), 0);
}

TEST(DSearch2, LooksOnlyAtRecordsOfTheKeysFirstFourBytes) {
    // 8-byte records, 6-byte key at 0.
    const std::string buf = "ABCDZZ.." "ABCEAA.." "ABCEBB..";
    int index = -1;
    // d_search takes the first record above; d_search2 skips those whose
    // first four bytes differ.
    EXPECT_EQ(d_search("ABCE00", 6, 0, 3, buf.data(), 24, 8, &index), 1);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(d_search("ABCDZZ", 6, 0, 1, buf.data(), 24, 8, &index), 1);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(d_search2("ABCDZZ", 6, 0, 1, buf.data(), 24, 8, &index), 0);
    EXPECT_EQ(d_search2("ABCEB", 5, 0, 2, buf.data(), 24, 8, &index), 2);
    EXPECT_EQ(index, 2);
}

TEST(DSearch2, ShortKeysCompareOnlyTheirOwnBytes) {
    // A key of 2 or 3 bytes is its own prefix: the test never reads past it.
    const std::string buf = "XA" "AB" "AC";
    int index = -1;
    std::string key2 = "AC";
    EXPECT_EQ(d_search2(key2.data(), 2, 0, 2, buf.data(), 6, 2, &index), 2);
    EXPECT_EQ(index, 2);
    std::string key3 = "ACZ";
    const std::string buf3 = "ACA" "ACZ";
    EXPECT_EQ(d_search2(key3.data(), 3, 0, 2, buf3.data(), 6, 3, &index), 2);
    EXPECT_EQ(index, 1);
    // A one-byte key is not filtered.
    EXPECT_EQ(d_search2("B", 1, 0, 4, buf.data(), 6, 2, &index), 4);
    EXPECT_EQ(index, 1);
}

}  // namespace
