#include "core/catalogue.h"

#include <algorithm>

namespace quendal {

bool IsCongruentPicture(int32_t picture) {
    return std::find(CongruentPictures.begin(), CongruentPictures.end(), picture) !=
           CongruentPictures.end();
}

const std::array<Exercise, 8>& ExerciseCatalogue() {
    static const std::array<Exercise, 8> catalogue{{
        {kColourExercise, 1, 0, 3, 1},
        {kColourExercise, 2, 8, 11, 2},
        {kColourExercise, 3, 12, 27, 1},
        {kColourExercise, 4, 12, 27, 2},
        {kNumberExercise, 1, 4, 7, 3},
        {kNumberExercise, 2, 28, 39, 4},
        {kNumberExercise, 3, 40, 87, 4},
        {kNumberExercise, 4, 40, 87, 3},
    }};
    return catalogue;
}

const Exercise* FindExercise(int32_t kind, int32_t version) {
    for (const Exercise& exercise : ExerciseCatalogue()) {
        if (exercise.kind == kind && exercise.version == version) {
            return &exercise;
        }
    }
    return nullptr;
}

std::string PlayLabelText(int32_t kind, int32_t version, const ExerciseVocabulary& vocabulary) {
    const Exercise* exercise = FindExercise(kind, version);
    return exercise ? vocabulary.playKindNames[exercise->playKindWord] : std::string();
}

void FillStimulusTable(StimulusTable& table, int32_t kind, int32_t version) {
    if (!FindExercise(kind, version)) {
        return;
    }
    if (kind == kColourExercise) {
        for (int32_t value = 1; value <= 4; ++value) {
            if (version == 1) {
                table[ColourPatchPicture(value)] = {value, value};
            } else if (version == 2) {
                table[ColourWordPicture(value)] = {value, value};
            }
        }
        if (version >= 3) {
            for (int32_t word = 1; word <= 4; ++word) {
                for (int32_t ink = 1; ink <= 4; ++ink) {
                    // Version 3 asks for the ink, version 4 for the word.
                    table[InkWordPicture(word, ink)] =
                        version == 3 ? StimulusEntry{ink, word} : StimulusEntry{word, ink};
                }
            }
        }
        return;
    }
    if (version == 1) {
        for (int32_t value = 1; value <= 4; ++value) {
            table[DigitPicture(value)] = {value, value};
        }
        return;
    }
    if (version == 2) {
        for (int32_t count = 1; count <= 4; ++count) {
            for (int32_t arrangement = 0; arrangement <= 2; ++arrangement) {
                table[DotGroupPicture(count, arrangement)] = {count, count};
            }
        }
        return;
    }
    for (int32_t digit = 1; digit <= 4; ++digit) {
        for (int32_t count = 1; count <= 4; ++count) {
            for (int32_t arrangement = 0; arrangement <= 2; ++arrangement) {
                // Version 3 asks for the count, version 4 for the digit.
                table[DigitGroupPicture(digit, count, arrangement)] =
                    version == 3 ? StimulusEntry{count, digit} : StimulusEntry{digit, count};
            }
        }
    }
}

void FillStimulusTable(int32_t kind, int32_t version) {
    FillStimulusTable(programState().stimulusTable, kind, version);
}

} // namespace quendal
