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

// Where the bus library looks for it (its own folder), and anywhere on the path.
bool launcherInstalled() {
    for (const char* folder : {"/usr/bin", "/bin", "/usr/local/bin"}) {
        if (executable(std::string(folder) + "/dbus-launch")) {
            return true;
        }
    }
    const char* path = std::getenv("PATH");
    std::string_view rest = path != nullptr ? path : "";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        if (!folder.empty() && executable(std::string(folder) + "/dbus-launch")) {
            return true;
        }
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return false;
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
