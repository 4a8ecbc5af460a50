// The catalogue list over scripted PXVCAT entries.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "shell/grid.h"
#include "shell/messages.h"
#include "shell/stack.h"
#include "support/fixture.h"
#include "support/list_doubles.h"
#include "vlists/vcat.h"

namespace pxtest {
namespace {

using px::Form;
using px::Vcat;

// One DSPCAT.TMP record: car name 20, code 6, period 9, description 50,
// reference 4, CD number 2.
std::string dspcat(const std::string& name, const std::string& code, const std::string& period = "9801-0312",
                   const std::string& item = "2.0 PETROL", const std::string& ref = "R001",
                   const std::string& cd = "01") {
    return fixed(name, 20) + fixed(code, 6) + fixed(period, 9) + fixed(item, 50) + fixed(ref, 4) + fixed(cd, 2);
}

class VcatTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(start());
        doubles().list_path = "C:\\WORK\\DSPCAT.TMP";
        doubles().install();
    }
    void TearDown() override {
        ListDoubles::uninstall();
        ProgramTest::TearDown();
    }
    void write_rows(int n) {
        std::string body;
        for (int i = 1; i <= n; ++i) body += dspcat("CAR " + std::to_string(i), "EU" + std::to_string(1000 + i));
        inst->write("WORK/DSPCAT.TMP", body);
    }
    // Opens the list; `inside` drives it and closes it, else the test fails.
    void run_list(std::function<void(Vcat&)> inside) {
        bool still_open = false;
        on_modal("Vcat", [&](Form& f) {
            auto& v = static_cast<Vcat&>(f);
            inside(v);
            still_open = v.loaded();
            if (v.loaded()) px::unload_form(v);
        });
        px::show_modal(px::load_form(Vcat::kName));
        EXPECT_FALSE(still_open) << "the list stayed open";
    }
};

TEST_F(VcatTest, OneRowShownSelectedAndTakenWithEnter) {
    write_rows(1);
    run_list([&](Vcat& v) {
        EXPECT_EQ(v.windowTitle(), "Catalogue List");
        EXPECT_EQ(v.lbl_Msg->text(), "Select a catalogue (click it, or move to it and press Enter).");
        px::Grid& g = *v.msg_Vcat;
        ASSERT_EQ(g.rows(), 2);
        ASSERT_EQ(g.cols(), 6);
        EXPECT_EQ(g.text(0, 0), "Car Name");
        EXPECT_EQ(g.text(0, 5), "CD");
        EXPECT_EQ(g.text(1, 0), "CAR 1" + QString(15, ' '));
        EXPECT_EQ(g.text(1, 1), "EU1001");
        EXPECT_EQ(g.text(1, 2), "9801-0312");
        EXPECT_EQ(g.text(1, 4), "R001");
        EXPECT_EQ(g.text(1, 5), "01");
        EXPECT_EQ(g.scroll_bars(), px::Grid::kNone);
        // Every column is in view from the car name on.
        EXPECT_EQ(g.left_col(), 0);
        auto shown = g.visible_texts();
        ASSERT_GE(shown.size(), 2u);
        EXPECT_EQ(shown[0].front(), "Car Name");
        EXPECT_EQ(shown[0].size(), 6u);
        EXPECT_TRUE(g.is_selected(1, 0));
        EXPECT_TRUE(g.is_selected(1, 5));
        EXPECT_EQ(v.focusWidget(), &g);
        EXPECT_TRUE(v.cmd_PF(3)->isVisible());
        EXPECT_FALSE(v.cmd_PF(4)->isVisible());
        key(v, Qt::Key_Return);
    });
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"ret 0"}));
}

TEST_F(VcatTest, ColumnsInCharacterWidths) {
    write_rows(1);
    run_list([&](Vcat& v) {
        px::Grid& g = *v.msg_Vcat;
        int cw = g.char_width();
        ASSERT_GT(cw, 0);
        for (int c = 0; c < 6; ++c) EXPECT_EQ(g.col_width(c), Vcat::kWidthChars[c] * cw) << c;
        EXPECT_EQ(g.col_alignment(1), px::Grid::Align::Center);
        EXPECT_EQ(g.col_alignment(3), px::Grid::Align::Left);
        EXPECT_EQ(g.row_height(1), g.text_height());
        key(v, Qt::Key_F3);
    });
}

TEST_F(VcatTest, ManyRowsScrollAndAClickTakesItsRow) {
    write_rows(1);
    int narrow = 0;
    run_list([&](Vcat& v) {
        narrow = v.msg_Vcat->width();
        key(v, Qt::Key_F3);
    });
    write_rows(60);
    doubles().calls.clear();
    run_list([&](Vcat& v) {
        px::Grid& g = *v.msg_Vcat;
        EXPECT_EQ(g.rows(), 61);
        EXPECT_EQ(g.scroll_bars(), px::Grid::kVertical);
        // Two character widths more for the bar.
        EXPECT_NEAR(g.width() - narrow, 2 * g.char_width() / px::display_twips().x, 1);
        EXPECT_EQ(g.text(60, 1), "EU1060");
        g.select(3, 0, 3, 5);
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, QPoint(5, g.cell_top(3, 0) / 15 + 3));
    });
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"ret 2"}));
}

TEST_F(VcatTest, HeaderClickChoosesNothing) {
    write_rows(2);
    run_list([&](Vcat& v) {
        QTest::mouseClick(v.msg_Vcat->viewport(), Qt::LeftButton, {}, QPoint(5, 3));
        EXPECT_TRUE(v.loaded());
        key(v, Qt::Key_F3);
    });
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"end 3"}));
}

TEST_F(VcatTest, F3OfferedOnlyForASearchKey) {
    write_rows(2);
    for (int mode : {0, 1}) {
        doubles().check_mode = mode;
        doubles().calls.clear();
        run_list([&](Vcat& v) {
            EXPECT_EQ(v.cmd_PF(3)->isVisible(), mode == 0);
            key(v, Qt::Key_F4);  // does nothing here
            EXPECT_TRUE(v.loaded());
            key(v, Qt::Key_F3);
            EXPECT_EQ(v.loaded(), mode == 1);
            if (v.loaded()) key(v, Qt::Key_Return);
        });
        EXPECT_EQ(doubles().calls, (std::vector<std::string>{mode == 0 ? "end 3" : "ret 0"})) << mode;
    }
}

TEST_F(VcatTest, FailedChoiceEndsTheList) {
    write_rows(2);
    doubles().ret_result = -1;
    int beeps_before_dialog = -1;
    on_modal("Errm", [&](Form& f) {
        beeps_before_dialog = beeps;
        key(f, Qt::Key_F4);
    });
    QString message;
    run_list([&](Vcat& v) {
        key(v, Qt::Key_Down);
        key(v, Qt::Key_Return);
        message = v.lbl_Msg->text();
    });
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"ret 1", "end 4"}));
    EXPECT_EQ(modals, (std::vector<std::string>{"Vcat", "Errm"}));
    EXPECT_EQ(beeps_before_dialog, 1 + 3);  // ours, then the dialog's three
    EXPECT_EQ(message, "A system error occurred.");
}

TEST_F(VcatTest, MissingListFileIsLoggedAndEndsTheList) {
    std::vector<std::string> log;
    on_modal("Errm", [&](Form& f) {
        log = dialog_lines(f);
        key(f, Qt::Key_F4);
    });
    px::show_modal(px::load_form(Vcat::kName));
    EXPECT_EQ(px::loaded_form(Vcat::kName), nullptr);
    EXPECT_EQ(modals, (std::vector<std::string>{"Errm"}));
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"end 4"}));
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("PXVCAT,Form_Load,VCAT_Grd_Set,(53)"), std::string::npos) << log.back();
}

TEST_F(VcatTest, F6PrintsAHardCopy) {
    write_rows(1);
    run_list([&](Vcat& v) {
        key(v, Qt::Key_F6);
        key(v, Qt::Key_F3);
    });
    EXPECT_FALSE(printer.last_image.isNull());
}

TEST_F(VcatTest, CloseButtonEndsTheListWithoutAChoice) {
    write_rows(2);
    doubles().check_mode = 1;
    run_list([&](Vcat& v) { v.close(); });
    EXPECT_EQ(doubles().calls, (std::vector<std::string>{"end 4"}));
}

}  // namespace
}  // namespace pxtest
