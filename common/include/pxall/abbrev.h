// The meaning of an abbreviation, from RYAKUG.DAT of the current vehicle's
// car-name CD, in the catalogue language.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/vbstring.h"

namespace pxall {
// The meaning text: up to 3 lines of 40 characters, each with CR LF, in a
// buffer of this many bytes filled with blanks.
constexpr int kMeaningSize = 130;
}  // namespace pxall

extern "C" {
// *flag 0 found (the meaning in `meaning`), 1 not found, 4 CD not available;
// the result is 0 in those cases, else the failing code (logged).
PX_EXPORT int32_t VBryak_get_mean(VbString* abbreviation, VbString* meaning, int16_t* flag);
}
