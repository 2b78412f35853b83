#include "bench_process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quendal::fidelity {

namespace {

constexpr unsigned long kUsualTimerSlackNs = 50'000;

} // namespace

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

std::string executableFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

void execArgv(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

Child spawn(const std::vector<std::string>& argv, bool quiet) {
    int fds[2];
    if (pipe(fds) != 0) {
        return {};
    }
    const pid_t pid = fork();
    if (pid == 0) {
        // The programs measured keep the usual timer slack, not the watch's own.
        prctl(PR_SET_TIMERSLACK, kUsualTimerSlackNs);
        dup2(fds[1], STDOUT_FILENO);
        if (quiet) {
            const int null = ::open("/dev/null", O_WRONLY);
            dup2(null, STDERR_FILENO);
        }
        close(fds[0]);
        close(fds[1]);
        execArgv(argv);
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

bool finish(Child& child) {
    int status = 1;
    if (child.pid > 0) {
        waitpid(child.pid, &status, 0);
        child.pid = -1;
    }
    stop(child);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

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

} // namespace quendal::fidelity
