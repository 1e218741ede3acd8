// Definitions, the registry and module loading, through real files on disk.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "content/dialog_template.h"
#include "content/level_template.h"
#include "content/sprite_sound_templates.h"
#include "platform/game_error.h"
#include "platform/notice.h"
#include "tests/content_fixture.h"

namespace {

class ContentLoadingTest : public ContentTest {};

std::unique_ptr<DialogTemplate> DialogNamed(const std::string& name, const std::string& prefix = "Main/") {
    std::istringstream text("[Dialog]\nName = " + name + "\n");
    return std::make_unique<DialogTemplate>(text, prefix);
}

TEST_F(ContentLoadingTest, QualifiedNamesHoldAtMost39Characters) {
    const std::string name34(34, 'n');
    EXPECT_EQ(DialogNamed(name34)->GetName(), "Main/" + name34);
    EXPECT_EQ(DialogNamed(name34 + "xxxxx", "")->GetName().size(), 39u) << "no prefix outside the module tree";
    EXPECT_EQ(ErrorOf([&] { DialogNamed(name34 + "xxxxxx", ""); }), "Name " + name34 + "xxxxxx is too long! (39 chars max)");
    EXPECT_EQ(ErrorOf([] { DialogNamed(""); }), "All objects require a name!");
}

TEST_F(ContentLoadingTest, TheBaseReadsKindOffsetsAndTheFirstUntrimmedName) {
    std::istringstream text("[Dialog]\n// Name = Hidden\nName = Gate \nName = Other\nXPlacementOffset = 8\n"
                            "YPlacementOffset = -4\n");
    DialogTemplate d(text, "Main/");
    EXPECT_EQ(d.GetType(), "Dialog");
    EXPECT_EQ(d.GetName(), "Main/Gate ");
    EXPECT_EQ(d.xPlacementOffset, 8);
    EXPECT_EQ(d.yPlacementOffset, -4);
}

TEST_F(ContentLoadingTest, RegisterReplacesANameOfAnyKindAndLookupsMatchKindAndName) {
    Png("box.png", 8, 8);
    LoadFile("./Modules/Main/a.ini",
             "[Sprite]\nName = Box\nSpritePath = box.png\n"
             "[Dialog]\nName = Talk\n"
             "[Level]\nName = Lake\nTurnsPar = 7\nMusicThemePath = RS#TRACK1\nPreviewPath = p.png\n"
             "DialogEvent: Main/Talk\nDialogEvent: Main/Box\n");
    ModuleRegistry& r = Registry();
    ASSERT_EQ(r.Count(), 3);
    ASSERT_NE(r.NewSprite("Main/Box"), nullptr);
    EXPECT_EQ(ErrorOf([&] { r.Instantiate("Door", "Main/Box"); }), "Door \"Main/Box\" not found!");
    EXPECT_EQ(ErrorOf([&] { r.NewSprite("Box"); }), "Sprite \"Box\" not found!") << "no module-less matching";
    EXPECT_EQ(ErrorOf([&] { r.NewSprite("Main/box"); }), "Sprite \"Main/box\" not found!");

    EXPECT_EQ(r.LevelTurnsPar("Main/Lake"), 7);
    EXPECT_EQ(r.LevelMusicThemePath("Main/Lake"), "RS#TRACK1");
    EXPECT_EQ(r.LevelPreviewPath("Main/Lake"), "p.png");
    EXPECT_EQ(r.LevelDialogEvents("Main/Lake"), (std::vector<std::string>{"Main/Talk", "Main/Box"}));
    EXPECT_EQ(ErrorOf([&] { r.LevelTurnsPar("Main/Box"); }), "Level \"Main/Box\" not found!");

    // A dialog called Box replaces the sprite: same count, now last, sprite lookups fail.
    r.Register(DialogNamed("Box"));
    EXPECT_EQ(r.Count(), 3);
    EXPECT_EQ(r.NameAt(2), "Main/Box");
    EXPECT_EQ(r.TypeAt(2), "Dialog");
    EXPECT_EQ(r.IndexOfObject("Main/Box"), 2);
    EXPECT_EQ(ErrorOf([&] { r.NewSprite("Main/Box"); }), "Sprite \"Main/Box\" not found!");
    EXPECT_EQ(r.TemplatesOfType("Dialog"), (std::vector<int>{0, 2}));

    EXPECT_EQ(r.XPlacementOffset("Main/Lake"), 0);
    EXPECT_EQ(ErrorOf([&] { r.XPlacementOffset("Main/Nothing"); }), "Object \"Main/Nothing\" not found!");
    EXPECT_EQ(ErrorOf([&] { r.YPlacementOffset("Main/Nothing"); }), "Object \"Main/Nothing\" not found!");
    EXPECT_EQ(ErrorOf([&] { r.IndexOfObject("Main/Nothing"); }), "Object \"Main/Nothing\" not found!");

    r.Clear();
    EXPECT_EQ(r.Count(), 0);
}

TEST_F(ContentLoadingTest, AModuleOwnsOnlyTheNamesUnderItsOwnFolder) {
    ModuleRegistry r;
    r.AddModuleName("Main");
    r.AddModuleName("MainExtra");
    r.Register(DialogNamed("A", "Main/"));
    r.Register(DialogNamed("B", "MainExtra/"));
    r.Register(DialogNamed("C", "Other/"));
    ASSERT_EQ(r.ModuleCount(), 2);
    EXPECT_EQ(r.ModuleNameAt(1), "MainExtra");
    EXPECT_EQ(r.TemplatesOfModule(0), (std::vector<int>{0})) << "Main does not own MainExtra's names";
    EXPECT_EQ(r.TemplatesOfModule(1), (std::vector<int>{1}));
    EXPECT_THROW(r.TemplatesOfModule(2), std::out_of_range);
    EXPECT_THROW(r.NameAt(3), std::out_of_range);
}

TEST_F(ContentLoadingTest, ModulesLoadInNameOrderThroughTheirIncludeLists) {
    EXPECT_FALSE(LoadAllModules()) << "no Modules folder";
    std::filesystem::create_directories("Modules");
    EXPECT_FALSE(LoadAllModules()) << "an empty Modules folder";

    test::WriteFile("Modules/Zed/Include.ini", "z.ini\n");
    test::WriteFile("Modules/Zed/z.ini", "[Dialog]\nName = Z\n");
    std::filesystem::create_directories("Modules/Aside");  // no Include.ini: not a module
    test::WriteFile("Modules/Aside/a.ini", "[Dialog]\nName = A\n");
    test::WriteFile("Modules/Main/Include.ini", "// b.ini\n\r\na.ini\n b.ini\nmissing.ini\n" + std::string(5000, 'x') +
                                                    ".ini\nsub/c.ini\nLatin\xe0.ini");
    test::WriteFile("Modules/Main/Latin\xe0.ini", "[Dialog]\nName = D\n");
    test::WriteFile("Modules/Main/a.ini", "[Dialog]\nName = A\nTrigger = first\n");
    test::WriteFile("Modules/Main/b.ini", "[Dialog]\nName = A\nTrigger = commented out\n");
    test::WriteFile("Modules/Main/ b.ini", "[Dialog]\nName = B\n");
    std::filesystem::create_directories("Modules/Main/sub");
    test::WriteFile("Modules/Main/sub/c.ini", "[Dialog]\nName = C\n");

    int modulesBefore = Registry().ModuleCount();
    EXPECT_TRUE(LoadAllModules());
    ModuleRegistry& r = Registry();
    ASSERT_EQ(r.ModuleCount(), modulesBefore + 2);
    EXPECT_EQ(r.ModuleNameAt(modulesBefore), "Main");
    EXPECT_EQ(r.ModuleNameAt(modulesBefore + 1), "Zed");
    std::vector<std::string> names;
    for (int i = 0; i < r.Count(); ++i)
        names.push_back(r.NameAt(i));
    EXPECT_EQ(names, (std::vector<std::string>{"Main/A", "Main/B", "Main/C", "Main/D", "Zed/Z"}));
    EXPECT_EQ(r.NewDialog("Main/A")->event, "first");
}

// Include entries name files of their own module: anything else is refused by name and
// line, which skips a player's module and stops the campaign.
TEST_F(ContentLoadingTest, IncludeEntriesStayInsideTheirModuleFolder) {
    test::WriteFile(dir / "outside.ini", "[Dialog]\nName = Out\n");
    test::WriteFile("Modules/Main/Include.ini", "ok.ini\n");
    test::WriteFile("Modules/Main/ok.ini", "[Dialog]\nName = Ok\n");
    std::filesystem::create_directories("Modules/Ev/folder.ini");
    std::filesystem::create_symlink(std::filesystem::absolute("outside.ini"), "Modules/Ev/link.ini");
    const std::string here = std::filesystem::absolute("outside.ini").string();
    const std::pair<std::string, std::string> cases[] = {
        {"../../outside.ini", "leads out of the module folder"},
        {"sub/../../Main/ok.ini", "leads out of the module folder"},
        {here, "is an absolute path; entries name files inside the module folder"},
        {"/dev/zero", "is an absolute path; entries name files inside the module folder"},
        {"folder.ini", "is not a regular file"},
        {"link.ini", "leads out of the module folder"},
    };
    for (const auto& [entry, why] : cases) {
        SCOPED_TRACE(entry);
        test::WriteFile("Modules/Ev/Include.ini", "// first\n" + entry + "\n");
        EXPECT_EQ(ErrorOf([] { LoadModule("./Modules/Ev"); }),
                  "./Modules/Ev/Include.ini, line 2: \"" + entry + "\" " + why);
        Registry().RemoveModule("Ev");
        platform::TakeNotices();
        EXPECT_TRUE(LoadAllModules());
        const std::vector<std::string> notices = platform::TakeNotices();
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_EQ(notices[0], "The module \"Ev\" was skipped: ./Modules/Ev/Include.ini, line 2: \"" + entry + "\" " + why);
        EXPECT_NE(Registry().Find("Main/Ok"), nullptr);
        EXPECT_EQ(Registry().Find("Out"), nullptr);
        Registry().Clear();
    }
    test::WriteFile("Modules/Main/Include.ini", "../../outside.ini\n");
    EXPECT_EQ(ErrorOf([] { LoadAllModules(); }),
              "./Modules/Main/Include.ini, line 1: \"../../outside.ini\" leads out of the module folder")
        << "the campaign cannot be skipped";
}

// A module that fails part-way leaves nothing of itself behind; the others load whole.
TEST_F(ContentLoadingTest, AModuleThatFailsIsSkippedWholeWithItsCause) {
    Png("box.png", 8, 8);
    test::WriteFile("Modules/Main/Include.ini", "a.ini\n");
    test::WriteFile("Modules/Main/a.ini", "[Dialog]\nName = A\n");
    test::WriteFile("Modules/Mid/Include.ini", "m.ini\n");
    test::WriteFile("Modules/Mid/m.ini", "[Level]\nName = Lake\n\n[Sprite]\nName = Gone\nSpritePath = none.png\n");
    test::WriteFile("Modules/Zed/Include.ini", "z.ini\n");
    test::WriteFile("Modules/Zed/z.ini", "[Dialog]\nName = Z\n" + std::string(70000, 'x') + "\n");
    test::WriteFile("Modules/Zz/Include.ini", "z.ini\n");
    test::WriteFile("Modules/Zz/z.ini", "[Dialog]\nName = Z\n");
    platform::TakeNotices();
    const int modulesBefore = Registry().ModuleCount();
    EXPECT_TRUE(LoadAllModules());
    const std::vector<std::string> notices = platform::TakeNotices();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0], "The module \"Mid\" was skipped: File none.png could not be loaded!");
    EXPECT_EQ(notices[1], "The module \"Zed\" was skipped: ./Modules/Zed/z.ini, line 3: the line is too long "
                          "(70000 characters, at most 65536)");
    std::vector<std::string> names;
    for (int i = 0; i < Registry().Count(); ++i)
        names.push_back(Registry().NameAt(i));
    EXPECT_EQ(names, (std::vector<std::string>{"Main/A", "Zz/Z"}));
    ASSERT_EQ(Registry().ModuleCount(), modulesBefore + 2);
    EXPECT_EQ(Registry().ModuleNameAt(modulesBefore + 1), "Zz");
}

TEST_F(ContentLoadingTest, ModulePrefixComesFromThePathTheFileWasOpenedWith) {
    const std::pair<const char*, const char*> cases[] = {
        {"./Modules/Main/levels.ini", "Main/"},
        {"./Modules/Main/sub/deep.ini", "Main/"},
        {"./NewLevel.ini", ""},
        {"./Modules/loose.ini", "loose.ini/"},
        {"Modules/Main/a.ini", ""},  // the first two characters are taken to be "./"
        {"", ""},
        {".", ""},
    };
    for (const auto& [path, prefix] : cases)
        EXPECT_EQ(ModulePrefix(path), prefix) << path;
}

TEST_F(ContentLoadingTest, ATestLevelOutsideTheModuleTreeRegistersUnderItsBareName) {
    LoadFile("./Modules/Main/l.ini", "[Level]\nName = Level 1\nTurnsPar = 3\n");
    LoadFile("./NewLevel.ini", "[Level]\nName = Main/Level 1\nTurnsPar = 9\n");
    LoadFile("./NewLevel.ini", "[Level]\nName = Scratch\n");
    EXPECT_EQ(Registry().LevelTurnsPar("Main/Level 1"), 9);
    EXPECT_NO_THROW(Registry().LevelTurnsPar("Scratch"));
    EXPECT_EQ(Registry().Count(), 2);
}

// Malformed content: each case is one content file, and either an exact error or what it leaves
// registered (name:type, in registry order).
TEST_F(ContentLoadingTest, BadContentGivesTheDocumentedErrorOrOutcome) {
    Png("pic.png", 4, 4);
    static const char garbage[] = "\x00\xff[\x01]\n\x89PNG\r\n\x1a\n[\xe0]\n]]][[[\n=\n\x00Name = x\n";
    struct Case {
        const char* what;
        std::string text;
        std::string error;  // content error text, or ""
        std::string registered;
    };
    const std::string name35(35, 'q');
    const Case cases[] = {
        {"no Name", "[Dialog]\nTrigger = LEVEL_START\n", "All objects require a name!", ""},
        {"35-character name", "[Dialog]\nName = " + name35 + "\n",
         "Name Main/" + name35 + " is too long! (39 chars max)", ""},
        {"blank after the closing bracket", "[Dialog]\nName = A\n[Dialog] \nName = B\n", "", "Main/A:Dialog"},
        {"empty kind word", "[Dialog]\nName = A\n[]\n[Dialog]\nName = B\n[]\nName = C\n", "",
         "Main/A:Dialog Main/B:Dialog"},
        {"key line ending at the equals sign", "[Dialog]\nName = A\nTrigger =\n",
         "./Modules/Main/bad.ini, section [Dialog] from line 1: \"Trigger =\" has no value", ""},
        {"object line without @", "[Level]\nName = L\nAdd: [Door] Main/Gate 100, 64; Rotate 0; Link () -> ()\n",
         "./Modules/Main/bad.ini, section [Level] from line 1: Object line \"Add: [Door] Main/Gate 100, 64; Rotate 0; "
         "Link () -> ()\" has no \"@\"", ""},
        {"object line without ;", "[Level]\nName = L\nAdd: [Door] Main/Gate @ 100, 64 Rotate 0 Link () -> ()\n",
         "./Modules/Main/bad.ini, section [Level] from line 1: Object line \"Add: [Door] Main/Gate @ 100, 64 Rotate 0 "
         "Link () -> ()\" has no \";\"", ""},
        {"dialog line cut short", "[Level]\nName = L\n\nDialogEvent:\n",
         "./Modules/Main/bad.ini, section [Level] from line 1: \"DialogEvent:\" names no dialog", ""},
        {"message line without Flag[", "[Dialog]\nName = A\nAddMessage: Icon[I] Text[T]\n", "", "Main/A:Dialog"},
        {"same name in two kinds", "[Sprite]\nName = Box\nSpritePath = pic.png\n[Dialog]\nName = Box\n", "",
         "Main/Box:Dialog"},
        {"same name twice in one file", "[Dialog]\nName = A\n[Level]\nName = B\n[Dialog]\nName = A\n", "",
         "Main/B:Level Main/A:Dialog"},
        {"unknown and lower-case kind words", "[Gadget]\nName = G\n[sprite]\nName = S\n[Dialog]\nName = D", "",
         "Main/D:Dialog"},
        {"lines before the first heading", "Name = Stray\n\n[Dialog]\nName = D\n", "", "Main/D:Dialog"},
        {"missing sprite file", "[Sprite]\nName = S\nSpritePath = nowhere.png\n",
         "File nowhere.png could not be loaded!", ""},
        {"sprite without a path", "[Sprite]\nName = S\n", "Sprite could not be loaded from path \"\"", ""},
        {"sound that can't be read", "[Sound]\nName = S\nSoundPath = pic.png\n",
         "Sound could not be loaded from path \"pic.png\"", ""},
        {"binary garbage", std::string(garbage, sizeof garbage - 1), "", ""},
        {"empty file", "", "", ""},
    };
    for (const Case& c : cases) {
        Registry().Clear();
        std::string error;
        try {
            LoadFile("./Modules/Main/bad.ini", c.text);
        } catch (const platform::GameError& e) {
            error = e.Message();
        } catch (const std::out_of_range&) {
            error = "out_of_range";
        }
        EXPECT_EQ(error, c.error) << c.what;
        std::string registered;
        for (int i = 0; i < Registry().Count(); ++i)
            registered += (i ? " " : "") + Registry().NameAt(i) + ":" + Registry().TypeAt(i);
        EXPECT_EQ(registered, c.registered) << c.what;
    }
}

TEST_F(ContentLoadingTest, SectionsEndAtHeadingsAndAtTheEndOfAFileWithoutALineFeed) {
    LoadFile("./Modules/Main/s.ini",
             "[Dialog]\r\nName = First\r\nTrigger = one\r\n[Dialog] \r\nTrigger = absorbed\r\n"
             "[Dialog]\nTrigger = LEVEL_FAIL\nName = Last");
    ASSERT_EQ(Registry().Count(), 2);
    EXPECT_EQ(Registry().NewDialog("Main/First")->event, "one");
    EXPECT_EQ(Registry().NewDialog("Main/Last")->event, "LEVEL_FAIL");

    // A section never sees the lines of the one before it.
    EXPECT_EQ(ErrorOf([] { LoadFile("./Modules/Main/t.ini", "[Dialog]\nName = A\n[Dialog]\nTrigger = x\n"); }),
              "All objects require a name!");
}

}  // namespace
