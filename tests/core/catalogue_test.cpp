#include "core/catalogue.h"
#include "core/cp1252.h"
#include "core/program_state.h"
#include "core/run_engine.h"

#include <gtest/gtest.h>
#include <utility>

namespace quendal {
namespace {

// The two values a picture carries, read off the picture table by division: {first, second}
// is {word, ink} for 12..27 and {digit, count} for 40..87.
std::pair<int, int> InkWordAttributes(int picture) {
    return {(picture - 12) / 4 + 1, (picture - 12) % 4 + 1};
}
std::pair<int, int> DigitGroupAttributes(int picture) {
    return {(picture - 40) / 12 + 1, (picture - 40) % 12 / 3 + 1};
}

TEST(CatalogueTest, EightExercisesWithTheirPicturesAndPlayLabels) {
    struct Expected {
        int kind, version, first, last;
        const char* german;
        const char* english;
    };
    const Expected expected[] = {
        {1, 1, 0, 3, "Farbe", "color"},     {1, 2, 8, 11, "Wort", "word"},
        {1, 3, 12, 27, "Farbe", "color"},   {1, 4, 12, 27, "Wort", "word"},
        {2, 1, 4, 7, "Zahl", "digit"},      {2, 2, 28, 39, "Anzahl", "number"},
        {2, 3, 40, 87, "Anzahl", "number"}, {2, 4, 40, 87, "Zahl", "digit"},
    };
    ASSERT_EQ(ExerciseCatalogue().size(), std::size(expected));
    for (const Expected& e : expected) {
        SCOPED_TRACE(testing::Message() << "kind " << e.kind << " version " << e.version);
        const Exercise* exercise = FindExercise(e.kind, e.version);
        ASSERT_NE(exercise, nullptr);
        EXPECT_EQ(exercise->firstPicture, e.first);
        EXPECT_EQ(exercise->lastPicture, e.last);
        EXPECT_EQ(PlayLabelText(e.kind, e.version, ExerciseVocabulary::german()), e.german);
        EXPECT_EQ(PlayLabelText(e.kind, e.version, ExerciseVocabulary::english()), e.english);
    }
    EXPECT_EQ(FindExercise(0, 1), nullptr);
    EXPECT_EQ(FindExercise(3, 1), nullptr);
    EXPECT_EQ(FindExercise(1, 0), nullptr);
    EXPECT_EQ(FindExercise(2, 5), nullptr);
    EXPECT_EQ(PlayLabelText(1, 5, ExerciseVocabulary::german()), "");
}

TEST(CatalogueTest, CongruentPicturesAreExactlyThoseWhoseTwoAttributesAgree) {
    int congruent = 0;
    for (int picture = 0; picture <= 88; ++picture) {
        bool agree = false;
        if (picture >= 12 && picture <= 27) {
            const auto [word, ink] = InkWordAttributes(picture);
            agree = word == ink;
        } else if (picture >= 40 && picture <= 87) {
            const auto [digit, count] = DigitGroupAttributes(picture);
            agree = digit == count;
        }
        EXPECT_EQ(IsCongruentPicture(picture), agree) << "picture " << picture;
        congruent += agree ? 1 : 0;
    }
    EXPECT_EQ(congruent, 16);
    EXPECT_FALSE(IsCongruentPicture(-1));
}

// Every picture of the exercise gets its (relevant, distractor) values, read off the picture
// table; every other entry keeps what it held.
TEST(CatalogueTest, FillStimulusTableWritesOnlyTheExercisesOwnPictures) {
    constexpr StimulusEntry kUntouched{-7, -9};
    for (const Exercise& exercise : ExerciseCatalogue()) {
        SCOPED_TRACE(testing::Message()
                     << "kind " << exercise.kind << " version " << exercise.version);
        StimulusTable table;
        table.fill(kUntouched);
        FillStimulusTable(table, exercise.kind, exercise.version);
        for (int picture = 0; picture < kStimulusPictureCount; ++picture) {
            const StimulusEntry& entry = table[picture];
            if (picture < exercise.firstPicture || picture > exercise.lastPicture) {
                EXPECT_EQ(entry.relevant, kUntouched.relevant) << picture;
                EXPECT_EQ(entry.distractor, kUntouched.distractor) << picture;
                continue;
            }
            std::pair<int, int> expected;
            const int k = exercise.kind * 10 + exercise.version;
            switch (k) {
            case 11:
                expected = {picture + 1, picture + 1};
                break;
            case 12:
                expected = {picture - 7, picture - 7};
                break;
            case 13: // ink relevant, word distractor
            {
                const auto [word, ink] = InkWordAttributes(picture);
                expected = {ink, word};
                break;
            }
            case 14: {
                const auto [word, ink] = InkWordAttributes(picture);
                expected = {word, ink};
                break;
            }
            case 21:
                expected = {picture - 3, picture - 3};
                break;
            case 22:
                expected = {(picture - 28) / 3 + 1, (picture - 28) / 3 + 1};
                break;
            case 23: { // count relevant, digit distractor
                const auto [digit, count] = DigitGroupAttributes(picture);
                expected = {count, digit};
                break;
            }
            default: {
                const auto [digit, count] = DigitGroupAttributes(picture);
                expected = {digit, count};
                break;
            }
            }
            EXPECT_EQ(entry.relevant, expected.first) << picture;
            EXPECT_EQ(entry.distractor, expected.second) << picture;
        }
    }
}

TEST(CatalogueTest, FillStimulusTableExamplesAndUnknownExercises) {
    programState().reset();
    FillStimulusTable(1, 3);
    EXPECT_EQ(programState().stimulusTable[13].relevant, 2);
    EXPECT_EQ(programState().stimulusTable[13].distractor, 1);
    FillStimulusTable(1, 4);
    EXPECT_EQ(programState().stimulusTable[13].relevant, 1);
    EXPECT_EQ(programState().stimulusTable[13].distractor, 2);
    FillStimulusTable(2, 3);
    EXPECT_EQ(programState().stimulusTable[46].relevant, 3);
    EXPECT_EQ(programState().stimulusTable[46].distractor, 1);

    StimulusTable table;
    table.fill({5, 5});
    for (const auto& [kind, version] : {std::pair{1, 0}, {1, 5}, {2, -1}, {0, 1}, {3, 2}}) {
        FillStimulusTable(table, kind, version);
    }
    for (const StimulusEntry& entry : table) {
        EXPECT_EQ(entry.relevant, 5);
        EXPECT_EQ(entry.distractor, 5);
    }
    programState().reset();
}

class RunHeaderTest : public testing::Test {
  protected:
    void SetUp() override {
        programState().reset();
        programState().LocalClock = [] { return LocalDateTime{2026, 3, 7, 9, 5}; };
    }
    void TearDown() override { programState().reset(); }

    // FinishRun as at the end of a run of `rounds` rounds.
    static const ResultRecord& Finish(int kind, int version, int frameMode, int rounds) {
        RunSettings& settings = programState().runSettings;
        settings.kind = kind;
        settings.version = version;
        settings.frameMode = frameMode;
        settings.roundCount = rounds;
        settings.currentRound = rounds + 1;
        FinishRun();
        return programState().current;
    }
    static void UseLanguage(int language) {
        programState().UiLanguage = language;
        programState().vocabulary = ExerciseVocabulary::forLanguage(language);
    }
};

TEST_F(RunHeaderTest, NumberVersion4VariableInEnglish) {
    UseLanguage(2);
    programState().current.header[kInfo4] = "left over";
    programState().current.header[kInfo5] = "left over";
    programState().RunUnsaved = false;
    const ResultRecord& record = Finish(2, 4, 1, 20);
    EXPECT_EQ(record.header[kPrname], "V a r o n");
    EXPECT_EQ(record.header[kSvdate], "07.03.2026");
    EXPECT_EQ(record.header[kSvtime], "09.05");
    EXPECT_EQ(record.header[kPrtkey], "V-241");
    EXPECT_EQ(record.header[kInfo1], "digit/number");
    EXPECT_EQ(record.header[kInfo2], "version 4");
    EXPECT_EQ(record.header[kInfo3], "variable frame");
    EXPECT_EQ(record.header[kInfo4], "");
    EXPECT_EQ(record.header[kInfo5], "");
    EXPECT_EQ(record.roundCount, 20);
    EXPECT_EQ(programState().runSettings.currentRound, 20);
    EXPECT_TRUE(programState().RunUnsaved);

    EXPECT_EQ(Finish(1, 2, 2, 8).header[kInfo3], "steady frame");
    EXPECT_EQ(programState().current.header[kInfo1], "color/word");
}

TEST_F(RunHeaderTest, ColourExerciseInGerman) {
    UseLanguage(1);
    programState().LocalClock = [] { return LocalDateTime{2027, 12, 31, 23, 59}; };
    const ResultRecord& record = Finish(1, 3, 2, 40);
    EXPECT_EQ(record.header[kPrtkey], "V-132");
    EXPECT_EQ(record.header[kSvdate], "31.12.2027");
    EXPECT_EQ(record.header[kSvtime], "23.59");
    EXPECT_EQ(record.header[kInfo1], "Farbe/Wort");
    EXPECT_EQ(record.header[kInfo2], "Version 3");
    EXPECT_EQ(record.header[kInfo3], "Fester Rahmen");
    EXPECT_EQ(record.roundCount, 40);
    EXPECT_EQ(Finish(1, 3, 1, 40).header[kInfo3], "Variabler Rahmen");
    EXPECT_EQ(Finish(2, 1, 1, 4).header[kInfo1], "Zahl/Anzahl");
}

TEST_F(RunHeaderTest, EveryHeaderTextFitsTwentySingleByteCharacters) {
    for (int language = 1; language <= 2; ++language) {
        UseLanguage(language);
        for (const Exercise& exercise : ExerciseCatalogue()) {
            for (int frameMode = 1; frameMode <= 2; ++frameMode) {
                const ResultRecord& record =
                    Finish(exercise.kind, exercise.version, frameMode, 200);
                for (const std::string& text : record.header) {
                    EXPECT_TRUE(cp1252::representable(text)) << text;
                    EXPECT_LE(cp1252::length(text), kHeaderTextMax) << text;
                }
                EXPECT_EQ(record.roundCount, 200);
            }
        }
    }
}

TEST_F(RunHeaderTest, TheSystemClockGivesAPlausibleDate) {
    programState().LocalClock = nullptr;
    const ResultRecord& record = Finish(1, 1, 2, 4);
    ASSERT_EQ(record.header[kSvdate].size(), 10u);
    EXPECT_EQ(record.header[kSvdate][2], '.');
    EXPECT_EQ(record.header[kSvdate][5], '.');
    ASSERT_EQ(record.header[kSvtime].size(), 5u);
    EXPECT_EQ(record.header[kSvtime][2], '.');
}

} // namespace
} // namespace quendal
