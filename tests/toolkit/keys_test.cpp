#include "toolkit/keys.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace keys = quendal::keys;

namespace {

QKeyEvent press(int key, const QString& text = {},
                Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return QKeyEvent(QEvent::KeyPress, key, modifiers, text);
}

} // namespace

TEST(Keys, TranslatesTheKeysOfTheProgramToItsCodes) {
    EXPECT_EQ(keys::keyCode(press(Qt::Key_Return, QStringLiteral("\r"))), 13);
    EXPECT_EQ(keys::keyCode(press(Qt::Key_Enter, QStringLiteral("\r"), Qt::KeypadModifier)), 13);
    EXPECT_EQ(keys::keyCode(press(Qt::Key_Escape)), 27);
    EXPECT_EQ(keys::keyCode(press(Qt::Key_Space, QStringLiteral(" "))), 32);
    EXPECT_EQ(keys::keyCode(press(Qt::Key_Left)), 37);
    EXPECT_EQ(keys::keyCode(press(Qt::Key_Up)), 38);
    EXPECT_EQ(keys::keyCode(press(Qt::Key_Right)), 39);
    EXPECT_EQ(keys::keyCode(press(Qt::Key_Down)), 40);
    EXPECT_EQ(keys::keyCode(press(Qt::Key_F11)), 122);
    // Arrows of the number pad are arrows too.
    EXPECT_EQ(keys::keyCode(press(Qt::Key_Up, {}, Qt::KeypadModifier)), 38);
}

TEST(Keys, LettersKeepTheirUpperCaseCodeAndOtherKeysHaveNone) {
    EXPECT_EQ(keys::keyCode(press(Qt::Key_J, QStringLiteral("j"))), 'J');
    EXPECT_EQ(keys::keyCode(press(Qt::Key_7, QStringLiteral("7"))), '7');
    EXPECT_EQ(keys::keyCode(press(Qt::Key_F10)), 0);
    EXPECT_EQ(keys::keyCode(press(Qt::Key_Tab, QStringLiteral("\t"))), 0);
    EXPECT_EQ(keys::keyCode(press(Qt::Key_Shift)), 0);
}

TEST(Keys, KeyPressesGiveTheTypedCharacter) {
    EXPECT_EQ(keys::keyChar(press(Qt::Key_J, QStringLiteral("j"))), QLatin1Char('j'));
    EXPECT_EQ(keys::keyChar(press(Qt::Key_N, QStringLiteral("N"), Qt::ShiftModifier)),
              QLatin1Char('N'));
    EXPECT_EQ(keys::keyChar(press(Qt::Key_Udiaeresis, QStringLiteral("ü"))), QChar(0xFC));
    EXPECT_TRUE(keys::keyChar(press(Qt::Key_Left)).isNull());
    EXPECT_TRUE(keys::keyChar(press(Qt::Key_F11)).isNull());
}
