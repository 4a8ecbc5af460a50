#include "maint/stgp.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "maint/maint_entries.h"
#include "platform/msgbox.h"
#include "shell/list_lines.h"
#include "shell/codepage.h"
#include "shell/field_box.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px::maint {

namespace {

constexpr const char* kSource = "PXSTGP";
constexpr int kCodeLen = 3;
constexpr int kDescriptionLen = 60;
constexpr int kPncLen = 6;

constexpr int16_t kMsgCodeGuide = 154;
constexpr int16_t kMsgDescriptionGuide = 155;
constexpr int16_t kMsgPncGuide = 156;
constexpr int16_t kMsgSaved = 404;
constexpr int16_t kMsgSaving = 405;
constexpr int16_t kMsgGroupFull = 812;
constexpr int16_t kMsgTooManyGroups = 819;
constexpr int16_t kMsgEmptyList = 851;
constexpr int16_t kMsgNoSuchPnc = 867;
constexpr int16_t kMsgNoSuchGroup = 877;
constexpr int16_t kMsgSystemError = 999;

// What the library gives back in the part-name-code position.
constexpr int16_t kPosNoSlot = -1;  // 65535 as the library writes it
constexpr int16_t kPosNotFound = 1;
constexpr int16_t kPosCdMissing = 4;

bool digit_or_letter(int key) { return (key >= 48 && key <= 57) || (key >= 96 && key <= 105) || (key >= 65 && key <= 90); }

// A character typed into a code box: digits, capital letters and the blank
// stand; a small letter becomes a capital; the rest is dropped.
QChar code_char(QChar c) {
    if (c >= 'a' && c <= 'z') return c.toUpper();
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == ' ') return c;
    return QChar();
}

std::string padded(std::string s, size_t width) {
    s.resize(width, ' ');
    return s;
}

std::string rtrim(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
    return s;
}

QLineEdit* make_box(QWidget* parent, const char* name, int max_len, QObject* filter) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    limit_to_field(box, max_len);
    box->setFont(oem_font());
    box->installEventFilter(filter);
    return box;
}

QLabel* make_label(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    return l;
}

QPushButton* make_button(QWidget* parent, const char* name) {
    auto* b = new QPushButton(parent);
    b->setObjectName(name);
    return b;
}

}  // namespace

Stgp::Stgp() : Form(kName) {
    auto* layout = make_frame({.size = {900, 640}, .keys = {1, 2, 3, 4, 6, 10, 11}});
    fra_stgp = new QGroupBox(this);
    fra_stgp->setObjectName("fra_stgp");
    auto* body = new QVBoxLayout(fra_stgp);
    lbl_stgp = make_label(fra_stgp, "lbl_stgp");
    lbl_stgp->setAlignment(Qt::AlignCenter);
    QFont title = lbl_stgp->font();
    title.setBold(true);
    title.setPointSize(title.pointSize() + 4);
    lbl_stgp->setFont(title);
    body->addWidget(lbl_stgp);

    fra_Group = new QGroupBox(fra_stgp);
    fra_Group->setObjectName("fra_Group");
    auto* g = new QGridLayout(fra_Group);
    lbl_GroupCode = make_label(fra_Group, "lbl_GroupCode");
    txt_GroupCode = make_box(fra_Group, "txt_GroupCode", kCodeLen, this);
    txt_GroupCode->setFixedWidth(QFontMetrics(oem_font()).horizontalAdvance("WWWWW") + 12);
    cmd_GroupCode = make_button(fra_Group, "cmd_GroupCode");
    lbl_Description[0] = make_label(fra_Group, "lbl_Description_0");
    txt_Description = make_box(fra_Group, "txt_Description", kDescriptionLen, this);
    txt_Description->setEnabled(false);
    cmd_DelGroup = make_button(fra_Group, "cmd_DelGroup");
    g->addWidget(lbl_GroupCode, 0, 0);
    g->addWidget(txt_GroupCode, 0, 1);
    g->addWidget(cmd_GroupCode, 0, 2, Qt::AlignLeft);
    g->addWidget(lbl_Description[0], 1, 0);
    g->addWidget(txt_Description, 1, 1, 1, 3);
    g->addWidget(cmd_DelGroup, 0, 3, Qt::AlignRight);
    g->setColumnStretch(3, 1);
    body->addWidget(fra_Group);

    fra_PNC = new QGroupBox(fra_stgp);
    fra_PNC->setObjectName("fra_PNC");
    auto* p = new QGridLayout(fra_PNC);
    lbl_Pnc = make_label(fra_PNC, "lbl_Pnc");
    txt_Pnc = make_box(fra_PNC, "txt_Pnc", kPncLen, this);
    txt_Pnc->setFixedWidth(QFontMetrics(oem_font()).horizontalAdvance("WWWWWWWW") + 12);
    lbl_Description[1] = make_label(fra_PNC, "lbl_Description_1");
    lbl_PNCDescription = make_label(fra_PNC, "lbl_PNCDescription");
    lbl_PNCDescription->setFont(oem_font());
    lst_Pnc = new QListWidget(fra_PNC);
    lst_Pnc->setObjectName("lst_Pnc");
    lst_Pnc->setFont(oem_font());
    lst_Pnc->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lst_Pnc->installEventFilter(this);
    pnc_list_ = std::make_unique<ListBoxControl>(lst_Pnc);
    cmd_DelPnc = make_button(fra_PNC, "cmd_DelPnc");
    p->addWidget(lbl_Pnc, 0, 0);
    p->addWidget(txt_Pnc, 0, 1);
    p->addWidget(lbl_Description[1], 0, 2);
    p->addWidget(lbl_PNCDescription, 0, 3);
    p->addWidget(lst_Pnc, 1, 0, 1, 4);
    p->addWidget(cmd_DelPnc, 2, 3, Qt::AlignRight);
    p->setColumnStretch(3, 1);
    body->addWidget(fra_PNC, 1);
    layout->addWidget(fra_stgp, 1);
    fra_PNC->setEnabled(false);

    connect(txt_GroupCode, &QLineEdit::textChanged, this, [this] {
        if (!filling_) run("txt_GroupCode_Change", [this] { group_code_changed(); });
    });
    connect(txt_Pnc, &QLineEdit::textChanged, this, [this] {
        if (!filling_) run("txt_Pnc_Change", [this] { pnc_changed(); });
    });
    on_line_double_click(*this, lst_Pnc, "lst_Pnc_DblClick", [this](int) { pnc_double_click(); });
    connect(cmd_DelPnc, &QPushButton::clicked, this, [this] { run("cmd_DelPnc_Click", [this] { STGP_Delete_Pnc(); }); });
    connect(cmd_DelGroup, &QPushButton::clicked, this,
            [this] { run("cmd_DelGroup_Click", [this] { STGP_Delete_Group(); }); });
    connect(cmd_GroupCode, &QPushButton::clicked, this,
            [this] { run("cmd_GroupCode_Click", [this] { open_group_list(); }); });
}

Stgp::~Stgp() = default;

std::string Stgp::code() const { return to_ansi(txt_GroupCode->text()); }
std::string Stgp::description() const { return to_ansi(txt_Description->text()); }

void Stgp::STGP_Clear_Screen() {
    filling_ = true;
    txt_GroupCode->clear();
    txt_Description->clear();
    txt_Pnc->clear();
    filling_ = false;
    lbl_PNCDescription->clear();
    lst_Pnc->clear();
    pnc_edit_ = -1;
    txt_GroupCode->setFocus();
}

int32_t Stgp::Init_Stgp() {
    pnc_edit_ = -1;
    int32_t rc = lib::VBRemakeGpFile();
    // A damaged group file was kept aside and the groups start empty: the
    // clerk must know before editing (the error log names the file).
    if (rc == lib::kGroupsRemadeDamaged) {
        plat::message_box("The user part-group file was damaged. It was kept as PXGRPMEI.BAD (or PXGRPPNC.BAD) in "
                          "the master folder and the groups start empty.",
                          to_ansi(ScrText(3300, 40).trimmed()), plat::kMbOk | plat::kMbIconExclamation);
        rc = 0;
    }
    if (rc != 0) return rc;
    // The table's items are freed before it is emptied: emptying alone would
    // leave the previous groups allocated on every reload.
    lib::VBTermGrpTmp();
    lib::VBInitGrpTmp();
    int16_t count = 0;
    return lib::VBread_group_file(&count);
}

void Stgp::on_load() {
    load_status_ = 0;
    int32_t rc = Init_Stgp();
    if (rc != 0) {
        WriteErrorLog(kSource, "Form_Load", "Init_Stgp", rc, 0, 0);
        load_status_ = 2;
        return;
    }
    setWindowTitle(ScrText(3300, 40).trimmed());
    lbl_stgp->setText(ScrText(3300, 40));
    lbl_GroupCode->setText(ScrText(3301, 14));
    lbl_Description[0]->setText(ScrText(3302, 14));
    lbl_Description[1]->setText(ScrText(3302, 14));
    lbl_Pnc->setText(ScrText(3303, 4));
    cmd_GroupCode->setText(ScrText(3305, 6));
    cmd_DelPnc->setText(ScrText(403, 11));
    cmd_DelGroup->setText(ScrText(403, 11));
    for (auto [n, text] : {std::pair{1, 200}, {2, 201}, {3, 202}, {4, 203}, {6, 205}})
        cmd_PF(n)->setText(ScrText(text, 8));
    cmd_PF(10)->setText(ScrText(209, 9));
    cmd_PF(11)->setText(ScrText(210, 9));
    DispMsg(kMsgPncGuide, lbl_Msg);
    entry_mode_ = kGroupEntry;
}

void Stgp::on_activate() {
    if (load_status_ == 2) {
        load_status_ = 0;
        full_failure();
        return;
    }
    apply_entry_mode();
}

void Stgp::on_unload() { lib::VBTermGrpTmp(); }

void Stgp::set_entry_mode(int16_t mode) {
    entry_mode_ = mode;
    apply_entry_mode();
}

void Stgp::apply_entry_mode() {
    fra_Group->setEnabled(entry_mode_ == kGroupEntry);
    fra_PNC->setEnabled(entry_mode_ != kGroupEntry);
}

void Stgp::leave_back() {
    leaving_ = true;
    ScrBack();
    unload_form(*this);
}

void Stgp::leave_menu() {
    leaving_ = true;
    ScrBackToMenu();
    unload_form(*this);
}

void Stgp::full_failure() {
    DispMsg(kMsgSystemError, lbl_Msg);
    ShowErrorDialog(*this);
    leave_menu();
}

void Stgp::short_failure() {
    ShowErrorDialog(*this);
    leave_menu();
}

bool Stgp::on_key_down(int key_code) {
    switch (key_code) {
        case key_f(1): case key_f(2): case key_f(3): case key_f(4): case key_f(6): case key_f(10): case key_f(11):
            exec_pf(key_code - kKeyF1 + 1);
            return true;
        default: return key_code >= kKeyF1 && key_code <= kKeyF12;
    }
}

void Stgp::on_pf_click(int n) { exec_pf(n); }

void Stgp::exec_pf(int n) {
    switch (n) {
        case 1: ShowHelp(*this); break;
        case 2: {
            SetHourglass();
            int32_t rc = 0;
            if (lib::VBGetGrpNum() > 0) rc = Stgp_Print();
            else Beep();
            SetDefaultPointer();
            if (rc != 0) full_failure();
            break;
        }
        case 3: {
            int32_t rc = Init_Stgp();
            if (rc != 0) {
                WriteErrorLog(kSource, "cmd_PF_Click", "Init_Stgp", rc, 0, 0);
                return full_failure();
            }
            leave_back();
            break;
        }
        case 4: leave_menu(); break;
        case 6: HardCopy(*this, lbl_Msg); break;
        case 10: save(); break;
        case 11: {
            set_entry_mode(kGroupEntry);
            STGP_Clear_Screen();
            int32_t rc = Init_Stgp();
            if (rc != 0) {
                WriteErrorLog(kSource, "cmd_PF_Click", "Init_Stgp", rc, 0, 0);
                full_failure();
            }
            break;
        }
        default: break;
    }
}

void Stgp::save() {
    if (lst_Pnc->count() == 0) {
        DispMsg(kMsgEmptyList, lbl_Msg);
        Beep();
        return;
    }
    DispMsg(kMsgSaving, lbl_Msg);
    int32_t rc = lib::VBSetGrpCd(code().c_str(), description().c_str());
    if (rc == 1) {
        DispMsg(kMsgTooManyGroups, lbl_Msg);
        Beep();
        return;
    }
    if (rc != 0) {
        WriteErrorLog(kSource, "cmd_PF_Click", "VBSetGrpCd", rc, 0, 0);
        return full_failure();
    }
    rc = lib::VBwrite_group_file();
    if (rc != 0) {
        WriteErrorLog(kSource, "cmd_PF_Click", "VBwrite_group_file", rc, 0, 0);
        return full_failure();
    }
    set_entry_mode(kGroupEntry);
    txt_GroupCode->setFocus();
    txt_GroupCode->clear();  // the change rule clears the screen
    if (leaving_) return;
    // Back in group entry: the part-name code box is closed now.
    DispMsg(kMsgSaved, lbl_Msg);
}

bool Stgp::show_group(const std::string& c, bool* known) {
    std::string name(kDescriptionLen, ' ');
    VbString str{name.data(), kDescriptionLen};
    *known = lib::VBGetGrpName(c.c_str(), &str) != 0;
    if (!*known) return true;
    filling_ = true;
    txt_Description->setText(from_ansi(rtrim(name)));
    txt_Pnc->clear();
    filling_ = false;
    lbl_PNCDescription->clear();
    pnc_edit_ = -1;
    lst_Pnc->clear();
    int16_t flag = 1;  // part names from the first data set of the current area
    int32_t rc = lib::VBMakeListGrpPnc(c.c_str(), pnc_list_->hwnd(), &flag);
    if (rc != 0) {
        WriteErrorLog(kSource, "txt_GroupCode_KeyUp", "VBMakeListGrpPnc", rc, 0, 0);
        full_failure();
        return false;
    }
    if (flag != 0) {
        DispMsg(kMsgNoSuchGroup, lbl_Msg);
        Beep();
        return false;
    }
    return true;
}

void Stgp::group_code_changed() {
    const std::string c = code();
    if (c.empty()) return STGP_Clear_Screen();
    if (c.size() != kCodeLen) return;
    txt_Description->setEnabled(true);
    bool known = false;
    if (show_group(c, &known) && known) txt_Description->setFocus();
}

bool Stgp::group_code_key_press(QKeyEvent* e) {
    const QString t = e->text();
    if (t.size() != 1 || !t[0].isPrint()) return false;  // Enter, Backspace, moves: as they are
    QChar c = code_char(t[0]);
    if (!c.isNull() && txt_GroupCode->text().size() - txt_GroupCode->selectedText().size() < kCodeLen)
        txt_GroupCode->insert(QString(c));
    return true;
}

void Stgp::group_code_key_up(int key) {
    const QString text = txt_GroupCode->text();
    const std::string c = code();
    if (digit_or_letter(key) && txt_GroupCode->cursorPosition() == kCodeLen) {
        if (text.trimmed().isEmpty()) {
            txt_GroupCode->clear();
            txt_GroupCode->setCursorPosition(0);
            return;
        }
        bool known = false;
        if (!show_group(c, &known)) return;
        if (!known) {
            filling_ = true;
            txt_Description->clear();
            filling_ = false;
            lst_Pnc->clear();
        }
        txt_Description->setFocus();
        txt_Description->setCursorPosition(0);
        return;
    }
    if (key == kKeyEnter || key == kKeyDown) {
        if (rtrim(c).empty()) return;
        if (text.size() < kCodeLen) txt_GroupCode->setText(from_ansi(padded(c, kCodeLen)));
        if (leaving_) return;
        txt_Description->setFocus();
        txt_Description->setCursorPosition(0);
        return;
    }
    if (key == kKeyRight && txt_GroupCode->cursorPosition() == kCodeLen) txt_Description->setFocus();
}

bool Stgp::description_key_press(QKeyEvent* e) {
    const QString t = e->text();
    if (t.size() != 1 || !t[0].isLower()) return false;
    if (txt_Description->text().size() - txt_Description->selectedText().size() < kDescriptionLen)
        txt_Description->insert(t.toUpper());
    return true;
}

void Stgp::description_key_up(int key) {
    const bool full = digit_or_letter(key) && txt_Description->cursorPosition() == kDescriptionLen;
    if (key == kKeyEnter || full) {
        int32_t rc = lib::VBSetGrpCd(code().c_str(), description().c_str());
        if (rc == 0) {
            set_entry_mode(kPncEntry);
            txt_Pnc->setFocus();
            txt_Pnc->setCursorPosition(0);
        } else if (rc == 1) {
            DispMsg(kMsgTooManyGroups, lbl_Msg);
            Beep();
        } else {
            WriteErrorLog(kSource, "txt_Description_KeyUp", "VBSetGrpCd", rc, key == kKeyEnter ? 2 : 1, 0);
            full_failure();
        }
        return;
    }
    if (key == kKeyUp || (key == kKeyLeft && txt_Description->cursorPosition() == 0)) txt_GroupCode->setFocus();
}

bool Stgp::pnc_key_press(QKeyEvent* e) {
    const int k = e->key();
    if (k == Qt::Key_Return || k == Qt::Key_Enter) {
        if (txt_Pnc->text().trimmed().isEmpty()) {
            txt_Pnc->clear();
            txt_Pnc->setCursorPosition(0);
        } else {
            store_pnc();
        }
        return true;
    }
    const QString t = e->text();
    if (t.size() != 1 || !t[0].isPrint()) return false;
    QChar c = code_char(t[0]);
    if (!c.isNull() && txt_Pnc->text().size() - txt_Pnc->selectedText().size() < kPncLen)
        txt_Pnc->insert(QString(c));
    return true;
}

void Stgp::pnc_changed() {
    if (txt_Pnc->text().isEmpty()) {
        lbl_PNCDescription->clear();
        return;
    }
    if (txt_Pnc->text().size() == kPncLen && txt_Pnc->cursorPosition() == kPncLen) store_pnc();
}

void Stgp::store_pnc() {
    int16_t pos = pnc_edit_;
    const std::string pnc = to_ansi(txt_Pnc->text());
    int32_t rc = lib::VBSetGrpPnc(pnc_list_->hwnd(), code().c_str(), pnc.c_str(), &pos);
    if (rc != 0) return short_failure();
    if (pos == kPosNoSlot || pos == kPosNotFound || pos == kPosCdMissing) {
        DispMsg(pos == kPosNoSlot ? kMsgGroupFull : pos == kPosNotFound ? kMsgNoSuchPnc : kMsgCdMissing, lbl_Msg);
        Beep();
        txt_Pnc->setCursorPosition(0);
        return;
    }
    DispMsg(kMsgPncGuide, lbl_Msg);
    filling_ = true;
    txt_Pnc->clear();
    filling_ = false;
    lbl_PNCDescription->clear();
    pnc_edit_ = -1;
}

void Stgp::pnc_double_click() {
    pnc_edit_ = -1;
    for (int i = 0; i < lst_Pnc->count(); ++i) {
        if (!lst_Pnc->item(i)->isSelected()) continue;
        std::string line;
        pnc_list_->lb_text(i, &line);
        line.resize(kPncLen + 2 + kDescriptionLen, ' ');
        filling_ = true;
        txt_Pnc->setText(from_ansi(rtrim(line.substr(0, kPncLen))));
        txt_Pnc->setCursorPosition(0);
        filling_ = false;
        lbl_PNCDescription->setText(from_ansi(line.substr(kPncLen + 2, kDescriptionLen)));
        pnc_edit_ = static_cast<int16_t>(i);
        break;
    }
    txt_Pnc->setFocus();
}

void Stgp::STGP_Delete_Pnc() {
    paint_button(cmd_DelPnc, true);
    filling_ = true;
    txt_Pnc->clear();
    filling_ = false;
    lbl_PNCDescription->clear();
    pnc_edit_ = -1;
    if (lib::VBDelGrpPnc(pnc_list_->hwnd(), code().c_str()) != 0) short_failure();
}

void Stgp::STGP_Delete_Group() {
    paint_button(cmd_DelGroup, true);
    const std::string c = code();
    if (rtrim(c).empty()) return;
    if (lib::VBDelGrpCd(c.c_str()) != 0) return short_failure();
    STGP_Clear_Screen();
    if (lib::VBwrite_group_file() != 0) short_failure();
}

void Stgp::open_group_list() {
    if (lib::VBGetGrpNum() <= 0) return Beep();
    if (!form_exists("Kgrr")) return;
    show_modeless(load_form("Kgrr"));
}

bool Stgp::eventFilter(QObject* obj, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        auto* e = static_cast<QKeyEvent*>(event);
        if (e->key() >= Qt::Key_F1 && e->key() <= Qt::Key_F12) return false;
        bool consumed = false;
        if (type == QEvent::KeyPress) {
            run("KeyPress", [&] {
                if (obj == txt_GroupCode) consumed = group_code_key_press(e);
                else if (obj == txt_Description) consumed = description_key_press(e);
                else if (obj == txt_Pnc) consumed = pnc_key_press(e);
            });
            return consumed;
        }
        if (e->isAutoRepeat()) return false;
        const int key = key_code(e);
        run("KeyUp", [&] {
            if (obj == txt_GroupCode) group_code_key_up(key);
            else if (obj == txt_Description) description_key_up(key);
            else if (obj == lst_Pnc && key == kKeyDelete) {
                STGP_Delete_Pnc();
                paint_button(cmd_DelPnc, false);
            }
        });
        return false;
    }
    if (obj == txt_GroupCode && type == QEvent::FocusIn) {
        run("txt_GroupCode_GotFocus", [this] { DispMsg(kMsgCodeGuide, lbl_Msg); });
    } else if (obj == txt_Description && type == QEvent::FocusIn) {
        run("txt_Description_GotFocus", [this] {
            DispMsg(kMsgDescriptionGuide, lbl_Msg);
            const QString t = txt_Description->text();
            int end = static_cast<int>(t.size());
            while (end > 0 && t[end - 1] == ' ') --end;
            if (end != t.size()) {
                filling_ = true;
                txt_Description->setText(t.left(end));
                filling_ = false;
            }
        });
    } else if (obj == txt_Description && type == QEvent::FocusOut) {
        if (!leaving_ && loaded() && txt_GroupCode->text().trimmed().isEmpty() && fra_Group->isEnabled())
            txt_GroupCode->setFocus();
    } else if (obj == txt_Description && type == QEvent::MouseButtonPress) {
        if (txt_GroupCode->text().size() != kCodeLen) {
            txt_GroupCode->setFocus();
            return true;
        }
    } else if (obj == txt_Pnc && type == QEvent::FocusIn) {
        run("txt_Pnc_GotFocus", [this] { DispMsg(kMsgPncGuide, lbl_Msg); });
    }
    return false;
}

PX_FORM(Stgp);

}  // namespace px::maint
