// The illustration index: the pages of index pictures of the vehicle's
// catalogue for the chosen figure groups (EMINDE.DAT, index_layout.h), each
// a detail picture (figure labels and area boxes) and an overall picture
// (area boxes), decoded into bitmaps for the screen (image.h) with the
// page's figure list; and the clerk's picks of figures on either picture or
// in the list, kept in the common selected-figure list (selection.h) and
// shown inverted on both pictures and selected in the list.
//
// A picture is passed as a pair of handles: the bitmap the library marks and
// the window that shows it (image.h, reverse_image). Work files (work
// directory): emok_layout.h.
//
// Results are 32-bit: 0, or a failing code after one error-log line
// (modules "PXEMOK01" entries, "PXEMOK02" page table, "PXEMOK03" links,
// "PXEMOK04" figure list): 11 a file not created, 13 not written, 20 out of
// memory, 21 more than 180 pages, 128 a bad figure group, -1, or the
// catalogue-file or image code. A missing catalogue CD is the out status 4,
// never a failure. Out values are 16-bit.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/vbstring.h"

namespace pxemok {
constexpr int16_t kCdMissing = 4;
constexpr int16_t kListFull = 6;
constexpr int16_t kAreaHit = -1;
}  // namespace pxemok

extern "C" {

// Builds the page table for the figure groups of the next-screen block and
// gives the page count; once open, later calls only give the count. *status
// 4 when the CD is missing. Chosen groups without an index page give count
// 0 and leave the library closed.
PX_EXPORT int32_t VBEmokInit(int16_t* count, int16_t* status);
// Frees the picks, the page table and the pictures' tables, removes the work
// files and closes the library.
PX_EXPORT int32_t VBEmokTerm();
// Takes every pick back: list lines, the figure list (block and memory) and
// the marks of both pictures' tables (without repainting).
PX_EXPORT int32_t VBEmokClear(int32_t list);
// Makes page n (from 1): both bitmaps and the figure list, their paths into
// the three strings (NUL-padded). *status 1 n below 1; 2 n past the last
// page (with *last 1); 4 CD missing. *last 1 on the last page.
PX_EXPORT int32_t VBEmokGetPageData(int16_t n, VbString* detail_bmp, VbString* overall_bmp, VbString* figure_list,
                                    int16_t* last, int16_t* status);
// Marks the picks that are on the page just made.
PX_EXPORT int32_t VBEmokSelectAll(int32_t overall_pic, int32_t overall_win, int32_t detail_pic, int32_t detail_win,
                                  int32_t list);
// Toggles the figure of the list line with the caret. *status 0, or 6 when
// the figure list is full.
PX_EXPORT int32_t VBEmokSelectListBox(int32_t overall_pic, int32_t overall_win, int32_t detail_pic,
                                      int32_t detail_win, int32_t list, int16_t* status);
// A click at (x, y) on the overall picture: an area box toggles its figures.
// *status -1 on an area, 6 when the figure list became full; left as it was
// when nothing is hit.
PX_EXPORT int32_t VBEmokSelectZentai(int32_t overall_pic, int32_t overall_win, int32_t detail_pic, int32_t detail_win,
                                     int32_t list, float x, float y, int16_t* status);
// A click on the detail picture: a figure label toggles its figure, an area
// box its area's figures (as on the overall picture).
PX_EXPORT int32_t VBEmokSelectShosai(int32_t overall_pic, int32_t overall_win, int32_t detail_pic, int32_t detail_win,
                                     int32_t list, float x, float y, int16_t* status);

}
