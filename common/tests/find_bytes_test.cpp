// find_bytes answers as memmem does: the first place, at every alignment,
// near the end of the buffer, and for texts of one and two bytes.
#include <gtest/gtest.h>

#include <string.h>

#include <random>
#include <string>
#include <vector>

#include "pxall/find_bytes.h"

namespace {

const uint8_t* as_bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

std::ptrdiff_t place(const std::string& hay, const std::string& text) {
    const uint8_t* p = pxall::find_bytes(as_bytes(hay), hay.size(), as_bytes(text), text.size());
    return p == nullptr ? -1 : p - as_bytes(hay);
}

std::ptrdiff_t memmem_place(const std::string& hay, const std::string& text) {
    const void* p = ::memmem(hay.data(), hay.size(), text.data(), text.size());
    return p == nullptr ? -1 : static_cast<const char*>(p) - hay.data();
}

TEST(FindBytes, CasesAtTheEdges) {
    struct Case {
        std::string hay, text;
        std::ptrdiff_t at;
    } cases[] = {
        {"", "A", -1},
        {"ABC", "", 0},
        {"AB", "ABC", -1},
        {"FILTE", "FILTER", -1},
        {"FILTER", "FILTER", 0},
        {std::string(40, ' ') + "FILTER", "FILTER", 40},      // the last place of the buffer
        {std::string(40, ' ') + "FILTE", "FILTER", -1},       // cut short at the end
        {std::string(17, 'F') + "XR FILTER", "FILTER", 20},   // first and last byte agree, the middle not
        {"FR" + std::string(30, ' ') + "FILTERFILTER", "FILTER", 32},  // the first of two
        {std::string(31, ' ') + "Q", "Q", 31},
        {std::string(31, ' ') + "QZ", "QZ", 31},
        {std::string("A\0B\0AB", 6), std::string("\0AB", 3), 3},  // NUL bytes are bytes
    };
    for (const Case& c : cases) {
        EXPECT_EQ(place(c.hay, c.text), c.at) << '"' << c.hay << "\" \"" << c.text << '"';
        EXPECT_EQ(place(c.hay, c.text), memmem_place(c.hay, c.text)) << '"' << c.hay << '"';
    }
}

TEST(FindBytes, SameAsMemmemOnRandomText) {
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        const int letters = 2 + round % 4;  // few letters: many near misses
        std::string hay(rng() % 200, ' ');
        for (char& ch : hay) ch = static_cast<char>('A' + rng() % letters);
        std::string text(1 + rng() % 8, ' ');
        for (char& ch : text) ch = static_cast<char>('A' + rng() % letters);
        const size_t from = hay.empty() ? 0 : rng() % hay.size();
        const std::string part = hay.substr(from);
        ASSERT_EQ(place(part, text), memmem_place(part, text)) << part << " / " << text;
    }
}

// find_each visits the places memmem finds one after the other, going on
// from where each visit says: one byte on, or a whole record of 7 further.
TEST(FindBytes, EachPlaceAsMemmemFindsThem) {
    std::mt19937 rng(11);
    for (int round = 0; round < 2000; ++round) {
        const int letters = 2 + round % 3;
        std::string hay(rng() % 300, ' ');
        for (char& ch : hay) ch = static_cast<char>('A' + rng() % letters);
        std::string text(1 + rng() % 6, ' ');
        for (char& ch : text) ch = static_cast<char>('A' + rng() % letters);
        const size_t step = round % 2 == 0 ? 1 : 7;
        std::vector<size_t> want, got;
        for (size_t at = 0; at + text.size() <= hay.size();) {
            const void* p = ::memmem(hay.data() + at, hay.size() - at, text.data(), text.size());
            if (p == nullptr) break;
            const size_t o = static_cast<size_t>(static_cast<const char*>(p) - hay.data());
            want.push_back(o);
            at = step == 1 ? o + 1 : (o / step + 1) * step;
        }
        pxall::find_each(as_bytes(hay), hay.size(), as_bytes(text), text.size(), [&](size_t o) {
            got.push_back(o);
            return step == 1 ? o + 1 : (o / step + 1) * step;
        });
        ASSERT_EQ(got, want) << hay << " / " << text;
    }
}

}  // namespace
