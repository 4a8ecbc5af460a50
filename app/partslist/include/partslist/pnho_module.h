// What the parts-list screen shares with the screens it opens: the paths the
// engine leaves for the print routine, the price list and the feature
// pop-up, the price kind of the last price list, and the flags the price
// list and the export dialog set when they could not do their work.
#pragma once

#include <cstdint>
#include <string>

namespace px::partslist {

// Room of each path string handed to the engine.
constexpr int kPathBuffer = 260;

struct PnhoModule {
    std::string list_path;          // PnhoListPath
    std::string feature_kind_path;  // PnhoFeatureKindPath (22-byte records)
    std::string feature_code_path;  // PnhoFeatureCodePath (85-byte records)
    std::string price_path;         // PnhoPricePath (72-byte records; the price list reads and deletes it)
    std::string print_path;         // PnhoPrintPath (134-byte records)
    int16_t price_kind = 0;         // PnhoPriceKind: 0, 1 or 2
    // Set by the price list: 0 when it loads, 1 when it could not show the
    // list; the parts list then goes back to the menu.
    int16_t price_failed = 0;       // PricFailed
    int16_t intf_from_parts_list = 0;  // IntfFromPartsList: -1 from the parts list
    int16_t intf_failed = 0;        // IntfFailed: -1 when the export dialog failed
};

// One per program; inline, so that a screen of another area reads the same
// state without linking this area's objects.
inline PnhoModule& pnho_module() {
    static PnhoModule m;
    return m;
}

}  // namespace px::partslist
