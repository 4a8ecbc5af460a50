// The texts of the vlists screens (catalogue list, model list, vehicle
// information, saved vehicles) and of the vehicle header: messages, screen
// texts and help files.
#include "demo_texts.h"

namespace pxbuild::demo {

const AreaTexts& texts_vlists() {
    static const AreaTexts texts = {
        {
            // messages
            {101, "Select a catalogue (click it, or move to it and press Enter)."},
            {102, "Select a model (click it or press Enter). F12: vehicle information."},
            {130, "Select a saved vehicle (click it, or move to it and press Enter)."},
            {806, "This saved list has been deleted. Select another one."},
            {843, "This model does not match the identified vehicle."},
            {858, "This saved list is in use. Select another one."},
        },
        {
            // screen texts
            {105, "Vehicle Information"},
            {106, "Special Features and Codes"},
            {107, "VIN"},
            {108, "Catalogue"},
            {109, "Model / Frame"},
            {110, "Production Date"},
            {203, "F4:Menu"},
            {227, "F12:Info"},
            {300, "VIN"},
            {301, "Catalogue"},
            {302, "Model"},
            {303, "Frame"},
            {304, "Prod. Date"},
            {305, "Colour"},
            {306, "Trim"},
            {307, "Notes"},
            {308, "Characteristics"},
            {309, "Engine"},
            // Over the vehicle's characteristics in the order the demo's
            // vehicles carry them: engine, gearbox, grade, destination.
            {310, "Engine"},
            {311, "Trans."},
            {312, "Grade"},
            {313, "Destination"},
            {1200, "Catalogue List"},
            {1201, "Car Name"},
            {1202, "Cat."},
            {1203, "Period"},
            {1204, "Description"},
            {1205, "Ref."},
            {1206, "CD"},
            {1300, "Model List"},
            {1301, "Catalogue"},
            {1302, "Production Period"},
            {1303, "Model"},
            {1304, "VIN Pref."},
            {1305, "Model Code"},
            {1306, "Engine"},
            {1307, "Period"},
            {1308, "Characteristics"},
            {3700, "Saved Vehicles"},
            {3701, "No."},
            {3702, "Save No."},
            {3703, "VIN"},
            {3704, "Frame"},
            {3705, "Notes"},
            {3706, "Date"},
            {3707, "Time"},
        },
        {
            // help files
            {"PXVCAT",
             {"CATALOGUE LIST", "", "The catalogues that match the search key, one line each.",
              "Click a line, or move to it and press Enter, to take that catalogue.", "  F1  Help",
              "  F3  Back without a choice (not offered after a VIN search)",
              "  F6  Hard copy of the screen"}},
            {"PXVKEI",
             {"MODEL LIST", "", "The models of the current catalogue, one line each;",
              "columns (01) to (21) are the model's characteristics.",
              "Click a line, or move to it and press Enter, to take that model.", "  F1  Help",
              "  F3  Back without a choice", "  F6  Hard copy of the screen",
              "  F12 Vehicle information of the model on the current line"}},
            {"PXFSEL",
             {"SAVED VEHICLES", "", "The vehicles saved with the saved lists, one line each.",
              "Click a line, or move to it and press Enter, to restore that vehicle.", "  F1  Help",
              "  F3  Back to the vehicle screen", "  F4  Back to the main menu", "  F6  Hard copy of the screen"}},
        },
    };
    return texts;
}

}  // namespace pxbuild::demo
