// The set-up menu: its captions and language line, the routing of its items
// (pushed screens, dialogs over it, the group item's set-up check) and the
// return to the main menu after a system error in a dialog.
#include <QLabel>
#include <QPushButton>

#include "setup/stpm.h"
#include "shell/stack.h"
#include "support/setup_test.h"

namespace pxtest {
namespace {

using px::Stpm;

class StpmTest : public SetupTest {};

TEST_F(StpmTest, LoadShowsCaptionsLanguageAndGuide) {
    setup_fakes().latest_language = 3;
    auto& m = static_cast<Stpm&>(open("Stpm"));
    EXPECT_EQ(m.windowTitle().toStdString(), "SET-UP");
    EXPECT_EQ(m.cmd_Stup[0]->text().toStdString(), "Catalogue set-up");
    EXPECT_EQ(m.cmd_Stup[4]->text().toStdString(), "Screen texts");
    EXPECT_EQ(m.lbl_Lang[1]->text().toStdString(), "3");
    EXPECT_EQ(msg(m), "M150");
    EXPECT_EQ(m.chosen_item(), 0);
    EXPECT_EQ(m.cmd_PF(2), nullptr);
    EXPECT_NE(m.cmd_PF(10), nullptr);
}

TEST_F(StpmTest, NothingSetUpLeavesTheLanguageEmpty) {
    for (int32_t rc : {1, 2}) {
        setup_fakes().latest_rc = rc;
        auto& m = static_cast<Stpm&>(open("Stpm"));
        EXPECT_EQ(m.lbl_Lang[1]->text().toStdString(), "") << rc;
        px::unload_form(m);
        settle();
    }
}

TEST_F(StpmTest, F10RightAfterShowingRunsTheCatalogueSetUp) {
    auto& m = open("Stpm");
    key(m, Qt::Key_F10);
    settle();
    EXPECT_EQ(px::loaded_form("Stpm"), nullptr);
    ASSERT_NE(px::loaded_form("Stup"), nullptr);
    EXPECT_EQ(px::ScrName(px::ScrCount()), "Stup");
    // F3 on the set-up screen shows a freshly loaded menu.
    key(*px::loaded_form("Stup"), Qt::Key_F3);
    settle();
    ASSERT_NE(px::loaded_form("Stpm"), nullptr);
    EXPECT_EQ(static_cast<Stpm*>(px::loaded_form("Stpm"))->chosen_item(), 0);
}

TEST_F(StpmTest, DialogItemsShowOverTheMenuWhichStays) {
    for (int item : {1, 2}) {
        auto& m = static_cast<Stpm&>(open("Stpm"));
        on_modal(Stpm::kItemScreens[item], [](px::Form& f) { px::unload_form(f); });
        m.cmd_Stup[item]->click();
        settle();
        ASSERT_EQ(modals.size(), 1u) << item;
        EXPECT_EQ(modals.back(), Stpm::kItemScreens[item]);
        ASSERT_NE(px::loaded_form("Stpm"), nullptr);
        px::unload_form(m);
        settle();
        modals.clear();
    }
}

TEST_F(StpmTest, GroupItemNeedsAnInstalledCatalogue) {
    auto& m = static_cast<Stpm&>(open("Stpm"));
    setup_fakes().check_setup_rc = 891;
    m.cmd_Stup[3]->click();
    settle();
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(msg(m), "M891");
    EXPECT_NE(px::loaded_form("Stpm"), nullptr);
    EXPECT_EQ(setup_fakes().calls.back(), "drom_check_setup 0");

    on_modal("Errm", [](px::Form& f) { key(f, Qt::Key_F4); });
    setup_fakes().check_setup_rc = 999;
    m.cmd_Stup[3]->click();
    settle();
    EXPECT_EQ(modals, std::vector<std::string>{"Errm"});
    EXPECT_NE(px::loaded_form("Stpm"), nullptr);

    // With a catalogue the item opens the group screen when it is in the
    // program; without it the menu stays as it is.
    setup_fakes().check_setup_rc = 0;
    m.cmd_Stup[3]->click();
    settle();
    if (!px::form_exists("Stgp")) EXPECT_NE(px::loaded_form("Stpm"), nullptr);
    else EXPECT_EQ(px::ScrName(px::ScrCount()), "Stgp");
}

TEST_F(StpmTest, SystemErrorInADialogGoesOnToTheMainMenu) {
    auto& m = static_cast<Stpm&>(open("Stpm"));
    on_modal("Stpr", [](px::Form& f) {
        px::SetupBackToMenu = true;
        px::unload_form(f);
    });
    m.cmd_Stup[1]->click();
    settle();
    EXPECT_EQ(px::loaded_form("Stpm"), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);
}

TEST_F(StpmTest, UnmappedKeysDoNothingAndF4GoesToTheMenu) {
    auto& m = open("Stpm");
    for (Qt::Key k : {Qt::Key_F2, Qt::Key_F5, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9, Qt::Key_F11, Qt::Key_F12}) key(m, k);
    settle();
    EXPECT_TRUE(modals.empty());
    EXPECT_EQ(px::ScrName(px::ScrCount()), "Stpm");
    key(m, Qt::Key_F4);
    settle();
    EXPECT_EQ(px::loaded_form("Stpm"), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);
}

}  // namespace
}  // namespace pxtest
