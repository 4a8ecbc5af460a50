// The vehicle screen on the demo installation through the real vehicle
// identification: main-menu item 1 opens it, a demo vehicle is identified by
// VIN, by frame number (through the model list) and by catalogue and model,
// and F10 goes on to the search routes.
#include <cstdlib>
#include <filesystem>
#include <functional>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/drives.h"
#include "shell/binding.h"
#include "shell/codepage.h"
#include "shell/gyom.h"
#include "shell/program.h"
#include "shell/seams.h"
#include "shell/pxall_entries.h"
#include "shell/vehicle_entries.h"
#include "shell/stack.h"
#include "support/engine_double.h"
#include "support/fixture.h"
#include "vehicle/vjin.h"

namespace pxtest {
namespace {

namespace fs = std::filesystem;
using px::Form;
using px::Vjin;

px::Declared<int32_t(int16_t)> vkei_ret{"PXVJIN", "_vkei_ret@4"};

class VjinDemoTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        vjintest::engine().uninstall();  // the real engine
        std::string maker = std::string(PX_BIN_DIR) + "/pxmkdemo";
        if (!fs::exists(maker)) GTEST_SKIP() << "pxmkdemo is not built";
        if (!fs::exists(std::string(PX_BIN_DIR) + "/libPXVJIN.so")) GTEST_SKIP() << "PXVJIN is not built";
        std::string tmpl = (fs::temp_directory_path() / "pxvjin-demo-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        root_ = tmpl;
        ASSERT_EQ(std::system(("'" + maker + "' '" + root_ + "/demo' > /dev/null").c_str()), 0);
        saved_cwd_ = fs::current_path();
        if (const char* t = std::getenv("TMP")) saved_tmp_ = t;
        unsetenv("TMP");
        fs::current_path(fs::path(root_) / "demo/c/PXDROM");
        on_modal("Errm", [this](Form& f) {
            ADD_FAILURE() << "system error: " << log();
            key(f, Qt::Key_F4);
        });
        ASSERT_TRUE(px::start_program());
        auto* menu = static_cast<px::Gyom*>(px::loaded_form("Gyom"));
        menu->cmd_Menu[1]->click();
        settle();
        vjin = static_cast<Vjin*>(px::loaded_form(Vjin::kName));
        ASSERT_NE(vjin, nullptr) << "item 1 opens the vehicle screen: " << menu->lbl_Msg->text().toStdString();
        vjin->activateWindow();
        QApplication::setActiveWindow(vjin);
        plat::set_drive('T', root_);  // the files the tests choose lie on a drive
    }
    void TearDown() override {
        if (px::loaded_form("Gyom") != nullptr && !px::program_ended()) {
            px::ScrBackToMenu();
            key(*px::loaded_form("Gyom"), Qt::Key_F3);
        }
        FormsTest::TearDown();
        if (root_.empty()) return;
        if (!saved_cwd_.empty()) fs::current_path(saved_cwd_);
        if (saved_tmp_) setenv("TMP", saved_tmp_->c_str(), 1);
        fs::remove_all(root_);
    }
    std::string log() const {
        std::string out;
        FILE* f = std::fopen((fs::path(root_) / "demo/c/PXDROM/PXERROR.LOG").c_str(), "rb");
        if (f == nullptr) return out;
        char buf[512];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
        std::fclose(f);
        return out;
    }
    void enter(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->setText(text);
        key(*vjin, Qt::Key_Return);
    }
    static std::string current(px::Declared<void(VbString*)>& getter, int width) {
        std::string s(static_cast<size_t>(width), ' ');
        VbString v{s.data(), width};
        getter(&v);
        return s;
    }
    // F10, and the search routes are on top.
    void go_on() {
        key(*vjin, Qt::Key_F10);
        settle();
        EXPECT_EQ(px::loaded_form(Vjin::kName), nullptr);
        EXPECT_EQ(px::ScrName(px::ScrCount()), "Krot");
    }

    Vjin* vjin = nullptr;
    std::string root_;
    fs::path saved_cwd_;
    std::optional<std::string> saved_tmp_;
};

TEST_F(VjinDemoTest, ByVin) {
    EXPECT_EQ(vjin->windowTitle(), "Vehicle Identification");
    EXPECT_FALSE(vjin->fra_Input[5]->isEnabled()) << "no detail part before a catalogue";
    enter(vjin->txt_Vin, "px1avs1600a200123");
    EXPECT_EQ(vjin->txt_Catalog->text(), "4410A1");
    EXPECT_EQ(vjin->txt_Model->text(), "AVS16P1STD 5MEU");
    EXPECT_EQ(vjin->lbl_Modelname->text(), "(1803-2312 ARVENA SEDAN        )");
    EXPECT_EQ(vjin->lbl_MEngin->text(), "1.6P");
    EXPECT_EQ(vjin->focusWidget(), vjin->txt_Pdate1);
    EXPECT_TRUE(vjin->fra_Input[5]->isEnabled());
    vjin->txt_Pdate1->setText("2018");
    enter(vjin->txt_Pdate2, "07");
    EXPECT_EQ(vjin->focusWidget(), vjin->txt_Color);
    enter(vjin->txt_Color, "b1a");
    go_on();
    EXPECT_EQ(current(px::lib::VBGetCat, 6), "4410A1");
    EXPECT_EQ(current(px::lib::VBGetModel, 20), "AVS16P1STD 5MEU     ");
    EXPECT_EQ(current(px::lib::VBGetAd, 6), "201807");
    // Back from the search routes: the vehicle is shown again.
    key(*px::loaded_form("Krot"), Qt::Key_F3);
    settle();
    auto* again = static_cast<Vjin*>(px::loaded_form(Vjin::kName));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->txt_Vin->text(), "PX1AVS1600A200123");
    EXPECT_EQ(again->txt_Color->text(), "B1A");
}

TEST_F(VjinDemoTest, ByFrameNumberThroughTheModelList) {
    int rows_taken = 0;
    on_modal("Vkei", [&](Form& f) {
        EXPECT_EQ(vkei_ret(3), 0);
        ++rows_taken;
        px::unload_form(f);
    });
    vjin->txt_FrameMod->setFocus();
    vjin->txt_FrameMod->setText("AVS16P1");
    enter(vjin->txt_FrameNo, "A200123");
    EXPECT_EQ(rows_taken, 1);
    EXPECT_EQ(vjin->txt_Catalog->text(), "4410A1");
    EXPECT_EQ(vjin->txt_Model->text().left(7), "AVS16P1");
    EXPECT_EQ(vjin->focusWidget(), vjin->txt_Pdate1);
    go_on();
    EXPECT_EQ(current(px::lib::VBGetFrameNo, 7), "A200123");
}

TEST_F(VjinDemoTest, ByCatalogueAndModel) {
    enter(vjin->txt_Catalog, "6230e1");
    EXPECT_EQ(vjin->lbl_Modelname->text(), "(2103-2412 MAROVA 4X4          )");
    EXPECT_EQ(vjin->focusWidget(), vjin->txt_Model);
    enter(vjin->txt_Model, "mrv22d4gl  6muk");
    EXPECT_EQ(vjin->txt_FrameMod->text(), "MRV22D4");
    EXPECT_EQ(vjin->lbl_Mchar[2]->text(), "GL   ");
    EXPECT_EQ(vjin->focusWidget(), vjin->txt_FrameNo);
    // A date outside the model's production is refused.
    vjin->txt_Pdate1->setText("2019");
    enter(vjin->txt_Pdate2, "01");
    EXPECT_EQ(vjin->focusWidget(), vjin->txt_Pdate1);
    vjin->txt_Pdate1->setText("2022");
    enter(vjin->txt_Pdate2, "04");
    go_on();
    EXPECT_EQ(current(px::lib::VBGetCat, 6), "6230E1");
}

// However catalogue and model were given, the cursor waits in the empty
// frame-number box beside the frame model the engine shows: no frame entry
// is pending there, and F10 goes on at once.
TEST_F(VjinDemoTest, CatalogueAndModelGoOnWithF10FromTheFrameNumberBox) {
    const std::string file = root_ + "/car.txt";
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"typed",
         [&] {
             enter(vjin->txt_Catalog, "4410a1");
             enter(vjin->txt_Model, "avs16p1std 5meu");
         }},
        {"from the model list",
         [&] {
             on_modal("Vkei", [](Form& f) {
                 EXPECT_EQ(vkei_ret(0), 0);
                 px::unload_form(f);
             });
             enter(vjin->txt_Catalog, "4410a1");
             enter(vjin->txt_Model, "");
         }},
        {"from a vehicle-information file",
         [&] {
             std::FILE* f = std::fopen(file.c_str(), "wb");
             ASSERT_NE(f, nullptr);
             std::fputs("PXVJIN=1\r\nCATALOG=4410A1\r\nMODEL=AVS16P1STD 5MEU\r\n", f);
             std::fclose(f);
             px::seams().choose_file = [&](QWidget*, const px::FileChoice&) { return QString::fromStdString(file); };
             vjin->cmd_Vinfo[0]->click();
         }},
    };
    bool first = true;
    for (const auto& [what, identify] : ways) {
        SCOPED_TRACE(what);
        if (!first) {
            // From the search routes back to a fresh vehicle screen.
            key(*px::loaded_form("Krot"), Qt::Key_F3);
            settle();
            vjin = static_cast<Vjin*>(px::loaded_form(Vjin::kName));
            ASSERT_NE(vjin, nullptr);
            vjin->activateWindow();
            QApplication::setActiveWindow(vjin);
            key(*vjin, Qt::Key_F11);
        }
        first = false;
        identify();
        EXPECT_EQ(vjin->txt_Catalog->text(), "4410A1");
        // The frame model of the model taken (row 1 of the list is another).
        const std::string frame_model = px::to_ansi(vjin->txt_FrameMod->text());
        EXPECT_EQ(frame_model.substr(0, 3), "AVS");
        EXPECT_EQ(frame_model.size(), 7u);
        EXPECT_EQ(vjin->txt_FrameNo->text(), "");
        EXPECT_EQ(vjin->focusWidget(), vjin->txt_FrameNo);
        go_on();
        EXPECT_EQ(current(px::lib::VBGetCat, 6), "4410A1");
        EXPECT_EQ(current(px::lib::VBGetFrameModel, 7), frame_model);
        if (px::loaded_form("Krot") == nullptr) return;
    }
}

TEST_F(VjinDemoTest, VehicleInformationFileRoundTrip) {
    enter(vjin->txt_Vin, "PX1AVS1600A200123");
    std::string file = root_ + "/car.csv";
    px::seams().choose_file = [&](QWidget*, const px::FileChoice&) { return QString::fromStdString(file); };
    vjin->cmd_Vinfo[1]->click();
    ASSERT_TRUE(fs::exists(file));
    key(*vjin, Qt::Key_F11);
    EXPECT_EQ(vjin->txt_Vin->text(), "");
    vjin->cmd_Vinfo[0]->click();
    EXPECT_EQ(vjin->txt_Vin->text(), "PX1AVS1600A200123");
    EXPECT_EQ(vjin->txt_Catalog->text(), "4410A1") << "the VIN check ran on the file's VIN";
}

TEST_F(VjinDemoTest, ADateTypedWithoutEnterGoesOnWithF10AndComesBack) {
    enter(vjin->txt_Vin, "PX1AVS1600A200123");
    vjin->txt_Pdate1->setText("2018");
    vjin->txt_Pdate2->setText("07");
    vjin->txt_Notes->setText("FLEET");
    go_on();
    EXPECT_EQ(current(px::lib::VBGetAd, 6), "201807");
    const std::string vclinf = (fs::path(root_) / "demo/c/PXDROM/WORK/VCLINF.TMP").string();
    auto vclinf_date = [&] {
        std::string b(100, '\0');
        FILE* f = std::fopen(vclinf.c_str(), "rb");
        if (f == nullptr) return std::string();
        size_t n = std::fread(b.data(), 1, b.size(), f);
        std::fclose(f);
        return n == b.size() ? b.substr(94, 6) : std::string();
    };
    EXPECT_EQ(vclinf_date(), "201807");
    // F3: the vehicle screen loads again with what F10 took, its detail
    // areas open and F12 there.
    key(*px::loaded_form("Krot"), Qt::Key_F3);
    settle();
    vjin = static_cast<Vjin*>(px::loaded_form(Vjin::kName));
    ASSERT_NE(vjin, nullptr);
    EXPECT_EQ(vjin->txt_Pdate1->text(), "2018");
    EXPECT_EQ(vjin->txt_Pdate2->text(), "07");
    EXPECT_EQ(vjin->txt_Notes->text(), "FLEET");
    EXPECT_TRUE(vjin->fra_Input[4]->isEnabled());
    EXPECT_TRUE(vjin->cmd_PF(12)->isEnabled());
    go_on();
    EXPECT_EQ(current(px::lib::VBGetAd, 6), "201807");
    EXPECT_EQ(vclinf_date(), "201807");
}

TEST_F(VjinDemoTest, AFilesRefusedColourIsNamedAndTheRestKept) {
    const std::string file = root_ + "/car.csv";
    std::FILE* f = std::fopen(file.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("PXVJIN;VIN;PRODDATE;COLOR;TRIM\r\n1;PX1AVS1600A200123;201807;B-1;T12\r\n", f);
    std::fclose(f);
    px::seams().choose_file = [&](QWidget*, const px::FileChoice&) { return QString::fromStdString(file); };
    vjin->cmd_Vinfo[0]->click();
    EXPECT_EQ(vjin->txt_Catalog->text(), "4410A1") << "the VIN check ran";
    EXPECT_EQ(vjin->txt_Pdate1->text(), "2018");
    EXPECT_EQ(vjin->txt_Trim->text(), "T12");
    EXPECT_EQ(vjin->txt_Color->text(), "");
    EXPECT_EQ(vjin->lbl_Msg->text(), "The colour code is letters and digits only.");
    EXPECT_EQ(current(px::lib::vehicle::VBGetColorNo, 3), "   ");
}

// A file's note one byte longer than the note field (Latin, or ending in a
// double-byte character of code page 932) is left out and named; the rest
// of the vehicle is kept. One that fits, to its last byte, is shown whole.
TEST_F(VjinDemoTest, AFilesNoteLongerThanTheFieldIsLeftOutAndNamed) {
    std::string kanji30, kanji31 = "A";
    for (int i = 0; i < 15; ++i) {
        kanji30 += "\x83\x4A";
        kanji31 += "\x83\x4A";
    }
    const struct {
        const char* what;
        int code_page;
        std::string note;
        bool kept;
    } cases[] = {
        {"Latin, 31 bytes", 1252, std::string(31, 'n'), false},
        {"code page 932, 31 bytes", 932, kanji31, false},
        {"code page 932, 30 bytes", 932, kanji30, true},
    };
    const std::string file = root_ + "/car.txt";
    px::seams().choose_file = [&](QWidget*, const px::FileChoice&) { return QString::fromStdString(file); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        px::set_ansi_code_page(c.code_page);
        std::FILE* f = std::fopen(file.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs(("PXVJIN=1\r\nVIN=PX1AVS1600A200123\r\nTRIM=T12\r\nNOTES=" + c.note + "\r\n").c_str(), f);
        std::fclose(f);
        key(*vjin, Qt::Key_F11);
        const int before = beeps;
        vjin->cmd_Vinfo[0]->click();
        EXPECT_EQ(vjin->txt_Vin->text(), "PX1AVS1600A200123");
        EXPECT_EQ(vjin->txt_Catalog->text(), "4410A1") << "the VIN check ran";
        EXPECT_EQ(vjin->txt_Trim->text(), "T12");
        EXPECT_EQ(px::to_ansi(vjin->txt_Notes->text()), c.kept ? c.note : "");
        if (c.kept) {
            EXPECT_EQ(beeps, before);
        } else {
            EXPECT_EQ(vjin->lbl_Msg->text(), "The note in the file is longer than the note field: it was left out.");
            EXPECT_GT(beeps, before);
        }
    }
    px::set_ansi_code_page(1252);
    EXPECT_EQ(log().find("not a vehicle-information file"), std::string::npos);
}

TEST_F(VjinDemoTest, ABareNameIsSavedAsTheTypeChosen) {
    enter(vjin->txt_Vin, "PX1AVS1600A200123");
    px::seams().choose_file = [&](QWidget*, px::FileChoice& c) {
        c.filter_index = 2;
        return QString::fromStdString(root_ + "/car");
    };
    vjin->cmd_Vinfo[1]->click();
    EXPECT_FALSE(fs::exists(root_ + "/car"));
    ASSERT_TRUE(fs::exists(root_ + "/car.csv"));
    std::FILE* f = std::fopen((root_ + "/car.csv").c_str(), "rb");
    char head[16] = {};
    ASSERT_EQ(std::fread(head, 1, 10, f), 10u);
    std::fclose(f);
    EXPECT_EQ(std::string(head), "PXVJIN,VIN") << "the CSV form";
}

}  // namespace
}  // namespace pxtest
