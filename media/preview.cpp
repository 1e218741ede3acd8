#include "media/preview.h"

#include <SDL.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/notice.h"
#include "platform/replace_file.h"
#include "platform/sdl_handles.h"
#include "world/draw_queue.h"
#include "world/pixels.h"

namespace {

constexpr int kPreviewWidth = 210;
constexpr int kPreviewHeight = 158;

SurfaceHandle WhiteSurfaceLike(const SDL_PixelFormat* format, int w, int h) {
    SurfaceHandle s(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, format->BitsPerPixel, format->Rmask, format->Gmask,
                                         format->Bmask, format->Amask));
    if (s)
        SDL_FillRect(s.get(), nullptr, SDL_MapRGB(s->format, 255, 255, 255));
    return s;
}

}  // namespace

bool SavePreview(const std::string& path) {
    DrawQueue& queue = FrameDrawQueue();
    const SDL_Surface* screen = SDL_GetVideoSurface();
    if (screen == nullptr) {
        queue.Clear();
        return false;
    }
    SurfaceHandle large = WhiteSurfaceLike(screen->format, screen->w, screen->h);
    if (large == nullptr) {
        queue.Clear();
        return false;
    }
    queue.DrawAndClear(large.get());
    // Reading 32-bit pixels is only right at 32 bits; the window is always opened at 32.
    SurfaceHandle small = WhiteSurfaceLike(screen->format, kPreviewWidth, kPreviewHeight);
    if (small == nullptr || large->format->BytesPerPixel != 4)
        return false;
    if (SDL_LockSurface(large.get()) == 0) {
        if (SDL_LockSurface(small.get()) == 0) {
            for (int y = 0; y < kPreviewHeight && 3 * y < large->h; ++y)
                for (int x = 0; x < kPreviewWidth && 3 * x < large->w; ++x)
                    PutPixel(small.get(), x, y, GetPixel(large.get(), 3 * x, 3 * y));
            SDL_UnlockSurface(small.get());
        }
        SDL_UnlockSurface(large.get());
    }
    // Made in memory and written through the safe replace, so a kill mid-write never leaves
    // a torn picture for the level select to trip on.
    std::vector<char> bytes(static_cast<std::size_t>(1024 + 4 * kPreviewWidth * kPreviewHeight));
    SDL_RWops* rw = SDL_RWFromMem(bytes.data(), static_cast<int>(bytes.size()));
    if (rw == nullptr)
        return false;
    const bool made = SDL_SaveBMP_RW(small.get(), rw, 0) == 0;
    const long size = SDL_RWtell(rw);
    // Closing, not SDL_FreeRW: the runtime's wrapper around the memory goes with it.
    SDL_RWclose(rw);
    std::string why;
    if (!made || size <= 0 ||
        !platform::ReplaceFileContents(path, std::string_view(bytes.data(), static_cast<std::size_t>(size)), &why)) {
        platform::Notify("Couldn't save the level preview \"" + path + "\"" + (why.empty() ? std::string() : " (" + why + ")"));
        return false;
    }
    return true;
}
