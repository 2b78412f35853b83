#include "toolkit/joystick_device.h"

#include <QSignalSpy>
#include <SDL2/SDL.h>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using namespace quendal;

namespace {

// A virtual joystick that SDL treats like a plugged-in device.
class VirtualJoystick : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
        deviceIndex = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
        ASSERT_GE(deviceIndex, 0) << SDL_GetError();
        handle = SDL_JoystickOpen(deviceIndex);
        ASSERT_NE(handle, nullptr) << SDL_GetError();
    }
    void TearDown() override {
        if (handle != nullptr) {
            SDL_JoystickClose(handle);
        }
        if (deviceIndex >= 0) {
            SDL_JoystickDetachVirtual(deviceIndex);
        }
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }

    int deviceIndex = -1;
    SDL_Joystick* handle = nullptr;
};

} // namespace

TEST_F(VirtualJoystick, DetectsJoystickOneAndItsRestPosition) {
    SDL_JoystickSetVirtualAxis(handle, 0, 100);
    SDL_JoystickSetVirtualAxis(handle, 1, -200);
    JoystickDevice device;
    ASSERT_TRUE(device.open(deviceIndex));
    EXPECT_TRUE(device.isOpen());
    EXPECT_EQ(device.restPosition(), QPoint(100, -200));
    EXPECT_EQ(device.buttonCount(), 4);
    const JoystickCalibration& c = device.calibration();
    EXPECT_EQ(c.minX, -32768);
    EXPECT_EQ(c.maxY, 32767);
    EXPECT_DOUBLE_EQ(c.rightFactor, (32767.0 - 100) / 400);
    EXPECT_DOUBLE_EQ(c.upFactor, (-200.0 + 32768) / 300);
    EXPECT_EQ(device.threshold(), 7);
    EXPECT_EQ(device.scaled({100, -200}), QPoint(0, 0));
    EXPECT_EQ(device.scaled({32767, -32768}), QPoint(400, -300));
    // The rest position is read once: polling again later does not take a new one.
    SDL_JoystickSetVirtualAxis(handle, 0, 5000);
    device.setPolling(true);
    device.setPolling(false);
    EXPECT_EQ(device.restPosition(), QPoint(100, -200));
    EXPECT_EQ(device.scaled({100, -200}), QPoint(0, 0));
    device.close();
    EXPECT_FALSE(device.isOpen());
}

TEST_F(VirtualJoystick, ReportsMovesOverTheFullRawRange) {
    JoystickDevice device;
    ASSERT_TRUE(device.open(deviceIndex));
    device.setPolling(true);
    QSignalSpy moved(&device, &JoystickDevice::moved);
    SDL_JoystickSetVirtualAxis(handle, 0, -32768);
    ASSERT_TRUE(moved.wait(1000));
    EXPECT_EQ(moved.last().at(0).toInt(), -32768);
    SDL_JoystickSetVirtualAxis(handle, 1, 32767);
    ASSERT_TRUE(moved.wait(1000));
    EXPECT_EQ(moved.last().at(0).toInt(), -32768);
    EXPECT_EQ(moved.last().at(1).toInt(), 32767);
    EXPECT_EQ(device.position(), QPoint(-32768, 32767));
    // No change, no signal.
    const auto before = moved.count();
    EXPECT_FALSE(moved.wait(50));
    EXPECT_EQ(moved.count(), before);
}

TEST_F(VirtualJoystick, ReportsAMoveOnlyBeyondTheThresholdFromTheLastReport) {
    JoystickDevice device;
    ASSERT_TRUE(device.open(deviceIndex));
    QSignalSpy moved(&device, &JoystickDevice::moved);
    const auto moveTo = [&](int x, int y) {
        SDL_JoystickSetVirtualAxis(handle, 0, static_cast<Sint16>(x));
        SDL_JoystickSetVirtualAxis(handle, 1, static_cast<Sint16>(y));
        device.poll();
    };
    moveTo(7, -7); // within the threshold of 7 on both axes
    EXPECT_EQ(moved.count(), 0);
    EXPECT_EQ(device.position(), QPoint(7, -7)) << "read, but not news";
    moveTo(8, 0);
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.last().at(0).toInt(), 8);
    // Small steps count from the last report, so a slow creep is reported in the end.
    moveTo(12, 0);
    moveTo(15, 0);
    EXPECT_EQ(moved.count(), 1);
    moveTo(16, 0);
    EXPECT_EQ(moved.count(), 2);
    moveTo(16, -8);
    EXPECT_EQ(moved.count(), 3) << "either axis";

    // What happens while nobody polls is not news when polling starts again.
    moveTo(16, -8);
    SDL_JoystickSetVirtualAxis(handle, 0, -20000);
    SDL_JoystickUpdate();
    device.setPolling(true);
    device.setPolling(false);
    device.poll();
    EXPECT_EQ(moved.count(), 3);
    moveTo(-20008, -8);
    ASSERT_EQ(moved.count(), 4) << "a stick held aside reports its next move";
    EXPECT_EQ(device.scaled({moved.last().at(0).toInt(), moved.last().at(1).toInt()}).x(),
              -244); // 20008 / (32768 / 400)
}

// A move is timed by the polls around it: after the poll before, by the poll that found it,
// in the middle of the two. The time is there only while the move is reported.
TEST_F(VirtualJoystick, TimesAMoveInTheMiddleOfThePollsAroundIt) {
    using Clock = std::chrono::steady_clock;
    JoystickDevice device;
    ASSERT_TRUE(device.open(deviceIndex));
    std::vector<Clock::time_point> stamps;
    QObject::connect(&device, &JoystickDevice::moved, [&] {
        ASSERT_TRUE(device.moveTime());
        stamps.push_back(*device.moveTime());
    });
    const Clock::time_point firstBefore = Clock::now();
    device.poll();
    const Clock::time_point firstAfter = Clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    SDL_JoystickSetVirtualAxis(handle, 0, 20000);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const Clock::time_point secondBefore = Clock::now();
    device.poll();
    const Clock::time_point secondAfter = Clock::now();
    ASSERT_EQ(stamps.size(), 1U);
    EXPECT_GE(stamps[0], firstBefore + (secondBefore - firstBefore) / 2);
    EXPECT_LE(stamps[0], firstAfter + (secondAfter - firstAfter) / 2);
    EXPECT_FALSE(device.moveTime()) << "outside the report";

    // Once polling has been off there is no poll before to count from: the move's time is
    // that of the poll that found it.
    device.setPolling(true);
    device.setPolling(false);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    SDL_JoystickSetVirtualAxis(handle, 0, -20000);
    const Clock::time_point beforeLast = Clock::now();
    device.poll();
    ASSERT_EQ(stamps.size(), 2U);
    EXPECT_GE(stamps[1], beforeLast);
    EXPECT_LE(stamps[1], Clock::now());
}

TEST_F(VirtualJoystick, ReportsButtonPressAndRelease) {
    JoystickDevice device;
    ASSERT_TRUE(device.open(deviceIndex));
    device.setPolling(true);
    QSignalSpy buttons(&device, &JoystickDevice::buttonChanged);
    SDL_JoystickSetVirtualButton(handle, 2, SDL_PRESSED);
    ASSERT_TRUE(buttons.wait(1000));
    EXPECT_EQ(buttons.last().at(0).toInt(), 2);
    EXPECT_TRUE(buttons.last().at(1).toBool());
    EXPECT_TRUE(device.buttonDown(2));
    SDL_JoystickSetVirtualButton(handle, 2, SDL_RELEASED);
    ASSERT_TRUE(buttons.wait(1000));
    EXPECT_FALSE(buttons.last().at(1).toBool());
    EXPECT_FALSE(device.buttonDown(2));
    EXPECT_FALSE(device.buttonDown(99));
}

TEST(JoystickDevice, NoSuchJoystickIsNotPresent) {
    JoystickDevice device;
    EXPECT_FALSE(device.open(50));
    EXPECT_FALSE(device.isOpen());
    device.poll(); // harmless when closed
}

TEST(JoystickDevice, LeavesTheTerminationSignalToTheProgram) {
    JoystickDevice probe;
    probe.open(50); // no such joystick, but the device has told SDL how to start
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 1, 0);
    ASSERT_GE(index, 0);
    JoystickDevice device;
    EXPECT_TRUE(device.open(index));
    struct sigaction current {};
    ASSERT_EQ(sigaction(SIGTERM, nullptr, &current), 0);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
    ASSERT_EQ(sigaction(SIGINT, nullptr, &current), 0);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
    device.close();
    SDL_JoystickDetachVirtual(index);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}
