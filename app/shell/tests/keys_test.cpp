// The forms kit's keys: key-down codes apart from typed characters, Tab,
// key-ups only where the key was pressed, modifiers, Enter on buttons, the
// focus handlers, and the lines of multi-select lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "platform/controls.h"
#include "shell/keys.h"
#include "shell/list_lines.h"
#include "shell/listbox.h"
#include "support/fixture.h"

namespace {

using pxtest::FormsTest;

struct KeyCase {
    const char* what;
    int key;
    Qt::KeyboardModifiers mods;
    const char* text;
    int code;   // key-down code
    int ascii;  // typed character
};

TEST(KeyCodes, KeyDownCodesAndCharactersNeverStandForEachOther) {
    const KeyCase cases[] = {
        {"Left", Qt::Key_Left, Qt::NoModifier, "", 37, 0},
        {"Up", Qt::Key_Up, Qt::NoModifier, "", 38, 0},
        {"Right", Qt::Key_Right, Qt::NoModifier, "", 39, 0},
        {"Down", Qt::Key_Down, Qt::NoModifier, "", 40, 0},
        {"%", Qt::Key_Percent, Qt::ShiftModifier, "%", '5', '%'},
        {"&", Qt::Key_Ampersand, Qt::ShiftModifier, "&", '7', '&'},
        {"'", Qt::Key_Apostrophe, Qt::NoModifier, "'", 222, '\''},
        {"(", Qt::Key_ParenLeft, Qt::ShiftModifier, "(", '9', '('},
        {"F1", Qt::Key_F1, Qt::NoModifier, "", 112, 0},
        {"F10", Qt::Key_F10, Qt::NoModifier, "", 121, 0},
        {"y", Qt::Key_Y, Qt::NoModifier, "y", 'Y', 'y'},
        {"Y", Qt::Key_Y, Qt::ShiftModifier, "Y", 'Y', 'Y'},
        {"7", Qt::Key_7, Qt::NoModifier, "7", '7', '7'},
        {"pad 5", Qt::Key_5, Qt::KeypadModifier, "5", 101, '5'},
        {"pad *", Qt::Key_Asterisk, Qt::KeypadModifier, "*", 106, '*'},
        {"*", Qt::Key_Asterisk, Qt::ShiftModifier, "*", '8', '*'},
        {"Enter", Qt::Key_Return, Qt::NoModifier, "\r", 13, 13},
        {"pad Enter", Qt::Key_Enter, Qt::KeypadModifier, "\r", 13, 13},
        {"Tab", Qt::Key_Tab, Qt::NoModifier, "\t", 9, 0},
        {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier, "", 9, 0},
        {"Backspace", Qt::Key_Backspace, Qt::NoModifier, "\b", 8, 8},
        {"Escape", Qt::Key_Escape, Qt::NoModifier, "\x1b", 27, 27},
        {"Space", Qt::Key_Space, Qt::NoModifier, " ", 32, ' '},
        {"Delete", Qt::Key_Delete, Qt::NoModifier, "\x7f", 46, 0},
        {"Home", Qt::Key_Home, Qt::NoModifier, "", 36, 0},
        {"Ctrl+A", Qt::Key_A, Qt::ControlModifier, "\x01", 'A', 0},
        {"Shift", Qt::Key_Shift, Qt::NoModifier, "", 16, 0},
        {"Ctrl", Qt::Key_Control, Qt::NoModifier, "", 17, 0},
        {"Alt", Qt::Key_Alt, Qt::NoModifier, "", 18, 0},
    };
    for (const KeyCase& c : cases) {
        QKeyEvent e(QEvent::KeyPress, c.key, c.mods, QString::fromLatin1(c.text));
        EXPECT_EQ(px::key_code(&e), c.code) << c.what;
        EXPECT_EQ(px::key_ascii(&e), c.ascii) << c.what;
    }
    QKeyEvent shifted(QEvent::KeyPress, Qt::Key_Left, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(px::key_shift(&shifted), px::kShiftMask | px::kCtrlMask | px::kAltMask);
    for (int code : {16, 17, 18}) EXPECT_TRUE(px::is_modifier_key(code));
    for (int code : {9, 13, 37, 65}) EXPECT_FALSE(px::is_modifier_key(code));
}

// A screen with two digit boxes whose character filter takes digits only
// and has a key-up rule, a button, and a list of several selectable lines.
class KeyScreen : public px::Form {
public:
    static constexpr const char* kName = "Keyt";
    QLineEdit* a;
    QLineEdit* b;
    QPushButton* button;
    QListWidget* list;
    std::vector<int> downs;                // key-down codes the form saw
    std::vector<std::string> filter_seen;  // "a press 9", "b release 16" ...
    std::vector<std::string> focus;        // "a+", "a-" ...
    std::vector<int> changed_rows;
    int presses = 0;

    KeyScreen() : px::Form(kName) {
        auto* layout = new QVBoxLayout(this);
        a = new QLineEdit(this);
        a->setObjectName("a");
        b = new QLineEdit(this);
        b->setObjectName("b");
        button = new QPushButton("Check", this);
        button->setObjectName("button");
        list = new QListWidget(this);
        list->setObjectName("list");
        list->setSelectionMode(QAbstractItemView::MultiSelection);
        for (const char* line : {" 001  A", " 002  B", " 003  C", " 004  D"}) list->addItem(line);
        for (QWidget* w : {static_cast<QWidget*>(a), static_cast<QWidget*>(b), static_cast<QWidget*>(button),
                           static_cast<QWidget*>(list)})
            layout->addWidget(w);
        a->installEventFilter(this);
        b->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this] { ++presses; });
        px::on_line_double_click(*this, list, "list_DblClick", [this](int row) { changed_rows.push_back(row); });
    }

    bool on_key_down(int code) override {
        downs.push_back(code);
        return false;
    }
    void on_focus(QWidget* control, bool got) override {
        focus.push_back(control->objectName().toStdString() + (got ? "+" : "-"));
    }

    bool eventFilter(QObject* obj, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
        auto* e = static_cast<QKeyEvent*>(event);
        const bool press = event->type() == QEvent::KeyPress;
        filter_seen.push_back(obj->objectName().toStdString() + (press ? " press " : " release ") +
                              std::to_string(px::key_code(e)));
        // The character filter: digits stand, every other character is dropped.
        const int c = px::key_ascii(e);
        return press && c >= 32 && (c < '0' || c > '9');
    }
};

PX_FORM(KeyScreen);

class KitKeysTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        s = &px::load_form<KeyScreen>();
        px::show_modeless(*s);
        ASSERT_TRUE(QTest::qWaitForWindowActive(s));
        s->a->setFocus(Qt::OtherFocusReason);
        settle();
        s->downs.clear();
        s->filter_seen.clear();
        s->focus.clear();
    }
    bool filter_saw(const std::string& what) const {
        for (const auto& f : s->filter_seen)
            if (f == what) return true;
        return false;
    }
    KeyScreen* s = nullptr;
};

TEST_F(KitKeysTest, TypedSignsReachTheFormAsTheirKeysNotAsArrows) {
    QTest::keyClick(s->a, Qt::Key_Percent, Qt::ShiftModifier);
    QTest::keyClick(s->a, Qt::Key_ParenLeft, Qt::ShiftModifier);
    QTest::keyClick(s->a, Qt::Key_Left);
    QTest::keyClick(s->a, Qt::Key_F10);
    EXPECT_EQ(s->downs, (std::vector<int>{'5', '9', 37, 121}));
    EXPECT_EQ(s->a->text(), "");  // the filter dropped both signs
}

TEST_F(KitKeysTest, TabMovesAlongTheTabOrderPastTheCharacterFilter) {
    // Each release goes where the focus is by then, as the window system sends it.
    QTest::keyPress(s->a, Qt::Key_Tab);
    EXPECT_EQ(s->focusWidget(), s->b);
    QTest::keyRelease(s->focusWidget(), Qt::Key_Tab);
    QTest::keyPress(s->b, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(s->focusWidget(), s->a);
    QTest::keyRelease(s->focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_FALSE(filter_saw("a press 9"));
    EXPECT_FALSE(filter_saw("b press 9"));
    // The release of Tab lands in the next box, where it was not pressed.
    EXPECT_FALSE(filter_saw("b release 9"));
    EXPECT_FALSE(filter_saw("a release 9"));
    EXPECT_EQ(s->downs, std::vector<int>{});
}

TEST_F(KitKeysTest, KeyUpRunsOnlyForTheControlThatTookThePress) {
    QTest::keyPress(s->a, Qt::Key_5);
    QTest::keyRelease(s->a, Qt::Key_5);
    EXPECT_TRUE(filter_saw("a release 53"));
    // Pressed in a, released in b: b's key-up rule does not run.
    QTest::keyPress(s->a, Qt::Key_6);
    s->b->setFocus(Qt::OtherFocusReason);
    QTest::keyRelease(s->b, Qt::Key_6);
    EXPECT_FALSE(filter_saw("b release 54"));
    // A key never pressed at all.
    QTest::keyRelease(s->b, Qt::Key_7);
    EXPECT_FALSE(filter_saw("b release 55"));
}

TEST_F(KitKeysTest, ModifiersAloneAreNoKeyForTheScreensRules) {
    QTest::keyPress(s->a, Qt::Key_Shift);
    QTest::keyClick(s->a, Qt::Key_4, Qt::ShiftModifier);
    QTest::keyRelease(s->a, Qt::Key_Shift);
    for (Qt::Key k : {Qt::Key_Control, Qt::Key_Alt}) {
        QTest::keyPress(s->a, k);
        QTest::keyRelease(s->a, k);
    }
    EXPECT_FALSE(filter_saw("a release 16"));
    EXPECT_FALSE(filter_saw("a release 17"));
    EXPECT_FALSE(filter_saw("a release 18"));
    EXPECT_EQ(s->downs, std::vector<int>{'4'});
}

TEST_F(KitKeysTest, TheReleaseOfTheKeyThatClosedAPopUpStaysInThePopUp) {
    auto& pop = px::load_form("Scra");
    on_modal("Scra", [](px::Form& f) {
        QWidget* w = f.focusWidget() != nullptr ? f.focusWidget() : &f;
        QTest::keyPress(w, Qt::Key_Return);  // the pop-up ends on Enter
        px::unload_form(f);
    });
    px::show_modal(pop);
    settle();
    QWidget* under = s->focusWidget();
    ASSERT_NE(under, nullptr);
    s->filter_seen.clear();
    QTest::keyRelease(under, Qt::Key_Return);
    EXPECT_EQ(s->filter_seen, std::vector<std::string>{});
}

TEST_F(KitKeysTest, EnterOnAFocusedButtonPressesIt) {
    s->button->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(s->button, Qt::Key_Return);
    QTest::keyClick(s->button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(s->presses, 2);
}

TEST_F(KitKeysTest, AFocusSetWhileTheWindowWasInactiveIsTheControlsFocus) {
    s->focus.clear();
    // The window goes: no focus moves for the screen.
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(s->a, &out);
    // It comes back with the focus the screen set meanwhile on b.
    QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(s->b, &in);
    QApplication::sendEvent(s->b, &in);
    EXPECT_EQ(s->focus, (std::vector<std::string>{"a-", "b+"}));
    EXPECT_EQ(s->focus_control(), s->b);
    // A move of the clerk's is reported as it happens.
    QFocusEvent tab_out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(s->b, &tab_out);
    EXPECT_EQ(s->focus.back(), "b-");
}

// --- lines of multi-select lists ----------------------------------------------

TEST_F(KitKeysTest, SpaceTurnsOverExactlyTheLineWithTheFocus) {
    s->list->setFocus(Qt::OtherFocusReason);
    s->list->setCurrentRow(1, QItemSelectionModel::NoUpdate);
    QTest::keyClick(s->list, Qt::Key_Space);
    ASSERT_EQ(s->list->selectedItems().size(), 1);
    EXPECT_EQ(s->list->row(s->list->selectedItems().front()), 1);
    EXPECT_EQ(s->list->currentRow(), 1);  // no type-ahead to the next line with a blank
    s->list->setCurrentRow(3, QItemSelectionModel::NoUpdate);
    QTest::keyClick(s->list, Qt::Key_Space);
    QTest::keyClick(s->list, Qt::Key_Space);
    s->list->setCurrentRow(1, QItemSelectionModel::NoUpdate);
    QTest::keyClick(s->list, Qt::Key_Space);
    EXPECT_TRUE(s->list->selectedItems().isEmpty());
}

TEST_F(KitKeysTest, ADoubleClickThatChangesALineLeavesItsSelectionAsItWas) {
    s->list->item(0)->setSelected(true);
    const QPoint at = s->list->visualItemRect(s->list->item(2)).center();
    // A double-click as a widget receives it: the second press comes as the
    // double-click itself.
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                           QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(t, at, s->list->viewport()->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(s->list->viewport(), &e);
    }
    EXPECT_EQ(s->changed_rows, std::vector<int>{2});
    EXPECT_FALSE(s->list->item(2)->isSelected());
    EXPECT_TRUE(s->list->item(0)->isSelected());
}

TEST_F(KitKeysTest, ShiftEnterChangesTheCurrentLineLikeADoubleClick) {
    s->list->setFocus(Qt::OtherFocusReason);
    s->list->setCurrentRow(3, QItemSelectionModel::NoUpdate);
    QTest::keyClick(s->list, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(s->changed_rows, std::vector<int>{3});
    EXPECT_TRUE(s->list->selectedItems().isEmpty());
}

TEST_F(KitKeysTest, AFilledListOfSeveralSelectableLinesHasALineWithTheFocus) {
    QListWidget single;
    single.setSelectionMode(QAbstractItemView::SingleSelection);
    QListWidget multi;
    multi.setSelectionMode(QAbstractItemView::MultiSelection);
    px::ListBoxControl one(&single), several(&multi);
    for (px::ListBoxControl* c : {&one, &several}) {
        c->lb_reset();
        c->lb_add("A");
        c->lb_add("B");
    }
    EXPECT_EQ(one.lb_get_cur(), plat::kLbErr);
    EXPECT_EQ(several.lb_get_cur(), 0);
    EXPECT_EQ(several.lb_get_sel(0), 0);  // the focus selects nothing
}

// Removing the chosen line of a list of one selectable line chooses no
// other, as the platform's list model answers, whether the screen removes
// it or a library through the handle; the lines of a list of several keep
// their own selection.
TEST_F(KitKeysTest, RemovingTheChosenLineChoosesNoOtherInItsPlace) {
    for (int chosen : {1, 2}) {  // a line in the middle, the last line
        QListWidget single;
        single.setSelectionMode(QAbstractItemView::SingleSelection);
        px::ListBoxControl control(&single);
        plat::MemoryListBox model;
        for (plat::Control* c : {static_cast<plat::Control*>(&control), static_cast<plat::Control*>(&model)}) {
            for (const char* line : {"A", "B", "C"}) c->lb_add(line);
            c->lb_set_cur(chosen);
            c->lb_set_sel(chosen, true);
        }
        EXPECT_EQ(control.lb_delete(chosen), model.lb_delete(chosen));
        EXPECT_EQ(control.lb_get_cur(), model.lb_get_cur()) << "line " << chosen;
        EXPECT_EQ(control.lb_get_cur(), plat::kLbErr);
        EXPECT_TRUE(single.selectedItems().isEmpty()) << "line " << chosen;
        // The screens' own removal does the same.
        single.setCurrentRow(0);
        EXPECT_TRUE(px::remove_list_line(&single, 0));
        EXPECT_TRUE(single.selectedItems().isEmpty());
        EXPECT_EQ(single.currentRow(), -1);
        EXPECT_FALSE(px::remove_list_line(&single, 5));
    }
    QListWidget multi;
    multi.setSelectionMode(QAbstractItemView::MultiSelection);
    px::ListBoxControl several(&multi);
    for (const char* line : {"A", "B", "C", "D"}) several.lb_add(line);
    several.lb_set_sel(0, true);
    several.lb_set_sel(2, true);
    multi.setCurrentRow(1, QItemSelectionModel::NoUpdate);
    several.lb_delete(1);
    EXPECT_EQ(several.lb_get_sel(0), 1);
    EXPECT_EQ(several.lb_get_sel(1), 1);  // C, one up
    EXPECT_EQ(several.lb_get_sel(2), 0);
}

// --- the tab order of a framed screen -------------------------------------------

// The frame's keys are made before the screen's own controls.
class FramedScreen : public px::Form {
public:
    static constexpr const char* kName = "Frmd";
    FramedScreen() : px::Form(kName) {
        auto* body = make_frame({.size = {400, 300}, .keys = {1, 3, 10}});
        auto* box = new QLineEdit(this);
        box->setObjectName("box");
        auto* list = new QListWidget(this);
        list->setObjectName("list");
        body->addWidget(box);
        body->addWidget(list);
    }
};
PX_FORM(FramedScreen);

TEST_F(FormsTest, AScreenStartsOnItsFirstControlAndItsKeysComeLastInTheTabOrder) {
    auto tab_round = [](px::Form& f) {
        std::vector<std::string> seen;
        for (int i = 0; i < 6; ++i) {
            QWidget* w = QApplication::focusWidget();
            if (w == nullptr || w->window() != &f) break;
            seen.push_back(w->objectName().toStdString());
            QTest::keyClick(w, Qt::Key_Tab);
        }
        return seen;
    };
    const std::vector<std::string> expected = {"box", "list", "cmd_PF_1", "cmd_PF_3", "cmd_PF_10", "box"};
    for (bool modal : {false, true}) {
        SCOPED_TRACE(modal ? "modal" : "without modality");
        auto& f = px::load_form<FramedScreen>();
        std::vector<std::string> seen;
        if (modal) {
            on_modal(FramedScreen::kName, [&](px::Form& shown) {
                EXPECT_TRUE(QTest::qWaitForWindowActive(&shown));
                seen = tab_round(shown);
                px::unload_form(shown);
            });
            px::show_modal(f);
        } else {
            px::show_modeless(f);
            ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
            seen = tab_round(f);
            px::unload_form(f);
        }
        settle();
        EXPECT_EQ(seen, expected);
    }
}

}  // namespace
