// The data module's joystick: its moves and button 1, scaled by the calibration taken when it
// was opened, reach the screen that takes them while that screen is the active window or
// has the focus in it.

#include "core/joystick_calibration.h"
#include "core/program_state.h"
#include "frame/daten.h"
#include "frame/joystick_screen.h"

#include <QApplication>
#include <QWidget>

namespace quendal {
namespace {

// The screen of that name that takes the joystick: the active window itself, or a screen laid
// into the active window (the main window holds the instruction and run screens) that has the
// input focus.
JoystickScreen* activeJoystickScreen(const char* formName) {
    QWidget* window = QApplication::activeWindow();
    if (window == nullptr) {
        return nullptr;
    }
    QWidget* screen = nullptr;
    for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
        if (w->objectName() == QLatin1String(formName)) {
            screen = w;
            break;
        }
        if (w == window) {
            break;
        }
    }
    if (screen == nullptr && window->objectName() == QLatin1String(formName)) {
        screen = window;
    }
    if (screen == nullptr || screen->window() != window) {
        return nullptr;
    }
    // A message opened over the screen takes the stick, even before the window system has
    // made it the active window.
    if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != window) {
        return nullptr;
    }
    return dynamic_cast<JoystickScreen*>(screen);
}

} // namespace

void TDaten::connectJoystick() {
    connect(&Joystick, &JoystickDevice::moved, this, [this](int x, int y) {
        const QPoint scaled = Joystick.scaled({x, y});
        JoystickJoyMove(scaled.x(), scaled.y());
    });
    connect(&Joystick, &JoystickDevice::buttonChanged, this, [this](int button, bool pressed) {
        if (button == 0) {
            const QPoint scaled = Joystick.scaled(Joystick.position());
            JoystickButton1_Change(pressed, scaled.x(), scaled.y());
        }
    });
}

void TDaten::JoystickJoyMove(int x, int y) {
    if (!programState().joystickActive()) {
        return;
    }
    JoystickScreen* screen = activeJoystickScreen("DurchgangDialog");
    if (screen == nullptr) {
        return;
    }
    const JoystickDirections directions = joystickDirections(x, y);
    for (const int key : directions) {
        screen->HandleDirection(key);
    }
    if (directions.empty()) {
        screen->ReleaseDirection();
    }
}

void TDaten::JoystickButton1_Change(bool pressed, int /*x*/, int /*y*/) {
    if (!pressed || !programState().joystickActive()) {
        return;
    }
    if (JoystickScreen* screen = activeJoystickScreen("BeschreibungDialog"); screen != nullptr) {
        screen->StartFromInstructions(32);
    }
}

void TDaten::JoystickScreenShown(bool shown) {
    // Nobody would listen to a joystick that is not in use, so it is not polled either.
    Joystick.setPolling(shown && programState().joystickActive());
}

} // namespace quendal
