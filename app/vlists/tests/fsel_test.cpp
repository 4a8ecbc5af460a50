// The saved-vehicle list over scripted PXVJIN entries.
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "support/fixture.h"
#include "shell/codepage.h"
#include "support/list_doubles.h"
#include "vlists/fsel.h"

namespace pxtest {
namespace {

using px::Form;
using px::Fsel;

std::string saved(const std::string& run, const std::string& no, const std::string& vin = "JMZ12345670012345",
                  const std::string& frame = "ABC12  -0012345", const std::string& notes = "FLEET",
                  const std::string& date = "100326", const std::string& time = "093005") {
    return fixed(run, 2) + fixed(no, 4) + fixed(vin, 17) + fixed(frame, 15) + fixed(notes, 30) + fixed(date, 6) +
           fixed(time, 6);
}

class FselTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(start());
        doubles().list_path = "C:\\WORK\\PXFSAV.TMP";
        doubles().install();
    }
    void TearDown() override {
        ListDoubles::uninstall();
        ProgramTest::TearDown();
    }
    void run_list(std::function<void(Fsel&)> inside) {
        bool still_open = false;
        on_modal("Fsel", [&](Form& f) {
            auto& v = static_cast<Fsel&>(f);
            inside(v);
            still_open = v.loaded();
            if (v.loaded()) px::unload_form(v);
        });
        px::show_modal(px::load_form(Fsel::kName));
        EXPECT_FALSE(still_open) << "the list stayed open";
    }
    static void press(Fsel& f, int line) {
        QTest::mouseClick(f.lst_Fsel->viewport(), Qt::LeftButton, {},
                          f.lst_Fsel->visualItemRect(f.lst_Fsel->item(line)).center());
    }
};

TEST_F(FselTest, LinesAndSaveNumbers) {
    // Two whole records; the last 40 bytes are no record.
    inst->write("WORK/PXFSAV.TMP", saved("01", "0012") + saved("02", " 7 ", "", "", "") + std::string(40, 'x'));
    run_list([&](Fsel& f) {
        EXPECT_EQ(f.windowTitle(), "Saved Vehicles");
        EXPECT_EQ(f.lbl_List[2]->text(), "VIN");
        EXPECT_EQ(f.lbl_Msg->text(), "Select a saved vehicle (click it, or move to it and press Enter).");
        ASSERT_EQ(f.lst_Fsel->count(), 2);
        QString line = f.lst_Fsel->item(0)->text();
        EXPECT_EQ(line, "01  0012    JMZ12345670012345  ABC12  -0012345   FLEET" + QString(25, ' ') +
                            "    10/03/26  09:30:05");
        EXPECT_EQ(line.size(), 101);
        EXPECT_EQ(f.item_data(0), 12);
        EXPECT_EQ(f.item_data(1), 7);
        EXPECT_TRUE(f.lst_Fsel->selectedItems().isEmpty());
        key(f, Qt::Key_F3);
    });
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"end 3"}));
}

TEST_F(FselTest, AJapaneseNoteKeepsTheColumnsInTheCodePagesFace) {
    if (QFontDatabase::families(QFontDatabase::Japanese).isEmpty()) GTEST_SKIP() << "no Japanese face installed";
    // "ブレーキ" in code page 932: four characters of two bytes each.
    px::set_ansi_code_page(932);
    inst->write("WORK/PXFSAV.TMP", saved("01", "0001") + saved("02", "0002", "", "", "\x83\x75\x83\x8C\x81\x5B\x83\x4C"));
    run_list([&](Fsel& f) {
        EXPECT_EQ(f.lst_Fsel->font().family(), px::oem_font().family());
        ASSERT_EQ(f.lst_Fsel->count(), 2);
        ASSERT_TRUE(f.lst_Fsel->item(1)->text().contains(QString::fromUtf8("ブレーキ")));
        // The date and time stand where those of a Latin line stand.
        const QFontMetrics fm(f.lst_Fsel->font());
        EXPECT_EQ(fm.horizontalAdvance(f.lst_Fsel->item(1)->text()), fm.horizontalAdvance(f.lst_Fsel->item(0)->text()));
        key(f, Qt::Key_F3);
    });
    px::set_ansi_code_page(1252);
}

TEST_F(FselTest, SaveNumberReadsDigitsOnly) {
    struct Case {
        const char* field;
        int32_t value;
    } cases[] = {{"0012", 12}, {"  12", 12}, {"12  ", 12}, {"9999", 9999}, {"    ", 0},
                 {"1 2 ", 0},  {"12AB", 0},  {"-001", 0},  {"1E2 ", 0}};
    for (const Case& c : cases) EXPECT_EQ(Fsel::save_number_of(saved("01", c.field)), c.value) << c.field;
}

TEST_F(FselTest, EnterOrPressTakesTheHighlightedLine) {
    inst->write("WORK/PXFSAV.TMP", saved("01", "0012") + saved("02", "0034"));
    run_list([&](Fsel& f) {
        f.lst_Fsel->setFocus();
        key(f, Qt::Key_Return);  // nothing highlighted: nothing happens
        EXPECT_TRUE(f.loaded());
        press(f, 1);
    });
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"select 34"}));
    doubles().calls.clear();
    run_list([&](Fsel& f) {
        f.lst_Fsel->setFocus();
        f.lst_Fsel->setCurrentRow(0);
        key(f, Qt::Key_Return);
    });
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"select 12"}));
}

TEST_F(FselTest, RefusalsKeepTheListOpen) {
    inst->write("WORK/PXFSAV.TMP", saved("01", "0012"));
    for (int answer : {1, 2}) {
        doubles().ret_result = answer;
        doubles().calls.clear();
        beeps = 0;
        run_list([&](Fsel& f) {
            press(f, 0);
            EXPECT_TRUE(f.loaded());
            EXPECT_EQ(f.lbl_Msg->text(), answer == 1 ? "This saved list has been deleted. Select another one."
                                                     : "This saved list is in use. Select another one.");
            EXPECT_EQ(f.focusWidget(), f.lst_Fsel);
            key(f, Qt::Key_F4);
        });
        EXPECT_EQ(beeps, 1);
        EXPECT_EQ(doubles().calls, (std::vector<std::string>{"select 12", "end 4"}));
    }
}

TEST_F(FselTest, OtherResultIsASystemError) {
    inst->write("WORK/PXFSAV.TMP", saved("01", "0012"));
    doubles().ret_result = -1;
    on_modal("Errm", [](Form& f) { key(f, Qt::Key_F4); });
    run_list([&](Fsel& f) { press(f, 0); });
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"select 12", "end 4"}));
    EXPECT_EQ(modals, (std::vector<std::string>{"Fsel", "Errm"}));
}

TEST_F(FselTest, EmptyListStillLeavesAndOtherKeysDoNothing) {
    inst->write("WORK/PXFSAV.TMP", std::string(79, '0'));
    run_list([&](Fsel& f) {
        EXPECT_EQ(f.lst_Fsel->count(), 0);
        f.lst_Fsel->setFocus();
        key(f, Qt::Key_Return);
        QTest::mouseClick(f.lst_Fsel->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        key(f, Qt::Key_F10);
        key(f, Qt::Key_F12);
        EXPECT_TRUE(f.loaded());
        key(f, Qt::Key_F4);
    });
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"end 4"}));
}

TEST_F(FselTest, DisabledF1AndF3DoNothingF4AndF6Act) {
    inst->write("WORK/PXFSAV.TMP", saved("01", "0012"));
    run_list([&](Fsel& f) {
        f.cmd_PF(1)->setEnabled(false);
        f.cmd_PF(3)->setEnabled(false);
        key(f, Qt::Key_F1);
        key(f, Qt::Key_F3);
        EXPECT_TRUE(f.loaded());
        key(f, Qt::Key_F6);
        f.cmd_PF(4)->setEnabled(false);
        key(f, Qt::Key_F4);
    });
    EXPECT_FALSE(printer.last_image.isNull());
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"end 4"}));
    EXPECT_EQ(modals, (std::vector<std::string>{"Fsel"}));  // no help
}

TEST_F(FselTest, UnreadableListIsLoggedAndGoesToTheMenu) {
    std::vector<std::string> log;
    on_modal("Errm", [&](Form& f) {
        log = dialog_lines(f);
        key(f, Qt::Key_F4);
    });
    px::show_modal(px::load_form(Fsel::kName));
    EXPECT_EQ(px::loaded_form(Fsel::kName), nullptr);
    EXPECT_EQ(modals, (std::vector<std::string>{"Errm"}));
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"end 4"}));
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("PXFSEL,Form_Load,FSEL_SetSvList,(53)"), std::string::npos) << log.back();
}

TEST_F(FselTest, APathThatFillsTheBufferIsCutNotOverrun) {
    // The engine fills all 80 bytes, without a NUL: the path is read to the
    // buffer's end and no further.
    doubles().list_path = "C:\\WORK\\" + std::string(72, 'P');
    std::vector<std::string> log;
    on_modal("Errm", [&](Form& f) {
        log = dialog_lines(f);
        key(f, Qt::Key_F4);
    });
    px::show_modal(px::load_form(Fsel::kName));
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("(53)"), std::string::npos);
}

TEST_F(FselTest, CloseButtonGoesToTheMenuAsF4) {
    inst->write("WORK/PXFSAV.TMP", saved("01", "0012"));
    run_list([&](Fsel& f) { f.close(); });
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"end 4"}));
}

}  // namespace
}  // namespace pxtest
