#pragma once
// The simulator's commands: play moves, solve a level, check modules. Everything loads the
// content as the game does and runs the World with the Timer step fixed at 1.0.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "play/turn_engine.h"

class World;

// Brings up what loading content needs (a 640x480 video mode for picture conversion, the
// mixer for sounds; dummy drivers unless the caller chose others), enters the game folder
// and loads every module. Undoes it all on the way out, so tests can run commands in-process.
class SimSession {
public:
    // Throws std::invalid_argument "cannot open the game folder ..." for a folder it can't enter.
    // Content errors end the load as they end the game's start-up, unless `keepGoing`: then a
    // module that fails is recorded and the next one is loaded.
    SimSession(const std::string& dataDir, bool keepGoing);
    ~SimSession();
    SimSession(const SimSession&) = delete;
    SimSession& operator=(const SimSession&) = delete;

    // The registered name of LEVEL: a level name, or a level file (relative to the folder the
    // command was started in, or else to the game folder) loaded like the editor's test file.
    // Throws `Level "x" not found!`.
    std::string ResolveLevel(const std::string& level) const;
    // Modules that the loader stopped in, with the message that stopped them.
    struct LoadFailure {
        std::string module;
        std::string message;
    };
    const std::vector<LoadFailure>& LoadFailures() const { return loadFailures; }
    // The working folder the command was started in, before the session entered the game folder.
    const std::filesystem::path& StartFolder() const { return startFolder; }

private:
    void Release();

    std::filesystem::path startFolder;
    std::vector<LoadFailure> loadFailures;
    bool quitSdl = false;
    bool closeAudio = false;
    bool released = false;
};

// Clears the World and builds the level into it as entering play does (gravity down).
void BuildFresh(const std::string& level);
// BuildFresh, then the one settle that entering play runs.
TurnOutcome BuildAndSettle(const std::string& level, std::int32_t maxFrames);

// Every object of the World as a JSON array, in World order.
std::string DescribeObjects(const World& world);

// Parses "Left,U,Down,r": full names or first letters, in any case. Throws (as std::string)
// for anything else, naming the piece.
std::vector<std::string> ParseMoves(const std::string& list);

// The command line after the program name, read but not run.
struct SimArguments {
    std::string command;
    std::vector<std::string> positional;
    std::string dataDir;
    std::int32_t maxFrames = 100000;
    std::optional<std::int32_t> maxTurns;
    std::optional<double> timeLimit;
    std::int32_t tries = 1000;
    std::uint64_t seed = 1;
};
// Throws std::invalid_argument for an unknown command or option, a missing or bad value, or
// the wrong number of names.
SimArguments ParseSimArguments(const std::vector<std::string>& args);

// The whole command line after the program name; returns the exit status. Errors go to `err`
// as the game reports them ("ERROR: ..." / "EXCEPTION: ...").
int RunSim(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
