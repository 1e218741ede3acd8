#pragma once
#include <string>

// "./Settings.ini": the two volumes, whether the music is muted and the key of every action,
// kept between runs. A key the file lacks (files of earlier versions have no "Undo" and no
// "MusicMuted") takes its default, and a missing or unreadable file gives the defaults.
// SaveSettings rewrites it whole, in the fixed order, through a temporary file so an
// interrupted write never leaves half a file; a file that cannot be written keeps the old
// one and the player is told.
void LoadSettings();
void SaveSettings();

// The exact text SaveSettings writes for the current volumes and bindings.
std::string SettingsText();
