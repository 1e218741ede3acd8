#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <SDL.h>

#include <array>
#include <cmath>
#include <cstring>
#include <chrono>
#include <thread>
#include <tuple>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "content/registry.h"
#include "platform/game_error.h"
#include "tests/sim_fixture.h"
#include "tests/test_support.h"
#include "tools/sim/json.h"
#include "tools/sim/random_play.h"
#include "tools/sim/sim.h"
#include "play/solver.h"
#include "world/world.h"

namespace {

struct SimRun {
    int status = -1;
    std::vector<std::string> lines;  // standard output, one JSON object each
    std::string err;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The real binary, with the output streams kept apart.
SimRun RunBinary(const std::vector<std::string>& args, const std::filesystem::path& scratch) {
    std::string command = QM_SIM_BINARY;
    for (const std::string& a : args)
        command += " '" + a + "'";
    const std::filesystem::path errFile = scratch / "stderr.txt";
    command += " 2>'" + errFile.string() + "'";
    SimRun run;
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    std::array<char, 4096> buffer;
    for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        out.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.lines = Lines(out);
    run.err = test::ReadFile(errFile);
    return run;
}

// Waits (up to ten seconds) until the process's signal mask shows a handler for `signal`.
bool CatchesSignal(pid_t pid, int signal) {
    for (int i = 0; i < 1000; ++i) {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("SigCgt:", 0) == 0 && (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1) & 1))
                return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

class SimTest : public ::testing::Test {
protected:
    SimTest() { simtest::LayOutSimModule(data.Path()); }

    SimRun Run(std::vector<std::string> args) {
        args.push_back("--data");
        args.push_back(data.Path().string());
        std::ostringstream out, err;
        SimRun run;
        run.status = RunSim(args, out, err);
        run.lines = Lines(out.str());
        run.err = err.str();
        return run;
    }

    test::ScratchDir data;
};

bool Has(const std::string& line, const std::string& piece) { return line.find(piece) != std::string::npos; }

TEST(SimJson, QuotesAnyBytesAsValidUtf8) {
    const std::pair<std::string, std::string> cases[] = {
        {"Main/Level 1", "\"Main/Level 1\""},
        {"say \"hi\"\\", "\"say \\\"hi\\\"\\\\\""},
        {"tab\there\n", "\"tab\\there\\n\""},
        {std::string("\x01", 1), "\"\\u0001\""},
        {"Botany \xE0 la", "\"Botany \xC3\xA0 la\""},          // a Latin-1 byte
        {"Botany \xC3\xA0 la", "\"Botany \xC3\xA0 la\""},      // already UTF-8
        {"\xC3", "\"\xC3\x83\""},                              // a cut sequence
    };
    for (const auto& [text, quoted] : cases)
        EXPECT_EQ(JsonQuote(text), quoted) << text;
}

TEST(SimMoves, ReadsNamesAndLettersAndRefusesTheRest) {
    EXPECT_EQ(ParseMoves("Left,U, Down ,r"), (std::vector<std::string>{"Left", "Up", "Down", "Right"}));
    EXPECT_TRUE(ParseMoves("").empty());
    for (const char* bad : {"Lft", "L,,R", "Up,", "left", "X", "Down Right"})
        EXPECT_THROW(ParseMoves(bad), platform::GameError) << bad;
}

TEST_F(SimTest, PlayDropsACrateOntoTheFloor) {
    SimRun run = RunBinary({"play", "Sim/Drop", "", "--data", data.Path().string()}, data.Path());
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.lines.size(), 1u);
    const std::string& line = run.lines[0];
    EXPECT_TRUE(line.starts_with("{\"turn\":0,\"move\":null,\"status\":1,\"settled\":true,\"frames\":")) << line;
    EXPECT_TRUE(Has(line, "{\"id\":0,\"kind\":\"PhysObj\",\"template\":\"Sim/Crate\",\"x\":64,\"y\":416,"
                          "\"rotation\":0,\"solid\":true,\"moving\":false}"))
        << line;
}

TEST_F(SimTest, PlayPressesAPlateThatOpensTheGate) {
    SimRun run = Run({"play", "Sim/Plate And Gate", "R,D"});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.lines.size(), 3u);
    EXPECT_TRUE(Has(run.lines[1], "\"turn\":1,\"move\":\"Right\""));
    EXPECT_TRUE(Has(run.lines[1], "\"template\":\"Sim/Crate\",\"x\":160,\"y\":96"));
    EXPECT_TRUE(Has(run.lines[1], "\"kind\":\"ButtonPO\",\"template\":\"Sim/Plate\",\"x\":160,\"y\":416,"
                                  "\"rotation\":0,\"solid\":false,\"moving\":false,\"pressed\":false}"));
    EXPECT_TRUE(Has(run.lines[1], "\"kind\":\"Door\",\"template\":\"Sim/Gate\",\"x\":320,\"y\":416,"
                                  "\"rotation\":0,\"solid\":true,\"moving\":false,\"broken\":false,\"open\":false}"));
    EXPECT_TRUE(Has(run.lines[2], "\"template\":\"Sim/Crate\",\"x\":160,\"y\":416"));
    EXPECT_TRUE(Has(run.lines[2], "\"pressed\":true}"));
    EXPECT_TRUE(Has(run.lines[2], "\"solid\":false,\"moving\":false,\"broken\":false,\"open\":true}"));
    EXPECT_TRUE(Has(run.lines[2], "\"settled\":true"));
}

TEST_F(SimTest, PlayBreaksAVaseOnALongFallOnly) {
    SimRun run = Run({"play", "Sim/Fragile", "L,D"});
    ASSERT_EQ(run.lines.size(), 3u) << run.err;
    EXPECT_TRUE(Has(run.lines[1], "\"kind\":\"BreakablePO\",\"template\":\"Sim/Vase\",\"x\":32,\"y\":96,"
                                  "\"rotation\":0,\"solid\":true,\"moving\":false,\"broken\":false}"));
    EXPECT_TRUE(Has(run.lines[2], "\"template\":\"Sim/Vase\",\"x\":32,\"y\":416,"));
    EXPECT_TRUE(Has(run.lines[2], "\"broken\":true}"));
}

TEST_F(SimTest, PlayEndsWhenTheWellTakesTheLantern) {
    // The third move comes after the level is complete: the game takes no more turns.
    SimRun run = Run({"play", "Sim/Over The Well", "Right,Down,Left"});
    ASSERT_EQ(run.lines.size(), 3u) << run.err;
    EXPECT_TRUE(Has(run.lines[1], "\"status\":1,\"settled\":true"));
    EXPECT_TRUE(Has(run.lines[2], "\"turn\":2,\"move\":\"Down\",\"status\":3"));
    EXPECT_FALSE(Has(run.lines[2], "Sim/Lantern"));
    EXPECT_TRUE(Has(run.lines[2], "\"kind\":\"Exit\",\"template\":\"Sim/Well\""));
}

TEST_F(SimTest, PlayStopsOnABoardThatNeverSettles) {
    SimRun run = Run({"play", "Faults/Never Still", "D,D", "--max-frames", "50"});
    EXPECT_EQ(run.status, 0);
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_TRUE(Has(run.lines[0], "\"status\":1,\"settled\":false,\"frames\":50,"));
}

TEST_F(SimTest, BadInputIsReportedWithExitStatusOne) {
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"play", "Sim/Nowhere", "D"}, "ERROR: Level \"Sim/Nowhere\" not found!"},
        {{"play", "Sim/Drop", "D,Sideways"}, "ERROR: Move \"Sideways\" is none of"},
        {{"play", "Sim/Drop"}, "play needs LEVEL and MOVES"},
        {{"solve", "Sim/Drop", "--max-turns", "-3"}, "--max-turns needs a whole number"},
        {{"solve", "Sim/Drop", "--time-limit", "soon"}, "--time-limit needs a number of seconds"},
        {{"solve", "Sim/Drop", "--colour"}, "unknown option --colour"},
        {{"fly", "Sim/Drop"}, "unknown command \"fly\""},
        {{"play", "Sim/Drop", "D", "--data", "/nonexistent/quillmere"}, "cannot open the game folder"},
        {{"stats"}, "stats needs LEVEL"},
        {{"stats", "Sim/Nowhere"}, "ERROR: Level \"Sim/Nowhere\" not found!"},
        {{"stats", "Sim/Drop", "--tries", "0"}, "--tries needs at least one try"},
        {{"stats", "Sim/Drop", "--tries", "many"}, "--tries needs a whole number"},
        {{"stats", "Sim/Drop", "--seed", "-4"}, "--seed needs a whole number"},
        {{"stats", "Sim/Drop", "--seed", "99999999999999999999"}, "--seed needs a whole number"},
        {{"solve", "Sim/Drop", "--tries", "5"}, "unknown option --tries"},
    };
    for (const auto& c : cases) {
        SimRun run = RunBinary(c.args, data.Path());
        EXPECT_EQ(run.status, 1) << c.message;
        EXPECT_TRUE(Has(run.err, c.message)) << run.err;
        EXPECT_TRUE(run.lines.empty()) << c.message;
    }
}

// The campaign spells "à" in Latin-1; a terminal, and the simulator's own JSON, in UTF-8.
TEST(SimLevelNames, EitherSpellingFindsTheLevelAndAnUnknownNameListsTheNearest) {
    const std::string latin1 = "Main/Botany \xE0 la Kool-aid Man";
    const struct {
        const char* typed;
        std::string found;
    } cases[] = {
        {"Main/Botany \xE0 la Kool-aid Man", latin1},
        {"Main/Botany \xC3\xA0 la Kool-aid Man", latin1},
        {"Main/Level 1", "Main/Level 1"},
        {"Main/Botany \xC3 la Kool-aid Man", ""},  // a lone lead byte is no letter
        {"Main/level 1", ""},                      // names keep their case
    };
    SimSession session(QM_GAME_DIR, false);
    for (const auto& c : cases)
        EXPECT_EQ(Registry().LevelNamedAsTyped(c.typed), c.found) << c.typed;
    EXPECT_EQ(Registry().LevelNotFoundMessage("Main/botany a la"),
              "Level \"Main/botany a la\" not found! Nearest: \"Main/Botany \xC3\xA0 la Kool-aid Man\", \"Main/Heron Watch\", "
              "\"Main/Windward\".");
    EXPECT_EQ(Registry().LevelNotFoundMessage("Main/Levl 1").rfind("Level \"Main/Levl 1\" not found! Nearest: \"Main/Level 1\"", 0),
              0u);

    test::ScratchDir scratch;
    SimRun run = RunBinary({"play", "Main/Botany \xC3\xA0 la Kool-aid Man", "L", "--data", QM_GAME_DIR}, scratch.Path());
    EXPECT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.lines.size(), 2u) << run.err;
}

TEST_F(SimTest, SolveFindsTheFewestTurns) {
    const struct {
        const char* level;
        const char* answer;
    } cases[] = {
        {"Sim/Over The Well", "\"solvable\":true,\"turns\":2,\"moves\":[\"Right\",\"Down\"]"},
        // Along the floor the lantern runs off the board; the chute is the only way in.
        {"Sim/Chute Run", "\"solvable\":true,\"turns\":2,\"moves\":[\"Up\",\"Right\"]"},
        {"Sim/Sealed", "\"solvable\":false,\"reason\":\"exhausted\""},
    };
    for (const auto& c : cases) {
        SimRun run = Run({"solve", c.level});
        ASSERT_EQ(run.status, 0) << run.err;
        ASSERT_EQ(run.lines.size(), 1u);
        EXPECT_TRUE(run.lines[0].starts_with(std::string("{\"level\":\"") + c.level + "\"," + c.answer)) << run.lines[0];
    }
}

TEST_F(SimTest, SolveSeesTheSameBoardWhateverItsPictureClocksSay) {
    // A one-frame picture's clock runs on through every frame; were it part of the board,
    // the room's four places would look new again after every turn.
    SimRun still = Run({"solve", "Sim/Sealed"});
    SimRun glowing = Run({"solve", "Sim/Sealed Glow"});
    ASSERT_EQ(still.lines.size(), 1u);
    ASSERT_EQ(glowing.lines.size(), 1u);
    auto distinct = [](const std::string& line) { return line.substr(line.find("\"distinct\""), 16); };
    EXPECT_EQ(distinct(glowing.lines[0]), distinct(still.lines[0]));
    EXPECT_TRUE(Has(glowing.lines[0], "\"reason\":\"exhausted\",\"depth\":3,")) << glowing.lines[0];
}

TEST_F(SimTest, SolveStopsAtTheTurnLimit) {
    SimRun run = Run({"solve", "Sim/Chute Run", "--max-turns", "1"});
    ASSERT_EQ(run.lines.size(), 1u) << run.err;
    EXPECT_TRUE(Has(run.lines[0], "\"solvable\":false,\"reason\":\"turn limit\",\"depth\":1,")) << run.lines[0];
}

TEST_F(SimTest, LongSearchesStopWithWhatTheyFound) {
    SimRun timed = Run({"solve", "Sim/Yard", "--time-limit", "0.05"});
    ASSERT_EQ(timed.lines.size(), 1u) << timed.err;
    EXPECT_TRUE(Has(timed.lines[0], "\"solvable\":false,\"reason\":\"time limit\",")) << timed.lines[0];

    // Ctrl-C: the search ends, and what it found still comes out.
    for (const char* command : {"solve", "stats"}) {
        const std::string out = (data / "out.txt").string();
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
        const std::string dataDir = data.Path().string();
        const char* argv[] = {QM_SIM_BINARY, command, "Sim/Yard", "--data", dataDir.c_str(), nullptr};
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, QM_SIM_BINARY, &files, nullptr, const_cast<char**>(argv), environ), 0);
        posix_spawn_file_actions_destroy(&files);
        // On a busy machine the program may still be starting after the pause: it must have
        // its handler in place before Ctrl-C can mean "stop the search".
        CatchesSignal(pid, SIGINT);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        kill(pid, SIGINT);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << command;
        EXPECT_EQ(WEXITSTATUS(status), 130) << command;
        const std::vector<std::string> lines = Lines(test::ReadFile(out));
        ASSERT_EQ(lines.size(), 1u) << command;
        EXPECT_TRUE(lines[0].starts_with("{\"level\":\"Sim/Yard\",\"solvable\":false,\"reason\":\"interrupted\","))
            << lines[0];
    }
}

TEST_F(SimTest, AStopRequestEndsOneSearchOnly) {
    SimSession session(data.Path().string(), false);
    BuildAndSettle("Sim/Over The Well", 100000);
    const WorldSnapshot start = TheWorld().Snapshot();
    RequestSolveStop();
    EXPECT_EQ(Solve(start, {}).reason, "interrupted");
    const SolveResult again = Solve(start, {});
    EXPECT_TRUE(again.solvable);
    EXPECT_EQ(again.moves, (std::vector<std::string>{"Right", "Down"}));
}

TEST_F(SimTest, SolveLoadsALevelFileUnderItsBareName) {
    test::ScratchDir elsewhere;
    std::string text = test::ReadFile(data / "Modules/Tidy/tidy.ini");
    text.replace(text.find("Name = Ledge"), 12, "Name = Sim/Over The Well");
    test::WriteFile(elsewhere / "Draft.ini", text);
    // Spelled like a module level, the file's level replaces that one, as the editor's does.
    SimRun run = RunBinary({"solve", (elsewhere / "Draft.ini").string(), "--data", data.Path().string()}, data.Path());
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_TRUE(run.lines[0].starts_with("{\"level\":\"Sim/Over The Well\",\"solvable\":true,\"turns\":2")) << run.lines[0];

    // The editor's test file, by its bare name from the game folder.
    test::WriteFile(data / "NewLevel.ini", test::ReadFile(data / "Modules/Tidy/tidy.ini"));
    run = RunBinary({"solve", "NewLevel.ini", "--data", data.Path().string()}, data.Path());
    ASSERT_EQ(run.lines.size(), 1u) << run.err;
    EXPECT_TRUE(run.lines[0].starts_with("{\"level\":\"Ledge\",\"solvable\":true,\"turns\":2")) << run.lines[0];

    test::WriteFile(elsewhere / "Empty.ini", "// nothing here\n");
    run = RunBinary({"solve", (elsewhere / "Empty.ini").string(), "--data", data.Path().string()}, data.Path());
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.err, "not found!")) << run.err;
}

// The number after "key": in a JSON line.
double Number(const std::string& line, const std::string& key) {
    const std::size_t at = line.find("\"" + key + "\":");
    return at == std::string::npos ? -1.0 : std::stod(line.substr(at + key.size() + 3));
}

TEST_F(SimTest, StatsGivesHandCheckedFigures) {
    // Over The Well: Right then Down is the one way in; Left and Up throw the lantern off
    // the board, from either of its two places, so the two failed boards (lost sideways,
    // lost upwards) are half of the four.
    // Two Ways: Left or Right brings the lantern to a place above the shelf, Down onto it,
    // and Left from either place on the shelf to the same board at its end: that board is
    // reached by two sequences, and its one Down into the well completes both. Right along
    // the shelf leads over a pocket whose three boards (resting, pushed left, pushed right)
    // are dead ends, as is the one board of the lantern lost upwards: 4 of 12.
    // Sealed: the lantern's four corners, each with the two gravities that hold it there.
    const struct {
        std::vector<std::string> args;
        std::string head;
        std::string tail;
    } cases[] = {
        {{"stats", "Sim/Over The Well"},
         "{\"level\":\"Sim/Over The Well\",\"solvable\":true,\"turns\":2,\"optimal\":1,\"random\":",
         "\"tries\":1000,\"random_turns\":5,\"dead_ends\":0.500,\"reachable\":4,\"dead_ends_complete\":true,"},
        {{"stats", "Sim/Two Ways"},
         "{\"level\":\"Sim/Two Ways\",\"solvable\":true,\"turns\":4,\"optimal\":2,\"random\":",
         "\"tries\":1000,\"random_turns\":7,\"dead_ends\":0.333,\"reachable\":12,\"dead_ends_complete\":true,"},
        // Two turns deep: only the failed board is known to be lost; the par still sets the
        // length of the random tries.
        {{"stats", "Sim/Two Ways", "--max-turns", "2", "--tries", "10"},
         "{\"level\":\"Sim/Two Ways\",\"solvable\":false,\"reason\":\"turn limit\",\"depth\":2,\"random\":",
         "\"tries\":10,\"random_turns\":7,\"dead_ends\":0.167,\"reachable\":6,\"dead_ends_complete\":false,"},
        // No par and no solution: nothing to measure random play against.
        {{"stats", "Sim/Sealed"},
         "{\"level\":\"Sim/Sealed\",\"solvable\":false,\"reason\":\"exhausted\",\"depth\":3,\"random\":null,",
         "\"tries\":0,\"random_turns\":null,\"dead_ends\":1.000,\"reachable\":8,\"dead_ends_complete\":true,"},
        {{"stats", "Faults/Off The Edge"},
         "{\"level\":\"Faults/Off The Edge\",\"solvable\":false,\"reason\":\"exhausted\",\"depth\":0,",
         "\"dead_ends\":1.000,\"reachable\":1,\"dead_ends_complete\":true,"},
        {{"stats", "Faults/Never Still", "--max-frames", "300"},
         "{\"level\":\"Faults/Never Still\",\"solvable\":false,\"reason\":\"does not settle\",",
         "\"dead_ends\":null,\"reachable\":0,\"dead_ends_complete\":false,"},
    };
    for (const auto& c : cases) {
        SimRun run = Run(c.args);
        ASSERT_EQ(run.status, 0) << run.err;
        ASSERT_EQ(run.lines.size(), 1u);
        EXPECT_TRUE(run.lines[0].starts_with(c.head)) << run.lines[0];
        EXPECT_TRUE(Has(run.lines[0], c.tail)) << run.lines[0];
        EXPECT_TRUE(Has(run.lines[0], ",\"seconds\":")) << run.lines[0];
    }
}

TEST_F(SimTest, StatsRandomPlayMatchesTheOddsAndRepeats) {
    // The odds of completing within the random turns, worked out over the boards above:
    // Over The Well 7/64, Two Ways 0.0503. A thousand tries land within three of their
    // standard deviations.
    const std::pair<const char*, double> odds[] = {{"Sim/Over The Well", 7.0 / 64}, {"Sim/Two Ways", 0.0503}};
    for (const auto& [level, p] : odds) {
        SimRun run = RunBinary({"stats", level, "--data", data.Path().string()}, data.Path());
        ASSERT_EQ(run.lines.size(), 1u) << run.err;
        EXPECT_NEAR(Number(run.lines[0], "random"), p, 3 * std::sqrt(p * (1 - p) / 1000)) << run.lines[0];
    }

    auto withoutSeconds = [](const std::string& line) { return line.substr(0, line.find(",\"seconds\"")); };
    const std::string first = withoutSeconds(Run({"stats", "Sim/Over The Well", "--seed", "7"}).lines.at(0));
    EXPECT_EQ(withoutSeconds(Run({"stats", "Sim/Over The Well", "--seed", "7"}).lines.at(0)), first);
    // Another seed, other tries.
    EXPECT_NE(Number(Run({"stats", "Sim/Over The Well", "--seed", "2"}).lines.at(0), "random"),
              Number(Run({"stats", "Sim/Over The Well", "--seed", "1"}).lines.at(0), "random"));
}

TEST_F(SimTest, RandomPlaySimulatesEachMoveFromEachBoardOnce) {
    SimSession session(data.Path().string(), false);
    BuildAndSettle("Sim/Over The Well", 100000);
    const WorldSnapshot start = TheWorld().Snapshot();
    const RandomPlayResult r = PlayRandomly(start, 1000, 5, 1, 100000);
    EXPECT_EQ(r.tries, 1000);
    EXPECT_FALSE(r.interrupted);
    // Two boards in play, four moves from each.
    EXPECT_EQ(r.simulated, 8);
    EXPECT_EQ(PlayRandomly(start, 1000, 5, 1, 100000).completed, r.completed);
    // One move is too few to get in.
    EXPECT_EQ(PlayRandomly(start, 1000, 1, 1, 100000).completed, 0);
}

// The colour of a pixel of a BMP file, or nothing when the file can't be read.
struct Picture {
    explicit Picture(const std::filesystem::path& file) : surface(SDL_LoadBMP(file.string().c_str())) {}
    ~Picture() {
        if (surface)
            SDL_FreeSurface(surface);
    }
    std::vector<int> Rgb(int x, int y) const {
        Uint8 r, g, b;
        Uint32 v = 0;
        SDL_LockSurface(surface);
        std::memcpy(&v, static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * surface->format->BytesPerPixel,
                    surface->format->BytesPerPixel);
        SDL_UnlockSurface(surface);
        SDL_GetRGB(v, surface->format, &r, &g, &b);
        return {r, g, b};
    }
    SDL_Surface* surface;
};

TEST_F(SimTest, PreviewsShowWhatThePlayerSeesWhereTheLevelsSayBesideTheEditorsOwn) {
    test::WriteFile(data / "Preview.bmp", "the editor's preview");
    SimRun run = Run({"previews", "Sim"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.lines, (std::vector<std::string>{
                             "{\"level\":\"Sim/Sealed\",\"file\":\"../Sealed.bmp\",\"skipped\":\"not inside the game folder\"}",
                             "{\"level\":\"Sim/Lookout\",\"file\":\"Previews/Lookout.bmp\"}"}));
    EXPECT_FALSE(std::filesystem::exists(data.Path().parent_path() / "Sealed.bmp"));
    EXPECT_EQ(test::ReadFile(data / "Preview.bmp"), "the editor's preview");
    // Nothing but the picture is left in its folder.
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(data / "Previews"))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"Lookout.bmp"});

    // A third of the screen: the lantern (at 96,384) and the well (at 256,384) on white; the
    // marker at 448,96 is for the designer's eyes only.
    Picture preview(data / "Previews/Lookout.bmp");
    ASSERT_NE(preview.surface, nullptr);
    EXPECT_EQ(preview.surface->w, 210);
    EXPECT_EQ(preview.surface->h, 158);
    EXPECT_EQ(preview.Rgb(37, 133), (std::vector<int>{240, 190, 80}));
    EXPECT_EQ(preview.Rgb(90, 133), (std::vector<int>{30, 90, 110}));
    EXPECT_EQ(preview.Rgb(154, 37), (std::vector<int>{255, 255, 255}));
    EXPECT_EQ(preview.Rgb(5, 5), (std::vector<int>{255, 255, 255}));

    // One level to a file of one's choosing, from the folder the command runs in.
    test::ScratchDir elsewhere;
    {
        test::WorkingDir in(elsewhere.Path());
        run = Run({"preview", "Sim/Lookout", "shots/look.bmp"});
    }
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(test::ReadFile(elsewhere / "shots/look.bmp"), test::ReadFile(data / "Previews/Lookout.bmp"));
}

TEST_F(SimTest, PreviewsThatCannotBeDrawnAreReported) {
    SimRun run = Run({"previews", "Tidy"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.lines.empty());

    run = Run({"previews", "Faults"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.lines.empty());
    EXPECT_EQ(run.err, "ERROR: Faults/Ghostly: Sprite \"Faults/No Such Sprite\" not found!\n");
    EXPECT_FALSE(std::filesystem::exists(data / "Previews"));
    EXPECT_FALSE(std::filesystem::exists(data / "Preview.bmp"));

    run = RunBinary({"previews", "Nowhere", "--data", data.Path().string()}, data.Path());
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.err, "ERROR: No module \"Nowhere\"")) << run.err;
    run = RunBinary({"preview", "Sim/Lookout", "--data", data.Path().string()}, data.Path());
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.err, "preview needs LEVEL and FILE")) << run.err;
}

struct Found {
    std::string check;
    std::string subject;
    bool operator==(const Found&) const = default;
};

std::vector<Found> Findings(const SimRun& run) {
    std::vector<Found> found;
    auto field = [](const std::string& line, const std::string& key) {
        std::size_t at = line.find("\"" + key + "\":\"") + key.size() + 4;
        return line.substr(at, line.find('"', at) - at);
    };
    for (const std::string& line : run.lines)
        found.push_back({field(line, "check"), field(line, "subject")});
    return found;
}

TEST_F(SimTest, CheckFlagsEveryKindOfMistake) {
    test::WriteFile(data / "LevelList.txt", "Sim/Over The Well\nFaults/Gone\n\nTidy/Ledge\n");
    // A picture that was never painted stops the module's loading there.
    test::WriteFile(data / "Modules/Broken/Include.ini", "broken.ini\n");
    test::WriteFile(data / "Modules/Broken/broken.ini", "[Sprite]\nName = Missing Picture\nSpritePath = SimArt/Never Painted.png\n");
    SimRun run = Run({"check", "Faults", "Broken", "Nowhere", "--max-frames", "300"});
    EXPECT_EQ(run.status, 1);
    const std::vector<Found> expected = {
        {"unknown-module", "Nowhere"},
        {"load-failed", "Broken"},
        {"missing-sprite", "Faults/Ghost"},
        {"missing-sprite", "Faults/Jar"},
        {"missing-sound", "Faults/Jar"},
        {"empty-break-box", "Faults/Jar"},
        {"missing-sprite", "Faults/Chat"},
        {"missing-kind", "Faults/Unknown Kind"},
        {"missing-dialog", "Faults/Unknown Dialog"},
        {"build-failed", "Faults/Ghostly"},
        {"no-exit", "Faults/No Exit"},
        {"no-mission-critical", "Faults/Nothing To Save"},
        {"does-not-settle", "Faults/Never Still"},
        {"unsolvable", "Faults/Walled In"},
        {"unsolvable", "Faults/Off The Edge"},
        {"par-impossible", "Faults/Tight Par"},
        {"par-loose", "Faults/Loose Par"},
        {"starts-in-air", "Faults/In The Air"},
        {"start-dialog-covers", "Faults/Hidden Start"},
        {"level-list", "Faults/Gone"},
    };
    EXPECT_EQ(Findings(run), expected) << ::testing::PrintToString(run.lines);
    for (const std::string& line : run.lines) {
        const bool warning = Has(line, "par-loose") || Has(line, "empty-break-box") || Has(line, "starts-in-air") ||
                             Has(line, "start-dialog-covers");
        EXPECT_TRUE(line.starts_with(warning ? "{\"severity\":\"warning\"" : "{\"severity\":\"error\"")) << line;
    }
    EXPECT_TRUE(Has(run.lines[14], "Faults/Off The Edge\",\"message\":\"The level fails before the first turn.\""))
        << run.lines[14];
    EXPECT_TRUE(Has(run.lines[1], "\"message\":\"File SimArt/Never Painted.png could not be loaded!\""))
        << run.lines[1];
    EXPECT_TRUE(Has(run.lines[2], "\"message\":\"Sprite \\\"Faults/No Such Sprite\\\" not found!\"")) << run.lines[2];
    EXPECT_TRUE(Has(run.lines[17], "Sim/Lantern falls from 64, 64 to 64, 96 before the first turn")) << run.lines[17];
    EXPECT_TRUE(Has(run.lines[18], "hides Sim/Well at 160, 416 along either edge")) << run.lines[18];
}

TEST_F(SimTest, CheckWarnsOfAnEmptyBreakBoxOnlyWhereTheBrokenPieceCanFall) {
    test::WriteFile(data / "Modules/Boxes/Include.ini", "boxes.ini\n");
    std::string kinds;
    for (const auto& [kind, name, keys] : {
             std::tuple{"BreakablePO", "Loose", ""},
             std::tuple{"BreakablePO", "Rotten", "Pinned = 1\n"},
             std::tuple{"BreakablePO", "Brittle", "PinOnBreak = 1\n"},
             std::tuple{"BreakablePO", "Boxed", "BreakBoundingWidth = 32\nBreakBoundingHeight = 32\n"},
             std::tuple{"BreakablePO", "Flat", "BreakBoundingWidth = 32\nBreakBoundingHeight = 0\n"},
             std::tuple{"Door", "Swinging", ""},
             std::tuple{"Door", "Hatch", "Pinned = 1\n"},
         })
        kinds += std::string("[") + kind + "]\nName = " + name + "\nSpriteName = Sim/Vase Sprite\n" + keys + "\n";
    test::WriteFile(data / "Modules/Boxes/boxes.ini", kinds);
    SimRun run = Run({"check", "Boxes"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Findings(run), (std::vector<Found>{{"empty-break-box", "Boxes/Loose"},
                                                 {"empty-break-box", "Boxes/Flat"},
                                                 {"empty-break-box", "Boxes/Swinging"}}))
        << ::testing::PrintToString(run.lines);
}

TEST_F(SimTest, CheckSearchesLevelsWithoutAParToTheGivenDepth) {
    SimRun run = Run({"check", "Faults", "--max-turns", "1", "--max-frames", "300"});
    const std::vector<Found> found = Findings(run);
    EXPECT_NE(std::find(found.begin(), found.end(), Found{"not-solvable-within", "Faults/Far"}), found.end());
    EXPECT_NE(std::find(found.begin(), found.end(), Found{"not-solvable-within", "Faults/Tight Par"}), found.end());
}

TEST_F(SimTest, CheckOfASoundModuleSaysNothing) {
    SimRun run = RunBinary({"check", "Tidy", "--data", data.Path().string()}, data.Path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.lines.empty()) << run.lines[0];

    test::ScratchDir empty;
    run = RunBinary({"check", "--data", empty.Path().string()}, data.Path());
    EXPECT_EQ(run.status, 1);
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_TRUE(Has(run.lines[0], "\"check\":\"no-modules\"")) << run.lines[0];
}

}  // namespace
