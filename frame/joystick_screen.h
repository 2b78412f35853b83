#pragma once
// How the data module's joystick handlers reach the screen that takes the joystick: the run
// screen takes directions, the instruction screen the start button. Each implements what it
// takes; the rest does nothing.

namespace quendal {

class JoystickScreen {
  public:
    virtual ~JoystickScreen() = default;
    // A direction as its arrow key code (37 left, 38 up, 39 right, 40 down).
    virtual void HandleDirection(int /*key*/) {}
    // The stick is back in its centre zone.
    virtual void ReleaseDirection() {}
    // The button, as the space bar's code 32.
    virtual void StartFromInstructions(int /*key*/) {}
};

} // namespace quendal
