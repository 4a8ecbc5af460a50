#include "pxall/listbox.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/controls.h"
#include "support/temp_env.h"

namespace {

using pxtest::TempEnv;
using Lines = std::vector<std::string>;

class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override { handle_ = plat::register_control(&box_); }
    void TearDown() override { plat::unregister_control(handle_); }

    TempEnv env_;
    plat::MemoryListBox box_;
    int32_t handle_ = 0;
};

TEST_F(ListBoxTest, FillsLinesWithoutTheirLineEnds) {
    const std::string x127(127, 'x');
    struct Case {
        const char* what;
        std::string file;
        Lines want;
    };
    const Case cases[] = {
        {"empty file", "", {}},
        {"CR LF lines", "A\r\nBC\r\n", {"A", "BC"}},
        {"LF lines", "A\nBC\n", {"A", "BC"}},
        {"last line without a line end keeps its characters", "A\r\nBC", {"A", "BC"}},
        {"empty lines stay", "\r\n\nZ\r\n", {"", "", "Z"}},
        {"over-long line in pieces that keep their characters", std::string(200, 'y') + "\r\nZ\r\n",
         {std::string(127, 'y'), std::string(73, 'y'), "Z"}},
        {"a line of exactly 127 characters is one entry", x127 + "\r\nZ\r\n", {x127, "Z"}},
        {"and so is one of 127 without a line end", x127, {x127}},
        {"254 characters are two pieces", x127 + x127 + "\n", {x127, x127}},
    };
    for (const Case& c : cases) {
        env_.write("LIST.TMP", c.file);
        EXPECT_EQ(VBSetListBox(handle_, "C:\\list.tmp"), 0) << c.what;
        EXPECT_EQ(box_.lines(), c.want) << c.what;
    }
}

TEST_F(ListBoxTest, ReplacesEarlierContent) {
    box_.lb_add("old");
    env_.write("LIST.TMP", "new\r\n");
    EXPECT_EQ(VBSetListBox(handle_, "C:\\LIST.TMP"), 0);
    EXPECT_EQ(box_.lines(), Lines{"new"});
}

TEST_F(ListBoxTest, MissingFileIsLoggedAndEmptiesTheList) {
    box_.lb_add("old");
    EXPECT_EQ(VBSetListBox(handle_, "C:\\NONE.TMP"), 11);
    EXPECT_TRUE(box_.lines().empty());
    EXPECT_EQ(env_.log_lines(), Lines{"PXSUBD01,VBSetListBox,fopen,(11)(2)(1)"});

    EXPECT_EQ(VBSetListBox(handle_, nullptr), 11);
    EXPECT_EQ(env_.log_lines().size(), 2u);
}

TEST_F(ListBoxTest, AFolderUnderTheNameIsNotOpened) {
    // A directory where a text file is meant is refused at the open.
    env_.mkdir("DIR.TMP");
    EXPECT_EQ(VBSetListBox(handle_, "C:\\DIR.TMP"), 11);
    ASSERT_EQ(env_.log_lines().size(), 1u);
    EXPECT_EQ(env_.log_lines()[0].rfind("PXSUBD01,VBSetListBox,fopen,(11)(13)", 0), 0u) << env_.log_lines()[0];
}

TEST_F(ListBoxTest, AllResetTakesEverySelectionOff) {
    // An empty list: only the count is asked.
    EXPECT_EQ(VBAllResetListBox(handle_), 0);
    EXPECT_EQ(box_.calls(), Lines{"count"});

    for (const char* s : {"a", "b", "c"}) box_.lb_add(s);
    box_.lb_set_sel(0, true);
    box_.lb_set_sel(2, true);
    int32_t last_sel_result = box_.lb_set_sel(2, true);
    EXPECT_EQ(VBAllResetListBox(handle_), last_sel_result);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(box_.lb_get_sel(i), 0) << i;
    EXPECT_EQ(box_.lines().size(), 3u);

    EXPECT_EQ(VBAllResetListBox(handle_ + 1000), plat::kLbErr);
}

}  // namespace
