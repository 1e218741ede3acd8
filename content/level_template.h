#pragma once
// A level: its music, preview and par, the objects placed on it and the dialogs it runs.
#include <cstdint>
#include <string>
#include <vector>

#include "content/template.h"

class World;

// One "Add:" line.
struct LevelEntry {
    std::string kind;
    std::string name;  // qualified name of the object kind
    std::string linkFrom;
    std::string linkTo;
    std::int32_t x = 0;  // before the kind's placement offset
    std::int32_t y = 0;
    std::int32_t rotation = 0;
};

// Cuts "Add: [Kind] Name @ x, y; Rotate r; Link (from) -> (to)" left to right; the second
// link runs to the last ")" so it may hold parentheses. A piece the line lacks throws
// std::out_of_range naming it.
LevelEntry ParseLevelEntry(const std::string& line);

class LevelTemplate : public Template {
public:
    LevelTemplate() = default;
    LevelTemplate(std::istream& text, const std::string& prefix) { LevelTemplate::Load(text, prefix); }

    // Adds the level's objects to `world` and marks it as being played. Every dialog the level
    // names must exist, so a level that would fail in play fails wherever it is built.
    void BuildInto(World& world) const;
    void Load(std::istream& text, const std::string& prefix) override;
    const LevelTemplate* AsLevel() const override { return this; }

    std::string musicThemePath;
    std::string previewPath;
    std::int32_t turnsPar = 0;
    std::vector<LevelEntry> entries;
    std::vector<std::string> dialogEvents;
};
