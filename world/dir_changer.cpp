#include "world/dir_changer.h"

#include "world/breakable.h"
#include "world/world.h"

std::int64_t QuarterTurnsOf(std::int64_t degrees) { return 90 * ((degrees % 360) / 90); }

DirChanger::DirChanger() { DirChanger::Reset(); }

void DirChanger::Reset() {
    PhysObj::Reset();
    solid = false;
    directionChange = 0;
    relative = true;
    used = false;
}

std::unique_ptr<Entity> DirChanger::Clone() const { return std::unique_ptr<Entity>(new DirChanger(*this)); }

void DirChanger::AssignState(const Entity& other) { *this = static_cast<const DirChanger&>(other); }

void DirChanger::HashState(Hasher& h) const {
    PhysObj::HashState(h);
    h.Add(directionChange);
    h.Add(relative);
    h.Add(used);
    const World* w = GetWorld();
    h.Add(w != nullptr && seenGravityChange == w->gravityChangeCount);
}

const std::vector<PhysObj*>& DirChanger::CheckCollisions() {
    PhysObj::CheckCollisions();
    Redirect(false);
    return collisions;
}

void DirChanger::Move() {
    Entity::Move();
    Redirect(true);
}

void DirChanger::Redirect(bool inMove) {
    // Two solid changers on top of each other would hand an object back and forth forever.
    if (redirecting)
        return;
    World* w = GetWorld();
    // Once per turn: the flag stays up for the whole frame, and a second clearing would
    // turn a resting object twice.
    if (w && w->gravityChanged && seenGravityChange != w->gravityChangeCount) {
        seenGravityChange = w->gravityChangeCount;
        used = false;
    }
    if (collisions.empty()) {
        used = false;
        return;
    }
    if (used)
        return;
    redirecting = true;
    const std::int64_t anchorX = std::int64_t{x} - placementOffsetX, anchorY = std::int64_t{y} - placementOffsetY;
    // The objects' own look-aheads may rebuild lists; work from this sub-step's copy.
    const std::vector<PhysObj*> touching = collisions;
    for (PhysObj* o : touching) {
        if (!o->solid)
            continue;
        if (inMove && o->IsBreakable())
            static_cast<BreakablePO*>(o)->redirected = true;
        const std::int64_t ox = std::int64_t{o->x} - o->placementOffsetX, oy = std::int64_t{o->y} - o->placementOffsetY;
        const bool qualifies = (o->velX > 0 && anchorX <= ox) || (o->velX < 0 && ox <= anchorX) ||
                               (o->velY > 0 && anchorY <= oy) || (o->velY < 0 && oy <= anchorY) ||
                               (o->velX == 0 && o->velY == 0);
        if (!qualifies)
            continue;
        o->SetPosition(static_cast<std::int32_t>(anchorX + o->placementOffsetX),
                       static_cast<std::int32_t>(anchorY + o->placementOffsetY));
        std::int64_t d = directionChange;
        if (relative) {
            std::int64_t current = 0;
            if (o->dirX == 0 && o->dirY == 1)
                current = 90;
            else if (o->dirX == -1 && o->dirY == 0)
                current = 180;
            else if (o->dirX == 0 && o->dirY == -1)
                current = 270;
            d += current;
        }
        DirectionVector(QuarterTurnsOf(d), o->dirX, o->dirY);
        if (!inMove && o->IsBreakable())
            static_cast<BreakablePO*>(o)->redirected = true;
        o->velX = World::MOVE_SPEED * o->dirX;
        o->velY = World::MOVE_SPEED * o->dirY;
        o->CheckCollisions();
        used = true;
    }
    redirecting = false;
}
