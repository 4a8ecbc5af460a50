// List boxes of the program's screens, reached through the integer handle
// the screen passes (platform/controls.h).
#pragma once

#include <cstdint>

#include "platform/export.h"

extern "C" {

// Takes the selection off every line. The line count when it is below 1,
// else the result of the last selection call (kLbErr for an unknown handle).
PX_EXPORT int32_t VBAllResetListBox(int32_t hwnd);

// Empties the list box and adds every line of the text file, without its
// line end (CR LF or LF). A line of more than 127 characters arrives in
// pieces of up to 127. 0, 11 (the file would not open) or 14 (read error),
// each failure logged.
PX_EXPORT int32_t VBSetListBox(int32_t hwnd, const char* path);

}
