// The price list (Pric): the prices of the parts marked on the parts list,
// read-only, from the price-list file the parts-list engine wrote. Shown
// modally by the parts list; the file is deleted when the list closes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "shell/form.h"

class QLabel;
class QListWidget;

namespace px {

// The price-list file: 72-byte records, no header; the count is the file
// length divided by 72 (a trailing piece is no record).
//
//   at width
//    0   2   line number
//    2   6   PNC
//    8   2   quantity
//   10  14   part number
//   24  27   part name
//   51  10   list price
//   61  10   remark
//   71   1   mark: "S" shows "*" before the line
namespace price_list_rec {
constexpr size_t kSize = 72;
}

// The 85-character line of one record.
QString price_list_line(std::string_view rec);

class Pric : public Form {
public:
    static constexpr const char* kName = "Pric";
    Pric();

    QLabel* lbl_Mode = nullptr;
    QLabel *lbl_No = nullptr, *lbl_Pnc = nullptr, *lbl_Qty = nullptr, *lbl_Pn = nullptr, *lbl_Pname = nullptr,
           *lbl_Lp = nullptr, *lbl_Remark = nullptr;
    QListWidget* lst_Price = nullptr;

    void on_load() override;
    void on_activate() override;
    void on_unload() override;
    bool on_key_down(int key_code) override;

private:
    void PRIC_Set_PFKeys();
    void PRIC_Set_Captions();
    int16_t LoadFailed = 0;
};

}  // namespace px
