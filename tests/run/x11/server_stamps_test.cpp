// The run screen on a real X server (a private Xvfb, x_server.sh): the start-up check of the
// server's clock, both ends of a reaction taken from the server's stamps while the program
// itself is late, and the program's own times wherever a stamp cannot be trusted: stale and
// future key stamps, and a whole server whose clock is not the steady clock (run under
// faketime). Keys come through XTest, as from a keyboard.

#include "core/program_state.h"
#include "frame/daten.h"
#include "run/durchgang_dialog.h"
#include "run/server_stamps.h"
#include "toolkit/picture_slot.h"
#include "xtest_keyboard.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTimer>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

using namespace quendal;

namespace {

using Clock = std::chrono::steady_clock;

// How long the program is kept from handling a key it was sent, and how long it waits before
// it sends a key of its own: far beyond what a frame and a key take between them.
constexpr auto kProgramLate = std::chrono::milliseconds(300);
constexpr qint64 kWaitBeforeKeyMs = 150;

class RealServer : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        ProgramState& state = programState();
        state.PlayWidth = 1024;
        state.PlayHeight = 768;
        state.ProgramFolder =
            QFileInfo(QStringLiteral(QUENDAL_DATA_OUT)).absolutePath().toStdString() + "/";
        daten_ = std::make_unique<TDaten>();
        QString error;
        ASSERT_TRUE(daten_->LoadBitmapLists(&error)) << error.toStdString();
        state.runSettings = RunSettings{1, 1, 3000, 4, 0, 1, 2}; // colour 1, fixed targets
        ASSERT_TRUE(keyboard_.open());
    }

    void pressRight() { keyboard_.pressRight(); }

    // Plays the screen; `answer(round, sinceShown)` is called every 2 ms of the answer phase
    // and returns true once it has answered the round; `answered(round)` once in the feedback
    // that follows.
    int play(TDurchgangDialog& screen, const std::function<bool(int, qint64)>& answer,
             const std::function<void(int)>& answered = {}) {
        auto* mitte = screen.findChild<PictureSlot*>(QStringLiteral("Mitte"));
        QElapsedTimer sinceShown;
        int answeredRound = 0;
        int lookedAfter = 0;
        QTimer tick;
        tick.setInterval(2);
        QObject::connect(&tick, &QTimer::timeout, &screen, [&] {
            if (!screen.isVisible()) {
                return;
            }
            if (QApplication::activeWindow() != &screen) {
                screen.activateWindow();
                return;
            }
            const int round = programState().runSettings.currentRound;
            if (round == answeredRound && round != lookedAfter && screen.engine().InputLocked()) {
                lookedAfter = round;
                if (answered) {
                    answered(round);
                }
            }
            if (!mitte->isVisible() || screen.engine().InputLocked() || round == answeredRound) {
                sinceShown.invalidate();
                return;
            }
            if (!sinceShown.isValid()) {
                sinceShown.start();
            }
            if (answer(round, sinceShown.elapsed())) {
                answeredRound = round;
            }
        });
        tick.start();
        return screen.exec();
    }

    static int32_t recorded(int round) {
        return programState().current.rounds.at(static_cast<std::size_t>(round)).reactionTimeMs;
    }

    // A key event of the right arrow as the server would send it, stamped `serverMs`.
    static void sendStampedRight(QWidget& screen, unsigned long long serverMs) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        press.setTimestamp(serverMs);
        QApplication::sendEvent(&screen, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(&screen, &release);
    }

    // The server's time now, where its clock is the steady clock.
    static unsigned long long serverNowMs() {
        return static_cast<uint32_t>(
            std::chrono::floor<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count());
    }

    std::unique_ptr<TDaten> daten_;
    XTestKeyboard keyboard_;
};

// Keys pressed at once but handled only 300 ms later are recorded at the time they were
// pressed, from a frame stamped by the server; key stamps an hour old, an hour ahead or
// missing are not believed, and those rounds take the handler's time instead.
TEST_F(RealServer, TakesBothEndsFromTheServerAndDistrustsStampsThatDoNotFit) {
    TDurchgangDialog screen;
    const int result = play(screen, [&](int round, qint64 sinceShown) {
        if (round <= 2) {
            pressRight();
            std::this_thread::sleep_for(kProgramLate); // the program is busy meanwhile
            return true;
        }
        if (sinceShown < kWaitBeforeKeyMs) {
            return false;
        }
        const unsigned long long hour = 3'600'000;
        sendStampedRight(screen, round == 3 ? serverNowMs() - hour : serverNowMs() + hour);
        return true;
    });
    ASSERT_EQ(result, kModalOk);
    EXPECT_TRUE(ServerStamps::serverClockIsSteady());
    EXPECT_EQ(screen.serverStamps().framesStamped(), 4);
    EXPECT_EQ(screen.serverStamps().eventsStamped(), 2) << "only the two real keys";
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        EXPECT_GE(recorded(round), 0);
        EXPECT_LT(recorded(round), 200) << "the key's own time, not the handler's";
    }
    for (int round = 3; round <= 4; ++round) {
        SCOPED_TRACE(round);
        EXPECT_GE(recorded(round), kWaitBeforeKeyMs) << "the handler's time";
        EXPECT_LT(recorded(round), 3000);
    }
}

// The stop watch's ends are the stamps themselves: the stop lies in the millisecond the server
// gave the key, the start before it, and the recorded time is the watch's reading, cut to
// whole milliseconds, with its addition of 0 to 4 ms.
TEST_F(RealServer, StopsTheWatchInTheKeysOwnMillisecond) {
    struct KeyStamp : QObject {
        unsigned long long stamp = 0;
        bool eventFilter(QObject* /*watched*/, QEvent* event) override {
            if (event->type() == QEvent::KeyPress) {
                stamp = static_cast<QKeyEvent*>(event)->timestamp();
            }
            return false;
        }
    } key;
    TDurchgangDialog screen;
    screen.installEventFilter(&key);
    std::vector<SteadyTime> stops;
    std::vector<SteadyTime> keyMs;
    std::vector<std::pair<int32_t, double>> readings;
    const int result = play(
        screen,
        [&](int /*round*/, qint64 sinceShown) {
            if (sinceShown < 20) {
                return false;
            }
            pressRight();
            return true;
        },
        [&](int round) {
            const SteadyStopWatch& watch = screen.stopWatch();
            stops.push_back(watch.StoppedAt());
            keyMs.push_back(ServerMsOnSteady(static_cast<uint32_t>(key.stamp), watch.StoppedAt()));
            readings.emplace_back(recorded(round), watch.ElapsedMs());
            EXPECT_LT(watch.StartedAt(), watch.StoppedAt());
        });
    ASSERT_EQ(result, kModalOk);
    ASSERT_EQ(stops.size(), 4U);
    for (std::size_t i = 0; i < stops.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_GE(stops[i], keyMs[i]);
        EXPECT_LE(stops[i], keyMs[i] + std::chrono::milliseconds(1));
        const int32_t addition = readings[i].first - static_cast<int32_t>(readings[i].second);
        EXPECT_GE(addition, 0);
        EXPECT_LE(addition, 4);
    }
}

// On a server whose clock is not the steady clock the start-up check says so, nothing is
// stamped, and the times are the program's own: a key sent 150 ms after the stimulus is
// recorded as at least that, never as a negative or absurd time.
TEST_F(RealServer, OnASkewedServerClockTakesTheProgramsOwnTimes) {
    if (qEnvironmentVariableIsEmpty("QUENDAL_SKEWED_SERVER")) {
        GTEST_SKIP() << "runs against a server under faketime";
    }
    TDurchgangDialog screen;
    const int result = play(screen, [&](int /*round*/, qint64 sinceShown) {
        if (sinceShown < kWaitBeforeKeyMs) {
            return false;
        }
        pressRight();
        return true;
    });
    ASSERT_EQ(result, kModalOk);
    EXPECT_FALSE(ServerStamps::serverClockIsSteady());
    EXPECT_FALSE(screen.serverStamps().stamping());
    EXPECT_EQ(screen.serverStamps().framesStamped(), 0);
    EXPECT_EQ(screen.serverStamps().eventsStamped(), 0);
    for (int round = 1; round <= 4; ++round) {
        SCOPED_TRACE(round);
        EXPECT_GE(recorded(round), kWaitBeforeKeyMs);
        EXPECT_LT(recorded(round), 3000);
    }
}

} // namespace
