// The vehicle lists on the demo installation that pxmkdemo writes, through
// the real PXVCAT, PXVJIN and PXALL.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "demo_texts.h"
#include "pxall/blocks.h"
#include "pxall/vbstring.h"
#include "shell/binding.h"
#include "shell/grid.h"
#include "shell/program.h"
#include "shell/vehicle_header.h"
#include "support/fixture.h"
#include "vlists/fsel.h"
#include "vlists/vcat.h"
#include "vlists/vinf.h"
#include "vlists/vkei.h"

namespace pxtest {
namespace {

namespace fs = std::filesystem;
using px::Declared;
using px::Form;

// What the vehicle screen calls before and after the lists.
Declared<unsigned char*()> get_ccar_addr{"PXALL", "_ZN5pxall13get_ccar_addrEv"};
Declared<int32_t()> vcat_init{"PXVCAT", "_vcat_init@0"};
Declared<int32_t()> vjin_init{"PXVJIN", "_vjin_init@0"};
Declared<int32_t()> vjin_clear{"PXVJIN", "_vjin_clear@0"};
Declared<int32_t(int16_t, VbString*)> vjin_check_input_cat{"PXVJIN", "_vjin_check_input_cat@8"};
Declared<int32_t()> vkei_init{"PXVJIN", "_vkei_init@0"};
Declared<int32_t()> vjin_return_vkei{"PXVJIN", "_vjin_return_vkei@0"};
Declared<int32_t()> vjin_return_from_pxxxxx{"PXVJIN", "_vjin_return_from_pxxxxx@0"};
Declared<int32_t()> vjin_select{"PXVJIN", "_vjin_select@0"};
Declared<int32_t()> fsel_init{"PXVJIN", "_fsel_init@0"};

class VlistsDemoTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        std::string maker = std::string(PX_BIN_DIR) + "/pxmkdemo";
        if (!fs::exists(maker)) GTEST_SKIP() << "pxmkdemo is not built";
        std::string tmpl = (fs::temp_directory_path() / "pxvlists-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        root_ = tmpl;
        ASSERT_EQ(std::system(("'" + maker + "' '" + root_ + "/demo' > /dev/null").c_str()), 0);
        fs::path install = fs::path(root_) / "demo/c/PXDROM";
        saved_cwd_ = fs::current_path();
        if (const char* t = std::getenv("TMP")) saved_tmp_ = t;
        unsetenv("TMP");
        fs::current_path(install);
        ASSERT_TRUE(px::start_program());
        menu = px::loaded_form("Gyom");
    }
    void TearDown() override {
        if (px::loaded_form("Gyom") != nullptr && !px::program_ended()) key(*px::loaded_form("Gyom"), Qt::Key_F3);
        FormsTest::TearDown();
        if (root_.empty()) return;
        // A demo that could not be written changed no directory.
        if (!saved_cwd_.empty()) fs::current_path(saved_cwd_);
        if (saved_tmp_) setenv("TMP", saved_tmp_->c_str(), 1);
        fs::remove_all(root_);
    }
    static std::string block(unsigned char* at, size_t n) { return std::string(reinterpret_cast<char*>(at), n); }
    bool engine_here() {
        try {
            vjin_init.entry().address();
            return true;
        } catch (const px::RuntimeError&) {
            return false;
        }
    }
    Form* menu = nullptr;
    std::string root_;
    fs::path saved_cwd_;
    std::optional<std::string> saved_tmp_;
};

TEST_F(VlistsDemoTest, CatalogueChosenIntoTheCurrentVehicle) {
    if (!engine_here()) GTEST_SKIP() << "the vehicle-identification engine is not built";
    // An empty catalogue entry on the vehicle screen lists every catalogue.
    ASSERT_EQ(vjin_clear(), 0);
    ASSERT_EQ(vjin_init(), 0);
    std::string all = "ALL            ";
    VbString s{all.data(), 15};
    ASSERT_EQ(vjin_check_input_cat(3, &s), 1);
    ASSERT_EQ(vcat_init(), 0);
    QString code, name;
    int rows = 0;
    on_modal("Vcat", [&](Form& f) {
        auto& v = static_cast<px::Vcat&>(f);
        rows = v.msg_Vcat->rows() - 1;
        EXPECT_TRUE(v.cmd_PF(3)->isVisible());
        key(v, Qt::Key_Down);
        code = v.msg_Vcat->text(2, 1);
        name = v.msg_Vcat->text(2, 0);
        key(v, Qt::Key_Return);
    });
    px::show_modal(px::load_form(px::Vcat::kName));
    ASSERT_GE(rows, 2);
    EXPECT_EQ(px::loaded_form(px::Vcat::kName), nullptr);
    unsigned char* car = get_ccar_addr();
    EXPECT_EQ(QString::fromStdString(block(car + pxall::ccar::kCatalog, 6)), code);
    EXPECT_EQ(QString::fromStdString(block(car + pxall::ccar::kVehicleName, 20)), name);
    EXPECT_EQ(pxall::get_i32(car + pxall::ccar::kListEndMode), 0);
    EXPECT_FALSE(fs::exists("WORK/DSPCAT.TMP"));
}

TEST_F(VlistsDemoTest, ModelListWithItsVehicleInformation) {
    if (!engine_here()) GTEST_SKIP() << "the vehicle-identification engine is not built";
    ASSERT_EQ(vjin_clear(), 0);
    ASSERT_EQ(vjin_init(), 0);
    std::string cat = "4410A1         ";
    VbString s{cat.data(), 15};
    ASSERT_EQ(vjin_check_input_cat(6, &s), 16);  // catalogue known, model wanted
    ASSERT_EQ(vkei_init(), 0);
    int models = 0, lines = 0, marked = 0;
    QString catalog_shown, vin_shown;
    on_modal("Vinf", [&](Form& f) {
        auto& v = static_cast<px::Vinf&>(f);
        lines = v.lst_Dat->count();
        marked = static_cast<int>(v.marked_lines().size());
        catalog_shown = v.lbl_CatalogCD->text();
        key(v, Qt::Key_F12);
    });
    on_modal("Vkei", [&](Form& f) {
        auto& v = static_cast<px::Vkei&>(f);
        models = v.record_count();
        EXPECT_EQ(v.lbl_Catalog->text(), "4410A1");
        key(v, Qt::Key_F12);
        EXPECT_TRUE(v.loaded());
        key(v, Qt::Key_Return);
    });
    px::show_modal(px::load_form(px::Vkei::kName));
    EXPECT_GE(models, 2);
    EXPECT_EQ(modals, (std::vector<std::string>{"Vkei", "Vinf"}));
    EXPECT_TRUE(catalog_shown.startsWith("4410A1"));
    EXPECT_GT(lines, 0);
    EXPECT_GT(marked, 0);
    EXPECT_EQ(vjin_return_from_pxxxxx(), 0);
    EXPECT_EQ(vjin_return_vkei(), 8);
}

TEST_F(VlistsDemoTest, SavedVehicleTaken) {
    if (!engine_here()) GTEST_SKIP() << "the vehicle-identification engine is not built";
    ASSERT_EQ(vjin_clear(), 0);
    ASSERT_EQ(vjin_init(), 0);
    ASSERT_EQ(vjin_select(), 0);
    ASSERT_EQ(fsel_init(), 0);
    int lines = 0;
    std::vector<QString> shown;
    on_modal("Fsel", [&](Form& f) {
        auto& v = static_cast<px::Fsel&>(f);
        lines = v.lst_Fsel->count();
        for (int i = 0; i < lines; ++i) shown.push_back(v.lst_Fsel->item(i)->text());
        // The first kept list that the engine takes.
        for (int i = 0; i < lines && v.loaded(); ++i) {
            v.lst_Fsel->setFocus();
            v.lst_Fsel->setCurrentRow(i);
            key(v, Qt::Key_Return);
        }
    });
    px::show_modal(px::load_form(px::Fsel::kName));
    ASSERT_GE(lines, 1);
    for (const QString& line : shown) EXPECT_EQ(line.size(), 101) << line.toStdString();
    EXPECT_EQ(px::loaded_form(px::Fsel::kName), nullptr);
    EXPECT_EQ(vjin_return_from_pxxxxx(), 0);
}

}  // namespace
}  // namespace pxtest
