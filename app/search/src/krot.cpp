#include "search/krot.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "search/route_entries.h"
#include "shell/field_box.h"
#include "shell/help.h"
#include "shell/vehicle_header.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/seams.h"

namespace px::search {

namespace {

const QColor kMarked(224, 224, 224);
const QColor kFocusText(0, 0, 192);

// Help messages of the routes (route 0: none checked / some checked).
constexpr int16_t kMsgNoGroup = 103;
constexpr int16_t kMsgSomeGroup = 104;
constexpr int16_t kHelp[Krot::kRoutes] = {kMsgNoGroup, 103, 103, 103, 107, 108, 109, 162, 106};

// How a text input takes a typed character.
enum class Accepts { kCode, kGroup, kKeyword };

QLineEdit* make_box(QWidget* parent, const QString& name, int max_length) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    limit_to_field(box, max_length);
    box->setFont(LineFont());
    QFontMetrics fm(box->font());
    box->setFixedWidth(fm.horizontalAdvance(QString(max_length + 1, 'W')) + 12);
    return box;
}

QLabel* hyphen(QWidget* parent, int i) {
    auto* l = new QLabel("-", parent);
    l->setObjectName(QString("Label3_%1").arg(i));
    return l;
}

void paint_background(QWidget* w, const QColor& colour) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

bool is_letter(QChar c) { return c >= 'A' && c <= 'Z'; }
bool is_small(QChar c) { return c >= 'a' && c <= 'z'; }
bool is_digit(QChar c) { return c >= '0' && c <= '9'; }

}  // namespace

Krot::Krot() : SearchScreen(kName) {
    resize(1000, 720);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(make_vehicle_header(*this));
    lbl_title = make_label("lbl_title");
    lbl_title->setAlignment(Qt::AlignCenter);
    set_title_font(lbl_title);
    layout->addWidget(lbl_title);

    for (int r = 0; r < kRoutes; ++r) {
        fra_Route[r] = new QGroupBox(this);
        fra_Route[r]->setObjectName(QString("fra_Route_%1").arg(r));
        fra_Route[r]->installEventFilter(this);
    }
    // Route 0: the four figure groups, one under the other.
    auto* groups = new QVBoxLayout(fra_Route[0]);
    for (int i = 0; i < 4; ++i) {
        chk_Sech[i] = new QCheckBox(fra_Route[0]);
        chk_Sech[i]->setObjectName(QString("chk_Sech_%1").arg(i));
        chk_Sech[i]->setAutoFillBackground(true);
        groups->addWidget(chk_Sech[i]);
        connect(chk_Sech[i], &QCheckBox::stateChanged, this,
                [this] { run("chk_Sech_Click", [this] { figure_groups_changed(); }); });
    }
    // Routes 1-3: a button each.
    for (int r = 1; r <= 3; ++r) {
        auto* row = new QHBoxLayout(fra_Route[r]);
        cmd_Sech[r] = new QPushButton(fra_Route[r]);
        cmd_Sech[r]->setObjectName(QString("cmd_Sech_%1").arg(r));
        cmd_Sech[r]->setFocusPolicy(Qt::StrongFocus);
        cmd_Sech[r]->setAutoDefault(false);
        paint_button(cmd_Sech[r], false);
        row->addWidget(cmd_Sech[r]);
        row->addStretch(1);
        connect(cmd_Sech[r], &QPushButton::clicked, this, [this, r] {
            run("cmd_Sech_Click", [this, r] {
                if (r == 2)
                    GroupListButton();
                else
                    MenuVar_Exec();
            });
        });
    }
    auto boxes_row = [](QGroupBox* frame) {
        auto* row = new QHBoxLayout(frame);
        row->setSpacing(4);
        return row;
    };
    // Route 4: the figure number as 2 + 2.
    auto* fig = boxes_row(fra_Route[4]);
    txt_FigNo[0] = make_box(fra_Route[4], "txt_FigNo_0", 2);
    txt_FigNo[1] = make_box(fra_Route[4], "txt_FigNo_1", 2);
    fig->addWidget(txt_FigNo[0]);
    fig->addWidget(hyphen(fra_Route[4], 0));
    fig->addWidget(txt_FigNo[1]);
    fig->addStretch(1);
    // Route 5: the part-name code.
    auto* pnm = boxes_row(fra_Route[5]);
    txt_PNm = make_box(fra_Route[5], "txt_PNm", 6);
    pnm->addWidget(txt_PNm);
    pnm->addStretch(1);
    // Route 6: the part number as 5 + 5 + 2.
    auto* pno = boxes_row(fra_Route[6]);
    const int pno_len[3] = {5, 5, 2};
    for (int i = 0; i < 3; ++i) {
        txt_PNo[i] = make_box(fra_Route[6], QString("txt_PNo_%1").arg(i), pno_len[i]);
        if (i > 0) pno->addWidget(hyphen(fra_Route[6], i));
        pno->addWidget(txt_PNo[i]);
    }
    pno->addStretch(1);
    // Route 7: the group code; route 8: the keyword.
    auto* grp = boxes_row(fra_Route[7]);
    txt_Grp = make_box(fra_Route[7], "txt_Grp", 3);
    grp->addWidget(txt_Grp);
    grp->addStretch(1);
    auto* kw = boxes_row(fra_Route[8]);
    txt_KeyWord = make_box(fra_Route[8], "txt_KeyWord", 20);
    kw->addWidget(txt_KeyWord);
    kw->addStretch(1);

    // Route 0 on the left, as tall as two frames, then 1-3; 4-8 on the right.
    auto* routes = new QGridLayout;
    routes->addWidget(fra_Route[0], 0, 0, 2, 1);
    for (int r = 1; r <= 3; ++r) routes->addWidget(fra_Route[r], r + 1, 0);
    for (int r = 4; r <= 8; ++r) routes->addWidget(fra_Route[r], r - 4, 1);
    routes->setColumnStretch(0, 1);
    routes->setColumnStretch(1, 1);
    layout->addLayout(routes, 1);
    layout->addWidget(make_key_bar({1, 3, 4, 6, 10, 11}));
    layout->addWidget(make_message_line());

    // Tab order: the check boxes, the routes' inputs, then the keys.
    QList<QWidget*> order;
    for (auto* c : chk_Sech) order << c;
    for (int r = 1; r <= 3; ++r) order << cmd_Sech[r];
    order << txt_FigNo[0] << txt_FigNo[1] << txt_PNm << txt_PNo[0] << txt_PNo[1] << txt_PNo[2] << txt_Grp
          << txt_KeyWord;
    for (int n : {1, 3, 4, 6, 10, 11}) order << cmd_PF(n);
    for (int i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
    for (int i = 0; i + 6 < order.size(); ++i) order[i]->installEventFilter(this);
    for (int r = 0; r < kRoutes; ++r) KROT_Mark_Route(r, 0);
}

int Krot::route_of(const QObject* input) const {
    for (auto* c : chk_Sech)
        if (input == c) return 0;
    for (int r = 1; r <= 3; ++r)
        if (input == cmd_Sech[r]) return r;
    if (input == txt_FigNo[0] || input == txt_FigNo[1]) return 4;
    if (input == txt_PNm) return 5;
    if (input == txt_PNo[0] || input == txt_PNo[1] || input == txt_PNo[2]) return 6;
    if (input == txt_Grp) return 7;
    if (input == txt_KeyWord) return 8;
    return -1;
}

void Krot::on_load() {
    CurRoute = 0;
    PendingMsg = 0;
    // The selection and the figure list start empty at every load; the
    // results are not looked at.
    lib::VBclear_figno();
    lib::VBClearSelTmp();
    lib::VBWriteSelectTmp();
    lib::VBTermGrpTmp();
    lib::VBInitGrpTmp();
    KROT_Load_Text();
    CenterForm(*this);
    DispVehicleInfo(*this, true);
    set_key_captions({{1, 200}, {3, 202}, {4, 203}, {6, 205}, {10, 209}, {11, 210}});
}

void Krot::KROT_Load_Text() {
    QString title = TitleText(1400, 40);
    setWindowTitle(title);
    lbl_title->setText(title);
    fra_Route[0]->setTitle(Caption(ScreenText(1401, 12)));
    for (int i = 0; i < 4; ++i) chk_Sech[i]->setText(Caption(ScreenText(1402 + i, 53)));
    fra_Route[1]->setTitle(Caption(ScreenText(1406, 31)));
    fra_Route[2]->setTitle(Caption(ScreenText(1407, 19)));
    fra_Route[7]->setTitle(Caption(ScreenText(1407, 19)));
    fra_Route[3]->setTitle(Caption(ScreenText(1408, 20)));
    fra_Route[4]->setTitle(Caption(ScreenText(1409, 16)));
    fra_Route[5]->setTitle(Caption(ScreenText(1410, 28)));
    fra_Route[6]->setTitle(Caption(ScreenText(1411, 28)));
    fra_Route[8]->setTitle(Caption(ScreenText(1412, 22)));
    cmd_Sech[1]->setText(Caption(ScreenText(400, 8)));
    cmd_Sech[3]->setText(Caption(ScreenText(400, 8)));
    cmd_Sech[2]->setText(Caption(ScreenText(401, 8)));
}

void Krot::on_activate() { KROT_Set_Focus(CurRoute); }

void Krot::KROT_Set_Focus(int route) {
    QWidget* first = nullptr;
    switch (route) {
        case 0: first = chk_Sech[0]; break;
        case 1:
        case 2:
        case 3: first = cmd_Sech[route]; break;
        case 4: first = txt_FigNo[0]; break;
        case 5: first = txt_PNm; break;
        case 6: first = txt_PNo[0]; break;
        case 7: first = txt_Grp; break;
        case 8: first = txt_KeyWord; break;
        default: return;
    }
    first->setFocus(Qt::OtherFocusReason);
}

void Krot::KROT_Mark_Route(int route, int on) {
    if (route < 0 || route >= kRoutes) return;
    const QColor colour = on == 1 ? kMarked : QApplication::palette().color(QPalette::Button);
    if (route == 0)
        for (auto* c : chk_Sech) paint_background(c, colour);
    paint_background(fra_Route[route], colour);
}

int16_t Krot::help_message(int route) const {
    if (route == 0) {
        for (auto* c : chk_Sech)
            if (c->isChecked()) return kMsgSomeGroup;
        return kMsgNoGroup;
    }
    return kHelp[route];
}

void Krot::input_focus(QObject* input, bool got) {
    const int r = route_of(input);
    if (r < 0) return;
    auto* check = qobject_cast<QCheckBox*>(input);
    if (!got) {
        KROT_Mark_Route(r, 0);
        if (check != nullptr) {
            QPalette pal = check->palette();
            pal.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::ButtonText));
            check->setPalette(pal);
        }
        return;
    }
    CurRoute = static_cast<int16_t>(r);
    KROT_Mark_Route(r, 1);
    if (check != nullptr) {
        QPalette pal = check->palette();
        pal.setColor(QPalette::WindowText, kFocusText);
        check->setPalette(pal);
    }
    msg(PendingMsg != 0 ? PendingMsg : help_message(r));
    PendingMsg = 0;
}

void Krot::figure_groups_changed() { msg(help_message(0)); }

bool Krot::eventFilter(QObject* watched, QEvent* event) {
    if (!loaded()) return false;
    switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            run(event->type() == QEvent::FocusIn ? "GotFocus" : "LostFocus",
                [&] { input_focus(watched, event->type() == QEvent::FocusIn); });
            return false;
        case QEvent::KeyPress: {
            bool consumed = false;
            run("KeyPress", [&] { consumed = input_key_press(watched, static_cast<QKeyEvent*>(event)); });
            return consumed;
        }
        case QEvent::KeyRelease:
            run("KeyUp", [&] { input_key_release(watched, static_cast<QKeyEvent*>(event)); });
            return false;
        case QEvent::MouseButtonPress:
            for (int r = 0; r < kRoutes; ++r)
                if (watched == fra_Route[r]) {
                    run("fra_Route_Click", [&] {
                        CurRoute = static_cast<int16_t>(r);
                        KROT_Set_Focus(r);
                    });
                }
            return false;
        default: return false;
    }
}

bool Krot::input_key_press(QObject* input, QKeyEvent* event) {
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return false;
    // The check boxes: Enter turns the box over and moves on, 3 back to 0.
    for (int i = 0; i < 4; ++i) {
        if (input != chk_Sech[i]) continue;
        if (!enter) return false;
        chk_Sech[i]->setChecked(!chk_Sech[i]->isChecked());
        chk_Sech[(i + 1) % 4]->setFocus(Qt::TabFocusReason);
        return true;
    }
    // The route buttons: Enter runs the current route.
    for (int r = 1; r <= 3; ++r) {
        if (input != cmd_Sech[r]) continue;
        if (!enter) return false;
        MenuVar_Exec();
        return true;
    }
    auto* box = qobject_cast<QLineEdit*>(input);
    if (box == nullptr) return false;
    if (enter) {
        if (box == txt_FigNo[0])
            txt_FigNo[1]->setFocus(Qt::TabFocusReason);
        else if (box == txt_PNo[0])
            txt_PNo[1]->setFocus(Qt::TabFocusReason);
        else
            MenuVar_Exec();
        return true;
    }
    // Keys that type no character (moves, Tab, Delete) are the box's own.
    const QString text = event->text();
    if (key == Qt::Key_Backspace || text.isEmpty()) return false;
    const QChar c = text[0];
    const Accepts accepts = box == txt_KeyWord ? Accepts::kKeyword : box == txt_Grp ? Accepts::kGroup : Accepts::kCode;
    if (is_small(c)) {
        box->insert(QString(c.toUpper()));
        return true;
    }
    bool taken = false;
    switch (accepts) {
        case Accepts::kCode: taken = is_digit(c) || is_letter(c); break;
        case Accepts::kGroup: taken = is_digit(c) || is_letter(c) || c == ' '; break;
        case Accepts::kKeyword: taken = c.unicode() >= 32; break;
    }
    if (taken) return false;
    Beep();
    return true;
}

void Krot::input_key_release(QObject* input, QKeyEvent* event) {
    const int key = event->key();
    const bool moves = (key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z) ||
                       key == Qt::Key_Backspace || key == Qt::Key_Left || key == Qt::Key_Right;
    if (!moves) return;
    auto* box = qobject_cast<QLineEdit*>(input);
    if (box == nullptr) return;
    struct Hop {
        QLineEdit* from;
        int at;
        QLineEdit* to;
        int caret;
    };
    const Hop hops[] = {
        {txt_FigNo[0], 2, txt_FigNo[1], 0}, {txt_FigNo[1], 0, txt_FigNo[0], 2}, {txt_PNo[0], 5, txt_PNo[1], 0},
        {txt_PNo[1], 0, txt_PNo[0], 5},     {txt_PNo[1], 5, txt_PNo[2], 0},     {txt_PNo[2], 0, txt_PNo[1], 5},
    };
    for (const Hop& h : hops) {
        if (h.from != box || box->cursorPosition() != h.at) continue;
        h.to->setFocus(Qt::TabFocusReason);
        h.to->setCursorPosition(h.caret);
        return;
    }
}

void Krot::on_function_key(int n) {
    switch (n) {
        case 1: ShowHelp(*this); break;
        case 3: go_back(); break;
        case 4: go_menu(); break;
        case 6: HardCopy(*this, lbl_Msg); break;
        case 10: MenuVar_Exec(); break;
        case 11: KROT_Clear(); break;
        default: break;
    }
}

void Krot::KROT_Clear() {
    for (auto* c : chk_Sech) c->setChecked(false);
    txt_Grp->clear();
    txt_KeyWord->clear();
    txt_PNm->clear();
    for (auto* b : txt_PNo) b->clear();
    for (auto* b : txt_FigNo) b->clear();
    PendingMsg = 0;
    KROT_Set_Focus(CurRoute);
}

PX_FORM(Krot);

}  // namespace px::search
