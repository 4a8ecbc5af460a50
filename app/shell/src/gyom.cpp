#include "shell/gyom.h"

#include <cmath>
#include <map>

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/help.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/program.h"
#include "shell/pxall_entries.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px {

namespace {

constexpr int16_t kMsgGuide = 115;
constexpr int16_t kMsgSystemError = 999;

std::map<std::string, MenuOpener>& menu_openers() {
    static std::map<std::string, MenuOpener> openers;
    return openers;
}

}  // namespace

bool register_menu_opener(const std::string& screen, MenuOpener opener) {
    menu_openers()[screen] = opener;
    return true;
}

Gyom::Gyom() : Form(kName) {
    auto* layout = make_frame({.size = {640, 560}, .keys = {1, 3, 6}, .bars = FrameSpec::Bars::KeysThenMessage});
    lbl_title = new QLabel(this);
    lbl_title->setObjectName("lbl_title");
    lbl_title->setAlignment(Qt::AlignCenter);
    QFont title_font = lbl_title->font();
    title_font.setPointSizeF(title_font.pointSizeF() * 1.6);
    title_font.setBold(true);
    lbl_title->setFont(title_font);
    layout->addWidget(lbl_title);

    fra_gyom = new QFrame(this);
    fra_gyom->setObjectName("fra_gyom");
    fra_gyom->setFrameShape(QFrame::StyledPanel);
    auto* items = new QVBoxLayout(fra_gyom);
    items->setContentsMargins(60, 12, 60, 12);
    for (int i = 1; i <= 8; ++i) {
        auto* b = new QPushButton(fra_gyom);
        b->setObjectName(QString("cmd_Menu_%1").arg(i));
        b->setFocusPolicy(Qt::StrongFocus);
        b->setAutoDefault(true);
        b->setMinimumHeight(b->sizeHint().height() + 8);
        connect(b, &QPushButton::clicked, this, [this, i] { run("cmd_Menu_Click", [&] { menu_execute(i); }); });
        items->addWidget(b);
        cmd_Menu[i] = b;
    }
    layout->addWidget(fra_gyom, 1);
}

void Gyom::on_load() {
    // A failed start leaves its reason in the log: show it, and the program
    // ends (start_program).
    if (lib::drom_init() != 0) {
        ShowErrorDialog(*this);
        return;
    }
    started_ = true;
    ScrInit();
    DisplayMetrics m = display_metrics();
    display_twips().x = static_cast<int>(std::nearbyint(m.twips_per_px_x));
    display_twips().y = static_cast<int>(std::nearbyint(m.twips_per_px_y));
    setWindowTitle(" ");
    for (int i = 1; i <= 8; ++i) paint_button(cmd_Menu[i], i == 1);
}

void Gyom::on_activate() {
    setWindowTitle(ScrText(1000, 41));
    lbl_title->setText(windowTitle());
    for (int i = 1; i <= 8; ++i) cmd_Menu[i]->setText(ScrText(1000 + i, 41));
    DispMsg(kMsgGuide, lbl_Msg);
    cmd_PF(1)->setText(ScrText(200, 8));
    cmd_PF(3)->setText(ScrText(213, 8));
    cmd_PF(6)->setText(ScrText(205, 8));
    lib::drom_reset_com();
}

bool Gyom::on_key_down(int key_code) {
    if (key_code == key_f(1)) {
        ShowHelp(*this);
    } else if (key_code == key_f(3)) {
        end_program();
    } else if (key_code == key_f(6)) {
        HardCopy(*this, lbl_Msg);
    }
    return false;
}

void Gyom::on_button_focus(QPushButton* button, bool got) {
    if (!got) return;
    for (int i = 1; i <= 8; ++i)
        if (cmd_Menu[i] == button) DispMsg(kMsgGuide, lbl_Msg);
}

// Closing the window runs the same end as F3, so that no work file is left.
void Gyom::on_close_request() { end_program(); }

void Gyom::menu_execute(int item) {
    if (item < 1 || item > 8) return;
    if (item <= 6) {
        int32_t rc = lib::drom_check_setup(static_cast<int16_t>(item));
        if (rc != 0) {
            DispMsg(static_cast<int16_t>(rc), lbl_Msg);
            Beep();
            if (rc == kMsgSystemError) ShowErrorDialog(*this);
            return;
        }
    }
    // Screens that later parts of the program bring stay inert until then
    // (item 3 opens its screen through OpenDprcScreen, which comes with it).
    const char* screen = kItemScreens[item];
    if (item == 3) {
        auto it = menu_openers().find(screen);
        if (it != menu_openers().end()) it->second(*this, lbl_Msg);
        return;
    }
    if (!form_exists(screen)) return;
    ScrPush(load_form(screen));
    hide();
}

void Gyom::end_program() {
    ScrTerm();
    lib::drom_term();
    for (;;) {
        Form* other = nullptr;
        for (Form* f : loaded_forms())
            if (f != this) {
                other = f;
                break;
            }
        if (other == nullptr) break;
        unload_form(*other);
    }
    unload_form(*this);
    QuitProgram(0);
}

PX_FORM(Gyom);

}  // namespace px
