// The part-number list of a catalogue: the part numbers that the figure
// index of the current catalogue CD holds for the catalogue and that the
// figure index of an earlier issue of the CD does not, each with its
// part-name code, quantity, validity, part name and remarks. Results go to
// the work files of newp_layout.h; the CD pop-up to PXPOPUP.TMP
// (pxall/cd_popup.h).
//
// Failures are logged and answered with -999 (the low half of
// newp_init's result); 4 is a catalogue CD that is not present or a CD
// request the clerk cancelled (not logged). Strings are the program's
// fixed-length strings, 16-bit values come by reference.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/vbstring.h"

extern "C" {

// Takes the shared blocks, builds the paths, allocates the read buffers and
// copies the CD table. Low half 0 or -999; high half the number of places
// where the area letter changes in the set-up table, plus one.
PX_EXPORT int32_t newp_init();
// Frees the buffers, closes the files and deletes PXNEWP0/2/3.TMP. 0.
PX_EXPORT int32_t newp_term();
// Selects the start CD: the area's first catalogue set-up entry. 0, or -1
// when the area has none.
PX_EXPORT int32_t newp_area_check();
// Writes PXPOPUP.TMP; *msg 105, *kind 0. 0 or -999.
PX_EXPORT int32_t newp_popup(int16_t* msg, int16_t* kind);
// The paths of PXNEWP0.TMP, PXNEWP2.TMP, PXNEWP3.TMP and PXPOPUP.TMP. 0.
PX_EXPORT int32_t newp_file_name_set(VbString* work0, VbString* list, VbString* parts, VbString* popup);
// The current vehicle's catalogue code, car name and production dates. 0.
PX_EXPORT int32_t newp_get_text(VbString* catalog, VbString* car_name, VbString* from, VbString* to);
// Stores the entered code (14 characters) as the catalogue list's search
// key and gives the catalogue list the area's first catalogue CD. 0 or -999.
PX_EXPORT int32_t newp_catalog_input(VbString* code);
// Checks the entered code: 0 a catalogue of the area (the current vehicle
// then holds it); 1 with *msg 860 or 828; -13 with *msg 700 for anything
// but a catalogue code (the catalogue list is to be shown); 4; -999.
PX_EXPORT int32_t newp_input_check(VbString* code, int16_t* msg);
// Builds the list: 0 with *msg 105; 1 with *msg 865, 872, 873 or 874;
// 3 with *msg 125 (the catalogue list was left with F3); 4; -999.
// *count the parts written.
PX_EXPORT int32_t newp_main(int16_t* msg, int16_t* count);
// Deletes the work files, zeroes the current-vehicle block and selects the
// start CD again. 0.
PX_EXPORT int32_t newp_clear();

}
