#include "play/replay.h"

#include <fstream>

#include "platform/notice.h"
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

void SaveReplay(const AskForReplayPath& ask, const std::string& levelName, const std::vector<Move>& moves) {
    std::optional<std::string> path = ask();
    if (!path)
        return;
    std::vector<std::string> lines;
    for (Move move : moves)
        lines.emplace_back(MoveName(move));
    if (!WriteReplayFile(*path, levelName, lines))
        platform::Notify("Couldn't save the replay to \"" + *path + "\"");
}
