// The group-print helper: what the group list printing needs besides the
// group files it reads itself (their layout: pxall/group_layout.h).
//
// - VBGet_GrpFName: the full paths of the group name file and the group
//   part-code file of the master directory, each NUL-terminated into a buffer
//   of kPathBufferSize bytes. 0, or the path result of the common library
//   (logged); a buffer is left empty when its path cannot be built.
// - VBCheckNull: 0 when a 3-character group code holds a group, 1 when it is
//   empty (blanks or NUL, as in the zero slots after the last group).
// - VBGetPncmei: the 60-byte part name of a part-name code, from the first
//   data set of the current area. *flag becomes 0 when the code is to be
//   printed (with a blank name when the catalogue lacks it or its CD is not
//   there) and 1 when the code is a free slot, which ends the group's list.
//   0, or the failing code of the lookup (logged, module "PXSTGP").
#pragma once

#include <cstdint>

#include "platform/export.h"

namespace pxstgp {
constexpr int kPathBufferSize = 80;
constexpr int kPncLen = 6;
constexpr int kNameLen = 60;
}  // namespace pxstgp

extern "C" {
PX_EXPORT int32_t VBGet_GrpFName(char* name_file, char* code_file);
PX_EXPORT int16_t VBCheckNull(const char* code);
PX_EXPORT int16_t VBGetPncmei(const char* pnc, char* name, int32_t* flag);
}
