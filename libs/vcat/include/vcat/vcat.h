// The catalogue list: the car names matching the catalogue search key of the
// next-screen block (or, with a blank key, the catalogues of the vehicles
// left in JOUHOU.TMP) as rows in PXVCAT.TMP and their display form in
// DSPCAT.TMP (catalog_list_layout.h), and the choice of a row copied into
// the current-vehicle block.
//
// Search key (next-screen block 470, 15 characters, its length without
// trailing blanks and control characters) and mode:
//   1  "ALL"                      every car-name record of the CDs searched
//   2  any other non-blank key    car names containing the key
//   3  six characters that pass the catalogue-code check: that catalogue
//   4  blank                      the unmarked vehicles of JOUHOU.TMP
// Modes 1-3 search the CDs of the current-vehicle block's list (set-up
// indexes at 532, their number 1-4 at 548).
//
// Failures write one error-log line (module "PXVCAT01"), end the list (work
// files closed and removed) and give -1.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/vbstring.h"

namespace pxvcat {
// End modes of the list at 524 of the current-vehicle block.
constexpr int32_t kEndChosen = 0;
constexpr int32_t kEndF3 = 3;
constexpr int32_t kEndClosed = 4;
}  // namespace pxvcat

extern "C" {

// Builds the list: 0 the work files are written; 1 nothing matched (no work
// file left); -1 failure.
PX_EXPORT int32_t vcat_init();
// The full path of DSPCAT.TMP into the caller's string, NUL-padded.
PX_EXPORT int32_t vcat_main(VbString* path);
// Makes row `row` (0-based, low 16 bits as a signed number) the current
// vehicle's catalogue and ends the list: 0, or -1.
PX_EXPORT int32_t vcat_ret(int32_t row);
// 1 when the list comes from JOUHOU.TMP (blank key), else 0.
PX_EXPORT int32_t vcat_check_mode();
// Ends the list without a choice: end mode 3 for 3 (F3), else 4.
PX_EXPORT int32_t vcat_end_proc(int32_t how);
}
