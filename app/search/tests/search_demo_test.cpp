// The search routes on the demo installation that pxmkdemo writes, through
// the real search-route, index and common libraries. The screens the routes
// open beyond this area stand in (support/search_fixture.h): the test looks
// at what they are handed, the figure list and SELECT.TMP.
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "demo_texts.h"
#include "platform/drives.h"
#include "search/emok.h"
#include "search/kkwd.h"
#include "search/kpnc.h"
#include "search/krot.h"
#include "search/lpem.h"
#include "search/lpps.h"
#include "shell/picture_box.h"
#include "shell/updown.h"
#include "search/route_context.h"
#include "search/spnc.h"
#include "shell/codepage.h"
#include "shell/messages.h"
#include "shell/program.h"
#include "shell/pxall_entries.h"
#include "shell/stack.h"
#include "support/search_fixture.h"

namespace pxtest {
namespace {

namespace fs = std::filesystem;
using px::Form;
using px::search::Kkwd;
using px::search::Kpnc;
using px::search::Krot;
using px::search::Spnc;

// The shared blocks of the common library (C++ exports).
px::Declared<unsigned char*()> ctop{"PXALL", "_ZN5pxall13get_ctop_addrEv"};
px::Declared<unsigned char*()> ccar{"PXALL", "_ZN5pxall13get_ccar_addrEv"};
px::Declared<unsigned char*()> cnexta{"PXALL", "_ZN5pxall15get_cnexta_addrEv"};

class SearchDemoTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        std::string maker = std::string(PX_BIN_DIR) + "/pxmkdemo";
        if (!fs::exists(maker)) GTEST_SKIP() << "pxmkdemo is not built";
        std::string tmpl = (fs::temp_directory_path() / "pxsearch-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        root_ = tmpl;
        ASSERT_EQ(std::system(("'" + maker + "' '" + root_ + "/demo' > /dev/null").c_str()), 0);
        fs::path install = fs::path(root_) / "demo/c/PXDROM";
        if (!fs::exists(install / "PRG/PXDROM01.MSG")) pxbuild::demo::write_demo_texts(install / "PRG", install);
        saved_cwd_ = fs::current_path();
        if (const char* t = std::getenv("TMP")) saved_tmp_ = t;
        unsetenv("TMP");
        fs::current_path(install);
        work_ = install / "WORK";
        px::search::reset_route_context();
        StandIn::opened().clear();
        ASSERT_TRUE(px::start_program());
        menu = px::loaded_form("Gyom");
        choose_vehicle("4410A1", "E1");
    }
    void TearDown() override {
        if (px::loaded_form("Gyom") != nullptr && !px::program_ended()) key(*px::loaded_form("Gyom"), Qt::Key_F3);
        FormsTest::TearDown();
        px::search::reset_route_context();
        if (root_.empty()) return;
        fs::current_path(saved_cwd_);
        if (saved_tmp_) setenv("TMP", saved_tmp_->c_str(), 1);
        fs::remove_all(root_);
    }

    // The vehicle as the vehicle screen leaves it: the catalogue and the
    // set-up entry of its data set.
    void choose_vehicle(const char* catalog, const char* data_set) {
        const unsigned char* top = ctop();
        int32_t n = 0;
        std::memcpy(&n, top + 906, 4);
        int32_t index = -1;
        for (int32_t i = 0; i < n; ++i)
            if (std::memcmp(top + 426 + 16 * i, data_set, 2) == 0) index = i;
        ASSERT_GE(index, 0);
        unsigned char* car = ccar();
        std::memcpy(car, catalog, 6);
        std::memcpy(car + 382, &index, 4);
        std::memcpy(car + 386, &index, 4);
    }
    static QString message(int no) {
        QLabel label;
        px::DispMsg(static_cast<int16_t>(no), &label);
        return label.text();
    }
    Krot& open_krot() {
        px::ScrPush(px::load_form(Krot::kName));
        menu->hide();
        settle();
        return *static_cast<Krot*>(px::loaded_form(Krot::kName));
    }
    static Form* top() { return px::loaded_form(px::ScrName(px::ScrCount())); }
    std::vector<std::string> figures() const {
        const unsigned char* b = cnexta();
        std::vector<std::string> out;
        for (int i = 0; i < (b[4] | (b[5] << 8)); ++i) out.emplace_back(reinterpret_cast<const char*>(b + 6 + 4 * i), 4);
        return out;
    }
    std::vector<std::string> selection() const {
        std::ifstream in(work_ / "SELECT.TMP", std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        const std::string img = s.str();
        std::vector<std::string> out;
        for (size_t at = 0; at + 20 <= img.size() && img[at] != 0; at += 20) out.push_back(img.substr(at, 14));
        return out;
    }
    // Back from a stand-in to the search-route screen.
    void back_to_krot() {
        key(*top(), Qt::Key_F3);
        settle();
        ASSERT_EQ(px::ScrName(px::ScrCount()), "Krot");
    }

    px::Form* menu = nullptr;
    std::string root_;
    fs::path saved_cwd_, work_;
    std::optional<std::string> saved_tmp_;
};

TEST_F(SearchDemoTest, FigureNumberPncAndPartNumberReachTheIllustration) {
    Krot& k = open_krot();
    EXPECT_EQ(k.lbl_Msg->text().isEmpty(), false);
    // Figure number 16-01.
    k.txt_FigNo[0]->setText("16");
    k.txt_FigNo[1]->setText("01");
    k.txt_FigNo[1]->setFocus();
    key(k, Qt::Key_F10);
    settle();
    ASSERT_EQ(StandIn::opened(), std::vector<std::string>{"Bunz"});
    EXPECT_EQ(figures(), std::vector<std::string>{"1601"});
    EXPECT_TRUE(selection().empty());
    back_to_krot();

    // Part-name code of the water pump: its figure, and the code selected.
    auto* again = static_cast<Krot*>(top());
    again->txt_PNm->setText("16100A");
    again->txt_PNm->setFocus();
    key(*again, Qt::Key_F10);
    settle();
    EXPECT_EQ(figures(), std::vector<std::string>{"1601"});
    EXPECT_EQ(selection(), std::vector<std::string>{"16100A      01"});
    back_to_krot();
    // Back on the route screen the selection is empty again.
    EXPECT_TRUE(selection().empty());

    // Part number of the oil filter element: figure 1501.
    again = static_cast<Krot*>(top());
    again->txt_PNo[0]->setText("15601");
    again->txt_PNo[1]->setText("YZ001");
    again->txt_PNo[2]->setText("A1");
    again->txt_PNo[2]->setFocus();
    key(*again, Qt::Key_F10);
    settle();
    EXPECT_EQ(px::ScrName(px::ScrCount()), "Bunz");
    EXPECT_EQ(figures(), std::vector<std::string>{"1501"});
    ASSERT_EQ(selection().size(), 1u);
    EXPECT_EQ(selection()[0].substr(12, 2), "01");
}

TEST_F(SearchDemoTest, UnknownFigureAndCodeAreNotFound) {
    Krot& k = open_krot();
    k.txt_FigNo[0]->setText("99");
    k.txt_FigNo[1]->setText("99");
    k.txt_FigNo[1]->setFocus();
    key(k, Qt::Key_F10);
    EXPECT_EQ(k.lbl_Msg->text(), message(868));
    k.txt_PNm->setText("99999Z");
    k.txt_PNm->setFocus();
    key(k, Qt::Key_F10);
    EXPECT_EQ(k.lbl_Msg->text(), message(867));
    k.txt_KeyWord->setText("NO SUCH PART");
    k.txt_KeyWord->setFocus();
    key(k, Qt::Key_F10);
    EXPECT_EQ(k.lbl_Msg->text(), message(865));
    EXPECT_TRUE(StandIn::opened().empty());
    EXPECT_EQ(beeps, 3);
}

TEST_F(SearchDemoTest, KeywordListsPartNamesAndTheirFiguresReachTheIllustration) {
    Krot& k = open_krot();
    k.txt_KeyWord->setFocus();
    QTest::keyClicks(k.txt_KeyWord, "pump");  // typed in capitals
    key(k, Qt::Key_F10);
    settle();
    ASSERT_EQ(px::ScrName(px::ScrCount()), "Kkwd");
    auto* list = static_cast<Kkwd*>(top());
    std::vector<std::string> shown;
    for (int i = 0; i < list->lst_KeyWord->count(); ++i) shown.push_back(px::to_ansi(list->lst_KeyWord->item(i)->text()));
    // The pumps of the demo: oil, water and fuel.
    std::vector<std::string> codes, figs;
    for (const auto& l : shown) {
        EXPECT_NE(l.substr(0, 60).find("PUMP"), std::string::npos) << l;
        codes.push_back(l.substr(61, 6));
        figs.push_back(l.substr(68, 4));
    }
    EXPECT_EQ(codes, (std::vector<std::string>{"15100A", "16100A", "23221A"}));
    EXPECT_EQ(figs, (std::vector<std::string>{"1501", "1601", "2301"}));
    for (int i : {1, 2}) list->lst_KeyWord->item(i)->setSelected(true);
    key(*list, Qt::Key_F10);
    settle();
    EXPECT_EQ(StandIn::opened(), std::vector<std::string>{"Bunz"});
    EXPECT_EQ(figures(), (std::vector<std::string>{"1601", "2301"}));
    EXPECT_EQ(selection(), (std::vector<std::string>{"16100A      01", "23221A      01"}));
}

TEST_F(SearchDemoTest, GroupCodeReachesThePartsList) {
    on_modal("Kgpl", [](Form& f) {
        auto& s = static_cast<Spnc&>(f);
        EXPECT_EQ(s.lbl_GrpCd->text(), "BRF");
        ASSERT_EQ(s.pick_list->count(), 3);
        EXPECT_EQ(px::to_ansi(s.pick_list->item(0)->text()).substr(0, 30), "04465A  PAD KIT, DISC BRAKE, F");
        for (int i = 0; i < 3; ++i) s.pick_list->item(i)->setSelected(true);
        key(s, Qt::Key_F10);
    });
    Krot& k = open_krot();
    k.txt_Grp->setText("BRF");
    k.txt_Grp->setFocus();
    key(k, Qt::Key_F10);
    settle();
    ASSERT_EQ(px::ScrName(px::ScrCount()), "Kgrp");
    auto* grp = static_cast<Kpnc*>(top());
    ASSERT_EQ(grp->lst_Pnc->count(), 3);
    // One more code typed, with a quantity.
    grp->txt_Pnc->setText("43512A");
    grp->txt_Qty->setText("2");
    grp->txt_Qty->setFocus();
    QTest::keyClick(grp->txt_Qty, Qt::Key_Return);
    ASSERT_EQ(grp->lst_Pnc->count(), 4);
    EXPECT_EQ(px::to_ansi(grp->lst_Pnc->item(3)->text()).substr(0, 26), "003 43512A DISC, FRONT    ");
    key(*grp, Qt::Key_F10);
    settle();
    EXPECT_EQ(StandIn::opened(), std::vector<std::string>{"Pnho"});
    EXPECT_EQ(selection(), (std::vector<std::string>{"04465A      01", "43512A      01", "90947A      01",
                                                     "43512A      02"}));
}

TEST_F(SearchDemoTest, PncListWithAPrefixPickReachesThePartsList) {
    on_modal("Spnc", [](Form& f) {
        auto& s = static_cast<Spnc&>(f);
        std::vector<std::string> codes;
        for (int i = 0; i < s.pick_list->count(); ++i) codes.push_back(px::to_ansi(s.pick_list->item(i)->text()).substr(0, 6));
        EXPECT_EQ(codes, (std::vector<std::string>{"16400A", "16401A"}));
        s.pick_list->item(0)->setSelected(true);
        key(s, Qt::Key_F10);
    });
    Krot& k = open_krot();
    k.cmd_Sech[1]->setFocus();  // as a click gives it
    k.cmd_Sech[1]->click();
    settle();
    ASSERT_EQ(px::ScrName(px::ScrCount()), "Kpnc");
    auto* entry = static_cast<Kpnc*>(top());
    entry->txt_Pnc->setFocus();
    QTest::keyClicks(entry->txt_Pnc, "164*");  // three characters and * list the codes
    EXPECT_EQ(entry->txt_Pnc->text(), "164*");
    QTest::keyClick(entry->txt_Pnc, Qt::Key_Return);
    EXPECT_EQ(modals, std::vector<std::string>{"Spnc"});
    // A replaced line takes the name of its new code.
    entry->txt_Pnc->setText("90916A");
    QTest::keyClick(entry->txt_Pnc, Qt::Key_Return);
    ASSERT_EQ(entry->lst_Pnc->count(), 2);
    entry->lst_Pnc->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    emit entry->lst_Pnc->itemDoubleClicked(entry->lst_Pnc->item(0));
    entry->txt_Pnc->setText("16401A");
    entry->txt_Qty->setText("3");
    QTest::keyClick(entry->txt_Qty, Qt::Key_Return);
    EXPECT_EQ(px::to_ansi(entry->lst_Pnc->item(0)->text()).substr(0, 40),
              "000 16401A CAP SUB-ASSY, RADIATOR       ");
    key(*entry, Qt::Key_F10);
    settle();
    EXPECT_EQ(StandIn::opened(), std::vector<std::string>{"Pnho"});
    EXPECT_EQ(selection(), (std::vector<std::string>{"16401A      03", "90916A      01"}));
}

TEST_F(SearchDemoTest, FigureGroupsOpenTheIndexAndGroupListOpensTheGroups) {
    Krot& k = open_krot();
    k.chk_Sech[0]->setChecked(true);
    k.chk_Sech[0]->setFocus();
    key(k, Qt::Key_F10);
    settle();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(cnexta()), 4), std::string("1\0\0\0", 4));
    ASSERT_EQ(px::ScrName(px::ScrCount()), "Emok");
    // The first figure of the first page picked in the list, then a figure
    // of the next page: both go to the illustration.
    auto* index = static_cast<px::search::Emok*>(top());
    ASSERT_GT(index->lst_FigNo->count(), 0);
    const std::string first = px::to_ansi(index->lst_FigNo->item(0)->text());
    index->lst_FigNo->setFocus();
    index->lst_FigNo->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    QTest::keyClick(index->lst_FigNo, Qt::Key_Return);
    EXPECT_TRUE(index->lst_FigNo->item(0)->isSelected());
    key(*index, Qt::Key_F8);
    const std::string second = px::to_ansi(index->lst_FigNo->item(0)->text());
    index->lst_FigNo->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    QTest::keyClick(index->lst_FigNo, Qt::Key_Return);
    key(*index, Qt::Key_F10);
    settle();
    EXPECT_EQ(StandIn::opened(), std::vector<std::string>{"Bunz"});
    EXPECT_EQ(figures(), (std::vector<std::string>{first.substr(0, 2) + first.substr(3, 2),
                                                   second.substr(0, 2) + second.substr(3, 2)}));
    // Back from the illustration: the index afresh on its first page, then the routes.
    key(*top(), Qt::Key_F3);
    settle();
    ASSERT_EQ(px::ScrName(px::ScrCount()), "Emok");
    EXPECT_EQ(static_cast<px::search::Emok*>(top())->PageNo, 1);
    back_to_krot();
    auto* again = static_cast<Krot*>(top());
    again->cmd_Sech[2]->click();
    settle();
    ASSERT_EQ(px::ScrName(px::ScrCount()), "Kgrl");
    auto* list = top()->findChild<QListWidget*>("lst_Grp");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 7);
    EXPECT_EQ(px::to_ansi(list->item(2)->text()).substr(0, 30), "  BRF     BRAKE SERVICE, FRONT");
}

// A page move the index library refuses changes nothing: the page, its
// picks and the route stay, and F11 shows the page's pictures again.
TEST_F(SearchDemoTest, F11AfterARefusedPageMoveKeepsTheIndex) {
    Krot& k = open_krot();
    k.chk_Sech[0]->setChecked(true);
    k.chk_Sech[0]->setFocus();
    key(k, Qt::Key_F10);
    settle();
    ASSERT_EQ(px::ScrName(px::ScrCount()), "Emok");
    auto* index = static_cast<px::search::Emok*>(top());
    auto pick_first = [&] {
        index->lst_FigNo->setFocus();
        index->lst_FigNo->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        QTest::keyClick(index->lst_FigNo, Qt::Key_Return);
        ASSERT_TRUE(index->lst_FigNo->item(0)->isSelected());
    };
    int last_page = 1;
    for (Qt::Key refused : {Qt::Key_F7, Qt::Key_F8}) {
        SCOPED_TRACE(refused == Qt::Key_F7 ? "F7 on the first page" : "F8 past the last");
        if (refused == Qt::Key_F8) {
            for (int i = 0; i < 50 && index->lbl_NextEnd->text() != "END"; ++i) key(*index, Qt::Key_F8);
            last_page = index->PageNo;
        }
        pick_first();
        const QImage zen = index->pic_FigZen->image(), sho = index->pic_FigSho->image();
        key(*index, refused);
        EXPECT_EQ(index->lbl_Msg->text(), message(refused == Qt::Key_F7 ? 801 : 802));
        EXPECT_EQ(index->PageNo, last_page);
        EXPECT_TRUE(index->lst_FigNo->item(0)->isSelected()) << "the pick stays";
        EXPECT_EQ(index->pic_FigZen->image(), zen);
        EXPECT_EQ(index->pic_FigSho->image(), sho);
        key(*index, Qt::Key_F11);
        settle();
        ASSERT_EQ(px::ScrName(px::ScrCount()), "Emok") << "the route stays";
        ASSERT_EQ(top(), index);
        EXPECT_EQ(index->lbl_Msg->text(), message(117));
        EXPECT_FALSE(index->lst_FigNo->item(0)->isSelected()) << "F11 clears the picks";
        EXPECT_FALSE(index->pic_FigSho->image().isNull());
    }
    std::ifstream errors(fs::path(root_) / "demo/c/PXDROM/PXERROR.LOG");
    EXPECT_FALSE(errors.good()) << "nothing logged";
    back_to_krot();
}

TEST_F(SearchDemoTest, LocalPartsFiguresReachTheirPages) {
    Krot& k = open_krot();
    k.cmd_Sech[3]->setFocus();
    k.cmd_Sech[3]->click();
    settle();
    ASSERT_EQ(px::ScrName(px::ScrCount()), "Lpem");
    auto* list = static_cast<px::search::Lpem*>(top());
    ASSERT_GT(list->lst_FigNo->count(), 0);
    const std::string first = px::to_ansi(list->lst_FigNo->item(0)->text());
    list->lst_FigNo->item(0)->setSelected(true);
    key(*list, Qt::Key_F10);
    settle();
    ASSERT_EQ(px::ScrName(px::ScrCount()), "Lpps");
    EXPECT_EQ(figures(), std::vector<std::string>{first.substr(1, 4)});
    // The page's first part picked, its quantity stepped up, and handed on.
    auto* page = static_cast<px::search::Lpps*>(top());
    ASSERT_GT(page->lst_PartNo->count(), 0);
    page->lst_PartNo->setFocus();
    page->lst_PartNo->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    QTest::keyClick(page->lst_PartNo, Qt::Key_Return);
    EXPECT_EQ(page->txt_Qty->text(), "01");
    page->upd_Qty->on_up_click();
    const std::string part = px::to_ansi(page->lst_PartNo->item(0)->text());
    EXPECT_EQ(part.substr(34, 2), "02");
    key(*page, Qt::Key_F10);
    settle();
    EXPECT_EQ(StandIn::opened(), std::vector<std::string>{"Pnho"});
    std::ifstream in(work_ / "LCPSEL.TMP", std::ios::binary);
    std::string rec(20, '\0');
    in.read(rec.data(), 20);
    EXPECT_EQ(rec.substr(0, 18), first.substr(1, 4) + part.substr(0, 12) + "02");
    EXPECT_EQ(cnexta()[469], 1);  // the parts list reads LCPSEL.TMP
}

// A local-parts picture that cannot be read, through the real local-parts
// library: the page says so with one error-log line and stays usable.
TEST_F(SearchDemoTest, LocalPartsPictureThatCannotBeReadIsReported) {
    open_krot();
    // The route's local parts, the first figure's page.
    auto open_page = [&]() -> px::search::Lpps* {
        auto* k = static_cast<Krot*>(top());
        k->cmd_Sech[3]->setFocus();
        k->cmd_Sech[3]->click();
        settle();
        if (px::ScrName(px::ScrCount()) != "Lpem") {
            ADD_FAILURE() << "the figure list did not open: " << px::ScrName(px::ScrCount());
            return nullptr;
        }
        auto* list = static_cast<px::search::Lpem*>(top());
        list->lst_FigNo->item(0)->setSelected(true);
        key(*list, Qt::Key_F10);
        settle();
        if (px::ScrName(px::ScrCount()) != "Lpps") ADD_FAILURE() << "the page did not open: " << list->lbl_Msg->text().toStdString();
        return px::ScrName(px::ScrCount()) == "Lpps" ? static_cast<px::search::Lpps*>(top()) : nullptr;
    };
    px::search::Lpps* page = open_page();
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->HasPicture, 1);
    const auto host = plat::host_path(px::search::up_to_nul(page->PicturePath));
    ASSERT_TRUE(host.has_value());
    const fs::path picture = *host;
    const fs::path log = fs::current_path() / "PXERROR.LOG";
    key(*page, Qt::Key_F3);
    settle();

    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"damaged bytes", [&] { std::ofstream(picture, std::ios::binary) << "BM this is no picture"; }},
        {"a folder", [&] { fs::create_directory(picture); }},
        {"a device", [&] { fs::create_symlink("/dev/zero", picture); }},
        {"a FIFO", [&] { ASSERT_EQ(::mkfifo(picture.c_str(), 0600), 0); }},
    };
    for (const auto& [what, make] : cases) {
        SCOPED_TRACE(what);
        fs::remove_all(picture);
        make();
        fs::remove(log);
        // F3 goes back to the figure list or the route, as the pages were reached.
        if (px::ScrName(px::ScrCount()) == "Lpem") {
            key(*top(), Qt::Key_F3);
            settle();
        }
        ASSERT_EQ(px::ScrName(px::ScrCount()), "Krot");
        page = open_page();
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->lbl_Msg->text(), message(863));
        std::ifstream in(log);
        std::vector<std::string> lines;
        for (std::string l; std::getline(in, l);) lines.push_back(l);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find("Lpps_DispPage,LoadPicture"), std::string::npos) << lines[0];
        // The page's keys work: a pick, and F10 to the parts list.
        page->lst_PartNo->setFocus();
        page->lst_PartNo->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        QTest::keyClick(page->lst_PartNo, Qt::Key_Return);
        EXPECT_EQ(page->txt_Qty->text(), "01");
        key(*page, Qt::Key_F6);
        key(*page, Qt::Key_F3);
        settle();
    }
}

}  // namespace
}  // namespace pxtest
