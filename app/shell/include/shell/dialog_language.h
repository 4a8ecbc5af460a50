// The platform's own dialogs (the file dialog, the standard buttons of a
// message box) speak the menu language: Qt's translations of its own texts
// are loaded for it (Debian package qt6-translations-l10n). English needs
// none.
#pragma once

#include <QString>

namespace px {

// The locale of Qt's translations for a menu language code: "ja" for "02",
// "fr", "de", "es" for "03" to "05"; empty for English and any other code.
QString dialog_locale(const char* menu_language_code);

// Puts Qt's translations for the menu language in place of those of the
// language before. False where the language has translations but they are
// not installed: the dialogs then speak English.
bool apply_dialog_language(const char* menu_language_code);

}  // namespace px
