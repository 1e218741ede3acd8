// Writes every generated picture, sound and track of the game folder. Deterministic:
// the same source always gives the same bytes.
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>

#include "tools/assetgen/generator.h"
#include "tools/assetgen/wav.h"

namespace {
std::map<std::string, AssetGroup>& Groups() {
    static std::map<std::string, AssetGroup> groups;
    return groups;
}
}  // namespace

RegisterAssetGroup::RegisterAssetGroup(const char* name, AssetGroup group) { Groups()[name] = group; }

std::filesystem::path AssetContext::GamePath(const std::string& relative) const {
    std::filesystem::path path = game / relative;
    std::filesystem::create_directories(path.parent_path());
    return path;
}

void AssetContext::WriteGamePng(const std::string& relative, const Canvas& canvas) const {
    canvas.WritePng(GamePath(relative).string());
}

void AssetContext::WriteResourcePng(const std::string& relative, const Canvas& canvas) const {
    std::filesystem::path path = resources / relative;
    std::filesystem::create_directories(path.parent_path());
    canvas.WritePng(path.string());
}

void AssetContext::WriteGameWav(const std::string& relative, const std::vector<float>& samples, int rate) const {
    wav::Write(GamePath(relative), samples, rate, 1);
}

int main(int argc, char** argv) {
    AssetContext ctx;
    std::string only;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string key = argv[i], value = argv[i + 1];
        if (key == "--game")
            ctx.game = value;
        else if (key == "--resources")
            ctx.resources = value;
        else if (key == "--font-source")
            ctx.fontSource = value;
        else if (key == "--only")
            only = value;
    }
    if (ctx.game.empty() || ctx.resources.empty()) {
        std::fprintf(stderr, "usage: quillmere-assetgen --game DIR --resources DIR [--font-source DIR] [--only GROUP]\n");
        return 2;
    }
    try {
        for (auto& [name, group] : Groups()) {
            if (!only.empty() && name != only)
                continue;
            group(ctx);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillmere-assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
