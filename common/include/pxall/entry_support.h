// Small pieces the feature libraries' entries share: the logged failure,
// caller's strings, the current vehicle, work-file paths and list boxes by
// handle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/export.h"
#include "pxall/vbstring.h"

namespace pxall {

// Writes one error-log line and hands the code back.
PX_EXPORT int32_t fail_logged(const char* module, const char* function, const char* step, int32_t code,
                              int32_t detail, int place);

// Copies a NUL-terminated caller's string into a field of n bytes: at most n
// bytes are read, the rest of the field is blank.
PX_EXPORT void take_field(char* out, const char* s, size_t n);
// Copies n bytes into the caller's string, as many as it holds; the rest of
// the string is NUL.
PX_EXPORT void give_string(VbString* s, const char* src, size_t n);

// The current vehicle: its catalogue code (6 bytes, blank when there is no
// vehicle block), the set-up index of its data set and that of the CD its car
// name was read on (-1 without a vehicle block).
PX_EXPORT void vehicle_catalog(char* out6);
PX_EXPORT int vehicle_setup();
PX_EXPORT int name_setup();

// The full path of a work file into buf (kPathSize bytes): get_path_name's
// result.
PX_EXPORT int work_path(const char* name, char* buf);

// List boxes by handle. Line i blank-padded to at least len (empty when there
// is none); the line count (0 for an unknown handle); whether line i is
// selected.
PX_EXPORT std::string list_line(int32_t list, int32_t i, size_t len);
PX_EXPORT int32_t list_count(int32_t list);
PX_EXPORT bool list_selected(int32_t list, int32_t i);

}  // namespace pxall
