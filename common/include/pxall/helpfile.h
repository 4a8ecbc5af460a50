// Help texts: one text file per screen and menu language in the program-file
// directory (path kind 4), named by the screen's 6-character help id, the
// menu language code and ".HLP" ("PXGYOM01.HLP"), one list line per text line.
#pragma once

#include <cstdint>

#include "platform/export.h"

extern "C" {

// Empties the list box and adds every line of the help file of `id` in the
// menu language, without its line end (CR LF or LF). A line of more than 119
// characters arrives in pieces of up to 119. 0, 11 (the file would not open,
// or its name does not fit a path) or 14 (read error), each failure logged
// with the file's path as the step.
PX_EXPORT int32_t VBReadHelpFile(int32_t hwnd, const char* id);

}
