#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "maint/sscr.h"
#include "shell/codepage.h"
#include "shell/field_box.h"
#include "shell/grid.h"
#include "shell/messages.h"
#include "shell/seams.h"

namespace px::maint {

void screen_paths(std::string* screen, std::string* work);

Ssed::Ssed() : Form(kName) {
    auto* grid = new QGridLayout(this);
    lbl_txtold = new QLabel(this);
    lbl_txtold->setObjectName("lbl_txtold");
    lbl_txtnew = new QLabel(this);
    lbl_txtnew->setObjectName("lbl_txtnew");
    txt_Old = new QLineEdit(this);
    txt_Old->setObjectName("txt_Old");
    txt_Old->setMaxLength(kMaxTextLen);
    txt_Old->setReadOnly(true);
    txt_New = new QLineEdit(this);
    txt_New->setObjectName("txt_New");
    // The screen file holds a text of 70 bytes: a Japanese text takes two a
    // character, so the box takes what fits and refuses more as it is typed.
    limit_to_field(txt_New, kMaxTextLen);
    for (QLineEdit* e : {txt_Old, txt_New}) {
        e->setFont(oem_font());
        e->setMinimumWidth(QFontMetrics(oem_font()).horizontalAdvance(QString(kMaxTextLen + 2, 'W')));
    }
    cmd_Ok = new QPushButton(this);
    cmd_Ok->setObjectName("cmd_Ok");
    cmd_Cancel = new QPushButton(this);
    cmd_Cancel->setObjectName("cmd_Cancel");
    grid->addWidget(lbl_txtold, 0, 0);
    grid->addWidget(txt_Old, 1, 0, 1, 3);
    grid->addWidget(lbl_txtnew, 2, 0);
    grid->addWidget(txt_New, 3, 0, 1, 3);
    grid->addWidget(cmd_Ok, 4, 1);
    grid->addWidget(cmd_Cancel, 4, 2);
    connect(cmd_Ok, &QPushButton::clicked, this, [this] { run("cmd_Ok_Click", [this] { ok(); }); });
    connect(cmd_Cancel, &QPushButton::clicked, this, [this] { unload_form(*this); });
}

void Ssed::on_load() {
    setWindowTitle(ScrText(4500, 31).trimmed());
    lbl_txtold->setText(ScrText(4501, 25));
    lbl_txtnew->setText(ScrText(4502, 25));
    cmd_Ok->setText(ScrText(4503, 8));
    cmd_Cancel->setText(ScrText(4504, 8));
    screen_paths(&screen_path_, &work_path_);
    SSCR_Get_Section();
    txt_New->setFocus();  // the box the clerk types into, not the old text
    adjustSize();
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect area = s->geometry();
        move((area.width() - width()) / 2, (area.height() - height()) / 2);
    }
}

void Ssed::on_close_request() { unload_form(*this); }

bool Ssed::SSED_Write_Text() {
    auto* editor = dynamic_cast<Sscr*>(loaded_form(Sscr::kName));
    if (editor == nullptr) return false;
    return editor->work().write_text(work_path_, ScreenSectionTag(), editor->msg_Screen->row(),
                                     to_ansi(txt_New->text()));
}

void Ssed::ok() {
    const std::string name = ScreenSectionName();
    if (!SSED_Write_Text()) {
        // No text of the chosen screen at that row: nothing to replace.
        Beep();
        unload_form(*this);
        return;
    }
    if (auto* editor = dynamic_cast<Sscr*>(loaded_form(Sscr::kName))) {
        const int row = editor->msg_Screen->row();
        editor->cbo_scrnm->setEditText(QString());
        editor->cbo_scrnm->setEditText(from_ansi(name));
        editor->msg_Screen->select(row, 0, row, 1);
    }
    unload_form(*this);
}

PX_FORM(Ssed);

}  // namespace px::maint
