#include "toolkit/joystick_device.h"

#include <SDL2/SDL.h>
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
    // The program has no SDL window, so the joystick must be read while SDL thinks it is
    // in the background.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // SDL must not take SIGINT and SIGTERM away from the program: they still end it.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
        return false;
    }
    subsystemStarted_ = true;
    // The device is read directly on every poll; its events would only fill SDL's queue.
    SDL_JoystickEventState(SDL_IGNORE);
    SDL_JoystickUpdate();
    if (deviceIndex < 0 || deviceIndex >= SDL_NumJoysticks()) {
        close();
        return false;
    }
    joystick_ = SDL_JoystickOpen(deviceIndex);
    if (joystick_ == nullptr) {
        close();
        return false;
    }
    SDL_JoystickUpdate();
    position_ = readPosition();
    notified_ = position_;
    rest_ = position_;
    calibration_ =
        calibrateJoystick(SDL_JOYSTICK_AXIS_MIN, SDL_JOYSTICK_AXIS_MAX, SDL_JOYSTICK_AXIS_MIN,
                          SDL_JOYSTICK_AXIS_MAX, rest_.x(), rest_.y());
    threshold_ = joystickMoveThreshold(SDL_JOYSTICK_AXIS_MAX);
    buttons_.assign(static_cast<std::size_t>(std::max(0, SDL_JoystickNumButtons(joystick_))), 0);
    for (std::size_t b = 0; b < buttons_.size(); ++b) {
        buttons_[b] = SDL_JoystickGetButton(joystick_, static_cast<int>(b));
    }
    return true;
}

void JoystickDevice::setPolling(bool on) {
    if (on && joystick_ != nullptr) {
        // What changed while nobody listened is not news; only changes from now on are. A
        // stick held off its centre now reports its direction with its next move.
        SDL_JoystickUpdate();
        position_ = readPosition();
        notified_ = position_;
        for (std::size_t b = 0; b < buttons_.size(); ++b) {
            buttons_[b] = SDL_JoystickGetButton(joystick_, static_cast<int>(b));
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
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
    }
    if (subsystemStarted_) {
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        subsystemStarted_ = false;
    }
    buttons_.clear();
}

QPoint JoystickDevice::readPosition() const {
    const int axes = SDL_JoystickNumAxes(joystick_);
    const int x = axes > 0 ? SDL_JoystickGetAxis(joystick_, 0) : 0;
    const int y = axes > 1 ? SDL_JoystickGetAxis(joystick_, 1) : 0;
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
    SDL_JoystickUpdate();
    const auto polled = std::chrono::steady_clock::now();
    const std::optional<std::chrono::steady_clock::time_point> before = lastPoll_;
    lastPoll_ = polled;
    if (!SDL_JoystickGetAttached(joystick_)) {
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
        const uint8_t down = SDL_JoystickGetButton(joystick_, static_cast<int>(b));
        if (down != buttons_[b]) {
            buttons_[b] = down;
            emit buttonChanged(static_cast<int>(b), down != 0);
        }
    }
}

} // namespace quendal
