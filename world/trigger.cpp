#include "world/trigger.h"

#include "world/breakable.h"
#include "world/draw_queue.h"
#include "world/world.h"

Trigger::Trigger() { Trigger::Reset(); }

void Trigger::Reset() {
    PhysObj::Reset();
    active = false;
    stillOnly = false;
}

std::unique_ptr<Entity> Trigger::Clone() const { return std::unique_ptr<Entity>(new Trigger(*this)); }

void Trigger::AssignState(const Entity& other) { *this = static_cast<const Trigger&>(other); }

void Trigger::HashState(Hasher& h) const {
    PhysObj::HashState(h);
    h.Add(active);
    h.Add(stillOnly);
}

void Trigger::Move() {
    active = false;
    std::vector<Entity*> targets;
    if (World* w = GetWorld(); w && !linkTarget.empty())
        targets = w->FindByLinkName(linkTarget);
    for (PhysObj* o : collisions) {
        if (!o->IsPhysical())
            continue;
        bool qualifies = false;
        if (!targets.empty()) {
            for (Entity* t : targets)
                if (t->id == o->id)
                    qualifies = true;
        } else {
            qualifies = o->missionCritical;
        }
        // The last qualifying object decides.
        if (qualifies)
            active = !(stillOnly && o->moving);
    }
}

void Trigger::Draw() {
    World* w = GetWorld();
    if (w != nullptr && w->showTriggers && w->queueDrawing)
        FrameDrawQueue().Add(x, y, drawDepth, true, image);
}

Exit::Exit() { Exit::Reset(); }

void Exit::Reset() {
    PhysObj::Reset();
    solid = false;
    teleportFrame = 0;
    teleporting = false;
    hasActiveImage = hasIdleImage = hasTeleportSound = false;
}

std::unique_ptr<Entity> Exit::Clone() const { return std::unique_ptr<Entity>(new Exit(*this)); }

void Exit::AssignState(const Entity& other) { *this = static_cast<const Exit&>(other); }

void Exit::HashState(Hasher& h) const {
    PhysObj::HashState(h);
    h.Add(teleportFrame);
    h.Add(teleporting);
}

void Exit::Move() {
    Entity::Move();
    PhysObj* taken = nullptr;
    for (PhysObj* o : collisions) {
        const bool broken = o->IsBreakable() && static_cast<BreakablePO*>(o)->broken;
        if (!o->moving && o->missionCritical && !broken) {
            taken = o;
            break;
        }
    }
    if (taken) {
        if (!teleporting) {
            teleporting = true;
            SetImage(Image(activeImage), false);
            teleportSound.Play();
        } else if (image.frame >= teleportFrame) {
            World* w = GetWorld();
            if (w) {
                w->Destroy(*taken);
                w->levelStatus = LevelStatus::Complete;
            }
        }
    }
    if (teleporting && image.frame >= image.frameCount - 1) {
        SetImage(Image(idleImage), false);
        teleporting = false;
    }
}
