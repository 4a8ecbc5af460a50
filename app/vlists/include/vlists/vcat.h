// The catalogue list: the car names that PXVCAT found for the catalogue
// search key, one row each in a grid. A click or Enter on a row makes its
// catalogue the current vehicle's and closes the list; F3 leaves it without
// a choice (not offered when the list holds the vehicles of a VIN or frame
// search, which must be chosen from). Shown modally by the vehicle screen
// and the part-number list screen once _vcat_init@0 gave 0; the caller
// takes the choice from the current-vehicle block when it has closed.
#pragma once

#include <cstdint>
#include <string>

#include "shell/form.h"

class QFrame;
class QLabel;

namespace px {

class Grid;

class Vcat : public Form {
public:
    static constexpr const char* kName = "Vcat";
    static constexpr int kColumns = 6;
    // Column widths in character widths, and the grid's height in twips.
    static constexpr int kWidthChars[kColumns] = {21, 8, 10, 50, 5, 4};
    static constexpr int kGridHeightTwips = 7898;
    Vcat();

    QLabel* lbl_title = nullptr;
    QFrame* fra_vcat = nullptr;
    Grid* msg_Vcat = nullptr;
    QLabel* lbl_tst = nullptr;

    bool load_error() const { return load_error_ != 0; }

    void on_load() override;
    void on_activate() override;
    bool on_key_down(int key_code) override;
    void on_close_request() override;

private:
    void VCAT_Grd_Set();
    void lay_out_columns(int rows);
    void fill_grid();
    void choose(int grid_row);
    void close_list();
    void grid_click();

    std::string dspcat_path_;
    int32_t records_ = 0;
    int16_t load_error_ = 0;
    bool closing_ = false;  // ending after a failure
    bool opened_ = false;   // activated once
};

}  // namespace px
