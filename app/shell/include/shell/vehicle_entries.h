// The vehicle accessors of PXALL that the vehicle header and the vehicle
// lists read beside those of pxall_entries.h, and the path of the
// vehicle-information work file; each bound at its first call. Kept in a
// namespace of their own, so that an area declaring the same entries for
// itself does not clash.
#pragma once

#include <cstdint>

#include "pxall/vbstring.h"
#include "shell/binding.h"

namespace px::lib::vehicle {

inline Declared<void(VbString*)> VBGetColorNo{"PXALL", "_VBGetColorNo@4"};
inline Declared<void(VbString*)> VBGetTrimNo{"PXALL", "_VBGetTrimNo@4"};
inline Declared<void(VbString*)> VBGetNotes{"PXALL", "_VBGetNotes@4"};
// The first and the second characteristic-1 field, 10 each.
inline Declared<void(VbString*, VbString*)> VBGetCharact1{"PXALL", "_VBGetCharact1@8"};
// Characteristic-2 field n (0-20), 5.
inline Declared<void(int16_t, VbString*)> VBGetCharact2{"PXALL", "_VBGetCharact2@8"};
// The full path of VCLINF.TMP in the work directory, 80 bytes, NUL-padded.
inline Declared<int32_t(VbString*)> vinf_get_path{"PXALL", "_vinf_get_path@4"};

}  // namespace px::lib::vehicle
