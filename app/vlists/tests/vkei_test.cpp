// The model list over scripted PXVJIN entries.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "shell/codepage.h"
#include "shell/grid.h"
#include "shell/messages.h"
#include "support/fixture.h"
#include "support/list_doubles.h"
#include "vlists/vinf.h"
#include "vlists/vkei.h"

namespace pxtest {
namespace {

using px::Form;
using px::Grid;
using px::Vkei;

// A model-list record: 9, 15, 10, 9, then 21 items of 5.
std::string model(int n) {
    std::string r = fixed("JMZ" + std::to_string(n), 9) + fixed("NA8C-" + std::to_string(n), 15) + fixed("B6", 10) +
                    "9801-0312";
    for (int i = 1; i <= 21; ++i) r += fixed("C" + std::to_string(i), 5);
    return r;
}

std::string models(int n) {
    std::string body;
    for (int i = 1; i <= n; ++i) body += model(i);
    return body;
}

class VkeiTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(start());
        doubles().list_path = "C:\\WORK\\VKEILST.TMP";
        doubles().model_text = "NA8C";
        doubles().install();
    }
    void TearDown() override {
        ListDoubles::uninstall();
        ProgramTest::TearDown();
    }
    void run_list(std::function<void(Vkei&)> inside) {
        bool still_open = false;
        on_modal("Vkei", [&](Form& f) {
            auto& v = static_cast<Vkei&>(f);
            inside(v);
            still_open = v.loaded();
            if (v.loaded()) px::unload_form(v);
        });
        px::show_modal(px::load_form(Vkei::kName));
        EXPECT_FALSE(still_open) << "the list stayed open";
    }
    static int row_y(Grid& g, int row) { return g.cell_top(row, 0) / px::display_twips().y + 3; }
};

TEST_F(VkeiTest, RecordsShownAsStoredUnderTheirHeaders) {
    // Three whole records and a piece of a fourth.
    inst->write("WORK/VKEILST.TMP", models(3) + model(4).substr(0, 60));
    run_list([&](Vkei& v) {
        EXPECT_EQ(v.windowTitle(), "Model List");
        EXPECT_EQ(v.lbl_Model->text(), "NA8C" + QString(11, ' '));
        EXPECT_EQ(v.lbl_Catalog->text(), QString(6, ' '));
        Grid& g = *v.msg_vkei;
        ASSERT_EQ(g.rows(), 4);
        ASSERT_EQ(g.cols(), 25);
        EXPECT_EQ(g.fixed_cols(), 4);
        EXPECT_EQ(g.text(0, 0), "VIN Pref.");
        EXPECT_EQ(g.text(0, 4), "(01)");
        EXPECT_EQ(g.text(0, 24), "(21)");
        EXPECT_EQ(g.text(2, 0), "JMZ2     ");
        EXPECT_EQ(g.text(2, 1), "NA8C-2" + QString(9, ' '));
        EXPECT_EQ(g.text(2, 3), "9801-0312");
        EXPECT_EQ(g.text(3, 4), "C1   ");
        EXPECT_EQ(g.text(3, 24), "C21  ");
        EXPECT_EQ(g.row(), 1);
        EXPECT_EQ(g.row_sel(), 1);
        EXPECT_EQ(g.col_sel(), 24);
        EXPECT_EQ(v.focusWidget(), &g);
        // Widths in character widths: 9, 15, 10 and 10 and a third; 5 and a half.
        int cw = g.char_width();
        EXPECT_EQ(g.col_width(0), 9 * cw + cw / 3);
        EXPECT_EQ(g.col_width(3), 10 * cw + cw / 3);
        EXPECT_EQ(g.col_width(4), 5 * cw + cw / 2);
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, QPoint(5, row_y(g, 3)));
    });
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"ret 2"}));
}

TEST_F(VkeiTest, FitToTheFrame) {
    inst->write("WORK/VKEILST.TMP", models(3));
    run_list([&](Vkei& v) {
        Grid& g = *v.msg_vkei;
        // 25 columns never fit the frame: the ones that do set the width.
        int frame = v.fra_vkei->width() * px::display_twips().x;
        int sum = 0;
        for (int c = 0; c < 25; ++c) {
            int total = sum + g.col_width(c) + g.grid_line_width();
            if (frame - 2 * Vkei::kGridLeft < total) break;
            sum = total;
        }
        EXPECT_EQ(g.scroll_bars(), Grid::kHorizontal);
        EXPECT_NEAR(g.width() * px::display_twips().x, sum + Vkei::kBorderOne, px::display_twips().x);
        key(v, Qt::Key_F3);
    });
    inst->write("WORK/VKEILST.TMP", models(200));
    run_list([&](Vkei& v) {
        Grid& g = *v.msg_vkei;
        EXPECT_EQ(g.scroll_bars(), Grid::kBoth);
        int frame = v.fra_vkei->width() * px::display_twips().x;
        int sum = 0;
        for (int c = 0; c < 25; ++c) {
            int total = sum + g.col_width(c) + g.grid_line_width();
            if (frame - 2 * Vkei::kGridLeft < total) break;
            sum = total;
        }
        EXPECT_NEAR(g.width() * px::display_twips().x, sum + 2 * g.char_width() + Vkei::kBorderBoth,
                    px::display_twips().x);
        // The first four columns stay while the others scroll.
        int left = g.cell_left(1, 3);
        g.set_left_col(10);
        EXPECT_EQ(g.left_col(), 10);
        EXPECT_EQ(g.cell_left(1, 3), left);
        EXPECT_NEAR(g.cell_left(1, 10), left + g.col_width(3) + g.grid_line_width(), px::display_twips().x);
        key(v, Qt::Key_F3);
    });
}

TEST_F(VkeiTest, EnterTakesTheCurrentRow) {
    inst->write("WORK/VKEILST.TMP", models(3));
    run_list([&](Vkei& v) {
        key(v, Qt::Key_Down);
        key(v, Qt::Key_Return);
    });
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"ret 1"}));
}

TEST_F(VkeiTest, RefusalKeepsTheListOpen) {
    inst->write("WORK/VKEILST.TMP", models(3));
    for (int answer : {5, 7}) {
        doubles().ret_result = answer;
        doubles().calls.clear();
        beeps = 0;
        run_list([&](Vkei& v) {
            v.lbl_Msg->clear();
            key(v, Qt::Key_Return);
            EXPECT_TRUE(v.loaded());
            EXPECT_EQ(v.lbl_Msg->text(), answer == 5 ? "This model does not match the identified vehicle." : "");
            key(v, Qt::Key_F3);
        });
        EXPECT_EQ(beeps, answer == 5 ? 1 : 0);
        EXPECT_EQ(doubles().calls, (std::vector<std::string>{"ret 0", "end 3"}));
    }
}

TEST_F(VkeiTest, FailedChoiceAborts) {
    inst->write("WORK/VKEILST.TMP", models(3));
    doubles().ret_result = -1;
    on_modal("Errm", [](Form& f) { key(f, Qt::Key_F4); });
    run_list([&](Vkei& v) { key(v, Qt::Key_Return); });
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"ret 0", "end 4"}));
    EXPECT_EQ(modals, (std::vector<std::string>{"Vkei", "Errm"}));
}

TEST_F(VkeiTest, F3OnlyWhereOfferedAndF4NeverActs) {
    inst->write("WORK/VKEILST.TMP", models(2));
    doubles().check_mode = 1;
    run_list([&](Vkei& v) {
        EXPECT_FALSE(v.cmd_PF(3)->isVisible());
        EXPECT_FALSE(v.cmd_PF(4)->isVisible());
        key(v, Qt::Key_F3);
        key(v, Qt::Key_F4);
        EXPECT_TRUE(v.loaded());
        key(v, Qt::Key_Return);
    });
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"ret 0"}));
}

TEST_F(VkeiTest, EmptyListShowsTheHeaderAndStillLeaves) {
    inst->write("WORK/VKEILST.TMP", "");
    run_list([&](Vkei& v) {
        EXPECT_EQ(v.msg_vkei->rows(), 1);
        key(v, Qt::Key_Return);
        key(v, Qt::Key_F12);
        EXPECT_TRUE(v.loaded());
        key(v, Qt::Key_F3);
    });
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"end 3"}));
}

TEST_F(VkeiTest, MissingListIsLoggedAndAbortsOnce) {
    std::vector<std::string> log;
    on_modal("Errm", [&](Form& f) {
        log = dialog_lines(f);
        key(f, Qt::Key_F4);
    });
    px::show_modal(px::load_form(Vkei::kName));
    EXPECT_EQ(px::loaded_form(Vkei::kName), nullptr);
    EXPECT_EQ(modals, (std::vector<std::string>{"Errm"}));
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"end 4"}));
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("PXVKEI,Form_Load,VKEI_Grd_Set,(53)"), std::string::npos) << log.back();
}

TEST_F(VkeiTest, F12ShowsTheRowsVehicleInformation) {
    inst->write("WORK/VKEILST.TMP", models(3));
    std::string vclinf(133, ' ');
    vclinf[100] = vclinf[101] = vclinf[102] = vclinf[103] = '\0';
    inst->write("WORK/VCLINF.TMP", vclinf);
    on_modal("Vinf", [](Form& f) { key(f, Qt::Key_F12); });
    run_list([&](Vkei& v) {
        key(v, Qt::Key_Down);
        key(v, Qt::Key_F12);
        EXPECT_TRUE(v.loaded());
        EXPECT_EQ(v.focusWidget(), v.msg_vkei);
        EXPECT_EQ(v.msg_vkei->row(), 2);
        key(v, Qt::Key_F3);
    });
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"vinf 1", "end 3"}));
    EXPECT_EQ(modals, (std::vector<std::string>{"Vkei", "Vinf"}));
}

TEST_F(VkeiTest, F12FailuresAbort) {
    inst->write("WORK/VKEILST.TMP", models(3));
    on_modal("Errm", [](Form& f) { key(f, Qt::Key_F4); });
    // The engine cannot write the file; then the dialog cannot read it.
    for (int engine : {-1, 0}) {
        doubles().vinf_result = engine;
        doubles().calls.clear();
        modals.clear();
        inst->remove("WORK/VCLINF.TMP");
        run_list([&](Vkei& v) { key(v, Qt::Key_F12); });
        EXPECT_EQ(doubles().calls, (std::vector<std::string>{"vinf 0", "end 4"})) << engine;
        EXPECT_EQ(modals, (std::vector<std::string>{"Vkei", "Errm"})) << engine;
    }
}

TEST_F(VkeiTest, CodePage932PicksTheJapaneseFaceAndDecodes) {
    // "セダン" (sedan) in code page 932 in the second field.
    std::string rec = model(1);
    rec.replace(9, 6, "\x83\x5A\x83\x5F\x83\x93");
    inst->write("WORK/VKEILST.TMP", rec);
    px::set_ansi_code_page(932);
    run_list([&](Vkei& v) {
        Grid& g = *v.msg_vkei;
        EXPECT_EQ(g.text(1, 1), QString::fromUtf8("セダン") + QString(9, ' '));
        EXPECT_EQ(g.font().family(), px::screen_font(QString::fromUtf8("ＭＳ 明朝"), 12).family());
        int cw = g.char_width();
        EXPECT_EQ(g.col_width(1), 15 * cw + cw / 3);
        key(v, Qt::Key_F3);
    });
    px::set_ansi_code_page(1252);
}

TEST_F(VkeiTest, CloseButtonTakesTheAbortPath) {
    inst->write("WORK/VKEILST.TMP", models(2));
    doubles().check_mode = 1;  // no F3 either: the window can still be left
    run_list([&](Vkei& v) { v.close(); });
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"end 4"}));
}

}  // namespace
}  // namespace pxtest
