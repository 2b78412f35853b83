#pragma once
// The window of another program that hosts this one ("hwnd=" on the command line): every
// window of the program takes it as its owner when it is given.

class QWidget;

namespace quendal {

// Makes the host window the owner (transient parent) of the widget's window, when a host
// window handle was given; a platform that cannot reach foreign windows leaves it alone.
void attachToHostWindow(QWidget* window);

} // namespace quendal
