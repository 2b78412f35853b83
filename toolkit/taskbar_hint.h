#pragma once
// Keeps a top-level window of the program off the desktop's taskbar and pager. On X the
// window's _NET_WM_STATE carries SKIP_TASKBAR and SKIP_PAGER, set before it is first mapped
// (and asked of the window manager when it already shows). Wayland has no such request: there
// the compositor decides what its taskbar lists. The widget is marked either way (the property
// "quendalOffTaskbar"), so a test can see that it was asked.

class QWidget;

namespace quendal {

void keepOffTaskbar(QWidget* window);

} // namespace quendal
