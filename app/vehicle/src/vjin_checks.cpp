// The vehicle screen's field checks, the stepping of the production date,
// and what Enter and the arrow keys do in each box.
#include <cstring>

#include <QLabel>
#include <QLineEdit>

#include "platform/clock.h"
#include "shell/codepage.h"
#include "shell/field_box.h"
#include "shell/messages.h"
#include "shell/seams.h"
#include "vehicle/pxvjin_entries.h"
#include "vehicle/vjin.h"

namespace px {

namespace {

constexpr int16_t kMsgGuide = 100;
constexpr int16_t kMsgChecking = 700;
constexpr int16_t kMsgRefused = 860;

// Upper case, then no trailing blanks, both written back to the box.
QString tidy(QLineEdit* box) {
    QString t = ansi_upper(box->text());
    box->setText(t);
    qsizetype n = t.size();
    while (n > 0 && t[n - 1] == ' ') --n;
    t.truncate(n);
    box->setText(t);
    return t;
}

// The text in a fixed string of n bytes, blank-padded (the boxes take no
// more than their field: a longer text would be cut at a character).
std::string fixed(const QString& text, size_t n) {
    std::string s = ansi_cut(to_ansi(text), n);
    s.resize(n, ' ');
    return s;
}

int16_t trimmed_length(const std::string& s) {
    size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ') --n;
    return static_cast<int16_t>(n);
}

// Hands a fixed string to a check; the string keeps what the engine left.
int32_t call(Declared<int32_t(int16_t, VbString*)>& check, std::string& s, int16_t len) {
    VbString v{s.data(), static_cast<int32_t>(s.size())};
    return check(len, &v);
}

}  // namespace

void Vjin::guide() {
    int16_t m = lib::vjin::check_msgid();
    if (m == 0) {
        DispMsg(kMsgGuide, lbl_Msg);
        return;
    }
    DispMsg(m, lbl_Msg);
    Beep();
}

void Vjin::refusal(int16_t fallback) {
    int16_t m = lib::vjin::check_msgid();
    DispMsg(m != 0 ? m : fallback, lbl_Msg);
    Beep();
}

void Vjin::VJIN_Check(int n) {
    switch (n) {
        case 0: VJIN_Check_Vin(); break;
        case 1: VJIN_Check_Catalog(); break;
        case 2: VJIN_Check_Model(); break;
        case 3: VJIN_Check_Frame(); break;
        case 4: VJIN_Check_Date(); break;
        case 5: VJIN_Check_Color(); break;
        case 6: VJIN_Check_Trim(); break;
        case 7: VJIN_Check_Notes(); break;
        default: break;
    }
}

void Vjin::VJIN_Check_Vin() {
    vin_ = fixed(tidy(txt_Vin), 17);
    int16_t len = trimmed_length(vin_);
    DispMsg(kMsgChecking, lbl_Msg);
    int32_t r = call(lib::vjin::check_input_vin, vin_, len);
    switch (r) {
        case 0: guide(); focus(txt_Catalog); break;
        case 1: DispMsg(854, lbl_Msg); Beep(); focus(txt_Vin); break;
        case 2: DispMsg(808, lbl_Msg); Beep(); focus(txt_Vin); break;
        case 4: refusal(); focus(txt_Vin); break;
        case 8: guide(); refresh(2); VJIN_Check_Frame(); break;
        case 16: guide(); refresh(2); focus(txt_FrameNo); break;
        case 32: guide(); refresh(3); focus(txt_Pdate1); break;
        case 99: VJIN_Menu(); break;
        default: failure_path(); break;
    }
}

void Vjin::VJIN_Check_Catalog() {
    QString t = tidy(txt_Catalog);
    catalog_ = fixed(t.isEmpty() ? QString("ALL") : t, 15);
    int16_t len = t.isEmpty() ? 3 : trimmed_length(catalog_);
    DispMsg(kMsgChecking, lbl_Msg);
    int32_t r = call(lib::vjin::check_input_cat, catalog_, len);
    switch (r) {
        case 0: guide(); focus(txt_Model); break;
        case 1: SetHourglass(); sub_origin = 1; VJIN_Open_Vcat(); break;
        case 4: refusal(); focus(txt_Catalog); break;
        case 8: refresh(2); guide(); focus(txt_FrameNo); break;
        case 16: refresh(2); guide(); focus(txt_Model); break;
        default: failure_path(); break;
    }
}

void Vjin::VJIN_Check_Model() {
    QString t = tidy(txt_Model);
    model_ = fixed(t.isEmpty() ? QString("ALL") : t, 20);
    int16_t len = t.isEmpty() ? 3 : trimmed_length(model_);
    DispMsg(kMsgChecking, lbl_Msg);
    int32_t r = call(lib::vjin::check_input_model, model_, len);
    switch (r) {
        case 0:
            guide();
            focus(txt_Catalog->text().trimmed().isEmpty() ? txt_FrameMod : txt_Pdate1);
            break;
        case 1: guide(); focus(txt_Pdate1); break;
        case 2: SetHourglass(); sub_origin = 2; VJIN_Open_Vkei(); break;
        case 4: refusal(); focus(txt_Model); break;
        case 8: refresh(2); guide(); focus(txt_FrameNo); break;
        default: failure_path(); break;
    }
}

void Vjin::VJIN_Check_Frame() {
    frame_model_ = fixed(tidy(txt_FrameMod), 7);
    frame_no_ = fixed(tidy(txt_FrameNo), 7);
    frame_area = 0;
    DispMsg(kMsgChecking, lbl_Msg);
    VbString m{frame_model_.data(), 7}, n{frame_no_.data(), 7};
    int32_t r = lib::vjin::check_input_frameno(trimmed_length(frame_model_), &m, trimmed_length(frame_no_), &n);
    auto message_a = [&] {
        int16_t id = lib::vjin::check_msgid();
        DispMsg(id != 0 ? id : kMsgGuide, lbl_Msg);
    };
    switch (r) {
        case 0: DispMsg(kMsgGuide, lbl_Msg); focus(txt_Pdate1); break;
        case 1: sub_origin = 3; VJIN_Open_Vcat(); break;
        case 2: sub_origin = 3; VJIN_Open_Vkei(); break;
        case 4: refusal(); focus(txt_FrameNo); frame_area = 1; break;
        case 8: message_a(); refresh(3); focus(txt_Color); break;
        case 16:
        case 32: message_a(); refresh(3); focus(txt_Pdate1); break;
        case 99: VJIN_Menu(); break;
        default: failure_path(); frame_area = 1; break;
    }
}

void Vjin::VJIN_Check_Date() {
    QString year = tidy(txt_Pdate1), month = tidy(txt_Pdate2);
    date_ = fixed(year + month, 6);
    int16_t len = trimmed_length(date_);
    DispMsg(kMsgChecking, lbl_Msg);
    int32_t r = call(lib::vjin::check_input_date, date_, len);
    if (r == 0 || r == 1) {
        DispMsg(kMsgGuide, lbl_Msg);
        focus(txt_Color);
    } else if (r == 4) {
        DispMsg(kMsgRefused, lbl_Msg);
        Beep();
        focus(txt_Pdate1);
    } else {
        failure_path();
    }
}

void Vjin::VJIN_Check_Color() {
    std::string s = fixed(tidy(txt_Color), 3);
    DispMsg(kMsgChecking, lbl_Msg);
    int32_t r = call(lib::vjin::check_input_col, s, trimmed_length(s));
    if (r == 0) {
        DispMsg(kMsgGuide, lbl_Msg);
        focus(txt_Trim);
    } else if (r == 4) {
        DispMsg(kMsgRefused, lbl_Msg);
        Beep();
        focus(txt_Color);
    }
}

void Vjin::VJIN_Check_Trim() {
    std::string s = fixed(tidy(txt_Trim), 4);
    DispMsg(kMsgChecking, lbl_Msg);
    int32_t r = call(lib::vjin::check_input_trim, s, trimmed_length(s));
    if (r == 0) {
        DispMsg(kMsgGuide, lbl_Msg);
        focus(txt_Notes);
    } else if (r == 4) {
        DispMsg(kMsgRefused, lbl_Msg);
        Beep();
        focus(txt_Trim);
    }
}

void Vjin::VJIN_Check_Notes() {
    std::string s = fixed(tidy(txt_Notes), 30);
    call(lib::vjin::check_input_note, s, trimmed_length(s));
    DispMsg(kMsgGuide, lbl_Msg);
    VjinShowFields(3);
}

QString Vjin::VJIN_Step_Month(const QString& text, int step) {
    QString t = text.trimmed();
    int start = t.isEmpty() ? plat::local_now().tm_mon + 1 : t.toInt();
    int m = start + step;
    if (m == 13 && step == 1) m = 1;
    else if (m == 0 && step == -1) m = 12;
    if (m < 1 || m > 12) return {};
    return QString("%1").arg(m, 2, 10, QChar('0'));
}

QString Vjin::VJIN_Step_Year(const QString& text, int step) {
    QString t = text.trimmed();
    // The leading digits count; none count as 0.
    int start = 0;
    if (t.isEmpty()) {
        start = plat::local_now().tm_year + 1900;
    } else {
        qsizetype n = 0;
        while (n < t.size() && t[n].isDigit()) ++n;
        start = n == 0 ? 0 : t.left(n).toInt();
    }
    int y = start + step;
    if (y < 1900 || y > 2500) return {};
    return QString::number(y);
}

void Vjin::step_date(int index, int step) {
    QLineEdit* box = index == 0 ? txt_Pdate1 : txt_Pdate2;
    QString next = index == 0 ? VJIN_Step_Year(box->text(), step) : VJIN_Step_Month(box->text(), step);
    if (next.isEmpty()) {
        focus(box);
        return;
    }
    box->setText(next);
    box->repaint();
}

bool Vjin::box_key(QLineEdit* box, int key_code) {
    if (key_code == kKeyEnter) {
        if (box == txt_Vin) VJIN_Check(0);
        else if (box == txt_Catalog) VJIN_Check(1);
        else if (box == txt_Model) VJIN_Check(2);
        else if (box == txt_FrameMod) focus(txt_FrameNo);
        else if (box == txt_FrameNo) VJIN_Check(3);
        else if (box == txt_Pdate1) focus(txt_Pdate2);
        else if (box == txt_Pdate2) VJIN_Check(4);
        else if (box == txt_Color) VJIN_Check(5);
        else if (box == txt_Trim) VJIN_Check(6);
        else if (box == txt_Notes) VJIN_Check(7);
        return true;
    }
    if (key_code >= 37 && key_code <= 40) arrow(box, key_code);
    return false;  // arrows go on to the box
}

bool Vjin::arrow(QLineEdit* box, int key) {
    const bool empty = box->text().isEmpty();
    auto to = [this](QLineEdit* b) { focus(b); };
    auto beep_or = [&](QLineEdit* b) {
        if (txt_Catalog->text().isEmpty()) Beep();
        else to(b);
    };
    if (box == txt_Vin) {
        if ((key == kKeyLeft || key == kKeyUp) && empty) Beep();
        else if (key == kKeyRight && empty) to(txt_Catalog);
        else if (key == kKeyDown) empty ? to(txt_Model) : VJIN_Check(0);
    } else if (box == txt_Catalog) {
        if (key == kKeyLeft && empty) to(txt_Vin);
        else if (key == kKeyUp && empty) Beep();
        else if (key == kKeyRight && empty) to(txt_Model);
        else if (key == kKeyDown) empty ? to(txt_FrameMod) : VJIN_Check(1);
    } else if (box == txt_Model) {
        if (key == kKeyLeft && empty) to(txt_Catalog);
        else if (key == kKeyUp && empty) to(txt_Vin);
        else if (key == kKeyRight && empty) to(txt_FrameMod);
        else if (key == kKeyDown) empty ? to(txt_FrameMod) : VJIN_Check(2);
    } else if (box == txt_FrameMod) {
        if (key == kKeyLeft && empty) to(txt_Model);
        else if (key == kKeyUp) to(txt_Catalog);
        else if (key == kKeyRight || key == kKeyDown) empty ? beep_or(txt_Pdate1) : to(txt_FrameNo);
    } else if (box == txt_FrameNo) {
        if (key == kKeyLeft && empty) to(txt_FrameMod);
        else if (key == kKeyUp) to(txt_Catalog);
        else if (key == kKeyRight && empty) beep_or(txt_Pdate1);
        else if (key == kKeyDown) empty ? beep_or(txt_Pdate1) : VJIN_Check(3);
    } else if (box == txt_Pdate1) {
        if (key == kKeyLeft && empty) to(txt_FrameNo);
        else if (key == kKeyUp) to(txt_FrameNo);
        else if (key == kKeyRight) empty ? Beep() : to(txt_Pdate2);
        else if (key == kKeyDown) empty ? to(txt_Color) : to(txt_Pdate2);
    } else if (box == txt_Pdate2) {
        if ((key == kKeyLeft || key == kKeyUp) && empty) to(txt_Pdate1);
        else if (key == kKeyRight || key == kKeyDown)
            txt_Pdate1->text().isEmpty() && empty ? to(txt_Color) : VJIN_Check(4);
    } else if (box == txt_Color) {
        if (key == kKeyLeft && empty) to(txt_Pdate1);
        else if (key == kKeyUp) to(txt_Pdate1);
        else if (key == kKeyRight && empty) to(txt_Trim);
        else if (key == kKeyDown) VJIN_Check(5);
    } else if (box == txt_Trim) {
        if (key == kKeyLeft && empty) to(txt_Color);
        else if (key == kKeyUp) to(txt_Color);
        else if (key == kKeyRight && empty) to(txt_Notes);
        else if (key == kKeyDown) VJIN_Check(6);
    } else if (box == txt_Notes) {
        if (key == kKeyLeft && empty) to(txt_Trim);
        else if (key == kKeyUp) to(txt_Trim);
        else if (key == kKeyRight && empty) VJIN_Check(7);
        else if (key == kKeyDown) VJIN_Check(7);
    }
    return false;
}

}  // namespace px
