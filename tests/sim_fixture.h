#pragma once
// A game folder holding the simulator's test module (tests/fixtures/sim_module) with the
// pictures and the sound it names painted on the spot.
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/wav.h"

namespace simtest {

inline void LayOutSimModule(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    fs::copy(QM_FIXTURES_DIR "/sim_module", root, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    fs::create_directories(root / "SimArt");
    // Fully opaque squares, so every box is the whole 32 x 32 picture.
    const std::pair<const char*, Rgba> pictures[] = {
        {"Wall", {40, 36, 80, 255}},     {"Crate", {150, 110, 60, 255}},     {"Lantern", {240, 190, 80, 255}},
        {"Vase", {60, 150, 160, 255}},   {"Shards", {60, 150, 160, 255}},    {"Well", {30, 90, 110, 255}},
        {"Plate", {180, 170, 150, 255}}, {"PlateDown", {120, 110, 100, 255}}, {"Arrow", {200, 120, 160, 255}},
        {"WellGlow0", {60, 200, 220, 255}}, {"WellGlow1", {80, 210, 230, 255}}, {"WellGlow2", {110, 220, 240, 255}},
        {"WellGlow3", {150, 235, 250, 255}}, {"Gate0", {90, 60, 120, 255}}, {"Gate1", {90, 60, 120, 255}},
        {"Gate2", {90, 60, 120, 255}},   {"Gate3", {90, 60, 120, 255}},
    };
    for (const auto& [name, colour] : pictures) {
        Canvas c(32, 32, colour);
        c.WritePng((root / "SimArt" / (std::string(name) + ".png")).string());
    }
    for (const auto& [name, w, h] : {std::tuple{"Beam", 352, 32}, std::tuple{"Pillar", 32, 224}}) {
        Canvas c(w, h, {40, 36, 80, 255});
        c.WritePng((root / "SimArt" / (std::string(name) + ".png")).string());
    }
    std::vector<float> crack(400);
    for (std::size_t i = 0; i < crack.size(); ++i)
        crack[i] = (i % 16 < 8 ? 0.5f : -0.5f) * (1.0f - static_cast<float>(i) / crack.size());
    std::ofstream(root / "SimArt" / "Crack.wav", std::ios::binary) << wav::Encode(crack, 22050, 1);
}

}  // namespace simtest
