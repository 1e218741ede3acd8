#pragma once
// What the editor writes: the level's own values and one line per placed object.
#include <cstdint>
#include <string>
#include <vector>

#include "content/level_template.h"

struct LevelProperties {
    std::string name = "New Level";
    std::string musicThemePath;
    std::int32_t turnsPar = 0;
    std::string previewPath;
    std::vector<std::string> dialogEvents;
    bool operator==(const LevelProperties&) const = default;
};

// The whole file, in the shape the level reader takes back: optional header lines only when
// set, one blank line, the object lines (positions before the placement offset), then the
// dialog events. Lines end in "\n".
std::string LevelFileText(const LevelProperties& level, const std::vector<LevelEntry>& objects);
// One object line: "Add: [kind] name @ x, y; Rotate r; Link (from) -> (to)".
std::string LevelObjectLine(const LevelEntry& object);
