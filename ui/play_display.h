#pragma once

class PlaySession;
#include <optional>
#include <string>

#include "play/turn_engine.h"

// What the play screen shows over the level: the turn counter in the top right corner; the
// outcome of a finished level on a parchment panel in the middle, with the keys to press
// next; beside the counter a plaque with the hint asked for or a dead end found, and over
// the board the arrow of the hint.

// Entering play: builds the counter, the outcome panel, the plaque and the arrow.
void PlayDisplayEntry(const PlaySession& play);
// Rewrites the counter from the turn count ("7 TURNS", or "7/15 TURNS" with a par) and the
// note under it.
void RefreshTurnCounter(const PlaySession& play);
// Each frame before the play logic: the outcome, the plaque and the arrow show while no
// dialog box is open.
void PlayDisplayUpdate(const PlaySession& play);
// Leaving play, before the widgets go.
void PlayDisplayExit();

// What the display reads now (empty outside play): the counter, the outcome ("Level
// complete! Press SPACE to continue."), the plaque, and the way the arrow points (none
// when it is not shown).
std::string TurnCounterText();
std::string CompletionMessageText();
// The note under the counter: "NEXT: LEFT" for a turn kept for when the board rests, or
// "NOTHING CAN MOVE UP" for a moment after a refused one.
std::string TurnNoteText();
std::string HelpPlaqueText();
std::optional<Move> HintArrowShown();
