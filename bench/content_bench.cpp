// Loading a module the size of a full campaign (100 sprites, 50 object kinds, 30 levels of
// 40 objects), and building one of its levels into the World.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/bench_window.h"
#include "content/module_loader.h"
#include "content/object_kinds.h"
#include "content/registry.h"
#include "tools/assetgen/canvas.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

// Definition K<i> is of the i-th object kind, round the table.
std::string_view KindOfDefinition(int i) {
    const auto kinds = ObjectKinds();
    return kinds[static_cast<std::size_t>(i) % kinds.size()].name;
}

// The module, written once under a fresh folder that goes when the program ends.
struct Folder {
    fs::path path;
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

const fs::path& ModuleFolder() {
    static const Folder root{[] {
        fs::path dir = fs::temp_directory_path() / ("quillmere-bench-" + std::to_string(getpid()));
        fs::create_directories(dir / "Modules/Main");
        fs::create_directories(dir / "Pictures");
        std::ofstream(dir / "Modules/Main/Include.ini") << "sprites.ini\nkinds.ini\nlevels.ini\n";

        std::ofstream sprites(dir / "Modules/Main/sprites.ini");
        for (int i = 0; i < 100; ++i) {
            Canvas c(32, 32);
            c.FillRect(2, 2, 28, 28, {static_cast<std::uint8_t>(i * 2), 80, 160, 255});
            c.WritePng((dir / "Pictures" / ("P" + std::to_string(i) + ".png")).string());
            sprites << "[Sprite]\nName = P" << i << "\nSpritePath = Pictures/P" << i
                    << ".png\nWidth = 32\nHeight = 32\nFrameDelay = 10\n\n";
        }
        std::ofstream kinds(dir / "Modules/Main/kinds.ini");
        for (int i = 0; i < 50; ++i) {
            kinds << "[" << KindOfDefinition(i) << "]\nName = K" << i << "\nSpriteName = Main/P" << i
                  << "\nDrawDepth = 2\nXPlacementOffset = 4\nBoundingWidth = 30\nBoundingHeight = 30\n"
                  << "PressedSpriteName = Main/P" << (i + 50) << "\nActiveSpriteName = Main/P" << (i + 50)
                  << "\nWeight = 1\n\n";
        }
        std::ofstream levels(dir / "Modules/Main/levels.ini");
        for (int l = 0; l < 30; ++l) {
            levels << "[Level]\nName = Level " << l << "\nTurnsPar = 9\nPreviewPath = Pictures/P0.png\n\n";
            for (int o = 0; o < 40; ++o) {
                const int kind = o % 8 + 8 * (l % 6);
                levels << "Add: [" << KindOfDefinition(kind) << "] Main/K" << kind << " @ " << (o % 16) * 32
                       << ", " << (o / 16) * 32 << "; Rotate " << (o % 4) * 90 << "; Link (o" << o << ") -> ()\n";
            }
            levels << "\n";
        }
        return dir;
    }()};
    return root.path;
}

void BM_LoadModule(benchmark::State& state) {
    if (!OpenBenchWindow())
        return state.SkipWithError("no video");
    fs::path previous = fs::current_path();
    fs::current_path(ModuleFolder());
    for (auto _ : state) {
        LoadAllModules();
        benchmark::DoNotOptimize(Registry().Count());
        Registry().Clear();
    }
    fs::current_path(previous);
}
BENCHMARK(BM_LoadModule)->Unit(benchmark::kMillisecond);

void BM_BuildLevel(benchmark::State& state) {
    if (!OpenBenchWindow())
        return state.SkipWithError("no video");
    fs::path previous = fs::current_path();
    fs::current_path(ModuleFolder());
    LoadAllModules();
    for (auto _ : state) {
        Registry().BuildLevel("Main/Level 3", TheWorld());
        benchmark::DoNotOptimize(TheWorld().Count());
        TheWorld().Clear();
    }
    Registry().Clear();
    fs::current_path(previous);
}
BENCHMARK(BM_BuildLevel)->Unit(benchmark::kMicrosecond);

}  // namespace
