// The lists the vehicle screen opens over itself (catalogues, models, saved
// vehicles) and what it does when each has closed.
#include <QLineEdit>

#include "shell/messages.h"
#include "shell/seams.h"
#include "vehicle/pxvjin_entries.h"
#include "vehicle/vjin.h"

namespace px {

namespace {
constexpr int16_t kMsgGuide = 100;
constexpr int16_t kMsgRefused = 860;
constexpr int16_t kMsgSystemError = 999;
}  // namespace

void Vjin::open_list(const char* form, const std::function<int32_t()>& prepare, QLineEdit* field,
                     void (Vjin::*ret)()) {
    int32_t r = prepare();
    if (r == 0 && form_exists(form)) {
        Form& f = load_form(form);
        show_modal(f);
        if (Form* still = loaded_form(form)) unload_form(*still);
        update();
        SetDefaultPointer();
        if (loaded() && !unloading_) (this->*ret)();
        return;
    }
    if (r == 0 || r == 1) {
        // Nothing to list (or no list in this program).
        DispMsg(kMsgRefused, lbl_Msg);
        Beep();
        SetDefaultPointer();
        focus(field);
        return;
    }
    DispMsg(kMsgSystemError, lbl_Msg);
    Beep();
    SetDefaultPointer();
    ShowErrorDialog(*this);
    if (loaded() && !unloading_) VJIN_Menu();
}

void Vjin::VJIN_Open_Vcat() {
    open_list("Vcat", [] { return lib::vjin::vcat_init(); }, txt_Catalog, &Vjin::VJIN_Ret_Vcat);
}

void Vjin::VJIN_Open_Vkei() {
    open_list("Vkei", [] { return lib::vjin::vkei_init(); }, txt_Model, &Vjin::VJIN_Ret_Vkei);
}

void Vjin::VJIN_Ret_Vcat() {
    int32_t e = lib::vjin::return_from_pxxxxx();
    if (e == 3) {
        txt_Catalog->clear();
        DispMsg(kMsgGuide, lbl_Msg);
        focus(txt_Catalog);
        return;
    }
    if (e != 0) return VJIN_Menu();
    VJIN_Set_Areas();
    VjinShowFields(2);
    VJIN_Set_Keys();
    if (sub_origin == 3) return VJIN_Ret_Frame();
    int32_t v = lib::vjin::return_vcat();
    switch (v) {
        case 4: DispMsg(kMsgRefused, lbl_Msg); Beep(); focus(txt_Catalog); break;
        case 8: refresh(2); guide(); focus(txt_FrameNo); break;
        case 16: refresh(2); guide(); focus(txt_Model); break;
        default: failure_path(); break;
    }
}

void Vjin::VJIN_Ret_Vkei() {
    int32_t e = lib::vjin::return_from_pxxxxx();
    if (e == 3) {
        txt_Model->clear();
        DispMsg(kMsgGuide, lbl_Msg);
        focus(txt_Model);
        return;
    }
    if (e != 0) return VJIN_Menu();
    VJIN_Set_Areas();
    VjinShowFields(2);
    VJIN_Set_Keys();
    if (sub_origin == 3) return VJIN_Ret_Frame();
    int32_t v = lib::vjin::return_vkei();
    switch (v) {
        case 4: DispMsg(kMsgRefused, lbl_Msg); Beep(); focus(txt_Model); break;
        case 8: refresh(2); guide(); focus(txt_FrameNo); break;
        default: failure_path(); break;
    }
}

void Vjin::VJIN_Ret_Frame() {
    int32_t v = lib::vjin::return_vxxx();
    if (v == 2) {
        sub_origin = 3;
        return VJIN_Open_Vkei();
    }
    if (v == 4) {
        DispMsg(kMsgRefused, lbl_Msg);
        Beep();
        focus(txt_Catalog);
        return;
    }
    if (v == 8 || v == 16) {
        int16_t id = lib::vjin::check_msgid();
        DispMsg(id != 0 ? id : kMsgGuide, lbl_Msg);
        refresh(2);
        focus(v == 8 ? txt_Color : txt_Pdate1);
        return;
    }
    failure_path();
}

void Vjin::VJIN_Ret_Fsel() {
    int32_t e = lib::vjin::return_from_pxxxxx();
    if (e == 3) {
        DispMsg(kMsgGuide, lbl_Msg);
        focus(txt_Vin);
        return;
    }
    if (e != 0) return VJIN_Menu();
    int32_t m = lib::vjin::make_from_pxfsel();
    if (m != -1) {
        VJIN_Set_Areas();
        VJIN_Set_Keys();
        VjinShowFields(3);
        // A saved entry the checks refused is named instead of message 100.
        guide();
    }
    switch (m) {
        case 1: sub_origin = 2; VJIN_Open_Vkei(); break;
        case 4: DispMsg(kMsgRefused, lbl_Msg); Beep(); break;
        case 8: focus(txt_Pdate1); break;
        case 16: focus(txt_Color); break;
        case 32: focus(txt_Trim); break;
        case 64: focus(txt_Notes); break;
        default: failure_path(); break;
    }
}

}  // namespace px
