// The saved-list list (Fsav, menu item 5): every saved list the save master
// still holds, one line each, from the listing the saved-list library
// writes; opens one in the editor (Fsad) or deletes the selected ones.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "shell/form.h"

class QLabel;
class QListWidget;

namespace px {

// The listing "pxfsav.tmp": 80-byte records, no separators.
//
//   at width
//    0   2   running number, modulo 100
//    2   4   save number
//    6  17   VIN
//   23  15   frame number
//   38  30   note
//   68   6   save date, ddmmyy
//   74   6   save time, hhmmss
namespace save_list_rec {
constexpr size_t kSize = 80;
}

// The 105-character list line of one record.
QString save_list_line(std::string_view rec);
// The line with its running number (characters 2-3) replaced by the first
// two characters of `position` written with at least two digits.
QString renumbered_line(const QString& line, int position);

class Fsav : public Form {
public:
    static constexpr const char* kName = "Fsav";
    Fsav();

    QLabel* lbl_title = nullptr;
    QLabel *lbl_No = nullptr, *lbl_FileID = nullptr, *lbl_Vin = nullptr, *lbl_FrameNo = nullptr,
           *lbl_Note = nullptr, *lbl_Date = nullptr, *lbl_Time = nullptr;
    QListWidget* lst_SaveFile = nullptr;

    std::string ListFilePath;  // pxfsav.tmp

    void on_load() override;
    void on_activate() override;
    void on_unload() override;
    bool on_key_down(int key_code) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int32_t Fsav_SetSvList();
    void Fsav_SetPFKeys();
    void Fsav_DelSvFile();
    void Fsav_OpenSvFile();
    void Fsav_ClearSelect();
    void Fsav_ErrorExit();
    void pf_click(int index);
    void list_double_click(int row);

    bool load_failed_ = false;
};

}  // namespace px
