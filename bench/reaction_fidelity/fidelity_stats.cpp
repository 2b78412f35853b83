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

void printFigures(const std::string& name, const ErrorFigures& f, double stolenMs) {
    std::printf("  %-34s %8.2f %8.2f %8.2f %8.2f", name.c_str(), f.mean, f.sd, f.rms, f.largest);
    if (stolenMs >= 0.0) {
        std::printf(" %8.0f", stolenMs);
    }
    std::printf("\n");
}

} // namespace

ErrorFigures figuresOf(const std::vector<RoundResult>& rounds, bool withoutAddition) {
    ErrorFigures f;
    if (rounds.empty()) {
        return f;
    }
    double sum = 0.0;
    double squareSum = 0.0;
    for (const RoundResult& r : rounds) {
        const double e = errorOf(r, withoutAddition);
        sum += e;
        squareSum += e * e;
        if (std::abs(e) > std::abs(f.largest)) {
            f.largest = e;
        }
    }
    f.mean = sum / static_cast<double>(rounds.size());
    f.rms = std::sqrt(squareSum / static_cast<double>(rounds.size()));
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

void printSummary(const ScreenRun& run, const ScreenRun& naive, const ScreenRun& floor) {
    const ErrorFigures runRecorded = figuresOf(run.rounds, false);
    const ErrorFigures runPure = figuresOf(run.rounds, true);
    const ErrorFigures naivePure = figuresOf(naive.rounds, true);
    const ErrorFigures floorPure = figuresOf(floor.rounds, true);
    double latest = 0.0;
    for (const ScreenRun* screen : {&run, &naive, &floor}) {
        for (const RoundResult& r : screen->rounds) {
            latest = std::max(latest, r.sentMs - r.plannedMs);
        }
    }
    std::printf(
        "Error of the recorded time against the delay of the key press (ms), %zu rounds each\n",
        run.rounds.size());
    std::printf("  %-34s %8s %8s %8s %8s %8s\n", "", "mean", "sd", "rms", "largest", "stolen");
    printFigures(run.name + ", as recorded", runRecorded, -1.0);
    printFigures(run.name + ", without the addition", runPure, run.stolenMs);
    printFigures(naive.name, naivePure, naive.stolenMs);
    printFigures(floor.name, floorPure, floor.stolenMs);
    std::printf("  (the latest key went out %.3f ms after its plan; stolen: CPU time the "
                "hypervisor took from this machine meanwhile, in ms)\n",
                latest);

    const bool meanMet = std::abs(runPure.mean) <= kTargetMeanMs;
    const bool sdMet = runPure.sd <= kTargetSdMs;
    const bool better = runPure.rms < naivePure.rms;
    std::printf("Run screen without the addition: |mean| %.2f <= %.1f ms %s, sd %.2f <= %.1f ms "
                "%s, rms %.2f below the naive program's %.2f %s\n",
                std::abs(runPure.mean), kTargetMeanMs, meanMet ? "met" : "NOT MET", runPure.sd,
                kTargetSdMs, sdMet ? "met" : "NOT MET", runPure.rms, naivePure.rms,
                better ? "yes" : "NO");
}

} // namespace quendal::fidelity
