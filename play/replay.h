#pragma once

// Placeholder until replays land.
bool LoadReplay();  // true when a replay was chosen and its level should be played
void StopReplayPlayback();
void ClearReplayUsed();
void ClearRecordedMoves();
