// Saved-list housekeeping for the saved-list screen and the saved-list
// editor: the listing work file, marking a list in use, deleting a list, the
// current save number and the car name of a list's catalogue. The files are
// those of pxall/savefile.h; the work files are in save_list_layout.h.
//
// Results are 16-bit: 0 success; the message numbers below; otherwise the
// failing code, after one error-log line (modules "PXFSAV01" for the list
// screen, "PXFSAD00" for the editor).
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/vbstring.h"

namespace pxfsav {
constexpr int16_t kMsgNoFile = 806;     // the list was deleted
constexpr int16_t kMsgNoCurrent = 807;  // no saved list is current
constexpr int16_t kMsgInUse = 856;      // the list is open for editing
constexpr int16_t kMsgInUseMark = 858;  // the same, when asked to mark it
}  // namespace pxfsav

extern "C" {

// A non-zero *save_no becomes the current save number. Then 807 when none is
// current; else the current number into *save_no and the full path of its
// save data file into path.
PX_EXPORT int16_t fsad_check_flno(int16_t* save_no, VbString* path);
// The production dates and the car name of the saved list's catalogue, from
// the first car-name record of it on the installed CDs; blanks (result 0)
// when no CD has it; 4 when the catalogue CD is missing.
PX_EXPORT int16_t fsad_get_shamei(int16_t save_no, VbString* date_from, VbString* date_to, VbString* car_name);
// The full path of the editor's work copy PXFSAD.TMP.
PX_EXPORT int16_t fsad_get_flname(VbString* path);
// Writes pxfsav.tmp, a record per saved list, and gives its path.
PX_EXPORT int16_t fsav_exec_main(VbString* path);
// Deletes the save data file and marks its entry deleted; 806 when the file
// does not exist (the master is then left as it is).
PX_EXPORT int16_t fsav_svfile_delete(int16_t save_no);
// The current save number becomes 0.
PX_EXPORT int16_t fsav_clear_SelSaveflno();
// 806 deleted; 856 in use (858 with mark set); otherwise 0, and with mark set
// the entry is marked in use.
PX_EXPORT int16_t fsav_check_saveFileflag(int16_t save_no, int16_t mark);
// Turns the current list's entry from in use back to used and clears the
// current save number.
PX_EXPORT int16_t fsav_reset_mstflag();
}
