#include "content/level_template.h"

#include <stdexcept>

#include "content/key_lines.h"
#include "content/object_kinds.h"
#include "content/registry.h"
#include "platform/game_error.h"
#include "world/world.h"

namespace {

// Finds `piece` in `line` from `from`, or fails the way a level designer can act on.
std::size_t Expect(const std::string& line, const std::string& piece, std::size_t from) {
    std::size_t at = line.find(piece, from);
    if (at == std::string::npos)
        throw std::out_of_range("Object line \"" + line + "\" has no \"" + piece + "\"");
    return at;
}

bool IsObjectKind(const std::string& kind) { return FindObjectKind(kind) != nullptr; }

// Position plus offset without signed overflow; the object's 16-bit position wraps it anyway.
std::int32_t Sum(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

}  // namespace

LevelEntry ParseLevelEntry(const std::string& line) {
    LevelEntry entry;
    std::size_t at = Expect(line, "Add: [", 0) + 6;

    std::size_t close = Expect(line, "]", at);
    entry.kind = line.substr(at, close - at);
    at = close + 2;  // the blank after "]"

    std::size_t marker = Expect(line, "@", at);
    // The writer puts one blank before "@"; a name without it loses nothing else.
    entry.name = line.substr(at, marker > at ? marker - at - 1 : 0);
    at = marker + 1;

    std::size_t comma = Expect(line, ",", at);
    entry.x = AtoI(std::string_view(line).substr(at, comma - at));
    at = comma + 2;

    std::size_t semicolon = Expect(line, ";", at);
    entry.y = AtoI(std::string_view(line).substr(at, semicolon - at));

    at = Expect(line, "Rotate", at) + 6;
    semicolon = Expect(line, ";", at);
    entry.rotation = AtoI(std::string_view(line).substr(at, semicolon - at));

    at = Expect(line, "(", at) + 1;
    close = Expect(line, ")", at);
    entry.linkFrom = line.substr(at, close - at);

    at = Expect(line, "(", at) + 1;
    std::size_t last = line.rfind(')');
    if (last == std::string::npos || last < at)
        throw std::out_of_range("Object line \"" + line + "\" has no \")\"");
    entry.linkTo = line.substr(at, last - at);
    return entry;
}

void LevelTemplate::Load(std::istream& text, const std::string& prefix) {
    Template::Load(text, prefix);
    musicThemePath = ReadString(text, "MusicThemePath", "");
    previewPath = ReadString(text, "PreviewPath", "");
    turnsPar = ReadInt(text, "TurnsPar", 0);

    entries.clear();
    dialogEvents.clear();
    text.clear();
    text.seekg(0);
    std::string line;
    while (ReadContentLine(text, line)) {
        if (line.starts_with("Add:"))
            entries.push_back(ParseLevelEntry(line));
        else if (line.starts_with("DialogEvent:")) {
            if (line.size() < 13)
                throw std::out_of_range("\"DialogEvent:\" names no dialog");
            dialogEvents.push_back(line.substr(13));
        }
    }
}

void LevelTemplate::BuildInto(World& world) const {
    const ModuleRegistry& registry = Registry();
    for (const LevelEntry& entry : entries) {
        std::unique_ptr<Entity> object;
        if (IsObjectKind(entry.kind))
            object = registry.NewObject(entry.kind, entry.name);
        // Looked up even when the kind word made nothing, so a name no definition has fails.
        std::int32_t offsetX = registry.XPlacementOffset(entry.name);
        std::int32_t offsetY = registry.YPlacementOffset(entry.name);
        if (!object)
            continue;
        object->SetPosition(Sum(entry.x, offsetX), Sum(entry.y, offsetY));
        object->linkName = entry.linkFrom;
        object->linkTarget = entry.linkTo;
        object->SetRotation(entry.rotation);
        world.AddEntity(std::move(object));
    }
    world.levelStatus = LevelStatus::Playing;
    for (auto event = dialogEvents.rbegin(); event != dialogEvents.rend(); ++event)
        if (registry.Find(*event, "Dialog") == nullptr)
            throw platform::GameError(NotFoundMessage("Dialog", *event));
}
