// The real program on a scratch installation, driven with keys.
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "shell/binding.h"
#include "shell/gyom.h"
#include "shell/help_form.h"
#include "shell/program.h"
#include "shell/stack.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

using px::Gyom;

class StartTest : public ProgramTest {};

TEST_F(StartTest, MenuShowsItsTextsAndGuide) {
    ASSERT_TRUE(start());
    auto* menu = static_cast<Gyom*>(px::loaded_form("Gyom"));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->windowTitle(), "Parts Catalogue - Main Menu");
    EXPECT_EQ(menu->lbl_title->text(), "Parts Catalogue - Main Menu");
    EXPECT_EQ(menu->cmd_Menu[1]->text(), "1  Vehicle Identification");
    EXPECT_EQ(menu->cmd_Menu[8]->text(), "8  System Settings");
    EXPECT_EQ(menu->cmd_PF(1)->text(), "F1:Help");
    EXPECT_EQ(menu->cmd_PF(3)->text(), "F3:End");
    EXPECT_EQ(menu->cmd_PF(6)->text(), "F6:Hcpy");
    EXPECT_EQ(menu->cmd_PF(2), nullptr);
    EXPECT_EQ(menu->lbl_Msg->text(), "Select an item.");
    EXPECT_EQ(px::ScrCount(), 1);
    EXPECT_EQ(px::ScrName(1), "Gyom");
}

}  // namespace
}  // namespace pxtest

namespace pxtest {
namespace {

using px::Form;
using px::Gyom;

class MenuTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(start());
        menu = static_cast<Gyom*>(px::loaded_form("Gyom"));
    }
    Gyom* menu = nullptr;
};

// A button keeps a margin beside its caption: a Japanese caption, drawn in
// a fallback face, is not cut at the right edge.
TEST_F(StartTest, AButtonKeepsAMarginBesideItsCaption) {
    ASSERT_TRUE(start());
    for (const char* caption : {"カタログ一覧", "Catalog List of the Issue"}) {
        QPushButton b(QString::fromUtf8(caption));
        const QFontMetrics fm(b.font());
        EXPECT_GE(b.sizeHint().width(), fm.horizontalAdvance(b.text()) + 2 * fm.horizontalAdvance(QLatin1Char('0')))
            << caption;
    }
}

TEST_F(MenuTest, ItemsNeedASetUpCatalogue) {
    // The scratch installation has no catalogue data set.
    for (int item = 1; item <= 6; ++item) {
        SCOPED_TRACE(item);
        beeps = 0;
        menu->cmd_Menu[item]->click();
        EXPECT_EQ(menu->lbl_Msg->text(),
                  "No catalogue data set is set up.\nSet one up first: main menu item 7, Catalogue set-up.");
        EXPECT_EQ(beeps, 1);
        EXPECT_EQ(px::ScrCount(), 1);
    }
    // Items 7 and 8 are not checked; their screens come later, so they do nothing yet.
    beeps = 0;
    for (int item : {7, 8}) menu->cmd_Menu[item]->click();
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(px::ScrCount(), 1);
    EXPECT_TRUE(menu->isVisible());
}

TEST_F(MenuTest, OtherKeysDoNothing) {
    menu->lbl_Msg->clear();
    for (int k : {Qt::Key_F2, Qt::Key_F4, Qt::Key_F5, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9, Qt::Key_F10, Qt::Key_F11,
                  Qt::Key_F12})
        key(*menu, k);
    EXPECT_TRUE(menu->lbl_Msg->text().isEmpty());
    EXPECT_TRUE(modals.empty());
    EXPECT_TRUE(printer.calls.empty());
    EXPECT_FALSE(px::program_ended());
}

TEST_F(MenuTest, FocusedButtonsTakeTheShadowColour) {
    menu->lbl_Msg->clear();
    QApplication::setActiveWindow(menu);
    menu->cmd_Menu[3]->setFocus();
    EXPECT_TRUE(menu->cmd_Menu[3]->property("px_shadow").toBool());
    EXPECT_EQ(menu->lbl_Msg->text(), "Select an item.");
    menu->cmd_PF(6)->setFocus();
    EXPECT_FALSE(menu->cmd_Menu[3]->property("px_shadow").toBool());
    EXPECT_TRUE(menu->cmd_PF(6)->property("px_shadow").toBool());
}

TEST_F(MenuTest, F3EndsTheProgramWithEveryWorkFileRemoved) {
    ASSERT_TRUE(inst->exists("WORK/SELECT.TMP"));
    inst->write("WORK/LEFT.TMP", "x");
    px::load_form("Scra");  // another loaded form is unloaded too
    key(*menu, Qt::Key_F3);
    EXPECT_TRUE(px::program_ended());
    EXPECT_EQ(px::program_exit_code(), 0);
    EXPECT_TRUE(px::loaded_forms().empty());
    EXPECT_EQ(px::ScrCount(), 0);
    EXPECT_TRUE(inst->work_files().empty());
    EXPECT_EQ(TestScreen::events().back(), "Scra unload");
}

TEST_F(MenuTest, ClosingTheWindowEndsTheProgramLikeF3) {
    inst->write("WORK/LEFT.TMP", "x");
    menu->close();
    EXPECT_TRUE(px::program_ended());
    EXPECT_TRUE(px::loaded_forms().empty());
    EXPECT_TRUE(inst->work_files().empty());
}

TEST_F(ProgramTest, FailedStartShowsTheLogAndEnds) {
    inst->remove("PROG/PXDROM01.MSG");
    std::vector<std::string> listed;
    on_modal("Errm", [&](Form& f) {
        auto* list = f.findChild<QListWidget*>("lst_ErrMsg");
        for (int i = 0; i < list->count(); ++i) listed.push_back(list->item(i)->text().toStdString());
        key(f, Qt::Key_F4);
    });
    EXPECT_FALSE(start());
    EXPECT_TRUE(px::program_ended());
    EXPECT_EQ(px::program_exit_code(), 1);
    ASSERT_FALSE(listed.empty());
    EXPECT_NE(listed.back().find("Invalid or not found MESSAGE FILE"), std::string::npos) << listed.back();
    EXPECT_TRUE(px::loaded_forms().empty());
}

TEST_F(ProgramTest, WithoutTheCommonLibraryTheDialogSaysSoAndTheProgramEnds) {
    px::reset_bindings();
    px::set_library_folder(inst->root());  // no libPXALL.so there
    std::vector<std::string> listed;
    on_modal("Errm", [&](Form& f) {
        auto* list = f.findChild<QListWidget*>("lst_ErrMsg");
        for (int i = 0; i < list->count(); ++i) listed.push_back(list->item(i)->text().toStdString());
        key(f, Qt::Key_F4);
    });
    EXPECT_FALSE(start());
    px::set_library_folder("");
    px::reset_bindings();
    EXPECT_EQ(listed, (std::vector<std::string>{"System Error Occurred."}));
    EXPECT_EQ(px::program_exit_code(), 1);
}

}  // namespace
}  // namespace pxtest
