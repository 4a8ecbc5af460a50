#include "pxall/wrap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pxall/blocks.h"
#include "support/temp_env.h"

namespace {

using namespace pxall;

using Cutter = int (*)(const char*, int, char*, int, int32_t*);

// All pieces of a text, each checked to be a blank-padded field of width w
// with nothing written past it.
std::vector<std::string> pieces(Cutter cut, const std::string& text, int w) {
    std::vector<std::string> out;
    int32_t pos = 0;
    for (int guard = 0; guard < 100; ++guard) {
        std::string field(static_cast<size_t>(w) + 1, '#');
        int32_t before = pos;
        if (cut(text.data(), static_cast<int>(text.size()), field.data(), w, &pos) != 0) {
            EXPECT_EQ(pos, before);
            EXPECT_EQ(field.substr(0, w), std::string(w, ' '));
            break;
        }
        EXPECT_GT(pos, before);
        EXPECT_EQ(field[w], '#');
        out.push_back(field.substr(0, w));
    }
    return out;
}

TEST(Wrap, CutsAtWordBoundaries) {
    struct Case { std::string text; int w; std::vector<std::string> out; };
    const std::vector<Case> cases = {
        {"ABC DEFGHIJKL", 10, {"ABC       ", "DEFGHIJKL "}},
        {"AB,CDEFGHIJK", 5, {"AB,  ", "CDEFG", "HIJK "}},
        {"ABCDEFGHIJKL", 5, {"ABCDE", "FGHIJ", "KL   "}},      // no separator
        {"ABCDE FGH", 5, {"ABCDE", "FGH  "}},                 // blank right after
        {"A BC,DEF", 5, {"A BC,", "DEF  "}},                 // comma later than blank
        {"AB,C DEF", 5, {"AB,C ", "DEF  "}},                 // blank later than comma
        {",ABCDEFG", 3, {",AB", "CDE", "FG "}},              // separator only at the first place
        {std::string("AB\0CDEF", 7), 4, {"AB  ", "CDEF"}},    // NUL separates
        {"   ABC   ", 5, {"ABC  "}},
        {"  \t\n ", 5, {}},
        {"", 5, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(pieces(memory_edit_2_n_data, c.text, c.w), c.out) << c.text;
}

TEST(Wrap, BySemicolon) {
    struct Case { std::string text; int w; std::vector<std::string> out; };
    const std::vector<Case> cases = {
        {"AB;CD;EF", 5, {"AB   ", "CD   ", "EF   "}},
        {";; AB ;;CD", 5, {"AB   ", "CD   "}},
        {"ABCDEFG;H", 3, {"ABC", "DEF", "G  ", "H  "}},
        {"A B;C", 5, {"A B  ", "C    "}},
        {";;;", 5, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pieces(memory_edit_2_n_data_by_scolon, c.text, c.w), c.out) << c.text;
}

// Under the Japanese menu language (code page 932) a piece cut without a
// separator ends before a double-byte character that does not fit whole, and
// the next piece begins with it; a Latin menu cuts the bytes where they fall.
TEST(Wrap, JapanesePiecesEndBeforeACharacterThatDoesNotFit) {
    pxtest::TempEnv env;  // the shared state block with the menu language
    unsigned char* top = pxall::get_ctop_addr();
    ASSERT_NE(top, nullptr);
    const std::string ka = "\x83\x4A", ki = "\x83\x4C", ku = "\x83\x4E";  // two bytes each
    struct Case {
        const char* lang;
        Cutter cut;
        std::string text;
        int w;
        std::vector<std::string> out;
    };
    const std::vector<Case> cases = {
        {"02", memory_edit_2_n_data, "A" + ka + ki + ku, 4, {"A" + ka + " ", ki + ku}},
        {"02", memory_edit_2_n_data, ka + ki + ku, 4, {ka + ki, ku + "  "}},
        {"02", memory_edit_2_n_data, "AB " + ka + ki, 4, {"AB  ", ka + ki}},        // the blank still cuts
        {"02", memory_edit_2_n_data, ka + ",BC" + ki + ku, 5, {ka + ",  ", "BC" + ki + " ", ku + "   "}},
        {"02", memory_edit_2_n_data, "ABCDEFGHIJKL", 5, {"ABCDE", "FGHIJ", "KL   "}},
        {"02", memory_edit_2_n_data, ka, 1, {"\x83", "\x4A"}},  // too narrow for a character: bytes
        {"02", memory_edit_2_n_data_by_scolon, "A" + ka + ki + ";B", 4, {"A" + ka + " ", ki + "  ", "B   "}},
        {"02", memory_edit_2_n_data_by_scolon, "ABCDEFG;H", 3, {"ABC", "DEF", "G  ", "H  "}},
        {"01", memory_edit_2_n_data, "A" + ka + ki + ku, 4, {"A" + ka + "\x83", "\x4C" + ku + " "}},
        {"01", memory_edit_2_n_data_by_scolon, "A" + ka + ki, 4, {"A" + ka + "\x83", "\x4C   "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        pxtest::set_field(top, pxall::ctop::kMenuLangCode, 3, c.lang);
        EXPECT_EQ(pieces(c.cut, c.text, c.w), c.out);
    }
    pxtest::set_field(top, pxall::ctop::kMenuLangCode, 3, "01");
}

TEST(Wrap, BadArgumentsEndTheWalk) {
    const char text[] = "ABC";
    for (Cutter cut : {memory_edit_2_n_data, memory_edit_2_n_data_by_scolon}) {
        char out[4] = "***";
        int32_t pos = 0;
        EXPECT_EQ(cut(text, 3, out, 0, &pos), -1);
        EXPECT_EQ(std::string(out, 3), "***");
        EXPECT_EQ(cut(text, 3, out, 3, nullptr), -1);
        EXPECT_EQ(std::string(out, 3), "   ");
        pos = -1;
        EXPECT_EQ(cut(text, 3, out, 3, &pos), -1);
        pos = 7;
        EXPECT_EQ(cut(text, 3, out, 3, &pos), -1);  // position past the end
        EXPECT_EQ(pos, 7);
        pos = 0;
        EXPECT_EQ(cut(text, -4, out, 3, &pos), -1);
        EXPECT_EQ(cut(nullptr, 3, out, 3, &pos), -1);
    }
}

}  // namespace
