#include <gtest/gtest.h>

#include "platform/picture.h"
#include "pxall/image.h"

namespace {

// A picture box: the page in memory and the window showing it.
struct Box {
    plat::MemoryPicture page{40, 30};
    plat::MemoryPictureWindow window{40, 30};
    int32_t page_h = plat::register_control(&page);
    int32_t window_h = plat::register_control(&window);
    ~Box() {
        plat::unregister_control(page_h);
        plat::unregister_control(window_h);
    }
};

TEST(ReverseImage, InvertsTheRectangleAndShowsIt) {
    Box b;
    b.page.set_pixel(12, 6, true);
    const int16_t r[4] = {10, 5, 20, 8};  // columns 10-19, rows 5-7
    EXPECT_EQ(pxall::reverse_image(b.page_h, b.window_h, r), 1);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            bool inside = x >= 10 && x < 20 && y >= 5 && y < 8;
            bool want = inside != (x == 12 && y == 6);
            ASSERT_EQ(b.page.pixel(x, y), want) << x << "," << y;
            ASSERT_EQ(b.window.pixel(x, y), inside && want) << x << "," << y;
        }
    // Marking twice removes the mark, on the page and in the window.
    EXPECT_EQ(pxall::reverse_image(b.page_h, b.window_h, r), 1);
    EXPECT_FALSE(b.page.pixel(10, 5));
    EXPECT_TRUE(b.page.pixel(12, 6));
    EXPECT_FALSE(b.window.pixel(10, 5));
    EXPECT_TRUE(b.window.pixel(12, 6));
}

TEST(ReverseImage, OddRectanglesAndHandles) {
    Box b;
    const int16_t outside[4] = {-10, -10, 5, 3};  // cut at the picture's edge
    EXPECT_EQ(pxall::reverse_image(b.page_h, b.window_h, outside), 1);
    EXPECT_TRUE(b.page.pixel(0, 0));
    EXPECT_TRUE(b.page.pixel(4, 2));
    EXPECT_FALSE(b.page.pixel(5, 2));
    const int16_t swapped[4] = {39, 29, 30, 20};
    EXPECT_EQ(pxall::reverse_image(b.page_h, b.window_h, swapped), 1);
    EXPECT_TRUE(b.page.pixel(30, 20));
    EXPECT_FALSE(b.page.pixel(39, 29));
    const int16_t far[4] = {100, 100, 200, 200};
    EXPECT_EQ(pxall::reverse_image(b.page_h, b.window_h, far), 1);

    // No window: the page is marked all the same, and the result says so.
    const int16_t r[4] = {0, 10, 2, 12};
    EXPECT_EQ(pxall::reverse_image(b.page_h, 0, r), 0);
    EXPECT_TRUE(b.page.pixel(1, 11));
    // A handle that is no picture changes nothing.
    EXPECT_EQ(pxall::reverse_image(b.window_h, b.window_h, r), 1);
    EXPECT_EQ(pxall::reverse_image(b.page_h, b.window_h, nullptr), 0);
}

}  // namespace
