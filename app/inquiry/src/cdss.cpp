#include "inquiry/cdss.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "inquiry/fixed_text.h"
#include "inquiry/layouts.h"
#include "inquiry/popup_vars.h"
#include "platform/files.h"
#include "shell/codepage.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px {

namespace {

namespace pr = pxall::popup_rec;

constexpr int kMouse = 999;
constexpr int kLoadFailed = 2;
constexpr int kLoadReported = 3;
constexpr int kBlankLine = 31;

// Area letter, indent of its heading and the heading's screen text.
struct AreaHeading {
    char letter;
    int indent;
};
constexpr std::array<AreaHeading, 4> kAreas = {{{'E', 10}, {'G', 11}, {'U', 13}, {'J', 11}}};

int area_index(char letter) {
    for (size_t i = 0; i < kAreas.size(); ++i)
        if (kAreas[i].letter == letter) return static_cast<int>(i);
    return -1;
}

}  // namespace

void cdss_make_lines(const std::vector<std::string>& records, const std::array<QString, 4>& headings,
                     std::vector<QString>* lines, std::string* kinds) {
    lines->clear();
    kinds->clear();
    char previous = 0;
    for (size_t k = 0; k < records.size(); ++k) {
        char area = inquiry::field(records[k], pr::kArea, 1)[0];
        int a = area_index(area);
        if ((k == 0 || area != previous) && a >= 0) {
            if (k > 0) {
                lines->push_back(QString(kBlankLine, ' '));
                kinds->push_back('0');
            }
            lines->push_back(QString(kAreas[static_cast<size_t>(a)].indent, ' ') + headings[static_cast<size_t>(a)]);
            kinds->push_back('0');
            lines->push_back(QString(kBlankLine, ' '));
            kinds->push_back('0');
        }
        previous = area;
        lines->push_back(inquiry::shown(inquiry::field(records[k], pr::kText, pr::kTextSize)));
        kinds->push_back('1');
    }
}

Cdss::Cdss() : Form(kName) {
    auto* layout = make_frame({.size = {440, 420}, .keys = {6, 12}, .bars = FrameSpec::Bars::KeysThenMessage,
                               .message = false, .placement = Placement::Kept});
    for (int i = 0; i < 3; ++i) {
        lbl_PopUp[static_cast<size_t>(i)] = new QLabel(this);
        lbl_PopUp[static_cast<size_t>(i)]->setObjectName(QString("lbl_PopUp_%1").arg(i));
        layout->addWidget(lbl_PopUp[static_cast<size_t>(i)]);
    }
    lst_PopUp = new QListWidget(this);
    lst_PopUp->setObjectName("lst_PopUp");
    QFont f = oem_font(12);
    lst_PopUp->setFont(f);
    // The marks are the screen's own: a click or a key is judged by
    // check_select, never toggled by the list itself.
    lst_PopUp->setSelectionMode(QAbstractItemView::MultiSelection);
    lst_PopUp->viewport()->installEventFilter(this);
    layout->addWidget(lst_PopUp, 1);
    lbl_dum = new QLabel(this);
    lbl_dum->setObjectName("lbl_dum");
    lbl_dum->hide();
}

bool Cdss::eventFilter(QObject* watched, QEvent* event) {
    if (watched != lst_PopUp->viewport()) return Form::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            QListWidgetItem* item = lst_PopUp->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (item != nullptr) {
                lst_PopUp->setCurrentItem(item, QItemSelectionModel::NoUpdate);
                lst_PopUp->setFocus();
                run("lst_PopUp_MouseDown", [this] {
                    if (!CdssBusy) check_select(kMouse);
                });
            }
            return true;
        }
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return true;
        default:
            return Form::eventFilter(watched, event);
    }
}

void Cdss::on_load() {
    auto& v = popup_vars();
    v.PopupToMenu = false;
    CdssLoadState = 0;
    for (int i = 0; i < 3; ++i) lbl_PopUp[static_cast<size_t>(i)]->setText(ScrText(116 + i, 35));
    setWindowTitle(lbl_PopUp[0]->text().trimmed());
    cmd_PF(6)->setText(ScrText(205, 8));
    cmd_PF(12)->setText(ScrText(211, 9));
    if (!read_list()) return;
    make_list();
    for (auto& s : v.PopupSel) s = "0";
    v.PopupSelCount = 0;
    CdssBusy = true;
    for (int line = 0; line < lst_PopUp->count(); ++line)
        if (cd_line(line) && inquiry::field(record_of(line), pr::kPresent, 1) == "1")
            lst_PopUp->item(line)->setSelected(true);
    CdssBusy = false;
    CdssLastKey = 0;
}

bool Cdss::read_list() {
    auto& v = popup_vars();
    v.PopupLineCount = 0;
    std::string path = inquiry::rtrim(v.PopupPath);
    int32_t rc = inquiry::read_record_file(path, pr::kSize, &records_);
    if (rc == 0) {
        // The library writes at most 30; the hand-over holds no more.
        if (records_.size() > static_cast<size_t>(kPopupPositions)) records_.resize(kPopupPositions);
        v.PopupLineCount = static_cast<int16_t>(records_.size());
        plat::delete_file(path);
        return true;
    }
    WriteErrorLog("PXCDSS", "Form_Load", "Tbl_Set_PopUp", rc, 0, 0);
    CdssLoadState = kLoadFailed;
    return false;
}

void Cdss::make_list() {
    std::array<QString, 4> headings = {ScrText(121, 21), ScrText(122, 20), ScrText(123, 18), ScrText(124, 21)};
    std::vector<QString> lines;
    cdss_make_lines(records_, headings, &lines, &CdssLineKinds);
    lst_PopUp->clear();
    for (const QString& l : lines) lst_PopUp->addItem(l);
    if (lst_PopUp->count() > 0) lst_PopUp->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

void Cdss::on_activate() {
    if (CdssLoadState == kLoadReported) return;
    if (CdssLoadState == kLoadFailed) {
        // The dialog's closing activates this form again: once is enough.
        CdssLoadState = kLoadReported;
        ShowErrorDialog(*this);
        popup_vars().PopupToMenu = true;
        unload_form(*this);
        return;
    }
    lst_PopUp->setFocus();
}

bool Cdss::on_key_down(int key_code) {
    if (key_code == key_f(6)) {
        Form* owner = GetModalOwner();
        if (owner == nullptr) throw RuntimeError(kErrObjectNotSet, "GetModalOwner");
        HardCopy(*owner, lbl_dum);
        return true;
    }
    if (key_code == key_f(12)) {
        confirm();
        return true;
    }
    if (key_code == kKeyEscape) {
        on_close_request();
        return true;
    }
    // Enter and Space judge the list's line; on a focused key they press it.
    if ((key_code == kKeyEnter || key_code == kKeySpace) && focusWidget() == lst_PopUp) {
        if (!CdssBusy) check_select(key_code);
        return true;
    }
    return false;
}

// A list without a CD cannot be confirmed in choose mode: the window's close
// (or Escape) ends it then, and nothing is chosen. In display mode closing
// is confirming.
void Cdss::on_close_request() {
    if (popup_vars().PopupChoose == 0) {
        confirm();
    } else if (!has_cd_lines()) {
        popup_vars().PopupSelCount = 0;
        unload_form(*this);
    }
}

bool Cdss::cd_line(int line) const {
    return line >= 0 && static_cast<size_t>(line) < CdssLineKinds.size() && CdssLineKinds[static_cast<size_t>(line)] == '1';
}

bool Cdss::has_cd_lines() const { return CdssLineKinds.find('1') != std::string::npos; }

const std::string& Cdss::record_of(int line) const {
    size_t k = 0;
    for (int i = 0; i < line; ++i)
        if (cd_line(i)) ++k;
    return records_[k];
}

void Cdss::check_select(int key) {
    CdssBusy = true;
    CdssLastKey = key;
    int line = lst_PopUp->currentRow();
    QListWidgetItem* item = lst_PopUp->item(line);
    if (item != nullptr && key != kKeyUp && key != kKeyDown) {
        if (!cd_line(line)) {
            item->setSelected(false);
            Beep();
        } else if (popup_vars().PopupChoose != 0) {
            item->setSelected(!item->isSelected());
        } else {
            // The marks show availability only: an attempt to change one is
            // undone with a beep.
            item->setSelected(inquiry::field(record_of(line), pr::kPresent, 1) == "1");
            Beep();
        }
    }
    CdssBusy = false;
}

void Cdss::confirm() {
    auto& v = popup_vars();
    if (v.PopupChoose == 0) {
        unload_form(*this);
        return;
    }
    v.PopupSelCount = 0;
    int k = -1;
    for (int line = 0; line < lst_PopUp->count(); ++line) {
        if (!cd_line(line)) continue;
        ++k;
        if (!lst_PopUp->item(line)->isSelected() || k >= kPopupPositions) continue;
        ++v.PopupSelCount;
        v.PopupSel[static_cast<size_t>(k)] = "1";
        const std::string& rec = records_[static_cast<size_t>(k)];
        v.PopupSetupNo[static_cast<size_t>(k)] = static_cast<int16_t>(
            static_cast<uint8_t>(rec[pr::kSetupIndex]) | (static_cast<uint8_t>(rec[pr::kSetupIndex + 1]) << 8));
    }
    if (v.PopupSelCount > 0) {
        unload_form(*this);
        return;
    }
    clear_select();
    Beep();
}

void Cdss::clear_select() {
    CdssBusy = true;
    for (int line = 0; line < lst_PopUp->count(); ++line) lst_PopUp->item(line)->setSelected(false);
    for (auto& s : popup_vars().PopupSel) s = "0";
    CdssBusy = false;
}

PX_FORM(Cdss);

PopupVars& popup_vars() {
    static PopupVars v;
    return v;
}

InquiryVars& inquiry_vars() {
    static InquiryVars v;
    return v;
}

}  // namespace px
