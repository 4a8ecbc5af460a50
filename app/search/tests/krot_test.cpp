// The search-route screen and its routes, over scripted search libraries.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "search/krot.h"
#include "search/route_context.h"
#include "shell/help.h"
#include "shell/stack.h"
#include "support/search_fixture.h"

namespace pxtest {
namespace {

using px::Form;
using px::search::Krot;

class KrotTest : public SearchTest {
protected:
    Krot& open_krot() {
        px::ScrPush(px::load_form(Krot::kName));
        menu->hide();
        settle();
        return *static_cast<Krot*>(px::loaded_form(Krot::kName));
    }
    // Types into the box and on into whatever box has the focus then.
    static void type(QWidget* w, const char* text) {
        w->setFocus();
        for (const char* p = text; *p != 0; ++p) QTest::keyClicks(w->window()->focusWidget(), QString(QChar(*p)));
    }
    static bool marked(Krot& k, int route) {
        return k.fra_Route[route]->palette().color(QPalette::Window) == QColor(224, 224, 224);
    }
    static Krot* krot() { return static_cast<Krot*>(px::loaded_form(Krot::kName)); }
};

TEST_F(KrotTest, LoadEmptiesTheSelectionAndStartsOnRouteZero) {
    work_file("SELECT.TMP", std::string(20000, 'x'));
    Krot& k = open_krot();
    EXPECT_EQ(k.windowTitle(), "Search Route");
    EXPECT_EQ(k.chk_Sech[1]->text(), "2  Power Train && Chassis");  // "&" shown as itself
    EXPECT_EQ(k.fra_Route[7]->title(), "User Part Group");
    EXPECT_EQ(k.cmd_Sech[2]->text(), "List");
    EXPECT_EQ(k.cmd_PF(4)->text(), "F4:Menu");
    EXPECT_EQ(k.CurRoute, 0);
    EXPECT_EQ(k.focusWidget(), k.chk_Sech[0]);
    EXPECT_TRUE(marked(k, 0));
    EXPECT_FALSE(marked(k, 4));
    EXPECT_EQ(k.lbl_Msg->text(), message(103));
    EXPECT_EQ(read_work("SELECT.TMP"), std::string(20000, '\0'));
}

TEST_F(KrotTest, TickingFigureGroupsChangesTheHelp) {
    Krot& k = open_krot();
    k.chk_Sech[2]->setChecked(true);
    EXPECT_EQ(k.lbl_Msg->text(), message(104));
    k.chk_Sech[3]->setChecked(true);
    k.chk_Sech[2]->setChecked(false);
    EXPECT_EQ(k.lbl_Msg->text(), message(104));
    k.chk_Sech[3]->setChecked(false);
    EXPECT_EQ(k.lbl_Msg->text(), message(103));
}

TEST_F(KrotTest, EnterCyclesTheCheckBoxesTogglingEach) {
    Krot& k = open_krot();
    for (int i = 0; i < 5; ++i) key(k, Qt::Key_Return);
    EXPECT_EQ(k.focusWidget(), k.chk_Sech[1]);
    // Box 0 was left twice, the others once.
    EXPECT_FALSE(k.chk_Sech[0]->isChecked());
    EXPECT_TRUE(k.chk_Sech[1]->isChecked());
    EXPECT_TRUE(k.chk_Sech[3]->isChecked());
}

TEST_F(KrotTest, FocusMakesTheRouteCurrentWithItsHelp) {
    Krot& k = open_krot();
    const struct {
        QWidget* input;
        int route;
        int help;
    } cases[] = {{k.cmd_Sech[1], 1, 103}, {k.cmd_Sech[3], 3, 103}, {k.txt_FigNo[1], 4, 107}, {k.txt_PNm, 5, 108},
                 {k.txt_PNo[2], 6, 109},  {k.txt_Grp, 7, 162},     {k.txt_KeyWord, 8, 106}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.route);
        c.input->setFocus();
        EXPECT_EQ(k.CurRoute, c.route);
        EXPECT_TRUE(marked(k, c.route));
        EXPECT_FALSE(marked(k, 0));
        EXPECT_EQ(k.lbl_Msg->text(), message(c.help));
    }
    // A click on a frame chooses its route.
    QTest::mouseClick(k.fra_Route[5], Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(k.focusWidget(), k.txt_PNm);
}

TEST_F(KrotTest, TypingRunsOnAcrossTheBoxesOfAValue) {
    Krot& k = open_krot();
    type(k.txt_FigNo[0], "ab");
    EXPECT_EQ(k.txt_FigNo[0]->text(), "AB");
    EXPECT_EQ(k.focusWidget(), k.txt_FigNo[1]);
    QTest::keyClick(k.txt_FigNo[1], Qt::Key_Backspace);
    EXPECT_EQ(k.focusWidget(), k.txt_FigNo[0]);
    EXPECT_EQ(k.txt_FigNo[0]->cursorPosition(), 2);

    type(k.txt_PNo[0], "12345678901");
    EXPECT_EQ(k.txt_PNo[0]->text(), "12345");
    EXPECT_EQ(k.txt_PNo[1]->text(), "67890");
    EXPECT_EQ(k.txt_PNo[2]->text(), "1");
    EXPECT_EQ(beeps, 0);
}

TEST_F(KrotTest, KeysOutsideAnInputsCharactersBeep) {
    Krot& k = open_krot();
    const struct {
        QLineEdit* box;
        const char* typed;
        const char* kept;
        int beeps;
    } cases[] = {
        {k.txt_FigNo[0], " -", "", 2}, {k.txt_PNm, "a*b-", "AB", 2}, {k.txt_PNo[0], "1 2", "12", 1},
        {k.txt_Grp, "a b", "A B", 0},  {k.txt_KeyWord, "pump *", "PUMP *", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        beeps = 0;
        type(c.box, c.typed);
        EXPECT_EQ(c.box->text(), c.kept);
        EXPECT_EQ(beeps, c.beeps);
    }
    // A control character in the keyword beeps.
    beeps = 0;
    QTest::sendKeyEvent(QTest::Click, k.txt_KeyWord, Qt::Key_A, QChar(1), Qt::ControlModifier);
    EXPECT_EQ(beeps, 1);
}

// The not-found outcome of each route that looks something up: its message
// stays on the line, with a beep but for the missing groups.
TEST_F(KrotTest, NotFoundShowsTheRoutesMessage) {
    const struct {
        int route;
        const char* entry;
        int16_t status;
        int16_t count;
        int msg;
        int beeps;
    } cases[] = {
        {0, "VBEmokInit", 0, 0, 861, 1},        {2, "VBKgrlLoad", 1, 0, 133, 0},
        {3, "VBLpemMakeFigListFile", 0, 0, 865, 1}, {4, "VBKrotCheckFigNo", 1, 0, 868, 1},
        {5, "VBKrotCheckPnc", 1, 0, 867, 1},    {6, "VBKrotCheckPn", 1, 0, 866, 1},
        {7, "VBKgrlLoad", 1, 0, 877, 1},        {7, "VBKgrlLoad", 2, 0, 877, 1},
        {8, "VBKkwdLoad", 0, 0, 865, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.route);
        script() = Script{};
        script()[c.entry] = Answer{0, c.status, c.count, ""};
        beeps = 0;
        Krot& k = open_krot();
        k.chk_Sech[1]->setChecked(true);
        k.txt_FigNo[0]->setText("11");
        k.txt_PNm->setText("12345");
        k.txt_PNo[0]->setText("12345");
        k.txt_Grp->setText("G01");
        k.txt_KeyWord->setText("PUMP");
        k.CurRoute = static_cast<int16_t>(c.route);
        key(k, Qt::Key_F10);
        ASSERT_EQ(krot(), &k);
        EXPECT_EQ(script().calls_of(c.entry).size(), 1u);
        EXPECT_EQ(k.lbl_Msg->text(), message(c.msg));
        EXPECT_EQ(beeps, c.beeps);
        EXPECT_EQ(k.CurRoute, c.route);
        EXPECT_TRUE(marked(k, c.route));
        EXPECT_TRUE(StandIn::opened().empty());
        key(k, Qt::Key_F3);
        settle();
    }
}

TEST_F(KrotTest, NoFigureGroupTickedIsRefused) {
    Krot& k = open_krot();
    key(k, Qt::Key_F10);
    EXPECT_EQ(k.lbl_Msg->text(), message(830));
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(k.focusWidget(), k.chk_Sech[0]);
    EXPECT_TRUE(script().calls_of("VBEmokInit").empty());
}

TEST_F(KrotTest, EmptyInputBeepsWithoutAMessage) {
    for (int route = 4; route <= 8; ++route) {
        SCOPED_TRACE(route);
        beeps = 0;
        Krot& k = open_krot();
        k.txt_Grp->setText("   ");
        k.txt_KeyWord->setText("    ");
        k.KROT_Set_Focus(route);
        k.lbl_Msg->clear();
        key(k, Qt::Key_F10);
        EXPECT_EQ(beeps, 1);
        EXPECT_TRUE(k.lbl_Msg->text().isEmpty());
        EXPECT_TRUE(script().calls.empty()) << script().calls.front();
        key(k, Qt::Key_F3);
        settle();
    }
}

TEST_F(KrotTest, PendingMessageOutlivesTheFocusStayingPut) {
    script()["VBKrotCheckPnc"] = Answer{0, 1, 0, ""};
    Krot& k = open_krot();
    type(k.txt_PNm, "12345");
    QTest::keyClick(k.txt_PNm, Qt::Key_Return);
    EXPECT_EQ(k.lbl_Msg->text(), message(867));
    EXPECT_EQ(k.PendingMsg, 867);
    // The next input of any route to get the focus shows it once more.
    k.txt_KeyWord->setFocus();
    EXPECT_EQ(k.lbl_Msg->text(), message(867));
    EXPECT_EQ(k.PendingMsg, 0);
    k.txt_Grp->setFocus();
    EXPECT_EQ(k.lbl_Msg->text(), message(162));
}

TEST_F(KrotTest, PendingMessageIsShownWhenF10MovesTheFocusBack) {
    script()["VBKrotCheckFigNo"] = Answer{0, 1, 0, ""};
    Krot& k = open_krot();
    k.txt_FigNo[0]->setFocus();
    k.txt_FigNo[0]->setText("12");
    k.cmd_PF(10)->setFocus();
    k.cmd_PF(10)->click();
    EXPECT_EQ(k.focusWidget(), k.txt_FigNo[0]);
    EXPECT_EQ(k.lbl_Msg->text(), message(868));
    EXPECT_EQ(k.PendingMsg, 0);
}

TEST_F(KrotTest, FiguresAndPartNumbersAreJoinedAsTyped) {
    script()["VBKrotCheckFigNo"] = Answer{0, 1, 0, ""};
    script()["VBKrotCheckPn"] = Answer{0, 1, 0, ""};
    Krot& k = open_krot();
    k.txt_FigNo[0]->setText("1");
    k.txt_FigNo[1]->setText("23");
    k.txt_FigNo[1]->setFocus();
    key(k, Qt::Key_F10);
    k.txt_PNo[0]->setText("123");
    k.txt_PNo[1]->setText("45678");
    k.txt_PNo[1]->setFocus();
    QTest::keyClick(k.txt_PNo[1], Qt::Key_Return);  // Enter in box 1 runs F10, box 2 empty
    EXPECT_EQ(script().calls_of("VBKrotCheckFigNo"), std::vector<std::string>{"VBKrotCheckFigNo(123 )"});
    EXPECT_EQ(script().calls_of("VBKrotCheckPn"), std::vector<std::string>{"VBKrotCheckPn(12345678    )"});
    EXPECT_EQ(k.txt_PNo[0]->text(), "12345");
    EXPECT_EQ(k.txt_PNo[1]->text(), "678  ");
    EXPECT_EQ(k.txt_PNo[2]->text(), "  ");
}

TEST_F(KrotTest, FoundRoutesOpenTheIllustration) {
    const struct {
        int route;
        const char* entry;
    } cases[] = {{4, "VBKrotCheckFigNo"}, {5, "VBKrotCheckPnc"}, {6, "VBKrotCheckPn"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.route);
        StandIn::opened().clear();
        script()[c.entry] = Answer{0, 0, 0, "1101"};
        Krot& k = open_krot();
        k.txt_FigNo[0]->setText("11");
        k.txt_PNm->setText("16100");
        k.txt_PNo[0]->setText("16100");
        k.CurRoute = static_cast<int16_t>(c.route);
        key(k, Qt::Key_F10);
        settle();
        EXPECT_EQ(StandIn::opened(), std::vector<std::string>{"Bunz"});
        EXPECT_EQ(krot(), nullptr);
        EXPECT_EQ(px::ScrName(px::ScrCount()), "Bunz");
        // Back from the illustration: a fresh screen on route 0.
        key(*px::loaded_form("Bunz"), Qt::Key_F3);
        settle();
        ASSERT_NE(krot(), nullptr);
        EXPECT_EQ(krot()->CurRoute, 0);
        EXPECT_TRUE(krot()->txt_PNm->text().isEmpty());
        key(*krot(), Qt::Key_F3);
        settle();
    }
}

TEST_F(KrotTest, EveryRouteOpensItsScreen) {
    work_file("KKWDPNC.TMP", std::string(60, 'N') + " 16100 1101\r\n");
    work_file("LPEMFNLS.TMP", " 1601  " + std::string(30, 'N') + "\r\n");
    const struct {
        int route;
        const char* screen;
    } cases[] = {{0, "Emok"}, {1, "Kpnc"}, {2, "Kgrl"}, {3, "Lpem"}, {7, "Kgrp"}, {8, "Kkwd"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen);
        script() = Script{};
        script()["VBEmokInit"] = Answer{0, 0, 3, ""};
        script()["VBLpemMakeFigListFile"] = Answer{0, 0, 2, "C:\\WORK\\LPEMFNLS.TMP"};
        script()["VBKkwdLoad"] = Answer{0, 0, 1, "C:\\WORK\\KKWDPNC.TMP"};
        on_modal("Kgpl", [](Form& f) { key(f, Qt::Key_F3); });
        Krot& k = open_krot();
        k.chk_Sech[0]->setChecked(true);
        k.chk_Sech[2]->setChecked(true);
        k.txt_Grp->setText("g1");
        k.txt_KeyWord->setText(" pump  ");
        k.CurRoute = static_cast<int16_t>(c.route);
        key(k, Qt::Key_F10);
        settle();
        EXPECT_EQ(krot(), nullptr);
        ASSERT_EQ(px::ScrName(px::ScrCount()), std::string(c.screen));
        key(*px::loaded_form(c.screen), Qt::Key_F4);
        settle();
    }
    const auto& ctx = px::search::route_context();
    EXPECT_EQ(ctx.KeywordText, " pump               ");
    EXPECT_EQ(px::search::up_to_nul(ctx.LpemFigListPath), "C:\\WORK\\LPEMFNLS.TMP");
}

TEST_F(KrotTest, RouteCallsHandTheInputsOver) {
    script()["VBEmokInit"] = Answer{0, 0, 0, ""};
    script()["VBKkwdLoad"] = Answer{0, 0, 0, ""};
    script()["VBKgrlLoad"] = Answer{0, 2, 0, ""};
    Krot& k = open_krot();
    k.chk_Sech[1]->setChecked(true);
    k.chk_Sech[3]->setChecked(true);
    key(k, Qt::Key_F10);
    k.txt_Grp->setText("g1");  // as pasted: the key filter never saw it
    k.txt_Grp->setFocus();
    key(k, Qt::Key_F10);
    k.txt_KeyWord->setText("  belt   ");
    k.txt_KeyWord->setFocus();
    key(k, Qt::Key_F10);
    EXPECT_EQ(k.txt_KeyWord->text(), "  belt");
    EXPECT_EQ(script().calls,
              (std::vector<std::string>{"VBKrotClearFigGrp()", "VBKrotSetFigGrp(1)", "VBKrotSetFigGrp(3)", "VBEmokInit()",
                                        "VBKgrlSetGroupCode(g1)", "VBKgrlLoad()", "VBKkwdLoad(  belt              )"}));
}

TEST_F(KrotTest, PastedAllGroupsCodeIsNotFound) {
    script()["VBKgrlLoad"] = Answer{0, 0, 0, ""};
    Krot& k = open_krot();
    k.txt_Grp->setText("***");
    k.txt_Grp->setFocus();
    key(k, Qt::Key_F10);
    EXPECT_EQ(k.lbl_Msg->text(), message(877));
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(script().calls.empty());
    EXPECT_EQ(krot(), &k);
}

TEST_F(KrotTest, GroupListButtonRunsTheRouteItself) {
    script()["VBKgrlLoad"] = Answer{0, 1, 0, ""};
    Krot& k = open_krot();
    k.cmd_Sech[2]->click();
    EXPECT_EQ(k.lbl_Msg->text(), message(133));
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(script().calls, (std::vector<std::string>{"VBKgrlSetGroupCode(***)", "VBKgrlLoad()"}));
    script()["VBKgrlLoad"] = Answer{};
    k.cmd_Sech[2]->click();
    settle();
    EXPECT_EQ(px::ScrName(px::ScrCount()), "Kgrl");
}

TEST_F(KrotTest, MissingCdGoesToTheMenuSilently) {
    for (const char* entry : {"VBEmokInit", "VBKrotCheckFigNo", "VBKrotCheckPnc", "VBKrotCheckPn", "VBKkwdLoad"}) {
        SCOPED_TRACE(entry);
        script() = Script{};
        script()[entry] = Answer{0, 4, 0, ""};
        Krot& k = open_krot();
        k.chk_Sech[0]->setChecked(true);
        k.txt_FigNo[0]->setText("11");
        k.txt_PNm->setText("12345");
        k.txt_PNo[0]->setText("12345");
        k.txt_KeyWord->setText("PUMP");
        const std::string e = entry;
        k.CurRoute = e == "VBEmokInit" ? 0 : e == "VBKrotCheckFigNo" ? 4 : e == "VBKrotCheckPnc" ? 5 : e == "VBKrotCheckPn" ? 6 : 8;
        key(k, Qt::Key_F10);
        settle();
        EXPECT_EQ(krot(), nullptr);
        EXPECT_EQ(px::ScrCount(), 1);
        EXPECT_TRUE(modals.empty());
    }
}

TEST_F(KrotTest, LibraryFailureShowsTheDialogThenTheMenu) {
    script()["VBKrotCheckPnc"] = Answer{14, 0, 0, ""};
    QString shown;
    on_modal("Errm", [&](Form& f) {
        shown = krot()->lbl_Msg->text();
        key(f, Qt::Key_F4);
    });
    Krot& k = open_krot();
    k.txt_PNm->setText("12345");
    k.txt_PNm->setFocus();
    key(k, Qt::Key_F10);
    settle();
    EXPECT_EQ(shown, message(999));
    EXPECT_EQ(modals, std::vector<std::string>{"Errm"});
    EXPECT_EQ(krot(), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);
}

TEST_F(KrotTest, F11EmptiesTheInputsAndKeepsTheRoute) {
    Krot& k = open_krot();
    k.chk_Sech[2]->setChecked(true);
    k.txt_FigNo[1]->setText("01");
    k.txt_KeyWord->setText("PUMP");
    k.txt_PNm->setFocus();
    k.PendingMsg = 866;
    key(k, Qt::Key_F11);
    EXPECT_FALSE(k.chk_Sech[2]->isChecked());
    EXPECT_TRUE(k.txt_FigNo[1]->text().isEmpty());
    EXPECT_TRUE(k.txt_KeyWord->text().isEmpty());
    EXPECT_EQ(k.CurRoute, 5);
    EXPECT_EQ(k.PendingMsg, 0);
    EXPECT_EQ(k.focusWidget(), k.txt_PNm);
}

TEST_F(KrotTest, KeysWithoutButtonsDoNothing) {
    Krot& k = open_krot();
    k.lbl_Msg->clear();
    for (Qt::Key f : {Qt::Key_F2, Qt::Key_F5, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9, Qt::Key_F12}) key(k, f);
    EXPECT_TRUE(k.lbl_Msg->text().isEmpty());
    EXPECT_TRUE(modals.empty());
    // A key whose button is hidden does nothing either.
    k.cmd_PF(3)->hide();
    key(k, Qt::Key_F3);
    EXPECT_EQ(krot(), &k);
}

TEST_F(KrotTest, F1ShowsTheScreensHelp) {
    on_modal("Help", [](Form& f) { key(f, Qt::Key_F3); });
    Krot& k = open_krot();
    key(k, Qt::Key_F1);
    EXPECT_EQ(modals, std::vector<std::string>{"Help"});
    EXPECT_EQ(px::GetHelpScreenId(), "PXKROT");
}

}  // namespace
}  // namespace pxtest
