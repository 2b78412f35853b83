#include "frame/host_window.h"

#include "core/program_state.h"

#include <QObject>
#include <QWidget>
#include <QWindow>

namespace quendal {

void attachToHostWindow(QWidget* widget) {
    const int64_t handle = programState().HostWindowHandle;
    if (widget == nullptr || handle < 0) {
        return;
    }
    // The widget's own window must exist before it can be given a parent.
    widget->winId();
    QWindow* window = widget->windowHandle();
    QWindow* host = QWindow::fromWinId(static_cast<WId>(handle));
    if (host == nullptr) {
        return;
    }
    if (window != nullptr) {
        window->setTransientParent(host);
    }
    QObject::connect(widget, &QObject::destroyed, host, [host] { delete host; });
}

} // namespace quendal
