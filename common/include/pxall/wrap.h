// Cutting a text into pieces of a fixed width, one piece a call.
//
// Each call fills the out field with w blanks, skips blank and control bytes
// from *pos, copies the next piece, advances *pos past it and returns 0; it
// returns -1 (pos unchanged) at the end of the text, and for a missing
// argument or a width below 1, so a loop "while (... == 0)" always ends.
#pragma once

#include <cstdint>

#include "platform/export.h"

namespace pxall {

// Pieces cut at word boundaries. The rest of the text when it fits into w;
// otherwise the first w characters cut at the last blank or NUL among them
// (the separator left out) or just after the last comma (the comma kept),
// whichever comes later. A separator only at the first place, none at all, or
// a blank right after the w characters takes all w characters, or fewer so as
// not to split a double-byte character (pxall/text_cut.h).
PX_EXPORT int memory_edit_2_n_data(const char* text, int text_len, char* out, int w, int32_t* pos);
// Pieces separated by ';': blanks, control bytes and ';' are skipped before a
// piece, which runs to the next ';' or the end, at most w characters (whole
// characters, as above).
PX_EXPORT int memory_edit_2_n_data_by_scolon(const char* text, int text_len, char* out, int w, int32_t* pos);

}  // namespace pxall
