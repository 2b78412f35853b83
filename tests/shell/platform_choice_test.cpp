#include "shell/platform_choice.h"

#include <gtest/gtest.h>

using namespace quendal;

namespace {

PlatformChoice choose(std::optional<std::string> qt, std::optional<std::string> quendal,
                      std::optional<std::string> display, std::vector<std::string> args = {}) {
    return decidePlatform({std::move(qt), std::move(quendal), std::move(display), std::move(args)});
}

} // namespace

TEST(PlatformChoice, XWhereverADisplayIsThereUnlessTheUserSaysOtherwise) {
    // A Wayland session with XWayland, plain X: X.
    EXPECT_EQ(choose({}, {}, ":0").platform, "xcb");
    EXPECT_EQ(choose({}, "auto", ":1").platform, "xcb");
    // No X display: Qt's own choice (native Wayland on a Wayland-only session).
    EXPECT_EQ(choose({}, {}, {}).platform, "");
    EXPECT_EQ(choose({}, {}, "").platform, "");
    // The user's opt-in to native Wayland, in any letter case; and X asked for by name.
    EXPECT_EQ(choose({}, "wayland", ":0").platform, "wayland");
    EXPECT_EQ(choose({}, "Wayland", {}).platform, "wayland");
    EXPECT_EQ(choose({}, "x11", {}).platform, "xcb");
    EXPECT_EQ(choose({}, "xcb", ":0").platform, "xcb");
}

TEST(PlatformChoice, QtsOwnSettingWinsOverEverything) {
    EXPECT_EQ(choose("wayland", {}, ":0").platform, "");
    EXPECT_EQ(choose("offscreen", "x11", ":0").platform, "");
    EXPECT_EQ(choose({}, "x11", ":0", {"win", "-platform", "wayland"}).platform, "");
    EXPECT_EQ(choose({}, {}, ":0", {"--platform", "wayland"}).platform, "");
    EXPECT_EQ(choose({}, {}, ":0", {"-platform=wayland"}).platform, "");
    // An empty QT_QPA_PLATFORM says nothing; program arguments that only look alike neither.
    EXPECT_EQ(choose("", {}, ":0").platform, "xcb");
    EXPECT_EQ(choose({}, {}, ":0", {"win", "hwnd=-platform"}).platform, "xcb");
}

TEST(PlatformChoice, AnUnknownWishIsReportedAndChosenAsWithAuto) {
    const PlatformChoice choice = choose({}, "mir", ":0");
    EXPECT_EQ(choice.platform, "xcb");
    EXPECT_EQ(choice.ignoredValue, "mir");
    EXPECT_EQ(choose({}, "wayland", {}).ignoredValue, "");
}

TEST(PlatformChoice, QtsPlatformOptionIsNoneOfTheProgramsWords) {
    std::vector<std::string> words{"quendal", "-platform", "xcb", "win", "--platform=wayland",
                                   "hwnd=5",  "-platform"};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    EXPECT_EQ(programArguments(static_cast<int>(argv.size()), argv.data()),
              (std::vector<std::string>{"win", "hwnd=5"}));
}
