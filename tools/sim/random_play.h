#pragma once
// Random play for the difficulty report: how often a player pressing moves at random gets
// through. Tries run from one settled board; boards met before are not simulated again.
#include <cstdint>

#include "world/world.h"

struct RandomPlayResult {
    std::int32_t tries = 0;       // tries played to the end (fewer than asked when stopped)
    std::int32_t completed = 0;   // tries in which the level completed at some move
    std::int64_t simulated = 0;   // moves actually run; the rest came from the cache
    bool interrupted = false;     // a stop request (Ctrl-C) ended the run early
};

// `tries` tries of `turns` uniformly random moves each, from `start` (a settled board). A try
// ends early when the level completes (it counts), fails or a board never settles within
// `maxFrames`. The moves come from a 64-bit Mersenne Twister seeded with `seed`, so the same
// seed gives the same tries everywhere.
RandomPlayResult PlayRandomly(const WorldSnapshot& start, std::int32_t tries, std::int32_t turns, std::uint64_t seed,
                              std::int32_t maxFrames);
