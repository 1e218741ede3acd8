// What one editor edit costs on a crowded level: every edit takes the level's layout before
// and after (for undo and the unsaved-changes question), each object looked up by name.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "bench/bench_window.h"
#include "content/module_loader.h"
#include "content/object_kinds.h"
#include "content/registry.h"
#include "editor/editor.h"
#include "tools/assetgen/canvas.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

// Definition K<i> is of the i-th kind the editor's palette offers, round the table.
std::string_view KindOfDefinition(int i) {
    std::vector<std::string_view> placeable;
    for (const ObjectKind& kind : ObjectKinds())
        if (kind.placeable)
            placeable.push_back(kind.name);
    return placeable[static_cast<std::size_t>(i) % placeable.size()];
}

// 200 object kinds and one level holding `objects` of them, under a folder that goes at the end.
class CrowdedLevel {
public:
    explicit CrowdedLevel(int objects)
        : dir(fs::temp_directory_path() / ("quillmere-editor-bench-" + std::to_string(getpid()))),
          previous(fs::current_path()) {
        fs::create_directories(dir / "Modules/Main");
        Canvas(24, 24, {176, 118, 62, 255}).WritePng((dir / "Block.png").string());
        std::ofstream(dir / "Modules/Main/Include.ini") << "all.ini\n";
        std::ofstream all(dir / "Modules/Main/all.ini");
        all << "[Sprite]\nName = Block\nSpritePath = Block.png\nWidth = 24\nHeight = 24\n\n";
        for (int i = 0; i < 200; ++i)
            all << "[" << KindOfDefinition(i) << "]\nName = K" << i << "\nSpriteName = Main/Block\nPressedSpriteName = Main/Block\n"
                << "XPlacementOffset = " << i % 5 << "\n\n";
        all << "[Level]\nName = Crowd\n\n";
        for (int o = 0; o < objects; ++o) {
            const int kind = (o * 7) % 200;
            all << "Add: [" << KindOfDefinition(kind) << "] Main/K" << kind << " @ " << (o % 26) * 24 << ", "
                << (o / 26) * 12 << "; Rotate 0; Link () -> ()\n";
        }
        all.close();
        fs::current_path(dir);
        LoadAllModules();
        BuildLevel("Main/Crowd");
    }
    ~CrowdedLevel() {
        TheWorld().Clear();
        Registry().Clear();
        fs::current_path(previous);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

private:
    fs::path dir;
    fs::path previous;
};

void BM_EditorLayout(benchmark::State& state) {
    if (!OpenBenchWindow())
        return state.SkipWithError("no video");
    CrowdedLevel level(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(EditorLevelObjects().size());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_EditorLayout)->Arg(40)->Arg(400)->Unit(benchmark::kMicrosecond);

}  // namespace
