// reaction_floor_screen: the floor of what any X program can measure on this display and
// machine. One thread, plain xcb, no toolkit: a black full-screen window fills a rectangle in
// its middle after a pause of 700 ms, waits for the server's reply to a round trip, starts its
// stop watch, and stops it when a key press arrives; the time is cut to whole
// milliseconds like the run screen's. What the run screen adds to the error of this program is
// its own; what both show is the X server's and the machine's. Prints the protocol of
// screen_protocol.h; the recorded times carry no addition.
//
//   reaction_floor_screen [ROUNDS]

#include "screen_protocol.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <poll.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPauseMs = 700;
constexpr int kAfterAnswerMs = 1700; // feedback and pause of the next round
constexpr uint16_t kPictureWidth = 200;
constexpr uint16_t kPictureHeight = 120;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

class FloorScreen {
  public:
    explicit FloorScreen(xcb_connection_t* connection) : c_(connection) {
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
        width_ = screen->width_in_pixels;
        height_ = screen->height_in_pixels;
        window_ = xcb_generate_id(c_);
        const uint32_t values[] = {screen->black_pixel, 1,
                                   XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_KEY_PRESS};
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, width_, height_, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                          XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
        stimulus_ = xcb_generate_id(c_);
        const uint32_t blue = 0x2828a0;
        xcb_create_gc(c_, stimulus_, window_, XCB_GC_FOREGROUND, &blue);
        blank_ = xcb_generate_id(c_);
        xcb_create_gc(c_, blank_, window_, XCB_GC_FOREGROUND, &screen->black_pixel);
        xcb_map_window(c_, window_);
        xcb_set_input_focus(c_, XCB_INPUT_FOCUS_POINTER_ROOT, window_, XCB_CURRENT_TIME);
        roundTrip();
    }

    void reportCentre() const {
        const xcb_rectangle_t place = centre();
        quendal::fidelity::printCentre(place.x, place.y, place.width, place.height);
    }

    // Plays `rounds` rounds; false when the connection broke.
    bool play(int rounds) {
        for (int i = 0; i < rounds; ++i) {
            if (!waitFor(kPauseMs)) {
                return false;
            }
            fill(stimulus_);
            roundTrip();
            const Clock::time_point started = Clock::now();
            for (;;) {
                Reply<xcb_generic_event_t> event(xcb_wait_for_event(c_));
                if (!event) {
                    return false;
                }
                if ((event->response_type & 0x7f) == XCB_KEY_PRESS) {
                    break;
                }
            }
            times_.push_back(
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started)
                    .count());
            fill(blank_);
            xcb_flush(c_);
            if (!waitFor(kAfterAnswerMs - kPauseMs)) {
                return false;
            }
        }
        return true;
    }

    void reportRounds() const {
        for (std::size_t i = 0; i < times_.size(); ++i) {
            quendal::fidelity::printRound(static_cast<long long>(i) + 1, times_[i], 0);
        }
        std::fflush(stdout);
    }

  private:
    xcb_rectangle_t centre() const {
        return {static_cast<int16_t>((width_ - kPictureWidth) / 2),
                static_cast<int16_t>((height_ - kPictureHeight) / 2), kPictureWidth,
                kPictureHeight};
    }

    void fill(xcb_gcontext_t gc) {
        const xcb_rectangle_t place = centre();
        xcb_poly_fill_rectangle(c_, window_, gc, 1, &place);
    }

    void roundTrip() { std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr)); }

    // Lets `ms` pass, taking the events that come meanwhile (a key out of turn is dropped).
    bool waitFor(int ms) {
        const Clock::time_point until = Clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(c_)) {
                std::free(event);
            }
            if (xcb_connection_has_error(c_) != 0) {
                return false;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
            if (left.count() <= 0) {
                return true;
            }
            pollfd entry{xcb_get_file_descriptor(c_), POLLIN, 0};
            poll(&entry, 1, static_cast<int>(left.count()));
        }
    }

    xcb_connection_t* c_;
    uint16_t width_ = 0;
    uint16_t height_ = 0;
    xcb_window_t window_ = 0;
    xcb_gcontext_t stimulus_ = 0;
    xcb_gcontext_t blank_ = 0;
    std::vector<long long> times_;
};

} // namespace

int main(int argc, char** argv) {
    const int rounds = quendal::fidelity::roundsArgument(argc, argv, 40);
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        std::fputs("reaction_floor_screen: cannot open the display\n", stderr);
        xcb_disconnect(connection);
        return 1;
    }
    FloorScreen screen(connection);
    screen.reportCentre();
    const bool played = screen.play(rounds);
    if (played) {
        screen.reportRounds();
    }
    xcb_disconnect(connection);
    return played ? 0 : 1;
}
