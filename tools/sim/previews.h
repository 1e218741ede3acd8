#pragma once
// Level previews as the level-select screen shows them, written without a window.
#include <cstdint>
#include <filesystem>
#include <string>

// Builds the level as entering play builds it, draws what the player would see with the
// game's own preview writer and puts the picture at `target`, making its folders. The picture
// is written under a temporary name beside `target` and renamed, so `target` is never left
// half-written. Throws (as std::string) for a level that fails to build or a file that can't
// be written.
void WriteLevelPreview(const std::string& level, const std::filesystem::path& target, std::int32_t maxFrames);

// Where a level's PreviewPath puts its picture in the game folder `game` (the working folder
// of a session), or an empty path when it names none or a place outside that folder.
std::filesystem::path PreviewTarget(const std::string& previewPath, const std::filesystem::path& game);
