// The saved-list screens' work files, in the work directory (path kind 0).
//
// "pxfsav.tmp": one 80-byte listing record (save_list_record) per listed
// save, in save-number order, no separators, all text:
//     0  2  running number of the line: "%02.2d" of (n mod 100), n counting
//           the listed saves from 1
//     2  4  save number, "%04d"
//     6 17  vehicle header bytes 0-16 (VIN start and frame number)
//    23  7  vehicle header bytes 44-50 (frame model)
//    30  1  '-'
//    31  7  vehicle header bytes 52-58 (frame number)
//    38 30  vehicle header bytes 66-95 (notes)
//    68  6  save-master entry bytes 4-9 (date saved, DDMMYY)
//    74  6  save-master entry bytes 10-15 (time saved, HHMMSS)
//
// "PXFSAD.TMP": the saved-list editor's work copy of a save data file, in
// the save data file's own layout (pxall/savefile_layout.h).
//
// A saved list's catalogue is looked up in SHAMEI.DAT (pxall/part_records.h).
#pragma once

#include <cstddef>

#include "pxall/part_records.h"

namespace pxfsav {

constexpr const char* kListName = "pxfsav.tmp";
constexpr const char* kEditName = "PXFSAD.TMP";

namespace listrec {
constexpr size_t kSize = 80;
constexpr size_t kLine = 0, kLineSize = 2;
constexpr size_t kSaveNo = 2, kSaveNoSize = 4;
constexpr size_t kVinFrame = 6, kVinFrameSize = 17;
constexpr size_t kFrameModel = 23, kFrameModelSize = 7;
constexpr size_t kDash = 30;
constexpr size_t kFrameNo = 31, kFrameNoSize = 7;
constexpr size_t kNotes = 38, kNotesSize = 30;
constexpr size_t kDate = 68, kDateSize = 6;
constexpr size_t kTime = 74, kTimeSize = 6;
}  // namespace listrec

namespace carname = pxall::shamei_rec;

}  // namespace pxfsav
