// Sprite, sound, dialog and level definitions.
#include <gtest/gtest.h>

#include <stdexcept>

#include "game/screens.h"
#include "play/play.h"
#include "app/game_state.h"
#include "audio/music.h"
#include "content/dialog_template.h"
#include "content/level_template.h"
#include "content/sprite_sound_templates.h"
#include "tests/content_fixture.h"
#include "world/world.h"

namespace {

class ContentDefinitionsTest : public ContentTest {};

TEST_F(ContentDefinitionsTest, SpritesLoadTheirPrototypeOnceAndHandOutIndependentCopies) {
    Png("art/Crate.png", 16, 12);
    for (int i = 0; i < 3; ++i)
        Png("art/Door" + std::to_string(i) + ".png", 16, 16);
    LoadFile("./Modules/Main/sprites.ini",
             "[Sprite]\nName = Crate\nSpritePath = art/Crate.png\nWidth = 16\nHeight = 12\n"
             "[Sprite]\nName = Door\nSpritePath = art/Door.png\nWidth = 16\nHeight = 16\nFrameCount = 3\n"
             "FrameDelay = 5\nLoopAnim = 0\n");

    std::unique_ptr<Image> a = Registry().NewSprite("Main/Crate");
    std::unique_ptr<Image> b = Registry().NewSprite("Main/Crate");
    ASSERT_TRUE(a && b && a->HasSurface());
    EXPECT_EQ(a->name, "Main/Crate");
    EXPECT_EQ(a->frameCount, 1);
    EXPECT_EQ(a->frameDelay, 100);
    EXPECT_TRUE(a->loop);
    a->frame = 2;
    a->SetAngle(90);
    EXPECT_EQ(b->frame, 0);
    EXPECT_EQ(b->angle, 0);
    EXPECT_EQ(Registry().NewSprite("Main/Crate")->angle, 0) << "the prototype is untouched";

    std::unique_ptr<Image> door = Registry().NewSprite("Main/Door");
    EXPECT_EQ(door->frameCount, 3);
    EXPECT_EQ(door->frameDelay, 5);
    EXPECT_FALSE(door->loop);
    EXPECT_EQ(door->surface->w, 48) << "three frame files merged into one strip";
}

TEST_F(ContentDefinitionsTest, OddSpritePathsFailWithAMessageAndNeverCrash) {
    const std::string paths[] = {
        std::string(5000, 'p') + ".png",
        "art/Botany \xe0 la.png",  // Latin-1, not valid UTF-8
        std::string("a\0b.png", 7),
        "/",
        "art/",
    };
    for (const std::string& path : paths) {
        std::string error = ErrorOf([&] { LoadFile("./Modules/Main/odd.ini", "[Sprite]\nName = Odd\nSpritePath = " + path + "\n"); });
        EXPECT_FALSE(error.empty()) << path.size();
    }
    // Frames that could never fit one strip leave the sprite without pixels.
    Png("art/Wide0.png", 4, 4);
    Png("art/Wide1.png", 4, 4);
    EXPECT_EQ(ErrorOf([] {
                  LoadFile("./Modules/Main/odd.ini",
                           "[Sprite]\nName = Wide\nSpritePath = art/Wide.png\nWidth = 2000000000\nFrameCount = 2\n");
              }),
              "Sprite could not be loaded from path \"art/Wide.png\"");
    // The same bytes are found when the file is really there.
    Png("art/Botany \xe0 la.png", 4, 4);
    LoadFile("./Modules/Main/odd.ini", "[Sprite]\nName = Odd\nSpritePath = art/Botany \xe0 la.png\n");
    EXPECT_TRUE(Registry().NewSprite("Main/Odd")->HasSurface());
}

TEST_F(ContentDefinitionsTest, SoundsLoadTheirSampleAndLoopingFlag) {
    OpenMixer mixer;
    Wav("./Blip.wav");
    LoadFile("./Modules/Main/sounds.ini",
             "[Sound]\nName = Once\nSoundPath = Blip.wav\n[Sound]\nName = Hum\nSoundPath = Blip.wav\nLooping = 3\n");
    EXPECT_FALSE(Registry().NewSound("Main/Once")->loop);
    EXPECT_TRUE(Registry().NewSound("Main/Hum")->loop);
    EXPECT_EQ(ErrorOf([] { Registry().NewSound("Main/Nope"); }), "Sound \"Main/Nope\" not found!");
}

TEST_F(ContentDefinitionsTest, DialogsKeepTheirMessagesInFileOrder) {
    LoadFile("./Modules/Main/talk.ini",
             "[Dialog]\nName = Shore\nTrigger = LEVEL_START\n"
             "AddMessage: Icon[Main/Keeper] Flag[Main/Lake] Text[Mind the [loose] stones.]\n"
             "// AddMessage: Icon[X] Flag[X] Text[commented]\n"
             " AddMessage: Icon[X] Flag[X] Text[indented]\n"
             "\n"
             "AddMessage: Icon[Main/Heron] Flag[Main/Lake] Text[Then up, and out.] trailing words\n");
    std::unique_ptr<Dialog> first = Registry().NewDialog("Main/Shore");
    std::unique_ptr<Dialog> second = Registry().NewDialog("Main/Shore");
    EXPECT_EQ(first->event, "LEVEL_START");
    EXPECT_FALSE(first->started);
    ASSERT_EQ(first->messages.size(), 2u);
    EXPECT_EQ(first->messages[0].icon, "Main/Keeper");
    EXPECT_EQ(first->messages[0].flag, "Main/Lake");
    EXPECT_EQ(first->messages[0].text, "Mind the [loose");
    EXPECT_EQ(first->messages[1].text, "Then up, and out.");
    first->messages.pop_front();
    EXPECT_EQ(second->messages.size(), 2u) << "two instantiations are independent";
    EXPECT_EQ(ErrorOf([] { Registry().NewDialog("Main/Beach"); }), "Dialog \"Main/Beach\" not found!");
}

TEST_F(ContentDefinitionsTest, ObjectLinesAreCutLeftToRight) {
    struct Case {
        const char* line;
        LevelEntry expected;
    };
    const Case cases[] = {
        {"Add: [Door] Main/Gate @ 100, 64; Rotate 90; Link (a) -> (b(c))", {"Door", "Main/Gate", "a", "b(c)", 100, 64, 90}},
        {"Add: [Exit] Main/Heron Gate @ -8, 0; Rotate 0; Link () -> ()", {"Exit", "Main/Heron Gate", "", "", -8, 0, 0}},
        {"Add: [PhysObj] Main/Crate @ 12px, 40.5; Rotate 270deg; Link (x y) -> (z) tail",
         {"PhysObj", "Main/Crate", "x y", "z", 12, 40, 270}},
        {"Add: [Entity] Main/Reed@ 1, 2; Rotate 3; Link (f) -> (t)", {"Entity", "Main/Ree", "f", "t", 1, 2, 3}},
        {"Add: [Entity] @ 1, 2; Rotate 3; Link (f) -> (t)", {"Entity", "", "f", "t", 1, 2, 3}},
    };
    for (const Case& c : cases) {
        LevelEntry e = ParseLevelEntry(c.line);
        EXPECT_EQ(e.kind, c.expected.kind) << c.line;
        EXPECT_EQ(e.name, c.expected.name) << c.line;
        EXPECT_EQ(e.linkFrom, c.expected.linkFrom) << c.line;
        EXPECT_EQ(e.linkTo, c.expected.linkTo) << c.line;
        EXPECT_EQ(e.x, c.expected.x) << c.line;
        EXPECT_EQ(e.y, c.expected.y) << c.line;
        EXPECT_EQ(e.rotation, c.expected.rotation) << c.line;
    }
    const char* broken[] = {
        "Add: [Door]", "Add: [Door] ", "Add:[Door] G @ 1, 2; Rotate 0; Link () -> ()",
        "Add: [Door G @ 1, 2; Rotate 0; Link () -> ()", "Add: [Door] G @ 1 2; Rotate 0; Link () -> ()",
        "Add: [Door] G @ 1, 2; Rot 0; Link () -> ()", "Add: [Door] G @ 1, 2; Rotate 0 Link () -> ()",
        "Add: [Door] G @ 1, 2; Rotate 0; Link a -> b", "Add: [Door] G @ 1, 2; Rotate 0; Link (a -> b",
        "Add: [Door] G @ 1, 2; Rotate 0; Link (a) -> b", "Add: [Door] G @ 1,",
    };
    for (const char* line : broken)
        EXPECT_THROW(ParseLevelEntry(line), std::out_of_range) << line;
}

TEST_F(ContentDefinitionsTest, LevelsReadTheirKeysObjectsAndDialogLines) {
    LoadFile("./Modules/Main/level.ini",
             "[Level]\nName = Reed Bank\n\n"
             "Add: [Door] Main/Gate @ 100, 64; Rotate 90; Link (a) -> (b)\n"
             "// Add: [Door] Main/Ghost @ 1, 1; Rotate 0; Link () -> ()\n"
             " Add: [Door] Main/Ghost @ 1, 1; Rotate 0; Link () -> ()\n"
             "DialogEvent: Main/Hello\n"
             "Add: [Exit] Main/Out @ 5, 6; Rotate 0; Link () -> ()\n"
             "DialogEvent: Main/Bye \n");
    const LevelTemplate* level = Registry().Find("Main/Reed Bank")->AsLevel();
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->turnsPar, 0);
    EXPECT_EQ(level->musicThemePath, "");
    ASSERT_EQ(level->entries.size(), 2u);
    EXPECT_EQ(level->entries[0].name, "Main/Gate");
    EXPECT_EQ(level->entries[1].name, "Main/Out");
    EXPECT_EQ(level->dialogEvents, (std::vector<std::string>{"Main/Hello", "Main/Bye "}));
}

TEST_F(ContentDefinitionsTest, StartingALevelResetsPlayStartsMusicAndHandsOverDialogsLastFirst) {
    LoadFile("./Modules/Main/talk.ini",
             "[Dialog]\nName = One\nTrigger = LEVEL_START\n[Dialog]\nName = Two\nTrigger = LEVEL_COMPLETE\n"
             "[Level]\nName = Quiet\n"
             "[Level]\nName = Tune\nMusicThemePath = tune.wav\nDialogEvent: Main/One\nDialogEvent: Main/Two\n");
    OpenMixer mixer;
    Wav("./title.wav");
    Wav("./tune.wav");
    ThePlaySession().turns = 12;
    TheWorld().levelStatus = LevelStatus::Complete;
    PlayMusic("title.wav", true);

    ThePlaySession().levelName = "Main/Quiet";
    ThePlaySession().RestartLevel();
    EXPECT_EQ(CurrentSongName(), "title.wav") << "no theme keeps the music";
    EXPECT_EQ(ThePlaySession().turns, 0);
    EXPECT_EQ(TheWorld().levelStatus, LevelStatus::Playing);
    EXPECT_EQ(ThePlaySession().levelName, "Main/Quiet");

    ThePlaySession().levelName = "Main/Tune";
    ThePlaySession().RestartLevel();
    EXPECT_EQ(CurrentSongName(), "tune.wav");
    ASSERT_EQ(RunningDialogs().size(), 2u);
    EXPECT_EQ(RunningDialogs()[0]->event, "LEVEL_COMPLETE");
    EXPECT_EQ(RunningDialogs()[1]->event, "LEVEL_START");
    std::filesystem::remove("tune.wav");
    ThePlaySession().RestartLevel();
    EXPECT_EQ(CurrentSongName(), "tune.wav") << "the same theme keeps playing, never reloaded";
    EXPECT_EQ(RunningDialogs().size(), 2u) << "a rebuild starts the dialogs afresh";

    LoadFile("./Modules/Main/broken.ini", "[Level]\nName = Lost\nDialogEvent: Main/Three\n");
    EXPECT_EQ(ErrorOf([] { BuildLevel("Main/Lost"); }), "Dialog \"Main/Three\" not found!");
    EXPECT_EQ(ErrorOf([] { BuildLevel("Main/Nowhere"); }), "Level \"Main/Nowhere\" not found!");

    TheWorld().levelStatus = LevelStatus::NotPlaying;
    ThePlaySession().levelName = "Main/Level 1";
}

}  // namespace
