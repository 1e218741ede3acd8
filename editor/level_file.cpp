#include "editor/level_file.h"

std::string LevelObjectLine(const LevelEntry& object) {
    return "Add: [" + object.kind + "] " + object.name + " @ " + std::to_string(object.x) + ", " +
           std::to_string(object.y) + "; Rotate " + std::to_string(object.rotation) + "; Link (" + object.linkFrom +
           ") -> (" + object.linkTo + ")";
}

std::string LevelFileText(const LevelProperties& level, const std::vector<LevelEntry>& objects) {
    std::string text = "[Level]\nName = " + level.name + "\n";
    if (!level.musicThemePath.empty())
        text += "MusicThemePath = " + level.musicThemePath + "\n";
    if (level.turnsPar != 0)
        text += "TurnsPar = " + std::to_string(level.turnsPar) + "\n";
    if (!level.previewPath.empty())
        text += "PreviewPath = " + level.previewPath + "\n";
    text += "\n";
    for (const LevelEntry& object : objects)
        text += LevelObjectLine(object) + "\n";
    for (const std::string& event : level.dialogEvents)
        text += "DialogEvent: " + event + "\n";
    return text;
}
