#include "setup/stpr.h"

#include <cctype>
#include <cstdio>

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/drives.h"
#include "platform/msgbox.h"
#include "setup/setup_entries.h"
#include "setup/status_block.h"
#include "setup/user_file.h"
#include "setup/stpm.h"
#include "shell/codepage.h"
#include "shell/messages.h"
#include "shell/seams.h"

namespace px {

namespace {

constexpr int16_t kMsgDone = 407;
constexpr int16_t kMsgNotContinued = 601;
constexpr int16_t kMsgBadData = 848;
constexpr int16_t kMsgNoSpace = 871;
constexpr int16_t kMsgSystemError = 999;

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

void menu_message(int16_t no) {
    if (QLabel* line = SetupMenuMessageLine()) DispMsg(no, line);
}

}  // namespace

Stpr::Stpr() : Form(kName) {
    resize(560, 220);
    auto* layout = new QVBoxLayout(this);
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    auto* grid = new QGridLayout(Frame1);
    lbl_flnm = new QLabel(Frame1);
    lbl_price = new QLabel(Frame1);
    lbl_FileName = new QLabel(Frame1);
    lbl_FileName->setObjectName("lbl_FileName");
    lbl_FileType = new QLabel(Frame1);
    lbl_FileType->setObjectName("lbl_FileType");
    for (QLabel* l : {lbl_FileName, lbl_FileType}) l->setFrameShape(QFrame::Panel), l->setFrameShadow(QFrame::Sunken);
    grid->addWidget(lbl_flnm, 0, 0);
    grid->addWidget(lbl_FileName, 0, 1);
    grid->addWidget(lbl_price, 1, 0);
    grid->addWidget(lbl_FileType, 1, 1);
    grid->setColumnStretch(1, 1);
    layout->addWidget(Frame1, 1);
    auto* buttons = new QHBoxLayout();
    cmd_Refer = new QPushButton(this);
    cmd_Refer->setObjectName("cmd_Refer");
    cmd_Exec = new QPushButton(this);
    cmd_Exec->setObjectName("cmd_Exec");
    cmd_Clear = new QPushButton(this);
    cmd_Clear->setObjectName("cmd_Clear");
    cmd_Exit = new QPushButton(this);
    cmd_Exit->setObjectName("cmd_Exit");
    for (QPushButton* b : {cmd_Refer, cmd_Exec, cmd_Clear, cmd_Exit}) buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(cmd_Refer, &QPushButton::clicked, this, [this] { run("cmd_Refer_Click", [&] { cmd_Refer_Click(); }); });
    connect(cmd_Exec, &QPushButton::clicked, this, [this] {
        run("cmd_Exec_Click", [&] {
            SetHourglass();
            STPR_Exec_Setup();
            SetDefaultPointer();
        });
    });
    connect(cmd_Clear, &QPushButton::clicked, this, [this] { run("cmd_Clear_Click", [&] { STPR_Clear(); }); });
    connect(cmd_Exit, &QPushButton::clicked, this, [this] { run("cmd_Exit_Click", [&] { STPR_Exit(); }); });
}

void Stpr::on_load() {
    setWindowTitle(ScrText(4300, 29));
    Frame1->setTitle(ScrText(4301, 21));
    lbl_flnm->setText(ScrText(4302, 16));
    lbl_price->setText(ScrText(4303, 16));
    cmd_Refer->setText(ScrText(4304, 9));
    cmd_Exit->setText(ScrText(4305, 9));
    cmd_Exec->setText(ScrText(4306, 9));
    cmd_Clear->setText(ScrText(4307, 7));
    descriptions[1] = setup::fixed(to_ansi(ScrText(4308, 16)), 16);
    descriptions[3] = setup::fixed(to_ansi(ScrText(4309, 16)), 16);
    descriptions[2] = setup::fixed(to_ansi(ScrText(4310, 30)), 30);
    descriptions[4] = setup::fixed(to_ansi(ScrText(4311, 30)), 30);
    set_type_text(QString());
    file_type = 0;
    file_sequence = 1;
    DisplayMetrics m = display_metrics();
    move(std::max(0, (m.width_px - width()) / 2), std::max(0, (m.height_px - height()) / 2));
    // The outcome of the set-up shows on the menu's message line.
    KeepMessageLineClear(*this, SetupMenuMessageLine());
}

void Stpr::on_close_request() { STPR_Exit(); }

// The run button shows exactly while a type is recognised.
void Stpr::set_type_text(const QString& text) {
    lbl_FileType->setText(text);
    cmd_Exec->setVisible(!text.isEmpty());
}

bool Stpr::on_key_down(int key_code) {
    if (key_code == key_f(3)) {
        STPR_Exit();
    } else if (key_code == key_f(10)) {
        if (!cmd_Exec->isHidden() && cmd_Exec->isEnabled()) {
            SetHourglass();
            STPR_Exec_Setup();
            SetDefaultPointer();
        }
    } else if (key_code == key_f(11)) {
        STPR_Clear();
    }
    return false;
}

std::string Stpr::filter() const {
    char nnn[16];
    std::snprintf(nnn, sizeof nnn, "%03d", static_cast<int>(file_sequence % 1000));
    const auto& d = descriptions;
    switch (file_type) {
        case 1: return d[1] + "|PRICE";
        case 2: return d[2] + "|PRICE" + nnn + ".CSV";
        case 3: return d[3] + "|PRICE3";
        case 4: return d[4] + "|PRIC3" + nnn + ".CSV";
        default:
            return d[1] + "|PRICE|" + d[2] + "|PRICE" + nnn + ".CSV|" + d[3] + "|PRICE3|" + d[4] + "|PRIC3" + nnn + ".CSV";
    }
}

int16_t Stpr::STPR_Get_User_File(int16_t /*filter_index: the first entry, the dialog's default*/) {
    return setup::choose_user_file(this, 2, from_ansi(filter()), "PXSTPR", "STPR_Get_User_File", &chosen_file);
}

void Stpr::STPR_Set_File_Type() {
    lbl_FileName->setText(from_ansi(chosen_file));
    std::string name = upper(chosen_file);
    size_t n = name.size();
    if (n >= 3 && name.compare(n - 3, 3, "CSV") == 0) {
        std::string last = n >= 12 ? name.substr(n - 12) : name;
        if (last.compare(0, 5, "PRICE") == 0) {
            set_type_text(from_ansi(descriptions[2]));
            file_type = 2;
        } else if (last.compare(0, 5, "PRIC3") == 0) {
            set_type_text(from_ansi(descriptions[4]));
            file_type = 4;
        }
    } else if (n >= 5 && name.compare(n - 5, 5, "PRICE") == 0) {
        set_type_text(from_ansi(descriptions[1]));
        file_type = 1;
    } else if (n >= 5 && name.compare(n - 5, 5, "RICE3") == 0) {
        set_type_text(from_ansi(descriptions[3]));
        file_type = 3;
    }
}

void Stpr::STPR_Clear() {
    lbl_FileName->clear();
    set_type_text(QString());
    file_type = 0;
}

void Stpr::STPR_Exit() { unload_form(*this); }

void Stpr::fail() {
    menu_message(kMsgSystemError);
    Form* menu = loaded_form(Stpm::kName);
    ShowErrorDialog(menu ? *menu : static_cast<Form&>(*this));
    SetupBackToMenu = true;
    unload_form(*this);
}

void Stpr::STPR_Exec_Setup() {
    system_error = 0;
    int16_t kind = file_type == 1 || file_type == 2 ? 1 : file_type == 3 || file_type == 4 ? 2 : 0;
    if (lib::setup::Check_Setuped_Price() == 1) {
        int32_t answer = plat::message_box("Price file is already setuped.\rDo you want to setup again ?",
                                           to_ansi(windowTitle()), plat::kMbYesNo | plat::kMbIconQuestion);
        if (answer != plat::kIdYes) {
            STPR_Clear();
            cmd_Refer->setFocus();
            return;
        }
    }
    int16_t append = 0;
    for (;;) {
        std::string path = to_ansi(lbl_FileName->text());
        VbString source{path.data(), static_cast<int32_t>(path.size())};
        int32_t r = lib::setup::stup_kakaku_setup(&source, kind, append);
        if (r == 0) {
            int32_t answer = plat::message_box("Do you have next data ?", to_ansi(windowTitle()),
                                               plat::kMbYesNo | plat::kMbIconQuestion);
            if (answer == plat::kIdYes) {
                ++file_sequence;
                append = 1;
                if (STPR_Get_User_File(1) != 0) return;
                STPR_Set_File_Type();
                continue;
            }
            menu_message(kMsgDone);
            Beep();
            cmd_Exit->setFocus();
            cmd_Refer->setEnabled(false);
            cmd_Exec->setEnabled(false);
            cmd_Clear->setEnabled(false);
        } else if (r == 1) {
            menu_message(kMsgNotContinued);
            Beep();
            cmd_Refer->setFocus();
        } else if (r == 21) {
            menu_message(kMsgNoSpace);
            Beep();
            cmd_Exit->setFocus();
        } else if (r == kMsgBadData) {
            menu_message(kMsgBadData);
            Beep();
        } else {
            system_error = 1;
        }
        break;
    }
    if (system_error != 0) fail();
}

void Stpr::cmd_Refer_Click() {
    system_error = 0;
    int16_t rc = STPR_Get_User_File(1);
    if (rc == 0) STPR_Set_File_Type();
    else if (rc != 1) fail();
}

PX_FORM(Stpr);

}  // namespace px
