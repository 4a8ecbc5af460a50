// PXSIUP, the system-settings library: stages the settings the clerk
// chose, writes them into the environment file, and checks and reloads the
// text files of a menu language.
//
// Entries bound by the program (undecorated names).
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/vbstring.h"

extern "C" {

// Stages one setting in the shared state block, in effect at once:
// kind 0 current area index "0"-"3" (the master directory moves to the
// area's drive), 1 data-language number, 2 menu-language number, 3 price
// drive, 4 local-price drive (first character), 5 export programs joined
// by "," (up to 8), 6 the saved-list editor's export program. A value the
// environment file could not hold (an area without a drive, a language
// outside 1-9) is ignored.
PX_EXPORT void VBGet_Setup_Data(int16_t kind, const VbString* value);
// Rewrites the settings' lines of PXDROM.SYS (current directory) from the
// shared state block: 0; 11 open, 13 write, 14 read, 15 a setting's line
// longer than the start-up reader takes (pxall::env_line_fits; nothing is
// written, the backup neither). Unless it returns 0 the old file stays and
// the settings staged since the last rewrite are put back in the block.
PX_EXPORT int16_t Write_Initial_Data();
// 0 when PXDROMnn.SCR (current directory) and PXDROMnn.MSG (program-file
// directory) of language nn exist, else -1.
PX_EXPORT int32_t Check_ScrMsgFile(int32_t language);
// Reloads screen texts and messages when a menu language is set:
// set_msg's result, else 0.
PX_EXPORT int32_t Reload_ScrMsgFile();

}
