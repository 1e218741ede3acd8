#include "world/world.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <unordered_map>
#include <typeinfo>
#include <utility>

#include "world/breakable.h"
#include "world/trigger.h"

namespace {
// A stalled frame must not turn into an endless run of sub-steps.
constexpr double kMaxFrameStep = 10000.0;

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
        for (int i = 0; i < n; ++i) {
            const bool takesGravity = gravityChanged;
            subStep = 1.0;
            RunSubStep();
            gravityChanged = false;
            gravityTakingEffect = takesGravity;
            for (std::size_t k = 0; k < objects.size(); ++k)
                objects[k]->Animate(1.0);
            NoteRest();
        }
    }
    for (std::size_t i = 0; i < objects.size(); ++i)
        objects[i]->Draw();
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
        return updateOrder[i] && updateOrder[i]->IsBreakable() ? static_cast<BreakablePO*>(updateOrder[i]) : nullptr;
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
                    if (o->IsBreakable() && o->updateSlot >= 0 && PressesOn(*presser, *o))
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
        if (e->IsExit() && static_cast<const Exit&>(*e).teleporting)
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
        const int kind = (e->IsPhysical() ? 1 : 0) | (e->IsBreakable() ? 2 : 0) | (e->IsExit() ? 4 : 0) |
                         (e->IsButton() ? 8 : 0) | (e->IsDirChanger() ? 16 : 0);
        h.Add(static_cast<std::int32_t>(kind));
        e->HashState(h);
    }
    return h.Value();
}

namespace {
// Copies objects and points every copy's `collisions` at the copies.
std::vector<std::unique_ptr<Entity>> CloneAll(const std::vector<std::unique_ptr<Entity>>& source) {
    std::vector<std::unique_ptr<Entity>> copies;
    copies.reserve(source.size());
    std::unordered_map<const Entity*, Entity*> map;
    map.reserve(source.size());
    for (const auto& e : source) {
        copies.push_back(e->Clone());
        map.emplace(e.get(), copies.back().get());
    }
    for (auto& c : copies)
        if (c->IsPhysical()) {
            auto& list = static_cast<PhysObj&>(*c).collisions;
            std::vector<PhysObj*> remapped;
            for (PhysObj* p : list) {
                auto it = map.find(p);
                if (it != map.end())
                    remapped.push_back(static_cast<PhysObj*>(it->second));
            }
            list = std::move(remapped);
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
        for (auto& e : objects)
            e->world = this;
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
