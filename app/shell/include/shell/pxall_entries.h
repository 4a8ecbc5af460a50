// The entries of the common library PXALL that the shell calls, each bound
// at its first call (binding.h). Strings the library fills are the caller's
// fixed-length strings (VbString); strings it only reads are NUL-terminated.
#pragma once

#include <cstdint>

#include "pxall/vbstring.h"
#include "shell/binding.h"

namespace px::lib {

inline Declared<int32_t()> drom_init{"PXALL", "_drom_init@0"};
inline Declared<void()> drom_term{"PXALL", "_drom_term@0"};
inline Declared<int32_t(int16_t)> drom_check_setup{"PXALL", "_drom_check_setup@4"};
inline Declared<int32_t()> drom_reset_com{"PXALL", "_drom_reset_com@0"};

inline Declared<int32_t(int32_t, VbString*)> VBGetMsg{"PXALL", "_VBGetMsg@8"};
inline Declared<void(int32_t, VbString*)> VBGetScr{"PXALL", "_VBGetScr@8"};
inline Declared<int32_t(const char*, const char*, const char*, int32_t, int32_t, int32_t)> VBsyerr_message{
    "PXALL", "_VBsyerr_message@24"};
// The log writer's own path helper (a C++ export of PXALL), so that the
// system-error dialog reads and deletes exactly the file the writer appends to.
inline Declared<bool(char*)> error_log_path{"PXALL", "_ZN5pxall14error_log_pathEPc"};
constexpr int kErrorLogPathSize = 80;

inline Declared<int32_t(int32_t, const char*)> VBReadHelpFile{"PXALL", "_VBReadHelpFile@8"};
// Abbreviation, meaning (130 bytes: three lines of 40 and CR LF), status.
inline Declared<int32_t(VbString*, VbString*, int16_t*)> VBryak_get_mean{"PXALL", "_VBryak_get_mean@12"};

inline Declared<int32_t(VbString*)> VBGetVin{"PXALL", "_VBGetVin@4"};
inline Declared<void(VbString*)> VBGetCat{"PXALL", "_VBGetCat@4"};
inline Declared<void(VbString*)> VBGetProDateF{"PXALL", "_VBGetProDateF@4"};
inline Declared<void(VbString*)> VBGetProDateT{"PXALL", "_VBGetProDateT@4"};
inline Declared<void(VbString*)> VBGetVName{"PXALL", "_VBGetVName@4"};
inline Declared<void(VbString*)> VBGetModel{"PXALL", "_VBGetModel@4"};
inline Declared<void(VbString*)> VBGetFrameModel{"PXALL", "_VBGetFrameModel@4"};
inline Declared<void(VbString*)> VBGetFrameNo{"PXALL", "_VBGetFrameNo@4"};
inline Declared<void(VbString*)> VBGetAd{"PXALL", "_VBGetAd@4"};
inline Declared<void(VbString*)> VBGetCrntCatCDDate{"PXALL", "_VBGetCrntCatCDDate@4"};

}  // namespace px::lib
