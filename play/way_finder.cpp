#include "play/way_finder.h"

#include "play/search_conditions.h"

// A way found, played out of sight from the board it was found for, a few turns a slice.
struct WayFinder::Walk {
    World world;
    std::vector<Move> moves;
    std::size_t next = 0;
};

WayFinder::WayFinder(WayFinderLimits limits) : limits(limits) {}
WayFinder::~WayFinder() = default;

void WayFinder::Update(const World& world, bool atRest) {
    // Hashed every frame: an undone turn puts another board at rest without a frame of motion.
    board.reset();
    if (atRest)
        board = world.BoardHash();
    const bool unknown = board && !known.contains(*board);
    if (!walk && !unknown)
        return;
    const SearchConditions conditions;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(limits.sliceSeconds));
    // A walk ends within a few frames, and the board at rest may well lie on it.
    if (walk)
        WalkOn(deadline);
    if (!board || known.contains(*board))
        return;
    if (!search || searchBoard != *board)
        Start(world);
    const double left = std::chrono::duration<double>(deadline - Clock::now()).count();
    if (left > 0 && search->Run(left))
        Conclude();
}

void WayFinder::Start(const World& world) {
    searchBoard = world.BoardHash();
    searchStart = world.Snapshot();
    // A dialog may have frozen the board the player sees; the search's own World must move.
    searchStart.frozen = false;
    SolveLimits solveLimits;
    solveLimits.maxTurns = limits.maxTurns;
    solveLimits.timeLimit = limits.searchSeconds;
    solveLimits.maxFrames = limits.maxFrames;
    search = std::make_unique<SolveSearch>(searchStart, solveLimits);
}

void WayFinder::Conclude() {
    const SolveResult& result = search->Outcome().solve;
    WayOn way;
    if (result.solvable) {
        way.kind = WayOn::Kind::Winnable;
        for (const std::string& name : result.moves)
            if (std::optional<Move> move = MoveNamed(name))
                way.moves.push_back(*move);
    } else if (result.reason == "exhausted") {
        way.kind = result.unsettled > 0 ? WayOn::Kind::Restless : WayOn::Kind::DeadEnd;
    } else if (result.reason == "turn limit") {
        way.kind = WayOn::Kind::TooDeep;
    } else {
        way.kind = WayOn::Kind::OutOfTime;
    }
    search.reset();
    // A walk still under way is for a board the player has left: the new one takes its place.
    if (way.kind == WayOn::Kind::Winnable && way.moves.size() > 1) {
        walk = std::make_unique<Walk>();
        walk->world.queueDrawing = false;
        walk->world.Restore(searchStart);
        walk->moves = way.moves;
    }
    known[searchBoard] = std::move(way);
}

void WayFinder::WalkOn(Clock::time_point deadline) {
    while (Clock::now() < deadline) {
        const TurnOutcome outcome = PlayMoveHeadless(walk->world, walk->moves[walk->next], limits.maxFrames);
        ++walk->next;
        if (!outcome.settled || outcome.levelStatus != LevelStatus::Playing || walk->next == walk->moves.size()) {
            walk.reset();
            return;
        }
        // The rest of a shortest way is a shortest way from the board it reaches.
        WayOn rest{WayOn::Kind::Winnable, {walk->moves.begin() + static_cast<std::ptrdiff_t>(walk->next), walk->moves.end()}};
        auto [it, added] = known.try_emplace(walk->world.BoardHash(), rest);
        if (!added && it->second.kind != WayOn::Kind::Winnable)
            it->second = std::move(rest);
    }
}

const WayOn* WayFinder::Known() const {
    if (!board)
        return nullptr;
    auto it = known.find(*board);
    return it == known.end() ? nullptr : &it->second;
}

bool WayFinder::Searching() const { return board && search && searchBoard == *board; }

std::int32_t WayFinder::SearchDepth() const { return Searching() ? search->Depth() : 0; }

void WayFinder::Forget() {
    known.clear();
    board.reset();
    search.reset();
    walk.reset();
    searchStart = WorldSnapshot{};
}
