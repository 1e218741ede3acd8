#include <gtest/gtest.h>

#include "tests/world_scene.h"
#include "world/breakable.h"
#include "world/button_po.h"
#include "world/dir_changer.h"
#include "world/trigger.h"

namespace {
using namespace scene;
using ObjectsTest = SceneTest;

// Every pointer in an object's collisions still names a live object of the World.
bool CollisionsAreLive(const World& world) {
    for (int i = 0; i < world.Count(); ++i) {
        Entity* e = world.Get(i);
        if (!e->IsPhysical())
            continue;
        for (PhysObj* p : static_cast<PhysObj*>(e)->collisions) {
            bool found = false;
            for (int j = 0; j < world.Count(); ++j)
                found = found || world.Get(j) == p;
            if (!found)
                return false;
        }
    }
    return true;
}

TEST_F(ObjectsTest, TriggerIsActiveForItsTargetsOrElseForMissionCriticalObjects) {
    struct Case {
        const char* name;
        std::string target;
        bool crateCritical;
        std::string crateLink;
        std::string elsewhereLink;  // carried by a far object, or by a plain picture on the trigger
        bool pictureOnTrigger;
        bool active;
    } cases[] = {
        {"no target, critical crate", "", true, "", "", false, true},
        {"no target, ordinary crate", "", false, "", "", false, false},
        {"target nobody carries", "ghost", true, "", "", false, true},
        {"linked crate", "box", false, "box", "", false, true},
        {"critical crate, target elsewhere", "box", true, "other", "box", false, false},
        {"target is only a picture", "pic", false, "", "pic", true, false},
    };
    for (const Case& c : cases) {
        World w;
        w.queueDrawing = false;
        Wall(w, 80, 148, 80, 16);
        Trigger* trigger = Put<Trigger>(w, {100, 110, 32, 32, false, true});
        trigger->linkTarget = c.target;
        PhysObj* crate = Put(w, {108, 132, 16, 16, true, false, c.crateCritical});
        crate->linkName = c.crateLink;
        Aim(*crate, 0, 1);
        if (!c.elsewhereLink.empty()) {
            Entity* other = c.pictureOnTrigger ? Put<Entity>(w, {104, 112}) : Wall(w, 400, 400, 16, 16);
            other->linkName = c.elsewhereLink;
        }
        Frame(w);
        Frame(w);
        EXPECT_EQ(trigger->active, c.active) << c.name;
    }
}

TEST_F(ObjectsTest, StillOnlyTriggerWaitsUntilTheObjectStops) {
    for (bool stillOnly : {true, false}) {
        World w;
        w.queueDrawing = false;
        Wall(w, 80, 148, 80, 16);
        Trigger* trigger = Put<Trigger>(w, {100, 80, 32, 64, false, true});
        trigger->stillOnly = stillOnly;
        trigger->linkTarget = "box";
        PhysObj* crate = Put(w, {108, 40});
        crate->linkName = "box";
        Aim(*crate, 0, 1);
        bool activeWhileSliding = false;
        for (int i = 0; i < 60; ++i) {
            Frame(w);
            activeWhileSliding = activeWhileSliding || (crate->moving && trigger->active);
        }
        EXPECT_EQ(activeWhileSliding, !stillOnly);
        EXPECT_TRUE(trigger->active) << "at rest on it";
    }
}

Exit* PutExit(World& w) {
    Exit* exit = Put<Exit>(w, {100, 100, 32, 32, false, true});
    exit->idleImage = exit->image;
    exit->activeImage = Sprite(32, 32, 4, 2);
    exit->teleportFrame = 2;
    return exit;
}

TEST_F(ObjectsTest, ExitTakesAnObjectRestingOnItWhenTheAnimationReachesTheTeleportFrame) {
    Exit* exit = PutExit(world);
    Wall(world, 80, 132, 80, 16);
    PhysObj* crate = Put(world, {108, 116, 16, 16, true, false, true});
    Trigger* witness = Put<Trigger>(world, {104, 120, 24, 12, false, true});  // later in the pass than the exit
    Aim(*crate, 0, 1);
    Frame(world);
    ASSERT_TRUE(exit->teleporting);
    EXPECT_FALSE(world.AtRest()) << "a busy exit holds the turn";
    for (int i = 0; i < 3; ++i) {
        Frame(world);
        EXPECT_EQ(world.levelStatus, LevelStatus::Playing) << "not before the teleport frame, frame " << i;
    }
    const int before = world.Count();
    Frame(world);
    EXPECT_EQ(world.levelStatus, LevelStatus::Complete);
    EXPECT_EQ(world.Count(), before - 1);
    EXPECT_TRUE(CollisionsAreLive(world)) << "the taken object is in nobody's list any more";
    EXPECT_FALSE(witness->active);
    for (int i = 0; i < 4; ++i)
        Frame(world);
    EXPECT_FALSE(exit->teleporting) << "back to idle after the last frame";
    EXPECT_EQ(exit->image.frameCount, 1);
}

TEST_F(ObjectsTest, ExitIgnoresMovingAndBrokenObjects) {
    for (bool broken : {false, true}) {
        World w;
        w.queueDrawing = false;
        Exit* exit = PutExit(w);
        if (broken) {
            Wall(w, 80, 132, 80, 16);
            auto* crate = Put<BreakablePO>(w, {108, 116, 16, 16, true, false, true});
            crate->breakFall = 1000;
            crate->breakWidth = 16;
            crate->breakHeight = 8;
            crate->breakBoundY = 8;
            crate->Break();
            Aim(*crate, 0, 1);
        } else {
            Aim(*Put(w, {108, 40, 16, 16, true, false, true}), 0, 1);  // falls straight through
        }
        bool everTeleported = false;
        for (int i = 0; i < 200; ++i) {
            Frame(w);
            everTeleported = everTeleported || exit->teleporting;
        }
        EXPECT_FALSE(everTeleported) << (broken ? "broken" : "moving");
        EXPECT_EQ(w.levelStatus, LevelStatus::Failed) << "lost or broken, never complete";
    }
}

TEST_F(ObjectsTest, ButtonsArePressedByUnpinnedObjectsAndOnePressStaysDown) {
    struct Case {
        const char* name;
        bool cratePinned;
        bool onePress;
        bool pressedOn;
        bool pressedAfter;
    } cases[] = {
        {"ordinary", false, false, true, false},
        {"one press", false, true, true, true},
        {"pinned crate", true, false, false, false},
    };
    for (const Case& c : cases) {
        World w;
        w.queueDrawing = false;
        Wall(w, 80, 148, 80, 16);
        auto* button = Put<ButtonPO>(w, {100, 140, 32, 8, false, true});
        button->onePress = c.onePress;
        button->unpressedImage = button->image;
        button->pressedImage = Sprite(32, 4);
        PhysObj* crate = Put(w, {108, 132, 16, 16, true, c.cratePinned});
        Aim(*crate, 0, 1);
        Frame(w);
        EXPECT_EQ(button->pressed, c.pressedOn) << c.name;
        EXPECT_EQ(button->image.frameHeight, c.pressedOn ? 4 : 8) << c.name;
        EXPECT_EQ(button->height, 8) << "the box stays when the picture changes";
        Turn(w, 270);
        for (int i = 0; i < 10; ++i)
            Frame(w);
        EXPECT_EQ(button->pressed, c.pressedAfter) << c.name;
    }
}

TEST_F(ObjectsTest, DirectionChangerSendsASolidObjectItsNewWay) {
    struct Case {
        const char* name;
        int change;
        bool relative;
        double dirX, dirY, solid;
        double newX, newY;
    } cases[] = {
        {"absolute right", 0, false, 0, 1, true, 1, 0},
        {"relative turn from right", 90, true, 1, 0, true, 0, 1},
        {"relative turn from down", 90, true, 0, 1, true, -1, 0},
        {"negative turn stops", -90, true, 1, 0, true, 0, 0},
        {"450 acts as 90", 450, true, 1, 0, true, 0, 1},
        {"absolute 450", 450, false, -1, 0, true, 0, 1},
        {"standing still", 180, false, 0, 0, true, -1, 0},
        {"non-solid passes", 0, false, 0, 1, false, 0, 1},
    };
    for (const Case& c : cases) {
        World w;
        w.queueDrawing = false;
        auto* changer = Put<DirChanger>(w, {200, 200, 16, 16, false, true});
        changer->directionChange = c.change;
        changer->relative = c.relative;
        PhysObj* crate = Put(w, {200, 200, 16, 16, c.solid != 0});
        Aim(*crate, c.dirX, c.dirY);
        Frame(w);
        EXPECT_EQ(crate->dirX, c.newX) << c.name;
        EXPECT_EQ(crate->dirY, c.newY) << c.name;
    }
}

TEST_F(ObjectsTest, RedirectedObjectIsLinedUpOnTheChangersAnchor) {
    auto changer = std::make_unique<DirChanger>();
    changer->pinned = true;
    changer->SetImage(Sprite(16, 16), true);
    changer->relative = false;
    changer->SetPosition(200, 200);
    world.Add(std::move(changer));
    auto crate = std::make_unique<PhysObj>();
    crate->solid = true;
    crate->SetImage(Sprite(12, 12), true);
    crate->placementOffsetX = crate->placementOffsetY = 2;
    crate->SetPosition(202, 150);
    Aim(*crate, 0, 1);
    PhysObj* c = world.Add(std::move(crate));
    for (int i = 0; i < 40; ++i)
        Frame(world);
    EXPECT_EQ(c->y, 202) << "anchor on the changer's anchor";
    EXPECT_GT(c->x, 202);
    EXPECT_EQ(c->dirX, 1.0);
}

// The turn's frame runs both redirection points; the object resting on the changer is
// still turned only once.
TEST_F(ObjectsTest, DirectionChangerRedirectsOncePerTurn) {
    auto* changer = Put<DirChanger>(world, {200, 200, 16, 16, false, true});
    changer->directionChange = 90;
    PhysObj* crate = Put(world, {200, 200});
    Frame(world);
    ASSERT_EQ(crate->velX, 0.0);
    EXPECT_FALSE(crate->moving);
    Turn(world, 0);
    EXPECT_EQ(crate->dirX, 0.0);
    EXPECT_EQ(crate->dirY, 1.0) << "right turned by 90 once: down";
    EXPECT_EQ(crate->y, 203);
}

BreakablePO* PutCrate(World& w, const Placement& s, int breakFall = 1000) {
    auto* b = Put<BreakablePO>(w, s);
    b->breakFall = breakFall;
    b->breakWidth = 16;
    b->breakHeight = 8;
    b->breakBoundY = 8;
    Aim(*b, 0, 1);
    return b;
}

TEST_F(ObjectsTest, CushioningBelowSoftensALanding) {
    for (int cushioning : {40, 20}) {
        World w;
        w.queueDrawing = false;
        BreakablePO* crate = PutCrate(w, {100, 0}, 60);
        BreakablePO* floor = PutCrate(w, {80, 106, 64, 16, true, true});
        floor->cushioning = cushioning;
        for (int i = 0; i < 40; ++i)
            Frame(w);
        EXPECT_EQ(crate->broken, cushioning == 20) << "90 pixels onto cushioning " << cushioning;
        EXPECT_FALSE(floor->broken);
    }
}

TEST_F(ObjectsTest, LoadPassesDownAStackUntilTheBottomCrateBreaks) {
    for (int above : {2, 3}) {
        World w;
        w.queueDrawing = false;
        Wall(w, 80, 148, 80, 16);
        BreakablePO* bottom = PutCrate(w, {100, 132});
        bottom->breakWeight = 30;
        for (int i = 0; i < above; ++i)
            PutCrate(w, {100, 116 - 16 * i})->weight = 10;
        Frame(w);
        Frame(w);
        EXPECT_EQ(bottom->broken, above == 3) << above << " crates of 10 on a limit of 30";
    }
}

// Gravity sorts the passes, but a current may push a stack the other way: its whole weight
// still reaches the plank at its head in the same sub-step, and the board is never at rest
// with the plank whole.
TEST_F(ObjectsTest, AStacksWholeWeightReachesWhatItLeansOnInOneSubStepWhicheverWayItLies) {
    for (int way : {90, 270}) {
        World w;
        w.queueDrawing = false;
        const bool up = way == 270;
        BreakablePO* plank = PutCrate(w, {100, up ? 100 : 164, 16, 16, true, true});
        plank->breakWeight = 2;
        for (int y : {116, 132}) {
            BreakablePO* crate = PutCrate(w, {100, up ? y : 264 - y});
            crate->weight = 1;
            Aim(*crate, 0, up ? -1 : 1);
        }
        Frame(w);
        EXPECT_TRUE(plank->broken) << (up ? "leaning up, against the order of the passes" : "leaning down");
    }
}

// Two crates pushed into each other lean on each other; their loads stay what they weigh
// together instead of growing with every sub-step, and the board comes to rest.
TEST_F(ObjectsTest, CratesLeaningOnEachOtherCarryTheirWeightOnceAndComeToRest) {
    BreakablePO* left = PutCrate(world, {100, 100});
    BreakablePO* right = PutCrate(world, {116, 100});
    for (BreakablePO* crate : {left, right})
        crate->weight = 1;
    Aim(*left, 1, 0);
    Aim(*right, -1, 0);
    EXPECT_NE(RunUntilRest(world), -1);
    for (int i = 0; i < 50; ++i)
        Frame(world);
    EXPECT_TRUE(world.AtRest());
    EXPECT_EQ(left->load, 2);
    EXPECT_EQ(right->load, 2);
}

TEST_F(ObjectsTest, SlidingBehindAMovingCratePassesNoLoad) {
    for (bool frontPinned : {false, true}) {
        World w;
        w.queueDrawing = false;
        BreakablePO* back = PutCrate(w, {100, 200});
        back->weight = 10;
        BreakablePO* front = PutCrate(w, {117, 200, 16, 16, true, frontPinned});
        front->breakWeight = 5;
        Aim(*back, 1, 0);
        Aim(*front, 1, 0);
        Frame(w);
        EXPECT_EQ(front->broken, frontPinned) << (frontPinned ? "pressing on a still crate" : "same direction");
        EXPECT_FALSE(back->broken);
    }
}

TEST_F(ObjectsTest, BrokenObjectStaysAndMayBePinnedWhereItBroke) {
    for (bool pinOnBreak : {true, false}) {
        World w;
        w.queueDrawing = false;
        Wall(w, 80, 106, 64, 16);
        BreakablePO* crate = PutCrate(w, {100, 60, 16, 16, true, false, true}, 10);
        crate->pinOnBreak = pinOnBreak;
        for (int i = 0; i < 20; ++i)
            Frame(w);
        ASSERT_TRUE(crate->broken);
        EXPECT_EQ(w.levelStatus, LevelStatus::Failed) << "a mission-critical break fails the level";
        EXPECT_EQ(w.Count(), 2) << "but the object stays";
        EXPECT_EQ(crate->height, 8);
        EXPECT_EQ(crate->boundY, 8);
        Turn(w, 270);
        for (int i = 0; i < 5; ++i)
            Frame(w);
        EXPECT_EQ(crate->y == 90, pinOnBreak) << "y " << crate->y;
    }
}

struct DoorScene {
    explicit DoorScene(World& w) : world(w) {
        Wall(w, 0, 148, 300, 16);
        button = Put<ButtonPO>(w, {40, 140, 16, 8, false, true});
        button->linkName = "b";
        auto d = std::make_unique<Door>();
        d->SetImage(Sprite(16, 48, 5, 1), true);
        d->solid = true;
        d->breakFall = 1000;
        d->changeStateFrame = 2;
        d->depthOffset = 7;
        d->linkTarget = "b";
        d->SetPosition(100, 100);
        door = w.Add(std::move(d));
        door->image.loop = false;
        presser = Put(w, {40, 132});
        Aim(*presser, 0, 1);
    }
    std::string Step() {
        Frame(world);
        return std::to_string(door->image.frame) + (door->solid ? "S" : "-");
    }
    World& world;
    ButtonPO* button;
    Door* door;
    PhysObj* presser;
};

TEST_F(ObjectsTest, DoorOpensAndClosesThroughTheSameFrames) {
    DoorScene s(world);
    std::string opening, closing;
    for (int i = 0; i < 5; ++i)
        opening += s.Step() + " ";
    EXPECT_EQ(opening, "0S 2S 3- 4- 4- ") << "passable from frame 2 while opening";
    EXPECT_EQ(s.door->drawDepth, 7);
    world.Destroy(*s.presser);
    for (int i = 0; i < 5; ++i)
        closing += s.Step() + " ";
    EXPECT_EQ(closing, "4- 2- 1S 0S 0S ") << "solid again at frame 2 while closing";
    EXPECT_EQ(s.door->drawDepth, 0);
    Frame(world);
    EXPECT_TRUE(world.AtRest());
}

TEST_F(ObjectsTest, DoorStaysOpenWhileACrateStandsInIt) {
    DoorScene s(world);
    for (int i = 0; i < 5; ++i)
        s.Step();
    PhysObj* inside = Put(world, {100, 132});
    Aim(*inside, 0, 1);
    world.Destroy(*s.presser);
    for (int i = 0; i < 8; ++i)
        s.Step();
    EXPECT_TRUE(s.door->open);
    EXPECT_FALSE(s.door->solid);
    world.Destroy(*inside);
    for (int i = 0; i < 8; ++i)
        s.Step();
    EXPECT_FALSE(s.door->open);
    EXPECT_TRUE(s.door->solid);
}

}  // namespace
