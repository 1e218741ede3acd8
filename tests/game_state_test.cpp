#include <gtest/gtest.h>

#include <SDL_ttf.h>

#include "game/screens.h"
#include "app/timer.h"
#include "app/input.h"
#include "play/play.h"
#include "app/game_state.h"
#include "app/input.h"
#include "content/level_template.h"
#include "content/registry.h"

#include "audio/music.h"
#include "tests/test_support.h"
#include "ui/title_menu.h"
#include "widgets/widgets.h"

#include <sstream>
#include "world/world.h"

namespace {

TEST(GameStateTest, SetStateSwallowsTheFrameInput) {
    // The title menu loads its pictures from the game folder.
    test::ScratchDir dir;
    test::CopyGameFolder(dir.Path());
    test::WorkingDir in(dir.Path());
    ASSERT_TRUE(OpenAudio());
    if (!TTF_WasInit()) {
        ASSERT_EQ(TTF_Init(), 0);
    }
    ResetGameState();
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_ESCAPE;
    InjectEvent(e);
    ASSERT_TRUE(KeyPressed(kEscapeKey));
    SetState(GameState::TitleMenu);
    EXPECT_EQ(CurrentState(), GameState::TitleMenu);
    EXPECT_FALSE(KeyPressed(kEscapeKey));
    clearWidgets();
    CloseAudio();
}

TEST(GameStateTest, PlayEntryAndExitSetTheSharedValues) {
    // Play shows its turn counter and writes the save data: a game folder of its own.
    test::ScratchDir dir;
    test::CopyGameFolder(dir.Path());
    test::WorkingDir here(dir.Path());
    if (!TTF_WasInit()) {
        ASSERT_EQ(TTF_Init(), 0);
    }
    ResetGameState();
    std::istringstream level("[Level]\nName = Level 1\n");
    Registry().Register(std::make_unique<LevelTemplate>(level, "Main/"));
    SetPlayPaused(true);
    SetState(GameState::Play);
    EXPECT_FALSE(PlayPaused());
    EXPECT_FALSE(CursorShown());
    EXPECT_TRUE(ThePlaySession().endingPending);
    EXPECT_EQ(TheWorld().GetGravity(), 90);

    TheWorld().levelStatus = LevelStatus::Complete;
    SetCameFromEditor(true);
    TheWorld().SetGravity(0);
    SetState(GameState::LevelEditor);
    EXPECT_EQ(TheWorld().levelStatus, LevelStatus::Playing) << "the level is built again for the editor";
    EXPECT_TRUE(CursorShown());
    EXPECT_EQ(TheWorld().GetGravity(), 90) << "back to the editor with gravity down";
    clearWidgets();
    ResetGameState();
    Registry().Clear();
    TheWorld().levelStatus = LevelStatus::NotPlaying;
}
}  // namespace

#include "game/app.h"
#include "app/timer.h"

namespace {

void Push(Uint8 type, int sym = 0) {
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.keysym.sym = static_cast<SDLKey>(sym);
    SDL_PushEvent(&e);
}

TEST(FrameLoopTest, QuitEndsTheFrameBeforeAnythingElseRuns) {
    ResetGameState();
    int frames = FramesDrawn();
    Push(SDL_KEYDOWN, SDLK_ESCAPE);
    Push(SDL_QUIT);
    EXPECT_FALSE(RunFrame());
    EXPECT_EQ(FramesDrawn(), frames) << "the frame clock must not have ticked";
    EXPECT_EQ(CurrentState(), GameState::Intro) << "no state step ran";
}

TEST(FrameLoopTest, EscapeOnTheTitleMenuAsksAndOnlyAYesEndsTheLoop) {
    test::ScratchDir dir;
    test::CopyGameFolder(dir.Path());
    test::WorkingDir in(dir.Path());
    ASSERT_TRUE(OpenAudio());
    if (!TTF_WasInit()) {
        ASSERT_EQ(TTF_Init(), 0);
    }
    ResetGameState();
    SetState(GameState::TitleMenu);
    EXPECT_TRUE(RunFrame()) << "a quiet frame goes on";
    // Escape and Enter twice over, as a player hurrying past the opening might: the question
    // starts on STAY, which both keys give.
    for (SDLKey key : {SDLK_ESCAPE, SDLK_ESCAPE, SDLK_ESCAPE, SDLK_RETURN}) {
        Push(SDL_KEYDOWN, key);
        EXPECT_TRUE(RunFrame()) << "key " << key;
        Push(SDL_KEYUP, key);
        EXPECT_TRUE(RunFrame());
    }
    EXPECT_EQ(TitleMenuQuestion(), "") << "Escape asked, Escape said STAY, Escape asked again, Enter said STAY";
    EXPECT_EQ(CurrentState(), GameState::TitleMenu);
    Push(SDL_KEYDOWN, SDLK_ESCAPE);
    EXPECT_TRUE(RunFrame());
    EXPECT_EQ(TitleMenuQuestion(), "Quit Quillmere?");
    Push(SDL_KEYDOWN, SDLK_LEFT);
    EXPECT_TRUE(RunFrame());
    Push(SDL_KEYDOWN, SDLK_RETURN);
    EXPECT_TRUE(RunFrame()) << "QUIT is chosen in this frame";
    int frames = FramesDrawn();
    EXPECT_FALSE(RunFrame()) << "and ends the loop in the next";
    EXPECT_EQ(FramesDrawn(), frames) << "the rest of the frame is not run";
    clearWidgets();
    CloseAudio();
    ResetGameState();
}
}  // namespace
