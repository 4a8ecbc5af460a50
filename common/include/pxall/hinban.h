// Part numbers, file names, areas and item bits.
//
// Stored part number: 12 characters. Display form: 14 characters,
//   5 characters '-' 5 characters '-' 2 characters.
// Areas: index 0-3 of the letters "EGUJ".
#pragma once

#include <cstdint>

#include "platform/export.h"

namespace pxall {

constexpr int kHinbanSize = 12;
constexpr int kHinbanDisplaySize = 14;
constexpr const char* kAreaLetters = "EGUJ";

// The display form of a stored part number into 14 bytes. An all-blank part
// number gives its first 5 characters and 9 blanks.
PX_EXPORT void edit_hinban14(char* out, const char* hinban);
// Back from the display form into 12 bytes: characters 1-5; 7-11 at 6-10 when
// the 7th is above blank; 13-14 at 11-12 when the 13th is above blank; the
// rest blank.
PX_EXPORT void edit_hinban12(char* out, const char* display);
// A 14-byte buffer holding an 8+3 name ("KAKAKU  D  ") becomes the dotted
// name without blanks, NUL-terminated ("KAKAKU.D"); a name without an
// extension gets no dot.
PX_EXPORT void edit_filename(char* buf);
// Item number n of 3 digits ("009") to its bit in a bitmap: byte (n - 1) / 8,
// mask 0x80 >> ((n - 1) % 8). 0, or -1 for a number below 1 or not 3 digits,
// with *byte 0 and *mask 0 so that a caller that ignores the result neither
// tests nor sets a bit.
PX_EXPORT int teki2bit(const char* n3, int* byte, uint8_t* mask);
// The number of at most 9 characters, weighted by powers of ten from the
// right: a digit counts its value, a letter its code minus that of '7'
// (A = 10, B = 11 ..., either case); any other byte counts 0. 0 for a field
// longer than 9 or empty.
PX_EXPORT uint32_t cvt_alnum2ulong(const char* field, int n);

// Index 0-3 of the text's first character in "EGUJ"; -1 for any other or no
// text.
PX_EXPORT int area_id(const char* text);
// base + area index x step: the area's slot of a per-area table; null when
// text or base is missing, step is below 1 or the letter is unknown.
PX_EXPORT unsigned char* area_letter(const char* text, unsigned char* base, int step);
inline char* area_letter(const char* text, char* base, int step) {
    return reinterpret_cast<char*>(area_letter(text, reinterpret_cast<unsigned char*>(base), step));
}
// The letter of an area index into *letter: 0, or -1 for an index outside
// 0-3 (the letter untouched).
PX_EXPORT int GetAreaChar(int area, char* letter);

}  // namespace pxall
