#include "ui/screens.h"

void TitleMenuEntry() {}
void TitleMenuUpdate() {}
void LevelSelectEntry() {}
void LevelSelectUpdate() {}
void LevelSelectExit() {}
void SettingsMenuEntry() {}
void SettingsMenuUpdate() {}
void SettingsMenuExit() {}
void CustomLevelsEntry() {}
void CustomLevelsUpdate() {}
std::string CustomLevelsChosenLevel() { return ""; }
void CreditsEntry() {}
void CreditsUpdate() {}
void PlayDisplayEntry() {}
