#include "tools/sim/solver.h"

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

// The one breadth-first search. Solving stops at the first completing move; exploring goes
// on through every board within the limits, keeping where each move led.
Exploration Search(const WorldSnapshot& start, const SolveLimits& limits, bool explore, std::ostream* progress) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point began = Clock::now();
    Clock::time_point lastReport = began;
    auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - began).count(); };

    Exploration x;
    SolveResult& result = x.solve;
    std::vector<Node> nodes;
    std::vector<std::array<std::int32_t, 4>> next;  // exploring only: where each move led
    std::int32_t solutionDepth = -1;
    std::uint64_t optimal = 0;
    auto finish = [&](std::string stop) {
        x.stop = std::move(stop);
        if (!result.solvable)
            result.reason = x.stop.empty() ? "exhausted" : x.stop;
        if (solutionDepth > 0)
            x.optimal = static_cast<std::int64_t>(std::min<std::uint64_t>(optimal, std::numeric_limits<std::int64_t>::max()));
        if (explore) {
            x.reachable = static_cast<std::int64_t>(nodes.size());
            x.deadEnds = CountDeadEnds(nodes, next);
        }
        result.seconds = elapsed();
        return x;
    };

    if (start.levelStatus == LevelStatus::Complete) {
        // Nothing to do: the one sequence of no moves completes it.
        result.solvable = true;
        x.optimal = 1;
        x.optimalComplete = true;
        return finish("");
    }

    World world;
    world.queueDrawing = false;
    world.Restore(start);
    StopStillClocks(world);

    nodes.push_back({-1, 0, 1, 0, start.levelStatus != LevelStatus::Playing});
    if (explore)
        next.push_back({kNotTried, kNotTried, kNotTried, kNotTried});
    std::unordered_map<std::uint64_t, std::int32_t> seen{{world.StateHash(), 0}};
    result.distinct = 1;
    if (start.levelStatus != LevelStatus::Playing)
        return finish("");

    // Adds a board first reached at `depth`.
    auto addNode = [&](std::int32_t parent, std::uint8_t move, std::int32_t depth, bool failed) {
        nodes.push_back({parent, depth, nodes[static_cast<std::size_t>(parent)].paths, move, failed});
        if (explore)
            next.push_back({kNotTried, kNotTried, kNotTried, kNotTried});
        return static_cast<std::int32_t>(nodes.size() - 1);
    };

    std::vector<Open> layer;
    layer.push_back({0, world.Snapshot()});
    std::vector<Open> following;

    for (std::int32_t depth = 0;; ++depth) {
        if (!result.solvable)
            result.depth = depth;
        if (layer.empty())
            return finish("");
        if (depth >= limits.maxTurns)
            return finish("turn limit");
        for (const Open& open : layer) {
            if (progress && Clock::now() - lastReport >= std::chrono::seconds(1)) {
                lastReport = Clock::now();
                const double t = elapsed();
                *progress << "states " << result.states << ", depth " << depth + 1 << ", "
                          << static_cast<std::int64_t>(t > 0 ? result.states / t : 0) << " states/s" << std::endl;
            }
            const std::uint64_t paths = nodes[static_cast<std::size_t>(open.node)].paths;
            for (std::uint8_t move = 0; move < kMoveOrder.size(); ++move) {
                if (TakeSolveStopRequest())
                    return finish("interrupted");
                if (limits.timeLimit > 0 && elapsed() >= limits.timeLimit)
                    return finish("time limit");

                world.Restore(open.board);
                const TurnOutcome outcome = PlayMoveHeadless(world, kMoveOrder[move], limits.maxFrames);
                ++result.states;
                result.frames += outcome.frames;
                std::int32_t to = kNeverSettles;
                if (outcome.levelStatus == LevelStatus::Complete) {
                    to = kCompletes;
                    if (!result.solvable) {
                        result.solvable = true;
                        result.moves = PathTo(nodes, open.node);
                        result.moves.emplace_back(MoveName(kMoveOrder[move]));
                        result.depth = depth + 1;
                        solutionDepth = depth + 1;
                        if (!explore)
                            return finish("");
                    }
                    if (solutionDepth == depth + 1)
                        optimal = AddSaturating(optimal, paths);
                } else if (outcome.levelStatus != LevelStatus::Playing && !explore) {
                    continue;
                } else if (outcome.levelStatus == LevelStatus::Playing && !outcome.settled) {
                    ++result.unsettled;
                } else {
                    StopStillClocks(world);
                    const bool failed = outcome.levelStatus != LevelStatus::Playing;
                    auto [it, added] = seen.try_emplace(world.StateHash(), 0);
                    if (added) {
                        it->second = addNode(open.node, move, depth + 1, failed);
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
        }
        if (solutionDepth == depth + 1)
            x.optimalComplete = true;
        layer.swap(following);
        following.clear();
    }
}

}  // namespace

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
    return Search(start, limits, false, progress).solve;
}

Exploration Explore(const WorldSnapshot& start, const SolveLimits& limits, std::ostream* progress) {
    return Search(start, limits, true, progress);
}
