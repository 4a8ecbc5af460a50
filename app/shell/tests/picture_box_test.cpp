// The picture box: one-bit bitmap files read exactly, the half-size reduction
// that keeps thin lines, the persistent surface, marks inverted through the
// platform's picture handles, and the mouse as the screens receive it; the
// up-down control's two arrows.
#include <cstdint>
#include <cstdlib>
#include <sys/stat.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QApplication>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include "platform/drives.h"
#include "platform/picture.h"
#include "shell/picture_box.h"
#include "shell/updown.h"

namespace pxtest {
namespace {

namespace fs = std::filesystem;
using px::PictureBox;

constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kWhite = 0xFFFFFFFFu;

// A picture given as rows of '#' (black) and '.' (white).
using Rows = std::vector<std::string>;

QImage image_of(const Rows& rows) {
    QImage img(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, rows[y][x] == '#' ? kBlack : kWhite);
    return img;
}

Rows rows_of(const QImage& img) {
    Rows rows;
    for (int y = 0; y < img.height(); ++y) {
        std::string r;
        for (int x = 0; x < img.width(); ++x) r += qGray(img.pixel(x, y)) < 128 ? '#' : '.';
        rows.push_back(r);
    }
    return rows;
}

void put32(std::string& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}

// A one-bit bitmap file as the illustration library writes it (colour 0
// white, colour 1 black, bottom-up), or with the colours swapped / top-down.
std::string bitmap_bytes(const Rows& rows, bool black_is_zero = false, bool top_down = false) {
    const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
    const int stride = ((w + 7) / 8 + 3) / 4 * 4;
    std::string b(62 + static_cast<size_t>(stride) * h, '\0');
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, static_cast<uint32_t>(b.size()));
    put32(b, 10, 62);
    put32(b, 14, 40);
    put32(b, 18, static_cast<uint32_t>(w));
    put32(b, 22, static_cast<uint32_t>(top_down ? -h : h));
    b[26] = 1;
    b[28] = 1;
    put32(b, 46, 2);
    put32(b, 54, black_is_zero ? 0x00000000u : 0x00FFFFFFu);
    put32(b, 58, black_is_zero ? 0x00FFFFFFu : 0x00000000u);
    for (int y = 0; y < h; ++y) {
        const size_t row = 62 + static_cast<size_t>(stride) * (top_down ? y : h - 1 - y);
        for (int x = 0; x < w; ++x)
            if ((rows[y][x] == '#') != black_is_zero) b[row + x / 8] |= static_cast<char>(0x80 >> (x % 8));
    }
    return b;
}

class PictureBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "pxpicture-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        // Host paths are taken only inside a drive's folder.
        plat::set_drive('P', dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string file(const std::string& name, const std::string& bytes) {
        std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string dir_;
};

const Rows kArrow = {
    "#........#.",
    ".#.......#.",
    "..#......#.",
    "...#######.",
    "..........#",
};

TEST_F(PictureBoxTest, OneBitBitmapsReadPixelForPixel) {
    struct Case {
        const char* what;
        bool black_is_zero, top_down;
    } cases[] = {{"as the library writes it", false, false},
                 {"colours the other way round", true, false},
                 {"rows top-down", false, true}};
    for (const Case& c : cases) {
        QImage img;
        ASSERT_EQ(px::load_picture_file(file("a.bmp", bitmap_bytes(kArrow, c.black_is_zero, c.top_down)), &img), 0)
            << c.what;
        EXPECT_EQ(rows_of(img), kArrow) << c.what;
    }
    // Widths of whole bytes and of whole row strides too.
    for (int w : {8, 32, 33}) {
        Rows r(3, std::string(static_cast<size_t>(w), '.'));
        r[1][static_cast<size_t>(w - 1)] = '#';
        QImage img;
        ASSERT_EQ(px::load_picture_file(file("w.bmp", bitmap_bytes(r)), &img), 0) << w;
        EXPECT_EQ(rows_of(img), r) << w;
    }
}

TEST_F(PictureBoxTest, MissingOrDamagedFilesGiveTheRunTimeNumbers) {
    const std::string good = bitmap_bytes(kArrow);
    std::string wide = good;
    put32(wide, 18, 4000);  // claims more rows than the file holds
    std::string tall = good;
    put32(tall, 22, 0);
    struct Case {
        const char* what;
        std::string bytes;
        int32_t want;
    } cases[] = {{"cut short", good.substr(0, good.size() - 3), px::kPicInvalid},
                 {"header only", good.substr(0, 20), px::kPicInvalid},
                 {"no picture at all", "hello", px::kPicInvalid},
                 {"width beyond the pixels", wide, px::kPicInvalid},
                 {"no rows", tall, px::kPicInvalid}};
    for (const Case& c : cases) {
        QImage img(3, 3, QImage::Format_RGB32);
        EXPECT_EQ(px::load_picture_file(file("bad.bmp", c.bytes), &img), c.want) << c.what;
        EXPECT_TRUE(img.isNull()) << c.what;
    }
    QImage img;
    EXPECT_EQ(px::load_picture_file(dir_ + "/none.bmp", &img), px::kPicFileNotFound);
    EXPECT_EQ(px::load_picture_file("P:\\NONE.BMP", &img), px::kPicFileNotFound);
    EXPECT_EQ(px::load_picture_file("Q:\\NODRIVE\\X.BMP", &img), px::kPicFileNotFound);

    // A failed load leaves the box empty (white), not showing the last page.
    PictureBox box;
    ASSERT_EQ(box.load_picture(file("a.bmp", good)), 0);
    EXPECT_EQ(box.load_picture(file("bad.bmp", "hello")), px::kPicInvalid);
    for (const std::string& row : rows_of(box.image())) EXPECT_EQ(row.find('#'), std::string::npos);
}

// What stands under a picture's name but is no picture file (a FIFO, which
// would hold the reader for ever; a device without end; a folder) is refused
// at once as a file that cannot be opened, and the box stays empty.
TEST_F(PictureBoxTest, OddFilesUnderAPicturesNameCannotBeOpened) {
    ASSERT_EQ(::mkfifo((dir_ + "/fifo.bmp").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", dir_ + "/zero.bmp");
    fs::create_directory(dir_ + "/folder.bmp");
    for (const char* name : {"FIFO.BMP", "ZERO.BMP", "FOLDER.BMP"}) {
        QImage img(3, 3, QImage::Format_RGB32);
        EXPECT_EQ(px::load_picture_file(std::string("P:\\") + name, &img), px::kPicCannotOpen) << name;
        EXPECT_TRUE(img.isNull()) << name;
        PictureBox box;
        EXPECT_EQ(box.load_picture(std::string("P:\\") + name), px::kPicCannotOpen) << name;
    }
}

TEST(PictureReduction, OnePixelLinesStayVisibleAtHalfSize) {
    // Lines one pixel wide on odd and even rows and columns, and a lone dot.
    const Rows page = {
        "..........",
        ".#........",
        "......#...",
        "......#...",
        "...#######",
        "..........",
        "#.........",
        "..........",
    };
    EXPECT_EQ(rows_of(px::reduce_half(image_of(page))), (Rows{
                                                            "#....",
                                                            "...#.",
                                                            ".####",
                                                            "#....",
                                                        }));
    // An odd size loses its last column and row: 1615 x 9 becomes 807 x 4.
    QImage odd(1615, 9, QImage::Format_RGB32);
    odd.fill(kWhite);
    EXPECT_EQ(px::reduce_half(odd).size(), QSize(807, 4));
}

TEST(PictureReduction, ShadesTakeTheDarkest) {
    QImage img(2, 2, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(200, 200, 200));
    img.setPixel(1, 0, qRgb(90, 180, 250));
    img.setPixel(0, 1, kWhite);
    img.setPixel(1, 1, qRgb(250, 100, 220));
    EXPECT_EQ(px::reduce_half(img).pixel(0, 0), qRgb(90, 100, 200));
}

TEST_F(PictureBoxTest, LoadingSizesTheBoxAndPaintingHalvesIntoTheSurface) {
    PictureBox box;
    box.resize(40, 40);
    ASSERT_EQ(box.load_picture(file("a.bmp", bitmap_bytes(kArrow))), 0);
    EXPECT_EQ(box.size(), QSize(11, 5));
    EXPECT_EQ(rows_of(box.image()), kArrow);

    // The whole-page display: the box given half the size, then painted.
    QImage full;
    ASSERT_EQ(px::load_picture_file(file("a.bmp", bitmap_bytes(kArrow)), &full), 0);
    PictureBox half;
    half.resize(5, 2);
    half.clear_picture();
    half.paint_picture(full, QRect(0, 0, 5, 2), QRect(0, 0, 11, 5));
    EXPECT_EQ(rows_of(half.image()), (Rows{"#...#", ".####"}));

    // An empty name empties the picture; the size stays.
    EXPECT_EQ(half.load_picture(""), 0);
    EXPECT_EQ(rows_of(half.image()), (Rows{".....", "....."}));
}

TEST(PictureBoxSurface, WhatIsPaintedStaysWhenTheBoxGrows) {
    PictureBox box;
    box.set_picture(image_of({"#.", ".#"}));
    box.resize(3, 3);
    EXPECT_EQ(rows_of(box.image()), (Rows{"#..", ".#.", "..."}));
    box.resize(1, 1);
    EXPECT_EQ(rows_of(box.image()), (Rows{"#"}));
}

TEST(PictureBoxSurface, MarksInvertThroughThePlatformHandlesAndComeOff) {
    PictureBox box;
    box.set_picture(image_of({
        "........",
        "..####..",
        "..#..#..",
        "..####..",
        "........",
    }));
    box.show();
    const QImage before = box.image();
    // As the libraries mark a pick: invert on the surface, show in the window.
    plat::PixelRect r{1, 1, 7, 4};
    ASSERT_TRUE(plat::invert_picture(box.hdc(), r));
    EXPECT_EQ(plat::show_picture(box.hwnd(), box.hdc(), r), 1);
    EXPECT_EQ(rows_of(box.image()), (Rows{
                                        "........",
                                        ".#....#.",
                                        ".#.##.#.",
                                        ".#....#.",
                                        "........",
                                    }));
    // What the screen shows is the surface.
    EXPECT_EQ(rows_of(box.grab().toImage().convertToFormat(QImage::Format_RGB32)), rows_of(box.image()));
    ASSERT_TRUE(plat::invert_picture(box.hdc(), r));
    plat::show_picture(box.hwnd(), box.hdc(), r);
    EXPECT_EQ(box.image(), before);

    // A rectangle over the edge inverts only what lies inside.
    plat::PixelRect edge{6, 3, 20, 20};
    plat::invert_picture(box.hdc(), edge);
    EXPECT_EQ(rows_of(box.image())[4], "......##");
    plat::invert_picture(box.hdc(), edge);
    EXPECT_EQ(box.image(), before);

    // The surface is the libraries' picture: pixels read as they show.
    auto* surface = dynamic_cast<plat::PictureSurface*>(plat::control(box.hdc()));
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->width(), 8);
    EXPECT_TRUE(surface->pixel(2, 1));
    EXPECT_FALSE(surface->pixel(3, 2));
    EXPECT_FALSE(surface->pixel(-1, 0));
}

TEST(PictureBoxSurface, AnotherPictureShownInTheWindowIsCopiedIn) {
    PictureBox box;
    box.set_picture(image_of({"....", "...."}));
    plat::MemoryPicture other(4, 2);
    other.set_pixel(1, 0, true);
    other.set_pixel(3, 1, true);
    int32_t h = plat::register_control(&other);
    EXPECT_EQ(plat::show_picture(box.hwnd(), h, plat::PixelRect{0, 0, 2, 2}), 1);
    plat::unregister_control(h);
    EXPECT_EQ(rows_of(box.image()), (Rows{".#..", "...."}));
}

TEST(PictureBoxSurface, HandlesEndWithTheBox) {
    int32_t hdc = 0, hwnd = 0;
    {
        PictureBox box;
        hdc = box.hdc();
        hwnd = box.hwnd();
        EXPECT_NE(hdc, hwnd);
        EXPECT_NE(plat::control(hdc), nullptr);
    }
    EXPECT_EQ(plat::control(hdc), nullptr);
    EXPECT_EQ(plat::control(hwnd), nullptr);
    EXPECT_FALSE(plat::invert_picture(hdc, plat::PixelRect{0, 0, 1, 1}));
}

TEST(PictureBoxMouse, ButtonValueShiftAndPosition) {
    PictureBox box;
    box.resize(50, 50);
    box.show();
    std::vector<std::string> got;
    box.on_mouse_down = [&](int button, int shift, float x, float y) {
        got.push_back(std::to_string(button) + " " + std::to_string(shift) + " " + std::to_string(int(x)) + "," +
                      std::to_string(int(y)));
    };
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(3, 4));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(3, 4));
    QTest::mousePress(&box, Qt::RightButton, Qt::ShiftModifier, QPoint(49, 0));
    QTest::mouseRelease(&box, Qt::RightButton, {}, QPoint(49, 0));
    EXPECT_EQ(got, (std::vector<std::string>{"1 0 3,4", "2 1 49,0"}));
    EXPECT_EQ(px::mouse_button_value(Qt::LeftButton | Qt::RightButton), 3);
    EXPECT_EQ(px::mouse_button_value(Qt::MiddleButton), 4);
}

TEST(UpDownControl, EachArrowReportsItsPress) {
    px::UpDown upd;
    upd.resize(21, 29);
    upd.show();
    std::string got;
    upd.on_up_click = [&] { got += "U"; };
    upd.on_down_click = [&] { got += "D"; };
    QTest::mouseClick(upd.up_button(), Qt::LeftButton);
    QTest::mouseClick(upd.down_button(), Qt::LeftButton);
    QTest::mouseClick(upd.up_button(), Qt::LeftButton);
    EXPECT_EQ(got, "UDU");
    // The upper arrow over the lower, sharing the height.
    EXPECT_EQ(upd.up_button()->geometry(), QRect(0, 0, 21, 15));
    EXPECT_EQ(upd.down_button()->geometry(), QRect(0, 15, 21, 14));
    // Without a receiver a press does nothing.
    px::UpDown quiet;
    quiet.show();
    QTest::mouseClick(quiet.up_button(), Qt::LeftButton);
}

}  // namespace
}  // namespace pxtest
