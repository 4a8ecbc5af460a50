// The small pieces under the screen: paths the libraries write into fixed
// strings, and the run time's rounding of sizes and mouse positions.
#include <gtest/gtest.h>

#include "figure/bunz_util.h"

namespace {

TEST(BunzPathField, CutAtTheEndTheLibraryLeft) {
    struct Case {
        std::string field, want;
    } cases[] = {
        {std::string("C:\\WORK\\pximg2.bmp") + std::string(62, '\0'), "C:\\WORK\\pximg2.bmp"},
        {"C:\\WORK\\hinmei1.tmp" + std::string(61, ' '), "C:\\WORK\\hinmei1.tmp"},
        // A path that fills the whole string has no end mark: all of it.
        {"C:\\" + std::string(77, 'A'), "C:\\" + std::string(77, 'A')},
        {std::string(80, '\0'), ""},
        {std::string(80, ' '), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(px::path_field(c.field), c.want);
}

TEST(BunzRounding, HalvesGoToEven) {
    EXPECT_EQ(px::to_integer(0.5), 0);
    EXPECT_EQ(px::to_integer(1.5), 2);
    EXPECT_EQ(px::to_integer(2.5), 2);
    EXPECT_EQ(px::to_integer(166.5), 166);
    EXPECT_EQ(px::to_integer(-0.5), 0);
    EXPECT_EQ(px::to_integer(-1.5), -2);
    EXPECT_EQ(px::to_integer(3.49), 3);
}

}  // namespace
