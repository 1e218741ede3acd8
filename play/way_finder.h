#pragma once
// What the solver can tell a player about the board at rest: the next turn of a shortest way
// to win, or that no way is left. Each board at rest is searched a slice at a time between
// frames, from a copy of the board as the player sees it, in a World of the search's own.
// What was learnt is kept for each board, and a way found is played through out of sight so
// that every board on it is known as well: taking a turn back, restarting or following the
// way needs no new search.
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "play/solver.h"
#include "play/turn_engine.h"
#include "world/world.h"

struct WayFinderLimits {
    // Per board, counted from the start of its search, frames between slices included; 0 is none.
    double searchSeconds = 30.0;
    std::int32_t maxTurns = 100;
    // Per turn: one that runs longer counts as never coming to rest, and a search that met
    // one proves no dead end.
    std::int32_t maxFrames = 5000;
    // Searching done in one frame: with the frame's own work it stays well under 16 ms.
    double sliceSeconds = 0.006;
};

// What is known of one board at rest.
struct WayOn {
    enum class Kind {
        Winnable,   // `moves` is a shortest way to win, the next turn first
        DeadEnd,    // every board within reach was tried: none wins
        OutOfTime,  // the search ran out of time before it knew
        TooDeep,    // no way within the turn limit; one may lie beyond it
        Restless,   // no way found, but some turn never came to rest: nothing is proven
    };
    Kind kind = Kind::DeadEnd;
    std::vector<Move> moves;
};

class WayFinder {
public:
    explicit WayFinder(WayFinderLimits limits = {});
    ~WayFinder();
    WayFinder(const WayFinder&) = delete;
    WayFinder& operator=(const WayFinder&) = delete;

    // Once a frame, after the World's update. `atRest`: the board is in play and may take the
    // next turn. A board at rest not known yet is searched (any other search is dropped); a
    // slice of the work runs. While the board moves only the walk along a way found goes on.
    void Update(const World& world, bool atRest);

    // What is known of the board at rest; null while it moves or is being searched.
    const WayOn* Known() const;
    // The board at rest is being searched, and how many turns deep the search has got.
    bool Searching() const;
    std::int32_t SearchDepth() const;
    // A way found is still being played through out of sight.
    bool Walking() const { return walk != nullptr; }

    // Another level: nothing known holds any more.
    void Forget();
    void SetLimits(const WayFinderLimits& newLimits) { limits = newLimits; }
    const WayFinderLimits& Limits() const { return limits; }

private:
    using Clock = std::chrono::steady_clock;
    struct Walk;

    void Start(const World& world);
    void Conclude();
    void WalkOn(Clock::time_point deadline);

    WayFinderLimits limits;
    std::unordered_map<std::uint64_t, WayOn> known;
    // The board at rest this frame (by its BoardHash), none while it moves.
    std::optional<std::uint64_t> board;
    std::unique_ptr<SolveSearch> search;
    std::uint64_t searchBoard = 0;
    WorldSnapshot searchStart;
    std::unique_ptr<Walk> walk;
};
