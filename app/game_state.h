#pragma once
#include <cstdint>
#include <functional>

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

// One screen: what it does on the way in, every frame, and on the way out. The screens
// register themselves at start-up, so the machine knows none of them by name.
struct Screen {
    std::function<void()> enter = nullptr;
    // Each frame before the World updates; false ends the program.
    std::function<bool()> update = nullptr;
    // Each frame after the World has updated.
    std::function<void()> settle = nullptr;
    std::function<void()> exit = nullptr;
    // Back to how the program starts (tests).
    std::function<void()> reset = nullptr;
};
void RegisterScreen(GameState state, Screen screen);

GameState CurrentState();
// The one way to change screens: swallows the frame's input, runs the exit action of the
// current state, then the entry action of the next.
void SetState(GameState next);
// The current screen's step of the frame; false when it ends the program.
bool UpdateCurrentScreen();
void SettleCurrentScreen();
// Puts the machine back to its start (tests); the registered screens stay.
void ResetGameState();

// Play, the level list and the custom levels lead back to the level editor when it sent
// the player there; the machine remembers it because the screens come and go.
bool CameFromEditor();
void SetCameFromEditor(bool fromEditor);
