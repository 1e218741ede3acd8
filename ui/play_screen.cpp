#include "ui/play_screen.h"

#include "app/game_state.h"
#include "content/registry.h"
#include "play/play.h"
#include "widgets/file_chooser.h"
#include "ui/level_select.h"
#include "ui/play_display.h"
#include "widgets/widgets.h"
#include "world/world.h"

namespace {

bool InMainModule(const std::string& level) { return level.rfind("Main/", 0) == 0; }

void LeaveLevel(const PlaySession& play, bool completed) {
    if (CameFromEditor()) {
        SetState(GameState::LevelEditor);
        SetCameFromEditor(false);
    } else if (InMainModule(play.levelName)) {
        if (completed)
            SetSelectedLevel(SelectedLevel() + 1);
        SetState(GameState::LevelSelect);
    } else {
        SetState(GameState::CustomLevels);
    }
}

}  // namespace

void PlayScreenEnter(PlaySession& play) {
    play.StartLevel();
    PlayDisplayEntry(play);
}

bool PlayScreenUpdate(PlaySession& play) {
    PlayDisplayUpdate(play);
    PlayOutcome outcome = play.Update([] { return ChooseFileToSave("Replay Files", "*.rpl", ".rpl"); });
    RefreshTurnCounter(play);
    switch (outcome) {
    case PlayOutcome::Stay:
        break;
    case PlayOutcome::Abandoned:
        LeaveLevel(play, false);
        break;
    case PlayOutcome::ClosingFinished:
        SetState(GameState::Credits);
        break;
    case PlayOutcome::GlowingFinished:
        SetSelectedLevel(SelectedLevel() + 1);
        SetState(GameState::LevelSelect);
        break;
    }
    return true;
}

void PlayScreenSettle(PlaySession& play) {
    if (play.Settle())
        LeaveLevel(play, true);
}

void PlayScreenExit(PlaySession& play) {
    play.Exit();
    PlayDisplayExit();
    clearWidgets();
    // A test play returns to the editor's own copy of the level.
    if (CameFromEditor()) {
        play.world.SetGravity(90);
        Registry().BuildLevel(play.levelName, play.world);
    }
}
