// The sectional-illustration screen's engine: the pages of the chosen figures
// for the current vehicle, paged through figure by figure, with the
// sub-illustrations their references open; for the page in hand its bitmap,
// its reference-number list and its text placements; and the picking of
// references into the selection list, kept in step with the screen's list
// boxes, quantity box and the marks on the picture (layouts in bunz_layout.h).
//
// Strings are the caller's (vbstring.h): a copy writes at most their length.
// 16-bit outs are by reference. Every status out is 0 on entry; statuses are
// not failures (the result stays 0):
//   1  the figure has no page / the quantity box is empty
//   2  the quantity box holds more than two characters, or not only blanks
//      and digits
//   4  the catalogue CD is not present
//   5  the page's image is too large to be shown
//   6  the selection list is full
//   11 there is no next page         12 there is no previous page
//   31 a sub-illustration reference was picked (the screen opens it next)
// Results: 0 or the failing code (128 bad state); each failure leaves one
// error-log line.
//
// View modes (pick entries): 1 and 3 work on the reference-number list box,
// 2 on the selected-items list box; 1 uses the placements halved (the page
// shown whole), 2 and 3 as stored. Controls and pictures are integer
// handles (platform/controls.h, platform/picture.h).
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/vbstring.h"

extern "C" {

// --- Pages -------------------------------------------------------------------
// Opens the illustration on the first chosen figure. The figure-state string
// receives the figure state from its byte 0, the name string from byte 4.
PX_EXPORT int32_t VBBunzInit(VbString* state, VbString* name, int16_t* match, int16_t* last_page, int16_t* status);
// Deletes the work files and frees every list; ends the selection list.
PX_EXPORT int32_t VBBunzTerm();
// To the next page: of the sub-illustration, of the figure, or the first of
// the next chosen figure. *sub is 1 when a sub-illustration page is in hand.
PX_EXPORT int32_t VBBunzNextPage(int16_t* sub, VbString* state, VbString* name, int16_t* match, int16_t* last_page,
                                 int16_t* status);
// To the previous page, out of a sub-illustration, or to the last page of the
// previous chosen figure.
PX_EXPORT int32_t VBBunzPrevPage(int16_t* sub, VbString* state, VbString* name, int16_t* match, int16_t* last_page,
                                 int16_t* status);
// Switches between the vehicle's pages and all pages of the figure in hand.
PX_EXPORT int32_t VBBunzChangeMatch(VbString* state, VbString* name, int16_t* match, int16_t* last_page,
                                    int16_t* status);
// Builds the page in hand: bitmap, list files and text placements. *kind is
// 1 for an image of kind '3', else 2.
PX_EXPORT int32_t VBBunzMakePageInfo(VbString* info, VbString* page_record, VbString* bitmap_path,
                                     VbString* list_path, int16_t* kind, int16_t* status);
// Opens the sub-illustration that a pick prepared.
PX_EXPORT int32_t VBBuszInit(VbString* state, VbString* name, int16_t* match, int16_t* last_page, int16_t* status);
// Closes the sub-illustration.
PX_EXPORT int32_t VBBuszTerm();
// The 204-byte title printed with the illustration: three blank-padded lines
// of the page text (74, 74 and 52 bytes, CR LF between) that never split a
// character; the title string's length.
PX_EXPORT int32_t VBBunMakePrnIllustNm(VbString* page_text, VbString* title);

// --- Picking -----------------------------------------------------------------
// Shows the selection in the reference-number list box and marks it.
PX_EXPORT int32_t VBBunSelectAll1(int16_t mode, int32_t picture, int32_t window, int32_t list);
// Fills the selected-items list box from the selection and marks it.
PX_EXPORT int32_t VBBunSelectAll2(int32_t picture, int32_t window, int32_t list);
// A click at x, y (picture coordinates) on the picture. With a part-name
// string (not null) in mode 2, a newly picked code's name is read into it
// and the status is the name lookup's (1 not found, 4 CD not present).
PX_EXPORT int32_t VBBunSelectIllust(int16_t mode, int32_t picture, int32_t window, int32_t list, int32_t qty_box,
                                    VbString* name, float x, float y, int16_t* status);
// Toggles the line at the list box's caret.
PX_EXPORT int32_t VBBunSelectListBox(int16_t mode, int32_t picture, int32_t window, int32_t list, int32_t qty_box,
                                     int16_t* status);
// Shows the quantity of the line at the caret.
PX_EXPORT int32_t VBBunClickListBox(int16_t mode, int32_t list, int32_t qty_box, int16_t* status);
// Applies the quantity box to the caret line, stepped by -1, +1 or 0.
PX_EXPORT int32_t VBBunEntryQty(int16_t mode, int16_t step, int32_t list, int32_t qty_box, int16_t* status);

}
