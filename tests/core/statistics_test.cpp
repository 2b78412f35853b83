#include "core/statistics.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace quendal;

namespace {

ResultRecord recordOf(const std::vector<RoundRecord>& rounds) {
    ResultRecord record;
    record.roundCount = static_cast<int32_t>(rounds.size());
    for (std::size_t i = 0; i < rounds.size(); ++i) {
        record.rounds[i + 1] = rounds[i];
    }
    ComputeRunStatistics(record);
    return record;
}

const StatisticsColumn& column(const ResultRecord& record, int c) {
    return record.statistics.columns[static_cast<std::size_t>(c)];
}

} // namespace

TEST(RunStatistics, RoundsOfEightyMsOrLessAreEliminatedAndCountNowhereElse) {
    std::vector<RoundRecord> rounds;
    rounds.reserve(20);
    for (int i = 0; i < 20; ++i) {
        rounds.push_back({i % 4 + 1, i % 3, 80 - i, 1});
    }
    const ResultRecord r = recordOf(rounds);
    EXPECT_EQ(column(r, 0), (StatisticsColumn{0, 0, 0, 0, 0, 0, 0, 20}));
    for (int c = 1; c <= 4; ++c) {
        EXPECT_EQ(column(r, c), (StatisticsColumn{0, 0, 0, 0, 0, 0, 0, 5}));
    }

    const ResultRecord edge = recordOf({{1, 1, 80, 1}, {1, 1, 81, 1}});
    EXPECT_EQ(column(edge, 1).eliminated, 1);
    EXPECT_EQ(column(edge, 1).correct, 1);
    EXPECT_EQ(column(edge, 1).meanCorrect, 81);
}

TEST(RunStatistics, MeansAreTruncatedAndDeviationsTakenAroundTheTruncatedMean) {
    const ResultRecord one = recordOf({{2, 2, 640, 2}});
    EXPECT_EQ(column(one, 2).meanCorrect, 640);
    EXPECT_EQ(column(one, 2).sdCorrect, 0);

    const ResultRecord two = recordOf({{3, 3, 500, 3}, {3, 3, 501, 3}});
    EXPECT_EQ(column(two, 3).meanCorrect, 500);
    EXPECT_EQ(column(two, 3).sdCorrect, 1); // sqrt((0 + 1) / 1)

    // 400, 500, 700: mean 533 (1600 div 3), sqrt(46667 / 2) = 152.75 -> 152.
    const ResultRecord three = recordOf({{1, 1, 400, 1}, {1, 1, 500, 1}, {1, 1, 700, 1}});
    EXPECT_EQ(column(three, 1).meanCorrect, 533);
    EXPECT_EQ(column(three, 1).sdCorrect, 152);
    // 100, 101, 101: around the truncated mean 100 the squares are 0 + 1 + 1 -> sqrt(1) = 1;
    // around the exact mean 100.67 the deviation would be 0.58 -> 0.
    const ResultRecord trunc = recordOf({{1, 1, 100, 1}, {1, 1, 101, 1}, {1, 1, 101, 1}});
    EXPECT_EQ(column(trunc, 1).meanCorrect, 100);
    EXPECT_EQ(column(trunc, 1).sdCorrect, 1);
}

TEST(RunStatistics, RoundsWithoutAnswerAreWrongButStayOutOfTheDeviation) {
    const ResultRecord none = recordOf({{4, 0, 3000, 2}, {4, 0, 3000, 2}});
    EXPECT_EQ(column(none, 4), (StatisticsColumn{0, 0, 0, 2, 3000, 0, 0, 0}));

    // One answered wrong round of 1000 ms and one time-out of 3000 ms: mean 2000, the
    // accumulator holds only (1000 - 2000)^2 but the divisor is 2 - 1.
    const ResultRecord mixed = recordOf({{1, 2, 1000, 3}, {1, 0, 3000, 2}});
    EXPECT_EQ(column(mixed, 1).wrong, 2);
    EXPECT_EQ(column(mixed, 1).meanWrong, 2000);
    EXPECT_EQ(column(mixed, 1).sdWrong, 1000);
    EXPECT_EQ(column(mixed, 1).interference, 0);
}

TEST(RunStatistics, ANegativeChoiceFromAFileIsARoundWithoutAnswerInEveryPass) {
    // A negative chosen value (hand-edited file), even one equal to the distractor, counts
    // like a time-out: wrong, in the wrong mean, out of the deviation, no interference.
    const ResultRecord mixed = recordOf({{1, -2, 1000, -2}, {1, 2, 3000, 3}});
    for (const int c : {0, 1}) {
        EXPECT_EQ(column(mixed, c), (StatisticsColumn{0, 0, 0, 2, 2000, 1000, 0, 0})) << c;
    }
    // The same as with a time-out in its place.
    const ResultRecord timeOut = recordOf({{1, 0, 1000, -2}, {1, 2, 3000, 3}});
    EXPECT_EQ(mixed.statistics, timeOut.statistics);
    const ResultRecord only = recordOf({{3, -1, 700, 1}, {3, -4, 900, 2}});
    EXPECT_EQ(column(only, 3), (StatisticsColumn{0, 0, 0, 2, 800, 0, 0, 0}));
}

TEST(RunStatistics, InterferenceIsAWrongAnswerOnTheDistractor) {
    const ResultRecord r = recordOf({{1, 3, 700, 3}, {1, 2, 700, 3}, {1, 0, 700, 0}});
    EXPECT_EQ(column(r, 1).wrong, 3);
    EXPECT_EQ(column(r, 1).interference, 1);
}

TEST(RunStatistics, ColumnZeroIsComputedOverAllRoundsNotFromTheOtherColumns) {
    // Column 1: 200 and 400 (mean 300); column 2: 1000 alone. Column 0: mean 1600 div 3.
    const ResultRecord r = recordOf({{1, 1, 200, 1}, {1, 1, 400, 1}, {2, 2, 1000, 2}});
    EXPECT_EQ(column(r, 0).correct, 3);
    EXPECT_EQ(column(r, 0).meanCorrect, 533);
    EXPECT_EQ(column(r, 0).sdCorrect, 416); // sqrt((333^2 + 133^2 + 467^2) / 2) = 416.3
    EXPECT_EQ(column(r, 3), StatisticsColumn{});
    EXPECT_EQ(column(r, 4), StatisticsColumn{});
}

TEST(RunStatistics, TargetsOutsideOneToFourAreLeftOutAndNothingElseIsTouched) {
    ResultRecord r = recordOf({{0, 0, 500, 0}, {5, 5, 500, 5}, {-3, 1, 500, 1}, {2, 2, 600, 2}});
    EXPECT_EQ(column(r, 0).correct, 1);
    EXPECT_EQ(column(r, 0).meanCorrect, 600);
    EXPECT_EQ(column(r, 0).wrong + column(r, 0).eliminated, 0);

    // Rounds past the round count do not count, and a count out of range is bounded.
    r.rounds[5] = {1, 1, 900, 1};
    ComputeRunStatistics(r);
    EXPECT_EQ(column(r, 0).correct, 1);
    r.roundCount = -7;
    ComputeRunStatistics(r);
    EXPECT_EQ(r.statistics, RunStatistics{});
    r.roundCount = 1000;
    ComputeRunStatistics(r); // reads rounds 1..200 only
    EXPECT_EQ(column(r, 1).correct, 1);
}

TEST(RunStatistics, ExtremeTimesFromAFileNeitherOverflowNorWrap) {
    std::vector<RoundRecord> rounds(200, RoundRecord{1, 1, 2147483647, 1});
    rounds[0].reactionTimeMs = 81;
    rounds[1] = {1, 2, 2147483647, 3};
    rounds[2] = {1, 2, 81, 3};
    const ResultRecord r = recordOf(rounds);
    EXPECT_EQ(column(r, 1).correct, 198);
    EXPECT_EQ(column(r, 1).meanCorrect, (int64_t{2147483647} * 197 + 81) / 198);
    EXPECT_GT(column(r, 1).sdCorrect, 0);
    EXPECT_EQ(column(r, 1).meanWrong, (int64_t{2147483647} + 81) / 2);
    EXPECT_EQ(column(r, 1).sdWrong, 1518500192); // sqrt(2 * 1073741783^2)
}

TEST(RunStatistics, InvariantsHoldForRandomRuns) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 gen(seed);
        std::uniform_int_distribution<int> value(0, 4);
        std::uniform_int_distribution<int> time(0, 5000);
        std::vector<RoundRecord> rounds(static_cast<std::size_t>(seed % 201));
        for (auto& round : rounds) {
            round = {value(gen) % 4 + 1, value(gen), time(gen), value(gen) % 4 + 1};
        }
        const ResultRecord r = recordOf(rounds);
        StatisticsColumn sum;
        for (int c = 1; c <= 4; ++c) {
            const StatisticsColumn& col = column(r, c);
            int covered = 0;
            for (const auto& round : rounds) {
                covered += round.targetValue == c ? 1 : 0;
            }
            EXPECT_EQ(col.correct + col.wrong + col.eliminated, covered) << seed;
            EXPECT_LE(col.interference, col.wrong);
            sum.correct += col.correct;
            sum.wrong += col.wrong;
            sum.interference += col.interference;
            sum.eliminated += col.eliminated;
        }
        EXPECT_EQ(column(r, 0).correct, sum.correct);
        EXPECT_EQ(column(r, 0).wrong, sum.wrong);
        EXPECT_EQ(column(r, 0).interference, sum.interference);
        EXPECT_EQ(column(r, 0).eliminated, sum.eliminated);
        EXPECT_EQ(column(r, 0).correct + column(r, 0).wrong + column(r, 0).eliminated,
                  static_cast<int>(rounds.size()));
    }
}
