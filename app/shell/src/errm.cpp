#include "shell/errm.h"

#include <cstdio>

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/files.h"
#include "shell/codepage.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/pxall_entries.h"
#include "shell/seams.h"

namespace px {

namespace {

constexpr const char* kCaption = "System Error Occurred";

// The log path as the writer builds it (Windows-shaped); empty when the
// library cannot tell it.
std::string log_path() {
    try {
        char buf[lib::kErrorLogPathSize] = {};
        if (!lib::error_log_path(buf)) return {};
        buf[lib::kErrorLogPathSize - 1] = '\0';
        return buf;
    } catch (const RuntimeError&) {
        return {};
    }
}

}  // namespace

Errm::Errm() : Form(kName) {
    setWindowTitle(kCaption);
    auto* layout = make_frame({.size = {720, 360}, .keys = {4, 6}, .bars = FrameSpec::Bars::KeysThenMessage,
                               .placement = Placement::Kept});
    auto* top = new QHBoxLayout;
    auto* image = new QLabel(this);
    image->setObjectName("Image1");
    image->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(48, 48));
    image->setAlignment(Qt::AlignTop);
    top->addWidget(image);
    lst_ErrMsg = new QListWidget(this);
    lst_ErrMsg->setObjectName("lst_ErrMsg");
    top->addWidget(lst_ErrMsg, 1);
    layout->addLayout(top, 1);
    cmd_PF(4)->setText("F4:Menu");
    cmd_PF(6)->setText("F6:Hcpy");
    tmr_Flash = new QTimer(this);
    tmr_Flash->setObjectName("tmr_Flash");
    tmr_Flash->setInterval(500);
    connect(tmr_Flash, &QTimer::timeout, this, [this] { run("tmr_Flash_Timer", [this] { flash(); }); });
}

void Errm::on_load() {
    // A failure while listing ends the load quietly: the lines read so far
    // stay, without beeps or flashing.
    SetDefaultPointer();
    std::string path = log_path();
    if (path.empty() || !plat::file_exists(path)) {
        lst_ErrMsg->clear();
        lst_ErrMsg->addItem("System Error Occurred.");
    } else {
        lst_ErrMsg->clear();
        std::FILE* fp = plat::fopen(path, "rt");
        if (fp == nullptr) return;
        std::string line;
        char buf[256];
        bool failed = false;
        while (plat::fgets_text(buf, sizeof buf, fp) != nullptr) {
            line += buf;
            if (line.empty() || line.back() != '\n') continue;  // the rest of a long line follows
            line.pop_back();
            lst_ErrMsg->addItem(from_ansi(line));
            line.clear();
        }
        failed = std::ferror(fp) != 0;
        std::fclose(fp);
        if (!line.empty() && !failed) lst_ErrMsg->addItem(from_ansi(line));
        if (failed) return;
    }
    for (int i = 0; i < 3; ++i) Beep();
    flash_state_ = 0;
    tmr_Flash->start();
}

bool Errm::on_key_down(int key_code) {
    if (key_code == key_f(4)) {
        unload_form(*this);
    } else if (key_code == key_f(6)) {
        tmr_Flash->stop();
        if (Form* caller = ErrorCaller()) HardCopy(*caller, lbl_Msg);
        tmr_Flash->start();
    }
    return false;
}

void Errm::on_unload() {
    std::string path = log_path();
    if (!path.empty() && plat::file_exists(path)) plat::delete_file(path);
    tmr_Flash->stop();
}

void Errm::on_close_request() { unload_form(*this); }

void Errm::flash() {
    if (seams().flash_window) flash_state_ = seams().flash_window(this, flash_state_);
}

PX_FORM(Errm);

}  // namespace px
