// The applicability search: for up to ten part numbers typed into a list
// box, the catalogues of the chosen catalogue CDs that use them. Results go
// to the work files of teki_layout.h; the CD pop-up to PXPOPUP.TMP
// (pxall/cd_popup.h).
//
// Results: 0, or the failing code (11 open, 13 write, 14 read, 20 memory,
// 128 bad argument, or the common library's code), each failure logged.
// A status out parameter reports what is no failure: 1 no CD, 2 the list box
// is empty, 4 a catalogue CD is not present.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/vbstring.h"

extern "C" {

// Empties the entries and fills the CD table (at most 11) with the area's
// set-up CDs that are present; *status 1 when there is none.
PX_EXPORT int32_t VBTekiInit(int16_t* status);
// Frees the tables and deletes the work files and SCRTEKI.TMP: the result of
// deleting SCRTEKI.TMP (0 or -1).
PX_EXPORT int32_t VBTekiTerm();
// Searches the part numbers of the list box `hwnd`, marks its lines found
// or not found, writes SCRTEKI.TMP (path into *path) and PXTEKI.CSV.
PX_EXPORT int32_t VBTekiSearchProc(int32_t hwnd, VbString* path, int16_t* status);
// Writes PXPOPUP.TMP and returns its path: 0, 128 ("Not Setup", no area),
// 11, 13, 15, 20.
PX_EXPORT int32_t VBTekiPopup(VbString* path);
// The CD table's count, 0-11: 0, or 128 (logged, table unchanged).
PX_EXPORT int32_t VBTekiPopupSetNum(int16_t* count);
// A set-up index into slot 0-10 of the CD table: 0, or 128 (logged).
PX_EXPORT int32_t VBTekiPopupSetSel(int16_t* setup_index, int16_t* slot);

}
