#include "toolkit/display_sync.h"

#include <QGuiApplication>
#include <cstdlib>
#include <xcb/xcb.h>

namespace quendal {

void waitForDisplay() {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) {
        return;
    }
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

} // namespace quendal
