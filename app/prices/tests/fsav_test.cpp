// The saved-list list against a scripted saved-list library: the lines,
// opening, deleting and the ways out.
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include "prices/fsad.h"
#include "prices/fsav.h"
#include "shell/stack.h"
#include "support/prices_test.h"

namespace pxtest {
namespace {

using px::Fsav;

class FsavTest : public PricesTest {
protected:
    void SetUp() override {
        PricesTest::SetUp();
        inst->write("MST/PXIF0001.SAV", save_file_bytes("001", {"1234567890AB02"}));
    }
    void lists(int n) {
        auto& r = prices_fakes().list_records;
        r.clear();
        for (int i = 1; i <= n; ++i)
            r.push_back(save_list_record(i, i, "VIN" + std::to_string(i), "ABC1234-5678901", "NOTE " + std::to_string(i),
                                         "070326", "101502"));
    }
    Fsav& open_list() { return static_cast<Fsav&>(open("Fsav")); }
    static std::vector<std::string> texts(Fsav& f) {
        std::vector<std::string> out;
        for (int i = 0; i < f.lst_SaveFile->count(); ++i) out.push_back(f.lst_SaveFile->item(i)->text().toStdString());
        return out;
    }
    static void select(Fsav& f, std::initializer_list<int> rows) {
        for (int r : rows) f.lst_SaveFile->item(r)->setSelected(true);
    }
    int count(const std::string& prefix) const {
        int n = 0;
        for (const auto& c : prices_fakes().calls) n += c.rfind(prefix, 0) == 0;
        return n;
    }
};

TEST_F(FsavTest, EachRecordIsALine) {
    lists(101);
    Fsav& f = open_list();
    ASSERT_EQ(f.lst_SaveFile->count(), 101);
    std::string l = texts(f)[0];
    EXPECT_EQ(l, " 01     0001      VIN1                ABC1234-5678901  NOTE 1                          07/03/26  "
                 "10:15:02");
    EXPECT_EQ(l.size(), 105u);
    EXPECT_EQ(texts(f)[99].substr(1, 2), "00");
    EXPECT_EQ(texts(f)[100].substr(1, 2), "01");
    EXPECT_EQ(f.lst_SaveFile->item(100)->data(Qt::UserRole).toInt(), 101);
    EXPECT_EQ(msg(f), "M113");
    EXPECT_EQ(count("fsav_reset_mstflag"), 1);
}

TEST_F(FsavTest, OpenNeedsExactlyOneLine) {
    lists(3);
    Fsav& f = open_list();
    beeps = 0;
    key(f, Qt::Key_F10);
    EXPECT_EQ(msg(f), "M852");
    select(f, {0, 2});
    key(f, Qt::Key_F10);
    EXPECT_EQ(msg(f), "M815");
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(count("fsad_check_flno"), 0);
    EXPECT_TRUE(f.loaded());
}

TEST_F(FsavTest, OpeningMarksInUseAndPushesTheEditor) {
    lists(3);
    Fsav& f = open_list();
    select(f, {1});
    key(f, Qt::Key_F10);
    settle();
    EXPECT_EQ(px::loaded_form("Fsav"), nullptr);
    EXPECT_EQ(px::ScrName(px::ScrCount()), "Fsad");
    EXPECT_NE(std::find(prices_fakes().calls.begin(), prices_fakes().calls.end(), "fsav_check_saveFileflag 2 1"),
              prices_fakes().calls.end());
    EXPECT_FALSE(inst->exists("WORK/pxfsav.tmp"));
    // Back from the editor: the list is built again and the mark released.
    key(*px::loaded_form("Fsad"), Qt::Key_F3);
    settle();
    ASSERT_NE(px::loaded_form("Fsav"), nullptr);
    EXPECT_EQ(count("fsav_reset_mstflag"), 2);
}

TEST_F(FsavTest, ADoubleClickOpensTheLineClicked) {
    lists(3);
    Fsav& f = open_list();
    select(f, {0});
    emit f.lst_SaveFile->itemDoubleClicked(f.lst_SaveFile->item(2));
    settle();
    EXPECT_NE(std::find(prices_fakes().calls.begin(), prices_fakes().calls.end(), "fsad_check_flno 3"),
              prices_fakes().calls.end());
    EXPECT_EQ(px::ScrName(px::ScrCount()), "Fsad");
}

TEST_F(FsavTest, RefusedOpensClearTheCurrentList) {
    for (int16_t rc : {806, 858}) {
        SCOPED_TRACE(rc);
        lists(2);
        Fsav& f = open_list();
        prices_fakes().check_rc[1] = rc;
        beeps = 0;
        select(f, {0});
        key(f, Qt::Key_F10);
        EXPECT_EQ(msg(f), "M" + std::to_string(rc));
        EXPECT_EQ(beeps, 1);
        EXPECT_EQ(prices_fakes().current, 0);
        EXPECT_EQ(prices_fakes().calls.back(), "fsav_clear_SelSaveflno");
        EXPECT_TRUE(f.lst_SaveFile->item(0)->isSelected());
        key(f, Qt::Key_F4);
        settle();
    }
}

TEST_F(FsavTest, NoCurrentListEndsQuietlyWithThePrompt) {
    lists(2);
    Fsav& f = open_list();
    prices_fakes().check_flno_rc = 807;
    select(f, {0});
    key(f, Qt::Key_F10);
    EXPECT_EQ(msg(f), "M113");
    EXPECT_TRUE(f.loaded());
    EXPECT_EQ(count("fsav_check_saveFileflag"), 0);
}

TEST_F(FsavTest, DeletionStopsAtAListInUseAndRenumbers) {
    lists(3);
    Fsav& f = open_list();
    prices_fakes().check_rc[2] = 856;
    select(f, {0, 1, 2});
    beeps = 0;
    key(f, Qt::Key_F2);
    EXPECT_EQ(msg(f), "M856");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(count("fsav_svfile_delete"), 1);
    ASSERT_EQ(f.lst_SaveFile->count(), 2);
    EXPECT_EQ(texts(f)[0].substr(0, 12), " 01     0002");
    EXPECT_EQ(texts(f)[1].substr(0, 12), " 02     0003");
    EXPECT_TRUE(f.lst_SaveFile->selectedItems().isEmpty());
}

TEST_F(FsavTest, AFileGoneEndsTheDeletionWithoutUpdate) {
    lists(2);
    Fsav& f = open_list();
    prices_fakes().delete_rc[2] = 806;
    select(f, {0, 1});
    key(f, Qt::Key_F2);
    EXPECT_EQ(msg(f), "M806");
    EXPECT_EQ(f.lst_SaveFile->count(), 2);
}

TEST_F(FsavTest, DeletingEveryLineGoesToTheMenu) {
    lists(2);
    Fsav& f = open_list();
    select(f, {0, 1});
    f.lst_SaveFile->setFocus();
    QTest::keyClick(f.lst_SaveFile, Qt::Key_Delete);
    settle();
    EXPECT_EQ(px::loaded_form("Fsav"), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);
    EXPECT_FALSE(inst->exists("WORK/pxfsav.tmp"));
}

TEST_F(FsavTest, RenumberingAfterADeletionKeepsTheFirstTwoDigits) {
    lists(111);
    Fsav& f = open_list();
    select(f, {0});
    key(f, Qt::Key_F2);
    ASSERT_EQ(f.lst_SaveFile->count(), 110);
    EXPECT_EQ(texts(f)[98].substr(1, 2), "99");
    EXPECT_EQ(texts(f)[99].substr(1, 2), "10");
    EXPECT_EQ(texts(f)[109].substr(1, 2), "11");
}

TEST_F(FsavTest, EnterTogglesAndF11Clears) {
    lists(2);
    Fsav& f = open_list();
    f.lst_SaveFile->setFocus();
    f.lst_SaveFile->setCurrentRow(1, QItemSelectionModel::NoUpdate);
    key(f, Qt::Key_Return);
    EXPECT_TRUE(f.lst_SaveFile->item(1)->isSelected());
    key(f, Qt::Key_Return);
    EXPECT_FALSE(f.lst_SaveFile->item(1)->isSelected());
    select(f, {0, 1});
    key(f, Qt::Key_F11);
    EXPECT_TRUE(f.lst_SaveFile->selectedItems().isEmpty());
}

TEST_F(FsavTest, AnEmptyListAnswers852) {
    lists(0);
    Fsav& f = open_list();
    f.lst_SaveFile->setFocus();
    key(f, Qt::Key_Return);  // no line: nothing happens
    key(f, Qt::Key_F2);
    EXPECT_EQ(msg(f), "M852");
    key(f, Qt::Key_F10);
    EXPECT_EQ(msg(f), "M852");
}

TEST_F(FsavTest, AFailedListingEndsAtTheMenu) {
    prices_fakes().exec_main_rc = 11;
    open("Fsav");
    settle();
    EXPECT_EQ(px::loaded_form("Fsav"), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);
    EXPECT_NE(std::find(modals.begin(), modals.end(), "Errm"), modals.end());
    EXPECT_EQ(count("fsav_reset_mstflag"), 0);
    EXPECT_TRUE(errm_text.find("From_Load") != std::string::npos) << errm_text;
}

TEST_F(FsavTest, BackAndMenuDeleteTheListingFile) {
    for (int k : {Qt::Key_F3, Qt::Key_F4}) {
        lists(1);
        Fsav& f = open_list();
        ASSERT_TRUE(inst->exists("WORK/pxfsav.tmp"));
        key(f, k);
        settle();
        EXPECT_FALSE(inst->exists("WORK/pxfsav.tmp"));
        EXPECT_EQ(px::loaded_form("Fsav"), nullptr);
    }
}

}  // namespace
}  // namespace pxtest
