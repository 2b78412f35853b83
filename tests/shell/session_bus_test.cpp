#include "shell/session_bus.h"

#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace quendal;

TEST(SessionBus, OnlyAStartWithNoAddressNoUserBusAndNothingToStartOneIsToldThereIsNone) {
    EXPECT_TRUE(sessionBusUnreachable({std::nullopt, false, false}));
    EXPECT_FALSE(sessionBusUnreachable({"unix:path=/run/user/1000/bus", false, false}));
    EXPECT_FALSE(sessionBusUnreachable({"", false, false}));
    EXPECT_FALSE(sessionBusUnreachable({std::nullopt, true, false}));
    EXPECT_FALSE(sessionBusUnreachable({std::nullopt, false, true}));
}

TEST(SessionBus, TheUserBusInTheRuntimeFolderIsFoundAndAGivenAddressIsKept) {
    const QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const std::string folder = runtime.path().toStdString();
    const char* before = std::getenv("XDG_RUNTIME_DIR");
    const std::string kept = before != nullptr ? before : "";
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");

    // No bus there: told there is none unless dbus-launch could start one.
    const bool launcher = sessionBusFacts().launcher;
    EXPECT_FALSE(sessionBusFacts().userBus);
    markUnreachableSessionBus();
    const char* marked = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    EXPECT_EQ(marked != nullptr, !launcher);
    if (marked != nullptr) {
        EXPECT_STREQ(marked, "disabled:");
    }
    // An address the session gives stands, whatever else is missing.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nowhere", 1);
    markUnreachableSessionBus();
    EXPECT_STREQ(std::getenv("DBUS_SESSION_BUS_ADDRESS"), "unix:path=/nowhere");

    // A bus listening in the runtime folder, as a user session has it.
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listening, 0);
    sockaddr_un place{};
    place.sun_family = AF_UNIX;
    const std::string bus = folder + "/bus";
    ASSERT_LT(bus.size(), sizeof place.sun_path);
    bus.copy(place.sun_path, bus.size());
    ASSERT_EQ(::bind(listening, reinterpret_cast<const sockaddr*>(&place), sizeof place), 0);
    EXPECT_TRUE(sessionBusFacts().userBus);
    markUnreachableSessionBus();
    EXPECT_EQ(std::getenv("DBUS_SESSION_BUS_ADDRESS"), nullptr);
    ::close(listening);

    if (before != nullptr) {
        ::setenv("XDG_RUNTIME_DIR", kept.c_str(), 1);
    } else {
        ::unsetenv("XDG_RUNTIME_DIR");
    }
}
