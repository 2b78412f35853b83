// reaction_fidelity_bench: what a recorded reaction time is worth, measured from outside. It
// starts its own Xvfb with -fbdir, watches the centre place of a screen in the server's
// memory-mapped framebuffer, and a planned delay (150 to 600 ms) after the stimulus appears
// there it presses an arrow key through XTest. Each planned delay is compared with the time
// the screen recorded. In the same run it measures the run screen with the display server's
// stamps and with the program's own clock (the path used where the server gives no stamps),
// a naive Qt program that starts its stop watch when it calls show() on its picture, and a
// floor program, one thread on plain xcb timing with its own clock, which shows what the X
// server and the machine allow a program that does so. The joystick's move stamps are
// measured beside them with SDL's virtual joystick.
//
// Each screen is measured idle and then under load: N busy processes at the normal priority
// of the programs measured, for the whole of its measurement. The X server and the watch run
// at a real-time priority where the machine allows it, so that only the screen measured is
// disturbed; the report says when it does not.
//
//   reaction_fidelity_bench [ROUNDS] [--load N] [--sets K] [--rounds]
//
// ROUNDS per screen and condition (default 40, a multiple of 4 up to 200); N busy processes
// (default: one per core; 0 measures idle only); K sets of all of it (default 1), with the
// targets judged over all sets; --rounds prints every round. Without Xvfb it says so and ends
// successfully. On a virtual machine the CPU time the hypervisor takes meanwhile (steal time)
// and the load average are reported with the figures.

#include "bench_process.h"
#include "fidelity_stats.h"
#include "machine_load.h"
#include "xvfb_framebuffer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <sys/prctl.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace quendal::fidelity;

constexpr auto kStimulusTimeout = std::chrono::seconds(15);
constexpr auto kLineTimeout = std::chrono::seconds(20);
constexpr auto kKeyHeld = std::chrono::milliseconds(40);
constexpr auto kSpinBefore = std::chrono::milliseconds(2);
constexpr auto kWatchPeriod = std::chrono::microseconds(50);
constexpr unsigned long kWatchTimerSlackNs = 1'000;
constexpr int kJoystickMoves = 100;

double milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Options {
    int rounds = 40;
    int load = static_cast<int>(std::max(1L, sysconf(_SC_NPROCESSORS_ONLN)));
    int sets = 1;
    bool everyRound = false;
};

bool parse(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--load" || a == "--sets") && i + 1 < argc) {
            (a == "--load" ? options->load : options->sets) = std::atoi(argv[++i]);
        } else if (a == "--rounds") {
            options->everyRound = true;
        } else if (!a.empty() && a[0] != '-') {
            options->rounds = std::atoi(a.c_str());
        } else {
            return false;
        }
    }
    options->rounds = std::clamp((options->rounds + 3) / 4 * 4, 4, 200);
    options->load = std::clamp(options->load, 0, 64);
    options->sets = std::clamp(options->sets, 1, 20);
    return true;
}

// Plays `delays.size()` rounds of the screen `argv` on the display and returns the rounds, or
// an empty list with `error` set.
std::vector<RoundResult> playScreen(std::vector<std::string> argv,
                                    const std::vector<double>& delays,
                                    const XvfbFramebuffer& screen, Display* display,
                                    std::string* error) {
    const std::string program = argv.front();
    argv.insert(argv.begin() + 1, std::to_string(delays.size()));
    Child child = spawn(argv, false);
    if (child.pid < 0) {
        *error = "cannot start " + program;
        return {};
    }
    std::string line;
    PixelRect centre;
    if (!readLine(child.output, line, Clock::now() + kLineTimeout) ||
        std::sscanf(line.c_str(), "CENTRE %d %d %d %d", &centre.x, &centre.y, &centre.width,
                    &centre.height) != 4 ||
        screen.Clip(centre).width <= 0 || screen.Clip(centre).height <= 0) {
        stop(child);
        *error = program + " did not report its centre place";
        return {};
    }
    const std::vector<uint32_t> empty = screen.Copy(centre);
    const KeyCode left = XKeysymToKeycode(display, XK_Left);

    std::vector<RoundResult> rounds;
    rounds.reserve(delays.size());
    for (std::size_t i = 0; i < delays.size(); ++i) {
        // The place is empty before every stimulus.
        const auto giveUp = Clock::now() + kStimulusTimeout;
        while (!screen.Same(centre, empty)) {
            if (Clock::now() > giveUp) {
                stop(child);
                *error = program + ": the stimulus of round " + std::to_string(i) + " stayed";
                return {};
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        // The first change of the place is the stimulus. The watch looks every 50 us or so and
        // sleeps in between, so that it does not take a core from the screen it measures.
        Clock::time_point appeared;
        for (;;) {
            if (!screen.Same(centre, empty)) {
                appeared = Clock::now();
                break;
            }
            std::this_thread::sleep_for(kWatchPeriod);
            if (Clock::now() > giveUp) {
                stop(child);
                *error = program + ": no stimulus in round " + std::to_string(i + 1);
                return {};
            }
        }
        const auto due = appeared + std::chrono::duration_cast<Clock::duration>(
                                        std::chrono::duration<double, std::milli>(delays[i]));
        std::this_thread::sleep_until(due - kSpinBefore);
        while (Clock::now() < due) {
        }
        // The key goes out between the two readings of the clock.
        const auto before = Clock::now();
        XTestFakeKeyEvent(display, left, True, CurrentTime);
        XFlush(display);
        const auto sent = before + (Clock::now() - before) / 2;
        std::this_thread::sleep_for(kKeyHeld);
        XTestFakeKeyEvent(display, left, False, CurrentTime);
        XFlush(display);
        rounds.push_back({delays[i], milliseconds(sent - appeared), 0, 0});
    }

    std::size_t reported = 0;
    while (readLine(child.output, line, Clock::now() + kLineTimeout)) {
        int round = 0;
        int recorded = 0;
        int addition = 0;
        if (std::sscanf(line.c_str(), "ROUND %d %d %d", &round, &recorded, &addition) == 3 &&
            round >= 1 && static_cast<std::size_t>(round) <= rounds.size()) {
            rounds[static_cast<std::size_t>(round) - 1].recordedMs = recorded;
            rounds[static_cast<std::size_t>(round) - 1].additionMs = addition;
            ++reported;
        }
    }
    if (!finish(child) || reported != rounds.size()) {
        *error = program + " reported " + std::to_string(reported) + " of " +
                 std::to_string(rounds.size()) + " rounds";
        return {};
    }
    return rounds;
}

// The joystick's moves on SDL's virtual joystick: the errors of the move stamps and of the
// handler's own time against the time each move was made.
struct JoystickRun {
    std::vector<double> stamp;
    std::vector<double> handler;
};

JoystickRun playJoystick(const std::string& program, std::string* error) {
    Child child = spawn({program, std::to_string(kJoystickMoves)}, false);
    JoystickRun run;
    std::string line;
    while (child.pid > 0 && readLine(child.output, line, Clock::now() + kLineTimeout)) {
        double stamp = 0.0;
        double handler = 0.0;
        if (std::sscanf(line.c_str(), "MOVE %*d %lf %lf", &stamp, &handler) == 2) {
            run.stamp.push_back(stamp);
            run.handler.push_back(handler);
        }
    }
    if (!finish(child) || run.stamp.size() != static_cast<std::size_t>(kJoystickMoves)) {
        *error = program + " reported " + std::to_string(run.stamp.size()) + " moves";
        return {};
    }
    return run;
}

// The planned delays: evenly from 150 to 600 ms, in a fixed shuffled order, each with a fixed
// random fraction of a millisecond, so that the cut of the recorded times to whole
// milliseconds shows as the spread it is rather than as a fixed offset.
std::vector<double> plannedDelays(int rounds) {
    std::vector<double> delays;
    delays.reserve(static_cast<std::size_t>(rounds));
    std::mt19937 chance(2026);
    std::uniform_real_distribution<double> fraction(0.0, 1.0);
    for (int i = 0; i < rounds; ++i) {
        delays.push_back(150 + (rounds > 1 ? 450 * i / (rounds - 1) : 0) + fraction(chance));
    }
    std::shuffle(delays.begin(), delays.end(), chance);
    return delays;
}

struct MeasuredScreen {
    std::string name;
    std::vector<std::string> argv; // the program and its options; the rounds go in after it
};

// Measures `what` idle and then under `load` busy processes, with the machine's figures.
template <typename Measure> void measurePair(int load, Measure what) {
    for (const bool loaded : {false, true}) {
        if (loaded && load == 0) {
            break;
        }
        std::unique_ptr<BusyLoad> busy = loaded ? std::make_unique<BusyLoad>(load) : nullptr;
        const double stolenBefore = stolenMs();
        what(loaded, stolenBefore);
    }
}

void printJoystick(const std::vector<JoystickRun>& idle, const std::vector<JoystickRun>& loaded,
                   bool withLoad) {
    const auto pool = [](const std::vector<JoystickRun>& runs, bool stamp) {
        std::vector<double> all;
        for (const JoystickRun& r : runs) {
            const std::vector<double>& e = stamp ? r.stamp : r.handler;
            all.insert(all.end(), e.begin(), e.end());
        }
        return figuresOf(all);
    };
    std::printf("Joystick (SDL's virtual joystick, polled every 1 ms): error of the move's time "
                "against the time it was made (ms)\n");
    std::printf("  %-38s %-28s", "", "idle: mean    sd   rms largest");
    if (withLoad) {
        std::printf("  load: mean    sd   rms largest");
    }
    std::printf("\n");
    for (const bool stamp : {true, false}) {
        std::printf("  %-38s      ",
                    stamp ? "move stamp (middle of the two polls)" : "handler's own time (before)");
        const ErrorFigures i = pool(idle, stamp);
        std::printf(" %6.2f %5.2f %5.2f %7.2f", i.mean, i.sd, i.rms, i.largest);
        if (withLoad) {
            const ErrorFigures l = pool(loaded, stamp);
            std::printf("         %6.2f %5.2f %5.2f %7.2f", l.mean, l.sd, l.rms, l.largest);
        }
        std::printf("\n");
    }
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, &options)) {
        std::fputs("usage: reaction_fidelity_bench [ROUNDS] [--load N] [--sets K] [--rounds]\n",
                   stderr);
        return 2;
    }
    // The watch's short sleeps end on time.
    prctl(PR_SET_TIMERSLACK, kWatchTimerSlackNs);
    if (!onPath("Xvfb")) {
        std::puts("reaction_fidelity_bench: Xvfb is not installed; skipped");
        return 0;
    }
    std::string folderTemplate =
        (std::filesystem::temp_directory_path() / "quendal-fidelity-XXXXXX").string();
    if (mkdtemp(folderTemplate.data()) == nullptr) {
        std::perror("reaction_fidelity_bench: mkdtemp");
        return 1;
    }
    const std::string folder = folderTemplate;

    // Xvfb picks a free display and writes its number to the pipe.
    int numberPipe[2];
    if (pipe(numberPipe) != 0) {
        return 1;
    }
    Child xvfb = spawn({"Xvfb", "-displayfd", std::to_string(numberPipe[1]), "-screen", "0",
                        "1024x768x24", "-fbdir", folder, "-nolisten", "tcp", "-br"},
                       true);
    close(numberPipe[1]);
    std::string number;
    int status = 1;
    Display* display = nullptr;
    XvfbFramebuffer screen;
    std::string error;
    if (xvfb.pid < 0 || !readLine(numberPipe[0], number, Clock::now() + kLineTimeout)) {
        error = "Xvfb did not start";
    } else if ((display = XOpenDisplay((":" + number).c_str())) == nullptr) {
        error = "cannot open display :" + number;
    } else if (int event = 0, err = 0, major = 0, minor = 0;
               !XTestQueryExtension(display, &event, &err, &major, &minor)) {
        error = "the X server has no XTest";
    } else if (screen.Open(folder + "/Xvfb_screen0", &error)) {
        setenv("DISPLAY", (":" + number).c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        unsetenv("QT_SCALE_FACTOR");
        setenv("XDG_RUNTIME_DIR", folder.c_str(), 1); // private, made with mode 0700
        // The pointer out of the way, in the bottom right corner.
        XTestFakeMotionEvent(display, 0, screen.Width() - 1, screen.Height() - 1, CurrentTime);
        XFlush(display);

        std::string why;
        const bool realTime = raiseToRealTime(xvfb.pid, &why) && raiseToRealTime(0, &why);
        const std::vector<double> delays = plannedDelays(options.rounds);
        const std::string bin = executableFolder();
        std::printf("Reaction-time fidelity, %d rounds per screen and condition, planned delays "
                    "150-600 ms, display :%s, %ld cores\n",
                    options.rounds, number.c_str(), sysconf(_SC_NPROCESSORS_ONLN));
        if (options.load > 0) {
            std::printf("Load: %d busy processes at the normal priority beside each screen "
                        "measured under load\n",
                        options.load);
        }
        if (realTime) {
            std::printf("Xvfb and the watch at real-time priority (SCHED_FIFO)\n\n");
        } else {
            std::printf("Xvfb and the watch at the NORMAL priority: this machine does not allow "
                        "real-time priority (%s), so the load disturbs them too\n\n",
                        why.c_str());
        }
        std::fflush(stdout);

        const std::vector<MeasuredScreen> measured{
            {"run screen, server stamps", {bin + "/reaction_run_screen"}},
            {"run screen, program's clock (before)",
             {bin + "/reaction_run_screen", "--program-clock"}},
            {"naive program (stop watch at show())", {bin + "/reaction_naive_screen"}},
            {"floor program (plain xcb, own clock)", {bin + "/reaction_floor_screen"}},
        };
        const bool withLoad = options.load > 0;
        std::vector<std::vector<ScreenPair>> results(measured.size());
        std::vector<JoystickRun> joystickIdle;
        std::vector<JoystickRun> joystickLoaded;
        for (int set = 1; set <= options.sets && error.empty(); ++set) {
            std::vector<ScreenPair> table;
            for (std::size_t s = 0; s < measured.size() && error.empty(); ++s) {
                ScreenPair pair{measured[s].name, {}, {}};
                measurePair(options.load, [&](bool loaded, double stolenBefore) {
                    if (!error.empty()) {
                        return;
                    }
                    ScreenRun& run = loaded ? pair.loaded : pair.idle;
                    run.rounds = playScreen(measured[s].argv, delays, screen, display, &error);
                    run.stolenMs = stolenMs() - stolenBefore;
                    run.loadAverage = loadAverage();
                    if (options.everyRound && error.empty()) {
                        printRounds(pair.name + (loaded ? ", under load" : ", idle"), run.rounds);
                    }
                });
                table.push_back(pair);
                results[s].push_back(pair);
            }
            measurePair(options.load, [&](bool loaded, double /*stolenBefore*/) {
                if (error.empty()) {
                    (loaded ? joystickLoaded : joystickIdle)
                        .push_back(playJoystick(bin + "/reaction_joystick_screen", &error));
                }
            });
            if (error.empty()) {
                printSet("Set " + std::to_string(set) + " of " + std::to_string(options.sets),
                         table, withLoad);
                std::fflush(stdout);
            }
        }
        if (error.empty()) {
            printJoystick(joystickIdle, joystickLoaded, withLoad);
            const bool met = printTargets(measured[0].name, results[0], withLoad);
            std::printf("Targets of the run screen with server stamps: %s\n",
                        met ? "all met" : "NOT all met");
            status = 0;
        }
    }
    if (display != nullptr) {
        XCloseDisplay(display);
    }
    close(numberPipe[0]);
    stop(xvfb);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    if (status != 0) {
        std::fprintf(stderr, "reaction_fidelity_bench: %s\n", error.c_str());
    }
    return status;
}
