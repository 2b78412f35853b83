// The main job end to end on the offscreen platform, with SDL's virtual joystick: a gate, the
// parameters confirmed with Enter, the instruction screen started by the joystick's button,
// every round answered by moving the stick, the statistics view, and the run appended to the
// user's real result file with the values the stick chose. And the other ways a pass ends: the
// parameters or the instructions left with Escape, and a run ended by Escape in round 8.

#include "core/program_state.h"
#include "core/result_file.h"
#include "core/user_files.h"
#include "frame/meldung_dialog.h"
#include "run/durchgang_dialog.h"
#include "run/parameter_dialog.h"
#include "shell/haupt.h"
#include "shell/start_flow.h"
#include "shell_fixture.h"
#include "stats/einzelstatistik_dialog.h"
#include "toolkit/image_button.h"
#include "toolkit/number_field.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <SDL2/SDL.h>
#include <algorithm>
#include <functional>
#include <iterator>

using namespace quendal;
using namespace quendal::testing;

namespace {

constexpr const char* kMenuButtons[] = {"Einstellungenbutton",
                                        "Einzelstatistikbutton",
                                        "Gesamtstatistikbutton",
                                        "Hilfebutton",
                                        "Exitbutton",
                                        "Tor1",
                                        "Tor2"};

// The main window with the screens of the start flow, the login of a user on tag 1, and a
// driver that hands every modal screen that comes up to `act` once it is active.
class StartFlowTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        haupt.setDaten(&daten());
        haupt.useDialogs({nullptr, &meldung, nullptr, nullptr, &view});
        haupt.setGateHandler([this](int kind) { result = flow.GateClick(kind); });
    }

    // The main window shows (and finds a joystick attached by then) and Ben logs in.
    void logIn() {
        haupt.show();
        beginLogin(1, false);
        acceptLoginName("Ben");
    }

    // Clicks a gate and lets `act` handle every modal screen until the pass has ended; the
    // names of the screens met go to `met`, once for each showing.
    void clickGate(const char* gate, const std::function<void(QWidget* modal)>& act) {
        QTimer driver;
        QPointer<QWidget> last; // screens of one pass may follow each other at one address
        QObject::connect(&driver, &QTimer::timeout, &haupt, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            // The instruction and run screens lie in the main window, over all of it.
            for (QDialog* screen : haupt.findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) {
                if (screen->isVisible() && !screen->isWindow()) {
                    modal = screen;
                    embedded = embedded && screen->geometry() == haupt.rect();
                }
            }
            if (modal == nullptr) {
                return;
            }
            if (QApplication::activeWindow() != modal->window()) {
                modal->activateWindow();
                return;
            }
            menuHiddenDuringPass = menuHiddenDuringPass || menuHidden();
            if (modal != last) {
                last = modal;
                met << modal->objectName();
            }
            act(modal);
        });
        driver.start(5);
        QTest::mouseClick(haupt.findChild<ImageButton*>(gate), Qt::LeftButton);
        driver.stop();
    }

    bool menuHidden() const {
        return std::all_of(std::begin(kMenuButtons), std::end(kMenuButtons), [this](const char* n) {
            return haupt.findChild<QWidget*>(n)->isHidden();
        });
    }
    bool menuBack() const {
        return std::none_of(
            std::begin(kMenuButtons), std::end(kMenuButtons),
            [this](const char* n) { return haupt.findChild<QWidget*>(n)->isHidden(); });
    }

    // The parameter dialog with the rounds typed in.
    void typeRounds(const QString& rounds) {
        parameter.Durchspin()->setFocus();
        parameter.Durchspin()->selectAll();
        QTest::keyClicks(parameter.Durchspin(), rounds);
    }

    THaupt haupt;
    TMeldungDialog meldung{&haupt};
    TEinzelstatistikDialog view{nullptr, &haupt};
    TParameterDialog parameter{&meldung, &haupt};
    StartFlow flow{haupt, {&parameter, &view, &meldung}};
    int result = -1;
    bool menuHiddenDuringPass = false;
    bool embedded = true;
    QStringList met;
};

TEST_F(StartFlowTest, AGateLeadsToARunPlayedByJoystickAndSavedOnce) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    ASSERT_NE(stick, nullptr) << SDL_GetError();

    logIn();
    ASSERT_TRUE(programState().JoystickPresent);

    enum class Step { Parameters, Instructions, Run, View, Done } step = Step::Parameters;
    bool buttonDown = false;
    bool stickRight = false;
    int stickAnswers = 0;
    QStringList shownValues;
    QElapsedTimer sinceStimulus;
    clickGate("Tor1", [&](QWidget* modal) {
        if (modal == &parameter && step == Step::Parameters) {
            step = Step::Instructions;
            typeRounds(QStringLiteral("4"));
            QTest::keyClick(&parameter, Qt::Key_Return);
        } else if (modal->objectName() == QLatin1String("BeschreibungDialog")) {
            // The button goes down and, a moment later, up again.
            buttonDown = !buttonDown;
            SDL_JoystickSetVirtualButton(stick, 0, buttonDown ? SDL_PRESSED : SDL_RELEASED);
        } else if (auto* run = qobject_cast<TDurchgangDialog*>(modal); run != nullptr) {
            step = Step::Run;
            const bool waiting =
                run->findChild<QWidget*>("Mitte")->isVisible() && !run->engine().InputLocked();
            if (!waiting) {
                sinceStimulus.invalidate();
            } else if (!sinceStimulus.isValid()) {
                sinceStimulus.start();
            }
            // A user needs a while: answers of 80 ms or less would be eliminated.
            if (waiting && !stickRight && sinceStimulus.elapsed() > 150) {
                stickRight = true;
                ++stickAnswers;
                SDL_JoystickSetVirtualAxis(stick, 0, 32767);
            } else if (stickRight && run->engine().InputLocked()) {
                stickRight = false;
                SDL_JoystickSetVirtualAxis(stick, 0, 0);
            }
        } else if (modal == &view) {
            step = Step::Done;
            for (const char* cell : {"ri0", "fa0"}) {
                if (auto* label = view.findChild<QLabel*>(cell); label != nullptr) {
                    shownValues << label->text();
                }
            }
            QTest::keyClick(&view, Qt::Key_Escape);
        }
    });

    EXPECT_EQ(step, Step::Done);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(menuHiddenDuringPass) << "the menu is hidden during the pass";
    EXPECT_TRUE(menuBack()) << "and shown again after";
    EXPECT_TRUE(embedded) << "the screens cover the main window";
    EXPECT_EQ(stickAnswers, 4);
    EXPECT_EQ(shownValues, QStringList({"1", "3"})) << "right is value 3 once in four";

    // The run is in the file once; the main window's button appends nothing more.
    const std::string path = programState().DataFolder + "user1.dat";
    ResultList unused;
    ASSERT_TRUE(ReadResultFile(path, 1, false, unused));
    EXPECT_EQ(programState().RecordsRead, 1);
    const ResultRecord& saved = programState().current;
    EXPECT_EQ(saved.header[kPrtkey], "V-112");
    EXPECT_EQ(saved.roundCount, 4);
    for (int r = 1; r <= 4; ++r) {
        EXPECT_EQ(saved.rounds.at(static_cast<std::size_t>(r)).chosenValue, 3) << r;
        EXPECT_GT(saved.rounds.at(static_cast<std::size_t>(r)).reactionTimeMs, 80) << r;
    }
    EXPECT_EQ(data.read("user1.cfg").substr(0, 4), std::string("\x03"
                                                               "Ben",
                                                               4));

    daten().Joystick.close();
    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(index);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

// Leaving the parameter dialog, or the instruction screen, ends the pass: no run, no
// statistics, nothing in the user's files, and the menu comes back.
TEST_F(StartFlowTest, LeavingTheParametersOrTheInstructionsSavesNothingAndBringsTheMenuBack) {
    logIn();
    const RunSettings before = programState().runSettings;
    clickGate("Tor1", [&](QWidget* modal) {
        if (modal == &parameter) {
            typeRounds(QStringLiteral("8"));
            QTest::keyClick(&parameter, Qt::Key_Escape);
        }
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(met, QStringList{parameter.objectName()});
    EXPECT_TRUE(menuHiddenDuringPass);
    EXPECT_TRUE(menuBack());
    EXPECT_EQ(programState().runSettings.roundCount, before.roundCount) << "nothing stored";

    met.clear();
    menuHiddenDuringPass = false;
    clickGate("Tor2", [&](QWidget* modal) {
        if (modal == &parameter) {
            typeRounds(QStringLiteral("8"));
            QTest::keyClick(&parameter, Qt::Key_Return);
        } else if (modal->objectName() == QLatin1String("BeschreibungDialog")) {
            QTest::keyClick(modal, Qt::Key_Escape);
        }
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(met, QStringList({parameter.objectName(), QStringLiteral("BeschreibungDialog")}));
    EXPECT_TRUE(menuHiddenDuringPass);
    EXPECT_TRUE(menuBack());
    EXPECT_EQ(programState().runSettings.kind, 2);
    EXPECT_EQ(programState().runSettings.roundCount, 8);

    EXPECT_EQ(data.read("user1.dat"), "");
    EXPECT_FALSE(data.exists("user1.cfg")) << "the name is written only after a run";
}

// Escape in round 8 ends the run with the seven rounds played: they are shown and saved.
TEST_F(StartFlowTest, EscapeFromRoundEightOnSavesTheRoundsPlayed) {
    logIn();
    int answers = 0;
    bool escaped = false;
    QElapsedTimer sinceStimulus;
    // No note is due here; one would come up inside the driver's key press.
    bool noted = false;
    QTimer noteCloser;
    QObject::connect(&noteCloser, &QTimer::timeout, &meldung, [&] {
        if (meldung.isVisible()) {
            noted = true;
            QTest::keyClick(&meldung, Qt::Key_Return);
        }
    });
    noteCloser.start(10);
    clickGate("Tor1", [&](QWidget* modal) {
        if (modal == &parameter) {
            typeRounds(QStringLiteral("20"));
            QTest::keyClick(&parameter, Qt::Key_Return);
        } else if (modal->objectName() == QLatin1String("BeschreibungDialog")) {
            QTest::keyClick(modal, Qt::Key_Space);
        } else if (auto* run = qobject_cast<TDurchgangDialog*>(modal); run != nullptr) {
            const bool waiting =
                run->findChild<QWidget*>("Mitte")->isVisible() && !run->engine().InputLocked();
            if (!waiting) {
                sinceStimulus.invalidate();
                return;
            }
            if (programState().runSettings.currentRound == 8 && !escaped) {
                escaped = true;
                QTest::keyClick(run, Qt::Key_Escape);
            } else if (!sinceStimulus.isValid()) {
                sinceStimulus.start();
            } else if (sinceStimulus.elapsed() > 120) {
                ++answers;
                QTest::keyClick(run, Qt::Key_Right);
            }
        } else if (modal == &view) {
            QTest::keyClick(&view, Qt::Key_Escape);
        }
    });
    EXPECT_FALSE(noted);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(answers, 7);
    EXPECT_EQ(met, QStringList({parameter.objectName(), QStringLiteral("BeschreibungDialog"),
                                QStringLiteral("DurchgangDialog"), view.objectName()}));
    EXPECT_TRUE(menuBack());

    ResultList unused;
    ASSERT_TRUE(ReadResultFile(programState().DataFolder + "user1.dat", 1, false, unused));
    EXPECT_EQ(programState().RecordsRead, 1);
    const ResultRecord& saved = programState().current;
    EXPECT_EQ(saved.header[kPrtkey], "V-112");
    ASSERT_EQ(saved.roundCount, 7);
    for (int r = 1; r <= 7; ++r) {
        EXPECT_EQ(saved.rounds.at(static_cast<std::size_t>(r)).chosenValue, 3) << r;
    }
    EXPECT_EQ(data.read("user1.cfg").substr(0, 4), std::string("\x03"
                                                               "Ben",
                                                               4));
}

} // namespace
