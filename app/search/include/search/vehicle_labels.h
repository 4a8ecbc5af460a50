// The vehicle header at the top of the search-route screen and the entry
// lists: the current vehicle's VIN, catalogue, production dates and name,
// model, frame, production date, colour, trim, notes and characteristics,
// under captions from the screen file (texts 300-313).
//
// The labels carry the names the header procedure looks them up by:
// lbl_TVchl_1 to lbl_TVchl_14 (captions), lbl_Vin, lbl_MNm1, lbl_MNm2,
// lbl_Model, lbl_FNo, lbl_Pdate, lbl_Color, lbl_Trim, lbl_Notes, lbl_MEngin
// and lbl_Mchar_0 to lbl_Mchar_20.
#pragma once

class QWidget;

namespace px {
class Form;
}

namespace px::search {

// Builds the header's labels on the form; the caller places the widget.
QWidget* make_vehicle_header(Form& form);
// Fills the header from the current vehicle, with the captions first when
// `captions` is true. Every value is shown at its full fixed width.
void DispVehicleInfo(Form& form, bool captions);

}  // namespace px::search
