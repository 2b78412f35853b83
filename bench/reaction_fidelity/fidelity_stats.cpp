#include "fidelity_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quendal::fidelity {

namespace {

constexpr double kTargetMeanMs = 1.0;
constexpr double kTargetSdMs = 0.5;

double errorOf(const RoundResult& round, bool withoutAddition) {
    return round.recordedMs - (withoutAddition ? round.additionMs : 0) - round.sentMs;
}

void printFigures(const char* name, const ErrorFigures& f) {
    std::printf("  %-34s %8.2f %8.2f %8.2f\n", name, f.mean, f.sd, f.largest);
}

} // namespace

ErrorFigures figuresOf(const std::vector<RoundResult>& rounds, bool withoutAddition) {
    ErrorFigures f;
    if (rounds.empty()) {
        return f;
    }
    double sum = 0.0;
    for (const RoundResult& r : rounds) {
        const double e = errorOf(r, withoutAddition);
        sum += e;
        if (std::abs(e) > std::abs(f.largest)) {
            f.largest = e;
        }
    }
    f.mean = sum / static_cast<double>(rounds.size());
    if (rounds.size() > 1) {
        double squares = 0.0;
        for (const RoundResult& r : rounds) {
            const double d = errorOf(r, withoutAddition) - f.mean;
            squares += d * d;
        }
        f.sd = std::sqrt(squares / static_cast<double>(rounds.size() - 1));
    }
    return f;
}

void printRounds(const std::string& title, const std::vector<RoundResult>& rounds) {
    std::printf("%s\n", title.c_str());
    std::printf("  round  planned  key sent  recorded  addition   error  error without addition\n");
    for (std::size_t i = 0; i < rounds.size(); ++i) {
        const RoundResult& r = rounds[i];
        std::printf("  %5zu  %7.3f  %8.3f  %8d  %8d  %6.2f  %22.2f\n", i + 1, r.plannedMs, r.sentMs,
                    r.recordedMs, r.additionMs, errorOf(r, false), errorOf(r, true));
    }
    std::printf("\n");
}

void printSummary(const std::vector<RoundResult>& run, const std::vector<RoundResult>& naive) {
    const ErrorFigures runRecorded = figuresOf(run, false);
    const ErrorFigures runPure = figuresOf(run, true);
    const ErrorFigures naiveRecorded = figuresOf(naive, false);
    double latest = 0.0;
    for (const RoundResult& r : run) {
        latest = std::max(latest, r.sentMs - r.plannedMs);
    }
    for (const RoundResult& r : naive) {
        latest = std::max(latest, r.sentMs - r.plannedMs);
    }
    std::printf(
        "Error of the recorded time against the delay of the key press (ms), %zu rounds each\n",
        run.size());
    std::printf("  %-34s %8s %8s %8s\n", "", "mean", "sd", "largest");
    printFigures("run screen, as recorded", runRecorded);
    printFigures("run screen, without the addition", runPure);
    printFigures("naive program", naiveRecorded);
    std::printf("  (the latest key went out %.3f ms after its plan)\n", latest);

    const bool meanMet = std::abs(runPure.mean) <= kTargetMeanMs;
    const bool sdMet = runPure.sd <= kTargetSdMs;
    const bool better = std::abs(runPure.mean) < std::abs(naiveRecorded.mean);
    std::printf("Run screen without the addition: |mean| %.2f <= %.1f ms %s, sd %.2f <= %.1f ms "
                "%s, better than the naive program %s\n",
                std::abs(runPure.mean), kTargetMeanMs, meanMet ? "met" : "NOT MET", runPure.sd,
                kTargetSdMs, sdMet ? "met" : "NOT MET", better ? "yes" : "NO");
}

} // namespace quendal::fidelity
