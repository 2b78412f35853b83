#include "shell/screen_facts.h"

#include "toolkit/xcb_requests.h"

#include <QByteArray>
#include <QtGlobal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <xcb/randr.h>
#include <xcb/xcb.h>

namespace quendal {
namespace {

template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;
template <typename Reply> Owned<Reply> owned(Reply* reply) {
    return Owned<Reply>(reply, &std::free);
}

// True when Qt would start on xcb with the screen's own pixels as its logical pixels.
bool qtSeesThePlainScreen(int argc, char* argv[]) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool xcb = platform == "xcb" ||
                     (platform.isEmpty() && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                      qgetenv("XDG_SESSION_TYPE") != "wayland");
    if (!xcb || qEnvironmentVariableIsEmpty("DISPLAY")) {
        return false;
    }
    for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                             "QT_ENABLE_HIGHDPI_SCALING", "QT_USE_PHYSICAL_DPI", "QT_FONT_DPI",
                             "QT_SCALE_FACTOR_ROUNDING_POLICY", "QT_AUTO_SCREEN_SCALE_FACTOR"}) {
        if (!qEnvironmentVariableIsEmpty(name)) {
            return false;
        }
    }
    // Qt's own options (-platform, -display, ...) begin with a dash; the program's do not.
    for (int i = 1; i < argc; ++i) {
        if (argv[i] != nullptr && argv[i][0] == '-') {
            return false;
        }
    }
    return true;
}

// The "Xft.dpi" resource of the server, 0 when it has none.
double fontResolution(xcb_connection_t* connection, const xcb_screen_t* screen) {
    const auto reply = owned(xcb_get_property_reply(connection,
                                                    xcb_get_property(connection, 0, screen->root,
                                                                     XCB_ATOM_RESOURCE_MANAGER,
                                                                     XCB_ATOM_STRING, 0, 1 << 16),
                                                    nullptr));
    if (!reply) {
        return 0;
    }
    const std::string_view resources(
        static_cast<const char*>(xcb_get_property_value(reply.get())),
        static_cast<size_t>(xcb_get_property_value_length(reply.get())));
    constexpr std::string_view kKey = "Xft.dpi:";
    for (size_t start = 0; start < resources.size();) {
        const size_t end = std::min(resources.find('\n', start), resources.size());
        const std::string_view line = resources.substr(start, end - start);
        if (line.substr(0, kKey.size()) == kKey) {
            return std::atof(std::string(line.substr(kKey.size())).c_str());
        }
        start = end + 1;
    }
    return 0;
}

} // namespace

xcb_connection_t* HeldDisplay::open() {
    if (connection_ == nullptr && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        connection_ = xcb_connect(nullptr, &preferred_);
        if (xcb_connection_has_error(connection_) != 0) {
            release();
        }
    }
    return connection_;
}

HeldDisplay::~HeldDisplay() {
    release();
}

void HeldDisplay::release() {
    if (connection_ != nullptr) {
        xcb_disconnect(connection_);
        connection_ = nullptr;
    }
}

std::optional<ScreenFacts> quickScreenFacts(int argc, char* argv[], HeldDisplay* display) {
    if (!qtSeesThePlainScreen(argc, argv)) {
        return std::nullopt;
    }
    std::optional<HeldDisplay> own;
    if (display == nullptr) {
        display = &own.emplace();
    }
    xcb_connection_t* connection = display->open();
    if (connection == nullptr) {
        return std::nullopt;
    }
    const int preferred = display->preferredScreen();
    const xcb_screen_t* screen = nthScreen(connection, preferred);
    if (screen == nullptr) {
        return std::nullopt;
    }
    if (const double dpi = fontResolution(connection, screen); dpi != 0 && dpi != 96) {
        return std::nullopt;
    }
    QSize size(screen->width_in_pixels, screen->height_in_pixels);
    // With RandR the screen is its one monitor; several monitors, or a RandR too old to
    // name them, are left to Qt.
    const xcb_query_extension_reply_t* randr = xcb_get_extension_data(connection, &xcb_randr_id);
    if (randr != nullptr && randr->present != 0) {
        const auto version = owned(xcb_randr_query_version_reply(
            connection, xcb_randr_query_version(connection, 1, 5), nullptr));
        if (!version || version->major_version < 1 ||
            (version->major_version == 1 && version->minor_version < 5)) {
            return std::nullopt;
        }
        const auto monitors = owned(xcb_randr_get_monitors_reply(
            connection, xcb_randr_get_monitors(connection, screen->root, 1), nullptr));
        if (!monitors || xcb_randr_get_monitors_monitors_length(monitors.get()) != 1) {
            return std::nullopt;
        }
        const xcb_randr_monitor_info_t* monitor =
            xcb_randr_get_monitors_monitors_iterator(monitors.get()).data;
        size = QSize(monitor->width, monitor->height);
    }
    if (size.isEmpty()) {
        return std::nullopt;
    }
    return ScreenFacts{size, size, screen->root_depth};
}

} // namespace quendal
