#pragma once
// The child processes of reaction_fidelity_bench: the screens it measures, its Xvfb and the
// busy loops of its load mode, each with its standard output on a pipe that is read line by
// line with a time limit.

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quendal::fidelity {

using Clock = std::chrono::steady_clock;

struct Child {
    pid_t pid = -1;
    int output = -1;
};

// True when `program` is an executable in one of the folders of $PATH.
bool onPath(const std::string& program);
// The folder of the running executable.
std::string executableFolder();

// In a child after fork(): runs argv[0] (looked up in $PATH) with argv; ends the child with
// status 127 when it cannot.
[[noreturn]] void execArgv(const std::vector<std::string>& argv);

// Starts argv[0] (looked up in $PATH) with its standard output on a pipe; `quiet` sends its
// standard error to /dev/null. The child runs with the usual timer slack of 50 us and at the
// normal priority, whatever the benchmark's own.
Child spawn(const std::vector<std::string>& argv, bool quiet);
// Ends the child (SIGTERM) and closes its pipe.
void stop(Child& child);
// Waits for the child to end by itself and closes its pipe; true when it ended with status 0.
bool finish(Child& child);

// Reads one line from `fd`, waiting at most until `deadline`; false at the end of the stream
// or on time-out.
bool readLine(int fd, std::string& line, Clock::time_point deadline);

} // namespace quendal::fidelity
