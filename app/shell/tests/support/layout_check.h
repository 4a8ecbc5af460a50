// What a form must satisfy on the design display, whatever state it is in:
// its frame within 1024 x 768, every visible control inside its parent and
// none lying over a sibling.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace pxtest {

// The faults of a shown form, one line each, naming the form and the
// controls ("Pnho: frame 1262x860 over 1024x768", "Bunz: lbl_FigName
// under lin_Frm_3"); empty when it fits.
std::vector<std::string> layout_faults(const QWidget& form);

}  // namespace pxtest
