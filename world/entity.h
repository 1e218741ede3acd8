#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/image.h"

class World;
class PhysObj;
class Hasher;

// A bounding box in pixels; 64-bit so that no offset from content can overflow it.
struct Box {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;

    // Boxes that only touch along an edge do not overlap.
    bool Overlaps(const Box& o) const {
        return left < o.left + o.width && left + width > o.left && top < o.top + o.height && top + height > o.top;
    }
};

// Every object of a running level. It falls with gravity unless pinned, but only physical
// objects collide.
class Entity {
public:
    Entity();
    virtual ~Entity() = default;

    virtual void RotateBounds(int quarterTurns);
    virtual void Move();
    virtual void Update();
    // Queues the picture. Animation belongs to the sub-steps (Animate), so that what a
    // picture's frame decides (a gate passable, an exit taking its object) never depends on
    // how many frames a second are shown.
    virtual void Draw();
    virtual void Animate(double step);
    virtual void SetPosition(std::int32_t newX, std::int32_t newY);
    virtual void SetImage(const Image& newImage, bool autoBound);
    virtual void SetRotation(std::int32_t angle);
    virtual void Reset();
    virtual bool IsPhysical() const { return false; }
    virtual bool IsBreakable() const { return false; }
    virtual bool IsExit() const { return false; }
    virtual bool IsButton() const { return false; }
    virtual bool IsDirChanger() const { return false; }

    // A copy of the object's whole state, in no World. Pointers to other objects
    // (`collisions`) still name the originals until the World remaps them.
    virtual std::unique_ptr<Entity> Clone() const;
    // Takes on the whole state of `other`, an object of exactly this kind, as a copy would
    // have it, while staying where it is (its World and its place there).
    virtual void AssignState(const Entity& other);
    // Feeds every field that decides the simulation into the hash.
    virtual void HashState(Hasher& h) const;

    // The next sub-step can do nothing to this object but carry it MOVE_SPEED pixels along its
    // own direction, unless something lies in its way or reaches for it: it moves, unpinned, a
    // whole direction at the velocity its Update gives, from whole pixels, and nothing of its
    // own is under way. Every kind that does more in a sub-step than move says when here; a
    // kind that cannot tell says no.
    virtual bool FallsFreely() const;
    // What that many such sub-steps do to it, once the World has made sure that nothing lies
    // in its way or reaches for it meanwhile.
    virtual void FallFreely(std::int32_t subSteps);

    // The box the collision queries use: physical objects add their bounding offsets.
    Box BoxAt(std::int32_t atX, std::int32_t atY) const;  // defined after PhysObj
    Box CurrentBox() const { return BoxAt(x, y); }
    // The box the next sub-step's look-ahead searches, from where the object stands: its
    // Update first sets the velocity from its direction, unless it is pinned.
    Box NextLookAheadBox() const;
    // The World this object was added to, or null.
    World* GetWorld() const { return world; }
    // Rises in World order.
    std::uint64_t Seq() const { return seq; }

    double dirX = 0.0, dirY = 0.0;
    double velX = 0.0, velY = 0.0;
    double posX = 0.0, posY = 0.0;
    std::int32_t rotation = 0;
    std::int32_t placementOffsetX = 0, placementOffsetY = 0;
    bool pinned = false;
    bool hasImage = false;
    bool rotateToVelocity = false;
    std::int16_t x = 0, y = 0;
    std::uint16_t width = 0, height = 0;
    std::int32_t id = -1;
    std::int32_t drawDepth = 0;
    bool moving = false;

protected:
    Entity(const Entity& other);
    // Copies the state, not the membership of a World.
    Entity& operator=(const Entity& other);

    // Tells the World that the box moved or changed size, so its index follows.
    void BoxChanged();
    // The World's sub-step length, or 1.0 outside any World.
    double SubStep() const;
    bool GravityChanged() const;

    bool physical = false;  // set once by PhysObj: the box carries its bounding offsets

private:
    friend class World;
    friend class SpatialIndex;
    World* world = nullptr;
    std::uint64_t seq = 0;         // World order: rises with every Add, kept by snapshots
    std::int32_t updateSlot = -1;  // place in the World's update order, -1 when absent
    std::int32_t indexSlot = -1;   // place in the World's spatial index, -1 when absent
    // The kind tests' answers as the state hash feeds them, -1 until a World adds the object:
    // they never change, and asking them per hash costs five virtual calls.
    std::int32_t kindBits = -1;

public:
    // After the fields every sub-step reads, so that those share fewer cache lines.
    Image image;
    std::string templateName;
    std::string linkName;
    std::string linkTarget;
};

// Pixel truncation toward zero into the 16-bit position, wrapping like the field itself
// and safe for any double.
std::int16_t TruncToPixel(double value);
// The unit vector of a gravity or direction angle; other angles give (0, 0).
void DirectionVector(std::int64_t angle, double& outX, double& outY);

// When and where an object last looked ahead, so that the World's index can tell whether
// anything near that box has changed since. A copy remembers nothing.
struct LookAheadMemo {
    LookAheadMemo() = default;
    LookAheadMemo(const LookAheadMemo&) {}
    LookAheadMemo& operator=(const LookAheadMemo&) {
        Forget();
        return *this;
    }
    void Forget() { index = nullptr; }

    const void* index = nullptr;
    std::uint64_t tick = 0;
    // The box searched; boxes beyond 32 bits are not remembered.
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    std::int32_t id = -1;
    std::int16_t firstCell = 0;
    std::int8_t cellColumns = 0, cellRows = 0;
};

// An object that takes part in collisions.
class PhysObj : public Entity {
public:
    PhysObj();

    void RotateBounds(int quarterTurns) override;
    void SetImage(const Image& newImage, bool autoBound) override;
    void SetRotation(std::int32_t angle) override;
    void Reset() override;
    bool IsPhysical() const override { return true; }
    std::unique_ptr<Entity> Clone() const override;
    void AssignState(const Entity& other) override;
    void HashState(Hasher& h) const override;
    // Also: its last look-ahead found nothing.
    bool FallsFreely() const override;

    // Looks one sub-step ahead, stops flush against solid objects and returns what it found.
    // The list stays valid until this object's next look-ahead.
    virtual const std::vector<PhysObj*>& CheckCollisions();
    virtual std::int32_t SnapAgainst(const PhysObj& other, double dx, double dy);

    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t boxWidth, std::int32_t boxHeight);
    // Fills `collisions` with the physical objects this one overlaps one sub-step ahead.
    void LookAhead();

    std::int32_t boundX = 0, boundY = 0;
    bool missionCritical = false;
    bool solid = false;
    std::vector<PhysObj*> collisions;
    // Lets an unchanged neighbourhood keep `collisions` without a new search.
    LookAheadMemo lookAheadMemo;

protected:
    PhysObj(const PhysObj& other) = default;
    PhysObj& operator=(const PhysObj& other) = default;
};

inline Box Entity::BoxAt(std::int32_t atX, std::int32_t atY) const {
    Box b;
    // The position lives in 16 bits; a look-ahead target wraps the same way.
    b.left = static_cast<std::int16_t>(atX);
    b.top = static_cast<std::int16_t>(atY);
    if (physical) {
        const auto* p = static_cast<const PhysObj*>(this);
        b.left += p->boundX;
        b.top += p->boundY;
    }
    b.width = width;
    b.height = height;
    return b;
}

// Streams fields into a 64-bit hash, a word at a time; doubles are hashed by value (-0 equals 0).
class Hasher {
public:
    // Without clocks, the animation of pictures is left out: what a board at rest shows may
    // go on moving while the board itself stays the same.
    explicit Hasher(bool clocks = true) : clocks(clocks) {}
    bool WithClocks() const { return clocks; }
    void Add(std::uint64_t v) {
        // Words go to two lanes in turn, so that one lane's multiply overlaps the other's.
        const std::uint64_t mixed = Mix(lane ^ v);
        lane = other;
        other = mixed;
    }
    void Add(std::int64_t v) { Add(static_cast<std::uint64_t>(v)); }
    void Add(std::int32_t v) { Add(static_cast<std::int64_t>(v)); }
    void Add(std::int16_t v) { Add(static_cast<std::int64_t>(v)); }
    void Add(std::uint16_t v) { Add(static_cast<std::uint64_t>(v)); }
    void Add(bool v) { Add(static_cast<std::uint64_t>(v ? 1 : 0)); }
    void Add(double v);
    void Add(const std::string& s);
    // The lanes chained in a fixed order, so that swapped lanes give another value.
    std::uint64_t Value() const { return Mix(Mix(lane) ^ other); }

private:
    // A full 64x64 multiply folded back on itself mixes every bit of the word.
    static std::uint64_t Mix(std::uint64_t v) {
        const unsigned __int128 m = static_cast<unsigned __int128>(v) * 0x9E3779B97F4A7C15ull;
        return static_cast<std::uint64_t>(m) ^ static_cast<std::uint64_t>(m >> 64);
    }

    std::uint64_t lane = 0x243F6A8885A308D3ull;
    std::uint64_t other = 0x13198A2E03707344ull;
    bool clocks;
};
