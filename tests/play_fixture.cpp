#include "game/screens.h"
#include "tests/play_fixture.h"

#include <SDL_ttf.h>

#include <filesystem>

#include "game/app.h"
#include "app/game_state.h"
#include "app/input.h"
#include "world/render.h"
#include "app/timer.h"
#include "audio/music.h"
#include "content/module_loader.h"
#include "dialog/dialog_box.h"
#include "dialog/dialogs.h"
#include "platform/game_error.h"
#include "play/play.h"
#include "play/replay.h"
#include "play/save_data.h"
#include "tools/assetgen/canvas.h"
#include "widgets/widgets.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {
std::uint32_t fakeTicks = 1000;
std::uint32_t FakeTicks() { return fakeTicks; }

void Png(const fs::path& path, int w, int h, Rgba colour) {
    fs::create_directories(path.parent_path());
    Canvas c(w, h);
    c.FillRect(0, 0, w, h, colour);
    c.WritePng(path.string());
}

// The pictures the fixture modules name, made on the spot.
void WriteArt(const fs::path& art) {
    Png(art / "Crate.png", 32, 32, {176, 118, 62, 255});
    Png(art / "Floor.png", 640, 16, {122, 124, 140, 255});
    Png(art / "Post.png", 16, 64, {122, 124, 140, 255});
    Png(art / "Gate.png", 32, 32, {38, 110, 128, 255});
    for (int i = 0; i < 4; ++i)
        Png(art / ("GateActive" + std::to_string(i) + ".png"), 32, 32, {242, 172, static_cast<std::uint8_t>(64 * i), 255});
    Png(art / "Pad.png", 32, 8, {214, 96, 52, 255});
    Png(art / "Keeper.png", 140, 140, {244, 232, 204, 255});
    Png(art / "Heron.png", 140, 140, {58, 44, 102, 255});
    Png(art / "Lake.png", 140, 100, {22, 58, 80, 255});
}

const char* const kDefaultBindings[][2] = {
    {"Up", "273"},        {"Down", "274"},     {"Right", "275"},       {"Left", "276"},
    {"Action 1", "32"},   {"Skip Dialog", "99"}, {"Restart", "114"},   {"Undo", "8"},   {"Hint", "104"}, {"Mute Music", "109"},
    {"Save Replay", "290"}, {"Load Replay", "291"}, {"Screenshot", "316"},
};
}  // namespace

void WritePlayGameFolder(const fs::path& dir) {
    test::CopyGameFolder(dir);
    fs::remove_all(dir / "Modules");
    fs::copy(fs::path(QM_FIXTURES_DIR) / "play_module", dir, fs::copy_options::recursive);
    WriteArt(dir / "Art");
    test::WriteFile(dir / "LevelList.txt", "Main/Level 1\nMain/Botany \xE0 la Kool-aid Man\nMain/Tarrow For Time\n");
}

void PlayTest::SetUp() {
    LayOut(dir.Path());
    here.emplace(dir.Path());

    fakeTicks = 1000;
    SetTickSource(FakeTicks);
    SetFixedTimerStep(1.0);
    ResetFrameClock();
    ResetGameState();
    ClearBindings();
    for (auto& binding : kDefaultBindings)
        SetBinding(binding[0], std::stoi(binding[1]));
    SetScreenSurface(SDL_GetVideoSurface());
    if (!TTF_WasInit())
        TTF_Init();
    try {
        LoadAllModules();
        LoadSaveData();
        CreateDialogBox();
    } catch (const platform::GameError& error) {
        FAIL() << error.Message();
    }
    ThePlaySession().replay = ReplayState{};
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
}

void PlayTest::TearDown() {
    // Leave through the state's own exit, so nothing of it stays behind for the next test.
    if (CurrentState() == GameState::Play || CurrentState() == GameState::LevelEditor)
        SetState(GameState::TitleMenu);
    FreeDialogBox();
    clearWidgets();
    TheWorld().Clear();
    DeleteAllTemplates();
    ResetGameState();
    ThePlaySession().replay = ReplayState{};
    SetFixedTimerStep(0);
    SetTickSource(nullptr);
    here.reset();
}

void PlayTest::Enter(const std::string& level) {
    ThePlaySession().levelName = level;
    SetState(GameState::Play);
}

void PlayTest::Frame(std::initializer_list<SDLKey> keys) {
    for (SDLKey key : releaseNext) {
        SDL_Event e{};
        e.type = SDL_KEYUP;
        e.key.keysym.sym = key;
        SDL_PushEvent(&e);
    }
    releaseNext.clear();
    for (SDLKey key : keys) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.state = SDL_PRESSED;
        e.key.keysym.sym = key;
        SDL_PushEvent(&e);
        releaseNext.push_back(key);
    }
    try {
        ASSERT_TRUE(RunFrame());
    } catch (const platform::GameError& error) {
        FAIL() << error.Message();
    }
    fakeTicks += 10;
}

void PlayTest::Step() {
    if (CurrentDialog() != -1 || BoxOpen())
        Frame({SDLK_c});
    else
        Frame();
}

bool PlayTest::Settle(int limit) {
    return RunUntil([] { return ThePlaySession().settled || TheWorld().levelStatus != LevelStatus::Playing; }, limit);
}

void PlayTest::Wait(std::uint32_t ms) { fakeTicks += ms; }

Moves Recorded() {
    Moves names;
    for (Move move : ThePlaySession().replay.recordedMoves)
        names.emplace_back(MoveName(move));
    return names;
}

SDLKey KeyOf(Move move) {
    switch (move) {
    case Move::Left:
        return SDLK_LEFT;
    case Move::Up:
        return SDLK_UP;
    case Move::Down:
        return SDLK_DOWN;
    case Move::Right:
        return SDLK_RIGHT;
    }
    return SDLK_UNKNOWN;
}

void CampaignPlayTest::SetUp() {
    ASSERT_TRUE(OpenAudio());
    PlayTest::SetUp();
}

void CampaignPlayTest::TearDown() {
    PlayTest::TearDown();
    CloseAudio();
}
