// The abbreviation window, over a library entry the test answers.
#include <cstring>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "shell/pxall_entries.h"
#include "shell/ryak.h"
#include "shell/stack.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

using px::Form;
using px::Ryak;

// What the entry answers next, and what it was asked.
struct Answer {
    int32_t rc = 0;
    int16_t status = 0;
    std::string meaning;  // lines of 40 characters, each with CR LF
    std::vector<std::string> asked;
} g_answer;

int32_t fake_get_mean(VbString* abbrev, VbString* mean, int16_t* status) {
    g_answer.asked.emplace_back(abbrev->data, abbrev->len);
    *status = g_answer.status;
    std::memset(mean->data, ' ', mean->len);
    std::memcpy(mean->data, g_answer.meaning.data(), std::min<size_t>(g_answer.meaning.size(), mean->len));
    return g_answer.rc;
}

std::string line40(const std::string& s) { return s + std::string(40 - s.size(), ' ') + "\r\n"; }

class RyakTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        inst->write("PROG/PXDROM01.MSG", "115Menu.\r\n120Guide.\r\n838Not found.\r\n999System error.\r\n");
        ASSERT_TRUE(start());
        menu = px::loaded_form("Gyom");
        g_answer = Answer{};
        px::lib::VBryak_get_mean.entry().set_address(reinterpret_cast<void*>(&fake_get_mean));
    }
    void TearDown() override {
        px::lib::VBryak_get_mean.entry().set_address(nullptr);
        ProgramTest::TearDown();
    }
    // Opens the window over the menu; `inside` drives it, then F3 closes it
    // unless it closed itself.
    void run_window(std::function<void(Ryak&)> inside) {
        on_modal("Ryak", [&](Form& f) {
            auto& ryak = static_cast<Ryak&>(f);
            inside(ryak);
            if (ryak.loaded()) key(ryak, Qt::Key_F3);
        });
        px::ShowModalOwned(px::load_form(Ryak::kName), menu);
    }
    static void type(Ryak& r, const char* text) {
        r.txt_Abbrev->setFocus();
        r.txt_Abbrev->setText(text);
    }
    Form* menu = nullptr;
};

TEST_F(RyakTest, TextsOnOpening) {
    run_window([](Ryak& r) {
        EXPECT_EQ(r.windowTitle(), "Abbreviation");
        EXPECT_EQ(r.lbl_Ttl[1]->text(), "Abbreviation");
        EXPECT_EQ(r.lbl_Ttl[2]->text(), "Meaning");
        EXPECT_EQ(r.cmd_PF(10)->text(), "F10:Exec");
        EXPECT_EQ(r.cmd_PF(11)->text(), "F11:Clr");
        EXPECT_EQ(r.lbl_Msg->text(), "Guide.");
        EXPECT_TRUE(r.txt_Abbrev->text().isEmpty());
        EXPECT_TRUE(r.lbl_Mean->text().isEmpty());
    });
}

TEST_F(RyakTest, LowerCaseEntryIsLookedUpInUpperCase) {
    g_answer.meaning = line40("ANTI-LOCK BRAKE SYSTEM") + line40("(WITH EBD)");
    run_window([&](Ryak& r) {
        type(r, "abs");
        key(r, Qt::Key_F10);
        EXPECT_EQ(r.txt_Abbrev->text(), "ABS");
        EXPECT_EQ(r.lbl_Mean->text(), "ANTI-LOCK BRAKE SYSTEM\n(WITH EBD)");
        EXPECT_EQ(r.lbl_Msg->text(), "Guide.");
    });
    EXPECT_EQ(g_answer.asked, (std::vector<std::string>{"ABS"}));
    EXPECT_EQ(beeps, 0);
}

TEST_F(RyakTest, EnterInTheEntryLooksUpToo) {
    g_answer.meaning = line40("FRONT");
    run_window([&](Ryak& r) {
        type(r, "fr");
        QTest::keyClick(r.txt_Abbrev, Qt::Key_Return);
        EXPECT_EQ(r.lbl_Mean->text(), "FRONT");
    });
    EXPECT_EQ(g_answer.asked.size(), 1u);
}

TEST_F(RyakTest, UnknownAbbreviationEmptiesTheMeaning) {
    g_answer.meaning = line40("FRONT");
    run_window([&](Ryak& r) {
        type(r, "FR");
        key(r, Qt::Key_F10);
        g_answer.status = 1;
        type(r, "ZZ");
        key(r, Qt::Key_F10);
        EXPECT_EQ(r.lbl_Msg->text(), "Not found.");
        EXPECT_TRUE(r.lbl_Mean->text().isEmpty());
        EXPECT_EQ(r.focusWidget(), r.txt_Abbrev);
    });
    EXPECT_EQ(beeps, 1);
}

TEST_F(RyakTest, EmptyEntryBeepsWithoutLookingUp) {
    run_window([&](Ryak& r) {
        r.lbl_Msg->clear();
        key(r, Qt::Key_F10);
        EXPECT_EQ(r.lbl_Msg->text(), "Guide.");
    });
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(g_answer.asked.empty());
}

TEST_F(RyakTest, CdNotAvailableClosesTheWindow) {
    g_answer.status = 4;
    bool closed = false;
    run_window([&](Ryak& r) {
        type(r, "FR");
        key(r, Qt::Key_F10);
        closed = !r.loaded();
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(modals, (std::vector<std::string>{"Ryak"}));
}

TEST_F(RyakTest, LibraryFailureShowsTheDialogAndCloses) {
    g_answer.rc = 14;
    std::string message;
    on_modal("Errm", [&](Form& f) { key(f, Qt::Key_F4); });
    bool closed = false;
    run_window([&](Ryak& r) {
        type(r, "FR");
        key(r, Qt::Key_F10);
        message = r.lbl_Msg->text().toStdString();
        closed = !r.loaded();
    });
    EXPECT_EQ(message, "System error.");
    EXPECT_TRUE(closed);
    EXPECT_EQ(modals, (std::vector<std::string>{"Ryak", "Errm"}));
}

TEST_F(RyakTest, F11ClearsEntryAndMeaning) {
    g_answer.meaning = line40("FRONT");
    run_window([&](Ryak& r) {
        type(r, "FR");
        key(r, Qt::Key_F10);
        key(r, Qt::Key_F11);
        EXPECT_TRUE(r.txt_Abbrev->text().isEmpty());
        EXPECT_TRUE(r.lbl_Mean->text().isEmpty());
        EXPECT_EQ(r.lbl_Msg->text(), "Guide.");
    });
}

TEST_F(RyakTest, F6PrintsTheOwnerScreen) {
    run_window([&](Ryak& r) { key(r, Qt::Key_F6); });
    ASSERT_FALSE(printer.last_image.isNull());
    EXPECT_EQ(printer.last_image.width(), menu->width());
}

TEST_F(RyakTest, EntryHoldsAtMostTheKeyLength) {
    run_window([&](Ryak& r) {
        r.txt_Abbrev->setFocus();
        QTest::keyClicks(r.txt_Abbrev, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        EXPECT_EQ(r.txt_Abbrev->text(), "ABCDEFGHIJKLMNOPQRST");
    });
}

}  // namespace
}  // namespace pxtest
