#include "play/replay.h"

bool LoadReplay() { return false; }
void StopReplayPlayback() {}
void ClearReplayUsed() {}
void ClearRecordedMoves() {}
