#pragma once
// The interface language: read once from "sprache.dat" beside the program, and the files
// and exercise words that follow from it.

#include <string>
#include <string_view>

namespace quendal {

inline constexpr const char* kLanguageFileName = "sprache.dat";

// The language a first line selects: fewer than three characters after lower-casing the
// letters A to Z and trimming blanks and control characters: German (1); containing "eng":
// English (2); anything else keeps current.
int languageOfLine(std::string_view firstLine, int current = 1);

// The first line of a text, up to the first CR or LF.
std::string firstLine(std::string_view text);

// The language the first line of programFolder + "DATA/sprache.dat" selects (languageOfLine);
// a missing or unreadable file, or no program folder, counts as an empty line.
int languageInFolder(const std::string& programFolder, int current);

// ReadLanguageFile: programState().UiLanguage from the language file beside the program
// (languageInFolder of ProgramFolder).
void ReadLanguageFile();

// BuildExerciseTexts: installs the exercise words of UiLanguage in programState().vocabulary.
void BuildExerciseTexts();

// The files that exist once per language.
struct LanguageFiles {
    std::string mainBitmapList;   // "haupt.bml" / "ehaupt.bml"
    std::string schemeBitmapList; // "scheme.bml" / "escheme.bml"
    std::string helpText;         // "hilfe.rtf" / "ehilfe.rtf"
};
LanguageFiles languageFiles(int uiLanguage);

} // namespace quendal
