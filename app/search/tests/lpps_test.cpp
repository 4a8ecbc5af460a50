// The local-parts page over scripted pages of the local-parts library.
#include <sys/stat.h>

#include <filesystem>

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "platform/drives.h"
#include "search/lpps.h"
#include "shell/picture_box.h"
#include "shell/updown.h"
#include "shell/stack.h"
#include "support/search_fixture.h"

namespace pxtest {
namespace {

using px::Form;
using px::search::Lpps;

std::string part_line(const std::string& part, const std::string& text) {
    std::string p = part, t = text;
    p.resize(12, ' ');
    t.resize(20, ' ');
    return p + " " + t + "   ";
}

class LppsTest : public SearchTest {
protected:
    // A white picture of the size given, as a file of the installation.
    std::string picture(const std::string& name, int w, int h) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::white);
        img.save(QString::fromStdString(inst->root() + "/" + name), "BMP");
        return "C:\\" + name;
    }
    Lpps& open_pages() {
        px::ScrPush(px::load_form(Lpps::kName));
        menu->hide();
        settle();
        return *static_cast<Lpps*>(px::loaded_form(Lpps::kName));
    }
};

TEST_F(LppsTest, PagesForwardAndBackWithTheirMarks) {
    script().pages = {{"1601", "WATER PUMP", picture("P1.BMP", 800, 700), {part_line("16100LP001", "PUMP, WATER")}},
                      {"1101", "ENGINE", picture("P2.BMP", 243, 100),
                       {part_line("11400LP001", "BLOCK"), part_line("", "(CONTINUED)")}}};
    Lpps& p = open_pages();
    EXPECT_EQ(p.windowTitle(), "Local Parts");
    EXPECT_EQ(p.lbl_FigNo->text(), "1601");
    EXPECT_EQ(p.lbl_NextEnd->text(), "NEXT");
    EXPECT_EQ(p.lbl_Msg->text(), message(117));
    // A picture larger than the area is cut at its right and bottom.
    EXPECT_EQ(p.pic_Cotn->geometry(), QRect(0, 0, 643, 599));
    key(p, Qt::Key_F7);
    EXPECT_EQ(p.lbl_Msg->text(), message(801));
    key(p, Qt::Key_F8);
    EXPECT_EQ(p.lbl_FigNo->text(), "1101");
    EXPECT_EQ(p.lbl_NextEnd->text(), "END");
    EXPECT_EQ(p.lst_PartNo->count(), 2);
    // A narrow picture stands in the middle of the area.
    EXPECT_EQ(p.pic_Cotn->geometry(), QRect(204, 0, 243, 100));
    key(p, Qt::Key_F8);
    EXPECT_EQ(p.lbl_Msg->text(), message(802));
    EXPECT_EQ(p.PageIndex, 1);
    key(p, Qt::Key_F7);
    EXPECT_EQ(p.PageIndex, 0);
    // Each page shown marks its picks again.
    EXPECT_EQ(script().calls_of("VBLppsSelectAll"),
              (std::vector<std::string>{"VBLppsSelectAll(1601)", "VBLppsSelectAll(1101)", "VBLppsSelectAll(1601)"}));
}

TEST_F(LppsTest, PageWithoutPictureRefusesOnlyPrinting) {
    script().pages = {{"1601", "WATER PUMP", "", {part_line("16100LP001", "PUMP, WATER")}}};
    Lpps& p = open_pages();
    EXPECT_EQ(p.lbl_Msg->text(), message(862));
    EXPECT_FALSE(p.pic_Cotn->isVisibleTo(&p));
    EXPECT_FALSE(p.cmd_PF(2)->isVisibleTo(&p));
    EXPECT_TRUE(p.cmd_PF(10)->isVisibleTo(&p));
    EXPECT_TRUE(p.cmd_PF(11)->isVisibleTo(&p));
    key(p, Qt::Key_F2);
    EXPECT_TRUE(printer.calls.empty());
    // F11 clears the picks, F10 hands them over as on a page with a picture.
    p.lst_PartNo->setFocus();
    p.lst_PartNo->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    QTest::keyClick(p.lst_PartNo, Qt::Key_Return);
    ASSERT_TRUE(p.lst_PartNo->item(0)->isSelected());
    key(p, Qt::Key_F11);
    EXPECT_FALSE(p.lst_PartNo->item(0)->isSelected());
    EXPECT_EQ(p.lbl_Msg->text(), message(117));
    script().picks = 1;
    key(p, Qt::Key_F10);
    settle();
    EXPECT_EQ(script().calls_of("VBLppsExec").size(), 1u);
    EXPECT_EQ(StandIn::opened(), std::vector<std::string>{"Pnho"});
}

// A picture that cannot be read is told on the message line with one
// error-log line, and the page goes on as one without a picture.
TEST_F(LppsTest, PictureThatCannotBeReadIsReported) {
    namespace fs = std::filesystem;
    inst->write("DAMAGED.BMP", "BM\x36\x00\x00\x00 not a bitmap after all");
    fs::create_directory(fs::path(inst->root()) / "FOLDER.BMP");
    ASSERT_EQ(::mkfifo((inst->root() + "/FIFO.BMP").c_str(), 0600), 0);
    plat::set_drive('Z', "/dev");
    const struct Case {
        const char* what;
        std::string path;
    } cases[] = {
        {"damaged bytes", "C:\\DAMAGED.BMP"},
        {"a folder", "C:\\FOLDER.BMP"},
        {"a device", "Z:\\zero"},
        {"a FIFO without a writer", "C:\\FIFO.BMP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        inst->remove("PXERROR.LOG");
        script().pages = {{"1601", "WATER PUMP", c.path, {part_line("16100LP001", "PUMP, WATER")}},
                          {"1101", "ENGINE", picture("P2.BMP", 243, 100), {part_line("11400LP001", "BLOCK")}}};
        Lpps& p = open_pages();
        EXPECT_EQ(p.lbl_Msg->text(), message(863));
        const std::vector<std::string> log = inst->log_lines();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_NE(log[0].find("Lpps_DispPage,LoadPicture"), std::string::npos) << log[0];
        EXPECT_FALSE(p.pic_Cotn->isVisibleTo(&p));
        // Nothing to print; the page's keys work.
        EXPECT_FALSE(p.cmd_PF(2)->isVisibleTo(&p));
        key(p, Qt::Key_F2);
        EXPECT_TRUE(printer.calls.empty());
        p.lst_PartNo->setFocus();
        p.lst_PartNo->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        QTest::keyClick(p.lst_PartNo, Qt::Key_Return);
        EXPECT_TRUE(p.lst_PartNo->item(0)->isSelected());
        key(p, Qt::Key_F8);
        EXPECT_EQ(p.lbl_FigNo->text(), "1101");
        EXPECT_EQ(p.lbl_Msg->text(), message(117));
        EXPECT_TRUE(p.cmd_PF(2)->isVisibleTo(&p));
        key(p, Qt::Key_F7);
        EXPECT_EQ(p.lbl_Msg->text(), message(863));
        EXPECT_EQ(inst->log_lines().size(), 2u);
        EXPECT_EQ(px::loaded_form(Lpps::kName), &p);
        px::ScrBack();
        px::unload_form(p);
        settle();
    }
}

TEST_F(LppsTest, PicksGoToThePartsList) {
    script().pages = {{"1601", "WATER PUMP", picture("P1.BMP", 200, 200), {part_line("16100LP001", "PUMP, WATER")}}};
    Lpps& p = open_pages();
    key(p, Qt::Key_F10);
    EXPECT_EQ(p.lbl_Msg->text(), message(832));
    p.lst_PartNo->setFocus();
    p.lst_PartNo->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    QTest::keyClick(p.lst_PartNo, Qt::Key_Return);
    EXPECT_TRUE(p.lst_PartNo->item(0)->isSelected());
    EXPECT_EQ(p.txt_Qty->text(), "01");
    // The space bar never marks a line by itself.
    p.lst_PartNo->setFocus();
    QTest::keyClick(p.lst_PartNo, Qt::Key_Space);
    EXPECT_TRUE(p.lst_PartNo->item(0)->isSelected());
    p.lst_PartNo->addItem("x");
    QTest::keyClick(p.lst_PartNo, Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(p.lst_PartNo->item(1)->isSelected());
    delete p.lst_PartNo->takeItem(1);
    // A click on a line picks it, a click below the lines picks nothing.
    p.lst_PartNo->addItem(QString::fromStdString(part_line("16101LP002", "SEAL")));
    const QRect second = p.lst_PartNo->visualItemRect(p.lst_PartNo->item(1));
    QTest::mouseClick(p.lst_PartNo->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_TRUE(p.lst_PartNo->item(1)->isSelected());
    QTest::mouseClick(p.lst_PartNo->viewport(), Qt::LeftButton, {}, second.center() + QPoint(0, 5 * second.height()));
    EXPECT_TRUE(p.lst_PartNo->item(1)->isSelected());
    EXPECT_EQ(script().calls_of("VBLppsSelectListBox").size(), 2u);
    script().picks = 1;
    key(p, Qt::Key_F10);
    settle();
    EXPECT_EQ(StandIn::opened(), std::vector<std::string>{"Pnho"});
}

TEST_F(LppsTest, QuantityBoxTakesDigitsAndSteps) {
    script().pages = {{"1601", "WATER PUMP", picture("P1.BMP", 200, 200), {part_line("16100LP001", "PUMP, WATER")}}};
    Lpps& p = open_pages();
    p.txt_Qty->setFocus();
    QTest::keyClicks(p.txt_Qty, "a7");
    EXPECT_EQ(p.txt_Qty->text(), "7");
    EXPECT_EQ(beeps, 1);
    QTest::keyClick(p.txt_Qty, Qt::Key_Return);
    p.txt_Qty->setText("0");
    QTest::keyClick(p.txt_Qty, Qt::Key_Return);  // a typed 0 goes in as 01
    p.upd_Qty->on_up_click();
    EXPECT_EQ(script().calls_of("VBLppsEntryQty"),
              (std::vector<std::string>{"VBLppsEntryQty(1601,0,7)", "VBLppsEntryQty(1601,0,01)",
                                        "VBLppsEntryQty(1601,1,01)"}));
    QTest::keyClick(p.txt_Qty, Qt::Key_Escape);
    EXPECT_EQ(p.focusWidget(), p.lst_PartNo);
}

}  // namespace
}  // namespace pxtest
