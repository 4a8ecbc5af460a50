// The illustration screen on the demo installation through the real
// libraries: a vehicle's chosen figures opened as the search routes open
// them, every page of every figure shown, picks marked on the picture and
// taken off again, a sub-illustration opened and closed, the enlarged page
// picked, and the selection handed on.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "demo_texts.h"
#include "figure/bunz.h"
#include "figure/bunz_entries.h"
#include "pxall/blocks.h"
#include "pxall/buinde_layout.h"
#include "pxbuild/demo_bunz.h"
#include "pxbuild/demo_data.h"
#include "pxbuild/demo_images.h"
#include "shell/binding.h"
#include "shell/picture_box.h"
#include "shell/program.h"
#include "shell/stack.h"
#include "support/fake_bunz.h"
#include "support/fixture.h"

namespace pxtest {
namespace {

namespace fs = std::filesystem;
namespace demo = pxbuild::demo;
using px::Bunz;

// The shared blocks the search routes fill before they open the screen.
px::Declared<unsigned char*()> ccar_addr{"PXALL", "_ZN5pxall13get_ccar_addrEv"};
px::Declared<unsigned char*()> cnexta_addr{"PXALL", "_ZN5pxall15get_cnexta_addrEv"};

void put_i16(unsigned char* p, int v) {
    p[0] = static_cast<unsigned char>(v & 0xff);
    p[1] = static_cast<unsigned char>((v >> 8) & 0xff);
}
void put_i32(unsigned char* p, int v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>((v >> (8 * i)) & 0xff);
}

class BunzDemo : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        figtest::remove_fake();  // the real libraries
        std::string maker = std::string(PX_BIN_DIR) + "/pxmkdemo";
        if (!fs::exists(maker)) GTEST_SKIP() << "pxmkdemo is not built";
        std::string tmpl = (fs::temp_directory_path() / "pxbunzdemo-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        root_ = tmpl;
        ASSERT_EQ(std::system(("'" + maker + "' '" + root_ + "/demo' > /dev/null").c_str()), 0);
        fs::path install = fs::path(root_) / "demo/c/PXDROM";
        if (!fs::exists(install / "PRG/PXDROM01.MSG")) demo::write_demo_texts((install / "PRG").string(), install.string());
        saved_cwd_ = fs::current_path();
        if (const char* t = std::getenv("TMP")) saved_tmp_ = t;
        unsetenv("TMP");
        fs::current_path(install);
        work_ = install / "WORK";
        ASSERT_TRUE(px::start_program());
        on_modal("Errm", [](px::Form& f) {
            ADD_FAILURE() << "system error";
            px::unload_form(f);
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

    // The current vehicle: a frame model of the first demo catalogue built
    // in that month, on the catalogue's installed data set.
    void vehicle(const std::string& frame_model, const std::string& date) {
        unsigned char* car = ccar_addr();
        ASSERT_NE(car, nullptr);
        std::memcpy(car + pxall::ccar::kCatalog, cat.code.data(), 6);
        std::memset(car + pxall::ccar::kProdDate, 0, 6);
        std::memcpy(car + pxall::ccar::kProdDate, date.data(), 6);
        const std::string bits = demo::vehicle_applicability(cat, frame_model);
        std::memcpy(car + pxall::ccar::kApplicability, bits.data(), pxall::ccar::kApplicabilitySize);
        // The set-up entry of the catalogue: the one whose pages the library finds.
        for (int setup = 0; setup < 10; ++setup) {
            put_i32(car + pxall::ccar::kSetupIndex, setup);
            choose({"1101"});
            std::string key(4, ' '), record(61, ' ');
            VbString k{key.data(), 4}, r{record.data(), 61};
            int16_t match = 0, last = 0, status = -1;
            const int32_t rc = px::bunz_lib::VBBunzInit(&k, &r, &match, &last, &status);
            px::bunz_lib::VBBunzTerm();
            if (rc == 0 && status == 0 && key == "1101") return;
        }
        FAIL() << "no set-up entry shows the catalogue's figures";
    }
    void choose(const std::vector<std::string>& figures) {
        unsigned char* na = cnexta_addr();
        put_i16(na + pxall::cnexta::kFigureCount, static_cast<int>(figures.size()));
        for (size_t i = 0; i < figures.size(); ++i) std::memcpy(na + pxall::cnexta::kFigures + 4 * i, figures[i].data(), 4);
    }
    // The catalogue's figures, in index order, and its pages (figure and page key).
    std::vector<std::string> figures() const {
        std::vector<std::string> out;
        for (const std::string& r : demo::illustration_pages(cat)) {
            std::string fig = r.substr(pxall::buinde::kFigure, 4);
            if (std::find(out.begin(), out.end(), fig) == out.end()) out.push_back(fig);
        }
        return out;
    }
    std::set<std::string> pages() const {
        std::set<std::string> out;
        for (const std::string& r : demo::illustration_pages(cat))
            if (r[pxall::buinde::kKind] != '2')
                out.insert(r.substr(pxall::buinde::kFigure, 4) + r.substr(pxall::buinde::kPageKey, 7));
        return out;
    }
    Bunz* open() {
        px::ScrPush(px::load_form(Bunz::kName));
        settle();
        return static_cast<Bunz*>(px::loaded_form(Bunz::kName));
    }
    static int dark_pixels(const QImage& img, const QRect& r) {
        int n = 0;
        const QRect c = r & img.rect();
        for (int y = c.top(); y <= c.bottom(); ++y)
            for (int x = c.left(); x <= c.right(); ++x) n += qGray(img.pixel(x, y)) < 128 ? 1 : 0;
        return n;
    }
    static QRect half(const pxbuild::ImageText& t) {
        return QRect(QPoint(t.left / 2, t.top / 2), QPoint(t.right / 2, t.bottom / 2));
    }
    static QRect full(const pxbuild::ImageText& t) { return QRect(QPoint(t.left, t.top), QPoint(t.right, t.bottom)); }
    static std::string code(const pxbuild::ImageText& t) {
        std::string s = t.text;
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }
    static int line_of(QListWidget* list, const std::string& prefix) {
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->text().toStdString().rfind(prefix, 0) == 0) return i;
        return -1;
    }

    const demo::Catalog& cat = demo::catalogs().front();
    std::string root_;
    fs::path saved_cwd_, work_;
    std::optional<std::string> saved_tmp_;
};

TEST_F(BunzDemo, EveryPageOfEveryFigureShows) {
    vehicle("AVS16P1", "201901");
    const std::vector<std::string> figs = figures();
    ASSERT_GE(figs.size(), 2u);
    choose(figs);
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    size_t shown = 0;
    std::string figure;
    for (int step = 0; step < 400; ++step) {
        const std::string fig = b->BunzFigureKey;
        if (fig != figure && b->BunzMatchFlag == 0) {
            // Every page of the figure, not just this vehicle's.
            figure = fig;
            key(*b, Qt::Key_F9);
            ASSERT_EQ(b->BunzMatchFlag, 1) << fig;
        }
        figure = fig;
        SCOPED_TRACE(fig + " " + b->BunzPageCode);
        ASSERT_TRUE(b->BunzPictureState == 1 || b->BunzPictureState == 2) << b->BunzPictureState;
        EXPECT_EQ(b->lbl_FigNo->text().toStdString(), fig);
        EXPECT_GT(b->lst_Pnc->count(), 0);
        EXPECT_GT(dark_pixels(b->pic_Bun->image(), b->pic_Bun->rect()), 1000);
        EXPECT_EQ(b->pic_Bun->size(), QSize(demo::kIllustrationWidth / 2, demo::kIllustrationHeight / 2));
        ++shown;
        if (b->BunzLastPage == 1) break;
        key(*b, Qt::Key_F8);
        ASSERT_EQ(px::loaded_form(Bunz::kName), b);
    }
    EXPECT_EQ(b->BunzLastPage, 1);
    EXPECT_EQ(b->BunzFigureKey, figs.back());
    EXPECT_EQ(shown, pages().size());
    // Past the last page: the end, nothing changes.
    key(*b, Qt::Key_F8);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(b->BunzFigureKey, figs.back());
}

TEST_F(BunzDemo, PicksMarkThePictureAndTheSubIllustrationReturns) {
    vehicle("AVS16P1", "201901");
    choose({"1101"});
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->BunzFigureKey, "1101");
    const demo::Illustration ill = demo::illustration("1101", 0);

    // The reference code placed most often on the page, and a sub-illustration box.
    std::map<std::string, std::vector<pxbuild::ImageText>> by_code;
    const pxbuild::ImageText* sub = nullptr;
    for (const auto& t : ill.texts) {
        if (t.attribute == '1' && code(t) == "1301") sub = &t;
        else if (t.attribute != '1' && t.attribute != '4' && line_of(b->lst_Pnc, code(t)) >= 0) by_code[code(t)].push_back(t);
    }
    ASSERT_NE(sub, nullptr);
    ASSERT_FALSE(by_code.empty());
    auto most = std::max_element(by_code.begin(), by_code.end(),
                                 [](const auto& a, const auto& c) { return a.second.size() < c.second.size(); });
    const std::vector<pxbuild::ImageText>& marks = most->second;

    // A click on the very corner of a placement, at half size, picks it:
    // every placement of the code shows inverted, the line takes "01".
    const QImage before = b->pic_Bun->image();
    std::vector<int> dark_before;
    for (const auto& t : marks) dark_before.push_back(dark_pixels(before, half(t)));
    b->pic_Bun_MouseDown(1, 0, static_cast<float>(marks[0].left / 2), static_cast<float>(marks[0].top / 2));
    const QImage picked = b->pic_Bun->image();
    for (size_t i = 0; i < marks.size(); ++i) {
        const int area = half(marks[i]).width() * half(marks[i]).height();
        EXPECT_GT(dark_pixels(picked, half(marks[i])), dark_before[i]) << most->first << " mark " << i;
        EXPECT_GT(dark_pixels(picked, half(marks[i])), area / 2) << most->first << " mark " << i;
    }
    const int line = line_of(b->lst_Pnc, most->first);
    ASSERT_GE(line, 0);
    EXPECT_TRUE(b->lst_Pnc->item(line)->isSelected());
    EXPECT_EQ(b->lst_Pnc->item(line)->text().mid(32, 2), "01");
    EXPECT_EQ(b->txt_Qty->text(), "01");
    // Again, on the opposite corner: every mark comes off.
    b->pic_Bun_MouseDown(1, 0, static_cast<float>(marks[0].right / 2), static_cast<float>(marks[0].bottom / 2));
    EXPECT_EQ(b->pic_Bun->image(), before);
    EXPECT_FALSE(b->lst_Pnc->item(line)->isSelected());

    // The sub-illustration box opens that figure; F3 shows 1101 again.
    const QRect box = half(*sub);
    QTest::mousePress(b->pic_Bun, Qt::LeftButton, {}, box.center());
    QTest::mouseRelease(b->pic_Bun, Qt::LeftButton, {}, box.center());
    EXPECT_EQ(b->BunzSubMode, 1);
    EXPECT_EQ(b->BunzFigureKey, "1301");
    EXPECT_EQ(b->lbl_FigNo->text(), "1301");
    EXPECT_TRUE(b->cmd_PF(4)->isHidden());
    key(*b, Qt::Key_F3);
    EXPECT_EQ(b->BunzSubMode, 0);
    EXPECT_EQ(b->lbl_FigNo->text(), "1101");
    EXPECT_EQ(b->lbl_FigName->text().left(31), "ENGINE ASSEMBLY & CYLINDER HEAD");
    EXPECT_EQ(b->pic_Bun->image(), before);
}

TEST_F(BunzDemo, EnlargedPicksGoToTheSelectedListAndOnToThePartsList) {
    vehicle("AVS16P1", "201901");
    choose({"1101"});
    Bunz* b = open();
    ASSERT_NE(b, nullptr);
    const demo::Illustration ill = demo::illustration("1101", 0);
    std::vector<pxbuild::ImageText> refs;
    std::set<std::string> codes;
    for (const auto& t : ill.texts)
        if (t.attribute != '1' && t.attribute != '4' && line_of(b->lst_Pnc, code(t)) >= 0 && codes.insert(code(t)).second)
            refs.push_back(t);
    ASSERT_GE(refs.size(), 4u);
    b->pic_Bun_MouseDown(1, 0, static_cast<float>(refs[3].left / 2),
                         static_cast<float>(refs[3].top / 2));
    if (const char* shot = std::getenv("BUNZ_SCREENSHOT_WHOLE")) b->grab().save(QString::fromLocal8Bit(shot));

    b->pic_Bun_MouseDown(2, 0, 100, 100);
    ASSERT_EQ(b->BunzViewMode, 2);
    ASSERT_EQ(b->BunzListView, 1);
    // Centre the page on the first picks and pick three of them.
    for (int i = 0; i < 3; ++i) {
        const QRect r = full(refs[i]);
        b->pic_Bun_MouseDown(2, 0, static_cast<float>(r.center().x()), static_cast<float>(r.center().y()));
        const QPoint at = r.center();
        const int dark = dark_pixels(b->pic_Bun->image(), r);
        QTest::mousePress(b->pic_Bun, Qt::LeftButton, {}, at);
        QTest::mouseRelease(b->pic_Bun, Qt::LeftButton, {}, at);
        EXPECT_GT(dark_pixels(b->pic_Bun->image(), r), dark) << code(refs[i]);
    }
    // The pick of the whole page first, then those of the enlarged one.
    ASSERT_EQ(b->lst_SelPnc->count(), 4);
    EXPECT_EQ(b->lst_SelPnc->item(0)->text().toStdString().substr(0, code(refs[3]).size()), code(refs[3]));
    EXPECT_EQ(b->lst_SelPnc->item(1)->text().toStdString().substr(0, code(refs[0]).size()), code(refs[0]));
    EXPECT_EQ(b->lst_SelPnc->item(3)->text().right(2), "01");
    EXPECT_FALSE(b->lbl_PartName->text().trimmed().isEmpty());
    // The quantity of the last pick, one up.
    b->upd_Qty_UpClick();
    EXPECT_EQ(b->lst_SelPnc->item(3)->text().right(2), "02");
    EXPECT_EQ(b->txt_Qty->text(), "02");

    if (const char* shot = std::getenv("BUNZ_SCREENSHOT")) {
        b->grab().save(QString::fromLocal8Bit(shot));
        // On a real display, the screen as the clerk sees it too.
        if (QGuiApplication::platformName() != "offscreen") {
            b->move(0, 0);
            for (int i = 0; i < 20; ++i) QTest::qWait(25);
            QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(shot) + ".screen.png");
        }
    }

    // F10: SELECT.TMP holds the picks, the parts list comes.
    key(*b, Qt::Key_F10);
    settle();
    EXPECT_EQ(px::loaded_form(Bunz::kName), nullptr);
    EXPECT_NE(px::loaded_form("Pnho"), nullptr);
    bool written = false;
    for (const auto& e : fs::directory_iterator(work_)) {
        std::string name = e.path().filename().string();
        std::transform(name.begin(), name.end(), name.begin(), ::toupper);
        if (name == "SELECT.TMP") written = fs::file_size(e.path()) > 0;
    }
    EXPECT_TRUE(written);
}

}  // namespace
}  // namespace pxtest
