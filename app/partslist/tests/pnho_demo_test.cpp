// The parts list on the demo installation through the real libraries: a
// vehicle of the demo's sedan catalogue, three picked part-name codes, the
// list narrowed to the vehicle, two parts marked, printed to a PDF and saved;
// the saved-list library then lists the new saved list.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "demo_texts.h"
#include "partslist/pnho.h"
#include "partslist/pnho_entries.h"
#include "pxall/blocks.h"
#include "shell/grid.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/program.h"
#include "shell/seams.h"
#include "shell/stack.h"
#include "support/demo_vehicle.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

namespace fs = std::filesystem;
using px::Pnho;

px::Declared<unsigned char*()> cnexta{"PXALL", "_ZN5pxall15get_cnexta_addrEv"};
px::Declared<int16_t(VbString*)> fsav_exec_main{"PXFSAV", "_fsav_exec_main@4"};

std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class PnhoDemoTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        std::string maker = std::string(PX_BIN_DIR) + "/pxmkdemo";
        if (!fs::exists(maker) || !fs::exists(std::string(PX_BIN_DIR) + "/libPXPNHO.so"))
            GTEST_SKIP() << "pxmkdemo or the parts-list engine is not built";
        std::string tmpl = (fs::temp_directory_path() / "pxpnho-XXXXXX").string();
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
    }
    void TearDown() override {
        if (px::Form* f = px::loaded_form("Pnho")) px::unload_form(*f);
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
    void identify() { identify_demo_vehicle(); }
    void pick() { pick_demo_parts(install_ / "WORK"); }
    // The text of the one print job written, empty when there is not one.
    std::string printed_text() const {
        std::vector<fs::path> pdfs;
        for (const auto& e : fs::directory_iterator(print_dir_)) pdfs.push_back(e.path());
        EXPECT_EQ(pdfs.size(), 1u);
        if (pdfs.size() != 1) return {};
        std::string txt = (fs::path(root_) / "printed.txt").string();
        EXPECT_EQ(std::system(("pdftotext -layout '" + pdfs[0].string() + "' '" + txt + "'").c_str()), 0);
        return read(txt);
    }
    std::string root_;
    fs::path install_, print_dir_, saved_cwd_;
    std::optional<std::string> saved_tmp_;
    std::unique_ptr<px::PrintDevice> qt_printer_;
};

TEST_F(PnhoDemoTest, PicksBecomeANarrowedListThatIsMarkedPrintedAndSaved) {
    ASSERT_TRUE(px::start_program());
    identify();
    pick();
    auto& p = px::load_form<Pnho>();
    px::ScrPush(p);
    settle();
    ASSERT_EQ(p.PnhoLoadResult, 0);
    ASSERT_NE(px::loaded_form("Pnho"), nullptr);
    const int all = p.PnhoRecordCount;
    EXPECT_GT(all, 20) << "every variant of the three codes";
    EXPECT_EQ(p.msg_Pnho->text(1, 2), "15601A");
    EXPECT_EQ(p.msg_Pnho->text(1, 7).trimmed(), "ELEMENT, OIL FILTER");

    // Narrowed to the vehicle: only parts valid in January 2021 and meant
    // for its frame model.
    key(p, Qt::Key_F10);
    settle();
    ASSERT_EQ(p.PnhoMatchState, 1);
    ASSERT_GT(p.PnhoRecordCount, 0);
    EXPECT_LT(p.PnhoRecordCount, all);
    std::vector<int> part_rows;
    for (int r = 1; r < p.msg_Pnho->rows(); ++r) {
        QString validity = p.msg_Pnho->text(r, 6).trimmed();
        if (!validity.isEmpty()) {
            QString from = validity.left(4), to = validity.mid(5, 4);
            EXPECT_LE(from, "2101") << r;
            if (!to.isEmpty()) EXPECT_GE(to, "2101") << r;
        }
        QString remark = p.msg_Pnho->text(r, 8).trimmed();
        if (remark.startsWith("FOR ")) EXPECT_EQ(remark, "FOR AVS14P1") << r;
        if (!p.msg_Pnho->text(r, 4).trimmed().isEmpty()) part_rows.push_back(r);
    }
    ASSERT_GE(part_rows.size(), 2u);

    // Two parts marked; the second with quantity 3.
    p.show();
    p.msg_Pnho->set_row(part_rows[0]);
    p.msg_Pnho->on_click();
    p.msg_Pnho->set_row(part_rows[1]);
    p.msg_Pnho->on_click();
    ASSERT_TRUE(p.txt_Qty->isVisible());
    p.txt_Qty->setText("3");
    p.txt_Qty->setFocus();
    QTest::keyClick(p.txt_Qty, Qt::Key_Return);
    EXPECT_EQ(p.msg_Pnho->text(part_rows[0], 0), "*");
    EXPECT_EQ(p.msg_Pnho->text(part_rows[1], 0), "*");
    EXPECT_EQ(p.msg_Pnho->text(part_rows[1], 3), "03");
    const std::string first = p.msg_Pnho->text(part_rows[0], 4).toStdString();
    const std::string second = p.msg_Pnho->text(part_rows[1], 4).toStdString();

    // Printed: a PDF with the vehicle and the two marked parts.
    key(p, Qt::Key_F2);
    settle();
    std::string text = printed_text();
    EXPECT_NE(text.find("PARTS LIST"), std::string::npos);
    EXPECT_NE(text.find("XPAAVS1P10 1234567"), std::string::npos);
    EXPECT_NE(text.find("4410A1"), std::string::npos);
    EXPECT_NE(text.find(first), std::string::npos);
    EXPECT_NE(text.find(second), std::string::npos);
    EXPECT_NE(text.find("ELEMENT, OIL FILTER"), std::string::npos);
    EXPECT_FALSE(fs::exists(install_ / "WORK" / "PXPNHO2.TMP"));

    // Saved: the saved-list library finds the list.
    key(p, Qt::Key_F5);
    key(p, Qt::Key_F11);
    settle();
    EXPECT_EQ(p.PnhoMode, 1);
    QLabel saved;
    px::DispMsg(886, &saved);
    EXPECT_EQ(p.lbl_Msg->text(), saved.text());
    std::string buf(80, '\0');
    VbString path{buf.data(), 80};
    ASSERT_EQ(fsav_exec_main(&path), 0);
    std::string listing;
    for (const auto& e : fs::directory_iterator(install_ / "WORK"))
        if (e.path().filename().string() == "pxfsav.tmp" || e.path().filename().string() == "PXFSAV.TMP")
            listing = read(e.path());
    ASSERT_EQ(listing.size() % 80, 0u);
    ASSERT_GE(listing.size(), 80u);
    // The demo holds saved lists already: ours is the one of this vehicle.
    std::string number;
    for (size_t at = 0; at + 80 <= listing.size(); at += 80)
        if (listing.compare(at + 6, 10, "XPAAVS1P10") == 0) number = listing.substr(at + 2, 4);
    ASSERT_EQ(number.size(), 4u) << listing;
    std::string saved_file;
    for (const auto& e : fs::recursive_directory_iterator(fs::path(root_) / "demo"))
        if (e.path().filename() == "PXIF" + number + ".SAV") saved_file = read(e.path());
    ASSERT_EQ(saved_file.size(), 99u + 2 * 14);
    EXPECT_EQ(saved_file.substr(99 + 14 + 12, 2), "03");
}

TEST_F(PnhoDemoTest, ALocalPartKeepsItsNumberAndNameToThePrintoutAndTheSavedList) {
    ASSERT_TRUE(px::start_program());
    identify();
    // The roof bars picked on the demo's local-parts figure 9101 (LCPSEL.TMP
    // as the local-parts page writes it), twice.
    std::string image = std::string("9101") + "LA19101-01  " + "02" + std::string(1, '\1') + std::string(1, '\0');
    image.resize(20000, '\0');
    std::ofstream(install_ / "WORK" / "LCPSEL.TMP", std::ios::binary) << image;
    cnexta()[pxall::cnexta::kLocalFlag] = 1;
    auto& p = px::load_form<Pnho>();
    px::ScrPush(p);
    settle();
    ASSERT_EQ(p.PnhoLoadResult, 0);
    ASSERT_EQ(p.PnhoRecordCount, 1);
    EXPECT_EQ(p.msg_Pnho->text(1, 4).trimmed(), "LA19101-01");
    EXPECT_EQ(p.msg_Pnho->text(1, 7).trimmed(), "ROOF BARS, ALUMINIUM, PAIR");
    p.show();
    p.msg_Pnho->set_row(1);
    p.msg_Pnho->on_click();
    ASSERT_EQ(p.msg_Pnho->text(1, 0), "*");

    key(p, Qt::Key_F2);
    settle();
    const std::string text = printed_text();
    EXPECT_NE(text.find("LA19101-01"), std::string::npos) << text;
    EXPECT_NE(text.find("ROOF BARS, ALUMINIUM, PAIR"), std::string::npos) << text;
    EXPECT_EQ(text.find("LA191-01"), std::string::npos) << "never edited as a catalogue number";

    key(p, Qt::Key_F5);
    key(p, Qt::Key_F11);
    settle();
    bool saved = false;
    for (const auto& e : fs::directory_iterator(fs::path(root_) / "demo/c/MST")) {
        const std::string bytes = read(e.path());
        if (e.path().extension() == ".SAV" && bytes.size() == 99u + 14 && bytes.substr(99) == "LA19101-01  02") saved = true;
    }
    EXPECT_TRUE(saved) << "a saved list of the local part";
    cnexta()[pxall::cnexta::kLocalFlag] = 0;
}

}  // namespace
}  // namespace pxtest
