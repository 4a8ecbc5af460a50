// The car-name record of a catalogue code across the installed catalogue
// data sets.
#pragma once

#include <cstdint>

#include "platform/export.h"

namespace pxall {

constexpr int kCarNameRecordSize = 97;

// Reads SHAMEI.DAT of each set-up entry of `entries` in turn for the record
// of the 6-character key. Found: the 97-byte record into rec and into
// *entry_index the set-up entry of that area whose CD number is the record's
// (bytes 87-88); both outputs may be null. 0 found; 1 when no data set of the
// list has the key (also for a count below 1); 6 when no set-up entry carries
// the record's CD number; otherwise the multi-CD reader's code with its
// detail in *err. Entry numbers outside the set-up table are passed over.
PX_EXPORT int v_check_shamei_d(const char* key, const int32_t* entries, int count, void* rec, int32_t* entry_index,
                               int32_t* err);

}  // namespace pxall
