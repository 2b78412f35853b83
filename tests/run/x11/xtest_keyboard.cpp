#include "xtest_keyboard.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

XTestKeyboard::XTestKeyboard() : display_(XOpenDisplay(nullptr)) {}

XTestKeyboard::~XTestKeyboard() {
    if (display_ != nullptr) {
        XCloseDisplay(static_cast<Display*>(display_));
    }
}

void XTestKeyboard::pressRight() {
    auto* display = static_cast<Display*>(display_);
    const KeyCode right = XKeysymToKeycode(display, XK_Right);
    XTestFakeKeyEvent(display, right, True, CurrentTime);
    XTestFakeKeyEvent(display, right, False, CurrentTime);
    XSync(display, False);
}
