#pragma once
#include <optional>
#include <string>
#include <vector>

// Command-line options of the game.
struct GameOptions {
    std::string dataDir;           // --data DIR: change into DIR first
    std::string scriptPath;        // --script FILE: timed input events
    bool fixedStep = false;        // --fixed-step: Timer step 1.0 every frame
    long maxFrames = -1;           // --frames N: stop after N frames (normal shutdown)
    struct Shot {
        long frame;
        std::string path;
    };
    std::vector<Shot> shots;       // --shot N:FILE: write the presented frame N as a BMP
    int minFrameMs = 10;           // --min-frame-ms N; --uncapped sets 0
    std::string level;             // --level NAME: straight into play
    bool showHelp = false;
    bool showVersion = false;
};

// Throws std::invalid_argument with a readable message for a bad command line.
GameOptions ParseOptions(const std::vector<std::string>& args);
std::string HelpText();
