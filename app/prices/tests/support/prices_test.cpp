#include "support/prices_test.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include <QLabel>
#include <QListWidget>

#include "shell/grid.h"
#include "shell/pxall_entries.h"
#include "shell/stack.h"

namespace pxtest {

namespace {

// The scratch installation has nothing set up: the menu's check passes.
int32_t setup_ready(int16_t) { return 0; }

}  // namespace

void PricesTest::SetUp() {
    ProgramTest::SetUp();
    std::string body;
    char line[32];
    for (int n : {105, 113, 115, 124, 161, 702, 703, 707, 806, 809, 815, 836, 839, 850, 852, 856, 858, 866, 886,
                  900, 999}) {
        std::snprintf(line, sizeof line, "%03dM%d\r\n", n, n);
        body += line;
    }
    inst->write("PROG/PXDROM01.MSG", body);
    ASSERT_TRUE(start());
    menu = px::loaded_form("Gyom");
    bind_prices_fakes(*inst);
    on_modal("Errm", [this](px::Form& f) {
        if (auto* list = f.findChild<QListWidget*>())
            for (int i = 0; i < list->count(); ++i) errm_text += list->item(i)->text().toStdString() + "\n";
        key(f, Qt::Key_F4);
    });
    px::lib::drom_check_setup.entry().set_address(reinterpret_cast<void*>(&setup_ready));
}

void PricesTest::TearDown() {
    ProgramTest::TearDown();
    unbind_prices_fakes();
    px::lib::drom_check_setup.entry().set_address(nullptr);
}

px::Form& PricesTest::open(const char* name) {
    px::Form& f = px::load_form(name);
    px::ScrPush(f);
    menu->hide();
    settle();
    return f;
}

std::string PricesTest::msg(px::Form& f) { return f.lbl_Msg->text().toStdString(); }

std::string PricesTest::row(px::Grid* g, int r) {
    std::string out;
    for (int c = 0; c < g->cols(); ++c) out += (c ? "|" : "") + g->text(r, c).toStdString();
    return out;
}

std::string PricesTest::file(const std::string& rel) const {
    std::ifstream in(inst->root() + "/" + rel, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace pxtest
