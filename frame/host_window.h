#pragma once
// A window of another program that hosts this one (its handle given on the command line)
// owns the program's own top-level screens.

class QWidget;

namespace quendal {

// Makes the host window the transient parent of the widget's window when a host window
// handle was given; a platform that cannot reach foreign windows leaves it without one.
// The host's stand-in window lives as long as the widget.
void attachToHostWindow(QWidget* widget);

} // namespace quendal
