// What a turn sounds like and what a key that takes none shows, through the real frame loop:
// the interface's cues are counted as the game asks for them.
#include <gtest/gtest.h>

#include <SDL.h>

#include <array>

#include "app/game_state.h"
#include "audio/cues.h"
#include "game/app.h"
#include "game/screens.h"
#include "play/play.h"
#include "play/turn_engine.h"
#include "tests/play_fixture.h"
#include "ui/play_display.h"
#include "ui/play_screen.h"
#include "world/world.h"

namespace {

// How many of each cue were played since the counter was made.
class CueCount {
public:
    CueCount() {
        for (int i = 0; i <= static_cast<int>(Cue::KeyRefused); ++i)
            start[static_cast<std::size_t>(i)] = CuesPlayed(static_cast<Cue>(i));
    }
    std::uint64_t operator[](Cue cue) const { return CuesPlayed(cue) - start[static_cast<std::size_t>(cue)]; }

private:
    std::array<std::uint64_t, 8> start{};
};

using TurnSigns = PlayTest;

// On "Slide" the crate rests against the left post: Left moves nothing.
TEST_F(TurnSigns, ATurnThatMovesNothingIsRefusedAsTheSimulatorRefusesIt) {
    Enter("Play/Slide");
    ASSERT_TRUE(Settle());
    PlaySession& play = ThePlaySession();
    EXPECT_FALSE(MoveMovesAnything(TheWorld(), Move::Left));
    EXPECT_TRUE(MoveMovesAnything(TheWorld(), Move::Up));
    const std::uint64_t board = TheWorld().BoardHash();

    CueCount cues;
    Frame({SDLK_LEFT});
    EXPECT_EQ(play.turns, 0) << "no turn counted";
    EXPECT_TRUE(Recorded().empty()) << "none recorded";
    EXPECT_EQ(TheWorld().BoardHash(), board) << "the board was only tried, out of sight";
    EXPECT_EQ(cues[Cue::KeyRefused], 1u);
    EXPECT_EQ(cues[Cue::Turn], 0u);
    EXPECT_EQ(TurnNoteText(), "NOTHING CAN MOVE LEFT");
    Wait(2000);
    Frame();
    EXPECT_EQ(TurnNoteText(), "") << "the note goes after a moment";

    // The simulator's turn says the same of the same board.
    const WorldSnapshot before = TheWorld().Snapshot();
    World trial;
    trial.queueDrawing = false;
    trial.Restore(before);
    EXPECT_FALSE(PlayMoveHeadless(trial, Move::Left, 1000).moved);
    trial.Restore(before);
    EXPECT_TRUE(PlayMoveHeadless(trial, Move::Up, 1000).moved);
}

// "Hall" has a ceiling: Up and Down move the crate between it and the floor.
TEST_F(TurnSigns, EveryActionOfPlayHasItsSoundAndTheLandingIsOnePerSettle) {
    Enter("Play/Hall");
    ASSERT_TRUE(Settle());
    PlaySession& play = ThePlaySession();
    CueCount cues;
    Frame({SDLK_UP});
    EXPECT_EQ(play.turns, 1);
    EXPECT_EQ(cues[Cue::Turn], 1u);
    Frame();
    ASSERT_FALSE(play.settled);
    Frame({SDLK_DOWN});
    EXPECT_EQ(cues[Cue::KeyKept], 1u) << "a key pressed while the board moves is kept, and says so";
    EXPECT_EQ(TurnNoteText(), "NEXT: DOWN");
    EXPECT_EQ(cues[Cue::Land], 0u) << "nothing has landed yet";
    ASSERT_TRUE(RunUntil([&] { return play.turns == 2; }));
    EXPECT_EQ(cues[Cue::Land], 1u) << "one knock for the settle, however many pieces";
    EXPECT_EQ(cues[Cue::Turn], 2u) << "the kept key took its turn";
    ASSERT_TRUE(Settle());
    Frame();
    EXPECT_EQ(cues[Cue::Land], 2u);
    EXPECT_EQ(TurnNoteText(), "");

    Frame({SDLK_BACKSPACE});
    EXPECT_EQ(cues[Cue::Undo], 1u);
    Frame({SDLK_BACKSPACE});
    Frame({SDLK_BACKSPACE});
    EXPECT_EQ(play.turns, 0);
    EXPECT_EQ(cues[Cue::Undo], 2u);
    EXPECT_EQ(cues[Cue::KeyRefused], 1u) << "nothing left to undo";
    Frame({SDLK_r});
    EXPECT_EQ(cues[Cue::Restart], 1u);
    ASSERT_TRUE(Settle());
    Frame();
    EXPECT_EQ(cues[Cue::Land], 2u) << "building the level is no landing of the player's";
}

TEST_F(TurnSigns, ClosingTheWindowMidLevelAsksAndASecondCloseQuits) {
    auto quit = [] {
        SDL_Event e{};
        e.type = SDL_QUIT;
        SDL_PushEvent(&e);
    };
    Enter("Play/Slide");
    ASSERT_TRUE(Settle());
    quit();
    EXPECT_FALSE(RunFrame()) << "no turn taken: nothing to lose";

    Enter("Play/Slide");
    ASSERT_TRUE(Settle());
    Frame({SDLK_UP});
    quit();
    EXPECT_TRUE(RunFrame());
    EXPECT_EQ(PlayScreenQuestion(), "Quit? This level's turns are lost.");
    Frame({SDLK_ESCAPE});
    Frame();
    EXPECT_EQ(PlayScreenQuestion(), "") << "Escape stays";
    EXPECT_EQ(CurrentState(), GameState::Play) << "and does not leave the level";
    quit();
    EXPECT_TRUE(RunFrame());
    quit();
    EXPECT_FALSE(RunFrame()) << "the second close is the answer";
}

}  // namespace
