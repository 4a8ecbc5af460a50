// The set-up screens on a fresh copy of the demo through the real set-up
// libraries: a builder's CD added to area U and set up from the window, the
// catalogue environment then reading it; a price CSV imported in two pieces
// and a local-parts file; the menu language changed and the main menu shown
// in it.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include <QCheckBox>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "demo_texts.h"
#include "platform/drives.h"
#include "platform/msgbox.h"
#include "pxall/blocks.h"
#include "pxbuild/dealer_sources.h"
#include "pxbuild/setup_cds.h"
#include "setup/setup_messages.h"
#include "setup/siup.h"
#include "setup/stcs.h"
#include "setup/stlp.h"
#include "setup/stpm.h"
#include "setup/stpr.h"
#include "setup/stup.h"
#include "shell/gyom.h"
#include "shell/program.h"
#include "shell/pxall_entries.h"
#include "shell/seams.h"
#include "shell/stack.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The shared state block of the common library (a C++ export).
px::Declared<unsigned char*()> ctop{"PXALL", "_ZN5pxall13get_ctop_addrEv"};

std::vector<std::string> lines(const QListWidget* list) {
    std::vector<std::string> out;
    for (int i = 0; i < list->count(); ++i) out.push_back(list->item(i)->text().toStdString());
    return out;
}

std::string block_text(size_t at, size_t size) {
    const char* p = reinterpret_cast<const char*>(ctop() + at);
    return std::string(p, strnlen(p, size));
}

class SetupDemoTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        std::string maker = std::string(PX_BIN_DIR) + "/pxmkdemo";
        for (const char* lib : {"libPXSTUP.so", "libPXSIUP.so"})
            if (!fs::exists(std::string(PX_BIN_DIR) + "/" + lib)) GTEST_SKIP() << lib << " is not built";
        if (!fs::exists(maker)) GTEST_SKIP() << "pxmkdemo is not built";
        std::string tmpl = (fs::temp_directory_path() / "pxsetup-demo-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        root_ = tmpl;
        ASSERT_EQ(std::system(("'" + maker + "' '" + root_ + "/demo' > /dev/null").c_str()), 0);
        install_ = fs::path(root_) / "demo/c/PXDROM";
        pxbuild::demo::write_demo_texts((install_ / "PRG").string(), install_.string());
        pxbuild::write_setup_cd(*find_cd("U1"), root_ + "/setupcd/U1");
        pxbuild::write_dealer_sources((fs::path(root_) / "demo/c/DEALER").string(), 200, 2);
        saved_cwd_ = fs::current_path();
        if (const char* t = std::getenv("TMP")) saved_tmp_ = t;
        unsetenv("TMP");
        fs::current_path(install_);
        on_modal("Errm", [](px::Form& f) { key(f, Qt::Key_F4); });
    }
    void TearDown() override {
        for (px::Form* f : px::loaded_forms())
            if (f->name() != "Gyom") px::unload_form(*f);
        settle();
        if (px::loaded_form("Gyom") != nullptr && !px::program_ended()) key(*px::loaded_form("Gyom"), Qt::Key_F3);
        FormsTest::TearDown();
        plat::set_message_box_hook({});
        px::setup::yes_no_cancel_box() = {};
        if (root_.empty()) return;
        fs::current_path(saved_cwd_);
        if (saved_tmp_) setenv("TMP", saved_tmp_->c_str(), 1);
        fs::remove_all(root_);
    }
    static const pxbuild::SetupCd* find_cd(const std::string& folder) {
        for (const auto& cd : pxbuild::setup_cds())
            if (cd.folder == folder) return &cd;
        return nullptr;
    }
    px::Gyom* menu() { return static_cast<px::Gyom*>(px::loaded_form("Gyom")); }
    px::Stpm* setup_menu() {
        menu()->cmd_Menu[7]->click();
        settle();
        return static_cast<px::Stpm*>(px::loaded_form("Stpm"));
    }
    // The file dialog gives these files of the dealer's folder, in order.
    void choose(std::vector<std::string> files) {
        auto queue = std::make_shared<std::vector<std::string>>(std::move(files));
        px::seams().choose_file = [this, queue](QWidget*, const px::FileChoice&) {
            if (queue->empty()) return QString();
            std::string f = queue->front();
            queue->erase(queue->begin());
            return QString::fromStdString((fs::path(root_) / "demo/c/DEALER" / f).string());
        };
    }
    void answer(std::vector<int32_t> answers) {
        auto queue = std::make_shared<std::vector<int32_t>>(std::move(answers));
        plat::set_message_box_hook([queue](const std::string&, const std::string&, uint32_t) {
            if (queue->empty()) return int32_t{plat::kIdCancel};
            int32_t a = queue->front();
            queue->erase(queue->begin());
            return a;
        });
    }
    std::string root_;
    fs::path install_, saved_cwd_;
    std::optional<std::string> saved_tmp_;
};

TEST_F(SetupDemoTest, ACdAddedToAreaUIsSetUpAndRead) {
    ASSERT_TRUE(px::start_program());
    px::Stpm* m = setup_menu();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->lbl_Lang[1]->text().toStdString(), "1");
    key(*m, Qt::Key_F10);
    settle();
    auto* s = static_cast<px::Stup*>(px::loaded_form("Stup"));
    ASSERT_NE(s, nullptr);
    EXPECT_FALSE(s->lst_Status[0]->count() == 0);  // area E as installed

    // Area U: ticked, on C:, its first CD copied from the hard disk... of the CD drive F:.
    s->Chkb_Lang1[2]->setChecked(true);
    s->Drive_CD[2]->setCurrentText("c:");
    on_modal("Stcs", [](px::Form& f) {
        auto& d = static_cast<px::Stcs&>(f);
        d.List_CD->item(0)->setSelected(true);
        d.opt_Drive[1]->click();
        d.cmd_Ok->click();
    });
    s->cmd_Add[2]->click();
    settle();
    ASSERT_EQ(s->lst_Status[2]->count(), 1);
    EXPECT_EQ(s->lst_Status[2]->item(0)->text().toStdString(), "A1 Hard disk ");
    plat::set_drive('F', root_ + "/setupcd/U1", plat::kDriveCdrom);
    answer({});
    key(*s, Qt::Key_F10);
    settle();
    EXPECT_EQ(px::loaded_form("Stup"), nullptr);
    std::string sys = slurp(install_ / "PXDROM.SYS");
    EXPECT_NE(sys.find("US:C"), std::string::npos) << sys;
    // The running catalogue environment knows the area now.
    EXPECT_EQ(px::lib::drom_check_setup(1), 0);
    // The menu is back, freshly loaded.
    ASSERT_NE(px::loaded_form("Stpm"), nullptr);
}

TEST_F(SetupDemoTest, PriceCsvInTwoPiecesAndALocalPartsFile) {
    ASSERT_TRUE(px::start_program());
    px::Stpm* m = setup_menu();
    ASSERT_NE(m, nullptr);
    std::string price_line, local_line;
    choose({"PRICE001.CSV", "PRICE002.CSV"});
    answer({plat::kIdYes, plat::kIdYes, plat::kIdNo});
    on_modal("Stpr", [&](px::Form& f) {
        auto& p = static_cast<px::Stpr&>(f);
        p.cmd_Refer->click();
        EXPECT_EQ(p.file_type, 2);
        p.cmd_Exec->click();
        price_line = m->lbl_Msg->text().toStdString();
        px::unload_form(p);
    });
    m->cmd_Stup[1]->click();
    settle();
    EXPECT_EQ(price_line, "The price file has been set up.");
    bool priced = false;
    for (const auto& e : fs::recursive_directory_iterator(fs::path(root_) / "demo/p"))
        priced |= e.path().filename() == "KAKAKU.D";
    EXPECT_TRUE(priced);

    choose({"LOCALP1"});
    answer({plat::kIdNo});
    // A set already there is replaced.
    px::setup::yes_no_cancel_box() = [](const std::string&, const std::string&) { return int32_t{plat::kIdNo}; };
    on_modal("Stlp", [&](px::Form& f) {
        auto& l = static_cast<px::Stlp&>(f);
        l.cmd_Refer->click();
        EXPECT_EQ(l.type, 1);
        l.cmd_Exec->click();
        local_line = m->lbl_Msg->text().toStdString();
        px::unload_form(l);
    });
    m->cmd_Stup[2]->click();
    settle();
    EXPECT_EQ(local_line, "The local-parts file has been set up.");
}

// What F10 saves, the next start reads back whole: the start-up's values
// and the screen's, opened again, agree. Eight export programs of an
// ordinary 38 characters would make a line the start-up cannot read: F10
// refuses them and the file stays as it was, byte for byte.
TEST_F(SetupDemoTest, SettingsSavedAreWhatTheNextStartReads) {
    namespace ct = pxall::ctop;
    ASSERT_TRUE(px::start_program());
    menu()->cmd_Menu[8]->click();
    settle();
    auto* s = static_cast<px::Siup*>(px::loaded_form("Siup"));
    ASSERT_NE(s, nullptr);
    const std::string before = slurp(install_ / "PXDROM.SYS");
    const std::string first_program = block_text(ct::kExportPrograms, ct::kExportProgramSize);
    s->lst_IntfP->clear();
    for (int i = 1; i <= 8; ++i)
        s->lst_IntfP->addItem(QString("C:\\DEALERS\\EXPORT\\PROGRAMS\\EXPORT%1.EXE").arg(i));
    ASSERT_EQ(s->lst_IntfP->item(0)->text().size(), 38);
    s->txt_IntfF->setText("C:\\DEALERS\\EDIT.EXE");
    s->Drv_Price->setCurrentText("c:");
    key(*s, Qt::Key_F10);
    settle();
    EXPECT_EQ(s->lbl_Msg->text().toStdString(), "The export program paths are too long to be saved. Nothing was saved.");
    EXPECT_EQ(slurp(install_ / "PXDROM.SYS"), before);
    // The running program keeps what the file holds.
    EXPECT_EQ(block_text(ct::kExportPrograms, ct::kExportProgramSize), first_program);
    EXPECT_EQ(block_text(ct::kExportPrograms + ct::kExportProgramSize * 7, ct::kExportProgramSize), "");
    EXPECT_EQ(s->lst_IntfP->count(), 8);

    // Six fit.
    s->lst_IntfP->setCurrentRow(7);
    s->cmd_Del1->click();
    s->lst_IntfP->setCurrentRow(0);
    s->cmd_Del1->click();
    key(*s, Qt::Key_F10);
    settle();
    EXPECT_EQ(s->lbl_Msg->text().toStdString(), "The settings have been saved.");
    key(*s, Qt::Key_F3);
    settle();

    // The next start.
    px::lib::drom_term();
    ASSERT_EQ(px::lib::drom_init(), 0);
    std::vector<std::string> started;
    for (int i = 0; i < ct::kMaxExportPrograms; ++i)
        if (std::string p = block_text(ct::kExportPrograms + ct::kExportProgramSize * i, ct::kExportProgramSize); !p.empty())
            started.push_back(p);
    EXPECT_EQ(started.size(), 6u);
    EXPECT_EQ(started.back(), "C:\\DEALERS\\EXPORT\\PROGRAMS\\EXPORT7.EXE");
    menu()->cmd_Menu[8]->click();
    settle();
    s = static_cast<px::Siup*>(px::loaded_form("Siup"));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(lines(s->lst_IntfP), started);
    EXPECT_EQ(s->txt_IntfF->text().toStdString(), block_text(ct::kSaveEditor, ct::kSaveEditorSize));
    EXPECT_EQ(s->txt_IntfF->text().toStdString(), "C:\\DEALERS\\EDIT.EXE");
    EXPECT_EQ(s->country_group->checkedId(), pxall::get_i32(ctop() + ct::kAreaIndex));
    EXPECT_EQ(px::Siup::selected(s->data_lang_group), pxall::get_i16(ctop() + ct::kDataLangNo));
    EXPECT_EQ(px::Siup::selected(s->lang_group), pxall::get_i16(ctop() + ct::kMenuLangNo));
    EXPECT_EQ(s->Drv_Price->currentText().toUpper().toStdString().substr(0, 1), block_text(ct::kPriceDir, 1));
    EXPECT_EQ(s->Drv_Price->currentText().toStdString(), "c:");
    EXPECT_EQ(s->Drv_Localp->currentText().toUpper().toStdString().substr(0, 1), block_text(ct::kLocalPriceDir, 1));
}

TEST_F(SetupDemoTest, MenuLanguageChanged) {
    // French texts: the English ones with another menu title.
    std::string scr = slurp(install_ / "PXDROM01.SCR");
    size_t at = scr.find("\n1000");
    ASSERT_NE(at, std::string::npos);
    size_t end = scr.find('\n', at + 1);
    scr.replace(at + 1, end - at - 1, "1000 MENU PRINCIPAL\r");
    std::ofstream(install_ / "PXDROM03.SCR", std::ios::binary) << scr;
    fs::copy_file(install_ / "PRG/PXDROM01.MSG", install_ / "PRG/PXDROM03.MSG");

    ASSERT_TRUE(px::start_program());
    menu()->cmd_Menu[8]->click();
    settle();
    auto* s = static_cast<px::Siup*>(px::loaded_form("Siup"));
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->opt_Lang[1]->isChecked());
    // Spanish has no text files: refused.
    s->opt_Lang[5]->click();
    key(*s, Qt::Key_F10);
    EXPECT_TRUE(slurp(install_ / "PXDROM.SYS").find("MENULANG=ENGLISH") != std::string::npos);
    s->opt_Lang[3]->click();
    key(*s, Qt::Key_F10);
    settle();
    EXPECT_NE(slurp(install_ / "PXDROM.SYS").find("MENULANG=FRENCH"), std::string::npos);
    key(*s, Qt::Key_F3);
    settle();
    EXPECT_EQ(menu()->lbl_title->text().toStdString(), "MENU PRINCIPAL");
}

}  // namespace
}  // namespace pxtest
