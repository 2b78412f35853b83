#pragma once
// Which of Qt's window-system plugins the program runs on, decided before the application
// object exists. The run screen hands every frame to the X server and waits for it before
// its stop watch starts; that path exists on X only. So wherever an X display can be reached
// (plain X, or XWayland on a Wayland session) the program runs on X, unless the user says
// otherwise. In order of precedence:
//   1. QT_QPA_PLATFORM, or Qt's own "-platform NAME" option: Qt's choice, left alone;
//   2. QUENDAL_PLATFORM=wayland (native Wayland) or QUENDAL_PLATFORM=x11 (X);
//   3. DISPLAY set: X; otherwise Qt's own default (native Wayland on a Wayland-only session).

#include <optional>
#include <string>
#include <vector>

namespace quendal {

// What the choice looks at: the environment's values (nullopt when unset) and the arguments.
struct PlatformEnvironment {
    std::optional<std::string> qtPlatform;      // QT_QPA_PLATFORM
    std::optional<std::string> quendalPlatform; // QUENDAL_PLATFORM
    std::optional<std::string> x11Display;      // DISPLAY
    std::vector<std::string> arguments;         // without the program name
};

struct PlatformChoice {
    // The plugin to ask Qt for; empty: Qt's own choice stands.
    std::string platform;
    // An unknown QUENDAL_PLATFORM value, for a warning; empty otherwise.
    std::string ignoredValue;
};

PlatformChoice decidePlatform(const PlatformEnvironment& environment);

// The program's own arguments (without the program name): those given, less Qt's "-platform
// NAME", which Qt takes for itself when it makes the application object.
std::vector<std::string> programArguments(int argc, char* argv[]);

// Reads the environment and the arguments and sets QT_QPA_PLATFORM when the choice names a
// plugin; warns on stderr about a QUENDAL_PLATFORM value it does not know. Call it first.
void choosePlatform(int argc, char* argv[]);

} // namespace quendal
