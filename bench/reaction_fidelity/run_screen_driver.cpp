// reaction_run_screen: plays one run on the real run screen for reaction_fidelity_bench. The
// colour exercise, version 1, with fixed target positions, optical feedback and the longest
// time limit; the answers come from outside (the benchmark's key presses). Prints the protocol
// of screen_report.h, with each round's random addition.
//
// The addition of a round is known in advance: just before the stimulus is presented the
// generator is seeded with a number of that round, the addition is drawn and the generator is
// seeded again with the same number, so the engine's next draw — the addition of the answer —
// repeats it. Nothing else draws between the presentation and the answer.
//
// With --program-clock the screen takes the program's own times even where the X server could
// stamp them: the path of a display without stamps. How many frames and keys the server
// stamped goes to standard error at the end. The screen lies in a window of the play field's
// size, as the program shows it inside its main window.
//
//   reaction_run_screen [ROUNDS] [--program-clock]   (ROUNDS a multiple of 4, 4 to 200)

#include "core/catalogue.h"
#include "core/program_state.h"
#include "core/random.h"
#include "frame/daten.h"
#include "run/durchgang_dialog.h"
#include "run/server_stamps.h"
#include "screen_report.h"

#include <QApplication>
#include <QDir>
#include <QPalette>
#include <QWidget>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using quendal::programState;

class MeasuredRunScreen : public quendal::TDurchgangDialog {
  public:
    // The addition drawn for round r (1-based); -1 for rounds not presented.
    std::array<int, quendal::kMaxRounds + 1> additions{};

    MeasuredRunScreen() { additions.fill(-1); }

    void ShowCentre(int32_t picture) override {
        // The benchmark takes the empty centre from the screen when the CENTRE line comes;
        // a stimulus before it would spoil every round.
        if (!centreReported_) {
            std::fputs("reaction_run_screen: the first stimulus came before the screen was on "
                       "the display\n",
                       stderr);
            std::_Exit(1);
        }
        const int32_t round = programState().runSettings.currentRound;
        const auto seed = static_cast<uint64_t>(seedBase_ + round);
        quendal::SeedRandom(seed);
        const int addition = quendal::RandomBelow(5);
        quendal::SeedRandom(seed);
        if (round >= 0 && round <= quendal::kMaxRounds) {
            additions.at(static_cast<std::size_t>(round)) = addition;
        }
        TDurchgangDialog::ShowCentre(picture);
    }

  protected:
    void showEvent(QShowEvent* event) override {
        TDurchgangDialog::showEvent(event);
        if (!reported_) {
            reported_ = true;
            quendal::fidelity::reportCentreWhenShown(this,
                                                     findChild<QWidget*>(QStringLiteral("Mitte")),
                                                     [this] { centreReported_ = true; });
        }
    }

  private:
    const int64_t seedBase_ = std::chrono::steady_clock::now().time_since_epoch().count();
    bool reported_ = false;
    bool centreReported_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool programClock = argc > 2 && std::strcmp(argv[2], "--program-clock") == 0;
    if (programClock) {
        quendal::ServerStamps::useServerStamps(false);
    }
    quendal::ProgramState& state = programState();
    state.ProgramFolder =
        QDir(QCoreApplication::applicationDirPath()).absolutePath().toStdString() + "/";
    state.PlayWidth = 1024;
    state.PlayHeight = 768;

    quendal::TDaten daten;
    QString error;
    if (!daten.FormCreate(&error)) {
        std::fprintf(stderr, "reaction_run_screen: %s\n", qPrintable(error));
        return 1;
    }

    quendal::RunSettings& settings = state.runSettings;
    settings.kind = quendal::kColourExercise;
    settings.version = 1;
    settings.timeLimitMs = 5000;
    settings.roundCount = quendal::fidelity::roundsArgument(argc, argv, 40);
    settings.feedback = 1;
    settings.frameMode = 2;

    // The program shows its run screen inside its main window, over all of it: a window of
    // the play field's size holds it here the same way.
    QWidget host(nullptr, Qt::FramelessWindowHint);
    host.setGeometry(0, 0, state.PlayWidth, state.PlayHeight);
    QPalette black = host.palette();
    black.setColor(QPalette::Window, Qt::black);
    host.setPalette(black);
    host.show();
    MeasuredRunScreen screen;
    screen.setParent(&host, Qt::Widget);
    screen.setSpielart(QStringLiteral("Farbe"));
    const int result = screen.exec();
    if (result != quendal::kModalOk) {
        std::fprintf(stderr, "reaction_run_screen: the run ended without a result (%d)\n", result);
        return 1;
    }
    for (int32_t round = 1; round <= state.current.roundCount; ++round) {
        const auto index = static_cast<std::size_t>(round);
        quendal::fidelity::printRound(round, state.current.rounds.at(index).reactionTimeMs,
                                      screen.additions.at(index));
    }
    std::fflush(stdout);
    if (!programClock) {
        std::fprintf(stderr, "reaction_run_screen: %d frames and %d keys stamped by the server%s\n",
                     screen.serverStamps().framesStamped(), screen.serverStamps().eventsStamped(),
                     quendal::ServerStamps::serverClockIsSteady()
                         ? ""
                         : " (its clock was not found to be the steady clock)");
    }
    return 0;
}
