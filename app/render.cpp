#include "app/render.h"

#include <algorithm>
#include <cmath>

#include "app/timer.h"
#include "world/draw_queue.h"

namespace {
struct RenderState {
    SDL_Surface* screen = nullptr;
    SDL_Surface* fadeSurface = nullptr;
    double fadeAlpha = 0.0;
    Uint8 fadeAlphaWhole = 0;
    double fadeRate = 0.0;
};

RenderState& Render() {
    static RenderState state;
    return state;
}
}  // namespace

SDL_Surface* ScreenSurface() { return Render().screen; }
void SetScreenSurface(SDL_Surface* screen) { Render().screen = screen; }
void SetFadeRate(double rate) { Render().fadeRate = rate; }
double FadeRate() { return Render().fadeRate; }
double FadeAlpha() { return Render().fadeAlpha; }
void SetFadeAlpha(double alpha) { Render().fadeAlpha = std::clamp(alpha, 0.0, 255.0); }

void RenderFrame() {
    RenderState& r = Render();
    if (r.screen == nullptr)
        return;
    SDL_FillRect(r.screen, nullptr, SDL_MapRGB(r.screen->format, 255, 255, 255));
    FrameDrawQueue().DrawAndClear(r.screen);

    if (r.fadeSurface == nullptr) {
        const SDL_PixelFormat* f = r.screen->format;
        r.fadeSurface = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask, 0);
        if (r.fadeSurface)
            SDL_FillRect(r.fadeSurface, nullptr, SDL_MapRGB(r.fadeSurface->format, 0, 0, 0));
    }
    r.fadeAlpha = std::clamp(r.fadeAlpha + TimerStep() * r.fadeRate, 0.0, 255.0);
    r.fadeAlphaWhole = static_cast<Uint8>(std::floor(r.fadeAlpha));
    // An alpha of 0 draws nothing but costs a full-screen blend, so skip it.
    if (r.fadeSurface && r.fadeAlphaWhole > 0) {
        SDL_SetAlpha(r.fadeSurface, SDL_SRCALPHA, r.fadeAlphaWhole);
        SDL_BlitSurface(r.fadeSurface, nullptr, r.screen, nullptr);
    }
    SDL_Flip(r.screen);
}

void FreeRenderSurfaces() {
    RenderState& r = Render();
    if (r.fadeSurface)
        SDL_FreeSurface(r.fadeSurface);
    r.fadeSurface = nullptr;
    r.screen = nullptr;  // SDL owns the video surface and frees it on quit
}
