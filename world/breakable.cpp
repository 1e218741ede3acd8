#include "world/breakable.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "world/button_po.h"
#include "world/dir_changer.h"
#include "world/draw_queue.h"
#include "world/world.h"

namespace {
bool Still(const Entity& e) { return e.velX == 0.0 && e.velY == 0.0; }

// Quarter-turn a box inside a frame, as the normal box turns with the picture.
void TurnBox(int delta, std::int64_t frameW, std::int64_t frameH, std::int32_t& left, std::int32_t& top,
             std::uint16_t& w, std::uint16_t& h) {
    const std::int64_t l = left, t = top;
    if (delta == 90 || delta == 270)
        std::swap(w, h);
    if (delta == 90) {
        left = static_cast<std::int32_t>(t);
        top = static_cast<std::int32_t>(frameW - l - h);
    } else if (delta == 180) {
        left = static_cast<std::int32_t>(frameW - l - w);
        top = static_cast<std::int32_t>(frameH - t - h);
    } else if (delta == 270) {
        left = static_cast<std::int32_t>(frameH - t - w);
        top = static_cast<std::int32_t>(l);
    }
}
}  // namespace

BreakablePO::BreakablePO() { BreakablePO::Reset(); }

void BreakablePO::Reset() {
    PhysObj::Reset();
    breakFall = -1;
    weight = 0;
    breakWeight = -1;
    cushioning = 0;
    load = 0;
    pinOnBreak = false;
    fallDistance = 0.0;
    hasBreakImage = hasBreakSound = false;
    broken = false;
    redirected = false;
}

std::unique_ptr<Entity> BreakablePO::Clone() const { return std::unique_ptr<Entity>(new BreakablePO(*this)); }

void BreakablePO::AssignState(const Entity& other) { *this = static_cast<const BreakablePO&>(other); }

void BreakablePO::HashState(Hasher& h) const {
    PhysObj::HashState(h);
    h.Add(breakFall);
    h.Add(weight);
    h.Add(breakWeight);
    h.Add(cushioning);
    h.Add(breakBoundX);
    h.Add(breakBoundY);
    h.Add(breakWidth);
    h.Add(breakHeight);
    h.Add(load);
    h.Add(pinOnBreak);
    h.Add(fallDistance);
    h.Add(broken);
    h.Add(redirected);
}

void BreakablePO::RotateBounds(int delta) {
    PhysObj::RotateBounds(delta);
    std::int64_t w = image.frameWidth, h = image.frameHeight;
    if (rotation == 90 || rotation == 270)
        std::swap(w, h);
    TurnBox(delta, w, h, breakBoundX, breakBoundY, breakWidth, breakHeight);
}

std::int32_t BreakablePO::SnapAgainst(const PhysObj& other, double dx, double dy) {
    const std::int32_t moved = PhysObj::SnapAgainst(other, dx, dy);
    fallDistance += moved;
    return moved;
}

const std::vector<PhysObj*>& BreakablePO::CheckCollisions() {
    PhysObj::CheckCollisions();
    double gx = 0, gy = 0;
    if (const World* w = GetWorld())
        DirectionVector(w->gravityDirection, gx, gy);
    for (const PhysObj* o : collisions) {
        if (!o->IsDirChanger())
            continue;
        const auto& changer = static_cast<const DirChanger&>(*o);
        if (changer.relative) {
            redirected = true;
            break;
        }
        double vx = 0, vy = 0;
        switch (QuarterTurnsOf(changer.directionChange)) {
        case 0:
            vx = gx;
            break;
        case 90:
            vy = gy;
            break;
        case 180:
            vx = -gx;
            break;
        case 270:
            vy = -gy;
            break;
        default:
            break;
        }
        if (vx != dirX && vy != dirY) {
            redirected = true;
            break;
        }
    }
    return collisions;
}

bool BreakablePO::FallsFreely() const { return PhysObj::FallsFreely() && load == weight && !redirected; }

void BreakablePO::FallFreely(std::int32_t subSteps) {
    // From whole pixels, each sub-step moves the whole speed.
    for (std::int32_t i = 0; i < subSteps; ++i)
        fallDistance += std::abs(velX) + std::abs(velY);
    PhysObj::FallFreely(subSteps);
}

std::int32_t AddLoad(std::int32_t a, std::int32_t b) {
    const std::int64_t sum = std::int64_t{a} + b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, INT32_MIN, INT32_MAX));
}

bool PressesOn(const Entity& presser, const PhysObj& o) {
    return o.solid && (Still(o) || o.dirX != presser.dirX || o.dirY != presser.dirY || o.pinned);
}

void BreakablePO::Move() { BreakableMove(); }

void BreakablePO::BreakableMove() {
    const std::int64_t oldX = x, oldY = y;
    Entity::Move();
    fallDistance += static_cast<double>(std::abs(std::int64_t{x} - oldX) + std::abs(std::int64_t{y} - oldY));
    // Break() never removes anything, but index the list in case a list shrinks under us.
    for (std::size_t i = 0; i < collisions.size(); ++i) {
        PhysObj* o = collisions[i];
        if (!o->solid)
            continue;
        if (PressesOn(*this, *o) && o->IsBreakable()) {
            auto* b = static_cast<BreakablePO*>(o);
            if (b->breakWeight != -1 && b->breakWeight <= load && !b->broken && !redirected)
                b->Break();
        }
        if (Still(*o)) {
            const std::int32_t cushion = o->IsBreakable() ? static_cast<BreakablePO*>(o)->cushioning : 0;
            if (fallDistance - cushion < breakFall)
                fallDistance = 0.0;
            else if (!redirected)
                Break();
        }
    }
    redirected = false;
}

void BreakablePO::Break() {
    if (broken)
        return;
    if (hasBreakImage)
        SetImage(Image(breakImage), false);
    breakSound.Play();
    broken = true;
    if (missionCritical)
        if (World* w = GetWorld())
            w->levelStatus = LevelStatus::Failed;
    width = breakWidth;
    height = breakHeight;
    boundX = breakBoundX;
    boundY = breakBoundY;
    BoxChanged();
    if (pinOnBreak)
        pinned = true;
    moving = true;
}

Door::Door() { Door::Reset(); }

void Door::Reset() {
    BreakablePO::Reset();
    pinned = true;
    changeStateFrame = 0;
    depthOffset = 0;
    open = false;
    hasOpenSound = hasCloseSound = false;
    animating = false;
}

std::unique_ptr<Entity> Door::Clone() const { return std::unique_ptr<Entity>(new Door(*this)); }

void Door::AssignState(const Entity& other) { *this = static_cast<const Door&>(other); }

void Door::HashState(Hasher& h) const {
    BreakablePO::HashState(h);
    h.Add(changeStateFrame);
    h.Add(depthOffset);
    h.Add(open);
    h.Add(animating);
}

void Door::Move() {
    BreakableMove();
    World* w = GetWorld();
    bool pressed = false;
    if (w)
        for (const Entity* e : w->FindByLinkName(linkTarget))
            if (e->IsButton() && static_cast<const ButtonPO*>(e)->pressed)
                pressed = true;
    // A one-frame strip has nowhere to step to; keep the frame inside the strip.
    const std::int32_t lastFrame = std::max(0, image.frameCount - 1);
    if (pressed && !open) {
        open = true;
        image.reverse = false;
        image.frame = std::clamp(image.frame + 1, 0, lastFrame);
        image.framePosition = image.frame;
        if (hasOpenSound)
            openSound.Play();
        animating = true;
    } else if (!pressed && open) {
        bool blocked = false;
        if (w)
            for (const Entity* e : w->ObjectsOverlapping(*this))
                if (!e->pinned)
                    blocked = true;
        if (!blocked) {
            open = false;
            image.frame = std::clamp(image.frame - 1, 0, lastFrame);
            image.framePosition = image.frame;
            image.reverse = true;
            if (hasCloseSound)
                closeSound.Play();
            animating = true;
        }
    }
    if (open && solid && image.frame >= changeStateFrame) {
        solid = false;
        drawDepth += depthOffset;
    }
    if (!open && !solid && image.frame <= changeStateFrame) {
        solid = true;
        drawDepth -= depthOffset;
    }
    if (animating)
        moving = true;
}

void Door::Animate(double step) {
    if (!animating)
        return;
    image.Animate(step);
    if (image.frame == image.frameCount - 1 || image.frame == 0)
        animating = false;
}
