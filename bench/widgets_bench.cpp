// Cost of the interface: a menu's widgets each frame, unchanged and changed text, and
// making a label (each one opens its own font handle).
#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "bench/bench_window.h"
#include "world/render.h"
#include "app/timer.h"
#include "widgets/text_label.h"
#include "widgets/widgets.h"
#include "world/draw_queue.h"

namespace {

bool OpenInterface() {
    static bool opened = [] {
        if (!OpenBenchWindow())
            return false;
        return TTF_Init() == 0 && chdir(QM_GAME_DIR) == 0;
    }();
    return opened;
}

SDL_Color Parchment() { return SDL_Color{244, 232, 204, 0}; }

// A menu as the screens build one: a full-screen picture, six captions and six labels.
void BuildMenu() {
    addImageWidget(std::make_unique<ImageWidget>(Image("GUI/Loading.png", 1, 0, 640, 480), 0, 0, 100));
    for (int i = 0; i < 6; ++i) {
        auto button = std::make_unique<TextButton>();
        button->setFont(InterfaceFontPath(), 36);
        button->setNormalColour(Parchment());
        button->setHoverColour(SDL_Color{242, 172, 64, 0});
        button->setText("CHOICE " + std::to_string(i));
        SDL_Rect r = button->getRect();
        button->setRect(320 - r.w / 2, 60 + i * 60, r.w, r.h);
        addButton(std::move(button));

        auto label = std::make_unique<TextLabel>();
        label->setPosition(20, 60 + i * 60);
        label->setDepth(0);
        label->setColour(Parchment());
        label->setText("Level " + std::to_string(i + 1));
        addLabel(std::move(label));
    }
}

void BM_MenuWidgetsPerFrame(benchmark::State& state) {
    if (!OpenInterface())
        return state.SkipWithError("no video");
    BuildMenu();
    for (auto _ : state) {
        updateWidgets();
        FrameDrawQueue().Clear();
    }
    clearWidgets();
}
BENCHMARK(BM_MenuWidgetsPerFrame)->Unit(benchmark::kMicrosecond);

void BM_MenuFramePresented(benchmark::State& state) {
    if (!OpenInterface())
        return state.SkipWithError("no video");
    BuildMenu();
    for (auto _ : state) {
        updateWidgets();
        // Drawn in full: an unchanged frame would not be drawn at all.
        ForgetPresentedFrame();
        RenderFrame();
    }
    clearWidgets();
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MenuFramePresented)->Unit(benchmark::kMillisecond);

void BM_LabelSameTextEachFrame(benchmark::State& state) {
    if (!OpenInterface())
        return state.SkipWithError("no video");
    TextLabel label;
    label.setText("Turns: 12");
    for (auto _ : state) {
        label.setText("Turns: 12");
        label.draw();
        FrameDrawQueue().Clear();
    }
}
BENCHMARK(BM_LabelSameTextEachFrame)->Unit(benchmark::kMicrosecond);

void BM_WrappedDialogText(benchmark::State& state) {
    if (!OpenInterface())
        return state.SkipWithError("no video");
    TextLabel label;
    label.setBoxWidth(420);
    label.setWrap(true);
    label.setFont(InterfaceFontPath(), 21);
    const std::string texts[2] = {
        "The lake is still tonight. Every crate you tip will fall until something stops it, so choose "
        "the way of the fall with care: the exit takes only what comes to rest inside it.",
        "Buttons open the doors linked to them while something heavy lies on them. A long fall breaks "
        "what is breakable; a direction changer sends a falling thing another way altogether."};
    int i = 0;
    for (auto _ : state)
        label.setText(texts[i++ & 1]);
}
BENCHMARK(BM_WrappedDialogText)->Unit(benchmark::kMillisecond);

// Wrapping must grow with the length of the text, not its square: one long word, and text
// of ordinary words, each of state.range(0) characters.
void BM_WrapLongWord(benchmark::State& state) {
    if (!OpenInterface())
        return state.SkipWithError("no video");
    const std::string word(static_cast<std::size_t>(state.range(0)), 'w');
    for (auto _ : state) {
        TextLabel label;
        label.setBoxWidth(420);
        label.setWrap(true);
        label.setText(word);
        benchmark::DoNotOptimize(label.getSurface());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_WrapLongWord)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_WrapLongText(benchmark::State& state) {
    if (!OpenInterface())
        return state.SkipWithError("no video");
    std::string text;
    const char* words[] = {"the ", "lake ", "is ", "still ", "tonight, ", "every ", "crate ", "falls. "};
    for (std::size_t i = 0; text.size() < static_cast<std::size_t>(state.range(0)); ++i)
        text += words[i % 8];
    text.resize(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        TextLabel label;
        label.setBoxWidth(420);
        label.setWrap(true);
        label.setText(text);
        benchmark::DoNotOptimize(label.getSurface());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_WrapLongText)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_MakeLabel(benchmark::State& state) {
    if (!OpenInterface())
        return state.SkipWithError("no video");
    for (auto _ : state) {
        TextLabel label;
        label.setText("Level 1");
        benchmark::DoNotOptimize(label.getSurface());
    }
}
BENCHMARK(BM_MakeLabel)->Unit(benchmark::kMicrosecond);

}  // namespace
