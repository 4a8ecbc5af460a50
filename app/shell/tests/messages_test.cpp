// The message line, the common failure path and the placing of screens.
#include <QLayout>
#include <QEvent>
#include <QLabel>
#include <QListWidget>

#include "shell/errm.h"
#include "shell/gyom.h"
#include "shell/messages.h"
#include "shell/seams.h"
#include "shell/stack.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

using px::Form;

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

class MessagesTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        inst->write("PROG/PXDROM01.MSG",
                    "115Select a menu item.\r\n699Ready.\r\n707Printing.\r\n799Last.\r\n800Eight hundred.\r\n"
                    "891First line.\r\n891Second line.\r\n999A system error occurred.\r\n");
        ASSERT_TRUE(start());
        menu = static_cast<px::Gyom*>(px::loaded_form("Gyom"));
    }
    px::Gyom* menu = nullptr;
};

TEST_F(MessagesTest, ProgressMessagesArePaintedBeforeReturning) {
    struct Case {
        int16_t no;
        const char* text;
        bool painted;
    } cases[] = {{699, "Ready.", false}, {800, "Eight hundred.", false}, {707, "Printing.", true}, {799, "Last.", true}};
    QLabel* line = menu->lbl_Msg;
    PaintCounter counter;
    line->installEventFilter(&counter);
    for (const Case& c : cases) {
        settle();
        counter.paints = 0;
        px::DispMsg(c.no, line);
        EXPECT_EQ(line->text(), c.text);
        EXPECT_EQ(counter.paints > 0, c.painted) << c.no;
    }
    line->removeEventFilter(&counter);
}

TEST_F(MessagesTest, TwoLinesAndUnknownNumbers) {
    px::DispMsg(891, menu->lbl_Msg);
    EXPECT_EQ(menu->lbl_Msg->text(), "First line.\nSecond line.");
    // An unknown number leaves the buffer, and so the line, as it was.
    px::DispMsg(123, menu->lbl_Msg);
    EXPECT_EQ(menu->lbl_Msg->text(), "First line.\nSecond line.");
}

TEST_F(MessagesTest, CentredOnlyOnDisplaysWiderThan1024) {
    struct Case {
        int width, height;
        QPoint expected;
    } cases[] = {
        {1024, 768, {0, 0}},
        {1280, 1024, {(1280 - menu->frameGeometry().width()) / 2, (1024 - menu->frameGeometry().height()) / 2}},
        // A form taller than the display keeps its top (and title) on it.
        {1100, 300, {(1100 - menu->frameGeometry().width()) / 2, 0}},
    };
    for (const Case& c : cases) {
        px::seams().display = [c] { return px::DisplayMetrics{c.width, c.height, 15, 15}; };
        px::CenterForm(*menu);
        EXPECT_EQ(menu->pos(), c.expected) << c.width;
    }
    EXPECT_GT(menu->frameGeometry().height(), 300);
}

TEST_F(MessagesTest, AScreenCentredWhileItLoadsIsCentredAtTheSizeItShowsWith) {
    // A form not yet shown: centred by the size its layout gives it, not by
    // the default size of a window never shown.
    px::Form& b = px::load_form("Scrb");
    b.hide();
    b.setAttribute(Qt::WA_Resized, false);
    auto* big = new QWidget(&b);
    big->setMinimumSize(1000, 600);
    b.layout()->addWidget(big);
    px::seams().display = [] { return px::DisplayMetrics{1280, 1024, 15, 15}; };
    px::CenterForm(b);
    const QPoint at = b.pos();
    const QSize centred = b.frameGeometry().size();
    ASSERT_GE(centred.width(), 1000);
    b.show();
    settle();
    // Showing it keeps the size it was centred at, and so its place.
    EXPECT_EQ(b.frameGeometry().size(), centred);
    EXPECT_EQ(at, QPoint((1280 - centred.width()) / 2, (1024 - centred.height()) / 2));
    px::unload_form(b);
}

TEST_F(MessagesTest, RunTimeErrorTakesTheCommonFailurePath) {
    Form& a = px::load_form("Scra");
    px::ScrPush(a);
    menu->hide();
    std::vector<std::string> listed;
    on_modal("Errm", [&](Form& f) {
        auto* errm = static_cast<px::Errm*>(&f);
        for (int i = 0; i < errm->lst_ErrMsg->count(); ++i) listed.push_back(errm->lst_ErrMsg->item(i)->text().toStdString());
        EXPECT_EQ(a.lbl_Msg->text(), "A system error occurred.");
        key(f, Qt::Key_F4);
    });
    key(a, Qt::Key_F5);  // calls into a library that is not there
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_NE(listed[0].find("PXSCRA,Form_KeyDown,_gone_exec@0,(53)(0)(0)"), std::string::npos) << listed[0];
    EXPECT_EQ(px::ErrorCaller(), &a);
    // The screen stays where it was; the dialog took the log with it.
    EXPECT_TRUE(a.isVisible());
    EXPECT_FALSE(inst->exists("PXERROR.LOG"));
}

TEST_F(MessagesTest, WriteErrorLogOnlyWrites) {
    px::WriteErrorLog("PXTEST", "Proc", "Step", 1, 2, 3);
    EXPECT_EQ(inst->log_lines(), (std::vector<std::string>{"PXTEST,Proc,Step,(1)(2)(3)"}));
    EXPECT_TRUE(modals.empty());
}

}  // namespace
}  // namespace pxtest
