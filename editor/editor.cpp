#include "editor/editor.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <deque>
#include <limits>
#include <memory>
#include <numeric>
#include <set>

#include "app/game_state.h"
#include "app/input.h"
#include "app/timer.h"
#include "content/module_loader.h"
#include "content/object_kinds.h"
#include "content/registry.h"
#include "dialog/dialogs.h"
#include "editor/editor_solve.h"
#include "editor/level_form.h"
#include "editor/link_lines.h"
#include "editor/question.h"
#include "editor/save_target.h"
#include "media/preview.h"
#include "platform/replace_file.h"
#include "play/play.h"
#include "widgets/file_chooser.h"
#include "widgets/text_label.h"
#include "widgets/widgets.h"
#include "world/entity.h"
#include "world/pixels.h"
#include "world/world.h"

namespace {

constexpr int kGrid = 12;
constexpr int kToolbarRows = 25;
constexpr int kToolbarDepth = -100000;
constexpr SDL_Color kCaptionInk{125, 0, 0, 0};
constexpr SDL_Color kAmber{242, 172, 64, 0};
// Enough for a long session of small changes; older steps fall off the far end.
constexpr std::size_t kHistorySteps = 256;
constexpr double kStatusSteps = 400.0;  // about four seconds at the nominal rate
const char* const kTestLevelPath = "./NewLevel.ini";

enum Tool {
    kPreviousModule,
    kNextModule,
    kPreviousDefinition,
    kNextDefinition,
    kSave,
    kCenter,
    kCleanup,
    kTest,
    kLoad,
    kLink,
    kPreview,
    kLevel,
    kSolve,
    kToolCount
};

// What the status line says while the mouse rests on a tool.
const char* const kToolCaptions[kToolCount] = {
    "Previous module",
    "Next module",
    "Previous piece",
    "Next piece",
    "Save - write the level to a file",
    "Center - move the level to the middle",
    "Cleanup - remove doubled pieces",
    "Test - play the level",
    "Load - open another level",
    "Link - join a piece that acts to one it acts on",
    "Preview - picture of the level",
    "Level - name, music and par",
    "Solve - find the fewest turns",
};

using Layout = std::vector<LevelEntry>;

struct Editor {
    EditorView view;
    TextLabel* moduleLabel = nullptr;
    TextLabel* templateLabel = nullptr;
    TextLabel* statusLabel = nullptr;
    ImageWidget* statusStrip = nullptr;
    double statusLeft = 0.0;
    int ghostRotation = 0;
    // The piece chosen as link source, while its target is awaited.
    int linkSourceId = -1;
    LinkOverlay overlay;
    std::unique_ptr<LevelForm> form;
    std::unique_ptr<SolvePanel> solve;
    double solveSlice = kSolveSliceSeconds;

    // Undo keeps whole layouts: small, exact, and they survive the World being rebuilt
    // by a test play.
    std::deque<Layout> undo;
    std::vector<Layout> redo;
    Layout saved;
    LevelProperties savedLevel;
    bool testing = false;
    bool ctrlHeld = false;
    bool shiftHeld = false;

    EditorQuestion question;
    std::optional<SaveTarget> replacing;  // "Replace ...?" is asked about it
    EditorLeave pending = EditorLeave::None;
    EditorLeave granted = EditorLeave::None;
    EditorLeave afterSave = EditorLeave::None;  // "Discard changes?" was answered SAVE
    ModuleReloads reloads;
};

Editor& State() {
    static Editor editor;
    return editor;
}

bool IsPlaceableKind(const std::string& kind) {
    const ObjectKind* found = FindObjectKind(kind);
    return found && found->placeable;
}

std::string AfterFirstSlash(const std::string& name) {
    std::size_t slash = name.find('/');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

// Positions and offsets from content can be any int32; sums wrap as the level reader's do
// instead of overflowing.
std::int32_t Wrapped(std::int64_t v) { return static_cast<std::int32_t>(v); }

std::string KindOf(const Entity& object) {
    const ModuleRegistry& registry = Registry();
    return registry.TypeAt(registry.IndexOfObject(object.templateName));
}

// Leading decimal digits; large enough numbers stop short of overflowing the next one.
int LinkNumber(const std::string& name) {
    std::int64_t v = 0;
    for (char c : name) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            break;
        v = std::min<std::int64_t>(v * 10 + (c - '0'), std::numeric_limits<std::int32_t>::max() - 1);
    }
    return static_cast<int>(v);
}

// The on-screen size of the picture: a quarter turn lays the frame on its side.
void PictureSize(const Entity& object, int& w, int& h) {
    w = object.image.frameWidth;
    h = object.image.frameHeight;
    if (object.image.angle == 90 || object.image.angle == 270)
        std::swap(w, h);
}

TextLabel* AddCaption(int x, int boxWidth) {
    auto label = std::make_unique<TextLabel>();
    label->setPosition(x, -1);
    label->setBoxWidth(boxWidth);
    label->setCentred(true);
    label->setColour(kCaptionInk);
    label->setFont(InterfaceFontPath(), 22);
    label->setDepth(kToolbarDepth);
    return addLabel(std::move(label));
}

void AddTool(const std::string& picture, int x) {
    addButton(std::make_unique<Button>(Image(picture, 1, 0, 24, 24), x, 2, 24, 24, kToolbarDepth));
}

constexpr int kStatusStripY = 450;

// A see-through dark strip under the status line, shown while it has something to say.
Image StatusStrip() { return TranslucentRect(640, 480 - kStatusStripY, SDL_Color{30, 26, 46, 0}, 210); }

void ShowStatus(const std::string& text) {
    Editor& e = State();
    e.view.status = text;
    e.statusLeft = kStatusSteps;
    if (e.statusLabel)
        e.statusLabel->setText(text);
}

// ---- the ghost and the palette ----

void DestroyGhost() {
    Editor& e = State();
    if (e.view.ghost) {
        std::unique_ptr<Entity> gone = TheWorld().Take(*e.view.ghost);
        e.view.ghost = nullptr;
    }
}

void PlaceGhostAt(int mx, int my) {
    Editor& e = State();
    Entity* ghost = e.view.ghost;
    if (!ghost)
        return;
    if (e.view.mode != 0) {
        ghost->SetPosition(-999, -999);
        return;
    }
    int gx = kGrid * (mx / kGrid);
    int gy = std::max(kGrid * (my / kGrid), 24);
    const std::string& name = ghost->templateName;
    ghost->SetPosition(Wrapped(std::int64_t{gx} + Registry().XPlacementOffset(name)),
                       Wrapped(std::int64_t{gy} + Registry().YPlacementOffset(name)));
}

void MakeGhost() {
    Editor& e = State();
    // The ghost left behind is placed: from now on it is seen whole.
    if (e.view.ghost)
        e.view.ghost->image.alpha = 255;
    e.view.ghost = nullptr;
    if (e.view.palette.empty())
        return;
    const ModuleRegistry& registry = Registry();
    const int at = e.view.palette[static_cast<std::size_t>(e.view.templateIndex)];
    std::unique_ptr<Entity> object = registry.NewObject(registry.TypeAt(at), registry.NameAt(at));
    if (!object)
        return;
    object->SetRotation(e.ghostRotation);
    e.view.ghost = TheWorld().Add(std::move(object));
    MousePosition m = GetMousePosition();
    PlaceGhostAt(m.x, m.y);
}

void ChooseDefinition() {
    Editor& e = State();
    e.ghostRotation = 0;
    if (e.view.ghost) {
        DestroyGhost();
        MakeGhost();
    }
    std::string caption;
    if (!e.view.palette.empty())
        caption = AfterFirstSlash(Registry().NameAt(e.view.palette[static_cast<std::size_t>(e.view.templateIndex)]));
    e.view.templateCaption = caption;
    if (e.templateLabel)
        e.templateLabel->setText(caption);
}

std::vector<int> PlaceablePiecesOf(int module) {
    const ModuleRegistry& registry = Registry();
    std::vector<int> pieces;
    if (module >= 0 && module < registry.ModuleCount())
        for (int at : registry.TemplatesOfModule(module))
            if (IsPlaceableKind(registry.TypeAt(at)))
                pieces.push_back(at);
    return pieces;
}

// A player's module of levels only may sort first; the editor opens on one that has pieces.
int FirstModuleWithPiecesFrom(int module) {
    const int count = Registry().ModuleCount();
    for (int step = 0; step < count; ++step) {
        const int candidate = (module + step) % count;
        if (!PlaceablePiecesOf(candidate).empty())
            return candidate;
    }
    return module;
}

void RebuildPalette() {
    Editor& e = State();
    const ModuleRegistry& registry = Registry();
    e.view.palette = PlaceablePiecesOf(e.view.moduleIndex);
    std::string moduleName;
    if (e.view.moduleIndex >= 0 && e.view.moduleIndex < registry.ModuleCount())
        moduleName = registry.ModuleNameAt(e.view.moduleIndex);
    e.view.moduleCaption = moduleName;
    if (e.moduleLabel)
        e.moduleLabel->setText(moduleName);
    e.view.templateIndex = 0;
    ChooseDefinition();
}

// ---- layouts, for saving, undo and the unsaved-changes question ----

bool SameEntry(const LevelEntry& a, const LevelEntry& b) {
    return a.kind == b.kind && a.name == b.name && a.x == b.x && a.y == b.y && a.rotation == b.rotation &&
           a.linkFrom == b.linkFrom && a.linkTo == b.linkTo;
}

bool SameLayout(const Layout& a, const Layout& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameEntry);
}

Layout CurrentLayout() {
    const ModuleRegistry& registry = Registry();
    Layout layout;
    World& world = TheWorld();
    for (int i = 0; i < world.Count(); ++i) {
        const Entity* object = world.Get(i);
        if (object == State().view.ghost)
            continue;
        LevelEntry entry;
        entry.kind = KindOf(*object);
        entry.name = object->templateName;
        entry.x = Wrapped(std::int64_t{object->x} - registry.XPlacementOffset(object->templateName));
        entry.y = Wrapped(std::int64_t{object->y} - registry.YPlacementOffset(object->templateName));
        entry.rotation = object->rotation;
        entry.linkFrom = object->linkName;
        entry.linkTo = object->linkTarget;
        layout.push_back(std::move(entry));
    }
    return layout;
}

// Puts the level back as the layout holds it, the way the level reader builds one.
void RestoreLayout(const Layout& layout) {
    Editor& e = State();
    const ModuleRegistry& registry = Registry();
    World& world = TheWorld();
    e.view.ghost = nullptr;
    world.Clear();
    for (const LevelEntry& entry : layout) {
        std::unique_ptr<Entity> object = registry.NewObject(entry.kind, entry.name);
        if (!object)
            continue;
        object->SetPosition(Wrapped(std::int64_t{entry.x} + registry.XPlacementOffset(entry.name)),
                            Wrapped(std::int64_t{entry.y} + registry.YPlacementOffset(entry.name)));
        object->linkName = entry.linkFrom;
        object->linkTarget = entry.linkTo;
        object->SetRotation(entry.rotation);
        world.AddEntity(std::move(object));
    }
    MakeGhost();
}

// Runs one edit and keeps the layout before it when the edit changed anything.
template <class F>
void Edit(F change) {
    Editor& e = State();
    Layout before = CurrentLayout();
    change();
    if (SameLayout(before, CurrentLayout()))
        return;
    e.undo.push_back(std::move(before));
    if (e.undo.size() > kHistorySteps)
        e.undo.pop_front();
    e.redo.clear();
}

// ---- the edits ----

void DeleteObject(Entity* object) {
    std::unique_ptr<Entity> gone = TheWorld().Take(*object);
}

// Pairs of pieces whose boxes overlap, by id.
std::set<std::pair<int, int>> OverlappingPieces() {
    World& world = TheWorld();
    std::set<std::pair<int, int>> pairs;
    for (int i = 0; i < world.Count(); ++i) {
        const Entity* a = world.Get(i);
        if (a == State().view.ghost || !a->IsPhysical())
            continue;
        for (const Entity* b : world.ObjectsOverlapping(*a))
            if (b != State().view.ghost && b->IsPhysical())
                pairs.emplace(std::min(a->id, b->id), std::max(a->id, b->id));
    }
    return pairs;
}

// The shift, a whole number of steps, that brings the span [low, high) nearest to being
// centred on `middle` while it stays inside [0, size); 0 when it can't.
std::int64_t CentringShift(std::int64_t low, std::int64_t high, std::int64_t middle, std::int64_t size,
                           std::int64_t step) {
    const double ideal = static_cast<double>(middle) - static_cast<double>(low + high) / 2.0;
    std::int64_t shift = step * static_cast<std::int64_t>(std::llround(ideal / static_cast<double>(step)));
    const std::int64_t least = low >= 0 ? -(low / step) * step : ((-low + step - 1) / step) * step;
    const std::int64_t most = size - high >= 0 ? ((size - high) / step) * step : -((high - size + step - 1) / step) * step;
    if (least > most)
        return 0;
    return std::clamp(shift, least, most);
}

// The grid the pieces stand on along one axis, as they are seen: the largest step that every
// distance between them is a multiple of (at most four editor squares), so a shift by it
// keeps every piece on it.
std::int64_t GridStep(const std::vector<std::int64_t>& coordinates) {
    std::int64_t g = 0;
    for (std::int64_t c : coordinates)
        g = std::gcd(g, c - coordinates.front());
    return g == 0 ? kGrid : std::gcd(g, std::int64_t{4 * kGrid});
}

// Moves every piece but the plain pictures by one shift, so nothing moves against anything
// else that moves; it refuses when the pieces would then overlap differently.
void Center() {
    World& world = TheWorld();
    std::vector<Entity*> moved;
    for (int i = 0; i < world.Count(); ++i) {
        Entity* object = world.Get(i);
        if (object != State().view.ghost && KindOf(*object) != "Entity")
            moved.push_back(object);
    }
    if (moved.empty())
        return;
    std::int64_t minX = std::numeric_limits<std::int64_t>::max(), minY = minX;
    std::int64_t maxX = std::numeric_limits<std::int64_t>::min(), maxY = maxX;
    std::vector<std::int64_t> gridX, gridY;
    for (const Entity* o : moved) {
        minX = std::min<std::int64_t>(minX, o->x);
        minY = std::min<std::int64_t>(minY, o->y);
        maxX = std::max<std::int64_t>(maxX, o->x + o->width);
        maxY = std::max<std::int64_t>(maxY, o->y + o->height);
        gridX.push_back(o->x);
        gridY.push_back(o->y);
    }
    const std::int64_t dx = CentringShift(minX, maxX, World::kScreenWidth / 2, World::kScreenWidth, GridStep(gridX));
    const std::int64_t dy = CentringShift(minY, maxY, World::kScreenHeight / 2, World::kScreenHeight, GridStep(gridY));
    if (dx == 0 && dy == 0) {
        ShowStatus("The level is centred already.");
        return;
    }
    const std::set<std::pair<int, int>> before = OverlappingPieces();
    for (Entity* o : moved)
        o->SetPosition(Wrapped(o->x + dx), Wrapped(o->y + dy));
    if (OverlappingPieces() != before) {
        for (Entity* o : moved)
            o->SetPosition(Wrapped(o->x - dx), Wrapped(o->y - dy));
        ShowStatus("Centring would push pieces into each other, so nothing moved.");
        return;
    }
    ShowStatus("Centred.");
}

void Cleanup() {
    const ModuleRegistry& registry = Registry();
    World& world = TheWorld();
    struct Spot {
        Entity* object;
        std::int64_t gx, gy;
    };
    std::vector<Spot> spots;
    for (int i = 0; i < world.Count(); ++i) {
        Entity* o = world.Get(i);
        if (o == State().view.ghost)
            continue;
        spots.push_back({o, o->x - static_cast<std::int64_t>(registry.XPlacementOffset(o->templateName)),
                         o->y - static_cast<std::int64_t>(registry.YPlacementOffset(o->templateName))});
    }
    // Marked first and removed after, so no removal can make the walk skip an object.
    std::vector<bool> duplicate(spots.size(), false);
    for (std::size_t a = 0; a < spots.size(); ++a)
        for (std::size_t b = a + 1; b < spots.size(); ++b)
            if (spots[a].object->id != spots[b].object->id && spots[a].gx == spots[b].gx &&
                spots[a].gy == spots[b].gy && spots[a].object->templateName == spots[b].object->templateName)
                duplicate[b] = true;
    for (std::size_t i = 0; i < spots.size(); ++i)
        if (duplicate[i])
            DeleteObject(spots[i].object);
}

void LinkClick(int mx, int my) {
    Editor& e = State();
    Entity* o = ObjectAt(mx, my);
    if (!o) {
        e.view.mode = 0;
        return;
    }
    if (e.view.mode == 1) {
        if (o->linkName.empty()) {
            o->linkName = std::to_string(e.view.nextLinkNumber);
            if (e.view.nextLinkNumber < std::numeric_limits<std::int32_t>::max())
                ++e.view.nextLinkNumber;
        }
        e.view.linkSource = o->linkName;
        e.linkSourceId = o->id;
        e.view.mode = 2;
    } else {
        o->linkTarget = e.view.linkSource;
        e.view.mode = 0;
    }
}

void Turn(int mx, int my, int quarter) {
    Editor& e = State();
    if (Entity* o = ObjectAt(mx, my)) {
        Edit([&] { o->SetRotation(SnapAngle(o->rotation + quarter)); });
    } else if (e.view.ghost) {
        e.ghostRotation = SnapAngle(e.ghostRotation + quarter);
        e.view.ghost->SetRotation(e.ghostRotation);
    }
}

void FinishSave(bool saved) {
    Editor& e = State();
    if (saved && e.afterSave != EditorLeave::None)
        e.granted = e.afterSave;
    e.afterSave = EditorLeave::None;
}

void WriteTo(const SaveTarget& target) {
    Editor& e = State();
    const SaveOutcome outcome = SaveLevelFile(target, LevelFileText(e.view.level, CurrentLayout()));
    if (outcome.saved) {
        e.saved = CurrentLayout();
        e.savedLevel = e.view.level;
        e.view.levelPath = target.path;
        e.reloads.Note(target);
    }
    ShowStatus(outcome.message);
    FinishSave(outcome.saved);
}

void OpenReplaceQuestion(const SaveTarget& target);

void Save() {
    Editor& e = State();
    FileChooserRequest request;
    request.title = "Save level";
    request.pattern = "*.ini";
    request.defaultExtension = ".ini";
    request.browseFolders = true;
    request.startFolder = std::filesystem::path(e.view.levelPath).parent_path().string();
    request.startName = std::filesystem::path(e.view.levelPath).filename().string();
    request.lists = OffersAsLevelFile;
    request.listsFolder = OffersAsFolder;
    request.refuses = [&e](const std::string& path) {
        std::string refusal;
        CheckSaveTarget(path, e.view.level.name, refusal);
        return refusal;
    };
    request.refusesFolder = [](const std::string& parent, const std::string& name) -> std::string {
        if (parent != "Modules")
            return "New folders go in Modules: each is a module.";
        return ModuleFolderProblem(name);
    };
    std::optional<std::string> path = ChooseFileToSave(request);
    if (!path) {
        FinishSave(false);
        return;
    }
    std::string refusal;
    std::optional<SaveTarget> target = CheckSaveTarget(*path, e.view.level.name, refusal);
    if (!target) {
        ShowStatus("Not saved: " + refusal);
        FinishSave(false);
    } else if (target->replaces) {
        OpenReplaceQuestion(*target);
    } else {
        WriteTo(*target);
    }
}

void Preview() {
    Editor& e = State();
    World& world = TheWorld();
    // The picture shows the ghost whole.
    if (State().view.ghost)
        State().view.ghost->image.alpha = 255;
    for (int i = 0; i < world.Count(); ++i) {
        Entity* o = world.Get(i);
        if (KindOf(*o) != "Trigger")
            o->Draw();
    }
    // The picture goes beside the level's file, named after it; a level never saved has none.
    if (e.view.levelPath.empty()) {
        if (SavePreview())
            ShowStatus("Wrote Preview.bmp. Save the level first to give it a picture of its own.");
        return;
    }
    const std::string picture = std::filesystem::path(e.view.levelPath).replace_extension(".bmp").string();
    if (SavePreview(picture)) {
        e.view.level.previewPath = picture;
        ShowStatus("Wrote " + picture + " as the level's picture: Save to keep it.");
    } else {
        ShowStatus("Could not write " + picture + "; the level keeps its old picture.");
    }
}

// Ctrl with Z, Y or Shift+Z; Ctrl is followed through the frame's own events, since the
// modifier state of the window is not kept for scripted input.
void HandleHistoryKeys() {
    Editor& e = State();
    for (const SDL_Event& event : FrameEvents()) {
        if (event.type != SDL_KEYDOWN && event.type != SDL_KEYUP)
            continue;
        const bool down = event.type == SDL_KEYDOWN;
        const SDLKey sym = event.key.keysym.sym;
        if (sym == SDLK_LCTRL || sym == SDLK_RCTRL)
            e.ctrlHeld = down;
        if (sym == SDLK_LSHIFT || sym == SDLK_RSHIFT)
            e.shiftHeld = down;
        if (!down)
            continue;
        const bool ctrl = e.ctrlHeld || (event.key.keysym.mod & KMOD_CTRL);
        const bool shift = e.shiftHeld || (event.key.keysym.mod & KMOD_SHIFT);
        if (ctrl && sym == SDLK_z && !shift)
            EditorUndo();
        else if (ctrl && (sym == SDLK_y || (sym == SDLK_z && shift)))
            EditorRedo();
    }
}

// ---- the questions: "Discard changes?" and "Replace ...?" ----

void OpenPrompt(EditorLeave where) {
    Editor& e = State();
    e.pending = where;
    if (e.view.asking)
        return;
    e.view.asking = true;
    e.question.Open("Discard changes?", {"YES", "NO", "SAVE"});
}

void OpenReplaceQuestion(const SaveTarget& target) {
    Editor& e = State();
    e.replacing = target;
    e.view.asking = true;
    // A long name would run off the panel; the status line names the file anyway.
    e.question.Open(target.fileName.size() <= 16 ? "Replace " + target.fileName + "?" : "Replace the old file?",
                    {"YES", "NO"});
    ShowStatus(target.path + " is there already.");
}

void ClosePrompt() {
    Editor& e = State();
    if (!e.view.asking)
        return;
    e.view.asking = false;
    e.question.Close();
}

void AnswerPrompt() {
    Editor& e = State();
    const int answer = e.question.Answer();
    if (answer < 0)
        return;
    const std::optional<SaveTarget> replacing = std::move(e.replacing);
    e.replacing.reset();
    const EditorLeave pending = e.pending;
    e.pending = EditorLeave::None;
    ClosePrompt();
    // The key that answered must not ask again in the same frame.
    ConsumeEvents();
    if (replacing) {
        if (answer == 0) {
            WriteTo(*replacing);
        } else {
            ShowStatus("Not saved: " + replacing->path + " is kept as it was.");
            FinishSave(false);
        }
    } else if (answer == 0) {
        e.granted = pending;
    } else if (answer == 2) {
        e.afterSave = pending;
        Save();
    }
}

void UpdateStatus() {
    Editor& e = State();
    if (e.statusLeft <= 0.0)
        return;
    e.statusLeft -= TimerStep();
    if (e.statusLeft <= 0.0) {
        e.view.status.clear();
        if (e.statusLabel)
            e.statusLabel->setText("");
    }
}

// ---- the level form and the search panel ----

void ClosePanels() {
    Editor& e = State();
    e.form.reset();
    e.solve.reset();
    e.view.panelOpen = false;
}

void OpenLevelForm() {
    Editor& e = State();
    ClosePanels();
    e.form = std::make_unique<LevelForm>(e.view.level);
    e.view.panelOpen = true;
}

void OpenSolvePanel() {
    Editor& e = State();
    ClosePanels();
    SolveLimits limits;
    limits.timeLimit = kEditorSolveSeconds;
    e.solve = std::make_unique<SolvePanel>(e.view.level, CurrentLayout(), limits, e.solveSlice);
    e.view.panelOpen = true;
}

// The open panel's frame; the keys it used are not seen again by the editor or the screen.
void UpdatePanels() {
    Editor& e = State();
    if (e.form) {
        switch (e.form->Update()) {
        case LevelForm::Result::Applied:
            if (!(e.form->Values() == e.view.level))
                ShowStatus("Level \"" + e.form->Values().name + "\" updated.");
            e.view.level = e.form->Values();
            ClosePanels();
            break;
        case LevelForm::Result::Cancelled:
            ClosePanels();
            break;
        case LevelForm::Result::Open:
            break;
        }
    } else if (e.solve) {
        switch (e.solve->Update()) {
        case SolvePanel::Action::SetPar:
            e.view.solveVerdict = e.solve->Verdict();
            e.view.level.turnsPar = *e.solve->FewestTurns();
            ShowStatus("Par set to " + std::to_string(e.view.level.turnsPar) + ".");
            ClosePanels();
            break;
        case SolvePanel::Action::Close:
            e.view.solveVerdict = e.solve->Verdict();
            ClosePanels();
            break;
        case SolvePanel::Action::None:
            e.view.solveVerdict = e.solve->Verdict();
            break;
        }
    }
    // The key that closed a panel must not act again in the same frame (Escape would leave).
    if (!e.form && !e.solve)
        ConsumeEvents();
}

// ---- the status line and what is drawn over the level ----

// The status line: the tool under the mouse, else what linking waits for, else the last message.
void UpdateStatusLine() {
    Editor& e = State();
    std::string line = e.view.status;
    const int hovered = hoveredButton();
    if (!e.view.panelOpen && hovered >= 0 && hovered < kToolCount)
        line = kToolCaptions[hovered];
    else if (e.view.mode == 1)
        line = "Link: click the piece that acts (a button, say).";
    else if (e.view.mode == 2)
        line = "Link: now click the piece it acts on.";
    e.view.statusLine = line;
    if (e.statusLabel)
        e.statusLabel->setText(line);
    if (e.statusStrip)
        e.statusStrip->y = line.empty() ? -1000 : kStatusStripY;
}

// Links, the chosen source and the see-through ghost, drawn over the level each frame.
void QueueOverlay() {
    Editor& e = State();
    World& world = TheWorld();
    const Entity* source = nullptr;
    if (e.view.mode == 2)
        for (int i = 0; i < world.Count() && !source; ++i)
            if (world.Get(i)->id == e.linkSourceId && world.Get(i) != e.view.ghost)
                source = world.Get(i);
    e.overlay.Queue(LinkLinesOf(world, e.view.ghost), source);
    if (e.view.ghost) {
        // The World draws nothing of it; the overlay draws it seen through.
        e.view.ghost->image.alpha = 0;
        if (e.view.mode == 0 && !e.view.panelOpen)
            e.overlay.QueueTranslucent(*e.view.ghost);
    }
}

}  // namespace

Entity* ObjectAt(int px, int py) {
    World& world = TheWorld();
    for (int i = 0; i < world.Count(); ++i) {
        Entity* o = world.Get(i);
        // Plain pictures (a level's backdrop) are not pieces: a click on an empty square
        // must not take the whole backdrop away.
        if (o == State().view.ghost || !o->IsPhysical())
            continue;
        int w = 0, h = 0;
        PictureSize(*o, w, h);
        if (o->x < px && px < o->x + w && o->y < py && py < o->y + h)
            return o;
    }
    return nullptr;
}

void EditorEntry(const PlaySession& play) {
    Editor& e = State();
    EditorView& v = e.view;
    const ModuleRegistry& registry = Registry();

    v.ghost = nullptr;
    TheWorld().showTriggers = true;
    e.moduleLabel = AddCaption(24, 140);
    e.templateLabel = AddCaption(260, 188);
    if (v.moduleIndex < 0 || v.moduleIndex >= registry.ModuleCount())
        v.moduleIndex = 0;
    v.moduleIndex = FirstModuleWithPiecesFrom(v.moduleIndex);
    RebuildPalette();

    addImageWidget(std::make_unique<ImageWidget>(Image("GUI/Workbar.png", 1, 0, 640, 30), 0, 0, -99990));
    AddTool("GUI/ButtonLeft.png", 0);
    AddTool("GUI/ButtonRight.png", 212);
    AddTool("GUI/ButtonLeft.png", 236);
    AddTool("GUI/ButtonRight.png", 448);
    AddTool("GUI/ButtonSave.png", 472);
    AddTool("GUI/ButtonCenter.png", 496);
    AddTool("GUI/ButtonCleanup.png", 520);
    AddTool("GUI/ButtonTest.png", 544);
    AddTool("GUI/ButtonLoad.png", 568);
    AddTool("GUI/ButtonLink.png", 592);
    AddTool("GUI/ButtonPreview.png", 616);
    // The level's own tools stand at the end of the module caption.
    AddTool("GUI/ButtonLevel.png", 164);
    AddTool("GUI/ButtonSolve.png", 188);

    e.statusStrip = addImageWidget(std::make_unique<ImageWidget>(StatusStrip(), 0, -1000, kToolbarDepth + 1));
    auto status = std::make_unique<TextLabel>();
    status->setPosition(0, 452);
    status->setBoxWidth(640);
    status->setCentred(true);
    // On its own dark strip: amber reads over a white board and a dark backdrop alike.
    status->setColour(kAmber);
    status->setFont(InterfaceFontPath(), 18);
    status->setDepth(kToolbarDepth);
    status->setText(v.status);
    e.statusLabel = addLabel(std::move(status));

    v.mode = 0;
    v.nextLinkNumber = 0;
    World& world = TheWorld();
    for (int i = 0; i < world.Count(); ++i) {
        const int number = LinkNumber(world.Get(i)->linkName);
        if (v.nextLinkNumber <= number)
            v.nextLinkNumber = number + 1;
    }

    if (!e.testing)
        v.levelPath = v.holdsLevel ? LevelFileOf(play.levelName) : std::string();
    if (!v.holdsLevel) {
        // A new level keeps what was given it through a test play.
        if (!e.testing)
            v.level = LevelProperties{};
    } else {
        const std::string& current = play.levelName;
        v.level.name = current;
        v.level.musicThemePath = registry.LevelMusicThemePath(current);
        v.level.turnsPar = registry.LevelTurnsPar(current);
        v.level.dialogEvents = registry.LevelDialogEvents(current);
        v.level.previewPath = registry.LevelPreviewPath(current);
        v.level.name = AfterFirstSlash(v.level.name);
    }
    // Building the level for the editor brought its dialogs along; none of them may talk here.
    ResetDialogBox();

    // A test play comes back to the same edit; anything else starts a fresh one.
    if (!e.testing) {
        e.undo.clear();
        e.redo.clear();
        e.saved = CurrentLayout();
        e.savedLevel = v.level;
    }
    e.testing = false;
    e.ctrlHeld = e.shiftHeld = false;
    e.pending = e.granted = e.afterSave = EditorLeave::None;
}

void EditorUpdate() {
    Editor& e = State();
    EditorView& v = e.view;
    UpdateStatus();
    if (v.asking) {
        AnswerPrompt();
        UpdateStatusLine();
        QueueOverlay();
        return;
    }
    if (v.panelOpen) {
        UpdatePanels();
        UpdateStatusLine();
        QueueOverlay();
        return;
    }

    MousePosition m = GetMousePosition();
    const int mx = m.x, my = m.y;
    if (!v.ghost)
        MakeGhost();
    else
        PlaceGhostAt(mx, my);

    if (MouseButtonPressed(SDL_BUTTON_LEFT) && my >= kToolbarRows) {
        if (v.mode == 0)
            Edit([] { MakeGhost(); });
        else
            Edit([&] { LinkClick(mx, my); });
    }
    if (MouseButtonPressed(SDL_BUTTON_RIGHT)) {
        if (Entity* o = ObjectAt(mx, my))
            Edit([&] { DeleteObject(o); });
    }
    if (MouseButtonPressed(SDL_BUTTON_WHEELUP))
        Turn(mx, my, 270);
    if (MouseButtonPressed(SDL_BUTTON_WHEELDOWN))
        Turn(mx, my, 90);
    HandleHistoryKeys();

    const ModuleRegistry& registry = Registry();
    switch (clickedButton()) {
    case kPreviousModule:
        if (--v.moduleIndex < 0)
            v.moduleIndex = registry.ModuleCount() - 1;
        RebuildPalette();
        break;
    case kNextModule:
        if (++v.moduleIndex > registry.ModuleCount() - 1)
            v.moduleIndex = 0;
        RebuildPalette();
        break;
    case kPreviousDefinition:
        if (--v.templateIndex < 0)
            v.templateIndex = static_cast<int>(v.palette.size()) - 1;
        v.templateIndex = std::max(v.templateIndex, 0);
        ChooseDefinition();
        break;
    case kNextDefinition:
        if (++v.templateIndex > static_cast<int>(v.palette.size()) - 1)
            v.templateIndex = 0;
        ChooseDefinition();
        break;
    case kSave:
        Save();
        break;
    case kCenter:
        Edit(Center);
        break;
    case kCleanup:
        Edit(Cleanup);
        break;
    case kLink:
        v.mode = 1;
        break;
    case kPreview:
        Preview();
        break;
    case kLevel:
        OpenLevelForm();
        break;
    case kSolve:
        OpenSolvePanel();
        break;
    default:
        break;
    }
    UpdateStatusLine();
    QueueOverlay();
}

void EditorExit() {
    Editor& e = State();
    ClosePrompt();
    ClosePanels();
    e.overlay.Clear();
    e.replacing.reset();
    e.view.ghost = nullptr;
    e.moduleLabel = nullptr;
    e.templateLabel = nullptr;
    e.statusLabel = nullptr;
    e.statusStrip = nullptr;
    clearWidgets();
    TheWorld().Clear();
    TheWorld().showTriggers = false;
    // Levels saved into modules join the custom levels now that no palette holds positions.
    e.reloads.Apply();
}

bool StartTestPlay(PlaySession& play) {
    Editor& e = State();
    if (!WriteEditorLevel(kTestLevelPath)) {
        ShowStatus("Could not write NewLevel.ini here, so the level can't be tried.");
        return false;
    }
    LoadContentFile(kTestLevelPath);
    ClosePanels();
    e.overlay.Clear();
    e.view.ghost = nullptr;
    TheWorld().Clear();
    TheWorld().showTriggers = false;
    clearWidgets();
    e.moduleLabel = e.templateLabel = e.statusLabel = nullptr;
    e.statusStrip = nullptr;
    TheWorld().SetGravity(90);
    BuildLevel(e.view.level.name);
    play.levelName = e.view.level.name;
    e.testing = true;
    return true;
}

void SetEditorHoldsLevel(bool holds) { State().view.holdsLevel = holds; }

void EditorRequestLeave(EditorLeave where) {
    Editor& e = State();
    if (where == EditorLeave::None || e.view.asking)
        return;
    if (HasUnsavedChanges())
        OpenPrompt(where);
    else
        e.granted = where;
}

EditorLeave EditorTakeLeave() {
    Editor& e = State();
    EditorLeave where = e.granted;
    e.granted = EditorLeave::None;
    return where;
}

bool EditorAllowsQuit() {
    Editor& e = State();
    if (CurrentState() != GameState::LevelEditor)
        return true;
    // Closing the window a second time while asked means it.
    if (e.view.asking && e.pending == EditorLeave::Quit)
        return true;
    if (!HasUnsavedChanges())
        return true;
    OpenPrompt(EditorLeave::Quit);
    return false;
}

const EditorView& CurrentEditor() { return State().view; }

std::vector<LevelEntry> EditorLevelObjects() { return CurrentLayout(); }

bool WriteEditorLevel(const std::string& path) {
    return platform::ReplaceFileContents(path, LevelFileText(State().view.level, CurrentLayout()));
}

bool HasUnsavedChanges() {
    return !SameLayout(CurrentLayout(), State().saved) || !(State().view.level == State().savedLevel);
}

void ReleaseEditorPanels() {
    ClosePanels();
    State().overlay.Clear();
}

bool EditorTypingText() { return CurrentState() == GameState::LevelEditor && State().form != nullptr; }

void SetEditorSolveSlice(double seconds) { State().solveSlice = seconds; }
const SolvePanel* EditorSolvePanel() { return State().solve.get(); }
const LevelForm* EditorLevelForm() { return State().form.get(); }

void EditorUndo() {
    Editor& e = State();
    if (e.undo.empty())
        return;
    e.redo.push_back(CurrentLayout());
    Layout back = std::move(e.undo.back());
    e.undo.pop_back();
    RestoreLayout(back);
}

void EditorRedo() {
    Editor& e = State();
    if (e.redo.empty())
        return;
    e.undo.push_back(CurrentLayout());
    Layout again = std::move(e.redo.back());
    e.redo.pop_back();
    RestoreLayout(again);
}

int EditorUndoDepth() { return static_cast<int>(State().undo.size()); }

void ResetEditorState() { State() = Editor{}; }
