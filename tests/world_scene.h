#pragma once
// Small scenes built in code: sprites from plain SDL surfaces, objects placed by hand.
#include <SDL.h>

#include <memory>

#include "app/timer.h"
#include "world/entity.h"
#include "world/world.h"

namespace scene {

// A w x h picture (or strip of `frames` frames) whose opaque part is `box` (whole frame by default).
inline Image Sprite(int w, int h, int frames = 1, int frameDelay = 0, SDL_Rect box = {0, 0, 0, 0}) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w * frames, h, 32, 0x00ff0000, 0x0000ff00, 0x000000ff,
                                          0xff000000);
    if (box.w == 0 && box.h == 0)
        box = {0, 0, static_cast<Uint16>(w), static_cast<Uint16>(h)};
    for (int f = 0; f < frames; ++f) {
        SDL_Rect r{static_cast<Sint16>(f * w + box.x), box.y, box.w, box.h};
        SDL_FillRect(s, &r, SDL_MapRGBA(s->format, 180, 120, 60, 255));
    }
    Image image(s);
    SDL_FreeSurface(s);
    image.frameWidth = w;
    image.sourceRect.w = static_cast<Uint16>(w);
    image.frameCount = frames;
    image.frameDelay = frameDelay;
    return image;
}

struct Placement {
    int x = 0, y = 0, w = 16, h = 16;
    bool solid = true;
    bool pinned = false;
    bool missionCritical = false;
};

// Builds an object the way content does (image, flags, position) and adds it.
template <class T = PhysObj>
T* Put(World& world, const Placement& s) {
    auto o = std::make_unique<T>();
    o->pinned = s.pinned;
    o->SetImage(Sprite(s.w, s.h), true);
    if constexpr (std::is_base_of_v<PhysObj, T>) {
        o->solid = s.solid;
        o->missionCritical = s.missionCritical;
    }
    o->SetPosition(s.x, s.y);
    return world.Add(std::move(o));
}

inline PhysObj* Wall(World& world, int x, int y, int w, int h) { return Put(world, {x, y, w, h, true, true}); }

inline void Aim(Entity& e, double dx, double dy) {
    e.dirX = dx;
    e.dirY = dy;
}

// One displayed frame as the main loop runs it, at the nominal step.
inline void Frame(World& world) {
    world.Update(1.0);
    world.ClearGravityChanged();
}

// The player's turn: gravity changes for one frame.
inline void Turn(World& world, int direction) {
    world.SetGravity(direction);
    Frame(world);
}

inline int RunUntilRest(World& world, int maxFrames = 400) {
    for (int i = 0; i < maxFrames; ++i) {
        Frame(world);
        if (world.AtRest())
            return i + 1;
    }
    return -1;
}

// Every scene runs headless at the nominal step in a World of its own.
class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetFixedTimerStep(1.0);
        world.queueDrawing = false;
    }
    void TearDown() override { SetFixedTimerStep(0); }
    World world;
};

}  // namespace scene
