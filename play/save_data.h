#pragma once

// Placeholder until save data lands.
void LoadSaveData();
void SaveSaveData();
