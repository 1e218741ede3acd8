#pragma once
// Fewest turns that complete a level: a breadth-first search over the four moves, starting
// from a settled board. Boards already seen (by the World's state hash) are not explored
// again; each layer keeps World snapshots instead of replaying moves from the start.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "world/world.h"

struct SolveLimits {
    std::int32_t maxTurns = 100;       // deepest solution looked for; 0 stops at once
    double timeLimit = 0.0;            // seconds; 0 is none
    std::int32_t maxFrames = 100000;   // per move: a board that never settles is a dead end
};

struct SolveResult {
    bool solvable = false;
    std::vector<std::string> moves;
    // Why no solution came out: "exhausted", "turn limit", "time limit" or "interrupted".
    std::string reason;
    std::int64_t states = 0;      // moves simulated to a settled or finished board
    std::int64_t distinct = 0;    // boards kept after duplicate detection
    std::int64_t unsettled = 0;   // moves whose board ran out of frames
    std::int64_t frames = 0;      // World updates run in all
    std::int32_t depth = 0;       // turns searched completely
    double seconds = 0.0;
};

// `start` is the board after the level was built and settled. Progress goes to `progress`
// (when given) at most once a second.
SolveResult Solve(const WorldSnapshot& start, const SolveLimits& limits, std::ostream* progress = nullptr);

// Asks the running (or the next) search to stop with what it has; safe to call from a signal
// handler. The search that stops takes the request back.
void RequestSolveStop();
