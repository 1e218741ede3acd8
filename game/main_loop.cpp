#include "game/app.h"

#include "app/game_state.h"
#include "app/input.h"
#include "world/render.h"
#include "app/timer.h"
#include "audio/music.h"
#include "dialog/dialogs.h"
#include "editor/editor.h"
#include "media/screenshot.h"
#include "media/slideshow.h"
#include "game/screens.h"
#include "platform/window.h"
#include "play/play.h"
#include "play/story.h"
#include "ui/play_screen.h"
#include "widgets/file_chooser.h"
#include "widgets/notice_line.h"
#include "widgets/widgets.h"
#include "world/world.h"

bool RunFrame() {
    PumpEvents();
    PlaySession& play = ThePlaySession();
    // In the editor, a closed window first asks about unsaved edits; in play, about the
    // turns of an unfinished level.
    if (EventOccurred(SDL_QUIT) && EditorAllowsQuit() && PlayScreenAllowsQuit(play))
        return false;
    if (EventOccurred(SDL_KEYDOWN))
        play.replay.replayPlaying = false;
    // Full screen comes and goes on any screen; a changed window size is shown here too.
    // Keys typed into the editor's form are text, not actions.
    const bool typing = EditorTypingText();
    const bool altEnter = TakeAltEnter();
    if (altEnter || (ActionPressed("Fullscreen") && !typing))
        platform::SetFullscreenSetting(!platform::FullscreenSetting());
    if (platform::WindowNeedsUpdate())
        SetScreenSurface(platform::UpdateGameWindow());
    if (ActionPressed("Mute Music") && !typing)
        ToggleMusicMute();
    if (ActionPressed("Load Replay") && play.LoadReplay([] { return ChooseFileToOpen("Replay Files", "*.rpl", ".rpl"); }))
        SetState(GameState::Play);
    if (SecretAEntered())
        AddDialog("Main/KC");
    if (SecretBEntered())
        AddDialog("Main/Secret 2");
    UpdateStoryDialogs(play);
    ClearSecrets();
    UpdateStoryPictures();
    World& world = TheWorld();
    if (!UpdateCurrentScreen())
        return false;
    updateWidgets();
    ShowNotices(!SlideshowActive());
    FrameTick();
    world.frozen = PlayPaused();
    world.Update(TimerStep());
    SettleCurrentScreen();
    RenderFrame();
    if (ActionReleased("Screenshot"))
        SaveScreenshot();
    return true;
}
