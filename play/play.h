#pragma once

// Placeholder until level play lands.
void PlayUpdate();
void PlaySettle();
