#include "game/app.h"

// Before the window system's headers, whose None would clash with the editor's.
#include "editor/editor.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_syswm.h>
#include <SDL_ttf.h>

#include <cstring>
#include <memory>

#include "world/render.h"
#include "app/timer.h"
#include "audio/cues.h"
#include "audio/music.h"
#include "content/module_loader.h"
#include "content/settings_file.h"
#include "dialog/dialogs.h"
#include "media/slideshow.h"
#include "platform/game_error.h"
#include "platform/replace_file.h"
#include "platform/resources.h"
#include "platform/sdl_handles.h"
#include "platform/window.h"
#include "play/save_data.h"
#include "widgets/notice_line.h"
#include "widgets/widgets.h"
#include "world/world.h"

namespace {
struct StartUpState {
    std::unique_ptr<Image> loadingPicture;
    SurfaceHandle smallIcon;
    SurfaceHandle largeIcon;
    std::string failure;
};

StartUpState& State() {
    static StartUpState state;
    return state;
}

SurfaceHandle LoadIcon(const char* name) {
    auto bytes = platform::FindResource(name, "ICON");
    if (!bytes)
        return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size()));
    return SurfaceHandle(rw ? IMG_Load_RW(rw, 1) : nullptr);
}

bool DummyVideo() {
    char driver[32] = {0};
    return SDL_VideoDriverName(driver, sizeof driver) != nullptr && std::strcmp(driver, "dummy") == 0;
}

bool Fail(const std::string& why) {
    State().failure = why + ": " + SDL_GetError();
    return false;
}
}  // namespace

const std::string& StartUpFailure() { return State().failure; }

const Image& LoadingPicture() {
    static const Image none;
    return State().loadingPicture ? *State().loadingPicture : none;
}

bool StartUp() {
    StartUpState& s = State();
    platform::PrepareWindowScaling();
    if (SDL_Init(0xFFFF) < 0 && SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO | SDL_INIT_TIMER) < 0)
        return Fail("Couldn't start SDL");
    SDL_WM_SetCaption("Quillmere", "Quillmere");
    s.smallIcon = LoadIcon("ICON_16x16");
    s.largeIcon = LoadIcon("ICON_32x32");

    // The dummy driver keeps no window-manager information, and a headless run must not fail on it.
    if (!DummyVideo()) {
        SDL_SysWMinfo info;
        info.version.major = 1;
        info.version.minor = 2;
        info.version.patch = 14;
        if (SDL_GetWMInfo(&info) != 1)
            throw platform::GameError("Wrong SDL version!");
    }
    // X11 takes one icon and scales it for the title bar and the task list.
    if (s.largeIcon)
        SDL_WM_SetIcon(s.largeIcon.get(), nullptr);
    SDL_ShowCursor(SDL_DISABLE);

    // The window opens at the size the player left it; the rest of the settings come later.
    platform::RemoveStaleTemporaryFiles("./Settings.ini");
    LoadWindowSettings();
    SDL_Surface* screen = platform::OpenGameWindow(0x10001);
    if (screen == nullptr)
        return Fail("Couldn't open the 640x480 window");
    SetScreenSurface(screen);

    s.loadingPicture = std::make_unique<Image>("GUI/Loading.png", 1, 0, 640, 480);
    s.loadingPicture->Blit(screen, 0, 0);
    SDL_Flip(screen);

    if (TTF_Init() < 0)
        return Fail("Couldn't start the font library");
    if (!OpenAudio())
        return Fail("Couldn't open the audio device");
    LoadCues();
    ResetFrameClock();

    InstallCursor(Image("GUI/Cursor.png", 1, 0, 14, 19));

    LoadAllModules();
    LoadSettings();
    LoadSaveData();
    CreateDialogBox();
    return true;
}

// Everything Shutdown frees but the saving: the screens' widgets, pictures and fonts too, so
// a fatal stop leaks nothing of ours.
namespace {
// Everything that holds pictures, sounds or the audio thread, in the order it must go.
void ReleaseEverything() {
    StartUpState& s = State();
    s.loadingPicture.reset();
    ReleaseEditorPanels();
    ClearNotices();
    DeleteAllTemplates();
    TheWorld().Clear();
    ReleaseCues();
    CloseAudio();
    clearWidgets();
    FreeRenderSurfaces();
    FreeDialogBox();
    ClearSlideQueue();
    TTF_Quit();
    SDL_Quit();
    // The icons outlive the window that showed them.
    s.smallIcon.reset();
    s.largeIcon.reset();
}
}  // namespace

void ReleaseAfterFatalError() { ReleaseEverything(); }

bool Shutdown() {
    SaveSaveData();
    SaveSettings();
    ReleaseEverything();
    return true;
}
