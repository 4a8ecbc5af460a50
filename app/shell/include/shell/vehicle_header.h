// The vehicle header of the screens that follow the vehicle identification
// (the current vehicle in a block of labels at the top of the screen), and
// the opening of the vehicle-information dialog Vinf over a screen.
//
// A screen that shows the header carries labels of these names (found by
// name when DispVehicleInfo runs; make_vehicle_header builds them all):
//   lbl_TVchl_1 .. lbl_TVchl_14   captions, screen texts 300-313
//   lbl_Vin        VIN (17)
//   lbl_MNm1       catalogue code (6)
//   lbl_MNm2       "(" date from (4) "-" date to (4) " " vehicle name (20) ")"
//   lbl_Model      model (20)
//   lbl_FNo        frame model (7) "-" frame number (7)
//   lbl_Pdate      production date (6), as stored
//   lbl_Color      colour number (3)
//   lbl_Trim       trim number (4)
//   lbl_Notes      notes (30)
//   lbl_MEngin     first characteristic-1 field (10)
//   lbl_Mchar_0 .. lbl_Mchar_20   characteristic-2 fields (5 each)
// Values are shown at their full fixed length, trailing blanks included.
#pragma once

#include <cstdint>

class QWidget;

namespace px {

class Form;

constexpr int kHeaderCaptions = 14;
constexpr int kHeaderCharact2 = 21;

// Fills the header labels of `form` from the current vehicle; with
// `with_captions` also the captions from the screen file. A label the
// screen lacks, or an entry that cannot be bound, throws RuntimeError to the
// caller's handler.
void DispVehicleInfo(Form& form, bool with_captions);

// Opens the vehicle-information dialog modally over `caller` and returns,
// once it has closed, its dialog-failed flag: 0 when it showed the vehicle
// information, -1 (True) when it could not read it and closed at once.
// Throws RuntimeError when the dialog is not part of the program.
int16_t ShowVehicleInfoDialog(Form& caller);

// The dialog's module state: the screen that last opened it (kept after it
// closed), and the flag it returns, which the dialog itself clears and sets.
Form* VinfCaller();
int16_t& VinfResult();

// The header block with every label named as above, in a fixed-pitch face
// of the system's code page, for a screen to place at its top.
QWidget* make_vehicle_header(Form& form);

}  // namespace px
