#pragma once
// Each group of generated assets registers itself here; main runs them in name order.
#include <filesystem>
#include <string>
#include <vector>

#include "tools/assetgen/canvas.h"

struct AssetContext {
    std::filesystem::path game;        // the game folder: GUI/, Modules/, ...
    std::filesystem::path resources;   // files linked into the executable
    std::filesystem::path fontSource;  // folder holding the interface font
    // Writes a PNG under the game folder, making folders as needed.
    void WriteGamePng(const std::string& relative, const Canvas& canvas) const;
    void WriteResourcePng(const std::string& relative, const Canvas& canvas) const;
    std::filesystem::path GamePath(const std::string& relative) const;
    // Writes a 16-bit mono WAV (samples -1..1) under the game folder.
    void WriteGameWav(const std::string& relative, const std::vector<float>& samples, int rate = 22050) const;
};

using AssetGroup = void (*)(const AssetContext&);

struct RegisterAssetGroup {
    RegisterAssetGroup(const char* name, AssetGroup group);
};
