// The texts of the partslist screens (the parts list and its feature pop-up):
// messages, screen texts and help files.
#include "demo_texts.h"

namespace pxbuild::demo {

const AreaTexts& texts_partslist() {
    static const AreaTexts texts = {
        {
            // messages
            {158, "Select a feature, then its code. F12: use the codes marked."},
            {160, "Enter the conditions, then press F10 to narrow the list."},
            {702, "Saving the list. Please wait..."},
            {836, "No part is marked. Mark the parts first."},
            {839, "No price file is set up."},
            {840, "This list cannot be narrowed by conditions."},
            {853, "The list is empty: there is nothing to print."},
            {855, "No saved-list number is left. Delete a saved list first."},
            {886, "The list has been saved."},
            {900, "The saved list is full or cannot be written."},
        },
        {
            // screen texts
            {215, "F11:Save"},
            {216, "F12:Exprt"},
            {217, "F2:Retail"},
            {218, "F3:Dealer"},
            {219, "F4:Price3"},
            {222, "F10:Match"},
            {223, "F10:All"},
            {224, "F11:Route"},
            {225, "F12:Vehicle"},
            {226, "F10:Cond"},
            {2200, "Parts List"},
            {2201, "No"},
            {2202, "PNC"},
            {2203, ""},
            {2204, "Qt"},
            {2205, "y"},
            {2206, "Part Number"},
            {2207, "Ca"},
            {2208, "t"},
            {2209, "Validity"},
            {2212, "Part Name"},
            {2213, "Remarks"},
            {2215, "All parts"},
            {2216, "Matched"},
            {2219, "Feature"},
            {2220, "Page"},
            {2221, "PARTS LIST"},
            {2222, "VIN"},
            {2223, "CATALOGUE"},
            {2224, "MODEL"},
            {2225, "CHARACTERISTICS"},
            {2226, "PRODUCTION DATE"},
            {2227, "COLOUR"},
            {2228, "TRIM"},
            {2229, "NOTES"},
            {2230, "NO PART NAME"},
            {2231, "PNC"},
            {2232, " PART NUMBER"},
            {2233, "QTY"},
            {2234, "RETAIL"},
            {2235, "DEALER"},
            {2236, "PRICE 3"},
            {2237, "REMARKS"},
            {2238, "VALIDITY"},
            {2239, "AMOUNT"},
            {2240, "TOTAL RETAIL"},
            {2241, "TOTAL DEALER"},
            {2242, "TOTAL PRICE 3"},
            {2243, "PAGE"},
        },
        {
            // help files
            {"PXPNHO",
             {"PARTS LIST",
              "",
              "The parts picked on the illustrations, with their part numbers,",
              "quantities, alternatives, remarks and validity.",
              "",
              "Click a part (or press Enter on it) to mark it; its quantity",
              "box opens over the quantity: type the quantity and press Enter.",
              "",
              "F2  print the marked parts (all parts when none is marked)",
              "F7  F8  previous and next page",
              "F10 narrow the list to the vehicle, or show all parts again",
              "F5  price list (F2 F3 F4), save (F11) and export (F12) keys;",
              "    F10 there enters conditions: frame, production year and",
              "    month, colour and trim, then F10 narrows the list by them",
              "    and F12 shows the special features of the catalogue."}},
        },
    };
    return texts;
}

}  // namespace pxbuild::demo
