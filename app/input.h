#pragma once
#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

// Input is gathered once per frame; game code asks questions of the frame's events and
// names actions, which the key bindings map to key symbols.
constexpr int kEscapeKey = 27;

void PumpEvents();
void ConsumeEvents();
// Appends one event to the frame's list as if it had come from SDL (tests, scripted runs).
void InjectEvent(const SDL_Event& event);
const std::vector<SDL_Event>& FrameEvents();

bool EventOccurred(std::uint8_t type);
bool KeyPressed(int sym);
bool KeyReleased(int sym);
bool MouseButtonPressed(int button);
bool MouseButtonReleased(int button);
// Down after every event so far, swallowed frames included.
bool MouseButtonHeld(int button);
int FirstKeyDown();
// Whether Alt+Enter went down this frame; the Enter is taken out of the frame's events,
// so no screen also takes it as a confirmation.
bool TakeAltEnter();

struct MousePosition {
    std::uint16_t x = 0;
    std::uint16_t y = 0;
};
MousePosition GetMousePosition();

// "anykey" stands for any key-down.
bool ActionPressed(const std::string& name);
bool ActionReleased(const std::string& name);

int BindingKey(const std::string& name);
void SetBinding(const std::string& name, int sym);
std::vector<std::string> BindingNames();
void ClearBindings();

// The secret sequences, set by PumpEvents and read and cleared by the main loop.
bool SecretAEntered();
bool SecretBEntered();
void ClearSecrets();
// Forget the watched key presses (a fresh start, for tests).
void ResetSecretHistories();

// Whether the game draws its mouse cursor: hidden in play and under cutscenes.
void SetCursorShown(bool shown);
bool CursorShown();
