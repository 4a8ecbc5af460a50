// The part-number and part-name search: for a part-name code, its part
// numbers in every catalogue of the area's catalogue CDs; and the part-name
// codes whose name holds a text. Results go to the work files of
// hinb_layout.h; the CD pop-up to PXPOPUP.TMP (pxall/cd_popup.h).
//
// Results: -1 a failure that stands in the error log; 4 a catalogue CD is
// not present (nothing logged). Strings are the program's fixed-length
// strings, 16-bit values come by reference.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/vbstring.h"

extern "C" {

// Takes the shared blocks, resets the search text and code, frees the
// tables and fills the CD table with '0' characters. 0.
PX_EXPORT int32_t hinb_init();
// The CD table from the area's set-up CDs that are present: 0, 1 when none,
// -1 (logged).
PX_EXPORT int32_t hinb_cdmake_cdidtbl_alldrive(int32_t unused);
// Writes PXPOPUP.TMP; *msg 140, *kind 1. 0 or -1.
PX_EXPORT int32_t hinb_popup(int16_t* msg, int16_t* kind);
// Puts a set-up index into a slot (below 30) of the CD table and sets the
// table's count (at most 30): 0, or -1 (logged, table unchanged) for a slot
// or count outside the table.
PX_EXPORT int32_t hinb_popup_set_sel(int16_t* count, int16_t* setup_index, int16_t* slot);
// Builds the catalogue table of each CD of the CD table: 0, 4 or -1.
PX_EXPORT int32_t hinb_popup_make_cat();
// The paths of PXHINB0.TMP, PXHINB1.TMP and PXPOPUP.TMP: 0; -1 when the
// third fails; 0x0000FFFF (-1 in the low half) when another failed.
PX_EXPORT int32_t hinb_file_name_set(VbString* name_file, VbString* list_file, VbString* popup_file);
// The input check and look-up of the part-name code (n is cut to 60):
// 0 found (name and code out), 1 refused, 2 not found (*msg 867), 4, -1.
PX_EXPORT int32_t hinb_in_check_input(int32_t n, VbString* text, VbString* code, VbString* name_out,
                                      VbString* code_out, int16_t* msg);
// The part-number search of the search code: 0 (*msg 105), 1 (*msg 865),
// 4 or -1; *count the parts found.
PX_EXPORT int32_t hinb_pn_main(int16_t* msg, int16_t* count);
// The part-name search of the search text: 0, 1 (*msg 865), 4 or -1 (also
// for 30000 names or more); *count the names written.
PX_EXPORT int32_t hinb_pc_main(int16_t* msg, int16_t* count);
// Closes and deletes PXHINB0-2.TMP and frees the search's buffers; mode 1
// also frees the tables and empties the CD table. 0, or -999 when
// PXHINB2.TMP would not close (logged).
PX_EXPORT int32_t hinb_term(int16_t* mode);
// Closes and deletes PXHINB0.TMP: the close result.
PX_EXPORT int32_t hinb_term2();
// Writes PXPOPUP.TMP: 0 or -999 (logged).
PX_EXPORT int32_t hinb_popup_make_data();

}
