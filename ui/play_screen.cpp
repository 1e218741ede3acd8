#include "ui/play_screen.h"

#include "app/game_state.h"
#include "content/module_loader.h"
#include "play/play.h"
#include "widgets/file_chooser.h"
#include "ui/level_select.h"
#include "ui/play_display.h"
#include "widgets/widgets.h"
#include "world/world.h"

namespace {

bool InMainModule(const std::string& level) { return level.rfind("Main/", 0) == 0; }

void LeaveLevel(bool completed) {
    if (CameFromEditor()) {
        SetState(GameState::LevelEditor);
        SetCameFromEditor(false);
    } else if (InMainModule(CurrentPlay().levelName)) {
        if (completed)
            SetSelectedLevel(SelectedLevel() + 1);
        SetState(GameState::LevelSelect);
    } else {
        SetState(GameState::CustomLevels);
    }
}

}  // namespace

void PlayScreenEnter() {
    StartLevel();
    PlayDisplayEntry();
}

bool PlayScreenUpdate() {
    PlayDisplayUpdate();
    PlayOutcome outcome = PlayUpdate([] { return ChooseFileToSave("Replay Files", "*.rpl", ".rpl"); });
    RefreshTurnCounter();
    switch (outcome) {
    case PlayOutcome::Stay:
        break;
    case PlayOutcome::Abandoned:
        LeaveLevel(false);
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

void PlayScreenSettle() {
    if (PlaySettle())
        LeaveLevel(true);
}

void PlayScreenExit() {
    PlayExit();
    clearWidgets();
    // A test play returns to the editor's own copy of the level.
    if (CameFromEditor()) {
        TheWorld().SetGravity(90);
        BuildLevel(CurrentPlay().levelName);
    }
}
