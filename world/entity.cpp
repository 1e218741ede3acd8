#include "world/entity.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "world/draw_queue.h"
#include "world/pixels.h"
#include "world/world.h"

namespace {
// Rounds a displacement away from zero to whole pixels; bounded so no conversion overflows.
// (Written out rather than through ceil and floor, which cost a library call here.)
std::int64_t AwayFromZero(double v) {
    if (!(v == v) || v == 0.0)
        return 0;
    if (v >= 1e9)
        return 1000000000;
    if (v <= -1e9)
        return -1000000000;
    const auto t = static_cast<std::int64_t>(v);  // toward zero
    if (static_cast<double>(t) == v)
        return t;
    return v > 0 ? t + 1 : t - 1;
}
// -1, 0 or 1; 0 for NaN too.
int Sign(double v) { return (v > 0) - (v < 0); }
}  // namespace

std::int16_t TruncToPixel(double value) {
    if (!(value == value))
        return 0;
    // Keep within a range where the wrap below still matches the 16-bit field.
    if (value > 1e15)
        value = 1e15;
    if (value < -1e15)
        value = -1e15;
    return static_cast<std::int16_t>(static_cast<std::int64_t>(value));
}

void DirectionVector(std::int64_t angle, double& outX, double& outY) {
    outX = outY = 0.0;
    if (angle == 0)
        outX = 1.0;
    else if (angle == 90)
        outY = 1.0;
    else if (angle == 180)
        outX = -1.0;
    else if (angle == 270)
        outY = -1.0;
}

// ---------------------------------------------------------------------------------------
// Entity

Entity::Entity() { Entity::Reset(); }

Entity::Entity(const Entity& other) : physical(other.physical), seq(other.seq), kindBits(other.kindBits) {
    *this = other;
}

Entity& Entity::operator=(const Entity& other) {
    dirX = other.dirX;
    dirY = other.dirY;
    velX = other.velX;
    velY = other.velY;
    posX = other.posX;
    posY = other.posY;
    rotation = other.rotation;
    placementOffsetX = other.placementOffsetX;
    placementOffsetY = other.placementOffsetY;
    pinned = other.pinned;
    hasImage = other.hasImage;
    rotateToVelocity = other.rotateToVelocity;
    x = other.x;
    y = other.y;
    width = other.width;
    height = other.height;
    image = other.image;
    templateName = other.templateName;
    linkName = other.linkName;
    linkTarget = other.linkTarget;
    id = other.id;
    drawDepth = other.drawDepth;
    moving = other.moving;
    return *this;
}

std::unique_ptr<Entity> Entity::Clone() const { return std::unique_ptr<Entity>(new Entity(*this)); }

void Entity::AssignState(const Entity& other) { *this = other; }

void Entity::Reset() {
    id = -1;
    dirX = dirY = velX = velY = posX = posY = 0.0;
    placementOffsetX = placementOffsetY = 0;
    pinned = hasImage = rotateToVelocity = moving = false;
    rotation = 0;
    templateName.clear();
    linkName.clear();
}

void Entity::BoxChanged() {
    if (world)
        world->BoxChanged(*this);
}

double Entity::SubStep() const { return world ? world->subStep : 1.0; }

bool Entity::GravityChanged() const { return world && world->gravityChanged; }

void Entity::RotateBounds(int quarterTurns) {
    if (quarterTurns == 90 || quarterTurns == 270) {
        std::swap(width, height);
        BoxChanged();
    }
}

void Entity::Update() {
    if (!pinned) {
        velX = World::MOVE_SPEED * dirX;
        velY = World::MOVE_SPEED * dirY;
    }
    if (rotateToVelocity && (velX != 0.0 || velY != 0.0))
        SetRotation(static_cast<std::int32_t>(std::trunc(180.0 * std::atan2(velX, velY) / kPi)));
    // The velocity above still used the old direction; the new one counts from the next sub-step.
    if (GravityChanged())
        DirectionVector(world->gravityDirection, dirX, dirY);
    moving = !pinned && (velX != 0.0 || velY != 0.0);
}

void Entity::Move() {
    if (pinned)
        return;
    const double s = SubStep();
    posX += s * velX;
    posY += s * velY;
    const std::int16_t nx = TruncToPixel(posX), ny = TruncToPixel(posY);
    if (nx != x || ny != y) {
        x = nx;
        y = ny;
        BoxChanged();
    }
}

void Entity::Animate(double step) { image.Animate(step); }

void Entity::Draw() {
    if (!world || world->queueDrawing)
        FrameDrawQueue().Add(x, y, drawDepth, true, image);
}

void Entity::SetPosition(std::int32_t newX, std::int32_t newY) {
    x = static_cast<std::int16_t>(newX);
    y = static_cast<std::int16_t>(newY);
    posX = x;
    posY = y;
    BoxChanged();
}

void Entity::SetImage(const Image& newImage, bool autoBound) {
    image = newImage;
    image.SetAngle(rotation);
    hasImage = true;
    if (autoBound) {
        width = static_cast<std::uint16_t>(image.OpaqueWidth());
        height = static_cast<std::uint16_t>(image.OpaqueHeight());
        BoxChanged();
    }
}

void Entity::SetRotation(std::int32_t angle) {
    if (hasImage)
        image.SetAngle(angle);
    // A plain entity never changes its stored rotation, so its box keeps the upright size.
    RotateBounds(rotation);
}

bool Entity::FallsFreely() const {
    // A piece that turns to face its motion is left to the sub-steps.
    if (!moving || pinned || rotateToVelocity)
        return false;
    const bool whole = (std::abs(dirX) == 1.0 && dirY == 0.0) || (dirX == 0.0 && std::abs(dirY) == 1.0);
    return whole && velX == World::MOVE_SPEED * dirX && velY == World::MOVE_SPEED * dirY && posX == x && posY == y;
}

void Entity::FallFreely(std::int32_t subSteps) {
    // The sums the moves would make, one sub-step at a time.
    for (std::int32_t i = 0; i < subSteps; ++i) {
        posX += velX;
        posY += velY;
    }
    x = TruncToPixel(posX);
    y = TruncToPixel(posY);
    BoxChanged();
}

Box Entity::NextLookAheadBox() const {
    const double vx = pinned ? velX : World::MOVE_SPEED * dirX;
    const double vy = pinned ? velY : World::MOVE_SPEED * dirY;
    return BoxAt(static_cast<std::int32_t>(x + AwayFromZero(vx)), static_cast<std::int32_t>(y + AwayFromZero(vy)));
}

namespace {
// Small fields share a word: the hash is a chain of multiplies, one per word, and the
// solver and the rest check hash every object several times a turn.
std::uint64_t Pack(std::uint32_t high, std::uint32_t low) { return (std::uint64_t{high} << 32) | low; }
std::uint32_t Pack16(std::uint16_t high, std::uint16_t low) { return (std::uint32_t{high} << 16) | low; }
}  // namespace

void Entity::HashState(Hasher& h) const {
    h.Add(Pack(static_cast<std::uint32_t>(id), static_cast<std::uint32_t>(drawDepth)));
    h.Add(dirX);
    h.Add(dirY);
    h.Add(velX);
    h.Add(velY);
    h.Add(posX);
    h.Add(posY);
    h.Add(Pack(Pack16(static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y)), Pack16(width, height)));
    h.Add(Pack(static_cast<std::uint32_t>(rotation), static_cast<std::uint32_t>(image.angle)));
    h.Add(Pack(static_cast<std::uint32_t>(image.frameCount),
               (pinned ? 1u : 0u) | (moving ? 2u : 0u) | (image.reverse ? 4u : 0u)));
    if (h.WithClocks()) {
        h.Add(image.frame);
        h.Add(image.framePosition);
    }
    h.Add(linkName);
    h.Add(linkTarget);
}

// ---------------------------------------------------------------------------------------
// PhysObj

PhysObj::PhysObj() {
    physical = true;
    PhysObj::Reset();
}

std::unique_ptr<Entity> PhysObj::Clone() const { return std::unique_ptr<Entity>(new PhysObj(*this)); }

void PhysObj::AssignState(const Entity& other) { *this = static_cast<const PhysObj&>(other); }

void PhysObj::Reset() {
    Entity::Reset();
    boundX = boundY = 0;
    missionCritical = solid = false;
    collisions.clear();
    lookAheadMemo.Forget();
}

void PhysObj::HashState(Hasher& h) const {
    Entity::HashState(h);
    h.Add(Pack(static_cast<std::uint32_t>(boundX), static_cast<std::uint32_t>(boundY)));
    h.Add(Pack(missionCritical ? 1u : 0u, solid ? 1u : 0u));
}

bool PhysObj::FallsFreely() const { return Entity::FallsFreely() && collisions.empty(); }

void PhysObj::SetImage(const Image& newImage, bool autoBound) {
    Entity::SetImage(newImage, autoBound);
    if (autoBound) {
        boundX = image.OpaqueLeft();
        boundY = image.OpaqueTop();
        BoxChanged();
    }
}

void PhysObj::SetRotation(std::int32_t angle) {
    if (hasImage)
        image.SetAngle(angle);
    const int delta = SnapAngle(static_cast<int>((static_cast<std::int64_t>(angle) - rotation) % 360));
    RotateBounds(delta);
    rotation = SnapAngle(rotation + delta);
}

void PhysObj::RotateBounds(int delta) {
    // Turn within the frame as it stands now: from a quarter turn its sides are exchanged.
    // (Measuring from the upright frame only holds for a turn that starts upright.)
    std::int64_t w = image.frameWidth, h = image.frameHeight;
    if (rotation == 90 || rotation == 270)
        std::swap(w, h);
    const std::int64_t left = boundX, top = boundY;
    if (delta == 90 || delta == 270)
        std::swap(width, height);
    if (delta == 90) {
        boundX = static_cast<std::int32_t>(top);
        boundY = static_cast<std::int32_t>(w - left - height);
    } else if (delta == 180) {
        boundX = static_cast<std::int32_t>(w - left - width);
        boundY = static_cast<std::int32_t>(h - top - height);
    } else if (delta == 270) {
        boundX = static_cast<std::int32_t>(h - top - width);
        boundY = static_cast<std::int32_t>(left);
    } else {
        return;
    }
    BoxChanged();
}

void PhysObj::SetBounds(std::int32_t left, std::int32_t top, std::int32_t boxWidth, std::int32_t boxHeight) {
    boundX = left;
    boundY = top;
    // Content may give negative sizes; they wrap into the 16-bit fields as they always have.
    width = static_cast<std::uint16_t>(boxWidth);
    height = static_cast<std::uint16_t>(boxHeight);
    BoxChanged();
    // The values describe the upright picture; turn them to where the picture stands.
    const std::int32_t turned = rotation;
    rotation = 0;
    PhysObj::RotateBounds(turned);
    rotation = turned;
}

void PhysObj::LookAhead() {
    const std::int64_t dx = AwayFromZero(velX * SubStep());
    const std::int64_t dy = AwayFromZero(velY * SubStep());
    World* w = GetWorld();
    if (w == nullptr) {
        collisions.clear();
        lookAheadMemo.Forget();
        return;
    }
    w->PhysicalOverlapsAt(*this, static_cast<std::int32_t>(x + dx), static_cast<std::int32_t>(y + dy), collisions,
                          &lookAheadMemo);
}

const std::vector<PhysObj*>& PhysObj::CheckCollisions() {
    LookAhead();
    if (collisions.empty())
        return collisions;
    if ((velX != 0.0 || velY != 0.0) && !pinned) {
        const double s = SubStep();
        // Centres are whole pixels, halves rounded down; a snap moves this one. Along each
        // axis an object ahead of this one's centre (sign of the velocity) stops it.
        int cx = x + width / 2, cy = y + height / 2;
        int sx = Sign(velX), sy = Sign(velY);
        // Solidity is read last: it sits away from the position, in another cache line.
        for (PhysObj* other : collisions) {
            if (sx != 0 && sx * (other->x + other->width / 2 - cx) > 0 && other->solid) {
                SnapAgainst(*other, velX * s, 0);
                velX = 0;
                moving = false;
                cx = x + width / 2;
                cy = y + height / 2;
                sx = 0;
                sy = Sign(velY);
            }
            if (sy != 0 && sy * (other->y + other->height / 2 - cy) > 0 && other->solid) {
                SnapAgainst(*other, 0, velY * s);
                velY = 0;
                moving = false;
                cx = x + width / 2;
                cy = y + height / 2;
                sx = Sign(velX);
                sy = 0;
            }
            // Stopped both ways: nothing further in the list can snap it.
            if ((sx | sy) == 0)
                break;
        }
    }
    return collisions;
}

std::int32_t PhysObj::SnapAgainst(const PhysObj& other, double dx, double dy) {
    const std::int64_t oldX = x, oldY = y;
    std::int64_t nx = x, ny = y;
    if (dx > 0)
        nx = std::int64_t{other.x} + other.boundX - width - boundX;
    else if (dx < 0)
        nx = std::int64_t{other.x} + other.boundX + other.width - boundX;
    if (dy > 0)
        ny = std::int64_t{other.y} + other.boundY - height - boundY;
    else if (dy < 0)
        ny = std::int64_t{other.y} + other.boundY + other.height - boundY;
    x = static_cast<std::int16_t>(nx);
    y = static_cast<std::int16_t>(ny);
    posX = x;
    posY = y;
    BoxChanged();
    const std::int64_t moved = std::abs(std::int64_t{x} - oldX) + std::abs(std::int64_t{y} - oldY);
    return static_cast<std::int32_t>(moved);
}

// ---------------------------------------------------------------------------------------
// Hasher

void Hasher::Add(double v) {
    if (v == 0.0)
        v = 0.0;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    Add(bits);
}

void Hasher::Add(const std::string& s) {
    Add(static_cast<std::uint64_t>(s.size()));
    for (std::size_t i = 0; i < s.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, s.data() + i, std::min<std::size_t>(8, s.size() - i));
        Add(word);
    }
}
