// Hints and dead ends, through the real frame loop: every level of the campaign is won in
// exactly its par by pressing the hint key and following the arrow; a board the solver proves
// hopeless is told without asking, and only then; a search that meets its limit says so; and a
// completion after a hint is kept without the gold mark.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/input.h"
#include "content/dialog.h"
#include "content/registry.h"
#include "dialog/dialog_box.h"
#include "dialog/dialogs.h"
#include "game/screens.h"
#include "play/play.h"
#include "play/save_data.h"
#include "play/search_conditions.h"
#include "play/solver.h"
#include "play/way_finder.h"
#include "tests/play_fixture.h"
#include "ui/level_select.h"
#include "ui/play_display.h"
#include "world/world.h"

namespace {

// No time limit, so a slow build (the sanitizers') proves what a fast one does; the frame
// budget is no matter here.
WayFinderLimits Patient() {
    WayFinderLimits limits;
    limits.searchSeconds = 0;
    limits.sliceSeconds = 0.05;
    return limits;
}

bool Playing() { return TheWorld().levelStatus == LevelStatus::Playing; }

std::string ListedLevel(int slot) {
    LevelTable table;
    ReadLevelList("LevelList.txt", table);
    return table[static_cast<std::size_t>(slot)];
}

class HintsInTheCampaign : public CampaignPlayTest, public ::testing::WithParamInterface<int> {};

TEST_P(HintsInTheCampaign, FollowingTheArrowsWinsInExactlyPar) {
    const std::string level = ListedLevel(GetParam());
    if (level.empty())
        GTEST_SKIP() << "no level in slot " << GetParam() + 1;
    SCOPED_TRACE(level);
    PlaySession& play = ThePlaySession();
    play.ways.SetLimits(Patient());
    Enter(level);
    int hintsShown = 0;
    for (int frame = 0; frame < 200000 && Playing(); ++frame) {
        if (CurrentDialog() != -1 || BoxOpen() || !play.settled) {
            Step();
            continue;
        }
        const std::string plaque = HelpPlaqueText();
        ASSERT_EQ(plaque.rfind("No ", 0), std::string::npos) << "after " << play.turns << " turns: " << plaque;
        if (std::optional<Move> arrow = HintArrowShown()) {
            ASSERT_EQ(plaque.rfind("Hint: ", 0), 0u) << plaque;
            ++hintsShown;
            Frame({KeyOf(*arrow)});
        } else if (!play.hintAsked) {
            Frame({SDLK_h});
        } else {
            Frame();
        }
    }
    ASSERT_EQ(TheWorld().levelStatus, LevelStatus::Complete);
    EXPECT_EQ(play.turns, Registry().LevelTurnsPar(level));
    EXPECT_EQ(hintsShown, play.turns) << "every turn was the arrow's";
    // Kept as a completion, but not as the player's own best.
    EXPECT_TRUE(IsCompleted(level));
    EXPECT_EQ(BestTurns(level), 0);
    EXPECT_EQ(HintedBestTurns(level), play.turns);
}

INSTANTIATE_TEST_SUITE_P(Campaign, HintsInTheCampaign, ::testing::Range(0, kListedSlots));

// The first board of the campaign, a turn or two from a level's start, from which the solver
// proves that no way is left, and the turns to it. Found by search, so it follows the levels
// as they change.
struct DeadEnd {
    std::string level;
    std::vector<Move> moves;
};

std::optional<DeadEnd> FirstDeadEnd() {
    const SearchConditions conditions;
    const WayFinderLimits limits;
    SolveLimits solve;
    solve.maxTurns = limits.maxTurns;
    solve.maxFrames = limits.maxFrames;
    for (int slot = 0; slot < kListedSlots; ++slot) {
        const std::string level = ListedLevel(slot);
        if (level.empty())
            continue;
        std::vector<std::vector<Move>> sequences;
        for (Move a : kMoveOrder) {
            sequences.push_back({a});
            for (Move b : kMoveOrder)
                sequences.push_back({a, b});
        }
        for (const std::vector<Move>& moves : sequences) {
            World world;
            world.queueDrawing = false;
            world.SetGravity(90);
            Registry().BuildLevel(level, world);
            TurnOutcome outcome = SettleHeadless(world, limits.maxFrames);
            for (Move move : moves)
                if (outcome.settled)
                    outcome = PlayMoveHeadless(world, move, limits.maxFrames);
            if (!outcome.settled || outcome.levelStatus != LevelStatus::Playing)
                continue;
            const SolveResult result = Solve(world.Snapshot(), solve);
            if (!result.solvable && result.reason == "exhausted" && result.unsettled == 0)
                return DeadEnd{level, moves};
        }
    }
    return std::nullopt;
}

TEST_F(CampaignPlayTest, ADeadEndIsToldWithoutAskingAndUndoingLeavesIt) {
    const std::optional<DeadEnd> deadEnd = FirstDeadEnd();
    ASSERT_TRUE(deadEnd) << "no dead end within two turns of any level's start";
    SCOPED_TRACE(deadEnd->level);
    PlaySession& play = ThePlaySession();
    play.ways.SetLimits(Patient());
    Enter(deadEnd->level);
    for (Move move : deadEnd->moves) {
        ASSERT_TRUE(RunUntil([&] { Step(); return play.settled && CurrentDialog() == -1 && !BoxOpen(); }));
        EXPECT_EQ(HelpPlaqueText(), "") << "a board with a way on says nothing";
        Frame({KeyOf(move)});
    }
    const std::string notice = "No way on from here: Backspace undoes a turn";
    ASSERT_TRUE(RunUntil([&] { Step(); return HelpPlaqueText() == notice; }, 20000)) << HelpPlaqueText();
    EXPECT_FALSE(play.hintUsed) << "the notice is no hint";
    EXPECT_FALSE(HintArrowShown());

    // The board before had a way on: it was searched first, and found to.
    Frame({SDLK_BACKSPACE});
    ASSERT_TRUE(RunUntil([&] { return play.ways.Known() != nullptr; }));
    Frame();
    EXPECT_EQ(play.ways.Known()->kind, WayOn::Kind::Winnable);
    EXPECT_EQ(HelpPlaqueText(), "");
}

// A small board's search, and what the plaque says of it, under limits that let it prove
// what it can and under limits it meets first.
TEST_F(PlayTest, TheHintSaysWhatTheSearchFoundOrWhichLimitItMet) {
    struct Case {
        const char* level;
        WayFinderLimits limits;
        std::vector<SDLKey> before;  // turns taken before asking
        const char* told;            // unasked
        const char* asked;
    };
    WayFinderLimits oneTurn = Patient();
    oneTurn.maxTurns = 1;
    WayFinderLimits noTime = Patient();
    noTime.searchSeconds = 1e-9;
    const Case cases[] = {
        {"Play/Slide", Patient(), {}, "", "Hint: RIGHT, 1 turn to win"},
        {"Play/Hall", Patient(), {}, "No way on from here: this level can't be won",
         "No way on from here: this level can't be won"},
        {"Play/Hall", Patient(), {SDLK_RIGHT}, "No way on from here: Backspace undoes a turn",
         "No way on from here: Backspace undoes a turn"},
        // The hall has no way on, but neither limit lets the search see all of it: no dead end is claimed.
        {"Play/Hall", oneTurn, {}, "", "No hint: no win within 1 turn"},
        {"Play/Hall", noTime, {}, "", "No hint: the search ran out of time"},
    };
    PlaySession& play = ThePlaySession();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.level) + ", " + c.asked);
        play.ways.SetLimits(c.limits);
        Enter(c.level);
        for (SDLKey key : c.before) {
            ASSERT_TRUE(Settle());
            Frame({key});
        }
        ASSERT_TRUE(Settle());
        // The search has had its frames once the board rests for a while.
        ASSERT_TRUE(RunUntil([&] { return play.ways.Known() != nullptr; }));
        Frame();
        EXPECT_EQ(HelpPlaqueText(), c.told);
        Frame({SDLK_h});
        Frame();
        EXPECT_EQ(HelpPlaqueText(), c.asked);
        EXPECT_EQ(HintArrowShown().has_value(), play.Hint() && play.Hint()->kind == WayOn::Kind::Winnable);
        SetState(GameState::LevelSelect);
    }
}

TEST_F(PlayTest, TheHintIsAskedWithTheKeyBoundAndTheNoticeNamesTheUndoKeyAsBound) {
    SetBinding("Hint", SDLK_q);
    SetBinding("Undo", SDLK_u);
    PlaySession& play = ThePlaySession();
    play.ways.SetLimits(Patient());
    Enter("Play/Slide");
    ASSERT_TRUE(Settle());
    ASSERT_TRUE(RunUntil([&] { return play.ways.Known() != nullptr; }));
    Frame({SDLK_h});
    Frame();
    EXPECT_FALSE(HintArrowShown()) << "H is no longer the hint's key";
    Frame({SDLK_q});
    Frame();
    EXPECT_EQ(HintArrowShown(), Move::Right);

    SetState(GameState::LevelSelect);
    Enter("Play/Hall");
    ASSERT_TRUE(Settle());
    Frame({SDLK_RIGHT});
    ASSERT_TRUE(Settle());
    ASSERT_TRUE(RunUntil([&] { return !HelpPlaqueText().empty(); }));
    EXPECT_EQ(HelpPlaqueText(), "No way on from here: U undoes a turn");
}

TEST_F(PlayTest, ACompletionAfterAHintIsKeptWithoutTheGoldMarkAndSaysSo) {
    PlaySession& play = ThePlaySession();
    play.ways.SetLimits(Patient());
    auto atRest = [&] {
        Step();
        return play.settled && !BoxOpen() && CurrentDialog() == -1;
    };
    // The talking level says "And in one turn!" for a completion within par: not after a hint.
    Enter("Play/Talk");
    ASSERT_TRUE(RunUntil(atRest));
    Frame({SDLK_h});
    ASSERT_TRUE(RunUntil([] { return HintArrowShown().has_value(); }));
    EXPECT_EQ(*HintArrowShown(), Move::Right);
    EXPECT_TRUE(play.hintUsed);
    // Restarting does not undo having seen the way.
    Frame({SDLK_r});
    ASSERT_TRUE(RunUntil(atRest));
    EXPECT_TRUE(play.hintUsed);
    EXPECT_FALSE(HintArrowShown());
    Frame({SDLK_RIGHT});
    ASSERT_TRUE(RunUntil([&] {
        Step();
        return !Playing() && !BoxOpen() && CurrentDialog() == -1;
    }));
    Frame();
    EXPECT_EQ(TheWorld().levelStatus, LevelStatus::Complete);
    EXPECT_FALSE(play.LevelPerfect());
    bool perfectWaits = false;
    for (const auto& dialog : RunningDialogs())
        perfectWaits = perfectWaits || dialog->event == "LEVEL_PERFECT";
    EXPECT_TRUE(perfectWaits) << "the perfect dialog never came";
    EXPECT_EQ(HelpPlaqueText(), "A hint helped: no gold mark this time");
    EXPECT_EQ(CompletionMessageText(), "Level complete! Press SPACE to continue.");

    // On disk at once: SaveData.sav as an earlier version reads it, and the helped best beside it.
    SaveData old;
    old.Build({"Play/Talk"});
    ASSERT_TRUE(old.Read("SaveData.sav"));
    EXPECT_EQ(old.IsCompleted("Play/Talk"), 1);
    EXPECT_EQ(old.BestTurns("Play/Talk"), 0);
    SaveData hinted;
    hinted.Build({"Play/Talk"});
    ASSERT_TRUE(hinted.Read("SaveDataHints.sav"));
    EXPECT_EQ(hinted.BestTurns("Play/Talk"), 1);

    // Leaving play forgets the hint: the next completion is the player's own, with its gold.
    SetState(GameState::LevelSelect);
    Enter("Play/Slide");
    ASSERT_TRUE(Settle());
    Frame({SDLK_RIGHT});
    ASSERT_TRUE(RunUntil([] { return !Playing(); }));
    EXPECT_FALSE(play.hintUsed);
    EXPECT_TRUE(play.LevelPerfect());
    EXPECT_EQ(BestTurns("Play/Slide"), 1);
    EXPECT_EQ(HintedBestTurns("Play/Slide"), 0);
}

}  // namespace
