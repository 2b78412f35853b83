#include "run/display_flush.h"

#include <QGuiApplication>
#include <cstdlib>
#include <xcb/xcb.h>

namespace quendal {

void flushToDisplay() {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    if (x11 == nullptr) {
        return;
    }
    xcb_connection_t* connection = x11->connection();
    if (connection == nullptr) {
        return;
    }
    // A round trip: the reply comes only after the server has carried out every request sent
    // before it, the pictures among them.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

} // namespace quendal
