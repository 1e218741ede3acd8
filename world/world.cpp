#include "world/world.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <typeinfo>
#include <utility>

#include "world/breakable.h"
#include "world/trigger.h"

namespace {

constexpr std::int32_t kBreakableKind = 2;
constexpr std::int32_t kExitKind = 4;

// Which kinds the object is of, as the state hash feeds them. Every object in a World has
// them in `kindBits`, which the sub-steps read instead of asking.
std::int32_t KindBits(const Entity& e) {
    return (e.IsPhysical() ? 1 : 0) | (e.IsBreakable() ? kBreakableKind : 0) | (e.IsExit() ? kExitKind : 0) |
           (e.IsButton() ? 8 : 0) | (e.IsDirChanger() ? 16 : 0);
}
// A stalled frame must not turn into an endless run of sub-steps.
constexpr double kMaxFrameStep = 10000.0;

// Pixels a moving object covers in a sub-step.
constexpr std::int64_t kSpeed = static_cast<std::int64_t>(World::MOVE_SPEED);

// A skip of fewer sub-steps does not pay for the sub-step that shows the fall is free.
constexpr std::int32_t kShortestSkip = 4;

// Sub-steps that `box` can move along (dx, dy), a whole direction, without overlapping
// `other`: -1 when it overlaps it already, `most` when it never will.
std::int64_t StepsClear(const Box& box, double dx, double dy, const Box& other, std::int64_t most) {
    // Along the motion the box spans [a, a + w), the other [lo, hi); across it they must
    // overlap for the motion to bring them together.
    std::int64_t a, w, lo, hi;
    bool across;
    if (dx != 0.0) {
        across = box.top < other.top + other.height && box.top + box.height > other.top;
        a = box.left, w = box.width, lo = other.left, hi = other.left + other.width;
    } else {
        across = box.left < other.left + other.width && box.left + box.width > other.left;
        a = box.top, w = box.height, lo = other.top, hi = other.top + other.height;
    }
    if (!across)
        return most;
    if (dx < 0.0 || dy < 0.0) {
        // Mirrored, so that the motion runs towards larger numbers.
        const std::int64_t mirroredLo = -hi;
        hi = -lo;
        lo = mirroredLo;
        a = -(a + w);
    }
    // After k sub-steps the box spans [a + 3k, a + 3k + w).
    if (hi <= a)
        return most;
    const std::int64_t gap = lo - (a + w);
    if (gap < 0)
        return -1;
    return std::min(most, gap / kSpeed);
}

// Sub-steps along its direction before the screen pass would remove the object.
std::int64_t StepsOnScreen(const Entity& e) {
    const std::int64_t w = e.image.frameWidth, h = e.image.frameHeight;
    if (e.dirX > 0)
        return (World::kScreenWidth - e.x) / kSpeed;
    if (e.dirX < 0)
        return (e.x + w) / kSpeed;
    if (e.dirY > 0)
        return (World::kScreenHeight - e.y) / kSpeed;
    return (e.y + h) / kSpeed;
}

// What `steps` sub-steps along (dx, dy) sweep of a box.
Box Swept(Box b, double dx, double dy, std::int64_t steps) {
    const std::int64_t d = kSpeed * steps;
    if (dx != 0.0) {
        b.width += d;
        if (dx < 0.0)
            b.left -= d;
    } else {
        b.height += d;
        if (dy < 0.0)
            b.top -= d;
    }
    return b;
}

// Sub-steps, at most `most`, that two objects falling different ways can fall without
// their paths crossing; -1 when they overlap already.
std::int64_t StepsApart(const Entity& a, const Entity& b, std::int64_t most) {
    auto apart = [&](std::int64_t steps) {
        return !Swept(a.CurrentBox(), a.dirX, a.dirY, steps).Overlaps(Swept(b.CurrentBox(), b.dirX, b.dirY, steps));
    };
    if (!apart(0))
        return -1;
    if (apart(most))
        return most;
    std::int64_t clear = 0, crossing = most;
    while (crossing - clear > 1) {
        const std::int64_t mid = clear + (crossing - clear) / 2;
        (apart(mid) ? clear : crossing) = mid;
    }
    return clear;
}

}  // namespace

World::World() = default;

World::~World() = default;

Entity* World::AddEntity(std::unique_ptr<Entity> object) {
    if (!object)
        return nullptr;
    Entity* raw = object.get();
    raw->world = this;
    raw->id = nextId++;
    raw->seq = nextSeq++;
    raw->updateSlot = -1;
    raw->indexSlot = -1;
    raw->kindBits = KindBits(*raw);
    // FindBySeq's search and the index's slot order need the newest object last.
    assert(objects.empty() || objects.back()->seq < raw->seq);
    objects.push_back(std::move(object));
    ++membershipChanges;
    ForgetRest();
    index.Insert(*raw);
    return raw;
}

std::vector<std::unique_ptr<Entity>>::iterator World::FindBySeq(std::uint64_t seq) {
    // Objects stay sorted by seq.
    return std::lower_bound(objects.begin(), objects.end(), seq,
                            [](const std::unique_ptr<Entity>& e, std::uint64_t s) { return e->seq < s; });
}

std::unique_ptr<Entity> World::Detach(const Entity& object) {
    // The pointer check turns away copies and strangers.
    auto it = FindBySeq(object.seq);
    if (it == objects.end() || it->get() != &object)
        return nullptr;
    std::unique_ptr<Entity> owned = std::move(*it);
    objects.erase(it);
    Entity& e = *owned;
    if (e.updateSlot >= 0 && static_cast<std::size_t>(e.updateSlot) < updateOrder.size() &&
        updateOrder[static_cast<std::size_t>(e.updateSlot)] == &e)
        updateOrder[static_cast<std::size_t>(e.updateSlot)] = nullptr;
    e.updateSlot = -1;
    ++membershipChanges;
    ForgetRest();
    index.Erase(e);
    // Nobody may reach a gone object through a list built earlier in the sub-step.
    for (auto& other : objects)
        if (other->physical) {
            auto& list = static_cast<PhysObj&>(*other).collisions;
            list.erase(std::remove(list.begin(), list.end(), &e), list.end());
        }
    return owned;
}

std::unique_ptr<Entity> World::Take(const Entity& object) {
    std::unique_ptr<Entity> owned = Detach(object);
    if (owned)
        owned->world = nullptr;
    return owned;
}

void World::Destroy(const Entity& object) {
    if (std::unique_ptr<Entity> gone = Detach(object))
        Discard(std::move(gone));
}

void World::Discard(std::unique_ptr<Entity> gone) {
    const bool critical = gone->physical && static_cast<const PhysObj&>(*gone).missionCritical;
    gone.reset();
    if (critical)
        levelStatus = LevelStatus::Failed;
}

void World::Clear() {
    for (auto& object : objects)
        if (object->physical)
            static_cast<PhysObj&>(*object).collisions.clear();
    updateOrder.clear();
    index.Clear();
    ++membershipChanges;
    while (!objects.empty()) {
        std::unique_ptr<Entity> last = std::move(objects.back());
        objects.pop_back();
        last->updateSlot = -1;
        Discard(std::move(last));
    }
    nextId = 0;
    ForgetRest();
}

Entity* World::Get(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return objects[static_cast<std::size_t>(index)].get();
}

std::vector<Entity*> World::FindByLinkName(const std::string& name) const {
    std::vector<Entity*> found;
    if (name.empty())
        return found;
    for (const auto& object : objects)
        if (object->linkName == name)
            found.push_back(object.get());
    return found;
}

std::vector<Entity*> World::ObjectsOverlapping(const Entity& object) const {
    std::vector<Entity*> found;
    const Box box = object.CurrentBox();
    if (UseIndex()) {
        index.Query(box, object.id, false, found);
        return found;
    }
    for (const auto& e : objects)
        if (e->id != object.id && box.Overlaps(e->CurrentBox()))
            found.push_back(e.get());
    return found;
}

std::vector<PhysObj*> World::ObjectsOverlappingAt(const Entity& object, std::int32_t atX, std::int32_t atY) const {
    std::vector<PhysObj*> found;
    PhysicalOverlapsAt(object, atX, atY, found);
    return found;
}


void World::SetGravity(std::int32_t direction) {
    gravityDirection = direction;
    gravityChanged = true;
    ++gravityChangeCount;
    ForgetRest();
}

void World::Update(double step) {
    if (!frozen) {
        double s = step;
        if (!(s >= 0.0))
            s = 0.0;
        if (s > kMaxFrameStep)
            s = kMaxFrameStep;
        // A hair of tolerance, so ten steps of 0.1 make one sub-step, not one frame late.
        stepCarry += s;
        const int n = static_cast<int>(std::floor(stepCarry + 1e-9));
        stepCarry = std::max(0.0, stepCarry - n);
        for (int i = 0; i < n; ++i)
            RunFrameSubStep();
    }
    // Headless, every kind's Draw queues nothing.
    if (queueDrawing)
        for (std::size_t i = 0; i < objects.size(); ++i)
            objects[i]->Draw();
}

void World::RunFrameSubStep() {
    const bool takesGravity = gravityChanged;
    subStep = 1.0;
    RunSubStep();
    gravityChanged = false;
    gravityTakingEffect = takesGravity;
    for (std::size_t k = 0; k < objects.size(); ++k)
        objects[k]->Animate(1.0);
    NoteRest();
}

std::int32_t World::SkipFreeFall(std::int32_t most) {
    // A step of 1.0 with nothing carried over runs one whole sub-step a frame. The first
    // count of free sub-steps includes the one about to be run.
    if (!fastForward || frozen || most <= kShortestSkip || stepCarry != 0.0 || TurnUnderway() ||
        levelStatus != LevelStatus::Playing || !SplitFallers() || FreeSubSteps(most, kShortestSkip + 1) <= kShortestSkip)
        return 0;
    // One sub-step as any frame runs it. If it left the standing objects exactly as they
    // were, while the fallers fell freely, met by nothing, then the standing part of the
    // board is a fixed point of a sub-step: nothing of it changes until a faller reaches
    // something, and until then every sub-step only carries the fallers on.
    const std::uint64_t members = membershipChanges;
    const std::uint64_t before = StandingHash();
    RunFrameSubStep();
    if (membershipChanges != members || levelStatus != LevelStatus::Playing || !FellFreely() || StandingHash() != before)
        return 1;
    const std::int32_t free = FreeSubSteps(most - 1, 1);
    if (free <= 0)
        return 1;
    for (Entity* e : fallers)
        e->FallFreely(free);
    skippedSubSteps += static_cast<std::uint64_t>(free);
    // Each picture animates on its own, so its sub-steps can run all at once. A still picture
    // does not animate, and a door that would is busy, which no skip allows.
    for (const auto& e : objects)
        if (e->image.frameDelay != 0)
            for (std::int32_t k = 0; k < free; ++k)
                e->Animate(1.0);
    return 1 + free;
}

bool World::SplitFallers() {
    fallers.clear();
    standing.clear();
    standingReach.clear();
    for (const auto& e : objects) {
        if (e->moving) {
            if (!e->FallsFreely())
                return false;
            fallers.push_back(e.get());
        } else {
            // An exit taking an object goes by its animation, which no hash of the board sees.
            if ((e->kindBits & kExitKind) && static_cast<const Exit&>(*e).teleporting)
                return false;
            standing.push_back(e.get());
            if (e->physical) {
                // Its box and the box its look-ahead searches, in one: a few pixels of caution
                // spare half the comparisons.
                const Box at = e->CurrentBox(), ahead = e->NextLookAheadBox();
                Box reach;
                reach.left = std::min(at.left, ahead.left);
                reach.top = std::min(at.top, ahead.top);
                reach.width = std::max(at.left + at.width, ahead.left + ahead.width) - reach.left;
                reach.height = std::max(at.top + at.height, ahead.top + ahead.height) - reach.top;
                standingReach.push_back(reach);
            }
        }
    }
    return !fallers.empty();
}

bool World::FellFreely() {
    for (const Entity* e : fallers)
        if (!e->FallsFreely())
            return false;
    // Whatever moves is a faller: a standing object that found something moving reached
    // for a faller.
    for (const Entity* e : standing) {
        if (e->moving || ((e->kindBits & kExitKind) && static_cast<const Exit&>(*e).teleporting))
            return false;
        if (e->physical)
            for (const PhysObj* o : static_cast<const PhysObj*>(e)->collisions)
                if (o->moving)
                    return false;
    }
    return true;
}

std::uint64_t World::StandingHash() const {
    Hasher h(false);
    for (const Entity* e : standing)
        e->HashState(h);
    return h.Value();
}

std::int32_t World::FreeSubSteps(std::int32_t most, std::int32_t enough) const {
    // A faller must stay on the screen, out of every standing physical object's box (its own
    // look-ahead would find it) and out of the box that object's look-ahead searches (that
    // would find the faller), at every place from where it is to where it ends. The standing
    // objects stand where they stood at the split: the sub-step between changed none of them.
    std::int64_t free = most;
    for (const Entity* f : fallers) {
        free = std::min(free, StepsOnScreen(*f));
        if (free < enough)
            return static_cast<std::int32_t>(std::max<std::int64_t>(free, 0));
        const Box box = f->CurrentBox();
        for (const Box& reach : standingReach) {
            free = StepsClear(box, f->dirX, f->dirY, reach, free);
            if (free < enough)
                return static_cast<std::int32_t>(std::max<std::int64_t>(free, 0));
        }
    }
    // Physical fallers going the same way keep their distances, which the last sub-step
    // showed to be clear; the paths of those going different ways must not cross.
    for (std::size_t i = 0; i < fallers.size(); ++i)
        for (std::size_t j = i + 1; j < fallers.size(); ++j) {
            const Entity &a = *fallers[i], &b = *fallers[j];
            if (!a.physical || !b.physical || (a.dirX == b.dirX && a.dirY == b.dirY))
                continue;
            free = StepsApart(a, b, free);
            if (free < enough)
                return static_cast<std::int32_t>(std::max<std::int64_t>(free, 0));
        }
    return static_cast<std::int32_t>(free);
}

namespace {
// Puts `order` into the order of (key, seq): objects farthest from where gravity pulls go
// first, ties in World order (seq rises with it). `order` is the last sub-step's order when
// `nearlySorted`: objects move little between sub-steps, so an insertion sort is close to
// one pass.
template <class Key>
void SortByKey(std::vector<Entity*>& order, std::vector<OrderItem>& items, bool nearlySorted, Key key) {
    auto before = [&](const Entity* a, const Entity* b) {
        const std::int32_t ka = key(a), kb = key(b);
        return ka < kb || (ka == kb && a->Seq() < b->Seq());
    };
    if (nearlySorted) {
        for (std::size_t i = 1; i < order.size(); ++i) {
            Entity* item = order[i];
            if (!before(item, order[i - 1]))
                continue;
            std::size_t j = i;
            for (; j > 0 && before(item, order[j - 1]); --j)
                order[j] = order[j - 1];
            order[j] = item;
        }
        return;
    }
    items.resize(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        items[i] = {key(order[i]), order[i]->Seq(), order[i]};
    std::stable_sort(items.begin(), items.end(), [](const OrderItem& a, const OrderItem& b) { return a.key < b.key; });
    for (std::size_t i = 0; i < items.size(); ++i)
        order[i] = items[i].entity;
}
}  // namespace

void World::BuildUpdateOrder() {
    const bool reuse = orderMembership == membershipChanges && orderGravity == gravityDirection &&
                       updateOrder.size() == objects.size();
    if (!reuse) {
        // From World order, so that a plain stable sort keeps ties in World order.
        updateOrder.resize(objects.size());
        for (std::size_t i = 0; i < objects.size(); ++i)
            updateOrder[i] = objects[i].get();
    }
    switch (gravityDirection) {
    case 0:
        SortByKey(updateOrder, orderItems, reuse, [](const Entity* e) { return std::int32_t{e->x}; });
        break;
    case 90:
        SortByKey(updateOrder, orderItems, reuse, [](const Entity* e) { return std::int32_t{e->y}; });
        break;
    case 180:
        SortByKey(updateOrder, orderItems, reuse, [](const Entity* e) { return -std::int32_t{e->x}; });
        break;
    case 270:
        SortByKey(updateOrder, orderItems, reuse, [](const Entity* e) { return -std::int32_t{e->y}; });
        break;
    default:
        // Any other gravity keeps World order.
        if (reuse)
            for (std::size_t i = 0; i < objects.size(); ++i)
                updateOrder[i] = objects[i].get();
        break;
    }
    for (std::size_t i = 0; i < updateOrder.size(); ++i)
        updateOrder[i]->updateSlot = static_cast<std::int32_t>(i);
    orderMembership = membershipChanges;
    orderGravity = gravityDirection;
}

void World::RunSubStep() {
    BuildUpdateOrder();
    if (broadPhase) {
        if (index.Sparse())
            index.Rebuild(objects);
        else
            // Boxes may have been changed from outside since the last sub-step.
            index.RefreshAll(objects);
        indexLive = true;
    }
    // Objects may destroy themselves or others in any pass: a gone object leaves a null slot.
    for (std::size_t i = 0; i < updateOrder.size(); ++i)
        if (Entity* e = updateOrder[i])
            e->Update();
    for (std::size_t i = 0; i < updateOrder.size(); ++i)
        if (Entity* e = updateOrder[i]; e && e->physical)
            static_cast<PhysObj*>(e)->CheckCollisions();
    GatherLoads();
    for (std::size_t i = 0; i < updateOrder.size(); ++i)
        if (Entity* e = updateOrder[i])
            e->Move();
    for (std::size_t i = 0; i < updateOrder.size(); ++i) {
        Entity* e = updateOrder[i];
        if (!e)
            continue;
        const std::int64_t w = e->image.frameWidth, h = e->image.frameHeight;
        if (e->x + w < 0 || e->x > kScreenWidth || e->y + h < 0 || e->y > kScreenHeight)
            Destroy(*e);
    }
    indexLive = false;
}

void World::GatherLoads() {
    const std::size_t n = updateOrder.size();
    auto breakable = [&](std::size_t i) {
        return updateOrder[i] && (updateOrder[i]->kindBits & kBreakableKind) ? static_cast<BreakablePO*>(updateOrder[i])
                                                                              : nullptr;
    };
    // Who leans on whom, in compressed rows: leanFrom[leanFirst[i]..leanFirst[i + 1]) are the
    // slots of the objects leaning on updateOrder[i].
    leanFirst.assign(n + 1, 0);
    auto eachLean = [&](auto&& visit) {
        if (gravityChanged)
            return;
        for (std::size_t i = 0; i < n; ++i)
            if (const BreakablePO* presser = breakable(i))
                for (const PhysObj* o : presser->collisions)
                    if ((o->kindBits & kBreakableKind) && o->updateSlot >= 0 && PressesOn(*presser, *o))
                        visit(i, static_cast<std::size_t>(o->updateSlot));
    };
    eachLean([&](std::size_t, std::size_t onto) { ++leanFirst[onto + 1]; });
    for (std::size_t i = 0; i < n; ++i)
        leanFirst[i + 1] += leanFirst[i];
    leanFrom.resize(static_cast<std::size_t>(leanFirst[n]));
    leanState.assign(leanFirst.begin(), leanFirst.end() - 1);  // next free place of each row
    eachLean([&](std::size_t from, std::size_t onto) {
        leanFrom[static_cast<std::size_t>(leanState[onto]++)] = static_cast<std::int32_t>(from);
    });

    // A load is the own weight plus the weight of everything that leans on the object, directly
    // or through others: each counted once, so a ring of objects leaning on each other gives
    // every one of them the ring's weight.
    leanState.assign(n, -1);  // the object whose load last counted this one
    for (std::size_t i = 0; i < n; ++i) {
        BreakablePO* object = breakable(i);
        if (!object)
            continue;
        object->load = object->weight;
        if (leanFirst[i] == leanFirst[i + 1])
            continue;
        leanState[i] = static_cast<std::int32_t>(i);
        leanPath.assign(1, static_cast<std::int32_t>(i));
        while (!leanPath.empty()) {
            const auto at = static_cast<std::size_t>(leanPath.back());
            leanPath.pop_back();
            for (std::int32_t k = leanFirst[at]; k < leanFirst[at + 1]; ++k) {
                const auto from = static_cast<std::size_t>(leanFrom[static_cast<std::size_t>(k)]);
                if (leanState[from] == static_cast<std::int32_t>(i))
                    continue;
                leanState[from] = static_cast<std::int32_t>(i);
                object->load = AddLoad(object->load, breakable(from)->weight);
                leanPath.push_back(static_cast<std::int32_t>(from));
            }
        }
    }
}

void World::NoteRest() {
    if (!Still()) {
        ForgetRest();
        return;
    }
    const std::uint64_t now = BoardHash();
    atRest = stillHash == now;
    stillHash = now;
}

void World::ForgetRest() {
    stillHash.reset();
    atRest = false;
}

bool World::Still() const {
    for (const auto& e : objects) {
        if (e->moving)
            return false;
        if ((e->kindBits & kExitKind) && static_cast<const Exit&>(*e).teleporting)
            return false;
    }
    return true;
}

std::uint64_t World::StateHash() const { return Hash(true); }

std::uint64_t World::BoardHash() const { return Hash(false); }

std::uint64_t World::Hash(bool clocks) const {
    Hasher h(clocks);
    h.Add(gravityDirection);
    h.Add(gravityChanged);
    h.Add(gravityTakingEffect);
    h.Add(static_cast<std::int32_t>(levelStatus));
    h.Add(nextId);
    h.Add(static_cast<std::uint64_t>(objects.size()));
    for (const auto& e : objects) {
        h.Add(e->kindBits >= 0 ? e->kindBits : KindBits(*e));
        e->HashState(h);
    }
    return h.Value();
}

namespace {
// Copies objects and points every copy's `collisions` at the copies.
std::vector<std::unique_ptr<Entity>> CloneAll(const std::vector<std::unique_ptr<Entity>>& source) {
    std::vector<std::unique_ptr<Entity>> copies;
    copies.reserve(source.size());
    for (const auto& e : source)
        copies.push_back(e->Clone());
    // Both sides are in seq order, and the copies keep the seqs.
    for (auto& c : copies)
        if (c->IsPhysical()) {
            auto& list = static_cast<PhysObj&>(*c).collisions;
            std::size_t kept = 0;
            for (PhysObj* p : list) {
                auto it = std::lower_bound(source.begin(), source.end(), p->Seq(),
                                           [](const std::unique_ptr<Entity>& e, std::uint64_t s) { return e->Seq() < s; });
                if (it != source.end() && it->get() == p)
                    list[kept++] = static_cast<PhysObj*>(copies[static_cast<std::size_t>(it - source.begin())].get());
            }
            list.resize(kept);
        }
    return copies;
}
}  // namespace

WorldSnapshot World::Snapshot() const {
    WorldSnapshot snap;
    snap.objects = CloneAll(objects);
    snap.nextId = nextId;
    snap.nextSeq = nextSeq;
    snap.gravityDirection = gravityDirection;
    snap.gravityChanged = gravityChanged;
    snap.gravityTakingEffect = gravityTakingEffect;
    snap.stepCarry = stepCarry;
    snap.gravityChangeCount = gravityChangeCount;
    snap.stillHash = stillHash;
    snap.atRest = atRest;
    snap.frozen = frozen;
    snap.subStep = subStep;
    snap.levelStatus = levelStatus;
    return snap;
}

bool World::RestoreInPlace(const WorldSnapshot& snap) {
    if (objects.size() != snap.objects.size())
        return false;
    for (std::size_t i = 0; i < objects.size(); ++i)
        if (objects[i]->seq != snap.objects[i]->seq || typeid(*objects[i]) != typeid(*snap.objects[i]))
            return false;
    for (std::size_t i = 0; i < objects.size(); ++i)
        objects[i]->AssignState(*snap.objects[i]);
    // The lists name the snapshot's objects; both sides are in seq order.
    for (auto& e : objects)
        if (e->physical) {
            auto& list = static_cast<PhysObj&>(*e).collisions;
            std::size_t kept = 0;
            for (PhysObj* p : list) {
                auto it = FindBySeq(p->seq);
                if (it != objects.end() && (*it)->seq == p->seq)
                    list[kept++] = static_cast<PhysObj*>(it->get());
            }
            list.resize(kept);
        }
    return true;
}

void World::Restore(const WorldSnapshot& snap) {
    updateOrder.clear();
    indexLive = false;
    ++membershipChanges;
    // A solver restores the same objects over and over: take on their state in place
    // rather than building new ones.
    if (RestoreInPlace(snap)) {
        index.RefreshAll(objects);
    } else {
        index.Clear();
        objects.clear();
        objects = CloneAll(snap.objects);
        for (auto& e : objects) {
            e->world = this;
            e->kindBits = KindBits(*e);
        }
        index.Rebuild(objects);
    }
    assert(std::is_sorted(objects.begin(), objects.end(),
                          [](const std::unique_ptr<Entity>& a, const std::unique_ptr<Entity>& b) { return a->seq < b->seq; }));
    nextId = snap.nextId;
    nextSeq = snap.nextSeq;
    gravityDirection = snap.gravityDirection;
    gravityChanged = snap.gravityChanged;
    gravityTakingEffect = snap.gravityTakingEffect;
    stepCarry = snap.stepCarry;
    gravityChangeCount = snap.gravityChangeCount;
    stillHash = snap.stillHash;
    atRest = snap.atRest;
    frozen = snap.frozen;
    subStep = snap.subStep;
    levelStatus = snap.levelStatus;
}

World& TheWorld() {
    static World world;
    return world;
}
