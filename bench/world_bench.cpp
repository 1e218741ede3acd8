// Cost of one simulation sub-step in a crowded falling scene of 24x24 crates, with the
// spatial index and with the plain scan over every object, measured side by side.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "app/timer.h"
#include "bench/thread_clock.h"
#include "world/world.h"

namespace {

Image Crate() {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 24, 24, 32, 0x00ff0000, 0x0000ff00, 0x000000ff, 0xff000000);
    SDL_FillRect(s, nullptr, SDL_MapRGBA(s->format, 170, 110, 60, 255));
    Image image(s);
    SDL_FreeSurface(s);
    return image;
}

// Sixteen rows of solid crates over a floor, three pixels apart so they fall before they
// stack; the more crates, the tighter each row, neighbours in a row overlapping (side by
// side they never stop each other). Nothing is pushed off screen, so the count holds.
void BuildCrowd(World& w, int count) {
    SetFixedTimerStep(1.0);
    w.queueDrawing = false;
    const Image crate = Crate();
    auto floor = std::make_unique<PhysObj>();
    floor->pinned = floor->solid = true;
    floor->SetImage(crate, false);
    floor->SetBounds(0, 0, 640, 24);
    floor->SetPosition(0, 456);
    w.Add(std::move(floor));
    const int rows = 16;
    const int perRow = (count + rows - 1) / rows;
    const double pitch = perRow > 1 ? 616.0 / (perRow - 1) : 0.0;
    for (int i = 0; i < count; ++i) {
        auto c = std::make_unique<PhysObj>();
        c->solid = true;
        c->SetImage(crate, true);
        c->SetPosition(static_cast<int>((i % perRow) * pitch), (i / perRow) * 27);
        c->dirY = 1.0;
        w.Add(std::move(c));
    }
}

double Seconds(World& w) {
    const double t0 = ThreadSeconds();
    w.Update(1.0);
    return ThreadSeconds() - t0;
}

void BM_SubStep(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    World indexed, plain;
    BuildCrowd(indexed, count);
    const WorldSnapshot start = indexed.Snapshot();
    plain.queueDrawing = false;
    plain.broadPhase = false;
    // Keep it a falling scene: start over before everything has settled. Each run of
    // frames goes through the index first, then through the plain scan, so neither pays
    // for the other's traffic in the caches.
    constexpr int kRun = 40;
    double totalIndexed = 0, totalPlain = 0;
    std::int64_t frame = 0, plainFrames = 0;
    double hits = 0, movers = 0;
    for (auto _ : state) {
        if (frame % kRun == 0)
            indexed.Restore(start);
        const double a = Seconds(indexed);
        totalIndexed += a;
        state.SetIterationTime(a);
        // How crowded it is: the look-ahead finds this many objects per object.
        for (int i = 0; i < indexed.Count(); ++i) {
            Entity* e = indexed.Get(i);
            hits += static_cast<double>(static_cast<PhysObj*>(e)->collisions.size());
            movers += e->moving ? 1 : 0;
        }
        if (++frame % kRun == 0) {
            plain.Restore(start);
            for (int i = 0; i < kRun; ++i)
                totalPlain += Seconds(plain);
            plainFrames += kRun;
        }
    }
    if (plainFrames == 0) {
        plain.Restore(start);
        for (std::int64_t i = 0; i < frame; ++i)
            totalPlain += Seconds(plain);
        plainFrames = frame;
    }
    const double n = static_cast<double>(state.iterations());
    const double indexedUs = totalIndexed / n * 1e6, plainUs = totalPlain / static_cast<double>(plainFrames) * 1e6;
    state.counters["indexed_us"] = indexedUs;
    state.counters["plain_us"] = plainUs;
    state.counters["plain/indexed"] = plainUs / indexedUs;
    state.counters["objects_at_end"] = indexed.Count();
    state.counters["found_per_object"] = hits / n / indexed.Count();
    state.counters["moving"] = movers / n / indexed.Count();
}
BENCHMARK(BM_SubStep)->Arg(100)->Arg(500)->Arg(1000)->Arg(2000)->UseManualTime()->Unit(benchmark::kMicrosecond);

// How the cost grows from 1000 to 2000 crates: the two scenes take turns, forty frames
// each, so that a busy machine slows both alike. Besides the means, the median of the
// stretch-by-stretch ratios, which a burst of other work on the machine hardly moves.
void BM_SubStepScaling(benchmark::State& state) {
    World small, large;
    BuildCrowd(small, 1000);
    BuildCrowd(large, 2000);
    const WorldSnapshot smallStart = small.Snapshot(), largeStart = large.Snapshot();
    constexpr int kRun = 40;
    double totalSmall = 0, totalLarge = 0;
    std::vector<double> ratios;
    for (auto _ : state) {
        small.Restore(smallStart);
        large.Restore(largeStart);
        double a = 0, b = 0;
        for (int i = 0; i < kRun; ++i)
            a += Seconds(small);
        for (int i = 0; i < kRun; ++i)
            b += Seconds(large);
        totalSmall += a;
        totalLarge += b;
        ratios.push_back(b / a);
        state.SetIterationTime(a + b);
    }
    const double frames = static_cast<double>(state.iterations()) * kRun;
    state.counters["us_1000"] = totalSmall / frames * 1e6;
    state.counters["us_2000"] = totalLarge / frames * 1e6;
    state.counters["2000/1000"] = totalLarge / totalSmall;
    if (!ratios.empty())
        state.counters["median_ratio"] = Median(ratios);
}
BENCHMARK(BM_SubStepScaling)->UseManualTime()->Unit(benchmark::kMillisecond);

// What a solver pays to branch: a snapshot, a restore and a state hash.
void BM_SnapshotRestoreHash(benchmark::State& state) {
    World w;
    BuildCrowd(w, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const WorldSnapshot snap = w.Snapshot();
        w.Restore(snap);
        benchmark::DoNotOptimize(w.StateHash());
    }
}
BENCHMARK(BM_SnapshotRestoreHash)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
