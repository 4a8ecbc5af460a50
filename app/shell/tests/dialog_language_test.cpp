// The platform's dialogs speak the menu language through Qt's translations.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>

#include "shell/dialog_language.h"

namespace {

// A text of Qt's own dialogs as the application now gives it.
QString cancel() { return QCoreApplication::translate("QPlatformTheme", "Cancel"); }
QString open_file() { return QCoreApplication::translate("QFileDialog", "Open"); }

class DialogLanguageTest : public ::testing::Test {
protected:
    void TearDown() override { px::apply_dialog_language("01"); }
};

TEST_F(DialogLanguageTest, LocaleOfEachMenuLanguage) {
    const struct {
        const char* code;
        const char* locale;
    } cases[] = {{"01", ""}, {"02", "ja"}, {"03", "fr"}, {"04", "de"}, {"05", "es"}, {"09", ""}, {"", ""}};
    for (const auto& c : cases) EXPECT_EQ(px::dialog_locale(c.code), QString(c.locale)) << c.code;
    EXPECT_EQ(px::dialog_locale(nullptr), QString());
}

TEST_F(DialogLanguageTest, JapaneseDialogsAndBackToEnglish) {
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFileInfo::exists(dir + "/qtbase_ja.qm")) GTEST_SKIP() << "Qt's translations are not installed in " << dir.toStdString();
    ASSERT_TRUE(px::apply_dialog_language("02"));
    EXPECT_EQ(cancel(), QString::fromUtf8("キャンセル"));
    EXPECT_NE(open_file(), QString("Open"));
    // Another language replaces it; English needs none.
    ASSERT_TRUE(px::apply_dialog_language("03"));
    EXPECT_EQ(cancel(), QString("Annuler"));
    ASSERT_TRUE(px::apply_dialog_language("01"));
    EXPECT_EQ(cancel(), QString("Cancel"));
    EXPECT_EQ(open_file(), QString("Open"));
}

}  // namespace
