#pragma once
// The one pseudo-random generator of the program. It is seeded from the time of day when the
// program starts; the main window seeds it again when it is created, and tests seed it with a
// fixed number to replay a run.

#include <cstdint>

namespace quendal {

// A uniformly distributed whole number from 0 to n - 1; 0 for n of 1 or less.
int32_t RandomBelow(int32_t n);

// Seeds the generator from the time of day (nanoseconds of the system clock).
void SeedRandomFromClock();

// Seeds the generator with a fixed number, so that the following draws repeat.
void SeedRandom(uint64_t seed);

} // namespace quendal
