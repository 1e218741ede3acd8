#include "ui/play_screen.h"

#include "app/game_state.h"
#include "app/input.h"
#include "widgets/question.h"
#include "content/registry.h"
#include "play/play.h"
#include "widgets/file_chooser.h"
#include "ui/level_select.h"
#include "ui/play_display.h"
#include "widgets/widgets.h"
#include "world/world.h"

namespace {

Question quitQuestion;
enum { kQuitYes = 0, kQuitNo = 1 };

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
    if (quitQuestion.IsOpen()) {
        // The board goes on settling; no key reaches the level while the question stands.
        const int answer = quitQuestion.Answer();
        if (answer == kQuitYes)
            return false;
        if (answer == kQuitNo) {
            quitQuestion.Close();
            SetCursorShown(false);
        }
        return true;
    }
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
    quitQuestion.Forget();
    play.Exit();
    PlayDisplayExit();
    clearWidgets();
    // A test play returns to the editor's own copy of the level.
    if (CameFromEditor()) {
        play.world.SetGravity(90);
        Registry().BuildLevel(play.levelName, play.world);
    }
}

bool PlayScreenAllowsQuit(const PlaySession& play) {
    if (CurrentState() != GameState::Play || quitQuestion.IsOpen())
        return true;
    if (play.turns == 0 || play.world.levelStatus != LevelStatus::Playing)
        return true;
    quitQuestion.OpenGuarded("Quit? This level's turns are lost.", {"QUIT", "STAY"}, kQuitNo);
    SetCursorShown(true);
    return false;
}

std::string PlayScreenQuestion() { return quitQuestion.IsOpen() ? quitQuestion.Text() : std::string(); }
