// Texts of the catalogue (messages, captions, list lines, vehicle fields) are
// single-byte ANSI bytes: code page 1252 for the European languages, 932 for
// Japanese. They become Unicode only where a widget shows them or a printer
// prints them, and go back to bytes when they pass to a library.
#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace px {

int ansi_code_page();
void set_ansi_code_page(int code_page);  // 1252 or 932

QString from_ansi(std::string_view bytes);
std::string to_ansi(const QString& text);

// A fixed-length field as a text: cut at its first NUL.
QString field_text(const char* data, size_t len);

}  // namespace px
