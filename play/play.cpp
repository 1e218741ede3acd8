#include "play/play.h"

#include "app/game_state.h"
#include "app/input.h"
#include "content/module_loader.h"
#include "content/registry.h"
#include "dialog/dialogs.h"
#include "media/slideshow.h"
#include "play/replay.h"
#include "play/save_data.h"
#include "play/turn_engine.h"
#include "play/turns.h"
#include "ui/level_select.h"
#include "ui/play_display.h"
#include "world/world.h"

namespace {

bool boardSettled = false;

const char* const kClosingLevel = "Main/Tarrow For Time";
const char* const kGlowingLevel = "Main/Botany \xE0 la Kool-aid Man";  // Latin-1, as registered

bool InMainModule(const std::string& level) { return level.rfind("Main/", 0) == 0; }

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
void SpecialLevelEndings() {
    PlayValues& play = GameValues();
    if (TheWorld().levelStatus != 3)
        return;
    bool closing = play.currentLevelName == kClosingLevel;
    bool glowing = play.currentLevelName == kGlowingLevel;
    if (!closing && !glowing)
        return;
    if (play.endingPending) {
        play.endingPending = false;
        if (closing)
            StartClosingCutscene();
        else
            StartGlowingCutscene();
    } else if (SlideshowFinished()) {
        if (closing) {
            SetState(GameState::Credits);
        } else {
            SetSelectedLevel(SelectedLevel() + 1);
            SetState(GameState::LevelSelect);
        }
    }
}

// Where a finished or abandoned level leads.
void LeaveLevel(bool completed) {
    PlayValues& play = GameValues();
    if (play.cameFromEditor) {
        SetState(GameState::LevelEditor);
        play.cameFromEditor = false;
    } else if (InMainModule(play.currentLevelName)) {
        if (completed)
            SetSelectedLevel(SelectedLevel() + 1);
        SetState(GameState::LevelSelect);
    } else {
        SetState(GameState::CustomLevels);
    }
}

}  // namespace

void PlayEntry() {
    boardSettled = false;
}

bool BoardSettled() { return boardSettled; }

void ApplyMove(const std::string& name) {
    World& world = TheWorld();
    if (!ApplyGravityMove(world, name))
        return;
    SetTurnCount(TurnCount() + 1);
    RefreshTurnCounter();
}

void RestartLevel() {
    PlayValues& play = GameValues();
    TheWorld().Clear();
    TheWorld().SetGravity(90);
    CloseBox();
    DeleteAllDialogs();
    play.playPaused = false;
    BuildLevel(play.currentLevelName);
    RefreshTurnCounter();
    Replays().recordedMoves.clear();
    boardSettled = false;
}

bool LevelPerfect() {
    if (TheWorld().levelStatus != 3)
        return false;
    const std::string& level = GameValues().currentLevelName;
    if (Registry().Find(level, "Level") == nullptr)
        return false;
    std::int32_t par = Registry().LevelTurnsPar(level);
    return par != 0 && TurnCount() <= par;
}

void PlayUpdate() {
    PlayValues& play = GameValues();
    PlayDisplayUpdate();
    if (ActionPressed("Restart"))
        RestartLevel();
    std::int32_t turnsBefore = TurnCount();
    if (!play.playPaused) {
        ReplayState& replay = Replays();
        if (!boardSettled)
            replay.playbackTimer.Reset();
        else if (!replay.replayPlaying)
            TakeHandMove();
        else
            StepPlayback(turnsBefore);
        if (ActionPressed("Save Replay"))
            SaveReplay();
        if (!replay.replayPlaying)
            SpecialLevelEndings();
    }
    if (CurrentState() == GameState::Play && KeyPressed(kEscapeKey))
        LeaveLevel(false);
}

void PlaySettle() {
    PlayValues& play = GameValues();
    if (play.playPaused)
        return;
    World& world = TheWorld();
    boardSettled = ::BoardSettled(world);
    if (world.levelStatus == 1)
        return;
    if (world.levelStatus == 3 && !Replays().replayUsed)
        RecordResult(play.currentLevelName, 1, TurnCount());
    boardSettled = false;
    if (world.levelStatus == 3 && ActionPressed("Action 1"))
        LeaveLevel(true);
}
