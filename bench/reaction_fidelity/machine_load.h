#pragma once
// The machine around a measurement of reaction_fidelity_bench: busy processes beside the
// screen measured (the load mode), real-time priority for the X server and the watch, and
// what the machine did meanwhile (load average, the hypervisor's steal time).

#include <string>
#include <sys/types.h>
#include <vector>

namespace quendal::fidelity {

// N processes that keep a core busy each, at the normal priority of the programs measured,
// from construction to destruction.
class BusyLoad {
  public:
    explicit BusyLoad(int processes);
    ~BusyLoad();
    BusyLoad(const BusyLoad&) = delete;
    BusyLoad& operator=(const BusyLoad&) = delete;

  private:
    std::vector<pid_t> pids_;
};

// Gives every thread of `pid` (0: this process) a real-time priority (SCHED_FIFO); its
// children start at the normal priority again. False with `why` set when the machine does not
// allow it.
bool raiseToRealTime(pid_t pid, std::string* why);

// The CPU time the hypervisor has taken from this machine since it booted (steal time), in ms;
// 0 where the kernel does not count it.
double stolenMs();
// The 1-minute load average.
double loadAverage();

} // namespace quendal::fidelity
