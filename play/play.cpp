#include "play/play.h"

#include "app/input.h"
#include "app/timer.h"
#include "audio/music.h"
#include "content/level_template.h"
#include "content/module_loader.h"
#include "content/registry.h"
#include "dialog/dialogs.h"
#include "media/slideshow.h"
#include "play/story.h"
#include "play/replay.h"
#include "play/save_data.h"
#include "play/turn_engine.h"
#include "play/turns.h"
#include "world/world.h"

namespace {

bool boardSettled = false;

const char* const kClosingLevel = "Main/Tarrow For Time";
const char* const kGlowingLevel = "Main/Botany \xE0 la Kool-aid Man";  // Latin-1, as registered

void TakeHandMove() {
    for (std::string_view move : kMoveOrder) {
        if (ActionPressed(std::string(move))) {
            Replays().recordedMoves.emplace_back(move);
            ApplyMove(std::string(move));
            return;
        }
    }
}

void StepPlayback(std::int32_t turnsBefore) {
    ReplayState& r = Replays();
    // The turn count alone cannot end a list that holds no moves, or lines that take no
    // turn; the end of the list always does.
    if (r.playbackIndex >= r.playbackMoves.size()) {
        r.replayPlaying = false;
        return;
    }
    auto lastTurn = static_cast<std::int64_t>(r.playbackMoves.size()) - 1;
    if (turnsBefore < lastTurn && r.playbackTimer.Elapsed() > 200) {
        const std::string move = r.playbackMoves[r.playbackIndex];
        r.replayUsed = true;
        ApplyMove(move);
        r.playbackTimer.Reset();
        ++r.playbackIndex;
    }
    if (turnsBefore >= lastTurn)
        r.replayPlaying = false;
}

// The two campaign levels that end in a cutscene leave once it has played.
PlayOutcome SpecialLevelEndings() {
    PlaySession& play = CurrentPlay();
    if (TheWorld().levelStatus != LevelStatus::Complete)
        return PlayOutcome::Stay;
    bool closing = play.levelName == kClosingLevel;
    bool glowing = play.levelName == kGlowingLevel;
    if (!closing && !glowing)
        return PlayOutcome::Stay;
    if (play.endingPending) {
        play.endingPending = false;
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
void BeginLevel(const std::string& name) {
    const LevelTemplate& level = Registry().Level(name);
    BuildLevel(name);
    CurrentPlay().levelName = name;
    SetTurnCount(0);
    if (!level.musicThemePath.empty() && level.musicThemePath != CurrentSongName())
        PlayMusic(level.musicThemePath, true);
    ResetDialogBox();
    for (auto event = level.dialogEvents.rbegin(); event != level.dialogEvents.rend(); ++event)
        AddDialog(Registry().NewDialog(*event));
}

}  // namespace

PlaySession& CurrentPlay() {
    static PlaySession session;
    return session;
}

void StartLevel() {
    CurrentPlay().endingPending = true;
    StopMusic();
    SetPlayPaused(false);
    SetCursorShown(false);
    BeginLevel(CurrentPlay().levelName);
    TheWorld().SetGravity(90);
    ClearRecordedMoves();
    boardSettled = false;
}

void PlayExit() {
    TheWorld().Clear();
    SetCursorShown(true);
    SaveSaveData();
    TheWorld().levelStatus = LevelStatus::NotPlaying;
    CloseBox();
    DeleteAllDialogs();
    ClearReplayUsed();
}

bool BoardSettled() { return boardSettled; }

void ApplyMove(const std::string& name) {
    World& world = TheWorld();
    if (!ApplyGravityMove(world, name))
        return;
    SetTurnCount(TurnCount() + 1);
}

void RestartLevel() {
    TheWorld().Clear();
    TheWorld().SetGravity(90);
    CloseBox();
    DeleteAllDialogs();
    SetPlayPaused(false);
    BeginLevel(CurrentPlay().levelName);
    Replays().recordedMoves.clear();
    boardSettled = false;
}

bool LevelPerfect() {
    if (TheWorld().levelStatus != LevelStatus::Complete)
        return false;
    const std::string& level = CurrentPlay().levelName;
    if (Registry().Find(level, "Level") == nullptr)
        return false;
    std::int32_t par = Registry().LevelTurnsPar(level);
    return par != 0 && TurnCount() <= par;
}

PlayOutcome PlayUpdate(const AskForReplayPath& askToSave) {
    if (ActionPressed("Restart"))
        RestartLevel();
    std::int32_t turnsBefore = TurnCount();
    PlayOutcome outcome = PlayOutcome::Stay;
    if (!PlayPaused()) {
        ReplayState& replay = Replays();
        if (!boardSettled)
            replay.playbackTimer.Reset();
        else if (!replay.replayPlaying)
            TakeHandMove();
        else
            StepPlayback(turnsBefore);
        if (ActionPressed("Save Replay"))
            SaveReplay(askToSave);
        if (!replay.replayPlaying)
            outcome = SpecialLevelEndings();
    }
    if (outcome == PlayOutcome::Stay && KeyPressed(kEscapeKey))
        outcome = PlayOutcome::Abandoned;
    return outcome;
}

bool PlaySettle() {
    if (PlayPaused())
        return false;
    World& world = TheWorld();
    boardSettled = ::BoardSettled(world);
    if (world.levelStatus == LevelStatus::Playing)
        return false;
    if (world.levelStatus == LevelStatus::Complete && !Replays().replayUsed)
        RecordResult(CurrentPlay().levelName, 1, TurnCount());
    boardSettled = false;
    return world.levelStatus == LevelStatus::Complete && ActionPressed("Action 1");
}
