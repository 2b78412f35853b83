#include "core/joystick_calibration.h"

#include <algorithm>
#include <cmath>

namespace quendal {
namespace {

// Raw units per scaled unit over a half travel of the given length; a travel shorter than
// the scale keeps one raw unit per scaled unit.
double halfAxisFactor(int travel, int scaledBy) {
    return std::max(1.0, static_cast<double>(travel) / scaledBy);
}

int scaleAxis(int raw, int centre, double belowFactor, double aboveFactor) {
    const double offset = static_cast<double>(raw) - centre;
    return static_cast<int>(roundHalfEven(offset / (raw < centre ? belowFactor : aboveFactor)));
}

} // namespace

JoystickCalibration calibrateJoystick(int minX, int maxX, int minY, int maxY, int centreX,
                                      int centreY) {
    JoystickCalibration c;
    c.minX = minX;
    c.maxX = maxX;
    c.minY = minY;
    c.maxY = maxY;
    c.centreX = centreX;
    c.centreY = centreY;
    c.rightFactor = halfAxisFactor(maxX - centreX, kJoystickXScaledBy);
    c.leftFactor = halfAxisFactor(centreX - minX, kJoystickXScaledBy);
    c.downFactor = halfAxisFactor(maxY - centreY, kJoystickYScaledBy);
    c.upFactor = halfAxisFactor(centreY - minY, kJoystickYScaledBy);
    return c;
}

long long roundHalfEven(double value) {
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
        whole += 1.0;
    }
    return static_cast<long long>(whole);
}

ScaledJoystickPosition scaleJoystickPosition(const JoystickCalibration& calibration, int rawX,
                                             int rawY) {
    const JoystickCalibration& c = calibration;
    return {scaleAxis(rawX, c.centreX, c.leftFactor, c.rightFactor),
            scaleAxis(rawY, c.centreY, c.upFactor, c.downFactor)};
}

int joystickMoveThreshold(int maxX) {
    return static_cast<int>(roundHalfEven(maxX * kJoystickEventThreshold / 100.0));
}

JoystickDirections joystickDirections(int scaledX, int scaledY) {
    JoystickDirections d;
    const auto add = [&d](bool holds, int key) {
        if (holds) {
            d.keys[d.count++] = key;
        }
    };
    add(scaledX < -kJoystickDeadZone, 37);
    add(scaledX > kJoystickDeadZone, 39);
    add(scaledY < -kJoystickDeadZone, 38);
    add(scaledY > kJoystickDeadZone, 40);
    return d;
}

} // namespace quendal
