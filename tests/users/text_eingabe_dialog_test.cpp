#include "core/program_state.h"
#include "toolkit/image_button.h"
#include "users/text_eingabe_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace quendal;

namespace {

// Shows the dialog modally and runs `whileOpen` once it is up.
int runDialog(TTextEingabeDialog& dialog, const std::function<void()>& whileOpen) {
    QTimer::singleShot(0, &dialog, whileOpen);
    return dialog.exec();
}

ImageButton* button(TTextEingabeDialog& dialog, const char* name) {
    return dialog.findChild<ImageButton*>(QString::fromLatin1(name));
}

} // namespace

TEST(TTextEingabeDialog, LayoutAndCaptionsByLanguage) {
    TTextEingabeDialog dialog;
    EXPECT_EQ(dialog.size(), QSize(392 + 46, 130 + 71));
    EXPECT_EQ(dialog.findChild<QWidget*>(QStringLiteral("ppp"))->geometry(),
              QRect(23, 47, 392, 130));
    auto* nl1 = dialog.findChild<QLabel*>(QStringLiteral("NL1"));
    ASSERT_NE(nl1, nullptr);
    ASSERT_NE(dialog.NameEdit(), nullptr);
    EXPECT_EQ(dialog.NameEdit()->objectName(), QStringLiteral("NameEdit"));

    for (const int language : {1, 2}) {
        programState().UiLanguage = language;
        dialog.FormShow();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Name"));
        EXPECT_EQ(nl1->text(), QStringLiteral("Name:"));
        EXPECT_EQ(button(dialog, "okbutton")->text(), QStringLiteral("OK"));
        EXPECT_EQ(button(dialog, "cancelbutton")->text(),
                  language == 1 ? QStringLiteral("Abbrechen") : QStringLiteral("Cancel"));
    }
}

TEST(TTextEingabeDialog, IsEmptiedAndCentredOnEveryShow) {
    programState().PlayWidth = 800;
    programState().PlayHeight = 600;
    TTextEingabeDialog dialog;
    QString atShow = QStringLiteral("?");
    QPoint shownAt;
    const int result = runDialog(dialog, [&] {
        atShow = dialog.text();
        shownAt = dialog.pos();
        QTest::keyClicks(dialog.NameEdit(), QStringLiteral("Anna"));
        QTest::keyClick(dialog.NameEdit(), Qt::Key_Return);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(atShow, QString());
    EXPECT_EQ(shownAt, QPoint((800 - 438) / 2, (600 - 201) / 2));
    EXPECT_EQ(dialog.text(), QStringLiteral("Anna")); // the caller reads it after the close

    runDialog(dialog, [&] {
        atShow = dialog.text();
        QTest::keyClick(dialog.NameEdit(), Qt::Key_Escape);
    });
    EXPECT_EQ(atShow, QString());
}

TEST(TTextEingabeDialog, RefusesANameOfBlanksAndStaysOpen) {
    TTextEingabeDialog dialog;
    bool openAfterEnter = false;
    bool openAfterOkButton = false;
    QString written = QStringLiteral("?");
    const int result = runDialog(dialog, [&] {
        QTest::keyClicks(dialog.NameEdit(), QStringLiteral("   "));
        QTest::keyClick(dialog.NameEdit(), Qt::Key_Return);
        openAfterEnter = dialog.isVisible();
        written = dialog.text();
        dialog.NameEdit()->setText(QStringLiteral(" \t "));
        QTest::mouseClick(button(dialog, "okbutton"), Qt::LeftButton);
        openAfterOkButton = dialog.isVisible();
        QTest::keyClicks(dialog.NameEdit(), QStringLiteral("Bea"));
        QTest::keyClick(dialog.NameEdit(), Qt::Key_Enter); // the keypad's Enter
    });
    EXPECT_TRUE(openAfterEnter);
    EXPECT_TRUE(openAfterOkButton);
    EXPECT_EQ(written, QString()); // the trimmed text is written back
    EXPECT_EQ(result, 1);
    EXPECT_EQ(dialog.text(), QStringLiteral("Bea"));
}

TEST(TTextEingabeDialog, TrimsTheEndsAndKeepsInnerBlanks) {
    TTextEingabeDialog dialog;
    const int result = runDialog(dialog, [&] {
        dialog.NameEdit()->setText(QString::fromUtf8("\t  Jörg  Müller \t"));
        QTest::mouseClick(button(dialog, "okbutton"), Qt::LeftButton);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(dialog.text(), QString::fromUtf8("Jörg  Müller"));
}

TEST(TTextEingabeDialog, CancelButtonEscapeAndCloseBoxGiveTwo) {
    TTextEingabeDialog dialog;
    const auto typeThen = [&](const std::function<void()>& close) {
        return runDialog(dialog, [&] {
            QTest::keyClicks(dialog.NameEdit(), QStringLiteral("Carla"));
            close();
        });
    };
    EXPECT_EQ(typeThen([&] { QTest::keyClick(dialog.NameEdit(), Qt::Key_Escape); }), 2);
    EXPECT_EQ(typeThen([&] { QTest::mouseClick(button(dialog, "cancelbutton"), Qt::LeftButton); }),
              2);
    EXPECT_EQ(typeThen([&] {
                  QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(dialog.width() - 34, 26));
              }),
              2);
    EXPECT_FALSE(dialog.isVisible());
}
