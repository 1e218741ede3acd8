#include "app/options.h"

#include <limits>
#include <stdexcept>

namespace {
long ParseNumber(const std::string& option, const std::string& text) {
    std::size_t used = 0;
    long value = 0;
    try {
        value = std::stol(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || text.empty() || value < 0)
        throw std::invalid_argument(option + " needs a whole number, not \"" + text + "\"");
    return value;
}
}  // namespace

GameOptions ParseOptions(const std::vector<std::string>& args) {
    GameOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw std::invalid_argument(arg + " needs a value");
            return args[++i];
        };
        if (arg == "--help" || arg == "-h") {
            options.showHelp = true;
        } else if (arg == "--version") {
            options.showVersion = true;
        } else if (arg == "--data") {
            options.dataDir = value();
        } else if (arg == "--script") {
            options.scriptPath = value();
        } else if (arg == "--fixed-step") {
            options.fixedStep = true;
        } else if (arg == "--frames") {
            options.maxFrames = ParseNumber(arg, value());
        } else if (arg == "--shot") {
            const std::string& shot = value();
            std::size_t colon = shot.find(':');
            if (colon == std::string::npos || colon + 1 >= shot.size())
                throw std::invalid_argument("--shot needs FRAME:FILE, not \"" + shot + "\"");
            options.shots.push_back({ParseNumber(arg, shot.substr(0, colon)), shot.substr(colon + 1)});
        } else if (arg == "--uncapped") {
            options.minFrameMs = 0;
        } else if (arg == "--min-frame-ms") {
            const long ms = ParseNumber(arg, value());
            // Cut down to an int it would come out as some other time, or as none at all.
            if (ms > std::numeric_limits<int>::max())
                throw std::invalid_argument(arg + " needs at most " + std::to_string(std::numeric_limits<int>::max()) +
                                            " milliseconds");
            options.minFrameMs = static_cast<int>(ms);
        } else if (arg == "--level") {
            options.level = value();
        } else {
            throw std::invalid_argument("unknown option \"" + arg + "\" (see --help)");
        }
    }
    return options;
}

std::string HelpText() {
    return "Usage: quillmere [options]\n"
           "  --data DIR         run in the game folder DIR\n"
           "  --level NAME       start straight into play of level NAME (e.g. \"Main/Level 1\")\n"
           "  --script FILE      feed timed input events from FILE (see README)\n"
           "  --fixed-step       fix the Timer step at 1.0 so runs repeat exactly\n"
           "  --frames N         stop after N frames with a normal shutdown\n"
           "  --shot N:FILE      write frame N as a BMP to FILE (repeatable)\n"
           "  --min-frame-ms N   shortest time between frames (default 10)\n"
           "  --uncapped         no minimum frame time (benchmarks)\n"
           "  --version          print the version\n"
           "  --help             print this text\n";
}
