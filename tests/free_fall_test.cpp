// Skipping free fall changes nothing. Every move from the boards on each campaign level's
// solution and from a spread of the boards its search keeps, and random moves on random
// boards of every kind of piece, end on the same board (picture clocks and all), after the
// same number of frames, settled or not and with the same outcome, whether the World runs
// every sub-step or carries falling pieces through empty space in one step.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>

#include "play/solver.h"
#include "play/turn_engine.h"
#include "tests/world_scene.h"
#include "tools/sim/sim.h"
#include "world/breakable.h"
#include "world/button_po.h"
#include "world/dir_changer.h"
#include "world/trigger.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

// How a turn (or the first settle, with no move) ended.
struct Verdict {
    std::uint64_t board = 0;
    std::int32_t frames = 0;
    bool settled = false;
    LevelStatus status = LevelStatus::Playing;
    int objects = 0;

    bool operator==(const Verdict&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Verdict& v) {
    return out << "board " << v.board << ", " << v.frames << " frames, " << (v.settled ? "settled" : "not settled")
               << ", status " << static_cast<int>(v.status) << ", " << v.objects << " objects";
}

Verdict Play(World& world, const WorldSnapshot& from, std::optional<Move> move, std::int32_t maxFrames) {
    world.Restore(from);
    const TurnOutcome o = move ? PlayMoveHeadless(world, *move, maxFrames) : SettleHeadless(world, maxFrames);
    return {world.StateHash(), o.frames, o.settled, o.levelStatus, world.Count()};
}

// Two Worlds side by side: one skips free fall, the other runs every sub-step.
struct Pair {
    Pair() {
        fast.queueDrawing = stepwise.queueDrawing = false;
        stepwise.fastForward = false;
    }
    // Plays the move (or settles) from `from` in both; nothing, with a failure, when they differ.
    std::optional<Verdict> Agree(const WorldSnapshot& from, std::optional<Move> move, std::int32_t maxFrames,
                                 const std::string& where) {
        ++turns;
        const Verdict a = Play(fast, from, move, maxFrames);
        const Verdict b = Play(stepwise, from, move, maxFrames);
        if (a == b)
            return a;
        if (++differ == 1)
            ADD_FAILURE() << where << (move ? ", " + std::string(MoveName(*move)) : std::string(", settling"))
                          << ":\n  skipping  " << a << "\n  stepwise  " << b;
        return std::nullopt;
    }
    World fast, stepwise;
    int turns = 0, differ = 0;
};

std::string CampaignLevel(int slot) {
    std::ifstream in(fs::path(QM_GAME_DIR) / "LevelList.txt", std::ios::binary);
    std::string line;
    for (int i = 0; i <= slot && std::getline(in, line); ++i) {
    }
    return line;
}

class FreeFallOnTheCampaign : public ::testing::TestWithParam<int> {};

// Boards spread evenly over the search, besides those on the way to the solution.
constexpr std::size_t kSpreadBoards = 24;

TEST_P(FreeFallOnTheCampaign, MovesOnAndNearTheSolutionEndAsTheyDoSubStepBySubStep) {
    SimSession session(QM_GAME_DIR, false);
    const std::string level = CampaignLevel(GetParam());
    SCOPED_TRACE(level);
    BuildFresh(level);
    const WorldSnapshot built = TheWorld().Snapshot();
    TheWorld().Clear();

    Pair pair;
    ASSERT_TRUE(pair.Agree(built, std::nullopt, 100000, "the build").has_value());
    ASSERT_EQ(pair.fast.levelStatus, LevelStatus::Playing);
    const WorldSnapshot start = pair.fast.Snapshot();

    // Every move from every board the search keeps would take minutes under the sanitizers.
    // Every move from each board on the solution's way (so every board one move off it, and
    // the level's end), and from an even spread of the kept boards, all depths alike.
    std::vector<WorldSnapshot> kept;
    SolveSearch search(start, SolveLimits{});
    search.WatchBoards([&](const World& board) { kept.push_back(board.Snapshot()); });
    search.RunToEnd();
    const SolveResult& solved = search.Outcome().solve;
    ASSERT_TRUE(solved.solvable);

    std::set<std::uint64_t> tried;
    auto tryEveryMove = [&](const WorldSnapshot& board, const std::string& where) {
        pair.fast.Restore(board);
        if (!tried.insert(pair.fast.StateHash()).second)
            return;
        for (Move move : kMoveOrder)
            pair.Agree(board, move, 100000, where);
    };
    pair.fast.Restore(start);
    WorldSnapshot onTheWay = pair.fast.Snapshot();
    for (std::size_t turn = 0; turn < solved.moves.size(); ++turn) {
        const std::string where = "turn " + std::to_string(turn + 1) + " of the solution";
        tryEveryMove(onTheWay, where);
        ASSERT_TRUE(pair.Agree(onTheWay, MoveNamed(solved.moves[turn]), 100000, where).has_value());
        StopStillClocks(pair.fast);
        onTheWay = pair.fast.Snapshot();
    }
    EXPECT_EQ(pair.fast.levelStatus, LevelStatus::Complete);
    const std::size_t stride = std::max<std::size_t>(1, (kept.size() + kSpreadBoards - 1) / kSpreadBoards);
    for (std::size_t i = 0; i < kept.size(); i += stride)
        tryEveryMove(kept[i], "kept board " + std::to_string(i));

    EXPECT_EQ(pair.differ, 0) << "of " << pair.turns << " turns from " << tried.size() << " boards";
    EXPECT_GT(pair.fast.skippedSubSteps, 0u) << "nothing was skipped";
}

INSTANTIATE_TEST_SUITE_P(Campaign, FreeFallOnTheCampaign, ::testing::Range(0, 25));

// ---------------------------------------------------------------------------------------
// Random boards

class RandomBoard {
public:
    explicit RandomBoard(unsigned seed) : rng(seed) {}

    // Pieces of every kind at random on a 12-pixel grid, some a pixel or two off it; a frame
    // of walls around most boards, none around the rest, so pieces also leave the screen.
    void Build(World& w) {
        if (Chance(0.75)) {
            scene::Wall(w, 0, 0, 640, 12);
            scene::Wall(w, 0, 468, 640, 12);
            scene::Wall(w, 0, 12, 12, 456);
            scene::Wall(w, 628, 12, 12, 456);
        }
        const int pieces = Between(6, 40);
        for (int i = 0; i < pieces; ++i)
            AddPiece(w, i);
    }

private:
    int Between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng); }
    template <class T>
    T Pick(std::initializer_list<T> list) {
        return *(list.begin() + Between(0, static_cast<int>(list.size()) - 1));
    }

    scene::Placement Place(bool pinned) {
        scene::Placement p;
        p.w = Pick({12, 24, 24, 36, 36, 48});
        p.h = Pick({12, 24, 24, 36, 36});
        p.x = 12 * Between(0, 50) + (Chance(0.2) ? Between(1, 2) : 0);
        p.y = 12 * Between(0, 37) + (Chance(0.2) ? Between(1, 2) : 0);
        p.pinned = pinned;
        p.solid = Chance(0.85);
        p.missionCritical = Chance(0.15);
        return p;
    }

    Image Animated(int w, int h) { return Chance(0.3) ? scene::Sprite(w, h, 3, Between(1, 4)) : scene::Sprite(w, h); }

    void Finish(Entity& e) {
        if (Chance(0.3))
            e.image = Animated(e.width, e.height);
        e.rotateToVelocity = Chance(0.05);
        if (Chance(0.3))
            e.linkName = "L" + std::to_string(Between(0, 3));
        if (Chance(0.2))
            e.linkTarget = "L" + std::to_string(Between(0, 3));
    }

    void AddPiece(World& w, int i) {
        const int kind = Between(0, 9);
        Entity* e = nullptr;
        if (kind <= 2) {
            e = scene::Put(w, Place(false));
        } else if (kind == 3) {
            e = scene::Put(w, Place(true));
        } else if (kind <= 5) {
            auto* b = scene::Put<BreakablePO>(w, Place(Chance(0.3)));
            b->weight = Between(0, 3);
            b->breakWeight = Pick({-1, -1, 2, 3, 5});
            b->breakFall = Pick({-1, 30, 60, 100, 100000});
            b->cushioning = Pick({0, 0, 20, 40});
            b->pinOnBreak = Chance(0.5);
            b->breakWidth = static_cast<std::uint16_t>(b->width);
            b->breakHeight = static_cast<std::uint16_t>(Chance(0.5) ? b->height : b->height / 2);
            if (Chance(0.5)) {
                b->hasBreakImage = true;
                b->breakImage = scene::Sprite(b->width, b->height);
            }
            e = b;
        } else if (kind == 6) {
            auto* c = scene::Put<DirChanger>(w, Place(Chance(0.8)));
            c->solid = false;
            c->relative = Chance(0.5);
            c->directionChange = Pick({0, 90, 180, 270, -90, 450});
            e = c;
        } else if (kind == 7) {
            auto* button = scene::Put<ButtonPO>(w, Place(Chance(0.8)));
            button->solid = false;
            button->unpressedImage = button->image;
            button->pressedImage = Animated(button->width, button->height);
            button->onePress = Chance(0.3);
            button->linkName = "B" + std::to_string(i);
            auto door = std::make_unique<Door>();
            door->SetImage(scene::Sprite(12, 36, 5, Between(1, 2)), true);
            door->image.loop = false;
            door->solid = true;
            door->breakFall = 100000;
            door->changeStateFrame = Between(1, 3);
            door->depthOffset = 5;
            door->linkTarget = button->linkName;
            door->SetPosition(12 * Between(1, 50), 12 * Between(1, 37));
            w.Add(std::move(door));
            return;
        } else if (kind == 8) {
            auto* exit = scene::Put<Exit>(w, Place(Chance(0.85)));
            exit->solid = false;
            exit->idleImage = exit->image;
            exit->activeImage = scene::Sprite(exit->width, exit->height, 4, Between(1, 3));
            exit->teleportFrame = Between(1, 3);
            e = exit;
        } else {
            if (Chance(0.5)) {
                auto* trigger = scene::Put<Trigger>(w, Place(Chance(0.9)));
                trigger->stillOnly = Chance(0.5);
                e = trigger;
            } else {
                e = scene::Put<Entity>(w, Place(Chance(0.5)));
            }
        }
        Finish(*e);
    }

    std::mt19937 rng;
};

TEST(FreeFallOnRandomBoards, RandomMovesEndAsTheyDoSubStepBySubStep) {
    SetFixedTimerStep(1.0);
    Pair pair;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        World built;
        built.queueDrawing = false;
        RandomBoard(seed).Build(built);
        built.SetGravity(90);
        const std::string where = "board " + std::to_string(seed);
        std::optional<Verdict> last = pair.Agree(built.Snapshot(), std::nullopt, 3000, where);
        std::mt19937 moves(seed);
        // On while the board settles: a board that never does would only repeat itself.
        for (int turn = 1; turn <= 8 && last && last->settled; ++turn) {
            const Move move = kMoveOrder[std::uniform_int_distribution<std::size_t>(0, 3)(moves)];
            last = pair.Agree(pair.fast.Snapshot(), move, 3000, where + ", turn " + std::to_string(turn));
        }
    }
    SetFixedTimerStep(0);
    EXPECT_EQ(pair.differ, 0) << "of " << pair.turns << " turns";
    EXPECT_GT(pair.fast.skippedSubSteps, 1000u) << "too little was skipped to tell";
}

}  // namespace
