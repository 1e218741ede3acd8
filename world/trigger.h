#pragma once
#include "audio/sound.h"
#include "world/entity.h"

// An area, invisible in play, that is active while a chosen object (or, with no link
// target, any mission-critical object) touches it.
class Trigger : public PhysObj {
public:
    Trigger();
    void Move() override;
    void Draw() override;
    void Reset() override;
    std::unique_ptr<Entity> Clone() const override;
    void AssignState(const Entity& other) override;
    void HashState(Hasher& h) const override;
    // A trigger never moves itself, however it is aimed.
    bool FallsFreely() const override { return false; }

    bool active = false;
    bool stillOnly = false;

protected:
    Trigger(const Trigger&) = default;
    Trigger& operator=(const Trigger&) = default;
};

// The goal: takes a resting mission-critical object once its teleport animation gets far enough.
class Exit : public PhysObj {
public:
    Exit();
    void Move() override;
    void Reset() override;
    bool IsExit() const override { return true; }
    std::unique_ptr<Entity> Clone() const override;
    void AssignState(const Entity& other) override;
    void HashState(Hasher& h) const override;
    bool FallsFreely() const override { return PhysObj::FallsFreely() && !teleporting; }

    Image activeImage;
    Image idleImage;
    Sound teleportSound;
    std::int32_t teleportFrame = 0;
    bool teleporting = false;
    bool hasActiveImage = false;
    bool hasIdleImage = false;
    bool hasTeleportSound = false;

protected:
    Exit(const Exit&) = default;
    Exit& operator=(const Exit&) = default;
};
