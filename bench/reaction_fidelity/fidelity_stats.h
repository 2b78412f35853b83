#pragma once
// The figures of reaction_fidelity_bench: each round's error and the mean, standard deviation,
// root mean square and largest error of a screen without the deliberate addition, idle and
// under load side by side, and whether the run screen meets its targets. The error is measured
// against the delay after which the key really went out, so that a late wake-up of the
// benchmark itself does not count against the screen.

#include <string>
#include <vector>

namespace quendal::fidelity {

struct RoundResult {
    double plannedMs = 0; // the delay planned from the stimulus's appearance to the key
    double sentMs = 0.0;  // the delay after which the key really went out (a few us later)
    int recordedMs = 0;   // the reaction time the screen recorded
    int additionMs = 0;   // the deliberate addition in it (0 to 4; 0 for the other programs)
};

struct ErrorFigures {
    double mean = 0.0;
    double sd = 0.0;      // sample standard deviation
    double rms = 0.0;     // root mean square: bias and spread in one figure
    double largest = 0.0; // the error of the largest magnitude, with its sign
    std::size_t count = 0;
};

ErrorFigures figuresOf(const std::vector<double>& errors);
// The errors of the recorded times without the addition.
std::vector<double> errorsOf(const std::vector<RoundResult>& rounds);

void printRounds(const std::string& title, const std::vector<RoundResult>& rounds);

// One screen measured once: its rounds, and what the machine did meanwhile.
struct ScreenRun {
    std::vector<RoundResult> rounds;
    double stolenMs = 0.0;    // CPU time the hypervisor took from the machine (steal time)
    double loadAverage = 0.0; // the 1-minute load average at the end
};

// A screen idle and under load; `loaded` stays empty without the load mode.
struct ScreenPair {
    std::string name;
    ScreenRun idle;
    ScreenRun loaded;
};

// The table of one set: every screen idle and under load side by side.
void printSet(const std::string& title, const std::vector<ScreenPair>& screens, bool withLoad);

// The figures of the screen pooled over every set, against its targets: idle |mean| <= 0.5 ms
// and sd <= 0.45 ms; under load |mean| <= 0.5 ms, sd <= 0.6 ms and no round more than 3 ms
// off. Returns true when all are met.
bool printTargets(const std::string& name, const std::vector<ScreenPair>& sets, bool withLoad);

} // namespace quendal::fidelity
