// The screen-text editor and its edit dialog on a screen file of the
// installation, through the set-up library's screen-file services.
#include <fstream>
#include <sstream>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "maint/screen_work.h"
#include "maint/sscr.h"
#include "shell/codepage.h"
#include "shell/grid.h"
#include "shell/messages.h"
#include "shell/stack.h"
#include "support/file_size_limit.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

using px::maint::Sscr;
using px::maint::Ssed;

const std::string kScreenFile =
    "#PXCOMN\r\n"
    "0200 F1:Help\r\n"
    "0202 F3:Back\r\n"
    "0203 F4:Menu\r\n"
    "0205 F6:Copy\r\n"
    "0209 F10:Exec\r\n"
    "0210 F11:Clr\r\n"
    "#PXGYOM\r\n"
    "1000 Parts Catalogue - Main Menu\r\n"
    "1007 7  Set-up   \r\n"
    "#PXSTPR\r\n"
    "3900  Price set-up \r\n"
    "\r\n"
    "#PXSSCR\r\n"
    "4400 SCREEN TEXT EDITOR\r\n"
    "4401 Screen\r\n"
    "4402 Text\r\n"
    "#PXSSED\r\n"
    "4500 Change a screen text\r\n"
    "4501 Current text\r\n"
    "4502 New text\r\n"
    "4503 OK\r\n"
    "4504 Cancel\r\n";

class SscrTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        inst->write("PXDROM01.SCR", kScreenFile);
        // The names outlive the editor (program-wide): start as the program does.
        for (std::string& n : px::maint::ScreenNames()) n.clear();
        ASSERT_TRUE(start());
    }
    Sscr& open() {
        px::ScrPush(px::load_form(Sscr::kName));
        settle();
        return *static_cast<Sscr*>(px::loaded_form(Sscr::kName));
    }
    std::string screen_file() const {
        std::ifstream f(inst->root() + "/PXDROM01.SCR", std::ios::binary);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
    static std::vector<QString> column(Sscr& e, int col) {
        std::vector<QString> out;
        for (int r = 1; r < e.msg_Screen->rows(); ++r) out.push_back(e.msg_Screen->text(r, col));
        return out;
    }
    bool work_file_exists() const {
        for (const auto& f : inst->work_files())
            if (f == "SCREEN.TMP") return true;
        return inst->exists("SCREEN.TMP");
    }
    // Replaces the text at grid row `row` through the dialog.
    void replace(Sscr& e, int row, const QString& text, bool ok = true) {
        e.msg_Screen->select(row, 0, row, 1);
        on_modal("Ssed", [&](px::Form& f) {
            auto& d = static_cast<Ssed&>(f);
            d.txt_New->setText(text);
            (ok ? d.cmd_Ok : d.cmd_Cancel)->click();
        });
        QTest::keyClick(e.msg_Screen, Qt::Key_Return);
        settle();
    }
};

TEST_F(SscrTest, OpensOnTheFirstScreenAndOffersOnlyScreensOfTheFile) {
    Sscr& e = open();
    EXPECT_EQ(e.windowTitle(), "SCREEN TEXT EDITOR");
    std::vector<QString> offered;
    for (int i = 0; i < e.cbo_scrnm->count(); ++i) offered.push_back(e.cbo_scrnm->itemText(i));
    EXPECT_EQ(offered, (std::vector<QString>{"F1:Help", "Parts Catalogue - Main Menu", "Price set-up",
                                             "SCREEN TEXT EDITOR", "Change a screen text"}));
    EXPECT_EQ(e.cbo_scrnm->currentText(), "F1:Help");
    EXPECT_EQ(column(e, 1).front(), "F1:Help");
    EXPECT_EQ(column(e, 1).size(), 6u);
    EXPECT_TRUE(e.cmd_PF(10)->isEnabled());
    EXPECT_FALSE(e.cmd_PF(2)->isEnabled());
    EXPECT_TRUE(work_file_exists());

    // A screen is shown by its name: the name line and the texts up to the next tag.
    e.cbo_scrnm->setEditText("Price set-up");
    EXPECT_EQ(column(e, 1), (std::vector<QString>{" Price set-up ", ""}));
    e.cbo_scrnm->setEditText("No such screen");
    for (const QString& t : column(e, 1)) EXPECT_TRUE(t.isEmpty());
}

// The screen file holds 70 bytes a text: under code page 932 a Japanese
// character takes two, so the box takes 35 and refuses more as they are
// typed, and OK keeps what it shows.
TEST_F(SscrTest, AJapaneseTextTakesTheSeventyBytesOfItsField) {
    px::set_ansi_code_page(932);
    struct Back {
        ~Back() { px::set_ansi_code_page(1252); }
    } back;
    Sscr& e = open();
    e.cbo_scrnm->setEditText("Parts Catalogue - Main Menu");
    const QString ka = QString::fromUtf8("\xE3\x82\xAB");  // katakana KA
    QString typed;
    on_modal("Ssed", [&](px::Form& f) {
        auto& d = static_cast<Ssed&>(f);
        d.txt_New->setFocus();
        // Typed as the keyboard sends it: a key event with its text.
        for (int i = 0; i < 40; ++i) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, ka);
            QApplication::sendEvent(d.txt_New, &press);
        }
        typed = d.txt_New->text();
        d.cmd_Ok->click();
    });
    e.msg_Screen->select(2, 0, 2, 1);
    QTest::keyClick(e.msg_Screen, Qt::Key_Return);
    settle();
    EXPECT_EQ(typed, ka.repeated(35));
    EXPECT_EQ(column(e, 0)[1], "*");
    EXPECT_EQ(column(e, 1)[1], ka.repeated(35)) << "the edit is kept";
}

TEST_F(SscrTest, EditDialogWritesBackAndF10ExportsAndReloads) {
    Sscr& e = open();
    e.cbo_scrnm->setEditText("Parts Catalogue - Main Menu");
    QString shown_old;
    on_modal("Ssed", [&](px::Form& f) {
        auto& d = static_cast<Ssed&>(f);
        shown_old = d.txt_Old->text();
        EXPECT_EQ(d.focusWidget(), d.txt_New);  // the dialog opens on the box to type into
        QTest::keyClicks(d.txt_New, QString(71, 'z'));
        EXPECT_EQ(d.txt_New->text().size(), 70);  // no 71st character
        d.txt_New->setText("7  Maintenance");
        d.cmd_Ok->setFocus();
        QTest::keyClick(d.cmd_Ok, Qt::Key_Return);  // Enter presses the focused button
    });
    e.msg_Screen->select(2, 0, 2, 1);
    QTest::keyClick(e.msg_Screen, Qt::Key_Return);
    settle();
    EXPECT_EQ(shown_old, "7  Set-up   ");
    EXPECT_EQ(column(e, 0)[1], "*");
    EXPECT_EQ(column(e, 1)[1], "7  Maintenance");
    EXPECT_EQ(column(e, 0)[0], " ");
    EXPECT_EQ(screen_file(), kScreenFile);  // untouched until F10

    QTest::keyClick(&e, Qt::Key_F10);
    settle();
    std::string expected = kScreenFile;
    expected.replace(expected.find("1007 7  Set-up   "), 17, "1007 7  Maintenance");
    EXPECT_EQ(screen_file(), expected);
    EXPECT_EQ(px::loaded_form(Sscr::kName), nullptr);
    EXPECT_FALSE(work_file_exists());
    EXPECT_EQ(px::ScrText(1007, 20).trimmed(), "7  Maintenance");  // the texts were reloaded
}

TEST_F(SscrTest, CancelWritesNothingAndF11DropsTheChanges) {
    Sscr& e = open();
    replace(e, 1, "Hilfe", false);
    EXPECT_EQ(column(e, 0)[0], " ");
    replace(e, 1, "Hilfe");
    EXPECT_EQ(column(e, 0)[0], "*");
    QTest::keyClick(&e, Qt::Key_F11);
    EXPECT_EQ(e.cbo_scrnm->currentText(), "F1:Help");
    EXPECT_EQ(column(e, 0)[0], " ");
    EXPECT_EQ(column(e, 1)[0], "F1:Help");
}

// The change dialog stands in the middle of the screen, not over the editor.
TEST_F(SscrTest, TheChangeDialogOpensInTheMiddleOfTheScreen) {
    Sscr& e = open();
    e.move(0, 0);
    settle();
    const QPoint screen = QGuiApplication::primaryScreen()->geometry().center();
    ASSERT_GT((e.frameGeometry().center() - screen).manhattanLength(), 20);
    QRect dialog;
    e.msg_Screen->select(1, 0, 1, 1);
    on_modal("Ssed", [&](px::Form& f) {
        dialog = f.frameGeometry();
        static_cast<Ssed&>(f).cmd_Cancel->click();
    });
    QTest::keyClick(e.msg_Screen, Qt::Key_Return);
    settle();
    ASSERT_TRUE(dialog.isValid());
    EXPECT_LE((dialog.center() - screen).manhattanLength(), 8)
        << dialog.x() << "," << dialog.y() << " " << dialog.width() << "x" << dialog.height();
}

TEST_F(SscrTest, NoTextOfTheScreenIsNotWritten) {
    Sscr& e = open();
    e.cbo_scrnm->setEditText("No such screen");  // no screen chosen
    replace(e, 1, "nowhere");
    EXPECT_EQ(beeps, 1);
    QTest::keyClick(&e, Qt::Key_F10);
    settle();
    EXPECT_EQ(screen_file(), kScreenFile);
}

// The work file cannot take the whole screen file (a full disk): the editor
// says so at once, and F10 never writes the cut copy over the screen file.
TEST_F(SscrTest, AnImportCutShortIsToldAndNeverWrittenBack) {
    pxtest::FileSizeLimit limit(4 * px::maint::swrec::kSize);
    ASSERT_TRUE(limit.set());
    Sscr& e = open();
    limit.lift();
    EXPECT_EQ(inst->log_lines(), std::vector<std::string>{"PXSSCR,SSCR_Import_Text,import_file,(14)(0)(0)"});
    QLabel system_error;
    px::DispMsg(999, &system_error);
    EXPECT_EQ(e.lbl_Msg->text(), system_error.text());
    QTest::keyClick(&e, Qt::Key_F10);
    settle();
    EXPECT_EQ(screen_file(), kScreenFile);
    EXPECT_EQ(px::loaded_form(Sscr::kName), &e) << "the editor stays";
    EXPECT_EQ(beeps, 1);
}

// With more texts than the grid shows, the scroll bar takes room: a click on
// a text must not scroll the mark column out of sight.
TEST_F(SscrTest, ADoubleClickOnALongScreenKeepsTheMarkColumnInView) {
    std::string many;
    for (int i = 1; i <= 40; ++i) many += std::to_string(1010 + i) + " Text " + std::to_string(i) + "\r\n";
    std::string file = kScreenFile;
    file.insert(file.find("#PXSTPR"), many);
    inst->write("PXDROM01.SCR", file);
    Sscr& e = open();
    e.cbo_scrnm->setEditText("Parts Catalogue - Main Menu");
    settle();
    px::Grid* g = e.msg_Screen;
    ASSERT_TRUE(g->verticalScrollBar()->isVisible());
    const int tw = px::display_twips().x;
    const QPoint at(g->cell_left(3, 1) / tw + 20, g->cell_top(3, 1) / tw + 4);
    int row_edited = 0, left_col_then = -1;
    on_modal("Ssed", [&](px::Form& f) {
        row_edited = g->row();
        left_col_then = g->left_col();
        static_cast<Ssed&>(f).cmd_Cancel->click();
    });
    QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    settle();
    EXPECT_EQ(row_edited, 3);
    EXPECT_EQ(left_col_then, 0);
    EXPECT_EQ(g->left_col(), 0);
    EXPECT_EQ(g->horizontalScrollBar()->value(), 0);
}

TEST_F(SscrTest, F3LeavesTheScreenFileAsItWas) {
    Sscr& e = open();
    replace(e, 1, "Hilfe");
    QTest::keyClick(&e, Qt::Key_F3);
    settle();
    EXPECT_EQ(px::loaded_form(Sscr::kName), nullptr);
    EXPECT_EQ(screen_file(), kScreenFile);
    EXPECT_FALSE(work_file_exists());
}

}  // namespace
}  // namespace pxtest
