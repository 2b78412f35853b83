#include "core/random.h"

#include <chrono>
#include <random>

namespace quendal {

namespace {

uint64_t clockSeed() {
    return static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

std::mt19937_64& generator() {
    static std::mt19937_64 engine(clockSeed());
    return engine;
}

} // namespace

int32_t RandomBelow(int32_t n) {
    if (n <= 1) {
        return 0;
    }
    std::uniform_int_distribution<int32_t> draw(0, n - 1);
    return draw(generator());
}

void SeedRandomFromClock() {
    generator().seed(clockSeed());
}

void SeedRandom(uint64_t seed) {
    generator().seed(seed);
}

} // namespace quendal
