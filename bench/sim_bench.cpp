// The solver on the test module's yard (29 objects, nine crates, twelve turns deep): board
// states per second, and the time of the whole search.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>

#include "tests/sim_fixture.h"
#include "tools/sim/sim.h"
#include "play/solver.h"
#include "world/world.h"

namespace {

struct Yard {
    std::unique_ptr<SimSession> session;
    WorldSnapshot start;
    int objects = 0;
};

Yard& TheYard() {
    static Yard yard = [] {
        Yard y;
        char folder[] = "/tmp/quillmere-sim-bench-XXXXXX";
        if (!mkdtemp(folder))
            return y;
        simtest::LayOutSimModule(folder);
        y.session = std::make_unique<SimSession>(folder, false);
        BuildAndSettle("Sim/Yard", 100000);
        y.start = TheWorld().Snapshot();
        y.objects = TheWorld().Count();
        return y;
    }();
    return yard;
}

void Search(benchmark::State& state, std::int32_t maxTurns) {
    Yard& yard = TheYard();
    if (!yard.session)
        return state.SkipWithError("no scratch folder");
    SolveLimits limits;
    limits.maxTurns = maxTurns;
    std::int64_t states = 0, frames = 0;
    SolveResult last;
    for (auto _ : state) {
        last = Solve(yard.start, limits);
        states += last.states;
        frames += last.frames;
    }
    state.counters["objects"] = yard.objects;
    state.counters["states/s"] = benchmark::Counter(static_cast<double>(states), benchmark::Counter::kIsRate);
    state.counters["frames/state"] = states ? static_cast<double>(frames) / states : 0.0;
    state.counters["turns"] = last.solvable ? static_cast<double>(last.moves.size()) : -1.0;
}

// The first eight turns of the search: throughput on a fixed amount of work.
void BM_SolverThroughput(benchmark::State& state) { Search(state, 8); }
BENCHMARK(BM_SolverThroughput)->Unit(benchmark::kMillisecond);

// The whole search down to the fewest turns.
void BM_SolveYard(benchmark::State& state) { Search(state, 100); }
BENCHMARK(BM_SolveYard)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
