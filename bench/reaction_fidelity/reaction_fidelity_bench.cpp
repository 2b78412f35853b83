// reaction_fidelity_bench: what a recorded reaction time is worth, measured from outside. It
// starts its own Xvfb with -fbdir, watches the centre place of a screen in the server's
// memory-mapped framebuffer, and a planned delay (150 to 600 ms) after the stimulus appears
// there it presses an arrow key through XTest. Each planned delay is compared with the time
// the screen recorded, for the run screen and, in the same run, for a naive Qt program that
// starts its stop watch when it calls show() on its picture and for a floor program, one
// thread on plain xcb, that shows what the X server and the machine allow any program.
//
//   reaction_fidelity_bench [ROUNDS]   (default 40, a multiple of 4 up to 200)
//
// Without Xvfb it says so and ends successfully. Run it on an idle machine; on a virtual
// machine the CPU time the hypervisor takes meanwhile (steal time) is reported with the figures.

#include "fidelity_stats.h"
#include "xvfb_framebuffer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <random>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using quendal::fidelity::PixelRect;
using quendal::fidelity::RoundResult;
using quendal::fidelity::XvfbFramebuffer;
using Clock = std::chrono::steady_clock;

constexpr auto kStimulusTimeout = std::chrono::seconds(15);
constexpr auto kLineTimeout = std::chrono::seconds(20);
constexpr auto kKeyHeld = std::chrono::milliseconds(40);
constexpr auto kSpinBefore = std::chrono::milliseconds(20);
constexpr auto kWatchPeriod = std::chrono::microseconds(50);
constexpr unsigned long kUsualTimerSlackNs = 50'000;
constexpr unsigned long kWatchTimerSlackNs = 1'000;

double milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string rest = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t end = std::min(rest.find(':', start), rest.size());
        const std::filesystem::path candidate =
            std::filesystem::path(rest.substr(start, end - start)) / program;
        if (access(candidate.c_str(), X_OK) == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

// Reads one line from `fd`, byte by byte, waiting at most until `deadline`; false at the end of
// the stream or on time-out.
bool readLine(int fd, std::string& line, Clock::time_point deadline) {
    line.clear();
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, static_cast<int>(left.count())) <= 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        char c = 0;
        const ssize_t got = read(fd, &c, 1);
        if (got <= 0) {
            return false;
        }
        if (c == '\n') {
            return true;
        }
        line.push_back(c);
    }
}

// A child process with its standard output on a pipe.
struct Child {
    pid_t pid = -1;
    int output = -1;
};

Child spawn(const std::vector<std::string>& argv, bool quiet) {
    int fds[2];
    if (pipe(fds) != 0) {
        return {};
    }
    const pid_t pid = fork();
    if (pid == 0) {
        // The screens measured keep the usual timer slack of 50 us, not the watch's own.
        prctl(PR_SET_TIMERSLACK, kUsualTimerSlackNs);
        dup2(fds[1], STDOUT_FILENO);
        if (quiet) {
            const int null = ::open("/dev/null", O_WRONLY);
            dup2(null, STDERR_FILENO);
        }
        close(fds[0]);
        close(fds[1]);
        std::vector<char*> args;
        args.reserve(argv.size() + 1);
        for (const std::string& a : argv) {
            args.push_back(const_cast<char*>(a.c_str()));
        }
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return {};
    }
    return {pid, fds[0]};
}

void stop(Child& child) {
    if (child.pid > 0) {
        kill(child.pid, SIGTERM);
        waitpid(child.pid, nullptr, 0);
        child.pid = -1;
    }
    if (child.output >= 0) {
        close(child.output);
        child.output = -1;
    }
}

std::string executableFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

// Plays `delays.size()` rounds of `program` on the display and returns the rounds, or an
// empty list with `error` set.
std::vector<RoundResult> playScreen(const std::string& program, const std::vector<double>& delays,
                                    const XvfbFramebuffer& screen, Display* display,
                                    std::string* error) {
    Child child = spawn({program, std::to_string(delays.size())}, false);
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
        XTestFakeKeyEvent(display, left, True, CurrentTime);
        XFlush(display);
        const auto sent = Clock::now();
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
    int status = 0;
    waitpid(child.pid, &status, 0);
    child.pid = -1;
    stop(child);
    if (reported != rounds.size() || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        *error = program + " reported " + std::to_string(reported) + " of " +
                 std::to_string(rounds.size()) + " rounds";
        return {};
    }
    return rounds;
}

// The CPU time the hypervisor has taken from this machine since it booted (steal time), in ms;
// 0 where the kernel does not count it.
double stolenMs() {
    std::FILE* stat = std::fopen("/proc/stat", "r");
    if (stat == nullptr) {
        return 0.0;
    }
    unsigned long long fields[8] = {};
    const int read =
        std::fscanf(stat, "cpu %llu %llu %llu %llu %llu %llu %llu %llu", &fields[0], &fields[1],
                    &fields[2], &fields[3], &fields[4], &fields[5], &fields[6], &fields[7]);
    std::fclose(stat);
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    return read == 8 && ticksPerSecond > 0
               ? static_cast<double>(fields[7]) * 1000.0 / static_cast<double>(ticksPerSecond)
               : 0.0;
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

} // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 40;
    rounds = std::clamp((rounds + 3) / 4 * 4, 4, 200);
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

        const std::vector<double> delays = plannedDelays(rounds);
        const std::string bin = executableFolder();
        std::printf("Reaction-time fidelity, %d rounds per screen, planned delays 150-600 ms, "
                    "display :%s\n\n",
                    rounds, number.c_str());
        using quendal::fidelity::ScreenRun;
        const auto play = [&](const char* program, const char* name) {
            ScreenRun screenRun{name, {}, 0.0};
            const double stolenBefore = stolenMs();
            screenRun.rounds = playScreen(bin + "/" + program, delays, screen, display, &error);
            screenRun.stolenMs = stolenMs() - stolenBefore;
            return screenRun;
        };
        const ScreenRun naive = play("reaction_naive_screen", "naive program");
        ScreenRun floor;
        ScreenRun run;
        if (!naive.rounds.empty()) {
            floor = play("reaction_floor_screen", "floor program");
        }
        if (!floor.rounds.empty()) {
            run = play("reaction_run_screen", "run screen");
        }
        if (!run.rounds.empty()) {
            quendal::fidelity::printRounds("run screen (TDurchgangDialog)", run.rounds);
            quendal::fidelity::printRounds("naive program (stop watch at show())", naive.rounds);
            quendal::fidelity::printRounds("floor program (one thread, plain xcb)", floor.rounds);
            quendal::fidelity::printSummary(run, naive, floor);
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
