#include "toolkit/keys.h"

#include <QKeyEvent>

namespace quendal::keys {

int keyCode(const QKeyEvent& event) {
    const int key = event.key();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Enter;
    case Qt::Key_Escape:
        return Escape;
    case Qt::Key_Space:
        return Space;
    case Qt::Key_Left:
        return Left;
    case Qt::Key_Up:
        return Up;
    case Qt::Key_Right:
        return Right;
    case Qt::Key_Down:
        return Down;
    case Qt::Key_F11:
        return F11;
    default:
        break;
    }
    // Qt's codes for letters and digits are their upper-case characters already.
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return key;
    }
    return 0;
}

QChar keyChar(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.isEmpty()) {
        return {};
    }
    return text.at(0);
}

} // namespace quendal::keys
