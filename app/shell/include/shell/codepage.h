// Texts of the catalogue (messages, captions, list lines, vehicle fields) are
// single-byte ANSI bytes: code page 1252 for the European languages, 932 for
// Japanese. They become Unicode only where a widget shows them or a printer
// prints them, and go back to bytes when they pass to a library.
//
// The system's OEM code page is a setting of the program: 932 when the menu
// language is Japanese, else 1252; the process environment variable
// PXDROM_CODEPAGE (932 or 1252) overrides it. It decodes the texts and picks
// the fixed-pitch face of grids and lists: "ＭＳ 明朝" (served by an installed
// Japanese face) with 932, "Courier" (served by a fixed-pitch face) else.
#pragma once

#include <string>
#include <string_view>

#include <QFont>
#include <QString>
#include <QStringList>

namespace px {

int ansi_code_page();
void set_ansi_code_page(int code_page);  // 1252 or 932

// The code page for a menu language code ("02" is Japanese) and the
// environment's override; the default when the override is absent or not
// one of the two.
int code_page_setting(const char* menu_language_code, const char* override_value);
// The started catalogue environment's menu language code ("01" English,
// "02" Japanese ...), empty before it is started.
std::string menu_language_code();
// Sets the code page from the started catalogue environment's menu language
// and PXDROM_CODEPAGE; the start-up calls it once the environment is read.
void apply_code_page_setting();

// The font name the system uses for fixed-pitch texts under the code page:
// "ＭＳ 明朝" with 932, else "Courier".
QString oem_font_name();
// The installed faces that serve a font name of the system, best first
// ("Courier" and "Courier New": fixed-pitch faces; "ＭＳ 明朝": Japanese faces).
QStringList font_faces_for(const QString& name);
// A screen font of the system's name and size, in the first installed face
// that serves it (a fixed-pitch face when none does).
QFont screen_font(const QString& name, qreal points);
// oem_font_name() at a size: the fixed-pitch face of every list and grid.
QFont oem_font(qreal points = 12);

QString from_ansi(std::string_view bytes);
std::string to_ansi(const QString& text);

// A fixed-length field as a text: cut at its first NUL.
QString field_text(const char* data, size_t len);

}  // namespace px
