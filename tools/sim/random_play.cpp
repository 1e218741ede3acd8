#include "tools/sim/random_play.h"

#include <array>
#include <random>
#include <unordered_map>
#include <vector>

#include "play/turn_engine.h"
#include "play/solver.h"

namespace {

// Where a move leads, besides another board.
constexpr std::int32_t kNotTried = -1;
constexpr std::int32_t kCompletes = -2;
constexpr std::int32_t kEnds = -3;  // failed, or never settles

struct Board {
    WorldSnapshot snapshot;
    std::array<std::int32_t, 4> next{kNotTried, kNotTried, kNotTried, kNotTried};
};

}  // namespace

RandomPlayResult PlayRandomly(const WorldSnapshot& start, std::int32_t tries, std::int32_t turns, std::uint64_t seed,
                              std::int32_t maxFrames) {
    RandomPlayResult result;
    if (start.levelStatus != LevelStatus::Playing) {
        result.tries = tries;
        result.completed = start.levelStatus == LevelStatus::Complete ? tries : 0;
        return result;
    }

    World world;
    world.queueDrawing = false;
    world.Restore(start);
    StopStillClocks(world);
    std::vector<Board> boards;
    boards.push_back(Board{world.Snapshot()});
    std::unordered_map<std::uint64_t, std::int32_t> index{{world.StateHash(), 0}};

    // Where `move` leads from `board`, simulated only the first time.
    auto follow = [&](std::int32_t board, int move) {
        const std::int32_t known = boards[static_cast<std::size_t>(board)].next[static_cast<std::size_t>(move)];
        if (known != kNotTried)
            return known;
        // Always from the snapshot, as the solver does, so a move's result never depends on
        // how the World came to hold the board.
        world.Restore(boards[static_cast<std::size_t>(board)].snapshot);
        const TurnOutcome outcome = PlayMoveHeadless(world, kMoveOrder[static_cast<std::size_t>(move)], maxFrames);
        ++result.simulated;
        std::int32_t found = kEnds;
        if (!outcome.moved) {
            // The game refuses a press that moves nothing: the board stays as it was, gravity
            // included, and the press is spent.
            found = board;
        } else if (outcome.levelStatus == LevelStatus::Complete) {
            found = kCompletes;
        } else if (outcome.levelStatus == LevelStatus::Playing && outcome.settled) {
            StopStillClocks(world);
            auto [it, added] = index.try_emplace(world.StateHash(), static_cast<std::int32_t>(boards.size()));
            if (added)
                boards.push_back(Board{world.Snapshot()});
            found = it->second;
        }
        // `boards` may have grown: look the slot up again.
        boards[static_cast<std::size_t>(board)].next[static_cast<std::size_t>(move)] = found;
        return found;
    };

    std::mt19937_64 generator(seed);
    for (std::int32_t t = 0; t < tries; ++t) {
        if (TakeSolveStopRequest()) {
            result.interrupted = true;
            break;
        }
        std::int32_t board = 0;
        for (std::int32_t m = 0; m < turns && board >= 0; ++m) {
            // The top two bits: four equally likely moves.
            board = follow(board, static_cast<int>(generator() >> 62));
        }
        result.completed += board == kCompletes;
        ++result.tries;
    }
    return result;
}
