// The price-file set-up dialog over the set-up menu: the type of the chosen
// file, the dialog's filters, the pass with its next-piece loop and the
// results of the set-up.
#include <QLabel>
#include <QPushButton>

#include "platform/msgbox.h"
#include "setup/stpm.h"
#include "setup/stpr.h"
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

}  // namespace
}  // namespace pxtest
