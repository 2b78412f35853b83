#pragma once
// The figures of reaction_fidelity_bench: each round's error and the mean, standard deviation
// and largest error of a screen, as recorded and without the deliberate addition. The error is
// measured against the delay after which the key really went out, so that a late wake-up of
// the benchmark itself does not count against the screen.

#include <string>
#include <vector>

namespace quendal::fidelity {

struct RoundResult {
    double plannedMs = 0; // the delay planned from the stimulus's appearance to the key
    double sentMs = 0.0;  // the delay after which the key really went out (a few us later)
    int recordedMs = 0;   // the reaction time the screen recorded
    int additionMs = 0;   // the deliberate addition in it (0 to 4; 0 for the naive program)
};

struct ErrorFigures {
    double mean = 0.0;
    double sd = 0.0;      // sample standard deviation
    double rms = 0.0;     // root mean square: bias and spread in one figure
    double largest = 0.0; // the error of the largest magnitude, with its sign
};

ErrorFigures figuresOf(const std::vector<RoundResult>& rounds, bool withoutAddition);

void printRounds(const std::string& title, const std::vector<RoundResult>& rounds);

// What was measured of one screen: its rounds and the CPU time the hypervisor took from the
// machine (steal time) while they were played.
struct ScreenRun {
    std::string name;
    std::vector<RoundResult> rounds;
    double stolenMs = 0.0;
};

// The figures of the three screens and whether the run screen meets its targets: without the
// addition a mean error of at most 1 ms and a standard deviation of at most 0.5 ms, and a
// smaller root-mean-square error than the naive program. The floor program shows what the X
// server and the machine allow any program.
void printSummary(const ScreenRun& run, const ScreenRun& naive, const ScreenRun& floor);

} // namespace quendal::fidelity
