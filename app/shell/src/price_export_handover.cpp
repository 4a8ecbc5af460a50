#include "shell/price_export_handover.h"

namespace px {

PriceExportHandover& price_export_handover() {
    static PriceExportHandover h;
    return h;
}

}  // namespace px
