// The status lines the catalogue set-up screen shows for the CD entries of a
// set-up block, and the block it hands back for the lines of a frame.
#include <gtest/gtest.h>

#include "setup/status_block.h"
#include "support/setup_fakes.h"

namespace pxtest {
namespace {

using namespace px::setup;

const Words kWords = {"CD-ROM    ", "Hard disk ", "*new*     "};

TEST(StatusBlock, StatusLines) {
    struct Case {
        std::string entry, line;
    } const cases[] = {
        {entry("A1", "19990815", '0'), "A1 CD-ROM    08/15/'99"},
        {entry("A2", "20010102", '1'), "A2 Hard disk 01/02/'01"},
        {entry("B3", "", '0'), "B3 CD-ROM    "},
        {entry("F1", "", '1', '1'), "F1 Hard disk  *new*     "},
        {entry("B9", "20201231", '9', '1'), "B9 Hard disk 12/31/'20 *new*     "},
        {entry("E1", "", '0', '0'), "E1 CD-ROM    "},
    };
    for (const auto& c : cases) EXPECT_EQ(status_line(c.entry, kWords), c.line) << c.entry;
    EXPECT_EQ(status_line(entry("B3", "", '0'), kWords).size(), 13u);
}

TEST(StatusBlock, TheFirstEmptyEntryEndsTheList) {
    std::string b = block('1', 'C', {entry("A1", "", '0'), entry("A2", "", '1')});
    EXPECT_EQ(status_lines(b, kWords).size(), 2u);
    std::string nul = block('1', 'C', {entry("A1", "", '0'), std::string(12, '\0'), entry("B1", "", '0')});
    EXPECT_EQ(status_lines(nul, kWords), std::vector<std::string>{"A1 CD-ROM    "});
    std::string blank_first = block('1', 'C', {entry(" 1", "", '0'), entry("B1", "", '0')});
    EXPECT_TRUE(status_lines(blank_first, kWords).empty());
    EXPECT_TRUE(status_lines("1C", kWords).empty());  // a short block has no whole entry
}

TEST(StatusBlock, HandBackOfTheLines) {
    std::string prev = block('0', 'D', {entry("A1", "19990815", '0', '1')});
    std::string b = hand_back_block(prev, true, 'E',
                                    {"A1 CD-ROM    08/15/'99 *new*     ", "B2 Hard disk ", "B4 CD-ROM", "A2 Hard disk 01/02/'01"});
    EXPECT_EQ(b.size(), kBlockSize);
    EXPECT_EQ(b.substr(0, 2), "1E");
    EXPECT_EQ(b.substr(2, 12), entry("A1", "yyyymmdd", '0', '1'));  // the mark stays the library's
    EXPECT_EQ(b.substr(14, 12), entry("B2", "", '1'));
    EXPECT_EQ(b.substr(26, 12), entry("B4", "", '0'));
    EXPECT_EQ(b.substr(38, 12), entry("A2", "yyyymmdd", '1'));
    EXPECT_EQ(b.substr(50), std::string(kBlockSize - 50, ' '));
    EXPECT_EQ(blank_block(prev), block('0', ' ', {entry("", "", ' ', '1')}));
}

TEST(StatusBlock, DoubleClickSwapsTheSourceAndDropsTheDate) {
    std::string line = "A1 CD-ROM    08/15/'99";
    std::string once = swapped_line(line, kWords);
    EXPECT_EQ(once, "A1 Hard disk ");
    EXPECT_EQ(swapped_line(once, kWords), "A1 CD-ROM    ");
    EXPECT_EQ(swapped_line("B1 CD-ROM", kWords), "B1 CD-ROM    ");  // not the full word: becomes the CD-ROM word
}

}  // namespace
}  // namespace pxtest
