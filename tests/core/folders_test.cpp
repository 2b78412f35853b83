#include "core/folders.h"
#include "scratch_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace quendal;
using quendal::testing::ScratchFolder;

TEST(Folders, IncludeSlash) {
    EXPECT_EQ(IncludeBackslash(""), "");
    EXPECT_EQ(IncludeBackslash("   "), "");
    EXPECT_EQ(IncludeBackslash(" /home/a "), "/home/a/");
    EXPECT_EQ(IncludeBackslash("/home/a/"), "/home/a/");
}

TEST(Folders, DataFolderFromTheEnvironmentOrTheDataHome) {
    EXPECT_EQ(dataFolderBase("/tmp/q", "/home/u/.local/share"), "/tmp/q");
    EXPECT_EQ(dataFolderBase("", "/home/u/.local/share"), "/home/u/.local/share");
    EXPECT_EQ(dataFolderBase(nullptr, "/home/u/.local/share"), "/home/u/.local/share");
    EXPECT_EQ(composeDataFolder("/home/u/.local/share", "/opt/q/"),
              "/home/u/.local/share/Quendal/Varon/Daten/");
    EXPECT_EQ(composeDataFolder("/tmp/q/", "/opt/q/"), "/tmp/q/Quendal/Varon/Daten/");
}

TEST(Folders, WithoutABaseTheFolderBesideTheProgram) {
    EXPECT_EQ(composeDataFolder("", "/Apps/Module/"), "/Apps/Daten/");
    EXPECT_EQ(composeDataFolder("", "/a/b/c/"), "/a/b/c/Daten/"); // seven characters
    EXPECT_EQ(composeDataFolder("", "/ab/cde/"), "/Daten/");      // eight characters
}

TEST(Folders, CreatesTheFolderWithItsParents) {
    ScratchFolder scratch;
    const std::string folder = composeDataFolder(scratch.folder(), "/x/");
    EXPECT_TRUE(createFolder(folder));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    scratch.write("plainfile", "x");
    std::string error;
    EXPECT_FALSE(createFolder(scratch.file("plainfile") + "/sub/", &error));
    EXPECT_FALSE(error.empty());
}

TEST(Folders, PathsTheSystemRefusesAreCleanFailures) {
    namespace fs = std::filesystem;
    ScratchFolder scratch;
    // A name longer than any the file system takes, a loop of two links, and (for a user
    // the permissions bind) a folder without access.
    const std::string tooLong = scratch.folder() + std::string(300, 'n') + "/";
    fs::create_symlink(scratch.file("loop2"), scratch.file("loop1"));
    fs::create_symlink(scratch.file("loop1"), scratch.file("loop2"));
    const std::string loop = scratch.file("loop1") + "/";
    std::vector<std::string> refused{tooLong, loop};
    fs::create_directory(scratch.file("closed"));
    fs::permissions(scratch.file("closed"), fs::perms::none);
    // No access is a failure only for a user the permissions bind; root passes through.
    if (!createFolder(scratch.file("closed/probe/"))) {
        refused.push_back(scratch.file("closed") + "/");
    }
    for (const std::string& base : refused) {
        const std::string folder = composeDataFolder(base, "/x/");
        std::string error;
        bool created = true;
        EXPECT_NO_THROW(created = createFolder(folder, &error)) << base;
        EXPECT_FALSE(created) << base;
        EXPECT_FALSE(error.empty()) << base;
        std::string resolved;
        EXPECT_NO_THROW(resolved = programDataFolder(base)) << base;
        EXPECT_EQ(resolved, base + "DATA/");
        EXPECT_NO_THROW(resolveNoCase(folder, "DATA/1024/scheme.bml")) << base;
    }
    EXPECT_GE(refused.size(), 2U);
    fs::permissions(scratch.file("closed"), fs::perms::owner_all);
}

TEST(Folders, DataAndDataAreTheSameFolder) {
    ScratchFolder scratch;
    std::filesystem::create_directories(scratch.file("data/1024"));
    scratch.write("data/1024/Scheme.BML", "x");
    EXPECT_EQ(programDataFolder(scratch.folder()), scratch.folder() + "data/");
    EXPECT_EQ(resolveNoCase(scratch.folder(), "DATA/1024/scheme.bml"),
              scratch.folder() + "data/1024/Scheme.BML");
    // Nothing matches: the name stays as written.
    EXPECT_EQ(resolveNoCase(scratch.folder(), "DATA/800/haupt.bml"),
              scratch.folder() + "data/800/haupt.bml");
    ScratchFolder empty;
    EXPECT_EQ(programDataFolder(empty.folder()), empty.folder() + "DATA/");
}

TEST(CommandLine, WinAndDebug) {
    EXPECT_TRUE(parseCommandLine({"win"}).windowed);
    EXPECT_FALSE(parseCommandLine({"WIN"}).windowed); // letter case matters
    EXPECT_FALSE(parseCommandLine({}).windowed);
    const auto debug = parseCommandLine({"debug", "800", "600"});
    EXPECT_TRUE(debug.debugSize);
    EXPECT_FALSE(debug.sizeInvalid);
    EXPECT_EQ(debug.debugWidth, 800);
    EXPECT_EQ(debug.debugHeight, 600);
    EXPECT_FALSE(parseCommandLine({"Debug", "800", "600"}).debugSize);
}

TEST(CommandLine, DebugSizesThatAreNotNumbersAreAnError) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"debug"},
                                               {"debug", "800"},
                                               {"debug", "x", "600"},
                                               {"debug", "800", "6OO"},
                                               {"debug", "800", "0"},
                                               {"debug", "-800", "600"},
                                               {"debug", "99999999999999999999", "600"},
                                               {"debug", "800px", "600"}}) {
        EXPECT_TRUE(parseCommandLine(args).sizeInvalid) << args.size();
    }
    EXPECT_FALSE(parseCommandLine({"debug", " 800 ", "600"}).sizeInvalid);
}

TEST(CommandLine, HostWindowHandle) {
    EXPECT_EQ(parseCommandLine({"win", "HWND=77"}).hostWindowHandle, 77);
    EXPECT_EQ(parseCommandLine({"win", "hwnd= 12 "}).hostWindowHandle, 12);
    EXPECT_EQ(parseCommandLine({"win", "hwnd=x"}).hostWindowHandle, -1);
    EXPECT_EQ(parseCommandLine({"win", "hwnd="}).hostWindowHandle, -1);
    EXPECT_EQ(parseCommandLine({"win"}).hostWindowHandle, -1);
    EXPECT_EQ(parseCommandLine({"win", "hwnd=-3"}).hostWindowHandle, -1);
    // The number starts after the first '='.
    EXPECT_EQ(parseCommandLine({"x", "a=hwnd=5"}).hostWindowHandle, -1);
    EXPECT_EQ(parseCommandLine({"x", "xhwnd=5"}).hostWindowHandle, 5);
    // Only the second parameter counts.
    EXPECT_EQ(parseCommandLine({"hwnd=5"}).hostWindowHandle, -1);
}

TEST(PlayField, DebugSizeFitsTheScreen) {
    const auto fits = fitPlayField(800, 600, 1024, 768);
    EXPECT_EQ(fits.width, 800);
    EXPECT_EQ(fits.height, 600);
    EXPECT_FALSE(fits.reduced);
    const auto big = fitPlayField(1280, 1024, 1024, 768);
    EXPECT_EQ(big.width, 1024);
    EXPECT_EQ(big.height, 768);
    EXPECT_TRUE(big.reduced);
    EXPECT_TRUE(fitPlayField(800, 1000, 1024, 768).reduced);
}

TEST(PlayField, FullScreenAndResolutionFolder) {
    EXPECT_FALSE(fullScreenRequested(false, 1024, 768, 32));
    EXPECT_TRUE(fullScreenRequested(false, 1024, 768, 8));
    EXPECT_TRUE(fullScreenRequested(false, 1280, 1024, 32));
    EXPECT_FALSE(fullScreenRequested(true, 1280, 1024, 32));
    EXPECT_EQ(resolutionFolder(750), "640/");
    EXPECT_EQ(resolutionFolder(1), "640/");
    EXPECT_EQ(resolutionFolder(751), "800/");
    EXPECT_EQ(resolutionFolder(820), "800/");
    EXPECT_EQ(resolutionFolder(821), "1024/");
    EXPECT_EQ(resolutionFolder(1024), "1024/");
    EXPECT_EQ(resolutionFolder(0), "1024/");
}
