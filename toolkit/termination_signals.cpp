#include "toolkit/termination_signals.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace quendal {
namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGHUP, SIGINT};

// The pipe's ends: [0] read by the UI thread, [1] written by the handler.
std::array<int, 2> selfPipe = {-1, -1};
std::array<struct sigaction, kSignals.size()> previous{};

extern "C" void onTerminationSignal(int number) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    // Nothing can be done about a full pipe: a request is already waiting.
    [[maybe_unused]] const ssize_t written = ::write(selfPipe[1], &byte, 1);
    errno = saved;
}

bool makePipe() {
    if (::pipe2(selfPipe.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        selfPipe = {-1, -1};
        return false;
    }
    return true;
}

void closePipe() {
    for (int& fd : selfPipe) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (selfPipe[0] >= 0 || !makePipe()) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(selfPipe[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationSignals::readPipe);
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        sigaction(kSignals[i], &action, &previous[i]);
    }
}

TerminationSignals::~TerminationSignals() {
    if (!notifier_) {
        return;
    }
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        sigaction(kSignals[i], &previous[i], nullptr);
    }
    notifier_.reset();
    closePipe();
}

void TerminationSignals::readPipe() {
    unsigned char byte = 0;
    while (::read(selfPipe[0], &byte, 1) == 1) {
        emit requested(byte);
    }
}

} // namespace quendal
