#include "world/image.h"

#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/timer.h"
#include "platform/game_error.h"
#include "world/pixels.h"

namespace {

std::string LoadFailure(const std::string& path) { return "File " + path + " could not be loaded!"; }

}  // namespace

Image::Image() { ResetState(); }

Image::Image(const std::string& path, int frameCount, int frameDelay, int frameWidth, int frameHeight) {
    ResetState();
    Load(path, frameCount, frameDelay, frameWidth, frameHeight);
}

Image::Image(SDL_Surface* source) {
    ResetState();
    if (source == nullptr)
        return;
    surface.reset(SDL_ConvertSurface(source, source->format, SDL_HWSURFACE));
    frameWidth = source->w;
    frameHeight = source->h;
    sourceRect.w = static_cast<Uint16>(source->w);
    sourceRect.h = static_cast<Uint16>(source->h);
}

Image::Image(const Image& other) {
    ResetState();
    *this = other;
}

Image& Image::operator=(const Image& other) {
    if (this == &other)
        return *this;
    SDL_Surface* shared = other.surface.get();
    if (shared)
        ++shared->refcount;
    ResetState();
    surface.reset(shared);
    frameWidth = other.frameWidth;
    frameHeight = other.frameHeight;
    sourceRect.w = other.sourceRect.w;
    sourceRect.h = other.sourceRect.h;
    frameDelay = other.frameDelay;
    frame = other.frame;
    framePosition = other.framePosition;
    frameCount = other.frameCount;
    angle = other.angle;
    loop = other.loop;
    alpha = other.alpha;
    reverse = other.reverse;
    name = other.name;
    return *this;
}

Image::~Image() = default;

void Image::ResetState() {
    surface.reset();
    loop = false;
    frameWidth = frameHeight = frameDelay = frame = 0;
    frameCount = 1;
    angle = 0;
    alpha = 255;
    sourceRect = SDL_Rect{0, 0, 65535, 65535};
    reverse = false;
    framePosition = 0.0;
    name.clear();
}

bool Image::Load(const std::string& path, int count, int delay, int width, int height) {
    surface.reset();
    if (!path.empty()) {
        if (count <= 1) {
            SurfaceHandle loaded(IMG_Load(path.c_str()));
            if (loaded == nullptr)
                throw platform::GameError(LoadFailure(path));
            SurfaceHandle converted(SDL_DisplayFormatAlpha(loaded.get()));
            loaded.reset();
            if (converted == nullptr)
                return false;
            surface = std::move(converted);
        } else {
            std::size_t dot = path.rfind('.');
            std::string stem = dot == std::string::npos ? path : path.substr(0, dot);
            std::string extension = dot == std::string::npos ? "" : path.substr(dot);
            auto frameFile = [&](int i) { return stem + std::to_string(i) + extension; };

            SurfaceHandle first(IMG_Load(frameFile(0).c_str()));
            if (first == nullptr)
                throw platform::GameError(LoadFailure(frameFile(0)));
            SurfaceHandle firstConverted(SDL_DisplayFormatAlpha(first.get()));
            first.reset();
            if (firstConverted == nullptr)
                return false;
            // Content picks width and count: a strip too wide for any surface just doesn't load.
            const long long stripWidth = std::max(1LL, static_cast<long long>(width) * count);
            if (stripWidth > std::numeric_limits<int>::max())
                return false;
            const SDL_PixelFormat* f = firstConverted->format;
            SurfaceHandle strip(SDL_CreateRGBSurface(SDL_SRCALPHA | SDL_HWSURFACE, static_cast<int>(stripWidth),
                                                     firstConverted->h, f->BitsPerPixel, f->Rmask, f->Gmask,
                                                     f->Bmask, f->Amask));
            firstConverted.reset();
            if (strip == nullptr)
                return false;
            for (int i = 0; i < count; ++i) {
                SurfaceHandle loaded(IMG_Load(frameFile(i).c_str()));
                if (loaded == nullptr)
                    throw platform::GameError(LoadFailure(frameFile(i)));
                SurfaceHandle converted(SDL_DisplayFormatAlpha(loaded.get()));
                loaded.reset();
                if (converted == nullptr)
                    return false;
                {
                    PixelLock lockStrip(strip.get());
                    PixelLock lockFrame(converted.get());
                    // A frame larger than its slot is cut to the slot, never written past it.
                    int copyW = std::min(converted->w, std::max(0, width));
                    int copyH = std::min(converted->h, strip->h);
                    for (int y = 0; y < copyH; ++y)
                        for (int x = 0; x < copyW; ++x)
                            PutPixel(strip.get(), i * width + x, y, GetPixel(converted.get(), x, y));
                }
            }
            surface = std::move(strip);
        }
    }
    frame = 0;
    framePosition = 0.0;
    frameDelay = delay;
    frameWidth = width;
    frameHeight = height;
    sourceRect.w = static_cast<Uint16>(width);
    sourceRect.h = static_cast<Uint16>(height);
    angle = 0;
    loop = true;
    frameCount = std::max(1, count);
    alpha = 255;
    return true;
}

void Image::Animate() { Animate(TimerStep()); }

void Image::Animate(double s) {
    if (frameDelay == 0)
        return;
    if (!reverse) {
        framePosition += s / frameDelay;
        if (framePosition >= frameCount)
            framePosition = loop ? 0.0 : frameCount - 1;
    } else {
        framePosition -= s / frameDelay;
        if (framePosition < 0)
            framePosition = loop ? frameCount - 1 : 0.0;
    }
    // A negative delay or a huge step could leave the position outside the strip.
    framePosition = std::clamp(framePosition, 0.0, static_cast<double>(frameCount - 1) + 0.999999);
    frame = static_cast<std::int32_t>(std::floor(framePosition));
}

void Image::SetAngle(int degrees) {
    int delta = SnapAngle(static_cast<int>((static_cast<long long>(degrees) - angle) % 360));
    angle = SnapAngle(angle + delta);
    if (delta == 0 || surface == nullptr)
        return;
    const int w = surface->w, h = surface->h;
    const SDL_PixelFormat* f = surface->format;
    const bool sideways = delta != 180;
    SurfaceHandle turned(SDL_CreateRGBSurface(SDL_HWSURFACE, sideways ? h : w, sideways ? w : h, f->BitsPerPixel,
                                              f->Rmask, f->Gmask, f->Bmask, f->Amask));
    if (turned == nullptr)
        return;
    {
        PixelLock lockSource(surface.get());
        PixelLock lockTarget(turned.get());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                std::uint32_t p = GetPixel(surface.get(), x, y);
                if (delta == 180)
                    PutPixel(turned.get(), w - 1 - x, h - 1 - y, p);
                else if (delta == 90)
                    PutPixel(turned.get(), y, w - 1 - x, p);
                else
                    PutPixel(turned.get(), h - 1 - y, x, p);
            }
    }
    surface = std::move(turned);
}

SDL_Rect Image::FrameRect() const {
    const int i = frame, n = frameCount, fw = frameWidth;
    SDL_Rect source{0, 0, sourceRect.w, sourceRect.h};
    switch (angle) {
    case 90:
        source = SDL_Rect{0, static_cast<Sint16>((n - 1 - i) * fw), sourceRect.h, sourceRect.w};
        break;
    case 180:
        source.x = static_cast<Sint16>((n - 1 - i) * fw);
        break;
    case 270:
        source = SDL_Rect{0, static_cast<Sint16>(i * fw), sourceRect.h, sourceRect.w};
        break;
    default:
        source.x = static_cast<Sint16>(i * fw);
        break;
    }
    return source;
}

bool Image::Blit(SDL_Surface* destination, int x, int y) {
    if (surface == nullptr)
        return false;
    if (alpha == 0)
        return true;
    SDL_Rect source = FrameRect();
    SDL_Rect at{static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    return SDL_UpperBlit(surface.get(), &source, destination, &at) != -1;
}

bool Image::OpaqueColumn(int column) const {
    int rows = std::min<int>(frameHeight, surface->h);
    for (int y = 0; y < rows; ++y)
        if (GetPixel(surface.get(), column, y) != 0)
            return true;
    return false;
}

bool Image::OpaqueRow(int row) const {
    int columns = std::min<int>(frameWidth, surface->w);
    for (int x = 0; x < columns; ++x)
        if (GetPixel(surface.get(), x, row) != 0)
            return true;
    return false;
}

int Image::OpaqueLeft() const {
    if (surface == nullptr)
        return 0;
    PixelLock lock(surface.get());
    int columns = std::min<int>(frameWidth, surface->w);
    for (int x = 0; x < columns; ++x)
        if (OpaqueColumn(x))
            return x;
    return 0;
}

int Image::OpaqueTop() const {
    if (surface == nullptr)
        return 0;
    PixelLock lock(surface.get());
    int rows = std::min<int>(frameHeight, surface->h);
    for (int y = 0; y < rows; ++y)
        if (OpaqueRow(y))
            return y;
    return 0;
}

int Image::OpaqueWidth() const {
    int right = frameWidth;
    if (surface != nullptr) {
        PixelLock lock(surface.get());
        for (int x = std::min<int>(frameWidth, surface->w) - 1; x >= 1; --x)
            if (OpaqueColumn(x)) {
                right = x + 1;
                break;
            }
    }
    return right - OpaqueLeft();
}

int Image::OpaqueHeight() const {
    int bottom = frameHeight;
    if (surface != nullptr) {
        PixelLock lock(surface.get());
        for (int y = std::min<int>(frameHeight, surface->h) - 1; y >= 1; --y)
            if (OpaqueRow(y)) {
                bottom = y + 1;
                break;
            }
    }
    return bottom - OpaqueTop();
}
