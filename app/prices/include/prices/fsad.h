// The saved-list editor (Fsad): the vehicle header and the part lines of the
// current saved list; lines are added, changed and deleted, the list is
// written back (F11) and handed to the export dialog (F12). The saved-list
// list has made the list current and marked it in use before it opens this.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "shell/form.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace px {

class Fsad : public Form {
public:
    static constexpr const char* kName = "Fsad";
    Fsad();

    QLabel* lbl_title = nullptr;
    QGroupBox *fra_SaveFile = nullptr, *fra_Vehicle = nullptr;
    QLabel *lbl_FileID = nullptr, *lbl_Vin = nullptr, *lbl_Model = nullptr, *lbl_FrameModel = nullptr,
           *lbl_ProdDate = nullptr, *lbl_ColorCode = nullptr, *lbl_TrimCode = nullptr, *lbl_Note = nullptr;
    std::array<QLabel*, 2> lbl_Catalog{};
    std::array<QLabel*, 13> lbl_Fsad{};  // 10 is not used
    QLabel *lbl_No = nullptr, *lbl_PNumber = nullptr, *lbl_Qty = nullptr, *lbl_Count = nullptr;
    QListWidget* lst_PartNumber = nullptr;
    std::array<QLineEdit*, 3> txt_PNumber{};
    QLineEdit* txt_Qty = nullptr;
    std::array<QPushButton*, 2> cmd_AddDel{};

    std::string FsadHeader;    // the 99-byte header as read
    std::string FsadSaveFile;  // the save data file
    int16_t FsadEditLine = 0;  // 0 append; n the next entry replaces line n
    int16_t FsadLoadError = 0;

    void on_load() override;
    void on_activate() override;
    bool on_key_down(int key_code) override;
    void on_button_focus(QPushButton* button, bool got) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FSAD_Set_Caption();
    void FSAD_Set_Line(int16_t no, const std::string& part_no, const std::string& qty);
    void FSAD_Get_Line();
    void FSAD_Check_Qty();
    void FSAD_Delete_Lines();
    void FSAD_Clear_Input();
    void Fsad_SavePNumber();
    void FSAD_Exec_Intf();
    void FSAD_Close(int code);
    void load_list();
    void enter_line(bool from_qty);
    void pf_click(int index);
    void list_double_click(int row);
    bool save_failed(const std::string& step, int32_t number);
};

}  // namespace px
