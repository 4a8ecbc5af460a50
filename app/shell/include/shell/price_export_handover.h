// What the parts list and the saved-list editor hand to the price list and
// the export dialog, and what those two leave behind for their opener. The
// screens live in different areas of the program and meet only here: the
// opener sets its part before it shows the pop-up and reads the outcome when
// the show call returns.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace px {

struct PriceExportHandover {
    // The price list (Pric), opened modally by the parts list.
    std::string PriceFilePath;    // the price-list file (72-byte records); Pric deletes it when it closes
    int16_t PriceKind = 0;        // the price kind the parts list asked the engine for
    int16_t PriceListFailed = 0;  // 0 at Pric's load, 1 when its load failed

    // The export dialog (Intf).
    int16_t ExportSource = 0;            // -1 opened by the parts list, 0 by the saved-list editor
    std::string ExportCsvHeader;         // the saved list's header as one CSV line
    std::string ExportSaveHeader;        // the saved list's 99-byte header image
    std::vector<std::string> ExportLines;  // the saved-list editor's list lines, in list order
    int16_t ExportFailed = 0;            // 0 at Intf's load, -1 when it ended through its failure path
};

PriceExportHandover& price_export_handover();

}  // namespace px
