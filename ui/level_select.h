#pragma once

class PlaySession;
#include <array>
#include <filesystem>
#include <string>

// The campaign as a 5x5 grid of pages read from LevelList.txt: a level is open when it is
// the first or the one before it is completed.
// Choosing a level makes it the one `play` starts.
void LevelSelectEntry(PlaySession& play);
void LevelSelectUpdate(PlaySession& play);
void LevelSelectExit();

// Slots 25 to 35 exist but are never filled, so arrow arithmetic past the grid stays in bounds.
inline constexpr int kLevelSlots = 36;
inline constexpr int kListedSlots = 25;
using LevelTable = std::array<std::string, kLevelSlots>;

// Reads the list into slots 0..24 (the rest cleared): one name a line, each up to 39
// characters; a longer line keeps its first 39 and ends the list there.
void ReadLevelList(const std::filesystem::path& path, LevelTable& table);

// The slot chosen last; play moves it on after a campaign level is completed.
int SelectedLevel();
void SetSelectedLevel(int slot);
// Forgets the choice: the next visit selects the first open level not yet completed.
void ResetLevelSelection();

// What the panel beside the grid reads.
struct LevelPanelText {
    std::string name, status, turns;
    bool hasPreview = false;
    // Where the selection frame is drawn.
    int frameX = 0, frameY = 0;
};
LevelPanelText LevelSelectPanel();
