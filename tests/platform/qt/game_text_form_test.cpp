#include "platform/qt/game_text.h"

#include <gtest/gtest.h>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <string>

#include "support/qt_printing.h"
#include "support/qt_typing.h"

namespace {

TEST(GameText, EveryByteShowsAsItsCodePageCharacterAndComesBack) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte)
        all.push_back(static_cast<char>(byte));
    const QString shown = FromGameText(all);
    EXPECT_EQ(ToGameText(shown), all);
    EXPECT_TRUE(FitsGameText(shown));

    EXPECT_EQ(FromGameText("\x80\xE9\x9F"), QString::fromUtf8("\u20ac\u00e9\u0178"));
    EXPECT_EQ(ToGameText(QString::fromUtf8("\u20ac\u00e9")), "\x80\xE9");
    EXPECT_FALSE(FitsGameText(QString::fromUtf8("\u03a9mega")));  // Greek capital omega
    EXPECT_FALSE(FitsGameText(QString::fromUtf8("\u0142")));      // Polish l with stroke
    EXPECT_FALSE(FitsGameText(QString::fromUtf8("\U0001F600")));  // outside the basic plane
    EXPECT_FALSE(FitsGameText(QString(QChar(0))));                // would end a stored text
}

class GameTextField : public ::testing::Test {
protected:
    GameTextField() { AcceptOnlyGameText(&field); }
    QLineEdit field;
};

TEST_F(GameTextField, TakesTheCodePageAndRefusesTheRestWhereTheCursorIs) {
    TypeText(&field, QString::fromUtf8("\u20ac\u00e9"));
    EXPECT_EQ(field.text(), QString::fromUtf8("\u20ac\u00e9"));
    field.setCursorPosition(1);
    TypeText(&field, QString::fromUtf8("\u03a9\u0142"));
    EXPECT_EQ(field.text(), QString::fromUtf8("\u20ac\u00e9"));
    EXPECT_EQ(field.cursorPosition(), 1);
    TypeText(&field, QStringLiteral("x"));
    EXPECT_EQ(field.text(), QString::fromUtf8("\u20acx\u00e9"));
    EXPECT_EQ(field.cursorPosition(), 2);
}

TEST_F(GameTextField, RefusesAPasteWithAForeignCharacterAndComposesAccents) {
    field.setText(QStringLiteral("ab"));
    field.setCursorPosition(1);
    QGuiApplication::clipboard()->setText(QString::fromUtf8("\u03a9mega"));
    field.paste();
    EXPECT_EQ(field.text(), "ab");
    EXPECT_EQ(field.cursorPosition(), 1);

    // "e" followed by a combining acute accent is the code page's "é".
    QGuiApplication::clipboard()->setText(QString::fromUtf8("e\u0301t\u00e9"));
    field.paste();
    EXPECT_EQ(field.text(), QString::fromUtf8("a\u00e9t\u00e9b"));
    EXPECT_EQ(field.cursorPosition(), 4);
    EXPECT_EQ(ToGameText(field.text()),
              "a\xE9t\xE9"
              "b");
}

}  // namespace
