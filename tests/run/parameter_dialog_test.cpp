// The parameter dialog shown modally and driven by real keys and clicks: typing into its
// number fields, Start by Enter, the button or the hidden focus button, the correction
// message answered in the program's real message box, and the choice stored in RunSettings.

#include "core/program_state.h"
#include "frame/meldung_dialog.h"
#include "run/parameter_dialog.h"
#include "toolkit/image_button.h"
#include "toolkit/number_field.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace quendal;

namespace {

struct Message {
    QString text;
    QString caption;
    QSize size;
};

class ParameterTest : public ::testing::Test {
  protected:
    // Shows the dialog modally and runs `whileOpen` once it is up.
    int run(const std::function<void()>& whileOpen) {
        QTimer::singleShot(0, &dialog_, [&] {
            dialog_.activateWindow(); // focus exists only in the active window
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog_));
            focusAtShow_ = dialog_.HBut1()->hasFocus();
            shownTime_ = dialog_.ZeitSpin()->text();
            shownRounds_ = dialog_.Durchspin()->text();
            whileOpen();
            if (dialog_.isVisible()) {
                closedByTest_ = true;
                dialog_.TOwnFenster::done(99); // a test that forgot to close never hangs
            }
        });
        closedByTest_ = false;
        return dialog_.exec();
    }

    // Empties a field the way a user does and types the text into it.
    static void type(NumberField* field, const QString& text) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }

    // Presses a key in the rounds field; a message box that opens on the way is read and
    // closed with Enter.
    void press(Qt::Key key, QWidget* target = nullptr) {
        QTimer::singleShot(0, &messageBox_, [this] {
            if (messageBox_.isVisible()) {
                messages_.push_back(
                    {messageBox_.findChild<QLabel*>(QStringLiteral("Textfeld"))->text(),
                     messageBox_.windowTitle(), messageBox_.size()});
                QTest::keyClick(&messageBox_, Qt::Key_Return);
            }
        });
        QTest::keyClick(target != nullptr ? target : dialog_.Durchspin(), key);
        QCoreApplication::processEvents(); // no message is left waiting for the next step
    }

    // Types the rounds and starts with Enter; returns the dialog's result.
    int startWithRounds(const QString& rounds, bool* openAfter = nullptr) {
        return run([&] {
            type(dialog_.Durchspin(), rounds);
            press(Qt::Key_Return);
            if (openAfter != nullptr) {
                *openAfter = dialog_.isVisible();
            }
        });
    }

    static void clickArrow(SpinButton* spin, bool up) {
        QTest::mouseClick(spin, Qt::LeftButton, {},
                          QPoint(spin->width() / 2, up ? 4 : spin->height() - 4));
    }

    TMeldungDialog messageBox_;
    TParameterDialog dialog_{&messageBox_};
    std::vector<Message> messages_;
    bool focusAtShow_ = false;
    bool closedByTest_ = false;
    QString shownTime_;
    QString shownRounds_;
};

const QString kCorrected = QString::fromUtf8(
    "Die Anzahl der Durchgänge wurde auf einen durch 4 teilbaren Wert korrigiert.");

} // namespace

TEST_F(ParameterTest, LayoutNamesAndTextsInBothLanguages) {
    EXPECT_EQ(dialog_.size(), QSize(454, 424));
    auto geometry = [&](const char* name) {
        auto* w = dialog_.findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w != nullptr ? w->geometry() : QRect();
    };
    EXPECT_EQ(geometry("ppp"), QRect(23, 47, 408, 353));
    EXPECT_EQ(geometry("LMDSimpleLabel2"), QRect(35, 15, 357, 90));
    EXPECT_EQ(geometry("LMDSimpleLabel7"), QRect(35, 106, 357, 51));
    EXPECT_EQ(geometry("LMDSimpleLabel9"), QRect(35, 158, 357, 51));
    EXPECT_EQ(geometry("NL4"), QRect(35, 210, 164, 45));
    EXPECT_EQ(geometry("SleepPanel"), QRect(223, 218, 69, 32));
    EXPECT_EQ(geometry("LMDSimpleLabel3"), QRect(298, 220, 46, 26));
    EXPECT_EQ(geometry("NL5"), QRect(35, 256, 166, 47));
    EXPECT_EQ(geometry("LMDSimplePanel1"), QRect(223, 263, 70, 32));
    EXPECT_EQ(geometry("okbutton"), QRect(64, 311, 138, 34));
    EXPECT_EQ(geometry("cancelbutton"), QRect(207, 311, 138, 34));
    EXPECT_EQ(dialog_.HBut1()->x(), -50);
    EXPECT_LT(dialog_.HBut1()->geometry().right(), 0); // out of sight
    // The groups keep their radio buttons apart.
    EXPECT_EQ(dialog_.VersionRadio(4)->parentWidget()->objectName(), "LMDSimpleLabel2");
    EXPECT_EQ(dialog_.PosRadio2()->parentWidget()->objectName(), "LMDSimpleLabel7");
    EXPECT_EQ(dialog_.AntRadio2()->parentWidget()->objectName(), "LMDSimpleLabel9");
    EXPECT_EQ(dialog_.ZeitSpin()->maxLength(), 4);
    EXPECT_EQ(dialog_.Durchspin()->maxLength(), 3);

    const struct {
        int language;
        std::vector<const char*> texts; // start, cancel, NL1..NL5, versions, pos, answer
    } rows[] = {
        {1,
         {"Starten", "Abbrechen",
          "Version:", "Position:", "Antwort:", "Zeitvorgabe:", "Anzahl Durchgänge:", "Version 1",
          "Version 2", "Version 3", "Version 4", "Fest", "Zufall", "optisch", "akustisch"}},
        {2,
         {"Start", "Cancel",
          "Version:", "Position:", "Answer:", "Interval:", "Rounds:", "version 1", "version 2",
          "version 3", "version 4", "steady", "random", "optical", "acoustic"}},
    };
    const char* names[] = {"okbutton",      "cancelbutton",  "NL1",           "NL2",
                           "NL3",           "NL4",           "NL5",           "VersionRadio1",
                           "VersionRadio2", "VersionRadio3", "VersionRadio4", "PosRadio1",
                           "PosRadio2",     "AntRadio1",     "AntRadio2"};
    for (const auto& row : rows) {
        programState().UiLanguage = row.language;
        QStringList shown;
        EXPECT_EQ(run([&] {
                      for (const char* name : names) {
                          auto* w = dialog_.findChild<QWidget*>(QString::fromLatin1(name));
                          if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                              shown << b->text();
                          } else if (auto* l = qobject_cast<QLabel*>(w)) {
                              shown << l->text();
                          }
                      }
                      press(Qt::Key_Escape, dialog_.HBut1());
                  }),
                  2);
        QStringList expected;
        for (const char* text : row.texts) {
            expected << QString::fromUtf8(text);
        }
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(dialog_.windowTitle(), QStringLiteral("Parameter"));
        EXPECT_TRUE(focusAtShow_);
        EXPECT_FALSE(closedByTest_);
    }
    EXPECT_EQ(shownTime_, QStringLiteral("3000"));
    EXPECT_EQ(shownRounds_, QStringLiteral("20"));
}

TEST_F(ParameterTest, RoundsNotAMultipleOfFourAreCorrectedWithAMessage) {
    bool openAfter = false;
    // 21: the message, the field reads 20, the dialog stays; Start again closes with 20.
    EXPECT_EQ(run([&] {
                  type(dialog_.Durchspin(), QStringLiteral("21"));
                  press(Qt::Key_Return);
                  openAfter = dialog_.isVisible();
                  EXPECT_EQ(dialog_.Durchspin()->text(), QStringLiteral("20"));
                  EXPECT_EQ(dialog_.DurchSpinButton()->value(), 20);
                  press(Qt::Key_Return);
              }),
              1);
    EXPECT_TRUE(openAfter);
    ASSERT_EQ(messages_.size(), 1U);
    EXPECT_EQ(messages_[0].text, kCorrected);
    EXPECT_EQ(messages_[0].caption, QStringLiteral("Hinweis"));
    EXPECT_EQ(messages_[0].size, QSize(487, 264)); // six lines
    RunSettings settings;
    StoreParameterChoice(dialog_, 1, settings);
    EXPECT_EQ(settings.roundCount, 20);

    // 250: corrected to 248, which the field clamps to 200; Start by the button this time.
    programState().UiLanguage = 2;
    EXPECT_EQ(run([&] {
                  type(dialog_.Durchspin(), QStringLiteral("250"));
                  QTimer::singleShot(0, &messageBox_, [this] {
                      messages_.push_back(
                          {messageBox_.findChild<QLabel*>(QStringLiteral("Textfeld"))->text(),
                           messageBox_.windowTitle(), messageBox_.size()});
                      QTest::keyClick(&messageBox_, Qt::Key_Escape);
                  });
                  QTest::mouseClick(dialog_.findChild<ImageButton*>(QStringLiteral("okbutton")),
                                    Qt::LeftButton);
                  openAfter = dialog_.isVisible();
                  EXPECT_EQ(dialog_.Durchspin()->text(), QStringLiteral("200"));
                  EXPECT_EQ(dialog_.DurchSpinButton()->value(), 200);
                  press(Qt::Key_Escape);
              }),
              2);
    EXPECT_TRUE(openAfter);
    ASSERT_EQ(messages_.size(), 2U);
    EXPECT_EQ(messages_[1].text, QStringLiteral("The number of rounds was corrected to a value "
                                                "that can be devided by 4."));
    EXPECT_EQ(messages_[1].caption, QStringLiteral("Info"));
    EXPECT_EQ(shownRounds_, QStringLiteral("20")); // kept from the first show
}

TEST_F(ParameterTest, RoundsThatNeedNoMessage) {
    // 300 is a multiple of 4: closes at once, clamped to 200 on closing.
    EXPECT_EQ(startWithRounds(QStringLiteral("300")), 1);
    EXPECT_EQ(dialog_.Durchspin()->text(), QStringLiteral("200"));
    // 2 and 0 become 4; an empty field counts as 4 and is filled with 20 on closing.
    EXPECT_EQ(startWithRounds(QStringLiteral("2")), 1);
    EXPECT_EQ(dialog_.Durchspin()->text(), QStringLiteral("4"));
    EXPECT_EQ(startWithRounds(QStringLiteral("0")), 1);
    EXPECT_EQ(dialog_.Durchspin()->text(), QStringLiteral("4"));
    EXPECT_EQ(startWithRounds(QString()), 1);
    EXPECT_EQ(dialog_.Durchspin()->text(), QStringLiteral("20"));
    // Text that is no number counts as 4 and says so once the dialog closed.
    EXPECT_EQ(startWithRounds(QStringLiteral("x7")), 1);
    EXPECT_EQ(dialog_.Durchspin()->text(), QStringLiteral("4"));
    // The field takes no more than three characters.
    EXPECT_EQ(startWithRounds(QStringLiteral("1000")), 1);
    EXPECT_EQ(dialog_.Durchspin()->text(), QStringLiteral("100"));
    EXPECT_TRUE(messages_.empty());
    EXPECT_FALSE(closedByTest_);
}

TEST_F(ParameterTest, TheTimeLimitIsPutRightWhenTheDialogCloses) {
    const struct {
        const char* typed;
        const char* closed;
        Qt::Key key;
        int result;
    } rows[] = {{"100", "500", Qt::Key_Return, 1},    {"9999", "5000", Qt::Key_Return, 1},
                {"1234", "1234", Qt::Key_Return, 1},  {"", "3000", Qt::Key_Return, 1},
                {"77777", "5000", Qt::Key_Return, 1}, // "7777": four characters at most
                {"12", "500", Qt::Key_Escape, 2}};    // cancelling puts it right too
    for (const auto& row : rows) {
        EXPECT_EQ(run([&] {
                      type(dialog_.ZeitSpin(), QString::fromLatin1(row.typed));
                      press(row.key, dialog_.ZeitSpin());
                  }),
                  row.result)
            << row.typed;
        EXPECT_EQ(dialog_.ZeitSpin()->text(), QString::fromLatin1(row.closed)) << row.typed;
    }
    // The close box closes with 2 and puts the fields right as well.
    EXPECT_EQ(run([&] {
                  type(dialog_.ZeitSpin(), QStringLiteral("40"));
                  type(dialog_.Durchspin(), QStringLiteral("999"));
                  QTest::mouseClick(&dialog_, Qt::LeftButton, {}, QPoint(454 - 40, 20));
              }),
              2);
    EXPECT_EQ(dialog_.ZeitSpin()->text(), QStringLiteral("500"));
    EXPECT_EQ(dialog_.Durchspin()->text(), QStringLiteral("200"));

    EXPECT_EQ(run([&] {
                  type(dialog_.ZeitSpin(), QStringLiteral("1234"));
                  press(Qt::Key_Return);
              }),
              1);
    RunSettings settings;
    StoreParameterChoice(dialog_, 2, settings);
    EXPECT_EQ(settings.timeLimitMs, 1234);
    EXPECT_EQ(settings.roundCount, 200);
    EXPECT_TRUE(messages_.empty());
    EXPECT_FALSE(closedByTest_);
}

TEST_F(ParameterTest, TheArrowsStepTheFieldsWithinTheirRanges) {
    EXPECT_EQ(run([&] {
                  clickArrow(dialog_.ZeitSpinbutton(), true);
                  EXPECT_EQ(dialog_.ZeitSpin()->text(), QStringLiteral("3100"));
                  clickArrow(dialog_.DurchSpinButton(), false);
                  clickArrow(dialog_.DurchSpinButton(), false);
                  EXPECT_EQ(dialog_.Durchspin()->text(), QStringLiteral("12"));
                  // From what was typed, not from the value the arrows held.
                  type(dialog_.ZeitSpin(), QStringLiteral("4950"));
                  clickArrow(dialog_.ZeitSpinbutton(), true);
                  EXPECT_EQ(dialog_.ZeitSpin()->text(), QStringLiteral("5000"));
                  clickArrow(dialog_.ZeitSpinbutton(), true);
                  EXPECT_EQ(dialog_.ZeitSpin()->text(), QStringLiteral("5000"));
                  type(dialog_.Durchspin(), QStringLiteral("6"));
                  clickArrow(dialog_.DurchSpinButton(), false);
                  EXPECT_EQ(dialog_.Durchspin()->text(), QStringLiteral("4"));
                  clickArrow(dialog_.DurchSpinButton(), true);
                  EXPECT_EQ(dialog_.Durchspin()->text(), QStringLiteral("8"));
                  press(Qt::Key_Return);
              }),
              1);
    // The next show starts the arrows from the fields.
    EXPECT_EQ(run([&] {
                  EXPECT_EQ(dialog_.ZeitSpinbutton()->value(), 5000);
                  EXPECT_EQ(dialog_.DurchSpinButton()->value(), 8);
                  clickArrow(dialog_.ZeitSpinbutton(), false);
                  EXPECT_EQ(dialog_.ZeitSpin()->text(), QStringLiteral("4900"));
                  press(Qt::Key_Escape);
              }),
              2);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(ParameterTest, TheChoiceIsKeptAcrossShowsAndStoredInRunSettings) {
    RunSettings settings;
    settings.version = 3;
    // The defaults: version 1, fixed positions, optical feedback, 3000 ms, 20 rounds.
    EXPECT_EQ(run([&] { press(Qt::Key_Return, dialog_.HBut1()); }), 1);
    StoreParameterChoice(dialog_, 1, settings);
    EXPECT_EQ(settings.kind, 1);
    EXPECT_EQ(settings.version, 1);
    EXPECT_EQ(settings.frameMode, 2);
    EXPECT_EQ(settings.feedback, 1);
    EXPECT_EQ(settings.timeLimitMs, 3000);
    EXPECT_EQ(settings.roundCount, 20);

    // Chosen for a colour run, then shown again for the number gate: the same values.
    EXPECT_EQ(run([&] {
                  QTest::mouseClick(dialog_.VersionRadio(4), Qt::LeftButton);
                  QTest::mouseClick(dialog_.PosRadio2(), Qt::LeftButton);
                  QTest::mouseClick(dialog_.AntRadio2(), Qt::LeftButton);
                  type(dialog_.ZeitSpin(), QStringLiteral("2500"));
                  type(dialog_.Durchspin(), QStringLiteral("40"));
                  dialog_.HBut1()->setFocus();
                  QTest::keyClick(dialog_.HBut1(), Qt::Key_Space); // HBut1 starts too
              }),
              1);
    bool version4 = false;
    bool random = false;
    bool acoustic = false;
    EXPECT_EQ(run([&] {
                  version4 = dialog_.VersionRadio(4)->isChecked();
                  random = dialog_.PosRadio2()->isChecked();
                  acoustic = dialog_.AntRadio2()->isChecked();
                  press(Qt::Key_Return);
              }),
              1);
    EXPECT_TRUE(version4 && random && acoustic);
    EXPECT_EQ(shownTime_, QStringLiteral("2500"));
    EXPECT_EQ(shownRounds_, QStringLiteral("40"));
    StoreParameterChoice(dialog_, 2, settings);
    EXPECT_EQ(settings.kind, 2);
    EXPECT_EQ(settings.version, 4);
    EXPECT_EQ(settings.frameMode, 1);
    EXPECT_EQ(settings.feedback, 2);
    EXPECT_EQ(settings.timeLimitMs, 2500);
    EXPECT_EQ(settings.roundCount, 40);

    // With no version checked the version stays as it was.
    dialog_.VersionRadio(4)->setAutoExclusive(false);
    dialog_.VersionRadio(4)->setChecked(false);
    settings.version = 3;
    StoreParameterChoice(dialog_, 2, settings);
    EXPECT_EQ(settings.version, 3);
    EXPECT_FALSE(closedByTest_);
}
