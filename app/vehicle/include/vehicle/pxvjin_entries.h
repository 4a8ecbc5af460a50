// The entries the vehicle screen calls, each bound at its first call
// (shell/binding.h): the vehicle identification PXVJIN, the preparation of
// the catalogue list in PXVCAT, and the directory of a path kind in PXALL.
// Strings the engine fills or rewrites are the caller's fixed-length
// strings; paths it only reads are NUL-terminated.
#pragma once

#include <cstdint>

#include "pxall/vbstring.h"
#include "shell/binding.h"

namespace px::lib::vjin {

using Fn = Declared<int32_t()>;
using Check = Declared<int32_t(int16_t, VbString*)>;
using Get = Declared<int32_t(VbString*)>;

inline Fn init{"PXVJIN", "_vjin_init@0"};
inline Fn clear{"PXVJIN", "_vjin_clear@0"};
inline Fn check_inputarea{"PXVJIN", "_vjin_check_inputarea@0"};
inline Fn check_lang{"PXVJIN", "_vjin_check_lang@0"};
inline Declared<int32_t(int16_t)> change_lang{"PXVJIN", "_vjin_change_lang@4"};

inline Check check_input_vin{"PXVJIN", "_vjin_check_input_vin@8"};
inline Check check_input_cat{"PXVJIN", "_vjin_check_input_cat@8"};
inline Check check_input_model{"PXVJIN", "_vjin_check_input_model@8"};
inline Declared<int32_t(int16_t, VbString*, int16_t, VbString*)> check_input_frameno{
    "PXVJIN", "_vjin_check_input_frameno@16"};
inline Check check_input_date{"PXVJIN", "_vjin_check_input_date@8"};
inline Check check_input_col{"PXVJIN", "_vjin_check_input_col@8"};
inline Check check_input_trim{"PXVJIN", "_vjin_check_input_trim@8"};
inline Check check_input_note{"PXVJIN", "_vjin_check_input_note@8"};
inline Declared<int16_t()> check_msgid{"PXVJIN", "_vjin_check_msgid@0"};

inline Get disp_vin{"PXVJIN", "_vjin_disp_vin@4"};
inline Get disp_cat{"PXVJIN", "_vjin_disp_cat@4"};
inline Get disp_mod{"PXVJIN", "_vjin_disp_mod@4"};
inline Get disp_fmod{"PXVJIN", "_vjin_disp_fmod@4"};
inline Get disp_fno{"PXVJIN", "_vjin_disp_fno@4"};
inline Get disp_ad{"PXVJIN", "_vjin_disp_ad@4"};
inline Get disp_clr{"PXVJIN", "_vjin_disp_clr@4"};
inline Get disp_trm{"PXVJIN", "_vjin_disp_trm@4"};
inline Get disp_not{"PXVJIN", "_vjin_disp_not@4"};
inline Get disp_char1{"PXVJIN", "_vjin_disp_char1@4"};
inline Get disp_nam{"PXVJIN", "_vjin_disp_nam@4"};
inline Get disp_pdf{"PXVJIN", "_vjin_disp_pdf@4"};
inline Get disp_pdt{"PXVJIN", "_vjin_disp_pdt@4"};
inline Declared<int32_t(int16_t, VbString*)> disp_char2{"PXVJIN", "_vjin_disp_char2@8"};

inline Fn exec{"PXVJIN", "_vjin_exec@0"};
inline Fn select{"PXVJIN", "_vjin_select@0"};
inline Fn fsel_init{"PXVJIN", "_fsel_init@0"};
inline Fn vkei_init{"PXVJIN", "_vkei_init@0"};
inline Fn vinf_make{"PXVJIN", "_vjin_vinf_make@0"};
inline Fn return_from_pxxxxx{"PXVJIN", "_vjin_return_from_pxxxxx@0"};
inline Fn return_vcat{"PXVJIN", "_vjin_return_vcat@0"};
inline Fn return_vkei{"PXVJIN", "_vjin_return_vkei@0"};
inline Fn return_vxxx{"PXVJIN", "_vjin_return_vxxx@0"};
inline Fn make_from_pxfsel{"PXVJIN", "_vjin_make_from_pxfsel@0"};
inline Fn back{"PXVJIN", "_vjin_back@0"};
inline Declared<int32_t(const char*)> get_vinf{"PXVJIN", "_vjin_get_vinf@4"};
inline Declared<int32_t(const char*)> set_vinf{"PXVJIN", "_vjin_set_vinf@4"};

// The catalogue list's preparation.
inline Fn vcat_init{"PXVCAT", "_vcat_init@0"};
// The directory of a path kind into a 256-character string.
inline Declared<int32_t(int16_t, VbString*)> VBGetPathName{"PXALL", "_VBGetPathName@8"};

}  // namespace px::lib::vjin
