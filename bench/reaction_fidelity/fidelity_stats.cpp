#include "fidelity_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quendal::fidelity {

namespace {

constexpr double kTargetMeanMs = 0.5;
constexpr double kTargetIdleSdMs = 0.45;
constexpr double kTargetLoadSdMs = 0.6;
constexpr double kTargetLoadLargestMs = 3.0;

double errorOf(const RoundResult& round) {
    return round.recordedMs - round.additionMs - round.sentMs;
}

void printFigures(const ErrorFigures& f) {
    std::printf(" %6.2f %5.2f %5.2f %7.2f", f.mean, f.sd, f.rms, f.largest);
}

std::vector<double> pooled(const std::vector<ScreenPair>& sets, bool loaded) {
    std::vector<double> errors;
    for (const ScreenPair& set : sets) {
        const std::vector<double> e = errorsOf(loaded ? set.loaded.rounds : set.idle.rounds);
        errors.insert(errors.end(), e.begin(), e.end());
    }
    return errors;
}

const char* verdict(bool met) {
    return met ? "met" : "NOT MET";
}

} // namespace

ErrorFigures figuresOf(const std::vector<double>& errors) {
    ErrorFigures f;
    f.count = errors.size();
    if (errors.empty()) {
        return f;
    }
    double sum = 0.0;
    double squareSum = 0.0;
    for (const double e : errors) {
        sum += e;
        squareSum += e * e;
        if (std::abs(e) > std::abs(f.largest)) {
            f.largest = e;
        }
    }
    const auto n = static_cast<double>(errors.size());
    f.mean = sum / n;
    f.rms = std::sqrt(squareSum / n);
    if (errors.size() > 1) {
        double squares = 0.0;
        for (const double e : errors) {
            squares += (e - f.mean) * (e - f.mean);
        }
        f.sd = std::sqrt(squares / (n - 1));
    }
    return f;
}

std::vector<double> errorsOf(const std::vector<RoundResult>& rounds) {
    std::vector<double> errors;
    errors.reserve(rounds.size());
    for (const RoundResult& r : rounds) {
        errors.push_back(errorOf(r));
    }
    return errors;
}

void printRounds(const std::string& title, const std::vector<RoundResult>& rounds) {
    std::printf("%s\n", title.c_str());
    std::printf("  round  planned  key sent  recorded  addition  error without addition\n");
    for (std::size_t i = 0; i < rounds.size(); ++i) {
        const RoundResult& r = rounds[i];
        std::printf("  %5zu  %7.3f  %8.3f  %8d  %8d  %22.2f\n", i + 1, r.plannedMs, r.sentMs,
                    r.recordedMs, r.additionMs, errorOf(r));
    }
    std::printf("\n");
}

void printSet(const std::string& title, const std::vector<ScreenPair>& screens, bool withLoad) {
    std::printf("%s\n", title.c_str());
    std::printf("  %-38s %-28s", "error without the addition (ms)",
                "idle: mean    sd   rms largest");
    if (withLoad) {
        std::printf("  %-28s", "load: mean    sd   rms largest");
    }
    std::printf("  stolen ms  load avg\n");
    for (const ScreenPair& s : screens) {
        std::printf("  %-38s      ", s.name.c_str());
        printFigures(figuresOf(errorsOf(s.idle.rounds)));
        if (withLoad) {
            std::printf("        ");
            printFigures(figuresOf(errorsOf(s.loaded.rounds)));
            std::printf("  %4.0f/%-4.0f  %4.2f/%-4.2f\n", s.idle.stolenMs, s.loaded.stolenMs,
                        s.idle.loadAverage, s.loaded.loadAverage);
        } else {
            std::printf("  %9.0f  %8.2f\n", s.idle.stolenMs, s.idle.loadAverage);
        }
    }
    std::printf("\n");
}

bool printTargets(const std::string& name, const std::vector<ScreenPair>& sets, bool withLoad) {
    const ErrorFigures idle = figuresOf(pooled(sets, false));
    const bool idleMean = std::abs(idle.mean) <= kTargetMeanMs;
    const bool idleSd = idle.sd <= kTargetIdleSdMs;
    std::printf("%s over %zu sets, without the addition:\n", name.c_str(), sets.size());
    std::printf("  idle, %zu rounds: |mean| %.2f <= %.2f ms %s, sd %.2f <= %.2f ms %s\n",
                idle.count, std::abs(idle.mean), kTargetMeanMs, verdict(idleMean), idle.sd,
                kTargetIdleSdMs, verdict(idleSd));
    bool met = idleMean && idleSd;
    if (withLoad) {
        const ErrorFigures load = figuresOf(pooled(sets, true));
        const bool loadMean = std::abs(load.mean) <= kTargetMeanMs;
        const bool loadSd = load.sd <= kTargetLoadSdMs;
        const bool loadLargest = std::abs(load.largest) <= kTargetLoadLargestMs;
        std::printf("  under load, %zu rounds: |mean| %.2f <= %.2f ms %s, sd %.2f <= %.2f ms %s, "
                    "largest %.2f within %.0f ms %s\n",
                    load.count, std::abs(load.mean), kTargetMeanMs, verdict(loadMean), load.sd,
                    kTargetLoadSdMs, verdict(loadSd), load.largest, kTargetLoadLargestMs,
                    verdict(loadLargest));
        met = met && loadMean && loadSd && loadLargest;
    }
    return met;
}

} // namespace quendal::fidelity
