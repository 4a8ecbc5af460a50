// The local-parts route: the figures of the vehicle's catalogue that the
// local price file of set 3 describes (localp.h), their pages of part lines
// with a picture each, and the picks with their quantities, written as
// LCPSEL.TMP for the parts list (selection.h). Work files:
// local_parts_layout.h.
//
// Results are 32-bit: 0, or a failing code after one error-log line
// (modules "PXLPEM01" figure list, "PXLPPS01" pages): 11 a file not opened
// or created, 13 not written, 14 LPPSFNLS.TMP not read to its end, otherwise
// the local-price reader's or the list's code. Out values are 16-bit; a full
// list is an out value, never a failure. Strings the library only reads are
// NUL-terminated; strings it fills are the caller's fixed-length strings.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/vbstring.h"

extern "C" {

// Writes LPEMFNLS.TMP for the vehicle's catalogue and gives its line count
// and path. No local price file: count 0 and nothing else.
PX_EXPORT int32_t VBLpemMakeFigListFile(int16_t* count, VbString* path);
// The selected figure lines become the block's figure list (each figure
// once): *status 1 a 101st figure (nothing written), 2 nothing selected.
PX_EXPORT int32_t VBLpemSetFigNo(int32_t list, int16_t* status);

// Empty the picks, and free them.
PX_EXPORT int32_t VBLppsInit();
PX_EXPORT int32_t VBLppsTerm();
// The number of picks; with any, LCPSEL.TMP is written and the block's
// local-parts flag set.
PX_EXPORT int32_t VBLppsExec(int16_t* count);
// Page n (from 0) of the block's figure list: LPPSFNLS.TMP for the figure,
// its number, name, picture path and the list's path. *status 11 n negative;
// 12 n past the last (with *last 1); 1 the picture file is missing (a folder
// under its name is given as a picture, one the screen cannot read). *last 1
// on the last page.
PX_EXPORT int32_t VBLppsGetPageData(int16_t n, VbString* figure, VbString* name, VbString* picture, VbString* list_path,
                                    int16_t* last, int16_t* status);
// Picks or unpicks the part of the list's current line for the figure (4
// characters); *status 6 when the picks are full.
PX_EXPORT int32_t VBLppsSelectListBox(const char* figure, int32_t list, int32_t qty_box, int16_t* status);
// Shows the quantity of the current line in the quantity box.
PX_EXPORT int32_t VBLppsClickListBox(int32_t list, int32_t qty_box);
// Takes the quantity box for the current (picked) line, stepped by step
// (-1, 0, +1) within 01-99: *status 1 the box is empty, 2 not a number.
PX_EXPORT int32_t VBLppsEntryQty(const char* figure, int16_t step, int32_t list, int32_t qty_box, int16_t* status);
// Marks the lines of the figure's page that are picked, with their quantities.
PX_EXPORT int32_t VBLppsSelectAll(const char* figure, int32_t list);

}
