#include "tools/sim/solver.h"

#include <chrono>
#include <csignal>
#include <unordered_set>

#include "play/turn_engine.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

struct Node {
    std::int32_t parent;
    std::uint8_t move;
};

struct Open {
    std::int32_t node;
    WorldSnapshot board;
};

// A one-frame picture shows frame 0 whatever its animation clock says, yet the clock counts
// on in every frame and is part of the state hash: the same board reached after a different
// number of frames would never count as seen. Stopping those clocks changes nothing else.
void StopStillClocks(World& world) {
    for (int i = 0; i < world.Count(); ++i) {
        Image& image = world.Get(i)->image;
        if (image.frameCount <= 1) {
            image.framePosition = 0.0;
            image.frame = 0;
        }
    }
}

std::vector<std::string> PathTo(const std::vector<Node>& nodes, std::int32_t node) {
    std::vector<std::string> moves;
    for (; node > 0; node = nodes[static_cast<std::size_t>(node)].parent)
        moves.emplace_back(kMoveOrder[nodes[static_cast<std::size_t>(node)].move]);
    return {moves.rbegin(), moves.rend()};
}

}  // namespace

void RequestSolveStop() { stopRequested = 1; }

SolveResult Solve(const WorldSnapshot& start, const SolveLimits& limits, std::ostream* progress) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point began = Clock::now();
    Clock::time_point lastReport = began;
    auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - began).count(); };

    SolveResult result;
    auto finish = [&](std::string reason) {
        result.reason = std::move(reason);
        result.seconds = elapsed();
        return result;
    };

    if (start.levelStatus == 3) {
        result.solvable = true;
        return finish("");
    }
    if (start.levelStatus != 1)
        return finish("exhausted");

    World world;
    world.queueDrawing = false;
    world.Restore(start);
    StopStillClocks(world);

    std::vector<Node> nodes{{-1, 0}};
    std::unordered_set<std::uint64_t> seen{world.StateHash()};
    result.distinct = 1;
    std::vector<Open> layer;
    layer.push_back({0, world.Snapshot()});
    std::vector<Open> next;

    for (std::int32_t depth = 0;; ++depth) {
        result.depth = depth;
        if (layer.empty())
            return finish("exhausted");
        if (depth >= limits.maxTurns)
            return finish("turn limit");
        for (const Open& open : layer) {
            if (progress && Clock::now() - lastReport >= std::chrono::seconds(1)) {
                lastReport = Clock::now();
                const double t = elapsed();
                *progress << "states " << result.states << ", depth " << depth + 1 << ", "
                          << static_cast<std::int64_t>(t > 0 ? result.states / t : 0) << " states/s" << std::endl;
            }
            for (std::uint8_t move = 0; move < kMoveOrder.size(); ++move) {
                if (stopRequested) {
                    // The request is spent on the search it stopped.
                    stopRequested = 0;
                    return finish("interrupted");
                }
                if (limits.timeLimit > 0 && elapsed() >= limits.timeLimit)
                    return finish("time limit");

                world.Restore(open.board);
                const TurnOutcome outcome = PlayMoveHeadless(world, kMoveOrder[move], limits.maxFrames);
                ++result.states;
                result.frames += outcome.frames;
                if (outcome.levelStatus == 3) {
                    nodes.push_back({open.node, move});
                    result.solvable = true;
                    result.moves = PathTo(nodes, static_cast<std::int32_t>(nodes.size() - 1));
                    result.depth = depth + 1;
                    return finish("");
                }
                if (outcome.levelStatus != 1)
                    continue;
                if (!outcome.settled) {
                    ++result.unsettled;
                    continue;
                }
                StopStillClocks(world);
                if (!seen.insert(world.StateHash()).second)
                    continue;
                nodes.push_back({open.node, move});
                next.push_back({static_cast<std::int32_t>(nodes.size() - 1), world.Snapshot()});
                result.distinct = static_cast<std::int64_t>(seen.size());
            }
        }
        layer.swap(next);
        next.clear();
    }
}
