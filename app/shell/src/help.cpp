#include "shell/help.h"

#include <cctype>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/codepage.h"
#include "shell/form.h"
#include "shell/help_form.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/pxall_entries.h"

namespace px {

namespace {

std::string g_help_id = "PX    ";

}  // namespace

void ShowHelp(Form& caller) { ShowHelpByName(caller.name()); }

void ShowHelpByName(const std::string& name) {
    std::string id = "PX";
    for (size_t i = 0; i < 4; ++i)
        id.push_back(i < name.size() ? static_cast<char>(std::toupper(static_cast<unsigned char>(name[i]))) : ' ');
    g_help_id = id;
    show_modal(load_form(Help::kName));
}

std::string GetHelpScreenId() { return g_help_id; }

Help::Help() : Form(kName) {
    setWindowTitle("Help");
    auto* layout = make_frame({.size = {760, 520}, .keys = {3, 6}, .bars = FrameSpec::Bars::KeysThenMessage, .placement = Placement::Kept});
    lst_Help = new QListWidget(this);
    lst_Help->setObjectName("lst_Help");
    // The code page's fixed-pitch face: a Japanese character takes two
    // cells, so the key descriptions line up as their bytes do.
    lst_Help->setFont(oem_font(10));
    list_control_ = std::make_unique<ListBoxControl>(lst_Help);
    layout->addWidget(lst_Help, 1);
}

void Help::on_load() {
    cmd_PF(3)->setText(ScrText(202, 8));
    cmd_PF(6)->setText(ScrText(205, 8));
    std::string id = GetHelpScreenId();
    lib::VBReadHelpFile(list_control_->hwnd(), id.c_str());
}

void Help::on_activate() { lst_Help->setFocus(); }

bool Help::on_key_down(int key_code) {
    if (key_code == key_f(3)) {
        unload_form(*this);
    } else if (key_code == key_f(6)) {
        HardCopy(*this, lbl_Msg);
    }
    return false;
}

void Help::on_close_request() { unload_form(*this); }

PX_FORM(Help);

}  // namespace px
