#include "tools/sim/sim.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <limits>
#include <optional>
#include <set>
#include <stdexcept>

#include "app/timer.h"
#include "audio/music.h"
#include "content/level_template.h"
#include "content/module_loader.h"
#include "content/object_kinds.h"
#include "content/registry.h"
#include "dialog/dialogs.h"
#include "platform/directory.h"
#include "platform/game_error.h"
#include "platform/player_folder.h"
#include "platform/video_mode.h"
#include "tools/sim/checker.h"
#include "tools/sim/json.h"
#include "tools/sim/previews.h"
#include "tools/sim/random_play.h"
#include "play/solver.h"
#include "world/breakable.h"
#include "world/button_po.h"
#include "world/trigger.h"
#include "world/world.h"

namespace fs = std::filesystem;

SimSession::SimSession(const std::string& dataDir, bool keepGoing) : startFolder(fs::current_path()) {
    // Nothing is shown or heard: the dummy drivers unless the caller asked for real ones.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // A command-line tool ends on SIGTERM like any other; SDL would turn it into a quit
    // event that nothing here reads.
    setenv("SDL_NO_SIGNAL_HANDLERS", "1", 0);
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) < 0)
            throw platform::GameError(std::string("SDL could not be started: ") + SDL_GetError());
        quitSdl = true;
    }
    // Sprites are converted to the display format while they load.
    if (SDL_GetVideoSurface() == nullptr && platform::SetVideoMode(640, 480, 32, SDL_SWSURFACE) == nullptr) {
        const std::string message = std::string("The video mode could not be set: ") + SDL_GetError();
        Release();
        throw platform::GameError(message);
    }
    if (Mix_QuerySpec(nullptr, nullptr, nullptr) == 0)
        closeAudio = OpenAudio();
    SetFixedTimerStep(1.0);
    SetMusicSilent(true);

    // Installed, the simulator works in the player's folder, as the game does.
    std::string folder = dataDir;
    if (folder.empty())
        if (std::optional<fs::path> installed = platform::InstalledGameFolder())
            folder = installed->string();
    if (!folder.empty() && chdir(folder.c_str()) != 0) {
        Release();
        throw std::invalid_argument("cannot open the game folder \"" + folder + "\"");
    }
    Registry().Clear();
    TheWorld().Clear();
    TheWorld().queueDrawing = false;
    try {
        if (!keepGoing) {
            LoadAllModules();
            return;
        }
        for (const std::string& folder : platform::ListSubdirectories("./Modules")) {
            std::error_code error;
            if (!fs::is_regular_file("./Modules/" + folder + "/Include.ini", error))
                continue;
            try {
                LoadModule("./Modules/" + folder);
            } catch (const platform::GameError& error) {
                loadFailures.push_back({folder, error.Message()});
            } catch (const std::exception& e) {
                loadFailures.push_back({folder, e.what()});
            }
        }
    } catch (...) {
        Release();
        throw;
    }
}

SimSession::~SimSession() { Release(); }

void SimSession::Release() {
    if (released)
        return;
    released = true;
    TheWorld().Clear();
    TheWorld().queueDrawing = true;
    TheWorld().levelStatus = LevelStatus::NotPlaying;
    DeleteAllDialogs();
    DeleteAllTemplates();
    SetMusicSilent(false);
    if (closeAudio)
        CloseAudio();
    std::error_code error;
    fs::current_path(startFolder, error);
    if (quitSdl)
        SDL_Quit();
}

std::string SimSession::ResolveLevel(const std::string& level) const {
    if (std::string registered = Registry().LevelNamedAsTyped(level); !registered.empty())
        return registered;
    // A relative path is looked for where the command was started, then in the game folder,
    // where the editor leaves its NewLevel.ini.
    std::error_code error;
    fs::path file = fs::path(level).is_absolute() ? fs::path(level) : startFolder / level;
    if (!fs::is_regular_file(file, error))
        file = fs::current_path(error) / level;
    if (level.empty() || !fs::is_regular_file(file, error))
        throw platform::GameError(Registry().LevelNotFoundMessage(level));

    // The loader names what it registers after the path it was given: a path outside the
    // module tree gives bare names, as the editor's test file has.
    std::set<const Template*> before;
    for (int i : Registry().TemplatesOfType("Level"))
        before.insert(Registry().Find(Registry().NameAt(i)));
    fs::path relative = fs::relative(file, fs::current_path(), error);
    LoadContentFile(error || relative.empty() ? file.string() : "./" + relative.string());
    std::optional<std::string> loaded;
    for (int i : Registry().TemplatesOfType("Level"))
        if (!before.contains(Registry().Find(Registry().NameAt(i))))
            loaded = Registry().NameAt(i);
    if (!loaded)
        throw platform::GameError(NotFoundMessage("Level", level));
    return *loaded;
}

void BuildFresh(const std::string& level) {
    World& world = TheWorld();
    world.Clear();
    world.queueDrawing = false;
    // Whatever froze the World before (a dialog in play) has nothing to do with this level.
    world.frozen = false;
    world.SetGravity(90);
    BuildLevel(level);
}

TurnOutcome BuildAndSettle(const std::string& level, std::int32_t maxFrames) {
    BuildFresh(level);
    return SettleHeadless(TheWorld(), maxFrames);
}

namespace {

// The kind word the object was placed with, checked against the object's own type tests so
// a mismatch can never reach the casts below.
std::string KindOf(const Entity& e) {
    std::string kind;
    if (const Template* t = Registry().Find(e.templateName))
        kind = t->GetType();
    return std::string(KindOfObject(e, kind).name);
}

std::string DescribeObject(const Entity& e) {
    const std::string kind = KindOf(e);
    JsonObject o;
    o.Add("id", e.id).Add("kind", kind).Add("template", e.templateName);
    o.Add("x", std::int32_t{e.x}).Add("y", std::int32_t{e.y}).Add("rotation", e.rotation);
    if (e.IsPhysical())
        o.Add("solid", static_cast<const PhysObj&>(e).solid);
    o.Add("moving", e.moving);
    if (e.IsBreakable())
        o.Add("broken", static_cast<const BreakablePO&>(e).broken);
    if (e.IsButton())
        o.Add("pressed", static_cast<const ButtonPO&>(e).pressed);
    if (kind == "Door")
        o.Add("open", static_cast<const Door&>(e).open);
    if (kind == "Trigger")
        o.Add("active", static_cast<const Trigger&>(e).active);
    if (e.IsExit())
        o.Add("teleporting", static_cast<const Exit&>(e).teleporting);
    return o.Text();
}

}  // namespace

std::string DescribeObjects(const World& world) {
    std::string list = "[";
    for (int i = 0; i < world.Count(); ++i) {
        if (i)
            list += ',';
        list += DescribeObject(*world.Get(i));
    }
    return list + "]";
}

std::vector<std::string> ParseMoves(const std::string& list) {
    std::vector<std::string> moves;
    if (list.find_first_not_of(" \t") == std::string::npos)
        return moves;
    std::size_t at = 0;
    while (true) {
        std::size_t comma = list.find(',', at);
        std::string piece = list.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        std::size_t first = piece.find_first_not_of(" \t"), last = piece.find_last_not_of(" \t");
        piece = first == std::string::npos ? "" : piece.substr(first, last - first + 1);
        std::string move;
        for (Move each : kMoveOrder) {
            std::string_view name = MoveName(each);
            if (piece == name || (piece.size() == 1 && std::toupper(static_cast<unsigned char>(piece[0])) == name[0]))
                move = name;
        }
        if (move.empty())
            throw platform::GameError("Move \"" + piece + "\" is none of Left, Up, Down, Right (or L, U, D, R)!");
        moves.push_back(move);
        if (comma == std::string::npos)
            return moves;
        at = comma + 1;
    }
}

namespace {

const char* kUsage =
    "usage: quillmere-sim play LEVEL MOVES [--max-frames N] [--data DIR]\n"
    "       quillmere-sim solve LEVEL [--max-turns N] [--time-limit S] [--max-frames N] [--data DIR]\n"
    "       quillmere-sim check [MODULE ...] [--max-turns N] [--time-limit S] [--max-frames N] [--data DIR]\n"
    "       quillmere-sim stats LEVEL [--tries N] [--seed S] [--max-turns N] [--time-limit S] [--max-frames N]\n"
    "                           [--data DIR]\n"
    "       quillmere-sim preview LEVEL FILE [--data DIR]\n"
    "       quillmere-sim previews [MODULE ...] [--data DIR]\n";

std::int32_t WholeNumber(const std::string& option, const std::string& text) {
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || v < 0 || v > 0x7FFFFFFF)
        throw std::invalid_argument(option + " needs a whole number, not \"" + text + "\"");
    return static_cast<std::int32_t>(v);
}

std::uint64_t Seed(const std::string& option, const std::string& text) {
    char* end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || text.find_first_not_of("0123456789") != std::string::npos)
        throw std::invalid_argument(option + " needs a whole number, not \"" + text + "\"");
    return v;
}

double Seconds(const std::string& option, const std::string& text) {
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(v >= 0) || v > 1e9)
        throw std::invalid_argument(option + " needs a number of seconds, not \"" + text + "\"");
    return v;
}

}  // namespace

SimArguments ParseSimArguments(const std::vector<std::string>& args) {
    if (args.empty())
        throw std::invalid_argument("no command given");
    SimArguments a;
    a.command = args[0];
    const bool searches = a.command == "solve" || a.command == "check" || a.command == "stats";
    if (!searches && a.command != "play" && a.command != "preview" && a.command != "previews")
        throw std::invalid_argument("unknown command \"" + a.command + "\"");
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw std::invalid_argument(arg + " needs a value");
            return args[++i];
        };
        if (arg == "--data")
            a.dataDir = value();
        else if (arg == "--max-frames")
            a.maxFrames = WholeNumber(arg, value());
        else if (arg == "--max-turns" && searches)
            a.maxTurns = WholeNumber(arg, value());
        else if (arg == "--time-limit" && searches)
            a.timeLimit = Seconds(arg, value());
        else if (arg == "--tries" && a.command == "stats") {
            a.tries = WholeNumber(arg, value());
            if (a.tries == 0)
                throw std::invalid_argument("--tries needs at least one try");
        } else if (arg == "--seed" && a.command == "stats")
            a.seed = Seed(arg, value());
        else if (arg.size() > 2 && arg.starts_with("--"))
            throw std::invalid_argument("unknown option " + arg);
        else
            a.positional.push_back(arg);
    }
    const std::size_t wanted = a.command == "play" || a.command == "preview" ? 2 : 1;
    if (a.command != "check" && a.command != "previews" && a.positional.size() != wanted)
        throw std::invalid_argument(a.command + " needs " +
                                    (wanted == 1 ? "LEVEL" : a.command == "play" ? "LEVEL and MOVES" : "LEVEL and FILE"));
    return a;
}

namespace {

int Play(const SimArguments& a, std::ostream& out) {
    const std::vector<std::string> moves = ParseMoves(a.positional[1]);
    SimSession session(a.dataDir, false);
    const std::string level = session.ResolveLevel(a.positional[0]);
    World& world = TheWorld();

    auto report = [&](std::int32_t turn, const std::string* move, const TurnOutcome& outcome) {
        JsonObject line;
        line.Add("turn", turn);
        if (move)
            line.Add("move", *move);
        else
            line.AddNull("move");
        line.Add("status", static_cast<std::int32_t>(world.levelStatus)).Add("settled", BoardSettled(world)).Add("frames", outcome.frames);
        line.AddRaw("objects", DescribeObjects(world));
        out << line.Text() << '\n';
    };

    TurnOutcome outcome = BuildAndSettle(level, a.maxFrames);
    report(0, nullptr, outcome);
    for (std::size_t i = 0; i < moves.size() && outcome.settled; ++i) {
        outcome = PlayMoveHeadless(world, moves[i], a.maxFrames);
        report(static_cast<std::int32_t>(i + 1), &moves[i], outcome);
    }
    out.flush();
    return 0;
}

int SolveCommand(const SimArguments& a, std::ostream& out, std::ostream& err) {
    SimSession session(a.dataDir, false);
    const std::string level = session.ResolveLevel(a.positional[0]);
    SolveLimits limits;
    limits.maxFrames = a.maxFrames;
    if (a.maxTurns)
        limits.maxTurns = *a.maxTurns;
    if (a.timeLimit)
        limits.timeLimit = *a.timeLimit;

    JsonObject line;
    line.Add("level", level);
    const TurnOutcome start = BuildAndSettle(level, a.maxFrames);
    if (!start.settled && start.levelStatus == LevelStatus::Playing) {
        line.Add("solvable", false).Add("reason", "does not settle").Add("states", std::int64_t{0});
        line.Add("seconds", 0.0);
        out << line.Text() << std::endl;
        return 0;
    }
    const SolveResult r = Solve(TheWorld().Snapshot(), limits, &err);
    line.Add("solvable", r.solvable);
    if (r.solvable)
        line.Add("turns", static_cast<std::int32_t>(r.moves.size())).Add("moves", r.moves);
    else
        line.Add("reason", r.reason).Add("depth", r.depth);
    line.Add("states", r.states).Add("distinct", r.distinct).Add("unsettled", r.unsettled);
    line.Add("frames", r.frames).Add("seconds", r.seconds);
    out << line.Text() << std::endl;
    return r.reason == "interrupted" ? 130 : 0;
}

// The difficulty report: one search over every board within the limits gives the fewest
// turns, how many sequences reach them and the dead ends; random play gives the rest.
int StatsCommand(const SimArguments& a, std::ostream& out, std::ostream& err) {
    using Clock = std::chrono::steady_clock;
    SimSession session(a.dataDir, false);
    const std::string level = session.ResolveLevel(a.positional[0]);
    const Clock::time_point began = Clock::now();
    const std::int32_t turnsPar = Registry().Find(level, "Level")->AsLevel()->turnsPar;
    SolveLimits limits;
    limits.maxFrames = a.maxFrames;
    if (a.maxTurns)
        limits.maxTurns = *a.maxTurns;
    if (a.timeLimit)
        limits.timeLimit = *a.timeLimit;

    JsonObject line;
    line.Add("level", level);
    const double none = std::numeric_limits<double>::quiet_NaN();
    const TurnOutcome built = BuildAndSettle(level, a.maxFrames);
    const WorldSnapshot start = TheWorld().Snapshot();
    Exploration x;
    if (!built.settled && built.levelStatus == LevelStatus::Playing) {
        x.solve.reason = "does not settle";
    } else {
        x = Explore(start, limits, &err);
    }
    bool interrupted = x.stop == "interrupted";

    line.Add("solvable", x.solve.solvable);
    if (x.solve.solvable) {
        line.Add("turns", static_cast<std::int32_t>(x.solve.moves.size())).Add("optimal", x.optimal);
        if (!x.optimalComplete)
            line.Add("optimal_complete", false);
    } else {
        line.Add("reason", x.solve.reason).Add("depth", x.solve.depth);
    }

    // Without a par, the fewest turns stand in for it; with neither, there is nothing to
    // measure random play against.
    std::optional<std::int32_t> par;
    if (turnsPar > 0)
        par = turnsPar;
    else if (x.solve.solvable)
        par = static_cast<std::int32_t>(x.solve.moves.size());
    if (par && !interrupted && x.solve.reason != "does not settle") {
        const std::int32_t turns = static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{*par} + 3, 0x7FFFFFFF));
        const RandomPlayResult r = PlayRandomly(start, a.tries, turns, a.seed, a.maxFrames);
        interrupted = r.interrupted;
        line.Add("random", r.tries > 0 ? static_cast<double>(r.completed) / r.tries : none);
        line.Add("tries", r.tries).Add("random_turns", turns);
    } else {
        line.AddNull("random").Add("tries", std::int32_t{0}).AddNull("random_turns");
    }

    line.Add("dead_ends", x.reachable > 0 ? static_cast<double>(x.deadEnds) / static_cast<double>(x.reachable) : none);
    line.Add("reachable", x.reachable).Add("dead_ends_complete", x.stop.empty() && x.solve.reason != "does not settle");
    line.Add("seconds", std::chrono::duration<double>(Clock::now() - began).count());
    out << line.Text() << std::endl;
    return interrupted ? 130 : 0;
}

int PreviewCommand(const SimArguments& a, std::ostream& out) {
    SimSession session(a.dataDir, false);
    const std::string level = session.ResolveLevel(a.positional[0]);
    const fs::path& file = a.positional[1];
    WriteLevelPreview(level, file.is_absolute() ? file : session.StartFolder() / file, a.maxFrames);
    JsonObject line;
    line.Add("level", level).Add("file", a.positional[1]);
    out << line.Text() << std::endl;
    return 0;
}

// Every level of the chosen modules that names a preview in the game folder gets it drawn
// afresh. A level that fails to build is reported and the rest are still written.
int PreviewsCommand(const SimArguments& a, std::ostream& out, std::ostream& err) {
    SimSession session(a.dataDir, true);
    std::vector<std::string> loaded;
    for (int i = 0; i < Registry().ModuleCount(); ++i)
        loaded.push_back(Registry().ModuleNameAt(i));
    auto listed = [](const std::vector<std::string>& list, const std::string& m) {
        return std::find(list.begin(), list.end(), m) != list.end();
    };
    auto chosen = [&](const std::string& m) { return a.positional.empty() ? listed(loaded, m) : listed(a.positional, m); };

    int errors = 0;
    for (const std::string& m : a.positional)
        if (!listed(loaded, m)) {
            err << "ERROR: No module \"" << m << "\" under ./Modules/ has an Include.ini.\n";
            ++errors;
        }
    for (const SimSession::LoadFailure& failure : session.LoadFailures())
        if (chosen(failure.module)) {
            err << "ERROR: " << failure.message << '\n';
            ++errors;
        }

    std::vector<std::pair<std::string, std::string>> levels;  // name, PreviewPath
    for (int i : Registry().TemplatesOfType("Level")) {
        const std::string name = Registry().NameAt(i);
        const std::size_t slash = name.find('/');
        if (slash != std::string::npos && chosen(name.substr(0, slash)))
            levels.emplace_back(name, Registry().LevelPreviewPath(name));
    }
    const fs::path game = fs::current_path();
    for (const auto& [level, path] : levels) {
        if (path.empty())
            continue;
        if (TakeSolveStopRequest())
            return 130;
        JsonObject line;
        line.Add("level", level).Add("file", path);
        const fs::path target = PreviewTarget(path, game);
        if (target.empty()) {
            line.Add("skipped", "not inside the game folder");
            out << line.Text() << std::endl;
            continue;
        }
        try {
            WriteLevelPreview(level, target, a.maxFrames);
            out << line.Text() << std::endl;
        } catch (const platform::GameError& error) {
            err << platform::TierWord(error.Tier()) << ": " << level << ": " << error.Message() << '\n';
            ++errors;
        } catch (const std::exception& e) {
            err << "EXCEPTION: " << level << ": " << e.what() << '\n';
            ++errors;
        }
    }
    TheWorld().Clear();
    return errors > 0 ? 1 : 0;
}

}  // namespace

int RunSim(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SimArguments a;
    try {
        if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
            out << kUsage;
            return 0;
        }
        a = ParseSimArguments(args);
        if (a.command == "play")
            ParseMoves(a.positional[1]);
    } catch (const std::invalid_argument& e) {
        err << "quillmere-sim: " << e.what() << '\n' << kUsage;
        return 1;
    } catch (const platform::GameError& error) {
        err << platform::TierWord(error.Tier()) << ": " << error.Message() << '\n';
        return 1;
    }
    try {
        if (a.command == "play")
            return Play(a, out);
        if (a.command == "solve")
            return SolveCommand(a, out, err);
        if (a.command == "stats")
            return StatsCommand(a, out, err);
        if (a.command == "preview")
            return PreviewCommand(a, out);
        if (a.command == "previews")
            return PreviewsCommand(a, out, err);
        CheckOptions options;
        options.modules = a.positional;
        options.maxFrames = a.maxFrames;
        if (a.maxTurns)
            options.maxTurns = *a.maxTurns;
        if (a.timeLimit)
            options.timeLimit = *a.timeLimit;
        SimSession session(a.dataDir, true);
        return CheckModules(session, options, out, &err) > 0 ? 1 : 0;
    } catch (const std::invalid_argument& e) {
        err << "quillmere-sim: " << e.what() << '\n';
    } catch (const platform::GameError& error) {
        err << platform::TierWord(error.Tier()) << ": " << error.Message() << '\n';
    } catch (const std::exception& e) {
        err << "EXCEPTION: " << e.what() << '\n';
    }
    return 1;
}
