#include "play/play.h"

#include "app/input.h"
#include "app/timer.h"
#include "audio/cues.h"
#include "audio/music.h"
#include "content/level_template.h"
#include "content/registry.h"
#include "dialog/dialogs.h"
#include "media/slideshow.h"
#include "platform/notice.h"
#include "play/save_data.h"
#include "play/story.h"
#include "world/world.h"

namespace {
const char* const kClosingLevel = "Main/Tarrow For Time";
const char* const kGlowingLevel = "Main/Botany \xE0 la Kool-aid Man";  // Latin-1, as registered

// The direction whose key went down last in this frame's events.
std::optional<Move> LastMovePressed() {
    std::optional<Move> last;
    for (const SDL_Event& event : FrameEvents()) {
        if (event.type != SDL_KEYDOWN)
            continue;
        for (Move move : kMoveOrder)
            if (BindingKey(std::string(MoveName(move))) == static_cast<int>(event.key.keysym.sym))
                last = move;
    }
    return last;
}
}  // namespace

void PlaySession::TakeHandMove() {
    std::optional<Move> chosen;
    for (Move move : kMoveOrder) {
        if (ActionPressed(std::string(MoveName(move)))) {
            chosen = move;
            break;
        }
    }
    if (!chosen)
        chosen = bufferedMove;
    bufferedMove.reset();
    if (!chosen)
        return;
    if (!MoveMovesAnything(world, *chosen)) {
        ++refusals;
        refusedMove = chosen;
        PlayCue(Cue::KeyRefused);
        return;
    }
    if (undoStack.size() == kUndoLimit)
        undoStack.pop_front();
    undoStack.push_back(world.Snapshot());
    replay.recordedMoves.push_back(*chosen);
    TakeTurn(*chosen);
}

void PlaySession::BufferMove() {
    std::optional<Move> move = LastMovePressed();
    if (!move)
        return;
    // A finished level takes no more turns.
    if (world.levelStatus != LevelStatus::Playing) {
        PlayCue(Cue::KeyRefused);
        return;
    }
    bufferedMove = move;
    PlayCue(Cue::KeyKept);
}

bool PlaySession::Undo() {
    if (undoStack.empty() || replay.replayPlaying || world.levelStatus == LevelStatus::Complete)
        return false;
    world.Restore(undoStack.back());
    undoStack.pop_back();
    --turns;
    if (!replay.recordedMoves.empty())
        replay.recordedMoves.pop_back();
    bufferedMove.reset();
    landingDue = false;
    hintAsked = false;
    // The restored board is at rest, but it is judged by the next settle like any other.
    settled = false;
    return true;
}

void PlaySession::StepPlayback(std::int32_t turnsBefore) {
    ReplayState& r = replay;
    // The turn count alone cannot end a list that holds no moves, or lines that take no
    // turn; the end of the list always does.
    if (r.playbackIndex >= r.playbackMoves.size()) {
        r.replayPlaying = false;
        return;
    }
    auto lastTurn = static_cast<std::int64_t>(r.playbackMoves.size()) - 1;
    if (turnsBefore < lastTurn && r.playbackTimer.Elapsed() > 200) {
        r.replayUsed = true;
        if (std::optional<Move> move = MoveNamed(r.playbackMoves[r.playbackIndex]))
            TakeTurn(*move);
        r.playbackTimer.Reset();
        ++r.playbackIndex;
    }
    if (turnsBefore >= lastTurn)
        r.replayPlaying = false;
}

// The two campaign levels that end in a cutscene leave once it has played.
PlayOutcome PlaySession::SpecialLevelEndings() {
    if (world.levelStatus != LevelStatus::Complete)
        return PlayOutcome::Stay;
    bool closing = levelName == kClosingLevel;
    bool glowing = levelName == kGlowingLevel;
    if (!closing && !glowing)
        return PlayOutcome::Stay;
    if (endingPending) {
        endingPending = false;
        if (closing)
            StartClosingCutscene();
        else
            StartGlowingCutscene();
    } else if (SlideshowFinished()) {
        return closing ? PlayOutcome::ClosingFinished : PlayOutcome::GlowingFinished;
    }
    return PlayOutcome::Stay;
}

// The level's music and dialogs, and a fresh count: what a level brings to play beyond its
// objects.
void PlaySession::BeginLevel() {
    const LevelTemplate& level = Registry().Level(levelName);
    level.BuildInto(world);
    turns = 0;
    undoStack.clear();
    bufferedMove.reset();
    refusedMove.reset();
    hintAsked = false;
    completionSaved = false;
    landingDue = false;
    if (!level.musicThemePath.empty() && level.musicThemePath != CurrentSongName())
        PlayMusic(level.musicThemePath, true);
    ResetDialogBox();
    for (auto event = level.dialogEvents.rbegin(); event != level.dialogEvents.rend(); ++event)
        AddDialog(Registry().NewDialog(*event));
}

void PlaySession::StartLevel() {
    endingPending = true;
    // The level may have changed since it was last played (the editor's test play).
    ways.Forget();
    hintUsed = false;
    StopMusic();
    SetPlayPaused(false);
    SetCursorShown(false);
    BeginLevel();
    world.SetGravity(90);
    replay.recordedMoves.clear();
    settled = false;
}

void PlaySession::Exit() {
    world.Clear();
    SetCursorShown(true);
    SaveSaveData();
    world.levelStatus = LevelStatus::NotPlaying;
    CloseBox();
    DeleteAllDialogs();
    replay.replayUsed = false;
    ways.Forget();
    hintUsed = false;
}

void PlaySession::TakeTurn(Move move) {
    StartTurn(world, move);
    ++turns;
    landingDue = true;
    PlayCue(Cue::Turn);
    hintAsked = false;
}

void PlaySession::RestartLevel() {
    world.Clear();
    world.SetGravity(90);
    CloseBox();
    DeleteAllDialogs();
    SetPlayPaused(false);
    BeginLevel();
    replay.recordedMoves.clear();
    settled = false;
}

bool PlaySession::LevelPerfect() const {
    if (world.levelStatus != LevelStatus::Complete)
        return false;
    if (Registry().Find(levelName, "Level") == nullptr)
        return false;
    std::int32_t par = Registry().LevelTurnsPar(levelName);
    return par != 0 && turns <= par && !hintUsed;
}

PlayOutcome PlaySession::Update(const AskForReplayPath& askToSave) {
    // Taking turns back also drops any turn pressed ahead, even in the same frame.
    bool tookBack = false;
    if (ActionPressed("Restart")) {
        RestartLevel();
        PlayCue(Cue::Restart);
        tookBack = true;
    } else if (ActionPressed("Undo")) {
        tookBack = Undo();
        PlayCue(tookBack ? Cue::Undo : Cue::KeyRefused);
    }
    std::int32_t turnsBefore = turns;
    PlayOutcome outcome = PlayOutcome::Stay;
    if (!PlayPaused()) {
        if (!settled) {
            replay.playbackTimer.Reset();
            if (!replay.replayPlaying && !tookBack)
                BufferMove();
        } else if (!replay.replayPlaying)
            TakeHandMove();
        else
            StepPlayback(turnsBefore);
        if (ActionPressed("Hint") && world.levelStatus == LevelStatus::Playing && !replay.replayPlaying)
            hintAsked = true;
        if (ActionPressed("Save Replay"))
            SaveReplay(askToSave, levelName, replay.recordedMoves);
        if (!replay.replayPlaying)
            outcome = SpecialLevelEndings();
    }
    if (outcome == PlayOutcome::Stay && KeyPressed(kEscapeKey))
        outcome = PlayOutcome::Abandoned;
    return outcome;
}

bool PlaySession::Settle() {
    if (PlayPaused())
        return false;
    settled = BoardSettled(world);
    ways.Update(world, settled && world.levelStatus == LevelStatus::Playing && !replay.replayPlaying);
    if (const WayOn* hint = Hint(); hint && hint->kind == WayOn::Kind::Winnable)
        hintUsed = true;
    if (world.levelStatus == LevelStatus::Playing) {
        // One knock for the whole board coming to rest, however many pieces fell.
        if (settled && landingDue)
            PlayCue(Cue::Land);
        if (settled)
            landingDue = false;
        return false;
    }
    landingDue = false;
    if (world.levelStatus == LevelStatus::Complete && !replay.replayUsed) {
        if (hintUsed)
            RecordHintedResult(levelName, turns);
        else
            RecordResult(levelName, 1, turns);
        // On disk at once: a crash or a kill later on must not lose the level.
        if (!completionSaved)
            SaveSaveData();
        completionSaved = true;
    }
    settled = false;
    return world.levelStatus == LevelStatus::Complete && ActionPressed("Action 1");
}

void PlaySession::StartPlayback(const ReplayFile& file) {
    replay.replayPlaying = true;
    replay.playbackMoves = file.moves;
    levelName = file.levelName;
    replay.playbackTimer.Reset();
    replay.playbackIndex = 0;
}

bool PlaySession::LoadReplay(const AskForReplayPath& ask) {
    std::optional<std::string> path = ask();
    if (!path)
        return false;
    // A replay the game cannot play is the player's file, not a reason to stop: say why and
    // stay where the player is.
    std::optional<ReplayFile> file = ReadReplayFile(*path);
    if (!file) {
        platform::Notify("Couldn't read the replay \"" + *path + "\"");
        return false;
    }
    if (file->levelName.empty() || Registry().Find(file->levelName, "Level") == nullptr) {
        platform::Notify("The replay \"" + *path + "\" names no level of this game" +
                         (file->levelName.empty() ? std::string() : ": \"" + file->levelName + "\""));
        return false;
    }
    replay.playbackMoves.clear();
    StartPlayback(*file);
    return true;
}

void PlaySession::Reset() {
    levelName = "Main/Level 1";
    endingPending = true;
    turns = 0;
    settled = false;
    replay = ReplayState{};
    undoStack.clear();
    bufferedMove.reset();
    refusals = 0;
    refusedMove.reset();
    ways.Forget();
    hintAsked = false;
    hintUsed = false;
    completionSaved = false;
    landingDue = false;
    SetPlayPaused(false);
    SetCursorShown(true);
}
