#include "media/preview.h"

#include <SDL.h>

#include "world/draw_queue.h"
#include "world/pixels.h"

namespace {

constexpr int kPreviewWidth = 210;
constexpr int kPreviewHeight = 158;

// Frees a surface however the function is left.
struct SurfaceOwner {
    SDL_Surface* surface;
    ~SurfaceOwner() {
        if (surface)
            SDL_FreeSurface(surface);
    }
};

SDL_Surface* WhiteSurfaceLike(const SDL_PixelFormat* format, int w, int h) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, format->BitsPerPixel, format->Rmask, format->Gmask,
                                          format->Bmask, format->Amask);
    if (s)
        SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 255, 255, 255));
    return s;
}

}  // namespace

void SavePreview() {
    DrawQueue& queue = FrameDrawQueue();
    const SDL_Surface* screen = SDL_GetVideoSurface();
    if (screen == nullptr) {
        queue.Clear();
        return;
    }
    SurfaceOwner large{WhiteSurfaceLike(screen->format, screen->w, screen->h)};
    if (large.surface == nullptr) {
        queue.Clear();
        return;
    }
    queue.DrawAndClear(large.surface);
    // Reading 32-bit pixels is only right at 32 bits; the window is always opened at 32.
    SurfaceOwner small{WhiteSurfaceLike(screen->format, kPreviewWidth, kPreviewHeight)};
    if (small.surface == nullptr || large.surface->format->BytesPerPixel != 4)
        return;
    if (SDL_LockSurface(large.surface) == 0) {
        if (SDL_LockSurface(small.surface) == 0) {
            for (int y = 0; y < kPreviewHeight && 3 * y < large.surface->h; ++y)
                for (int x = 0; x < kPreviewWidth && 3 * x < large.surface->w; ++x)
                    PutPixel(small.surface, x, y, GetPixel(large.surface, 3 * x, 3 * y));
            SDL_UnlockSurface(small.surface);
        }
        SDL_UnlockSurface(large.surface);
    }
    SDL_SaveBMP(small.surface, "Preview.bmp");
}
