#include "editor/link_lines.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/sdl_handles.h"
#include "world/draw_queue.h"
#include "world/entity.h"
#include "world/pixels.h"
#include "world/world.h"

namespace {

constexpr SDL_Color kLineInk{242, 172, 64, 0};   // amber on any ground
constexpr SDL_Color kLineEdge{24, 20, 34, 0};    // a dark rim keeps it apart from amber pieces
constexpr int kPad = 5;                          // room for the rim and the end dot

SurfaceHandle Transparent(int w, int h) {
    SurfaceHandle s(SDL_CreateRGBSurface(SDL_SWSURFACE | SDL_SRCALPHA, w, h, 32, 0x00ff0000, 0x0000ff00, 0x000000ff,
                                         0xff000000));
    if (s)
        SDL_FillRect(s.get(), nullptr, 0);
    return s;
}

void Dot(SDL_Surface* s, double cx, double cy, double radius, SDL_Color c, std::uint8_t alpha) {
    const std::uint32_t value = SDL_MapRGBA(s->format, c.r, c.g, c.b, alpha);
    const int r = static_cast<int>(std::ceil(radius));
    for (int y = static_cast<int>(cy) - r; y <= static_cast<int>(cy) + r; ++y)
        for (int x = static_cast<int>(cx) - r; x <= static_cast<int>(cx) + r; ++x)
            if (x >= 0 && y >= 0 && x < s->w && y < s->h && (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius)
                PutPixel(s, x, y, value);
}

// A dark-rimmed amber stroke, ending in a dot at the target.
Image LinePicture(int dx, int dy) {
    const int w = std::abs(dx) + 2 * kPad + 1, h = std::abs(dy) + 2 * kPad + 1;
    SurfaceHandle s = Transparent(w, h);
    if (!s)
        return Image();
    const double x0 = kPad + (dx < 0 ? -dx : 0), y0 = kPad + (dy < 0 ? -dy : 0);
    const int steps = std::max({std::abs(dx), std::abs(dy), 1});
    {
        PixelLock lock(s.get());
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i <= steps; ++i) {
                const double x = x0 + dx * static_cast<double>(i) / steps, y = y0 + dy * static_cast<double>(i) / steps;
                if (pass == 0)
                    Dot(s.get(), x, y, 2.5, kLineEdge, 190);
                else
                    Dot(s.get(), x, y, 1.2, kLineInk, 255);
            }
            if (pass == 0)
                Dot(s.get(), x0 + dx, y0 + dy, 4.5, kLineEdge, 220);
            else
                Dot(s.get(), x0 + dx, y0 + dy, 3.2, kLineInk, 255);
        }
    }
    return Image(s.get());
}

// A two-pixel amber outline with a dark rim, around a w by h picture.
Image FramePicture(int w, int h) {
    const int fw = w + 6, fh = h + 6;
    SurfaceHandle s = Transparent(fw, fh);
    if (!s)
        return Image();
    SDL_Rect outer{0, 0, static_cast<Uint16>(fw), static_cast<Uint16>(fh)};
    SDL_FillRect(s.get(), &outer, SDL_MapRGBA(s->format, kLineEdge.r, kLineEdge.g, kLineEdge.b, 200));
    SDL_Rect ink{1, 1, static_cast<Uint16>(fw - 2), static_cast<Uint16>(fh - 2)};
    SDL_FillRect(s.get(), &ink, SDL_MapRGBA(s->format, kLineInk.r, kLineInk.g, kLineInk.b, 255));
    SDL_Rect inner{3, 3, static_cast<Uint16>(w), static_cast<Uint16>(h)};
    SDL_FillRect(s.get(), &inner, SDL_MapRGBA(s->format, kLineInk.r, kLineInk.g, kLineInk.b, 40));
    return Image(s.get());
}

void PictureSize(const Entity& object, int& w, int& h) {
    w = object.image.frameWidth;
    h = object.image.frameHeight;
    if (object.image.angle == 90 || object.image.angle == 270)
        std::swap(w, h);
}

}  // namespace

void PictureCentre(const Entity& object, int& x, int& y) {
    int w = 0, h = 0;
    PictureSize(object, w, h);
    x = object.x + w / 2;
    y = object.y + h / 2;
}

std::vector<LinkLine> LinkLinesOf(const World& world, const Entity* ghost) {
    std::vector<LinkLine> out;
    for (int i = 0; i < world.Count(); ++i) {
        const Entity* source = world.Get(i);
        if (source == ghost || source->linkName.empty())
            continue;
        for (int j = 0; j < world.Count(); ++j) {
            const Entity* target = world.Get(j);
            if (target == ghost || target->linkTarget != source->linkName)
                continue;
            LinkLine line;
            PictureCentre(*source, line.x0, line.y0);
            PictureCentre(*target, line.x1, line.y1);
            out.push_back(line);
        }
    }
    return out;
}

void LinkOverlay::Queue(const std::vector<LinkLine>& wanted, const Entity* chosenSource) {
    std::map<std::tuple<int, int, int, int>, Image> kept;
    for (const LinkLine& l : wanted) {
        const int dx = l.x1 - l.x0, dy = l.y1 - l.y0;
        const auto key = std::make_tuple(dx, dy, 0, 0);
        auto found = lines.find(key);
        Image picture = found != lines.end() ? found->second : LinePicture(dx, dy);
        kept.emplace(key, picture);
        FrameDrawQueue().Add(std::min(l.x0, l.x1) - kPad, std::min(l.y0, l.y1) - kPad, kLinkDepth, true, picture);
    }
    lines.swap(kept);

    if (chosenSource) {
        int w = 0, h = 0;
        PictureSize(*chosenSource, w, h);
        auto key = std::make_pair(w, h);
        auto found = frames.find(key);
        if (found == frames.end())
            found = frames.emplace(key, FramePicture(w, h)).first;
        // Just behind the lines, so a line leaving the source stays whole.
        FrameDrawQueue().Add(chosenSource->x - 3, chosenSource->y - 3, kLinkDepth + 1, true, found->second);
    }
}

void LinkOverlay::QueueTranslucent(const Entity& ghost) {
    const Image& source = ghost.image;
    if (!source.HasSurface())
        return;
    if (ghostSource.surface.get() != source.surface.get()) {
        ghostSource = source;
        SDL_Surface* from = source.surface.get();
        SurfaceHandle copy(SDL_ConvertSurface(from, from->format, SDL_SWSURFACE | SDL_SRCALPHA));
        if (!copy)
            return;
        if (copy->format->Amask != 0) {
            PixelLock lock(copy.get());
            for (int y = 0; y < copy->h; ++y)
                for (int x = 0; x < copy->w; ++x) {
                    Uint8 r, g, b, a;
                    SDL_GetRGBA(GetPixel(copy.get(), x, y), copy->format, &r, &g, &b, &a);
                    PutPixel(copy.get(), x, y, SDL_MapRGBA(copy->format, r, g, b, static_cast<Uint8>(a * 9 / 20)));
                }
        } else {
            SDL_SetAlpha(copy.get(), SDL_SRCALPHA, 115);
        }
        ghostCopy = Image(copy.get());
    }
    // The ghost's own frame and turn, seen through.
    SDL_Surface* seeThrough = ghostCopy.surface.get();
    if (!seeThrough)
        return;
    Image shown = source;
    ++seeThrough->refcount;
    shown.surface.reset(seeThrough);
    shown.alpha = 255;
    FrameDrawQueue().Add(ghost.x, ghost.y, ghost.drawDepth, true, shown);
}

void LinkOverlay::Clear() {
    lines.clear();
    frames.clear();
    ghostSource = Image();
    ghostCopy = Image();
}
