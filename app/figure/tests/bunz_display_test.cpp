// The page display's geometry at its boundaries: the whole page's frame caps,
// the enlarged page's scroll bars and overview box, and the moves of the
// enlarged page by the right button, the overview box and the scroll bars.
#include <algorithm>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>

#include "shell/picture_box.h"
#include "support/bunz_screen.h"

namespace pxtest {
namespace {

class BunzGeometry : public BunzScreenTest {
protected:
    // Opens the screen on a page of w x h.
    Bunz* open_page(int w, int h) {
        figtest::write_page_bitmap(fake().bitmap, w, h);
        return open();
    }
    // The page shown again on a page of w x h.
    void show_page(Bunz& b, int w, int h) {
        figtest::write_page_bitmap(fake().bitmap, w, h);
        ASSERT_EQ(b.DispBun(0), 0);
    }
    static QRect geometry(QWidget* w) { return w->geometry(); }
};

TEST_F(BunzGeometry, WholePageFrameAtItsCaps) {
    struct Case {
        int w, h;
        int16_t list_view;
        QSize page, frame;
    } cases[] = {
        {1330, 1120, 2, {665, 560}, {665, 560}},  // exactly at the caps: uncapped
        {1332, 1122, 2, {666, 561}, {665, 560}},  // one over: capped
        {1332, 1122, 0, {666, 561}, {666, 560}},  // the width cap only beside the lists
        {1615, 801, 2, {807, 400}, {665, 400}},   // an odd width loses its last column
        {1616, 1158, 2, {808, 579}, {665, 560}},  // the demo's page
        {169, 115, 2, {84, 57}, {84, 57}},
    };
    Bunz* b = open_page(100, 100);
    ASSERT_NE(b, nullptr);
    for (const Case& c : cases) {
        b->BunzListView = c.list_view;
        show_page(*b, c.w, c.h);
        EXPECT_EQ(b->pic_Bun->size(), c.page) << c.w << "x" << c.h;
        EXPECT_EQ(b->pic_Cotn->size(), c.frame) << c.w << "x" << c.h;
        // At 90, or further left where the frame would reach under the list.
        const int room = b->lst_Pnc->x() - 5;
        EXPECT_EQ(b->pic_Cotn->pos(), QPoint(std::max(4, std::min(90, room - c.frame.width())), 72));
        EXPECT_LE(b->pic_Cotn->geometry().right() + 1, room);
        EXPECT_EQ(b->pic_Bun->pos(), QPoint(0, 0));
    }
    // A kind-2 picture stands further left.
    b->BunzPictureState = 2;
    show_page(*b, 400, 300);
    EXPECT_EQ(b->pic_Cotn->pos(), QPoint(4, 72));
}

TEST_F(BunzGeometry, WholePageKeepsItsThinLines) {
    Bunz* b = open_page(1201, 801);
    ASSERT_NE(b, nullptr);
    const QImage& img = b->pic_Bun->image();
    ASSERT_EQ(img.size(), QSize(600, 400));
    // The one-pixel frame of the page: its left and top edge on the first
    // column and row, its right and bottom edge (an odd size) cut off.
    for (int y = 0; y < 400; y += 37) EXPECT_EQ(qGray(img.pixel(0, y)), 0) << y;
    for (int x = 0; x < 600; x += 41) EXPECT_EQ(qGray(img.pixel(x, 0)), 0) << x;
    // The diagonal stays unbroken at half size.
    int black_rows = 0;
    for (int y = 1; y < 399; ++y) {
        bool any = false;
        for (int x = 1; x < 599 && !any; ++x) any = qGray(img.pixel(x, y)) == 0;
        black_rows += any ? 1 : 0;
    }
    EXPECT_EQ(black_rows, 398);
}

TEST_F(BunzGeometry, EnlargedPageScrollBarsAtTheFrame) {
    struct Case {
        int w, h;
        bool hbar;
        int hmax, hstep;
        bool vbar;
        int vmax, vstep;
        QSize frame;
    } cases[] = {
        {805, 553, false, 0, 0, false, 0, 0, {805, 553}},  // exactly the frame
        {806, 554, true, 1, 1, true, 1, 1, {805, 553}},    // one pixel over
        {1205, 592, true, 400, 20, true, 39, 1, {805, 553}},
        {600, 300, false, 0, 0, false, 0, 0, {600, 300}},
    };
    Bunz* b = open_page(100, 100);
    ASSERT_NE(b, nullptr);
    b->BunzViewMode = 2;
    b->BunzListView = 1;
    for (const Case& c : cases) {
        show_page(*b, c.w, c.h);
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        EXPECT_EQ(b->pic_Bun->size(), QSize(c.w, c.h));
        EXPECT_EQ(geometry(b->pic_Cotn), QRect(QPoint(8, 24), c.frame));
        EXPECT_EQ(!b->hsb_Move->isHidden(), c.hbar);
        EXPECT_EQ(!b->vsb_Move->isHidden(), c.vbar);
        if (c.hbar) {
            EXPECT_EQ(b->hsb_Move->maximum(), c.hmax);
            EXPECT_EQ(b->hsb_Move->pageStep(), c.hstep);
            EXPECT_EQ(b->hsb_Move->value(), 0);
            EXPECT_EQ(b->hsb_Move->width(), 805);
        }
        if (c.vbar) {
            EXPECT_EQ(b->vsb_Move->maximum(), c.vmax);
            EXPECT_EQ(b->vsb_Move->pageStep(), c.vstep);
            EXPECT_EQ(b->vsb_Move->geometry(), QRect(816, 24, 17, 553));
        }
    }
}

TEST_F(BunzGeometry, OverviewBoxScale) {
    Bunz* b = open_page(100, 100);
    ASSERT_NE(b, nullptr);
    b->BunzViewMode = 2;
    b->BunzListView = 1;
    show_page(*b, 1616, 1158);
    EXPECT_EQ(b->BunzScrollUnit, 9);  // 1616 / 170 = 9, 1158 / 116 = 9
    EXPECT_EQ(geometry(b->pic_Move), QRect(844 + (170 - 179) / 2, 80, 179, 128));
    EXPECT_EQ(geometry(b->shp_Move), QRect(0, 0, 89, 61));

    // A page smaller than the overview box: one page pixel to one box pixel,
    // not a division by nothing.
    show_page(*b, 100, 80);
    EXPECT_EQ(b->BunzScrollUnit, 1);
    EXPECT_EQ(geometry(b->pic_Move), QRect(879, 80, 100, 80));
    EXPECT_EQ(geometry(b->shp_Move), QRect(0, 0, 100, 80));

    // A page so narrow that its overview box comes out 0 wide, then shown
    // with the page's list (the box keeps the size it was left with).
    show_page(*b, 10, 2000);
    EXPECT_EQ(b->BunzScrollUnit, 17);
    EXPECT_EQ(b->pic_Move->width(), 0);
    b->BunzListView = 2;
    show_page(*b, 10, 2000);
    EXPECT_GE(b->BunzScrollUnit, 1);
}

TEST_F(BunzGeometry, EnlargedWithThePageListLeavesRoomForTheList) {
    Bunz* b = open_page(1600, 1000);
    ASSERT_NE(b, nullptr);
    press(b->pic_Bun, Qt::RightButton, QPoint(1, 1));
    ASSERT_EQ(b->BunzListView, 1);
    b->setFocus();
    QTest::keyClick(b, Qt::Key_F12);
    ASSERT_EQ(b->BunzListView, 2);
    EXPECT_FALSE(b->lst_Pnc->isHidden());
    EXPECT_EQ(b->vsb_Move->x(), 654);  // 676 - 17 - 5
    EXPECT_EQ(geometry(b->pic_Cotn), QRect(8, 24, 641, 553));
    EXPECT_EQ(b->hsb_Move->maximum(), 1600 - 641);
}

// A title whose lines are longer than the room left of the list wraps in
// its label: all of it shows, nothing of it lies under the list or the
// figure's box, and the page's frame stands below it, no lower than the
// design's frame reaches. A short title leaves everything at its place.
TEST_F(BunzGeometry, ALongTitleWrapsLeftOfTheListAndAboveThePage) {
    auto line = [](std::string text, size_t width) {
        text.resize(width, ' ');
        return text;
    };
    fake().title = line("ENGINE ASSEMBLY & CYLINDER HEAD", 74) +
                   line("FOR MODELS WITH TURBOCHARGER, INTERCOOLER AND TWIN OVERHEAD CAMSHAFTS 1999", 74) +
                   line("SEE ALSO FIGURE 11-02 FOR THE GASKET KIT PARTS LIST", 52);
    Bunz* b = open_page(1616, 1158);  // the demo's page, as high as the frame allows
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->BunzListView, 2);
    QLabel* t = b->lbl_Teki;
    ASSERT_TRUE(t->isVisible());
    const QRect room = t->geometry();
    EXPECT_LT(room.right(), b->lst_Pnc->x());
    EXPECT_LT(room.right(), b->lin_Frm[0]->x());
    const QRect need = QFontMetrics(t->font()).boundingRect(QRect(0, 0, room.width(), 10000),
                                                            Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, t->text());
    EXPECT_LE(need.width(), room.width()) << t->text().toStdString();
    EXPECT_LE(need.height(), room.height()) << t->text().toStdString();
    for (const char* word : {"CYLINDER", "CAMSHAFTS", "1999", "GASKET", "LIST"})
        EXPECT_TRUE(t->text().contains(word)) << word;
    EXPECT_GT(b->pic_Cotn->y(), room.bottom());
    EXPECT_LE(b->pic_Cotn->geometry().bottom(), 72 + 560 - 1);
    EXPECT_FALSE(b->pic_Cotn->geometry().intersects(room));

    b->BunzPageTitle = line("ENGINE ASSEMBLY", b->BunzPageTitle.size());
    ASSERT_EQ(b->DispBun(0), 0);
    EXPECT_EQ(b->lbl_Teki->height(), 48);
    EXPECT_EQ(geometry(b->pic_Cotn), QRect(676 - 5 - 665, 72, 665, 560));
}

// Page 1002 x 700 in the 805 x 553 frame: scale 6, overview 167 x 116,
// frame mark 134 x 92; the bars reach 197 and 147.
class BunzMoves : public BunzGeometry {
protected:
    void SetUp() override {
        BunzGeometry::SetUp();
        b = open_page(1002, 700);
        ASSERT_NE(b, nullptr);
        press(b->pic_Bun, Qt::RightButton, QPoint(1, 1));
        ASSERT_EQ(b->BunzViewMode, 2);
        ASSERT_EQ(b->BunzScrollUnit, 6);
        ASSERT_EQ(b->pic_Move->size(), QSize(167, 116));
        ASSERT_EQ(b->shp_Move->size(), QSize(134, 92));
        ASSERT_EQ(b->hsb_Move->maximum(), 197);
        ASSERT_EQ(b->vsb_Move->maximum(), 147);
    }
    // Page position, frame-mark position, bar values.
    std::string where() const {
        return std::to_string(b->pic_Bun->x()) + "," + std::to_string(b->pic_Bun->y()) + " mark " +
               std::to_string(b->shp_Move->x()) + "," + std::to_string(b->shp_Move->y()) + " bars " +
               std::to_string(b->hsb_Move->value()) + "," + std::to_string(b->vsb_Move->value());
    }
    Bunz* b = nullptr;
};

TEST_F(BunzMoves, OverviewClicksAtTheEdges) {
    struct Case {
        float x, y;
        const char* want;
    } cases[] = {
        {0, 0, "0,0 mark 0,0 bars 0,0"},
        // The right edge: the page's right edge at the frame's, never beyond.
        {166, 0, "-197,0 mark 32,0 bars 197,0"},
        // Again at the right edge: the bar does not move, so the mark keeps
        // the place the click gave it.
        {166.5f, 115, "-197,-144 mark 33,24 bars 197,144"},
        {84, 58, "-102,-72 mark 17,12 bars 102,72"},
        {0, 0, "0,0 mark 0,0 bars 0,0"},
    };
    for (const Case& c : cases) {
        b->pic_Move_MouseDown(1, 0, c.x, c.y);
        EXPECT_EQ(where(), c.want) << c.x << "," << c.y;
    }
}

TEST_F(BunzMoves, OverviewClickOnAPageThatFitsAcrossMovesOnlyDown) {
    show_page(*b, 700, 1000);
    ASSERT_TRUE(b->hsb_Move->isHidden());
    b->pic_Move_MouseDown(2, 0, 50, 200);
    EXPECT_EQ(b->pic_Bun->x(), 0);
    EXPECT_EQ(b->shp_Move->x(), 0);
    EXPECT_LT(b->pic_Bun->y(), 0);
    EXPECT_EQ(b->pic_Bun->y(), -b->vsb_Move->value());
}

TEST_F(BunzMoves, RightButtonCentresTheEnlargedPage) {
    struct Case {
        float x, y;
        const char* want;
    } cases[] = {
        {500, 300, "-98,-24 mark 16,4 bars 98,24"},
        // Near the right and bottom edges: no further than the page's edge.
        {1000, 699, "-197,-147 mark 32,24 bars 197,147"},
        {10, 10, "0,0 mark 0,0 bars 0,0"},
    };
    for (const Case& c : cases) {
        b->pic_Bun_MouseDown(2, 0, c.x, c.y);
        EXPECT_EQ(where(), c.want) << c.x << "," << c.y;
        EXPECT_EQ(b->BunzViewMode, 2);
    }
}

TEST_F(BunzMoves, ScrollBarsMoveThePageAndTheMark) {
    b->hsb_Move->setValue(100);
    b->vsb_Move->setValue(147);
    EXPECT_EQ(where(), "-100,-147 mark 16,24 bars 100,147");
}

}  // namespace
}  // namespace pxtest
