#pragma once
// Each group of generated assets registers itself here; main runs them in name order.
#include <filesystem>
#include <string>

#include "tools/assetgen/canvas.h"

struct AssetContext {
    std::filesystem::path game;        // the game folder: GUI/, Modules/, ...
    std::filesystem::path resources;   // files linked into the executable
    std::filesystem::path fontSource;  // folder holding the interface font
    // Writes a PNG under the game folder, making folders as needed.
    void WriteGamePng(const std::string& relative, const Canvas& canvas) const;
    void WriteResourcePng(const std::string& relative, const Canvas& canvas) const;
    std::filesystem::path GamePath(const std::string& relative) const;
};

using AssetGroup = void (*)(const AssetContext&);

struct RegisterAssetGroup {
    RegisterAssetGroup(const char* name, AssetGroup group);
};
