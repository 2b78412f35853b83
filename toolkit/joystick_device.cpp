#include "toolkit/joystick_device.h"

#include "toolkit/sdl_library.h"

#include <algorithm>
#include <cstdlib>

namespace quendal {

JoystickDevice::JoystickDevice(QObject* parent) : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(1);
    connect(&timer_, &QTimer::timeout, this, &JoystickDevice::poll);
}

JoystickDevice::~JoystickDevice() {
    close();
}

bool JoystickDevice::open(int deviceIndex) {
    close();
    if (sdl() == nullptr) {
        return false; // no SDL, no joystick
    }
    // The program has no SDL window, so the joystick must be read while SDL thinks it is
    // in the background.
    sdl()->SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // SDL must not take SIGINT and SIGTERM away from the program: they still end it.
    sdl()->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl()->InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
        return false;
    }
    subsystemStarted_ = true;
    // The device is read directly on every poll; its events would only fill SDL's queue.
    sdl()->JoystickEventState(SDL_IGNORE);
    sdl()->JoystickUpdate();
    if (deviceIndex < 0 || deviceIndex >= sdl()->NumJoysticks()) {
        close();
        return false;
    }
    joystick_ = sdl()->JoystickOpen(deviceIndex);
    if (joystick_ == nullptr) {
        close();
        return false;
    }
    sdl()->JoystickUpdate();
    position_ = readPosition();
    notified_ = position_;
    rest_ = position_;
    calibration_ =
        calibrateJoystick(SDL_JOYSTICK_AXIS_MIN, SDL_JOYSTICK_AXIS_MAX, SDL_JOYSTICK_AXIS_MIN,
                          SDL_JOYSTICK_AXIS_MAX, rest_.x(), rest_.y());
    threshold_ = joystickMoveThreshold(SDL_JOYSTICK_AXIS_MAX);
    buttons_.assign(static_cast<std::size_t>(std::max(0, sdl()->JoystickNumButtons(joystick_))), 0);
    for (std::size_t b = 0; b < buttons_.size(); ++b) {
        buttons_[b] = sdl()->JoystickGetButton(joystick_, static_cast<int>(b));
    }
    return true;
}

void JoystickDevice::setPolling(bool on) {
    if (on && joystick_ != nullptr) {
        // What changed while nobody listened is not news; only changes from now on are. A
        // stick held off its centre now reports its direction with its next move.
        sdl()->JoystickUpdate();
        position_ = readPosition();
        notified_ = position_;
        for (std::size_t b = 0; b < buttons_.size(); ++b) {
            buttons_[b] = sdl()->JoystickGetButton(joystick_, static_cast<int>(b));
        }
        lastPoll_ = std::chrono::steady_clock::now();
        timer_.start();
    } else {
        timer_.stop();
        lastPoll_.reset();
    }
}

void JoystickDevice::close() {
    timer_.stop();
    lastPoll_.reset();
    if (joystick_ != nullptr) {
        sdl()->JoystickClose(joystick_);
        joystick_ = nullptr;
    }
    if (subsystemStarted_) {
        sdl()->QuitSubSystem(SDL_INIT_JOYSTICK);
        subsystemStarted_ = false;
    }
    buttons_.clear();
}

QPoint JoystickDevice::readPosition() const {
    const int axes = sdl()->JoystickNumAxes(joystick_);
    const int x = axes > 0 ? sdl()->JoystickGetAxis(joystick_, 0) : 0;
    const int y = axes > 1 ? sdl()->JoystickGetAxis(joystick_, 1) : 0;
    return {x, y};
}

QPoint JoystickDevice::scaled(QPoint raw) const {
    const ScaledJoystickPosition s = scaleJoystickPosition(calibration_, raw.x(), raw.y());
    return {s.x, s.y};
}

bool JoystickDevice::buttonDown(int button) const {
    return button >= 0 && button < buttonCount() && buttons_[static_cast<std::size_t>(button)];
}

std::optional<std::chrono::steady_clock::time_point> JoystickDevice::moveTime() const {
    return reportingMove_ ? std::optional(moveTime_) : std::nullopt;
}

void JoystickDevice::poll() {
    if (joystick_ == nullptr) {
        return;
    }
    sdl()->JoystickUpdate();
    const auto polled = std::chrono::steady_clock::now();
    const std::optional<std::chrono::steady_clock::time_point> before = lastPoll_;
    lastPoll_ = polled;
    if (!sdl()->JoystickGetAttached(joystick_)) {
        return; // unplugged: nothing moves any more
    }
    position_ = readPosition();
    if (std::abs(position_.x() - notified_.x()) > threshold_ ||
        std::abs(position_.y() - notified_.y()) > threshold_) {
        notified_ = position_;
        moveTime_ = before && *before < polled ? *before + (polled - *before) / 2 : polled;
        reportingMove_ = true;
        emit moved(position_.x(), position_.y());
        reportingMove_ = false;
    }
    for (std::size_t b = 0; b < buttons_.size(); ++b) {
        const uint8_t down = sdl()->JoystickGetButton(joystick_, static_cast<int>(b));
        if (down != buttons_[b]) {
            buttons_[b] = down;
            emit buttonChanged(static_cast<int>(b), down != 0);
        }
    }
}

} // namespace quendal
