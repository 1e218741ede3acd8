// The spatial index must change nothing: random scenes run side by side with and without
// it, and snapshots must replay exactly.
#include <gtest/gtest.h>

#include <random>

#include "tests/world_scene.h"
#include "world/breakable.h"
#include "world/button_po.h"
#include "world/dir_changer.h"
#include "world/trigger.h"

namespace {
using namespace scene;
using IndexTest = SceneTest;

// A crowded scene of every kind, with the odd far-away, huge, flat, negative, 16-bit-limit
// or beyond-32-bit box.
void BuildRandomScene(World& w, std::mt19937& rng, int count) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const std::string links[] = {"", "a", "b", "c"};
    for (int i = 0; i < count; ++i) {
        const int kind = pick(0, 9);
        std::unique_ptr<Entity> e;
        switch (kind) {
        case 0: e = std::make_unique<Entity>(); break;
        case 1: e = std::make_unique<Trigger>(); break;
        case 2: e = std::make_unique<Exit>(); break;
        case 3: e = std::make_unique<ButtonPO>(); break;
        case 4: {
            auto d = std::make_unique<DirChanger>();
            d->directionChange = pick(-4, 8) * 45;
            d->relative = pick(0, 1) == 1;
            e = std::move(d);
            break;
        }
        case 5: {
            auto b = std::make_unique<BreakablePO>();
            b->breakFall = pick(-1, 80);
            b->weight = pick(0, 10);
            b->breakWeight = pick(0, 2) == 0 ? -1 : pick(5, 40);
            b->cushioning = pick(0, 30);
            b->pinOnBreak = pick(0, 1) == 1;
            b->breakWidth = static_cast<std::uint16_t>(pick(0, 30));
            b->breakHeight = static_cast<std::uint16_t>(pick(0, 30));
            b->breakBoundX = pick(-4, 8);
            b->breakBoundY = pick(-4, 8);
            e = std::move(b);
            break;
        }
        case 6: {
            auto d = std::make_unique<Door>();
            d->breakFall = pick(0, 1) ? 100000 : -1;
            d->changeStateFrame = pick(0, 3);
            d->depthOffset = pick(-5, 5);
            e = std::move(d);
            break;
        }
        default: e = std::make_unique<PhysObj>(); break;
        }
        const int size = pick(0, 40);
        Image sprite = Sprite(std::max(size, 1), std::max(pick(0, 40), 1), kind == 6 ? 4 : 1, pick(0, 3));
        e->pinned = kind == 6 || pick(0, 3) == 0;
        e->SetImage(sprite, true);
        e->linkName = links[pick(0, 3)];
        e->linkTarget = links[pick(0, 3)];
        if (e->IsPhysical()) {
            auto* p = static_cast<PhysObj*>(e.get());
            p->solid = kind == 6 || pick(0, 3) > 0;
            p->missionCritical = pick(0, 9) == 0;
            const int odd = pick(0, 40);
            if (odd == 0)
                p->SetBounds(-300, -300, 1500, 1200);
            else if (odd == 1)
                p->SetBounds(0, 0, -3, 5);
            else if (odd == 2)
                p->SetBounds(2, 2, 0, 0);
            else if (odd == 3)
                p->SetBounds(pick(-8, 8), pick(-8, 8), pick(1, 60), pick(1, 60));
            if (pick(0, 400) == 0)  // edges beyond 32 bits
                p->SetBounds(2147483000, pick(-8, 8), pick(1, 60), pick(1, 60));
        }
        e->placementOffsetX = pick(-3, 3);
        e->placementOffsetY = pick(-3, 3);
        e->SetRotation(pick(-2, 5) * 90 + (pick(0, 5) == 0 ? pick(1, 89) : 0));
        if (pick(0, 50) == 0)
            e->SetPosition(pick(-20000, 20000), pick(-20000, 20000));
        else
            e->SetPosition(pick(-40, 660), pick(-40, 500));
        if (e->IsPhysical() && pick(0, 30) == 0) {
            // A cluster of boxes about the 16-bit limits, half of them beyond.
            auto* p = static_cast<PhysObj*>(e.get());
            p->SetBounds(32745 - p->x + pick(-30, 30), -32745 - p->y + pick(-30, 30), pick(1, 40), pick(1, 40));
        }
        const int dir = pick(0, 4);
        if (dir < 4)
            DirectionVector(dir * 90, e->dirX, e->dirY);
        w.Add(std::move(e));
    }
}

std::vector<std::int32_t> CollisionIds(const World& w) {
    std::vector<std::int32_t> ids;
    for (int i = 0; i < w.Count(); ++i) {
        const Entity* e = w.Get(i);
        ids.push_back(-1 - e->id);
        if (e->IsPhysical())
            for (const PhysObj* p : static_cast<const PhysObj*>(e)->collisions)
                ids.push_back(p->id);
    }
    return ids;
}

TEST_F(IndexTest, IndexedQueriesMatchThePlainScanInEveryScene) {
    std::mt19937 rng(20261210);
    int frames = 0, interesting = 0;
    for (int sceneNo = 0; sceneNo < 40; ++sceneNo) {
        World indexed, plain;
        indexed.queueDrawing = plain.queueDrawing = false;
        plain.broadPhase = false;
        BuildRandomScene(indexed, rng, 20 + sceneNo * 4);
        plain.Restore(indexed.Snapshot());
        for (int f = 0; f < 120; ++f) {
            if (f % 25 == 0) {
                const int gravity = std::uniform_int_distribution<int>(0, 3)(rng) * 90;
                indexed.SetGravity(gravity);
                plain.SetGravity(gravity);
            }
            const double step = f % 7 == 3 ? 2.5 : 1.0;
            indexed.Update(step);
            plain.Update(step);
            indexed.ClearGravityChanged();
            plain.ClearGravityChanged();
            ++frames;
            ASSERT_EQ(CollisionIds(indexed), CollisionIds(plain)) << "scene " << sceneNo << " frame " << f;
            ASSERT_EQ(indexed.StateHash(), plain.StateHash()) << "scene " << sceneNo << " frame " << f;
            for (int i = 0; i < indexed.Count(); ++i)
                if (indexed.Get(i)->IsPhysical() && !static_cast<PhysObj*>(indexed.Get(i))->collisions.empty())
                    ++interesting;
        }
    }
    EXPECT_GT(interesting, frames) << "the scenes must actually collide";
}

TEST_F(IndexTest, SnapshotRestoresTheSameFuture) {
    std::mt19937 rng(7);
    BuildRandomScene(world, rng, 120);
    Frame(world);
    const WorldSnapshot start = world.Snapshot();
    const std::uint64_t startHash = world.StateHash();
    auto run = [&] {
        std::vector<std::uint64_t> hashes;
        Turn(world, 180);
        for (int i = 0; i < 80; ++i) {
            Frame(world);
            hashes.push_back(world.StateHash());
        }
        hashes.push_back(static_cast<std::uint64_t>(world.Count()));
        hashes.push_back(static_cast<std::uint64_t>(world.levelStatus));
        return hashes;
    };
    const auto first = run();
    ASSERT_NE(world.StateHash(), startHash);
    world.Restore(start);
    EXPECT_EQ(world.StateHash(), startHash);
    EXPECT_EQ(run(), first);
    world.Restore(start);
    EXPECT_EQ(run(), first) << "a snapshot can be restored again";
}

// A solver restores onto the objects it just ran: they take the snapshot's state in place,
// and must play on exactly as fresh copies of it do.
TEST_F(IndexTest, RestoringOntoTheSameObjectsPlaysOnAsFreshCopies) {
    std::mt19937 rng(11);
    BuildRandomScene(world, rng, 90);
    // Plain boxes well inside the screen and nothing for the exits to take, so that every
    // object stays.
    for (int i = 0; i < world.Count(); ++i) {
        Entity* e = world.Get(i);
        e->SetPosition(100 + i * 37 % 400, 100 + i * 53 % 280);
        if (e->IsPhysical()) {
            auto* p = static_cast<PhysObj*>(e);
            p->missionCritical = false;
            p->SetBounds(0, 0, 20, 20);
        }
    }
    Frame(world);
    const WorldSnapshot start = world.Snapshot();
    const std::uint64_t startHash = world.StateHash();
    std::vector<Entity*> before;
    for (int i = 0; i < world.Count(); ++i)
        before.push_back(world.Get(i));
    Turn(world, 0);
    Frame(world);
    ASSERT_EQ(world.Count(), static_cast<int>(before.size())) << "the scene must keep its objects";
    ASSERT_NE(world.StateHash(), startHash);

    World fresh;
    fresh.queueDrawing = false;
    fresh.Restore(start);
    world.Restore(start);
    for (int i = 0; i < world.Count(); ++i)
        ASSERT_EQ(world.Get(i), before[static_cast<std::size_t>(i)]) << "restored in place";
    for (int i = 0; i < world.Count(); ++i) {
        if (!world.Get(i)->IsPhysical())
            continue;
        for (const PhysObj* p : static_cast<PhysObj*>(world.Get(i))->collisions)
            ASSERT_EQ(p->GetWorld(), &world) << "lists name the World's own objects";
    }
    ASSERT_EQ(world.StateHash(), fresh.StateHash());
    ASSERT_EQ(CollisionIds(world), CollisionIds(fresh));
    for (int f = 0; f < 100; ++f) {
        if (f % 30 == 0) {
            Turn(world, f * 3 % 360 / 90 * 90);
            Turn(fresh, f * 3 % 360 / 90 * 90);
        } else {
            Frame(world);
            Frame(fresh);
        }
        ASSERT_EQ(CollisionIds(world), CollisionIds(fresh)) << "frame " << f;
        ASSERT_EQ(world.StateHash(), fresh.StateHash()) << "frame " << f;
    }
}

TEST_F(IndexTest, RestoringDiscardsObjectsWithoutFailingTheLevel) {
    const WorldSnapshot empty = world.Snapshot();
    Put(world, {100, 100, 16, 16, true, false, true});
    world.Restore(empty);
    EXPECT_EQ(world.Count(), 0);
    EXPECT_EQ(world.levelStatus, LevelStatus::Playing);
    EXPECT_EQ(Put(world, {0, 0})->id, 0);
}

}  // namespace
