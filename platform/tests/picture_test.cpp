#include "platform/picture.h"

#include <gtest/gtest.h>

namespace {

TEST(Picture, ClipRect) {
    struct Case {
        plat::PixelRect in, want;
    } cases[] = {
        {{1, 2, 5, 6}, {1, 2, 5, 6}},
        {{5, 6, 1, 2}, {1, 2, 5, 6}},
        {{-3, -3, 100, 100}, {0, 0, 10, 8}},
        {{20, 1, 30, 5}, {0, 0, 0, 0}},
        {{3, 3, 3, 7}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        plat::PixelRect r = plat::clip_rect(c.in, 10, 8);
        EXPECT_EQ(r.left, c.want.left);
        EXPECT_EQ(r.top, c.want.top);
        EXPECT_EQ(r.right, c.want.right);
        EXPECT_EQ(r.bottom, c.want.bottom);
    }
}

TEST(Picture, ServicesOnHandles) {
    plat::MemoryPicture pic(8, 8);
    plat::MemoryPictureWindow win(8, 8);
    plat::MemoryListBox list;
    int32_t p = plat::register_control(&pic), w = plat::register_control(&win), l = plat::register_control(&list);
    EXPECT_TRUE(plat::invert_picture(p, {0, 0, 2, 2}));
    EXPECT_FALSE(plat::invert_picture(l, {0, 0, 2, 2}));
    EXPECT_FALSE(plat::invert_picture(999999, {0, 0, 2, 2}));
    EXPECT_EQ(plat::show_picture(w, p, {0, 0, 8, 8}), 1);
    EXPECT_TRUE(win.pixel(1, 1));
    EXPECT_FALSE(win.pixel(2, 2));
    EXPECT_EQ(plat::show_picture(w, l, {0, 0, 8, 8}), 1);  // a window, but nothing to copy
    EXPECT_EQ(plat::show_picture(l, p, {0, 0, 8, 8}), 0);
    EXPECT_EQ(win.shown().size(), 1u);  // nothing was copied from the list box
    EXPECT_EQ(pic.inverted().size(), 1u);
    for (int32_t h : {p, w, l}) plat::unregister_control(h);
}

}  // namespace
