// The display server's clock on the steady clock: where a stamp puts an event, which stamps
// are not believed, the start-up check of the relation, and the stop watch that takes them.

#include "core/event_clock.h"
#include "core/run_engine.h"

#include <gtest/gtest.h>

namespace quendal {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

// A steady time `ms` milliseconds and `us` microseconds after the clock's epoch.
SteadyTime at(int64_t ms, int64_t us = 0) {
    return SteadyTime(milliseconds(ms) + microseconds(us));
}

TEST(EventClockTest, AStampIsTheMiddleOfItsMillisecondAndWhatTheProgramSaw) {
    // Server millisecond 5000 and a bracket inside it: the bracket's middle.
    EXPECT_EQ(StampedTime(5000, at(5000, 200), at(5000, 600)), at(5000, 400));
    // A bracket reaching past the millisecond on both sides: the millisecond's middle.
    EXPECT_EQ(StampedTime(5000, at(4990), at(5010)), at(5000, 500));
    // A key handled 3 ms after its stamp: the middle of its millisecond.
    EXPECT_EQ(StampedTime(5000, at(4000), at(5003)), at(5000, 500));
    // Handled within its millisecond: between the millisecond's start and the handler.
    EXPECT_EQ(StampedTime(5000, at(4000), at(5000, 300)), at(5000, 150));

    // Just outside, by less than the tolerance: the bracket's nearer end.
    EXPECT_EQ(StampedTime(5001, at(5000, 100), at(5000, 800)), at(5000, 800));
    EXPECT_EQ(StampedTime(4999, at(5000, 100), at(5000, 800)), at(5000, 100));
    // Stale or ahead by more: not believed.
    EXPECT_EQ(StampedTime(4998, at(5000, 100), at(5000, 800)), std::nullopt);
    EXPECT_EQ(StampedTime(5002, at(5000, 100), at(5000, 800)), std::nullopt);
    EXPECT_EQ(StampedTime(5000 - 3'600'000, at(4000), at(5000)), std::nullopt);
    EXPECT_EQ(StampedTime(0, at(4000), at(5000)), std::nullopt);
    // A reversed bracket says nothing.
    EXPECT_EQ(StampedTime(5000, at(5000, 600), at(5000, 200)), std::nullopt);

    // The server's 32-bit milliseconds wrap every 49.7 days; the cycle nearest the program's
    // time is the one meant, on either side of the wrap.
    const int64_t wrap = int64_t{1} << 32;
    EXPECT_EQ(ServerMsOnSteady(3, at(3 * wrap + 1)), at(3 * wrap + 3));
    EXPECT_EQ(ServerMsOnSteady(0xFFFFFFFEU, at(3 * wrap + 1)), at(3 * wrap - 2));
    EXPECT_EQ(ServerMsOnSteady(2, at(3 * wrap - 1)), at(3 * wrap + 2));
    EXPECT_EQ(StampedTime(0xFFFFFFFFU, at(3 * wrap - 5), at(3 * wrap, 200)), at(3 * wrap - 1, 500));
}

TEST(EventClockTest, TheStartUpCheckWantsNarrowLooksThatAllFit) {
    const auto look = [](int64_t sentUs, uint32_t serverMs, int64_t receivedUs) {
        return ServerClockSample{at(0, sentUs), serverMs, at(0, receivedUs)};
    };
    // Three round trips of 0.1 ms, each stamped in its millisecond.
    const std::vector<ServerClockSample> steady{look(7'000'100, 7000, 7'000'200),
                                                look(7'001'950, 7001, 7'002'050),
                                                look(7'003'500, 7003, 7'003'600)};
    EXPECT_TRUE(ServerClockIsSteady(steady));

    // Two narrow looks are too few; wide ones do not count towards a verdict.
    EXPECT_FALSE(ServerClockIsSteady({steady[0], steady[1]}));
    EXPECT_FALSE(ServerClockIsSteady({steady[0], steady[1], look(7'010'000, 7015, 7'020'000),
                                      look(7'030'000, 7031, 7'040'000)}));
    EXPECT_TRUE(
        ServerClockIsSteady({steady[0], steady[1], look(7'010'000, 7015, 7'020'000), steady[2]}));

    // A server 3 ms behind or ahead, a stale one, and one that counts from another start: one
    // look that does not fit is enough.
    for (const int64_t offset : {-3, 3, -2000, 1'000'000'000}) {
        SCOPED_TRACE(offset);
        std::vector<ServerClockSample> skewed = steady;
        skewed[1].serverMs = static_cast<uint32_t>(skewed[1].serverMs + offset);
        EXPECT_FALSE(ServerClockIsSteady(skewed));
    }
    // A clock that stands still fits one look at most.
    EXPECT_FALSE(
        ServerClockIsSteady({look(7'000'100, 7000, 7'000'200), look(7'005'100, 7000, 7'005'200),
                             look(7'010'100, 7000, 7'010'200)}));
    EXPECT_FALSE(ServerClockIsSteady({}));
}

TEST(EventClockTest, TheStopWatchTakesEachStampOnceAndNeverReadsBelowZero) {
    SteadyStopWatch watch;
    watch.StampStart(at(1000));
    watch.Start();
    EXPECT_EQ(watch.StartedAt(), at(1000));
    watch.StampStop(at(1250, 700));
    watch.Stop();
    EXPECT_EQ(watch.StoppedAt(), at(1250, 700));
    EXPECT_DOUBLE_EQ(watch.ElapsedMs(), 250.7);

    // Used once: the next round's ends come from the clock unless stamped again.
    watch.Start();
    EXPECT_GT(watch.StartedAt(), at(1000));
    watch.Stop();
    EXPECT_GE(watch.StoppedAt(), watch.StartedAt());

    // A stop stamp left over from a key that stopped nothing is gone with the next start.
    watch.StampStop(at(10));
    watch.Start();
    watch.Stop();
    EXPECT_NE(watch.StoppedAt(), at(10));

    // A stop before the start (a key pressed before the frame was there) reads 0.
    watch.StampStart(at(2000));
    watch.Start();
    watch.StampStop(at(1990));
    watch.Stop();
    EXPECT_EQ(watch.ElapsedMs(), 0.0);
}

} // namespace
} // namespace quendal
