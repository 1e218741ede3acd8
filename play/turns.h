#pragma once
#include <cstdint>

// Turns taken in the current attempt; building a level starts it again at 0.
std::int32_t TurnCount();
void SetTurnCount(std::int32_t turns);
