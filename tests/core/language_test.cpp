#include "core/language.h"
#include "core/program_state.h"
#include "scratch_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quendal;
using quendal::testing::ScratchFolder;

TEST(LanguageLine, EnglishInAnyCaseOrAsAPart) {
    for (const char* line :
         {"english", "ENGLISH", "EnGlIsH", "englisch", "  eng  ", "\teng\r", "Sprache: Englisch"}) {
        EXPECT_EQ(languageOfLine(line), 2) << line;
    }
}

TEST(LanguageLine, GermanForDeutschShortLinesAndOtherLanguages) {
    for (const char* line : {"deutsch", "Deutsch", "", "en", "  en  ", "francais", "e n g"}) {
        EXPECT_EQ(languageOfLine(line), 1) << line;
    }
}

TEST(LanguageLine, OnlyTheFirstLineCounts) {
    EXPECT_EQ(firstLine("deutsch\neng\n"), "deutsch");
    EXPECT_EQ(firstLine("english\r\n"), "english");
    EXPECT_EQ(firstLine("\nenglish"), "");
}

namespace {

class LanguageFile : public ::testing::Test {
  protected:
    void SetUp() override {
        programState().reset();
        programState().ProgramFolder = scratch.folder();
    }
    void TearDown() override { programState().reset(); }

    int languageOf(const std::string& content, const std::string& folder = "DATA") {
        std::filesystem::create_directories(scratch.file(folder));
        scratch.write(folder + "/sprache.dat", content);
        programState().UiLanguage = 1;
        ReadLanguageFile();
        return programState().UiLanguage;
    }

    ScratchFolder scratch;
};

} // namespace

TEST_F(LanguageFile, ReadsTheFirstLineOfTheFile) {
    EXPECT_EQ(languageOf("english\n"), 2);
    EXPECT_EQ(languageOf("deutsch\nenglish\n"), 1);
    EXPECT_EQ(languageOf("\neng\n"), 1); // eng on the second line only
    EXPECT_EQ(languageOf("\xEF\xBB\xBF"
                         "English\r\n"),
              2);
}

TEST_F(LanguageFile, MissingFileMeansGerman) {
    ReadLanguageFile();
    EXPECT_EQ(programState().UiLanguage, 1);
}

TEST_F(LanguageFile, FolderAndFileNamesInAnyLetterCase) {
    EXPECT_EQ(languageOf("english", "data"), 2);
    std::filesystem::remove_all(scratch.file("data"));
    std::filesystem::create_directories(scratch.file("Data"));
    scratch.write("Data/SPRACHE.DAT", "english");
    programState().UiLanguage = 1;
    ReadLanguageFile();
    EXPECT_EQ(programState().UiLanguage, 2);
}

TEST_F(LanguageFile, ExerciseTextsFollowTheLanguage) {
    programState().UiLanguage = 2;
    BuildExerciseTexts();
    EXPECT_EQ(programState().vocabulary, ExerciseVocabulary::english());
    programState().UiLanguage = 1;
    BuildExerciseTexts();
    EXPECT_EQ(programState().vocabulary, ExerciseVocabulary::german());
}

TEST(LanguageFiles, NamesPerLanguage) {
    EXPECT_EQ(languageFiles(1).helpText, "hilfe.rtf");
    EXPECT_EQ(languageFiles(2).helpText, "ehilfe.rtf");
    EXPECT_EQ(languageFiles(2).schemeBitmapList, "escheme.bml");
    EXPECT_EQ(languageFiles(1).mainBitmapList, "haupt.bml");
}
