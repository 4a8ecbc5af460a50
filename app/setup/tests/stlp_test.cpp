// The local-parts set-up dialog over the set-up menu: the source kinds, the
// replace/merge question, the merge loop of further files, the pictures of
// set 3 and the failure path.
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "platform/msgbox.h"
#include "setup/stlp.h"
#include "setup/stpm.h"
#include "shell/seams.h"
#include "shell/stack.h"
#include "support/setup_test.h"

namespace pxtest {
namespace {

using px::Stlp;
using px::Stpm;

class StlpTest : public SetupTest {
protected:
    void run(std::function<void(Stlp&)> during) {
        auto& m = static_cast<Stpm&>(open("Stpm"));
        on_modal("Stlp", [&, during](px::Form& f) {
            during(static_cast<Stlp&>(f));
            menu_line = m.lbl_Msg->text().toStdString();
            stayed = f.loaded();
            if (f.loaded()) px::unload_form(f);
        });
        m.cmd_Stup[2]->click();
        settle();
    }
    std::vector<std::string> library() const {
        std::vector<std::string> out;
        for (const auto& c : setup_fakes().calls)
            if (c.find("Localp") != std::string::npos) out.push_back(c);
        return out;
    }
    std::string menu_line;
    bool stayed = false;
};

TEST_F(StlpTest, KindOfTheChosenFile) {
    struct Case {
        std::string name;
        int16_t kind;
    } const cases[] = {{"C:\\LOCALP", 0}, {"C:\\localp", 0}, {"C:\\LOCALP1", 1},
                       {"C:\\LOCALP2", 2}, {"C:\\LOCALP3", 3}, {"C:\\OTHER.TXT", 3}};
    for (const auto& c : cases) EXPECT_EQ(Stlp::kind_of(c.name), c.kind) << c.name;
}

TEST_F(StlpTest, ReplaceMergeAndCancel) {
    struct Case {
        int32_t answer;
        std::vector<std::string> calls;
    } const cases[] = {
        {plat::kIdYes, {"Check_Setuped_Localp 1", "Init_Setuped_Localp 0 1", "Setup_Localp 1 C:\\LOCALP1"}},
        {plat::kIdNo, {"Check_Setuped_Localp 1", "Init_Setuped_Localp 1 1", "Setup_Localp 1 C:\\LOCALP1"}},
        {plat::kIdCancel, {"Check_Setuped_Localp 1"}},
    };
    for (const auto& c : cases) {
        setup_fakes().calls.clear();
        setup_fakes().localp_set = 1;
        chosen = {"LOCALP1"};
        answers = {c.answer, plat::kIdNo};
        run([&](Stlp& s) {
            s.cmd_Refer->click();
            EXPECT_FALSE(s.cmd_Exec->isHidden());
            key(s, Qt::Key_F10);
            EXPECT_EQ(s.cmd_Refer->isEnabled(), c.answer == plat::kIdCancel);
        });
        EXPECT_EQ(library(), c.calls) << c.answer;
        EXPECT_EQ(menu_line, c.answer == plat::kIdCancel ? "M150" : "M408") << c.answer;
        px::unload_form(*px::loaded_form("Stpm"));
        settle();
    }
}

TEST_F(StlpTest, FurtherFilesMergeIntoTheSameSet) {
    chosen = {"LOCALP2", "LOCALP3"};
    answers = {plat::kIdYes, plat::kIdNo};
    run([&](Stlp& s) {
        s.cmd_Refer->click();
        s.cmd_Exec->click();
        EXPECT_EQ(s.type, 2);
        EXPECT_EQ(s.lbl_FileName->text().toStdString(), "C:\\LOCALP3");
        EXPECT_TRUE(s.frm_ImgType->isHidden());
    });
    EXPECT_EQ(library(), (std::vector<std::string>{"Check_Setuped_Localp 2", "Setup_Localp 2 C:\\LOCALP2",
                                                   "Init_Setuped_Localp 0 2", "Setup_Localp 2 C:\\LOCALP3"}));
    // The further file's dialog offers the run's kind first.
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[1].substr(0, 30 + 8), "Set 2, CSV (LOCALP2)          |LOCALP2");
    EXPECT_EQ(filters[0].substr(0, 30 + 7), "Set 1, fixed records (LOCALP) |LOCALP");
    EXPECT_EQ(menu_line, "M408");
    EXPECT_EQ(beeps, 1);
}

TEST_F(StlpTest, CancelAfterTheNextDataQuestionEndsWithoutMessage) {
    chosen = {"LOCALP", ""};
    answers = {plat::kIdYes};
    run([&](Stlp& s) {
        s.cmd_Refer->click();
        s.cmd_Exec->click();
        EXPECT_TRUE(s.cmd_Refer->isEnabled());
        EXPECT_TRUE(s.cmd_Exec->isEnabled());
    });
    EXPECT_EQ(menu_line, "M150");
    EXPECT_EQ(beeps, 0);
}

TEST_F(StlpTest, SetThreeListsAndCopiesPictures) {
    setup_fakes().images = {"  FIG001.BMP", "  FIG002.BMP"};
    inst->write("PICS/fig001.bmp", "BM");
    inst->write("PICS/NOTES.TXT", "x");
    chosen = {"LOCALP3"};
    answers = {plat::kIdNo};
    run([&](Stlp& s) {
        s.cmd_Refer->click();
        int small = s.height();
        s.cmd_Exec->click();
        EXPECT_FALSE(s.frm_ImgType->isHidden());
        EXPECT_GT(s.height(), small);
        // Grown, the dialog leaves the menu's message line, where its outcome shows, in sight.
        const QLabel* line = px::loaded_form("Stpm")->lbl_Msg;
        EXPECT_FALSE(s.frameGeometry().intersects(QRect(line->mapToGlobal(QPoint(0, 0)), line->size())));
        EXPECT_EQ(lines(s.lst_Image), setup_fakes().images);
        ASSERT_TRUE(s.set_dir("C:\\PICS"));
        EXPECT_EQ(lines(s.lst_File), std::vector<std::string>{"fig001.bmp"});
        s.cmd_ImgCopy->click();
        // Clear goes back to the small dialog without pictures.
        s.cmd_Clear->setEnabled(true);
        s.cmd_Clear->click();
        EXPECT_TRUE(s.frm_ImgType->isHidden());
        EXPECT_EQ(s.lst_Image->count(), 0);
    });
    EXPECT_EQ(library().back(), "Localp3_CopyImageFile C:\\PICS fig001.bmp");
    EXPECT_EQ(menu_line, "M408");
}

TEST_F(StlpTest, ASetTooLargeIsRefusedWithItsMessage) {
    setup_fakes().localp_rc = {849};
    chosen = {"LOCALP1"};
    run([&](Stlp& s) {
        s.cmd_Refer->click();
        s.cmd_Exec->click();
    });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(menu_line, "M849");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(px::loaded_form("Errm"), nullptr);
}

TEST_F(StlpTest, OnASmallDisplayTheGrownDialogLeavesTheMessageInSight) {
    // 1024 x 768: no room above or below the menu's message line.
    px::seams().display = [] { return px::DisplayMetrics{1024, 768, 15, 15}; };
    setup_fakes().images = {"  FIG001.BMP"};
    chosen = {"LOCALP3"};
    answers = {plat::kIdNo};
    run([&](Stlp& s) {
        s.cmd_Refer->click();
        s.cmd_Exec->click();
        const QLabel* line = px::loaded_form("Stpm")->lbl_Msg;
        EXPECT_EQ(line->text(), "M408");
        const int text_right = line->mapToGlobal(QPoint(0, 0)).x() + line->fontMetrics().horizontalAdvance(line->text());
        EXPECT_GE(s.frameGeometry().left(), text_right);
    });
}

TEST_F(StlpTest, FailedSetUpGoesBackToTheMainMenu) {
    on_modal("Errm", [](px::Form& f) { key(f, Qt::Key_F4); });
    setup_fakes().localp_rc = {13};
    chosen = {"LOCALP1"};
    run([&](Stlp& s) {
        s.cmd_Refer->click();
        s.cmd_Exec->click();
    });
    EXPECT_FALSE(stayed);
    EXPECT_EQ(menu_line, "M999");
    EXPECT_EQ(modals.back(), "Errm");
    EXPECT_EQ(px::loaded_form("Stpm"), nullptr);
    EXPECT_EQ(px::ScrCount(), 1);
}

// A source with a record not whole or not printable: the clerk is told so
// of the local-parts file (not the price file's message of the same
// library answer) and stays in the dialog (the set in force is kept by the
// library).
TEST_F(StlpTest, RefusedSourceIsToldAndTheDialogStays) {
    setup_fakes().localp_rc = {848};
    chosen = {"LOCALP1"};
    run([&](Stlp& s) {
        s.cmd_Refer->click();
        s.cmd_Exec->click();
        EXPECT_TRUE(s.cmd_Exec->isEnabled());
    });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(menu_line, "M845");
    EXPECT_NE(px::loaded_form("Stpm"), nullptr);
}

}  // namespace
}  // namespace pxtest
