// The vehicle screen: layout, load and display, input areas and events, and
// the function keys.
#include "vehicle/vjin.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QToolButton>

#include "platform/clock.h"
#include "shell/codepage.h"
#include "shell/field_box.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/stack.h"
#include "shell/updown.h"
#include "shell/vehicle_header.h"
#include "vehicle/pxvjin_entries.h"

namespace px {

namespace {

constexpr int16_t kMsgGuide = 100;
constexpr int16_t kMsgSystemError = 999;

// Positions are given in twips, as the screen was drawn: 15 to a pixel.
int tw(int twips) { return twips / 15; }
void place(QWidget* w, int x, int y, int width, int height) { w->setGeometry(tw(x), tw(y), tw(width), tw(height)); }

// A screen text in its fixed-width field: cut to the width, padded with
// blanks.
QString field(int32_t no, int len) { return ScrText(no, len).leftJustified(len, ' ', true); }
QString caption(int32_t no, int len) { return field(no, len).trimmed(); }

// A getter's text: the whole field as the engine filled it.
QString got(Declared<int32_t(VbString*)>& getter, int width) {
    std::string buf(static_cast<size_t>(width), ' ');
    VbString s{buf.data(), width};
    getter(&s);
    return field_text(buf.data(), buf.size());
}

// A box feeding a field of the engine: what it takes fits the field's bytes
// in the code page.
QLineEdit* text_box(QWidget* parent, const char* name, int field_bytes) {
    auto* t = new QLineEdit(parent);
    t->setObjectName(name);
    limit_to_field(t, field_bytes);
    return t;
}

}  // namespace

Vjin::Vjin() : Form(kName) { build(); }

void Vjin::build() {
    setFixedSize(tw(15255), tw(10740));
    set_placement(Placement::Centred);
    lbl_Input = new QLabel(this);
    lbl_Input->setObjectName("lbl_Input");
    QFont title = lbl_Input->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.3);
    lbl_Input->setFont(title);
    place(lbl_Input, 600, 150, 14000, 400);

    // Input areas: left, top, width, height.
    const int rects[11][4] = {
        {600, 600, 4695, 1335},   {5400, 600, 5175, 1335},  {600, 2100, 4695, 1035},  {5400, 2100, 5175, 1035},
        {10680, 2100, 3195, 1035}, {10680, 3300, 3195, 915}, {10680, 4320, 3195, 915}, {600, 5340, 7155, 915},
        {8100, 5340, 5775, 915},  {10980, 600, 3195, 975},  {600, 3300, 9975, 1935},
    };
    for (int i = 0; i < 11; ++i) {
        auto* f = new QGroupBox(this);
        f->setObjectName(QString("fra_Input_%1").arg(i));
        f->setAutoFillBackground(true);
        place(f, rects[i][0], rects[i][1], rects[i][2], rects[i][3]);
        f->installEventFilter(this);
        fra_Input[static_cast<size_t>(i)] = f;
    }
    auto search = [&](int n, QWidget* parent, int x, int y) {
        auto* b = new QPushButton(parent);
        b->setObjectName(QString("cmd_Search_%1").arg(n));
        b->setFocusPolicy(Qt::StrongFocus);
        place(b, x, y, 900, 375);
        paint_button(b, false);
        connect(b, &QPushButton::clicked, this, [this, n] { run("cmd_Search_Click", [&] { VJIN_Check(n); }); });
        cmd_Search[static_cast<size_t>(n)] = b;
    };
    txt_Vin = text_box(fra_Input[0], "txt_Vin", 17);
    place(txt_Vin, 150, 450, 3300, 375);
    search(0, fra_Input[0], 3600, 450);
    txt_Catalog = text_box(fra_Input[1], "txt_Catalog", 15);
    place(txt_Catalog, 150, 450, 3700, 375);
    search(1, fra_Input[1], 4050, 450);
    lbl_Modelname = new QLabel(fra_Input[1]);
    lbl_Modelname->setObjectName("lbl_Modelname");
    lbl_Modelname->setTextFormat(Qt::PlainText);
    lbl_Modelname->installEventFilter(this);
    place(lbl_Modelname, 150, 900, 4900, 330);
    txt_Model = text_box(fra_Input[2], "txt_Model", 20);
    place(txt_Model, 150, 450, 3300, 375);
    search(2, fra_Input[2], 3600, 450);
    txt_FrameMod = text_box(fra_Input[3], "txt_FrameMod", 7);
    place(txt_FrameMod, 150, 450, 1500, 375);
    txt_FrameNo = text_box(fra_Input[3], "txt_FrameNo", 7);
    place(txt_FrameNo, 1800, 450, 1500, 375);
    search(3, fra_Input[3], 4050, 450);
    txt_Pdate1 = text_box(fra_Input[4], "txt_Pdate1", 4);
    place(txt_Pdate1, 150, 450, 900, 375);
    txt_Pdate2 = text_box(fra_Input[4], "txt_Pdate2", 2);
    place(txt_Pdate2, 1600, 450, 600, 375);
    for (int i = 0; i < 2; ++i) {
        auto* u = new UpDown(fra_Input[4]);
        u->setObjectName(QString("upd_Pdate_%1").arg(i));
        place(u, i == 0 ? 1080 : 2230, 450, 300, 375);
        u->on_up_click = [this, i] { run("upd_Pdate_UpClick", [&] { step_date(i, +1); }); };
        u->on_down_click = [this, i] { run("upd_Pdate_DownClick", [&] { step_date(i, -1); }); };
        u->set_tab_stop(true);  // in the screen's tab order between the date boxes
        upd_Pdate[static_cast<size_t>(i)] = u;
    }
    txt_Color = text_box(fra_Input[5], "txt_Color", 3);
    place(txt_Color, 150, 400, 900, 375);
    txt_Trim = text_box(fra_Input[6], "txt_Trim", 4);
    place(txt_Trim, 150, 400, 1100, 375);
    txt_Notes = text_box(fra_Input[8], "txt_Notes", 30);
    place(txt_Notes, 150, 400, 5400, 375);
    // Only digits in the date, letters and digits in colour and trim; other
    // characters are dropped as they are typed. Each of them is one byte in
    // every code page, so the box's length is the field's.
    auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);
    auto* alnum = new QRegularExpressionValidator(QRegularExpression("[0-9A-Za-z]*"), this);
    txt_Pdate1->setValidator(digits);
    txt_Pdate2->setValidator(digits);
    txt_Color->setValidator(alnum);
    txt_Trim->setValidator(alnum);

    for (int i = 0; i <= 5; ++i) {
        auto* o = new QRadioButton(fra_Input[7]);
        o->setObjectName(QString("opt_Lang_%1").arg(i));
        o->installEventFilter(this);
        opt_Lang[static_cast<size_t>(i)] = o;
    }
    opt_Lang[0]->hide();  // the choice of no language the engine names
    opt_Lang[2]->hide();  // never shown
    opt_Lang[0]->setFocusPolicy(Qt::NoFocus);
    opt_Lang[2]->setFocusPolicy(Qt::NoFocus);
    int x = 150;
    for (int i : {1, 3, 4, 5}) {
        place(opt_Lang[static_cast<size_t>(i)], x, 400, 1700, 375);
        x += 1700;
    }
    for (int i = 0; i < 2; ++i) {
        auto* b = new QPushButton(fra_Input[9]);
        b->setObjectName(QString("cmd_Vinfo_%1").arg(i));
        b->setFocusPolicy(Qt::StrongFocus);
        place(b, 150 + 1450 * i, 400, 1400, 420);
        paint_button(b, false);
        connect(b, &QPushButton::clicked, this, [this, i] { run("cmd_Vinfo_Click", [&] { cmd_Vinfo_Click(i); }); });
        cmd_Vinfo[static_cast<size_t>(i)] = b;
    }

    // The characteristics: the engine at the left, then 3 rows of 7.
    auto label = [&](const char* name, int x0, int y0, int w) {
        auto* l = new QLabel(fra_Input[10]);
        l->setObjectName(name);
        l->setTextFormat(Qt::PlainText);
        place(l, x0, y0, w, 330);
        return l;
    };
    lbl_Engine = label("lbl_Engine", 150, 300, 1300);
    lbl_MEngin = label("lbl_MEngin", 150, 700, 1300);
    lbl_MEngin->setFrameShape(QFrame::Panel);
    lbl_MEngin->setFrameShadow(QFrame::Sunken);
    const int col0 = 1550, colw = 1180;
    lbl_Body = label("lbl_Body", col0, 300, 1100);
    lbl_Grade = label("lbl_Grade", col0 + colw, 300, 1100);
    lbl_ATMMTM = label("lbl_ATMMTM", col0 + 2 * colw, 300, 1100);
    lbl_Trans = label("lbl_Trans", col0 + 3 * colw, 300, 2300);
    QFont fixed("Courier New");
    fixed.setStyleHint(QFont::TypeWriter);
    for (int i = 0; i < 21; ++i) {
        QLabel* l = label(QString("lbl_Mchar_%1").arg(i).toLatin1().constData(), col0 + (i % 7) * colw,
                          700 + (i / 7) * 400, 1100);
        l->setFont(fixed);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        lbl_Mchar[static_cast<size_t>(i)] = l;
    }
    lbl_MEngin->setFont(fixed);
    lbl_Modelname->setFont(fixed);

    QWidget* keys = make_key_bar({1, 2, 3, 4, 6, 10, 11, 12});
    place(keys, 600, 6600, 13275, 500);
    QLabel* msg = make_message_line();
    place(msg, 600, 7300, 13275, 600);

    for (QLineEdit* t : {txt_Vin, txt_Catalog, txt_Model, txt_FrameMod, txt_FrameNo, txt_Pdate1, txt_Pdate2, txt_Color,
                         txt_Trim, txt_Notes})
        t->installEventFilter(this);

    // The order of the screen.
    QList<QWidget*> order = {txt_Vin,      cmd_Search[0], txt_Catalog, cmd_Search[1], txt_Model,  cmd_Search[2],
                             txt_FrameMod, txt_FrameNo,   cmd_Search[3], txt_Pdate1,  upd_Pdate[0], txt_Pdate2,
                             upd_Pdate[1], txt_Color,     txt_Trim,    opt_Lang[1],   opt_Lang[3], opt_Lang[4],
                             opt_Lang[5],  txt_Notes,     cmd_Vinfo[0], cmd_Vinfo[1]};
    for (int n : {1, 2, 3, 4, 6, 10, 11, 12}) order.push_back(cmd_PF(n));
    for (int i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
}

// --- load and display --------------------------------------------------------

void Vjin::on_load() {
    setWindowTitle(caption(1100, 40));
    lbl_Input->setText(field(1100, 40));
    const int area_texts[11][2] = {{1101, 27}, {1102, 27}, {1103, 27}, {1104, 27}, {1111, 30}, {1112, 20},
                                   {1113, 24}, {1114, 20}, {1119, 20}, {1121, 25}, {1105, 27}};
    for (int i = 0; i < 11; ++i) fra_Input[static_cast<size_t>(i)]->setTitle(caption(area_texts[i][0], area_texts[i][1]));
    lbl_Engine->setText(caption(1106, 10));
    lbl_Body->setText(caption(1107, 6));
    lbl_Grade->setText(caption(1108, 6));
    lbl_ATMMTM->setText(caption(1109, 7));
    lbl_Trans->setText(caption(1110, 20));
    opt_Lang[1]->setText(caption(1115, 20));
    opt_Lang[3]->setText(caption(1116, 20));
    opt_Lang[4]->setText(caption(1117, 20));
    opt_Lang[5]->setText(caption(1118, 20));
    for (QPushButton* b : cmd_Search) b->setText(caption(1120, 8));
    cmd_Vinfo[0]->setText(caption(1122, 7));
    cmd_Vinfo[1]->setText(caption(1123, 7));
    load_failed = 0;
    if (lib::vjin::clear() != 0) {
        load_failed = 1;
        return;
    }
    VJIN_Set_Areas();
    DispMsg(kMsgGuide, lbl_Msg);
    VJIN_Set_Keys();
    VJIN_Set_Lang();
    if (lib::vjin::init() != 0) {
        load_failed = 1;
        return;
    }
    VjinShowFields(3);
    // The clear above emptied the vehicle that init brought back: the detail
    // areas and F12 follow the vehicle as it now stands.
    VJIN_Set_Areas();
    VJIN_Set_Keys();
}

void Vjin::on_activate() {
    if (load_failed != 1 || unloading_ || failure_shown_) return;
    // Once (the dialog's closing activates the screen again), and after the
    // opening screen has finished opening this one: its own hiding must not
    // come after the return to the menu.
    failure_shown_ = true;
    QTimer::singleShot(0, this, [this] {
        run("Form_Activate", [this] {
            if (!loaded() || unloading_) return;
            DispMsg(kMsgSystemError, lbl_Msg);
            Beep();
            ShowErrorDialog(*this);
            if (loaded() && !unloading_) VJIN_Menu();
        });
    });
}

void Vjin::VJIN_Set_Keys() {
    const int keys[8][3] = {{1, 200, 8},  {2, 228, 9},  {3, 202, 8},  {4, 203, 8},
                            {6, 205, 8},  {10, 209, 8}, {11, 210, 8}, {12, 227, 8}};
    for (const auto& k : keys) cmd_PF(k[0])->setText(field(k[1], k[2]));
    for (int n : {1, 2, 3, 4, 6, 10, 11}) cmd_PF(n)->setVisible(true);
    bool detail = lib::vjin::check_inputarea() != 0;
    cmd_PF(12)->setVisible(detail);
    cmd_PF(12)->setEnabled(detail);
}

void Vjin::VjinShowFields(int16_t mode) {
    if (mode < 1 || mode > 3) return;
    namespace v = lib::vjin;
    txt_Vin->setText(got(v::disp_vin, 17).trimmed());
    if (mode == 1) return;
    txt_Catalog->setText(got(v::disp_cat, 15).trimmed());
    QString name = got(v::disp_nam, 20), from = got(v::disp_pdf, 4), to = got(v::disp_pdt, 4);
    lbl_Modelname->setText("(" + from + "-" + to + " " + name + ")");
    txt_Model->setText(got(v::disp_mod, 20).trimmed());
    txt_FrameMod->setText(got(v::disp_fmod, 7).trimmed());
    txt_FrameNo->setText(got(v::disp_fno, 7).trimmed());
    lbl_MEngin->setText(got(v::disp_char1, 10).trimmed());
    for (int i = 0; i < 21; ++i) {
        std::string buf(5, ' ');
        VbString s{buf.data(), 5};
        v::disp_char2(static_cast<int16_t>(i), &s);
        lbl_Mchar[static_cast<size_t>(i)]->setText(field_text(buf.data(), buf.size()));
    }
    QString ad = got(v::disp_ad, 6);
    txt_Pdate1->setText(ad.left(4).trimmed());
    txt_Pdate2->setText(ad.mid(4, 2).trimmed());
    if (mode == 2) return;
    txt_Color->setText(got(v::disp_clr, 3).trimmed());
    txt_Trim->setText(got(v::disp_trm, 4).trimmed());
    txt_Notes->setText(got(v::disp_not, 30).trimmed());
}

void Vjin::refresh(int16_t mode) {
    VJIN_Set_Areas();
    VJIN_Set_Keys();
    VjinShowFields(mode);
}

// --- areas and events ------------------------------------------------------------

void Vjin::VJIN_Set_Areas() {
    bool on = lib::vjin::check_inputarea() != 0;
    for (int i = 4; i <= 8; ++i) fra_Input[static_cast<size_t>(i)]->setEnabled(on);
}

void Vjin::VJIN_Set_Lang() {
    int32_t c = lib::vjin::check_lang();
    bool known = c == 1 || c == 3 || c == 4 || c == 5;
    opt_Lang[static_cast<size_t>(known ? c : 0)]->setChecked(true);
}

void Vjin::VJIN_Keys_Off() {
    for (int n : {1, 2, 3, 10, 11, 12}) {
        cmd_PF(n)->setVisible(false);
        cmd_PF(n)->setEnabled(false);
    }
    for (int n : {4, 6}) {
        cmd_PF(n)->setVisible(true);
        cmd_PF(n)->setEnabled(true);
    }
}

void Vjin::VJIN_Focus_Area(int16_t area) {
    QWidget* target[10] = {txt_Vin,    txt_Catalog, txt_Model, txt_FrameMod, txt_Pdate1,
                           txt_Color,  txt_Trim,    nullptr,   txt_Notes,    cmd_Vinfo[0]};
    if (area < 0 || area > 9 || target[area] == nullptr) return;
    target[area]->setFocus(Qt::OtherFocusReason);
}

void Vjin::VJIN_Mark_Area(int16_t area, int16_t state) {
    if (area < 0 || area > 10) return;
    QColor c = state == 1 ? QColor(224, 224, 224) : palette().color(QPalette::Button);
    auto colour = [&](QWidget* w) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, c);
        w->setPalette(p);
        w->setAutoFillBackground(true);
    };
    colour(fra_Input[static_cast<size_t>(area)]);
    if (area == 7)
        for (int i = 1; i <= 5; ++i) colour(opt_Lang[static_cast<size_t>(i)]);
}

int16_t Vjin::area_of(QObject* obj) const {
    if (obj == txt_Vin) return 0;
    if (obj == txt_Catalog) return 1;
    if (obj == txt_Model) return 2;
    if (obj == txt_FrameMod || obj == txt_FrameNo) return 3;
    if (obj == txt_Pdate1 || obj == txt_Pdate2) return 4;
    if (obj == txt_Color) return 5;
    if (obj == txt_Trim) return 6;
    if (obj == txt_Notes) return 8;
    return -1;
}

bool Vjin::eventFilter(QObject* obj, QEvent* event) {
    if (!loaded() || unloading_) return false;
    const QEvent::Type t = event->type();
    if (t == QEvent::MouseButtonPress) {
        for (int i = 0; i < 11; ++i)
            if (obj == fra_Input[static_cast<size_t>(i)]) {
                run("fra_Input_Click", [&] { VJIN_Focus_Area(static_cast<int16_t>(i)); });
                return false;
            }
        if (obj == lbl_Modelname) run("lbl_Modelname_Click", [&] { VJIN_Focus_Area(1); });
    }
    return false;
}

void Vjin::on_focus(QWidget* control, bool in) {
    if (unloading_) return;
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
        box_focus(box, in);
        return;
    }
    for (int i : {1, 3, 4, 5})
        if (control == opt_Lang[static_cast<size_t>(i)]) {
            VJIN_Mark_Area(7, in ? 1 : 2);
            if (in) lib::vjin::change_lang(static_cast<int16_t>(i));
            QPalette p = opt_Lang[static_cast<size_t>(i)]->palette();
            p.setColor(QPalette::WindowText, in ? QColor(0, 0, 192) : palette().color(QPalette::ButtonText));
            opt_Lang[static_cast<size_t>(i)]->setPalette(p);
            return;
        }
}

void Vjin::box_focus(QLineEdit* box, bool got) {
    int16_t area = area_of(box);
    if (got) {
        VJIN_Mark_Area(area, 1);
        if (box == txt_FrameMod || box == txt_FrameNo) frame_area = 1;
        return;
    }
    if (box == txt_Notes) VJIN_Check_Notes();
    VJIN_Mark_Area(area, 2);
    if (box == txt_FrameMod || box == txt_FrameNo) frame_area = 0;
}

void Vjin::on_button_focus(QPushButton* button, bool got) {
    for (int i = 0; i < 4; ++i)
        if (button == cmd_Search[static_cast<size_t>(i)]) VJIN_Mark_Area(static_cast<int16_t>(i), got ? 1 : 2);
    if (button == cmd_Vinfo[0] || button == cmd_Vinfo[1]) VJIN_Mark_Area(9, got ? 1 : 2);
}

void Vjin::focus(QLineEdit* box) { box->setFocus(Qt::OtherFocusReason); }

// --- keys ------------------------------------------------------------------------

bool Vjin::on_key_down(int key_code) {
    if (key_code >= kKeyF1 && key_code <= kKeyF12) {
        VjinKeyDispatch(key_code);
        return true;
    }
    auto* box = qobject_cast<QLineEdit*>(focusWidget());
    if (box == nullptr || area_of(box) < 0) return false;
    return box_key(box, key_code);
}

void Vjin::on_pf_click(int n) {
    if (n == 1 || n == 2 || n == 3 || n == 4 || n == 6 || n == 10 || n == 11 || n == 12) VjinKeyDispatch(111 + n);
}

void Vjin::VjinKeyDispatch(int key_code) {
    switch (key_code) {
        case 112: VJIN_Help(); break;
        case 113:
            if (cmd_PF(2)->isEnabled()) VJIN_Select_Saved();
            break;
        case 114: VJIN_Back(); break;
        case 115: VJIN_Menu(); break;
        case 117: VJIN_Hard_Copy(); break;
        case 121: VJIN_Exec(); break;
        case 122:
            if (cmd_PF(11)->isEnabled()) VJIN_Clear();
            break;
        case 123: VJIN_Vehicle_Info(); break;
        default: break;
    }
}

void Vjin::on_close_request() {
    // Closed by the window system: as F3, and as F4 where F3 may not leave.
    VJIN_Back();
    if (loaded() && !unloading_) VJIN_Menu();
}

void Vjin::failure_path() {
    DispMsg(kMsgSystemError, lbl_Msg);
    Beep();
    ShowErrorDialog(*this);
    if (loaded() && !unloading_) VJIN_Menu();
}

void Vjin::VJIN_Help() {
    DispMsg(kMsgGuide, lbl_Msg);
    if (cmd_PF(1)->isEnabled()) ShowHelp(*this);
}

void Vjin::VJIN_Select_Saved() {
    int32_t r = lib::vjin::select();
    if (r == 1) {
        DispMsg(876, lbl_Msg);
        Beep();
        return;
    }
    if (r != 0) return failure_path();
    refresh(3);
    if (lib::vjin::fsel_init() != 0) return failure_path();
    // The saved-vehicle list comes with its own part of the program.
    if (!form_exists("Fsel")) return;
    SetHourglass();
    show_modal(load_form("Fsel"));
    if (Form* still = loaded_form("Fsel")) unload_form(*still);
    update();
    SetDefaultPointer();
    VJIN_Ret_Fsel();
}

void Vjin::VJIN_Back() {
    if (lib::vjin::back() == 0) {
        unloading_ = true;
        ScrBackToMenu();
        unload_form(*this);
        return;
    }
    VJIN_Keys_Off();
}

void Vjin::VJIN_Menu() {
    unloading_ = true;
    lib::vjin::back();
    ScrBackToMenu();
    unload_form(*this);
}

void Vjin::VJIN_Hard_Copy() { HardCopy(*this, lbl_Msg); }

void Vjin::VJIN_Exec() {
    if (frame_area == 1) VJIN_Check_Frame();
    if (!loaded() || unloading_) return;
    if (frame_area != 0) {
        focus(txt_FrameNo);
        Beep();
        return;
    }
    int32_t r = lib::vjin::exec();
    if (r == 0) {
        DispMsg(kMsgGuide, lbl_Msg);
        Beep();
        return;
    }
    if (r != 1) return failure_path();
    VJIN_Check_Date();
    VJIN_Check_Color();
    VJIN_Check_Trim();
    VJIN_Check_Notes();
    if (!loaded() || unloading_) return;
    // The search routes come with their own part of the program.
    if (!form_exists("Krot")) {
        DispMsg(kMsgGuide, lbl_Msg);
        return;
    }
    unloading_ = true;
    ScrPush(load_form("Krot"));
    unload_form(*this);
}

void Vjin::VJIN_Clear() {
    if (lib::vjin::clear() != 0) return failure_path();
    VjinShowFields(3);
    VJIN_Set_Lang();
    VJIN_Set_Keys();
    VJIN_Set_Areas();
    DispMsg(kMsgGuide, lbl_Msg);
    focus(txt_Vin);
}

void Vjin::VJIN_Vehicle_Info() {
    DispMsg(kMsgGuide, lbl_Msg);
    if (!cmd_PF(12)->isEnabled()) return;
    if (lib::vjin::vinf_make() != 0) return failure_path();
    if (ShowVehicleInfoDialog(*this) != 0) failure_path();
}

PX_FORM(Vjin);

}  // namespace px
