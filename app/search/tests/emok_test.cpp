// The illustration index over a scripted index library.
#include <algorithm>

#include <QLabel>
#include <QListWidget>
#include <QTest>

#include "search/emok.h"
#include "shell/picture_box.h"
#include "shell/stack.h"
#include "support/search_fixture.h"

namespace pxtest {
namespace {

using px::Form;
using px::search::Emok;

class EmokTest : public SearchTest {
protected:
    void SetUp() override {
        SearchTest::SetUp();
        script()["VBEmokInit"] = Answer{0, 0, 2, ""};
        script().index_pages = 2;
    }
    Emok& open_index() {
        px::ScrPush(px::load_form(Emok::kName));
        menu->hide();
        settle();
        return *static_cast<Emok*>(px::loaded_form(Emok::kName));
    }
};

TEST_F(EmokTest, PagesForwardAndBack) {
    Emok& e = open_index();
    EXPECT_EQ(e.PageNo, 1);
    EXPECT_EQ(e.lbl_NextEnd->text(), "NEXT");
    EXPECT_EQ(lines(e.lst_FigNo), (std::vector<std::string>{"11-01 PAGE 1", "     (CONTINUED)"}));
    // The bitmap's 640 x 352 fill the box: its black box shows at 90 in 100.
    EXPECT_EQ(e.pic_FigZen->image().pixelColor(135, 112), QColor(Qt::black));
    EXPECT_EQ(e.pic_FigZen->image().pixelColor(80, 80), QColor(Qt::white));
    key(e, Qt::Key_F7);
    EXPECT_EQ(e.lbl_Msg->text(), message(801));
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(e.PageNo, 1);
    key(e, Qt::Key_F8);
    EXPECT_EQ(e.PageNo, 2);
    EXPECT_EQ(e.lbl_NextEnd->text(), "END");
    EXPECT_EQ(e.lbl_Msg->text(), message(117));
    key(e, Qt::Key_F8);
    EXPECT_EQ(e.lbl_Msg->text(), message(802));
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(e.PageNo, 2);
    EXPECT_EQ(script().calls_of("VBEmokSelectAll").size(), 2u);
}

TEST_F(EmokTest, PicksGoToTheLibrary) {
    Emok& e = open_index();
    QTest::mouseClick(e.pic_FigZen, Qt::LeftButton, {}, QPoint(120, 110));
    EXPECT_EQ(script().calls_of("VBEmokSelectZentai"), std::vector<std::string>{"VBEmokSelectZentai(120,110)"});
    EXPECT_EQ(e.focusWidget(), e.lst_FigNo);
    script()["VBEmokSelectShosai"] = Answer{0, 6, 0, ""};
    QTest::mouseClick(e.pic_FigSho, Qt::LeftButton, {}, QPoint(10, 20));
    EXPECT_EQ(e.lbl_Msg->text(), message(811));
    EXPECT_EQ(beeps, 1);
    // The list box marks nothing itself: a click and Enter go to the library.
    QTest::mouseClick(e.lst_FigNo->viewport(), Qt::LeftButton, {},
                      e.lst_FigNo->visualItemRect(e.lst_FigNo->item(0)).center());
    EXPECT_FALSE(e.lst_FigNo->item(0)->isSelected());
    QTest::keyClick(e.lst_FigNo, Qt::Key_Space);
    QTest::keyClick(e.lst_FigNo, Qt::Key_Return);
    EXPECT_EQ(script().calls_of("VBEmokSelectListBox"),
              (std::vector<std::string>{"VBEmokSelectListBox(0)", "VBEmokSelectListBox(0)"}));
    EXPECT_TRUE(e.lst_FigNo->selectedItems().isEmpty());
}

TEST_F(EmokTest, HandOverNeedsAFigure) {
    Emok& e = open_index();
    key(e, Qt::Key_F10);
    EXPECT_EQ(e.lbl_Msg->text(), message(831));
    EXPECT_EQ(beeps, 1);
    script()["VBwrite_figno"].count = 2;
    key(e, Qt::Key_F10);
    settle();
    EXPECT_EQ(StandIn::opened(), std::vector<std::string>{"Bunz"});
    EXPECT_EQ(px::loaded_form(Emok::kName), nullptr);
    EXPECT_EQ(script().calls_of("VBEmokTerm").size(), 1u);
}

TEST_F(EmokTest, F11RepaintsThePicturesAndClears) {
    Emok& e = open_index();
    e.pic_FigZen->invert(QRect(0, 0, 10, 10));
    key(e, Qt::Key_F11);
    EXPECT_EQ(e.pic_FigZen->image().pixelColor(5, 5), QColor(Qt::white));
    EXPECT_EQ(script().calls_of("VBEmokClear").size(), 1u);
    EXPECT_EQ(e.lbl_Msg->text(), message(117));
}

// A page move the library refuses changes nothing: the page shown keeps its
// pictures and list, and F11 repaints them from its own bitmaps.
TEST_F(EmokTest, F11AfterARefusedPageMoveRepaintsThePageShown) {
    const struct {
        const char* what;
        std::vector<Qt::Key> keys;
        int page, refusal;
    } moves[] = {
        {"F7 on the first page", {Qt::Key_F7}, 1, 801},
        {"F8 past the last page", {Qt::Key_F8, Qt::Key_F8}, 2, 802},
    };
    for (const auto& m : moves) {
        SCOPED_TRACE(m.what);
        Emok& e = open_index();
        for (Qt::Key k : m.keys) key(e, k);
        EXPECT_EQ(e.lbl_Msg->text(), message(m.refusal));
        EXPECT_EQ(e.PageNo, m.page);
        EXPECT_EQ(lines(e.lst_FigNo).front(), "1" + std::to_string(m.page) + "-01 PAGE " + std::to_string(m.page));
        e.pic_FigZen->invert(QRect(0, 0, 10, 10));
        e.pic_FigSho->invert(QRect(0, 0, 10, 10));
        key(e, Qt::Key_F11);
        settle();
        ASSERT_EQ(px::loaded_form(Emok::kName), &e) << "the screen stays";
        EXPECT_EQ(std::count(modals.begin(), modals.end(), "Errm"), 0);
        EXPECT_EQ(e.lbl_Msg->text(), message(117));
        for (px::PictureBox* box : {e.pic_FigZen, e.pic_FigSho}) {
            EXPECT_EQ(box->image().pixelColor(5, 5), QColor(Qt::white));
            EXPECT_EQ(box->image().pixelColor(135, 112), QColor(Qt::black));
        }
        EXPECT_EQ(e.focusWidget(), e.lst_FigNo);
        key(e, Qt::Key_F3);
        settle();
    }
}

TEST_F(EmokTest, UnloadableBitmapIsLoggedAndEndsInTheMenu) {
    script()["VBEmokGetPageData"].text = "C:\\WORK\\GONE.BMP";
    bool logged = false;
    std::vector<std::string> lines_seen;
    on_modal("Errm", [&](Form& f) {
        // The dialog lists the log (and deletes it when it closes).
        lines_seen = inst->log_lines();
        for (const auto& l : lines_seen)
            logged |= l.find("PXEMOK.FRM,Form_Load,LoadStretchBitmap,(53)(0)(1)") != std::string::npos;
        key(f, Qt::Key_F4);
    });
    px::ScrPush(px::load_form(Emok::kName));
    settle();
    EXPECT_EQ(modals, std::vector<std::string>{"Errm"});
    EXPECT_EQ(px::loaded_form(Emok::kName), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);
    EXPECT_TRUE(logged) << testing::PrintToString(lines_seen);
}

TEST_F(EmokTest, MissingCdAtLoadGoesToTheMenuSilently) {
    script()["VBEmokInit"] = Answer{0, 4, 0, ""};
    px::ScrPush(px::load_form(Emok::kName));
    settle();
    EXPECT_TRUE(modals.empty());
    EXPECT_EQ(px::loaded_form(Emok::kName), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);
}

TEST_F(EmokTest, WithoutAnyPageTheKeysLeaveThePicturesAlone) {
    script()["VBEmokInit"] = Answer{0, 0, 0, ""};
    Emok& e = open_index();
    EXPECT_EQ(e.lbl_Msg->text(), message(861));
    EXPECT_EQ(beeps, 1);
    key(e, Qt::Key_F8);
    key(e, Qt::Key_F11);
    EXPECT_TRUE(modals.empty());
    EXPECT_TRUE(script().calls_of("VBEmokGetPageData").empty());
    EXPECT_EQ(script().calls_of("VBEmokClear").size(), 1u);
    EXPECT_EQ(px::loaded_form(Emok::kName), &e);
}

}  // namespace
}  // namespace pxtest
