#include "platform/window.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/video_mode.h"

namespace platform {

namespace {
// Room left round the window for panels, docks and the title bar.
constexpr int kDesktopMarginWidth = 64;
constexpr int kDesktopMarginHeight = 96;

struct WindowState {
    int scaleSetting = 0;
    bool fullscreenSetting = false;
    int desktopWidth = kDrawWidth;
    int desktopHeight = kDrawHeight;
    Uint32 flags = 0;
    // What the window shows now; scale 0 while no window is open.
    int shownScale = 0;
    bool shownFullscreen = false;
    bool scalable = false;
};

WindowState& State() {
    static WindowState state;
    return state;
}

bool DummyVideo() {
    char driver[32] = {0};
    return SDL_VideoDriverName(driver, sizeof driver) != nullptr && std::strcmp(driver, "dummy") == 0;
}

SDL_Surface* SetMode(WindowState& s, int scale) {
    // The runtime reads the window's scale from the environment when the mode is set.
    const std::string factor = std::to_string(scale);
    setenv("SDL12COMPAT_WINDOW_SCALING", factor.c_str(), 1);
    SDL_Surface* screen = SetVideoMode(kDrawWidth, kDrawHeight, 32, s.flags);
    if (screen == nullptr)
        return nullptr;
    s.shownScale = scale;
    s.shownFullscreen = false;
    // Without full screen on this desktop the window stays, and so does the choice.
    if (s.fullscreenSetting && SDL_WM_ToggleFullScreen(screen) == 1)
        s.shownFullscreen = true;
    else
        s.fullscreenSetting = false;
    return SDL_GetVideoSurface() ? SDL_GetVideoSurface() : screen;
}
}  // namespace

void PrepareWindowScaling() { setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 1); }

std::vector<int> WindowScalesFor(int desktopWidth, int desktopHeight) {
    const int across = (desktopWidth - kDesktopMarginWidth) / kDrawWidth;
    const int down = (desktopHeight - kDesktopMarginHeight) / kDrawHeight;
    std::vector<int> scales;
    for (int scale = 1; scale == 1 || (scale <= across && scale <= down); ++scale)
        scales.push_back(scale);
    return scales;
}

int WindowScaleSetting() { return State().scaleSetting; }
void SetWindowScaleSetting(int scale) { State().scaleSetting = std::max(scale, 0); }
bool FullscreenSetting() { return State().fullscreenSetting; }
void SetFullscreenSetting(bool fullscreen) { State().fullscreenSetting = fullscreen; }

std::vector<int> OfferedWindowScales() {
    const WindowState& s = State();
    return WindowScalesFor(s.desktopWidth, s.desktopHeight);
}

int WindowScaleFor(int setting) {
    const int largest = OfferedWindowScales().back();
    return setting <= 0 ? largest : std::min(setting, largest);
}

SDL_Surface* OpenGameWindow(Uint32 flags) {
    WindowState& s = State();
    s.flags = flags;
    s.scalable = !DummyVideo();
    if (!s.scalable) {
        s.shownScale = 1;
        return SetVideoMode(kDrawWidth, kDrawHeight, 32, flags);
    }
    // Before the first mode is set, the current mode is the desktop's.
    if (const SDL_VideoInfo* info = SDL_GetVideoInfo(); info && info->current_w > 0 && info->current_h > 0) {
        s.desktopWidth = info->current_w;
        s.desktopHeight = info->current_h;
    }
    return SetMode(s, WindowScaleFor(s.scaleSetting));
}

bool WindowNeedsUpdate() {
    const WindowState& s = State();
    if (!s.scalable || s.shownScale == 0)
        return false;
    return s.shownFullscreen != s.fullscreenSetting || s.shownScale != WindowScaleFor(s.scaleSetting);
}

SDL_Surface* UpdateGameWindow() {
    WindowState& s = State();
    SDL_Surface* screen = SDL_GetVideoSurface();
    if (!WindowNeedsUpdate() || screen == nullptr)
        return screen;
    if (s.shownScale == WindowScaleFor(s.scaleSetting)) {
        // Only full screen changes: the runtime switches without setting the mode again.
        if (SDL_WM_ToggleFullScreen(screen) == 1)
            s.shownFullscreen = !s.shownFullscreen;
        else
            s.fullscreenSetting = s.shownFullscreen;
        return SDL_GetVideoSurface();
    }
    if (s.shownFullscreen)
        SDL_WM_ToggleFullScreen(screen);
    SDL_Surface* reopened = SetMode(s, WindowScaleFor(s.scaleSetting));
    if (reopened == nullptr) {
        // Not tried again every frame: the choice goes back to the size shown.
        s.scaleSetting = s.shownScale;
        return SDL_GetVideoSurface();
    }
    return reopened;
}

}  // namespace platform
