#pragma once
#include <SDL.h>

#include <cstdint>
#include <string>

#include "platform/sdl_handles.h"

// The one picture type: a single picture or a horizontal strip of animation frames,
// turned by quarter turns. Copies share the pixel surface through SDL's reference count.
class Image {
public:
    Image();
    Image(const std::string& path, int frameCount, int frameDelay, int frameWidth, int frameHeight);
    explicit Image(SDL_Surface* source);  // copies the pixels; the caller keeps `source`
    Image(const Image& other);
    Image& operator=(const Image& other);
    ~Image();

    // Throws "File <path> could not be loaded!" (as std::string) for a missing file.
    bool Load(const std::string& path, int frameCount, int frameDelay, int frameWidth, int frameHeight);
    // Advances the animation by `step` Timer steps; Animate() uses the frame's Timer step.
    void Animate(double step);
    void Animate();
    void SetAngle(int degrees);
    // The part of the surface that shows the current frame, as turned.
    SDL_Rect FrameRect() const;
    bool Blit(SDL_Surface* destination, int x, int y);
    int OpaqueLeft() const;
    int OpaqueTop() const;
    int OpaqueWidth() const;
    int OpaqueHeight() const;
    bool HasSurface() const { return surface != nullptr; }

    bool loop = false;
    bool reverse = false;
    std::int32_t frameWidth = 0;
    std::int32_t frameHeight = 0;
    std::int32_t frameDelay = 0;
    std::int32_t frame = 0;
    std::int32_t frameCount = 1;
    std::int32_t angle = 0;
    double framePosition = 0.0;
    SDL_Rect sourceRect{0, 0, 65535, 65535};
    std::int32_t alpha = 255;
    SurfaceHandle surface;
    // Last: animation never reads it, so it stays out of the way in memory.
    std::string name;

private:
    void ResetState();
    bool OpaqueColumn(int column) const;
    bool OpaqueRow(int row) const;
};
