#include "setup/stcs.h"

#include <algorithm>

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/msgbox.h"
#include "setup/setup_messages.h"
#include "setup/status_block.h"
#include "setup/stup.h"
#include "shell/list_lines.h"
#include "shell/codepage.h"
#include "shell/messages.h"
#include "shell/seams.h"

namespace px {

namespace {

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

Stcs::Stcs() : Form(kName) {
    resize(360, 380);
    auto* layout = new QVBoxLayout(this);
    Frame_Setup = new QGroupBox(this);
    Frame_Setup->setObjectName("Frame_Setup");
    auto* inner = new QVBoxLayout(Frame_Setup);
    List_CD = new QListWidget(Frame_Setup);
    List_CD->setObjectName("List_CD");
    List_CD->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List_CD->setFont(oem_font());
    inner->addWidget(List_CD);
    auto* options = new QHBoxLayout();
    for (int i = 0; i < 2; ++i) {
        opt_Drive[i] = new QRadioButton(Frame_Setup);
        opt_Drive[i]->setObjectName(QString("opt_Drive_%1").arg(i));
        options->addWidget(opt_Drive[i]);
        connect(opt_Drive[i], &QRadioButton::clicked, this,
                [this, i] { run("opt_Drive_Click", [&] { opt_Drive_Click(i); }); });
    }
    inner->addLayout(options);
    layout->addWidget(Frame_Setup, 1);
    auto* buttons = new QHBoxLayout();
    cmd_Ok = new QPushButton(this);
    cmd_Ok->setObjectName("cmd_Ok");
    cmd_Cancel = new QPushButton(this);
    cmd_Cancel->setObjectName("cmd_Cancel");
    buttons->addStretch();
    buttons->addWidget(cmd_Ok);
    buttons->addWidget(cmd_Cancel);
    layout->addLayout(buttons);
    opt_Drive[0]->setChecked(true);
    connect(List_CD, &QListWidget::itemClicked, this, [this] { run("List_CD_Click", [&] { List_CD_Click(); }); });
    on_line_double_click(*this, List_CD, "List_CD_DblClick", [this](int) { cmd_Ok_Click(); });
    connect(cmd_Ok, &QPushButton::clicked, this, [this] { run("cmd_Ok_Click", [&] { cmd_Ok_Click(); }); });
    connect(cmd_Cancel, &QPushButton::clicked, this, [this] { run("cmd_Cancel_Click", [&] { unload_form(*this); }); });
    setTabOrder(List_CD, opt_Drive[0]);
    setTabOrder(opt_Drive[0], opt_Drive[1]);
    setTabOrder(opt_Drive[1], cmd_Ok);
    setTabOrder(cmd_Ok, cmd_Cancel);
}

void Stcs::on_load() {
    WordCdRom = setup::fixed(to_ansi(ScrText(2644, 10)), setup::kWordSize);
    WordHardDisk = setup::fixed(to_ansi(ScrText(2645, 10)), setup::kWordSize);
    setWindowTitle(ScrText(2643, 24));
    Frame_Setup->setTitle(windowTitle());
    opt_Drive[0]->setText(ScrText(2644, 10));
    opt_Drive[1]->setText(ScrText(2645, 10));
    cmd_Ok->setText(ScrText(2651, 6));
    cmd_Cancel->setText(ScrText(2652, 7));
    DisplayMetrics m = display_metrics();
    move(std::max(0, (m.width_px - width()) / 2), std::max(0, (m.height_px - height()) / 2));
    List_CD->setFocus();
}

void Stcs::on_close_request() { unload_form(*this); }

void Stcs::List_CD_Click() {
    auto selected = List_CD->selectedItems();
    if (selected.size() != 1) return;
    std::string entry = upper(to_ansi(selected.front()->text()));
    bool on_cd = entry.find(upper(WordCdRom.substr(0, 6))) != std::string::npos;
    int index = on_cd ? 0 : 1;
    // Choosing the other option rewrites the entry, as a click on it does.
    if (!opt_Drive[index]->isChecked()) {
        opt_Drive[index]->setChecked(true);
        opt_Drive_Click(index);
    }
}

void Stcs::opt_Drive_Click(int index) {
    const std::string& word = index == 0 ? WordCdRom : WordHardDisk;
    for (int r = 0; r < List_CD->count(); ++r) {
        QListWidgetItem* item = List_CD->item(r);
        if (!item->isSelected()) continue;
        item->setText(from_ansi(setup::fixed(to_ansi(item->text()), 3) + word));
    }
}

void Stcs::cmd_Ok_Click() {
    auto* stup = static_cast<Stup*>(loaded_form(Stup::kName));
    QListWidget* target = stup ? stup->current_status_list() : nullptr;
    if (target != nullptr) {
        // Work on a copy, so that a refusal leaves the set-up screen's list as it was.
        std::vector<QString> lines;
        for (int k = 0; k < target->count(); ++k) lines.push_back(target->item(k)->text());
        for (int j = 0; j < List_CD->count(); ++j) {
            QListWidgetItem* entry = List_CD->item(j);
            if (!entry->isSelected()) continue;
            QString kind = entry->text().left(3);
            bool matched = false;
            for (QString& line : lines)
                if (line.left(3) == kind) {
                    line = entry->text();
                    matched = true;
                }
            if (!matched) lines.push_back(entry->text());
        }
        // A set-up block holds ten CDs: an eleventh line could not be handed
        // to the set-up, so the dialog refuses it and stays open.
        if (static_cast<int>(lines.size()) > kMaxLines) {
            Beep();
            plat::message_box(setup::message_text(setup::kMsgTooManyCds), to_ansi(windowTitle()),
                              plat::kMbOk | plat::kMbIconExclamation);
            return;
        }
        for (size_t k = 0; k < lines.size(); ++k) {
            if (static_cast<int>(k) < target->count()) target->item(static_cast<int>(k))->setText(lines[k]);
            else target->addItem(lines[k]);
        }
    }
    unload_form(*this);
}

PX_FORM(Stcs);

}  // namespace px
