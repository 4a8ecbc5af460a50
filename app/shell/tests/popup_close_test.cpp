// The keyboard after a pop-up closes by a key: the window it was opened from
// is the active window again, with the focus it set while the pop-up was up,
// and the next key reaches it; the release of the closing key runs no rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

#include "shell/keys.h"
#include "support/fixture.h"

namespace {

using pxtest::FormsTest;

// The caller: two boxes with a key-up rule each; the pop-up hands its
// choice to `b` and the focus with it.
class Caller : public px::Form {
public:
    static constexpr const char* kName = "Cllr";
    QLineEdit* a;
    QLineEdit* b;
    std::vector<std::string> seen;  // "b up 13", "key 115" ...
    int activations = 0;

    Caller() : px::Form(kName) {
        setWindowTitle("Caller");
        auto* layout = new QVBoxLayout(this);
        a = new QLineEdit(this);
        a->setObjectName("a");
        b = new QLineEdit(this);
        b->setObjectName("b");
        layout->addWidget(a);
        layout->addWidget(b);
        a->installEventFilter(this);
        b->installEventFilter(this);
    }
    void on_activate() override { ++activations; }
    bool on_key_down(int code) override {
        seen.push_back("key " + std::to_string(code));
        return false;
    }
    bool eventFilter(QObject* obj, QEvent* event) override {
        if (event->type() == QEvent::KeyRelease)
            seen.push_back(obj->objectName().toStdString() + " up " +
                           std::to_string(px::key_code(static_cast<QKeyEvent*>(event))));
        return false;
    }
};
PX_FORM(Caller);

// A pop-up with a list: Enter on a line hands it to the caller and closes
// the pop-up, Escape closes it without a choice; either way the caller has
// set its focus on `b`, as a screen's change rule does.
class Chooser : public px::Form {
public:
    static constexpr const char* kName = "Chsr";
    QListWidget* list;

    Chooser() : px::Form(kName) {
        setWindowTitle("Chooser");
        setWindowFlag(Qt::Tool, true);
        auto* layout = new QVBoxLayout(this);
        list = new QListWidget(this);
        list->addItems({"ONE", "TWO"});
        list->setCurrentRow(0);
        layout->addWidget(list);
    }
    void on_activate() override { list->setFocus(); }
    bool on_key_press(int ascii) override {
        if (ascii != px::kKeyEnter && ascii != px::kKeyEscape) return false;
        auto& caller = px::load_form<Caller>();
        if (ascii == px::kKeyEnter && list->currentItem() != nullptr) caller.b->setText(list->currentItem()->text());
        caller.b->setFocus();
        px::unload_form(*this);
        return true;
    }
};
PX_FORM(Chooser);

class PopUpCloseTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        caller = &px::load_form<Caller>();
        px::show_modeless(*caller);
        ASSERT_TRUE(QTest::qWaitForWindowActive(caller));
        caller->a->setFocus();
        settle();
    }
    Caller* caller = nullptr;
};

struct CloseCase {
    const char* what;
    bool modal;
    Qt::Key key;
    const char* chosen;  // what the caller's box holds after
};

TEST_F(PopUpCloseTest, TheCallerHasTheKeyboardBackWithTheFocusItSet) {
    const CloseCase cases[] = {
        {"modal, Enter", true, Qt::Key_Return, "TWO"},
        {"modal, Escape", true, Qt::Key_Escape, ""},
        {"without modality, Enter", false, Qt::Key_Return, "TWO"},
        {"without modality, Escape", false, Qt::Key_Escape, ""},
    };
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.what);
        caller->a->setFocus();
        caller->b->clear();
        settle();
        // The clerk moves to the second line and presses the key in the
        // pop-up's window, as the window system delivers it.
        auto choose = [&c](px::Form& pop) {
            QWindow* w = pop.windowHandle();
            ASSERT_NE(w, nullptr);
            QTest::keyClick(w, Qt::Key_Down);
            QTest::keyPress(w, c.key);
        };
        auto& pop = px::load_form<Chooser>();
        if (c.modal) {
            on_modal(Chooser::kName, choose);
            px::show_modal(pop);
        } else {
            px::show_modeless(pop);
            ASSERT_TRUE(QTest::qWaitForWindowActive(&pop));
            choose(pop);
        }
        settle();
        ASSERT_EQ(px::loaded_form(Chooser::kName), nullptr);
        EXPECT_EQ(caller->b->text().toStdString(), c.chosen);
        // The caller is the active window again, its focus where it set it.
        ASSERT_TRUE(QTest::qWaitForWindowActive(caller));
        EXPECT_EQ(px::active_form(), caller);
        EXPECT_EQ(QApplication::focusWidget(), caller->b);
        EXPECT_EQ(caller->focus_control(), caller->b);
        // The closing key's release lands there and runs no rule; the next
        // keys the window system delivers reach the caller.
        caller->seen.clear();
        QWindow* focus_window = QGuiApplication::focusWindow();
        ASSERT_EQ(focus_window, caller->windowHandle());
        QTest::keyRelease(focus_window, c.key);
        QTest::keyClick(focus_window, Qt::Key_7);
        QTest::keyClick(focus_window, Qt::Key_F4);
        EXPECT_EQ(caller->seen, (std::vector<std::string>{"key 55", "b up 55", "key 115", "b up 115"}));
    }
}

}  // namespace
