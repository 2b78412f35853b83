// The joystick from SDL's virtual device through the data module's calibration into the
// screen that is the active window.

#include "core/program_state.h"
#include "frame/daten.h"
#include "frame/joystick_screen.h"
#include "frame/meldung_dialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <SDL2/SDL.h>
#include <cmath>
#include <gtest/gtest.h>
#include <ostream>
#include <utility>

using namespace quendal;

// Readable failures.
static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

// A screen that takes the joystick and writes down what reached it.
class StandInScreen : public QWidget, public JoystickScreen {
  public:
    explicit StandInScreen(const char* formName) {
        setObjectName(QString::fromLatin1(formName));
        resize(300, 200);
    }
    void HandleDirection(int key) override { calls << QStringLiteral("dir %1").arg(key); }
    void ReleaseDirection() override { calls << QStringLiteral("release"); }
    void StartFromInstructions(int key) override { calls << QStringLiteral("start %1").arg(key); }
    // What reached the screen since the last look.
    QStringList take() { return std::exchange(calls, {}); }

    QStringList calls;
};

class DatenJoystick : public ::testing::Test {
  protected:
    void SetUp() override {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
        index_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
        ASSERT_GE(index_, 0) << SDL_GetError();
        stick_ = SDL_JoystickOpen(index_);
        ASSERT_NE(stick_, nullptr) << SDL_GetError();
        programState().options = {1, 30};
    }
    void TearDown() override {
        daten.Joystick.close();
        SDL_JoystickClose(stick_);
        SDL_JoystickDetachVirtual(index_);
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }

    // The start-up's detection: the stick's position now becomes its rest position.
    void openAtStartUp() {
        programState().JoystickPresent = daten.Joystick.open(index_);
        ASSERT_TRUE(programState().JoystickPresent);
    }
    void show(QWidget& screen) {
        screen.show();
        screen.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    }
    void setRaw(int x, int y) {
        SDL_JoystickSetVirtualAxis(stick_, 0, static_cast<Sint16>(x));
        SDL_JoystickSetVirtualAxis(stick_, 1, static_cast<Sint16>(y));
    }
    // Sets the stick to a raw position that scales to (x, y).
    void setScaled(int x, int y) {
        const JoystickCalibration& c = daten.Joystick.calibration();
        const int rawX =
            c.centreX + static_cast<int>(std::lround(x * (x < 0 ? c.leftFactor : c.rightFactor)));
        const int rawY =
            c.centreY + static_cast<int>(std::lround(y * (y < 0 ? c.upFactor : c.downFactor)));
        ASSERT_EQ(daten.Joystick.scaled({rawX, rawY}), QPoint(x, y));
        setRaw(rawX, rawY);
    }
    // ... and lets the device read it now, as its polling timer does every millisecond.
    void moveScaled(int x, int y) {
        setScaled(x, y);
        daten.Joystick.poll();
    }
    void button(bool down) {
        SDL_JoystickSetVirtualButton(stick_, 0, down ? SDL_PRESSED : SDL_RELEASED);
        daten.Joystick.poll();
    }

    TDaten daten;
    int index_ = -1;
    SDL_Joystick* stick_ = nullptr;
};

// Waits up to a second for the polling timer to bring something to the screen.
QStringList waitForCalls(StandInScreen& screen) {
    QElapsedTimer clock;
    clock.start();
    while (screen.calls.isEmpty() && clock.elapsed() < 1000) {
        QTest::qWait(2);
    }
    return screen.take();
}

} // namespace

TEST_F(DatenJoystick, TheRunScreenGetsADirectionOutsideTheDeadZoneAndAReleaseInsideIt) {
    openAtStartUp();
    EXPECT_FALSE(daten.Joystick.polling()) << "nobody listens yet";
    StandInScreen run("DurchgangDialog");
    show(run);
    daten.JoystickScreenShown(true);
    EXPECT_TRUE(daten.Joystick.polling());

    // The polling timer brings the move without any help.
    setRaw(32767, 0);
    EXPECT_EQ(waitForCalls(run), QStringList{"dir 39"});
    moveScaled(31, 0);
    EXPECT_EQ(run.take(), QStringList{"dir 39"});
    moveScaled(30, 0);
    EXPECT_EQ(run.take(), QStringList{"release"});
    moveScaled(-30, 30);
    EXPECT_EQ(run.take(), QStringList{"release"});
    moveScaled(-200, -200);
    EXPECT_EQ(run.take(), (QStringList{"dir 37", "dir 38"})) << "left, then up";
    moveScaled(0, 31);
    EXPECT_EQ(run.take(), QStringList{"dir 40"});
    // A change within the threshold of 7 raw units is no move.
    const QPoint at = daten.Joystick.position();
    setRaw(at.x() + 7, at.y() - 7);
    daten.Joystick.poll();
    EXPECT_EQ(run.take(), QStringList{});
    // The button does nothing on the run screen.
    button(true);
    button(false);
    EXPECT_EQ(run.take(), QStringList{});

    // The screen goes, the stick is pushed aside while nobody listens, and the next screen
    // shows: the stick held there is no news, but its next move is, with its direction from
    // the rest position taken at start-up.
    daten.JoystickScreenShown(false);
    EXPECT_FALSE(daten.Joystick.polling());
    setScaled(-250, 0);
    QTest::qWait(5);
    daten.JoystickScreenShown(true);
    daten.Joystick.poll();
    EXPECT_EQ(run.take(), QStringList{});
    moveScaled(-260, 0);
    EXPECT_EQ(run.take(), QStringList{"dir 37"});
    EXPECT_EQ(daten.Joystick.restPosition(), QPoint(0, 0));
    daten.JoystickScreenShown(false);
}

TEST_F(DatenJoystick, TheButtonStartsOnlyTheInstructionScreenAndOnlyWhenPressed) {
    openAtStartUp();
    StandInScreen instructions("BeschreibungDialog");
    show(instructions);
    daten.JoystickScreenShown(true);
    SDL_JoystickSetVirtualButton(stick_, 0, SDL_PRESSED);
    EXPECT_EQ(waitForCalls(instructions), QStringList{"start 32"});
    button(false);
    EXPECT_EQ(instructions.take(), QStringList{}) << "a release does nothing";
    // Only button 1 starts; moves are for the run screen alone.
    SDL_JoystickSetVirtualButton(stick_, 1, SDL_PRESSED);
    daten.Joystick.poll();
    moveScaled(300, 0);
    moveScaled(0, 0);
    EXPECT_EQ(instructions.take(), QStringList{});

    // Not in use: the button starts nothing.
    programState().options.JoystickUse = 0;
    button(true);
    button(false);
    EXPECT_EQ(instructions.take(), QStringList{});
    daten.JoystickScreenShown(false);
    daten.JoystickScreenShown(true);
    EXPECT_FALSE(daten.Joystick.polling()) << "a joystick not in use is not polled";
    programState().options.JoystickUse = 1;
    button(true);
    EXPECT_EQ(instructions.take(), QStringList{"start 32"});
}

TEST_F(DatenJoystick, NothingReachesTheRunScreenWhenNotInUseNotPresentOrNotActive) {
    openAtStartUp();
    StandInScreen run("DurchgangDialog");
    show(run);
    daten.JoystickScreenShown(true);
    programState().options.JoystickUse = 0;
    moveScaled(100, 0);
    moveScaled(0, 0);
    programState().options.JoystickUse = 2; // only 1 means in use
    moveScaled(100, 0);
    programState().options.JoystickUse = 1;
    programState().JoystickPresent = false;
    moveScaled(0, 0);
    moveScaled(-100, 0);
    EXPECT_EQ(run.take(), QStringList{});
    programState().JoystickPresent = true;

    // A message box over the run screen takes the joystick's moves away from it.
    TMeldungDialog box;
    bool boxWasActive = false;
    QTimer::singleShot(0, &box, [&] {
        boxWasActive = QTest::qWaitForWindowActive(&box);
        moveScaled(200, 0);
        moveScaled(0, 0);
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    box.Meldungsfenster(QStringLiteral("Abbrechen?"), QStringLiteral("Hinweis"), true, true, 4);
    EXPECT_TRUE(boxWasActive);
    EXPECT_EQ(run.take(), QStringList{});
    show(run);
    moveScaled(200, 0);
    EXPECT_EQ(run.take(), QStringList{"dir 39"});
}

TEST_F(DatenJoystick, AShortTravelToTheRightGetsOneRawUnitPerScaledUnit) {
    // At rest 300 raw units short of the right end.
    setRaw(32467, 0);
    openAtStartUp();
    EXPECT_EQ(daten.Joystick.calibration().rightFactor, 1.0);
    StandInScreen run("DurchgangDialog");
    show(run);
    daten.JoystickScreenShown(true);
    setRaw(32467 + 31, 0);
    daten.Joystick.poll();
    EXPECT_EQ(run.take(), QStringList{"dir 39"});
    setRaw(32467 + 30, 0);
    daten.Joystick.poll();
    EXPECT_EQ(run.take(), QStringList{}) << "one raw unit is within the threshold";
    setRaw(32467 + 20, 0);
    daten.Joystick.poll();
    EXPECT_EQ(run.take(), QStringList{"release"});
    setRaw(32767, 0);
    daten.Joystick.poll();
    EXPECT_EQ(run.take(), QStringList{"dir 39"});
    EXPECT_EQ(daten.Joystick.scaled(daten.Joystick.position()).x(), 300);
    // The left half keeps its long travel: fully left is -400.
    EXPECT_EQ(daten.Joystick.scaled({-32768, 0}).x(), -400);
    daten.JoystickScreenShown(false);
}
