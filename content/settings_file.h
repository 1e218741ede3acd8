#pragma once
#include <string>

// "./Settings.ini": the two volumes, whether the music is muted, the window's size and full
// screen, and the key of every action, kept between runs. A key the file lacks (files of
// earlier versions have no "Undo", "MusicMuted" or window lines) takes its default, and a missing or unreadable file gives the defaults.
// SaveSettings rewrites it whole, in the fixed order, through a temporary file so an
// interrupted write never leaves half a file; a file that cannot be written keeps the old
// one and the player is told.
void LoadSettings();
// Only the window's size and full screen, quietly: read before the window opens, so it
// opens as the player left it (LoadSettings reads them again with everything else).
void LoadWindowSettings();
void SaveSettings();

// Whether the opening cutscene has played on this player's game: it plays in full once, and
// later starts go straight to the title. Kept as "OpeningSeen" (older files lack it: unseen).
bool OpeningSeen();
void SetOpeningSeen(bool seen);

// The exact text SaveSettings writes for the current volumes and bindings.
std::string SettingsText();
