#include "run/run_texts.h"

namespace quendal::texts::beschreibung {

QString instructionText(int kind, int version, int uiLanguage) {
    if (kind < 1 || kind > 2 || version < 1 || version > 4) {
        return {};
    }
    return pick(instructions[kind - 1][version - 1], uiLanguage);
}

QString startHint(bool joystickCanStart, int uiLanguage) {
    return pick(joystickCanStart ? hintJoystick : hintKeyboard, uiLanguage);
}

} // namespace quendal::texts::beschreibung
