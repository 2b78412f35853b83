#pragma once
// The joystick's calibration: how a raw stick position becomes the scaled position the
// screens read, and how a scaled position becomes the four arrow directions. A full half
// travel is 400 scaled units in X and 300 in Y, counted from the rest position read once when
// the joystick is opened; the stick rests within 30 scaled units of it on both axes.

#include <array>
#include <cstddef>

namespace quendal {

// Scaled units of a full half travel.
constexpr int kJoystickXScaledBy = 400;
constexpr int kJoystickYScaledBy = 300;
// The smallest change that is notified, in percent of the X axis's maximum raw value.
constexpr double kJoystickEventThreshold = 0.02;
// Scaled units around the centre in which the stick counts as at rest, limits included.
constexpr int kJoystickDeadZone = 30;

struct JoystickCalibration {
    // The axis ranges and the rest position, in the device's raw units.
    int minX = 0;
    int maxX = 0;
    int minY = 0;
    int maxY = 0;
    int centreX = 0;
    int centreY = 0;
    // Raw units per scaled unit on each half axis, never below 1.0.
    double rightFactor = 1.0;
    double leftFactor = 1.0;
    double downFactor = 1.0;
    double upFactor = 1.0;
};

// The calibration of a device with these axis ranges resting at (centreX, centreY).
JoystickCalibration calibrateJoystick(int minX, int maxX, int minY, int maxY, int centreX,
                                      int centreY);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 to 2, 3.5 to 4).
long long roundHalfEven(double value);

struct ScaledJoystickPosition {
    int x = 0;
    int y = 0;
    bool operator==(const ScaledJoystickPosition&) const = default;
};

// A raw position in scaled units: about -400..400 in X and -300..300 in Y (Y grows
// downwards), each half axis by its own factor.
ScaledJoystickPosition scaleJoystickPosition(const JoystickCalibration& calibration, int rawX,
                                             int rawY);

// The smallest change in raw units that is notified: round(maxX * 0.02 / 100).
int joystickMoveThreshold(int maxX);

// The arrow key codes a scaled position stands for, in the order left (37), right (39),
// up (38), down (40); none when the stick is in its centre zone, which releases the
// direction.
struct JoystickDirections {
    std::array<int, 4> keys{};
    std::size_t count = 0;
    bool empty() const { return count == 0; }
    const int* begin() const { return keys.data(); }
    const int* end() const { return keys.data() + count; }
};
JoystickDirections joystickDirections(int scaledX, int scaledY);

} // namespace quendal
