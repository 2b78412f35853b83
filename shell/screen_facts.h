#pragma once
// What the full-screen decision needs to know of the primary screen before the application
// object exists: its size in Qt's logical pixels and in device pixels, and its depth.

#include <QSize>
#include <optional>

namespace quendal {

struct ScreenFacts {
    QSize logical;
    QSize device;
    int depth = 0;
};

// The primary screen read straight from the X server, in the cases where Qt is certain to
// see the same: Qt will use its xcb platform, nothing in the environment or on the command
// line asks for another display, platform or scale, the server's font resolution is the
// standard 96 dpi and there is one monitor. Nothing in any other case; the caller then asks
// Qt itself, at the price of starting it twice.
std::optional<ScreenFacts> quickScreenFacts(int argc, char* argv[]);

} // namespace quendal
