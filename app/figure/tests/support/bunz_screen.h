// The illustration screen opened from the menu of a scratch installation,
// over the scripted illustration library (fake_bunz.h); messages read as
// "m" and their number.
#pragma once

#include <string>
#include <vector>

#include <QPushButton>
#include <QTest>

#include "figure/bunz.h"
#include "shell/stack.h"
#include "support/fake_bunz.h"
#include "support/fixture.h"

namespace pxtest {

using figtest::fake;
using px::Bunz;

// A parts list that does nothing: what F10 opens in these tests.
class PartsListStandIn : public px::Form {
public:
    PartsListStandIn() : px::Form("Pnho") { make_message_line(); }
};
inline const bool stand_in = px::register_form("Pnho", [] { return new PartsListStandIn; });

inline const std::vector<std::string> kLines = {
    "11400A BLOCK SUB-ASSY, SHORT",
    "11401A HEAD SUB-ASSY, CYLINDER",
    "       WITH VALVES",
    "1301         SEE SUB-ILLUSTRATION",
};

class BunzScreenTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // Messages by their numbers, so that the tests read which one shows.
        std::string msgs;
        for (int no : {115, 118, 701, 707, 801, 802, 812, 829, 832, 842, 862, 999})
            msgs += std::to_string(no) + "m" + std::to_string(no) + "\r\n";
        inst->write("PROG/PXDROM01.MSG", msgs);
        ASSERT_TRUE(start());
        figtest::install_fake();
        fake().bitmap = inst->root() + "/page.bmp";
        fake().list = inst->root() + "/list.txt";
        figtest::write_page_bitmap(fake().bitmap, 1200, 800);
        figtest::write_list(fake().list, kLines);
    }
    void TearDown() override {
        ProgramTest::TearDown();
        figtest::remove_fake();
    }
    // Opens the screen from the menu; nullptr when it left at once.
    Bunz* open() {
        px::ScrPush(px::load_form(Bunz::kName));
        settle();
        return static_cast<Bunz*>(px::loaded_form(Bunz::kName));
    }
    static std::string shown_keys(Bunz& b) {
        std::string s;
        for (int n = 1; n <= 12; ++n)
            if (!b.cmd_PF(n)->isHidden()) s += (s.empty() ? "F" : " F") + std::to_string(n);
        return s;
    }
    // A mouse button pressed and let go on a widget.
    static void press(QWidget* w, Qt::MouseButton button, QPoint at) {
        QTest::mousePress(w, button, {}, at);
        QTest::mouseRelease(w, button, {}, at);
    }
    static std::string msg(Bunz& b) { return b.lbl_Msg->text().toStdString(); }
    static bool menu_on_top() { return px::ScrCount() == 1 && px::loaded_form(Bunz::kName) == nullptr; }
};

}  // namespace pxtest
