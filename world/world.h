#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "world/entity.h"
#include "world/spatial_index.h"

// Where the level on the board stands.
enum class LevelStatus : std::int32_t {
    NotPlaying = 0,  // no level is being played (menus, the editor)
    Playing = 1,
    Failed = 2,      // a mission-critical object was lost
    Complete = 3,    // a mission-critical object rests in an exit
};

// The dynamic state of a World, detached from it: owned copies of every object plus the
// World's own values. Restoring it any number of times gives back the same simulation.
struct WorldSnapshot {
    std::vector<std::unique_ptr<Entity>> objects;
    std::int32_t nextId = 0;
    std::uint64_t nextSeq = 0;
    std::int32_t gravityDirection = 90;
    bool gravityChanged = false;
    bool gravityTakingEffect = false;
    double stepCarry = 0.0;
    std::uint64_t gravityChangeCount = 0;
    std::optional<std::uint64_t> stillHash;
    bool atRest = false;
    bool frozen = false;
    double subStep = 1.0;
    LevelStatus levelStatus = LevelStatus::Playing;
};

// One object's place in a sub-step's update order, while it is being sorted.
struct OrderItem {
    std::int32_t key;
    std::uint64_t seq;
    Entity* entity;
};

// The running level: every live object, the gravity, the outcome, and the sub-steps that
// move everything once per displayed frame. Objects hold a pointer to the World they were
// added to, so a solver or a test may run Worlds of its own beside `TheWorld()`.
//
// Nothing here reads the clock: `Update` takes the frame step. Image animation (which
// times exits and doors) follows `TimerStep()`, so headless runs fix it with
// `SetFixedTimerStep`.
class World {
public:
    static constexpr double MOVE_SPEED = 3.0;
    static constexpr int kScreenWidth = 640;
    static constexpr int kScreenHeight = 480;

    World();
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Takes ownership, appends in World order and gives the next id.
    Entity* AddEntity(std::unique_ptr<Entity> object);
    template <class T>
    T* Add(std::unique_ptr<T> object) {
        T* raw = object.get();
        AddEntity(std::move(object));
        return raw;
    }
    // Removes the object and hands it back; it then belongs to no World, and losing it
    // fails nothing.
    std::unique_ptr<Entity> Take(const Entity& object);
    // Removes and destroys the object (a mission-critical one fails the level).
    void Destroy(const Entity& object);
    // Destroys every object, last first (a mission-critical one fails the level); the next
    // object added gets id 0.
    void Clear();

    int Count() const { return static_cast<int>(objects.size()); }
    Entity* Get(int index) const;

    // Every object carrying the link name, in World order; an empty name finds nothing.
    std::vector<Entity*> FindByLinkName(const std::string& name) const;
    // Every other object, of any kind, whose box overlaps this one's, in World order.
    std::vector<Entity*> ObjectsOverlapping(const Entity& object) const;
    // The physical objects the object would overlap standing at (atX, atY), in World order.
    std::vector<PhysObj*> ObjectsOverlappingAt(const Entity& object, std::int32_t atX, std::int32_t atY) const;

    void SetGravity(std::int32_t direction);
    std::int32_t GetGravity() const { return gravityDirection; }
    void ClearGravityChanged() { gravityChanged = false; }
    // The last gravity change has not yet moved anything: the sub-step that takes it runs
    // on the old velocities, so a board can only settle after the one that follows.
    bool TurnUnderway() const { return gravityChanged || gravityTakingEffect; }

    // One displayed frame of `step` Timer steps: the step is added to what earlier frames
    // left over, and every whole 1.0 of it runs one sub-step, after which every object
    // animates by 1.0; then every object is drawn. Sub-steps are never shortened, so the
    // same moves give the same board at any frame rate.
    void Update(double step);
    // Headless frames of a step of exactly 1.0, one sub-step each, as Update(1.0) runs them
    // but drawing nothing: runs up to `most` and returns how many, or 0 when it runs none
    // and leaves the next frame to Update. It runs frames only where the pieces that move
    // all fall through empty space while the rest of the board stays as it is: one sub-step
    // shows that they do, and then each falling piece is carried in one step to the last
    // sub-step before anything can happen to it (something in its way or reaching for it,
    // the board's edge). Board, picture clocks and rest come out as the sub-steps would
    // leave them; the level goes on and the board moves on in every frame it runs.
    std::int32_t SkipFreeFall(std::int32_t most);
    // The board is at rest: the last sub-step moved nothing and changed nothing (its board
    // is the one the sub-step before it left), so no further sub-step will change anything
    // until gravity does. Weight still finding its way down a stack, a piece pushed up to a
    // stopper but not yet pressing it, a busy exit or gate: none of these is rest.
    bool AtRest() const { return atRest; }
    // Nothing moves and no exit is taking an object: what a board at rest shows.
    bool Still() const;

    // A hash of every field that decides how the level plays on from here (positions,
    // directions, velocities, boxes, animation frames, object kinds and their own state,
    // gravity, outcome). Equal states hash equal in any World; the value is stable across
    // runs of the same build, so it can key a solver's visited set.
    std::uint64_t StateHash() const;
    // The same without the animation of pictures: equal for two boards that play on alike.
    std::uint64_t BoardHash() const;
    WorldSnapshot Snapshot() const;
    // Replaces every object with copies of the snapshot's. The objects replaced are
    // discarded without side effects (no level failure).
    void Restore(const WorldSnapshot& snapshot);

    // The objects in the order of the current sub-step's passes (null where removed).
    const std::vector<Entity*>& UpdateOrder() const { return updateOrder; }

    bool frozen = false;
    std::int32_t gravityDirection = 90;
    // Set by SetGravity, seen by the one sub-step that runs next, which clears it.
    bool gravityChanged = false;
    bool gravityTakingEffect = false;
    // The part of a sub-step that earlier frames' steps left over.
    double stepCarry = 0.0;
    // Rises with every SetGravity, so an object can tell one gravity change from the next.
    std::uint64_t gravityChangeCount = 0;
    double subStep = 1.0;
    LevelStatus levelStatus = LevelStatus::Playing;
    // Off for headless runs: objects still animate but queue no pictures.
    bool queueDrawing = true;
    // Triggers are invisible in play; the level editor shows them.
    bool showTriggers = false;
    // Off: every query scans every object (the reference the index must agree with).
    bool broadPhase = true;
    // Off: SkipFreeFall runs nothing, so every frame runs its sub-step (the reference it
    // must agree with).
    bool fastForward = true;
    // Sub-steps SkipFreeFall has carried pieces through without running them, all told.
    std::uint64_t skippedSubSteps = 0;

    // Used by the objects themselves.
    void BoxChanged(Entity& object) { index.Refresh(object); }
    // With a memo, `out` is left as it is when nothing near the box has changed since the
    // memo was taken (it then still holds what that search found).
    void PhysicalOverlapsAt(const Entity& object, std::int32_t atX, std::int32_t atY, std::vector<PhysObj*>& out,
                            LookAheadMemo* memo = nullptr) const;

private:
    // One sub-step of a frame, then every picture's animation and the rest check.
    void RunFrameSubStep();
    void RunSubStep();
    // SkipFreeFall's parts. Splits the objects into those that move, which must all fall
    // freely, and those that stand; false when one that moves does not fall freely or an
    // exit is busy.
    bool SplitFallers();
    // After a sub-step: it kept every faller falling freely, met by nothing, and left every
    // standing object standing.
    bool FellFreely();
    // A hash of the standing objects, picture clocks left out.
    std::uint64_t StandingHash() const;
    // How many sub-steps, at most `most`, the fallers can fall before anything can happen to
    // one of them; below `enough` it may stop counting early.
    std::int32_t FreeSubSteps(std::int32_t most, std::int32_t enough) const;
    // After each sub-step: whether the board has come to rest.
    void NoteRest();
    // Something changed the board from outside the sub-steps: rest must be seen anew.
    void ForgetRest();
    std::uint64_t Hash(bool clocks) const;
    void BuildUpdateOrder();
    // Sets every breakable object's load for this sub-step from who leans on whom after the
    // look-aheads. None passes in the sub-step that takes a gravity change.
    void GatherLoads();
    std::unique_ptr<Entity> Detach(const Entity& object);
    // Destroys an object already detached; the World, not the object, decides what its loss
    // means for the level.
    void Discard(std::unique_ptr<Entity> gone);
    // The first object whose seq is not below `seq`, or the end.
    std::vector<std::unique_ptr<Entity>>::iterator FindBySeq(std::uint64_t seq);
    // Restores onto the very objects the snapshot was taken of, when they are all here.
    bool RestoreInPlace(const WorldSnapshot& snapshot);
    bool UseIndex() const { return broadPhase && indexLive; }

    std::vector<std::unique_ptr<Entity>> objects;
    std::vector<Entity*> updateOrder;
    std::int32_t nextId = 0;
    std::uint64_t nextSeq = 0;
    SpatialIndex index;
    bool indexLive = false;  // queries trust the index only while the passes run
    // The update order of the last sub-step is reused while nobody joined or left and
    // gravity stayed put: objects move little between sub-steps, so it is nearly sorted.
    std::uint64_t membershipChanges = 0;
    std::uint64_t orderMembership = ~0ull;
    std::int32_t orderGravity = -1;
    std::vector<OrderItem> orderItems;
    // The board after the last sub-step, when nothing moved in it; and whether it was the
    // same as after the sub-step before.
    std::optional<std::uint64_t> stillHash;
    bool atRest = false;
    // GatherLoads' scratch, kept to spare an allocation every sub-step.
    std::vector<std::int32_t> leanFirst, leanFrom, leanState, leanPath;
    // SkipFreeFall's split, in World order, and where each standing physical object reaches.
    std::vector<Entity*> fallers, standing;
    std::vector<Box> standingReach;
};

// The one World of the running level.
World& TheWorld();

// Every look-ahead of every sub-step comes here: kept where the callers can inline it.
inline void World::PhysicalOverlapsAt(const Entity& object, std::int32_t atX, std::int32_t atY,
                                      std::vector<PhysObj*>& out, LookAheadMemo* memo) const {
    const Box box = object.BoxAt(atX, atY);
    if (UseIndex()) {
        if (memo && index.Unchanged(*memo, box, object.id))
            return;
        out.clear();
        index.Query(box, object.id, true, out);
        if (memo)
            index.Remember(*memo, box, object.id);
        return;
    }
    if (memo)
        memo->Forget();
    out.clear();
    for (const auto& e : objects)
        if (e->physical && e->id != object.id && box.Overlaps(e->CurrentBox()))
            out.push_back(static_cast<PhysObj*>(e.get()));
}
