#pragma once
#include "world/entity.h"

// A tile that lines a solid object up on its grid place and sends it a new way: a fixed
// direction, or (relative) a turn from the way it was falling.
class DirChanger : public PhysObj {
public:
    DirChanger();
    const std::vector<PhysObj*>& CheckCollisions() override;
    void Move() override;
    void Reset() override;
    bool IsDirChanger() const override { return true; }
    std::unique_ptr<Entity> Clone() const override;
    void AssignState(const Entity& other) override;
    void HashState(Hasher& h) const override;
    // Also: with nothing on it, it has nothing to forget.
    bool FallsFreely() const override { return PhysObj::FallsFreely() && !used && !redirecting; }

    std::int32_t directionChange = 0;
    bool relative = true;
    bool used = false;

protected:
    DirChanger(const DirChanger&) = default;
    DirChanger& operator=(const DirChanger&) = default;

private:
    void Redirect(bool inMove);
    // The World's gravity change this changer last reset itself for.
    std::uint64_t seenGravityChange = 0;
    bool redirecting = false;
};

// Whole quarter turns of an angle, keeping its sign: 450 acts as 90, -90 stays -90.
std::int64_t QuarterTurnsOf(std::int64_t degrees);
