// Entry boxes limited by the bytes of their field in the code page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "shell/codepage.h"
#include "shell/field_box.h"

namespace {

class FieldBoxTest : public ::testing::Test {
protected:
    void TearDown() override { px::set_ansi_code_page(1252); }
};

QString jp(const char* utf8) { return QString::fromUtf8(utf8); }

// Types each character as the keyboard sends it (a key event with its text).
void type(QLineEdit& box, const QString& text) {
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(&box, &press);
    }
}

TEST_F(FieldBoxTest, CutsOnlyAtCharacterBoundaries) {
    struct Case {
        int code_page;
        std::string bytes;
        size_t max;
        std::string want;
    } cases[] = {
        {1252, "ABCDEF", 4, "ABCD"},
        {1252, "AB", 4, "AB"},
        {1252, "\x82\xA0\x82\xA2", 3, "\x82\xA0\x82"},  // one byte a character in 1252
        {932, "\x82\xA0\x82\xA2", 3, "\x82\xA0"},       // never half of a double-byte character
        {932, "A\x82\xA0", 2, "A"},
        {932, "A\x82\xA0", 3, "A\x82\xA0"},
        {932, "\xB1\xB2\xB3", 2, "\xB1\xB2"},  // half-width kana are single bytes
        {932, "\xE0\x40Z", 1, ""},
    };
    for (const auto& c : cases) {
        px::set_ansi_code_page(c.code_page);
        EXPECT_EQ(px::ansi_cut(c.bytes, c.max), c.want) << c.code_page << " max " << c.max;
    }
}

TEST_F(FieldBoxTest, TellsTextsTheCodePageCannotWrite) {
    std::string bytes;
    px::set_ansi_code_page(1252);
    EXPECT_TRUE(px::ansi_bytes(QString("WHAT? A ") + QChar(0xE9), &bytes));  // a typed '?' is a character like any other
    EXPECT_FALSE(px::ansi_bytes(jp("\xE3\x81\x82"), &bytes));
    px::set_ansi_code_page(932);
    EXPECT_TRUE(px::ansi_bytes(jp("\xE3\x81\x82?"), &bytes));
    EXPECT_EQ(bytes, "\x82\xA0?");
    EXPECT_FALSE(px::ansi_bytes(jp("\xF0\x9F\x98\x80"), &bytes));  // no emoji in 932
}

TEST_F(FieldBoxTest, BoxTakesWhatTheFieldHoldsAndRefusesTheRest) {
    px::set_ansi_code_page(932);
    QLineEdit box;
    px::limit_to_field(&box, 5);
    // Two double-byte characters fill four bytes; a third does not fit.
    type(box, jp("\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86"));
    EXPECT_EQ(box.text(), jp("\xE3\x81\x82\xE3\x81\x84"));
    type(box, "X");  // the last byte takes a single-byte character
    EXPECT_EQ(box.text(), jp("\xE3\x81\x82\xE3\x81\x84X"));
    type(box, "Y");
    EXPECT_EQ(box.text(), jp("\xE3\x81\x82\xE3\x81\x84X"));

    px::set_ansi_code_page(1252);
    QLineEdit latin;
    px::limit_to_field(&latin, 5);
    type(latin, jp("AB\xE3\x81\x82" "CDEF"));  // a character 1252 lacks is refused
    EXPECT_EQ(latin.text(), "ABCDE");
}

TEST_F(FieldBoxTest, TextAlreadyInTheBoxIsCutAtABoundary) {
    px::set_ansi_code_page(932);
    QLineEdit box(jp("A\xE3\x81\x82\xE3\x81\x84"));
    px::limit_to_field(&box, 4);
    EXPECT_EQ(box.text(), jp("A\xE3\x81\x82"));
}

TEST_F(FieldBoxTest, UpperCaseKeepsTheTextsBytes) {
    struct Case {
        int code_page;
        QString text, want;
    } cases[] = {
        {1252, "b1a note", "B1A NOTE"},
        {1252, jp("stra\xC3\x9F" "e"), jp("STRA\xC3\x9F" "E")},        // the sharp s stays: "SS" would be longer
        {1252, jp("\xC3\xBF"), jp("\xC5\xB8")},                     // y with diaeresis has its capital in 1252
        {1252, jp("\xC2\xB5m"), jp("\xC2\xB5M")},                   // micro: its capital is Greek, not in 1252
        {932, jp("\xEF\xBD\x81b"), jp("\xEF\xBC\xA1B")},           // full-width a, two bytes either way
    };
    for (const Case& c : cases) {
        px::set_ansi_code_page(c.code_page);
        EXPECT_EQ(px::ansi_upper(c.text), c.want) << c.text.toStdString();
    }
}

}  // namespace
