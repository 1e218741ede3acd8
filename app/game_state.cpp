#include "app/game_state.h"

#include "app/input.h"
#include "audio/music.h"
#include "content/module_loader.h"
#include "dialog/dialogs.h"
#include "editor/editor.h"
#include "play/play.h"
#include "play/replay.h"
#include "play/save_data.h"
#include "ui/play_display.h"
#include "ui/screens.h"
#include "ui/widgets.h"
#include "world/world.h"

namespace {
GameState gameState = GameState::Intro;

void ExitState(GameState state) {
    PlayValues& play = GameValues();
    switch (state) {
    case GameState::TitleMenu:
        TitleMenuExit();
        break;
    case GameState::CustomLevels:
        CustomLevelsExit();
        break;
    case GameState::Credits:
        clearWidgets();
        break;
    case GameState::LevelEditor:
        EditorExit();
        if (!play.cameFromEditor)
            SetEditorHoldsLevel(false);
        break;
    case GameState::Play:
        TheWorld().Clear();
        play.cursorVisible = true;
        clearWidgets();
        SaveSaveData();
        TheWorld().levelStatus = 0;
        CloseBox();
        DeleteAllDialogs();
        ClearReplayUsed();
        if (play.cameFromEditor) {
            TheWorld().SetGravity(90);
            BuildLevel(play.currentLevelName);
        }
        break;
    case GameState::LevelSelect:
        LevelSelectExit();
        break;
    case GameState::SettingsMenu:
        SettingsMenuExit();
        break;
    case GameState::Intro:
        break;
    }
}

void EnterState(GameState state) {
    PlayValues& play = GameValues();
    switch (state) {
    case GameState::TitleMenu:
        TitleMenuEntry();
        break;
    case GameState::LevelEditor:
        StopMusic();
        EditorEntry();
        break;
    case GameState::Play:
        play.endingPending = true;
        StopMusic();
        play.playPaused = false;
        play.cursorVisible = false;
        BuildLevel(play.currentLevelName);
        TheWorld().SetGravity(90);
        ClearRecordedMoves();
        PlayEntry();
        PlayDisplayEntry();
        break;
    case GameState::LevelSelect:
        LevelSelectEntry();
        break;
    case GameState::SettingsMenu:
        SettingsMenuEntry();
        break;
    case GameState::CustomLevels:
        CustomLevelsEntry();
        break;
    case GameState::Credits:
        CreditsEntry();
        break;
    case GameState::Intro:
        break;
    }
}
}  // namespace

GameState CurrentState() { return gameState; }

void SetState(GameState next) {
    ConsumeEvents();
    ExitState(gameState);
    gameState = next;
    EnterState(next);
}

void ResetGameState() {
    gameState = GameState::Intro;
    GameValues() = PlayValues{};
    SetSelectedLevel(0);
    ResetCustomLevelsBrowser();
}

PlayValues& GameValues() {
    static PlayValues values;
    return values;
}
