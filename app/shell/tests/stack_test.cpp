// The screen stack over the real main menu, with test screens.
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

#include "shell/errm.h"
#include "shell/gyom.h"
#include "shell/messages.h"
#include "shell/stack.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

using px::Form;

// A screen as the system settings fail when they first show (their file
// gone): the error dialog, then back (to the menu, or one screen) and
// unloaded, all before its caller hides itself.
class FailsAtFirstShowing : public Form {
public:
    static constexpr const char* kName = "Fshw";
    static inline bool back_to_menu = true;
    FailsAtFirstShowing() : Form(kName) {
        setWindowTitle("Fails at first showing");
        resize(300, 200);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(make_message_line());
    }
    void on_activate() override {
        // The dialog's closing activates the screen again: once is enough.
        if (reported_) return;
        reported_ = true;
        px::ShowErrorDialog(*this);
        if (back_to_menu) px::ScrBackToMenu();
        else px::ScrBack();
        px::unload_form(*this);
    }

private:
    bool reported_ = false;
};
PX_FORM(FailsAtFirstShowing);

// A screen that opens the next one and unloads itself, as the saved-list
// chooser opens the editor: F10.
class OpensAndCloses : public Form {
public:
    static constexpr const char* kName = "Open";
    OpensAndCloses() : Form(kName) {
        resize(300, 200);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(make_message_line());
    }
    bool on_key_down(int key_code) override {
        if (key_code == px::key_f(10)) {
            px::ScrPush(px::load_form(FailsAtFirstShowing::kName));
            px::unload_form(*this);
        }
        return false;
    }
};
PX_FORM(OpensAndCloses);

// A screen as one fails while it loads (its library missing); ending it
// fails too.
class FailsAtLoad : public Form {
public:
    static constexpr const char* kName = "Fald";
    static inline int unloads = 0;
    FailsAtLoad() : Form(kName) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(make_message_line());
    }
    void on_load() override { throw px::RuntimeError(48, "LoadLibrary"); }
    void on_unload() override {
        ++unloads;
        throw px::RuntimeError(48, "LoadLibrary");
    }
};
PX_FORM(FailsAtLoad);

class StackTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(start());
        menu = px::loaded_form("Gyom");
        ASSERT_NE(menu, nullptr);
    }
    // Opens screens the way the screens do: push the target, hide the caller.
    void open(std::initializer_list<const char*> names) {
        Form* from = menu;
        for (const char* n : names) {
            Form& next = px::load_form(n);
            px::ScrPush(next);
            from->hide();
            from = &next;
        }
    }
    std::vector<std::string> names() const {
        std::vector<std::string> v;
        for (int k = 1; k <= px::ScrCount(); ++k) v.push_back(px::ScrName(k));
        return v;
    }
    Form* top() const { return px::loaded_form(px::ScrName(px::ScrCount())); }
    // What a main-menu item does, in the menu's click handler: push the
    // item's screen, then hide the menu.
    void menu_item(const char* screen) {
        menu->run("cmd_Menu_Click", [&] {
            px::ScrPush(px::load_form(screen));
            menu->hide();
        });
    }

    Form* menu = nullptr;
};

TEST_F(StackTest, StartsWithTheMenuAlone) {
    EXPECT_EQ(names(), (std::vector<std::string>{"Gyom"}));
    EXPECT_EQ(px::active_form(), menu);
}

TEST_F(StackTest, PushShowsTheScreenAndF3ComesBackToTheMenu) {
    open({"Scra"});
    Form* a = px::loaded_form("Scra");
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->isVisible());
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(names(), (std::vector<std::string>{"Gyom", "Scra"}));
    menu->lbl_Msg->clear();

    key(*a, Qt::Key_F3);
    EXPECT_EQ(names(), (std::vector<std::string>{"Gyom"}));
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(px::loaded_form("Scra"), nullptr);
    // The menu is active again: its guide is back.
    EXPECT_EQ(menu->lbl_Msg->text(), "Select an item.");
    EXPECT_EQ(TestScreen::events(), (std::vector<std::string>{"Scra load", "Scra activate", "Scra unload"}));
}

TEST_F(StackTest, BackToANamedScreen) {
    struct Case {
        const char* name;
        std::vector<std::string> left;
    } cases[] = {
        {"Scrb", {"Gyom", "Scra", "Scrb"}},
        {"Scrd", {"Gyom", "Scra", "Scrb", "Scrc", "Scrd"}},  // the top: nothing removed
        {"scrb", {"Gyom"}},                                  // names compare case and all
        {"Gyom", {"Gyom"}},                                  // the menu is never compared
        {"Nope", {"Gyom"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open({"Scra", "Scrb", "Scrc", "Scrd"});
        px::ScrBackTo(c.name);
        EXPECT_EQ(names(), c.left);
        // Whatever was asked, a window stands: the new top.
        ASSERT_NE(top(), nullptr);
        EXPECT_TRUE(top()->isVisible());
        EXPECT_EQ(px::active_form(), top());
        for (const char* n : {"Scra", "Scrb", "Scrc", "Scrd"})
            if (Form* f = px::loaded_form(n)) f->hide();
        px::ScrBackToMenu();
    }
}

TEST_F(StackTest, BackToMenuLeavesTheScreensLoaded) {
    open({"Scra", "Scrb", "Scrc"});
    px::ScrBackToMenu();
    EXPECT_EQ(names(), (std::vector<std::string>{"Gyom"}));
    EXPECT_TRUE(menu->isVisible());
    for (const char* n : {"Scra", "Scrb", "Scrc"}) EXPECT_NE(px::loaded_form(n), nullptr) << n;
}

TEST_F(StackTest, BackWithTheMenuAloneShowsTheMenu) {
    px::ScrBack();
    EXPECT_EQ(names(), (std::vector<std::string>{"Gyom"}));
    EXPECT_TRUE(menu->isVisible());
}

TEST_F(StackTest, NameSlotsKeepFourCharacters) {
    open({"Scra", "Scrb"});
    px::ScrBack();
    px::loaded_form("Scrb")->hide();
    open({"Longname"});
    EXPECT_EQ(px::ScrName(3), "Long");
    px::ScrBack();
    open({"Ab"});
    EXPECT_EQ(px::ScrName(3), "Ab  ");
}

// Whatever fails as a screen first shows, the clerk ends on the menu, shown,
// active and answering its keys; the error dialog over the failing screen
// has been painted.
TEST_F(StackTest, AFailureAtFirstShowingEndsOnTheMenu) {
    struct Case {
        const char* how;
        bool back_to_menu, from_menu;
    } cases[] = {
        {"a menu item, back to the menu", true, true},
        {"a menu item, one screen back", false, true},
        {"from a screen that closes itself, back to the menu", true, false},
        {"from a screen that closes itself, one screen back", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        modals.clear();
        FailsAtFirstShowing::back_to_menu = c.back_to_menu;
        bool painted = false;
        on_modal("Errm", [&](Form& f) {
            auto* list = static_cast<px::Errm&>(f).lst_ErrMsg;
            const QPoint at = list->mapTo(&f, QPoint(list->width() / 2, list->height() - 4));
            const QColor base = list->palette().color(QPalette::Base);
            for (int i = 0; i < 200 && !painted; ++i) {
                QCoreApplication::processEvents();
                QImage shown = QGuiApplication::primaryScreen()->grabWindow(f.winId()).toImage();
                painted = !shown.isNull() && shown.rect().contains(at) && shown.pixelColor(at) == base;
            }
            key(f, Qt::Key_F4);
        });
        if (c.from_menu) {
            menu_item(FailsAtFirstShowing::kName);
        } else {
            open({"Open"});
            key(*px::loaded_form("Open"), Qt::Key_F10);
        }
        settle();
        EXPECT_EQ(modals, (std::vector<std::string>{"Errm"}));
        EXPECT_TRUE(painted);
        EXPECT_EQ(names(), (std::vector<std::string>{"Gyom"}));
        EXPECT_EQ(px::loaded_form(FailsAtFirstShowing::kName), nullptr);
        EXPECT_EQ(px::loaded_form("Open"), nullptr);
        EXPECT_TRUE(menu->isVisible());
        EXPECT_EQ(px::active_form(), menu);
        // It answers: F1 opens help over it.
        on_modal("Help", [](Form& f) { px::unload_form(f); });
        key(*menu, Qt::Key_F1);
        EXPECT_EQ(modals.back(), "Help");
        EXPECT_TRUE(menu->isVisible());
    }
}

// A screen whose load fails is reported once and never shown, however it
// is opened; what it started ends without a second report.
TEST_F(StackTest, AScreenThatFailsAsItLoadsIsNotShown) {
    on_modal("Errm", [](Form& f) { key(f, Qt::Key_F4); });
    FailsAtLoad::unloads = 0;
    menu_item(FailsAtLoad::kName);
    settle();
    EXPECT_EQ(modals, (std::vector<std::string>{"Errm"}));
    EXPECT_EQ(FailsAtLoad::unloads, 1);
    EXPECT_EQ(px::loaded_form(FailsAtLoad::kName), nullptr);
    EXPECT_EQ(names(), (std::vector<std::string>{"Gyom"}));
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(px::active_form(), menu);

    modals.clear();
    px::show_modal(px::load_form(FailsAtLoad::kName));  // as a pop-up: the same
    EXPECT_EQ(modals, (std::vector<std::string>{"Errm"}));
    EXPECT_EQ(px::loaded_form(FailsAtLoad::kName), nullptr);
    EXPECT_TRUE(menu->isVisible());
}

TEST_F(StackTest, ThirtyFirstPushIsRefused) {
    Form& a = px::load_form("Scra");
    for (int i = 2; i <= px::kScrMax; ++i) px::ScrPush(a);
    ASSERT_EQ(px::ScrCount(), 30);
    Form& b = px::load_form("Scrb");
    try {
        px::ScrPush(b);
        FAIL() << "no error";
    } catch (const px::RuntimeError& e) {
        EXPECT_EQ(e.number(), 9);
    }
    EXPECT_EQ(px::ScrCount(), 30);
    EXPECT_FALSE(b.isVisible());
}

TEST_F(StackTest, ModalOwnerOnlyDuringTheDisplay) {
    EXPECT_EQ(px::GetModalOwner(), nullptr);
    Form* seen = nullptr;
    on_modal("Scrb", [&](Form& f) {
        seen = px::GetModalOwner();
        px::unload_form(f);
    });
    px::ShowModalOwned(px::load_form("Scrb"), menu);
    EXPECT_EQ(seen, menu);
    EXPECT_EQ(px::GetModalOwner(), nullptr);
    EXPECT_EQ(modals, (std::vector<std::string>{"Scrb"}));
}

}  // namespace
}  // namespace pxtest
