// What the second thread prepares is what the start then reads: the splash picture and both
// bitmap lists are taken from it, and a list it could not read fails as the start's own
// reading fails.

#include "core/language.h"
#include "core/program_state.h"
#include "frame/daten.h"
#include "shell/start_ahead.h"
#include "shell/startup.h"
#include "shell_fixture.h"

#include <filesystem>

using namespace quendal;
using quendal::testing::ScratchFolder;
using quendal::testing::ShellTest;

namespace {

namespace fs = std::filesystem;

// A program folder of its own, English, with the build's splash and the lists of 1024 x 768.
void makeEnglishProgram(const ScratchFolder& program, bool withScheme) {
    const fs::path from(QUENDAL_DATA_OUT);
    const fs::path data = fs::path(program.folder()) / "DATA";
    fs::create_directories(data / "1024");
    fs::copy_file(from / "splash.bmp", data / "splash.bmp");
    fs::copy_file(from / "1024" / "ehaupt.bml", data / "1024" / "ehaupt.bml");
    if (withScheme) {
        fs::copy_file(from / "1024" / "escheme.bml", data / "1024" / "escheme.bml");
    }
    program.write("DATA/sprache.dat", "english\n");
}

// The lists loaded as the start loads them, from the second thread's work when `ahead` is
// given; how many lists it handed over go to `taken`.
bool loadLists(const std::string& programFolder, StartAhead* ahead, int& taken, QString& error) {
    ProgramState& state = programState();
    state.ProgramFolder = programFolder;
    state.PlayWidth = 1024;
    ReadLanguageFile();
    taken = 0;
    if (ahead != nullptr) {
        TDaten::setListSource([ahead, &taken](const QString& path) {
            std::optional<TDaten::ListRead> read = ahead->list(path);
            taken += read ? 1 : 0;
            return read;
        });
    }
    TDaten daten;
    const bool loaded = daten.LoadBitmapLists(&error);
    TDaten::setListSource({});
    return loaded && daten.SchemeBMPliste.count() >= TDaten::kSchemeEntries;
}

} // namespace

TEST_F(ShellTest, TheStartTakesTheSplashAndTheListsPreparedAheadForIt) {
    // Beside the test program, as beside the program: the build's German lists and splash.
    StartAhead ahead;
    ahead.prepare(
        StartAhead::planFor(QCoreApplication::applicationDirPath().toStdString(), {"win"}, 1.0));
    TIntroForm splash;
    int pictures = 0;
    splash.setPictureSource([&ahead, &pictures](const QString& path, double ratio) {
        QImage picture = ahead.splash(path, ratio);
        pictures += picture.isNull() ? 0 : 1;
        return picture;
    });
    splash.show();
    EXPECT_EQ(pictures, 1);
    EXPECT_EQ(splash.size(), QSize(515, 302));
    int taken = 0;
    QString error;
    EXPECT_TRUE(loadLists(quendal::testing::buildProgramFolder(), &ahead, taken, error))
        << error.toStdString();
    EXPECT_EQ(programState().UiLanguage, 1);
    EXPECT_EQ(taken, 2) << "both German lists were read ahead";

    // The language file chooses the lists to read ahead, as it chooses those the start reads.
    ScratchFolder program;
    makeEnglishProgram(program, true);
    StartAhead english;
    english.prepare(StartAhead::planFor(program.folder(), {"win"}, 1.0));
    EXPECT_TRUE(loadLists(program.folder(), &english, taken, error)) << error.toStdString();
    EXPECT_EQ(programState().UiLanguage, 2);
    EXPECT_EQ(taken, 2) << "both English lists were read ahead";
    // A play field that waits for the screen is not guessed at.
    EXPECT_TRUE(StartAhead::planFor(program.folder(), {"debug", "800", "600"}, 1.0).lists.empty());
}

TEST_F(ShellTest, AListTheSecondThreadCouldNotReadFailsAsTheStartsOwnReadingFails) {
    ScratchFolder program;
    makeEnglishProgram(program, false);
    int taken = 0;
    QString alone;
    EXPECT_FALSE(loadLists(program.folder(), nullptr, taken, alone));
    StartAhead ahead;
    ahead.prepare(StartAhead::planFor(program.folder(), {"win"}, 1.0));
    QString withAhead;
    EXPECT_FALSE(loadLists(program.folder(), &ahead, taken, withAhead));
    EXPECT_EQ(taken, 2);
    EXPECT_EQ(withAhead, alone);
    EXPECT_TRUE(alone.contains(QStringLiteral("escheme.bml"))) << alone.toStdString();
}
