// Help: F1 shows the screen's own help text.
#include <QFontDatabase>
#include <QFontMetrics>
#include <QListWidget>
#include <QPushButton>

#include "shell/codepage.h"
#include "shell/help.h"
#include "shell/help_form.h"
#include "shell/stack.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

using px::Form;

class HelpTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(start());
        menu = px::loaded_form("Gyom");
        on_modal("Help", [this](Form& f) {
            auto& help = static_cast<px::Help&>(f);
            shown.emplace_back();
            for (int i = 0; i < help.lst_Help->count(); ++i) shown.back().push_back(help.lst_Help->item(i)->text().toStdString());
            captions = {help.cmd_PF(3)->text().toStdString(), help.cmd_PF(6)->text().toStdString()};
            key(help, Qt::Key_F3);
        });
    }
    Form* menu = nullptr;
    std::vector<std::vector<std::string>> shown;
    std::vector<std::string> captions;
};

TEST_F(HelpTest, F1OnTheMenuShowsItsHelpFile) {
    key(*menu, Qt::Key_F1);
    EXPECT_EQ(px::GetHelpScreenId(), "PXGYOM");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], (std::vector<std::string>{"MAIN MENU", "", "Choose an item.", "  F1  Help", "  F3  End"}));
    EXPECT_EQ(captions, (std::vector<std::string>{"F3:Back", "F6:Hcpy"}));
    EXPECT_EQ(px::loaded_form("Help"), nullptr);
    // Back on the menu, which is active again.
    EXPECT_EQ(px::active_form(), menu);
}

TEST_F(HelpTest, EachRequestShowsOnlyItsOwnText) {
    inst->write("PROG/PXSCRA01.HLP", "Screen A\r\nline two\r\n");
    px::ShowHelpByName("Scra");
    px::ShowHelpByName("Ryak");  // no help file: an empty list, the window still opens
    key(*menu, Qt::Key_F1);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], (std::vector<std::string>{"Screen A", "line two"}));
    EXPECT_TRUE(shown[1].empty());
    EXPECT_EQ(shown[2][0], "MAIN MENU");
}

// Under code page 932 the help takes the code page's fixed-pitch face: a key
// described in Japanese takes as much room as a Latin description of as
// many bytes, so the columns after it line up.
TEST_F(HelpTest, JapaneseKeyDescriptionsLineUpInTheCodePagesFace) {
    if (QFontDatabase::families(QFontDatabase::Japanese).isEmpty()) GTEST_SKIP() << "no Japanese face installed";
    px::set_ansi_code_page(932);
    // "ヘルプ" (help) in code page 932: three characters of two bytes each.
    inst->write("PROG/PXSCRA01.HLP", "  F1  \x83\x77\x83\x8B\x83\x76  HELP\r\n  F3  RETURN  EXIT\r\n");
    QFont font;
    QStringList lines;
    on_modal("Help", [&](Form& f) {
        auto& help = static_cast<px::Help&>(f);
        font = help.lst_Help->font();
        for (int i = 0; i < help.lst_Help->count(); ++i) lines << help.lst_Help->item(i)->text();
        key(help, Qt::Key_F3);
    });
    px::ShowHelpByName("Scra");
    const QString face = px::oem_font().family();
    px::set_ansi_code_page(1252);
    EXPECT_EQ(font.family(), face);
    ASSERT_EQ(lines.size(), 2);
    ASSERT_TRUE(lines[0].contains(QString::fromUtf8("ヘルプ")));
    const QFontMetrics fm(font);
    EXPECT_EQ(fm.horizontalAdvance(lines[0]), fm.horizontalAdvance(lines[1]));
}

TEST_F(HelpTest, IdIsPxAndTheUpperCasedName) {
    struct Case {
        const char* name;
        const char* id;
    } cases[] = {{"Ryak", "PXRYAK"}, {"Bunz", "PXBUNZ"}, {"Ab", "PXAB  "}, {"Longname", "PXLONG"}};
    on_modal("Help", [](Form& f) { px::unload_form(f); });
    for (const Case& c : cases) {
        px::ShowHelpByName(c.name);
        EXPECT_EQ(px::GetHelpScreenId(), c.id);
    }
}

TEST_F(HelpTest, F6PrintsTheHelpWindow) {
    on_modal("Help", [](Form& f) {
        key(f, Qt::Key_F6);
        key(f, Qt::Key_F3);
    });
    key(*menu, Qt::Key_F1);
    ASSERT_FALSE(printer.last_image.isNull());
    EXPECT_EQ(printer.last_image.width(), 760);
}

}  // namespace
}  // namespace pxtest
