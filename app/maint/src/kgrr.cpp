#include "maint/kgrr.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "maint/maint_entries.h"
#include "maint/stgp.h"
#include "shell/codepage.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/printing.h"

namespace px::maint {

namespace {

constexpr int16_t kMsgGuide = 157;
// A list line: 2 blanks, the group code, 5 blanks, the description.
constexpr int kCodeAt = 2;
constexpr int kCodeLen = 3;

}  // namespace

Kgrr::Kgrr() : Form(kName) {
    setWindowFlag(Qt::Tool, true);
    auto* layout = make_frame({.size = {720, 460}, .keys = {1, 3, 6}});
    lbl_title = new QLabel(this);
    lbl_title->setObjectName("lbl_title");
    lbl_title->setAlignment(Qt::AlignCenter);
    layout->addWidget(lbl_title);
    fra_grpcdlst = new QGroupBox(this);
    fra_grpcdlst->setObjectName("fra_grpcdlst");
    auto* frame = new QVBoxLayout(fra_grpcdlst);
    auto* heads = new QHBoxLayout;
    lbl_GroupCode = new QLabel(fra_grpcdlst);
    lbl_GroupCode->setObjectName("lbl_GroupCode");
    lbl_GroupCode->setFixedWidth(QFontMetrics(oem_font()).horizontalAdvance(QString(10, 'W')));
    lbl_Description = new QLabel(fra_grpcdlst);
    lbl_Description->setObjectName("lbl_Description");
    heads->addWidget(lbl_GroupCode);
    heads->addWidget(lbl_Description, 1);
    frame->addLayout(heads);
    lst_Group = new QListWidget(fra_grpcdlst);
    lst_Group->setObjectName("lst_Group");
    lst_Group->setFont(oem_font());
    lst_Group->setSelectionMode(QAbstractItemView::SingleSelection);
    lst_Group->installEventFilter(this);
    list_ = std::make_unique<ListBoxControl>(lst_Group);
    frame->addWidget(lst_Group, 1);
    layout->addWidget(fra_grpcdlst, 1);
    // A press selects the line under the pointer first, then chooses it.
    connect(lst_Group, &QListWidget::itemPressed, this,
            [this] { run("lst_Group_MouseDown", [this] { KGRR_Select_Group(); }); });
}

Kgrr::~Kgrr() = default;

void Kgrr::on_load() {
    const QString title = ScrText(3800, 40);
    setWindowTitle(title.trimmed());
    lbl_title->setText(title);
    lbl_GroupCode->setText(ScrText(3801, 15));
    lbl_Description->setText(ScrText(3802, 15));
    for (auto [n, text] : {std::pair{1, 200}, {3, 202}, {6, 205}}) cmd_PF(n)->setText(ScrText(text, 9));
    DispMsg(kMsgGuide, lbl_Msg);
    lib::VBMakeListGrpMei(list_->hwnd());
}

void Kgrr::on_activate() { lst_Group->setFocus(); }

bool Kgrr::on_key_down(int key_code) {
    if (key_code == key_f(1) || key_code == key_f(3) || key_code == key_f(6)) {
        on_pf_click(key_code - kKeyF1 + 1);
        return true;
    }
    return key_code >= kKeyF1 && key_code <= kKeyF12;
}

void Kgrr::on_pf_click(int n) {
    switch (n) {
        case 1: ShowHelpByName(Stgp::kName); break;  // the maintenance screen's help page
        case 3: unload_form(*this); break;
        case 6: HardCopy(*this, lbl_Msg); break;
        default: break;
    }
}

void Kgrr::on_close_request() { unload_form(*this); }

bool Kgrr::eventFilter(QObject* obj, QEvent* event) {
    if (obj == lst_Group && event->type() == QEvent::KeyPress) {
        auto* e = static_cast<QKeyEvent*>(event);
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            run("lst_Group_KeyPress", [this] { KGRR_Select_Group(); });
            return true;
        }
    }
    return false;
}

void Kgrr::KGRR_Select_Group() {
    int chosen = -1;
    for (int i = lst_Group->count() - 1; i >= 0; --i) {
        if (lst_Group->item(i)->isSelected()) {
            chosen = i;
            break;
        }
    }
    if (chosen < 0) return;
    std::string line;
    list_->lb_text(chosen, &line);
    line.resize(kCodeAt + kCodeLen, ' ');
    if (auto* stgp = dynamic_cast<Stgp*>(loaded_form(Stgp::kName))) {
        stgp->txt_GroupCode->setText("");
        stgp->txt_GroupCode->setText(from_ansi(line.substr(kCodeAt, kCodeLen)));
    }
    unload_form(*this);
}

PX_FORM(Kgrr);

}  // namespace px::maint
