// What the parts-list screen keeps of the engine's files: the paths it leaves
// for the print routine, the price list and the feature pop-up, and the price
// kind of the last price list. What the price list and the export dialog are
// handed, and hand back, is shell/price_export_handover.h.
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
};

// One per program; inline, so that a screen of another area reads the same
// state without linking this area's objects.
inline PnhoModule& pnho_module() {
    static PnhoModule m;
    return m;
}

}  // namespace px::partslist
