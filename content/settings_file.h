#pragma once

// Placeholder until the settings file lands: binds the default keys.
void LoadSettings();
void SaveSettings();
