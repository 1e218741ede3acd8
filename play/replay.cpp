#include "play/replay.h"

#include <fstream>

#include "play/play.h"
#include "platform/replace_file.h"

namespace {
// Reads one line the way a text stream would, but never holds more than kMaxReplayLine
// bytes of it. False when nothing at all could be read (end of file).
bool ReadBoundedLine(std::istream& in, std::string& line) {
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    bool any = false;
    for (;;) {
        int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            break;
        }
        any = true;
        if (c == '\n')
            break;
        if (line.size() < kMaxReplayLine)
            line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return any;
}
}  // namespace

std::optional<ReplayFile> ReadReplayFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    ReplayFile replay;
    std::string line;
    ReadBoundedLine(in, replay.levelName);
    while (in.good() && replay.moves.size() < kMaxReplayEntries) {
        ReadBoundedLine(in, line);
        replay.moves.push_back(line);
    }
    return replay;
}

bool WriteReplayFile(const std::filesystem::path& path, const std::string& levelName,
                     const std::vector<std::string>& moves) {
    std::string text = levelName + "\n";
    for (const std::string& move : moves)
        text += move + "\n";
    return platform::ReplaceFileContents(path, text);
}

ReplayState& Replays() {
    static ReplayState state;
    return state;
}

void StartPlayback(const ReplayFile& replay) {
    ReplayState& r = Replays();
    r.replayPlaying = true;
    r.playbackMoves = replay.moves;
    CurrentPlay().levelName = replay.levelName;
    r.playbackTimer.Reset();
    r.playbackIndex = 0;
}

bool LoadReplay(const AskForReplayPath& ask) {
    std::optional<std::string> path = ask();
    if (!path)
        return false;
    ReplayState& r = Replays();
    r.replayPlaying = true;
    r.playbackMoves.clear();
    // A file that cannot be read plays nothing and keeps the level that was named before.
    if (std::optional<ReplayFile> replay = ReadReplayFile(*path)) {
        StartPlayback(*replay);
    } else {
        r.playbackTimer.Reset();
        r.playbackIndex = 0;
    }
    return true;
}

void SaveReplay(const AskForReplayPath& ask) {
    std::optional<std::string> path = ask();
    if (path)
        WriteReplayFile(*path, CurrentPlay().levelName, Replays().recordedMoves);
}

void StopReplayPlayback() { Replays().replayPlaying = false; }
void ClearReplayUsed() { Replays().replayUsed = false; }
void ClearRecordedMoves() { Replays().recordedMoves.clear(); }
