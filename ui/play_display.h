#pragma once

class PlaySession;
#include <string>

// What the play screen shows over the level: the turn counter in the top right corner and
// the line that announces a completed or lost level with the key to press next.

// Entering play: builds the counter and the message line for the current level.
void PlayDisplayEntry(const PlaySession& play);
// Rewrites the counter from the turn count ("7 TURNS", or "7/15 TURNS" with a par) and the
// note under it.
void RefreshTurnCounter(const PlaySession& play);
// Each frame before the play logic: the outcome line shows once no dialog box is open.
void PlayDisplayUpdate(const PlaySession& play);

// What the two lines read now (empty outside play).
std::string TurnCounterText();
std::string CompletionMessageText();
// The note under the counter: "NEXT: LEFT" for a turn kept for when the board rests, or
// "NOTHING CAN MOVE UP" for a moment after a refused one.
std::string TurnNoteText();
