#include "run/server_stamps.h"

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <poll.h>
#include <vector>
#include <xcb/damage.h>
#include <xcb/xcb.h>

namespace quendal {

namespace {

using Clock = std::chrono::steady_clock;

// The longest wait for the server to take a frame; a busy machine takes a few milliseconds.
constexpr auto kFrameWait = std::chrono::milliseconds(250);
// An input event handled later than this after its stamp is not believed to be that old.
constexpr auto kLongestInputLag = std::chrono::seconds(1);
// The start-up check gives up after this many looks without enough narrow ones.
constexpr int kMostSamples = 12;
constexpr char kFrameAtom[] = "_QUENDAL_FRAME";

bool gUseServerStamps = true;
std::optional<bool> gServerClockIsSteady;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

// Qt's own connection to the X server, or none off the xcb platform.
xcb_connection_t* qtConnection() {
    if (qGuiApp == nullptr || QGuiApplication::platformName() != QLatin1String("xcb")) {
        return nullptr;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

// Returns once the server has carried out every request sent before.
void roundTrip(xcb_connection_t* connection) {
    Reply<xcb_get_input_focus_reply_t>(
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

void dropQueuedEvents(xcb_connection_t* connection) {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
        std::free(event);
    }
}

// What the own connection heard of the window while it waited for the frame.
struct FrameEvents {
    std::optional<uint32_t> drawn;   // the server time of the first drawing
    std::optional<uint32_t> changed; // the server time of the property change
};

// Waits until `connection` hears of the next change of `atom` on `window`, noting the first
// damage report of `damageEvent` (0: none) on the way; by `deadline` at the latest, or until
// the connection broke.
FrameEvents awaitPropertyChange(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t atom,
                                uint8_t damageEvent, Clock::time_point deadline) {
    FrameEvents heard;
    for (;;) {
        while (xcb_generic_event_t* raw = xcb_poll_for_event(connection)) {
            const Reply<xcb_generic_event_t> event(raw);
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_PROPERTY_NOTIFY) {
                const auto* notify = reinterpret_cast<xcb_property_notify_event_t*>(raw);
                if (notify->window == window && notify->atom == atom) {
                    heard.changed = notify->time;
                    return heard;
                }
            } else if (damageEvent != 0 && type == damageEvent && !heard.drawn) {
                heard.drawn = reinterpret_cast<xcb_damage_notify_event_t*>(raw)->timestamp;
            }
        }
        if (xcb_connection_has_error(connection) != 0) {
            return heard;
        }
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return heard;
        }
        pollfd entry{xcb_get_file_descriptor(connection), POLLIN, 0};
        poll(&entry, 1, static_cast<int>(left));
    }
}

void changeProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t atom,
                    uint32_t value) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atom, XCB_ATOM_CARDINAL, 32, 1,
                        &value);
    xcb_flush(connection);
}

// The start-up check: changes a property of a window of its own a few times, each change
// bracketed by the steady clock, and asks whether the server's times fit.
bool checkServerClock(xcb_connection_t* connection, xcb_atom_t atom) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (screen == nullptr) {
        return false;
    }
    const xcb_window_t window = xcb_generate_id(connection);
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection, 0, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    std::vector<ServerClockSample> samples;
    int narrow = 0;
    for (int i = 0; i < kMostSamples && narrow < kNarrowSamplesNeeded; ++i) {
        // Read before the request goes out: the server may handle it before this thread
        // runs again.
        const Clock::time_point sent = Clock::now();
        changeProperty(connection, window, atom, static_cast<uint32_t>(i));
        const std::optional<uint32_t> serverMs =
            awaitPropertyChange(connection, window, atom, 0, sent + kFrameWait).changed;
        const Clock::time_point received = Clock::now();
        if (!serverMs) {
            break;
        }
        samples.push_back({sent, *serverMs, received});
        if (received - sent <= kNarrowSample) {
            ++narrow;
        }
    }
    xcb_destroy_window(connection, window);
    xcb_flush(connection);
    return ServerClockIsSteady(samples);
}

} // namespace

ServerStamps::~ServerStamps() {
    detach();
}

bool ServerStamps::serverClockIsSteady() {
    return gServerClockIsSteady.value_or(false);
}

void ServerStamps::useServerStamps(bool on) {
    gUseServerStamps = on;
}

void ServerStamps::attach(QWidget* window) {
    detach();
    framesStamped_ = 0;
    eventsStamped_ = 0;
    if (!gUseServerStamps || window == nullptr || qtConnection() == nullptr) {
        return;
    }
    // The same display as Qt's: the window is looked up there, and is not found elsewhere.
    own_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(own_) != 0) {
        detach();
        return;
    }
    const Reply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        own_, xcb_intern_atom(own_, 0, std::strlen(kFrameAtom), kFrameAtom), nullptr));
    if (!atom) {
        detach();
        return;
    }
    atom_ = atom->atom;
    // A verdict that the clocks agree holds for the process; one that they do not, or that
    // the looks were too slow to tell, is made again at the next showing.
    if (!gServerClockIsSteady.value_or(false)) {
        gServerClockIsSteady = checkServerClock(own_, atom_);
    }
    window_ = static_cast<uint32_t>(window->winId());
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    const Reply<xcb_generic_error_t> error(xcb_request_check(
        own_, xcb_change_window_attributes_checked(own_, window_, XCB_CW_EVENT_MASK, &mask)));
    if (!*gServerClockIsSteady || error) {
        detach();
        return;
    }
    // Every drawing into the window is reported, as it happens.
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(own_, &xcb_damage_id);
    if (damage != nullptr && damage->present != 0 &&
        Reply<xcb_damage_query_version_reply_t>(
            xcb_damage_query_version_reply(own_, xcb_damage_query_version(own_, 1, 1), nullptr))) {
        damage_ = xcb_generate_id(own_);
        damageEvent_ = static_cast<uint8_t>(damage->first_event + XCB_DAMAGE_NOTIFY);
        xcb_damage_create(own_, damage_, window_, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        xcb_flush(own_);
    }
}

void ServerStamps::detach() {
    if (own_ != nullptr) {
        xcb_disconnect(own_);
        own_ = nullptr;
    }
    window_ = 0;
    damage_ = 0;
    damageEvent_ = 0;
}

void ServerStamps::beginFrame() {
    if (own_ != nullptr) {
        // What was drawn before is not the frame.
        dropQueuedEvents(own_);
    }
    frameBegun_ = Clock::now();
}

SteadyTime ServerStamps::present() {
    xcb_connection_t* qt = qtConnection();
    if (qt == nullptr) {
        return Clock::now();
    }
    if (own_ != nullptr) {
        // The clock is read before the change goes out: once it is written, the server may
        // handle it (and this thread may lose the processor) before the next reading.
        const Clock::time_point sent = Clock::now();
        changeProperty(qt, window_, atom_, ++frame_);
        const FrameEvents heard =
            awaitPropertyChange(own_, window_, atom_, damageEvent_, sent + kFrameWait);
        const Clock::time_point received = Clock::now();
        if (heard.changed) {
            const std::optional<SteadyTime> changed = StampedTime(*heard.changed, sent, received);
            // The drawing came before the change: after the painting began, before the change
            // was handled.
            const SteadyTime drawnBy =
                changed ? std::min(received, ServerMsOnSteady(*heard.changed, received) +
                                                 std::chrono::milliseconds(1))
                        : received;
            std::optional<SteadyTime> drawn;
            if (heard.drawn) {
                drawn = StampedTime(*heard.drawn, std::min(frameBegun_, sent), drawnBy);
            }
            if (!drawn) {
                drawn = changed;
            }
            if (drawn) {
                ++framesStamped_;
                return *drawn;
            }
            return received; // the frame is there; its stamp does not fit
        }
        if (xcb_connection_has_error(own_) != 0) {
            detach();
        }
    }
    roundTrip(qt);
    return Clock::now();
}

SteadyTime ServerStamps::eventTime(unsigned long long timestamp, SteadyTime handled) {
    if (own_ == nullptr || timestamp == 0) {
        return handled;
    }
    const std::optional<SteadyTime> stamped =
        StampedTime(static_cast<uint32_t>(timestamp), handled - kLongestInputLag, handled);
    if (!stamped) {
        return handled;
    }
    ++eventsStamped_;
    return *stamped;
}

} // namespace quendal
