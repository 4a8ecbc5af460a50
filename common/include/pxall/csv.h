// Fields of a CSV text line (NUL- or LF-terminated).
//
// A field in double quotes runs from after the opening quote to before the
// closing one; inside it the separator does not end the field, and two double
// quotes stand for one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/export.h"

namespace pxall {

// The field starting at pos: *first and *last get the offsets from pos of
// its first and last character (*first > *last for an empty field). Returns
// the address after the separator that ends the field, or null when the
// field ends the line. A field is cut at 32767 bytes. The separator is a
// comma unless the caller names another (a semicolon, as spreadsheets write
// CSV where the comma is the decimal sign).
PX_EXPORT const char* get_next_csv(const char* pos, int16_t* first, int16_t* last, char sep = ',');
// Copies the characters pos[first..last] into dest, at most n bytes of them,
// each doubled double quote becoming one; a field longer than n is cut
// before a character that does not fit whole (pxall/text_cut.h), and the
// rest of dest is not touched. Nothing is copied when first lies beyond
// last. Returns the offset after the last character copied.
PX_EXPORT int copy_csv_item(const char* pos, char* dest, int n, int16_t first, int16_t last);

// Appends a field of `width` bytes in double quotes, each double quote in it
// doubled, after a comma unless it is the line's first field.
PX_EXPORT void append_csv_quoted(std::string* out, const unsigned char* field, size_t width, bool first = false);

}  // namespace pxall
