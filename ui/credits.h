#pragma once

// Who made the game; the opening cutscene can be watched again from here.
void CreditsEntry();
void CreditsUpdate();
