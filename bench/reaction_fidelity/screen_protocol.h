#pragma once
// The line protocol on standard output of the screens measured by reaction_fidelity_bench,
// free of any toolkit so that the plain-xcb floor program shares it:
//
//   CENTRE x y w h       the centre place in screen pixels, printed once the screen shows
//                        its first pause (the place is empty then)
//   ROUND i ms add       after the run: round i's recorded time and the random addition in it
//
// Nothing is printed during the rounds.

#include <cstdio>
#include <cstdlib>

namespace quendal::fidelity {

inline void printCentre(int x, int y, int width, int height) {
    std::printf("CENTRE %d %d %d %d\n", x, y, width, height);
    std::fflush(stdout);
}

// One ROUND line; the caller flushes after the last.
inline void printRound(long long round, long long recordedMs, long long additionMs) {
    std::printf("ROUND %lld %lld %lld\n", round, recordedMs, additionMs);
}

// The first command-line argument as the number of rounds, else `fallback`.
inline int roundsArgument(int argc, char** argv, int fallback) {
    if (argc < 2) {
        return fallback;
    }
    const int rounds = std::atoi(argv[1]);
    return rounds > 0 ? rounds : fallback;
}

} // namespace quendal::fidelity
