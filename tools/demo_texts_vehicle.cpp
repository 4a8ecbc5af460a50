// The texts of the vehicle screens: messages and screen texts.
#include "demo_texts.h"

namespace pxbuild::demo {

const AreaTexts& texts_vehicle() {
    static const AreaTexts texts = {
        // messages
        {
            {100, "Enter the VIN, frame number, or catalogue and model; F10 goes on."},
            {808, "No vehicle of the installed catalogues has this VIN."},
            {854, "A VIN has 17 letters and digits."},
            {878, "The colour code is letters and digits only."},
            {879, "The trim code is letters and digits only."},
            {888, "The note in the file is longer than the note field: it was left out."},
            {892, "The catalogue does not fit the vehicle entered."},
            {893, "The VIN does not fit the vehicle entered."},
            {894, "The model is not found."},
            {895, "A frame number is a letter or digit followed by six digits."},
            {896, "The frame number is not found."},
            {897, "The frame number does not fit the vehicle entered."},
            {898, "Enter the production date as year (4 digits) and month (01-12)."},
            {899, "The production date lies outside the production period of the model."},
        },
        // screen texts
        {
            {228, "F2:Saved"},
            {1100, "Vehicle Identification"},
            {1101, "VIN"},
            {1102, "Catalogue"},
            {1103, "Model"},
            {1104, "Frame model - frame number"},
            {1105, "Characteristics"},
            {1106, "Engine"},
            // The first four characteristics: engine, gearbox, grade, destination.
            {1107, "Engine"},
            {1108, "Trans."},
            {1109, "Grade"},
            {1110, "Destination"},
            {1111, "Production date (year/month)"},
            {1112, "Colour"},
            {1113, "Trim"},
            {1114, "Data language"},
            {1115, "English"},
            {1116, "French"},
            {1117, "German"},
            {1118, "Spanish"},
            {1119, "Notes"},
            {1120, "Check"},
            {1121, "Vehicle information file"},
            {1122, "Load"},
            {1123, "Save"},
        },
        // help files
        {
            {"PXVJIN",
             {
                 "Vehicle Identification",
                 "",
                 "Identify the vehicle one of three ways; press Enter after each entry:",
                 "  - the VIN (17 characters);",
                 "  - the frame model and frame number (a letter or digit, six digits);",
                 "  - the catalogue code and the model code. Leave a box empty and",
                 "    press Enter to choose from the catalogue list or the model list.",
                 "Then give the production date (year, month), colour, trim and notes.",
                 "",
                 "  F1  Help               F2  Vehicle of a saved list",
                 "  F3  Back               F4  Main menu",
                 "  F6  Hard copy          F10 On to the search routes",
                 "  F11 Clear              F12 Vehicle information",
                 "",
                 "Load and Save keep the vehicle in a text or CSV file of your choice.",
             }},
        },
    };
    return texts;
}

}  // namespace pxbuild::demo
