// The solver: on the test module's yard (29 objects, nine crates, twelve turns deep), board
// states per second and the time of the whole search; on the campaign's slowest level, the
// whole search; and, for the guard in CI, the yard's cost per state against a fixed
// workload run in turns with it in the same process.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bench/thread_clock.h"
#include "play/solver.h"
#include "tests/sim_fixture.h"
#include "tools/sim/sim.h"
#include "world/world.h"

namespace {

// The game folder a search runs in, with its level built and settled; each benchmark opens
// its own and closes it again, so they never share the registry.
struct Board {
    Board(const std::string& folder, const std::string& level) {
        session = std::make_unique<SimSession>(folder, false);
        if (!BuildAndSettle(session->ResolveLevel(level), 100000).settled)
            return;
        start = TheWorld().Snapshot();
        objects = TheWorld().Count();
        ready = true;
    }
    std::unique_ptr<SimSession> session;
    WorldSnapshot start;
    int objects = 0;
    bool ready = false;
};

// The test module, painted once per process.
const std::string& SimFolder() {
    static const std::string folder = [] {
        char path[] = "/tmp/quillmere-sim-bench-XXXXXX";
        if (!mkdtemp(path))
            return std::string();
        simtest::LayOutSimModule(path);
        return std::string(path);
    }();
    return folder;
}

constexpr const char* kYard = "Sim/Yard";
// The campaign level whose search takes longest.
constexpr const char* kSlowestCampaignLevel = "Main/Tarrow For Time";

void Search(benchmark::State& state, const std::string& folder, const std::string& level, std::int32_t maxTurns,
            bool skipFreeFall = true) {
    if (folder.empty())
        return state.SkipWithError("no scratch folder");
    Board board(folder, level);
    if (!board.ready)
        return state.SkipWithError("the level does not settle");
    SolveLimits limits;
    limits.maxTurns = maxTurns;
    limits.skipFreeFall = skipFreeFall;
    std::int64_t states = 0, frames = 0;
    SolveResult last;
    for (auto _ : state) {
        last = Solve(board.start, limits);
        states += last.states;
        frames += last.frames;
    }
    state.counters["objects"] = board.objects;
    state.counters["states/s"] = benchmark::Counter(static_cast<double>(states), benchmark::Counter::kIsRate);
    state.counters["frames/state"] = states ? static_cast<double>(frames) / states : 0.0;
    state.counters["turns"] = last.solvable ? static_cast<double>(last.moves.size()) : -1.0;
}

// The first eight turns of the search: throughput on a fixed amount of work. Each search
// also runs every sub-step (`stepwise`, free fall not skipped), the before of a before and
// after that one run measures on the same machine.
void BM_SolverThroughput(benchmark::State& state) { Search(state, SimFolder(), kYard, 8); }
BENCHMARK(BM_SolverThroughput)->Unit(benchmark::kMillisecond);
void BM_SolverThroughputStepwise(benchmark::State& state) { Search(state, SimFolder(), kYard, 8, false); }
BENCHMARK(BM_SolverThroughputStepwise)->Unit(benchmark::kMillisecond);

// The whole search down to the fewest turns.
void BM_SolveYard(benchmark::State& state) { Search(state, SimFolder(), kYard, 100); }
BENCHMARK(BM_SolveYard)->Unit(benchmark::kMillisecond)->Iterations(1);
void BM_SolveYardStepwise(benchmark::State& state) { Search(state, SimFolder(), kYard, 100, false); }
BENCHMARK(BM_SolveYardStepwise)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SolveSlowestCampaignLevel(benchmark::State& state) { Search(state, QM_GAME_DIR, kSlowestCampaignLevel, 100); }
BENCHMARK(BM_SolveSlowestCampaignLevel)->Unit(benchmark::kMillisecond)->Iterations(1);
void BM_SolveSlowestCampaignLevelStepwise(benchmark::State& state) {
    Search(state, QM_GAME_DIR, kSlowestCampaignLevel, 100, false);
}
BENCHMARK(BM_SolveSlowestCampaignLevelStepwise)->Unit(benchmark::kMillisecond)->Iterations(1);

// A fixed amount of work that no change to the game touches: sorting and hashing
// pseudo-random numbers, a mix of arithmetic, branches and memory like a search's. Never
// change it: the guard's limit is a multiple of the solver's cost measured against it.
std::uint64_t ReferenceWork() {
    std::vector<std::uint32_t> numbers(1 << 16);
    std::uint64_t x = 0x9E3779B97F4A7C15ull;
    for (std::uint32_t& n : numbers) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        n = static_cast<std::uint32_t>(x);
    }
    std::sort(numbers.begin(), numbers.end());
    std::uint64_t h = 0;
    for (std::uint32_t n : numbers)
        h = (h ^ n) * 0x100000001B3ull;
    return h;
}

// The yard's first eight turns and the reference take turns; the median of the run-by-run
// ratios is what the guard reads. Thread CPU time leaves out other work on the machine, and
// what is left of it (caches, a shared core) slows both sides of a ratio alike.
void BM_SolverAgainstReference(benchmark::State& state) {
    Board board(SimFolder(), kYard);
    if (!board.ready)
        return state.SkipWithError("the yard does not settle");
    SolveLimits limits;
    limits.maxTurns = 8;
    std::vector<double> ratios;
    double solveSeconds = 0, referenceSeconds = 0;
    std::int64_t states = 0;
    for (auto _ : state) {
        const double t0 = ThreadSeconds();
        const SolveResult r = Solve(board.start, limits);
        const double t1 = ThreadSeconds();
        benchmark::DoNotOptimize(ReferenceWork());
        const double t2 = ThreadSeconds();
        states += r.states;
        solveSeconds += t1 - t0;
        referenceSeconds += t2 - t1;
        ratios.push_back((t1 - t0) / static_cast<double>(r.states) / (t2 - t1));
        state.SetIterationTime(t2 - t0);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["us/state"] = states ? solveSeconds / static_cast<double>(states) * 1e6 : 0.0;
    state.counters["reference_ms"] = referenceSeconds / runs * 1e3;
    // One state's cost in thousandths of a reference run.
    state.counters["state/reference"] = Median(ratios) * 1e3;
}
BENCHMARK(BM_SolverAgainstReference)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

}  // namespace
