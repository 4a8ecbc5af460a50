// The system-error dialog.
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "shell/errm.h"
#include "shell/gyom.h"
#include "shell/messages.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

using px::Form;

class ErrmTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(start());
        menu = px::loaded_form("Gyom");
    }
    // Opens the dialog over the menu; `inside` runs while it is up, then it closes by F4.
    std::vector<std::string> open(std::function<void(px::Errm&)> inside = nullptr) {
        std::vector<std::string> lines;
        on_modal("Errm", [&](Form& f) {
            auto& errm = static_cast<px::Errm&>(f);
            for (int i = 0; i < errm.lst_ErrMsg->count(); ++i)
                lines.push_back(errm.lst_ErrMsg->item(i)->text().toStdString());
            if (inside) inside(errm);
            key(errm, Qt::Key_F4);
        });
        px::ShowErrorDialog(*menu);
        return lines;
    }
    Form* menu = nullptr;
};

// The log line without its date and time.
std::string tail(const std::string& line) { return line.substr(line.find(')') + 1); }

TEST_F(ErrmTest, ListsTheLogOldestFirstAndDeletesItOnClosing) {
    px::WriteErrorLog("PXONE", "First", "step", 1, 0, 0);
    px::WriteErrorLog("PXTWO", "Second", "step", 2, 0, 0);
    auto lines = open();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(tail(lines[0]), "PXONE,First,step,(1)(0)(0)");
    EXPECT_EQ(tail(lines[1]), "PXTWO,Second,step,(2)(0)(0)");
    EXPECT_FALSE(inst->exists("PXERROR.LOG"));
    EXPECT_EQ(beeps, 3);

    // The next opening shows only what came after.
    px::WriteErrorLog("PXTHREE", "Third", "step", 3, 0, 0);
    lines = open();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(tail(lines[0]), "PXTHREE,Third,step,(3)(0)(0)");
}

TEST_F(ErrmTest, WithoutALogOneLineSaysSo) {
    auto lines = open();
    EXPECT_EQ(lines, (std::vector<std::string>{"System Error Occurred."}));
}

TEST_F(ErrmTest, LogInTheCurrentDirectoryWhenTmpIsUnset) {
    unsetenv("TMP");
    px::WriteErrorLog("PXCWD", "Proc", "step", 4, 0, 0);
    ASSERT_TRUE(inst->exists("PXERROR.LOG"));
    auto lines = open();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(tail(lines[0]), "PXCWD,Proc,step,(4)(0)(0)");
    EXPECT_FALSE(inst->exists("PXERROR.LOG"));
}

TEST_F(ErrmTest, CaptionFixedKeysAndFlashing) {
    open([&](px::Errm& errm) {
        EXPECT_EQ(errm.windowTitle(), "System Error Occurred");
        EXPECT_EQ(errm.cmd_PF(4)->text(), "F4:Menu");
        EXPECT_EQ(errm.cmd_PF(6)->text(), "F6:Hcpy");
        EXPECT_TRUE(errm.tmr_Flash->isActive());
        EXPECT_EQ(errm.tmr_Flash->interval(), 500);
        EXPECT_EQ(errm.flash_state(), 0);
        errm.flash();
        EXPECT_EQ(errm.flash_state(), 1);
        errm.flash();
        EXPECT_EQ(errm.flash_state(), 0);
    });
}

TEST_F(ErrmTest, F6PrintsTheFailingScreenNotTheDialog) {
    bool flashing_while_printing = true;
    open([&](px::Errm& errm) {
        printer.fail_at = "";
        key(errm, Qt::Key_F6);
        flashing_while_printing = errm.tmr_Flash->isActive();
    });
    ASSERT_FALSE(printer.last_image.isNull());
    // The picture is the menu's: its client area under a caption strip.
    EXPECT_EQ(printer.last_image.width(), menu->width());
    EXPECT_GT(printer.last_image.height(), menu->height());
    EXPECT_TRUE(flashing_while_printing);  // the flashing is back after printing
    EXPECT_EQ(printer.calls.back(), "landscape 0");
}

TEST_F(ErrmTest, ButtonF4ClosesWithoutTouchingTheScreenBeneath) {
    QString before = static_cast<px::Gyom*>(menu)->windowTitle();
    on_modal("Errm", [&](Form& f) { f.cmd_PF(4)->click(); });
    px::ShowErrorDialog(*menu);
    EXPECT_EQ(px::loaded_form("Errm"), nullptr);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->windowTitle(), before);
}

}  // namespace
}  // namespace pxtest
