// A board at rest stays at rest: every board the solver keeps on every campaign level, run
// on for 300 more frames without a turn, is the same board. Pars, hints and the game's
// turns all stand on this.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "play/solver.h"
#include "play/turn_engine.h"
#include "tools/sim/sim.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFramesAtRest = 300;

std::string CampaignLevel(int slot) {
    std::ifstream in(fs::path(QM_GAME_DIR) / "LevelList.txt", std::ios::binary);
    std::string line;
    for (int i = 0; i <= slot && std::getline(in, line); ++i) {
    }
    return line;
}

// The pieces that are not where they were, or not as they were, for the failure message.
std::string WhatChanged(const World& before, const World& after) {
    std::ostringstream out;
    for (int i = 0; i < before.Count() && i < after.Count(); ++i) {
        const Entity& a = *before.Get(i);
        const Entity& b = *after.Get(i);
        Hasher ha, hb;
        a.HashState(ha);
        b.HashState(hb);
        if (ha.Value() != hb.Value())
            out << "\n  " << a.templateName << " at " << a.x << ", " << a.y << " -> " << b.x << ", " << b.y;
    }
    if (before.Count() != after.Count())
        out << "\n  " << before.Count() << " objects -> " << after.Count();
    return out.str();
}

class RestIsAFixedPoint : public ::testing::TestWithParam<int> {};

TEST_P(RestIsAFixedPoint, EveryBoardTheSolverKeepsStaysTheSameWithoutATurn) {
    SimSession session(QM_GAME_DIR, false);
    const std::string level = CampaignLevel(GetParam());
    SCOPED_TRACE(level);
    ASSERT_TRUE(BuildAndSettle(level, 100000).settled);

    World board, runOn;
    board.queueDrawing = runOn.queueDrawing = false;
    int boards = 0, changed = 0;
    auto runOnWithoutATurn = [&](const World& settled) {
        ++boards;
        const WorldSnapshot snapshot = settled.Snapshot();
        runOn.Restore(snapshot);
        StopStillClocks(runOn);
        const std::uint64_t before = runOn.StateHash();
        for (int frame = 0; frame < kFramesAtRest; ++frame)
            RunWorldFrame(runOn);
        StopStillClocks(runOn);
        if (runOn.StateHash() == before && runOn.levelStatus == LevelStatus::Playing)
            return;
        if (++changed == 1) {
            board.Restore(snapshot);
            StopStillClocks(board);
            ADD_FAILURE() << "a board at rest changed within " << kFramesAtRest << " frames:" << WhatChanged(board, runOn);
        }
    };
    runOnWithoutATurn(TheWorld());
    SolveSearch search(TheWorld().Snapshot(), SolveLimits{});
    search.WatchBoards(runOnWithoutATurn);
    search.RunToEnd();
    EXPECT_TRUE(search.Outcome().solve.solvable);
    EXPECT_EQ(changed, 0) << "of " << boards << " boards";
    TheWorld().Clear();
}

INSTANTIATE_TEST_SUITE_P(Campaign, RestIsAFixedPoint, ::testing::Range(0, 25));

}  // namespace
