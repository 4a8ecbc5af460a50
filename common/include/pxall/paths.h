// Path kinds: every file name of the system becomes a full path here.
//
//   kind  directory
//   0     work directory
//   1     master directory, then the set-up entry's sub-directory
//   2     price directory
//   3     local-price directory
//   4     program-file directory
//   5     root of CD drive n of the drive list ("D:")
//   6     world frame-number directory, then the set-up entry's sub-directory
//   7     Japan frame-number directory, then the entry's sub-directory if any
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/vbstring.h"

namespace pxall {

enum PathKind : int {
    kPathWork = 0,
    kPathMaster = 1,
    kPathPrice = 2,
    kPathLocalPrice = 3,
    kPathProgram = 4,
    kPathCdDrive = 5,
    kPathFrameWorld = 6,
    kPathFrameJapan = 7,
};

constexpr int kPathSize = 80;

// buf (kPathSize bytes) holds a file name on entry and the full path on
// return. entry: set-up entry (kinds 1, 6, 7) or drive index (kind 5), -1 for
// none. 0 (also for an unknown kind or an empty directory: buf unchanged), or
// -1 when the result would exceed 79 characters or the entry is out of range.
PX_EXPORT int get_path_name(int kind, int entry, char* buf);

// Completes a price or local-price directory field from the master directory:
// an empty field takes the master directory, a drive letter names the master
// directory's path on that drive.
PX_EXPORT void set_path_name(char* buf, int size);

}  // namespace pxall

extern "C" {
// The directory of a path kind into the caller's string; the byte count copied.
PX_EXPORT int32_t VBGetPathName(int16_t kind, VbString* str);
}
