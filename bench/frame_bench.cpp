// Cost of presenting a frame headless: an empty frame, and one with 200 queued 32x32 sprites.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench/bench_window.h"
#include "world/render.h"
#include "app/timer.h"
#include "world/draw_queue.h"
#include "world/image.h"

namespace {
// A 32x32 sprite with per-pixel alpha, in the display format as loaded pictures are.
Image Sprite() {
    SDL_Surface* raw = SDL_CreateRGBSurface(SDL_SWSURFACE, 32, 32, 32, 0x00ff0000, 0x0000ff00, 0x000000ff, 0xff000000);
    SDL_FillRect(raw, nullptr, SDL_MapRGBA(raw->format, 200, 120, 60, 180));
    SDL_Surface* converted = SDL_DisplayFormatAlpha(raw);
    Image image(converted);
    SDL_FreeSurface(raw);
    SDL_FreeSurface(converted);
    return image;
}

void BM_EmptyFrame(benchmark::State& state) {
    if (!OpenBenchWindow())
        return state.SkipWithError("no video");
    for (auto _ : state)
        RenderFrame();
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond);

void BM_Frame200Sprites(benchmark::State& state) {
    if (!OpenBenchWindow())
        return state.SkipWithError("no video");
    Image sprite = Sprite();
    for (auto _ : state) {
        for (int i = 0; i < 200; ++i)
            FrameDrawQueue().Add((i * 37) % 608, (i * 53) % 448, i % 7, true, sprite);
        RenderFrame();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Frame200Sprites)->Unit(benchmark::kMillisecond);
}  // namespace

BENCHMARK_MAIN();
