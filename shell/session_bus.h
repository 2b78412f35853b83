#pragma once
// Whether the desktop's session bus can be found at all, decided before the application
// object exists. Qt's accessibility asks the bus library for the session bus when the first
// window shows. Given no address, and no bus of the user's in the runtime folder, the library's
// last resort is to copy the whole process (fork) and run dbus-launch to ask for one; where
// dbus-launch is not installed that copy only fails, a few milliseconds of the start on a
// virtual machine. Then, and only then, the library is told up front that there is no bus.

#include <optional>
#include <string>

namespace quendal {

struct SessionBusFacts {
    std::optional<std::string> address; // DBUS_SESSION_BUS_ADDRESS
    bool userBus = false;               // $XDG_RUNTIME_DIR/bus is there
    bool launcher = false;              // dbus-launch is installed
};

// No bus can be reached: no address given, no user bus, nothing to start one.
bool sessionBusUnreachable(const SessionBusFacts& facts);

// The facts of this process's environment and system.
SessionBusFacts sessionBusFacts();

// Sets DBUS_SESSION_BUS_ADDRESS to an address that fails at once when no bus can be reached.
// Call it first, before any other thread runs.
void markUnreachableSessionBus();

} // namespace quendal
