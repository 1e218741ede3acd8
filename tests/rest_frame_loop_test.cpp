// The game and the simulator agree on every turn, whenever the player presses: the campaign's
// replays and variants of them are played through the real frame loop twice, once pressing
// each key well after the board came to rest and once while the turn before still moves, and
// every board after every turn, every turn's length and the outcome are the simulator's. A move
// in which nothing can move is no turn in either: the game refuses the key, the simulator's
// turn reports that nothing moved.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/timer.h"
#include "game/screens.h"
#include "dialog/dialogs.h"
#include "play/play.h"
#include "play/replay.h"
#include "play/turn_engine.h"
#include "tests/play_fixture.h"
#include "tools/sim/sim.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

// Frames a patient player leaves a board at rest before the next key.
constexpr int kRestBeforeKey = 10;

struct Sequence {
    std::string level;
    std::vector<Move> moves;
};

// What became of a sequence: the board after each turn, the frames each turn ran and how the
// level stood at the end.
struct Verdict {
    std::vector<std::uint64_t> boards;
    std::vector<int> frames;
    LevelStatus status = LevelStatus::Playing;
    std::uint32_t refused = 0;

    bool operator==(const Verdict&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Verdict& v) {
    out << "status " << static_cast<int>(v.status) << " after " << v.boards.size() << " turns (" << v.refused
        << " refused), frames";
    for (int f : v.frames)
        out << ' ' << f;
    return out;
}

// The replay the campaign ships for a slot, and beside it a variant that turns one move of
// its middle a quarter the other way, so that boards off the winning road are played too.
std::vector<Sequence> Sequences(int slot) {
    char name[16];
    std::snprintf(name, sizeof name, "%02d.rpl", slot + 1);
    const std::optional<ReplayFile> replay = ReadReplayFile(fs::path(QM_FIXTURES_DIR) / "campaign" / name);
    if (!replay)
        return {};
    Sequence s{replay->levelName, {}};
    for (const std::string& line : replay->moves)
        if (std::optional<Move> move = MoveNamed(line))
            s.moves.push_back(*move);
    Sequence variant = s;
    Move& turned = variant.moves[variant.moves.size() / 2];
    turned = kMoveOrder[(static_cast<std::size_t>(turned) + 1) % kMoveOrder.size()];
    return {s, variant};
}

class RestInTheFrameLoop : public CampaignPlayTest, public ::testing::WithParamInterface<int> {
protected:
    // The simulator's account, in the game's own World before play starts.
    Verdict Simulate(const Sequence& s) {
        Verdict v;
        World& world = TheWorld();
        TurnOutcome outcome = BuildAndSettle(s.level, 100000);
        for (Move move : s.moves) {
            if (!outcome.settled)
                break;
            const WorldSnapshot before = world.Snapshot();
            const TurnOutcome next = PlayMoveHeadless(world, move, 100000);
            if (!next.moved) {
                world.Restore(before);
                ++v.refused;
                continue;
            }
            outcome = next;
            v.boards.push_back(world.BoardHash());
            v.frames.push_back(outcome.frames);
        }
        v.status = world.levelStatus;
        world.Clear();
        world.queueDrawing = true;
        return v;
    }

    // The game's account: the keys pressed `ahead` (while the turn before still moves) or
    // each a while after the board came to rest. Dialogs are put away as they come, and a key
    // a dialog took is pressed again.
    Verdict Play(const Sequence& s, bool ahead) {
        Verdict v;
        Enter(s.level);
        PlaySession& play = ThePlaySession();
        World& world = TheWorld();
        const std::uint32_t refusedBefore = play.refusals;
        int restFrames = 0, turnFrames = 0;
        std::uint64_t restingBoard = 0;
        for (int frame = 0; frame < 20000 && world.levelStatus == LevelStatus::Playing; ++frame) {
            const auto turn = static_cast<std::size_t>(play.turns);
            // The moves answered so far: taken, or refused for moving nothing.
            const std::size_t answered = turn + (play.refusals - refusedBefore);
            if (answered == s.moves.size() && play.settled)
                break;
            SDLKey key = SDLK_UNKNOWN;
            const bool running = frame > 0 && !world.frozen && CurrentDialog() == -1;
            const bool rested = play.settled && restFrames >= kRestBeforeKey;
            if (CurrentDialog() != -1)
                key = SDLK_c;  // Skip Dialog
            else if (running && answered < s.moves.size() &&
                     (ahead ? (!play.settled && !play.bufferedMove) || rested : rested))
                key = KeyOf(s.moves[answered]);
            if (key == SDLK_UNKNOWN)
                Frame();
            else
                Frame({key});
            if (static_cast<std::size_t>(play.turns) != turn) {
                turnFrames = 0;
                restFrames = 0;
            }
            if (!world.frozen)
                ++turnFrames;
            if (!play.settled)
                continue;
            if (restFrames++ == 0) {
                restingBoard = world.BoardHash();
                if (play.turns > 0) {
                    v.boards.push_back(restingBoard);
                    v.frames.push_back(turnFrames);
                }
            } else if (world.BoardHash() != restingBoard) {
                ADD_FAILURE() << "the board changed while it rested after turn " << play.turns;
                restingBoard = world.BoardHash();
            }
        }
        if (world.levelStatus != LevelStatus::Playing) {
            v.boards.push_back(world.BoardHash());
            v.frames.push_back(turnFrames);
        }
        v.status = world.levelStatus;
        v.refused = play.refusals - refusedBefore;
        SetState(GameState::LevelSelect);
        return v;
    }
};

TEST_P(RestInTheFrameLoop, TheGameAgreesWithTheSimulatorWhetherKeysComeAfterRestOrAhead) {
    const std::vector<Sequence> sequences = Sequences(GetParam());
    ASSERT_FALSE(sequences.empty()) << "no replay for slot " << GetParam() + 1;
    for (const Sequence& s : sequences) {
        SCOPED_TRACE(s.level);
        const Verdict simulated = Simulate(s);
        EXPECT_EQ(Play(s, false), simulated) << "keys pressed after rest";
        EXPECT_EQ(Play(s, true), simulated) << "keys pressed ahead";
    }
}

INSTANTIATE_TEST_SUITE_P(Campaign, RestInTheFrameLoop, ::testing::Range(0, 25));

}  // namespace
