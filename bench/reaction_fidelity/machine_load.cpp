#include "machine_load.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sched.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quendal::fidelity {

namespace {

// Above every ordinary thread, below the kernel's own real-time threads.
constexpr int kRealTimePriority = 50;

} // namespace

BusyLoad::BusyLoad(int processes) {
    for (int i = 0; i < processes; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            const sched_param normal{0};
            sched_setscheduler(0, SCHED_OTHER, &normal);
            setpriority(PRIO_PROCESS, 0, 0);
            volatile unsigned long spin = 0;
            for (;;) {
                spin = spin + 1;
            }
        }
        if (pid > 0) {
            pids_.push_back(pid);
        }
    }
}

BusyLoad::~BusyLoad() {
    for (const pid_t pid : pids_) {
        kill(pid, SIGKILL);
    }
    for (const pid_t pid : pids_) {
        waitpid(pid, nullptr, 0);
    }
}

bool raiseToRealTime(pid_t pid, std::string* why) {
    const sched_param fifo{kRealTimePriority};
    const std::string tasks =
        pid == 0 ? std::string("/proc/self/task") : "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    bool raised = false;
    for (const auto& entry : std::filesystem::directory_iterator(tasks, error)) {
        const pid_t thread = std::stoi(entry.path().filename().string());
        if (sched_setscheduler(thread, SCHED_FIFO | SCHED_RESET_ON_FORK, &fifo) != 0) {
            *why = std::strerror(errno);
            return false;
        }
        raised = true;
    }
    if (!raised) {
        *why = error ? error.message() : "no threads found";
    }
    return raised;
}

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

double loadAverage() {
    double average = 0.0;
    if (std::FILE* file = std::fopen("/proc/loadavg", "r"); file != nullptr) {
        if (std::fscanf(file, "%lf", &average) != 1) {
            average = 0.0;
        }
        std::fclose(file);
    }
    return average;
}

} // namespace quendal::fidelity
