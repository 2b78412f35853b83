#pragma once
// The two ends of a reaction time from the X server's clock, so that a busy machine cannot
// move them: the server's time of the frame that shows the stimulus, and the key event's own
// time, both brought onto steady_clock (core/event_clock.h says how the clocks relate).
//
// The frame: the screen's own second connection to the server watches the run screen's window
// for damage; the server reports each drawing into it with its time (DamageNotify), and the
// first drawing after beginFrame() is the frame. Right after the painting a property of the
// window is changed through the connection that carried the picture, so the server handles it
// after the drawing: its PropertyNotify proves that the whole frame is on the server, which a
// round trip proved before, and its time bounds the frame's from above. The property alone
// is not enough: Qt sends the picture while it paints, and a program that loses the processor
// before the change goes out stamps its frame late by as long. Where the server reports no
// damage the property's time is the frame's.
//
// The key: the server's time of the key event (QKeyEvent::timestamp() on xcb).
//
// Each end falls back to the program's own time, as it was taken before there were stamps:
// the frame when a round trip after the drawing comes back, the key when its handler runs.
// That is the case off the xcb platform (the offscreen platform of the tests, native Wayland),
// when the start-up check finds that the server's clock is not steady_clock, and for any stamp
// that contradicts what the program saw itself.
//
// A seam for real displays: where the server drives a real CRTC with a refresh (Present
// extension), the vblank at which the frame is scanned out (PresentCompleteNotify's time, in
// microseconds of the same clock) would be a better start than the time the drawing was
// handled. Xvfb has no such CRTC and shows every drawing at once, so that path cannot be
// checked here and is not built; it would come into present() beside the damage stamp.

#include "core/event_clock.h"

#include <cstdint>

class QWidget;
struct xcb_connection_t;

namespace quendal {

class ServerStamps {
  public:
    ServerStamps() = default;
    ~ServerStamps();
    ServerStamps(const ServerStamps&) = delete;
    ServerStamps& operator=(const ServerStamps&) = delete;

    // Stamps the frames of `window`, which is shown. On xcb it opens its own connection to the
    // display and checks with a few round trips whether the server's clock is steady_clock in
    // whole milliseconds, until a check has found that it is. Without xcb, or when the check
    // fails, it leaves the program's own times in place.
    void attach(QWidget* window);
    void detach();
    // True when frames and keys are stamped by the server.
    bool stamping() const { return own_ != nullptr; }

    // Called right before the frame is painted.
    void beginFrame();
    // Hands what was painted to the display server, waits until the server has taken it, and
    // returns the time the frame was there.
    SteadyTime present();
    // The time of an input event with the server stamp `timestamp`, handled at `handled`.
    SteadyTime eventTime(unsigned long long timestamp, SteadyTime handled);

    // How many frames and events took the server's time since the last attach.
    int framesStamped() const { return framesStamped_; }
    int eventsStamped() const { return eventsStamped_; }

    // The verdict of the last start-up check in this process; false before one was made.
    static bool serverClockIsSteady();
    // Off, the run screen takes the program's own times even where the server could stamp
    // them; the benchmark measures both paths with it.
    static void useServerStamps(bool on);

  private:
    xcb_connection_t* own_ = nullptr;
    uint32_t window_ = 0;
    uint32_t atom_ = 0;
    uint32_t damage_ = 0;     // 0 without the Damage extension
    uint8_t damageEvent_ = 0; // the code of its DamageNotify
    uint32_t frame_ = 0;
    SteadyTime frameBegun_{};
    int framesStamped_ = 0;
    int eventsStamped_ = 0;
};

} // namespace quendal
