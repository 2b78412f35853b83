// The run screen on the offscreen platform with the build's drawn pictures: its layout at
// the play widths of the three layout classes, the frame and its red bars, and whole runs
// played with the real timers and real key events, and with the joystick's handlers of the
// data module.

#include "core/program_state.h"
#include "frame/daten.h"
#include "frame/meldung_dialog.h"
#include "run/durchgang_dialog.h"
#include "toolkit/picture_slot.h"
#include "toolkit/wave_player.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <SDL2/SDL.h>
#include <algorithm>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace quendal;

namespace {

class RunScreenTest : public ::testing::Test {
  protected:
    void SetUp() override { useLayout(1024, 768); }

    // A data module with the drawn lists of the play field.
    void useLayout(int width, int height) {
        ProgramState& state = programState();
        state.PlayWidth = width;
        state.PlayHeight = height;
        state.ProgramFolder =
            QFileInfo(QStringLiteral(QUENDAL_DATA_OUT)).absolutePath().toStdString() + "/";
        daten_.reset();
        daten_ = std::make_unique<TDaten>();
        QString error;
        ASSERT_TRUE(daten_->LoadBitmapLists(&error)) << error.toStdString();
    }

    template <typename T> static T* child(QWidget& w, const char* name) {
        T* found = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // Plays the screen modally; `tick` runs every 5 ms while it is open and may press keys.
    int play(TDurchgangDialog& screen, const std::function<void()>& tick) {
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, &screen, [&] {
            if (!screen.isVisible()) {
                return;
            }
            if (QApplication::activeModalWidget() == &screen &&
                QApplication::activeWindow() != &screen) {
                screen.activateWindow();
            }
            tick();
        });
        poll.start();
        return screen.exec();
    }

    std::unique_ptr<TDaten> daten_;
};

// Layout at the four play widths: the window, the panel in the middle, the slots of the
// layout class, the play label's size and the counters on the plate.
TEST_F(RunScreenTest, LaysItselfOutByPlayWidth) {
    struct Case {
        int width, height;
        QPoint oben, links, rechts;
        int labelPoints, counterPoints;
        QRect zeit, count;
    };
    // Bottom borders of the drawn frames: 30 at 640, 38 at 800, 48 at 1024 (plate offsets
    // 6, 7 and 10; counters 3, 4 and 5 below the plate's top).
    const Case cases[] = {
        {1024, 768, {262, 4}, {4, 195}, {520, 195}, 22, 12, {458, 735, 50, 20}, {516, 735, 45, 20}},
        {800, 600, {208, 5}, {4, 157}, {412, 157}, 16, 10, {358, 573, 38, 16}, {404, 573, 38, 16}},
        {640, 480, {170, 4}, {4, 128}, {336, 128}, 12, 9, {286, 459, 32, 13}, {322, 459, 30, 13}},
        {700, 480, {170, 4}, {4, 128}, {336, 128}, 16, 9, {316, 459, 32, 13}, {352, 459, 30, 13}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        useLayout(c.width, c.height);
        TDurchgangDialog screen;
        screen.setSpielart(QStringLiteral("Anzahl"));
        screen.layoutScreen();
        EXPECT_EQ(screen.geometry(), QRect(0, 0, c.width, c.height));
        auto* panel = child<QWidget>(screen, "backpanel");
        const QSize background = daten_->HauptBMListe.image(88).size();
        EXPECT_EQ(panel->geometry(), QRect(QPoint((c.width - background.width()) / 2,
                                                  (c.height - background.height()) / 2),
                                           background));
        EXPECT_EQ(child<QWidget>(screen, "Oben")->pos(), c.oben);
        EXPECT_EQ(child<QWidget>(screen, "Links")->pos(), c.links);
        EXPECT_EQ(child<QWidget>(screen, "Rechts")->pos(), c.rechts);
        EXPECT_EQ(child<QWidget>(screen, "Mitte")->size(), daten_->HauptBMListe.image(1).size());
        auto* label = child<QLabel>(screen, "SpielartLabel");
        EXPECT_EQ(label->font().pointSize(), c.labelPoints);
        EXPECT_TRUE(label->font().bold());
        // The word stands whole, right-aligned inside the red rectangle.
        EXPECT_EQ(label->geometry().right() + 1, c.width - daten_->screenBorders().right - 18);
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(196, 253, 228));
        auto* zeit = child<QLabel>(screen, "Zeitlabel");
        auto* count = child<QLabel>(screen, "Countlabel");
        EXPECT_EQ(zeit->geometry(), c.zeit);
        EXPECT_EQ(count->geometry(), c.count);
        EXPECT_EQ(zeit->font().pointSize(), c.counterPoints);
        EXPECT_EQ(zeit->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        EXPECT_EQ(count->palette().color(QPalette::WindowText), QColor(0, 255, 255));
        EXPECT_TRUE(zeit->alignment().testFlag(Qt::AlignRight));
        EXPECT_TRUE(count->alignment().testFlag(Qt::AlignLeft));
    }
}

// With frame tiles of 20 pixels on every side the red bars lie 6 pixels inside the frame, and
// the frame ends with a cut tile, never with one running past the edge.
TEST_F(RunScreenTest, RedBarsStandInsideTheFrameAndTheFrameEndsWithACutTile) {
    QList<QImage> scheme;
    for (int i = 0; i < daten_->SchemeBMPliste.count(); ++i) {
        scheme << daten_->SchemeBMPliste.image(i);
    }
    for (int i = 24; i <= 31; ++i) {
        QImage tile(20, 20, QImage::Format_RGB32);
        tile.fill(QColor(10 * i, 100, 200));
        scheme[i] = tile;
    }
    scheme[27] = QImage(); // no top-right corner, so that the top edge's end shows
    daten_->SchemeBMPliste = BitmapList(scheme);

    TDurchgangDialog screen;
    screen.layoutScreen();
    EXPECT_EQ(child<QWidget>(screen, "oklabel1")->geometry(), QRect(26, 26, 8, 716));
    EXPECT_EQ(child<QWidget>(screen, "OKLabel2")->geometry(), QRect(990, 26, 8, 716));
    EXPECT_EQ(child<QWidget>(screen, "OKlabel3")->geometry(), QRect(26, 26, 972, 8));
    EXPECT_EQ(child<QWidget>(screen, "oklabel4")->geometry(), QRect(26, 734, 972, 8));

    // Top tiles of 30 on a width of 1010: 33 whole tiles and one cut to 20.
    QImage top(30, 20, QImage::Format_RGB32);
    top.fill(Qt::red);
    scheme[31] = top;
    scheme[25] = QImage(); // no right edge over the top edge's end either
    daten_->SchemeBMPliste = BitmapList(scheme);
    QImage canvas(1040, 768, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    {
        QPainter p(&canvas);
        daten_->DrawScreenFrame(p, 1010, 768, false);
    }
    EXPECT_EQ(canvas.pixelColor(1009, 5), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(1010, 5), QColor(Qt::black)) << "a tile ran past the edge";
    EXPECT_EQ(canvas.pixelColor(1039, 5), QColor(Qt::black));
}

// A whole run of four rounds with the real timers: keys and the joystick answer, the counters
// count down, the rounds land in the current record and the screen closes with 1. The sound
// of a wrong answer has no device here and the run goes on all the same.
TEST_F(RunScreenTest, PlaysAShortRunByKeysAndJoystickToItsEnd) {
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    WavePlayer::instance().close();
    ProgramState& state = programState();
    state.runSettings = RunSettings{1, 1, 3000, 4, 0, 2, 2}; // colour 1, acoustic, fixed
    state.JoystickPresent = true;
    state.options.JoystickUse = 1;

    TDurchgangDialog screen;
    screen.setSpielart(QStringLiteral("Farbe"));
    auto* mitte = child<PictureSlot>(screen, "Mitte");
    auto* xrechts = child<PictureSlot>(screen, "XRechts");
    QStringList counts;
    int answered = 0;
    bool cursorHiddenWhilePlaying = false;
    bool barsEverShown = false;
    const int result = play(screen, [&] {
        const QString count = child<QLabel>(screen, "Countlabel")->text();
        if (counts.isEmpty() || counts.last() != count) {
            counts << count;
        }
        barsEverShown = barsEverShown || child<QWidget>(screen, "oklabel1")->isVisible();
        if (const QCursor* cursor = QGuiApplication::overrideCursor(); cursor != nullptr) {
            cursorHiddenWhilePlaying = cursor->shape() == Qt::BlankCursor;
        }
        if (!mitte->isVisible() || screen.engine().InputLocked()) {
            return;
        }
        switch (answered++) {
        case 0:
            QTest::keyClick(&screen, Qt::Key_Right);
            break;
        case 1: // the stick just past the dead zone answers, back in it releases
            Daten()->JoystickJoyMove(31, 0);
            Daten()->JoystickJoyMove(30, 0);
            break;
        case 2: // held diagonally: left comes first and wins
            Daten()->JoystickJoyMove(-200, -200);
            Daten()->JoystickJoyMove(0, 0);
            break;
        default:
            // The button does nothing here, nor does the stick when it is not in use.
            Daten()->JoystickButton1_Change(true, 0, 0);
            programState().options.JoystickUse = 0;
            Daten()->JoystickJoyMove(0, 200);
            EXPECT_FALSE(screen.engine().InputLocked());
            programState().options.JoystickUse = 1;
            QTest::keyPress(&screen, Qt::Key_Down);
            QTest::keyRelease(&screen, Qt::Key_Down);
            break;
        }
        if (answered == 1) {
            EXPECT_TRUE(xrechts->isVisible()) << "the stimulus half way to the right";
            EXPECT_FALSE(mitte->isVisible());
        }
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(answered, 4);
    EXPECT_EQ(counts, QStringList({"4", "3", "2", "1"}));
    EXPECT_EQ(child<QLabel>(screen, "Countlabel")->text(), QStringLiteral("0"));
    EXPECT_TRUE(cursorHiddenWhilePlaying);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the pointer shows again";
    EXPECT_FALSE(barsEverShown) << "acoustic feedback shows no bars";
    const ResultRecord& record = state.current;
    EXPECT_EQ(record.roundCount, 4);
    EXPECT_EQ(record.header[kPrtkey], "V-112");
    const int32_t chosen[] = {3, 3, 2, 4}; // right, right, left, down in the fixed frame
    for (int r = 1; r <= 4; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(record.rounds.at(static_cast<std::size_t>(r)).chosenValue, chosen[r - 1]);
        EXPECT_GE(record.rounds.at(static_cast<std::size_t>(r)).reactionTimeMs, 0);
        EXPECT_LT(record.rounds.at(static_cast<std::size_t>(r)).reactionTimeMs, 3000);
    }
    EXPECT_TRUE(state.RunUnsaved);
    qunsetenv("SDL_AUDIODRIVER");
    WavePlayer::instance().close();
}

// The audio device is opened as the screen shows, not when the first wrong answer plays in
// the middle of a round; a run with the red frame leaves it closed.
TEST_F(RunScreenTest, TheSoundIsReadyBeforeTheFirstRoundOfAnAcousticRun) {
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(scratch.filePath(QStringLiteral("out.raw"))));
    ProgramState& state = programState();
    for (const int feedback : {2, 1}) {
        WavePlayer::instance().close();
        state.runSettings = RunSettings{1, 1, 3000, 4, 0, feedback, 2};
        TDurchgangDialog screen;
        bool openAtShow = false;
        bool asked = false;
        play(screen, [&] {
            if (!asked) {
                asked = true;
                openAtShow = WavePlayer::instance().isOpen();
                screen.done(2);
            }
        });
        EXPECT_EQ(openAtShow, feedback == 2) << "feedback " << feedback;
    }
    WavePlayer::instance().close();
    qunsetenv("SDL_AUDIODRIVER");
    qunsetenv("SDL_DISKAUDIOFILE");
}

// SDL's virtual joystick, polled by the data module's device as in the program, answers a run;
// each answer stops the watch at the time the device gave the move, not when it was handled.
TEST_F(RunScreenTest, TheStickAnswersAtTheTimeItMoved) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    ASSERT_NE(stick, nullptr);
    ProgramState& state = programState();
    state.JoystickPresent = daten_->Joystick.open(index);
    ASSERT_TRUE(state.JoystickPresent);
    state.options.JoystickUse = 1;
    state.runSettings = RunSettings{1, 1, 3000, 4, 0, 1, 2};

    std::vector<std::chrono::steady_clock::time_point> moves;
    QObject::connect(&daten_->Joystick, &JoystickDevice::moved, [&] {
        if (daten_->Joystick.moveTime()) {
            moves.push_back(*daten_->Joystick.moveTime());
        }
    });
    TDurchgangDialog screen;
    auto* mitte = child<PictureSlot>(screen, "Mitte");
    std::vector<std::chrono::steady_clock::time_point> stops;
    int pushedIn = 0;
    const int result = play(screen, [&] {
        const int round = state.runSettings.currentRound;
        if (mitte->isVisible() && !screen.engine().InputLocked() && pushedIn < round) {
            pushedIn = round;
            SDL_JoystickSetVirtualAxis(stick, 0, 32767); // right, found by the next poll
        } else if (screen.engine().InputLocked() && pushedIn == round &&
                   static_cast<int>(stops.size()) < round) {
            stops.push_back(screen.stopWatch().StoppedAt());
            SDL_JoystickSetVirtualAxis(stick, 0, 0); // back to the centre releases
        }
    });
    EXPECT_EQ(result, 1);
    ASSERT_EQ(stops.size(), 4U);
    for (std::size_t r = 0; r < stops.size(); ++r) {
        SCOPED_TRACE(r + 1);
        EXPECT_NE(std::find(moves.begin(), moves.end(), stops[r]), moves.end());
        EXPECT_EQ(state.current.rounds.at(r + 1).chosenValue, 3);
    }
    daten_->Joystick.close();
    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(index);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

// Escape in round 1 shows the note and abandons the run; Escape in round 9 ends it with the
// eight rounds before it. Moves of the stick while the note is up reach nothing.
TEST_F(RunScreenTest, EscapeAbandonsBeforeRoundEightAndEndsTheRunFromIt) {
    ProgramState& state = programState();
    state.JoystickPresent = true;
    state.options.JoystickUse = 1;
    state.runSettings = RunSettings{2, 4, 3000, 20, 0, 1, 1}; // number 4, optical, variable
    state.RunUnsaved = true;
    {
        TMeldungDialog note;
        TDurchgangDialog screen(&note);
        QString noteText;
        bool escaped = false;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, &note, [&] {
            if (note.isVisible()) {
                noteText = note.findChild<QLabel*>(QStringLiteral("Textfeld"))->text();
                Daten()->JoystickJoyMove(300, 0); // the note is the active window
                QTest::keyClick(&note, Qt::Key_Return);
            }
        });
        answer.start(10);
        const int result = play(screen, [&] {
            if (!escaped) {
                escaped = true;
                QTest::keyClick(&screen, Qt::Key_Escape);
            }
        });
        EXPECT_EQ(result, 2);
        EXPECT_EQ(noteText, QStringLiteral("Eine statistische Auswertung erfolgt erst, wenn "
                                           "mindestens 8 Durchgänge durchlaufen wurden."));
        EXPECT_FALSE(state.RunUnsaved);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }

    TDurchgangDialog screen;
    bool barsSeen = false;
    const int result = play(screen, [&] {
        barsSeen = barsSeen || child<QWidget>(screen, "OKlabel3")->isVisible();
        if (state.runSettings.currentRound == 9) {
            QTest::keyClick(&screen, Qt::Key_Escape);
            return;
        }
        if (child<QWidget>(screen, "Mitte")->isVisible() && !screen.engine().InputLocked()) {
            // Always up: wrong in three of four rounds, which shows the red rectangle.
            QTest::keyClick(&screen, Qt::Key_Up);
        }
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(state.current.roundCount, 8);
    EXPECT_EQ(state.current.header[kPrtkey], "V-241");
    EXPECT_TRUE(barsSeen);
    EXPECT_TRUE(state.RunUnsaved);
}

// A held arrow key answers once; its repeats (X11 sends them as release and press pairs marked
// as auto-repeat) keep the next stimulus back until the key is really released.
TEST_F(RunScreenTest, AHeldKeyAnswersOnceAndHoldsBackTheNextStimulus) {
    constexpr qint64 kHoldMs = 3000; // the feedback and three pauses find the key held
    ProgramState& state = programState();
    state.runSettings = RunSettings{1, 1, 3000, 20, 0, 1, 2};
    TDurchgangDialog screen;
    auto* mitte = child<PictureSlot>(screen, "Mitte");
    QElapsedTimer sinceAnswer;
    bool answered = false;
    bool released = false;
    bool heldBack = false;
    int step = 0;
    QTimer noteAnswer;
    QObject::connect(&noteAnswer, &QTimer::timeout, &screen, [] {
        if (auto* note = qobject_cast<TMeldungDialog*>(QApplication::activeModalWidget())) {
            note->done(2);
        }
    });
    noteAnswer.start(20);
    const int result = play(screen, [&] {
        const bool presenting = mitte->isVisible();
        if (!answered) {
            if (presenting && !screen.engine().InputLocked()) {
                answered = true;
                QTest::keyPress(&screen, Qt::Key_Right);
                sinceAnswer.start();
            }
            return;
        }
        if (!released) {
            // A repeat's release and its press, ticks apart.
            if (++step % 3 != 2) {
                QKeyEvent repeat(step % 3 == 0 ? QEvent::KeyRelease : QEvent::KeyPress,
                                 Qt::Key_Right, Qt::NoModifier, {}, true);
                QApplication::sendEvent(&screen, &repeat);
            }
            EXPECT_FALSE(presenting && state.runSettings.currentRound == 2)
                << "a stimulus while the key is held, after " << sinceAnswer.elapsed() << " ms";
            if (sinceAnswer.elapsed() >= kHoldMs) {
                heldBack = !presenting && state.runSettings.currentRound == 2;
                released = true;
                QTest::keyRelease(&screen, Qt::Key_Right);
            }
            return;
        }
        if (presenting) {
            QTest::keyClick(&screen, Qt::Key_Escape);
        }
    });
    EXPECT_EQ(result, 2);
    EXPECT_TRUE(heldBack);
    EXPECT_EQ(state.current.rounds.at(1).chosenValue, 3) << "the first press answered";
}

} // namespace
