// The vehicle screen against a scripted vehicle identification: load and
// display, the outcome table of every check, Enter and the arrow keys, the
// date steps, the function keys, the lists and the vehicle-information
// files.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "platform/clock.h"
#include "platform/files.h"
#include "shell/codepage.h"
#include "shell/messages.h"
#include "shell/seams.h"
#include "shell/stack.h"
#include "shell/updown.h"
#include "support/engine_double.h"
#include "support/fixture.h"
#include "vehicle/vjin.h"

namespace pxtest {
namespace {

using px::Form;
using px::Vjin;
using vjintest::engine;

// A message as the message file has it.
QString message(int16_t no) {
    QLabel l;
    px::DispMsg(no, &l);
    return l.text();
}
QString refused() { return message(860); }

struct FileChoiceRecord {
    bool save;
    std::string filter, dir;
};

class VjinTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        engine().install();
        ASSERT_TRUE(start());
        menu = px::loaded_form("Gyom");
        on_modal("Errm", [](Form& f) { key(f, Qt::Key_F4); });
    }
    void TearDown() override {
        ProgramTest::TearDown();
        engine().uninstall();
        plat::unfix_clock();
    }
    // Opens the screen as the main menu does; null when it did not stay.
    Vjin* push() {
        px::ScrPush(px::load_form(Vjin::kName));
        menu->hide();
        auto* v = static_cast<Vjin*>(px::loaded_form(Vjin::kName));
        if (v == nullptr) return nullptr;
        v->activateWindow();
        QApplication::setActiveWindow(v);
        settle();
        return v;
    }
    Vjin& open() {
        Vjin* v = push();
        if (v == nullptr) throw std::runtime_error("the vehicle screen did not open");
        return *v;
    }
    static void type(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->setText(text);
    }
    static QString msg(Vjin& v) { return v.lbl_Msg->text(); }
    static QWidget* focused(Vjin& v) { return v.focusWidget(); }
    bool vjin_open() const { return px::loaded_form(Vjin::kName) != nullptr; }
    static std::string pad(const std::string& s, size_t n) { return s + std::string(n - s.size(), ' '); }

    Form* menu = nullptr;
};

// --- load and display ---------------------------------------------------------

TEST_F(VjinTest, LoadShowsTextsKeysAndTheEnginesVehicle) {
    auto& e = engine();
    e.fields = {{"vin", "PX1AVS1600A200123"}, {"cat", "4410A1"}, {"nam", "ARVENA SEDAN"}, {"pdf", "1803"},
                {"pdt", "2312"}, {"mod", "AVS16P1STD 5MEU"}, {"fmod", "AVS16P1"}, {"fno", "A200123"},
                {"char1", "1.6P"}, {"ad", "201807"}, {"clr", "B1A"}, {"trm", "T12"}, {"not", "FLEET"}};
    e.char2[0] = "1.6P";
    e.char2[1] = "5MT";
    e.defaults["lang"] = 4;
    Vjin& v = open();
    EXPECT_EQ(v.windowTitle(), "Vehicle Identification");
    EXPECT_EQ(v.lbl_Input->text(), QString("Vehicle Identification").leftJustified(40));
    EXPECT_EQ(v.fra_Input[0]->title(), "VIN");
    EXPECT_EQ(v.fra_Input[10]->title(), "Characteristics");
    EXPECT_EQ(v.cmd_Search[3]->text(), "Check");
    EXPECT_EQ(v.cmd_Vinfo[1]->text(), "Save");
    // Key captions as read, padded to their fields.
    EXPECT_EQ(v.cmd_PF(2)->text(), "F2:Saved ");
    EXPECT_EQ(v.cmd_PF(1)->text(), "F1:Help ");
    EXPECT_TRUE(v.cmd_PF(12)->isVisible());
    EXPECT_EQ(msg(v), "Enter the VIN, frame number, or catalogue and model; F10 goes on.");
    // clear before init, the areas, keys and language between them.
    std::vector<std::string> order;
    for (const auto& c : e.calls)
        if (c == "clear" || c == "init" || c == "lang") order.push_back(c);
    EXPECT_EQ(order, (std::vector<std::string>{"clear", "lang", "init"}));
    EXPECT_TRUE(v.opt_Lang[4]->isChecked());
    EXPECT_FALSE(v.opt_Lang[2]->isVisible());

    EXPECT_EQ(v.txt_Vin->text(), "PX1AVS1600A200123");
    EXPECT_EQ(v.txt_Catalog->text(), "4410A1");
    EXPECT_EQ(v.lbl_Modelname->text(), "(1803-2312 ARVENA SEDAN        )");
    EXPECT_EQ(v.txt_Model->text(), "AVS16P1STD 5MEU");
    EXPECT_EQ(v.txt_FrameNo->text(), "A200123");
    EXPECT_EQ(v.lbl_MEngin->text(), "1.6P");
    EXPECT_EQ(v.lbl_Mchar[1]->text(), "5MT  ");
    EXPECT_EQ(v.lbl_Mchar[20]->text(), "     ");
    EXPECT_EQ(v.txt_Pdate1->text(), "2018");
    EXPECT_EQ(v.txt_Pdate2->text(), "07");
    EXPECT_EQ(v.txt_Color->text(), "B1A");
    EXPECT_EQ(v.txt_Notes->text(), "FLEET");
}

TEST_F(VjinTest, BlankVehicleNameAndClosedDetailPart) {
    engine().defaults["inputarea"] = 0;
    engine().defaults["lang"] = 2;
    Vjin& v = open();
    EXPECT_EQ(v.lbl_Modelname->text(), "(    -     " + QString(20, ' ') + ")");
    EXPECT_FALSE(v.cmd_PF(12)->isVisible());
    EXPECT_FALSE(v.cmd_PF(12)->isEnabled());
    for (int i = 4; i <= 8; ++i) EXPECT_FALSE(v.fra_Input[static_cast<size_t>(i)]->isEnabled()) << i;
    EXPECT_TRUE(v.fra_Input[3]->isEnabled());
    EXPECT_TRUE(v.opt_Lang[0]->isChecked()) << "language 2 selects option 0";
}

TEST_F(VjinTest, FailedLoadShowsTheErrorAndReturnsToTheMenu) {
    for (const char* failing : {"clear", "init"}) {
        engine().answer(failing, {1});
        push();
        settle();
        EXPECT_FALSE(vjin_open()) << failing;
        EXPECT_EQ(modals.back(), "Errm") << failing;
        EXPECT_TRUE(engine().was_called("back")) << failing;
        EXPECT_TRUE(menu->isVisible()) << failing;
        engine().calls.clear();
        settle();
    }
}

// --- the checks' outcome tables --------------------------------------------------

struct Outcome {
    int32_t code;
    QString message;      // shown last ("" = not looked at)
    int beeps;
    const char* focus;    // object name of the box with the focus, "" = not looked at
    const char* call;     // a further engine call the outcome makes, "" none
};

class VjinOutcomes : public VjinTest {
protected:
    // Runs check n with the engine answering `code`, then compares.
    void run_case(const char* entry, int check, const Outcome& o, const std::function<void(Vjin&)>& prepare = {}) {
        Vjin& v = open();
        if (prepare) prepare(v);
        engine().calls.clear();
        engine().answer(entry, {o.code});
        on_modal("Vcat", [](Form& f) { px::unload_form(f); });
        on_modal("Vkei", [](Form& f) { px::unload_form(f); });
        engine().answer("from", {3});
        int before = beeps;
        v.VJIN_Check(check);
        std::string where = std::string(entry) + " code " + std::to_string(o.code);
        if (o.code == 99 || std::string(o.focus) == "menu") {
            EXPECT_FALSE(vjin_open()) << where;
            return;
        }
        ASSERT_TRUE(vjin_open()) << where;
        if (!o.message.isEmpty()) EXPECT_EQ(msg(v), o.message) << where;
        EXPECT_EQ(beeps - before, o.beeps) << where;
        if (*o.focus != '\0') {
            ASSERT_NE(focused(v), nullptr) << where;
            EXPECT_EQ(focused(v)->objectName().toStdString(), o.focus) << where;
        }
        if (*o.call != '\0') EXPECT_TRUE(engine().was_called(o.call)) << where << " calls " << o.call;
        px::unload_form(v);
        settle();
    }
};

const QString kGuide = "Enter the VIN, frame number, or catalogue and model; F10 goes on.";

TEST_F(VjinOutcomes, Vin) {
    const Outcome table[] = {
        {0, kGuide, 0, "txt_Catalog", ""},
        {1, "A VIN has 17 letters and digits.", 1, "txt_Vin", ""},
        {2, "No vehicle of the installed catalogues has this VIN.", 1, "txt_Vin", ""},
        {4, "The VIN does not fit the vehicle entered.", 1, "txt_Vin", "vin"},
        {8, "", 0, "", "frame"},  // redisplay, then the frame check
        {16, kGuide, 0, "txt_FrameNo", "inputarea"},
        {32, kGuide, 0, "txt_Pdate1", ""},
        {99, "", 0, "menu", ""},
        {7, "", 1, "menu", ""},
    };
    for (const Outcome& o : table) {
        if (o.code == 4) engine().answer("msgid", {893});
        run_case("vin", 0, o, [](Vjin& v) { type(v.txt_Vin, "px1avs1600a200123 "); });
    }
}

TEST_F(VjinOutcomes, VinIsTidiedAndHandedOverFixed) {
    Vjin& v = open();
    type(v.txt_Vin, "px1avs1600a2001  ");
    v.VJIN_Check(0);
    EXPECT_EQ(v.txt_Vin->text(), "PX1AVS1600A2001");
    EXPECT_EQ(engine().called("vin ").back(), "vin 15 PX1AVS1600A2001  ");
    type(v.txt_Vin, "");
    v.VJIN_Check(0);
    EXPECT_EQ(engine().called("vin ").back(), "vin 0 " + std::string(17, ' '));
    // A refusal without a message of its own shows 860.
    engine().answer("vin", {4});
    v.VJIN_Check(0);
    EXPECT_EQ(msg(v), refused());
}

TEST_F(VjinOutcomes, Catalogue) {
    const Outcome table[] = {
        {0, kGuide, 0, "txt_Model", ""},
        {1, kGuide, 0, "txt_Catalog", "vcat_init"},  // the list, left with F3: field emptied
        {4, "The catalogue does not fit the vehicle entered.", 1, "txt_Catalog", ""},
        {8, kGuide, 0, "txt_FrameNo", ""},
        {16, kGuide, 0, "txt_Model", ""},
        {2, "", 1, "menu", ""},
        {32, "", 1, "menu", ""},
    };
    for (const Outcome& o : table) {
        if (o.code == 4) engine().answer("msgid", {892});
        run_case("cat", 1, o, [](Vjin& v) { type(v.txt_Catalog, "4410a1"); });
    }
    // Empty: "ALL" with length 3.
    Vjin& v = open();
    type(v.txt_Catalog, "");
    v.VJIN_Check(1);
    EXPECT_EQ(engine().called("cat ").back(), "cat 3 ALL" + std::string(12, ' '));
}

TEST_F(VjinOutcomes, Model) {
    const Outcome table[] = {
        {1, kGuide, 0, "txt_Pdate1", ""},
        {2, kGuide, 0, "txt_Model", "vkei_init"},
        {4, "The model is not found.", 1, "txt_Model", ""},
        {8, kGuide, 0, "txt_FrameNo", ""},
        {16, "", 1, "menu", ""},
    };
    for (const Outcome& o : table) {
        if (o.code == 4) engine().answer("msgid", {894});
        run_case("model", 2, o, [](Vjin& v) {
            type(v.txt_Catalog, "4410A1");
            type(v.txt_Model, "avs16p1");
        });
    }
    // Code 0: the frame model next when no catalogue is typed, else the year.
    run_case("model", 2, {0, kGuide, 0, "txt_FrameMod", ""}, [](Vjin& v) { type(v.txt_Model, "X"); });
    run_case("model", 2, {0, kGuide, 0, "txt_Pdate1", ""}, [](Vjin& v) {
        type(v.txt_Catalog, "4410A1");
        type(v.txt_Model, "X");
    });
    Vjin& v = open();
    v.VJIN_Check(2);
    EXPECT_EQ(engine().called("model ").back(), "model 3 ALL" + std::string(17, ' '));
}

TEST_F(VjinOutcomes, Frame) {
    const Outcome table[] = {
        {0, kGuide, 0, "txt_Pdate1", ""},
        {1, kGuide, 0, "", "vcat_init"},
        {2, kGuide, 0, "", "vkei_init"},
        {4, "The frame number is not found.", 1, "txt_FrameNo", ""},
        {8, kGuide, 0, "txt_Color", ""},
        {16, kGuide, 0, "txt_Pdate1", ""},
        {32, kGuide, 0, "txt_Pdate1", ""},
        {99, "", 0, "menu", ""},
        {64, "", 1, "menu", ""},
    };
    for (const Outcome& o : table) {
        if (o.code == 4) engine().answer("msgid", {896});
        run_case("frame", 3, o, [](Vjin& v) {
            type(v.txt_FrameMod, "avs16p1");
            type(v.txt_FrameNo, "a200123");
        });
    }
    Vjin& v = open();
    type(v.txt_FrameMod, "avs16p1");
    type(v.txt_FrameNo, "a2001");
    engine().answer("frame", {4});
    v.VJIN_Check(3);
    EXPECT_EQ(engine().called("frame").back(), "frame 7 AVS16P1 5 A2001  ");
    EXPECT_EQ(v.frame_area, 1) << "a refused frame number waits";
    // An accepted frame with a message of its own shows it.
    engine().answer("frame", {16});
    engine().answer("msgid", {0, 896});
    v.VJIN_Check(3);
    EXPECT_EQ(msg(v), kGuide);
}

TEST_F(VjinOutcomes, DateColourTrim) {
    const Outcome dates[] = {
        {0, kGuide, 0, "txt_Color", ""},   {1, kGuide, 0, "txt_Color", ""},
        {4, refused(), 1, "txt_Pdate1", ""},  // 860
        {2, "", 1, "menu", ""},           {-1, "", 1, "menu", ""},
    };
    for (const Outcome& o : dates)
        run_case("date", 4, o, [](Vjin& v) {
            type(v.txt_Pdate1, "2018");
            type(v.txt_Pdate2, "7");
        });
    EXPECT_EQ(engine().called("date ").back(), "date 5 20187 ");

    const Outcome colours[] = {
        {0, kGuide, 0, "txt_Trim", ""},
        {4, refused(), 1, "txt_Color", ""},
        {2, "", 0, "txt_Color", ""},  // ends quietly: 700 stays, focus stays
    };
    for (const Outcome& o : colours) run_case("col", 5, o, [](Vjin& v) { type(v.txt_Color, "b1a"); });
    const Outcome trims[] = {
        {0, kGuide, 0, "txt_Notes", ""},
        {4, refused(), 1, "txt_Trim", ""},
        {16, "", 0, "txt_Trim", ""},
    };
    for (const Outcome& o : trims) run_case("trim", 6, o, [](Vjin& v) { type(v.txt_Trim, "t12"); });
    // Notes: no code looked at, the fields shown again.
    run_case("note", 7, {55, kGuide, 0, "", "note"}, [](Vjin& v) { type(v.txt_Notes, "fleet car"); });
}

// --- Enter and the arrow keys --------------------------------------------------------

TEST_F(VjinTest, EnterInEachBox) {
    struct Case {
        QLineEdit* Vjin::*box;
        const char* call;   // the check Enter starts, or "" for a move
        const char* focus;  // where a move goes
    } cases[] = {
        {&Vjin::txt_Vin, "vin", ""},          {&Vjin::txt_Catalog, "cat", ""},
        {&Vjin::txt_Model, "model", ""},      {&Vjin::txt_FrameMod, "", "txt_FrameNo"},
        {&Vjin::txt_FrameNo, "frame", ""},    {&Vjin::txt_Pdate1, "", "txt_Pdate2"},
        {&Vjin::txt_Pdate2, "date", ""},      {&Vjin::txt_Color, "col", ""},
        {&Vjin::txt_Trim, "trim", ""},        {&Vjin::txt_Notes, "note", ""},
    };
    engine().defaults["model"] = 1;  // stays on its list-free outcomes
    engine().defaults["cat"] = 0;
    Vjin& v = open();
    for (const Case& c : cases) {
        QLineEdit* box = v.*c.box;
        box->setFocus();
        box->setText("1");
        engine().calls.clear();
        key(v, Qt::Key_Return);
        std::string name = box->objectName().toStdString();
        if (box != v.txt_Notes) EXPECT_EQ(box->text(), "1") << name << ": Enter never reaches the text";
        if (*c.call != '\0') EXPECT_TRUE(engine().was_called(c.call)) << name;
        else EXPECT_EQ(focused(v)->objectName().toStdString(), c.focus) << name;
        if (*c.call == '\0') EXPECT_TRUE(engine().calls.empty() || engine().was_called("note")) << name;
    }
}

TEST_F(VjinTest, ArrowKeys) {
    struct Case {
        QLineEdit* Vjin::*box;
        const char* text;
        Qt::Key key;
        const char* expect;  // "beep", a check ("vin" ...) or the box that takes the focus
    } cases[] = {
        {&Vjin::txt_Vin, "", Qt::Key_Left, "beep"},
        {&Vjin::txt_Vin, "", Qt::Key_Up, "beep"},
        {&Vjin::txt_Vin, "", Qt::Key_Right, "txt_Catalog"},
        {&Vjin::txt_Vin, "", Qt::Key_Down, "txt_Model"},
        {&Vjin::txt_Vin, "PX1", Qt::Key_Down, "vin"},
        {&Vjin::txt_Catalog, "", Qt::Key_Left, "txt_Vin"},
        {&Vjin::txt_Catalog, "", Qt::Key_Up, "beep"},
        {&Vjin::txt_Catalog, "", Qt::Key_Down, "txt_FrameMod"},
        {&Vjin::txt_Catalog, "4410A1", Qt::Key_Down, "cat"},
        {&Vjin::txt_Model, "", Qt::Key_Up, "txt_Vin"},
        {&Vjin::txt_Model, "", Qt::Key_Right, "txt_FrameMod"},
        {&Vjin::txt_Model, "X", Qt::Key_Down, "model"},
        {&Vjin::txt_FrameMod, "", Qt::Key_Left, "txt_Model"},
        {&Vjin::txt_FrameMod, "AVS", Qt::Key_Up, "txt_Catalog"},
        {&Vjin::txt_FrameMod, "AVS", Qt::Key_Right, "txt_FrameNo"},
        {&Vjin::txt_FrameMod, "", Qt::Key_Right, "beep"},  // no catalogue typed
        {&Vjin::txt_FrameNo, "A200123", Qt::Key_Down, "frame"},
        {&Vjin::txt_FrameNo, "", Qt::Key_Left, "txt_FrameMod"},
        {&Vjin::txt_Pdate1, "", Qt::Key_Right, "beep"},
        {&Vjin::txt_Pdate1, "2018", Qt::Key_Right, "txt_Pdate2"},
        {&Vjin::txt_Pdate1, "", Qt::Key_Down, "txt_Color"},
        {&Vjin::txt_Pdate2, "", Qt::Key_Up, "txt_Pdate1"},
        {&Vjin::txt_Pdate2, "", Qt::Key_Right, "txt_Color"},  // both boxes empty
        {&Vjin::txt_Color, "", Qt::Key_Right, "txt_Trim"},
        {&Vjin::txt_Color, "B1", Qt::Key_Down, "col"},
        {&Vjin::txt_Trim, "", Qt::Key_Left, "txt_Color"},
        {&Vjin::txt_Trim, "T", Qt::Key_Down, "trim"},
        {&Vjin::txt_Notes, "", Qt::Key_Up, "txt_Trim"},
        {&Vjin::txt_Notes, "", Qt::Key_Right, "note"},
    };
    engine().defaults["vin"] = 1;
    engine().defaults["cat"] = 4;
    engine().defaults["model"] = 4;
    engine().defaults["frame"] = 4;
    engine().defaults["col"] = 4;
    engine().defaults["trim"] = 4;
    Vjin& v = open();
    for (const Case& c : cases) {
        for (QLineEdit* b : {v.txt_Vin, v.txt_Catalog, v.txt_Model, v.txt_FrameMod, v.txt_FrameNo, v.txt_Pdate1,
                             v.txt_Pdate2, v.txt_Color, v.txt_Trim, v.txt_Notes})
            b->clear();
        QLineEdit* box = v.*c.box;
        box->setFocus();
        box->setText(c.text);
        engine().calls.clear();
        int before = beeps;
        key(v, c.key);
        std::string where = box->objectName().toStdString() + " '" + c.text + "' " + std::to_string(c.key);
        std::string want = c.expect;
        if (want == "beep") {
            EXPECT_EQ(beeps - before, 1) << where;
            EXPECT_EQ(focused(v), box) << where;
        } else if (want.rfind("txt_", 0) == 0) {
            EXPECT_EQ(focused(v)->objectName().toStdString(), want) << where;
        } else {
            EXPECT_TRUE(engine().was_called(want)) << where;
        }
    }
    // Right in a filled frame number only moves the caret.
    v.txt_FrameNo->setFocus();
    v.txt_FrameNo->setText("A200123");
    v.txt_FrameNo->setCursorPosition(0);
    engine().calls.clear();
    key(v, Qt::Key_Right);
    EXPECT_EQ(focused(v), v.txt_FrameNo);
    EXPECT_EQ(v.txt_FrameNo->cursorPosition(), 1);
    EXPECT_FALSE(engine().was_called("frame"));
}

TEST_F(VjinTest, CharactersTheBoxesTake) {
    Vjin& v = open();
    v.txt_Color->setFocus();
    QTest::keyClicks(v.txt_Color, "b-/1");
    EXPECT_EQ(v.txt_Color->text(), "b1") << "lower case stays until the check";
    v.txt_Pdate1->setFocus();
    QTest::keyClicks(v.txt_Pdate1, "2a0-1/89");
    EXPECT_EQ(v.txt_Pdate1->text(), "2018");
    v.txt_Notes->setFocus();
    QTest::keyClicks(v.txt_Notes, "a-b/c");
    EXPECT_EQ(v.txt_Notes->text(), "a-b/c");
}

TEST_F(VjinTest, LeavingTheNotesChecksThem) {
    Vjin& v = open();
    v.txt_Notes->setFocus();
    v.txt_Notes->setText("fleet");
    engine().calls.clear();
    v.txt_Trim->setFocus();
    EXPECT_EQ(engine().called("note").size(), 1u);
    EXPECT_EQ(v.txt_Notes->text(), "") << "shown again from the engine";
    // Frame boxes: the flag follows the focus.
    v.txt_FrameMod->setFocus();
    EXPECT_EQ(v.frame_area, 1);
    v.txt_FrameNo->setFocus();
    EXPECT_EQ(v.frame_area, 1);
    v.txt_Vin->setFocus();
    EXPECT_EQ(v.frame_area, 0);
}

TEST_F(VjinTest, LanguageOptionsTellTheEngine) {
    Vjin& v = open();
    v.opt_Lang[3]->setFocus();
    EXPECT_TRUE(engine().was_called("change_lang 3"));
    EXPECT_EQ(v.opt_Lang[3]->palette().color(QPalette::WindowText), QColor(0, 0, 192));
    EXPECT_EQ(v.fra_Input[7]->palette().color(QPalette::Window), QColor(224, 224, 224));
    v.txt_Notes->setFocus();
    EXPECT_NE(v.fra_Input[7]->palette().color(QPalette::Window), QColor(224, 224, 224));
}

TEST_F(VjinTest, AreaClicksAndMarks) {
    Vjin& v = open();
    QTest::mouseClick(v.fra_Input[4], Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(focused(v), v.txt_Pdate1);
    EXPECT_EQ(v.fra_Input[4]->palette().color(QPalette::Window), QColor(224, 224, 224));
    QTest::mouseClick(v.lbl_Modelname, Qt::LeftButton);
    EXPECT_EQ(focused(v), v.txt_Catalog);
    QTest::mouseClick(v.fra_Input[7], Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(focused(v), v.txt_Catalog) << "the language area has no box";
    v.cmd_Search[2]->setFocus();
    EXPECT_EQ(v.fra_Input[2]->palette().color(QPalette::Window), QColor(224, 224, 224));
    v.VJIN_Mark_Area(7, 1);  // check button 7 would mark the language area
    EXPECT_EQ(v.opt_Lang[5]->palette().color(QPalette::Window), QColor(224, 224, 224));
}

// --- date steps ----------------------------------------------------------------------

TEST_F(VjinTest, DateSteps) {
    plat::fix_clock(2024, 12, 10, 9, 0, 0);
    struct Case {
        const char* text;
        int step;
        const char* month;
        const char* year;
    } cases[] = {
        {"12", +1, "01", ""},   {"01", -1, "12", ""},     {"7", +1, "08", ""},      {"00", -1, "", ""},
        {"13", +1, "", ""},       {"", +1, "01", "2025"},   {"", -1, "11", "2023"},   {"2500", +1, "", ""},
        {"1900", -1, "", ""},     {"1899", +1, "", "1900"}, {"95", +1, "", ""},       {"95", -1, "", ""},
        {"12", +2, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Vjin::VJIN_Step_Month(c.text, c.step), c.month) << c.text << " " << c.step;
        EXPECT_EQ(Vjin::VJIN_Step_Year(c.text, c.step), c.year) << c.text << " " << c.step;
    }
    Vjin& v = open();
    v.txt_Pdate1->setText("2500");
    v.txt_Vin->setFocus();
    v.upd_Pdate[0]->up_button()->click();
    EXPECT_EQ(v.txt_Pdate1->text(), "2500");
    EXPECT_EQ(focused(v), v.txt_Pdate1) << "nothing changes, the focus goes to the box";
    v.txt_Pdate2->setText("12");
    v.upd_Pdate[1]->up_button()->click();
    EXPECT_EQ(v.txt_Pdate2->text(), "01");
    v.upd_Pdate[1]->down_button()->click();
    EXPECT_EQ(v.txt_Pdate2->text(), "12");
    EXPECT_FALSE(engine().was_called("date")) << "stepping checks nothing";
}

// The up-downs stand in the tab order beside their boxes, and Up or Down on
// a focused up-down steps its box as a press of that arrow does.
TEST_F(VjinTest, TheDateUpDownsTakeTabAndStepWithUpAndDown) {
    plat::fix_clock(2024, 12, 10, 9, 0, 0);
    Vjin& v = open();
    v.txt_Pdate1->setFocus();
    std::vector<QWidget*> order;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(focused(v), Qt::Key_Tab);
        order.push_back(focused(v));
    }
    EXPECT_EQ(order, (std::vector<QWidget*>{v.upd_Pdate[0], v.txt_Pdate2, v.upd_Pdate[1], v.txt_Color}));
    QTest::keyClick(focused(v), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(v), v.upd_Pdate[1]);

    v.txt_Pdate1->setText("2024");
    v.txt_Pdate2->setText("12");
    struct Case {
        int box;
        Qt::Key key;
        const char* year;
        const char* month;
    } cases[] = {{0, Qt::Key_Up, "2025", "12"},   {0, Qt::Key_Down, "2024", "12"}, {0, Qt::Key_Down, "2023", "12"},
                 {1, Qt::Key_Up, "2023", "01"},   {1, Qt::Key_Down, "2023", "12"}, {1, Qt::Key_Down, "2023", "11"}};
    for (const Case& c : cases) {
        px::UpDown* u = v.upd_Pdate[static_cast<size_t>(c.box)];
        u->setFocus();
        QTest::keyClick(u, c.key);
        EXPECT_EQ(v.txt_Pdate1->text(), c.year);
        EXPECT_EQ(v.txt_Pdate2->text(), c.month);
        EXPECT_EQ(focused(v), u);
    }
    // A step out of range changes nothing and puts the focus into the box.
    v.txt_Pdate1->setText("2500");
    v.upd_Pdate[0]->setFocus();
    QTest::keyClick(v.upd_Pdate[0], Qt::Key_Up);
    EXPECT_EQ(v.txt_Pdate1->text(), "2500");
    EXPECT_EQ(focused(v), v.txt_Pdate1);
    EXPECT_FALSE(engine().was_called("date")) << "stepping checks nothing";
}

// --- function keys -------------------------------------------------------------------

TEST_F(VjinTest, UnusedKeysAndHelp) {
    Vjin& v = open();
    engine().calls.clear();
    for (Qt::Key k : {Qt::Key_F5, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9}) key(v, k);
    EXPECT_TRUE(engine().calls.empty());
    EXPECT_TRUE(vjin_open());
    v.cmd_PF(1)->setEnabled(false);
    v.lbl_Msg->clear();
    key(v, Qt::Key_F1);
    EXPECT_EQ(msg(v), kGuide);
    EXPECT_TRUE(modals.empty()) << "no help while F1 is off";
}

TEST_F(VjinTest, HelpAndHardCopy) {
    Vjin& v = open();
    on_modal("Help", [](Form& f) { px::unload_form(f); });
    key(v, Qt::Key_F1);
    EXPECT_EQ(modals.back(), "Help");
    EXPECT_EQ(msg(v), kGuide);
    key(v, Qt::Key_F6);
    EXPECT_FALSE(printer.calls.empty()) << "the screen printed";
    EXPECT_TRUE(vjin_open());
}

TEST_F(VjinTest, SavedVehicles) {
    Vjin& v = open();
    engine().answer("select", {1});
    key(v, Qt::Key_F2);
    EXPECT_EQ(msg(v), "There is no saved list.");
    EXPECT_EQ(beeps, 1);

    engine().fields["clr"] = "RED";
    engine().answer("select", {0});
    engine().answer("fsel", {16});
    on_modal("Fsel", [](Form& f) {
        // The fields were shown again before the list opened.
        EXPECT_EQ(static_cast<Vjin*>(px::loaded_form("Vjin"))->txt_Color->text(), "RED");
        px::unload_form(f);
    });
    key(v, Qt::Key_F2);
    EXPECT_EQ(modals.back(), "Fsel");
    EXPECT_TRUE(engine().was_called("fsel_init"));
    EXPECT_EQ(focused(v), v.txt_Color);

    // A list left with F3: 100 and the VIN; code 4 after a choice: 860.
    engine().answer("select", {0, 0});
    engine().answer("from", {3, 0});
    engine().answer("fsel", {4});
    key(v, Qt::Key_F2);
    EXPECT_EQ(focused(v), v.txt_Vin);
    EXPECT_EQ(msg(v), kGuide);
    int before = beeps;
    key(v, Qt::Key_F2);
    EXPECT_EQ(msg(v), refused());
    EXPECT_EQ(beeps - before, 1);
    // Saved list to the model list.
    engine().answer("select", {0});
    engine().answer("fsel", {1});
    engine().answer("vkei", {8});
    on_modal("Vkei", [](Form& f) { px::unload_form(f); });
    key(v, Qt::Key_F2);
    EXPECT_EQ(modals.back(), "Vkei");
    EXPECT_EQ(v.sub_origin, 2);
    EXPECT_EQ(focused(v), v.txt_FrameNo);
    // -1 takes the failure path with the fields as they were.
    engine().answer("select", {0});
    engine().answer("fsel", {-1});
    key(v, Qt::Key_F2);
    EXPECT_EQ(modals.back(), "Errm");
    EXPECT_FALSE(vjin_open());
}

TEST_F(VjinTest, BackRefusedThenMenu) {
    Vjin& v = open();
    engine().answer("back", {1});
    key(v, Qt::Key_F3);
    ASSERT_TRUE(vjin_open());
    for (int n : {1, 2, 3, 10, 11, 12}) EXPECT_FALSE(v.cmd_PF(n)->isVisible()) << n;
    EXPECT_TRUE(v.cmd_PF(4)->isVisible());
    EXPECT_TRUE(v.cmd_PF(6)->isVisible());
    engine().answer("back", {1});
    key(v, Qt::Key_F4);
    EXPECT_EQ(engine().called("back").size(), 2u);
    EXPECT_FALSE(vjin_open());
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(px::ScrCount(), 1);
}

TEST_F(VjinTest, BackLeavesForTheMenu) {
    Vjin& v = open();
    key(v, Qt::Key_F3);
    EXPECT_FALSE(vjin_open());
    EXPECT_TRUE(menu->isVisible());
}

TEST_F(VjinTest, ClosedByTheWindowSystem) {
    Vjin& v = open();
    engine().answer("back", {1, 1});
    v.close();
    EXPECT_FALSE(vjin_open()) << "as F3, and F4 where F3 may not leave";
    EXPECT_EQ(engine().called("back").size(), 2u);
}

TEST_F(VjinTest, ExecWithRefusedFrameNumber) {
    Vjin& v = open();
    v.txt_FrameMod->setFocus();
    v.txt_FrameMod->setText("AVS16P1");
    v.txt_FrameNo->setFocus();
    v.txt_FrameNo->setText("Z");
    engine().answer("frame", {4});
    int before = beeps;
    key(v, Qt::Key_F10);
    EXPECT_TRUE(engine().was_called("frame"));
    EXPECT_FALSE(engine().was_called("exec"));
    EXPECT_EQ(focused(v), v.txt_FrameNo);
    EXPECT_EQ(beeps - before, 2);  // the refusal's and F10's
    // Clicked, the box loses the focus first: straight to the engine.
    engine().calls.clear();
    v.cmd_PF(10)->setFocus();
    v.cmd_PF(10)->click();
    EXPECT_FALSE(engine().was_called("frame"));
    EXPECT_TRUE(engine().was_called("exec"));
    EXPECT_EQ(msg(v), kGuide) << "not identified yet: 100 with a beep";
}

TEST_F(VjinTest, ExecGoesOnToTheSearchRoutes) {
    Vjin& v = open();
    engine().answer("exec", {1});
    engine().answer("col", {4});  // a refused colour does not stop F10
    key(v, Qt::Key_F10);
    for (const char* c : {"date", "col", "trim", "note"}) EXPECT_TRUE(engine().was_called(c)) << c;
    EXPECT_FALSE(vjin_open());
    EXPECT_EQ(px::ScrName(px::ScrCount()), "Krot");
    // Back from the search routes, the screen loads afresh.
    engine().calls.clear();
    key(*px::loaded_form("Krot"), Qt::Key_F3);
    settle();
    EXPECT_EQ(px::ScrName(px::ScrCount()), "Vjin");
    EXPECT_TRUE(vjin_open());
    EXPECT_TRUE(engine().was_called("clear"));
    EXPECT_TRUE(engine().was_called("init"));
}

TEST_F(VjinTest, ExecFailure) {
    Vjin& v = open();
    engine().answer("exec", {2});
    key(v, Qt::Key_F10);
    EXPECT_EQ(modals.back(), "Errm");
    EXPECT_FALSE(vjin_open());
}

TEST_F(VjinTest, ClearKey) {
    Vjin& v = open();
    v.txt_Catalog->setFocus();
    v.txt_Catalog->setText("X");
    key(v, Qt::Key_F11);
    EXPECT_EQ(v.txt_Catalog->text(), "");
    EXPECT_EQ(focused(v), v.txt_Vin);
    EXPECT_EQ(msg(v), kGuide);
    engine().answer("clear", {5});
    key(v, Qt::Key_F11);
    EXPECT_EQ(modals.back(), "Errm");
    EXPECT_FALSE(vjin_open());
}

TEST_F(VjinTest, VehicleInformationKey) {
    Vjin& v = open();
    on_modal("Vinf", [](Form& f) { px::unload_form(f); });
    key(v, Qt::Key_F12);
    EXPECT_TRUE(engine().was_called("vinf_make"));
    EXPECT_EQ(modals.back(), "Vinf");
    EXPECT_TRUE(vjin_open());
    // The dialog could not read its data: the failure path.
    engine().answer("vinf_dialog", {-1});
    key(v, Qt::Key_F12);
    EXPECT_EQ(modals.back(), "Errm");
    EXPECT_FALSE(vjin_open());
}

TEST_F(VjinTest, VehicleInformationKeyWithoutTheDetailPart) {
    engine().defaults["inputarea"] = 0;
    Vjin& v = open();
    v.lbl_Msg->clear();
    key(v, Qt::Key_F12);
    EXPECT_EQ(msg(v), kGuide);
    EXPECT_FALSE(engine().was_called("vinf_make"));
    EXPECT_TRUE(modals.empty());
    // A later refresh finds the detail part open: F12 works again.
    engine().defaults["inputarea"] = 1;
    engine().answer("cat", {16});
    v.VJIN_Check(1);
    EXPECT_TRUE(v.cmd_PF(12)->isVisible());
    EXPECT_TRUE(v.fra_Input[5]->isEnabled());
}

// --- sub-screens -------------------------------------------------------------------------

TEST_F(VjinTest, CatalogueListReturns) {
    Vjin& v = open();
    on_modal("Vcat", [](Form& f) { px::unload_form(f); });
    struct Case {
        int32_t from, vcat;
        const char* focus;
        const char* text;  // the catalogue box afterwards ("*" = as typed)
    } cases[] = {
        {3, 0, "txt_Catalog", ""}, {0, 16, "txt_Model", "*"}, {0, 8, "txt_FrameNo", "*"}, {0, 4, "txt_Catalog", "*"},
    };
    for (const Case& c : cases) {
        type(v.txt_Catalog, "ARV");
        engine().answer("cat", {1});
        engine().answer("from", {c.from});
        if (c.from == 0) engine().answer("vcat", {c.vcat});
        if (c.from == 0) engine().fields["cat"] = "ARV";
        v.VJIN_Check(1);
        EXPECT_EQ(modals.back(), "Vcat");
        EXPECT_EQ(focused(v)->objectName().toStdString(), c.focus) << c.from << "/" << c.vcat;
        EXPECT_EQ(v.txt_Catalog->text(), std::string(c.text) == "*" ? "ARV" : "") << c.from << "/" << c.vcat;
    }
    // Nothing to list: 860.
    engine().answer("cat", {1});
    engine().answer("vcat_init", {1});
    v.VJIN_Check(1);
    EXPECT_EQ(msg(v), refused());
    EXPECT_EQ(focused(v), v.txt_Catalog);
    // A list left to the menu takes the screen there too.
    engine().answer("cat", {1});
    engine().answer("from", {4});
    v.VJIN_Check(1);
    EXPECT_FALSE(vjin_open());
}

TEST_F(VjinTest, TheFrameBoxFocusedAfterAListClosedIsCheckedByF10) {
    Vjin& v = open();
    on_modal("Vcat", [](Form& f) { px::unload_form(f); });
    type(v.txt_Catalog, "ARV");
    engine().answer("cat", {1});
    engine().answer("from", {0});
    engine().answer("vcat", {8});
    engine().fields["cat"] = "ARV";
    v.VJIN_Check(1);
    settle();
    ASSERT_EQ(focused(v), v.txt_FrameNo);
    EXPECT_EQ(v.focus_control(), v.txt_FrameNo);
    EXPECT_EQ(v.frame_area, 1);
    v.txt_FrameNo->setText("Z");
    engine().calls.clear();
    engine().answer("frame", {4});
    key(v, Qt::Key_F10);
    EXPECT_TRUE(engine().was_called("frame"));
    EXPECT_FALSE(engine().was_called("exec"));
    EXPECT_EQ(focused(v), v.txt_FrameNo);
}

TEST_F(VjinTest, TypedSignsAreNoArrowKeys) {
    Vjin& v = open();
    v.txt_Vin->setFocus();
    QTest::keyClick(v.txt_Vin, Qt::Key_ParenLeft, Qt::ShiftModifier);
    EXPECT_FALSE(engine().was_called("vin"));
    EXPECT_EQ(focused(v), v.txt_Vin);
    v.txt_Notes->setFocus();
    QTest::keyClick(v.txt_Notes, Qt::Key_Percent, Qt::ShiftModifier);
    EXPECT_EQ(focused(v), v.txt_Notes);
}

TEST_F(VjinTest, FramePathReopensTheModelList) {
    Vjin& v = open();
    int vkei_shown = 0;
    on_modal("Vcat", [](Form& f) { px::unload_form(f); });
    on_modal("Vkei", [&](Form& f) {
        ++vkei_shown;
        px::unload_form(f);
    });
    type(v.txt_FrameNo, "A200123");
    engine().answer("frame", {1});
    engine().answer("from", {0, 0});
    engine().answer("vxxx", {2, 8});
    v.VJIN_Check(3);
    EXPECT_EQ(vkei_shown, 1) << "the catalogue list, then the model list";
    EXPECT_EQ(v.sub_origin, 3);
    EXPECT_EQ(focused(v), v.txt_Color);
    EXPECT_EQ(std::count(engine().calls.begin(), engine().calls.end(), "vcat"), 0)
        << "the frame path has its own return";
}

TEST_F(VjinTest, ModelListFailure) {
    Vjin& v = open();
    engine().answer("model", {2});
    engine().answer("vkei_init", {-1});
    type(v.txt_Model, "X");
    v.VJIN_Check(2);
    EXPECT_EQ(modals.back(), "Errm");
    EXPECT_FALSE(vjin_open());
}

// --- vehicle-information files ------------------------------------------------------------

TEST_F(VjinTest, VehicleInformationFiles) {
    std::vector<FileChoiceRecord> asked;
    std::string answer = inst->root() + "/car.txt";
    px::seams().choose_file = [&](QWidget*, const px::FileChoice& c) {
        asked.push_back({c.save, c.filter.toStdString(), c.initial_dir.toStdString()});
        return QString::fromStdString(answer);
    };
    inst->write("MST/.keep", "");
    engine().path_kind1 = "C:\\MST";
    Vjin& v = open();
    std::string cwd = plat::current_directory();
    engine().answer("get_vinf", {4});
    v.cmd_Vinfo[0]->click();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_FALSE(asked[0].save);
    EXPECT_EQ(asked[0].filter, "Text File(*.txt)|*.txt|CSV File(*.csv)|*.csv");
    EXPECT_EQ(asked[0].dir, inst->root() + "/MST");
    EXPECT_TRUE(engine().was_called("get_vinf C:\\car.txt"));
    EXPECT_TRUE(engine().was_called("vin ")) << "code 4 goes on with the VIN check";
    EXPECT_EQ(plat::current_directory(), cwd);

    engine().answer("get_vinf", {0});
    v.cmd_Vinfo[0]->click();
    EXPECT_EQ(msg(v), refused());
    EXPECT_EQ(focused(v), v.txt_Vin);

    v.lbl_Msg->clear();
    v.cmd_Vinfo[1]->click();
    EXPECT_TRUE(asked.back().save);
    EXPECT_TRUE(engine().was_called("set_vinf C:\\car.txt"));
    EXPECT_EQ(msg(v), "") << "a write shows no message";

    // Cancelled: nothing happens.
    answer.clear();
    engine().calls.clear();
    v.cmd_Vinfo[0]->click();
    EXPECT_FALSE(engine().was_called("get_vinf"));
    EXPECT_EQ(plat::current_directory(), cwd);

    // The engine fails to read: the failure path.
    answer = inst->root() + "/car.txt";
    engine().answer("get_vinf", {-1});
    v.cmd_Vinfo[0]->click();
    EXPECT_EQ(modals.back(), "Errm");
    EXPECT_FALSE(vjin_open());
}

TEST_F(VjinTest, ASavedVehicleFileIsWrittenAsTheTypeChosenWithItsExtension) {
    struct Case {
        const char* typed;
        int filter;
        const char* written;
    } cases[] = {
        {"car", 1, "C:\\car.txt"},
        {"car", 2, "C:\\car.csv"},
        {"car.CSV", 1, "C:\\car.CSV"},  // a name of one of the types keeps it
        {"car.old", 2, "C:\\car.old.csv"},
    };
    Vjin& v = open();
    for (const Case& c : cases) {
        px::seams().choose_file = [&](QWidget*, px::FileChoice& f) {
            EXPECT_EQ(f.filter_index, 1) << "the first type is the one offered";
            f.filter_index = c.filter;
            return QString::fromStdString(inst->root() + "/" + c.typed);
        };
        engine().calls.clear();
        v.cmd_Vinfo[1]->click();
        EXPECT_TRUE(engine().was_called(std::string("set_vinf ") + c.written)) << c.typed << " " << c.filter;
    }
}

TEST_F(VjinTest, AFileOrSavedVehicleNamesTheEntryItsCheckRefused) {
    std::string answer = inst->root() + "/car.txt";
    px::seams().choose_file = [&](QWidget*, const px::FileChoice&) { return QString::fromStdString(answer); };
    Vjin& v = open();
    // The file's colour was refused (878): named with a beep when the VIN
    // check that the read starts has accepted the VIN.
    engine().answer("get_vinf", {4});
    engine().answer("msgid", {878, 878});
    engine().answer("vin", {32});
    int before = beeps;
    v.cmd_Vinfo[0]->click();
    EXPECT_EQ(msg(v), message(878));
    EXPECT_GE(beeps - before, 1);
    // The VIN check's own refusal (808, the engine's message now) stands.
    engine().answer("get_vinf", {4});
    engine().answer("msgid", {878, 878, 808});
    engine().answer("vin", {2});
    v.cmd_Vinfo[0]->click();
    EXPECT_EQ(msg(v), message(808));
    // Nothing else to identify with: the refusal, not 860.
    engine().answer("get_vinf", {0});
    engine().answer("msgid", {878, 878});
    v.cmd_Vinfo[0]->click();
    EXPECT_EQ(msg(v), message(878));
    EXPECT_EQ(focused(v), v.txt_Vin);

    // A saved vehicle whose date the checks refused: named, the focus on it.
    engine().answer("fsel", {8});
    engine().answer("msgid", {899});
    on_modal("Fsel", [](Form& f) { px::unload_form(f); });
    key(v, Qt::Key_F2);
    EXPECT_EQ(msg(v), message(899));
    EXPECT_EQ(focused(v), v.txt_Pdate1);
}

TEST_F(VjinTest, AnAcceptedStepTellsOfTheDateItsModelLeftOut) {
    Vjin& v = open();
    engine().answer("vin", {32});
    engine().answer("msgid", {899});
    int before = beeps;
    type(v.txt_Vin, "PX1AVS1600A200123");
    key(v, Qt::Key_Return);
    EXPECT_EQ(msg(v), message(899));
    EXPECT_EQ(beeps - before, 1);
    EXPECT_EQ(focused(v), v.txt_Pdate1);
    // Without such a message: 100 as always.
    engine().answer("vin", {32});
    type(v.txt_Vin, "PX1AVS1600A200123");
    key(v, Qt::Key_Return);
    EXPECT_EQ(msg(v), message(100));
}

TEST_F(VjinTest, AReloadShowsTheDetailAreasAndF12OfTheVehicleInitBroughtBack) {
    // The clear at the load empties the vehicle; init brings it back.
    engine().answer("inputarea", {0, 0});
    engine().defaults["inputarea"] = 1;
    engine().fields = {{"vin", "PX1AVS1600A200123"}, {"cat", "4410A1"}, {"ad", "201807"}};
    Vjin& v = open();
    for (int i = 4; i <= 8; ++i) EXPECT_TRUE(v.fra_Input[static_cast<size_t>(i)]->isEnabled()) << i;
    EXPECT_TRUE(v.cmd_PF(12)->isVisible());
    EXPECT_TRUE(v.cmd_PF(12)->isEnabled());
    EXPECT_EQ(v.txt_Pdate1->text(), "2018");
}

TEST_F(VjinTest, BoxesTakeWhatTheirFieldsBytesHoldInTheCodePage) {
    px::set_ansi_code_page(932);
    Vjin& v = open();
    auto type_keys = [](QLineEdit* box, const QString& text) {
        box->setFocus();
        box->clear();
        for (QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(box, &press);
        }
    };
    const QString a = QString::fromUtf8("\xE3\x81\x82");  // two bytes in 932
    struct Case {
        QLineEdit* box;
        int bytes;
    } cases[] = {{v.txt_Notes, 30}, {v.txt_Catalog, 15}, {v.txt_Model, 20}, {v.txt_Vin, 17},
                 {v.txt_FrameMod, 7}, {v.txt_FrameNo, 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box->objectName().toStdString());
        type_keys(c.box, QString(c.bytes, a[0]));
        EXPECT_EQ(c.box->text(), QString(c.bytes / 2, a[0]));
        type_keys(c.box, QString(c.bytes + 5, 'A'));
        EXPECT_EQ(c.box->text(), QString(c.bytes, 'A'));
    }
    // The note goes to the engine whole: 15 characters in its 30 bytes.
    type_keys(v.txt_Notes, QString(22, a[0]));
    engine().calls.clear();
    key(v, Qt::Key_Return);
    std::vector<std::string> notes = engine().called("note ");
    ASSERT_EQ(notes.size(), 1u);
    std::string sent;
    for (int i = 0; i < 15; ++i) sent += "\x82\xA0";
    EXPECT_EQ(notes[0], "note 30 " + sent);
    px::set_ansi_code_page(1252);
}

}  // namespace
}  // namespace pxtest
