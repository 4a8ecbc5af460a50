// Message and screen texts of the menu language, by number.
//
// Message file "PXDROMnn.MSG" (nn the menu language code), in the
// program-file directory; text lines of at most 79 characters with the line
// feed. A line whose first 3 characters are digits defines message nnn; its
// text runs from the 4th character to the line end. A message of two lines
// is two lines with the same number, first line first. Other lines are
// skipped.
//
// Screen file "PXDROMnn.SCR", in the current directory; lines of at most 99
// characters with the line feed; "#" starts a comment line. A line whose
// first 4 characters are digits defines screen text nnnn; the 5th character
// separates, the text runs from the 6th character to the line end.
//
// Tables, in file order (the library holds them; the shared state block
// keeps only the entry counts):
//   message entry, 74 bytes, at most 400:   0 u16 number, 2 text of 71
//                                           characters blank-padded, 73 NUL
//   screen entry, 73 bytes, at most 500:    0 u16 number, 2 text of at most
//                                           70 characters, NUL-padded to 71
// Longer texts are cut before a character that does not fit; entries past
// the last are ignored.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/vbstring.h"

namespace pxall {

constexpr int kMsgMaxEntries = 400;
constexpr int kMsgEntrySize = 74;
constexpr int kMsgTextChars = 71;
constexpr int kMsgLineSize = 80;
constexpr int kScrMaxEntries = 500;
constexpr int kScrEntrySize = 73;
constexpr int kScrTextChars = 70;
constexpr int kScrLineSize = 100;
// The buffer _VBGetMsg@8 composes both lines in.
constexpr int kMsgJoinSize = 148;

// Load a table (a loaded one is freed first): 0, or 1 when the file cannot
// be opened or the table not allocated.
PX_EXPORT int set_msg();
PX_EXPORT int set_scr();
PX_EXPORT void free_msg();
PX_EXPORT void free_scr();

// The text of a message's first line, or null. Remembers the message so that
// get_2ndmsg_text, called next, answers its second line.
PX_EXPORT const char* get_1stmsg_text(int no);
// The second line of the message last found by get_1stmsg_text, or null;
// either way the memory of that message is dropped.
PX_EXPORT const char* get_2ndmsg_text();
// The screen text of a number, or null. A run of rising numbers is answered
// entry by entry without a search.
PX_EXPORT const char* get_scr_text(int no);

// Whether the menu language's texts are Japanese, in code page 932: a text
// cut to a field is then cut at a character boundary (pxall/text_cut.h).
PX_EXPORT bool texts_double_byte();

// The CD request box: "insert the CD" with Retry and Cancel. drive is an
// index of the CD drive list or -1 for any drive; cd_id is the 2-character
// CD id (or null), cd_no its 2-character CD number (or null: taken from the
// set-up table). 0 with *answer 1 (Cancel) or 2 (Retry); -1 to -3 when a
// text is missing, -4 when the box fails (each logged).
PX_EXPORT int disp_msgbox(int msg_no, int drive, const char* cd_id, const char* cd_no, int* answer);

}  // namespace pxall

extern "C" {
// Both lines of a message (the second behind CR LF) into the caller's
// string, NUL-padded: the string's byte count, or 0 (string unchanged) when
// the message does not exist.
PX_EXPORT int32_t VBGetMsg(int32_t no, VbString* str);
// A screen text into the caller's string, NUL-padded (a text as long as the
// string gets no terminator); a missing text leaves the string unchanged.
PX_EXPORT void VBGetScr(int32_t no, VbString* str);
}
