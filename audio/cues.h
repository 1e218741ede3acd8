#pragma once
// The interface's own sounds for what the player does: a turn taken, the board coming to
// rest, a turn undone, a restart, the menus' ring moving and a choice made, and a key kept
// for later or refused. Each plays through the mixer like any sound, so under the sound
// volume. The game loads them once at start-up from GUI/; a missing file is a silent cue.
#include <cstdint>

enum class Cue { Turn, Land, Undo, Restart, MenuMove, MenuChoose, KeyKept, KeyRefused };

void LoadCues();
void ReleaseCues();
void PlayCue(Cue cue);
// How many times the cue was asked for since the start (the tests count what a session plays).
std::uint64_t CuesPlayed(Cue cue);
