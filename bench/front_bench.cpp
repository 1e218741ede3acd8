// Cost of a frame of the fullest menu, the level select (25 cells, their marks and
// numbers, the panel), and of a frame with a cutscene picture up. Neither may render text
// or convert pictures per frame. Both screens stand still, and a frame that shows what the
// window shows is not drawn again: each frame here forgets what the window shows, so the
// figure is that of a frame drawn in full.
#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "game/screens.h"
#include "play/story.h"
#include "bench/bench_window.h"
#include "app/game_state.h"
#include "world/render.h"
#include "app/timer.h"
#include "audio/music.h"
#include "content/level_template.h"
#include "content/registry.h"
#include "media/slideshow.h"
#include "play/save_data.h"
#include "ui/credits.h"
#include "ui/custom_levels.h"
#include "ui/level_select.h"
#include "ui/settings_menu.h"
#include "ui/title_menu.h"
#include "widgets/widgets.h"

namespace {

bool OpenGame() {
    static bool opened = [] {
        if (!OpenBenchWindow())
            return false;
        if ((!TTF_WasInit() && TTF_Init() != 0) || chdir(QM_GAME_DIR) != 0 || !OpenAudio())
            return false;
        // Every listed level exists and the first half are completed, so every kind of cell shows.
        std::ifstream list("LevelList.txt");
        std::vector<std::string> names;
        for (std::string line; std::getline(list, line);) {
            std::istringstream level("[Level]\nName = " + line.substr(line.find('/') + 1) + "\nTurnsPar = 9\n");
            Registry().Register(std::make_unique<LevelTemplate>(level, "Main/"));
            names.push_back(line);
        }
        LoadSaveData(names);
        for (std::size_t i = 0; i < names.size() / 2; ++i)
            RecordResult(names[i], 1, static_cast<int>(6 + i % 6));
        return true;
    }();
    return opened;
}

void BM_LevelSelectFrame(benchmark::State& state) {
    if (!OpenGame())
        return state.SkipWithError("no video, audio or game folder");
    SetState(GameState::LevelSelect);
    for (auto _ : state) {
        LevelSelectUpdate(ThePlaySession());
        updateWidgets();
        ForgetPresentedFrame();
        RenderFrame();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    SetState(GameState::Intro);
    clearWidgets();
    StopMusic();
}
BENCHMARK(BM_LevelSelectFrame)->Unit(benchmark::kMillisecond);

void BM_CutsceneFrame(benchmark::State& state) {
    if (!OpenGame())
        return state.SkipWithError("no video, audio or game folder");
    StartOpeningCutscene();
    // Through the first fade to black, until the first picture is up.
    while (SlideQueueSize() == 9) {
        UpdateSlideshow();
        RenderFrame();
    }
    for (auto _ : state) {
        UpdateSlideshow();
        ForgetPresentedFrame();
        RenderFrame();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    ClearSlideQueue();
    StopMusic();
}
BENCHMARK(BM_CutsceneFrame)->Unit(benchmark::kMillisecond);

}  // namespace
