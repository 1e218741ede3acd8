#pragma once
#include <cstdint>
#include <string>

enum class GameState : std::int32_t {
    Intro = -1,
    TitleMenu = 0,
    LevelEditor = 1,
    Play = 2,
    LevelSelect = 3,
    SettingsMenu = 4,
    CustomLevels = 5,
    Credits = 6,
};

GameState CurrentState();
// The one way to change screens: swallows the frame's input, runs the exit action of the
// current state, then the entry action of the next.
void SetState(GameState next);
// Puts the machine back to its start (tests).
void ResetGameState();

// Process-wide play values shared by the screens.
struct PlayValues {
    std::string currentLevelName = "Main/Level 1";
    bool cameFromEditor = false;
    bool playPaused = false;
    bool cursorVisible = true;
    bool endingPending = true;
};
PlayValues& GameValues();
