#include "world/pixels.h"

#include <cstring>

std::uint32_t GetPixel(const SDL_Surface* surface, int x, int y) {
    const auto* row = static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch;
    std::uint32_t value;
    std::memcpy(&value, row + x * surface->format->BytesPerPixel, sizeof value);
    return value;
}

void PutPixel(SDL_Surface* surface, int x, int y, std::uint32_t value) {
    auto* row = static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch;
    std::memcpy(row + x * surface->format->BytesPerPixel, &value, sizeof value);
}

bool SurfaceNeedsLock(const SDL_Surface* surface) {
    return surface->offset != 0 || (surface->flags & 0x4005) != 0;
}

int SnapAngle(int angle) {
    // Widen so that adding 360 to the most negative int can't overflow.
    long long a = angle;
    if (a < 0)
        a += ((-a + 359) / 360) * 360;
    return static_cast<int>(((a % 360) / 90) * 90);
}

int AngleDifference(int a, int b) {
    long long d = (static_cast<long long>(a) - b) % 360;
    return SnapAngle(static_cast<int>(d < 0 ? d + 360 : d));
}
