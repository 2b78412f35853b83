#include "frame/host_window.h"

#include "core/program_state.h"

#include <QWidget>
#include <QWindow>

namespace quendal {

void attachToHostWindow(QWidget* window) {
    const int64_t handle = programState().HostWindowHandle;
    if (handle < 0 || window == nullptr) {
        return;
    }
    window->winId(); // makes the native window, so that it can be given an owner
    QWindow* own = window->windowHandle();
    QWindow* host = QWindow::fromWinId(static_cast<WId>(handle));
    if (own == nullptr || host == nullptr) {
        delete host;
        return;
    }
    // The foreign window lives as long as the widget's window.
    static_cast<QObject*>(host)->setParent(own);
    own->setTransientParent(host);
}

} // namespace quendal
