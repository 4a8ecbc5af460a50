// The platform's dialogs the kit opens (the file dialog, the program's
// message boxes) and what comes after them: the window they were opened over
// has the keyboard again, with the focus it set; a file outside the drives is
// named on the message line. Also the kit's own rules that screens lean on
// around them: a key whose rule moved the focus is consumed, an up-down
// steps from the keyboard, and a pop-up that placed itself stays there.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "platform/drives.h"
#include "platform/msgbox.h"
#include "shell/keys.h"
#include "shell/seams.h"
#include "shell/updown.h"
#include "support/fixture.h"

namespace {

using pxtest::FormsTest;
using pxtest::ProgramTest;

// A screen with two boxes, a list, an up-down between the boxes and the
// keys; its arrow rule hands the focus to the list, as the illustration
// screen's does, unless the focus is in a box.
class Asker : public px::Form {
public:
    static constexpr const char* kName = "Askr";
    QLineEdit* a;
    QLineEdit* b;
    px::UpDown* upd;
    QListWidget* list;
    std::vector<std::string> seen;  // "key 115", "up", "down"

    Asker() : px::Form(kName) {
        setWindowTitle("Asker");
        auto* body = make_frame({.size = {500, 360}, .keys = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}});
        a = new QLineEdit(this);
        a->setObjectName("a");
        upd = new px::UpDown(this);
        upd->setObjectName("upd");
        b = new QLineEdit(this);
        b->setObjectName("b");
        list = new QListWidget(this);
        list->setObjectName("list");
        list->addItems({"ONE", "TWO", "THREE"});
        list->setCurrentRow(0);
        for (QWidget* w : std::initializer_list<QWidget*>{a, upd, b, list}) body->addWidget(w);
        upd->on_up_click = [this] { seen.push_back("up"); };
        upd->on_down_click = [this] { seen.push_back("down"); };
    }
    bool on_key_down(int code) override {
        seen.push_back("key " + std::to_string(code));
        if (code >= px::kKeyLeft && code <= px::kKeyDown && qobject_cast<QLineEdit*>(focusWidget()) == nullptr &&
            focusWidget() != upd)
            list->setFocus();
        return code >= px::kKeyF1 && code <= px::kKeyF12;
    }
};
PX_FORM(Asker);

// A pop-up without a message line of its own (as the set-up dialogs).
class Dialog : public px::Form {
public:
    static constexpr const char* kName = "Dlgx";
    Dialog() : px::Form(kName) {
        setWindowTitle("Dialog");
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QPushButton("OK", this));
        resize(200, 100);
    }
};
PX_FORM(Dialog);

// A pop-up that centres itself on the screen when it loads.
class SelfPlaced : public px::Form {
public:
    static constexpr const char* kName = "Slfp";
    SelfPlaced() : px::Form(kName) {
        setWindowTitle("Self placed");
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLineEdit(this));
        resize(300, 120);
    }
    QPoint placed_at;
    void on_load() override {
        const QRect area = QGuiApplication::primaryScreen()->geometry();
        placed_at = QPoint((area.width() - width()) / 2, (area.height() - height()) / 2);
        move(placed_at);
    }
};
PX_FORM(SelfPlaced);

// The dialog up now, once it has the keyboard.
template <typename D>
D* dialog_up() {
    auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
    if (d != nullptr) EXPECT_TRUE(QTest::qWaitForWindowActive(d));
    return d;
}

// A dialog the clerk's key did not close fails the test rather than wait.
void closed_by_the_key(QDialog* d) {
    if (d == nullptr || !d->isVisible()) return;
    ADD_FAILURE() << "the dialog did not take the clerk's key";
    d->reject();
}

class PlatformDialogsTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(start());  // the menu, and the installation's drive C:
        asker = &px::load_form<Asker>();
        px::show_modeless(*asker);
        ASSERT_TRUE(QTest::qWaitForWindowActive(asker));
        asker->a->setFocus();
        settle();
    }
    // After the dialog: the asker sets the focus its rule names (b), has the
    // keyboard, and the next keys reach it there.
    void expect_keyboard_back() {
        asker->b->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(asker));
        settle();
        EXPECT_EQ(QGuiApplication::focusWindow(), asker->windowHandle());
        EXPECT_EQ(QApplication::focusWidget(), asker->b);
        asker->seen.clear();
        QWindow* w = QGuiApplication::focusWindow();
        ASSERT_NE(w, nullptr);
        QTest::keyClick(w, Qt::Key_F4);
        QTest::keyClick(w, Qt::Key_X);
        EXPECT_EQ(asker->seen, (std::vector<std::string>{"key 115", "key 88"}));
        EXPECT_EQ(asker->b->text().toStdString(), "x");
        asker->b->clear();
    }
    Asker* asker = nullptr;
};

TEST_F(PlatformDialogsTest, AfterAFileDialogTheWindowHasTheKeyboard) {
    inst->write("PRICE.CSV", "x");
    const std::string file = QDir(QString::fromStdString(inst->root())).filePath("PRICE.CSV").toStdString();
    struct Case {
        const char* what;
        bool save;
        bool ok;
    } cases[] = {{"open, OK", false, true}, {"open, Cancel", false, false}, {"save, OK", true, true},
                 {"save, Cancel", true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTimer::singleShot(0, [&] {
            auto* d = dialog_up<QFileDialog>();
            ASSERT_NE(d, nullptr);
            QWindow* w = d->windowHandle();
            if (c.ok) {
                d->selectFile(QString::fromStdString(c.save ? file + ".new" : file));
                QTest::keyClick(w, Qt::Key_Return);
            } else {
                QTest::keyClick(w, Qt::Key_Escape);
            }
            closed_by_the_key(d);
        });
        px::FileChoice choice;
        choice.save = c.save;
        choice.filter = "CSV File(*.csv)|*.csv|All Files (*.*)|*.*";
        choice.initial_dir = QString::fromStdString(inst->root());
        const QString chosen = px::ChooseFile(asker, choice);
        EXPECT_EQ(chosen.isEmpty(), !c.ok) << chosen.toStdString();
        expect_keyboard_back();
    }
}

TEST_F(PlatformDialogsTest, AfterAMessageBoxTheWindowHasTheKeyboard) {
    struct Case {
        const char* what;
        Qt::Key key;
        int32_t answer;
    } cases[] = {{"Yes", Qt::Key_Y, plat::kIdYes}, {"No", Qt::Key_N, plat::kIdNo}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTimer::singleShot(0, [&] {
            auto* box = dialog_up<QMessageBox>();
            ASSERT_NE(box, nullptr);
            QAbstractButton* button = box->button(c.answer == plat::kIdYes ? QMessageBox::Yes : QMessageBox::No);
            ASSERT_NE(button, nullptr);
            button->setFocus();
            QTest::keyClick(box->windowHandle(), Qt::Key_Return);
            closed_by_the_key(box);
        });
        EXPECT_EQ(plat::message_box("Set up the prices?", "Set-up", plat::kMbYesNo | plat::kMbIconQuestion), c.answer);
        expect_keyboard_back();
    }
}

// A file the clerk finds outside every drive's folder is not taken; the
// message line of the window that asked says why and names the drives (a
// dialog without a line of its own reports on the line of the window it
// was opened from).
TEST_F(PlatformDialogsTest, AFileOutsideTheDrivesIsNamedOnTheMessageLine) {
    const QString root = QDir::cleanPath(QString::fromStdString(inst->root()));
    const QString outside = QDir::cleanPath(root + "/..") + "/elsewhere.csv";
    px::seams().choose_file = [&](QWidget*, px::FileChoice&) { return outside; };
    asker->lbl_Msg->clear();
    px::FileChoice choice;
    EXPECT_TRUE(px::ChooseFile(asker, choice).isEmpty());
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(asker->lbl_Msg->text(), "A file must lie on one of these drives:\nC: " + root);

    asker->lbl_Msg->clear();
    on_modal(Dialog::kName, [&](px::Form& d) {
        EXPECT_TRUE(px::ChooseFile(&d, choice).isEmpty());
        px::unload_form(d);
    });
    px::show_modal(px::load_form(Dialog::kName));
    EXPECT_EQ(asker->lbl_Msg->text(), "A file must lie on one of these drives:\nC: " + root);
    EXPECT_EQ(beeps, 2);

    // A file on a drive is taken, and the line says nothing of it.
    asker->lbl_Msg->clear();
    const QString inside = root + "/PRICE.CSV";
    px::seams().choose_file = [&](QWidget*, px::FileChoice&) { return inside; };
    EXPECT_EQ(px::ChooseFile(asker, choice), inside);
    EXPECT_EQ(asker->lbl_Msg->text(), "");
    EXPECT_EQ(beeps, 2);
}

// Where many drives' folders do not fit the line, each drive is named by its
// letter and its folder's own name, and the window keeps its size.
TEST_F(PlatformDialogsTest, ManyDrivesAreNamedWithinTheLine) {
    const std::string long_dir = inst->root() + "/a-folder-with-a-long-name-for-the-catalogue-data";
    for (char d : std::string("DEFGH")) plat::set_drive(d, long_dir + "/" + d, plat::kDriveCdrom);
    px::seams().choose_file = [](QWidget*, px::FileChoice&) { return QString("/nowhere/elsewhere.csv"); };
    const QSize size = asker->size();
    px::FileChoice choice;
    EXPECT_TRUE(px::ChooseFile(asker, choice).isEmpty());
    const QString second = asker->lbl_Msg->text().section('\n', 1);
    EXPECT_TRUE(second.startsWith("C: " + QDir(QString::fromStdString(inst->root())).dirName() + "   D: D   E: E"))
        << second.toStdString();
    EXPECT_EQ(asker->size(), size);
    for (char d : std::string("DEFGH")) plat::remove_drive(d);
}

class KitRulesTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        asker = &px::load_form<Asker>();
        px::show_modeless(*asker);
        ASSERT_TRUE(QTest::qWaitForWindowActive(asker));
        settle();
    }
    Asker* asker = nullptr;
};

// A focused key button, an arrow, and a rule that hands the focus to the
// list: the focus ends in the list, and the list's line stays (the key went
// no further); where the rule leaves the focus, the key goes on.
TEST_F(KitRulesTest, AKeyWhoseRuleMovedTheFocusGoesNoFurther) {
    for (Qt::Key arrow : {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down}) {
        SCOPED_TRACE(arrow);
        asker->cmd_PF(5)->setFocus();
        settle();
        asker->list->setCurrentRow(1);
        QTest::keyClick(asker->cmd_PF(5), arrow);
        EXPECT_EQ(QApplication::focusWidget(), asker->list);
        EXPECT_EQ(asker->list->currentRow(), 1);
    }
    // In the list the rule keeps the focus there: the arrow moves the line.
    QTest::keyClick(asker->list, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), asker->list);
    EXPECT_EQ(asker->list->currentRow(), 2);
}

// An up-down is no tab stop unless the screen makes it one; then Tab stops on
// it between its boxes, and Up and Down step it as its arrows do.
TEST_F(KitRulesTest, AnUpDownThatIsATabStopStepsFromTheKeyboard) {
    asker->a->setFocus();
    QTest::keyClick(asker->a, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), asker->b);

    asker->upd->set_tab_stop(true);
    asker->a->setFocus();
    QTest::keyClick(asker->a, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), asker->upd);
    EXPECT_EQ(asker->focus_control(), asker->upd);
    asker->seen.clear();
    QTest::keyClick(asker->upd, Qt::Key_Up);
    QTest::keyClick(asker->upd, Qt::Key_Up);
    QTest::keyClick(asker->upd, Qt::Key_Down);
    EXPECT_EQ(asker->seen, (std::vector<std::string>{"key 38", "up", "key 38", "up", "key 40", "down"}));
    EXPECT_EQ(QApplication::focusWidget(), asker->upd);
    QTest::keyClick(asker->upd, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), asker->b);
    QTest::keyClick(asker->b, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), asker->upd);
}

// A pop-up stands over the window it was opened from, unless its load put it
// somewhere itself (centred on the screen): there it stays.
TEST_F(KitRulesTest, APopUpThatPlacedItselfStaysThere) {
    asker->move(0, 0);
    settle();
    QPoint dialog_centre, placed, placed_at;
    on_modal(Dialog::kName, [&](px::Form& d) {
        dialog_centre = d.geometry().center();
        px::unload_form(d);
    });
    on_modal(SelfPlaced::kName, [&](px::Form& d) {
        placed = d.pos();
        placed_at = static_cast<SelfPlaced&>(d).placed_at;
        px::unload_form(d);
    });
    px::show_modal(px::load_form(Dialog::kName));
    px::show_modal(px::load_form(SelfPlaced::kName));
    EXPECT_LE((dialog_centre - asker->frameGeometry().center()).manhattanLength(), 2);
    EXPECT_EQ(placed, placed_at);
    EXPECT_GT((asker->frameGeometry().center() - placed_at).manhattanLength(), 100);
}

}  // namespace
