// The price-file set-up dialog over the set-up menu: the type of the chosen
// file, the dialog's filters, the pass with its next-piece loop and the
// results of the set-up.
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "platform/msgbox.h"
#include "setup/stpm.h"
#include "setup/stpr.h"
#include "shell/program.h"
#include "shell/seams.h"
#include "shell/stack.h"
#include "support/setup_test.h"

namespace pxtest {
namespace {

using px::Stpm;
using px::Stpr;

class StprTest : public SetupTest {
protected:
    // Shows the dialog from the menu's item; `during` acts on it, and the
    // menu's message line is kept as it stood when `during` ended.
    void run(std::function<void(Stpr&)> during) {
        auto& m = static_cast<Stpm&>(open("Stpm"));
        on_modal("Stpr", [&, during](px::Form& f) {
            during(static_cast<Stpr&>(f));
            menu_line = m.lbl_Msg->text().toStdString();
            stayed = f.loaded();
            if (f.loaded()) px::unload_form(f);
        });
        m.cmd_Stup[1]->click();
        settle();
    }
    std::vector<std::string> passes() const {
        std::vector<std::string> out;
        for (const auto& c : setup_fakes().calls)
            if (c.rfind("kakaku", 0) == 0) out.push_back(c);
        return out;
    }
    std::string menu_line;
    bool stayed = false;
};

TEST_F(StprTest, TypeOfTheChosenFile) {
    struct Case {
        std::string file;
        int16_t type;
        std::string shown;
    } const cases[] = {
        {"C:\\PRICE\\PRICE", 1, "Price records"},     {"C:\\PRICE\\PRICE3", 3, "Price-3 records"},
        {"C:\\PRICE\\PRICE001.CSV", 2, "Price CSV piece"}, {"C:\\PRICE\\pric3012.csv", 4, "Price-3 CSV piece"},
        {"C:\\PRICE\\PRICES.TXT", 0, ""},              {"C:\\A.CSV", 0, ""},
    };
    run([&](Stpr& s) {
        EXPECT_TRUE(s.cmd_Exec->isHidden());
        for (const auto& c : cases) {
            s.STPR_Clear();
            s.chosen_file = c.file;
            s.STPR_Set_File_Type();
            EXPECT_EQ(s.file_type, c.type) << c.file;
            EXPECT_EQ(s.lbl_FileType->text().trimmed().toStdString(), c.shown) << c.file;
            EXPECT_EQ(s.lbl_FileName->text().toStdString(), c.file);
            EXPECT_EQ(s.cmd_Exec->isHidden(), c.type == 0) << c.file;
        }
        // A name of no type leaves the type shown before.
        s.chosen_file = "C:\\PRICE";
        s.STPR_Set_File_Type();
        s.chosen_file = "C:\\PRICES.TXT";
        s.STPR_Set_File_Type();
        EXPECT_EQ(s.file_type, 1);
        // F10 does nothing while the run button is hidden.
        s.STPR_Clear();
        key(s, Qt::Key_F10);
    });
    EXPECT_TRUE(passes().empty());
}

TEST_F(StprTest, CsvInTwoPieces) {
    chosen = {"PRICE001.CSV", "PRICE002.CSV"};
    answers = {plat::kIdYes, plat::kIdNo};
    run([&](Stpr& s) {
        s.cmd_Refer->click();
        ASSERT_EQ(s.file_type, 2);
        key(s, Qt::Key_F10);
        EXPECT_FALSE(s.cmd_Refer->isEnabled());
        EXPECT_FALSE(s.cmd_Exec->isEnabled());
        EXPECT_FALSE(s.cmd_Clear->isEnabled());
    });
    EXPECT_EQ(passes(), (std::vector<std::string>{"kakaku C:\\PRICE001.CSV 1 0", "kakaku C:\\PRICE002.CSV 1 1"}));
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0], "Price records   |PRICE|Price CSV piece               |PRICE001.CSV|"
                          "Price-3 records |PRICE3|Price-3 CSV piece             |PRIC3001.CSV");
    EXPECT_EQ(filters[1], "Price CSV piece               |PRICE002.CSV");
    EXPECT_EQ(asked, (std::vector<std::string>{"Do you have next data ?", "Do you have next data ?"}));
    EXPECT_EQ(menu_line, "M407");
    EXPECT_EQ(beeps, 1);
}

TEST_F(StprTest, AlreadySetUpAndNoClearsTheFile) {
    setup_fakes().price_set = 1;
    chosen = {"PRICE3"};
    answers = {plat::kIdNo};
    run([&](Stpr& s) {
        s.cmd_Refer->click();
        s.cmd_Exec->click();
        EXPECT_EQ(s.lbl_FileName->text().toStdString(), "");
        EXPECT_EQ(s.file_type, 0);
    });
    EXPECT_EQ(asked, std::vector<std::string>{"Price file is already setuped.\rDo you want to setup again ?"});
    EXPECT_TRUE(passes().empty());
}

TEST_F(StprTest, ResultsOfAPass) {
    struct Case {
        int32_t rc;
        std::string message;
        bool stays;
    } const cases[] = {{1, "M601", true}, {21, "M871", true}, {848, "M848", true}, {13, "M999", false}};
    on_modal("Errm", [](px::Form& f) { key(f, Qt::Key_F4); });
    for (const auto& c : cases) {
        setup_fakes().kakaku_rc = {c.rc};
        chosen = {"PRICE"};
        px::SetupBackToMenu = false;
        run([&](Stpr& s) {
            s.cmd_Refer->click();
            s.cmd_Exec->click();
        });
        EXPECT_EQ(menu_line, c.message) << c.rc;
        EXPECT_EQ(stayed, c.stays) << c.rc;
        // After a system error the menu goes on to the main menu.
        EXPECT_EQ(px::loaded_form("Stpm") != nullptr, c.stays) << c.rc;
        if (px::Form* m = px::loaded_form("Stpm")) px::unload_form(*m);
        settle();
    }
}

TEST_F(StprTest, CancelInTheNextPieceDialogEndsQuietly) {
    chosen = {"PRIC3001.CSV", ""};
    answers = {plat::kIdYes};
    run([&](Stpr& s) {
        s.cmd_Refer->click();
        s.cmd_Exec->click();
        EXPECT_TRUE(s.cmd_Refer->isEnabled());
        EXPECT_EQ(s.file_sequence, 2);
        // Clear keeps the sequence number for the next dialog.
        s.STPR_Clear();
        s.cmd_Refer->click();
    });
    EXPECT_EQ(passes(), std::vector<std::string>{"kakaku C:\\PRIC3001.CSV 2 0"});
    EXPECT_EQ(filters[1], "Price-3 CSV piece             |PRIC3002.CSV");
    EXPECT_NE(filters[2].find("PRICE002.CSV"), std::string::npos);
    EXPECT_EQ(menu_line, "M150");
}

// The keyboard alone through the real dialogs: after the file dialog (Cancel,
// OK) and after each question (No, Yes), the set-up dialog has the keyboard
// again, with the focus its rule names.
TEST_F(StprTest, AfterEachRealDialogTheKeyboardIsBack) {
    inst->write("PRICE", "price records");
    setup_fakes().price_set = 1;
    plat::set_message_box_hook(px::ShowMessageBox);
    const px::Seams scripted = px::seams();
    px::reset_seams();
    const auto real_file_dialog = px::seams().choose_file;
    px::seams() = scripted;
    px::seams().choose_file = real_file_dialog;
    const QString price_file = QString::fromStdString(inst->root() + "/PRICE");

    // What the clerk does in the next dialog of the platform, once it is up
    // and has the keyboard.
    std::function<void(std::function<void(QWidget&)>, int)> when_up = [&](std::function<void(QWidget&)> act,
                                                                           int tries) {
        QTimer::singleShot(10, [&, act, tries] {
            QWidget* d = QApplication::activeModalWidget();
            if (d == nullptr || dynamic_cast<px::Form*>(d) != nullptr || !d->isVisible()) {
                if (tries > 0) when_up(act, tries - 1);
                else ADD_FAILURE() << "no dialog came up";
                return;
            }
            EXPECT_TRUE(QTest::qWaitForWindowActive(d));
            act(*d);
            // A dialog the clerk's key did not close fails the test rather than wait.
            if (auto* dialog = qobject_cast<QDialog*>(d); dialog != nullptr && dialog->isVisible()) {
                ADD_FAILURE() << "the dialog did not take the clerk's key";
                dialog->reject();
            }
        });
    };
    auto in_next_dialog = [&](std::function<void(QWidget&)> act) { when_up(std::move(act), 500); };
    auto cancel = [](QWidget& d) { QTest::keyClick(d.windowHandle(), Qt::Key_Escape); };
    auto open_price_file = [&](QWidget& d) {
        static_cast<QFileDialog&>(d).selectFile(price_file);
        QTest::keyClick(d.windowHandle(), Qt::Key_Return);
    };
    auto answer = [](QMessageBox::StandardButton which) {
        return [which](QWidget& d) {
            static_cast<QMessageBox&>(d).button(which)->setFocus();
            QTest::keyClick(d.windowHandle(), Qt::Key_Space);
        };
    };
    std::vector<std::string> after;  // the focus after each dialog, and whether the window has the keyboard
    run([&](Stpr& s) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&s));
        auto press = [&](QPushButton* b) {
            b->setFocus();
            QTest::keyClick(s.windowHandle(), Qt::Key_Return);
            settle();
            const bool keyboard = QTest::qWaitForWindowActive(&s) && QGuiApplication::focusWindow() == s.windowHandle();
            QWidget* focus = QApplication::focusWidget();
            after.push_back((focus != nullptr ? focus->objectName().toStdString() : "none") +
                            (keyboard ? "" : " (no keyboard)"));
        };
        in_next_dialog(cancel);
        press(s.cmd_Refer);
        in_next_dialog(open_price_file);
        press(s.cmd_Refer);
        ASSERT_EQ(s.file_type, 1);
        in_next_dialog(answer(QMessageBox::No));  // set up again?
        press(s.cmd_Exec);
        in_next_dialog(open_price_file);
        press(s.cmd_Refer);
        in_next_dialog([&](QWidget& d) {
            answer(QMessageBox::Yes)(d);                // set up again?
            in_next_dialog(answer(QMessageBox::No));  // next data?
        });
        press(s.cmd_Exec);
    });
    EXPECT_EQ(after, (std::vector<std::string>{"cmd_Refer", "cmd_Refer", "cmd_Refer", "cmd_Refer", "cmd_Exit"}));
    EXPECT_EQ(passes(), std::vector<std::string>{"kakaku C:\\PRICE 1 0"});
    EXPECT_EQ(menu_line, "M407");
}

}  // namespace
}  // namespace pxtest
