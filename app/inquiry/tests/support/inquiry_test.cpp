#include "support/inquiry_test.h"

#include <QLabel>
#include <QVBoxLayout>

#include "shell/grid.h"
#include "shell/stack.h"

namespace pxtest {

namespace {

// The catalogue list of the tests: closed at once unless a test answers it.
class FakeVcat : public px::Form {
public:
    static constexpr const char* kName = "Vcat";
    FakeVcat() : Form(kName) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(make_key_bar({3}));
    }
    bool on_key_down(int key_code) override {
        if (key_code == px::key_f(3)) px::unload_form(*this);
        return false;
    }
};

const bool vcat_registered = [] {
    if (!px::form_exists("Vcat")) px::register_form("Vcat", [] { return new FakeVcat; });
    return true;
}();

}  // namespace

void InquiryTest::SetUp() {
    ProgramTest::SetUp();
    write_numbered_messages(*inst, {105, 111, 114, 115, 125, 126, 140, 700, 707, 711, 719, 801, 802, 828, 842, 846, 860,
                                    865, 867, 872, 875, 885, 889, 999});
    ASSERT_TRUE(start());
    menu = px::loaded_form("Gyom");
    bind_fakes(*inst);
}

void InquiryTest::TearDown() {
    ProgramTest::TearDown();
    unbind_fakes();
}

px::Form& InquiryTest::open(const char* name) {
    px::Form& f = px::load_form(name);
    px::ScrPush(f);
    menu->hide();
    settle();
    return f;
}

std::string InquiryTest::msg(px::Form& f) { return f.lbl_Msg->text().toStdString(); }

std::string InquiryTest::row(px::Grid* g, int r) {
    std::string out;
    for (int c = 0; c < g->cols(); ++c) out += (c ? "|" : "") + g->text(r, c).toStdString();
    return out;
}

QString InquiryTest::cell(px::Grid* g, int r, int c) { return g->text(r, c); }

}  // namespace pxtest
