// The library entries the vehicle lists call, each bound at its first call:
// the catalogue list of PXVCAT, and the model list and saved-vehicle list of
// the vehicle-identification engine PXVJIN. A path buffer is the caller's
// fixed-length string: the library writes at most its length and the screen
// cuts the path at the first NUL.
#pragma once

#include <cstdint>

#include "pxall/vbstring.h"
#include "shell/binding.h"

namespace px::lib::vlists {

// --- catalogue list (PXVCAT) ---------------------------------------------------
// 1 when the list came from the vehicles of a VIN or frame search, else 0.
inline Declared<int32_t()> vcat_check_mode{"PXVCAT", "_vcat_check_mode@0"};
inline Declared<int32_t(VbString*)> vcat_main{"PXVCAT", "_vcat_main@4"};
// The chosen row from 0: 0 taken (the list has ended), else a failure.
inline Declared<int32_t(int32_t)> vcat_ret{"PXVCAT", "_vcat_ret@4"};
// 3 for F3, 4 otherwise; the result is not looked at.
inline Declared<int32_t(int32_t)> vcat_end_proc{"PXVCAT", "_vcat_end_proc@4"};

// --- model list (PXVJIN) -------------------------------------------------------
inline Declared<int32_t(VbString*)> vkei_main{"PXVJIN", "_vkei_main@4"};
inline Declared<int32_t()> vkei_check_mode{"PXVJIN", "_vkei_check_mode@0"};
inline Declared<int32_t(VbString*)> vkei_disp_model{"PXVJIN", "_vkei_disp_model@4"};
// -1 failure; 0 taken; 5 refused (message 843); other values: nothing.
inline Declared<int32_t(int16_t)> vkei_ret{"PXVJIN", "_vkei_ret@4"};
// 0: VCLINF.TMP written for the row's model; other: failure.
inline Declared<int32_t(int16_t)> vkei_make_vclinf_tmp{"PXVJIN", "_vkei_make_vclinf_tmp@4"};
inline Declared<int32_t(int16_t)> vkei_end_proc{"PXVJIN", "_vkei_end_proc@4"};

// --- saved-vehicle list (PXVJIN) --------------------------------------------------
inline Declared<int32_t(VbString*)> fsel_get_filename{"PXVJIN", "_fsel_get_filename@4"};
// 0 taken; 1 refused (message 806); 2 refused (message 858); other: failure.
inline Declared<int32_t(int16_t)> fsel_select_file{"PXVJIN", "_fsel_select_file@4"};
inline Declared<int32_t(int16_t)> fsel_end_proc{"PXVJIN", "_fsel_end_proc@4"};

}  // namespace px::lib::vlists
