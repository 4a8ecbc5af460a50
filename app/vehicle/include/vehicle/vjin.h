// The vehicle screen: the clerk identifies the vehicle by VIN, by frame
// model and number, or by catalogue and model (typed, or chosen from the
// catalogue and model lists), gives its production date, colour, trim, data
// language and notes, and goes on to the search routes with F10. Every
// entry is checked by the vehicle identification (PXVJIN), which holds the
// vehicle; the screen shows what it hands back.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "shell/form.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace px {

class UpDown;

class Vjin : public Form {
public:
    static constexpr const char* kName = "Vjin";
    Vjin();

    // Input areas 0-10 (frames with captions).
    std::array<QGroupBox*, 11> fra_Input{};
    QLineEdit* txt_Vin = nullptr;
    QLineEdit* txt_Catalog = nullptr;
    QLineEdit* txt_Model = nullptr;
    QLineEdit* txt_FrameMod = nullptr;
    QLineEdit* txt_FrameNo = nullptr;
    QLineEdit* txt_Pdate1 = nullptr;
    QLineEdit* txt_Pdate2 = nullptr;
    QLineEdit* txt_Color = nullptr;
    QLineEdit* txt_Trim = nullptr;
    QLineEdit* txt_Notes = nullptr;
    std::array<QPushButton*, 4> cmd_Search{};
    std::array<QPushButton*, 2> cmd_Vinfo{};
    std::array<QRadioButton*, 6> opt_Lang{};  // 1-5; option 2 hidden, 0 the hidden "none" choice
    std::array<UpDown*, 2> upd_Pdate{};
    QLabel* lbl_Input = nullptr;
    QLabel* lbl_Modelname = nullptr;
    QLabel* lbl_MEngin = nullptr;
    std::array<QLabel*, 21> lbl_Mchar{};
    QLabel* lbl_Engine = nullptr;
    QLabel* lbl_Body = nullptr;
    QLabel* lbl_Grade = nullptr;
    QLabel* lbl_ATMMTM = nullptr;
    QLabel* lbl_Trans = nullptr;

    // Form state.
    int16_t load_failed = 0;
    int16_t frame_area = 0;
    int16_t sub_origin = 0;
    // The entries last handed to the engine, as it left them.
    std::string vin_, catalog_, model_, frame_model_, frame_no_, date_;

    void on_load() override;
    void on_activate() override;
    bool on_key_down(int key_code) override;
    void on_pf_click(int n) override;
    void on_focus(QWidget* control, bool got) override;
    void on_button_focus(QPushButton* button, bool got) override;
    void on_close_request() override;
    bool eventFilter(QObject* obj, QEvent* event) override;

    // The routines of the screen, by their own names.
    void VjinKeyDispatch(int key_code);
    void VJIN_Set_Keys();
    void VjinShowFields(int16_t mode);
    void VJIN_Set_Areas();
    void VJIN_Set_Lang();
    void VJIN_Keys_Off();
    void VJIN_Focus_Area(int16_t area);
    void VJIN_Mark_Area(int16_t area, int16_t state);
    void VJIN_Check(int n);  // check number 0-7
    void VJIN_Check_Vin();
    void VJIN_Check_Catalog();
    void VJIN_Check_Model();
    void VJIN_Check_Frame();
    void VJIN_Check_Date();
    void VJIN_Check_Color();
    void VJIN_Check_Trim();
    void VJIN_Check_Notes();
    static QString VJIN_Step_Month(const QString& text, int step);
    static QString VJIN_Step_Year(const QString& text, int step);
    void VJIN_Open_Vcat();
    void VJIN_Open_Vkei();
    void VJIN_Ret_Vcat();
    void VJIN_Ret_Vkei();
    void VJIN_Ret_Frame();
    void VJIN_Ret_Fsel();
    bool VJIN_Get_file(int16_t& filter_index, QString* chosen);
    bool VJIN_Set_file(int16_t& filter_index, QString* chosen);
    void cmd_Vinfo_Click(int index);
    void VJIN_Help();
    void VJIN_Select_Saved();
    void VJIN_Back();
    void VJIN_Menu();
    void VJIN_Hard_Copy();
    void VJIN_Exec();
    void VJIN_Clear();
    void VJIN_Vehicle_Info();
    // Message 999, a beep, the system-error dialog, then as F4.
    void failure_path();

private:
    void build();
    void refresh(int16_t mode);  // areas, keys, fields
    void refusal(int16_t fallback = 860);
    // After an accepted step: message 100, or with a beep the engine's
    // message for an entry the step had to leave out (a date outside the
    // periods of the model now taken, an entry of a file or saved list).
    void guide();
    void focus(QLineEdit* box);
    void box_focus(QLineEdit* box, bool got);
    bool box_key(QLineEdit* box, int key_code);
    bool arrow(QLineEdit* box, int key_code);
    void step_date(int index, int step);
    void open_list(const char* form, const std::function<int32_t()>& prepare, QLineEdit* field,
                   void (Vjin::*ret)());
    int16_t area_of(QObject* obj) const;
    bool choose_file(bool save, int16_t& filter_index, QString* chosen, const char* procedure);

    bool unloading_ = false;
    bool failure_shown_ = false;
};

}  // namespace px
