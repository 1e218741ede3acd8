// Cost of presenting a frame headless. A frame that would show what the window already
// shows is not drawn again, so every benchmark here but the one that measures that skip
// changes what it draws, or forgets what the window shows, in each iteration: the figures
// are the cost of a frame that is drawn and presented.
//
// A frame of play is measured against the floor SDL sets for the same pictures: filling the
// window, blitting each picture of the frame's queue straight from its surface, flipping.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/timer.h"
#include "bench/bench_window.h"
#include "bench/thread_clock.h"
#include "play/turn_engine.h"
#include "tools/sim/sim.h"
#include "world/draw_queue.h"
#include "world/image.h"
#include "world/render.h"
#include "world/world.h"

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

// 200 sprites over the window, all moved `shift` pixels.
void Queue200Sprites(const Image& sprite, int shift) {
    for (int i = 0; i < 200; ++i)
        FrameDrawQueue().Add((i * 37) % 608 + shift, (i * 53) % 448, i % 7, true, sprite);
}

void BM_EmptyFrame(benchmark::State& state) {
    if (!OpenBenchWindow())
        return state.SkipWithError("no video");
    for (auto _ : state) {
        ForgetPresentedFrame();
        RenderFrame();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond);

// Every sprite a pixel to the side of where it was in the frame before.
void BM_Frame200Sprites(benchmark::State& state) {
    if (!OpenBenchWindow())
        return state.SkipWithError("no video");
    Image sprite = Sprite();
    int shift = 0;
    for (auto _ : state) {
        Queue200Sprites(sprite, shift);
        shift ^= 1;
        RenderFrame();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Frame200Sprites)->Unit(benchmark::kMillisecond);

// The same 200 sprites where they were: the frame is not drawn again.
void BM_UnchangedFrameSkipped(benchmark::State& state) {
    if (!OpenBenchWindow())
        return state.SkipWithError("no video");
    Image sprite = Sprite();
    for (auto _ : state) {
        Queue200Sprites(sprite, 0);
        RenderFrame();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_UnchangedFrameSkipped)->Unit(benchmark::kMillisecond);

// The campaign level with the most pieces, its backdrop behind them.
constexpr const char* kPlayLevel = "Main/Botany \xc3\xa0 la Kool-aid Man";

// One blit of the floor: a surface, the part of it that shows and where it goes.
struct FloorBlit {
    SDL_Surface* surface;
    SDL_Rect source;
    SDL_Rect at;
};

// The frame's queue as RenderFrame will draw it, in key order, as plain blits. The
// pictures stay alive in the queue until RenderFrame has drawn them, and the floor is drawn
// right after.
std::vector<FloorBlit> FloorOf(const DrawQueue& queue) {
    std::vector<const DrawRequest*> order;
    for (const DrawRequest& r : queue.Requests())
        order.push_back(&r);
    std::stable_sort(order.begin(), order.end(),
                     [](const DrawRequest* a, const DrawRequest* b) { return a->DrawKey() < b->DrawKey(); });
    std::vector<FloorBlit> blits;
    for (const DrawRequest* r : order)
        if (r->image.HasSurface() && r->image.alpha != 0)
            blits.push_back({r->image.surface.get(), r->image.FrameRect(),
                             SDL_Rect{static_cast<Sint16>(r->x), static_cast<Sint16>(r->y), 0, 0}});
    return blits;
}

void DrawFloor(SDL_Surface* screen, std::vector<FloorBlit>& blits) {
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 255, 255, 255));
    for (FloorBlit& b : blits) {
        SDL_Rect at = b.at;
        SDL_BlitSurface(b.surface, &b.source, screen, &at);
    }
    SDL_Flip(screen);
}

// A turn is always under way: the next move is taken as soon as the board settles, and the
// level is built again when it ends. Each frame the World runs its sub-step and queues
// every piece, and the frame is drawn in full; then the floor draws the same pictures. The
// figure is the play frame's time; the counters give both and their ratio, the median of
// the frame-by-frame ratios.
void BM_PlayFrameAgainstFloor(benchmark::State& state) {
    if (!OpenBenchWindow())
        return state.SkipWithError("no video");
    SimSession session(QM_GAME_DIR, false);
    World& world = TheWorld();
    BuildFresh(session.ResolveLevel(kPlayLevel));
    if (!SettleHeadless(world, 100000).settled)
        return state.SkipWithError("the level does not settle");
    const WorldSnapshot start = world.Snapshot();
    world.queueDrawing = true;
    SetFadeRate(0.0);
    SetFadeAlpha(0.0);
    FrameDrawQueue().Clear();
    std::size_t move = 0;
    double play = 0, floor = 0;
    std::vector<double> ratios;
    std::int64_t pictures = 0;
    for (auto _ : state) {
        if (world.levelStatus != LevelStatus::Playing)
            world.Restore(start);
        if (BoardSettled(world))
            StartTurn(world, kMoveOrder[move++ % kMoveOrder.size()]);
        const double t0 = ThreadSeconds();
        world.Update(TimerStep());
        const double t1 = ThreadSeconds();
        std::vector<FloorBlit> blits = FloorOf(FrameDrawQueue());
        pictures += static_cast<std::int64_t>(blits.size());
        const double t2 = ThreadSeconds();
        ForgetPresentedFrame();
        RenderFrame();
        const double t3 = ThreadSeconds();
        DrawFloor(ScreenSurface(), blits);
        const double t4 = ThreadSeconds();
        const double frame = (t1 - t0) + (t3 - t2);
        play += frame;
        floor += t4 - t3;
        ratios.push_back(frame / (t4 - t3));
        state.SetIterationTime(frame);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["play_ms"] = play / n * 1e3;
    state.counters["floor_ms"] = floor / n * 1e3;
    state.counters["play/floor"] = Median(ratios);
    state.counters["pictures"] = static_cast<double>(pictures) / n;
    world.Clear();
}
BENCHMARK(BM_PlayFrameAgainstFloor)->UseManualTime()->Unit(benchmark::kMillisecond);
}  // namespace

BENCHMARK_MAIN();
