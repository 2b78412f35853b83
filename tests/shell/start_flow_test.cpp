// The main job end to end on the offscreen platform, with SDL's virtual joystick: a gate, the
// parameters confirmed with Enter, the instruction screen started by the joystick's button,
// every round answered by moving the stick, the statistics view, and the run appended to the
// user's real result file with the values the stick chose.

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
#include <QTest>
#include <QTimer>
#include <SDL2/SDL.h>

using namespace quendal;
using namespace quendal::testing;

namespace {

class StartFlowTest : public ShellTest {};

TEST_F(StartFlowTest, AGateLeadsToARunPlayedByJoystickAndSavedOnce) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    ASSERT_NE(stick, nullptr) << SDL_GetError();

    THaupt haupt;
    haupt.setDaten(&daten());
    TMeldungDialog meldung(&haupt);
    TEinzelstatistikDialog view(nullptr, &haupt);
    TParameterDialog parameter(&meldung, &haupt);
    haupt.useDialogs({nullptr, &meldung, nullptr, nullptr, &view});
    StartFlow flow(haupt, {&parameter, &view, &meldung});
    haupt.setGateHandler([&flow](int kind) { flow.GateClick(kind); });
    haupt.show();
    ASSERT_TRUE(programState().JoystickPresent);
    beginLogin(1, false);
    acceptLoginName("Ben");

    enum class Step { Parameters, Instructions, Run, View, Done } step = Step::Parameters;
    bool buttonDown = false;
    bool stickRight = false;
    int stickAnswers = 0;
    bool buttonsHidden = false;
    bool embedded = true;
    QStringList shownValues;
    QElapsedTimer sinceStimulus;
    QTimer driver;
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
        buttonsHidden = buttonsHidden || haupt.findChild<QWidget*>("Tor1")->isHidden();
        if (modal == &parameter && step == Step::Parameters) {
            step = Step::Instructions;
            parameter.Durchspin()->setFocus();
            parameter.Durchspin()->selectAll();
            QTest::keyClicks(parameter.Durchspin(), QStringLiteral("4"));
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
    driver.start(5);
    QTest::mouseClick(haupt.findChild<ImageButton*>("Tor1"), Qt::LeftButton);
    driver.stop();

    EXPECT_EQ(step, Step::Done);
    EXPECT_TRUE(embedded) << "the screens cover the main window";
    EXPECT_TRUE(buttonsHidden) << "the menu is hidden during the pass";
    EXPECT_FALSE(haupt.findChild<QWidget*>("Tor1")->isHidden()) << "and shown again after";
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

} // namespace
