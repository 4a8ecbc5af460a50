#include "shell/ryak.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "pxall/vbstring.h"
#include "shell/codepage.h"
#include "shell/field_box.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/pxall_entries.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px {

namespace {

constexpr int16_t kMsgGuide = 120;
constexpr int16_t kMsgNotFound = 838;
constexpr int16_t kMsgSystemError = 999;
constexpr int16_t kStatusNotFound = 1;
constexpr int16_t kStatusNoCd = 4;

// The meaning's lines (40 characters, each with CR LF) as the label shows them.
QString meaning_text(const std::string& buf) {
    QStringList lines = field_text(buf.data(), buf.size()).split("\r\n");
    for (QString& line : lines) {
        qsizetype n = line.size();
        while (n > 0 && line[n - 1] == ' ') --n;
        line.truncate(n);
    }
    while (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    return lines.join('\n');
}

}  // namespace

Ryak::Ryak() : Form(kName) {
    resize(560, 300);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int i = 1; i <= 2; ++i) {
        lbl_Ttl[i] = new QLabel(this);
        lbl_Ttl[i]->setObjectName(QString("lbl_Ttl_%1").arg(i));
    }
    txt_Abbrev = new QLineEdit(this);
    txt_Abbrev->setObjectName("txt_Abbrev");
    // The abbreviation file's key holds 20 characters: a longer entry could
    // never be found.
    limit_to_field(txt_Abbrev, kAbbrevMax);
    lbl_Mean = new QLabel(this);
    lbl_Mean->setObjectName("lbl_Mean");
    lbl_Mean->setTextFormat(Qt::PlainText);
    lbl_Mean->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbl_Mean->setFrameShape(QFrame::Panel);
    lbl_Mean->setFrameShadow(QFrame::Sunken);
    lbl_Mean->setMinimumHeight(lbl_Mean->fontMetrics().height() * 3 + 10);
    Line1 = new QFrame(this);
    Line1->setObjectName("Line1");
    Line1->setFrameShape(QFrame::HLine);
    grid->addWidget(lbl_Ttl[1], 0, 0);
    grid->addWidget(txt_Abbrev, 0, 1);
    grid->addWidget(Line1, 1, 0, 1, 2);
    grid->addWidget(lbl_Ttl[2], 2, 0, Qt::AlignTop);
    grid->addWidget(lbl_Mean, 2, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid, 1);
    layout->addWidget(make_key_bar({3, 6, 10, 11}));
    layout->addWidget(make_message_line());
    connect(txt_Abbrev, &QLineEdit::returnPressed, this, [this] { run("txt_Abbrev_KeyPress", [this] { look_up(); }); });
}

void Ryak::on_load() {
    setWindowTitle(ScrText(2400, 19).trimmed());
    lbl_Ttl[1]->setText(ScrText(2401, 21));
    lbl_Ttl[2]->setText(ScrText(2402, 41));
    cmd_PF(3)->setText(ScrText(202, 8));
    cmd_PF(6)->setText(ScrText(205, 8));
    cmd_PF(10)->setText(ScrText(209, 9));
    cmd_PF(11)->setText(ScrText(210, 9));
    DispMsg(kMsgGuide, lbl_Msg);
    txt_Abbrev->clear();
    lbl_Mean->clear();
}

void Ryak::on_activate() { txt_Abbrev->setFocus(); }

bool Ryak::on_key_down(int key_code) {
    if (key_code == key_f(3)) {
        close_window();
    } else if (key_code == key_f(6)) {
        DispMsg(kMsgGuide, lbl_Msg);
        Form* owner = GetModalOwner();
        if (owner == nullptr) throw RuntimeError(kErrObjectNotSet, "GetModalOwner");
        HardCopy(*owner, lbl_Msg);
    } else if (key_code == key_f(10)) {
        look_up();
    } else if (key_code == key_f(11)) {
        clear();
    }
    return false;
}

void Ryak::on_close_request() { close_window(); }

void Ryak::look_up() {
    if (txt_Abbrev->text().isEmpty()) {
        Beep();
        DispMsg(kMsgGuide, lbl_Msg);
        return;
    }
    txt_Abbrev->setText(txt_Abbrev->text().toUpper());
    std::string abbrev = to_ansi(txt_Abbrev->text());
    std::string mean(kMeanSize, ' ');
    VbString abbrev_str{abbrev.data(), static_cast<int32_t>(abbrev.size())};
    VbString mean_str{mean.data(), kMeanSize};
    int16_t status = 0;
    int32_t rc = 0;
    try {
        rc = lib::VBryak_get_mean(&abbrev_str, &mean_str, &status);
    } catch (const RuntimeError& e) {
        // The library could not log this one itself.
        WriteErrorLog(source_name(), "Ryak_Exec", e.step(), e.number(), 0, 0);
        rc = e.number();
    }
    if (rc != 0) {
        DispMsg(kMsgSystemError, lbl_Msg);
        txt_Abbrev->setFocus();
        ShowErrorDialog(*this);
        close_window();
    } else if (status == kStatusNotFound) {
        DispMsg(kMsgNotFound, lbl_Msg);
        Beep();
        lbl_Mean->clear();
        txt_Abbrev->setFocus();
    } else if (status == kStatusNoCd) {
        close_window();
    } else {
        lbl_Mean->setText(meaning_text(mean));
        DispMsg(kMsgGuide, lbl_Msg);
        txt_Abbrev->setFocus();
    }
}

void Ryak::clear() {
    DispMsg(kMsgGuide, lbl_Msg);
    txt_Abbrev->clear();
    lbl_Mean->clear();
    txt_Abbrev->setFocus();
}

void Ryak::close_window() { unload_form(*this); }

PX_FORM(Ryak);

}  // namespace px
