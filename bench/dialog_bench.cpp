// Cost of a play frame with the dialog box up: the box's pictures, the typed text and the
// flag window, drawn and presented; and the frame with the box away, for comparison. Each
// frame forgets what the window shows, so it is drawn in full even when nothing changed.
#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <sstream>

#include "game/screens.h"
#include "play/story.h"
#include "bench/bench_window.h"
#include "app/input.h"
#include "world/render.h"
#include "app/timer.h"
#include "content/registry.h"
#include "content/sprite_sound_templates.h"
#include "content/dialog.h"
#include "dialog/dialogs.h"

namespace {

bool OpenBox() {
    static bool opened = [] {
        if (!OpenBenchWindow())
            return false;
        if ((!TTF_WasInit() && TTF_Init() != 0) || chdir(QM_GAME_DIR) != 0)
            return false;
        CreateDialogBox();
        // Any picture of the game folder serves as a speaker and a flag.
        std::istringstream face("[Sprite]\nName = Face\nSpritePath = GUI/DialogIcons/TurnOn0.png\nWidth = 140\nHeight = 140\n");
        Registry().Register(std::make_unique<SpriteTemplate>(face, "Bench/"));
        return true;
    }();
    return opened;
}

// A dialog whose one message is long enough to wrap onto three lines, shown in full.
void ShowWholeMessage() {
    DeleteAllDialogs();
    Message m{"Bench/Face", "Bench/Face",
              "The lake tips and everything on it slides the other way; mind the crates that rest on the "
              "ones below."};
    auto dialog = std::make_unique<Dialog>("LEVEL_START", std::deque<Message>{m});
    AddDialog(std::move(dialog));
    UpdateStoryDialogs(ThePlaySession());
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_x;
    // One key ends the slide; the speaker screen switches on; a second key shows the text.
    InjectEvent(key);
    UpdateDialogBox();
    for (int i = 0; i < 12; ++i)
        UpdateDialogBox();
    InjectEvent(key);
    UpdateDialogBox();
    SDL_Delay(450);  // past the static on the speaker screen
}

void BM_FrameWithDialogBox(benchmark::State& state) {
    if (!OpenBox())
        return state.SkipWithError("no video or game folder");
    ShowWholeMessage();
    for (auto _ : state) {
        UpdateDialogBox();
        ForgetPresentedFrame();
        RenderFrame();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    ResetDialogBox();
}
BENCHMARK(BM_FrameWithDialogBox)->Unit(benchmark::kMillisecond);

void BM_FrameWithoutDialogBox(benchmark::State& state) {
    if (!OpenBox())
        return state.SkipWithError("no video or game folder");
    ResetDialogBox();
    for (auto _ : state) {
        UpdateStoryDialogs(ThePlaySession());
        ForgetPresentedFrame();
        RenderFrame();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FrameWithoutDialogBox)->Unit(benchmark::kMillisecond);

}  // namespace
