// The CD pop-up file "PXPOPUP.TMP" (work directory) that the part-number
// inquiries write for the screen that lets the clerk choose among the
// catalogue CDs of the current area. One record per set-up entry of the
// area, in set-up table order:
//
//     0   2  number from 1, "%02.2d"
//     2   2  set-up table index (16-bit)
//     4   1  area letter
//     5   1  '1' when the CD is present (its data set is a full copy on
//            disk, or the CD is in a drive), else '0'
//     6  32  "   %2.2s : %2.2s/%2.2s/'%2.2s  %s": the entry's CD number, the
//            month, day and year of its CD date, then the present text (or
//            " "); NUL-terminated, the rest zero
//
// The text field holds 31 bytes and the terminator; a longer present text is
// cut before a character that does not fit.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/export.h"

namespace pxall {

namespace popup_rec {
constexpr size_t kSize = 38;
constexpr size_t kNumber = 0;
constexpr size_t kSetupIndex = 2;
constexpr size_t kArea = 4;
constexpr size_t kPresent = 5;
constexpr size_t kText = 6;
constexpr size_t kTextSize = 32;
}  // namespace popup_rec

constexpr const char* kPopupFileName = "PXPOPUP.TMP";
constexpr int kPopupPresentText = 125;  // screen text of a present CD
constexpr int kPopupMaxRecords = 30;

// The catalogue set-up entries of an area: from the area's first catalogue
// entry (setuped_top_cdno) on, while the entries keep the area's letter,
// those whose second character is a digit. Their indexes into list (room for
// `max`); the count.
PX_EXPORT int area_setup_entries(char area, int32_t* list, int max);

// The records of the area's set-up entries into out (room for
// kPopupMaxRecords x popup_rec::kSize bytes) and their number into *count.
// present_text is the screen text shown for a present CD (null: none).
// 0, or the failing code of cdmake_cdidtbl_alldrive with its detail.
PX_EXPORT int cd_popup_records(char area, const char* present_text, unsigned char* out, int32_t* count, int* detail);

}  // namespace pxall
