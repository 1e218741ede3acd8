// A frame of play while the hint is being looked for, on every level of the campaign: the
// whole frame (a slice of the search, the World, the widgets and the presented picture) must
// stay under 16 ms. Each time a search and the walk along the way it found end, what was
// learnt is forgotten, so the next frame starts the search of the level's start over; every
// timed frame searches or walks.
// Time is wall time; on a machine shared with other work it also holds the time the process
// waited for a core, so the processor time the frame's own thread took is counted beside it.
// Counters: `max_ms` the slowest frame, `cpu_ms` and `max_cpu_ms` the thread's processor time
// per frame (mean and most), `searches` the searches begun in the run.
#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/input.h"
#include "audio/music.h"
#include "bench/bench_window.h"
#include "content/module_loader.h"
#include "content/settings_file.h"
#include "dialog/dialog_box.h"
#include "dialog/dialogs.h"
#include "game/app.h"
#include "game/screens.h"
#include "play/play.h"
#include "play/save_data.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

// A copy of the game folder to play in, so nothing is written into the build's own.
class GameCopy {
public:
    GameCopy() : dir(fs::temp_directory_path() / ("quillmere-hint-bench-" + std::to_string(getpid()))) {
        fs::create_directories(dir);
        for (const auto& entry : fs::directory_iterator(QM_GAME_DIR))
            if (entry.path().filename() != "quillmere")
                fs::copy(entry.path(), dir / entry.path().filename(), fs::copy_options::recursive);
        fs::current_path(dir);
    }
    ~GameCopy() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

private:
    fs::path dir;
};

std::vector<std::string>& Levels() {
    static std::vector<std::string> levels;
    return levels;
}

bool OpenGame() {
    static std::unique_ptr<GameCopy> copy;
    static bool opened = [] {
        if (!OpenBenchWindow() || (!TTF_WasInit() && TTF_Init() != 0) || !OpenAudio())
            return false;
        copy = std::make_unique<GameCopy>();
        RegisterScreens();
        LoadAllModules();
        LoadSettings();
        LoadSaveData();
        CreateDialogBox();
        std::ifstream list("LevelList.txt");
        for (std::string line; std::getline(list, line);)
            if (!line.empty())
                Levels().push_back(line);
        return true;
    }();
    return opened;
}

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

void PressHint() {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = static_cast<SDLKey>(BindingKey("Hint"));
    SDL_PushEvent(&e);
}

void BM_FrameWhileAHintIsSought(benchmark::State& state) {
    if (!OpenGame())
        return state.SkipWithError("no video, audio or game folder");
    const auto slot = static_cast<std::size_t>(state.range(0));
    if (slot >= Levels().size())
        return state.SkipWithError("no such level");
    PlaySession& play = ThePlaySession();
    play.levelName = Levels()[slot];
    SetState(GameState::Play);
    // Dialogs hold the board still; this is about the search.
    CloseBox();
    DeleteAllDialogs();
    for (int i = 0; i < 3000 && !play.settled; ++i)
        RunFrame();
    PressHint();
    RunFrame();

    double slowest = 0, cpu = 0, mostCpu = 0;
    int searches = 0;
    for (auto _ : state) {
        if (!play.ways.Searching() && !play.ways.Walking()) {
            state.PauseTiming();
            play.ways.Forget();
            ++searches;
            state.ResumeTiming();
        }
        const auto began = std::chrono::steady_clock::now();
        const double cpuBegan = ThreadSeconds();
        RunFrame();
        const double frameCpu = ThreadSeconds() - cpuBegan;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        slowest = std::max(slowest, seconds);
        cpu += frameCpu;
        mostCpu = std::max(mostCpu, frameCpu);
        state.SetIterationTime(seconds);
    }
    state.counters["max_ms"] = slowest * 1000;
    state.counters["cpu_ms"] = state.iterations() ? cpu * 1000 / static_cast<double>(state.iterations()) : 0.0;
    state.counters["max_cpu_ms"] = mostCpu * 1000;
    state.counters["searches"] = searches;
    state.SetLabel(play.levelName);
    SetState(GameState::TitleMenu);
}
BENCHMARK(BM_FrameWhileAHintIsSought)->DenseRange(0, 24)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
