// The life of the catalogue environment: drom_init builds the shared state
// from the environment file and the text files before the first screen is
// shown, drom_term removes it when the program ends.
#pragma once

#include <cstdint>

#include "platform/export.h"

extern "C" {

// 0 when the environment is ready; else non-zero (the reason stands in the
// error log).
PX_EXPORT int32_t drom_init();
// Deletes the work files (*.TMP in the work directory) and frees the texts
// and the shared area.
PX_EXPORT void drom_term();
// Makes the directory the program started in current again: non-zero on
// success.
PX_EXPORT int32_t drom_set_homedir();
// 0 when main-menu item `item` may be opened, else the message to show.
PX_EXPORT int32_t drom_check_setup(int16_t item);
// Releases the current saved list: 0 or the saved-list function's code.
PX_EXPORT int32_t drom_reset_com();

}
