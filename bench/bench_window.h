#pragma once
// The headless window every benchmark draws into: dummy drivers, 640x480x32, fixed step.
#include <SDL.h>

#include <cstdlib>

#include "world/render.h"
#include "app/timer.h"
#include "platform/video_mode.h"

// Opens the window once per process (or takes the one already open); false without video.
inline bool OpenBenchWindow() {
    static bool opened = [] {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        if (SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) < 0)
            return false;
        SDL_Surface* screen = SDL_GetVideoSurface();
        if (screen == nullptr)
            screen = platform::SetVideoMode(640, 480, 32, 0x10001);
        SetScreenSurface(screen);
        SetFixedTimerStep(1.0);
        return screen != nullptr;
    }();
    return opened;
}
