// The vehicle header of a screen, filled from the current-vehicle block of
// the real common library.
#include <cstring>

#include <QLabel>
#include <QVBoxLayout>

#include "pxall/blocks.h"
#include "shell/binding.h"
#include "shell/codepage.h"
#include "shell/stack.h"
#include "shell/messages.h"
#include "shell/vehicle_header.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

namespace ccar = pxall::ccar;

px::Declared<unsigned char*()> get_ccar_addr{"PXALL", "_ZN5pxall13get_ccar_addrEv"};

// A screen that carries the header.
class HeaderScreen : public px::Form {
public:
    static constexpr const char* kName = "Hdrs";
    HeaderScreen() : px::Form(kName) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(px::make_vehicle_header(*this));
        layout->addWidget(make_key_bar({1, 3}));
        layout->addWidget(make_message_line());
    }
};
PX_FORM(HeaderScreen);

class VehicleHeaderTest : public ProgramTest {
protected:
    void start_with_screen_texts(const std::string& extra = "") {
        if (!extra.empty()) {
            // The installation's screen file, with texts of the test's own.
            std::string scr = "0300 VIN\r\n0301 Catalogue\r\n" + extra;
            inst->write("PXDROM01.SCR", scr);
        }
        ASSERT_TRUE(start());
        car = get_ccar_addr();
        ASSERT_NE(car, nullptr);
    }
    void put(size_t at, const char* text) { std::memcpy(car + at, text, std::strlen(text)); }
    QString shown(px::Form& f, const char* name) { return f.findChild<QLabel*>(name)->text(); }
    unsigned char* car = nullptr;
};

TEST_F(VehicleHeaderTest, EveryValueAtItsFixedLength) {
    start_with_screen_texts();
    put(ccar::kCatalog, "EU0001");
    put(ccar::kVinPrefix, "JMZ1234567");
    put(ccar::kFrameNo, "0012345");
    put(ccar::kFrameModel, "ABC12");
    put(ccar::kProdFrom, "9801");
    put(ccar::kProdTo, "0312");
    put(ccar::kVehicleName, "ROADSTER");
    put(ccar::kModel, "RS-2000");
    put(ccar::kProdDate, "200104");
    put(ccar::kColorNo, "A1");
    put(ccar::kTrimNo, "T9");
    put(ccar::kNotes, "FLEET");
    put(ccar::kCharact1a, "B6");
    put(ccar::kCharact1b, "HIDDEN");
    put(ccar::kCharact2, "2DR");
    put(ccar::kCharact2 + 5 * 20, "LHD");
    auto& f = px::load_form(HeaderScreen::kName);
    px::DispVehicleInfo(f, true);
    EXPECT_EQ(shown(f, "lbl_Vin"), "JMZ12345670012345");
    EXPECT_EQ(shown(f, "lbl_MNm1"), "EU0001");
    EXPECT_EQ(shown(f, "lbl_MNm2"), "(9801-0312 ROADSTER            )");
    EXPECT_EQ(shown(f, "lbl_Model"), "RS-2000             ");
    EXPECT_EQ(shown(f, "lbl_FNo"), "ABC12  -0012345");
    EXPECT_EQ(shown(f, "lbl_Pdate"), "200104");
    EXPECT_EQ(shown(f, "lbl_Color"), "A1 ");
    EXPECT_EQ(shown(f, "lbl_Trim"), "T9  ");
    EXPECT_EQ(shown(f, "lbl_Notes"), "FLEET" + QString(25, ' '));
    EXPECT_EQ(shown(f, "lbl_MEngin"), "B6        ");
    EXPECT_EQ(shown(f, "lbl_Mchar_0"), "2DR  ");
    EXPECT_EQ(shown(f, "lbl_Mchar_1"), "     ");
    EXPECT_EQ(shown(f, "lbl_Mchar_20"), "LHD  ");
    // The second characteristic-1 field is shown nowhere.
    for (auto* l : f.findChildren<QLabel*>()) EXPECT_FALSE(l->text().contains("HIDDEN"));
    EXPECT_EQ(shown(f, "lbl_TVchl_1"), "VIN" + QString(15, ' '));
    EXPECT_EQ(shown(f, "lbl_TVchl_7"), "Trim" + QString(20, ' '));
}

TEST_F(VehicleHeaderTest, EmptyPeriodShowsBlanks) {
    start_with_screen_texts();
    put(ccar::kVehicleName, "VAN");
    auto& f = px::load_form(HeaderScreen::kName);
    px::DispVehicleInfo(f, true);
    EXPECT_EQ(shown(f, "lbl_MNm2"), "(    -     VAN" + QString(17, ' ') + ")");
    EXPECT_EQ(shown(f, "lbl_Vin"), QString(17, ' '));
}

TEST_F(VehicleHeaderTest, CaptionsCutOrPaddedToTheirLengths) {
    start_with_screen_texts("0310 Bodywork\r\n0313 Other characteristics of it\r\n");
    auto& f = px::load_form(HeaderScreen::kName);
    px::DispVehicleInfo(f, true);
    EXPECT_EQ(shown(f, "lbl_TVchl_11"), "Bodywo");
    EXPECT_EQ(shown(f, "lbl_TVchl_14"), "Other characteristic");
    EXPECT_EQ(shown(f, "lbl_TVchl_2"), "Catalogue" + QString(9, ' '));
    // A text the file lacks stays blank.
    EXPECT_EQ(shown(f, "lbl_TVchl_3"), QString(18, ' '));
}

TEST_F(VehicleHeaderTest, WithoutCaptionsTheDesignsStay) {
    start_with_screen_texts();
    put(ccar::kCatalog, "EU0002");
    auto& f = px::load_form(HeaderScreen::kName);
    f.findChild<QLabel*>("lbl_TVchl_1")->setText("Design");
    px::DispVehicleInfo(f, false);
    EXPECT_EQ(shown(f, "lbl_TVchl_1"), "Design");
    EXPECT_EQ(shown(f, "lbl_MNm1"), "EU0002");
}

TEST_F(VehicleHeaderTest, ScreenWithoutTheLabelsRaisesToItsHandler) {
    start_with_screen_texts();
    auto& f = px::load_form("Scra");
    EXPECT_THROW(px::DispVehicleInfo(f, false), px::RuntimeError);
}

TEST_F(VehicleHeaderTest, DialogNotInTheProgramRaisesAndKeepsTheCaller) {
    if (px::form_exists("Vinf")) GTEST_SKIP() << "the dialog is linked in";
    start_with_screen_texts();
    auto& f = px::load_form("Scra");
    EXPECT_THROW(px::ShowVehicleInfoDialog(f), px::RuntimeError);
    EXPECT_EQ(px::VinfCaller(), &f);
}

TEST(CodePageSetting, JapaneseMenuLanguageOrOverride) {
    struct Case {
        const char* code;
        const char* override_value;
        int expected;
    } cases[] = {
        {"01", nullptr, 1252}, {"02", nullptr, 932}, {"09", nullptr, 1252}, {"02", "1252", 1252},
        {"01", "932", 932},    {"02", "437", 932},   {nullptr, nullptr, 1252},
    };
    for (const Case& c : cases)
        EXPECT_EQ(px::code_page_setting(c.code, c.override_value), c.expected)
            << (c.code ? c.code : "-") << " " << (c.override_value ? c.override_value : "-");
}

TEST(CodePageSetting, FontsOfTheCodePage) {
    px::set_ansi_code_page(932);
    EXPECT_EQ(px::oem_font_name(), QString::fromUtf8("ＭＳ 明朝"));
    px::set_ansi_code_page(1252);
    EXPECT_EQ(px::oem_font_name(), "Courier");
    QFont courier = px::screen_font("Courier", 12);
    EXPECT_TRUE(QFontInfo(courier).fixedPitch()) << courier.family().toStdString();
    EXPECT_EQ(courier.pointSizeF(), 12);
}

TEST_F(VehicleHeaderTest, JapaneseMenuLanguageDecodesInCodePage932) {
    inst->write("PXDROM.SYS",
                "ECRAM=C:\\WORK\r\nECMST=C:\\MST\r\nLANGUAGE=JAPANESE\r\nMENULANG=JAPANESE\r\nECFIL=C:\\PROG\r\n"
                "CRNTAREA=JP\r\n");
    // The Japanese texts: "車台番号" (frame number) in code page 932.
    inst->write("PROG/PXDROM02.MSG", "115\x83\x81\x83\x6A\x83\x85\x81\x5B\r\n999Error\r\n");
    inst->write("PXDROM02.SCR", "0300 \x8E\xD4\x91\xE4\x94\xD4\x8D\x86\r\n1000 Menu\r\n");
    ASSERT_TRUE(start());
    EXPECT_EQ(px::ansi_code_page(), 932);
    auto& f = px::load_form(HeaderScreen::kName);
    px::DispVehicleInfo(f, true);
    EXPECT_EQ(shown(f, "lbl_TVchl_1"), QString::fromUtf8("車台番号") + QString(10, ' '));
    EXPECT_EQ(px::loaded_form("Gyom")->lbl_Msg->text(), QString::fromUtf8("メニュー"));
    // A field that ends inside a character shows the characters before it,
    // never half of one.
    EXPECT_EQ(px::ScrText(300, 3), QString::fromUtf8("車"));
    EXPECT_EQ(px::ScrText(300, 4), QString::fromUtf8("車台"));
    EXPECT_EQ(px::ScrText(300, 8), QString::fromUtf8("車台番号"));
    px::set_ansi_code_page(1252);
}

}  // namespace
}  // namespace pxtest
