#pragma once
// The twenty exercise words of one interface language, in five lists indexed 1..4 by value.

#include <array>
#include <string>

namespace quendal {

struct ExerciseVocabulary {
    using List = std::array<std::string, 5>; // [0] unused, [1..4] by value
    List playKindNames;
    List colourVersionNames;
    List numberVersionNames;
    List colourNames;
    List numberNames;

    static ExerciseVocabulary german();
    static ExerciseVocabulary english();
    // German for language 1, English for anything else.
    static ExerciseVocabulary forLanguage(int uiLanguage);

    friend bool operator==(const ExerciseVocabulary&, const ExerciseVocabulary&) = default;
};

} // namespace quendal
