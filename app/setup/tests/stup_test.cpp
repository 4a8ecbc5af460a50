// The catalogue set-up screen and its CD and drive choice dialog: the frames
// as the selection files give them, drive changes, Add/Delete/swap, the
// dialog's replace and append, the hand-back bytes of F10 and its results,
// F11, and the client installation.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "platform/drives.h"
#include "platform/msgbox.h"
#include "setup/stcs.h"
#include "setup/stup.h"
#include "shell/stack.h"
#include "support/setup_test.h"

namespace pxtest {
namespace {

using px::Stcs;
using px::Stup;

class StupTest : public SetupTest {
protected:
    void SetUp() override {
        SetupTest::SetUp();
        // Drives C: (the installation) and D:, E: for the frames.
        plat::set_drive('D', inst->root() + "/WORK");
        plat::set_drive('E', inst->root() + "/MST");
        setup_fakes().catalog = block('1', 'C', {entry("A1", "19990815", '0'), entry("A2", "", '1', '1')}) +
                                block('0', 'D') + block('0', 'C') + block('0', 'E', {entry("B1", "", '0')});
        setup_fakes().frame = block('1', 'C', {entry("F1", "20000101", '1')}) + block('0', 'C');
    }
    Stup& stup() {
        open("Stup");
        return *static_cast<Stup*>(px::loaded_form("Stup"));
    }
    // Opens the dialog of a frame's Add; `during` acts on it.
    void add(Stup& s, int frame, std::function<void(Stcs&)> during) {
        on_modal("Stcs", [during](px::Form& f) {
            auto& d = static_cast<Stcs&>(f);
            during(d);
            if (d.loaded()) px::unload_form(d);
        });
        s.cmd_Add[frame]->click();
        settle();
    }
    static void select(Stcs& d, std::vector<int> rows) {
        d.List_CD->clearSelection();
        for (int r : rows) d.List_CD->item(r)->setSelected(true);
    }
};

TEST_F(StupTest, FramesShowTheSelectionFiles) {
    Stup& s = stup();
    EXPECT_EQ(msg(s), "M169");
    EXPECT_EQ(setup_fakes().calls.front(), "stup_make_tmpfile 0");
    EXPECT_TRUE(s.Chkb_Lang1[0]->isChecked());
    EXPECT_FALSE(s.Chkb_Lang1[1]->isChecked());
    EXPECT_EQ(s.Drive_CD[1]->currentText().toStdString(), "d:");
    EXPECT_EQ(lines(s.lst_Status[0]),
              (std::vector<std::string>{"A1 CD-ROM    08/15/'99", "A2 Hard disk  IN DRIVE  "}));
    EXPECT_EQ(lines(s.lst_Status[3]), std::vector<std::string>{"B1 CD-ROM    "});
    EXPECT_EQ(lines(s.lst_Status[4]), std::vector<std::string>{"F1 Hard disk 01/01/'00"});
    EXPECT_TRUE(lines(s.lst_Status[5]).empty());
    // Filling the frames asked nothing of the drives.
    for (const auto& c : setup_fakes().calls) EXPECT_EQ(c.find("GetSetupedDriveInfo"), std::string::npos) << c;
    EXPECT_EQ(s.SetupInfoLoaded, 1);
}

TEST_F(StupTest, FailedLoadTakesTheSystemErrorPath) {
    setup_fakes().make_rc = 11;
    on_modal("Errm", [](px::Form& f) { key(f, Qt::Key_F4); });
    open("Stup");
    EXPECT_EQ(modals, std::vector<std::string>{"Errm"});
    EXPECT_EQ(px::loaded_form("Stup"), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);
}

TEST_F(StupTest, DriveChangeListsWhatTheDriveHolds) {
    Stup& s = stup();
    setup_fakes().drive_info["1E"] = block('0', 'E', {entry("A1", "20050505", '1')});
    s.Drive_CD[1]->setCurrentText("e:");
    settle();
    EXPECT_EQ(lines(s.lst_Status[1]), std::vector<std::string>{"A1 Hard disk 05/05/'05"});
    // A drive with nothing of the area: the server list is emptied.
    s.Drive_CD[1]->setCurrentText("c:");
    settle();
    EXPECT_TRUE(lines(s.lst_Status[1]).empty());
}

TEST_F(StupTest, AddDeleteAndSwap) {
    Stup& s = stup();
    add(s, 0, [](Stcs& d) {
        // B8 and B9 have no data set directory: the set-up would refuse them.
        EXPECT_EQ(d.List_CD->count(), 9);
        EXPECT_EQ(d.List_CD->item(8)->text().toStdString(), "B7 CD-ROM");
        EXPECT_TRUE(d.opt_Drive[0]->isChecked());
        // Two entries take the hard disk; a click on one alone shows its option.
        select(d, {1, 2});
        d.opt_Drive[1]->click();
        EXPECT_EQ(d.List_CD->item(1)->text().toStdString(), "A2 Hard disk ");
        EXPECT_EQ(d.List_CD->item(2)->text().toStdString(), "B1 Hard disk ");
        select(d, {0});
        d.List_CD_Click();
        EXPECT_TRUE(d.opt_Drive[0]->isChecked());
        select(d, {1});
        d.List_CD_Click();
        EXPECT_TRUE(d.opt_Drive[1]->isChecked());
        select(d, {1, 2, 3});
        d.cmd_Ok->click();
    });
    EXPECT_EQ(s.current_frame(), 0);
    EXPECT_EQ(lines(s.lst_Status[0]), (std::vector<std::string>{"A1 CD-ROM    08/15/'99", "A2 Hard disk ",
                                                                "B1 Hard disk ", "B2 CD-ROM"}));
    EXPECT_EQ(msg(s), "M169");
    s.lst_Status[0]->item(0)->setSelected(true);
    s.lst_Status_DblClick(0);
    EXPECT_EQ(lines(s.lst_Status[0])[0], "A1 Hard disk ");
    s.lst_Status[0]->clearSelection();
    s.lst_Status[0]->item(1)->setSelected(true);
    s.lst_Status[0]->item(3)->setSelected(true);
    s.cmd_Del[0]->click();
    EXPECT_EQ(lines(s.lst_Status[0]), (std::vector<std::string>{"A1 Hard disk ", "B1 Hard disk "}));
}

TEST_F(StupTest, DialogReplacesEveryLineOfTheKindAndCancelChangesNothing) {
    Stup& s = stup();
    s.lst_Status[2]->addItem("B1 CD-ROM    ");
    s.lst_Status[2]->addItem("A1 CD-ROM    ");
    s.lst_Status[2]->addItem("B1 Hard disk ");
    add(s, 2, [](Stcs& d) {
        select(d, {2});
        d.opt_Drive[1]->click();
        d.cmd_Cancel->click();
    });
    EXPECT_EQ(lines(s.lst_Status[2]), (std::vector<std::string>{"B1 CD-ROM    ", "A1 CD-ROM    ", "B1 Hard disk "}));
    add(s, 2, [](Stcs& d) {
        select(d, {2});
        d.opt_Drive[1]->click();
        d.cmd_Ok->click();
    });
    EXPECT_EQ(lines(s.lst_Status[2]), (std::vector<std::string>{"B1 Hard disk ", "A1 CD-ROM    ", "B1 Hard disk "}));
    // OK with nothing selected leaves the list.
    add(s, 2, [](Stcs& d) { d.cmd_Ok->click(); });
    EXPECT_EQ(lines(s.lst_Status[2]).size(), 3u);
}

TEST_F(StupTest, AnEleventhCdIsRefused) {
    Stup& s = stup();
    // Two lines of CDs the dialog does not offer, beside its nine.
    s.lst_Status[1]->addItem("X1 CD-ROM    ");
    s.lst_Status[1]->addItem("X2 CD-ROM    ");
    bool stayed = false;
    add(s, 1, [&](Stcs& d) {
        d.List_CD->selectAll();
        answers = {plat::kIdOk};
        d.cmd_Ok->click();
        stayed = d.loaded();
        select(d, {0, 1, 2, 3, 4, 5, 6, 7});
        d.cmd_Ok->click();
    });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(asked, std::vector<std::string>{"M880"});
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(lines(s.lst_Status[1]).size(), 10u);
    // The frame-number frames offer two CDs only.
    add(s, 5, [](Stcs& d) { EXPECT_EQ(d.List_CD->count(), 2); });
}

TEST_F(StupTest, F10HandsBackTheChoiceAndRunsTheSetUp) {
    Stup& s = stup();
    s.Chkb_Lang1[1]->setChecked(true);
    s.Chkb_Lang1[4]->setChecked(false);
    add(s, 1, [](Stcs& d) {
        select(d, {0});
        d.cmd_Ok->click();
    });
    key(s, Qt::Key_F10);
    settle();
    EXPECT_EQ(setup_fakes().calls.back(), "stup_main_proc");
    // A line longer than 13 characters (a date or the mark) hands back the literal issue.
    std::string expected_catalog = block('1', 'C', {entry("A1", "yyyymmdd", '0'), entry("A2", "yyyymmdd", '1', '1')}) +
                                   block('1', 'D', {entry("A1", "", '0')}) + block('0', 'C') +
                                   block('0', 'E', {entry("B1", "", '0')});
    EXPECT_EQ(setup_fakes().run_catalog, expected_catalog);
    // An unticked frame-number frame hands back blanks, whatever its list shows.
    EXPECT_EQ(setup_fakes().run_frame, block('0', ' ') + block('0', ' '));
    // Result 0: back to the set-up menu's place; the work files are gone.
    EXPECT_EQ(px::loaded_form("Stup"), nullptr);
    EXPECT_FALSE(inst->exists("CATALOG.TMP"));
    EXPECT_FALSE(inst->exists("FRAME.TMP"));
}

TEST_F(StupTest, F10Results) {
    struct Case {
        int32_t rc;
        bool stays;
        std::string message;
        int beeps;
        std::vector<std::string> modals;
    } const cases[] = {
        {871, true, "M871", 1, {}},
        {884, true, "M884", 1, {}},
        {4, false, "", 0, {}},
        {13, false, "", 0, {"Errm"}},
    };
    on_modal("Errm", [](px::Form& f) { key(f, Qt::Key_F4); });
    for (const auto& c : cases) {
        setup_fakes().run_rc = c.rc;
        beeps = 0;
        modals.clear();
        Stup& s = stup();
        key(s, Qt::Key_F10);
        settle();
        Stup* left = static_cast<Stup*>(px::loaded_form("Stup"));
        EXPECT_EQ(left != nullptr, c.stays) << c.rc;
        if (left) {
            EXPECT_EQ(msg(*left), c.message) << c.rc;
        }
        if (c.modals.empty()) {
            EXPECT_EQ(beeps, c.beeps) << c.rc;  // the error dialog beeps itself
        }
        EXPECT_EQ(modals, c.modals) << c.rc;
        if (left) {
            // A second F10 writes the files again.
            setup_fakes().run_catalog.clear();
            key(*left, Qt::Key_F10);
            settle();
            EXPECT_EQ(setup_fakes().run_catalog.size(), 488u);
            key(*left, Qt::Key_F4);
            settle();
        }
        EXPECT_EQ(px::ScrCount(), 1) << c.rc;
    }
}

TEST_F(StupTest, F11DiscardsTheEdits) {
    Stup& s = stup();
    s.cmd_Del[0]->click();
    s.lst_Status[0]->selectAll();
    s.cmd_Del[0]->click();
    s.Drive_CD[0]->setCurrentText("d:");
    settle();
    size_t before = setup_fakes().calls.size();
    setup_fakes().drive_info["0C"] = block('0', 'C', {entry("B5", "", '0')});
    key(s, Qt::Key_F11);
    settle();
    EXPECT_EQ(setup_fakes().calls[before], "stup_make_tmpfile 0");
    EXPECT_EQ(s.Drive_CD[0]->currentText().toStdString(), "c:");
    // The refill runs no drive check: the list is the selection file's alone.
    EXPECT_EQ(lines(s.lst_Status[0]),
              (std::vector<std::string>{"A1 CD-ROM    08/15/'99", "A2 Hard disk  IN DRIVE  "}));
    EXPECT_EQ(setup_fakes().calls.size(), before + 1);
}

TEST_F(StupTest, ClientInstallation) {
    setup_fakes().client = 1;
    setup_fakes().client_drives = {"1E"};
    Stup& s = stup();
    EXPECT_EQ(setup_fakes().calls.front(), "stup_make_tmpfile 1");
    for (int i = 0; i < Stup::kFrames; ++i) {
        EXPECT_FALSE(s.cmd_Add[i]->isEnabled());
        EXPECT_FALSE(s.cmd_Del[i]->isEnabled());
        EXPECT_FALSE(s.lst_Status[i]->isEnabled());
    }
    // A drive the check refuses goes back to the frame's drive, and a ticked
    // box on it is unticked.
    s.STUP_Select_Status_Frame(1);
    s.Drive_CD[1]->setCurrentText("c:");
    settle();
    EXPECT_EQ(s.Drive_CD[1]->currentText().toStdString(), "d:");
    s.Chkb_Lang1[1]->setChecked(true);
    settle();
    EXPECT_FALSE(s.Chkb_Lang1[1]->isChecked());
    s.Drive_CD[1]->setCurrentText("e:");
    settle();
    EXPECT_EQ(s.Drive_CD[1]->currentText().toStdString(), "e:");
    s.Chkb_Lang1[1]->setChecked(true);
    key(s, Qt::Key_F10);
    settle();
    EXPECT_EQ(setup_fakes().calls.back(), "stup_set_client");
    for (const auto& c : setup_fakes().calls) EXPECT_NE(c, "stup_main_proc");
    EXPECT_EQ(setup_fakes().run_catalog.substr(122, 2), "1E");
}

}  // namespace
}  // namespace pxtest
