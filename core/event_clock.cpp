#include "core/event_clock.h"

#include <algorithm>

namespace quendal {

namespace {

using Milliseconds = std::chrono::milliseconds;

} // namespace

SteadyTime ServerMsOnSteady(uint32_t serverMs, SteadyTime near) {
    const int64_t nearMs = std::chrono::floor<Milliseconds>(near.time_since_epoch()).count();
    // The distance within one cycle of 2^32 ms, either way: the difference of the low 32 bits
    // read as a signed number.
    const auto distance = static_cast<int32_t>(serverMs - static_cast<uint32_t>(nearMs));
    return SteadyTime(Milliseconds(nearMs + distance));
}

std::optional<SteadyTime> StampedTime(uint32_t serverMs, SteadyTime notBefore,
                                      SteadyTime notAfter) {
    if (notAfter < notBefore) {
        return std::nullopt;
    }
    const SteadyTime begins = ServerMsOnSteady(serverMs, notAfter);
    const SteadyTime ends = begins + Milliseconds(1);
    const SteadyTime low = std::max(begins, notBefore);
    const SteadyTime high = std::min(ends, notAfter);
    if (low <= high) {
        return low + (high - low) / 2;
    }
    // No overlap: the stamp is taken, at the bracket's nearer end, only when it is just
    // outside.
    if (begins > notAfter) {
        return begins - notAfter <= kStampTolerance ? std::optional(notAfter) : std::nullopt;
    }
    return notBefore - ends <= kStampTolerance ? std::optional(notBefore) : std::nullopt;
}

bool ServerClockIsSteady(const std::vector<ServerClockSample>& samples) {
    int narrow = 0;
    for (const ServerClockSample& s : samples) {
        if (!StampedTime(s.serverMs, s.sent, s.received)) {
            return false;
        }
        if (s.received - s.sent <= kNarrowSample) {
            ++narrow;
        }
    }
    return narrow >= kNarrowSamplesNeeded;
}

} // namespace quendal
