// The grid: shape and contents, fixed rows and columns that stay while the
// rest scrolls, the current cell and its selection, keys and clicks.
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QScrollBar>
#include <QTest>

#include "shell/codepage.h"
#include "shell/grid.h"
#include "shell/messages.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

using px::Grid;

// A grid of `rows` rows of 20 px (19 and the line) and 1500-twip (100 px)
// columns in a 400 x 200 px view.
struct Sample {
    explicit Sample(int rows, int cols = 6) {
        g.resize(400 + 2 * g.frameWidth(), 200 + 2 * g.frameWidth());
        g.set_rows(rows);
        g.set_cols(cols);
        g.set_fixed_rows(1);
        g.set_fixed_cols(1);
        g.set_scroll_bars(Grid::kNone);  // the whole view for the cells
        g.set_row_heights(285);  // 19 px and a 1 px line: 20 px a row
        for (int c = 0; c < cols; ++c) g.set_col_width(c, 1485);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) g.set_text(r, c, QString("%1.%2").arg(r).arg(c));
        g.show();
    }
    Grid g;
};

TEST(GridTest, ResizingKeepsTheCellsThatStayAndOutsideCellsAreRefused) {
    Sample s(5, 3);
    s.g.set_rows(3);
    s.g.set_cols(2);
    s.g.set_rows(6);
    EXPECT_EQ(s.g.text(2, 1), "2.1");
    EXPECT_EQ(s.g.text(4, 1), "");  // new cells are empty
    EXPECT_EQ(s.g.text(2, 2), "");  // outside
    EXPECT_FALSE(s.g.set_text(6, 0, "x"));
    EXPECT_FALSE(s.g.set_text(-1, 0, "x"));
    s.g.clear_texts();
    EXPECT_EQ(s.g.rows(), 6);
    EXPECT_EQ(s.g.text(0, 0), "");
}

TEST(GridTest, WithoutFixedRowsOrColumnsTheFirstOnesShow) {
    Sample s(5, 3);
    s.g.set_fixed_cols(0);
    s.g.set_fixed_rows(0);
    EXPECT_EQ(s.g.left_col(), 0);
    EXPECT_EQ(s.g.top_row(), 0);
    s.g.set_fixed_cols(2);
    EXPECT_EQ(s.g.left_col(), 2);
    s.g.set_fixed_cols(1);
    EXPECT_EQ(s.g.left_col(), 1);
}

TEST(GridTest, TheCurrentCellCollapsesTheSelectionAndTheCornerWidensIt) {
    Sample s(5);
    s.g.select(1, 0, 1, 5);
    EXPECT_EQ(s.g.row(), 1);
    EXPECT_EQ(s.g.col_sel(), 5);
    EXPECT_FALSE(s.g.is_selected(1, 0));  // a fixed column is never selected
    EXPECT_TRUE(s.g.is_selected(1, 3));
    EXPECT_FALSE(s.g.is_selected(2, 3));
    s.g.set_row(3);
    EXPECT_EQ(s.g.row_sel(), 3);
    EXPECT_EQ(s.g.col_sel(), 0);
    EXPECT_FALSE(s.g.is_selected(3, 3));
}

TEST(GridTest, TopRowScrollsByWholeRowsAndStopsAtTheLastFullView) {
    Sample s(101);  // 1 fixed row + 100 data rows, 9 data rows fit under the header
    EXPECT_EQ(s.g.visible_rows(), 9);
    s.g.set_top_row(50);
    EXPECT_EQ(s.g.top_row(), 50);
    EXPECT_TRUE(s.g.row_is_visible(58));
    EXPECT_FALSE(s.g.row_is_visible(59));
    EXPECT_TRUE(s.g.row_is_visible(0));  // the header stays
    s.g.set_top_row(1000);
    EXPECT_EQ(s.g.top_row(), 92);  // rows 92-100 fill the view
    s.g.set_top_row(0);
    EXPECT_EQ(s.g.top_row(), 1);
    auto view = s.g.visible_texts();
    ASSERT_EQ(view.size(), 10u);
    EXPECT_EQ(view[0][0], "0.0");
    EXPECT_EQ(view[1][0], "1.0");
}

TEST(GridTest, FixedColumnsStayWhenTheOthersScroll) {
    Sample s(3, 10);
    s.g.set_left_col(5);
    auto view = s.g.visible_texts();
    ASSERT_FALSE(view.empty());
    EXPECT_EQ(view[1][0], "1.0");
    EXPECT_EQ(view[1][1], "1.5");
}

TEST(GridTest, KeysMoveTheCurrentCellAndKeepItInView) {
    Sample s(101);
    s.g.setFocus();
    s.g.select(1, 1, 1, 1);
    int changes = 0;
    s.g.on_row_col_change = [&] { ++changes; };
    QTest::keyClick(&s.g, Qt::Key_Down);
    EXPECT_EQ(s.g.row(), 2);
    for (int i = 0; i < 10; ++i) QTest::keyClick(&s.g, Qt::Key_Down);
    EXPECT_EQ(s.g.row(), 12);
    EXPECT_TRUE(s.g.row_is_visible(12));
    EXPECT_EQ(s.g.top_row(), 4);
    QTest::keyClick(&s.g, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(s.g.row(), 100);
    EXPECT_EQ(s.g.col(), 5);
    QTest::keyClick(&s.g, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(s.g.row(), 1);
    EXPECT_EQ(s.g.col(), 1);  // never onto the fixed column
    QTest::keyClick(&s.g, Qt::Key_Up);
    EXPECT_EQ(s.g.row(), 1);  // nor onto the header
    EXPECT_EQ(changes, 13);  // every move; none at the top
}

TEST(GridTest, EnterAndCharactersReachTheScreenWhichMaySwallowThem) {
    Sample s(5);
    std::vector<int> pressed;
    s.g.on_key_press = [&](int& k) {
        pressed.push_back(k);
        k = 0;
    };
    bool consumed_down = false;
    s.g.on_key_down = [&](int code, int) { return consumed_down && code == 40; };
    s.g.select(1, 1, 1, 1);
    QTest::keyClick(&s.g, Qt::Key_Return);
    QTest::keyClicks(&s.g, "a");
    EXPECT_EQ(pressed, (std::vector<int>{13, 'a'}));
    consumed_down = true;
    QTest::keyClick(&s.g, Qt::Key_Down);
    EXPECT_EQ(s.g.row(), 1);  // the screen took the key
}

TEST(GridTest, AClickMakesTheCellCurrentAndRowSelectionSpansTheRow) {
    Sample s(20);
    s.g.set_selection_mode(Grid::Selection::ByRow);
    int clicks = 0;
    s.g.on_click = [&] { ++clicks; };
    // Row 3 starts at 3 x 20 px under the frame; column 2 at 200 px.
    QTest::mouseClick(s.g.viewport(), Qt::LeftButton, {}, QPoint(210, 3 * 20 + 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(s.g.row(), 3);
    EXPECT_EQ(s.g.mouse_row(), 3);
    EXPECT_EQ(s.g.mouse_col(), 2);
    EXPECT_TRUE(s.g.is_selected(3, 1));
    EXPECT_TRUE(s.g.is_selected(3, 5));
    // A click on the header moves nothing but still reaches the screen.
    QTest::mouseClick(s.g.viewport(), Qt::LeftButton, {}, QPoint(210, 5));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(s.g.row(), 3);
}

TEST(GridTest, ManyThousandRowsFillAndScroll) {
    Sample s(2, 9);
    s.g.set_redraw(false);
    s.g.set_rows(5001);
    for (int r = 1; r < 5001; ++r)
        s.g.set_row_texts(r, {"", QString::number(r), "PART", "01", "12345-67890", "02", "X", "NAME", "REMARK"});
    s.g.set_redraw(true);
    s.g.set_top_row(4000);
    EXPECT_EQ(s.g.top_row(), 4000);
    EXPECT_EQ(s.g.visible_texts()[1][1], "4000");
    QImage shot = s.g.grab().toImage();
    EXPECT_FALSE(shot.isNull());
}

TEST(GridTest, ScrollBarsShowOnlyWhenAskedForAndNeeded) {
    Sample s(101);
    s.g.set_scroll_bars(Grid::kVertical);
    QApplication::processEvents();
    EXPECT_TRUE(s.g.verticalScrollBar()->isVisible());
    EXPECT_FALSE(s.g.horizontalScrollBar()->isVisible());
    s.g.verticalScrollBar()->setValue(10);
    EXPECT_EQ(s.g.top_row(), 11);
    Sample few(3);
    few.g.set_scroll_bars(Grid::kBoth);
    QApplication::processEvents();
    EXPECT_FALSE(few.g.verticalScrollBar()->isVisible());
    EXPECT_TRUE(few.g.horizontalScrollBar()->isVisible());  // six 100 px columns in 400 px
}

// Headings only widen their columns, by their widest line; the data rows
// never do, and a column already wide enough keeps its width.
TEST(GridTest, ColumnsWidenToTheirHeadingsOnly) {
    Sample s(3);
    const QString long_heading = "A heading much wider than its column";
    s.g.set_text(0, 1, long_heading);
    s.g.set_text(0, 2, "Short");
    s.g.set_text(0, 3, "Two\r\n" + long_heading + " too");
    s.g.set_text(1, 4, long_heading + long_heading);
    s.g.widen_to_headings();
    const QFontMetrics fm(s.g.font());
    const int tw = px::display_twips().x;
    EXPECT_GE(s.g.col_width(1) / tw, fm.horizontalAdvance(long_heading) + 4);
    EXPECT_GE(s.g.col_width(3) / tw, fm.horizontalAdvance(long_heading + " too") + 4);
    for (int c : {0, 2, 4, 5}) EXPECT_EQ(s.g.col_width(c), 1485) << "column " << c;
}

// A last column as wide as fill_width leaves the row whole beside the
// vertical scroll bar: making it current scrolls nothing sideways.
TEST(GridTest, AColumnThatFillsTheRoomNeedsNoSidewaysScroll) {
    Sample s(101, 2);
    s.g.set_fixed_cols(0);
    s.g.set_scroll_bars(Grid::kVertical);
    s.g.set_col_width(1, s.g.fill_width(1));
    QApplication::processEvents();
    ASSERT_TRUE(s.g.verticalScrollBar()->isVisible());
    const int tw = px::display_twips().x;
    EXPECT_EQ(s.g.col_width(0) / tw + s.g.col_width(1) / tw + 2, s.g.viewport()->width());
    const QPoint text_cell(s.g.col_width(0) / tw + 20, 30);
    QTest::mouseClick(s.g.viewport(), Qt::LeftButton, Qt::NoModifier, text_cell);
    EXPECT_EQ(s.g.col(), 1);
    EXPECT_EQ(s.g.left_col(), 0);
    s.g.set_col_width(1, s.g.fill_width(1) + tw);  // a pixel more does scroll
    QTest::mouseClick(s.g.viewport(), Qt::LeftButton, Qt::NoModifier, text_cell);
    EXPECT_EQ(s.g.left_col(), 1);
}

TEST(GridTest, CharacterUnitsComeFromTheGridsFont) {
    Grid g;
    g.set_font_name("Liberation Mono", 12);
    int cw = g.char_width();
    EXPECT_GT(cw, 0);
    // A fixed-pitch face: ten digits are ten times one.
    EXPECT_NEAR(cw, QFontMetrics(g.font()).horizontalAdvance("0") * 15, 15);
    g.set_geometry_twips(217, 300, 15000, 3000);
    EXPECT_EQ(g.left_twips(), 210);  // 217 twips is 14.5 px, rounded to 14
    EXPECT_EQ(g.width_twips(), 15000);
}

TEST(GridTest, SystemFontNamesAreServedByInstalledFaces) {
    Grid g;
    g.set_font_name("Courier", 12);
    EXPECT_TRUE(QFontInfo(g.font()).fixedPitch()) << g.font().family().toStdString();
    EXPECT_EQ(g.font().family(), px::screen_font("Courier", 12).family());
    g.set_font_name(QString::fromUtf8("ＭＳ 明朝"), 12);
    // A face that writes Japanese, where one is installed.
    if (!QFontDatabase::families(QFontDatabase::Japanese).isEmpty())
        EXPECT_TRUE(QFontDatabase::families(QFontDatabase::Japanese).contains(g.font().family()))
            << g.font().family().toStdString();
}

}  // namespace
}  // namespace pxtest
