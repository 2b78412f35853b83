// The options dialog with the real "optionen.cfg" in a temporary data folder: loaded, shown,
// answered by keys, buttons or the close box, and written back.

#include "core/options_file.h"
#include "core/program_state.h"
#include "shell/optionen_dialog.h"
#include "toolkit/image_button.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

using namespace quendal;

namespace {

class OptionenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        programState().DataFolder = dir_.path().toStdString() + "/";
        programState().JoystickPresent = true;
    }

    QString file() const { return dir_.filePath(QStringLiteral("optionen.cfg")); }

    void writeFile(const QByteArray& bytes) const {
        QFile out(file());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }

    static QByteArray numbers(int32_t a, int32_t b) {
        QByteArray bytes(8, '\0');
        for (int i = 0; i < 4; ++i) {
            bytes[i] = static_cast<char>((static_cast<uint32_t>(a) >> (8 * i)) & 0xFF);
            bytes[4 + i] = static_cast<char>((static_cast<uint32_t>(b) >> (8 * i)) & 0xFF);
        }
        return bytes;
    }

    // What the program does from start to end: load, the options button, save at the close.
    QByteArray session(const std::function<void()>& inDialog) {
        LoadOptionen();
        QTimer::singleShot(0, &dialog_, [&] {
            dialog_.activateWindow(); // focus exists only in the active window
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog_));
            checkedAtShow_ = dialog_.Joycheck()->isChecked();
            enabledAtShow_ = dialog_.Joycheck()->isEnabled();
            inDialog();
        });
        EinstellungenbuttonClick(dialog_);
        EXPECT_FALSE(dialog_.isVisible());
        EXPECT_TRUE(SaveOptionen());
        QFile in(file());
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    void key(Qt::Key k) { QTest::keyClick(dialog_.Joycheck(), k); }
    void toggle() { QTest::keyClick(dialog_.Joycheck(), Qt::Key_Space); }
    void click(const char* name) {
        QTest::mouseClick(dialog_.findChild<ImageButton*>(QString::fromLatin1(name)),
                          Qt::LeftButton);
    }

    QTemporaryDir dir_;
    TOptionenDialog dialog_;
    bool checkedAtShow_ = false;
    bool enabledAtShow_ = false;
};

} // namespace

TEST_F(OptionenTest, LayoutNamesAndCaptionsByLanguage) {
    EXPECT_EQ(dialog_.size(), QSize(438, 231));
    EXPECT_EQ(dialog_.findChild<QWidget*>(QStringLiteral("ppp"))->geometry(),
              QRect(23, 47, 392, 160));
    EXPECT_EQ(dialog_.findChild<QLabel*>(QStringLiteral("Label1"))->geometry(),
              QRect(22, 23, 348, 75));
    EXPECT_EQ(dialog_.Joycheck()->objectName(), QStringLiteral("Joycheck"));
    EXPECT_EQ(dialog_.Joycheck()->geometry(), QRect(106, 58, 192, 17));
    auto* left = dialog_.findChild<ImageButton*>(QStringLiteral("cancelbutton"));
    auto* right = dialog_.findChild<ImageButton*>(QStringLiteral("okbutton"));
    ASSERT_NE(left, nullptr);
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(left->geometry(), QRect(57, 113, 138, 34));
    EXPECT_EQ(right->geometry(), QRect(197, 113, 138, 34));

    const struct {
        int language;
        const char* caption;
        const char* check;
        const char* cancel;
    } rows[] = {{1, "Optionen", "Joystick verwenden", "Abbrechen"},
                {2, "Options", "Use Joystick", "Cancel"}};
    for (const auto& row : rows) {
        programState().UiLanguage = row.language;
        dialog_.FormShow();
        EXPECT_EQ(dialog_.windowTitle(), QString::fromUtf8(row.caption));
        EXPECT_EQ(dialog_.Joycheck()->text(), QString::fromUtf8(row.check));
        EXPECT_EQ(left->text(), QStringLiteral("OK"));
        EXPECT_EQ(right->text(), QString::fromUtf8(row.cancel));
    }
}

TEST_F(OptionenTest, NoFileOrAShortOneMeansJoystickOnAndThirty) {
    EXPECT_EQ(session([&] { click("cancelbutton"); }), numbers(1, 30));
    EXPECT_TRUE(checkedAtShow_);

    writeFile(QByteArray("\x02\x00\x00\x00", 4)); // 4 bytes count as no file
    EXPECT_EQ(session([&] { key(Qt::Key_Return); }), numbers(1, 30));
    EXPECT_TRUE(checkedAtShow_);
}

TEST_F(OptionenTest, AnyValueButOneIsOffAndConfirmingWritesZero) {
    writeFile(numbers(2, 30));
    EXPECT_EQ(session([&] { key(Qt::Key_Return); }), numbers(0, 30));
    EXPECT_FALSE(checkedAtShow_);
}

TEST_F(OptionenTest, TheSecondValueIsKeptAsItWasAndLongerFilesAreCutToEight) {
    writeFile(numbers(1, 77) + QByteArray("rest"));
    EXPECT_EQ(session([&] {
                  toggle();
                  click("cancelbutton");
              }),
              numbers(0, 77));
    EXPECT_EQ(programState().options.JoystickUse, 0); // in effect at once
}

TEST_F(OptionenTest, WithoutJoystickTheBoxIsDisabledButShowsTheChoice) {
    programState().JoystickPresent = false;
    writeFile(numbers(1, 30));
    EXPECT_EQ(session([&] {
                  toggle(); // cannot change it
                  key(Qt::Key_Return);
              }),
              numbers(1, 30));
    EXPECT_TRUE(checkedAtShow_);
    EXPECT_FALSE(enabledAtShow_);

    writeFile(numbers(5, 30));
    EXPECT_EQ(session([&] { key(Qt::Key_Return); }), numbers(0, 30));
    EXPECT_FALSE(checkedAtShow_);
    EXPECT_FALSE(enabledAtShow_);

    programState().JoystickPresent = true; // a joystick found later does not enable it
    session([&] { key(Qt::Key_Escape); });
    EXPECT_FALSE(enabledAtShow_);
}

TEST_F(OptionenTest, CancelEscapeAndTheCloseBoxChangeNothing) {
    const std::function<void()> closes[] = {
        [&] { click("okbutton"); }, // the right button, named okbutton, cancels
        [&] { key(Qt::Key_Escape); },
        [&] { QTest::mouseClick(&dialog_, Qt::LeftButton, {}, QPoint(438 - 42, 18)); },
    };
    writeFile(numbers(1, 44));
    for (const auto& close : closes) {
        EXPECT_EQ(session([&] {
                      toggle();
                      close();
                  }),
                  numbers(1, 44));
        EXPECT_EQ(programState().options.JoystickUse, 1);
    }
}

TEST_F(OptionenTest, EnterConfirmsWhileTheCheckBoxHasTheFocus) {
    bool focused = false;
    bool checked = true;
    EXPECT_EQ(session([&] {
                  dialog_.Joycheck()->setFocus();
                  focused = dialog_.Joycheck()->hasFocus();
                  toggle();
                  checked = dialog_.Joycheck()->isChecked();
                  QTest::keyClick(dialog_.Joycheck(), Qt::Key_Enter);
              }),
              numbers(0, 30));
    EXPECT_TRUE(focused);
    EXPECT_FALSE(checked);
}

TEST_F(OptionenTest, IsCentredOnThePlayField) {
    programState().PlayWidth = 800;
    programState().PlayHeight = 600;
    QPoint shownAt;
    session([&] {
        shownAt = dialog_.pos();
        key(Qt::Key_Escape);
    });
    EXPECT_EQ(shownAt, QPoint((800 - 438) / 2, (600 - 231) / 2));
}
