#pragma once
// Frames the real program wrote with `shot`, read back for comparison.
#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace test {

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Shot = std::unique_ptr<SDL_Surface, SurfaceFree>;

inline Shot LoadShot(const std::filesystem::path& path) {
    SDL_Surface* loaded = SDL_LoadBMP(path.string().c_str());
    if (!loaded)
        return nullptr;
    // One known layout for reading pixels.
    SDL_Surface* rgb = SDL_CreateRGBSurface(SDL_SWSURFACE, loaded->w, loaded->h, 32, 0xff0000, 0xff00, 0xff, 0);
    SDL_BlitSurface(loaded, nullptr, rgb, nullptr);
    SDL_FreeSurface(loaded);
    return Shot(rgb);
}

// The share of pixels of the rectangle that differ clearly between two frames; the faint
// moving scanlines stay below the threshold, text and pictures do not.
inline double Difference(const Shot& a, const Shot& b, SDL_Rect r) {
    int differing = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) {
            auto pixel = [&](const Shot& s) { return static_cast<const std::uint32_t*>(s->pixels)[y * s->pitch / 4 + x]; };
            std::uint32_t p = pixel(a), q = pixel(b);
            for (int shift : {0, 8, 16})
                if (std::abs(static_cast<int>((p >> shift) & 0xff) - static_cast<int>((q >> shift) & 0xff)) > 48) {
                    ++differing;
                    break;
                }
        }
    return static_cast<double>(differing) / (r.w * r.h);
}

}  // namespace test
