#include "core/language.h"

#include "core/folders.h"
#include "core/program_state.h"
#include "core/safe_file.h"
#include "core/text_trim.h"
#include "core/vocabulary.h"

#include <optional>

namespace quendal {

std::string firstLine(std::string_view text) {
    const auto end = text.find_first_of("\r\n");
    return std::string(text.substr(0, end));
}

int languageOfLine(std::string_view line, int current) {
    std::string s(line);
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    s = std::string(trimBlanks(s));
    if (s.size() < 3) {
        return 1;
    }
    if (s.find("eng") != std::string::npos) {
        return 2;
    }
    return current;
}

int languageInFolder(const std::string& programFolder, int current) {
    // The first line of a language file is a single word; 4 KiB hold it many times over.
    constexpr std::size_t kEnough = 4096;
    std::optional<std::string> text;
    if (!programFolder.empty()) {
        text = readFileStart(resolveNoCase(programDataFolder(programFolder), kLanguageFileName),
                             kEnough);
    }
    return languageOfLine(firstLine(text.value_or(std::string())), current);
}

void ReadLanguageFile() {
    auto& state = programState();
    state.UiLanguage = languageInFolder(state.ProgramFolder, state.UiLanguage);
}

void BuildExerciseTexts() {
    auto& state = programState();
    state.vocabulary = ExerciseVocabulary::forLanguage(state.UiLanguage);
}

LanguageFiles languageFiles(int uiLanguage) {
    if (uiLanguage == 2) {
        return {"ehaupt.bml", "escheme.bml", "ehilfe.rtf"};
    }
    return {"haupt.bml", "scheme.bml", "hilfe.rtf"};
}

} // namespace quendal
