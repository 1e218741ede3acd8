// A settled board must not depend on the frame rate: the same moves played through the real
// main loop with frames 4, 10 and 25 ms apart, or at a ragged pace, end on the board that the
// simulator's fixed step gives.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game/screens.h"
#include "game/app.h"
#include "app/game_state.h"
#include "app/input.h"
#include "world/render.h"
#include "app/timer.h"
#include "audio/music.h"
#include "content/module_loader.h"
#include "content/registry.h"
#include "dialog/dialogs.h"
#include "platform/game_error.h"
#include "play/play.h"
#include "play/replay.h"
#include "play/save_data.h"
#include "play/turn_engine.h"
#include "tests/test_support.h"
#include "tools/sim/sim.h"
#include "widgets/widgets.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

std::uint32_t ticks = 1000;
std::uint32_t Ticks() { return ticks; }

const std::string kLevel = "Pace/Mixed";
const std::vector<std::string> kMoves = {"Left", "Up", "Right", "Down", "Left", "Down", "Right", "Up"};

SDLKey KeyFor(const std::string& move) {
    if (move == "Left")
        return SDLK_LEFT;
    if (move == "Up")
        return SDLK_UP;
    if (move == "Down")
        return SDLK_DOWN;
    return SDLK_RIGHT;
}

void Push(Uint8 type, SDLKey key) {
    SDL_Event e{};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    SDL_PushEvent(&e);
}

// The objects that differ, one a line, so a failure reads at a glance.
std::string Differences(const std::string& got, const std::string& want) {
    auto split = [](const std::string& list) {
        std::vector<std::string> objects;
        std::size_t at = 0;
        while ((at = list.find('{', at)) != std::string::npos) {
            std::size_t end = list.find('}', at);
            objects.push_back(list.substr(at, end - at + 1));
            at = end;
        }
        return objects;
    };
    const std::vector<std::string> a = split(got), b = split(want);
    std::string text;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string x = i < a.size() ? a[i] : "-", y = i < b.size() ? b[i] : "-";
        if (x != y)
            text += "\n  got  " + x + "\n  want " + y;
    }
    return text;
}

struct Board {
    std::string objects;
    std::int32_t turns = 0;
    LevelStatus status = LevelStatus::NotPlaying;
};

class FramePacing : public ::testing::Test {
protected:
    void SetUp() override {
        test::CopyGameFolder(dir.Path());
        fs::copy(fs::path(QM_FIXTURES_DIR) / "pace_module", dir.Path(), fs::copy_options::recursive);
        here.emplace(dir.Path());
        SetTickSource(Ticks);
        ResetGameState();
        ClearBindings();
        const std::pair<const char*, int> bindings[] = {{"Up", SDLK_UP},         {"Down", SDLK_DOWN},
                                                        {"Right", SDLK_RIGHT},   {"Left", SDLK_LEFT},
                                                        {"Action 1", SDLK_SPACE}, {"Restart", SDLK_r}};
        for (const auto& [action, key] : bindings)
            SetBinding(action, key);
        SetScreenSurface(SDL_GetVideoSurface());
        if (!TTF_WasInit())
            TTF_Init();
        // The campaign's pieces have sounds, and sounds load only with the mixer open.
        audioOpened = Mix_QuerySpec(nullptr, nullptr, nullptr) == 0 && OpenAudio();
        try {
            LoadAllModules();
            LoadSaveData();
            CreateDialogBox();
        } catch (const platform::GameError& error) {
            FAIL() << error.Message();
        }
        ThePlaySession().replay = ReplayState{};
    }

    void TearDown() override {
        if (CurrentState() == GameState::Play)
            SetState(GameState::TitleMenu);
        FreeDialogBox();
        clearWidgets();
        TheWorld().Clear();
        DeleteAllTemplates();
        ResetGameState();
        SetFixedTimerStep(0);
        SetTickSource(nullptr);
        if (audioOpened)
            CloseAudio();
        here.reset();
    }

    // Plays the moves on the real frame loop, the clock moving by `intervals` in turn.
    Board PlayThroughMainLoop(const std::vector<std::uint32_t>& intervals) {
        SetFixedTimerStep(0);
        ResetFrameClock();
        std::size_t next = 0;
        auto frame = [&] {
            EXPECT_TRUE(RunFrame());
            ticks += intervals[next++ % intervals.size()];
        };
        ThePlaySession().levelName = kLevel;
        SetState(GameState::Play);
        // The level-start dialog would pause play: there is none in this level.
        for (const std::string& move : kMoves) {
            for (int i = 0; i < 5000 && !ThePlaySession().settled; ++i)
                frame();
            EXPECT_TRUE(ThePlaySession().settled) << "before " << move;
            Push(SDL_KEYDOWN, KeyFor(move));
            frame();
            Push(SDL_KEYUP, KeyFor(move));
            frame();
        }
        for (int i = 0; i < 5000 && !ThePlaySession().settled && TheWorld().levelStatus == LevelStatus::Playing; ++i)
            frame();
        Board board{DescribeObjects(TheWorld()), ThePlaySession().turns, TheWorld().levelStatus};
        SetState(GameState::TitleMenu);
        return board;
    }

    test::ScratchDir dir;
    std::optional<test::WorkingDir> here;
    bool audioOpened = false;
};

// The simulator's own road: the step fixed at 1.0 and whole turns run headless.
Board PlayHeadless() {
    SetFixedTimerStep(1.0);
    BuildAndSettle(kLevel, 100000);
    for (const std::string& move : kMoves)
        PlayMoveHeadless(TheWorld(), move, 100000);
    Board board{DescribeObjects(TheWorld()), static_cast<std::int32_t>(kMoves.size()), TheWorld().levelStatus};
    TheWorld().Clear();
    return board;
}

}  // namespace

TEST_F(FramePacing, SettledBoardsAreTheSameAtEveryFrameRate) {
    const Board expected = PlayHeadless();
    ASSERT_EQ(expected.status, LevelStatus::Playing);
    const std::vector<std::vector<std::uint32_t>> paces = {{4}, {10}, {25}, {4, 17, 9, 31, 12, 6, 48, 10}};
    for (const auto& pace : paces) {
        SCOPED_TRACE("frames " + std::to_string(pace.front()) + " ms apart" + (pace.size() > 1 ? ", ragged" : ""));
        const Board board = PlayThroughMainLoop(pace);
        EXPECT_EQ(board.turns, expected.turns);
        EXPECT_EQ(board.status, expected.status);
        EXPECT_EQ(board.objects, expected.objects) << Differences(board.objects, expected.objects);
    }
}

// A stall (a dragged window, a suspended machine) catches up a bounded number of nominal
// frames, and the sub-steps stay one move of 3 pixels at most.
TEST_F(FramePacing, AStallCatchesUpOnlyABoundedStep) {
    SetFixedTimerStep(0);
    ResetFrameClock();
    ticks += 100;
    FrameTick();
    ticks += 20000;
    FrameTick();
    EXPECT_LE(TimerStep(), kMaxTimerStep);
    EXPECT_GT(TimerStep(), 0.0);
}
