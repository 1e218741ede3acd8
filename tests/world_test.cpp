#include <gtest/gtest.h>

#include <vector>

#include "tests/world_scene.h"
#include "world/draw_queue.h"

namespace {
using namespace scene;
using WorldTest = SceneTest;

TEST_F(WorldTest, FallingCrateLandsFlushOnTheFloorAndStops) {
    PhysObj* crate = Put(world, {100, 1});
    Wall(world, 90, 100, 64, 16);
    Aim(*crate, 0, 1);
    bool sawStop = false;
    for (int i = 0; i < 60 && !sawStop; ++i) {
        Frame(world);
        sawStop = !crate->moving;
    }
    ASSERT_TRUE(sawStop);
    EXPECT_EQ(crate->y + crate->height, 100) << "bottom edge on the floor's top edge, not short of it";
    EXPECT_EQ(crate->posY, 84.0);
    EXPECT_EQ(crate->velY, 0.0);
    EXPECT_FALSE(world.AtRest()) << "the sub-step that stopped it changed the board";
    Frame(world);
    EXPECT_TRUE(world.AtRest()) << "the one after changed nothing";
}

// Gravity pulls the crate; the wall overlaps it only at the look-ahead.
TEST_F(WorldTest, CentreRuleDecidesWhichAxisAWallStops) {
    struct Case {
        const char* name;
        Placement crate, wall;
        double dirX, dirY;
        bool stopped;
        int x, y;  // crate position after one frame
    } cases[] = {
        {"landing on a corner below", {0, 0}, {14, 18, 16, 16, true, true}, 0, 1, true, 0, 2},
        {"sliding into a wall ahead", {2, 50}, {20, 0, 16, 60, true, true}, 1, 0, true, 4, 50},
        {"centre already past the wall's", {10, 50}, {20, 0, 16, 60, true, true}, 0, 1, false, 10, 53},
        {"non-solid wall", {0, 0}, {14, 18, 16, 16, false, true}, 0, 1, false, 0, 3},
    };
    for (const Case& c : cases) {
        World w;
        w.queueDrawing = false;
        PhysObj* crate = Put(w, c.crate);
        Put(w, c.wall);
        Aim(*crate, c.dirX, c.dirY);
        Frame(w);
        EXPECT_EQ(!crate->moving, c.stopped) << c.name;
        EXPECT_EQ(crate->x, c.x) << c.name;
        EXPECT_EQ(crate->y, c.y) << c.name;
    }
}

TEST_F(WorldTest, OverlapNeedsSharedAreaNotATouchingEdge) {
    struct Case {
        const char* name;
        Placement other;
        bool overlaps;
    } cases[] = {
        {"edge on the right", {116, 100}, false},
        {"edge below", {100, 116}, false},
        {"corner to corner", {116, 116}, false},
        {"one pixel in", {115, 100}, true},
        {"same place", {100, 100}, true},
        {"zero size inside", {105, 105, 0, 0}, true},
        {"zero size on the edge", {100, 100, 0, 0}, false},
    };
    PhysObj* box = Put(world, {100, 100});
    for (const Case& c : cases) {
        PhysObj* other = Put(world, c.other);
        EXPECT_EQ(world.ObjectsOverlapping(*box).size(), c.overlaps ? 1u : 0u) << c.name;
        world.Destroy(*other);
    }
}

TEST_F(WorldTest, UpdateOrderStartsFarthestFromGravityAndKeepsTiesInWorldOrder) {
    // ids 0..3 at x/y: 0 (50,50) 1 (10,90) 2 (50,50) 3 (90,10)
    Put(world, {50, 50, 16, 16, true, true});
    Put(world, {10, 90, 16, 16, true, true});
    Put(world, {50, 50, 16, 16, true, true});
    Put(world, {90, 10, 16, 16, true, true});
    struct Case {
        int gravity;
        std::vector<int> ids;
    } cases[] = {
        {0, {1, 0, 2, 3}}, {90, {3, 0, 2, 1}}, {180, {3, 0, 2, 1}}, {270, {1, 0, 2, 3}}, {45, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        world.SetGravity(c.gravity);
        Frame(world);
        std::vector<int> ids;
        for (Entity* e : world.UpdateOrder())
            ids.push_back(e->id);
        EXPECT_EQ(ids, c.ids) << "gravity " << c.gravity;
    }
}

// A frame runs whole sub-steps of 1.0 and the rest last; a step of 1.0 is one sub-step.
// Frames run whole sub-steps only; what a frame's step leaves over is carried to the next.
TEST_F(WorldTest, FrameStepsRunWholeSubStepsAndCarryTheRest) {
    struct Case {
        std::vector<double> steps;
        std::vector<double> distances;  // after each frame
    } cases[] = {{{1.0}, {3.0}},
                 {{2.0}, {6.0}},
                 {{2.3, 0.7}, {6.0, 9.0}},
                 {{0.5, 0.5, 0.5}, {0.0, 3.0, 3.0}},
                 {{0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 3.0}},
                 {{0.0, -1.0}, {0.0, 0.0}}};
    for (const Case& c : cases) {
        World w;
        w.queueDrawing = false;
        PhysObj* crate = Put(w, {100, 100});
        Aim(*crate, 0, 1);
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            w.Update(c.steps[i]);
            EXPECT_NEAR(crate->posY - 100, c.distances[i], 1e-9) << "frame " << i << " of step " << c.steps[i];
            EXPECT_EQ(w.subStep, 1.0);
        }
    }
}

TEST_F(WorldTest, LeavingTheScreenAreaDestroysAndAMissionCriticalLossFailsTheLevel) {
    PhysObj* runner = Put(world, {638, 100});
    Aim(*runner, 1, 0);
    Frame(world);
    EXPECT_EQ(world.Count(), 0) << "at x = 641 it is gone in the same sub-step";
    EXPECT_EQ(world.levelStatus, LevelStatus::Playing);

    Put(world, {100, -20, 16, 16});  // still partly on screen: y + h = -4 < 0 is off
    PhysObj* hero = Put(world, {100, 476, 16, 16, true, false, true});
    Aim(*hero, 0, 1);
    Frame(world);
    Frame(world);
    Frame(world);
    EXPECT_EQ(world.Count(), 0);
    EXPECT_EQ(world.levelStatus, LevelStatus::Failed);
}

// The level fails when the World itself destroys a mission-critical object, never when
// one merely leaves it.
TEST_F(WorldTest, OnlyTheWorldDestroyingAMissionCriticalObjectFailsTheLevel) {
    struct Case {
        const char* name;
        void (*remove)(World& w, PhysObj& hero, PhysObj& crate);
        LevelStatus status;
    } cases[] = {
        {"destroyed", [](World& w, PhysObj& hero, PhysObj&) { w.Destroy(hero); }, LevelStatus::Failed},
        {"cleared", [](World& w, PhysObj&, PhysObj&) { w.Clear(); }, LevelStatus::Failed},
        {"an ordinary one destroyed", [](World& w, PhysObj&, PhysObj& crate) { w.Destroy(crate); }, LevelStatus::Playing},
        {"taken out and dropped", [](World& w, PhysObj& hero, PhysObj&) { w.Take(hero).reset(); }, LevelStatus::Playing},
        {"dropped by a restore", [](World& w, PhysObj&, PhysObj&) { w.Restore(World().Snapshot()); }, LevelStatus::Playing},
    };
    for (const Case& c : cases) {
        World w;
        w.queueDrawing = false;
        PhysObj* crate = Put(w, {0, 0});
        PhysObj* hero = Put(w, {100, 100, 16, 16, true, false, true});
        c.remove(w, *hero, *crate);
        EXPECT_EQ(w.levelStatus, c.status) << c.name;
    }

    // Taken to another World, it is that World's loss.
    World other;
    PhysObj* hero = Put(world, {100, 100, 16, 16, true, false, true});
    Entity* moved = other.AddEntity(world.Take(*hero));
    other.Destroy(*moved);
    EXPECT_EQ(other.levelStatus, LevelStatus::Failed);
    EXPECT_EQ(world.levelStatus, LevelStatus::Playing);
}

TEST_F(WorldTest, TurningTheBoxFollowsThePicture) {
    struct Case {
        int angle;
        int bx, by, w, h;
    } cases[] = {{90, 4, 4, 20, 10}, {180, 4, 8, 10, 20}, {270, 8, 2, 20, 10}, {-90, 8, 2, 20, 10}, {450, 4, 4, 20, 10}};
    for (const Case& c : cases) {
        PhysObj o;
        o.SetImage(Sprite(16, 32), false);
        o.SetBounds(2, 4, 10, 20);
        o.SetRotation(c.angle);
        EXPECT_EQ(o.boundX, c.bx) << c.angle;
        EXPECT_EQ(o.boundY, c.by) << c.angle;
        EXPECT_EQ(o.width, c.w) << c.angle;
        EXPECT_EQ(o.height, c.h) << c.angle;
        o.SetRotation(0);
        EXPECT_EQ(o.boundX, 2) << "and back upright from " << c.angle;
        EXPECT_EQ(o.boundY, 4);
    }
    Entity plain;
    plain.SetImage(Sprite(16, 32), true);
    plain.SetRotation(90);
    EXPECT_EQ(plain.image.angle, 90);
    EXPECT_EQ(plain.width, 16) << "a plain entity keeps its upright box";
    EXPECT_EQ(plain.height, 32);
}

TEST_F(WorldTest, GravityTakesEffectFromTheSecondSubStepAndPinnedObjectsStay) {
    PhysObj* crate = Put(world, {100, 100});
    PhysObj* pin = Put(world, {200, 100, 16, 16, true, true});
    world.SetGravity(0);
    world.Update(1.0);
    EXPECT_EQ(crate->x, 100) << "the first sub-step still used the old direction";
    EXPECT_FALSE(crate->moving);
    world.Update(1.0);
    EXPECT_EQ(crate->x, 103);
    world.ClearGravityChanged();
    Frame(world);
    EXPECT_EQ(crate->x, 106) << "and stays the crate's own direction afterwards";
    EXPECT_EQ(pin->x, 200);
    EXPECT_FALSE(pin->moving);
}

TEST_F(WorldTest, RotateToVelocityTurnsThePictureToFaceTheMotion) {
    auto o = std::make_unique<Entity>();
    o->rotateToVelocity = true;
    o->SetImage(Sprite(16, 8), true);
    o->SetPosition(100, 100);
    Aim(*o, -1, 0);
    Entity* e = world.Add(std::move(o));
    Frame(world);
    EXPECT_EQ(e->image.angle, 270);
}

TEST_F(WorldTest, LinksQueriesIdsAndClear) {
    Entity* a = Put<Entity>(world, {0, 0});
    PhysObj* b = Put(world, {8, 8});
    Put(world, {200, 200});
    a->linkName = "gate";
    b->linkName = "gate";
    EXPECT_EQ(world.FindByLinkName("gate"), (std::vector<Entity*>{a, b}));
    EXPECT_TRUE(world.FindByLinkName("").empty()) << "objects without a link name are never found";
    EXPECT_TRUE(world.FindByLinkName("nothing").empty());
    EXPECT_EQ(world.ObjectsOverlapping(*b), std::vector<Entity*>{a}) << "any kind, itself excluded";
    EXPECT_TRUE(world.ObjectsOverlappingAt(*b, 8, 8).empty()) << "only physical objects at a look-ahead";
    EXPECT_EQ(world.ObjectsOverlappingAt(*b, 190, 190).size(), 1u);

    b->missionCritical = true;
    world.Clear();
    EXPECT_EQ(world.Count(), 0);
    EXPECT_EQ(world.levelStatus, LevelStatus::Failed) << "clearing destroys mission-critical objects too";
    EXPECT_EQ(Put(world, {0, 0})->id, 0);
}

TEST_F(WorldTest, FrozenWorldDrawsButNeitherMovesNorAnimates) {
    world.queueDrawing = true;
    FrameDrawQueue().Clear();
    auto o = std::make_unique<PhysObj>();
    o->SetImage(Sprite(16, 16, 4, 1), true);
    o->SetPosition(100, 100);
    Aim(*o, 0, 1);
    PhysObj* crate = world.Add(std::move(o));
    world.frozen = true;
    world.Update(1.0);
    EXPECT_EQ(crate->y, 100);
    EXPECT_EQ(crate->image.frame, 0);
    EXPECT_EQ(FrameDrawQueue().Size(), 1u);
    world.frozen = false;
    world.Update(1.0);
    EXPECT_EQ(crate->y, 103);
    EXPECT_EQ(crate->image.frame, 1);
    FrameDrawQueue().Clear();
}

TEST_F(WorldTest, StrangeContentNeitherCrashesNorMisbehaves) {
    // Far away, huge, negative-sized, zero-sized and oddly turned objects in one scene.
    Put(world, {30000, -30000});
    PhysObj* huge = Put(world, {0, 0, 16, 16, true, true});
    huge->SetBounds(-100000, -100000, 200000, 200000);
    PhysObj* negative = Put(world, {300, 300});
    negative->SetBounds(0, 0, -5, -5);
    PhysObj* flat = Put(world, {320, 200, 0, 0});
    flat->SetRotation(123456789);
    PhysObj* crate = Put(world, {200, 100});
    crate->SetRotation(-2147483647 - 1);
    Aim(*crate, 0, 1);
    for (int i = 0; i < 5; ++i)
        world.Update(3.7);
    EXPECT_EQ(world.Count(), 4) << "only the far object is gone";
    world.Update(-5.0);
    world.Update(std::numeric_limits<double>::quiet_NaN());
    world.Clear();
}

}  // namespace
