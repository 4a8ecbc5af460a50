// The scan of installed data sets: rebuilds the set-up table of the shared
// state block from the data-set directories that exist on disk.
#pragma once

#include "platform/export.h"

namespace pxall {

// 0, or 12 (a listing failed), 11 (a root master file would not open) or
// 14 (its header would not read); entries filled before a failure stay.
PX_EXPORT int setuped_cd_check();

}  // namespace pxall
