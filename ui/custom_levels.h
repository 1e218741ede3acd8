#pragma once
#include <string>

// Browses the levels of every module but the campaign (the editor sees the campaign too):
// one module and one level at a time, each with a pair of arrows, and GO.
void CustomLevelsEntry();
void CustomLevelsUpdate();
void CustomLevelsExit();
// The full name of the level GO would start, or empty when the shown module has none.
std::string CustomLevelsChosenLevel();
// Back to the first module and level, as at program start.
void ResetCustomLevelsBrowser();

// What the two lines of the browser read.
std::string CustomLevelsModuleText();
std::string CustomLevelsLevelText();
