// The entries of the set-up libraries PXSTUP and PXSIUP (and of PXALL) that
// the set-up screens call, each bound at its first call (shell/binding.h).
// Strings the library fills are the caller's fixed-length strings (VbString);
// strings it only reads are NUL-terminated ANSI bytes.
#pragma once

#include <array>
#include <cstdint>

#include "pxall/vbstring.h"
#include "shell/binding.h"

namespace px::lib::setup {

// PXSTUP: catalogue set-up.
inline Declared<int32_t()> stup_main_proc{"PXSTUP", "_stup_main_proc@0"};
inline Declared<int32_t()> stup_set_client{"PXSTUP", "_stup_set_client@0"};
inline Declared<int32_t(VbString*, VbString*, int16_t)> stup_make_tmpfile{"PXSTUP", "_stup_make_tmpfile@12"};
inline Declared<int32_t(int16_t*, VbString*)> VBGet_Latest_Lang{"PXSTUP", "_VBGet_Latest_Lang@8"};
inline Declared<int32_t()> stup_client_check{"PXSTUP", "_stup_client_check@0"};
inline Declared<int32_t(int16_t, const char*)> ClientDriveCheck{"PXSTUP", "_ClientDriveCheck@8"};
inline Declared<int16_t(int16_t, const char*, VbString*)> GetSetupedDriveInfo{"PXSTUP", "_GetSetupedDriveInfo@12"};
// PXSTUP: prices.
inline Declared<int16_t()> Check_Setuped_Price{"PXSTUP", "_Check_Setuped_Price@0"};
inline Declared<int32_t(const VbString*, int16_t, int16_t)> stup_kakaku_setup{"PXSTUP", "_stup_kakaku_setup@12"};
// PXSTUP: local parts.
inline Declared<int32_t(int16_t)> Check_Setuped_Localp{"PXSTUP", "_Check_Setuped_Localp@4"};
inline Declared<void(int16_t, int16_t)> Init_Setuped_Localp{"PXSTUP", "_Init_Setuped_Localp@8"};
inline Declared<int16_t(int16_t, const char*)> Setup_Localp{"PXSTUP", "_Setup_Localp@8"};
inline Declared<int32_t(int32_t)> Localp3_SetImageFile{"PXSTUP", "_Localp3_SetImageFile@4"};
inline Declared<void(int32_t, int32_t, const char*)> Localp3_CopyImageFile{"PXSTUP", "_Localp3_CopyImageFile@12"};
// PXSIUP: system settings.
inline Declared<void(int16_t, const VbString*)> VBGet_Setup_Data{"PXSIUP", "_VBGet_Setup_Data@8"};
inline Declared<int16_t()> Write_Initial_Data{"PXSIUP", "_Write_Initial_Data@0"};
// Write_Initial_Data's refusal: a setting's line would be longer than the
// start-up reader takes; nothing was written.
constexpr int16_t kSettingsLineTooLong = 15;
inline Declared<int32_t(int32_t)> Check_ScrMsgFile{"PXSIUP", "_Check_ScrMsgFile@4"};
inline Declared<int32_t()> Reload_ScrMsgFile{"PXSIUP", "_Reload_ScrMsgFile@0"};
// PXALL: the directory of a path kind (1 master, 2 price, 3 local price).
inline Declared<int32_t(int16_t, VbString*)> VBGetPathName{"PXALL", "_VBGetPathName@8"};

// Every entry above, so that tests can put them back.
inline const std::array<EntryPoint*, 19> kAllEntries = {
    &stup_main_proc.entry(),       &stup_set_client.entry(),      &stup_make_tmpfile.entry(),
    &VBGet_Latest_Lang.entry(),    &stup_client_check.entry(),    &ClientDriveCheck.entry(),
    &GetSetupedDriveInfo.entry(),  &Check_Setuped_Price.entry(),  &stup_kakaku_setup.entry(),
    &Check_Setuped_Localp.entry(), &Init_Setuped_Localp.entry(),  &Setup_Localp.entry(),
    &Localp3_SetImageFile.entry(), &Localp3_CopyImageFile.entry(), &VBGet_Setup_Data.entry(),
    &Write_Initial_Data.entry(),   &Check_ScrMsgFile.entry(),     &Reload_ScrMsgFile.entry(),
    &VBGetPathName.entry()};

}  // namespace px::lib::setup
