// The instruction screen as the start flow meets it: real bitmap lists of the build, a real
// modal exec() driven by real key events and by the data module's joystick button.

#include "core/program_state.h"
#include "frame/daten.h"
#include "run/beschreibung_dialog.h"
#include "run/run_texts.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace quendal {
namespace {

class BeschreibungDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ProgramState& state = programState();
        state.ProgramFolder =
            QFileInfo(QStringLiteral(QUENDAL_DATA_OUT)).absolutePath().toStdString() + "/";
        state.runSettings.kind = 1;
        state.runSettings.version = 3;
    }

    // A data module with the lists of the current play field and language.
    void makeDaten() {
        daten_ = std::make_unique<TDaten>();
        QString error;
        ASSERT_TRUE(daten_->LoadBitmapLists(&error)) << error.toStdString();
    }

    // Shows the screen modally; `whileShown` runs once it is up and the active window.
    int execWith(TBeschreibungDialog& dialog, const std::function<void()>& whileShown) {
        QTimer::singleShot(0, &dialog, [&] {
            dialog.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
            whileShown();
            // A screen the case left open is closed as its test's failure.
            if (dialog.isVisible()) {
                dialog.done(99);
            }
        });
        return dialog.exec();
    }

    std::unique_ptr<TDaten> daten_;
};

TEST_F(BeschreibungDialogTest, EveryExerciseHasItsOwnInstructionInBothLanguages) {
    using texts::beschreibung::instructionText;
    // The colour exercise, version 3, in German: five lines, the fourth empty.
    const QStringList lines = instructionText(1, 3, 1).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], QStringLiteral("In der Mitte erscheint ein WORT."));
    EXPECT_TRUE(lines[3].isEmpty());
    EXPECT_EQ(lines[4], QStringLiteral("Nicht auf den Wortinhalt reagieren!"));
    EXPECT_EQ(instructionText(1, 1, 2),
              QStringLiteral("A COLOR will appear in the center.\n"
                             "Move the color to the matching color as fast as possible.\n\n"
                             "COLOR to COLOR"));
    EXPECT_EQ(instructionText(2, 2, 2),
              QStringLiteral("Dots will appear in the center.\n"
                             "Move the correct number (amount) to the matching digit as fast as "
                             "possible.\n\nNUMBER to DIGIT"));
    EXPECT_EQ(instructionText(2, 4, 1).split(QLatin1Char('\n')).last(),
              QStringLiteral("Nicht auf die Anzahl reagieren!"));
    QSet<QString> seen;
    for (int language = 1; language <= 2; ++language) {
        for (int kind = 1; kind <= 2; ++kind) {
            for (int version = 1; version <= 4; ++version) {
                const QString text = instructionText(kind, version, language);
                EXPECT_FALSE(text.isEmpty()) << kind << "," << version << "," << language;
                seen.insert(text);
            }
        }
    }
    EXPECT_EQ(seen.size(), 16);
    EXPECT_TRUE(instructionText(0, 1, 1).isEmpty());
    EXPECT_TRUE(instructionText(1, 5, 2).isEmpty());
}

TEST_F(BeschreibungDialogTest, TheScreenCoversThePlayFieldWithItsTextsInsideTheFrame) {
    struct Case {
        int width, height, language, kind, version, instructionSize, hintSize;
        bool joystick;
        const char* hint;
    };
    const Case cases[] = {
        {1024, 768, 1, 1, 3, 22, 17, false, "Starten Sie über die Leertaste"},
        {800, 600, 2, 2, 1, 16, 12, true, "Press the space bar or the joystick button to start"},
        {640, 480, 1, 2, 4, 12, 9, true, "Starten Sie über die Leertaste oder den Joystickknopf"},
    };
    for (const Case& c : cases) {
        ProgramState& state = programState();
        state.PlayWidth = c.width;
        state.PlayHeight = c.height;
        state.UiLanguage = c.language;
        state.runSettings.kind = c.kind;
        state.runSettings.version = c.version;
        state.JoystickPresent = true;
        state.options.JoystickUse = c.joystick ? 1 : 0;
        makeDaten();
        const TDaten::ScreenBorders borders = Daten()->screenBorders();
        ASSERT_GT(borders.left, 0);
        ASSERT_GT(borders.bottom, 0);

        TBeschreibungDialog dialog;
        dialog.show();
        EXPECT_EQ(dialog.objectName(), QStringLiteral("BeschreibungDialog"));
        EXPECT_EQ(dialog.geometry(), QRect(0, 0, c.width, c.height));
        const QRect panel(borders.left, borders.top, c.width - borders.left - borders.right,
                          c.height - borders.top - borders.bottom);
        EXPECT_EQ(dialog.backpanel->geometry(), panel);
        EXPECT_EQ(dialog.label1->geometry(),
                  QRect(70, 20, panel.width() - 140, panel.height() - 40));
        EXPECT_EQ(dialog.label2->geometry(),
                  QRect(10, panel.height() - 70, panel.width() - 20, 40));
        EXPECT_EQ(dialog.label1->font().pointSize(), c.instructionSize) << c.width;
        EXPECT_EQ(dialog.label2->font().pointSize(), c.hintSize) << c.width;
        EXPECT_TRUE(dialog.label1->font().bold());
        EXPECT_EQ(dialog.label1->text(),
                  texts::beschreibung::instructionText(c.kind, c.version, c.language));
        EXPECT_EQ(dialog.label2->text(), QString::fromUtf8(c.hint));
        EXPECT_EQ(dialog.label1->palette().color(QPalette::WindowText), QColor(196, 253, 228));
        // The frame is painted over the black screen: its corner is not black, the middle is.
        const QImage shot = dialog.grab().toImage();
        EXPECT_NE(shot.pixelColor(2, 2), QColor(Qt::black));
        EXPECT_EQ(shot.pixelColor(panel.left() + 5, panel.top() + 5), QColor(Qt::black));
        if (const char* folder = std::getenv("QUENDAL_SHOTS"); folder != nullptr) {
            // Pictures for the eye: this case, then the longest text in the other language.
            const auto save = [&](const QImage& image) {
                image.save(QDir(QString::fromLocal8Bit(folder))
                               .filePath(QStringLiteral("beschreibung_%1_%2_%3%4.png")
                                             .arg(state.PlayWidth)
                                             .arg(state.UiLanguage == 1 ? "de" : "en")
                                             .arg(state.runSettings.kind)
                                             .arg(state.runSettings.version)));
            };
            save(shot);
            state.UiLanguage = 3 - c.language;
            state.runSettings = {.kind = 2, .version = 2};
            dialog.FormShow();
            save(dialog.grab().toImage());
        }
        dialog.done(TBeschreibungDialog::ResultCancel);
    }
    // The sizes between the steps.
    EXPECT_EQ(TBeschreibungDialog::instructionPointSize(660), 12);
    EXPECT_EQ(TBeschreibungDialog::instructionPointSize(661), 16);
    EXPECT_EQ(TBeschreibungDialog::instructionPointSize(820), 16);
    EXPECT_EQ(TBeschreibungDialog::instructionPointSize(821), 22);
    EXPECT_EQ(TBeschreibungDialog::instructionPointSize(1060), 22);
    EXPECT_EQ(TBeschreibungDialog::instructionPointSize(1061), 26);
    EXPECT_EQ(TBeschreibungDialog::hintPointSize(1280), 20);
}

TEST_F(BeschreibungDialogTest, ALetterLeavesItOpenSpaceStartsEscapeGoesBackAndThePointerReturns) {
    makeDaten();
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        TBeschreibungDialog dialog;
        bool openAfterLetter = false;
        bool pointerHidden = false;
        const int result = execWith(dialog, [&] {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            pointerHidden = cursor != nullptr && cursor->shape() == Qt::BlankCursor;
            QTest::keyClick(&dialog, Qt::Key_A);
            openAfterLetter = dialog.isVisible();
            QTest::keyClick(&dialog, Qt::Key_Space);
        });
        EXPECT_TRUE(pointerHidden);
        EXPECT_TRUE(openAfterLetter);
        EXPECT_EQ(result, TBeschreibungDialog::ResultOk);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    {
        TBeschreibungDialog dialog;
        // Escape reaches the form even when aimed at one of its controls.
        const int result =
            execWith(dialog, [&] { QTest::keyClick(dialog.label1, Qt::Key_Escape); });
        EXPECT_EQ(result, TBeschreibungDialog::ResultCancel);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
}

TEST_F(BeschreibungDialogTest, TheJoystickButtonStartsOnlyWhenTheJoystickIsInUse) {
    programState().JoystickPresent = true;
    makeDaten();
    {
        programState().options.JoystickUse = 1;
        TBeschreibungDialog dialog;
        const int result = execWith(dialog, [&] { Daten()->JoystickButton1_Change(true, 0, 0); });
        EXPECT_EQ(result, TBeschreibungDialog::ResultOk);
    }
    {
        programState().options.JoystickUse = 0;
        TBeschreibungDialog dialog;
        bool openAfterButton = false;
        const int result = execWith(dialog, [&] {
            Daten()->JoystickButton1_Change(true, 0, 0);
            openAfterButton = dialog.isVisible();
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        EXPECT_TRUE(openAfterButton);
        EXPECT_EQ(result, TBeschreibungDialog::ResultCancel);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace
} // namespace quendal
