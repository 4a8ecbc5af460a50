// The illustration screen over a scripted illustration library: loading and
// its outcomes, the key bar by state, page moves, the match setting, the
// views, the sub-illustration, the hand-off to the parts list, picks and
// quantities.
#include <cstdio>
#include <functional>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include "figure/bunz.h"
#include "shell/help.h"
#include "shell/picture_box.h"
#include "shell/stack.h"
#include "shell/updown.h"
#include "support/bunz_screen.h"

namespace pxtest {
namespace {

using figtest::fake;
using px::Bunz;

class BunzTest : public BunzScreenTest {};

TEST_F(BunzTest, OpensOnTheFirstPageWhole) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->BunzViewMode, 1);
    EXPECT_EQ(b->BunzKeySet, 1);
    EXPECT_EQ(b->BunzListView, 2);
    EXPECT_EQ(b->BunzPictureState, 1);
    EXPECT_EQ(b->windowTitle(), "Illustration");
    EXPECT_EQ(b->lbl_NextEnd->text().trimmed(), "NEXT");
    EXPECT_EQ(shown_keys(*b), "F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12");
    EXPECT_EQ(b->cmd_PF(9)->text().trimmed(), "F9:All");
    EXPECT_EQ(b->lbl_FigNo->text(), "1101");
    EXPECT_EQ(b->lst_Pnc->count(), 4);
    EXPECT_EQ(msg(*b), "m118");
    EXPECT_EQ(b->focusWidget(), b->lst_Pnc);
    // The whole page at half size, its title for printing in three lines.
    EXPECT_EQ(b->pic_Bun->size(), QSize(600, 400));
    EXPECT_EQ(b->lbl_Teki->text().count('\n'), 2);
    EXPECT_EQ(fake().calls, (std::vector<std::string>{"Init", "MakePageInfo", "ReadSelectTmp", "PrnIllustNm",
                                                      "SetListBox", "SelectAll1 1"}));
    EXPECT_TRUE(b->lst_SelPnc->isHidden());
    EXPECT_TRUE(b->hsb_Move->isHidden());
}

TEST_F(BunzTest, NoPagesShowsTheScreenWithoutAPicture) {
    fake().answer("Init", 0, 1);
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->BunzPictureState, 0);
    EXPECT_EQ(fake().count("MakePageInfo"), 0);
    EXPECT_EQ(shown_keys(*b), "F1 F3 F4 F6 F7 F8 F9 F12");
    EXPECT_FALSE(b->lbl_NotIllust->isHidden());
    EXPECT_TRUE(b->lbl_NotIllust->text().startsWith("Figure:"));
    EXPECT_TRUE(b->pic_Cotn->isHidden());
    EXPECT_EQ(msg(*b), "m862");
    EXPECT_EQ(b->focusWidget(), b->cmd_PF(8));
}

TEST_F(BunzTest, PictureTooLargeToDecodeShowsTheNotice) {
    fake().answer("MakePageInfo", 0, 5);
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->BunzPictureState, 3);
    EXPECT_FALSE(b->lbl_BigIllust->isHidden());
    EXPECT_TRUE(b->pic_Cotn->isHidden());
    const QString notice = b->lbl_BigIllust->text();
    EXPECT_TRUE(notice.startsWith("The picture of this page is too large to be shown.")) << notice.toStdString();
    EXPECT_TRUE(notice.contains("11-01   : Figure")) << notice.toStdString();
    EXPECT_TRUE(notice.contains("ILL0001 : Page")) << notice.toStdString();
    EXPECT_EQ(msg(*b), "m829");
    EXPECT_EQ(shown_keys(*b), "F1 F3 F4 F6 F7 F8 F9 F12");
    EXPECT_EQ(fake().count("SetListBox"), 0);
}

TEST_F(BunzTest, LoadingOutcomes) {
    struct Case {
        const char* what;
        const char* call;
        int32_t rc;
        int16_t status;
        bool error_dialog;
    } cases[] = {
        {"catalogue CD not there", "Init", 0, 4, false},
        {"catalogue CD gone for the picture", "MakePageInfo", 0, 4, false},
        {"library failure", "Init", 128, 0, true},
        {"page failure", "MakePageInfo", 208, 0, true},
        {"selection file unreadable", "ReadSelectTmp", 14, 0, true},
        // An answer the screen does not know is no screen to work on.
        {"unknown status", "Init", 0, 9, true},
        {"unknown page status", "MakePageInfo", 0, 7, true},
    };
    for (const Case& c : cases) {
        figtest::install_fake();
        fake().bitmap = inst->root() + "/page.bmp";
        fake().list = inst->root() + "/list.txt";
        fake().answer(c.call, c.rc, c.status);
        modals.clear();
        on_modal("Errm", [](px::Form& f) { px::unload_form(f); });
        EXPECT_EQ(open(), nullptr) << c.what;
        EXPECT_TRUE(menu_on_top()) << c.what;
        EXPECT_EQ(modals, c.error_dialog ? std::vector<std::string>{"Errm"} : std::vector<std::string>{}) << c.what;
        EXPECT_EQ(fake().count("Term"), 1) << c.what;
    }
}

TEST_F(BunzTest, KeyBarByState) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    key(*b, Qt::Key_F5);
    EXPECT_EQ(b->BunzKeySet, 2);
    // Key set 2 of a kind-1 picture: no F12.
    EXPECT_EQ(shown_keys(*b), "F1 F2 F4 F5 F6 F9");
    EXPECT_EQ(b->cmd_PF(9)->text().trimmed(), "F9:Enlrg");
    key(*b, Qt::Key_F12);  // hidden: nothing
    EXPECT_EQ(b->BunzListView, 2);
    key(*b, Qt::Key_F8);
    EXPECT_EQ(fake().count("Next"), 0);
    key(*b, Qt::Key_F5);
    EXPECT_EQ(shown_keys(*b), "F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12");
    // Enlarged.
    key(*b, Qt::Key_F5);
    key(*b, Qt::Key_F9);
    EXPECT_EQ(b->BunzViewMode, 2);
    EXPECT_EQ(b->BunzListView, 1);
    EXPECT_EQ(shown_keys(*b), "F1 F2 F3 F4 F6 F7 F8 F9 F10 F11 F12");
    EXPECT_EQ(b->windowTitle(), "Illustration (Enlarged)");
    EXPECT_EQ(b->focusWidget(), b->lst_SelPnc);
    EXPECT_EQ(fake().count("SelectAll2"), 1);
    // F12 switches the list layout, F3 goes back to the whole page.
    key(*b, Qt::Key_F12);
    EXPECT_EQ(b->BunzListView, 2);
    EXPECT_FALSE(b->lst_Pnc->isHidden());
    EXPECT_TRUE(b->lst_SelPnc->isHidden());
    EXPECT_EQ(fake().count("SelectAll1 2"), 1);
    key(*b, Qt::Key_F3);
    EXPECT_EQ(b->BunzViewMode, 1);
    EXPECT_EQ(b->BunzKeySet, 1);
    EXPECT_EQ(px::loaded_form(Bunz::kName), b);
}

TEST_F(BunzTest, KindTwoPictureGoesWideWithF12InKeySetTwo) {
    fake().kind = 2;
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->pic_Cotn->x(), 4);
    key(*b, Qt::Key_F5);
    EXPECT_EQ(shown_keys(*b), "F1 F2 F4 F5 F6 F9 F12");
    key(*b, Qt::Key_F12);
    EXPECT_EQ(b->BunzListView, 0);
    EXPECT_TRUE(b->lst_Pnc->isHidden());
    EXPECT_TRUE(b->txt_Qty->isHidden());
    EXPECT_FALSE(b->lbl_Teki->isHidden());
    EXPECT_EQ(b->focusWidget(), b->cmd_PF(12));
    key(*b, Qt::Key_F12);
    EXPECT_EQ(b->BunzListView, 2);
    EXPECT_FALSE(b->lst_Pnc->isHidden());
}

TEST_F(BunzTest, PageMovesAndTheirEnds) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    fake().answer("Prev", 0, 12);
    key(*b, Qt::Key_F7);
    EXPECT_EQ(msg(*b), "m801");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(fake().count("MakePageInfo"), 1);  // nothing changed

    fake().key = "1501";
    fake().record = "ENGINE OIL PUMP & FILTER";
    fake().last = 1;
    key(*b, Qt::Key_F8);
    EXPECT_EQ(b->lbl_FigNo->text(), "1501");
    EXPECT_EQ(b->lbl_NextEnd->text().trimmed(), "END");
    EXPECT_EQ(fake().count("MakePageInfo"), 2);

    fake().answer("Next", 0, 11);
    key(*b, Qt::Key_F8);
    EXPECT_EQ(msg(*b), "m802");
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(b->lbl_FigNo->text(), "1501");

    // A page move from the enlarged view comes back whole.
    b->pic_Bun_MouseDown(2, 0, 10, 10);
    ASSERT_EQ(b->BunzViewMode, 2);
    key(*b, Qt::Key_F7);
    EXPECT_EQ(b->BunzViewMode, 1);
    EXPECT_EQ(b->BunzListView, 2);

    // An answer the move does not expect: message 999, the screen stays.
    fake().answer("Next", 0, 12);
    key(*b, Qt::Key_F8);
    EXPECT_EQ(msg(*b), "m999");
    EXPECT_EQ(px::loaded_form(Bunz::kName), b);

    // A failure ends in the error dialog and the menu.
    on_modal("Errm", [](px::Form& f) { px::unload_form(f); });
    fake().answer("Next", 20, 0);
    key(*b, Qt::Key_F8);
    settle();
    EXPECT_EQ(modals, std::vector<std::string>{"Errm"});
    EXPECT_TRUE(menu_on_top());
}

TEST_F(BunzTest, AfterAPageMoveEnterPicksWithoutAnArrowKeyFirst) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    fake().key = "1501";
    fake().last = 1;
    key(*b, Qt::Key_F8);
    ASSERT_GT(b->lst_Pnc->count(), 0);
    EXPECT_EQ(b->lst_Pnc->currentRow(), 0);
    EXPECT_TRUE(b->lst_Pnc->selectedItems().isEmpty());
    fake().list_kinds.clear();
    b->lst_Pnc->setFocus();
    QTest::keyClick(b->lst_Pnc, Qt::Key_Return);
    EXPECT_EQ(fake().list_kinds, std::vector<std::string>{"Select 1"});
}

TEST_F(BunzTest, MatchSettingFlipsAndShowsTheFirstPage) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->lbl_Match->text().trimmed(), "Vehicle");
    fake().match = 1;
    key(*b, Qt::Key_F9);
    EXPECT_EQ(fake().count("Match"), 1);
    EXPECT_EQ(b->BunzMatchFlag, 1);
    EXPECT_EQ(b->cmd_PF(9)->text().trimmed(), "F9:Match");
    EXPECT_EQ(b->lbl_Match->text().trimmed(), "All pages");
}

TEST_F(BunzTest, SubIllustrationOpensFromThePictureAndF3ShowsTheMainPageAgain) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    fake().answer("SelectIllust", 0, 31);
    b->pic_Bun_MouseDown(1, 0, 120.5f, 80.25f);
    ASSERT_EQ(fake().picks.size(), 1u);
    EXPECT_EQ(fake().picks[0].kind, 1);
    EXPECT_FLOAT_EQ(fake().picks[0].x, 120.5f);
    EXPECT_EQ(b->BunzSubMode, 1);
    EXPECT_EQ(b->lbl_FigNo->text(), "1301");
    EXPECT_EQ(b->windowTitle(), "Sub-Illustration");
    EXPECT_EQ(shown_keys(*b), "F1 F2 F3 F5 F6 F7 F8 F9 F10 F11 F12");  // no F4 in a sub-illustration
    key(*b, Qt::Key_F4);
    EXPECT_EQ(px::loaded_form(Bunz::kName), b);

    // F3 closes it: the main page, with its own figure key and name.
    key(*b, Qt::Key_F3);
    EXPECT_EQ(fake().count("BuszTerm"), 1);
    EXPECT_EQ(b->BunzSubMode, 0);
    EXPECT_EQ(b->lbl_FigNo->text(), "1101");
    EXPECT_EQ(b->lbl_FigName->text().trimmed(), "ENGINE ASSEMBLY");
    EXPECT_EQ(b->windowTitle(), "Illustration");
    EXPECT_FALSE(b->cmd_PF(4)->isHidden());
}

TEST_F(BunzTest, SubIllustrationFromTheListAndItsOutcomes) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    // Without pages: the sub-illustration shows without a picture.
    fake().answer("SelectListBox", 0, 31);
    fake().answer("BuszInit", 0, 1);
    b->lst_Pnc->setCurrentRow(3);
    b->lst_Pnc_Pick();
    EXPECT_EQ(b->BunzSubMode, 1);
    EXPECT_EQ(b->BunzPictureState, 0);
    EXPECT_EQ(b->BunzListBusy, 0);
    EXPECT_EQ(shown_keys(*b), "F1 F3 F6 F7 F8 F9 F12");
    // F8 past its last page closes it (the library reports the main page).
    key(*b, Qt::Key_F8);
    EXPECT_EQ(b->BunzSubMode, 0);
    EXPECT_EQ(b->lbl_FigNo->text(), "1101");

    // The list of selected parts never opens one.
    fake().answer("SelectListBox", 0, 31);
    b->lst_SelPnc_Pick();
    EXPECT_EQ(fake().count("BuszInit"), 1);

    // Catalogue CD gone while opening: the menu, quietly.
    fake().answer("SelectListBox", 0, 31);
    fake().answer("BuszInit", 0, 4);
    b->lst_Pnc_Pick();
    settle();
    EXPECT_TRUE(menu_on_top());
    EXPECT_TRUE(modals.empty());
}

TEST_F(BunzTest, PickOnTheFullSelectionIsRefused) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    b->lbl_PartName->setText("BEFORE");
    b->BunzPartName = std::string(60, ' ');
    fake().answer("SelectIllust", 0, 6);
    press(b->pic_Bun, Qt::LeftButton, QPoint(30, 40));
    EXPECT_EQ(msg(*b), "m812");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(b->BunzSubMode, 0);
    // The list pick says the same.
    fake().answer("SelectListBox", 0, 6);
    b->lst_Pnc_Pick();
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(fake().count("BuszInit"), 0);
}

TEST_F(BunzTest, PictureButtonsAndTheNameOfThePick) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    // Both buttons together, or the middle one: nothing.
    b->pic_Bun_MouseDown(3, 0, 5, 5);
    b->pic_Bun_MouseDown(4, 0, 5, 5);
    EXPECT_EQ(fake().picks.size(), 0u);
    EXPECT_EQ(b->BunzViewMode, 1);
    // The right button enlarges, with the selected-parts list.
    press(b->pic_Bun, Qt::RightButton, QPoint(5, 5));
    EXPECT_EQ(b->BunzViewMode, 2);
    EXPECT_EQ(b->BunzListView, 1);
    EXPECT_EQ(b->list_kind(), 2);
    fake().pick_name = "BLOCK SUB-ASSY, SHORT";
    press(b->pic_Bun, Qt::LeftButton, QPoint(300, 200));
    ASSERT_EQ(fake().picks.size(), 1u);
    EXPECT_EQ(fake().picks[0].kind, 2);
    EXPECT_EQ(b->lbl_PartName->text().trimmed(), "BLOCK SUB-ASSY, SHORT");
    EXPECT_EQ(b->lbl_PartName->text().size(), 60);
    // A failing pick: the system-error ending.
    on_modal("Errm", [](px::Form& f) { px::unload_form(f); });
    fake().answer("SelectIllust", 20, 0);
    b->pic_Bun_MouseDown(1, 0, 1, 1);
    settle();
    EXPECT_TRUE(menu_on_top());
}

TEST_F(BunzTest, ListsPickWithEnterAndAnyButtonButNeverWithSpace) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    b->lst_Pnc->setFocus();
    QTest::keyClick(b->lst_Pnc, Qt::Key_Down);
    EXPECT_EQ(fake().list_kinds, (std::vector<std::string>{"Click 1"}));
    QTest::keyClick(b->lst_Pnc, Qt::Key_Space);
    EXPECT_EQ(b->lst_Pnc->selectedItems().size(), 0);
    QTest::keyClick(b->lst_Pnc, Qt::Key_Return);
    const QRect line2 = b->lst_Pnc->visualItemRect(b->lst_Pnc->item(1));
    press(b->lst_Pnc->viewport(), Qt::RightButton, line2.center());
    EXPECT_EQ(fake().list_kinds, (std::vector<std::string>{"Click 1", "Select 1", "Select 1"}));
    // While a list call runs the other list handlers do nothing.
    b->BunzListBusy = -1;
    b->lst_Pnc_Pick();
    b->lst_Pnc_Click();
    EXPECT_EQ(fake().list_kinds.size(), 3u);
}

// An arrow on a focused key button puts the focus on the list of the view
// and goes no further: the button does not move the focus once more.
TEST_F(BunzTest, ArrowsOnAKeyButtonEndInTheListOfTheView) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->BunzListView, 2);
    const Qt::Key arrows[] = {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down};
    for (Qt::Key arrow : arrows) {
        SCOPED_TRACE(arrow);
        b->cmd_PF(2)->setFocus();
        key(*b, arrow);
        EXPECT_EQ(b->focusWidget(), b->lst_Pnc);
    }
    press(b->pic_Bun, Qt::RightButton, QPoint(5, 5));
    ASSERT_EQ(b->BunzViewMode, 2);
    ASSERT_EQ(b->BunzListView, 1);
    for (Qt::Key arrow : arrows) {
        SCOPED_TRACE(arrow);
        b->cmd_PF(5)->setFocus();
        key(*b, arrow);
        EXPECT_EQ(b->focusWidget(), b->lst_SelPnc);
    }
}

TEST_F(BunzTest, QuantityBoxFilterEnterAndArrows) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    b->txt_Qty->setFocus();
    QTest::keyClicks(b->txt_Qty, "a5");
    EXPECT_EQ(b->txt_Qty->text(), "5");
    EXPECT_EQ(beeps, 1);
    QTest::keyClick(b->txt_Qty, Qt::Key_Return);
    QTest::mouseClick(b->upd_Qty->up_button(), Qt::LeftButton);
    fake().answer("EntryQty 1", 0, 1);
    QTest::mouseClick(b->upd_Qty->down_button(), Qt::LeftButton);
    EXPECT_EQ(fake().qty_steps, (std::vector<int>{0, 1, -1}));
    EXPECT_EQ(fake().count("EntryQty 1"), 3);
    EXPECT_EQ(beeps, 2);  // the empty-box status
    // Up, Down and Esc give the focus back to the list.
    b->txt_Qty->setFocus();
    QTest::keyClick(b->txt_Qty, Qt::Key_Escape);
    EXPECT_EQ(b->focusWidget(), b->lst_Pnc);
}

TEST_F(BunzTest, SubmitHandsTheSelectionToThePartsList) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    key(*b, Qt::Key_F10);
    EXPECT_EQ(msg(*b), "m832");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(fake().count("WriteSelectTmp"), 0);

    fake().selected = 3;
    key(*b, Qt::Key_F10);
    settle();
    EXPECT_EQ(fake().count("WriteSelectTmp"), 1);
    EXPECT_EQ(fake().count("ClearSelTmp"), 1);
    EXPECT_EQ(px::loaded_form(Bunz::kName), nullptr);
    EXPECT_NE(px::loaded_form("Pnho"), nullptr);
    EXPECT_EQ(px::ScrName(px::ScrCount()), "Pnho");
}

TEST_F(BunzTest, SubmitFailureAndClear) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    key(*b, Qt::Key_F11);
    EXPECT_EQ(fake().count("ClearSelTmp"), 1);
    EXPECT_EQ(fake().count("SetListBox"), 2);  // shown again without marks
    fake().selected = 1;
    fake().answer("WriteSelectTmp", 13, 0);
    on_modal("Errm", [](px::Form& f) { px::unload_form(f); });
    key(*b, Qt::Key_F10);
    settle();
    EXPECT_EQ(modals, std::vector<std::string>{"Errm"});
    EXPECT_TRUE(menu_on_top());
}

TEST_F(BunzTest, F3OnTheMainIllustrationDropsTheSelectionAndGoesBack) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    key(*b, Qt::Key_F3);
    settle();
    EXPECT_EQ(fake().count("ClearSelTmp"), 1);
    EXPECT_EQ(fake().count("WriteSelectTmp"), 0);
    EXPECT_TRUE(menu_on_top());
    EXPECT_TRUE(px::loaded_form("Gyom")->isVisible());
}

TEST_F(BunzTest, BackGoesToTheOpeningScreenOrTheMenuWhenThereIsNone) {
    px::ScrPush(px::load_form("Scra"));
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    key(*b, Qt::Key_F3);
    settle();
    EXPECT_EQ(px::ScrCount(), 2);
    EXPECT_NE(px::loaded_form("Scra"), nullptr);
}

TEST_F(BunzTest, HelpByModeAndAbbreviationsWhenEnlarged) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    on_modal("Help", [](px::Form& f) { px::unload_form(f); });
    on_modal("Ryak", [](px::Form& f) { px::unload_form(f); });
    key(*b, Qt::Key_F1);
    EXPECT_EQ(px::GetHelpScreenId(), "PXBUNZ");
    b->pic_Bun_MouseDown(2, 0, 1, 1);
    key(*b, Qt::Key_F1);
    EXPECT_EQ(px::GetHelpScreenId(), "PXBUNK");
    key(*b, Qt::Key_F9);
    EXPECT_EQ(modals.back(), "Ryak");
    EXPECT_EQ(msg(*b), "m118");
}

TEST_F(BunzTest, PrintingThePage) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    key(*b, Qt::Key_F2);
    EXPECT_EQ(msg(*b), "m118");
    bool drawn = false;
    for (const std::string& c : printer.calls) drawn = drawn || c.rfind("image", 0) == 0;
    EXPECT_TRUE(drawn);
    printer.calls.clear();
    printer.fail_at = "image";
    printer.fail_number = 482;
    key(*b, Qt::Key_F2);
    EXPECT_EQ(msg(*b), "m842");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(px::loaded_form(Bunz::kName), b);
}

TEST_F(BunzTest, AltArrowsScrollTheEnlargedPage) {
    figtest::write_page_bitmap(fake().bitmap, 1605, 700);  // 800 over the frame across, 147 down
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    b->pic_Bun_MouseDown(2, 0, 1, 1);
    ASSERT_FALSE(b->hsb_Move->isHidden());
    EXPECT_EQ(b->hsb_Move->pageStep(), 40);
    b->setFocus();
    QTest::keyClick(b->focusWidget(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(b->hsb_Move->value(), 40);
    EXPECT_EQ(b->pic_Bun->x(), -40);
    for (int i = 0; i < 30; ++i) QTest::keyClick(b->focusWidget(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(b->hsb_Move->value(), 800);
    EXPECT_EQ(b->pic_Bun->x(), -800);
    QTest::keyClick(b->focusWidget(), Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(b->vsb_Move->value(), 0);
    QTest::keyClick(b->focusWidget(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(b->vsb_Move->value(), 7);
}

}  // namespace
}  // namespace pxtest

namespace pxtest {
namespace {

class BunzDisplayFailures : public BunzScreenTest {};

TEST_F(BunzDisplayFailures, PageThatCannotBeShownEndsInTheErrorDialog) {
    struct Case {
        const char* what;
        std::function<void()> spoil;
        const char* log;  // the screen's own log line, or "" when the library logs
    } cases[] = {
        {"part-name list unreadable", [] { fake().answer("SetListBox", 11, 0); }, ""},
        {"bitmap missing", [] { fake().bitmap += ".gone"; }, "LoadBunzBitmap"},
        {"bitmap no picture", [] { figtest::write_list(fake().bitmap, {"not a picture"}); }, "LoadBunzBitmap"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        figtest::install_fake();
        fake().bitmap = inst->root() + "/page.bmp";
        fake().list = inst->root() + "/list.txt";
        figtest::write_page_bitmap(fake().bitmap, 1200, 800);
        Bunz* b = open();
        ASSERT_NE(b, nullptr);
        c.spoil();
        modals.clear();
        bool logged = false;
        // The dialog shows the log (and empties it).
        on_modal("Errm", [&](px::Form& f) {
            for (const std::string& line : inst->log_lines())
                logged = logged || (line.find("DispBun") != std::string::npos && line.find(c.log) != std::string::npos);
            px::unload_form(f);
        });
        key(*b, Qt::Key_F8);
        settle();
        EXPECT_EQ(modals, std::vector<std::string>{"Errm"});
        EXPECT_TRUE(menu_on_top());
        EXPECT_EQ(logged, *c.log != 0);
    }
}

TEST_F(BunzDisplayFailures, EnlargedPageWithoutItsBitmap) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    // The bitmap gone before the page is enlarged: its loader fails.
    std::remove(fake().bitmap.c_str());
    bool logged = false;
    on_modal("Errm", [&](px::Form& f) {
        for (const std::string& line : inst->log_lines())
            logged = logged || line.find("LoadBunkBitmap") != std::string::npos;
        px::unload_form(f);
    });
    b->pic_Bun_MouseDown(2, 0, 1, 1);
    settle();
    EXPECT_EQ(modals, std::vector<std::string>{"Errm"});
    EXPECT_TRUE(logged);
    EXPECT_TRUE(menu_on_top());
}

}  // namespace
}  // namespace pxtest

namespace pxtest {
namespace {

class BunzMarks : public BunzScreenTest {};

TEST_F(BunzMarks, AllMarksOfAPickShowOnThePictureAndComeOffAgain) {
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    // Three placements of one code, one of them at the picture's corner.
    fake().marks = {{10, 10, 40, 20}, {300, 200, 330, 212}, {570, 380, 600, 400}};
    const QImage before = b->pic_Bun->image();
    auto dark = [](const QImage& img, const std::array<int, 4>& m) {
        int n = 0;
        for (int y = m[1]; y < m[3]; ++y)
            for (int x = m[0]; x < m[2]; ++x) n += qGray(img.pixel(x, y)) < 128 ? 1 : 0;
        return n;
    };
    press(b->pic_Bun, Qt::LeftButton, QPoint(20, 15));
    const QImage marked = b->pic_Bun->image();
    for (const auto& m : fake().marks) {
        const int area = (m[2] - m[0]) * (m[3] - m[1]);
        EXPECT_EQ(dark(marked, m), area - dark(before, m)) << m[0] << "," << m[1];
    }
    // What the window shows is the marked picture.
    EXPECT_EQ(b->pic_Bun->grab().toImage().convertToFormat(QImage::Format_RGB32).pixel(15, 15),
              marked.pixel(15, 15));
    press(b->pic_Bun, Qt::LeftButton, QPoint(20, 15));
    EXPECT_EQ(b->pic_Bun->image(), before);
}

}  // namespace
}  // namespace pxtest
