// The saved-list editor on save data files written by the test: opening,
// editing, saving back and the hand-over to the export dialog.
#include <cerrno>
#include <filesystem>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "prices/fsad.h"
#include "prices/save_data.h"
#include "shell/price_export_handover.h"
#include "shell/binding.h"
#include "shell/stack.h"
#include "support/prices_test.h"

namespace pxtest {
namespace {

using px::Fsad;

std::string part(const std::string& pn, const std::string& qty) {
    return (pn + std::string(12, ' ')).substr(0, 12) + qty;
}

class FsadTest : public PricesTest {
protected:
    Fsad* open_file(const std::string& bytes) {
        inst->write("MST/PXIF0001.SAV", bytes);
        prices_fakes().current = 1;
        open("Fsad");
        settle();
        return static_cast<Fsad*>(px::loaded_form("Fsad"));
    }
    static std::vector<std::string> lines(Fsad& f) {
        std::vector<std::string> out;
        for (int i = 0; i < f.lst_PartNumber->count(); ++i)
            out.push_back(f.lst_PartNumber->item(i)->text().toStdString());
        return out;
    }
    static void enter(Fsad& f, const QString& b0, const QString& b1, const QString& b2, const QString& qty) {
        f.txt_PNumber[0]->setText(b0);
        f.txt_PNumber[1]->setText(b1);
        f.txt_PNumber[2]->setText(b2);
        f.txt_Qty->setText(qty);
        f.cmd_AddDel[0]->click();
    }
    std::string saved() const { return file("MST/PXIF0001.SAV"); }
};

TEST_F(FsadTest, CountsWithAndWithoutLeadingZerosOpenAlike) {
    std::vector<std::string> parts = {part("1234567890AB", "02"), part("11111222223", "10")};
    for (const char* count : {"002", "2  ", " 2 "}) {
        SCOPED_TRACE(count);
        Fsad* f = open_file(save_file_bytes(count, parts));
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(lines(*f), (std::vector<std::string>{" 001  12345-67890-AB   02", " 002  11111-22222-3    10"}));
        EXPECT_EQ(f->lbl_FileID->text(), "0001");
        EXPECT_EQ(f->lbl_ProdDate->text(), "2003-04");
        EXPECT_EQ(f->lbl_FrameModel->text(), "(ABC1234-5678901)");
        EXPECT_EQ(f->lbl_Catalog[1]->text(), "(0101-9912 DEMO SEDAN          )");
        EXPECT_EQ(f->lbl_Count->text(), "2");
        key(*f, Qt::Key_F4);
        settle();
    }
}

TEST_F(FsadTest, ABadFileEndsAtTheMenu) {
    struct Case {
        std::string bytes;
        bool logged;
    };
    // A count that is not a number, a count beyond the records, a short header.
    for (const Case& c : {Case{save_file_bytes("0x5", {}), true}, Case{save_file_bytes("003", {part("1", "01")}), true},
                          Case{"SHORT", true}}) {
        modals.clear();
        Fsad* f = open_file(c.bytes);
        EXPECT_EQ(f, nullptr);
        EXPECT_EQ(px::ScrCount(), 1);
        EXPECT_NE(std::find(modals.begin(), modals.end(), "Errm"), modals.end());
    }
    EXPECT_TRUE(errm_text.find("PXFSAD") != std::string::npos) << errm_text;
}

TEST_F(FsadTest, NoCurrentListEndsAtTheMenu) {
    inst->write("MST/PXIF0001.SAV", save_file_bytes("000", {}));
    prices_fakes().current = 0;
    open("Fsad");
    settle();
    EXPECT_EQ(px::loaded_form("Fsad"), nullptr);
    EXPECT_EQ(modals, std::vector<std::string>{"Errm"});
}

TEST_F(FsadTest, EnteredLinesAndTheirQuantities) {
    Fsad* f = open_file(save_file_bytes("000", {}));
    ASSERT_NE(f, nullptr);
    enter(*f, "12345", "67890", "AB", "3");
    enter(*f, "123", "45678", "90", "");
    enter(*f, "11111", "22222", "", "0");
    EXPECT_EQ(lines(*f), (std::vector<std::string>{" 001  12345-67890-AB   03", " 002  12345-67890-     01",
                                                   " 003  11111-22222-     00"}));
    // A blank part number is refused.
    enter(*f, "", "", "", "4");
    EXPECT_EQ(msg(*f), "M124");
    EXPECT_EQ(f->lst_PartNumber->count(), 3);
    key(*f, Qt::Key_F11);
    EXPECT_EQ(msg(*f), "M886");
    EXPECT_EQ(saved(), save_file_bytes("3", {"1234567890AB03", "1234567890  01", "1111122222  00"}));
    EXPECT_FALSE(inst->exists("WORK/PXFSAD.TMP"));
}

TEST_F(FsadTest, EnterInTheQuantityAddsTheLine) {
    Fsad* f = open_file(save_file_bytes("000", {}));
    ASSERT_NE(f, nullptr);
    f->txt_PNumber[0]->setText("12345");
    f->txt_PNumber[1]->setText("67890");
    f->txt_Qty->setText("7");
    f->txt_Qty->setFocus();
    key(*f, Qt::Key_Return);
    EXPECT_EQ(lines(*f), std::vector<std::string>{" 001  12345-67890-     07"});
}

TEST_F(FsadTest, DeletingRenumbersAndForgetsTheLineBeingChanged) {
    std::vector<std::string> parts;
    for (int i = 1; i <= 5; ++i) parts.push_back(part(std::to_string(i) + "0000" + std::to_string(i) + "0000", "01"));
    Fsad* f = open_file(save_file_bytes("005", parts));
    ASSERT_NE(f, nullptr);
    // Line 5 is being changed when lines 2 and 4 go.
    emit f->lst_PartNumber->itemDoubleClicked(f->lst_PartNumber->item(4));
    EXPECT_EQ(f->FsadEditLine, 5);
    EXPECT_EQ(f->txt_PNumber[0]->text(), "50000");
    EXPECT_EQ(f->txt_Qty->text(), "01");
    f->lst_PartNumber->item(1)->setSelected(true);
    f->lst_PartNumber->item(3)->setSelected(true);
    f->cmd_AddDel[1]->click();
    std::vector<std::string> l = lines(*f);
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0].substr(0, 11), " 001  10000");
    EXPECT_EQ(l[1].substr(0, 11), " 002  30000");
    EXPECT_EQ(l[2].substr(0, 11), " 003  50000");
    // The next entry is a new line, not an overwrite of another one.
    enter(*f, "99999", "99999", "", "2");
    EXPECT_EQ(f->lst_PartNumber->count(), 4);
    EXPECT_EQ(lines(*f)[2].substr(0, 11), " 003  50000");
}

TEST_F(FsadTest, ChangingALineReplacesIt) {
    Fsad* f = open_file(save_file_bytes("002", {part("1234567890AB", "02"), part("11111222223", "10")}));
    ASSERT_NE(f, nullptr);
    emit f->lst_PartNumber->itemDoubleClicked(f->lst_PartNumber->item(0));
    f->txt_Qty->setText("5");
    f->cmd_AddDel[0]->click();
    EXPECT_EQ(lines(*f)[0], " 001  12345-67890-AB   05");
    EXPECT_EQ(f->FsadEditLine, 0);
}

TEST_F(FsadTest, TheListHoldsAt999Lines) {
    std::vector<std::string> parts(999, part("1234567890AB", "01"));
    Fsad* f = open_file(save_file_bytes("999", parts));
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(f->lst_PartNumber->count(), 999);
    EXPECT_EQ(lines(*f)[998].substr(0, 4), " 999");
    beeps = 0;
    enter(*f, "11111", "22222", "33", "1");
    EXPECT_EQ(msg(*f), "M900");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(f->lst_PartNumber->count(), 999);
    EXPECT_EQ(f->txt_PNumber[0]->text(), "11111");
}

TEST_F(FsadTest, AnEmptyListSavesItsHeaderOnlyAndDoesNotExport) {
    Fsad* f = open_file(save_file_bytes("000", {}));
    ASSERT_NE(f, nullptr);
    key(*f, Qt::Key_F12);
    EXPECT_TRUE(modals.empty());
    key(*f, Qt::Key_F11);
    EXPECT_EQ(saved(), save_file_bytes("0", {}));
}

TEST_F(FsadTest, AWorkFileThatCannotBeWrittenLeavesTheListWhole) {
    const std::string before = save_file_bytes("001", {part("1234567890AB", "02")});
    Fsad* f = open_file(before);
    ASSERT_NE(f, nullptr);
    enter(*f, "11111", "22222", "", "1");
    // A folder where the work file should go: it cannot be made.
    std::filesystem::create_directories(inst->root() + "/WORK/PXFSAD.TMP");
    key(*f, Qt::Key_F11);
    settle();
    EXPECT_EQ(saved(), before);
    EXPECT_EQ(px::loaded_form("Fsad"), nullptr);
    EXPECT_NE(std::find(modals.begin(), modals.end(), "Errm"), modals.end());
    EXPECT_TRUE(errm_text.find("Fsad_SavePNumber") != std::string::npos) << errm_text;
}

TEST_F(FsadTest, AFullDiskWhileReplacingLeavesTheOldListWhole) {
    // The common library's own test hook: its next replacement fails as a
    // full disk would.
    px::Declared<void(int, int)> fail_next_commits{"PXALL", "_ZN5pxall24atomic_fail_next_commitsEii"};
    const std::string before = save_file_bytes("001", {part("1234567890AB", "02")});
    Fsad* f = open_file(before);
    ASSERT_NE(f, nullptr);
    enter(*f, "11111", "22222", "", "1");
    fail_next_commits(1, ENOSPC);
    key(*f, Qt::Key_F11);
    settle();
    fail_next_commits(0, 0);
    EXPECT_EQ(saved(), before);
    EXPECT_TRUE(inst->exists("WORK/PXFSAD.TMP"));  // the work copy stays
    EXPECT_EQ(px::loaded_form("Fsad"), nullptr);
    EXPECT_NE(errm_text.find("PXFsad,Fsad_SavePNumber,CopyFile"), std::string::npos) << errm_text;
}

TEST_F(FsadTest, ExportHandsOverTheHeaderAndLines) {
    Fsad* f = open_file(save_file_bytes("002", {part("1234567890AB", "02"), part("11111222223", "10")},
                                        "SAY \"HI\", FRONT"));
    ASSERT_NE(f, nullptr);
    auto& h = px::price_export_handover();
    h.ExportSource = -1;
    on_modal("Intf", [](px::Form& i) { key(i, Qt::Key_F3); });
    key(*f, Qt::Key_F12);
    EXPECT_EQ(modals, std::vector<std::string>{"Intf"});
    EXPECT_EQ(h.ExportSource, 0);
    EXPECT_EQ(h.ExportCsvHeader, "JT1AB23C456789012,AB123-CDEFG,4410A1,200304,ABC1234,5678901,\"SAY \"\"HI\"\", FRONT\",002");
    EXPECT_EQ(h.ExportSaveHeader.size(), 99u);
    EXPECT_EQ(h.ExportSaveHeader.substr(96), "002");
    EXPECT_EQ(h.ExportLines.size(), 2u);
    EXPECT_EQ(h.ExportFailed, 0);
    EXPECT_NE(px::loaded_form("Fsad"), nullptr);
}

TEST_F(FsadTest, FailedExportKeepsTheEditorAndItsUnsavedLines) {
    Fsad* f = open_file(save_file_bytes("001", {part("1234567890AB", "02")}));
    ASSERT_NE(f, nullptr);
    enter(*f, "11111", "22222", "", "1");
    ASSERT_EQ(f->lst_PartNumber->count(), 2);
    // The export dialog failed (its own failure path has reported it).
    on_modal("Intf", [](px::Form& i) {
        px::price_export_handover().ExportFailed = -1;
        px::unload_form(i);
    });
    key(*f, Qt::Key_F12);
    settle();
    ASSERT_EQ(px::loaded_form("Fsad"), f);
    EXPECT_EQ(f->lst_PartNumber->count(), 2);
    EXPECT_EQ(msg(*f), "M999");
}

}  // namespace
}  // namespace pxtest
