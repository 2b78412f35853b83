#include "toolkit/taskbar_hint.h"

#include "toolkit/xcb_requests.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <array>
#include <xcb/xcb.h>

namespace quendal {
namespace {

// Asks the window manager to add both states (EWMH: a client message to the root window,
// action 1 = add). Without a window manager nothing lists the window anyway.
void askWindowManager(xcb_connection_t* connection, xcb_window_t id) {
    const std::array<xcb_atom_t, 3> atoms = internAtoms<3>(
        connection, {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"});
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = atoms[0];
    message.data.data32[0] = 1;
    message.data.data32[1] = atoms[1];
    message.data.data32[2] = atoms[2];
    message.data.data32[3] = 1;
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

} // namespace

void keepOffTaskbar(QWidget* window) {
    if (window == nullptr) {
        return;
    }
    window->setProperty("quendalOffTaskbar", true);
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) {
        return;
    }
    const auto id = static_cast<xcb_window_t>(window->winId());
    QWindow* handle = window->windowHandle();
    if (handle->isVisible()) {
        askWindowManager(connection, id);
        return;
    }
    // Qt writes the window's state itself when it maps the window, so the request follows the
    // mapping, when the window manager manages the window.
    QObject::connect(handle, &QWindow::visibleChanged, window, [connection, id](bool visible) {
        if (visible) {
            askWindowManager(connection, id);
        }
    });
}

} // namespace quendal
