// The library entries the price and saved-list screens call: the price
// inquiry library Pxdprc, the saved-list library PXFSAV, the export entries
// of the parts-list engine PXPNHO and the PXALL entries they need beside the
// shell's; each bound at its first call.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pxall/vbstring.h"
#include "shell/binding.h"

namespace px::lib::prices {

// Pxdprc: results 32-bit (0, a message number, or -1 after a log line).
inline Declared<int32_t(char*)> dprc_get_path{"Pxdprc", "_dprc_get_path@4"};
inline Declared<int32_t(const char*, int32_t)> dprc_search{"Pxdprc", "_dprc_search@8"};
inline Declared<int32_t(int32_t)> dprc_update_wfile{"Pxdprc", "_dprc_update_wfile@4"};

// PXFSAV: results 16-bit.
inline Declared<int16_t(VbString*)> fsav_exec_main{"PXFSAV", "_fsav_exec_main@4"};
inline Declared<int16_t()> fsav_reset_mstflag{"PXFSAV", "_fsav_reset_mstflag@0"};
inline Declared<int16_t(int16_t, int16_t)> fsav_check_saveFileflag{"PXFSAV", "_fsav_check_saveFileflag@8"};
inline Declared<int16_t(int16_t)> fsav_svfile_delete{"PXFSAV", "_fsav_svfile_delete@4"};
inline Declared<int16_t()> fsav_clear_SelSaveflno{"PXFSAV", "_fsav_clear_SelSaveflno@0"};
inline Declared<int16_t(int16_t*, VbString*)> fsad_check_flno{"PXFSAV", "_fsad_check_flno@8"};
inline Declared<int16_t(int16_t, VbString*, VbString*, VbString*)> fsad_get_shamei{"PXFSAV", "_fsad_get_shamei@16"};
inline Declared<int16_t(VbString*)> fsad_get_flname{"PXFSAV", "_fsad_get_flname@4"};

// PXPNHO: the export programs and the parts-list export.
inline Declared<int16_t(int16_t, VbString*)> pnho_get_expppnho{"PXPNHO", "_pnho_get_expppnho@8"};
inline Declared<int16_t(VbString*)> pnho_get_exppfsad{"PXPNHO", "_pnho_get_exppfsad@4"};
inline Declared<int16_t(int16_t, const char*)> pnho_exec_intf{"PXPNHO", "_pnho_exec_intf@8"};

// PXALL: a directory by path kind, and the replacement of a file as one step
// (a C++ export: the new content goes to a twin that is renamed over the file).
inline Declared<int32_t(int16_t, VbString*)> VBGetPathName{"PXALL", "_VBGetPathName@8"};
inline Declared<int(const char*, const void*, size_t, int32_t*)> atomic_write_file{
    "PXALL", "_ZN5pxall17atomic_write_fileEPKcPKvmPi"};

// Every entry of this header, for tests that put fakes in place.
inline EntryPoint* const kAllEntries[] = {
    &dprc_get_path.entry(),       &dprc_search.entry(),          &dprc_update_wfile.entry(),
    &fsav_exec_main.entry(),      &fsav_reset_mstflag.entry(),   &fsav_check_saveFileflag.entry(),
    &fsav_svfile_delete.entry(),  &fsav_clear_SelSaveflno.entry(), &fsad_check_flno.entry(),
    &fsad_get_shamei.entry(),     &fsad_get_flname.entry(),      &pnho_get_expppnho.entry(),
    &pnho_get_exppfsad.entry(),   &pnho_exec_intf.entry(),       &VBGetPathName.entry(),
    &atomic_write_file.entry(),
};

}  // namespace px::lib::prices
