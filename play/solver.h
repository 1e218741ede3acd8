#pragma once
// Fewest turns that complete a level: a breadth-first search over the four moves, starting
// from a settled board. Boards already seen (by the World's state hash) are not explored
// again; each layer keeps World snapshots instead of replaying moves from the start.
// The same search can also map every board within reach, for the difficulty report.
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "world/world.h"

struct SolveLimits {
    std::int32_t maxTurns = 100;       // deepest solution looked for; 0 stops at once
    double timeLimit = 0.0;            // seconds; 0 is none
    std::int32_t maxFrames = 100000;   // per move: a board that never settles is a dead end
    // Off: every sub-step is run, none skipped where pieces only fall (the reference).
    bool skipFreeFall = true;
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

// Every board within the limits, searched as Solve searches but on past the first solution.
struct Exploration {
    SolveResult solve;  // the first solution, or why there is none, as Solve reports it
    // Move sequences of exactly the fewest turns that complete the level (saturates at the
    // largest int64), and whether the last layer they end in was searched to its end.
    std::int64_t optimal = 0;
    bool optimalComplete = false;
    // Distinct boards reached: settled ones still in play, and failed ones. Dead ends are
    // those from which no sequence completes the level (every failed board is one). When a
    // limit cut the search short, a board counts as a dead end only if everything after it
    // was searched, so the count is then a lower bound.
    std::int64_t reachable = 0;
    std::int64_t deadEnds = 0;
    // What stopped the search before it ran out of boards: "", "turn limit", "time limit"
    // or "interrupted".
    std::string stop;
};

Exploration Explore(const WorldSnapshot& start, const SolveLimits& limits, std::ostream* progress = nullptr);

// The same search, taken a slice at a time: a program with a window keeps drawing frames
// between slices. Solve and Explore run one to its end. The search owns a World of its own
// and a copy of every board it keeps; it touches no other state but the stop request.
class SolveSearch {
public:
    SolveSearch(const WorldSnapshot& start, const SolveLimits& limits, bool explore = false,
                std::ostream* progress = nullptr);
    ~SolveSearch();
    SolveSearch(SolveSearch&&) noexcept;
    SolveSearch& operator=(SolveSearch&&) noexcept;

    // Searches on for about `seconds` of wall time (always at least one move); true once the
    // search has ended. The time limit counts from construction, slices and pauses alike.
    bool Run(double seconds);
    void RunToEnd();
    // Ends the search now with what it has, as an interrupted one.
    void Stop();
    // Shows `watch` every board the search keeps from now on, still in play and settled,
    // as the search's own World holds it.
    void WatchBoards(std::function<void(const World&)> watch);

    bool Done() const;
    // Final once Done.
    const Exploration& Outcome() const;
    // Progress so far: moves simulated, the turn depth being searched, seconds since the start.
    std::int64_t States() const;
    std::int32_t Depth() const;
    double Seconds() const;

private:
    struct State;
    std::unique_ptr<State> state;
};

// A one-frame picture shows frame 0 whatever its animation clock says, yet the clock counts
// on in every frame and is part of the state hash: the same board reached after a different
// number of frames would never count as seen. Stopping those clocks changes nothing else.
void StopStillClocks(World& world);

// Asks the running (or the next) search to stop with what it has; safe to call from a signal
// handler. The search that stops takes the request back.
void RequestSolveStop();
// Takes back a pending stop request: true when there was one. For other long runs that
// honour Ctrl-C the way a search does.
bool TakeSolveStopRequest();
