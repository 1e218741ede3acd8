#pragma once
#include <SDL.h>

#include <vector>

namespace platform {

// The game always draws 640x480. The runtime shows that surface in a window a whole number
// of times its size, sharp, or letterboxed over the whole desktop without changing the
// display mode; it also maps the mouse back onto the 640x480 picture. Under the dummy
// video driver the window is never scaled or made fullscreen, whatever the settings say.
constexpr int kDrawWidth = 640;
constexpr int kDrawHeight = 480;

// Before SDL starts: the runtime takes its scale method (sharp, not smoothed) only then.
void PrepareWindowScaling();

// The window sizes offered on a desktop of this size, as multiples of 640x480: 1 up to the
// largest that leaves room for panels and a title bar. Never empty.
std::vector<int> WindowScalesFor(int desktopWidth, int desktopHeight);

// The player's choice: 0 is the largest that fits the desktop. Kept as chosen (a desktop
// that has since shrunk gets the largest that fits, and the choice returns on a larger one).
int WindowScaleSetting();
void SetWindowScaleSetting(int scale);
bool FullscreenSetting();
void SetFullscreenSetting(bool fullscreen);

// The sizes this desktop offers, and the one a setting gives on it.
std::vector<int> OfferedWindowScales();
int WindowScaleFor(int setting);

// Opens the 640x480 window (SDL_SetVideoMode with these flags) at the chosen size, full
// screen when that is chosen. Null when SDL cannot open it.
SDL_Surface* OpenGameWindow(Uint32 flags);
// Whether the settings differ from what the window shows, and showing them: the window is
// opened again at the new size (the screen surface may change: the new one is returned).
bool WindowNeedsUpdate();
SDL_Surface* UpdateGameWindow();

}  // namespace platform
