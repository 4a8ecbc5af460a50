// The current vehicle as the program reads it: one fixed-width field of the
// current-vehicle block (blocks.h) at a time, copied into the caller's string
// with every NUL shown as a blank. A string shorter than the field gets its
// first len bytes; bytes beyond the field stay as they were. Without a shared
// area the string is left unchanged.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/vbstring.h"

namespace pxall {

// Highest k of VBGetCharact2: the 5-byte fields from 110 up to the
// applicability bits at 215.
constexpr int kMaxCharact2 = 20;

}  // namespace pxall

extern "C" {

PX_EXPORT void VBGetCat(VbString* str);         // catalogue code, 6
PX_EXPORT void VBGetFrameModel(VbString* str);  // frame model, 7
PX_EXPORT void VBGetFrameNo(VbString* str);     // frame number, 7
PX_EXPORT void VBGetAd(VbString* str);          // production date entered, 6
PX_EXPORT void VBGetColorNo(VbString* str);     // colour number, 3
PX_EXPORT void VBGetTrimNo(VbString* str);      // trim number, 4
PX_EXPORT void VBGetNotes(VbString* str);       // notes, 30
// Characteristic 1: its first and its second field, 10 each.
PX_EXPORT void VBGetCharact1(VbString* first, VbString* second);
// Characteristic 2, field k (0-45), 5; a k outside leaves the string unchanged.
PX_EXPORT void VBGetCharact2(int16_t k, VbString* str);
PX_EXPORT void VBGetVName(VbString* str);       // vehicle name, 20
PX_EXPORT void VBGetProDateF(VbString* str);    // production date from, 4
PX_EXPORT void VBGetProDateT(VbString* str);    // production date to, 4
PX_EXPORT void VBGetModel(VbString* str);       // model, 20

// The 17-character VIN: the 10-character prefix, then the frame number. As
// many bytes as the string holds, at most 17; returns that count.
PX_EXPORT int32_t VBGetVin(VbString* str);

// The 8-character CD date of the current area's first catalogue data set;
// unchanged when the area is unknown or has none installed.
PX_EXPORT void VBGetCrntCatCDDate(VbString* str);

}
