// The applicability inquiry, the part-number list and the part-number search
// on the demo installation that pxmkdemo writes, through the real libraries;
// their printouts become PDF files that are read back as text.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "demo_texts.h"
#include "inquiry/cdss.h"
#include "inquiry/hinb.h"
#include "inquiry/newp.h"
#include "inquiry/popup_vars.h"
#include "inquiry/teki.h"
#include "pxall/part_records.h"
#include "pxbuild/demo_data.h"
#include "pxbuild/demo_parts.h"
#include "shell/grid.h"
#include "shell/gyom.h"
#include "shell/program.h"
#include "shell/seams.h"
#include "shell/stack.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

namespace fs = std::filesystem;
using px::Form;

// One folder for the printouts of the whole run (the printer reads its name
// once), removed when the run ends.
struct PrintDir {
    fs::path path;
    PrintDir() {
        std::string tmpl = (fs::temp_directory_path() / "pxinqprint-XXXXXX").string();
        if (mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp");
        setenv("PXDROM_PRINT_DIR", tmpl.c_str(), 1);
        path = tmpl;
    }
    ~PrintDir() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

const fs::path& print_dir() {
    static const PrintDir dir;
    return dir.path;
}

class InquiryDemoTest : public FormsTest {
protected:
    void SetUp() override {
        print_dir();
        px::reset_seams();
        auto real_printer = px::seams().printer;
        FormsTest::SetUp();
        px::seams().printer = real_printer;
        std::string maker = std::string(PX_BIN_DIR) + "/pxmkdemo";
        if (!fs::exists(maker)) GTEST_SKIP() << "pxmkdemo is not built";
        std::string tmpl = (fs::temp_directory_path() / "pxinqdemo-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        root_ = tmpl;
        ASSERT_EQ(std::system(("'" + maker + "' '" + root_ + "/demo' > /dev/null").c_str()), 0);
        fs::path install = fs::path(root_) / "demo/c/PXDROM";
        if (!fs::exists(install / "PRG/PXDROM01.MSG")) pxbuild::demo::write_demo_texts(install / "PRG", install);
        saved_cwd_ = fs::current_path();
        if (const char* t = std::getenv("TMP")) saved_tmp_ = t;
        unsetenv("TMP");
        fs::current_path(install);
        ASSERT_TRUE(px::start_program());
        menu = static_cast<px::Gyom*>(px::loaded_form("Gyom"));
        // Every CD of the area is chosen as the pop-up offers it.
        on_modal("Cdss", [](Form& f) { key(f, Qt::Key_F12); });
        on_modal("Errm", [this](Form& f) {
            ADD_FAILURE() << "system error: " << log_text();
            key(f, Qt::Key_F4);
        });
    }
    void TearDown() override {
        if (px::loaded_form("Gyom") != nullptr && !px::program_ended()) key(*px::loaded_form("Gyom"), Qt::Key_F3);
        FormsTest::TearDown();
        if (root_.empty()) return;
        if (!saved_cwd_.empty()) fs::current_path(saved_cwd_);
        if (saved_tmp_) setenv("TMP", saved_tmp_->c_str(), 1);
        fs::remove_all(root_);
    }
    std::string log_text() const {
        std::ifstream in(fs::path(root_) / "demo/c/PXDROM/PXERROR.LOG");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Opens the screen of a menu item.
    Form& item(int n) {
        menu->cmd_Menu[static_cast<size_t>(n)]->click();
        settle();
        Form* f = px::loaded_form(px::Gyom::kItemScreens[static_cast<size_t>(n)]);
        if (f == nullptr) throw std::runtime_error("the item opened nothing: " + menu->lbl_Msg->text().toStdString());
        return *f;
    }
    // The text of the newest printout, or "" when none came.
    static std::string last_printout(size_t before) {
        std::vector<fs::path> pdfs;
        for (const auto& e : fs::directory_iterator(print_dir())) pdfs.push_back(e.path());
        if (pdfs.size() <= before) return "";
        std::sort(pdfs.begin(), pdfs.end());
        std::string txt = pdfs.back().string() + ".txt";
        if (std::system(("pdftotext -layout '" + pdfs.back().string() + "' '" + txt + "' 2>/dev/null").c_str()) != 0)
            return "(no pdftotext)";
        std::ifstream in(txt);
        std::string text((std::istreambuf_iterator<char>(in)), {});
        fs::remove(txt);
        return text;
    }
    static size_t printouts() {
        size_t n = 0;
        for (const auto& e : fs::directory_iterator(print_dir()))
            if (e.path().extension() == ".pdf") ++n;
        return n;
    }
    static std::string display(const std::string& part) {
        return part.substr(0, 5) + "-" + part.substr(5, 5) + "-" + part.substr(10, 2);
    }

    px::Gyom* menu = nullptr;
    std::string root_;
    fs::path saved_cwd_;
    std::optional<std::string> saved_tmp_;
};

TEST_F(InquiryDemoTest, ApplicabilityOfFivePartNumbersOverBothCds) {
    auto& t = static_cast<px::Teki&>(item(2));
    // A part of each CD's first catalogue, the oil filter every catalogue
    // uses, a van part and one that no catalogue has.
    namespace fr = pxall::figind_rec;
    std::vector<std::string> parts = {"15601-YZ001-A1",
                                      display(pxbuild::demo::root_files("E1").figind.front().substr(fr::kPart, 12)),
                                      display(pxbuild::demo::root_files("E2").figind.front().substr(fr::kPart, 12)),
                                      display(pxbuild::demo::root_files("E2").figind.back().substr(fr::kPart, 12)),
                                      "99999-ZZ999-Z9"};
    key(t, Qt::Key_F12);
    for (const auto& p : parts) {
        for (int i = 0; i < 3; ++i) t.txt_Enter[static_cast<size_t>(i)]->setText(QString::fromStdString(p.substr(i * 6, i < 2 ? 5 : 2)));
        t.txt_Enter[2]->setFocus();
        QTest::keyClick(t.txt_Enter[2], Qt::Key_Return);
    }
    ASSERT_EQ(t.lst_Entry->count(), 5);
    key(t, Qt::Key_F10);
    ASSERT_TRUE(t.loaded());
    ASSERT_TRUE(t.has_result());
    EXPECT_EQ(t.lst_Entry->item(0)->text().mid(18, 19), "ELEMENT, OIL FILTER");
    EXPECT_EQ(t.lst_Entry->item(4)->text().mid(18, 17), "*** NOT FOUND ***");
    std::set<QString> catalogs;
    for (int r = 1; r < t.msg_Parts->rows(); ++r)
        if (!t.msg_Parts->text(r, 3).trimmed().isEmpty()) catalogs.insert(t.msg_Parts->text(r, 3).trimmed());
    std::set<std::string> on_cd;
    for (const auto& c : pxbuild::demo::catalogs()) on_cd.insert(c.cd_id);
    EXPECT_EQ(catalogs.size(), pxbuild::demo::catalogs().size()) << "every catalogue uses the oil filter";
    EXPECT_GE(on_cd.size(), 2u);

    size_t before = printouts();
    key(t, Qt::Key_F2);
    std::string text = last_printout(before);
    ASSERT_FALSE(text.empty()) << t.lbl_Msg->text().toStdString();
    if (text != "(no pdftotext)") {
        EXPECT_NE(text.find("PART NUMBER APPLICABILITY"), std::string::npos);
        EXPECT_NE(text.find("15601-YZ001-A1"), std::string::npos);
        EXPECT_NE(text.find("ELEMENT, OIL FILTER"), std::string::npos);
        EXPECT_NE(text.find("Page =001"), std::string::npos);
    }
    key(t, Qt::Key_F4);
    EXPECT_EQ(px::loaded_form("Teki"), nullptr);
}

TEST_F(InquiryDemoTest, PartNumberListOfACatalogueAgainstItsEarlierIssue) {
    auto& n = static_cast<px::Newp&>(item(4));
    n.txt_Catalog->setFocus();
    QTest::keyClicks(n.txt_Catalog, "4410a1");
    QTest::keyClick(n.txt_Catalog, Qt::Key_Return);
    ASSERT_TRUE(n.loaded());
    ASSERT_GT(n.record_count(), 0) << n.lbl_Msg->text().toStdString();
    EXPECT_EQ(n.lbl_Catalog->text(), "4410A1");
    EXPECT_NE(n.lbl_Model->text().indexOf("ARVENA SEDAN"), -1);
    // Every listed part came after the earlier issue.
    for (int r = 1; r <= px::inquiry_vars().InquiryRowCount; ++r) {
        QString part = n.msg_Newp->text(r, 2).trimmed();
        if (part.isEmpty()) continue;
        std::string stored = part.toStdString();
        stored.erase(std::remove(stored.begin(), stored.end(), '-'), stored.end());
        EXPECT_TRUE(pxbuild::demo::added_later(stored)) << stored;
    }
    key(n, Qt::Key_F8);  // the list is one page
    EXPECT_EQ(n.block(), n.last_block());
    key(n, Qt::Key_F7);
    EXPECT_EQ(n.block(), 0);

    size_t before = printouts();
    key(n, Qt::Key_F2);
    std::string text = last_printout(before);
    ASSERT_FALSE(text.empty()) << n.lbl_Msg->text().toStdString();
    if (text != "(no pdftotext)") {
        EXPECT_NE(text.find("PART NUMBER LIST OF A CATALOGUE"), std::string::npos);
        EXPECT_NE(text.find("4410A1"), std::string::npos);
        EXPECT_NE(text.find("Page:001"), std::string::npos);
        EXPECT_NE(text.find(n.msg_Newp->text(1, 2).toStdString()), std::string::npos);
    }
    key(n, Qt::Key_F11);
    EXPECT_EQ(n.record_count(), 0);
    key(n, Qt::Key_F3);
    EXPECT_EQ(px::loaded_form("Newp"), nullptr);
}

TEST_F(InquiryDemoTest, PartNumberListOfACatalogueChosenFromTheCatalogueList) {
    if (!px::form_exists("Vcat")) GTEST_SKIP() << "the catalogue list is not built in";
    auto& n = static_cast<px::Newp&>(item(4));
    QString shown;
    on_modal("Vcat", [&](Form& f) {
        auto* grid = f.findChild<px::Grid*>("msg_Vcat");
        ASSERT_NE(grid, nullptr);
        for (int r = 1; r < grid->rows(); ++r)
            for (int c = 0; c < grid->cols(); ++c)
                if (grid->text(r, c).contains("4420B1")) {
                    shown = grid->text(r, c);
                    grid->set_row(r);
                }
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Return);
        if (f.loaded()) key(f, Qt::Key_F3);
    });
    n.txt_Catalog->setFocus();
    QTest::keyClicks(n.txt_Catalog, "arvena");
    QTest::keyClick(n.txt_Catalog, Qt::Key_Return);
    ASSERT_FALSE(shown.isEmpty());
    ASSERT_TRUE(n.loaded());
    EXPECT_EQ(n.lbl_Catalog->text(), "4420B1") << n.lbl_Msg->text().toStdString();
    EXPECT_GT(n.record_count(), 0);
    EXPECT_EQ(n.key(), "4420B1");
}

TEST_F(InquiryDemoTest, PartNameCodeAndPartNameSearchOverBothCds) {
    auto& h = static_cast<px::Hinb&>(item(6));
    key(h, Qt::Key_F12);
    ASSERT_TRUE(h.loaded());
    h.txt_Pnc->setFocus();
    QTest::keyClicks(h.txt_Pnc, "15601a");
    QTest::keyClick(h.txt_Pnc, Qt::Key_Return);
    ASSERT_TRUE(h.loaded());
    ASSERT_GT(h.list_count(), 0) << h.lbl_Msg->text().toStdString();
    EXPECT_EQ(h.lbl_Pnm_Txt->text(), "ELEMENT, OIL FILTER");
    std::set<QString> catalogs;
    for (int r = 1; r <= h.list_count(); ++r)
        if (!h.msg_Parts->text(r, 3).trimmed().isEmpty()) catalogs.insert(h.msg_Parts->text(r, 3));
    EXPECT_EQ(catalogs.size(), pxbuild::demo::catalogs().size());

    // A name with "_" for a blank: the pick list shows the names found.
    key(h, Qt::Key_F11);
    std::vector<std::string> names;
    on_modal("Slpn", [&](Form& f) {
        auto& s = static_cast<px::Slpn&>(f);
        for (int i = 0; i < s.Lst_PNm->count(); ++i) names.push_back(s.Lst_PNm->item(i)->text().toStdString());
        for (int i = 0; i < s.Lst_PNm->count(); ++i)
            if (s.Lst_PNm->item(i)->text().startsWith("ELEMENT, OIL FILTER")) s.Lst_PNm->setCurrentRow(i);
        key(s, Qt::Key_F10);
    });
    h.txt_PNm->setFocus();
    QTest::keyClicks(h.txt_PNm, "oil_filter");
    QTest::keyClick(h.txt_PNm, Qt::Key_Return);
    ASSERT_FALSE(names.empty());
    for (const auto& n : names) EXPECT_NE(n.find("OIL FILTER"), std::string::npos) << n;
    ASSERT_TRUE(h.loaded());
    EXPECT_EQ(h.lbl_Pnc_Txt->text(), "15601A");
    EXPECT_GT(h.list_count(), 0);
    key(h, Qt::Key_F8);
    EXPECT_EQ(h.page(), h.last_page());

    size_t before = printouts();
    key(h, Qt::Key_F2);
    std::string text = last_printout(before);
    ASSERT_FALSE(text.empty()) << h.lbl_Msg->text().toStdString();
    if (text != "(no pdftotext)") {
        EXPECT_NE(text.find("PART NUMBER / PART NAME SEARCH"), std::string::npos);
        EXPECT_NE(text.find("15601-YZ001-A1"), std::string::npos);
        EXPECT_NE(text.find("ELEMENT, OIL FILTER"), std::string::npos);
        EXPECT_NE(text.find("Page=001"), std::string::npos);
    }
    key(h, Qt::Key_F3);
    EXPECT_EQ(px::loaded_form("Hinb"), nullptr);
}

}  // namespace
}  // namespace pxtest
