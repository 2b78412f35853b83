#pragma once
// What the Qt screens measured by reaction_fidelity_bench share besides the line protocol of
// screen_protocol.h: the wait until a window's picture is on the X server.

#include "screen_protocol.h"

#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <functional>
#include <xcb/xcb.h>

namespace quendal::fidelity {

// Returns once the X server has handled every request sent so far.
inline void roundTripToDisplay() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return;
    }
    xcb_connection_t* connection = x11->connection();
    xcb_flush(connection);
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

// Once `window` is exposed: paints it, waits until the server has its picture, prints the
// CENTRE line for `centre` and calls `then`.
inline void reportCentreWhenShown(QWidget* window, QWidget* centre,
                                  std::function<void()> then = {}) {
    auto* poll = new QTimer(window);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, window, [window, centre, poll, then] {
        // The screen may lie inside another window: that one is what the display shows.
        const QWindow* shown = window->window()->windowHandle();
        if (shown == nullptr || !shown->isExposed()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        window->repaint();
        roundTripToDisplay();
        const qreal ratio = window->devicePixelRatioF();
        const QPoint origin = centre->mapToGlobal(QPoint(0, 0));
        printCentre(qRound(origin.x() * ratio), qRound(origin.y() * ratio),
                    qRound(centre->width() * ratio), qRound(centre->height() * ratio));
        if (then) {
            then();
        }
    });
    poll->start();
}

} // namespace quendal::fidelity
