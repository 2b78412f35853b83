#include "core/joystick_calibration.h"

#include <gtest/gtest.h>
#include <vector>

using namespace quendal;

namespace {

std::vector<int> keys(int x, int y) {
    const JoystickDirections d = joystickDirections(x, y);
    return {d.begin(), d.end()};
}

} // namespace

TEST(JoystickCalibration, ScalesEachHalfAxisByItsOwnTravelWithAFloorOfOne) {
    // The full raw range of the device, resting a little off the middle.
    const JoystickCalibration full = calibrateJoystick(-32768, 32767, -32768, 32767, 1000, -500);
    EXPECT_DOUBLE_EQ(full.rightFactor, 31767.0 / 400);
    EXPECT_DOUBLE_EQ(full.leftFactor, 33768.0 / 400);
    EXPECT_DOUBLE_EQ(full.downFactor, 33267.0 / 300);
    EXPECT_DOUBLE_EQ(full.upFactor, 32268.0 / 300);
    EXPECT_EQ(scaleJoystickPosition(full, 32767, 32767), (ScaledJoystickPosition{400, 300}));
    EXPECT_EQ(scaleJoystickPosition(full, -32768, -32768), (ScaledJoystickPosition{-400, -300}));
    EXPECT_EQ(scaleJoystickPosition(full, 1000, -500), (ScaledJoystickPosition{0, 0}));
    // 7942 raw units right of the centre are a quarter of the right travel: 100.0 and a bit.
    EXPECT_EQ(scaleJoystickPosition(full, 1000 + 7942, -500).x, 100);

    // Only 300 raw units from the centre to the right end and 200 down: one raw unit per
    // scaled unit there, while the long halves keep their scale.
    const JoystickCalibration shortTravel = calibrateJoystick(-4000, 300, -3000, 200, 0, 0);
    EXPECT_EQ(shortTravel.rightFactor, 1.0);
    EXPECT_EQ(shortTravel.downFactor, 1.0);
    EXPECT_EQ(shortTravel.leftFactor, 10.0);
    EXPECT_EQ(shortTravel.upFactor, 10.0);
    EXPECT_EQ(scaleJoystickPosition(shortTravel, 300, 200), (ScaledJoystickPosition{300, 200}));
    EXPECT_EQ(scaleJoystickPosition(shortTravel, 31, 0).x, 31);
    EXPECT_EQ(scaleJoystickPosition(shortTravel, -4000, -3000),
              (ScaledJoystickPosition{-400, -300}));
    // A device with no travel at all on one side still scales without dividing by zero.
    const JoystickCalibration none = calibrateJoystick(0, 0, 0, 0, 0, 0);
    EXPECT_EQ(none.leftFactor, 1.0);
    EXPECT_EQ(scaleJoystickPosition(none, 0, 0), (ScaledJoystickPosition{0, 0}));

    // Halves go to the even neighbour, on both sides of the centre.
    const JoystickCalibration halves = calibrateJoystick(-800, 800, -600, 600, 0, 0);
    ASSERT_EQ(halves.rightFactor, 2.0);
    ASSERT_EQ(halves.upFactor, 2.0);
    EXPECT_EQ(scaleJoystickPosition(halves, 5, 7), (ScaledJoystickPosition{2, 4}));
    EXPECT_EQ(scaleJoystickPosition(halves, -5, -7), (ScaledJoystickPosition{-2, -4}));
    EXPECT_EQ(scaleJoystickPosition(halves, 3, -3), (ScaledJoystickPosition{2, -2}));
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-3.5), -4);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(-0.6), -1);

    // The notified change: 0.02 % of the X axis's maximum, rounded.
    EXPECT_EQ(joystickMoveThreshold(32767), 7);
    EXPECT_EQ(joystickMoveThreshold(65535), 13);
    EXPECT_EQ(joystickMoveThreshold(12500), 2); // 2.5 goes to 2
}

TEST(JoystickCalibration, DirectionsLeaveADeadZoneOfThirtyAndComeLeftRightUpDown) {
    EXPECT_EQ(keys(31, 0), (std::vector<int>{39}));
    EXPECT_EQ(keys(-31, 0), (std::vector<int>{37}));
    EXPECT_EQ(keys(0, -31), (std::vector<int>{38}));
    EXPECT_EQ(keys(0, 31), (std::vector<int>{40}));
    EXPECT_TRUE(joystickDirections(30, 30).empty());
    EXPECT_TRUE(joystickDirections(-30, -30).empty());
    EXPECT_TRUE(joystickDirections(0, 0).empty());
    EXPECT_EQ(keys(-200, -200), (std::vector<int>{37, 38}));
    EXPECT_EQ(keys(400, 300), (std::vector<int>{39, 40}));
    EXPECT_EQ(keys(-400, 30), (std::vector<int>{37}));
}
