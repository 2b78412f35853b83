// startup_bench: how long the program takes from exec to its painted login screen, and how
// much memory it holds there, beside the floor of any Qt Widgets program: startup_floor_window,
// which shows one plain window of the same size. It starts its own Xvfb with -fbdir (in
// /dev/shm where there is one) and reads the screen straight from the server's framebuffer. A start
// counts as done when the whole screen shows exactly what that program shows once it has settled
// (taken from one start beforehand), so a window that is mapped but not yet painted, or painted in
// part, does not count. The two programs take turns, so that a change of the machine's load meets
// both.
//
//   startup_bench [STARTS] [WIDTHxHEIGHT] [-- PROGRAM ARGS... [-- PROGRAM ARGS...]...]
//
// STARTS per program (default 30); the screen (default 1024x768); the programs measured
// (default: quendal beside this benchmark, started with "win"), each taking its turn after
// the floor, so that two builds can be compared in one run. Without Xvfb it says so and ends
// successfully. Prefer the medians, and note the load (printed before and after).

#include "bench_process.h"
#include "xvfb_framebuffer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using quendal::fidelity::PixelRect;
using quendal::fidelity::XvfbFramebuffer;
using Clock = std::chrono::steady_clock;

constexpr auto kStartTimeout = std::chrono::seconds(30);
constexpr auto kSettle = std::chrono::milliseconds(1500);
constexpr auto kMemoryAfter = std::chrono::milliseconds(1000);
constexpr auto kWatchPeriod = std::chrono::microseconds(200);

double milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::stringstream rest(path != nullptr ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(rest, folder, ':')) {
        if (access((std::filesystem::path(folder) / program).c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

pid_t spawn(const std::vector<std::string>& argv, int keepOpen = -1) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        for (int fd = 3; fd < 256; ++fd) {
            if (fd != keepOpen) {
                close(fd);
            }
        }
        quendal::fidelity::execArgv(argv);
    }
    return pid;
}

// Ends a child: SIGTERM, then SIGKILL when it has not ended within five seconds.
void stop(pid_t pid) {
    if (pid <= 0) {
        return;
    }
    kill(pid, SIGTERM);
    for (int i = 0; i < 500; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

bool readLine(int fd, std::string& line, Clock::time_point deadline) {
    line.clear();
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd entry{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&entry, 1, static_cast<int>(left.count())) <= 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        char c = 0;
        if (read(fd, &c, 1) <= 0) {
            return false;
        }
        if (c == '\n') {
            return true;
        }
        line.push_back(c);
    }
}

// Resident memory of a process in MB (VmRSS), 0 when it cannot be read.
double residentMb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

// The CPU time all threads of a process have had so far, in ms (from schedstat, in ns).
double cpuMs(pid_t pid) {
    double total = 0;
    std::error_code ec;
    for (const auto& task :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec)) {
        std::ifstream stat(task.path() / "schedstat");
        double ns = 0;
        if (stat >> ns) {
            total += ns / 1e6;
        }
    }
    return total;
}

std::string loadAverage() {
    std::ifstream load("/proc/loadavg");
    double a = 0;
    double b = 0;
    double c = 0;
    load >> a >> b >> c;
    char text[64];
    std::snprintf(text, sizeof text, "%.2f, %.2f, %.2f", a, b, c);
    return text;
}

bool waitFor(const XvfbFramebuffer& screen, const std::vector<uint32_t>& picture,
             Clock::time_point deadline) {
    const PixelRect all{0, 0, screen.Width(), screen.Height()};
    while (!screen.Same(all, picture)) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(kWatchPeriod);
    }
    return true;
}

// The screen once it has not changed for kSettle, or empty when it keeps changing.
std::vector<uint32_t> settledScreen(const XvfbFramebuffer& screen, Clock::time_point deadline) {
    const PixelRect all{0, 0, screen.Width(), screen.Height()};
    std::vector<uint32_t> last = screen.Copy(all);
    auto since = Clock::now();
    while (Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (!screen.Same(all, last)) {
            last = screen.Copy(all);
            since = Clock::now();
        } else if (Clock::now() - since >= kSettle) {
            return last;
        }
    }
    return {};
}

struct Program {
    std::string name;
    std::vector<std::string> argv;
    std::vector<uint32_t> painted;
    std::vector<double> startMs;
    std::vector<double> cpuAtPaintMs;
    std::vector<double> memoryMb;
};

struct Start {
    double wallMs = 0;
    double cpuMs = 0;
    double memoryMb = 0;
};

bool measure(Program& program, const XvfbFramebuffer& screen, const std::vector<uint32_t>& empty,
             std::string* error) {
    const auto begin = Clock::now();
    const pid_t pid = spawn(program.argv);
    if (pid < 0) {
        *error = "cannot start " + program.name;
        return false;
    }
    const bool painted = waitFor(screen, program.painted, begin + kStartTimeout);
    const auto end = Clock::now();
    const double cpu = cpuMs(pid);
    std::this_thread::sleep_for(kMemoryAfter);
    const double memory = residentMb(pid);
    stop(pid);
    if (!painted) {
        *error = program.name + " did not show its screen within 30 s";
        return false;
    }
    program.startMs.push_back(milliseconds(end - begin));
    program.cpuAtPaintMs.push_back(cpu);
    program.memoryMb.push_back(memory);
    if (!waitFor(screen, empty, Clock::now() + kStartTimeout)) {
        *error = program.name + " left something on the screen";
        return false;
    }
    return true;
}

// Starts the program once and keeps the screen it settles on as the picture of its start.
bool learn(Program& program, const XvfbFramebuffer& screen, const std::vector<uint32_t>& empty,
           std::string* error) {
    const pid_t pid = spawn(program.argv);
    program.painted = settledScreen(screen, Clock::now() + kStartTimeout);
    stop(pid);
    if (program.painted.empty() || program.painted == empty) {
        *error = program.name + " showed nothing that settled";
        return false;
    }
    if (!waitFor(screen, empty, Clock::now() + kStartTimeout)) {
        *error = program.name + " left something on the screen";
        return false;
    }
    return true;
}

struct Summary {
    double min = 0;
    double median = 0;
    double max = 0;
};

Summary summarise(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    if (values.empty()) {
        return {};
    }
    const std::size_t n = values.size();
    const double median = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
    return {values.front(), median, values.back()};
}

void printRow(const char* what, const Program& program) {
    const Summary wall = summarise(program.startMs);
    const Summary cpu = summarise(program.cpuAtPaintMs);
    const Summary memory = summarise(program.memoryMb);
    // A long name (a whole path) on a line of its own, the figures below it.
    if (std::strlen(what) > 30) {
        std::printf("%s\n", what);
        what = "";
    }
    std::printf("%-30s %7.1f %7.1f %7.1f   %7.1f %7.1f %7.1f   %6.1f %6.1f %6.1f\n", what, wall.min,
                wall.median, wall.max, cpu.min, cpu.median, cpu.max, memory.min, memory.median,
                memory.max);
}

} // namespace

int main(int argc, char** argv) {
    int starts = 30;
    std::string size = "1024x768";
    std::vector<std::vector<std::string>> measured;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            for (int j = i + 1; j <= argc; ++j) {
                if (j == argc || std::string(argv[j]) == "--") {
                    if (j > i + 1) {
                        measured.emplace_back(argv + i + 1, argv + j);
                    }
                    i = j;
                }
            }
            break;
        }
        if (arg.find('x') != std::string::npos) {
            size = arg;
        } else {
            starts = std::clamp(std::atoi(argv[i]), 1, 1000);
        }
    }
    if (!onPath("Xvfb")) {
        std::puts("startup_bench: Xvfb is not installed; skipped");
        return 0;
    }
    const std::filesystem::path bin = quendal::fidelity::executableFolder();
    if (measured.empty()) {
        measured.push_back({(bin / "quendal").string(), "win"});
    }
    std::string folderTemplate =
        (std::filesystem::temp_directory_path() / "quendal-startup-XXXXXX").string();
    if (mkdtemp(folderTemplate.data()) == nullptr) {
        std::perror("startup_bench: mkdtemp");
        return 1;
    }
    const std::filesystem::path folder = folderTemplate;
    // The server's screen in memory where the system has a memory file system (as a display's
    // memory is), not in a file that the kernel writes back to the disk; the data folder stays
    // on the disk, as a user's does.
    std::filesystem::path screenFolder = folder;
    std::string screenTemplate = "/dev/shm/quendal-startup-screen-XXXXXX";
    if (std::filesystem::is_directory("/dev/shm") && mkdtemp(screenTemplate.data()) != nullptr) {
        screenFolder = screenTemplate;
    }
    std::filesystem::create_directories(folder / "data");
    std::filesystem::create_directories(folder / "run");
    std::filesystem::permissions(folder / "run", std::filesystem::perms::owner_all);

    int numberPipe[2];
    if (pipe(numberPipe) != 0) {
        return 1;
    }
    // -noreset: a desktop's X server keeps running between programs; a bare server resets
    // itself whenever its last client goes, and a start that came then would wait for it.
    const pid_t xvfb =
        spawn({"Xvfb", "-displayfd", std::to_string(numberPipe[1]), "-screen", "0", size + "x24",
               "-fbdir", screenFolder.string(), "-nolisten", "tcp", "-br", "-nocursor", "-noreset"},
              numberPipe[1]);
    close(numberPipe[1]);
    std::string number;
    std::string error;
    int status = 1;
    XvfbFramebuffer screen;
    if (xvfb < 0 || !readLine(numberPipe[0], number, Clock::now() + kStartTimeout)) {
        error = "Xvfb did not start";
    } else if (screen.Open((screenFolder / "Xvfb_screen0").string(), &error)) {
        setenv("DISPLAY", (":" + number).c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        unsetenv("QT_SCALE_FACTOR");
        unsetenv("WAYLAND_DISPLAY");
        setenv("XDG_RUNTIME_DIR", (folder / "run").c_str(), 1);
        setenv("QUENDAL_DATA_DIR", (folder / "data").c_str(), 1);
        const std::vector<uint32_t> empty = screen.Copy({0, 0, screen.Width(), screen.Height()});

        Program floor{
            "startup_floor_window", {(bin / "startup_floor_window").string()}, {}, {}, {}, {}};
        std::vector<Program> programs;
        for (const std::vector<std::string>& argvOf : measured) {
            // Named by file, or by the whole path where two programs share a name.
            const std::filesystem::path path(argvOf.front());
            std::string name = path.filename().string();
            for (const std::vector<std::string>& other : measured) {
                if (&other != &argvOf &&
                    std::filesystem::path(other.front()).filename() == path.filename()) {
                    name = path.string();
                }
            }
            programs.push_back({name, argvOf, {}, {}, {}, {}});
        }
        const std::string loadBefore = loadAverage();
        bool ok = learn(floor, screen, empty, &error);
        for (Program& program : programs) {
            ok = ok && learn(program, screen, empty, &error);
        }
        for (int i = 0; ok && i < starts; ++i) {
            ok = measure(floor, screen, empty, &error);
            for (Program& program : programs) {
                ok = ok && measure(program, screen, empty, &error);
            }
        }
        if (ok) {
            std::printf("Start-up, exec to the painted screen, %d starts each, screen %s, "
                        "display :%s\nload average before: %s, after: %s\n\n",
                        starts, size.c_str(), number.c_str(), loadBefore.c_str(),
                        loadAverage().c_str());
            std::printf("%-30s %23s   %23s   %20s\n", "", "wall ms (min/med/max)",
                        "CPU ms at paint", "resident MB");
            for (const Program& program : programs) {
                printRow(program.name.c_str(), program);
            }
            printRow("floor (one Qt window)", floor);
            std::puts("");
            for (const Program& program : programs) {
                const double ratio =
                    summarise(program.startMs).median / summarise(floor.startMs).median;
                const double cpuRatio =
                    summarise(program.cpuAtPaintMs).median / summarise(floor.cpuAtPaintMs).median;
                std::printf("%s: median wall time %.2f x the floor's, CPU time %.2f x "
                            "(target: 1.3 x); memory target 45 MB\n",
                            program.name.c_str(), ratio, cpuRatio);
            }
            status = 0;
        }
    }
    close(numberPipe[0]);
    stop(xvfb);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::remove_all(screenFolder, ignored);
    if (status != 0) {
        std::fprintf(stderr, "startup_bench: %s\n", error.c_str());
    }
    return status;
}
