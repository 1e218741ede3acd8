#pragma once
#include <string>

// Level play: turns, restart, outcome and the ways out of a level.

// Entering play: the fresh level has not settled yet.
void PlayEntry();
// The Play state's step of each frame, before the World updates.
void PlayUpdate();
// After the World update: decides whether the board has settled, records a completion and
// takes "Action 1" out of a finished level.
void PlaySettle();
// One of "Left", "Up", "Down", "Right" takes a turn: one more on the counter and gravity
// that way. Any other name does nothing.
void ApplyMove(const std::string& name);
// Builds the current level afresh, as "Restart" does.
void RestartLevel();

// The next turn may be taken.
bool BoardSettled();
// The current level was completed within its par (a par of 0 never counts).
bool LevelPerfect();
