#include "shell/session_bus.h"

#include <cstdlib>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace quendal {
namespace {

bool exists(const std::string& path) {
    struct stat facts {};
    return ::stat(path.c_str(), &facts) == 0;
}

bool executable(const std::string& path) {
    return ::access(path.c_str(), X_OK) == 0;
}

// In the bus library's own folder, or anywhere on the path.
bool launcherInstalled() {
    std::string folders = "/usr/bin:/bin:/usr/local/bin";
    if (const char* path = std::getenv("PATH"); path != nullptr) {
        folders.append(":").append(path);
    }
    std::string_view rest = folders;
    for (;;) {
        const std::size_t colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        if (!folder.empty() && executable(std::string(folder) + "/dbus-launch")) {
            return true;
        }
        if (colon == std::string_view::npos) {
            return false;
        }
        rest.remove_prefix(colon + 1);
    }
}

} // namespace

bool sessionBusUnreachable(const SessionBusFacts& facts) {
    // Any address given, even an empty one, is the session's to keep.
    return !facts.address.has_value() && !facts.userBus && !facts.launcher;
}

SessionBusFacts sessionBusFacts() {
    SessionBusFacts facts;
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address != nullptr) {
        facts.address = address;
    }
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime) {
        facts.userBus = exists(std::string(runtime) + "/bus");
    }
    facts.launcher = launcherInstalled();
    return facts;
}

void markUnreachableSessionBus() {
    if (sessionBusUnreachable(sessionBusFacts())) {
        // A transport the library does not know: asking for the bus fails without a fork.
        ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
    }
}

} // namespace quendal
