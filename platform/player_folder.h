#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// An installed game keeps its content read-only under its prefix and works in the player's
// own folder, which holds links to that content beside everything the player makes:
// settings, save data, screenshots, replays, the editor's files and the player's modules.
// A game folder laid out by the build has no installed content and works where it is run.

// The player's folder by the XDG rule: $XDG_DATA_HOME/quillmere when that is an absolute
// path, else $HOME/.local/share/quillmere. Empty when neither gives an absolute path. A
// relative XDG_DATA_HOME is ignored and `note` says so.
std::filesystem::path PlayerFolder(const char* xdgDataHome, const char* home, std::string* note);

// The content an installed program ships, found from the program's own location; none when
// the program runs from a game folder.
std::optional<std::filesystem::path> InstalledContent();

struct FolderSetup {
    bool usable = false;                // the game can start in the folder
    std::vector<std::string> problems;  // what went wrong, one readable line each
};

// Makes `player` a game folder over `shipped`, creating it when missing: a link to each
// shipped file and folder, Modules/ a folder of its own whose shipped modules are links, and
// a copy of the shipped Settings.ini the player may change. What the player made stays; a
// link to content that has moved or gone is made anew, and one to nothing is taken away.
FolderSetup PreparePlayerFolder(const std::filesystem::path& player, const std::filesystem::path& shipped);

// For an installed program: prepares the player's folder from the environment and returns
// it, or, when it cannot be used, a fresh folder under the system's temporary folder (or at
// last the shipped content) so the game still starts. Every problem is told (Notify); without
// the player's folder, why and where the game plays instead stay on screen until dismissed.
// None when the program is not installed.
std::optional<std::filesystem::path> InstalledGameFolder();
// Removes the temporary folder InstalledGameFolder fell back to, if it did (at exit).
void RemoveTemporaryGameFolder();

}  // namespace platform
