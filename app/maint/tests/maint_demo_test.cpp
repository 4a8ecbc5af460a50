// The maintenance screens on the demo installation that pxmkdemo writes,
// through the real libraries: a menu text edited and shown by the menu, a
// user part group made, offered by the search routes' group list and
// printed to a PDF.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "demo_texts.h"
#include "maint/maint_entries.h"
#include "maint/sscr.h"
#include "maint/stgp.h"
#include "shell/grid.h"
#include "shell/gyom.h"
#include "shell/listbox.h"
#include "shell/program.h"
#include "shell/seams.h"
#include "shell/stack.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

namespace fs = std::filesystem;
using px::maint::Sscr;
using px::maint::Ssed;
using px::maint::Stgp;

// The search routes' group list loads the groups through this entry.
px::Declared<int32_t(const char*)> VBKgrlSetGroupCode{"PXKROT", "_VBKgrlSetGroupCode@4"};
px::Declared<int32_t(int16_t*)> VBKgrlLoad{"PXKROT", "_VBKgrlLoad@4"};

std::string read(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

class MaintDemoTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        std::string maker = std::string(PX_BIN_DIR) + "/pxmkdemo";
        for (const char* lib : {"libPXSTUP.so", "libPXSTGP.so", "libPXKROT.so"})
            if (!fs::exists(fs::path(PX_BIN_DIR) / lib)) GTEST_SKIP() << lib << " is not built";
        if (!fs::exists(maker)) GTEST_SKIP() << "pxmkdemo is not built";
        std::string tmpl = (fs::temp_directory_path() / "pxmaint-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        root_ = tmpl;
        ASSERT_EQ(std::system(("'" + maker + "' '" + root_ + "/demo' > /dev/null").c_str()), 0);
        install_ = fs::path(root_) / "demo/c/PXDROM";
        if (!fs::exists(install_ / "PRG/PXDROM01.MSG")) pxbuild::demo::write_demo_texts(install_ / "PRG", install_);
        saved_cwd_ = fs::current_path();
        if (const char* t = std::getenv("TMP")) saved_tmp_ = t;
        unsetenv("TMP");
        fs::current_path(install_);
        print_dir_ = fs::path(root_) / "print";
        fs::create_directories(print_dir_);
        setenv("PXDROM_PRINT_DIR", print_dir_.c_str(), 1);
        qt_printer_ = px::make_qt_printer();
        px::seams().printer = [this]() -> px::PrintDevice& { return *qt_printer_; };
        ASSERT_TRUE(px::start_program());
        menu_ = static_cast<px::Gyom*>(px::loaded_form("Gyom"));
    }
    void TearDown() override {
        for (const char* f : {"Kgrr", "Ssed", "Sscr", "Stgp", "Stpm"})
            if (px::Form* form = px::loaded_form(f)) px::unload_form(*form);
        settle();
        if (px::loaded_form("Gyom") != nullptr && !px::program_ended()) key(*px::loaded_form("Gyom"), Qt::Key_F3);
        FormsTest::TearDown();
        qt_printer_.reset();
        unsetenv("PXDROM_PRINT_DIR");
        if (root_.empty()) return;
        if (!saved_cwd_.empty()) fs::current_path(saved_cwd_);
        if (saved_tmp_) setenv("TMP", saved_tmp_->c_str(), 1);
        fs::remove_all(root_);
    }
    // A screen of the set-up menu: through the menu's item where the set-up
    // menu is built into the program, else pushed as the menu would.
    template <typename F>
    F* open_from_setup_menu(int item) {
        if (px::form_exists("Stpm")) {
            px::ScrPush(px::load_form("Stpm"));
            settle();
            auto* b = px::loaded_form("Stpm")->findChild<QPushButton*>(QString("cmd_Stup_%1").arg(item));
            if (b != nullptr) b->click();
            settle();
        }
        if (px::loaded_form(F::kName) == nullptr) {
            px::ScrPush(px::load_form(F::kName));
            settle();
        }
        return static_cast<F*>(px::loaded_form(F::kName));
    }
    static void type(QWidget* w, const QString& text) {
        w->setFocus();
        QWidget* target = w;
        for (QChar c : text) {
            QTest::keyClicks(target, QString(c));
            if (QWidget* f = w->window()->focusWidget()) target = f;
        }
    }

    std::string root_;
    fs::path install_, print_dir_, saved_cwd_;
    std::optional<std::string> saved_tmp_;
    std::unique_ptr<px::PrintDevice> qt_printer_;
    px::Gyom* menu_ = nullptr;
};

TEST_F(MaintDemoTest, MenuTextEditedExportedAndShownByTheMenu) {
    const std::string before = read(install_ / "PXDROM01.SCR");
    ASSERT_NE(before.find("#PXGYOM\r\n1000 Parts Catalogue - Main Menu\r\n"), std::string::npos);
    Sscr* e = open_from_setup_menu<Sscr>(4);
    ASSERT_NE(e, nullptr);
    e->cbo_scrnm->setEditText("Parts Catalogue - Main Menu");
    int row = 0;
    for (int r = 1; r < e->msg_Screen->rows(); ++r)
        if (e->msg_Screen->text(r, 1) == "7  Set-up") row = r;
    ASSERT_GT(row, 0);
    e->msg_Screen->select(row, 0, row, 1);
    on_modal("Ssed", [](px::Form& f) {
        auto& d = static_cast<Ssed&>(f);
        d.txt_New->setText("7  Set-up and Upkeep");
        d.cmd_Ok->click();
    });
    QTest::keyClick(e->msg_Screen, Qt::Key_Return);
    settle();
    EXPECT_EQ(e->msg_Screen->text(row, 0), "*");
    QTest::keyClick(e, Qt::Key_F10);
    settle();
    EXPECT_EQ(px::loaded_form(Sscr::kName), nullptr);
    std::string expected = before;
    expected.replace(expected.find("1007 7  Set-up\r\n"), 16, "1007 7  Set-up and Upkeep\r\n");
    EXPECT_EQ(read(install_ / "PXDROM01.SCR"), expected);
    EXPECT_FALSE(fs::exists(install_ / "WORK" / "SCREEN.TMP"));

    px::ScrBackToMenu();
    settle();
    menu_->run("Form_Activate", [this] { menu_->on_activate(); });
    EXPECT_EQ(menu_->cmd_Menu[7]->text(), "7  Set-up and Upkeep");
}

TEST_F(MaintDemoTest, GroupMadeOfferedByTheSearchRoutesAndPrinted) {
    Stgp* s = open_from_setup_menu<Stgp>(3);
    ASSERT_NE(s, nullptr);
    type(s->txt_GroupCode, "tst");
    QTest::keyClicks(s->txt_Description, "timing belt job");
    QTest::keyClick(s->txt_Description, Qt::Key_Return);
    ASSERT_EQ(s->entry_mode(), Stgp::kPncEntry);
    QTest::keyClicks(s->txt_Pnc, "15601a");
    QTest::keyClicks(s->txt_Pnc, "90341A");
    QTest::keyClicks(s->txt_Pnc, "99999Z");  // not in the catalogue
    EXPECT_EQ(s->txt_Pnc->text(), "99999Z");
    ASSERT_EQ(s->lst_Pnc->count(), 2);
    EXPECT_EQ(s->lst_Pnc->item(0)->text().trimmed(), "15601A  ELEMENT, OIL FILTER");
    s->txt_Pnc->clear();
    QTest::keyClick(s, Qt::Key_F10);
    settle();
    EXPECT_EQ(s->entry_mode(), Stgp::kGroupEntry);

    // The pop-up offers it, and hands it back.
    s->cmd_GroupCode->click();
    auto* k = px::loaded_form("Kgrr");
    ASSERT_NE(k, nullptr);
    auto* list = k->findChild<QListWidget*>("lst_Group");
    int at = -1;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text().startsWith("  TST     TIMING BELT JOB")) at = i;
    ASSERT_GE(at, 0);
    list->setCurrentRow(at);
    QTest::keyClick(list, Qt::Key_Return);
    settle();
    EXPECT_EQ(s->txt_Description->text(), "TIMING BELT JOB");
    EXPECT_EQ(s->lst_Pnc->count(), 2);

    // Printed: every group on its pages, this one with its part names.
    QTest::keyClick(s, Qt::Key_F2);
    settle();
    std::vector<fs::path> pdfs;
    for (const auto& f : fs::directory_iterator(print_dir_)) pdfs.push_back(f.path());
    ASSERT_EQ(pdfs.size(), 1u);
    const std::string txt = (fs::path(root_) / "groups.txt").string();
    ASSERT_EQ(std::system(("pdftotext -layout '" + pdfs[0].string() + "' '" + txt + "'").c_str()), 0);
    const std::string text = read(txt);
    EXPECT_NE(text.find("USER PART GROUP LIST"), std::string::npos);
    EXPECT_NE(text.find("Page:001"), std::string::npos);
    EXPECT_NE(text.find("Group: SRV   SERVICE, 15000 KM / 12 MONTHS"), std::string::npos);
    // The code and its part name on one line (the text tool may narrow the gap).
    EXPECT_TRUE(std::regex_search(text, std::regex("15601A +ELEMENT, OIL FILTER"))) << text.substr(0, 1500);
    EXPECT_TRUE(std::regex_search(text, std::regex("Group: TST +TIMING BELT JOB")));
    QTest::keyClick(s, Qt::Key_F3);
    settle();
    EXPECT_EQ(px::loaded_form(Stgp::kName), nullptr);

    // The search routes' group list reads the saved group from the files.
    int16_t status = -1;
    VBKgrlSetGroupCode("***");
    ASSERT_EQ(VBKgrlLoad(&status), 0);
    QListWidget groups;
    px::ListBoxControl box(&groups);
    px::maint::lib::VBMakeListGrpMei(box.hwnd());
    bool offered = false;
    for (int i = 0; i < groups.count(); ++i) offered |= groups.item(i)->text().startsWith("  TST     TIMING BELT JOB");
    EXPECT_TRUE(offered);
    px::maint::lib::VBTermGrpTmp();
}

}  // namespace
}  // namespace pxtest
