#include "pxall/csv.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace pxall;

// Every field of a line, each copied into a 10-byte field of blanks.
std::vector<std::string> split(const char* line, int width = 10, char sep = ',') {
    std::vector<std::string> out;
    const char* pos = line;
    while (true) {
        int16_t first = -7, last = -7;
        const char* next = get_next_csv(pos, &first, &last, sep);
        std::string field(static_cast<size_t>(width), ' ');
        copy_csv_item(pos, field.data(), width, first, last);
        out.push_back(field.substr(0, field.find_last_not_of(' ') + 1));
        if (next == nullptr) break;
        pos = next;
    }
    return out;
}

TEST(Csv, SplitsLines) {
    struct Case { const char* line; std::vector<std::string> fields; };
    const std::vector<Case> cases = {
        {"A,BC,D", {"A", "BC", "D"}},
        {"A,BC,D\n", {"A", "BC", "D"}},
        {"12,\"say \"\"hi\"\"\",3", {"12", "say \"hi\"", "3"}},
        {"\"a,b\",c", {"a,b", "c"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a", ""}},
        {"\"\",x", {"", "x"}},
        {"", {""}},
        {"\n", {""}},
        {"\"open,end", {"open,end"}},     // unclosed quote runs to the line end
        {"\"ab\"cd,e", {"ab", "e"}},      // text after the closing quote dropped
        {"\"\"\"\"", {"\""}},
    };
    for (const auto& c : cases) EXPECT_EQ(split(c.line), c.fields) << c.line;
}

TEST(Csv, ASemicolonSeparatesWhereTheCallerNamesIt) {
    struct Case { const char* line; std::vector<std::string> fields; };
    const std::vector<Case> cases = {
        {"A;1,5;C", {"A", "1,5", "C"}},  // the comma is the decimal sign
        {"\"a;b\";c", {"a;b", "c"}},
        {"\"ab\"x;e", {"ab", "e"}},
        {"a;", {"a", ""}},
    };
    for (const auto& c : cases) EXPECT_EQ(split(c.line, 10, ';'), c.fields) << c.line;
}

TEST(Csv, OffsetsAreRelativeToTheField) {
    const char* line = "12,\"x\"\"y\",3";
    int16_t first, last;
    const char* next = get_next_csv(line, &first, &last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 1);
    ASSERT_EQ(next, line + 3);
    next = get_next_csv(next, &first, &last);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 4);
    ASSERT_EQ(next, line + 10);
    char out[4] = "***";
    EXPECT_EQ(copy_csv_item(line + 3, out, 3, first, last), 5);
    EXPECT_EQ(std::string(out, 3), "x\"y");
}

TEST(Csv, CopyStopsAtWidthAndLeavesTheRest) {
    const char* field = "ABCDEF";
    char out[8];
    std::memset(out, '*', sizeof out);
    EXPECT_EQ(copy_csv_item(field, out, 4, 0, 5), 4);
    EXPECT_EQ(std::string(out, 8), "ABCD****");
    std::memset(out, '*', sizeof out);
    EXPECT_EQ(copy_csv_item(field, out, 4, 3, 2), 3);  // empty field
    EXPECT_EQ(std::string(out, 8), "********");
    EXPECT_EQ(copy_csv_item(field, out, 0, 0, 5), 0);
    EXPECT_EQ(copy_csv_item(field, out, 4, -1, 5), 0);
    EXPECT_EQ(std::string(out, 8), "********");
}

TEST(Csv, NullLine) {
    int16_t first = 5, last = 5;
    EXPECT_EQ(get_next_csv(nullptr, &first, &last), nullptr);
    EXPECT_GT(first, last);
}

}  // namespace
