#include "core/options_file.h"
#include "shell/haupt.h"
#include "shell/startup.h"
#include "shell_fixture.h"

#include <QGuiApplication>
#include <QScreen>
#include <chrono>
#include <filesystem>

using namespace quendal;
using quendal::testing::ShellTest;

namespace {

namespace fs = std::filesystem;

// FormCreate with $QUENDAL_DATA_DIR pointing into the test's scratch folder.
class FormCreateTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        programState().ProgramFolder.clear();
        programState().DataFolder.clear();
        qputenv("QUENDAL_DATA_DIR", QByteArray::fromStdString(data.folder() + "home"));
    }
    void TearDown() override {
        qunsetenv("QUENDAL_DATA_DIR");
        ShellTest::TearDown();
    }

    std::optional<StartupFailure> create(const std::vector<std::string>& args,
                                         const std::string& executableFolder) {
        return FormCreate(haupt, args, executableFolder);
    }
    std::optional<StartupFailure> create(const std::vector<std::string>& args) {
        return create(args, quendal::testing::buildProgramFolder());
    }

    static QSize screenSize() { return QGuiApplication::primaryScreen()->geometry().size(); }

    THaupt haupt;
};

} // namespace

TEST_F(FormCreateTest, FixesTheFoldersAndCreatesTheDataFolderWithItsParents) {
    ASSERT_FALSE(create({"win"}));
    const ProgramState& state = programState();
    EXPECT_EQ(state.ProgramFolder, quendal::testing::buildProgramFolder());
    EXPECT_EQ(state.DataFolder, data.folder() + "home/Quendal/Varon/Daten/");
    EXPECT_TRUE(fs::is_directory(state.DataFolder));
    EXPECT_FALSE(state.FullScreenMode);
    EXPECT_EQ(state.PlayWidth, 1024);
    EXPECT_EQ(state.PlayHeight, 768);
    EXPECT_EQ(state.HostWindowHandle, -1);
    EXPECT_TRUE(state.CurrentUser.ResultFileName.empty());
    EXPECT_EQ(state.options.JoystickUse, 1);
    EXPECT_EQ(state.options.OptionValue2, 30);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(FormCreateTest, ReadsTheOptionsAndTheHostWindowHandle) {
    const std::string folder = data.folder() + "home/Quendal/Varon/Daten/";
    fs::create_directories(folder);
    data.write("home/Quendal/Varon/Daten/optionen.cfg", encodeOptions({0, 77}));
    // What a replace of the options file interrupted long ago left goes at the start.
    const std::string leftover = folder + "optionen.cfg.Ab3xY9";
    data.write("home/Quendal/Varon/Daten/optionen.cfg.Ab3xY9", encodeOptions({1, 1}));
    fs::last_write_time(leftover, fs::file_time_type::clock::now() - std::chrono::hours(1));
    ASSERT_FALSE(create({"win", "HWND=77"}));
    EXPECT_EQ(programState().HostWindowHandle, 77);
    EXPECT_EQ(programState().options.JoystickUse, 0);
    EXPECT_EQ(programState().options.OptionValue2, 77);
    EXPECT_FALSE(fs::exists(leftover));
}

TEST_F(FormCreateTest, DebugSizesThatFitAreTakenAndLargerOnesShrinkToTheScreen) {
    ASSERT_FALSE(create({"debug", "640", "480"}));
    EXPECT_EQ(programState().PlayWidth, 640);
    EXPECT_EQ(programState().PlayHeight, 480);
    EXPECT_TRUE(messages.isEmpty());
    // Without "win" the play field is held full screen, unless the screen is 1024 x 768.
    EXPECT_EQ(programState().FullScreenMode, screenSize() != QSize(1024, 768));

    ASSERT_FALSE(create({"debug", "5000", "4000"}));
    EXPECT_EQ(programState().PlayWidth, screenSize().width());
    EXPECT_EQ(programState().PlayHeight, screenSize().height());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.at(0), QString::fromUtf8("Diese Größe ist auf Ihrem System nicht "
                                                "darstellbar. Es wird die größtmögliche "
                                                "Darstellung aktiviert!"));
}

TEST_F(FormCreateTest, DebugSizesThatAreNotNumbersEndTheStartWithAMessage) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"debug", "breit", "600"},
                                                 std::vector<std::string>{"debug", "800"},
                                                 std::vector<std::string>{"debug", "0", "600"}}) {
        const auto failure = create(args);
        ASSERT_TRUE(failure) << args.size();
        EXPECT_TRUE(failure->message.contains(QStringLiteral("debug 800 600")));
        EXPECT_TRUE(failure->message.contains(QStringLiteral("beendet")));
    }
}

TEST_F(FormCreateTest, ADataFolderThatCannotBeCreatedEndsTheStartWithAMessage) {
    data.write("file", "not a folder");
    qputenv("QUENDAL_DATA_DIR", QByteArray::fromStdString(data.file("file")));
    const auto failure = create({"win"});
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->message.startsWith(QStringLiteral("Der Datenordner kann nicht angelegt")));
    EXPECT_TRUE(failure->message.contains(QString::fromStdString(data.file("file"))));
}

TEST_F(FormCreateTest, AnOverlongOrLoopingDataFolderEndsTheStartWithAMessage) {
    fs::create_symlink(data.file("loop2"), data.file("loop1"));
    fs::create_symlink(data.file("loop1"), data.file("loop2"));
    for (const std::string& base :
         {data.folder() + std::string(300, 'n'), data.file("loop1") + "/deeper"}) {
        qputenv("QUENDAL_DATA_DIR", QByteArray::fromStdString(base));
        std::optional<StartupFailure> failure;
        EXPECT_NO_THROW(failure = create({"win"})) << base;
        ASSERT_TRUE(failure) << base;
        EXPECT_TRUE(
            failure->message.startsWith(QStringLiteral("Der Datenordner kann nicht angelegt")));
        EXPECT_TRUE(failure->message.contains(QString::fromStdString(base))) << base;
        EXPECT_TRUE(failure->message.endsWith(QStringLiteral("Das Programm wird beendet.")));
    }
}

TEST_F(FormCreateTest, TheLanguageFileBesideTheProgramChoosesEnglish) {
    quendal::testing::ScratchFolder program;
    fs::create_directories(program.folder() + "data");
    program.write("data/sprache.dat", "  English \r\n");
    ASSERT_FALSE(create({"win"}, program.folder()));
    EXPECT_EQ(programState().ProgramFolder, program.folder());
    EXPECT_EQ(programState().UiLanguage, 2);
    EXPECT_EQ(programState().vocabulary.playKindNames[1], "color");
}

TEST(ProgramFolder, IsTheExecutablesFolderOrTheInstalledShareFolder) {
    quendal::testing::ScratchFolder prefix;
    fs::create_directories(prefix.folder() + "bin");
    // Nothing anywhere: the executable's folder.
    EXPECT_EQ(locateProgramFolder(prefix.folder() + "bin"), prefix.folder() + "bin/");
    fs::create_directories(prefix.folder() + "share/quendal/DATA");
    EXPECT_EQ(locateProgramFolder(prefix.folder() + "bin/"), prefix.folder() + "share/quendal/");
    fs::create_directories(prefix.folder() + "bin/Data");
    EXPECT_EQ(locateProgramFolder(prefix.folder() + "bin/"), prefix.folder() + "bin/");
}

TEST(Splash, IsBlueAnd515By302WithOrWithoutItsPicture) {
    TIntroForm splash;
    EXPECT_EQ(splash.size(), QSize(515, 302));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(splash.palette().color(QPalette::Window), QColor(0, 0, 255));
    splash.show();
    // The test program lies beside the build's DATA/ with its drawn splash.
    EXPECT_EQ(splash.size(), QSize(515, 302));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(splash.pos(), QPoint((screen.width() - 515) / 2, (screen.height() - 302) / 2));
}

TEST(FullScreenScale, FillsAsMuchOfTheScreenAsThePlayFieldFits) {
    EXPECT_DOUBLE_EQ(fullScreenScale({1280, 1024}, {1024, 768}), 1.25);
    EXPECT_DOUBLE_EQ(fullScreenScale({1920, 1080}, {1024, 768}), 1080.0 / 768.0);
    EXPECT_DOUBLE_EQ(fullScreenScale({1024, 768}, {1024, 768}), 1.0);
    EXPECT_DOUBLE_EQ(fullScreenScale({1024, 768}, {800, 600}), 1.28);
    // A smaller screen shrinks the play field until it fits, as the display mode did.
    EXPECT_DOUBLE_EQ(fullScreenScale({1280, 720}, {1024, 768}), 720.0 / 768.0);
    EXPECT_DOUBLE_EQ(fullScreenScale({}, {1024, 768}), 1.0);
}
