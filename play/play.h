#pragma once
#include <string>

#include "play/replay.h"

// Level play: turns, restart, outcome and the ways out of a level.

// The level being played and what play keeps across entering and leaving it.
struct PlaySession {
    std::string levelName = "Main/Level 1";
    // The two campaign levels that end in a cutscene start it once per entry.
    bool endingPending = true;
};
PlaySession& CurrentPlay();

// What a frame of play asks of the screen around it.
enum class PlayOutcome {
    Stay,
    Abandoned,        // the player backed out
    ClosingFinished,  // the closing cutscene has played
    GlowingFinished,  // the glowing cutscene has played
};

// Builds the current level for play: objects, the level's music and dialogs, turns at 0.
void StartLevel();
// Leaving play: the board is cleared, the level's dialogs dropped and the save data written.
void PlayExit();
// The Play state's step of each frame, before the World updates. "Save Replay" asks for
// its file through `askToSave`.
PlayOutcome PlayUpdate(const AskForReplayPath& askToSave);
// After the World update: decides whether the board has settled and records a completion;
// true when "Action 1" takes the player out of a finished level.
bool PlaySettle();
// One of "Left", "Up", "Down", "Right" takes a turn: one more on the counter and gravity
// that way. Any other name does nothing.
void ApplyMove(const std::string& name);
// Builds the current level afresh, as "Restart" does.
void RestartLevel();

// The next turn may be taken.
bool BoardSettled();
// The current level was completed within its par (a par of 0 never counts).
bool LevelPerfect();
