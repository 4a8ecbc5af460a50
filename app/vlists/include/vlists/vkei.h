// The model list: every model of the current catalogue that the
// vehicle-identification engine PXVJIN left open, one row each in a grid
// whose first four columns stay while the 21 characteristic columns scroll.
// A click or Enter on a row hands the model to the engine; F12 shows the
// row's vehicle information; F3 leaves without a choice (where the engine
// offers it). Shown modally by the vehicle screen once _vkei_init@0 gave 0;
// the vehicle screen asks the engine afterwards what was chosen.
#pragma once

#include <cstdint>
#include <string>

#include "shell/form.h"

class QFrame;
class QLabel;

namespace px {

class Grid;

class Vkei : public Form {
public:
    static constexpr const char* kName = "Vkei";
    static constexpr int kFixedColumns = 4;
    static constexpr int kItemColumns = 21;
    static constexpr int kColumns = kFixedColumns + kItemColumns;
    // The grid's left within its frame and the room its border takes, in twips.
    static constexpr int kGridLeft = 217;
    static constexpr int kGridTop = 240;
    static constexpr int kBorderBoth = 76;
    static constexpr int kBorderOne = 114;
    // The frame's size, in twips.
    static constexpr int kFrameWidth = 14400;
    static constexpr int kFrameHeight = 5400;
    Vkei();

    QLabel* lbl_vkei = nullptr;
    QLabel* lbl_title[3] = {};
    QLabel* lbl_Catalog = nullptr;
    QLabel* lbl_Pdatef = nullptr;
    QLabel* lbl_Pdatet = nullptr;
    QLabel* lbl_Modname = nullptr;
    QLabel* lbl_Model = nullptr;
    QLabel* lbl_Char = nullptr;
    QFrame* fra_vkei = nullptr;
    Grid* msg_vkei = nullptr;
    QLabel* lbl_tst = nullptr;

    int16_t record_count() const { return VkeiRecCount; }
    bool load_error() const { return VkeiLoadError != 0; }

    void on_load() override;
    void on_activate() override;
    bool on_key_down(int key_code) override;
    void on_close_request() override;

private:
    void VKEI_Set_Captions();
    void VKEI_Grd_Set();
    void VKEI_Grd_Format();
    int VKEI_Grd_Read();
    void VKEI_Show_Vinf();
    void VKEI_Ret(int grid_row);
    void VKEI_Abort();
    void grid_click();

    std::string VkeiListPath;
    int16_t VkeiRecCount = 0;
    int16_t VkeiLoadError = 0;
    bool closing_ = false;  // ending after a failure
    bool opened_ = false;   // activated once
};

}  // namespace px
