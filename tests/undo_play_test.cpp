// Taking turns back, turns pressed ahead of a settled board, what the screen says when a
// level ends, and progress on disk the moment a level is won.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/input.h"
#include "game/screens.h"
#include "play/play.h"
#include "play/replay.h"
#include "play/save_data.h"
#include "tests/play_fixture.h"
#include "tests/test_support.h"
#include "ui/play_display.h"
#include "world/entity.h"
#include "world/world.h"

namespace {


const Entity& Crate() {
    for (int i = 0; i < TheWorld().Count(); ++i)
        if (TheWorld().Get(i)->templateName == "Play/Crate")
            return *TheWorld().Get(i);
    throw std::logic_error("no crate on the board");
}

bool Status(LevelStatus status) { return TheWorld().levelStatus == status; }

// Where everything stands and moves, the gravity and the outcome. The state hash also
// holds animation phases, which run on with every frame drawn: two boards reached after
// different numbers of frames compare by this.
std::string Board() {
    const World& world = TheWorld();
    std::string board = std::to_string(static_cast<int>(world.levelStatus)) + " g" + std::to_string(world.GetGravity());
    for (int i = 0; i < world.Count(); ++i) {
        const Entity* e = world.Get(i);
        board += " | " + e->templateName + " " + std::to_string(e->x) + "," + std::to_string(e->y) + " v" +
                 std::to_string(e->velX) + "," + std::to_string(e->velY) + (e->moving ? " moving" : "");
    }
    return board;
}

TEST_F(PlayTest, UndoTakesTurnsBackOneByOneToTheLevelsStart) {
    Enter("Play/Hall");
    ASSERT_TRUE(Settle());
    // The board each turn found, as the frame that took it saw it.
    std::vector<std::uint64_t> hashes{TheWorld().StateHash()};
    std::vector<std::string> boards{Board()};
    for (SDLKey key : {SDLK_RIGHT, SDLK_UP, SDLK_LEFT}) {
        Frame({key});
        ASSERT_TRUE(Settle());
        hashes.push_back(TheWorld().StateHash());
        boards.push_back(Board());
    }
    ASSERT_EQ(Recorded(), (Moves{"Right", "Up", "Left"}));
    ASSERT_NE(boards[1], boards[0]);

    // Two turns back straight on the session, to see the very board restored...
    for (std::int32_t turns : {2, 1}) {
        ASSERT_TRUE(ThePlaySession().Undo());
        EXPECT_EQ(ThePlaySession().turns, turns);
        EXPECT_EQ(TheWorld().StateHash(), hashes[static_cast<std::size_t>(turns)]) << "back to turn " << turns;
        EXPECT_EQ(Recorded().size(), static_cast<std::size_t>(turns));
    }
    // ...and the last by its key, in play.
    Frame({SDLK_BACKSPACE});
    EXPECT_EQ(ThePlaySession().turns, 0);
    EXPECT_EQ(Board(), boards[0]);
    EXPECT_TRUE(Recorded().empty());
    EXPECT_EQ(TurnCounterText(), "0 TURNS");
    Frame({SDLK_BACKSPACE});
    EXPECT_EQ(ThePlaySession().turns, 0) << "nothing before the start";
    EXPECT_FALSE(ThePlaySession().Undo());

    // The board taken back plays on exactly as it did the first time.
    ASSERT_TRUE(Settle());
    Frame({SDLK_RIGHT});
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Board(), boards[1]);
    EXPECT_EQ(Recorded(), Moves{"Right"});
}

TEST_F(PlayTest, UndoMidTurnTakesBackTheTurnUnderway) {
    Enter("Play/Hall");
    ASSERT_TRUE(Settle());
    const std::string start = Board();
    Frame({SDLK_RIGHT});
    Frame();
    ASSERT_FALSE(ThePlaySession().settled);
    Frame({SDLK_BACKSPACE});
    EXPECT_EQ(Board(), start);
    EXPECT_EQ(ThePlaySession().turns, 0);
}

TEST_F(PlayTest, UndoIsRefusedWhileAReplayPlaysAndForTheTurnsItPlayed) {
    ThePlaySession().StartPlayback(ReplayFile{"Play/Slide", {"Down", "Down", "Right", ""}});
    SetState(GameState::Play);
    ASSERT_TRUE(RunUntil([] { return ThePlaySession().turns == 1; }));
    EXPECT_FALSE(ThePlaySession().Undo());
    // The key stops the replay, as any key does, but takes back nothing it played.
    Frame({SDLK_BACKSPACE});
    EXPECT_FALSE(ThePlaySession().replay.replayPlaying);
    EXPECT_EQ(ThePlaySession().turns, 1);
}

TEST_F(PlayTest, TheOutcomeLineSaysWhatHappenedAndNamesTheKeysAsBound) {
    struct Case {
        SDLKey restart, undo, action1;
        const char* lost;
        const char* complete;
    };
    for (const Case& c : {Case{SDLK_r, SDLK_BACKSPACE, SDLK_SPACE, "Level lost! Press R to restart or BACKSPACE to undo.",
                               "Level complete! Press SPACE to continue."},
                          Case{SDLK_F5, SDLK_u, SDLK_RETURN, "Level lost! Press F5 to restart or U to undo.",
                               "Level complete! Press RETURN to continue."}}) {
        SetBinding("Restart", c.restart);
        SetBinding("Undo", c.undo);
        SetBinding("Action 1", c.action1);
        SetState(GameState::TitleMenu);
        Enter("Play/Slide");
        ASSERT_TRUE(Settle());
        const std::string start = Board();
        Frame({SDLK_UP});  // the crate leaves the board through the open top
        ASSERT_TRUE(RunUntil([] { return Status(LevelStatus::Failed); }));
        Frame();
        EXPECT_EQ(CompletionMessageText(), c.lost);
        Frame({SDLK_LEFT});
        EXPECT_EQ(ThePlaySession().turns, 1) << "a lost level takes no turns";

        Frame({c.undo});
        EXPECT_EQ(TheWorld().levelStatus, LevelStatus::Playing);
        EXPECT_EQ(Board(), start);
        EXPECT_EQ(ThePlaySession().turns, 0);
        Frame();
        EXPECT_EQ(CompletionMessageText(), "");

        ASSERT_TRUE(Settle());
        Frame({SDLK_RIGHT});
        ASSERT_TRUE(RunUntil([] { return Status(LevelStatus::Complete); }));
        Frame();
        EXPECT_EQ(CompletionMessageText(), c.complete);
        EXPECT_EQ(BestTurns("Play/Slide"), 1) << "the undone turn is not counted";
        Frame({c.undo});
        EXPECT_EQ(TheWorld().levelStatus, LevelStatus::Complete) << "a won level stays won";
        EXPECT_EQ(ThePlaySession().turns, 1);
        Frame({c.action1});
        EXPECT_EQ(CurrentState(), GameState::CustomLevels);
    }
}

TEST_F(PlayTest, ALevelLostBeforeAnyTurnOffersOnlyTheRestart) {
    Enter("Play/Drop");
    ASSERT_TRUE(RunUntil([] { return Status(LevelStatus::Failed); }));
    Frame({SDLK_c});  // the failure dialog
    Frame();
    EXPECT_EQ(CompletionMessageText(), "Level lost! Press R to restart.");
}

TEST_F(PlayTest, TheLastDirectionPressedDuringATurnIsTakenOnceTheBoardSettles) {
    Enter("Play/Hall");
    Frame({SDLK_UP});  // while the level falls into place: buffered as well
    ASSERT_TRUE(RunUntil([] { return ThePlaySession().turns == 1; }));
    EXPECT_EQ(Recorded(), Moves{"Up"});
    ASSERT_TRUE(Settle());
    const std::int32_t top = Crate().y;

    Frame({SDLK_RIGHT});
    Frame({SDLK_DOWN});
    Frame({SDLK_LEFT});
    EXPECT_EQ(ThePlaySession().turns, 2);
    ASSERT_TRUE(RunUntil([] { return ThePlaySession().turns == 3; }));
    EXPECT_EQ(Crate().x, 592) << "taken only once the crate rested against the far wall";
    EXPECT_EQ(Crate().y, top);
    EXPECT_EQ(TheWorld().GetGravity(), 180);
    ASSERT_TRUE(Settle());
    Frame();
    EXPECT_EQ(ThePlaySession().turns, 3) << "taken once";
    EXPECT_EQ(Recorded(), (Moves{"Up", "Right", "Left"}));
}

TEST_F(PlayTest, RestartAndUndoDropTheBufferedMove) {
    // A direction in the very frame of the Restart or Undo is dropped with it.
    for (std::initializer_list<SDLKey> drop : {std::initializer_list<SDLKey>{SDLK_r}, {SDLK_BACKSPACE},
                                                {SDLK_r, SDLK_LEFT}, {SDLK_BACKSPACE, SDLK_LEFT}}) {
        SCOPED_TRACE(*drop.begin());
        SCOPED_TRACE(drop.size());
        SetState(GameState::TitleMenu);
        Enter("Play/Hall");
        ASSERT_TRUE(Settle());
        Frame({SDLK_RIGHT});
        Frame({SDLK_UP});
        Frame(drop);
        ASSERT_TRUE(Settle());
        Frame();
        Frame();
        EXPECT_EQ(ThePlaySession().turns, 0);
        EXPECT_TRUE(Recorded().empty());
        EXPECT_EQ(TheWorld().GetGravity(), 90);
    }
}

TEST_F(PlayTest, ACompletionIsOnDiskBeforeThePlayerLeavesTheLevel) {
    Enter("Play/Slide");
    ASSERT_TRUE(Settle());
    Frame({SDLK_RIGHT});
    ASSERT_TRUE(RunUntil([] { return Status(LevelStatus::Complete); }));
    Frame();
    // Read straight from the file, as a program killed now would find it next time.
    SaveData onDisk;
    onDisk.Build({"Play/Slide"});
    onDisk.Read("SaveData.sav");
    EXPECT_EQ(onDisk.IsCompleted("Play/Slide"), 1);
    EXPECT_EQ(onDisk.BestTurns("Play/Slide"), 1);

    // Written once per completion, not at every frame the level stays won.
    std::filesystem::remove("SaveData.sav");
    Frame();
    Frame();
    EXPECT_FALSE(std::filesystem::exists("SaveData.sav"));
}

}  // namespace
