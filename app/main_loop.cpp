#include "app/app.h"

#include "app/game_state.h"
#include "app/input.h"
#include "app/render.h"
#include "app/timer.h"
#include "audio/music.h"
#include "content/module_loader.h"
#include "dialog/dialogs.h"
#include "editor/editor.h"
#include "media/screenshot.h"
#include "media/slideshow.h"
#include "play/play.h"
#include "play/replay.h"
#include "ui/screens.h"
#include "ui/widgets.h"
#include "world/draw_queue.h"
#include "world/world.h"

namespace {
bool EscapePressed() { return KeyPressed(kEscapeKey); }

// The current screen's own step; false when the title menu ends the program.
bool RunStateStep() {
    PlayValues& play = GameValues();
    switch (CurrentState()) {
    case GameState::Intro:
        FrameDrawQueue().Add(0, 0, 0, false, LoadingPicture());
        if (SlideshowFinished())
            SetState(GameState::TitleMenu);
        break;
    case GameState::TitleMenu:
        TitleMenuUpdate();
        if (EscapePressed() || clickedButton() == 2)
            return false;
        break;
    case GameState::Credits:
        CreditsUpdate();
        if (EscapePressed())
            SetState(GameState::LevelSelect);
        break;
    case GameState::LevelEditor:
        play.playPaused = true;
        EditorUpdate();
        if (!CurrentEditor().asking) {
            if (clickedButton() == 7 && StartTestPlay()) {
                play.cameFromEditor = true;
                SetState(GameState::Play);
                break;
            }
            if (clickedButton() == 8)
                EditorRequestLeave(EditorLeave::Load);
            if (EscapePressed())
                EditorRequestLeave(EditorLeave::Settings);
        }
        switch (EditorTakeLeave()) {
        case EditorLeave::Load:
            play.cameFromEditor = true;
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
        break;
    case GameState::SettingsMenu:
        SettingsMenuUpdate();
        break;
    case GameState::Play:
        PlayUpdate();
        break;
    case GameState::LevelSelect:
        LevelSelectUpdate();
        if (EscapePressed()) {
            if (play.cameFromEditor) {
                SetState(GameState::LevelEditor);
                play.cameFromEditor = false;
            } else {
                SetState(GameState::TitleMenu);
            }
        }
        break;
    case GameState::CustomLevels:
        CustomLevelsUpdate();
        if (clickedButton() == 4) {
            std::string chosen = CustomLevelsChosenLevel();
            if (!chosen.empty()) {
                play.currentLevelName = chosen;
                if (!play.cameFromEditor) {
                    SetState(GameState::Play);
                } else {
                    BuildLevel(chosen);
                    StopMusic();
                    SetEditorHoldsLevel(true);
                    SetState(GameState::LevelEditor);
                    play.cameFromEditor = false;
                }
            }
        }
        if (EscapePressed()) {
            if (play.cameFromEditor) {
                SetState(GameState::LevelEditor);
                play.cameFromEditor = false;
            } else {
                SetState(GameState::LevelSelect);
            }
        }
        break;
    }
    return true;
}
}  // namespace

bool RunFrame() {
    PumpEvents();
    // In the editor, a closed window first asks about unsaved edits.
    if (EventOccurred(SDL_QUIT) && EditorAllowsQuit())
        return false;
    if (EventOccurred(SDL_KEYDOWN))
        StopReplayPlayback();
    if (ActionPressed("Mute Music"))
        ToggleMusicMute();
    if (ActionPressed("Load Replay") && LoadReplay())
        SetState(GameState::Play);
    if (SecretAEntered())
        AddDialog("Main/KC");
    if (SecretBEntered())
        AddDialog("Main/Secret 2");
    UpdateDialogs();
    ClearSecrets();
    UpdateSlideshow();
    World& world = TheWorld();
    if (!RunStateStep())
        return false;
    updateWidgets();
    FrameTick();
    world.frozen = GameValues().playPaused;
    world.Update(TimerStep());
    if (CurrentState() == GameState::Play)
        PlaySettle();
    RenderFrame();
    if (ActionReleased("Screenshot"))
        SaveScreenshot();
    return true;
}
