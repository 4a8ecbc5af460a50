// The screen stack over the real main menu, with test screens.
#include <QLabel>

#include "shell/gyom.h"
#include "shell/stack.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

using px::Form;

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
