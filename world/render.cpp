#include "world/render.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/timer.h"
#include "platform/sdl_handles.h"
#include "world/draw_queue.h"

namespace {
struct RenderState {
    SDL_Surface* screen = nullptr;
    SurfaceHandle fadeSurface;
    double fadeAlpha = 0.0;
    Uint8 fadeAlphaWhole = 0;
    double fadeRate = 0.0;
    // What the window shows: the requests of the last drawn frame (their copies keep the
    // surfaces alive, so no other picture can take a surface's place) and its fade.
    std::vector<DrawRequest> shown;
    Uint8 shownFade = 0;
    bool shownValid = false;
    std::uint32_t shownAt = 0;
};

// A full redraw at least this often, in case anything drew on the window behind our back.
constexpr std::uint32_t kRedrawEveryMs = 1000;
// A fade alone changes the picture by a shade a frame; half as many frames look as smooth
// and halve what a cutscene costs to present.
constexpr std::uint32_t kFadeOnlyEveryMs = 20;

// Whether the window may keep what it shows instead of this frame.
bool ShowsAlready(const RenderState& r, const std::vector<DrawRequest>& next) {
    const std::uint32_t since = CurrentTicks() - r.shownAt;
    if (!r.shownValid || r.shown.size() != next.size() || since >= kRedrawEveryMs)
        return false;
    for (std::size_t i = 0; i < next.size(); ++i)
        if (!next[i].SamePicture(r.shown[i]))
            return false;
    // A fade's last shade, black or clear, is always shown at once.
    const bool fadeBetween = r.fadeAlphaWhole > 0 && r.fadeAlphaWhole < 255;
    return r.shownFade == r.fadeAlphaWhole || (fadeBetween && since < kFadeOnlyEveryMs);
}

RenderState& Render() {
    static RenderState state;
    return state;
}
}  // namespace

SDL_Surface* ScreenSurface() { return Render().screen; }
void SetScreenSurface(SDL_Surface* screen) { Render().screen = screen; }
void SetFadeRate(double rate) { Render().fadeRate = rate; }
double FadeAlpha() { return Render().fadeAlpha; }
void SetFadeAlpha(double alpha) { Render().fadeAlpha = std::clamp(alpha, 0.0, 255.0); }

void ForgetPresentedFrame() {
    RenderState& r = Render();
    r.shownValid = false;
    r.shown.clear();
}

void RenderFrame() {
    RenderState& r = Render();
    if (r.screen == nullptr)
        return;
    r.fadeAlpha = std::clamp(r.fadeAlpha + TimerStep() * r.fadeRate, 0.0, 255.0);
    r.fadeAlphaWhole = static_cast<Uint8>(std::floor(r.fadeAlpha));
    DrawQueue& queue = FrameDrawQueue();
    if (ShowsAlready(r, queue.Requests())) {
        queue.Clear();
        return;
    }
    r.shown = queue.Requests();
    r.shownFade = r.fadeAlphaWhole;
    r.shownValid = true;
    r.shownAt = CurrentTicks();

    SDL_FillRect(r.screen, nullptr, SDL_MapRGB(r.screen->format, 255, 255, 255));
    queue.DrawAndClear(r.screen);

    if (r.fadeSurface == nullptr) {
        const SDL_PixelFormat* f = r.screen->format;
        r.fadeSurface.reset(
            SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask, 0));
        if (r.fadeSurface)
            SDL_FillRect(r.fadeSurface.get(), nullptr, SDL_MapRGB(r.fadeSurface->format, 0, 0, 0));
    }
    // An alpha of 0 draws nothing but costs a full-screen blend, so skip it.
    if (r.fadeSurface && r.fadeAlphaWhole > 0) {
        SDL_SetAlpha(r.fadeSurface.get(), SDL_SRCALPHA, r.fadeAlphaWhole);
        SDL_BlitSurface(r.fadeSurface.get(), nullptr, r.screen, nullptr);
    }
    SDL_Flip(r.screen);
}

void FreeRenderSurfaces() {
    RenderState& r = Render();
    r.fadeSurface.reset();
    r.screen = nullptr;
    r.shown.clear();
    r.shownValid = false;  // SDL owns the video surface and frees it on quit
}
