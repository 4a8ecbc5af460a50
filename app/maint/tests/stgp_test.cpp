// The part-group maintenance screen and its group code pop-up over a scripted
// group work table.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

#include "maint/kgrr.h"
#include "maint/maint_entries.h"
#include "platform/msgbox.h"
#include "maint/stgp.h"
#include "shell/messages.h"
#include "shell/stack.h"
#include "support/fixture.h"
#include "support/group_fake.h"

namespace pxtest {
namespace {

using px::maint::Kgrr;
using px::maint::Stgp;

class StgpTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(start());
        install_group_fake();
    }
    void TearDown() override {
        ProgramTest::TearDown();
        remove_group_fake();
    }
    Stgp& open() {
        px::ScrPush(px::load_form(Stgp::kName));
        settle();
        group_fake().calls.clear();
        return *stgp();
    }
    static Stgp* stgp() { return static_cast<Stgp*>(px::loaded_form(Stgp::kName)); }
    // Types the characters, each into the box that has the focus by then
    // (the first into `w`).
    static void type(QWidget* w, const QString& text) {
        w->setFocus();
        QWidget* target = w;
        for (QChar c : text) {
            QTest::keyClicks(target, QString(c));
            if (QWidget* f = w->window()->focusWidget()) target = f;
        }
    }
    static QString message(int16_t no) {
        QLabel l;
        px::DispMsg(no, &l);
        return l.text();
    }
    static std::vector<std::string> lines(QListWidget* l) {
        std::vector<std::string> out;
        for (int i = 0; i < l->count(); ++i) out.push_back(l->item(i)->text().toStdString());
        return out;
    }
    // A group in PNC entry: the code typed, the description recorded.
    Stgp& group_in_pnc_entry(const char* code) {
        Stgp& s = open();
        type(s.txt_GroupCode, code);
        QTest::keyClick(s.txt_GroupCode, Qt::Key_Return);
        QTest::keyClick(s.txt_Description, Qt::Key_Return);
        EXPECT_EQ(s.entry_mode(), Stgp::kPncEntry);
        return s;
    }
};

TEST_F(StgpTest, OpensInGroupEntryWithItsTexts) {
    Stgp& s = open();
    EXPECT_EQ(s.windowTitle(), "USER PART GROUPS");
    EXPECT_EQ(s.cmd_PF(10)->text().trimmed(), "F10:Exec");
    EXPECT_EQ(s.entry_mode(), Stgp::kGroupEntry);
    EXPECT_TRUE(s.fra_Group->isEnabled());
    EXPECT_FALSE(s.fra_PNC->isEnabled());
    EXPECT_FALSE(s.txt_Description->isEnabled());
}

// A damaged group file was kept aside and made anew: the clerk is told and
// the screen opens on the empty groups.
TEST_F(StgpTest, ARemadeDamagedFileIsToldAndTheScreenOpens) {
    group_fake().rc["VBRemakeGpFile"] = px::maint::lib::kGroupsRemadeDamaged;
    std::vector<std::string> shown;
    plat::set_message_box_hook([&](const std::string& text, const std::string&, uint32_t) {
        shown.push_back(text);
        return static_cast<int32_t>(plat::kIdOk);
    });
    Stgp& s = open();
    plat::set_message_box_hook({});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("PXGRPMEI.BAD"), std::string::npos) << shown[0];
    EXPECT_EQ(stgp(), &s);
    EXPECT_EQ(s.entry_mode(), Stgp::kGroupEntry);
}

TEST_F(StgpTest, TypingRules) {
    const struct {
        const char* box;  // "code", "desc" or "pnc"
        QString typed;
        QString shown;
    } cases[] = {
        {"code", "a", "A"},     {"code", "a-b", "AB"},  {"code", "1.2", "12"}, {"code", "ab c", "AB "},
        {"code", "abcd", "ABC"}, {"desc", "oil, Filter!", "OIL, FILTER!"},    {"pnc", "15a-01", "15A01"},
        {"pnc", "1 a", "1 A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        Stgp& s = open();
        QLineEdit* box = s.txt_GroupCode;
        if (std::string(c.box) == "desc") {
            s.txt_Description->setEnabled(true);
            box = s.txt_Description;
        } else if (std::string(c.box) == "pnc") {
            s.fra_PNC->setEnabled(true);
            box = s.txt_Pnc;
        }
        box->setFocus();
        QTest::keyClicks(box, c.typed);
        EXPECT_EQ(box->text(), c.shown);
        QTest::keyClick(&s, Qt::Key_F4);
        settle();
    }
}

TEST_F(StgpTest, ShortCodeIsPaddedAndANewGroupStarts) {
    Stgp& s = open();
    type(s.txt_GroupCode, "a1");
    QTest::keyClick(s.txt_GroupCode, Qt::Key_Return);
    EXPECT_EQ(s.txt_GroupCode->text(), "A1 ");
    EXPECT_TRUE(s.txt_Description->isEnabled());
    EXPECT_NE(std::find(group_fake().calls.begin(), group_fake().calls.end(), "VBGetGrpName(A1 )"),
              group_fake().calls.end());
}

TEST_F(StgpTest, ThirdCharacterLoadsAKnownGroup) {
    group_fake().groups.push_back({"SRV", "SERVICE", {"15601A", "90341A"}});
    Stgp& s = open();
    type(s.txt_GroupCode, "srv");
    EXPECT_EQ(s.txt_Description->text(), "SERVICE");
    EXPECT_EQ(lines(s.lst_Pnc).size(), 2u);
    EXPECT_EQ(lines(s.lst_Pnc)[0].substr(0, 6), "15601A");
    // Part names from the first data set of the current area (flag 1).
    EXPECT_NE(std::find(group_fake().calls.begin(), group_fake().calls.end(), "VBMakeListGrpPnc(SRV,1)"),
              group_fake().calls.end());
}

TEST_F(StgpTest, GroupMissingWhenItsListIsBuilt) {
    group_fake().groups.push_back({"SRV", "SERVICE", {}});
    group_fake().unknown_list_group = true;
    Stgp& s = open();
    type(s.txt_GroupCode, "SRV");
    EXPECT_EQ(s.lbl_Msg->text(), message(877));
    EXPECT_GE(beeps, 1);
}

TEST_F(StgpTest, EnterInTheDescriptionRecordsTheGroup) {
    Stgp& s = open();
    type(s.txt_GroupCode, "BRK");
    QTest::keyClicks(s.txt_Description, "brakes");
    QTest::keyClick(s.txt_Description, Qt::Key_Return);
    EXPECT_EQ(group_fake().calls.back(), "VBSetGrpCd(BRK,BRAKES)");
    EXPECT_EQ(s.entry_mode(), Stgp::kPncEntry);
    EXPECT_FALSE(s.fra_Group->isEnabled());
    EXPECT_TRUE(s.fra_PNC->isEnabled());
}

TEST_F(StgpTest, SixtiethCharacterRecordsTheGroup) {
    Stgp& s = open();
    type(s.txt_GroupCode, "BRK");
    s.txt_Description->setFocus();
    QTest::keyClicks(s.txt_Description, QString(60, 'x'));
    EXPECT_EQ(group_fake().calls.back(), "VBSetGrpCd(BRK," + std::string(60, 'X') + ")");
    EXPECT_EQ(s.entry_mode(), Stgp::kPncEntry);
}

TEST_F(StgpTest, TheThousandAndFirstGroupIsRefused) {
    Stgp& s = open();
    type(s.txt_GroupCode, "NEW");
    group_fake().rc["VBSetGrpCd"] = 1;
    QTest::keyClick(s.txt_Description, Qt::Key_Return);
    EXPECT_EQ(s.lbl_Msg->text(), message(819));
    EXPECT_EQ(s.entry_mode(), Stgp::kGroupEntry);
    EXPECT_EQ(beeps, 1);
}

TEST_F(StgpTest, StoringPartNameCodes) {
    // What the library gives back in the position: the message, and whether
    // the code stays in the box.
    const struct {
        int16_t position;
        int16_t message;
        bool kept;
    } cases[] = {{0, 156, false}, {-1, 812, true}, {1, 867, true}, {4, Stgp::kMsgCdMissing, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        Stgp& s = group_in_pnc_entry("SRV");
        if (c.position != 0) group_fake().pnc_position["15601A"] = c.position;
        beeps = 0;
        QTest::keyClicks(s.txt_Pnc, "15601a");  // the sixth character stores it
        EXPECT_EQ(s.lbl_Msg->text(), message(c.message));
        EXPECT_EQ(s.txt_Pnc->text(), c.kept ? "15601A" : "");
        EXPECT_EQ(s.lst_Pnc->count(), c.kept ? 0 : 1);
        EXPECT_EQ(beeps, c.kept ? 1 : 0);
        QTest::keyClick(&s, Qt::Key_F4);
        settle();
        group_fake() = GroupFake{};
    }
}

TEST_F(StgpTest, ShortCodeWithEnterAndReplaceInPlace) {
    Stgp& s = group_in_pnc_entry("SRV");
    QTest::keyClicks(s.txt_Pnc, "123");
    QTest::keyClick(s.txt_Pnc, Qt::Key_Return);
    QTest::keyClicks(s.txt_Pnc, "456789");
    ASSERT_EQ(s.lst_Pnc->count(), 2);
    // A double click loads the line for replacement without storing it.
    s.lst_Pnc->item(0)->setSelected(true);
    emit s.lst_Pnc->itemDoubleClicked(s.lst_Pnc->item(0));
    EXPECT_EQ(s.txt_Pnc->text(), "123");
    EXPECT_EQ(s.pnc_edit_position(), 0);
    s.txt_Pnc->clear();
    QTest::keyClicks(s.txt_Pnc, "aaaaaa");
    EXPECT_EQ(lines(s.lst_Pnc)[0].substr(0, 6), "AAAAAA");
    EXPECT_EQ(s.lst_Pnc->count(), 2);
    EXPECT_EQ(s.pnc_edit_position(), -1);
    QTest::keyClicks(s.txt_Pnc, "bbbbbb");  // the next one goes to the end again
    EXPECT_EQ(lines(s.lst_Pnc)[2].substr(0, 6), "BBBBBB");
}

TEST_F(StgpTest, DeleteCodesAndSave) {
    Stgp& s = group_in_pnc_entry("SRV");
    QTest::keyClick(&s, Qt::Key_F10);  // nothing in the list yet
    EXPECT_EQ(s.lbl_Msg->text(), message(851));
    EXPECT_EQ(std::count(group_fake().calls.begin(), group_fake().calls.end(), "VBwrite_group_file"), 0);
    for (const char* p : {"111111", "222222", "333333"}) QTest::keyClicks(s.txt_Pnc, p);
    s.lst_Pnc->item(1)->setSelected(true);
    QTest::keyClick(s.lst_Pnc, Qt::Key_Delete);
    EXPECT_EQ(group_fake().find("SRV")->pncs, (std::vector<std::string>{"111111", "333333"}));
    QTest::keyClick(&s, Qt::Key_F10);
    EXPECT_EQ(group_fake().calls.back(), "VBwrite_group_file");
    EXPECT_EQ(s.entry_mode(), Stgp::kGroupEntry);
    EXPECT_TRUE(s.txt_GroupCode->text().isEmpty());
    EXPECT_EQ(s.lst_Pnc->count(), 0);
    // The line tells of the save and of the group code box that has the
    // keyboard, not of the part-name code box, closed now.
    EXPECT_EQ(s.focusWidget(), s.txt_GroupCode);
    EXPECT_FALSE(s.txt_Pnc->isEnabled());
    EXPECT_EQ(s.lbl_Msg->text(), message(404));
    EXPECT_NE(s.lbl_Msg->text(), message(156));
}

TEST_F(StgpTest, DeletingAGroupWritesTheFilesAtOnce) {
    group_fake().groups.push_back({"SRV", "SERVICE", {"15601A"}});
    Stgp& s = open();
    type(s.txt_GroupCode, "SRV");
    s.cmd_DelGroup->click();
    EXPECT_TRUE(group_fake().groups.empty());
    EXPECT_EQ(group_fake().calls.back(), "VBwrite_group_file");
    EXPECT_TRUE(s.txt_GroupCode->text().isEmpty());
}

TEST_F(StgpTest, FailedSaveTakesTheFailurePath) {
    Stgp& s = group_in_pnc_entry("SRV");
    QTest::keyClicks(s.txt_Pnc, "111111");
    group_fake().rc["VBwrite_group_file"] = 13;
    std::vector<std::string> log;
    on_modal("Errm", [&](px::Form& f) {
        log = inst->log_lines();
        px::unload_form(f);
    });
    QTest::keyClick(&s, Qt::Key_F10);
    settle();
    EXPECT_EQ(stgp(), nullptr);
    EXPECT_EQ(px::ScrName(px::ScrCount()), "Gyom");
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("PXSTGP"), std::string::npos) << log.back();
    EXPECT_NE(log.back().find("VBwrite_group_file"), std::string::npos) << log.back();
}

TEST_F(StgpTest, ReloadEmptiesTheTableWithoutLeakingIt) {
    Stgp& s = open();
    QTest::keyClick(&s, Qt::Key_F11);
    // The items go before the table is emptied.
    EXPECT_EQ(group_fake().calls, (std::vector<std::string>{"VBRemakeGpFile", "VBTermGrpTmp", "VBInitGrpTmp",
                                                            "VBread_group_file"}));
}

TEST_F(StgpTest, EmptyTableOnlyBeeps) {
    Stgp& s = open();
    QTest::keyClick(&s, Qt::Key_F2);
    s.cmd_GroupCode->click();
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(px::loaded_form(Kgrr::kName), nullptr);
    EXPECT_TRUE(printer.calls.empty());
}

TEST_F(StgpTest, GroupCodePopUpHandsTheCodeBack) {
    group_fake().groups = {{"SRV", "SERVICE", {"15601A"}}, {"BRK", "BRAKES", {}}};
    Stgp& s = open();
    type(s.txt_GroupCode, "BRK");
    s.cmd_GroupCode->click();
    auto* k = static_cast<Kgrr*>(px::loaded_form(Kgrr::kName));
    ASSERT_NE(k, nullptr);
    EXPECT_TRUE(k->isVisible());
    EXPECT_EQ(k->lst_Group->count(), 2);
    EXPECT_EQ(k->lst_Group->item(1)->text().left(5), "  BRK");
    // F3 leaves the code as it was.
    QTest::keyClick(k->lst_Group, Qt::Key_Down);
    QTest::keyClick(k, Qt::Key_F3);
    settle();
    EXPECT_EQ(px::loaded_form(Kgrr::kName), nullptr);
    EXPECT_EQ(s.txt_GroupCode->text(), "BRK");

    // The same code chosen again: the code box changes twice, so the group is
    // looked up once more.
    s.cmd_GroupCode->click();
    k = static_cast<Kgrr*>(px::loaded_form(Kgrr::kName));
    group_fake().calls.clear();
    QTest::keyClick(k, Qt::Key_F10);  // not a key of the pop-up
    EXPECT_NE(px::loaded_form(Kgrr::kName), nullptr);
    QTest::keyClick(k->lst_Group, Qt::Key_Return);  // nothing chosen yet
    EXPECT_NE(px::loaded_form(Kgrr::kName), nullptr);
    k->lst_Group->setCurrentRow(1);
    QTest::keyClick(k->lst_Group, Qt::Key_Return);
    settle();
    EXPECT_EQ(px::loaded_form(Kgrr::kName), nullptr);
    EXPECT_EQ(s.txt_GroupCode->text(), "BRK");
    EXPECT_EQ(std::count(group_fake().calls.begin(), group_fake().calls.end(), "VBGetGrpName(BRK)"), 1);
    // The screen has the keyboard back, on the description its rule chose.
    EXPECT_EQ(px::active_form(), &s);
    EXPECT_EQ(QApplication::focusWidget(), s.txt_Description);

    // A mouse press on a line chooses it.
    s.cmd_GroupCode->click();
    k = static_cast<Kgrr*>(px::loaded_form(Kgrr::kName));
    QRect r = k->lst_Group->visualItemRect(k->lst_Group->item(0));
    QTest::mousePress(k->lst_Group->viewport(), Qt::LeftButton, {}, r.center());
    settle();
    EXPECT_EQ(px::loaded_form(Kgrr::kName), nullptr);
    EXPECT_EQ(s.txt_GroupCode->text(), "SRV");
    EXPECT_EQ(s.txt_Description->text(), "SERVICE");
}

}  // namespace
}  // namespace pxtest
