#include "core/statistics.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace quendal {
namespace {

constexpr int kColumns = 5;

// Sums of reaction times are kept in 64 bits: 200 rounds of times read from a hand-edited
// file would overflow 32 bits, and the mean of values that fit in 32 bits fits as well.
struct ColumnSums {
    int64_t correctTime = 0;
    int64_t wrongTime = 0;
    double correctSquares = 0.0;
    double wrongSquares = 0.0;
};

int32_t meanOf(int64_t sum, int32_t count) {
    return count > 0 ? static_cast<int32_t>(sum / count) : 0;
}

// Sample deviation around the already truncated mean; the divisor counts every round of the
// kind, also those (no answer) whose squares are not in the accumulator.
int32_t deviationOf(double squares, int32_t count) {
    if (count < 2) {
        return 0;
    }
    const double sd = std::sqrt(squares / static_cast<double>(count - 1));
    constexpr double kMax = static_cast<double>(std::numeric_limits<int32_t>::max());
    return sd >= kMax ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(sd);
}

// Only a positive chosen value is an answer. A round whose chosen value is 0 (the time ran
// out) or negative (only a hand-edited file holds one) counts as a round without answer in
// both passes: wrong, with its time in the wrong mean, but not in the deviation and never
// as interference.
bool answered(const RoundRecord& round) {
    return round.chosenValue > kNoAnswer;
}

double squaredDifference(int32_t time, int32_t mean) {
    const int64_t d = static_cast<int64_t>(time) - mean;
    return static_cast<double>(d * d);
}

} // namespace

void ComputeRunStatistics(ResultRecord& record) {
    const int rounds = std::clamp<int32_t>(record.roundCount, 0, kMaxRounds);
    auto& columns = record.statistics.columns;
    columns = {};
    std::array<ColumnSums, kColumns> sums{};

    // Count, and sum the times of the counted rounds.
    for (int r = 1; r <= rounds; ++r) {
        const RoundRecord& round = record.rounds[r];
        const int32_t t = round.targetValue;
        if (t < 1 || t > 4) {
            continue;
        }
        for (const int c : {0, static_cast<int>(t)}) {
            StatisticsColumn& col = columns[c];
            if (round.reactionTimeMs <= EliminationLimitMs) {
                ++col.eliminated;
            } else if (!answered(round)) {
                ++col.wrong;
                sums[c].wrongTime += round.reactionTimeMs;
            } else if (round.chosenValue == t) {
                ++col.correct;
                sums[c].correctTime += round.reactionTimeMs;
            } else {
                if (round.chosenValue == round.distractorValue) {
                    ++col.interference;
                }
                ++col.wrong;
                sums[c].wrongTime += round.reactionTimeMs;
            }
        }
    }

    for (int c = 0; c < kColumns; ++c) {
        columns[c].meanCorrect = meanOf(sums[c].correctTime, columns[c].correct);
        columns[c].meanWrong = meanOf(sums[c].wrongTime, columns[c].wrong);
    }

    // Squared differences from the column means; rounds without answer are left out.
    for (int r = 1; r <= rounds; ++r) {
        const RoundRecord& round = record.rounds[r];
        const int32_t t = round.targetValue;
        if (t < 1 || t > 4 || round.reactionTimeMs <= EliminationLimitMs || !answered(round)) {
            continue;
        }
        for (const int c : {0, static_cast<int>(t)}) {
            if (round.chosenValue == t) {
                sums[c].correctSquares +=
                    squaredDifference(round.reactionTimeMs, columns[c].meanCorrect);
            } else {
                sums[c].wrongSquares +=
                    squaredDifference(round.reactionTimeMs, columns[c].meanWrong);
            }
        }
    }

    for (int c = 0; c < kColumns; ++c) {
        columns[c].sdCorrect = deviationOf(sums[c].correctSquares, columns[c].correct);
        columns[c].sdWrong = deviationOf(sums[c].wrongSquares, columns[c].wrong);
    }
}

} // namespace quendal
