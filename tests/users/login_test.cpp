// Logging in by a tag with the real name dialog, driven by keys, and the real name files in
// a temporary data folder.

#include "core/program_state.h"
#include "core/user_files.h"
#include "users/login.h"
#include "users/text_eingabe_dialog.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <string>

using namespace quendal;

namespace {

class LoginByTagTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        programState().DataFolder = dir_.path().toStdString() + "/";
    }

    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    void writeName(const char* file, const std::string& name) {
        QFile out(path(file));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        const std::string record = encodeNameRecord(name);
        out.write(record.data(), static_cast<qint64>(record.size()));
    }

    QByteArray fileBytes(const char* name) const {
        QFile in(path(name));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    // Clicks the tag; when the name dialog comes up, `inDialog` drives it. Returns whether
    // the user is logged in, and records whether the dialog was shown.
    bool click(int tag, bool rename, const std::function<void()>& inDialog = {}) {
        shown_ = false;
        QTimer driver;
        driver.setSingleShot(true);
        QObject::connect(&driver, &QTimer::timeout, &dialog_, [&] {
            shown_ = dialog_.isVisible();
            if (inDialog) {
                inDialog();
            }
            if (dialog_.isVisible()) {
                dialog_.cancelbuttonClick(); // a test that forgot to close never hangs
            }
        });
        driver.start(0);
        return LoginByTag(tag, rename, dialog_);
    }

    // Types the text key by key; characters beyond ASCII come as the keyboard layout would
    // send them, a key without a code of its own that types the character.
    void type(const QString& text, Qt::Key close = Qt::Key_Return) {
        for (const QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(dialog_.NameEdit(), c.toLatin1());
            } else {
                QTest::sendKeyEvent(QTest::Click, dialog_.NameEdit(), Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
            }
        }
        QTest::keyClick(dialog_.NameEdit(), close);
    }

    const std::string& name() const { return programState().CurrentUser.DisplayName; }

    QTemporaryDir dir_;
    TTextEingabeDialog dialog_;
    bool shown_ = false;
};

} // namespace

TEST_F(LoginByTagTest, LeftClickOnAnUnusedTagAsksForTheName) {
    EXPECT_TRUE(click(2, false, [&] { type(QString::fromUtf8("  Jörg Grün  ")); }));
    EXPECT_TRUE(shown_);
    EXPECT_EQ(name(), "Jörg Grün");
    const CurrentUserRecord& user = programState().CurrentUser;
    EXPECT_EQ(user.Folder, programState().DataFolder);
    EXPECT_EQ(user.ResultFileName, "user2.dat");
    EXPECT_EQ(user.SettingsFileName, "user2.cfg");
    // The name reaches its file only with the next WriteUserName.
    EXPECT_FALSE(QFile::exists(path("user2.cfg")));
    ASSERT_TRUE(WriteUserName());
    const QByteArray record = fileBytes("user2.cfg");
    ASSERT_EQ(record.size(), 51);
    EXPECT_EQ(record.at(0), 9);
    EXPECT_EQ(record.mid(1, 9), QByteArray("J\xF6rg Gr\xFCn"));
}

TEST_F(LoginByTagTest, LeftClickOnANamedTagLogsInAtOnce) {
    writeName("user3.cfg", "Carla");
    programState().current.roundCount = 20;
    EXPECT_TRUE(click(3, false));
    EXPECT_FALSE(shown_);
    EXPECT_EQ(name(), "Carla");
    EXPECT_EQ(programState().current.roundCount, 0); // no run done yet for this login
}

TEST_F(LoginByTagTest, RightClickAsksForANewNameEvenOnANamedTag) {
    writeName("user1.cfg", "Carla");
    const QByteArray before = fileBytes("user1.cfg");
    EXPECT_TRUE(click(1, true, [&] { type(QStringLiteral("Dora")); }));
    EXPECT_TRUE(shown_);
    EXPECT_EQ(name(), "Dora");
    EXPECT_EQ(fileBytes("user1.cfg"), before); // written at the next WriteUserName only
}

TEST_F(LoginByTagTest, CancellingKeepsTheStoredNameAndLogsNobodyIn) {
    writeName("user4.cfg", "Emil");
    EXPECT_FALSE(click(4, true, [&] { type(QStringLiteral("Fritz"), Qt::Key_Escape); }));
    EXPECT_TRUE(shown_);
    EXPECT_EQ(name(), "Emil");

    EXPECT_FALSE(click(2, false, [&] {
        QTest::mouseClick(&dialog_, Qt::LeftButton, {}, QPoint(dialog_.width() - 34, 26));
    }));
    EXPECT_TRUE(shown_);
    EXPECT_EQ(name(), "");
}

TEST_F(LoginByTagTest, ABlankNameIsRefusedUntilARealOneComes) {
    bool openAfterBlanks = false;
    EXPECT_TRUE(click(1, false, [&] {
        type(QStringLiteral("     "));
        openAfterBlanks = dialog_.isVisible();
        type(QStringLiteral(" Gina "));
    }));
    EXPECT_TRUE(openAfterBlanks);
    EXPECT_EQ(name(), "Gina");
}

TEST_F(LoginByTagTest, ASixtyCharacterNameKeepsItsFirstFifty) {
    const QString sixty =
        QString::fromUtf8("Ä") + QString(58, QLatin1Char('x')) + QString::fromUtf8("Ö");
    ASSERT_EQ(sixty.size(), 60);
    EXPECT_TRUE(click(1, false, [&] { type(sixty); }));
    EXPECT_EQ(QString::fromStdString(name()), sixty.left(50));
    ASSERT_TRUE(WriteUserName());
    const QByteArray record = fileBytes("user1.cfg");
    EXPECT_EQ(static_cast<unsigned char>(record.at(0)), 50);
    EXPECT_EQ(static_cast<unsigned char>(record.at(1)), 0xC4);
}

TEST_F(LoginByTagTest, ATagOutsideOneToFourDoesNothing) {
    EXPECT_FALSE(click(0, false));
    EXPECT_FALSE(click(5, true));
    EXPECT_FALSE(shown_);
    EXPECT_TRUE(programState().CurrentUser.ResultFileName.empty());
}
