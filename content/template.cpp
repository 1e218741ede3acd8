#include "content/template.h"

#include "content/key_lines.h"
#include "platform/game_error.h"

TemplateProduct Template::Instantiate() const { return {}; }

void Template::Load(std::istream& text, const std::string& prefix) {
    text.clear();
    text.seekg(0);
    std::string heading;
    ReadLine(text, heading);
    type = heading.size() >= 2 ? heading.substr(1, heading.size() - 2) : std::string();

    xPlacementOffset = ReadInt(text, "XPlacementOffset", 0);
    yPlacementOffset = ReadInt(text, "YPlacementOffset", 0);
    name = ReadString(text, "Name", "");
    if (name.empty())
        throw platform::GameError("All objects require a name!");
    name = prefix + name;
    if (name.size() > kMaxQualifiedName)
        throw platform::GameError("Name " + name + " is too long! (39 chars max)");
}
