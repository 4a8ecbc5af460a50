// The system settings screen: what it shows of PXDROM.SYS, what F10 stages
// and writes, the missing text files (870), the export-program lists and the
// failure paths.
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "platform/drives.h"
#include "pxall/env.h"
#include "setup/siup.h"
#include "shell/stack.h"
#include "support/setup_test.h"

namespace pxtest {
namespace {

using px::Siup;

const char* const kSys =
    "ECRAM=C:\\WORK\r\n"
    "ECMST=C:\\MST\r\n"
    "ECMSTALL=EU:C,JP:D\r\n"
    "CRNTAREA=GR\r\n"
    "LANGUAGE=JAPANESE\r\n"
    "MENULANG=OTHER\r\n"
    "PRICE=D:\r\n"
    "LOCALP=C:\r\n"
    "EXPPFSAD=C:\\TOOLS\\EDIT.EXE\r\n"
    "EXPPPNHO=C:\\A1,C:\\A2,C:\\A3,C:\\A4,C:\\A5,C:\\A6,C:\\A7,C:\\A8,C:\\A9\r\n"
    "ECFIL=C:\\PROG\r\n";

class SiupTest : public SetupTest {
protected:
    void SetUp() override {
        SetupTest::SetUp();
        plat::set_drive('D', inst->root() + "/WORK");
    }
    Siup& siup(const std::string& sys = kSys) {
        inst->write("PXDROM.SYS", sys);
        open("Siup");
        return *static_cast<Siup*>(px::loaded_form("Siup"));
    }
    std::vector<std::string> staged() const {
        std::vector<std::string> out;
        for (const auto& c : setup_fakes().calls)
            if (c.rfind("set ", 0) == 0 || c == "Write_Initial_Data" || c.rfind("Check_ScrMsgFile", 0) == 0 ||
                c == "Reload_ScrMsgFile")
                out.push_back(c);
        return out;
    }
};

TEST_F(SiupTest, ShowsTheEnvironmentFile) {
    Siup& s = siup();
    EXPECT_EQ(msg(s), "M152");
    EXPECT_EQ(s.windowTitle().toStdString(), "SYSTEM SETTINGS");
    EXPECT_TRUE(s.opt_Country[0]->isEnabled());
    EXPECT_FALSE(s.opt_Country[1]->isEnabled());
    EXPECT_FALSE(s.opt_Country[2]->isEnabled());
    EXPECT_TRUE(s.opt_Country[3]->isEnabled());
    EXPECT_TRUE(s.opt_Country[1]->isChecked());
    // A data language without a button selects none; OTHER is button 9.
    EXPECT_EQ(Siup::selected(s.data_lang_group), 0);
    EXPECT_EQ(Siup::selected(s.lang_group), 9);
    EXPECT_EQ(s.lbl_Index[0]->text().toStdString(), "English");
    EXPECT_EQ(s.Drv_Price->currentText().toStdString(), "d:");
    EXPECT_EQ(s.Drv_Localp->currentText().toStdString(), "c:");
    EXPECT_EQ(s.txt_IntfF->text().toStdString(), "C:\\TOOLS\\EDIT.EXE");
    EXPECT_EQ(lines(s.lst_IntfP), (std::vector<std::string>{"C:\\A1", "C:\\A2", "C:\\A3", "C:\\A4", "C:\\A5",
                                                            "C:\\A6", "C:\\A7", "C:\\A8"}));
}

TEST_F(SiupTest, ValuesAsTheyAreRead) {
    struct Case {
        std::string lines;
        int area, data, menu;
        std::vector<std::string> programs;
    } const cases[] = {
        {"CRNTAREA=\r\nLANGUAGE=FRENCH\r\nMENULANG=GERMANY\r\nEXPPPNHO=C:\\ONE\r\n", 3, 3, 4, {"C:\\ONE"}},
        {"CRNTAREA=US\r\nLANGUAGE=SPANISH\r\nMENULANG=SPANISH\r\nEXPPPNHO=\r\n", 2, 5, 5, {}},
        {"CRNTAREA=EU\r\nLANGUAGE=GERMANY\r\nMENULANG=JAPANESE\r\nEXPPPNHO=C:\\A,C:\\B,X\r\n", 0, 4, 0,
         {"C:\\A", "C:\\B"}},
    };
    for (const auto& c : cases) {
        Siup& s = siup("ECMSTALL=EU:C,GR:C,US:C,JP:C\r\n" + c.lines);
        EXPECT_EQ(s.country_group->checkedId(), c.area) << c.lines;
        EXPECT_EQ(Siup::selected(s.data_lang_group), c.data) << c.lines;
        EXPECT_EQ(Siup::selected(s.lang_group), c.menu) << c.lines;
        EXPECT_EQ(lines(s.lst_IntfP), c.programs) << c.lines;
        px::unload_form(s);
        settle();
    }
}

TEST_F(SiupTest, F10StagesWritesAndReloads) {
    Siup& s = siup();
    setup_fakes().written_sys = "ECMSTALL=EU:C,JP:D\r\nCRNTAREA=GR\r\nMENULANG=FRENCH\r\nEXPPPNHO=\r\n";
    s.opt_Lang[3]->click();
    s.lst_IntfP->setCurrentRow(0);
    s.cmd_Del1->click();
    key(s, Qt::Key_F10);
    settle();
    // The disabled area is not stored, and the unknown data language is kept.
    EXPECT_EQ(staged(), (std::vector<std::string>{
                            "Check_ScrMsgFile 3", "set 2 3", "set 3 D:", "set 4 C:",
                            "set 5 C:\\A2,C:\\A3,C:\\A4,C:\\A5,C:\\A6,C:\\A7,C:\\A8", "set 6 C:\\TOOLS\\EDIT.EXE",
                            "Write_Initial_Data", "Reload_ScrMsgFile"}));
    EXPECT_EQ(msg(s), "M402");
    // The screen shows the file as written.
    EXPECT_EQ(Siup::selected(s.lang_group), 3);
    EXPECT_TRUE(lines(s.lst_IntfP).empty());
    EXPECT_NE(px::loaded_form("Siup"), nullptr);
}

TEST_F(SiupTest, EmptyProgramsAreWrittenEmpty) {
    Siup& s = siup("ECMSTALL=EU:C\r\nCRNTAREA=EU\r\nLANGUAGE=ENGLISH\r\nMENULANG=ENGLISH\r\nEXPPPNHO=C:\\ONE\r\n");
    s.lst_IntfP->setCurrentRow(0);
    s.cmd_Del1->click();
    s.cmd_Del2->click();
    key(s, Qt::Key_F10);
    settle();
    EXPECT_EQ(staged(), (std::vector<std::string>{"Check_ScrMsgFile 1", "set 2 1", "set 0 0", "set 1 1", "set 3 C:",
                                                  "set 4 C:", "set 5 ", "set 6 ", "Write_Initial_Data",
                                                  "Reload_ScrMsgFile"}));
}

TEST_F(SiupTest, MissingTextFilesStopF10) {
    Siup& s = siup();
    setup_fakes().scrmsg_rc[9] = -1;
    key(s, Qt::Key_F10);
    settle();
    EXPECT_EQ(msg(s), "M870");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(staged(), std::vector<std::string>{"Check_ScrMsgFile 9"});
    EXPECT_EQ(Siup::selected(s.lang_group), 9);
}

// Settings whose line the next start could not read: the library writes
// nothing, and the screen says so and keeps the clerk's choices.
TEST_F(SiupTest, SettingsTooLongToStoreAreRefused) {
    Siup& s = siup();
    setup_fakes().write_rc = 15;
    s.opt_Lang[3]->click();
    key(s, Qt::Key_F10);
    settle();
    EXPECT_EQ(msg(s), "M869");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(staged().back(), "Write_Initial_Data");
    EXPECT_EQ(Siup::selected(s.lang_group), 3);
    EXPECT_EQ(lines(s.lst_IntfP).size(), 8u);
    EXPECT_TRUE(modals.empty());
    EXPECT_NE(px::loaded_form("Siup"), nullptr);
}

// The screen shows what the start-up reads: nothing of a line too long for
// it, nor of the lines after it.
TEST_F(SiupTest, ALineTooLongForTheStartUpIsNotShown) {
    const std::string programs = "C:\\A.EXE," + std::string(pxall::kEnvLineMax - 18, 'B');
    for (size_t extra : {0, 1}) {
        Siup& s = siup("MENULANG=FRENCH\r\nEXPPPNHO=" + programs + std::string(extra, 'B') +
                       "\r\nEXPPFSAD=C:\\ED.EXE\r\nPRICE=D:\r\n");
        EXPECT_EQ(Siup::selected(s.lang_group), 3);
        EXPECT_EQ(lines(s.lst_IntfP).size(), extra == 0 ? 2u : 0u) << extra;
        EXPECT_EQ(s.txt_IntfF->text().toStdString(), extra == 0 ? "C:\\ED.EXE" : "") << extra;
        px::unload_form(s);
        settle();
    }
}

TEST_F(SiupTest, ExportProgramsFromTheFileDialog) {
    Siup& s = siup("EXPPPNHO=C:\\A1,C:\\A2,C:\\A3,C:\\A4,C:\\A5,C:\\A6,C:\\A7\r\n");
    chosen = {"X.EXE", "Y.EXE", "", "Z.EXE"};
    s.cmd_Add1->click();
    EXPECT_EQ(lines(s.lst_IntfP).size(), 8u);
    s.cmd_Add1->click();  // a ninth program: nothing happens
    EXPECT_EQ(lines(s.lst_IntfP).size(), 8u);
    EXPECT_EQ(filters.front(), "Exe Files (*.exe)|*.exe|All Files (*.*)|*.*");
    s.cmd_Add2->click();  // cancelled
    EXPECT_EQ(s.txt_IntfF->text().toStdString(), "");
    s.cmd_Add2->click();
    // Stored as the drive path, beside the others.
    EXPECT_EQ(s.txt_IntfF->text().toStdString(), "C:\\Z.EXE");
    EXPECT_EQ(lines(s.lst_IntfP).back(), "C:\\X.EXE");
    s.lst_IntfP->setCurrentRow(-1);
    s.cmd_Del1->click();  // no selection: nothing happens
    EXPECT_EQ(lines(s.lst_IntfP).size(), 8u);
}

TEST_F(SiupTest, Failures) {
    on_modal("Errm", [](px::Form& f) { key(f, Qt::Key_F4); });
    Siup& s = siup();
    setup_fakes().write_rc = 13;
    key(s, Qt::Key_F10);
    settle();
    EXPECT_EQ(modals, std::vector<std::string>{"Errm"});
    EXPECT_EQ(px::loaded_form("Siup"), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);

    inst->remove("PXDROM.SYS");
    open("Siup");
    settle();
    EXPECT_EQ(modals.size(), 2u);
    EXPECT_EQ(px::loaded_form("Siup"), nullptr);
}

}  // namespace
}  // namespace pxtest
