#pragma once
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/timer.h"
#include "play/turn_engine.h"

// A replay is the level name and the moves taken by hand in one attempt, one per line,
// every line ended by a line end. Reading keeps the stream's own rhythm: after the last
// line end comes one empty entry, so N moves read back as N + 1 entries, and a file
// without its final line end gives one entry fewer.
struct ReplayFile {
    std::string levelName;
    std::vector<std::string> moves;
};

// Nothing when the file cannot be opened. Lines may end in LF or CR LF. Hostile files are
// bounded: over-long lines are cut and reading stops after kMaxReplayEntries entries.
std::optional<ReplayFile> ReadReplayFile(const std::filesystem::path& path);
bool WriteReplayFile(const std::filesystem::path& path, const std::string& levelName,
                     const std::vector<std::string>& moves);
inline constexpr std::size_t kMaxReplayLine = 1024;
inline constexpr std::size_t kMaxReplayEntries = 1000000;

// The replay state of level play.
struct ReplayState {
    std::vector<Move> recordedMoves;  // moves taken by hand in this attempt
    std::vector<std::string> playbackMoves;  // the file's lines: one that names no move takes no turn
    std::size_t playbackIndex = 0;
    Timer playbackTimer;
    bool replayPlaying = false;
    bool replayUsed = false;  // a played-back move helped in this attempt
};

// Asks the player for a replay file's path; nothing when they back out. The caller hands in
// its file chooser, so replays know nothing of the screens.
using AskForReplayPath = std::function<std::optional<std::string>()>;

// "Save Replay": asks for a file and writes the level and the moves taken by hand.
void SaveReplay(const AskForReplayPath& ask, const std::string& levelName, const std::vector<Move>& moves);
