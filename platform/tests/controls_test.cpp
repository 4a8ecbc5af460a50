#include "platform/controls.h"

#include "platform/msgbox.h"
#include "scratch.h"

namespace {

using Strings = std::vector<std::string>;

TEST(ListBoxTest, WindowsAnswers) {
    plat::MemoryListBox lb;
    EXPECT_EQ(lb.lb_add("one"), 0);
    EXPECT_EQ(lb.lb_add("three"), 1);
    EXPECT_EQ(lb.lb_insert(1, "two"), 1);
    EXPECT_EQ(lb.lb_insert(-1, "four"), 3);
    EXPECT_EQ(lb.lb_insert(4, "five"), 4);  // at the count appends too
    EXPECT_EQ(lb.lb_insert(6, "x"), plat::kLbErr);
    EXPECT_EQ(lb.lb_insert(-2, "x"), plat::kLbErr);
    EXPECT_EQ(lb.lines(), (Strings{"one", "two", "three", "four", "five"}));

    std::string text = "unchanged";
    EXPECT_EQ(lb.lb_text(2, &text), 5);
    EXPECT_EQ(text, "three");
    EXPECT_EQ(lb.lb_text(5, &text), plat::kLbErr);
    EXPECT_EQ(lb.lb_text(-1, &text), plat::kLbErr);
    EXPECT_EQ(text, "three");

    EXPECT_EQ(lb.lb_delete(4), 4);
    EXPECT_EQ(lb.lb_delete(4), plat::kLbErr);
    EXPECT_EQ(lb.lb_count(), 4);

    EXPECT_EQ(lb.lb_set_sel(2, true), 0);
    EXPECT_EQ(lb.lb_set_sel(9, true), plat::kLbErr);
    EXPECT_EQ(lb.lb_get_sel(2), 1);
    EXPECT_EQ(lb.lb_get_sel(1), 0);
    EXPECT_EQ(lb.lb_get_sel(9), plat::kLbErr);
    EXPECT_EQ(lb.lb_set_sel(-1, true), 0);  // -1 is every line
    EXPECT_EQ(lb.lb_get_sel(0), 1);

    EXPECT_EQ(lb.lb_get_cur(), plat::kLbErr);
    EXPECT_EQ(lb.lb_set_cur(2), 2);
    EXPECT_EQ(lb.lb_set_cur(7), plat::kLbErr);
    EXPECT_EQ(lb.lb_get_cur(), 2);
    EXPECT_EQ(lb.lb_insert(0, "zero"), 0);  // the current line moves with its text
    EXPECT_EQ(lb.lb_get_cur(), 3);
    EXPECT_EQ(lb.lb_delete(3), 4);
    EXPECT_EQ(lb.lb_get_cur(), plat::kLbErr);

    EXPECT_EQ(lb.lb_reset(), 0);
    EXPECT_EQ(lb.lb_count(), 0);
    EXPECT_TRUE(lb.lines().empty());
}

TEST(ListBoxTest, TopIndex) {
    plat::MemoryListBox lb;
    EXPECT_EQ(lb.lb_get_top(), 0);
    EXPECT_EQ(lb.lb_set_top(0), 0);  // line 0 of an empty list is accepted
    EXPECT_EQ(lb.lb_set_top(1), plat::kLbErr);
    for (const char* t : {"a", "b", "c", "d", "e"}) lb.lb_add(t);
    EXPECT_EQ(lb.lb_set_top(3), 0);
    EXPECT_EQ(lb.lb_get_top(), 3);
    EXPECT_EQ(lb.lb_set_top(5), plat::kLbErr);
    EXPECT_EQ(lb.lb_set_top(-1), plat::kLbErr);
    EXPECT_EQ(lb.lb_get_top(), 3);  // a refused call leaves the top alone

    EXPECT_EQ(lb.lb_insert(0, "z"), 0);  // the top index stays numerically
    EXPECT_EQ(lb.lb_get_top(), 3);
    lb.lb_delete(5);
    lb.lb_delete(4);
    EXPECT_EQ(lb.lb_get_top(), 3);  // still a line
    lb.lb_delete(3);
    EXPECT_EQ(lb.lb_get_top(), 2);  // never past the last line
    while (lb.lb_count() > 0) lb.lb_delete(0);
    EXPECT_EQ(lb.lb_get_top(), 0);

    lb.lb_add("a");
    lb.lb_add("b");
    EXPECT_EQ(lb.lb_set_top(1), 0);
    EXPECT_EQ(lb.lb_reset(), 0);
    EXPECT_EQ(lb.lb_get_top(), 0);

    plat::Control plain;
    EXPECT_EQ(plain.lb_set_top(0), plat::kLbErr);
    EXPECT_EQ(plain.lb_get_top(), plat::kLbErr);
}

TEST(ListBoxTest, RecordsCalls) {
    plat::MemoryListBox lb;
    std::string text;
    lb.lb_reset();
    lb.lb_add("a");
    lb.lb_insert(-1, "b");
    lb.lb_text(0, &text);
    lb.lb_delete(0);
    lb.lb_count();
    lb.lb_set_sel(0, true);
    lb.lb_get_sel(0);
    lb.lb_set_cur(0);
    lb.lb_get_cur();
    lb.lb_set_top(0);
    lb.lb_get_top();
    EXPECT_EQ(lb.calls(), (Strings{"reset", "add", "insert", "text", "delete", "count", "setsel", "getsel",
                                   "setcur", "getcur", "settop", "gettop"}));
}

TEST(ControlRegistryTest, Handles) {
    plat::MemoryListBox a, b;
    int32_t ha = plat::register_control(&a);
    int32_t hb = plat::register_control(&b);
    EXPECT_GT(ha, 0);
    EXPECT_NE(ha, hb);
    EXPECT_EQ(plat::control(ha), &a);
    EXPECT_EQ(plat::control(hb), &b);
    plat::unregister_control(ha);
    EXPECT_EQ(plat::control(ha), nullptr);
    EXPECT_EQ(plat::control(0), nullptr);
    EXPECT_EQ(plat::control(12345), nullptr);
    EXPECT_EQ(plat::register_control(nullptr), 0);
    plat::unregister_control(hb);

    // A plain control answers no list-box service.
    plat::Control plain;
    EXPECT_EQ(plain.lb_add("x"), plat::kLbErr);
}

TEST(MessageBoxTest, CancelWithoutHookAndScriptedAnswers) {
    EXPECT_EQ(plat::message_box("Please Insert CD", "PXDROM", plat::kMbRetryCancel), plat::kIdCancel);
    std::string seen;
    plat::set_message_box_hook([&](const std::string& text, const std::string& caption, uint32_t style) {
        seen = text + "|" + caption + "|" + std::to_string(style);
        return plat::kIdRetry;
    });
    EXPECT_EQ(plat::message_box("Please Insert CD", "PXDROM", plat::kMbRetryCancel), plat::kIdRetry);
    EXPECT_EQ(seen, "Please Insert CD|PXDROM|5");
    plat::set_message_box_hook(nullptr);
    EXPECT_EQ(plat::message_box("x", "y", plat::kMbOk), plat::kIdCancel);
}

}  // namespace
