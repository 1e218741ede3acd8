#pragma once
#include "audio/sound.h"
#include "world/entity.h"

// A physical object that breaks on a hard landing or under the load pressing on it.
// The World gathers every load of a sub-step before anything moves, so the whole weight of
// a stack reaches its foot at once, whichever way the stack lies.
class BreakablePO : public PhysObj {
public:
    BreakablePO();
    void RotateBounds(int quarterTurns) override;
    void Move() override;
    const std::vector<PhysObj*>& CheckCollisions() override;
    std::int32_t SnapAgainst(const PhysObj& other, double dx, double dy) override;
    void Reset() override;
    bool IsBreakable() const override { return true; }
    std::unique_ptr<Entity> Clone() const override;
    void AssignState(const Entity& other) override;
    void HashState(Hasher& h) const override;
    // Also: carrying its own weight alone, and no changer at work on it.
    bool FallsFreely() const override;
    // Also counts the fall.
    void FallFreely(std::int32_t subSteps) override;

    // Swaps in the broken picture and box; never twice.
    void Break();

    std::int32_t breakFall = -1;
    std::int32_t weight = 0;
    std::int32_t breakWeight = -1;
    std::int32_t cushioning = 0;
    std::int32_t breakBoundX = 0, breakBoundY = 0;
    // Own weight plus the weight of everything leaning on this object in this sub-step,
    // directly or through others.
    std::int32_t load = 0;
    bool pinOnBreak = false;
    double fallDistance = 0.0;
    std::uint16_t breakWidth = 0, breakHeight = 0;
    Image breakImage;
    Sound breakSound;
    bool hasBreakImage = false;
    bool hasBreakSound = false;
    bool broken = false;
    bool redirected = false;

protected:
    BreakablePO(const BreakablePO&) = default;
    BreakablePO& operator=(const BreakablePO&) = default;
    // The breakable part of a move, shared with doors.
    void BreakableMove();
};

// Content may give any weights: a sum stops at the ends of the range instead of wrapping.
std::int32_t AddLoad(std::int32_t a, std::int32_t b);

// `presser` leans on `o`, a solid object it runs into, rather than travelling along with it:
// `o` stands still, goes another way or is pinned.
bool PressesOn(const Entity& presser, const PhysObj& o);

// A pinned breakable that linked buttons open: passable from `changeStateFrame` on while
// opening, solid again at the same frame while closing.
class Door : public BreakablePO {
public:
    Door();
    void Move() override;
    void Animate(double step) override;
    void Reset() override;
    std::unique_ptr<Entity> Clone() const override;
    void AssignState(const Entity& other) override;
    void HashState(Hasher& h) const override;
    // A door looks for its buttons every sub-step: left to the sub-steps.
    bool FallsFreely() const override { return false; }

    Sound openSound;
    Sound closeSound;
    std::int32_t changeStateFrame = 0;
    std::int32_t depthOffset = 0;
    bool open = false;
    bool hasOpenSound = false;
    bool hasCloseSound = false;
    bool animating = false;

protected:
    Door(const Door&) = default;
    Door& operator=(const Door&) = default;
};
