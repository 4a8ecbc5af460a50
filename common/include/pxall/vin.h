// VIN prefixes and frame numbers as the vehicle identification takes them
// (layout and the maker's identifiers in vehicle_work_layout.h). Fields are
// fixed-width and not terminated; every check reads only the bytes named.
#pragma once

#include "platform/export.h"

namespace pxall {

// The prefix length of a VIN (at least 3 bytes): 9 when its first three
// characters are a maker's identifier, else 8 (also for a null VIN).
PX_EXPORT int v_set_vin_len(const char* vin);
// The fill character of positions 9 and 10: '0' for a 9-character prefix,
// else a blank.
PX_EXPORT char v_set_vin_char(const char* vin);
// Blank-fills the 9-byte field and copies the 8 or 9 prefix characters into
// it; the number copied (0 for a missing argument).
PX_EXPORT int v_copy_vin(const char* vin, char* field);
// A 17-character VIN, changed in place: a blank or control character at
// position 8 or 9 (0-based) becomes the fill character when position 10
// holds a character above blank.
PX_EXPORT void v_edit_vin(char* vin);
// 1 when the 7-byte field is a frame number: no blank or control byte among
// the 7, the first an ASCII letter (either case) or a digit, the other six
// digits. Else 0.
PX_EXPORT int v_valid_frameno(const char* field);

}  // namespace pxall
