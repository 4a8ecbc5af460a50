#include "shell/dialog_language.h"

#include <cstring>
#include <memory>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace px {

namespace {

// The translator installed for the menu language, if any.
std::unique_ptr<QTranslator> g_translator;

}  // namespace

QString dialog_locale(const char* menu_language_code) {
    if (menu_language_code == nullptr) return {};
    static const char* const kLocales[][2] = {{"02", "ja"}, {"03", "fr"}, {"04", "de"}, {"05", "es"}};
    for (const auto& l : kLocales)
        if (std::strncmp(menu_language_code, l[0], 2) == 0) return QString::fromLatin1(l[1]);
    return {};
}

bool apply_dialog_language(const char* menu_language_code) {
    if (g_translator) {
        QCoreApplication::removeTranslator(g_translator.get());
        g_translator.reset();
    }
    const QString locale = dialog_locale(menu_language_code);
    if (locale.isEmpty()) return true;
    auto translator = std::make_unique<QTranslator>();
    // qt_<locale> brings qtbase_<locale>, where the dialogs' texts are.
    if (!translator->load(QLocale(locale), "qt", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    g_translator = std::move(translator);
    return true;
}

}  // namespace px
