#include "partslist/toku.h"

#include <cstdio>

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "partslist/pnho_entries.h"
#include "partslist/pnho_module.h"
#include "partslist/pnho_pages.h"
#include "platform/files.h"
#include "shell/codepage.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px {

namespace pl = partslist;
namespace eng = lib::partslist;

namespace {

constexpr int16_t kMsgGuide = 158;
constexpr int16_t kMsgRefused = 860;
constexpr size_t kKindSize = 22;
constexpr size_t kCodeSize = 85;
constexpr size_t kCodeKind = 2, kCodeCode = 4, kCodeText = 14, kCodeMark = 84;

std::vector<std::string> read_records(const std::string& path, size_t size) {
    std::vector<std::string> out;
    std::FILE* f = path.empty() ? nullptr : plat::fopen(path, "rb");
    if (f == nullptr) return out;
    std::string rec(size, ' ');
    while (std::fread(rec.data(), 1, size, f) == size) out.push_back(rec);
    std::fclose(f);
    return out;
}

int number(const std::string& s) { return pl::reads_as_number(s) ? std::stoi(s) : -1; }

}  // namespace

Toku::Toku() : Form(kName) {
    setWindowTitle("Description");
    resize(860, 420);
    auto* layout = new QVBoxLayout(this);
    auto* lists = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    lbl_Tokume = new QLabel(this);
    lbl_Tokume->setObjectName("lbl_Tokume");
    lbl_Kigouu = new QLabel(this);
    lbl_Kigouu->setObjectName("lbl_Kigouu");
    lst_Tokume = new QListWidget(this);
    lst_Tokume->setObjectName("lst_Tokume");
    lst_Kigouu = new QListWidget(this);
    lst_Kigouu->setObjectName("lst_Kigouu");
    // A click toggles a code line's mark.
    lst_Kigouu->setSelectionMode(QAbstractItemView::MultiSelection);
    for (QListWidget* l : {lst_Tokume, lst_Kigouu}) l->setFont(oem_font(10));
    left->addWidget(lbl_Tokume);
    left->addWidget(lst_Tokume, 1);
    right->addWidget(lbl_Kigouu);
    right->addWidget(lst_Kigouu, 1);
    lists->addLayout(left, 1);
    lists->addLayout(right, 3);
    layout->addLayout(lists, 1);
    layout->addWidget(make_key_bar({3, 6, 11, 12}));
    layout->addWidget(make_message_line());
    // A kind is chosen by a click or by moving to its line with the keys.
    connect(lst_Tokume, &QListWidget::itemClicked, this,
            [this] { run("lst_Tokume_Click", [&] { lst_Tokume_Click(); }); });
    connect(lst_Tokume, &QListWidget::currentRowChanged, this,
            [this] { run("lst_Tokume_Click", [&] { lst_Tokume_Click(); }); });
    connect(lst_Kigouu, &QListWidget::itemClicked, this,
            [this] { run("lst_Kigouu_Click", [&] { lst_Kigouu_Click(); }); });
}

void Toku::on_load() {
    closed_ = false;
    const int keys[4] = {3, 6, 11, 12};
    const int texts[4] = {202, 205, 210, 211};
    for (int i = 0; i < 4; ++i) cmd_PF(keys[i])->setText(ScrText(texts[i], 9).trimmed());
    lbl_Tokume->setText(ScrText(2219, 20).trimmed());
    DispMsg(kMsgGuide, lbl_Msg);
    const pl::PnhoModule& m = pl::pnho_module();
    FeatureKinds = read_records(m.feature_kind_path, kKindSize);
    FeatureCodes = read_records(m.feature_code_path, kCodeSize);
    PresetFeatures.clear();
    fill_kinds();
    for (size_t i = 0; i < FeatureCodes.size(); ++i) {
        const std::string& r = FeatureCodes[i];
        if (r[kCodeMark] == 'S') PresetFeatures.push_back({i, number(r.substr(kCodeKind, 2)), r.substr(kCodeCode, 10)});
    }
    Toku_ShowChosen();
}

void Toku::fill_kinds() {
    lst_Tokume->clear();
    for (const std::string& k : FeatureKinds) {
        auto* item = new QListWidgetItem(from_ansi(k.substr(2, 20)), lst_Tokume);
        item->setData(Qt::UserRole, number(k.substr(0, 2)));
    }
}

QString Toku::kind_name(int line) const {
    if (line < 0 || static_cast<size_t>(line) >= FeatureKinds.size()) return QString();
    return from_ansi(FeatureKinds[static_cast<size_t>(line)].substr(2, 20));
}

void Toku::Toku_ShowChosen() {
    // A kind line shows its name and the one code chosen for it.
    for (const Preset& p : PresetFeatures)
        for (int i = 0; i < lst_Tokume->count(); ++i)
            if (lst_Tokume->item(i)->data(Qt::UserRole).toInt() == p.kind)
                lst_Tokume->item(i)->setText(kind_name(i) + from_ansi(p.code));
}

void Toku::lst_Tokume_Click() {
    lst_Kigouu->clear();
    int line = lst_Tokume->currentRow();
    if (line < 0) return;
    int k = lst_Tokume->item(line)->data(Qt::UserRole).toInt();
    lbl_Kigouu->setText(kind_name(line).trimmed());
    std::string previous(10, ' ');
    for (size_t i = 0; i < FeatureCodes.size(); ++i) {
        const std::string& r = FeatureCodes[i];
        if (number(r.substr(kCodeKind, 2)) != k) continue;
        std::string code = r.substr(kCodeCode, 10);
        std::string text = (code == previous ? std::string(10, ' ') : code) + r.substr(kCodeText, 70);
        previous = code;
        auto* item = new QListWidgetItem(from_ansi(text), lst_Kigouu);
        // The record's own position: the stored sequence holds two digits only.
        item->setData(Qt::UserRole, static_cast<int>(i));
        item->setSelected(r[kCodeMark] == 'S');
    }
}

void Toku::lst_Kigouu_Click() {
    int c = lst_Kigouu->currentRow();
    int kind_line = lst_Tokume->currentRow();
    if (c < 0 || kind_line < 0) return;
    QListWidgetItem* current = lst_Kigouu->item(c);
    size_t rec_c = static_cast<size_t>(current->data(Qt::UserRole).toInt());
    if (rec_c >= FeatureCodes.size()) return;
    lst_Tokume->item(kind_line)->setText(kind_name(kind_line) + from_ansi(FeatureCodes[rec_c].substr(kCodeCode, 10)));
    const bool c_marked = current->isSelected();
    for (int j = 0; j < lst_Kigouu->count(); ++j) {
        QListWidgetItem* item = lst_Kigouu->item(j);
        size_t rec = static_cast<size_t>(item->data(Qt::UserRole).toInt());
        if (rec < FeatureCodes.size()) FeatureCodes[rec][kCodeMark] = ' ';
        if (c_marked && j != c && item->isSelected()) item->setSelected(false);
        if (j == c && !c_marked) lst_Tokume->item(kind_line)->setText(kind_name(kind_line));
        if (j == c && c_marked && rec < FeatureCodes.size()) FeatureCodes[rec][kCodeMark] = 'S';
    }
}

bool Toku::on_key_down(int key_code) {
    if (key_code == kKeyEnter && focusWidget() == lst_Kigouu) {
        if (QListWidgetItem* item = lst_Kigouu->currentItem()) {
            item->setSelected(true);
            lst_Kigouu_Click();
        }
        return true;
    }
    if (key_code < kKeyF1 || key_code > kKeyF12) return false;
    const int n = key_code - kKeyF1 + 1;
    if (n != 3 && n != 6 && n != 11 && n != 12) return true;
    DispMsg(kMsgGuide, lbl_Msg);
    if (n == 3) {
        eng::pnho_close_pop();
        close_window();
    } else if (n == 6) {
        Form* owner = GetModalOwner();
        if (owner == nullptr) throw RuntimeError(kErrObjectNotSet, "GetModalOwner");
        HardCopy(*owner, lbl_Msg);
    } else if (n == 11) {
        lst_Kigouu->clear();
        lbl_Kigouu->clear();
        fill_kinds();
        for (std::string& r : FeatureCodes) r[kCodeMark] = ' ';
    } else {
        eng::pnho_clr_tokucyo();
        for (std::string& r : FeatureCodes) {
            if (r[kCodeMark] != 'S') continue;
            std::string code = r.substr(kCodeCode, 10);
            VbString s{code.data(), 10};
            eng::pnho_set_tokucyo(static_cast<int16_t>(number(r.substr(kCodeKind, 2))), &s);
            r.replace(kCodeCode, 10, code);
        }
        if (eng::pnho_check_tokucyo() == 0) {
            close_window();
        } else {
            DispMsg(kMsgRefused, lbl_Msg);
            Beep();
        }
    }
    return true;
}

void Toku::on_close_request() {
    // The window's close box leaves as F3 does.
    eng::pnho_close_pop();
    close_window();
}

void Toku::close_window() {
    if (closed_) return;
    closed_ = true;
    unload_form(*this);
}

void Toku::on_unload() {
    FeatureKinds.clear();
    FeatureCodes.clear();
    PresetFeatures.clear();
    const pl::PnhoModule& m = pl::pnho_module();
    if (!m.feature_kind_path.empty()) plat::delete_file(m.feature_kind_path);
    if (!m.feature_code_path.empty()) plat::delete_file(m.feature_code_path);
}

PX_FORM(Toku);

}  // namespace px
