#include "support/setup_test.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include <QLabel>
#include <QListWidget>

#include "platform/msgbox.h"
#include "setup/setup_messages.h"
#include "setup/stpm.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace pxtest {

void SetupTest::SetUp() {
    ProgramTest::SetUp();
    std::string body;
    char line[32];
    for (int n : {150, 152, 167, 169, 402, 407, 408, 601, 705, 845, 848, 849, 869, 870, 871, 880, 884, 891, 999}) {
        std::snprintf(line, sizeof line, "%03dM%d\r\n", n, n);
        body += line;
    }
    inst->write("PROG/PXDROM01.MSG", body);
    ASSERT_TRUE(start());
    menu = px::loaded_form("Gyom");
    bind_setup_fakes(*inst);
    auto answer = [this](const std::string& text) {
        asked.push_back(text);
        if (answers.empty()) return int32_t{plat::kIdCancel};
        int32_t a = answers.front();
        answers.erase(answers.begin());
        return a;
    };
    plat::set_message_box_hook([answer](const std::string& text, const std::string&, uint32_t) { return answer(text); });
    px::setup::yes_no_cancel_box() = [answer](const std::string& text, const std::string&) { return answer(text); };
    px::seams().choose_file = [this](QWidget*, const px::FileChoice& c) {
        filters.push_back(c.filter.toStdString());
        if (chosen.empty()) return QString();
        std::string f = chosen.front();
        chosen.erase(chosen.begin());
        return f.empty() ? QString() : QString::fromStdString(inst->root() + "/" + f);
    };
    px::SetupBackToMenu = false;
}

void SetupTest::TearDown() {
    ProgramTest::TearDown();
    unbind_setup_fakes();
    plat::set_message_box_hook({});
    px::setup::yes_no_cancel_box() = {};
}

px::Form& SetupTest::open(const char* name) {
    px::Form& f = px::load_form(name);
    px::ScrPush(f);
    menu->hide();
    settle();
    return f;
}

std::string SetupTest::msg(px::Form& f) { return f.lbl_Msg->text().toStdString(); }

std::vector<std::string> SetupTest::lines(const QListWidget* list) {
    std::vector<std::string> out;
    for (int i = 0; i < list->count(); ++i) out.push_back(list->item(i)->text().toStdString());
    return out;
}

std::string SetupTest::file(const std::string& rel) const {
    std::ifstream in(inst->root() + "/" + rel, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace pxtest
