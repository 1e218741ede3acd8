#include "play/solver.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <limits>
#include <unordered_map>

#include "play/turn_engine.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

// Where a move leads, besides another board.
constexpr std::int32_t kNotTried = -1;
constexpr std::int32_t kCompletes = -2;
constexpr std::int32_t kNeverSettles = -3;

struct Node {
    std::int32_t parent;
    std::int32_t depth;
    // Shortest move sequences that reach the board, as long as none reaches it sooner.
    std::uint64_t paths;
    std::uint8_t move;
    bool failed;
};

struct Open {
    std::int32_t node;
    WorldSnapshot board;
};

std::uint64_t AddSaturating(std::uint64_t a, std::uint64_t b) {
    return b > std::numeric_limits<std::uint64_t>::max() - a ? std::numeric_limits<std::uint64_t>::max() : a + b;
}

std::vector<std::string> PathTo(const std::vector<Node>& nodes, std::int32_t node) {
    std::vector<std::string> moves;
    for (; node > 0; node = nodes[static_cast<std::size_t>(node)].parent)
        moves.emplace_back(MoveName(kMoveOrder[nodes[static_cast<std::size_t>(node)].move]));
    return {moves.rbegin(), moves.rend()};
}

// Boards from which the level can still be completed, or might be beyond what was searched:
// everything that leads back to a completing move or to a board not fully tried.
std::int64_t CountDeadEnds(const std::vector<Node>& nodes, const std::vector<std::array<std::int32_t, 4>>& next) {
    const std::size_t n = nodes.size();
    // Edges turned around, in compressed rows.
    std::vector<std::int32_t> start(n + 1, 0);
    for (const auto& row : next)
        for (std::int32_t to : row)
            if (to >= 0)
                ++start[static_cast<std::size_t>(to) + 1];
    for (std::size_t i = 0; i < n; ++i)
        start[i + 1] += start[i];
    std::vector<std::int32_t> from(static_cast<std::size_t>(start[n]));
    std::vector<std::int32_t> fill(start.begin(), start.end() - 1);
    for (std::size_t i = 0; i < n; ++i)
        for (std::int32_t to : next[i])
            if (to >= 0)
                from[static_cast<std::size_t>(fill[static_cast<std::size_t>(to)]++)] = static_cast<std::int32_t>(i);

    std::vector<char> alive(n, 0);
    std::vector<std::int32_t> queue;
    for (std::size_t i = 0; i < n; ++i) {
        bool open = false;
        for (std::int32_t to : next[i])
            open = open || to == kCompletes || (to == kNotTried && !nodes[i].failed);
        if (open) {
            alive[i] = 1;
            queue.push_back(static_cast<std::int32_t>(i));
        }
    }
    while (!queue.empty()) {
        const auto i = static_cast<std::size_t>(queue.back());
        queue.pop_back();
        for (std::int32_t k = start[i]; k < start[i + 1]; ++k) {
            const auto j = static_cast<std::size_t>(from[static_cast<std::size_t>(k)]);
            if (!alive[j]) {
                alive[j] = 1;
                queue.push_back(static_cast<std::int32_t>(j));
            }
        }
    }
    std::int64_t dead = 0;
    for (char a : alive)
        dead += !a;
    return dead;
}

using Clock = std::chrono::steady_clock;

}  // namespace

// The one breadth-first search, kept as a cursor (layer, board in the layer, move) so it can
// stop between any two moves and go on later. Solving stops at the first completing move;
// exploring goes on through every board within the limits, keeping where each move led.
struct SolveSearch::State {
    State(const WorldSnapshot& start, const SolveLimits& limits, bool explore, std::ostream* progress)
        : limits(limits), explore(explore), progress(progress), began(Clock::now()), lastReport(began) {
        if (start.levelStatus == LevelStatus::Complete) {
            // Nothing to do: the one sequence of no moves completes it.
            x.solve.solvable = true;
            x.optimal = 1;
            x.optimalComplete = true;
            Finish("");
            return;
        }
        world.queueDrawing = false;
        world.fastForward = limits.skipFreeFall;
        world.Restore(start);
        StopStillClocks(world);

        nodes.push_back({-1, 0, 1, 0, start.levelStatus != LevelStatus::Playing});
        if (explore)
            next.push_back({kNotTried, kNotTried, kNotTried, kNotTried});
        seen.emplace(world.StateHash(), 0);
        x.solve.distinct = 1;
        if (start.levelStatus != LevelStatus::Playing) {
            Finish("");
            return;
        }
        layer.push_back({0, world.Snapshot()});
    }

    double Elapsed() const { return std::chrono::duration<double>(Clock::now() - began).count(); }

    void Finish(std::string stop) {
        SolveResult& result = x.solve;
        x.stop = std::move(stop);
        if (!result.solvable)
            result.reason = x.stop.empty() ? "exhausted" : x.stop;
        if (solutionDepth > 0)
            x.optimal = static_cast<std::int64_t>(std::min<std::uint64_t>(optimal, std::numeric_limits<std::int64_t>::max()));
        if (explore) {
            x.reachable = static_cast<std::int64_t>(nodes.size());
            x.deadEnds = CountDeadEnds(nodes, next);
        }
        result.seconds = Elapsed();
        done = true;
    }

    // Adds a board first reached at `depth`.
    std::int32_t AddNode(std::int32_t parent, std::uint8_t move, std::int32_t depth, bool failed) {
        nodes.push_back({parent, depth, nodes[static_cast<std::size_t>(parent)].paths, move, failed});
        if (explore)
            next.push_back({kNotTried, kNotTried, kNotTried, kNotTried});
        return static_cast<std::int32_t>(nodes.size() - 1);
    }

    // Runs until the search ends or, with a deadline, until the clock passes it.
    void Run(const Clock::time_point* deadline) {
        SolveResult& result = x.solve;
        while (!done) {
            if (!layerStarted) {
                if (!result.solvable)
                    result.depth = depth;
                if (layer.empty())
                    return Finish("");
                if (depth >= limits.maxTurns)
                    return Finish("turn limit");
                layerStarted = true;
                position = 0;
                move = 0;
            }
            if (position == layer.size()) {
                if (solutionDepth == depth + 1)
                    x.optimalComplete = true;
                layer.swap(following);
                following.clear();
                ++depth;
                layerStarted = false;
                continue;
            }
            const Open& open = layer[position];
            if (move == 0 && progress && Clock::now() - lastReport >= std::chrono::seconds(1)) {
                lastReport = Clock::now();
                const double t = Elapsed();
                *progress << "states " << result.states << ", depth " << depth + 1 << ", "
                          << static_cast<std::int64_t>(t > 0 ? result.states / t : 0) << " states/s" << std::endl;
            }
            if (TakeSolveStopRequest())
                return Finish("interrupted");
            if (limits.timeLimit > 0 && Elapsed() >= limits.timeLimit)
                return Finish("time limit");

            TryMove(open);
            if (done)
                return;
            if (++move == kMoveOrder.size()) {
                move = 0;
                ++position;
            }
            if (deadline && Clock::now() >= *deadline)
                return;
        }
    }

    void TryMove(const Open& open) {
        SolveResult& result = x.solve;
        const std::uint64_t paths = nodes[static_cast<std::size_t>(open.node)].paths;
        world.Restore(open.board);
        const TurnOutcome outcome = PlayMoveHeadless(world, kMoveOrder[move], limits.maxFrames);
        ++result.states;
        result.frames += outcome.frames;
        std::int32_t to = kNeverSettles;
        if (!outcome.moved) {
            // A move that moves nothing is no turn, in play as here: it leads nowhere.
        } else if (outcome.levelStatus == LevelStatus::Complete) {
            to = kCompletes;
            if (!result.solvable) {
                result.solvable = true;
                result.moves = PathTo(nodes, open.node);
                result.moves.emplace_back(MoveName(kMoveOrder[move]));
                result.depth = depth + 1;
                solutionDepth = depth + 1;
                if (!explore)
                    return Finish("");
            }
            if (solutionDepth == depth + 1)
                optimal = AddSaturating(optimal, paths);
        } else if (outcome.levelStatus != LevelStatus::Playing && !explore) {
            return;
        } else if (outcome.levelStatus == LevelStatus::Playing && !outcome.settled) {
            ++result.unsettled;
        } else {
            StopStillClocks(world);
            const bool failed = outcome.levelStatus != LevelStatus::Playing;
            auto [it, added] = seen.try_emplace(world.StateHash(), 0);
            if (added) {
                it->second = AddNode(open.node, move, depth + 1, failed);
                if (!failed && watch)
                    watch(world);
                if (!failed)
                    following.push_back({it->second, world.Snapshot()});
                result.distinct = static_cast<std::int64_t>(seen.size());
            } else if (Node& known = nodes[static_cast<std::size_t>(it->second)]; known.depth == depth + 1) {
                known.paths = AddSaturating(known.paths, paths);
            }
            to = it->second;
        }
        if (explore)
            next[static_cast<std::size_t>(open.node)][move] = to;
    }

    SolveLimits limits;
    bool explore;
    std::function<void(const World&)> watch;
    std::ostream* progress;
    Clock::time_point began;
    Clock::time_point lastReport;

    Exploration x;
    bool done = false;
    World world;
    std::vector<Node> nodes;
    std::vector<std::array<std::int32_t, 4>> next;  // exploring only: where each move led
    std::unordered_map<std::uint64_t, std::int32_t> seen;
    std::int32_t solutionDepth = -1;
    std::uint64_t optimal = 0;

    // Where the search stands: the layer of boards `depth` turns deep, the board in it, the
    // move to try next.
    std::vector<Open> layer;
    std::vector<Open> following;
    std::int32_t depth = 0;
    bool layerStarted = false;
    std::size_t position = 0;
    std::uint8_t move = 0;
};

SolveSearch::SolveSearch(const WorldSnapshot& start, const SolveLimits& limits, bool explore, std::ostream* progress)
    : state(std::make_unique<State>(start, limits, explore, progress)) {}

SolveSearch::~SolveSearch() = default;
SolveSearch::SolveSearch(SolveSearch&&) noexcept = default;
SolveSearch& SolveSearch::operator=(SolveSearch&&) noexcept = default;

bool SolveSearch::Run(double seconds) {
    const Clock::time_point deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                          std::chrono::duration<double>(std::max(0.0, seconds)));
    state->Run(&deadline);
    return state->done;
}

void SolveSearch::RunToEnd() { state->Run(nullptr); }

void SolveSearch::WatchBoards(std::function<void(const World&)> watch) { state->watch = std::move(watch); }

void SolveSearch::Stop() {
    if (!state->done)
        state->Finish("interrupted");
}

bool SolveSearch::Done() const { return state->done; }
const Exploration& SolveSearch::Outcome() const { return state->x; }
std::int64_t SolveSearch::States() const { return state->x.solve.states; }
std::int32_t SolveSearch::Depth() const { return state->done ? state->x.solve.depth : state->depth + 1; }
double SolveSearch::Seconds() const { return state->done ? state->x.solve.seconds : state->Elapsed(); }


void StopStillClocks(World& world) {
    for (int i = 0; i < world.Count(); ++i) {
        Image& image = world.Get(i)->image;
        if (image.frameCount <= 1) {
            image.framePosition = 0.0;
            image.frame = 0;
        }
    }
}

void RequestSolveStop() { stopRequested = 1; }

bool TakeSolveStopRequest() {
    if (!stopRequested)
        return false;
    stopRequested = 0;
    return true;
}

SolveResult Solve(const WorldSnapshot& start, const SolveLimits& limits, std::ostream* progress) {
    SolveSearch search(start, limits, false, progress);
    search.RunToEnd();
    return search.Outcome().solve;
}

Exploration Explore(const WorldSnapshot& start, const SolveLimits& limits, std::ostream* progress) {
    SolveSearch search(start, limits, true, progress);
    search.RunToEnd();
    return search.Outcome();
}
