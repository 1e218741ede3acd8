// Object kinds and building a level into the World, from the committed test module.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string_view>
#include <vector>

#include "game/screens.h"
#include "play/play.h"
#include "app/game_state.h"
#include "content/object_kinds.h"
#include "content/object_templates.h"
#include "tests/content_fixture.h"
#include "world/breakable.h"
#include "world/button_po.h"
#include "world/dir_changer.h"
#include "world/trigger.h"
#include "world/world.h"

namespace {

class ContentObjectsTest : public ContentTest {
protected:
    void SetUp() override {
        ContentTest::SetUp();
        LayOutFixtureModule(dir.Path());
        mixer.emplace();
        ASSERT_TRUE(LoadAllModules());
        TheWorld().Clear();
    }
    void TearDown() override {
        TheWorld().Clear();
        TheWorld().levelStatus = LevelStatus::NotPlaying;
        ThePlaySession().levelName = "Main/Level 1";
        ContentTest::TearDown();
        mixer.reset();
    }

    template <class T>
    std::unique_ptr<T> Make(const std::string& kind, const std::string& name) {
        return std::unique_ptr<T>(static_cast<T*>(Registry().NewObject(kind, name).release()));
    }

    std::optional<OpenMixer> mixer;
};

TEST_F(ContentObjectsTest, PlainEntitiesAlwaysTakeTheirBoxFromThePicture) {
    auto reed = Registry().NewObject("Entity", "Main/Reed");
    EXPECT_FALSE(reed->IsPhysical());
    EXPECT_EQ(reed->width, 6) << "the opaque width of the 8-wide picture, not BoundingWidth 3";
    EXPECT_TRUE(reed->pinned);
    EXPECT_EQ(reed->drawDepth, 5);
    EXPECT_EQ(reed->templateName, "Main/Reed");
    EXPECT_EQ(reed->image.name, "Main/Reed Sprite");
}

TEST_F(ContentObjectsTest, AnExplicitBoxTurnsAutoBoundOffAndMissingKeysTakeDefaults) {
    std::istringstream text("[PhysObj]\nName = Slab\nSpriteName = Main/Crate Sprite\nAutoBound = 1\nBoundingWidth = 10\n");
    PhysObjTemplate slab(text, "Main/");
    EXPECT_FALSE(slab.autoBound);
    EXPECT_TRUE(slab.solid);
    EXPECT_FALSE(slab.missionCritical);
    Registry().Register(std::make_unique<PhysObjTemplate>(text, "Main/"));
    auto object = Make<PhysObj>("PhysObj", "Main/Slab");
    EXPECT_EQ(object->boundX, 0);
    EXPECT_EQ(object->boundY, 0);
    EXPECT_EQ(object->width, 10);
    EXPECT_EQ(object->height, 0);
    EXPECT_TRUE(object->solid);

    auto crate = Make<PhysObj>("PhysObj", "Main/Crate");
    EXPECT_EQ(crate->boundX, 1) << "automatic bounds follow the opaque pixels";
    EXPECT_EQ(crate->width, 14);
    EXPECT_TRUE(crate->missionCritical);
    EXPECT_TRUE(crate->rotateToVelocity);
    EXPECT_EQ(crate->placementOffsetX, 8);
    EXPECT_EQ(crate->placementOffsetY, -4);
}

TEST_F(ContentObjectsTest, SpecialKindsTakeOnlyTheKeysTheirObjectsUse) {
    auto trigger = Make<Trigger>("Trigger", "Main/Marker");
    EXPECT_FALSE(trigger->solid) << "a trigger is never solid";
    EXPECT_TRUE(trigger->stillOnly);

    // Exits, buttons and changers keep the flags of a new object.
    Exit freshExit;
    auto exit = Make<Exit>("Exit", "Main/Heron");
    EXPECT_EQ(exit->solid, freshExit.solid);
    EXPECT_EQ(exit->missionCritical, freshExit.missionCritical);
    EXPECT_TRUE(exit->hasIdleImage && exit->hasActiveImage && exit->hasTeleportSound);
    EXPECT_EQ(exit->activeImage.name, "Main/Heron Active Sprite");
    EXPECT_FALSE(exit->activeImage.loop);
    EXPECT_EQ(exit->teleportFrame, 2);

    ButtonPO freshButton;
    auto button = Make<ButtonPO>("ButtonPO", "Main/Plate");
    EXPECT_EQ(button->solid, freshButton.solid);
    EXPECT_EQ(button->missionCritical, freshButton.missionCritical);
    EXPECT_EQ(button->unpressedImage.name, "Main/Plate Sprite");
    EXPECT_EQ(button->pressedImage.name, "Main/Plate Down Sprite");
    EXPECT_TRUE(button->hasPressSound);
    EXPECT_TRUE(button->onePress);

    DirChanger freshChanger;
    auto changer = Make<DirChanger>("DirChanger", "Main/Arrow");
    EXPECT_EQ(changer->solid, freshChanger.solid);
    EXPECT_EQ(changer->missionCritical, freshChanger.missionCritical);
    EXPECT_EQ(changer->directionChange, 270);
    EXPECT_TRUE(changer->relative) << "relative unless the kind says otherwise";

    auto jar = Make<BreakablePO>("BreakablePO", "Main/Jar");
    EXPECT_EQ(jar->width, 20);
    EXPECT_EQ(jar->breakWidth, 20) << "the break box defaults to the bounding box";
    EXPECT_EQ(jar->breakHeight, 12);
    EXPECT_EQ(jar->cushioning, 3);
    EXPECT_EQ(jar->breakFall, 96);
    EXPECT_EQ(jar->breakWeight, -1);
    EXPECT_EQ(jar->weight, 2);
    EXPECT_TRUE(jar->pinOnBreak && jar->hasBreakImage && jar->hasBreakSound);
    EXPECT_TRUE(jar->solid);

    auto gate = Make<Door>("Door", "Main/Gate");
    EXPECT_EQ(gate->cushioning, 0) << "a door ignores Cushioning";
    EXPECT_EQ(gate->breakWeight, 5);
    EXPECT_EQ(gate->changeStateFrame, 3);
    EXPECT_EQ(gate->depthOffset, 2);
    EXPECT_TRUE(gate->hasOpenSound);
    EXPECT_FALSE(gate->hasCloseSound);
    EXPECT_FALSE(gate->hasBreakImage);
    EXPECT_EQ(gate->breakWidth, 0);
    EXPECT_EQ(gate->breakHeight, 4);
    EXPECT_TRUE(gate->pinned);
}

TEST_F(ContentObjectsTest, NamesThatNameNothingFailWhenTheKindIsMade) {
    struct Case {
        const char* section;
        const char* error;
    };
    const Case cases[] = {
        {"[PhysObj]\nName = K\nSpriteName = Crate Sprite\n", "Sprite \"Crate Sprite\" not found!"},
        {"[Entity]\nName = K\n", "Sprite \"\" not found!"},
        {"[ButtonPO]\nName = K\nSpriteName = Main/Plate Sprite\n", "Sprite \"\" not found!"},
        {"[ButtonPO]\nName = K\nSpriteName = Main/Plate Sprite\nPressedSpriteName = Main/Plate Sprite\nPressedSoundPath = Fixture/Splash.wav\n",
         "Sound \"Fixture/Splash.wav\" not found!"},
        {"[Exit]\nName = K\nSpriteName = Main/Heron Sprite\nActiveSpriteName = Main/Gone\n", "Sprite \"Main/Gone\" not found!"},
        {"[Door]\nName = K\nSpriteName = Main/Gate Sprite\nCloseSoundName = Main/Creak\n", "Sound \"Main/Creak\" not found!"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(ErrorOf([&] { LoadFile("./Modules/Main/k.ini", c.section); }), "") << c.section;
        std::string kind = std::string(c.section).substr(1, std::string(c.section).find(']') - 1);
        EXPECT_EQ(ErrorOf([&] { Registry().NewObject(kind, "Main/K"); }), c.error) << c.section;
    }
}

TEST_F(ContentObjectsTest, ALevelBuildsIntoTheWorldInFileOrderWithOffsetsLinksAndRotations) {
    ThePlaySession().turns = 3;
    BuildLevel("Main/Reed Bank");
    World& world = TheWorld();
    ASSERT_EQ(world.Count(), 8);
    const char* kinds[] = {"Main/Reed", "Main/Crate", "Main/Marker", "Main/Heron",
                           "Main/Plate", "Main/Arrow", "Main/Jar",    "Main/Gate"};
    for (int i = 0; i < world.Count(); ++i)
        EXPECT_EQ(world.Get(i)->templateName, kinds[i]) << i;

    Entity* crate = world.Get(1);
    EXPECT_EQ(crate->x, 108);
    EXPECT_EQ(crate->y, 96);
    EXPECT_EQ(crate->rotation, 90);
    EXPECT_EQ(crate->image.angle, 90);
    EXPECT_EQ(crate->linkName, "crate");
    EXPECT_EQ(crate->linkTarget, "");

    Entity* gate = world.Get(7);
    EXPECT_EQ(gate->x, 100);
    EXPECT_EQ(gate->y, 64);
    EXPECT_EQ(gate->linkName, "gate");
    EXPECT_EQ(gate->linkTarget, "b(c)");
    EXPECT_EQ(gate->width, 30) << "the 14x30 opaque box of the gate, turned a quarter";
    EXPECT_EQ(world.FindByLinkName("shore").size(), 1u);

    EXPECT_EQ(world.levelStatus, LevelStatus::Playing);
    EXPECT_TRUE(RunningDialogs().empty()) << "building makes objects only; play starts the dialogs";

    BuildLevel("Main/Reed Bank");
    EXPECT_EQ(world.Count(), 16) << "building adds to the World; emptying it is the caller's step";
}

TEST_F(ContentObjectsTest, LevelEntriesWithUnknownKindsOrNamesFailOrAreSkipped) {
    struct Case {
        const char* line;
        const char* error;
    };
    const Case cases[] = {
        {"Add: [Door] Main/Crate @ 1, 1; Rotate 0; Link () -> ()", "Door \"Main/Crate\" not found!"},
        {"Add: [Scenery] Main/Nothing @ 1, 1; Rotate 0; Link () -> ()", "Object \"Main/Nothing\" not found!"},
        {"Add: [Level] Main/Reed Bank @ 1, 1; Rotate 0; Link () -> ()", ""},
        {"Add: [Dialog] Main/Hello @ 1, 1; Rotate 0; Link () -> ()", ""},
    };
    for (const Case& c : cases) {
        TheWorld().Clear();
        LoadFile("./Modules/Main/one.ini", std::string("[Level]\nName = One\n") + c.line + "\n");
        EXPECT_EQ(ErrorOf([] { BuildLevel("Main/One"); }), c.error) << c.line;
        EXPECT_EQ(TheWorld().Count(), 0) << c.line;
    }
}

TEST_F(ContentObjectsTest, EveryObjectKindIsTakenForItselfOnceBuilt) {
    // What the object is taken for when no word vouches for it: a kind that shares its type
    // test with another gives way to that one.
    const std::map<std::string_view, std::string_view> unvouched = {
        {"Entity", "Entity"},         {"PhysObj", "PhysObj"},   {"Trigger", "PhysObj"},
        {"Exit", "Exit"},             {"ButtonPO", "ButtonPO"}, {"DirChanger", "DirChanger"},
        {"BreakablePO", "BreakablePO"}, {"Door", "BreakablePO"}};
    std::vector<std::string_view> placeable;
    for (const ObjectKind& kind : ObjectKinds()) {
        const std::string word(kind.name);
        EXPECT_EQ(FindObjectKind(word), &kind);
        std::istringstream text("[" + word + "]\nName = Probe\nSpriteName = Main/Crate Sprite\n"
                                "PressedSpriteName = Main/Plate Down Sprite\n");
        Registry().Register(kind.load(text, "Main/"));
        const Template* definition = Registry().Find("Main/Probe", word);
        ASSERT_NE(definition, nullptr) << word;
        std::unique_ptr<Entity> object = Registry().NewObject(word, "Main/Probe");
        EXPECT_EQ(KindOfObject(*object, word).name, word);
        EXPECT_EQ(KindOfObject(*object, "").name, unvouched.at(kind.name)) << word;
        EXPECT_EQ(kind.breakable(*definition) != nullptr, object->IsBreakable()) << word;
        EXPECT_EQ(kind.media(*definition).front().name, "Main/Crate Sprite") << word;
        if (kind.placeable)
            placeable.push_back(kind.name);
    }
    EXPECT_EQ(FindObjectKind("Level"), nullptr);
    EXPECT_EQ(FindObjectKind("entity"), nullptr) << "kind words match exactly";
    EXPECT_EQ(placeable, (std::vector<std::string_view>{"Trigger", "Exit", "ButtonPO", "DirChanger", "BreakablePO", "Door"}))
        << "the plain picture and the plain physical object stay out of the editor's palette";

    // A word the object's tests overrule never names it.
    auto heron = Registry().NewObject("Exit", "Main/Heron");
    EXPECT_EQ(KindOfObject(*heron, "ButtonPO").name, "Exit");
    EXPECT_EQ(KindOfObject(*heron, "Scenery").name, "Exit");
    auto jar = Registry().NewObject("BreakablePO", "Main/Jar");
    EXPECT_EQ(KindOfObject(*jar, "Door").name, "Door") << "a door's object passes the breakable's test";
    EXPECT_EQ(KindOfObject(*jar, "Entity").name, "BreakablePO");
}

class ContentProgramTest : public ContentTest {};

TEST_F(ContentProgramTest, TheGamePlaysTheTestModuleAndReportsBrokenContent) {
    test::CopyGameFolder(dir.Path());
    LayOutFixtureModule(dir.Path());
    test::RunResult r = test::RunGameBinary(
        {"--data", dir.Path().string(), "--level", "Main/Reed Bank", "--frames", "40", "--fixed-step"});
    EXPECT_EQ(r.exitCode, 0) << r.output;

    struct Case {
        const char* kinds;
        const char* report;
    };
    const Case cases[] = {
        {"[Door]\nSpriteName = Main/Gate Sprite\n", "ERROR: All objects require a name!"},
        {"[Door]\nName =\n", "\"Name =\" has no value"},
        {"[Door]\nName = Gate\nSpriteName = Main/Gate Sprite\nOpenSoundName = Main/Creak\n",
         "ERROR: Sound \"Main/Creak\" not found!"},
    };
    const std::string kinds = test::ReadFile(dir / "Modules/Main/kinds.ini");
    // A line the reader cannot take names the file and where its section starts.
    const std::string where = "ERROR: ./Modules/Main/kinds.ini, section [Door] from line " +
                              std::to_string(std::count(kinds.begin(), kinds.end(), '\n') + 1) + ": ";
    for (const Case& c : cases) {
        test::WriteFile(dir / "Modules/Main/kinds.ini", kinds + c.kinds);
        r = test::RunGameBinary({"--data", dir.Path().string(), "--level", "Main/Reed Bank", "--frames", "5"});
        EXPECT_EQ(r.exitCode, 1) << c.kinds;
        EXPECT_NE(r.output.find(c.report), std::string::npos) << r.output;
        EXPECT_EQ(r.output.find("EXCEPTION"), std::string::npos) << r.output;
        if (std::string(c.kinds) == "[Door]\nName =\n") {
            EXPECT_NE(r.output.find(where + c.report), std::string::npos) << r.output;
        }
    }
}

}  // namespace
