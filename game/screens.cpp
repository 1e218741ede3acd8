#include "game/screens.h"

#include "app/game_state.h"
#include "app/input.h"
#include "app/timer.h"
#include "audio/music.h"
#include "content/module_loader.h"
#include "editor/editor.h"
#include "game/app.h"
#include "media/slideshow.h"
#include "play/play.h"
#include "ui/credits.h"
#include "ui/custom_levels.h"
#include "ui/level_select.h"
#include "ui/play_screen.h"
#include "ui/settings_menu.h"
#include "ui/title_menu.h"
#include "widgets/widgets.h"
#include "world/draw_queue.h"
#include "world/world.h"

namespace {

bool EscapePressed() { return KeyPressed(kEscapeKey); }

// Level select and custom levels go back where the player came from.
void BackFrom(GameState usual) {
    if (CameFromEditor()) {
        SetState(GameState::LevelEditor);
        SetCameFromEditor(false);
    } else {
        SetState(usual);
    }
}

bool IntroUpdate() {
    FrameDrawQueue().Add(0, 0, 0, false, LoadingPicture());
    if (SlideshowFinished())
        SetState(GameState::TitleMenu);
    return true;
}

bool CreditsScreenUpdate() {
    CreditsUpdate();
    if (EscapePressed() && CurrentState() == GameState::Credits)
        SetState(GameState::LevelSelect);
    return true;
}

bool EditorScreenUpdate() {
    SetPlayPaused(true);
    EditorUpdate();
    if (!CurrentEditor().asking && !CurrentEditor().panelOpen) {
        if (clickedButton() == 7 && StartTestPlay(ThePlaySession())) {
            SetCameFromEditor(true);
            SetState(GameState::Play);
            return true;
        }
        if (clickedButton() == 8)
            EditorRequestLeave(EditorLeave::Load);
        if (EscapePressed())
            EditorRequestLeave(EditorLeave::Settings);
    }
    switch (EditorTakeLeave()) {
    case EditorLeave::Load:
        SetCameFromEditor(true);
        SetState(GameState::CustomLevels);
        break;
    case EditorLeave::Settings:
        SetState(GameState::SettingsMenu);
        break;
    case EditorLeave::Quit:
        return false;
    case EditorLeave::None:
        break;
    }
    return true;
}

void EditorScreenExit() {
    EditorExit();
    if (!CameFromEditor())
        SetEditorHoldsLevel(false);
}

bool LevelSelectScreenUpdate() {
    LevelSelectUpdate(ThePlaySession());
    if (EscapePressed())
        BackFrom(GameState::TitleMenu);
    return true;
}

// GO plays the chosen level, or opens it in the editor that asked for one.
bool CustomLevelsScreenUpdate() {
    CustomLevelsUpdate();
    if (clickedButton() == 4) {
        std::string chosen = CustomLevelsChosenLevel();
        if (!chosen.empty()) {
            ThePlaySession().levelName = chosen;
            if (!CameFromEditor()) {
                SetState(GameState::Play);
            } else {
                BuildLevel(chosen);
                StopMusic();
                SetEditorHoldsLevel(true);
                SetState(GameState::LevelEditor);
                SetCameFromEditor(false);
            }
        }
    }
    if (EscapePressed())
        BackFrom(GameState::LevelSelect);
    return true;
}

}  // namespace

PlaySession& ThePlaySession() {
    static PlaySession play(TheWorld());
    return play;
}

void RegisterScreens() {
    PlaySession& play = ThePlaySession();
    RegisterScreen(GameState::Intro, {.update = IntroUpdate});
    RegisterScreen(GameState::TitleMenu, {.enter = TitleMenuEntry, .update = TitleMenuUpdate, .exit = TitleMenuExit});
    RegisterScreen(GameState::LevelSelect, {.enter = [&play] { LevelSelectEntry(play); },
                                            .update = LevelSelectScreenUpdate,
                                            .exit = LevelSelectExit,
                                            .reset = ResetLevelSelection});
    RegisterScreen(GameState::CustomLevels, {.enter = CustomLevelsEntry,
                                             .update = CustomLevelsScreenUpdate,
                                             .exit = CustomLevelsExit,
                                             .reset = ResetCustomLevelsBrowser});
    RegisterScreen(GameState::SettingsMenu,
                   {.enter = SettingsMenuEntry, .update = [] { SettingsMenuUpdate(); return true; }, .exit = SettingsMenuExit});
    RegisterScreen(GameState::Credits, {.enter = CreditsEntry, .update = CreditsScreenUpdate, .exit = clearWidgets});
    RegisterScreen(GameState::Play, {.enter = [&play] { PlayScreenEnter(play); },
                                     .update = [&play] { return PlayScreenUpdate(play); },
                                     .settle = [&play] { PlayScreenSettle(play); },
                                     .exit = [&play] { PlayScreenExit(play); },
                                     .reset = [&play] { play.Reset(); }});
    RegisterScreen(GameState::LevelEditor, {.enter =
                                                [&play] {
                                                    StopMusic();
                                                    EditorEntry(play);
                                                },
                                            .update = EditorScreenUpdate,
                                            .exit = EditorScreenExit});
}
