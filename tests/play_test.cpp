// Level play on the real frame loop: turns, settling, outcome, the ways out, replays.
#include <gtest/gtest.h>

#include <optional>

#include "game/screens.h"
#include "app/game_state.h"
#include "content/module_loader.h"
#include "play/play.h"
#include "play/replay.h"
#include "play/save_data.h"
#include "play/turn_engine.h"
#include "tests/play_fixture.h"
#include "ui/play_display.h"
#include "world/entity.h"
#include "world/world.h"

namespace {


// Where everything stands: kinds, places and motion, gravity and outcome. (Animation
// phases are left out: they follow the number of frames drawn, not the moves.)
std::string Board(const World& world) {
    std::string board = std::to_string(static_cast<int>(world.levelStatus)) + " g" + std::to_string(world.GetGravity());
    for (int i = 0; i < world.Count(); ++i) {
        const Entity* e = world.Get(i);
        board += " | " + e->templateName + " " + std::to_string(e->x) + "," + std::to_string(e->y) +
                 (e->moving ? " moving" : "");
    }
    return board;
}

TEST_F(PlayTest, TwoDirectionKeysInOneFrameTakeOneTurnLeftUpDownRight) {
    // On the Slide the crate rests on the floor against the left post: Down and Left move
    // nothing and are refused (no turn, gravity as it was), Up throws it off the board and
    // Right slides it into the gate. Either way the earlier of the two keys is the one tried.
    struct Case {
        std::initializer_list<SDLKey> keys;
        Move tried;
        bool taken;
    };
    for (const Case& c : {Case{{SDLK_RIGHT, SDLK_DOWN}, Move::Down, false}, Case{{SDLK_DOWN, SDLK_UP}, Move::Up, true},
                          Case{{SDLK_UP, SDLK_LEFT}, Move::Left, false}, Case{{SDLK_RIGHT}, Move::Right, true}}) {
        const std::string move(MoveName(c.tried));
        Enter("Play/Slide");
        ASSERT_TRUE(Settle());
        const std::uint32_t refusals = ThePlaySession().refusals;
        Frame(c.keys);
        EXPECT_EQ(ThePlaySession().turns, c.taken ? 1 : 0) << move;
        EXPECT_EQ(TheWorld().GetGravity(), c.taken ? MoveDirection(c.tried) : 90) << move;
        EXPECT_EQ(Recorded(), c.taken ? Moves{move} : Moves{}) << move;
        EXPECT_EQ(ThePlaySession().refusals, refusals + (c.taken ? 0 : 1)) << move << ": the other key is not tried";
        if (!c.taken) {
            ASSERT_TRUE(ThePlaySession().refusedMove);
            EXPECT_EQ(*ThePlaySession().refusedMove, c.tried);
        }
    }
}

TEST_F(PlayTest, NoTurnIsTakenUntilTheBoardHasRestedUnderTheNewGravity) {
    Enter("Play/Slide");
    Frame({SDLK_LEFT});
    EXPECT_EQ(ThePlaySession().turns, 0) << "the fresh level has not settled yet";
    ASSERT_TRUE(Settle());
    Frame({SDLK_RIGHT});
    ASSERT_EQ(ThePlaySession().turns, 1) << "a key in the settled frame wins over the one held back";
    // The crate still rested on the floor in that frame's update, but it has not yet
    // moved the new way: the next frame must not count as settled.
    EXPECT_FALSE(ThePlaySession().settled);
    Frame({SDLK_LEFT});
    Frame();
    Frame({SDLK_UP});
    EXPECT_EQ(ThePlaySession().turns, 1) << "keys during the motion wait for the board to settle";
    EXPECT_EQ(TheWorld().GetGravity(), 0);
    EXPECT_TRUE(RunUntil([] { return TheWorld().levelStatus == LevelStatus::Complete; }));
    EXPECT_EQ(ThePlaySession().turns, 1);
}

TEST_F(PlayTest, CompletionRecordsTheBestAndBlocksTurnsUntilRestart) {
    Enter("Play/Halfway");
    ASSERT_TRUE(Settle());
    Frame({SDLK_LEFT});
    ASSERT_TRUE(Settle());
    Frame({SDLK_RIGHT});
    ASSERT_TRUE(RunUntil([] { return TheWorld().levelStatus == LevelStatus::Complete; }));
    Frame();
    EXPECT_EQ(IsCompleted("Play/Halfway"), 1);
    EXPECT_EQ(BestTurns("Play/Halfway"), 2);
    EXPECT_EQ(TurnCounterText(), "2/1 TURNS") << "over par, nothing else marks it";
    EXPECT_EQ(CompletionMessageText(), "Level complete! Press SPACE to continue.");

    Frame({SDLK_LEFT});
    EXPECT_EQ(ThePlaySession().turns, 2) << "a finished level takes no turns";
    Frame({SDLK_r});
    EXPECT_EQ(TheWorld().levelStatus, LevelStatus::Playing);
    EXPECT_EQ(ThePlaySession().turns, 0);
    EXPECT_EQ(TurnCounterText(), "0/1 TURNS");
    Frame();
    EXPECT_EQ(CompletionMessageText(), "");
    ASSERT_TRUE(Settle());
    Frame({SDLK_RIGHT});
    ASSERT_TRUE(RunUntil([] { return TheWorld().levelStatus == LevelStatus::Complete; }));
    Frame();
    EXPECT_EQ(BestTurns("Play/Halfway"), 1);
}

TEST_F(PlayTest, FailureBlocksTurnsUntilRestart) {
    Enter("Play/Drop");
    ASSERT_TRUE(RunUntil([] { return TheWorld().levelStatus == LevelStatus::Failed; }));
    Frame({SDLK_c});  // the failure dialog
    Frame({SDLK_LEFT});
    Frame({SDLK_LEFT});
    EXPECT_EQ(ThePlaySession().turns, 0);
    EXPECT_EQ(TurnCounterText(), "0 TURNS") << "no par, only the count";
    Frame({SDLK_r});
    EXPECT_EQ(TheWorld().levelStatus, LevelStatus::Playing);
    EXPECT_EQ(CurrentState(), GameState::Play);
}

TEST_F(PlayTest, EscapeAndAction1LeadOutOfTheLevelByWhereItCameFrom) {
    struct Case {
        const char* level;
        bool fromEditor;
        bool complete;  // Action 1 after completing, else Escape at once
        GameState to;
    };
    for (const Case& c : {Case{"Main/Level 1", false, false, GameState::LevelSelect},
                          Case{"Main/Level 1", false, true, GameState::LevelSelect},
                          Case{"Play/Slide", false, false, GameState::CustomLevels},
                          Case{"Play/Slide", false, true, GameState::CustomLevels},
                          Case{"Play/Slide", true, false, GameState::LevelEditor},
                          Case{"Main/Level 1", true, true, GameState::LevelEditor}}) {
        SetState(GameState::TitleMenu);
        TheWorld().Clear();  // the editor keeps the level it was shown
        SetCameFromEditor(c.fromEditor);
        Enter(c.level);
        ASSERT_TRUE(Settle());
        if (c.complete) {
            Frame({SDLK_SPACE});
            EXPECT_EQ(CurrentState(), GameState::Play) << "Action 1 does nothing before completion";
            Frame({SDLK_RIGHT});
            ASSERT_TRUE(RunUntil([] { return TheWorld().levelStatus == LevelStatus::Complete; }));
            Frame({SDLK_SPACE});
        } else {
            Frame({SDLK_ESCAPE});
        }
        EXPECT_EQ(CurrentState(), c.to) << c.level << " editor " << c.fromEditor << " complete " << c.complete;
        EXPECT_FALSE(CameFromEditor());
        if (!c.fromEditor) {
            EXPECT_EQ(TheWorld().levelStatus, LevelStatus::NotPlaying);
        }
    }
    // Leaving play wrote the progress.
    SaveData written;
    written.Build({"Main/Level 1", "Play/Slide"});
    written.Read("SaveData.sav");
    EXPECT_EQ(written.BestTurns("Play/Slide"), 1);
    EXPECT_EQ(written.BestTurns("Main/Level 1"), 1);
}

TEST_F(PlayTest, AReplayPlaysBackAtItsPaceAndEndsWithItsMoves) {
    struct Case {
        const char* what;
        Moves moves;  // as read from the file
        std::int32_t turns;
    };
    for (const Case& c : {Case{"written replay", {"Down", "Left", ""}, 2},
                          Case{"no final line end plays one fewer", {"Down", "Left"}, 1},
                          Case{"odd lines take no turn", {"Sideways", "Left", ""}, 1},
                          Case{"nothing to play", {}, 0}}) {
        SetState(GameState::TitleMenu);
        ThePlaySession().StartPlayback(ReplayFile{"Play/Slide", c.moves});
        SetState(GameState::Play);
        EXPECT_TRUE(RunUntil([] { return !ThePlaySession().replay.replayPlaying; })) << c.what;
        EXPECT_EQ(ThePlaySession().turns, c.turns) << c.what;
        EXPECT_TRUE(ThePlaySession().replay.recordedMoves.empty()) << "played-back moves are not recorded";
    }
}

TEST_F(PlayTest, AKeyStopsPlaybackAndHandsOverToThePlayer) {
    ThePlaySession().StartPlayback(ReplayFile{"Play/Slide", {"Down", "Down", "Right", ""}});
    SetState(GameState::Play);
    ASSERT_TRUE(RunUntil([] { return ThePlaySession().turns == 1; }));
    Frame({SDLK_x});
    EXPECT_FALSE(ThePlaySession().replay.replayPlaying);
    ASSERT_TRUE(Settle());
    Frame({SDLK_RIGHT});
    EXPECT_EQ(Recorded(), Moves{"Right"});
}

TEST_F(PlayTest, AReplayHelpedCompletionIsNotRecordedUntilPlayIsLeft) {
    ThePlaySession().StartPlayback(ReplayFile{"Play/Slide", {"Down", "Right", ""}});
    SetState(GameState::Play);
    ASSERT_TRUE(RunUntil([] { return TheWorld().levelStatus == LevelStatus::Complete; }));
    Frame();
    EXPECT_EQ(IsCompleted("Play/Slide"), 0);

    // Restart keeps the mark: finishing by hand after it still does not count.
    Frame({SDLK_r});
    EXPECT_TRUE(ThePlaySession().replay.replayUsed);
    ASSERT_TRUE(Settle());
    Frame({SDLK_RIGHT});
    ASSERT_TRUE(RunUntil([] { return TheWorld().levelStatus == LevelStatus::Complete; }));
    Frame();
    EXPECT_EQ(IsCompleted("Play/Slide"), 0);

    Frame({SDLK_ESCAPE});
    EXPECT_FALSE(ThePlaySession().replay.replayUsed);
    Enter("Play/Slide");
    ASSERT_TRUE(Settle());
    Frame({SDLK_RIGHT});
    ASSERT_TRUE(RunUntil([] { return TheWorld().levelStatus == LevelStatus::Complete; }));
    Frame();
    EXPECT_EQ(BestTurns("Play/Slide"), 1);
}

TEST_F(PlayTest, AReplayRoundTripsToTheSameFinalBoard) {
    Enter("Play/Halfway");
    for (SDLKey key : {SDLK_LEFT, SDLK_DOWN, SDLK_RIGHT}) {
        ASSERT_TRUE(Settle());
        Frame({key});
    }
    ASSERT_TRUE(RunUntil([] { return TheWorld().levelStatus == LevelStatus::Complete; }));
    EXPECT_EQ(Recorded(), (Moves{"Left", "Right"})) << "Down moved nothing: refused, so never recorded";
    std::string byHand = Board(TheWorld());
    ASSERT_TRUE(WriteReplayFile("run.rpl", ThePlaySession().levelName, Recorded()));

    SetState(GameState::TitleMenu);
    auto replay = ReadReplayFile("run.rpl");
    ASSERT_TRUE(replay);
    ThePlaySession().StartPlayback(*replay);
    SetState(GameState::Play);
    ASSERT_TRUE(RunUntil([] { return TheWorld().levelStatus == LevelStatus::Complete; }));
    EXPECT_EQ(ThePlaySession().turns, 2);
    EXPECT_EQ(Board(TheWorld()), byHand);
}

}  // namespace

namespace {

TEST(TurnEngineTest, MoveNamesAndDirections) {
    struct Case {
        const char* move;
        std::optional<int> direction;
    };
    for (Case c : {Case{"Left", 180}, Case{"Up", 270}, Case{"Down", 90}, Case{"Right", 0}, Case{"left", {}},
                   Case{"", {}}, Case{"Right ", {}}}) {
        std::optional<Move> move = MoveNamed(c.move);
        EXPECT_EQ(move ? std::optional<int>(MoveDirection(*move)) : std::nullopt, c.direction) << c.move;
        if (move) {
            EXPECT_EQ(MoveName(*move), c.move) << "a name read back is the name written";
        }
    }
}

TEST_F(PlayTest, HeadlessTurnsEndOnTheSameBoardAsPlay) {
    Enter("Play/Slide");
    for (SDLKey key : {SDLK_DOWN, SDLK_RIGHT}) {
        ASSERT_TRUE(Settle());
        Frame({key});
    }
    ASSERT_TRUE(RunUntil([] { return TheWorld().levelStatus == LevelStatus::Complete; }));
    std::string played = Board(TheWorld());

    World world;
    world.queueDrawing = false;
    SetState(GameState::TitleMenu);
    TheWorld().Clear();
    BuildLevel("Play/Slide");
    // Move the built level into a World of our own, as the simulator does.
    world.Restore(TheWorld().Snapshot());
    TheWorld().Clear();
    world.SetGravity(90);
    TurnOutcome start = SettleHeadless(world, 1000);
    EXPECT_TRUE(start.settled);
    EXPECT_GE(start.frames, 2) << "the frame that changed gravity never counts as settled";
    EXPECT_EQ(PlayMoveHeadless(world, "Sideways", 1000).frames, 0);
    EXPECT_TRUE(PlayMoveHeadless(world, "Down", 1000).settled);
    TurnOutcome last = PlayMoveHeadless(world, "Right", 1000);
    EXPECT_FALSE(last.settled);
    EXPECT_EQ(last.levelStatus, LevelStatus::Complete);
    EXPECT_EQ(Board(world), played);
}

}  // namespace
