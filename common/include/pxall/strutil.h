// Helpers for the fixed-width, blank-padded byte fields of the catalogue
// records. A field is n single-byte characters, not NUL-terminated unless
// said so. "Blank" is 0x20; a byte of 0x20 or below counts as blank or
// control, anything above as a character. A length below 1 is an empty field:
// nothing is read or written.
#pragma once

#include "platform/export.h"

namespace pxall {

// Removes the leading copies of c, shifts the rest left and fills the freed
// tail with c; the number removed.
PX_EXPORT int memlft(char* field, char c, int n);
// Counts the leading run of c in field, turns every c of field into d (in
// place), then copies field without that run to dest and fills dest's tail
// with d; the length of the run. dest and field may be the same buffer.
PX_EXPORT int memlft2(char* dest, char* field, char c, char d, int n);
// Copies n bytes, writing d wherever the source byte is c.
PX_EXPORT void memrep(char* dest, const char* src, char c, char d, int n);
// As memlft on a NUL-terminated string; the number removed.
PX_EXPORT int strlft(char* s, char c);
// Replaces every c of a NUL-terminated string by d; the count. A NUL c
// replaces nothing.
PX_EXPORT int strrep(char* s, char c, char d);

// 1 when every byte is c (also for an empty field), else 0.
PX_EXPORT int memall(const char* field, char c, int n);
// Index of the first c; -1 when none or the field is empty.
PX_EXPORT int memclen(const char* field, char c, int n);
// Number of characters before the first blank or control byte (n when none).
PX_EXPORT int memlenf(const char* field, int n);
// Length without trailing blank and control bytes (0 for an all-blank field).
PX_EXPORT int memlenb(const char* field, int n);
// 1 when every byte is a decimal digit (also for an empty field), else 0.
PX_EXPORT int memisdigit(const char* field, int n);
// 1 when every byte is an ASCII letter or digit (also for an empty field).
PX_EXPORT int memisalnum(const char* field, int n);
// A catalogue code: every character a digit except the fifth, which may also
// be a letter. 1 or 0 (1 for an empty field, as memisdigit).
PX_EXPORT int memcatcheck(const char* field, int n);

// Right-justifies the characters above blank and fills the left with '0'.
// Fields longer than 9 are left unchanged.
PX_EXPORT void zeroedit(char* field, int n);
// Copies at most n bytes of a string, stopping at its terminator; adds none.
PX_EXPORT void memncpy(char* dest, const char* s, int n);
// Turns every trailing blank or control byte into NUL.
PX_EXPORT void last_space2null(char* field, int n);
// Offset of the first occurrence of pattern (m bytes) in buf (n bytes); -1
// when there is none, m is above n, or the pattern is empty. Kept inside
// pxall so it never stands in for the C library's memmem.
PX_EXPORT int memmem(const char* buf, int n, const char* pattern, int m);
// Blanks the leading '0', ',' and blank characters; a field left all blank
// gets '0' in its last position. The number of leading positions now blank
// ("0,000" becomes "    0": 4).
PX_EXPORT int erase_zero(char* field, int n);

}  // namespace pxall
