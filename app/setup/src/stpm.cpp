#include "setup/stpm.h"

#include <string>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "setup/setup_entries.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/pxall_entries.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px {

namespace {

constexpr int16_t kMsgGuide = 150;
constexpr int16_t kMsgSystemError = 999;
constexpr std::array<int, 5> kItemTexts = {2604, 2605, 2607, 2609, 2610};

}  // namespace

QLabel* SetupMenuMessageLine() {
    Form* menu = loaded_form(Stpm::kName);
    return menu ? menu->lbl_Msg : nullptr;
}

Stpm::Stpm() : Form(kName) {
    auto* layout = make_frame({.size = {640, 520}, .keys = {1, 3, 4, 6, 10}, .bars = FrameSpec::Bars::KeysThenMessage});
    lbl_title = new QLabel(this);
    lbl_title->setObjectName("lbl_title");
    lbl_title->setAlignment(Qt::AlignCenter);
    QFont title_font = lbl_title->font();
    title_font.setPointSizeF(title_font.pointSizeF() * 1.6);
    title_font.setBold(true);
    lbl_title->setFont(title_font);
    layout->addWidget(lbl_title);

    auto* items = new QVBoxLayout();
    items->setContentsMargins(80, 12, 80, 12);
    for (int i = 0; i < 5; ++i) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString("cmd_Stup_%1").arg(i));
        b->setFocusPolicy(Qt::StrongFocus);
        b->setMinimumHeight(b->sizeHint().height() + 8);
        connect(b, &QPushButton::clicked, this, [this, i] {
            run("cmd_Stup_Click", [&] {
                chosen_ = static_cast<int16_t>(i);
                Stpm_LoadSetupCmd();
            });
        });
        items->addWidget(b);
        cmd_Stup[i] = b;
    }
    layout->addLayout(items, 1);

    auto* lang = new QHBoxLayout();
    for (int i = 0; i < 3; ++i) {
        lbl_Lang[i] = new QLabel(this);
        lbl_Lang[i]->setObjectName(QString("lbl_Lang_%1").arg(i));
        lang->addWidget(lbl_Lang[i], i == 2 ? 1 : 0);
    }
    layout->addLayout(lang);
    setTabOrder(cmd_Stup[4], cmd_PF(1));
}

void Stpm::on_load() {
    SetupBackToMenu = false;
    setWindowTitle(ScrText(2600, 30));
    lbl_title->setText(windowTitle());
    for (int i = 0; i < 5; ++i) cmd_Stup[i]->setText(ScrText(kItemTexts[i], 36));
    lbl_Lang[0]->setText(ScrText(2601, 24));
    lbl_Lang[2]->setText(ScrText(2602, 50));
    int16_t language = 0;
    std::string name(12, ' ');
    VbString s{name.data(), static_cast<int32_t>(name.size())};
    lbl_Lang[1]->setText(lib::setup::VBGet_Latest_Lang(&language, &s) == 0 ? QString::number(language) : QString());
    DispMsg(kMsgGuide, lbl_Msg);
    cmd_PF(1)->setText(ScrText(200, 8));
    cmd_PF(3)->setText(ScrText(202, 8));
    cmd_PF(4)->setText(ScrText(203, 8));
    cmd_PF(6)->setText(ScrText(205, 8));
    cmd_PF(10)->setText(ScrText(209, 9));
    // The first item has the focus when the menu shows, which chooses it.
    chosen_ = 0;
    cmd_Stup[0]->setFocus();
    paint_button(cmd_Stup[0], true);
}

void Stpm::on_activate() {
    if (SetupBackToMenu) {
        ScrBackToMenu();
        unload_form(*this);
        return;
    }
    DispMsg(kMsgGuide, lbl_Msg);
}

bool Stpm::on_key_down(int key_code) {
    if (key_code == key_f(1)) {
        // The menu's help is the catalogue set-up's page; the screen itself
        // is not loaded for it (its load writes the selection files).
        ShowHelpByName("Stup");
    } else if (key_code == key_f(3)) {
        ScrBack();
        unload_form(*this);
    } else if (key_code == key_f(4)) {
        ScrBackToMenu();
        unload_form(*this);
    } else if (key_code == key_f(6)) {
        HardCopy(*this, lbl_Msg);
    } else if (key_code == key_f(10)) {
        Stpm_LoadSetupCmd();
    }
    return false;
}

void Stpm::on_button_focus(QPushButton* button, bool got) {
    if (!got) return;
    for (int i = 0; i < 5; ++i)
        if (cmd_Stup[i] == button) {
            DispMsg(kMsgGuide, lbl_Msg);
            chosen_ = static_cast<int16_t>(i);
        }
}

void Stpm::Stpm_LoadSetupCmd() {
    int item = chosen_;
    if (item < 0 || item > 4) return;
    const char* screen = kItemScreens[static_cast<size_t>(item)];
    if (item == 1 || item == 2) {
        if (!form_exists(screen)) return;
        ShowModalOwned(load_form(screen), this);
        return;
    }
    if (item == 3) {
        int32_t rc = lib::drom_check_setup(0);
        if (rc != 0) {
            Beep();
            DispMsg(static_cast<int16_t>(rc), lbl_Msg);
            if (rc == kMsgSystemError) ShowErrorDialog(*this);
            return;
        }
    }
    // Screens another part of the program brings stay inert until then.
    if (!form_exists(screen)) return;
    ScrPush(load_form(screen));
    unload_form(*this);
}

PX_FORM(Stpm);

}  // namespace px
