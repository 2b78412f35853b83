#pragma once
// The display server's clock on the stop watch's clock. An X server stamps its events with its
// own time in whole milliseconds, 32 bits wide, wrapping every 49.7 days; on Linux that time is
// the monotonic clock, the one std::chrono::steady_clock reads, cut to whole milliseconds. A
// server time T then says that the event happened in [T, T + 1 ms) of steady_clock. What the
// program saw itself brackets the same event: a request is not handled before it was sent nor
// after its answer came back, and an input event is not handled before it happened. The time
// of an event is the middle of what both say. Where they contradict each other the server's
// stamp is stale or its clock is another one, and the stamp is not used.
//
// Whether the relation holds at all is checked once, at start-up, with a few round trips.

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace quendal {

using SteadyTime = std::chrono::steady_clock::time_point;

// How far a server stamp may lie outside what the program saw and still be taken, as the end
// of the bracket nearest to it: a server that rounds its milliseconds instead of cutting them
// is half a millisecond ahead.
constexpr auto kStampTolerance = std::chrono::milliseconds(1);

// The steady time at which server millisecond `serverMs` begins, in the 2^32 ms cycle of the
// server's clock nearest to `near`.
SteadyTime ServerMsOnSteady(uint32_t serverMs, SteadyTime near);

// The time of an event that the server stamped `serverMs` and that the program knows happened
// no earlier than `notBefore` and no later than `notAfter`: the middle of the stamped
// millisecond and the bracket where they overlap. Empty when they lie more than
// kStampTolerance apart, or when the bracket is reversed.
std::optional<SteadyTime> StampedTime(uint32_t serverMs, SteadyTime notBefore, SteadyTime notAfter);

// One look at the server's clock: a request sent at `sent`, handled at the server's time
// `serverMs`, its answer back at `received`.
struct ServerClockSample {
    SteadyTime sent;
    uint32_t serverMs = 0;
    SteadyTime received;
};

// Looks narrower than this tell the two clocks apart; wider ones only must not contradict.
constexpr auto kNarrowSample = std::chrono::milliseconds(2);
// The narrow looks a verdict needs.
constexpr int kNarrowSamplesNeeded = 3;

// Whether the server's clock is steady_clock in whole milliseconds: no sample contradicts it
// and at least kNarrowSamplesNeeded of them were taken within kNarrowSample.
bool ServerClockIsSteady(const std::vector<ServerClockSample>& samples);

} // namespace quendal
