#include "play/turns.h"

namespace {
std::int32_t turnCount = 0;
}

std::int32_t TurnCount() { return turnCount; }
void SetTurnCount(std::int32_t turns) { turnCount = turns; }
