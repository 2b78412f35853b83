#include "core/catalogue.h"
#include "core/program_state.h"
#include "core/random.h"
#include "core/sequence.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace quendal {
namespace {

RunSettings Settings(int kind, int version, int roundCount, int frameMode = 2) {
    RunSettings settings;
    settings.kind = kind;
    settings.version = version;
    settings.roundCount = roundCount;
    settings.frameMode = frameMode;
    return settings;
}

StimulusTable TableOf(int kind, int version) {
    StimulusTable table{};
    FillStimulusTable(table, kind, version);
    return table;
}

TEST(RandomTest, RandomBelowStaysInRangeAndRepeatsAfterSeeding) {
    SeedRandom(11);
    std::array<int, 7> seen{};
    std::vector<int> first;
    for (int i = 0; i < 700; ++i) {
        const int value = RandomBelow(7);
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 7);
        ++seen[value];
        first.push_back(value);
    }
    for (int count : seen) {
        EXPECT_GT(count, 50);
    }
    SeedRandom(11);
    for (int expected : first) {
        ASSERT_EQ(RandomBelow(7), expected);
    }
    EXPECT_EQ(RandomBelow(1), 0);
    EXPECT_EQ(RandomBelow(0), 0);
    EXPECT_EQ(RandomBelow(-3), 0);
}

// Every exercise and every round count of the parameter dialog: each relevant value is the
// answer in exactly a quarter of the rounds, the pictures belong to the exercise, no picture
// is congruent, the versions 3 never use the word for colour 4 or the digit 4.
TEST(SequenceTest, BalancedAndFreeOfCongruentPicturesForEveryExerciseAndRoundCount) {
    SeedRandom(2024);
    for (const Exercise& exercise : ExerciseCatalogue()) {
        const StimulusTable table = TableOf(exercise.kind, exercise.version);
        for (int rounds = 4; rounds <= kMaxRounds; rounds += 4) {
            SCOPED_TRACE(testing::Message() << "kind " << exercise.kind << " version "
                                            << exercise.version << " rounds " << rounds);
            RoundSequence sequence;
            sequence.fill(-1);
            ASSERT_TRUE(
                BuildRoundSequence(sequence, Settings(exercise.kind, exercise.version, rounds)));
            std::array<int, 5> perValue{};
            for (int p = 0; p < rounds; ++p) {
                const int picture = sequence[p];
                ASSERT_GE(picture, exercise.firstPicture);
                ASSERT_LE(picture, exercise.lastPicture);
                ASSERT_FALSE(IsCongruentPicture(picture)) << picture;
                if (exercise.version == 3 && exercise.kind == kColourExercise) {
                    ASSERT_TRUE(picture < 24) << picture; // 24..27: the word for colour 4
                }
                if (exercise.version == 3 && exercise.kind == kNumberExercise) {
                    ASSERT_TRUE(picture < 76) << picture; // 76..87: the digit 4
                }
                if (exercise.version <= 2) {
                    ASSERT_EQ(table[picture].distractor, table[picture].relevant);
                } else {
                    ASSERT_NE(table[picture].distractor, table[picture].relevant);
                }
                ++perValue[table[picture].relevant];
            }
            for (int value = 1; value <= 4; ++value) {
                EXPECT_EQ(perValue[value], rounds / 4) << "value " << value;
            }
            for (int p = rounds; p < kMaxRounds; ++p) {
                ASSERT_EQ(sequence[p], 0);
            }
        }
    }
}

// The shuffle is "swap position i with any position", i from the first to the last: with
// colour version 1 the draw itself uses no random numbers, so the shuffle alone decides.
TEST(SequenceTest, ShuffleSwapsEachPositionWithARandomPositionOfTheWholeRun) {
    for (uint64_t seed : {1u, 77u, 4096u}) {
        SeedRandom(seed);
        RoundSequence sequence;
        BuildRoundSequence(sequence, Settings(1, 1, 12));

        SeedRandom(seed);
        std::vector<int> expected{0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3};
        for (int i = 0; i < 12; ++i) {
            std::swap(expected[i], expected[RandomBelow(12)]);
        }
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), sequence.begin()))
            << "seed " << seed;
    }
}

// Number version 3 draws the arrangement first and the digit second.
TEST(SequenceTest, NumberVersion3DrawsArrangementThenDigit) {
    SeedRandom(99);
    RoundSequence sequence;
    BuildRoundSequence(sequence, Settings(2, 3, 4));

    SeedRandom(99);
    std::vector<int> expected;
    for (int counter = 0; counter < 4; ++counter) {
        int picture = 0;
        do {
            const int arrangement = RandomBelow(3);
            const int digitIndex = RandomBelow(3);
            picture = 40 + 3 * counter + arrangement + 12 * digitIndex;
        } while (IsCongruentPicture(picture));
        expected.push_back(picture);
    }
    for (int i = 0; i < 4; ++i) {
        std::swap(expected[i], expected[RandomBelow(4)]);
    }
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), sequence.begin()));
}

TEST(SequenceTest, UnknownExerciseGivesNoSequenceAndCountsAreKeptInTheList) {
    RoundSequence sequence;
    sequence.fill(9);
    EXPECT_FALSE(BuildRoundSequence(sequence, Settings(3, 1, 20)));
    EXPECT_FALSE(BuildRoundSequence(sequence, Settings(1, 5, 20)));
    EXPECT_TRUE(std::all_of(sequence.begin(), sequence.end(), [](int p) { return p == 0; }));

    // A round count beyond the list fills the list and no more.
    SeedRandom(3);
    EXPECT_TRUE(BuildRoundSequence(sequence, Settings(1, 4, 400)));
    std::array<int, 5> perValue{};
    const StimulusTable table = TableOf(1, 4);
    for (int picture : sequence) {
        ++perValue[table[picture].relevant];
    }
    EXPECT_EQ(perValue, (std::array<int, 5>{0, 50, 50, 50, 50}));
}

// Distractors, arrangements and pictures over many runs with a fixed seed; the tolerance of
// ±15 % of the expected share keeps the checks stable for any seed.
TEST(SequenceTest, DistractorArrangementAndPictureDistributions) {
    SeedRandom(12345);
    constexpr int kRuns = 150;
    for (const Exercise& exercise : ExerciseCatalogue()) {
        if (exercise.version == 1) {
            continue;
        }
        SCOPED_TRACE(testing::Message()
                     << "kind " << exercise.kind << " version " << exercise.version);
        const StimulusTable table = TableOf(exercise.kind, exercise.version);
        std::map<std::pair<int, int>, int> pairs; // (relevant, distractor)
        std::array<int, 3> arrangements{};
        std::set<int> pictures;
        for (int run = 0; run < kRuns; ++run) {
            RoundSequence sequence;
            BuildRoundSequence(sequence, Settings(exercise.kind, exercise.version, 200));
            for (int p = 0; p < 200; ++p) {
                const int picture = sequence[p];
                pictures.insert(picture);
                ++pairs[{table[picture].relevant, table[picture].distractor}];
                if (exercise.kind == kNumberExercise) {
                    ++arrangements[(picture - (exercise.version == 2 ? 28 : 40)) % 3];
                }
            }
        }
        const double perValue = kRuns * 200 / 4.0;
        if (exercise.version >= 3) {
            for (int relevant = 1; relevant <= 4; ++relevant) {
                for (int distractor = 1; distractor <= 4; ++distractor) {
                    double share = 0.0;
                    if (distractor != relevant) {
                        if (exercise.version == 4) {
                            share = 1.0 / 3;
                        } else if (distractor != 4) {
                            share = relevant == 4 ? 1.0 / 3 : 1.0 / 2;
                        }
                    }
                    const int count = pairs[{relevant, distractor}];
                    EXPECT_NEAR(count, share * perValue, 0.15 * share * perValue + 0.5)
                        << relevant << "/" << distractor;
                }
            }
        }
        if (exercise.kind == kNumberExercise) {
            for (int count : arrangements) {
                EXPECT_NEAR(count, kRuns * 200 / 3.0, 0.15 * kRuns * 200 / 3.0);
            }
        }
        const int incongruent =
            exercise.lastPicture - exercise.firstPicture + 1 -
            static_cast<int>(
                std::count_if(CongruentPictures.begin(), CongruentPictures.end(), [&](int c) {
                    return c >= exercise.firstPicture && c <= exercise.lastPicture;
                }));
        if (exercise.version == 3) {
            // Colour: 12 incongruent pictures minus the three of word 4; number: 36 minus 9.
            EXPECT_EQ(static_cast<int>(pictures.size()), exercise.kind == kColourExercise ? 9 : 27);
        } else {
            EXPECT_EQ(static_cast<int>(pictures.size()), incongruent);
        }
    }
}

TEST(TargetTest, FixedPositionsHoldValuesOneToFourInTheirPlaces) {
    for (int kind = 1; kind <= 2; ++kind) {
        const TargetSlots slots = SetUpTargets(kind, 2);
        EXPECT_EQ(slots[0].value, 0);
        for (int slot = 1; slot <= 4; ++slot) {
            EXPECT_EQ(slots[slot].value, slot);
            EXPECT_EQ(slots[slot].picture, kind == 1 ? slot - 1 : slot + 3);
            EXPECT_EQ(CorrectSlot(slots, slot), slot);
        }
    }
    EXPECT_EQ(CorrectSlot(SetUpTargets(1, 2), 0), 0);
}

TEST(TargetTest, VariablePositionsAreAlwaysFourDifferentValuesAndReachEveryOrder) {
    SeedRandom(8);
    for (int kind = 1; kind <= 2; ++kind) {
        std::set<std::array<int, 4>> orders;
        for (int round = 0; round < 2000; ++round) {
            const TargetSlots slots = SetUpTargets(kind, 1);
            EXPECT_EQ(slots[0].value, 0);
            std::array<int, 4> order{};
            for (int slot = 1; slot <= 4; ++slot) {
                order[slot - 1] = slots[slot].value;
                EXPECT_EQ(slots[slot].picture, TargetPicture(kind, slots[slot].value));
                EXPECT_EQ(CorrectSlot(slots, slots[slot].value), slot);
            }
            std::array<int, 4> sorted = order;
            std::sort(sorted.begin(), sorted.end());
            ASSERT_EQ(sorted, (std::array<int, 4>{1, 2, 3, 4}));
            orders.insert(order);
        }
        EXPECT_EQ(orders.size(), 24u);
    }
}

// Four swaps of the top slot with a random slot, starting from the fixed order every time.
TEST(TargetTest, ShuffleSwapsTheTopSlotFourTimes) {
    for (uint64_t seed : {2u, 31u, 500u}) {
        SeedRandom(seed);
        const TargetSlots shuffled = SetUpTargets(2, 1);
        SeedRandom(seed);
        std::array<int, 5> expected{0, 1, 2, 3, 4};
        for (int step = 0; step < 4; ++step) {
            std::swap(expected[1], expected[RandomBelow(4) + 1]);
        }
        for (int slot = 0; slot <= 4; ++slot) {
            EXPECT_EQ(shuffled[slot].value, expected[slot]) << "seed " << seed;
        }
    }
}

} // namespace
} // namespace quendal
