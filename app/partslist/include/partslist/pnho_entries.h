// The entries of the parts-list engine PXPNHO that the parts-list screen and
// the feature pop-up call, and the PXALL entries they need beside the
// shell's; each bound at its first call. Results are 16-bit; paths come back
// in the caller's fixed-length strings, NUL-ended.
#pragma once

#include <cstdint>

#include "pxall/vbstring.h"
#include "shell/binding.h"

namespace px::lib::partslist {

inline Declared<int16_t(VbString*, int16_t*)> pnho_exec_main{"PXPNHO", "_pnho_exec_main@8"};
inline Declared<int16_t()> pnho_close_main{"PXPNHO", "_pnho_close_main@0"};
inline Declared<int16_t(int16_t)> pnho_check_LclFigFlg{"PXPNHO", "_pnho_check_LclFigFlg@4"};
inline Declared<int16_t(int16_t*)> pnho_exec_match{"PXPNHO", "_pnho_exec_match@4"};
inline Declared<int16_t()> pnho_check_retran{"PXPNHO", "_pnho_check_retran@0"};
inline Declared<int16_t(int16_t, const char*)> pnho_check_jouhou{"PXPNHO", "_pnho_check_jouhou@8"};
inline Declared<int16_t(const char*)> pnho_set_FrameModel{"PXPNHO", "_pnho_set_FrameModel@4"};
inline Declared<int16_t(const char*)> pnho_set_FrameNo{"PXPNHO", "_pnho_set_FrameNo@4"};
inline Declared<int16_t(const char*)> pnho_set_Ad{"PXPNHO", "_pnho_set_Ad@4"};
inline Declared<int16_t(const char*)> pnho_set_ColorNo{"PXPNHO", "_pnho_set_ColorNo@4"};
inline Declared<int16_t(const char*)> pnho_set_TrimNo{"PXPNHO", "_pnho_set_TrimNo@4"};
inline Declared<int16_t(int32_t*)> pnho_exec_retran{"PXPNHO", "_pnho_exec_retran@4"};
inline Declared<int16_t()> pnho_check_selcnt{"PXPNHO", "_pnho_check_selcnt@0"};
inline Declared<int16_t(int16_t)> pnho_reverse_sel{"PXPNHO", "_pnho_reverse_sel@4"};
inline Declared<int16_t(int16_t)> pnho_input_qty{"PXPNHO", "_pnho_input_qty@4"};
inline Declared<int16_t(int16_t, const char*)> pnho_set_qty{"PXPNHO", "_pnho_set_qty@8"};
inline Declared<int16_t()> pnho_reset_mstflag{"PXPNHO", "_pnho_reset_mstflag@0"};
inline Declared<int16_t(VbString*, VbString*)> pnho_exec_pop{"PXPNHO", "_pnho_exec_pop@8"};
inline Declared<int16_t()> pnho_clr_tokucyo{"PXPNHO", "_pnho_clr_tokucyo@0"};
inline Declared<int16_t(int16_t, VbString*)> pnho_set_tokucyo{"PXPNHO", "_pnho_set_tokucyo@8"};
inline Declared<int16_t()> pnho_check_tokucyo{"PXPNHO", "_pnho_check_tokucyo@0"};
inline Declared<int16_t()> pnho_close_pop{"PXPNHO", "_pnho_close_pop@0"};
inline Declared<int16_t(VbString*)> pnho_exec_print{"PXPNHO", "_pnho_exec_print@4"};
inline Declared<int16_t(int16_t, VbString*)> pnho_exec_price{"PXPNHO", "_pnho_exec_price@8"};
inline Declared<int16_t()> pnho_exec_save{"PXPNHO", "_pnho_exec_save@0"};
// For the export dialog.
inline Declared<int16_t(int16_t, VbString*)> pnho_get_expppnho{"PXPNHO", "_pnho_get_expppnho@8"};
inline Declared<int16_t(VbString*)> pnho_get_exppfsad{"PXPNHO", "_pnho_get_exppfsad@4"};
inline Declared<int16_t(int16_t, const char*)> pnho_exec_intf{"PXPNHO", "_pnho_exec_intf@8"};

inline Declared<int32_t()> VBClearSelectTmp{"PXALL", "_VBClearSelectTmp@0"};

// Every entry of this header, for tests that put fakes in place.
inline EntryPoint* const kAllEntries[] = {
    &pnho_exec_main.entry(),     &pnho_close_main.entry(),     &pnho_check_LclFigFlg.entry(),
    &pnho_exec_match.entry(),    &pnho_check_retran.entry(),   &pnho_check_jouhou.entry(),
    &pnho_set_FrameModel.entry(), &pnho_set_FrameNo.entry(),   &pnho_set_Ad.entry(),
    &pnho_set_ColorNo.entry(),   &pnho_set_TrimNo.entry(),     &pnho_exec_retran.entry(),
    &pnho_check_selcnt.entry(),  &pnho_reverse_sel.entry(),    &pnho_input_qty.entry(),
    &pnho_set_qty.entry(),       &pnho_reset_mstflag.entry(),  &pnho_exec_pop.entry(),
    &pnho_clr_tokucyo.entry(),   &pnho_set_tokucyo.entry(),    &pnho_check_tokucyo.entry(),
    &pnho_close_pop.entry(),     &pnho_exec_print.entry(),     &pnho_exec_price.entry(),
    &pnho_exec_save.entry(),     &pnho_get_expppnho.entry(),   &pnho_get_exppfsad.entry(),
    &pnho_exec_intf.entry(),     &VBClearSelectTmp.entry(),
};

}  // namespace px::lib::partslist
