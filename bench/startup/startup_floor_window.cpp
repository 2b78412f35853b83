// startup_floor_window: the floor of a Qt Widgets program's start, for the start-up benchmark.
// One plain window of the play field's size, nothing else: the application object, the
// platform plugin, one window shown and painted, the message loop.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1024, 768);
    window.show();
    return QApplication::exec();
}
