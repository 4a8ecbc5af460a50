// Entry boxes that feed a fixed-width field of the catalogue's bytes.
//
// A field holds bytes in the system's code page, not characters: under 932 a
// Japanese character takes two of them. A box limited by characters would take
// more than the field holds, and the text would be cut later, perhaps inside a
// character. limit_to_field() makes the box refuse, as it is typed or pasted,
// any change that would not fit the field's bytes or that holds a character
// the code page cannot write; what the box shows is then always what the field
// will hold.
#pragma once

#include <string>
#include <string_view>

#include <QString>

class QLineEdit;

namespace px {

// The text's bytes in the current code page, or false where a character has
// no byte form in it.
bool ansi_bytes(const QString& text, std::string* bytes);

// The length of the longest head of `bytes` no longer than `max` that ends on
// a character boundary of the current code page (a double-byte character of
// 932 is never split).
size_t ansi_cut_length(std::string_view bytes, size_t max);
// That head itself.
std::string ansi_cut(std::string_view bytes, size_t max);

// The text in capitals where that keeps its bytes: a character whose
// capital the code page lacks, or writes in other bytes (the sharp s that
// becomes "SS"), stays as it is, so that upper-casing never lengthens a
// field's text or makes it unwritable.
QString ansi_upper(const QString& text);

// Limits the box to what a field of `field_bytes` bytes holds. The box's
// current text is kept when it fits, else cut at a character boundary.
void limit_to_field(QLineEdit* box, int field_bytes);

}  // namespace px
