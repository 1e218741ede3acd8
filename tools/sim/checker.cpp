#include "tools/sim/checker.h"

#include <algorithm>
#include <fstream>

#include "content/dialog_template.h"
#include "content/level_template.h"
#include "content/object_kinds.h"
#include "content/object_templates.h"
#include "content/registry.h"
#include "dialog/dialog_box.h"
#include "platform/game_error.h"
#include "tools/sim/json.h"
#include "tools/sim/sim.h"
#include "play/solver.h"
#include "world/world.h"

namespace {

constexpr std::int32_t kTurnsWithoutPar = 40;
constexpr int kLevelListSlots = 25;
constexpr std::size_t kLevelListLine = 39;

class Findings {
public:
    Findings(std::ostream& out) : out(out) {}

    void Add(std::string severity, std::string check, std::string module, std::string subject,
             std::string message) {
        Finding f{std::move(severity), std::move(check), std::move(module), std::move(subject), std::move(message)};
        JsonObject line;
        line.Add("severity", f.severity).Add("check", f.check).Add("module", f.module);
        line.Add("subject", f.subject).Add("message", f.message);
        out << line.Text() << std::endl;
        all.push_back(std::move(f));
    }

    std::vector<Finding> all;

private:
    std::ostream& out;
};

std::string ModuleOf(const std::string& name) {
    std::size_t slash = name.find('/');
    return slash == std::string::npos ? "" : name.substr(0, slash);
}

// Every sprite and sound an object kind names. The loader made each definition from the
// section its kind word headed, so the kind's row reads the definition.
void CheckKind(const std::string& module, const ObjectKind& kind, const Template& t, Findings& findings) {
    bool missing = false;
    for (const NamedMedia& media : kind.media(t)) {
        if ((media.name.empty() && !media.evenEmpty) || Registry().Find(media.name, std::string(media.word)))
            continue;
        findings.Add("error", media.word == "Sprite" ? "missing-sprite" : "missing-sound", module, t.GetName(),
                     NotFoundMessage(std::string(media.word), media.name));
        missing = true;
    }
    // Without a box of its own a broken object has none at all and drops through everything.
    // One that can't fall (pinned, or pinned once broken) just vanishes: a rotten board that
    // gives way is made so on purpose.
    if (const BPOTemplate* breakable = kind.breakable(t)) {
        const bool canFall = !breakable->pinned && !breakable->pinOnBreak;
        if (canFall && (breakable->breakBoundingWidth <= 0 || breakable->breakBoundingHeight <= 0))
            findings.Add("warning", "empty-break-box", module, t.GetName(),
                         "Once broken it has an empty box and falls through everything; give it "
                         "BreakBoundingWidth and BreakBoundingHeight, or PinOnBreak to let it vanish.");
    }
    if (missing)
        return;
    // Whatever else could stop the kind from being placed shows up when one is made.
    try {
        Registry().Instantiate(std::string(kind.name), t.GetName());
    } catch (const platform::GameError& error) {
        findings.Add("error", "build-failed", module, t.GetName(), error.Message());
    } catch (const std::exception& e) {
        findings.Add("error", "build-failed", module, t.GetName(), e.what());
    }
}

void CheckDialog(const std::string& module, const DialogTemplate& dialog, Findings& findings) {
    for (const Message& m : dialog.messages)
        for (const std::string* sprite : {&m.icon, &m.flag})
            if (!sprite->empty() && !Registry().Find(*sprite, "Sprite"))
                findings.Add("error", "missing-sprite", module, dialog.GetName(), NotFoundMessage("Sprite", *sprite));
}

// Names in the level's own lines; true when they all name something.
bool CheckLevelNames(const std::string& module, const LevelTemplate& level, Findings& findings) {
    bool ok = true;
    for (const LevelEntry& entry : level.entries) {
        const bool known = FindObjectKind(entry.kind) != nullptr;
        if (known ? !Registry().Find(entry.name, entry.kind) : !Registry().Find(entry.name)) {
            findings.Add("error", "missing-kind", module, level.GetName(),
                         NotFoundMessage(known ? entry.kind : "Object", entry.name));
            ok = false;
        }
    }
    for (const std::string& dialog : level.dialogEvents)
        if (!Registry().Find(dialog, "Dialog")) {
            findings.Add("error", "missing-dialog", module, level.GetName(), NotFoundMessage("Dialog", dialog));
            ok = false;
        }
    return ok;
}

// Where the level put a piece.
struct Placed {
    std::uint64_t seq;
    std::string name;
    int x, y;
};

std::vector<Placed> PlacedPieces(const World& world) {
    std::vector<Placed> pieces;
    for (int i = 0; i < world.Count(); ++i) {
        const Entity& e = *world.Get(i);
        if (e.IsPhysical())
            pieces.push_back({e.Seq(), e.templateName, e.x, e.y});
    }
    return pieces;
}

// "Main/Page at 192, 156, Main/Crate at ..." for at most three pieces, and how many more.
std::string Named(const std::vector<std::string>& pieces) {
    std::string text;
    for (std::size_t i = 0; i < pieces.size() && i < 3; ++i)
        text += (i ? ", " : "") + pieces[i];
    if (pieces.size() > 3)
        text += " and " + std::to_string(pieces.size() - 3) + " more";
    return text;
}

// What a start dialog would hide of the board as built, on whichever edge the game opens it.
std::string PiecesUnderTheStartDialog(const LevelTemplate& level, const World& world) {
    const bool startDialog = std::any_of(level.dialogEvents.begin(), level.dialogEvents.end(), [](const std::string& d) {
        const auto* dialog = static_cast<const DialogTemplate*>(Registry().Find(d, "Dialog"));
        return dialog && dialog->trigger == "LEVEL_START";
    });
    if (!startDialog)
        return {};
    std::vector<std::string> hidden;
    for (const Entity* e : PiecesUnderBox(world, BoxBelongsAtTop(world)))
        hidden.push_back(e->templateName + " at " + std::to_string(e->x) + ", " + std::to_string(e->y));
    return Named(hidden);
}

// Pieces that fell when the board first settled: "Main/Page falls from 192, 156 to 192, 300".
std::string PiecesThatMoved(const std::vector<Placed>& built, const std::vector<Placed>& settled) {
    std::vector<std::string> moved;
    for (const Placed& b : built)
        for (const Placed& s : settled)
            if (s.seq == b.seq && (s.x != b.x || s.y != b.y))
                moved.push_back(b.name + " falls from " + std::to_string(b.x) + ", " + std::to_string(b.y) + " to " +
                                std::to_string(s.x) + ", " + std::to_string(s.y));
    return Named(moved);
}

void CheckLevel(const std::string& module, const LevelTemplate& level, const CheckOptions& options,
                Findings& findings, std::ostream* progress, bool& interrupted) {
    const std::string& name = level.name;
    const bool namesOk = CheckLevelNames(module, level, findings);
    try {
        BuildFresh(name);
    } catch (const platform::GameError& error) {
        if (namesOk)
            findings.Add("error", "build-failed", module, name, error.Message());
        return;
    } catch (const std::exception& e) {
        findings.Add("error", "build-failed", module, name, e.what());
        return;
    }

    // What the level places, before anything can fall off the board.
    World& world = TheWorld();
    bool exit = false, critical = false;
    for (int i = 0; i < world.Count(); ++i) {
        const Entity& e = *world.Get(i);
        exit = exit || e.IsExit();
        critical = critical || (e.IsPhysical() && static_cast<const PhysObj&>(e).missionCritical);
    }
    if (!exit)
        findings.Add("error", "no-exit", module, name, "The level has no exit.");
    if (!critical)
        findings.Add("error", "no-mission-critical", module, name, "The level has no mission-critical object.");
    if (!exit || !critical)
        return;
    const std::vector<Placed> built = PlacedPieces(world);
    if (const std::string hidden = PiecesUnderTheStartDialog(level, world); !hidden.empty())
        findings.Add("warning", "start-dialog-covers", module, name,
                     "The start dialog hides " + hidden + " along either edge of the screen; move the pieces "
                     "clear of one edge or the dialog elsewhere.");
    const TurnOutcome start = SettleHeadless(world, options.maxFrames);
    if (!start.settled && world.levelStatus == LevelStatus::Playing) {
        findings.Add("error", "does-not-settle", module, name,
                     "The board does not settle within " + std::to_string(options.maxFrames) + " frames after the build.");
        return;
    }
    if (const std::string falling = PiecesThatMoved(built, PlacedPieces(world)); !falling.empty())
        findings.Add("warning", "starts-in-air", module, name,
                     falling + " before the first turn; place every piece where it rests.");

    const std::int32_t par = level.turnsPar;
    const std::int32_t deepest = options.maxTurns.value_or(kTurnsWithoutPar);
    SolveLimits limits;
    limits.maxTurns = par > 0 ? std::max(par, deepest) : deepest;
    limits.timeLimit = options.timeLimit;
    limits.maxFrames = options.maxFrames;
    const SolveResult r = Solve(world.Snapshot(), limits, progress);
    const std::string parText = std::to_string(par);

    if (r.solvable) {
        const std::string best = std::to_string(r.moves.size());
        if (par > 0 && static_cast<std::int32_t>(r.moves.size()) > par)
            findings.Add("error", "par-impossible", module, name,
                         "The par of " + parText + " turns is smaller than the fewest turns, " + best + ".");
        else if (par > 0 && static_cast<std::int32_t>(r.moves.size()) < par)
            findings.Add("warning", "par-loose", module, name,
                         "The par of " + parText + " turns is larger than the fewest turns, " + best + ".");
        return;
    }
    if (r.reason == "exhausted")
        findings.Add("error", "unsolvable", module, name,
                     world.levelStatus == LevelStatus::Failed ? "The level fails before the first turn."
                                            : "No sequence of moves completes the level.");
    else if (r.reason == "turn limit")
        findings.Add("error", "not-solvable-within", module, name,
                     par > 0 ? "Not solvable within its par of " + parText + " turns (none within " +
                                   std::to_string(limits.maxTurns) + ")."
                             : "Not solvable within " + std::to_string(limits.maxTurns) + " turns.");
    else if (r.reason == "time limit")
        findings.Add("warning", "solve-time-limit", module, name,
                     "The search ran out of time after " + std::to_string(r.depth) + " turns.");
    else
        interrupted = true;
}

// Slots of the level list as the level-select screen reads them: a line longer than the
// field keeps its start and ends the reading.
std::vector<std::string> ReadLevelList() {
    std::vector<std::string> slots;
    std::ifstream in("./LevelList.txt", std::ios::binary);
    std::string line;
    while (in && slots.size() < kLevelListSlots && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > kLevelListLine) {
            slots.push_back(line.substr(0, kLevelListLine));
            break;
        }
        slots.push_back(line);
    }
    return slots;
}

}  // namespace

std::vector<Finding> Check(const SimSession& session, const CheckOptions& options, std::ostream& out,
                           std::ostream* progress) {
    Findings findings(out);
    std::vector<std::string> loaded;
    for (int i = 0; i < Registry().ModuleCount(); ++i)
        loaded.push_back(Registry().ModuleNameAt(i));
    const std::vector<std::string> modules = options.modules.empty() ? loaded : options.modules;
    auto chosen = [&](const std::string& m) { return std::find(modules.begin(), modules.end(), m) != modules.end(); };

    // A game folder without modules is almost always the wrong folder.
    if (loaded.empty() && options.modules.empty())
        findings.Add("error", "no-modules", "", "", "No folder under ./Modules/ has an Include.ini.");
    for (const std::string& m : modules)
        if (std::find(loaded.begin(), loaded.end(), m) == loaded.end())
            findings.Add("error", "unknown-module", m, m, "No module \"" + m + "\" under ./Modules/ has an Include.ini.");
    for (const SimSession::LoadFailure& failure : session.LoadFailures())
        if (chosen(failure.module))
            findings.Add("error", "load-failed", failure.module, failure.module, failure.message);

    // Positions hold while nothing registers; checking registers nothing.
    std::vector<const LevelTemplate*> levels;
    for (int i = 0; i < Registry().Count(); ++i) {
        const std::string name = Registry().NameAt(i), type = Registry().TypeAt(i);
        const std::string module = ModuleOf(name);
        if (!chosen(module))
            continue;
        const Template* t = Registry().Find(name, type);
        if (const ObjectKind* kind = FindObjectKind(type))
            CheckKind(module, *kind, *t, findings);
        else if (type == "Dialog")
            CheckDialog(module, static_cast<const DialogTemplate&>(*t), findings);
        else if (const LevelTemplate* level = t->AsLevel())
            levels.push_back(level);
    }
    bool interrupted = false;
    for (const LevelTemplate* level : levels) {
        CheckLevel(ModuleOf(level->name), *level, options, findings, progress, interrupted);
        if (interrupted) {
            findings.Add("warning", "interrupted", ModuleOf(level->name), level->name,
                         "The check was stopped; levels after this one were not checked.");
            break;
        }
    }
    TheWorld().Clear();

    const std::vector<std::string> slots = ReadLevelList();
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const std::string& entry = slots[i];
        if (entry.empty() || !(options.modules.empty() || chosen(ModuleOf(entry))))
            continue;
        if (!Registry().Find(entry, "Level"))
            findings.Add("error", "level-list", ModuleOf(entry), entry,
                         "LevelList.txt line " + std::to_string(i + 1) + ": " + NotFoundMessage("Level", entry));
    }
    return findings.all;
}

int CheckModules(const SimSession& session, const CheckOptions& options, std::ostream& out,
                 std::ostream* progress) {
    int errors = 0;
    for (const Finding& f : Check(session, options, out, progress))
        errors += f.severity == "error";
    return errors;
}
