// The entries of the illustration library PXBUNZ and of the common library
// PXALL that the illustration screen calls, each bound at its first call
// (shell/binding.h). Fixed-length strings go as VbString (the library writes
// at most their length); 16-bit outs are by reference.
#pragma once

#include <cstdint>

#include "pxall/vbstring.h"
#include "shell/binding.h"

namespace px::bunz_lib {

// Pages: figure key (4), page record (61), match flag, last-page flag, status.
inline Declared<int32_t(VbString*, VbString*, int16_t*, int16_t*, int16_t*)> VBBunzInit{"PXBUNZ", "_VBBunzInit@20"};
inline Declared<int32_t(int16_t*, VbString*, VbString*, int16_t*, int16_t*, int16_t*)> VBBunzNextPage{
    "PXBUNZ", "_VBBunzNextPage@24"};
inline Declared<int32_t(int16_t*, VbString*, VbString*, int16_t*, int16_t*, int16_t*)> VBBunzPrevPage{
    "PXBUNZ", "_VBBunzPrevPage@24"};
inline Declared<int32_t(VbString*, VbString*, int16_t*, int16_t*, int16_t*)> VBBunzChangeMatch{
    "PXBUNZ", "_VBBunzChangeMatch@20"};
// Page code (7), page title (250), bitmap path (80), part-list path (80), picture kind, status.
inline Declared<int32_t(VbString*, VbString*, VbString*, VbString*, int16_t*, int16_t*)> VBBunzMakePageInfo{
    "PXBUNZ", "_VBBunzMakePageInfo@24"};
inline Declared<int32_t()> VBBunzTerm{"PXBUNZ", "_VBBunzTerm@0"};
inline Declared<int32_t(VbString*, VbString*, int16_t*, int16_t*, int16_t*)> VBBuszInit{"PXBUNZ", "_VBBuszInit@20"};
inline Declared<int32_t()> VBBuszTerm{"PXBUNZ", "_VBBuszTerm@0"};
// Page title (250) into the print name (204).
inline Declared<int32_t(VbString*, VbString*)> VBBunMakePrnIllustNm{"PXBUNZ", "_VBBunMakePrnIllustNm@8"};

// Picking. List kind; picture surface and window handles; list and
// quantity-box handles; status.
inline Declared<int32_t(int16_t, int32_t, int32_t, int32_t)> VBBunSelectAll1{"PXBUNZ", "_VBBunSelectAll1@16"};
inline Declared<int32_t(int32_t, int32_t, int32_t)> VBBunSelectAll2{"PXBUNZ", "_VBBunSelectAll2@12"};
inline Declared<int32_t(int16_t, int32_t, int32_t, int32_t, int32_t, VbString*, float, float, int16_t*)>
    VBBunSelectIllust{"PXBUNZ", "_VBBunSelectIllust@36"};
inline Declared<int32_t(int16_t, int32_t, int32_t, int32_t, int32_t, int16_t*)> VBBunSelectListBox{
    "PXBUNZ", "_VBBunSelectListBox@24"};
inline Declared<int32_t(int16_t, int32_t, int32_t, int16_t*)> VBBunClickListBox{"PXBUNZ", "_VBBunClickListBox@16"};
// List kind, step (-1, 0, +1), list handle, quantity-box handle, status.
inline Declared<int32_t(int16_t, int16_t, int32_t, int32_t, int16_t*)> VBBunEntryQty{"PXBUNZ", "_VBBunEntryQty@20"};

// The selection list (PXALL).
inline Declared<int32_t()> VBReadSelectTmp{"PXALL", "_VBReadSelectTmp@0"};
inline Declared<int16_t()> VBGetNumSelTmp{"PXALL", "_VBGetNumSelTmp@0"};
inline Declared<int32_t()> VBWriteSelectTmp{"PXALL", "_VBWriteSelectTmp@0"};
inline Declared<int32_t()> VBClearSelTmp{"PXALL", "_VBClearSelTmp@0"};
// A list box filled from a text file: 0, 11 (not opened), 14 (read error).
inline Declared<int32_t(int32_t, const char*)> VBSetListBox{"PXALL", "_VBSetListBox@8"};

}  // namespace px::bunz_lib
