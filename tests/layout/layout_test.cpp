// Every screen of the program on the design display of 1024 x 768: each
// registered form loaded on the demo installation and shown, and the states
// that make a screen larger, each checked whole (its frame within the
// display, every control inside its parent and none over another). At
// 1280 x 1024 a centred screen stands centred and whole.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <filesystem>
#include <fstream>

#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QTest>

#include "demo_texts.h"
#include "figure/bunz.h"
#include "partslist/pnho.h"
#include "pxall/blocks.h"
#include "pxbuild/demo_bunz.h"
#include "pxbuild/demo_data.h"
#include "setup/stlp.h"
#include "shell/binding.h"
#include "shell/form.h"
#include "shell/messages.h"
#include "shell/program.h"
#include "shell/seams.h"
#include "shell/stack.h"
#include "support/demo_vehicle.h"
#include "support/fixture.h"
#include "support/layout_check.h"

namespace pxtest {
namespace {

namespace fs = std::filesystem;
using px::Form;

px::Declared<unsigned char*()> cnexta{"PXALL", "_ZN5pxall15get_cnexta_addrEv"};
px::Declared<unsigned char*()> ccar{"PXALL", "_ZN5pxall13get_ccar_addrEv"};

// The illustrations that apply to the demo's vehicle.
void apply_illustrations() {
    const auto& cat = pxbuild::demo::catalogs().front();
    const std::string bits = pxbuild::demo::vehicle_applicability(cat, "AVS14P1");
    std::memcpy(ccar() + pxall::ccar::kApplicability, bits.data(),
                std::min(bits.size(), pxall::ccar::kApplicabilitySize));
}

// The figures chosen on the illustration index.
void choose_figures(const std::vector<std::string>& figures) {
    unsigned char* na = cnexta();
    pxall::put_i16(na + pxall::cnexta::kFigureCount, static_cast<int16_t>(figures.size()));
    for (size_t i = 0; i < figures.size(); ++i) std::memcpy(na + pxall::cnexta::kFigures + 4 * i, figures[i].data(), 4);
}

class LayoutTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        std::string maker = std::string(PX_BIN_DIR) + "/pxmkdemo";
        if (!fs::exists(maker)) GTEST_SKIP() << "pxmkdemo is not built";
        std::string tmpl = (fs::temp_directory_path() / "pxlayout-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        root_ = tmpl;
        ASSERT_EQ(std::system(("'" + maker + "' '" + root_ + "/demo' > /dev/null").c_str()), 0);
        fs::path install = fs::path(root_) / "demo/c/PXDROM";
        if (!fs::exists(install / "PRG/PXDROM01.MSG")) pxbuild::demo::write_demo_texts(install / "PRG", install);
        saved_cwd_ = fs::current_path();
        if (const char* t = std::getenv("TMP")) saved_tmp_ = t;
        unsetenv("TMP");
        fs::current_path(install);
        px::seams().display = [] { return px::DisplayMetrics{1024, 768, 15, 15}; };
        // A pop-up a screen opens while it loads is checked as it shows,
        // then closed.
        px::seams().modal_shown = [this](Form& f) {
            check(f, "shown by " + loading_);
            px::unload_form(f);
        };
        ASSERT_TRUE(px::start_program());
        // The vehicle and the picks the screens before the later ones leave.
        identify_demo_vehicle();
        pick_demo_parts(install / "WORK");
        choose_figures({"1101"});
        apply_illustrations();
    }
    void TearDown() override {
        if (px::loaded_form("Gyom") != nullptr && !px::program_ended()) key(*px::loaded_form("Gyom"), Qt::Key_F3);
        FormsTest::TearDown();
        if (root_.empty()) return;
        fs::current_path(saved_cwd_);
        if (saved_tmp_) setenv("TMP", saved_tmp_->c_str(), 1);
        fs::remove_all(root_);
    }

    void check(const Form& f, const std::string& how) {
        for (const std::string& fault : layout_faults(f))
            if (std::find(seen_.begin(), seen_.end(), fault) == seen_.end()) {
                seen_.push_back(fault);
                faults_.push_back(fault + " (" + how + ")");
            }
        checked_.push_back(f.name());
    }

    // Shows a loaded form as the kit shows a screen, and checks it.
    void show_and_check(Form& f, const std::string& how) {
        QPointer<Form> form = &f;
        // As the kit first shows it, then once its activation has run.
        px::size_to_layout(f);
        if (f.placement() == px::Placement::Centred) px::CenterForm(f);
        f.show();
        settle();
        check(f, how);
        px::show_modeless(f);
        settle();
        if (form && form->loaded()) check(*form, how + ", activated");
    }
    std::string log_text() const {
        std::ifstream in(fs::current_path() / "PXERROR.LOG");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::string root_;
    fs::path saved_cwd_;
    std::optional<std::string> saved_tmp_;
    std::string loading_;
    std::vector<std::string> faults_;
    std::vector<std::string> seen_;
    std::vector<std::string> checked_;
};

std::string joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines) s += "\n  " + l;
    return s;
}

TEST_F(LayoutTest, EveryFormFitsTheDesignDisplay) {
    std::vector<std::string> not_shown;
    for (const std::string& name : px::form_names()) {
        loading_ = name;
        Form* f = px::loaded_form(name);
        if (f == nullptr) f = &px::load_form(name);
        settle();
        if (px::loaded_form(name) == nullptr) {
            not_shown.push_back(name);
            continue;
        }
        show_and_check(*f, "loaded");
        if (name != "Gyom" && px::loaded_form(name) != nullptr) {
            px::loaded_form(name)->hide();
            px::unload_form(*px::loaded_form(name));
        }
        settle();
    }
    EXPECT_TRUE(faults_.empty()) << joined(faults_);
    EXPECT_TRUE(not_shown.empty()) << "closed at their load:" << joined(not_shown);
}

// The states that make a screen larger than it opens.
TEST_F(LayoutTest, EveryStateOfALargerScreenFitsTheDesignDisplay) {
    // The parts list in condition entry (F5, then F10).
    loading_ = "Pnho";
    auto& p = px::load_form<px::Pnho>();
    px::ScrPush(p);
    settle();
    ASSERT_NE(px::loaded_form("Pnho"), nullptr);
    key(p, Qt::Key_F5);
    key(p, Qt::Key_F10);
    settle();
    EXPECT_EQ(p.PnhoMode, px::Pnho::kModeConditions);
    check(p, "condition entry");
    px::unload_form(p);
    settle();

    // The illustration, whole and enlarged.
    loading_ = "Bunz";
    px::ScrPush(px::load_form(px::Bunz::kName));
    settle();
    auto* b = static_cast<px::Bunz*>(px::loaded_form(px::Bunz::kName));
    ASSERT_NE(b, nullptr) << log_text() << " menu: " << px::loaded_form("Gyom")->lbl_Msg->text().toStdString();
    check(*b, "whole page");
    b->pic_Bun_MouseDown(2, 0, 100, 100);
    settle();
    EXPECT_EQ(b->BunzViewMode, 2);
    check(*b, "enlarged");
    px::unload_form(*b);
    settle();

    // The local-parts set-up with the pictures of set 3: the picture part
    // shown at the large height.
    loading_ = "Stlp";
    auto& s = px::load_form<px::Stlp>();
    s.frm_ImgType->show();
    s.setFixedHeight(px::Stlp::kLargeHeight / 15);
    show_and_check(s, "set 3");
    px::unload_form(s);
    settle();

    EXPECT_TRUE(faults_.empty()) << joined(faults_);
}

TEST_F(LayoutTest, ACentredFormStandsCentredAndWholeOnALargerDisplay) {
    px::seams().display = [] { return px::DisplayMetrics{1280, 1024, 15, 15}; };
    for (const std::string& name : px::form_names()) {
        Form* f = px::loaded_form(name);
        if (f == nullptr) f = &px::load_form(name);
        settle();
        if (px::loaded_form(name) == nullptr || f->placement() != px::Placement::Centred) continue;
        px::size_to_layout(*f);
        px::CenterForm(*f);
        const QRect r = f->frameGeometry();
        EXPECT_TRUE(QRect(0, 0, 1280, 1024).contains(r)) << name << " at " << r.x() << "," << r.y();
        EXPECT_LE(std::abs(r.center().x() - 640), 1) << name;
        if (name != "Gyom") px::unload_form(*f);
        settle();
    }
}

}  // namespace
}  // namespace pxtest
