// The entries of the inquiry libraries that the inquiry screens call, each
// bound at its first call (shell/binding.h): the applicability search
// PXTEKI, the part-number list PXNEWP, the part-number and part-name search
// PXHINB and the catalogue list PXVCAT. The signatures are those the
// libraries export: 16-bit values by reference, strings as the screen's
// fixed-length strings (VbString).
#pragma once

#include <cstdint>

#include "pxall/vbstring.h"
#include "shell/binding.h"

namespace px::lib {

// PXTEKI
inline Declared<int32_t(int16_t*)> VBTekiInit{"PXTEKI", "_VBTekiInit@4"};
inline Declared<int32_t()> VBTekiTerm{"PXTEKI", "_VBTekiTerm@0"};
inline Declared<int32_t(int32_t, VbString*, int16_t*)> VBTekiSearchProc{"PXTEKI", "_VBTekiSearchProc@12"};
inline Declared<int32_t(VbString*)> VBTekiPopup{"PXTEKI", "_VBTekiPopup@4"};
inline Declared<int32_t(int16_t*, int16_t*)> VBTekiPopupSetSel{"PXTEKI", "_VBTekiPopupSetSel@8"};
inline Declared<int32_t(int16_t*)> VBTekiPopupSetNum{"PXTEKI", "_VBTekiPopupSetNum@4"};

// PXNEWP
inline Declared<int32_t()> newp_init{"PXNEWP", "_newp_init@0"};
inline Declared<int32_t()> newp_term{"PXNEWP", "_newp_term@0"};
inline Declared<int32_t(VbString*, VbString*, VbString*, VbString*)> newp_file_name_set{"PXNEWP",
                                                                                      "_newp_file_name_set@16"};
inline Declared<int32_t()> newp_area_check{"PXNEWP", "_newp_area_check@0"};
inline Declared<int32_t(VbString*, int16_t*)> newp_input_check{"PXNEWP", "_newp_input_check@8"};
inline Declared<int32_t(VbString*)> newp_catalog_input{"PXNEWP", "_newp_catalog_input@4"};
inline Declared<int32_t(VbString*, VbString*, VbString*, VbString*)> newp_get_text{"PXNEWP", "_newp_get_text@16"};
inline Declared<int32_t(int16_t*, int16_t*)> newp_main{"PXNEWP", "_newp_main@8"};
inline Declared<int32_t(int16_t*, int16_t*)> newp_popup{"PXNEWP", "_newp_popup@8"};
inline Declared<int32_t()> newp_clear{"PXNEWP", "_newp_clear@0"};

// PXVCAT
inline Declared<int32_t()> vcat_init{"PXVCAT", "_vcat_init@0"};

// PXHINB
inline Declared<int32_t()> hinb_init{"PXHINB", "_hinb_init@0"};
inline Declared<int32_t(VbString*, VbString*, VbString*)> hinb_file_name_set{"PXHINB", "_hinb_file_name_set@12"};
inline Declared<int32_t(int32_t)> hinb_cdmake_cdidtbl_alldrive{"PXHINB", "_hinb_cdmake_cdidtbl_alldrive@4"};
inline Declared<int32_t(int32_t, VbString*, VbString*, VbString*, VbString*, int16_t*)> hinb_in_check_input{
    "PXHINB", "_hinb_in_check_input@24"};
inline Declared<int32_t(int16_t*, int16_t*)> hinb_pn_main{"PXHINB", "_hinb_pn_main@8"};
inline Declared<int32_t(int16_t*, int16_t*)> hinb_pc_main{"PXHINB", "_hinb_pc_main@8"};
inline Declared<int32_t(int16_t*, int16_t*)> hinb_popup{"PXHINB", "_hinb_popup@8"};
inline Declared<int32_t(int16_t*, int16_t*, int16_t*)> hinb_popup_set_sel{"PXHINB", "_hinb_popup_set_sel@12"};
inline Declared<int32_t()> hinb_popup_make_cat{"PXHINB", "_hinb_popup_make_cat@0"};
inline Declared<int32_t(int16_t*)> hinb_term{"PXHINB", "_hinb_term@4"};
inline Declared<int32_t()> hinb_term2{"PXHINB", "_hinb_term2@0"};

}  // namespace px::lib
