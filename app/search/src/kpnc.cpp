#include "search/kpnc.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "search/route_context.h"
#include "search/route_entries.h"
#include "shell/list_lines.h"
#include "shell/codepage.h"
#include "shell/field_box.h"
#include "shell/help.h"
#include "shell/vehicle_header.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px::search {

namespace {

constexpr int16_t kMsgGuide = 112;
constexpr int16_t kMsgProgress = 700;
constexpr int16_t kMsgOpening = 701;
constexpr int16_t kMsgListFull = 812;
constexpr int16_t kMsgEmptyList = 833;
constexpr int16_t kMsgNothingFound = 865;
constexpr int16_t kMsgNotPnc = 867;

constexpr int16_t kStatusFull = 1;
constexpr int16_t kStatusShortPrefix = 2;
constexpr int16_t kStatusNoCd = 4;

constexpr int kPncMax = 6;
constexpr int kMinWildcard = 3;

bool is_digit(QChar c) { return c >= '0' && c <= '9'; }

}  // namespace

Kpnc::Kpnc(const char* name, bool group) : SearchScreen(name), group_(group) {
    resize(980, 720);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(make_vehicle_header(*this));
    lbl_title = make_label("lbl_title");
    lbl_title->setAlignment(Qt::AlignCenter);
    set_title_font(lbl_title);
    layout->addWidget(lbl_title);

    const char* heading = group ? "lbl_KgrpTtl_%1" : "lbl_KpncTtl_%1";
    for (int i = 1; i <= 6; ++i) {
        lbl_Ttl[i] = make_label(QString(heading).arg(i).toLatin1().constData());
        lbl_Ttl[i]->setFont(LineFont());
    }
    txt_Pnc = new QLineEdit(this);
    txt_Pnc->setObjectName("txt_Pnc");
    limit_to_field(txt_Pnc, kPncMax);
    txt_Qty = new QLineEdit(this);
    txt_Qty->setObjectName("txt_Qty");
    txt_Qty->setMaxLength(2);
    QFontMetrics box_fm(LineFont());
    for (QLineEdit* box : {txt_Pnc, txt_Qty}) {
        box->setFont(LineFont());
        box->setFixedWidth(box_fm.horizontalAdvance(QString(box->maxLength() + 1, 'W')) + 12);
        box->installEventFilter(this);
    }
    cmd_Pnc = new QPushButton(this);
    cmd_Pnc->setObjectName("cmd_Pnc");
    cmd_Pnc->setAutoDefault(false);
    connect(cmd_Pnc, &QPushButton::clicked, this, [this] { run("cmd_Pnc_Click", [this] { delete_lines(); }); });
    auto* entry = new QHBoxLayout;
    entry->addWidget(lbl_Ttl[1]);
    entry->addWidget(txt_Pnc);
    entry->addWidget(lbl_Ttl[2]);
    entry->addWidget(txt_Qty);
    entry->addSpacing(24);
    entry->addWidget(cmd_Pnc);
    entry->addStretch(1);
    layout->addLayout(entry);

    // Headings over the list's columns: number (4), code (7), name (61), quantity.
    auto* heads = new QHBoxLayout;
    heads->setSpacing(0);
    heads->setContentsMargins(4, 0, 0, 0);
    const int cols[] = {4, 7, 61};
    for (int i = 3; i <= 6; ++i) {
        if (i < 6) lbl_Ttl[i]->setFixedWidth(LineWidth(cols[i - 3]));
        heads->addWidget(lbl_Ttl[i]);
    }
    heads->addStretch(1);
    layout->addLayout(heads);
    lst_Pnc = make_line_list("lst_Pnc", true);
    list_control_ = std::make_unique<ListBoxControl>(lst_Pnc);
    on_line_double_click(*this, lst_Pnc, "lst_Pnc_DblClick", [this](int) { edit_line(); });
    layout->addWidget(lst_Pnc, 1);
    layout->addWidget(make_message_line());
    if (group)
        layout->addWidget(make_key_bar({1, 3, 4, 6, 10, 11, 12}));
    else
        layout->addWidget(make_key_bar({1, 3, 4, 6, 10, 11}));
}

Kpnc::~Kpnc() = default;

std::string Kpnc::entry_quantity(const QString& typed) {
    bool ok = false;
    const int n = typed.trimmed().toInt(&ok);
    if (!ok || n < 1) return "01";
    char q[8];
    std::snprintf(q, sizeof q, "%02d", n > 99 ? 99 : n);
    return q;
}

void Kpnc::on_load() {
    Hourglass pointer;
    EditLine = -1;
    const int base = group_ ? 3500 : 1600;
    const QString title = TitleText(base, 41);
    if (group_) {
        RouteContext& ctx = route_context();
        ctx.SelGroupCode.assign(kGroupCodeWidth, ' ');
        ctx.SelGroupName.assign(kGroupNameWidth, ' ');
        VbString code{ctx.SelGroupCode.data(), static_cast<int32_t>(kGroupCodeWidth)};
        VbString name{ctx.SelGroupName.data(), static_cast<int32_t>(kGroupNameWidth)};
        lib::VBKgrpGetGroup(&code, &name);
    }
    setWindowTitle(title);
    lbl_title->setText(title);
    const int widths[7] = {0, 10, 5, 3, 6, 20, 5};
    for (int i = 1; i <= 6; ++i) lbl_Ttl[i]->setText(ScreenText(base + i, widths[i]));
    cmd_Pnc->setText(Caption(ScreenText(403, 7)));
    CenterForm(*this);
    DispVehicleInfo(*this, true);
    msg(kMsgGuide);
    set_key_captions({{1, 200}, {3, 202}, {4, 203}, {6, 205}, {10, 209}, {11, 210}, {12, 211}});
    PickShown = 0;
}

void Kpnc::on_activate() {
    if (group_ && PickShown == 0) {
        // Marked first: the pick list's closing activates this screen again.
        PickShown = 1;
        KGRP_GroupPick();
        if (!loaded()) return;
    }
    focus_pnc();
}

void Kpnc::focus_pnc() { txt_Pnc->setFocus(Qt::OtherFocusReason); }

void Kpnc::on_function_key(int n) {
    switch (n) {
        case 1:
            if (group_)
                ShowHelpByName("Kgrl");
            else
                ShowHelp(*this);
            msg(kMsgGuide);
            break;
        case 3: go_back(); break;
        case 4: go_menu(); break;
        case 6:
            msg(kMsgGuide);
            HardCopy(*this, lbl_Msg);
            break;
        case 10: KPNC_Exec(); break;
        case 11: KPNC_Clear(); break;
        case 12:
            if (group_) KGRP_GroupPick();
            break;
        default: break;
    }
}

bool Kpnc::on_other_key(int key_code) {
    if (key_code != kKeyEnter || focusWidget() != lst_Pnc) return false;
    toggle_current_line(lst_Pnc);
    return true;
}

bool Kpnc::eventFilter(QObject* watched, QEvent* event) {
    if (!loaded()) return false;
    if (event->type() == QEvent::KeyPress) {
        bool consumed = false;
        run("KeyPress", [&] { consumed = key_press(watched, static_cast<QKeyEvent*>(event)); });
        return consumed;
    }
    if (event->type() == QEvent::KeyRelease) run("KeyUp", [&] { key_release(watched, static_cast<QKeyEvent*>(event)); });
    return false;
}

bool Kpnc::key_press(QObject* box, QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return false;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        msg(kMsgGuide);
        KPNC_Entry();
        return true;
    }
    const QString text = event->text();
    if (key == Qt::Key_Backspace || text.isEmpty()) return false;
    const QChar c = text[0];
    if (box == txt_Qty) {
        if (is_digit(c)) return false;
        Beep();
        return true;
    }
    if (c >= 'a' && c <= 'z') {
        txt_Pnc->insert(QString(c.toUpper()));
        return true;
    }
    if (is_digit(c) || (c >= 'A' && c <= 'Z')) return false;
    if (c == '*' && txt_Pnc->text().size() >= kMinWildcard) return false;
    Beep();
    return true;
}

void Kpnc::key_release(QObject* box, QKeyEvent* event) {
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) return;
    if (box == txt_Pnc && txt_Pnc->cursorPosition() >= kPncMax) {
        txt_Qty->setFocus(Qt::TabFocusReason);
        txt_Qty->setCursorPosition(0);
    } else if (box == txt_Qty && txt_Qty->cursorPosition() == 0) {
        txt_Pnc->setFocus(Qt::BacktabFocusReason);
        txt_Pnc->setCursorPosition(kPncMax);
    }
}

void Kpnc::KPNC_Entry() {
    Hourglass pointer;
    msg(kMsgGuide);
    const std::string code = to_ansi(txt_Pnc->text());
    int16_t wildcard = 0;
    if (lib::VBKpncCheckPnc(code.c_str(), &wildcard) != 0) {
        Beep();
        msg(kMsgNotPnc);
        Beep();
        return focus_pnc();
    }
    if (wildcard == 1) return pick_from_prefix(code);

    const std::string qty = entry_quantity(txt_Qty->text());
    int16_t line = EditLine;
    if (lib::VBKpncAddRepPnc(list_control_->hwnd(), code.c_str(), qty.c_str(), &line) != 0) return system_error();
    // The line index comes back as the status of an append.
    if (EditLine == -1 && line == kStatusFull) {
        msg(kMsgListFull);
        Beep();
        return focus_pnc();
    }
    if (line == kStatusNoCd) return go_menu();
    txt_Pnc->clear();
    txt_Qty->clear();
    EditLine = -1;
    focus_pnc();
}

void Kpnc::pick_from_prefix(const std::string& code) {
    msg(kMsgProgress);
    RouteContext& ctx = route_context();
    ctx.PncPopPath.assign(kWorkPathWidth, '\0');
    VbString path{ctx.PncPopPath.data(), static_cast<int32_t>(ctx.PncPopPath.size())};
    int16_t count = 0, status = 0;
    if (lib::VBKpncMakePncLst(code.c_str(), &count, &path, &status) != 0) return system_error();
    if (status == kStatusShortPrefix) {
        Beep();
        msg(kMsgNotPnc);
        return focus_pnc();
    }
    if (status == kStatusNoCd) return go_menu();
    if (count <= 0) {
        msg(kMsgNothingFound);
        Beep();
        return focus_pnc();
    }
    ctx.PncEntryList = lst_Pnc;
    SetDefaultPointer();
    ShowModalOwned(load_form("Spnc"), this);
    if (!loaded()) return;
    if (ctx.PickListToMenu != 0) return go_menu();
    msg(kMsgGuide);
    txt_Qty->clear();
    EditLine = -1;
    focus_pnc();
}

void Kpnc::edit_line() {
    const int row = lst_Pnc->currentRow();
    if (row < 0) return;
    const std::string line = to_ansi(lst_Pnc->item(row)->text());
    EditLine = static_cast<int16_t>(row);
    txt_Pnc->setText(from_ansi(line.size() > 4 ? line.substr(4, 6) : std::string()));
    txt_Qty->setText(from_ansi(line.size() > 72 ? line.substr(72, 2) : std::string()));
    txt_Qty->setFocus(Qt::OtherFocusReason);
}

void Kpnc::delete_lines() {
    lib::VBKpncDelPnc(list_control_->hwnd());
    txt_Pnc->clear();
    txt_Qty->clear();
    focus_pnc();
    EditLine = -1;
}

void Kpnc::KPNC_Clear() {
    EditLine = -1;
    lst_Pnc->clear();
    txt_Pnc->clear();
    txt_Qty->clear();
    focus_pnc();
    msg(kMsgGuide);
}

void Kpnc::KPNC_Exec() {
    Hourglass pointer;
    msg(kMsgGuide);
    if (lst_Pnc->count() == 0) {
        msg(kMsgEmptyList);
        return Beep();
    }
    int16_t status = 0;
    if (lib::VBKpncWriteSelectTmp(list_control_->hwnd(), &status) != 0) return system_error();
    if (status == kStatusFull) {
        msg(kMsgListFull);
        return Beep();
    }
    if (status == kStatusNoCd) return go_menu();
    msg(kMsgOpening);
    open_next("Pnho");
}

void Kpnc::KGRP_GroupPick() {
    RouteContext& ctx = route_context();
    ctx.GrpPncEntryList = lst_Pnc;
    ShowModalOwned(load_form("Kgpl"), this);
    if (!loaded()) return;
    if (ctx.PickListToMenu != 0) return go_menu();
    msg(kMsgGuide);
}

PX_FORM(Kpnc);
PX_FORM(Kgrp);

}  // namespace px::search
