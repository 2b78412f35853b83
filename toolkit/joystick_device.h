#pragma once
// Joystick 1 through SDL's joystick subsystem (no SDL window): detection, the raw axis
// positions -32768..32767, their calibration and the buttons. A precise 1 ms timer on the
// user-interface thread polls the device and reports every move beyond the movement
// threshold and every button change as a signal, so a change reaches the screens within
// about 2 ms. A move is timed by the polls around it: it came after the poll before and by
// the poll that found it, so its time is the middle of the two. SDL's own event time is no
// closer: SDL stamps the event in that same poll, in whole milliseconds.

#include "core/joystick_calibration.h"

#include <QObject>
#include <QPoint>
#include <QTimer>
#include <SDL2/SDL_joystick.h>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace quendal {

class JoystickDevice : public QObject {
    Q_OBJECT
  public:
    explicit JoystickDevice(QObject* parent = nullptr);
    ~JoystickDevice() override;
    JoystickDevice(const JoystickDevice&) = delete;
    JoystickDevice& operator=(const JoystickDevice&) = delete;

    // Captures the joystick with the given SDL device index (0 is joystick 1) and takes its
    // position now as the rest position the calibration counts from; it is polled only while
    // polling is on. False when the subsystem cannot start or no such joystick exists.
    bool open(int deviceIndex = 0);
    void close();
    bool isOpen() const { return joystick_ != nullptr; }

    // Polls the open device every 1 ms while on; off, nothing wakes the program up. Turning it
    // on takes the position and buttons as they are now without reporting them: only changes
    // from then on are news. The rest position stays the one read at open.
    void setPolling(bool on);
    bool polling() const { return timer_.isActive(); }

    // Reads the device now and reports what changed; the timer calls this every 1 ms. A move
    // is reported when either axis has gone more than threshold() raw units from the position
    // reported last.
    void poll();

    // The position of the first two axes as last read.
    QPoint position() const { return position_; }
    // The position read when the joystick was captured, its rest position.
    QPoint restPosition() const { return rest_; }
    // The axis ranges and the rest position with the scale factors counted from it.
    const JoystickCalibration& calibration() const { return calibration_; }
    // The smallest change of a reported move, in raw units.
    int threshold() const { return threshold_; }
    // A raw position in scaled units, -400..400 in X and -300..300 in Y.
    QPoint scaled(QPoint raw) const;
    bool buttonDown(int button) const;
    // While a move is reported (during the signal moved): the time the stick moved. Empty at
    // any other time.
    std::optional<std::chrono::steady_clock::time_point> moveTime() const;
    int buttonCount() const { return static_cast<int>(buttons_.size()); }

  signals:
    // The raw position after a move beyond the threshold.
    void moved(int x, int y);
    void buttonChanged(int button, bool pressed);

  private:
    QPoint readPosition() const;

    SDL_Joystick* joystick_ = nullptr;
    bool subsystemStarted_ = false;
    QTimer timer_;
    QPoint position_;
    QPoint rest_;
    QPoint notified_;
    JoystickCalibration calibration_;
    int threshold_ = 0;
    std::vector<uint8_t> buttons_;
    // The end of the last poll, when the device was read, and the time of the move reported.
    std::optional<std::chrono::steady_clock::time_point> lastPoll_;
    std::chrono::steady_clock::time_point moveTime_{};
    bool reportingMove_ = false;
};

} // namespace quendal
