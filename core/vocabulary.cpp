#include "core/vocabulary.h"

namespace quendal {

ExerciseVocabulary ExerciseVocabulary::german() {
    return {
        {"", "Farbe", "Wort", "Zahl", "Anzahl"},
        {"", "Version 1", "Version 2", "Version 3", "Version 4"},
        {"", "Version 1", "Version 2", "Version 3", "Version 4"},
        {"", "Blau", "Gelb", "Grün", "Rot"},
        {"", "Eins", "Zwei", "Drei", "Vier"},
    };
}

ExerciseVocabulary ExerciseVocabulary::english() {
    return {
        {"", "color", "word", "digit", "number"},
        {"", "version 1", "version 2", "version 3", "version 4"},
        {"", "version 1", "version 2", "version 3", "version 4"},
        {"", "blue", "yellow", "green", "red"},
        {"", "one", "two", "three", "four"},
    };
}

ExerciseVocabulary ExerciseVocabulary::forLanguage(int uiLanguage) {
    return uiLanguage == 1 ? german() : english();
}

} // namespace quendal
