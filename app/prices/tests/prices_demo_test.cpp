// The price inquiry and the saved lists on the demo installation through
// the real libraries: part numbers priced, re-priced with the three-price
// file and printed to a PDF; a saved list opened from the menu, edited,
// saved and exported as CSV and as text to the export program.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "demo_texts.h"
#include "platform/drives.h"
#include "prices/dprc.h"
#include "prices/fsad.h"
#include "prices/fsav.h"
#include "prices/intf.h"
#include "pxbuild/demo_data.h"
#include "pxbuild/demo_dprc.h"
#include "shell/grid.h"
#include "shell/gyom.h"
#include "shell/price_export_handover.h"
#include "shell/printing.h"
#include "shell/program.h"
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

class PricesDemoTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        std::string maker = std::string(PX_BIN_DIR) + "/pxmkdemo";
        for (const char* lib : {"libPxdprc.so", "libPXFSAV.so", "libPXPNHO.so"})
            if (!fs::exists(std::string(PX_BIN_DIR) + "/" + lib)) GTEST_SKIP() << lib << " is not built";
        if (!fs::exists(maker)) GTEST_SKIP() << "pxmkdemo is not built";
        std::string tmpl = (fs::temp_directory_path() / "pxprices-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        root_ = tmpl;
        saved_cwd_ = fs::current_path();
        ASSERT_EQ(std::system(("'" + maker + "' '" + root_ + "/demo' > /dev/null").c_str()), 0);
        install_ = fs::path(root_) / "demo/c/PXDROM";
        if (!fs::exists(install_ / "PRG/PXDROM01.MSG")) pxbuild::demo::write_demo_texts(install_ / "PRG", install_);
        if (const char* t = std::getenv("TMP")) saved_tmp_ = t;
        unsetenv("TMP");
        fs::current_path(install_);
        print_dir_ = fs::path(root_) / "print";
        fs::create_directories(print_dir_);
        setenv("PXDROM_PRINT_DIR", print_dir_.c_str(), 1);
        qt_printer_ = px::make_qt_printer();
        px::seams().printer = [this]() -> px::PrintDevice& { return *qt_printer_; };
        on_modal("Errm", [](px::Form& f) { key(f, Qt::Key_F4); });
    }
    void TearDown() override {
        for (const char* n : {"Dprc", "Fsav", "Fsad"})
            if (px::Form* f = px::loaded_form(n)) px::unload_form(*f);
        settle();
        if (px::loaded_form("Gyom") != nullptr && !px::program_ended()) key(*px::loaded_form("Gyom"), Qt::Key_F3);
        FormsTest::TearDown();
        qt_printer_.reset();
        unsetenv("PXDROM_PRINT_DIR");
        if (root_.empty()) return;
        fs::current_path(saved_cwd_);
        if (saved_tmp_) setenv("TMP", saved_tmp_->c_str(), 1);
        fs::remove_all(root_);
    }
    px::Gyom* menu() { return static_cast<px::Gyom*>(px::loaded_form("Gyom")); }
    std::string root_;
    fs::path install_, print_dir_, saved_cwd_;
    std::optional<std::string> saved_tmp_;
    std::unique_ptr<px::PrintDevice> qt_printer_;
};

TEST_F(PricesDemoTest, PricedRepricedWithPrice3AndPrinted) {
    // PRICE3 alone, so that all three prices can be chosen.
    for (const auto& e : fs::directory_iterator(fs::path(root_) / "demo/c/MST"))
        if (e.path().filename().string().rfind("KAKAKU", 0) == 0) fs::remove(e.path());
    std::vector<std::string> priced;
    for (const auto& [part, name] : pxbuild::demo::all_part_numbers())
        if (part.size() == 12 && pxbuild::demo::has_price(part) && priced.size() < 3) priced.push_back(part);
    ASSERT_EQ(priced.size(), 3u);
    std::string lower = priced[0];
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::vector<std::string> asked = {priced[0], priced[1], priced[2], "99999ZZZZZ99", lower};

    ASSERT_TRUE(px::start_program());
    menu()->cmd_Menu[3]->click();
    settle();
    auto* d = static_cast<px::Dprc*>(px::loaded_form("Dprc"));
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(d->opt_Price[2]->isHidden());
    for (const std::string& p : asked) {
        d->txt_PNo[0]->setText(QString::fromStdString(p.substr(0, 5)));
        d->txt_PNo[1]->setText(QString::fromStdString(p.substr(5, 5)));
        d->txt_PNo[2]->setText(QString::fromStdString(p.substr(10, 2)));
        d->txt_PNo[0]->setFocus();
        key(*d, Qt::Key_Return);
    }
    ASSERT_EQ(d->DprcLineCount, 5);
    px::Grid* g = d->msg_Main;
    EXPECT_EQ(g->text(1, 1).toStdString(), priced[0].substr(0, 5) + "-" + priced[0].substr(5, 5) + "-" + priced[0].substr(10));
    EXPECT_EQ(g->text(4, 2), QString(20, '@'));
    EXPECT_NE(g->text(1, 3), QString(8, '@') + " ");
    // Typed in lower case: the same part, found and priced.
    EXPECT_EQ(g->text(5, 1), g->text(1, 1));
    EXPECT_EQ(g->text(5, 2), g->text(1, 2));
    EXPECT_EQ(g->text(5, 3), g->text(1, 3));
    const QString first = g->text(1, 3);
    d->opt_Price[2]->click();
    EXPECT_NE(g->text(1, 3), first);  // the third price of PRICE3
    EXPECT_EQ(g->text(4, 3), QString(8, '@') + " ");

    key(*d, Qt::Key_F2);
    ASSERT_NE(px::loaded_form("Dprc"), nullptr) << d->lbl_Msg->text().toStdString();
    std::vector<fs::path> pdfs;
    for (const auto& e : fs::directory_iterator(print_dir_)) pdfs.push_back(e.path());
    ASSERT_EQ(pdfs.size(), 1u);
    std::string text_file = (fs::path(root_) / "print.txt").string();
    if (std::system(("pdftotext -layout '" + pdfs[0].string() + "' '" + text_file + "' 2>/dev/null").c_str()) == 0) {
        std::string text = slurp(text_file);
        EXPECT_NE(text.find(g->text(1, 1).toStdString()), std::string::npos) << text;
        EXPECT_NE(text.find("99999-ZZZZZ-99"), std::string::npos);
        EXPECT_NE(text.find(g->text(1, 3).trimmed().toStdString()), std::string::npos);
    }
    key(*d, Qt::Key_F4);
    settle();
    EXPECT_FALSE(fs::exists(install_ / "WORK/PXDPRC1.TMP"));
}

TEST_F(PricesDemoTest, ASavedListEditedSavedAndExported) {
    // The export program of the demo: records what it was started with.
    fs::path program = install_ / "PXEDIT";
    std::ofstream(program) << "#!/bin/sh\necho \"$@\" >> \"" << (fs::path(root_) / "started.txt").string() << "\"\n";
    fs::permissions(program, fs::perms::owner_all);

    ASSERT_TRUE(px::start_program());
    menu()->cmd_Menu[5]->click();
    settle();
    auto* fsav = static_cast<px::Fsav*>(px::loaded_form("Fsav"));
    ASSERT_NE(fsav, nullptr);
    ASSERT_GT(fsav->lst_SaveFile->count(), 0);
    const int save_no = fsav->lst_SaveFile->item(0)->data(Qt::UserRole).toInt();
    fsav->lst_SaveFile->item(0)->setSelected(true);
    key(*fsav, Qt::Key_F10);
    settle();
    auto* f = static_cast<px::Fsad*>(px::loaded_form("Fsad"));
    ASSERT_NE(f, nullptr);
    const int before = f->lst_PartNumber->count();
    ASSERT_GE(before, 2);

    // Change the first line's quantity, add a line, delete the second.
    emit f->lst_PartNumber->itemDoubleClicked(f->lst_PartNumber->item(0));
    f->txt_Qty->setText("7");
    f->cmd_AddDel[0]->click();
    f->txt_PNumber[0]->setText("90915");
    f->txt_PNumber[1]->setText("YZZD2");
    f->txt_Qty->setText("3");
    f->cmd_AddDel[0]->click();
    f->lst_PartNumber->item(1)->setSelected(true);
    f->cmd_AddDel[1]->click();
    ASSERT_EQ(f->lst_PartNumber->count(), before);
    key(*f, Qt::Key_F11);
    ASSERT_NE(px::loaded_form("Fsad"), nullptr);

    char name[32];
    std::snprintf(name, sizeof name, "PXIF%04d.SAV", save_no);
    fs::path saved;
    for (const auto& e : fs::recursive_directory_iterator(fs::path(root_) / "demo"))
        if (e.path().filename() == name) saved = e.path();
    ASSERT_FALSE(saved.empty());
    std::string bytes = slurp(saved);
    ASSERT_EQ(bytes.size(), 99u + 14u * static_cast<size_t>(before));
    EXPECT_EQ(bytes.substr(96, 3), std::to_string(before) + std::string(3 - std::to_string(before).size(), ' '));
    EXPECT_EQ(bytes.substr(99 + 12, 2), "07");
    EXPECT_EQ(bytes.substr(bytes.size() - 14), "90915YZZD2  03");

    // Export as CSV, then as text.
    plat::set_drive('T', root_);  // a chosen file lies on a drive
    for (const char* out : {"list.csv", "list.txt"}) {
        std::string chosen = (fs::path(root_) / out).string();
        px::seams().choose_file = [chosen](QWidget*, const px::FileChoice&) { return QString::fromStdString(chosen); };
        on_modal("Intf", [](px::Form& i) { key(i, Qt::Key_F10); });
        key(*f, Qt::Key_F12);
        settle();
        ASSERT_NE(px::loaded_form("Fsad"), nullptr) << out;
        EXPECT_EQ(px::price_export_handover().ExportFailed, 0);
    }
    std::string csv = slurp(fs::path(root_) / "list.csv");
    EXPECT_NE(csv.find("\r\n90915YZZD2,03\r\n"), std::string::npos) << csv;
    std::string txt = slurp(fs::path(root_) / "list.txt");
    EXPECT_EQ(txt.size(), bytes.size());
    EXPECT_EQ(txt.substr(99), bytes.substr(99));
    // The export programs run on their own: each line comes when its program has run.
    std::string started;
    for (int i = 0; i < 6000 && std::count(started.begin(), started.end(), '\n') < 2; ++i) {
        usleep(10000);
        started = slurp(fs::path(root_) / "started.txt");
    }
    EXPECT_NE(started.find((fs::path(root_) / "list.csv").string() + "\n"), std::string::npos) << started;
    EXPECT_NE(started.find((fs::path(root_) / "list.txt").string() + "\n"), std::string::npos) << started;
}

}  // namespace
}  // namespace pxtest
