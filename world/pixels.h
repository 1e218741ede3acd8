#pragma once
#include <SDL.h>

#include <cstdint>

// 32-bit pixel access; callers lock the surface when it needs locking.
std::uint32_t GetPixel(const SDL_Surface* surface, int x, int y);
void PutPixel(SDL_Surface* surface, int x, int y, std::uint32_t value);

// Whether the surface must be locked before its pixels are touched.
bool SurfaceNeedsLock(const SDL_Surface* surface);

// Locks a surface for direct pixel access only when SDL needs it.
class PixelLock {
public:
    explicit PixelLock(SDL_Surface* s) : surface(s), locked(s && SurfaceNeedsLock(s) && SDL_LockSurface(s) == 0) {}
    ~PixelLock() {
        if (locked)
            SDL_UnlockSurface(surface);
    }
    PixelLock(const PixelLock&) = delete;
    PixelLock& operator=(const PixelLock&) = delete;

private:
    SDL_Surface* surface;
    bool locked;
};

// Any angle to 0, 90, 180 or 270, rounding down within the quarter.
int SnapAngle(int angle);
int AngleDifference(int a, int b);

constexpr double kPi = 3.141592653589793;
