// The library entries the maintenance screens call, each bound at its first
// call (shell/binding.h): the group work table of the common library, the
// screen-file services of the set-up library and the group-print helper.
// Strings the libraries fill are the caller's buffers or fixed-length strings
// (VbString); strings they only read are NUL-terminated.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pxall/vbstring.h"
#include "shell/binding.h"

namespace px::maint::lib {

// Group work table (PXALL).
inline Declared<int32_t()> VBRemakeGpFile{"PXALL", "_VBRemakeGpFile@0"};
// VBRemakeGpFile's result when a damaged group file was set aside (as
// PXGRPMEI.BAD or PXGRPPNC.BAD) and made anew empty.
constexpr int32_t kGroupsRemadeDamaged = 2;
inline Declared<int32_t()> VBInitGrpTmp{"PXALL", "_VBInitGrpTmp@0"};
inline Declared<int32_t()> VBTermGrpTmp{"PXALL", "_VBTermGrpTmp@0"};
inline Declared<int32_t(int16_t*)> VBread_group_file{"PXALL", "_VBread_group_file@4"};
inline Declared<int32_t()> VBwrite_group_file{"PXALL", "_VBwrite_group_file@0"};
inline Declared<int16_t()> VBGetGrpNum{"PXALL", "_VBGetGrpNum@0"};
inline Declared<int32_t(const char*, VbString*)> VBGetGrpName{"PXALL", "_VBGetGrpName@8"};
inline Declared<int32_t(const char*, const char*)> VBSetGrpCd{"PXALL", "_VBSetGrpCd@8"};
inline Declared<int32_t(const char*)> VBDelGrpCd{"PXALL", "_VBDelGrpCd@4"};
inline Declared<int32_t(int32_t)> VBMakeListGrpMei{"PXALL", "_VBMakeListGrpMei@4"};
inline Declared<int32_t(const char*, int32_t, int16_t*)> VBMakeListGrpPnc{"PXALL", "_VBMakeListGrpPnc@12"};
inline Declared<int32_t(int32_t, const char*, const char*, int16_t*)> VBSetGrpPnc{"PXALL", "_VBSetGrpPnc@16"};
inline Declared<int32_t(int32_t, const char*)> VBDelGrpPnc{"PXALL", "_VBDelGrpPnc@8"};

// The common library's one-step replacement of a file (a C++ export of
// PXALL): the content goes to a temporary twin that is renamed over the old
// file, so a failure leaves the old file whole. 0, 11 or 13.
inline Declared<int(const char*, const void*, size_t, int32_t*)> atomic_write_file{
    "PXALL", "_ZN5pxall17atomic_write_fileEPKcPKvmPi"};

// Screen-file services (PXSTUP): the screen file of the menu language and
// the editor's work file; the reload of the screen texts.
inline Declared<int32_t(VbString*, VbString*)> Screen_FilePath{"PXSTUP", "_Screen_FilePath@8"};
inline Declared<int32_t()> Reload_ScreenFile{"PXSTUP", "_Reload_ScreenFile@0"};

// Group-print helper (PXSTGP): the two group file paths (buffers of 80
// bytes), whether a group code is empty, a part name and the end of a list.
inline Declared<int32_t(char*, char*)> VBGet_GrpFName{"PXSTGP", "_VBGet_GrpFName@8"};
inline Declared<int16_t(const char*)> VBCheckNull{"PXSTGP", "_VBCheckNull@4"};
inline Declared<int16_t(const char*, char*, int32_t*)> VBGetPncmei{"PXSTGP", "_VBGetPncmei@12"};

}  // namespace px::maint::lib
