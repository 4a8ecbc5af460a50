// The program on the demo installation that pxmkdemo writes.
#include <cstdlib>
#include <filesystem>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "demo_texts.h"
#include "shell/gyom.h"
#include "shell/program.h"
#include "shell/pxall_entries.h"
#include "shell/ryak.h"
#include "shell/stack.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

namespace fs = std::filesystem;
using px::Form;

class DemoTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        std::string maker = std::string(PX_BIN_DIR) + "/pxmkdemo";
        if (!fs::exists(maker)) GTEST_SKIP() << "pxmkdemo is not built";
        std::string tmpl = (fs::temp_directory_path() / "pxdemo-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        root_ = tmpl;
        ASSERT_EQ(std::system(("'" + maker + "' '" + root_ + "/demo' > /dev/null").c_str()), 0);
        fs::path install = fs::path(root_) / "demo/c/PXDROM";
        // Until the demo writer carries the English texts itself.
        if (!fs::exists(install / "PRG/PXDROM01.MSG")) pxbuild::demo::write_demo_texts(install / "PRG", install);
        saved_cwd_ = fs::current_path();
        if (const char* t = std::getenv("TMP")) saved_tmp_ = t;
        unsetenv("TMP");  // the log in the installation folder
        fs::current_path(install);
        work_ = install / "WORK";
    }
    void TearDown() override {
        if (px::loaded_form("Gyom") != nullptr && !px::program_ended()) key(*px::loaded_form("Gyom"), Qt::Key_F3);
        FormsTest::TearDown();
        if (root_.empty()) return;
        fs::current_path(saved_cwd_);
        if (saved_tmp_) setenv("TMP", saved_tmp_->c_str(), 1);
        fs::remove_all(root_);
    }
    std::string root_;
    fs::path saved_cwd_, work_;
    std::optional<std::string> saved_tmp_;
};

TEST_F(DemoTest, StartsShowsTheMenuAndEndsClean) {
    ASSERT_TRUE(px::start_program());
    auto* menu = static_cast<px::Gyom*>(px::loaded_form("Gyom"));
    EXPECT_EQ(menu->windowTitle(), "Parts Catalogue - Main Menu");
    EXPECT_EQ(menu->cmd_Menu[1]->text(), "1  Vehicle Identification");
    // The demo has catalogues set up: item 1 passes its check (its screen comes later).
    menu->cmd_Menu[1]->click();
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(menu->lbl_Msg->text(), "Select an item.");
    EXPECT_FALSE(fs::is_empty(work_));

    key(*menu, Qt::Key_F3);
    EXPECT_TRUE(px::program_ended());
    EXPECT_TRUE(fs::is_empty(work_));
}

TEST_F(DemoTest, AbbreviationOfTheDemo) {
    try {
        px::lib::VBryak_get_mean.entry().address();
    } catch (const px::RuntimeError&) {
        GTEST_SKIP() << "the abbreviation lookup is not in the common library yet";
    }
    ASSERT_TRUE(px::start_program());
    Form* menu = px::loaded_form("Gyom");
    QString meaning;
    on_modal("Ryak", [&](Form& f) {
        auto& r = static_cast<px::Ryak&>(f);
        r.txt_Abbrev->setFocus();
        r.txt_Abbrev->setText("4wd");
        key(r, Qt::Key_F10);
        meaning = r.lbl_Mean->text();
        if (r.loaded()) key(r, Qt::Key_F3);
    });
    on_modal("Errm", [](Form& f) { key(f, Qt::Key_F4); });
    px::ShowModalOwned(px::load_form(px::Ryak::kName), menu);
    EXPECT_EQ(meaning, "FOUR WHEEL DRIVE");
}

}  // namespace
}  // namespace pxtest
