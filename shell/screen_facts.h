#pragma once
// What the full-screen decision needs to know of the primary screen before the application
// object exists: its size in Qt's logical pixels and in device pixels, and its depth.

#include <QSize>
#include <optional>

struct xcb_connection_t;

namespace quendal {

struct ScreenFacts {
    QSize logical;
    QSize device;
    int depth = 0;
};

// A connection to the X server of $DISPLAY, held open until Qt has its own. An X server
// that loses its last client resets itself (tens of milliseconds, in which it answers
// nobody), so a connection that looks at the screen before Qt starts closes only once Qt's
// connection is there, or the program's start would wait for the reset where it is the
// server's only client.
class HeldDisplay {
  public:
    HeldDisplay() = default;
    ~HeldDisplay();
    HeldDisplay(const HeldDisplay&) = delete;
    HeldDisplay& operator=(const HeldDisplay&) = delete;

    // Connects to $DISPLAY unless connected; null when there is none or it cannot be reached.
    xcb_connection_t* open();
    xcb_connection_t* connection() const { return connection_; }
    int preferredScreen() const { return preferred_; }
    void release();

  private:
    xcb_connection_t* connection_ = nullptr;
    int preferred_ = 0;
};

// The primary screen read straight from the X server, in the cases where Qt is certain to
// see the same: Qt will use its xcb platform, nothing in the environment or on the command
// line asks for another display, platform or scale, the server's font resolution is the
// standard 96 dpi and there is one monitor. Nothing in any other case; the caller then asks
// Qt itself, at the price of starting it twice. It looks through `display`, opened when
// needed (a connection of its own when null).
std::optional<ScreenFacts> quickScreenFacts(int argc, char* argv[], HeldDisplay* display = nullptr);

} // namespace quendal
