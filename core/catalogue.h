#pragma once
// The eight exercises: two kinds (colour, number) in four versions each, the pictures their
// stimuli come from, what every picture means, and the table of relevant and distractor
// values that a run looks its stimuli up in.

#include "core/program_state.h"
#include "core/vocabulary.h"

#include <array>
#include <cstdint>
#include <string>

namespace quendal {

constexpr int32_t kColourExercise = 1;
constexpr int32_t kNumberExercise = 2;

constexpr int32_t kStimulusPictureCount = 88; // exercise pictures 0..87
constexpr int32_t kBackgroundPicture = 88;    // the background of the play field

// Picture indices of the exercise pictures; every value is 1..4, arrangement 0..2.
constexpr int32_t ColourPatchPicture(int32_t colour) {
    return colour - 1;
}
constexpr int32_t DigitPicture(int32_t digit) {
    return digit + 3;
}
constexpr int32_t ColourWordPicture(int32_t colour) {
    return colour + 7;
}
// The word for colour `word` printed in colour `ink`.
constexpr int32_t InkWordPicture(int32_t word, int32_t ink) {
    return 12 + 4 * (word - 1) + (ink - 1);
}
constexpr int32_t DotGroupPicture(int32_t count, int32_t arrangement) {
    return 28 + 3 * (count - 1) + arrangement;
}
// `count` copies of `digit`.
constexpr int32_t DigitGroupPicture(int32_t digit, int32_t count, int32_t arrangement) {
    return 40 + 12 * (digit - 1) + 3 * (count - 1) + arrangement;
}
// The target of a value: a colour patch in the colour exercise, a digit in the number one.
constexpr int32_t TargetPicture(int32_t kind, int32_t value) {
    return kind == kColourExercise ? ColourPatchPicture(value) : DigitPicture(value);
}

// The pictures whose two attributes agree; no round ever shows one of them.
constexpr std::array<int32_t, 16> CongruentPictures{12, 17, 22, 27, 40, 41, 42, 55,
                                                    56, 57, 70, 71, 72, 85, 86, 87};
bool IsCongruentPicture(int32_t picture);

struct Exercise {
    int32_t kind = 0;
    int32_t version = 0;
    // The stimuli come from firstPicture..lastPicture without the congruent pictures.
    int32_t firstPicture = 0;
    int32_t lastPicture = 0;
    // The entry of PlayKindNames that the play label of the run screen shows.
    int32_t playKindWord = 0;
};

// Colour versions 1..4, then number versions 1..4.
const std::array<Exercise, 8>& ExerciseCatalogue();
// The exercise of a kind and version, or nullptr when there is none.
const Exercise* FindExercise(int32_t kind, int32_t version);
// The word of the play label of an exercise; empty for an unknown one.
std::string PlayLabelText(int32_t kind, int32_t version, const ExerciseVocabulary& vocabulary);

// Writes the relevant and distractor values of the exercise's pictures; entries of the other
// exercises keep what they hold. An unknown exercise writes nothing.
void FillStimulusTable(StimulusTable& table, int32_t kind, int32_t version);
// The same on the program-wide table.
void FillStimulusTable(int32_t kind, int32_t version);

} // namespace quendal
