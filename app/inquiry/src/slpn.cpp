#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "inquiry/fixed_text.h"
#include "inquiry/hinb.h"
#include "inquiry/hinb_vars.h"
#include "inquiry/inquiry_entries.h"
#include "inquiry/layouts.h"
#include "shell/codepage.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/printing.h"

namespace px {

namespace {

namespace nr = hinb::name_rec;

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

}  // namespace

Slpn::Slpn() : Form(kName) {
    resize(720, 480);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(make_key_bar({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    QFont courier = oem_font(11);
    lbl_PNm = new QLabel(this);
    lbl_PNm->setObjectName("lbl_PNm");
    lbl_Input = new QLabel(this);
    lbl_Input->setObjectName("lbl_Input");
    lbl_Input->setFont(courier);
    lbl_Desc = new QLabel(this);
    lbl_Desc->setObjectName("lbl_Desc");
    lbl_Pnc = new QLabel(this);
    lbl_Pnc->setObjectName("lbl_Pnc");
    auto* top = new QHBoxLayout;
    top->addWidget(lbl_PNm);
    top->addWidget(lbl_Input, 1);
    layout->addLayout(top);
    auto* heads = new QHBoxLayout;
    heads->addWidget(lbl_Desc, 1);
    heads->addWidget(lbl_Pnc);
    layout->addLayout(heads);
    Lst_PNm = new QListWidget(this);
    Lst_PNm->setObjectName("Lst_PNm");
    Lst_PNm->setFont(courier);
    Lst_PNm->setSelectionMode(QAbstractItemView::SingleSelection);
    Lst_PNm->viewport()->installEventFilter(this);
    layout->addWidget(Lst_PNm, 1);
    layout->addWidget(make_message_line());
}

void Slpn::on_load() {
    SetHourglass();
    auto& hv = hinb_vars();
    setWindowTitle(inquiry::trim(ScrText(3600, 41)));
    lbl_PNm->setText(ScrText(3601, 16));
    lbl_Desc->setText(ScrText(3612, 21));
    lbl_Pnc->setText(ScrText(3618, 5));
    CenterForm(*this);
    hv.HinbNoPick = 0;
    hv.HinbPickStatus = 0;
    DispMsg(126, lbl_Msg);
    lbl_Msg->setText(inquiry::trim(lbl_Msg->text()));
    for (int n = 1; n <= 12; ++n) cmd_PF(n)->setEnabled(n == 1 || n == 3 || n == 6 || n == 10);
    cmd_PF(1)->setText(ScrText(200, 8));
    cmd_PF(3)->setText(ScrText(202, 8));
    cmd_PF(6)->setText(ScrText(205, 8));
    cmd_PF(10)->setText(ScrText(209, 8));
    SlpnName = inquiry::trim(hv.HinbPartName);
    SlpnPnc = inquiry::trim(hv.HinbPnc);
    lbl_Input->setText(inquiry::shown(SlpnName));
    SlpnLoadError = 0;
    int32_t rc = inquiry::read_record_file(hv.HinbTmp0Path, nr::kSize, &hv.HinbNameTable);
    SlpnCount = static_cast<int32_t>(hv.HinbNameTable.size());
    if (rc != 0) {
        WriteErrorLog("PXSLPN", "Form_Load", "Tbl_Set_PNm", rc, 0, 0);
        SlpnLoadError = 1;
    }
    Lst_PNm->clear();
    // The library took "_" for a blank when it searched: so does the list,
    // or a name typed with "_" would list nothing of what was found.
    std::string name_key = upper(SlpnName), pnc_key = upper(SlpnPnc);
    for (char& c : name_key)
        if (c == '_') c = ' ';
    for (const std::string& r : hv.HinbNameTable) {
        std::string pnc = inquiry::field(r, nr::kPnc, 6), name = inquiry::field(r, nr::kName, 60);
        bool by_name = !name_key.empty() && upper(name).find(name_key) != std::string::npos;
        bool by_pnc = !pnc_key.empty() && upper(pnc).compare(0, pnc_key.size(), pnc_key) == 0;
        if (by_name || by_pnc) Lst_PNm->addItem(inquiry::shown(name + "  " + pnc));
    }
    SetDefaultPointer();
}

void Slpn::on_activate() {
    if (SlpnLoadError != 0) {
        hinb_vars().HinbPickStatus = 2;
        unload_form(*this);
        return;
    }
    if (Lst_PNm->count() > 0) Lst_PNm->setCurrentRow(0);
    Lst_PNm->setFocus();
}

void Slpn::on_unload() { lib::hinb_term2(); }

bool Slpn::on_key_down(int key_code) {
    if (key_code == kKeyEnter && focusWidget() == Lst_PNm) {
        if (Lst_PNm->currentItem() != nullptr) Lst_PNm->currentItem()->setSelected(true);
        select();
        return true;
    }
    if (key_code == key_f(1)) ShowHelpByName("Hinb");
    else if (key_code == key_f(3)) cancel();
    else if (key_code == key_f(6)) HardCopy(*this, lbl_Msg);
    else if (key_code == key_f(10)) select();
    return false;
}

void Slpn::on_close_request() { cancel(); }

bool Slpn::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Lst_PNm->viewport() && event->type() == QEvent::MouseButtonRelease) {
        run("Lst_PNm_MouseDown", [this] {
            if (Lst_PNm->currentItem() != nullptr) select();
        });
    }
    return Form::eventFilter(watched, event);
}

void Slpn::select() {
    auto& hv = hinb_vars();
    hv.HinbNoPick = 0;
    QList<QListWidgetItem*> chosen = Lst_PNm->selectedItems();
    if (chosen.isEmpty()) {
        // Nothing to pick (an empty list): the search ends as without a pick.
        hv.HinbNoPick = 1;
        unload_form(*this);
        return;
    }
    std::string line = to_ansi(chosen.front()->text());
    SlpnName = inquiry::trim(line.substr(0, std::min<size_t>(line.size(), 60)));
    SlpnPnc = line.size() > 60 ? inquiry::trim(line.substr(60)) : std::string();
    if (!SlpnPnc.empty() || !SlpnName.empty()) {
        hv.HinbPartName = inquiry::fixed(SlpnName, 60);
        hv.HinbPnc = inquiry::fixed(SlpnPnc, 6);
    }
    unload_form(*this);
}

void Slpn::cancel() {
    hinb_vars().HinbPickStatus = 1;
    hinb_vars().HinbNoPick = 1;
    unload_form(*this);
}

PX_FORM(Slpn);

}  // namespace px
