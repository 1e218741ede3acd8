#pragma once
#include <string>

// Placeholder until the menu screens land: entry, per-frame step and exit of each.
void TitleMenuEntry();
void TitleMenuUpdate();
void LevelSelectEntry();
void LevelSelectUpdate();
void LevelSelectExit();
void SettingsMenuEntry();
void SettingsMenuUpdate();
void SettingsMenuExit();
void CustomLevelsEntry();
void CustomLevelsUpdate();
// The level at the browser's selection, or empty when its module has none.
std::string CustomLevelsChosenLevel();
void CreditsEntry();
void CreditsUpdate();
void PlayDisplayEntry();
