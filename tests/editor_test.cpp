// The level editor driven frame by frame through the real main loop, on a small workshop
// module (tests/fixtures/editor_module) with pictures made on the spot.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>

#include <unistd.h>

#include "game/screens.h"
#include "play/play.h"
#include "game/app.h"
#include "app/game_state.h"
#include "app/input.h"
#include "world/render.h"
#include "app/timer.h"
#include "content/module_loader.h"
#include "content/registry.h"
#include "dialog/dialogs.h"
#include "editor/editor.h"
#include "platform/app_focus.h"
#include "platform/game_error.h"
#include "play/turn_engine.h"
#include "tools/sim/sim.h"
#include "tests/test_support.h"
#include "tools/assetgen/canvas.h"
#include "widgets/file_chooser.h"
#include "widgets/widgets.h"
#include "world/draw_queue.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

enum ToolButton { kPrevModule, kNextModule, kPrevDef, kNextDef, kSave, kCenter, kCleanup, kTest, kLoad, kLink, kPreview };
int ToolX(int tool) {
    const int xs[] = {0, 212, 236, 448, 472, 496, 520, 544, 568, 592, 616};
    return xs[tool] + 12;
}

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TTF_WasInit()) {
            ASSERT_EQ(TTF_Init(), 0);
        }
        fs::copy(fs::path(QM_GAME_DIR) / "GUI", dir / "GUI", fs::copy_options::recursive);
        fs::copy(fs::path(QM_FIXTURES_DIR) / "editor_module/Modules", dir / "Modules",
                 fs::copy_options::recursive);
        fs::create_directories(dir / "Art");
        Picture("Art/Block.png", 24, 24, {176, 118, 62, 255});
        Picture("Art/Button.png", 24, 12, {242, 172, 64, 255});
        Picture("Art/Door.png", 12, 48, {38, 110, 128, 255});
        Picture("Art/Floor.png", 240, 12, {58, 44, 102, 255});
        working.emplace(dir.Path());
        Registry().Clear();
        ASSERT_TRUE(LoadAllModules());
        ResetGameState();
        ResetEditorState();
        TheWorld().Clear();
        SetFixedTimerStep(1.0);
        platform::SetScriptedFocus(true);
        ClearFileChooserAnswers();
        // Frames are presented, so each one's drawing is used up as in the game.
        screenBefore = ScreenSurface();
        SetScreenSurface(SDL_GetVideoSurface());
        FrameDrawQueue().Clear();
    }
    void TearDown() override {
        if (CurrentState() == GameState::LevelEditor)
            EditorExit();
        clearWidgets();
        TheWorld().Clear();
        TheWorld().levelStatus = LevelStatus::NotPlaying;
        DeleteAllDialogs();
        Registry().Clear();
        ResetGameState();
        ResetEditorState();
        ConsumeEvents();
        SetFixedTimerStep(0);
        platform::SetScriptedFocus(false);
        ClearFileChooserAnswers();
        SetScreenSurface(screenBefore);
        FrameDrawQueue().Clear();
        working.reset();
    }

    void Picture(const std::string& path, int w, int h, Rgba colour) { Canvas(w, h, colour).WritePng((dir / path).string()); }

    // The editor on a new level, or on a level loaded as the browser's Load does it.
    void OpenEditor() {
        try {
            SetState(GameState::LevelEditor);
        } catch (const platform::GameError& error) {
            FAIL() << error.Message();
        }
    }
    void OpenEditorOn(const std::string& level) {
        ThePlaySession().levelName = level;
        BuildLevel(level);
        SetEditorHoldsLevel(true);
        SetState(GameState::LevelEditor);
    }

    static void Push(const SDL_Event& e) {
        SDL_Event copy = e;
        SDL_PushEvent(&copy);
    }
    static void Move(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = static_cast<Uint16>(x);
        e.motion.y = static_cast<Uint16>(y);
        Push(e);
    }
    static void MouseButton(Uint8 type, int button, int x, int y) {
        SDL_Event e{};
        e.type = type;
        e.button.button = static_cast<Uint8>(button);
        e.button.x = static_cast<Uint16>(x);
        e.button.y = static_cast<Uint16>(y);
        Push(e);
    }
    static void Key(Uint8 type, int sym) {
        SDL_Event e{};
        e.type = type;
        e.key.keysym.sym = static_cast<SDLKey>(sym);
        Push(e);
    }
    // Content errors reach the test as their message.
    bool Frame() {
        try {
            return RunFrame();
        } catch (const platform::GameError& error) {
            ADD_FAILURE() << error.Message();
            return false;
        }
    }

    void Hover(int x, int y) {
        Move(x, y);
        Frame();
    }
    // A left or right click in the workspace acts in the frame of the press.
    void Click(int x, int y, int button = SDL_BUTTON_LEFT) {
        Move(x, y);
        MouseButton(SDL_MOUSEBUTTONDOWN, button, x, y);
        Frame();
        MouseButton(SDL_MOUSEBUTTONUP, button, x, y);
        Frame();
    }
    void Wheel(int x, int y, int button) {
        Move(x, y);
        MouseButton(SDL_MOUSEBUTTONDOWN, button, x, y);
        Frame();
    }
    // A toolbar button reports its click after the release; the editor reads it next frame.
    void Tool(int tool) {
        Click(ToolX(tool), 14);
        Frame();
    }
    void ClickAt(int x, int y) {
        Click(x, y);
        Frame();
    }
    void PressKey(int sym) {
        Key(SDL_KEYDOWN, sym);
        Frame();
        Key(SDL_KEYUP, sym);
        Frame();
    }
    void Ctrl(int sym, bool shift = false) {
        Key(SDL_KEYDOWN, SDLK_LCTRL);
        if (shift)
            Key(SDL_KEYDOWN, SDLK_LSHIFT);
        Key(SDL_KEYDOWN, sym);
        Frame();
        Key(SDL_KEYUP, sym);
        if (shift)
            Key(SDL_KEYUP, SDLK_LSHIFT);
        Key(SDL_KEYUP, SDLK_LCTRL);
        Frame();
    }

    // "kind name x,y r from>to" of every object but the ghost, in World order.
    static std::vector<std::string> Layout() {
        std::vector<std::string> out;
        for (const LevelEntry& e : EditorLevelObjects())
            out.push_back(e.kind + " " + e.name + " " + std::to_string(e.x) + "," + std::to_string(e.y) + " " +
                          std::to_string(e.rotation) + " " + e.linkFrom + ">" + e.linkTo);
        return out;
    }
    static Entity* Ghost() { return CurrentEditor().ghost; }

    test::ScratchDir dir;
    std::optional<test::WorkingDir> working;
    SDL_Surface* screenBefore = nullptr;
};

TEST_F(EditorTest, ModulesAndDefinitionsCycleBothWaysWithWrap) {
    OpenEditor();
    Frame();
    const EditorView& v = CurrentEditor();
    EXPECT_EQ(v.moduleCaption, "Bench");
    EXPECT_EQ(v.templateCaption, "Block");
    EXPECT_EQ(v.palette.size(), 7u) << "placeable kinds only: the plain entity and physical object are left out";
    ASSERT_NE(Ghost(), nullptr);
    EXPECT_EQ(Ghost()->templateName, "Bench/Block");

    struct Step {
        int tool;
        const char* module;
        const char* definition;
    };
    const Step steps[] = {
        {kPrevDef, "Bench", "Ledge"},     {kNextDef, "Bench", "Block"},  {kNextDef, "Bench", "Gate"},
        {kPrevModule, "Main", "Stone"}, {kNextDef, "Main", "Stone"},   {kPrevDef, "Main", "Stone"},
        {kNextModule, "Bench", "Block"}, {kNextModule, "Empty", ""},   {kPrevDef, "Empty", ""},
        {kNextDef, "Empty", ""},         {kNextModule, "Main", "Stone"}, {kNextModule, "Bench", "Block"},
    };
    for (const Step& s : steps) {
        Tool(s.tool);
        Frame();  // with no ghost before, the next frame makes one
        EXPECT_EQ(v.moduleCaption, s.module) << "after tool " << s.tool;
        EXPECT_EQ(v.templateCaption, s.definition) << "after tool " << s.tool << " in " << s.module;
        if (*s.definition)
            ASSERT_TRUE(Ghost() && Ghost()->templateName == std::string(s.module) + "/" + s.definition);
        else
            EXPECT_EQ(Ghost(), nullptr);
    }
    EXPECT_EQ(TheWorld().Count(), 1) << "only the ghost: no toolbar click placed anything";
}

TEST_F(EditorTest, AnEmptyPaletteHasNoGhostAndPlacesNothing) {
    OpenEditor();
    Tool(kNextModule);
    ASSERT_EQ(CurrentEditor().moduleCaption, "Empty");
    ClickAt(100, 130);
    ClickAt(300, 300);
    EXPECT_EQ(TheWorld().Count(), 0);
    EXPECT_FALSE(HasUnsavedChanges());
}

TEST_F(EditorTest, TheGhostFollowsTheGridBelowTheToolbarAndClicksPlaceIt) {
    OpenEditor();
    Frame();
    struct Case {
        int definition;  // steps of the next-definition button from Block
        int mx, my;
        int x, y;  // where the ghost stands: grid point plus the kind's placement offset
    };
    const Case cases[] = {
        {0, 100, 130, 96, 120}, {0, 11, 24, 0, 24},   {0, 300, 3, 300, 24},  {2, 100, 130, 96, 132},
        {2, 50, 0, 48, 36},      {3, 100, 130, 102, 120}, {3, 639, 479, 642, 468},
    };
    int chosen = 0;
    for (const Case& c : cases) {
        for (; chosen < c.definition; ++chosen)
            Tool(kNextDef);
        Hover(c.mx, c.my);
        ASSERT_NE(Ghost(), nullptr);
        EXPECT_EQ(Ghost()->x, c.x) << c.mx << "," << c.my;
        EXPECT_EQ(Ghost()->y, c.y) << c.mx << "," << c.my;
    }

    Tool(kPrevDef);
    Tool(kPrevDef);
    Tool(kPrevDef);
    ASSERT_EQ(CurrentEditor().templateCaption, "Block");
    ClickAt(100, 24);   // in the toolbar strip, where no button is
    ClickAt(400, 10);
    EXPECT_TRUE(Layout().empty());
    ClickAt(100, 130);
    ClickAt(105, 125);  // same grid point: a second object
    ClickAt(150, 200);
    EXPECT_EQ(Layout(), (std::vector<std::string>{"BreakablePO Bench/Block 96,120 0 >", "BreakablePO Bench/Block 96,120 0 >",
                                                  "BreakablePO Bench/Block 144,192 0 >"}));
    ASSERT_NE(Ghost(), nullptr);
    EXPECT_EQ(TheWorld().Get(TheWorld().Count() - 1), Ghost()) << "a fresh ghost follows every placement";
}

TEST_F(EditorTest, RightClickDeletesTheEarlierOfOverlappingObjectsAndNeverTheGhost) {
    OpenEditor();
    ClickAt(100, 130);  // Block at 96,120
    Tool(kNextDef);     // Gate
    ClickAt(110, 130);  // Gate at 108,120, overlapping the block from x 108 to 120
    Click(300, 300, SDL_BUTTON_RIGHT);
    EXPECT_EQ(Layout().size(), 2u) << "the ghost under the mouse is never deleted";
    Click(112, 130, SDL_BUTTON_RIGHT);
    EXPECT_EQ(Layout(), (std::vector<std::string>{"Exit Bench/Gate 108,120 0 >"}));
    Click(108, 130, SDL_BUTTON_RIGHT);  // on the edge: the picture must strictly contain the point
    EXPECT_EQ(Layout().size(), 1u);
    Click(109, 121, SDL_BUTTON_RIGHT);
    EXPECT_TRUE(Layout().empty());
}

TEST_F(EditorTest, CleanupKeepsTheFirstOfEachGroupOfDuplicates) {
    OpenEditor();
    ClickAt(100, 130);
    ClickAt(100, 130);
    ClickAt(100, 130);
    ClickAt(200, 130);
    Tool(kNextDef);     // a gate on the same point is no duplicate of a block
    ClickAt(100, 130);
    ClickAt(200, 130);
    ClickAt(200, 130);
    const int firstBlock = TheWorld().Get(0)->id;
    Tool(kCleanup);
    EXPECT_EQ(Layout(), (std::vector<std::string>{"BreakablePO Bench/Block 96,120 0 >", "BreakablePO Bench/Block 192,120 0 >",
                                                  "Exit Bench/Gate 96,120 0 >", "Exit Bench/Gate 192,120 0 >"}));
    EXPECT_EQ(TheWorld().Get(0)->id, firstBlock);
}

TEST_F(EditorTest, CenterMovesTheLevelToTheMiddleAndLeavesPlainEntitiesAlone) {
    OpenEditorOn("Main/Level 1");
    Tool(kCenter);
    // Box 192..432 by 252..312: dx 8, dy -42; every x gets the extra 12.
    EXPECT_EQ(Layout(), (std::vector<std::string>{
                            "PhysObj Bench/Floor 204,252 0 >", "ButtonPO Bench/Button 312,228 0 7>",
                            "Door Bench/Door 396,204 0 >7", "Entity Bench/Reed 0,456 0 >",
                            "BreakablePO Bench/Block 216,228 90 >"}));
}

// A level's backdrop is a plain picture under the pieces: clicks and the wheel over it
// find no piece, so it is never deleted or turned by a click on an empty square.
TEST_F(EditorTest, APlainPictureIsNoPieceToDeleteOrTurn) {
    OpenEditorOn("Main/Level 1");
    const std::vector<std::string> before = Layout();
    Click(6, 462, SDL_BUTTON_RIGHT);  // inside the reed picture at 0,456, on no piece
    Wheel(6, 462, SDL_BUTTON_WHEELUP);
    EXPECT_EQ(Layout(), before);
}

TEST_F(EditorTest, LinksNameTheSourceOnceAndPointTargetsAtIt) {
    OpenEditorOn("Main/Level 1");  // holds link 7 already
    EXPECT_EQ(CurrentEditor().nextLinkNumber, 8);
    ClickAt(100, 130);  // Block A at 96,120
    Tool(kNextDef);
    ClickAt(150, 130);  // Gate B at 144,120

    Tool(kLink);
    EXPECT_EQ(CurrentEditor().mode, 1);
    Hover(150, 300);
    EXPECT_EQ(Ghost()->x, -999) << "out of sight while linking";
    ClickAt(100, 130);
    EXPECT_EQ(CurrentEditor().mode, 2);
    ClickAt(150, 130);
    EXPECT_EQ(CurrentEditor().mode, 0);

    Tool(kLink);
    ClickAt(305, 293);  // the button, named 7 by the level: the name is reused
    ClickAt(100, 130);
    EXPECT_EQ(CurrentEditor().nextLinkNumber, 9);

    Tool(kLink);
    ClickAt(150, 130);  // B gets a name and becomes its own target
    ClickAt(150, 130);

    Tool(kLink);
    ClickAt(600, 400);  // empty: linking is abandoned
    EXPECT_EQ(CurrentEditor().mode, 0);
    EXPECT_EQ(Layout().size(), 7u) << "the abandoning click placed nothing";

    std::vector<std::string> all = Layout();
    EXPECT_EQ(all[5], "BreakablePO Bench/Block 96,120 0 8>7");
    EXPECT_EQ(all[6], "Exit Bench/Gate 144,120 0 9>9") << "linking a target again replaces its target";
    EXPECT_EQ(all[1], "ButtonPO Bench/Button 300,276 0 7>");
}

TEST_F(EditorTest, TheWheelTurnsTheGhostOrThePlacedObjectUnderTheMouse) {
    OpenEditor();
    Wheel(100, 130, SDL_BUTTON_WHEELDOWN);
    EXPECT_EQ(Ghost()->rotation, 90);
    ClickAt(100, 130);
    EXPECT_EQ(Ghost()->rotation, 90) << "the next ghost keeps the turn";
    Wheel(300, 300, SDL_BUTTON_WHEELUP);
    Wheel(300, 300, SDL_BUTTON_WHEELUP);
    ClickAt(300, 300);
    Wheel(100, 130, SDL_BUTTON_WHEELUP);  // over the first block: it turns, not the ghost
    EXPECT_EQ(Layout(), (std::vector<std::string>{"BreakablePO Bench/Block 96,120 0 >",
                                                  "BreakablePO Bench/Block 300,300 270 >"}));
}

TEST_F(EditorTest, SaveWritesTheLevelFileExactly) {
    OpenEditorOn("Main/Level 1");
    for (int i = 0; i < 3; ++i)
        Tool(kNextDef);  // Door
    Wheel(100, 130, SDL_BUTTON_WHEELDOWN);
    ClickAt(100, 130);
    SetFileChooserAnswer("Mine.ini");
    Tool(kSave);
    EXPECT_EQ(test::ReadFile(dir / "Mine.ini"),
              "[Level]\n"
              "Name = Level 1\n"
              "TurnsPar = 3\n"
              "PreviewPath = Previews/One.bmp\n"
              "\n"
              "Add: [PhysObj] Bench/Floor @ 192, 300; Rotate 0; Link () -> ()\n"
              "Add: [ButtonPO] Bench/Button @ 300, 276; Rotate 0; Link (7) -> ()\n"
              "Add: [Door] Bench/Door @ 384, 252; Rotate 0; Link () -> (7)\n"
              "Add: [Entity] Bench/Reed @ 0, 456; Rotate 0; Link () -> ()\n"
              "Add: [BreakablePO] Bench/Block @ 204, 276; Rotate 90; Link () -> ()\n"
              "Add: [Door] Bench/Door @ 96, 120; Rotate 90; Link () -> ()\n"
              "DialogEvent: Main/Hello\n");
    EXPECT_FALSE(HasUnsavedChanges());

    // A cancelled chooser writes nothing.
    SetFileChooserAnswer(std::nullopt);
    Tool(kSave);
    EXPECT_FALSE(fs::exists(dir / "Mine.ini.tmp"));
}

TEST_F(EditorTest, ANewLevelWritesOnlyItsNameBeforeTheObjects) {
    OpenEditor();
    Tool(kNextDef);
    ClickAt(30, 470);
    SetFileChooserAnswer("fresh.ini");
    Tool(kSave);
    EXPECT_EQ(test::ReadFile(dir / "fresh.ini"),
              "[Level]\nName = New Level\n\nAdd: [Exit] Bench/Gate @ 24, 468; Rotate 0; Link () -> ()\n");
}

TEST_F(EditorTest, LevelPropertiesComeFromTheRegistryAndAreWrittenBack) {
    LevelProperties full;
    full.name = "Deep/Water";
    full.musicThemePath = "RS#TRACK2";
    full.turnsPar = -4;
    full.previewPath = "p.bmp";
    full.dialogEvents = {"Main/Hello", "Main/Hello"};
    LevelEntry far{"Door", "Bench/Door", "a", "", -30, 0, 270};
    EXPECT_EQ(LevelFileText(full, {far}),
              "[Level]\nName = Deep/Water\nMusicThemePath = RS#TRACK2\nTurnsPar = -4\nPreviewPath = p.bmp\n\n"
              "Add: [Door] Bench/Door @ -30, 0; Rotate 270; Link (a) -> ()\n"
              "DialogEvent: Main/Hello\nDialogEvent: Main/Hello\n");

    // Read back by the level reader, the file gives the same level.
    test::WriteFile(dir / "Deep.ini", LevelFileText(full, {far}));
    LoadContentFile("./Deep.ini");
    EXPECT_EQ(Registry().LevelMusicThemePath("Deep/Water"), "RS#TRACK2");
    EXPECT_EQ(Registry().LevelTurnsPar("Deep/Water"), -4);
    ThePlaySession().levelName = "Deep/Water";
    SetEditorHoldsLevel(true);
    OpenEditor();
    EXPECT_EQ(CurrentEditor().level.name, "Water") << "cut after the first slash";
    EXPECT_EQ(CurrentEditor().level.musicThemePath, "RS#TRACK2");
    EXPECT_EQ(CurrentEditor().level.dialogEvents, full.dialogEvents);
    EXPECT_EQ(CurrentEditor().level.previewPath, "p.bmp");
}

TEST_F(EditorTest, OffsetsAtTheEndsOfTheirRangeWrapAsTheLevelReaderDoes) {
    test::WriteFile(dir / "Modules/Bench/Far.ini",
                    "[Exit]\nName = Far\nSpriteName = Bench/Block Picture\nXPlacementOffset = -2147483648\n"
                    "YPlacementOffset = 2147483647\n");
    LoadContentFile("./Modules/Bench/Far.ini");
    OpenEditor();
    Tool(kPrevDef);
    ASSERT_EQ(CurrentEditor().templateCaption, "Far");
    ClickAt(100, 130);
    Tool(kCenter);
    SetFileChooserAnswer("far.ini");
    Tool(kSave);
    const std::string text = test::ReadFile(dir / "far.ini");
    const std::string line = text.substr(text.find("Add:"));
    // Read back, the object stands where it stood in the editor.
    const Entity* placed = TheWorld().Get(0);
    const std::int16_t x = placed->x, y = placed->y;
    EditorExit();
    LoadContentFile("./far.ini");
    BuildLevel("New Level");
    ASSERT_EQ(TheWorld().Count(), 1) << line;
    EXPECT_EQ(TheWorld().Get(0)->x, x) << line;
    EXPECT_EQ(TheWorld().Get(0)->y, y) << line;
}

TEST_F(EditorTest, AnUnwritablePathIsReportedAndTheLevelStays) {
    OpenEditor();
    ClickAt(100, 130);
    SetFileChooserAnswer("No Such Folder/level.ini");
    Tool(kSave);
    EXPECT_NE(CurrentEditor().status.find("Not saved: Save in the game folder or in a module in Modules"),
              std::string::npos)
        << CurrentEditor().status;

    // The temporary file can't be made where a folder of its name stands.
    const std::string include = test::ReadFile(dir / "Modules/Bench/Include.ini");
    fs::create_directories(dir / ("Modules/Bench/level.ini.tmp" + std::to_string(getpid())));
    SetFileChooserAnswer("Modules/Bench/level.ini");
    Tool(kSave);
    EXPECT_NE(CurrentEditor().status.find("Could not save Modules/Bench/level.ini"), std::string::npos)
        << CurrentEditor().status;
    EXPECT_FALSE(fs::exists(dir / "Modules/Bench/level.ini"));
    EXPECT_EQ(test::ReadFile(dir / "Modules/Bench/Include.ini"), include);
    EXPECT_EQ(Layout().size(), 1u);
    EXPECT_TRUE(HasUnsavedChanges());

    // A good save over an old file asks, then replaces it whole.
    test::WriteFile(dir / "old.ini", "[Level]\nName = Old\n");
    SetFileChooserAnswer("old.ini");
    Tool(kSave);
    ASSERT_TRUE(CurrentEditor().asking);
    ClickAt(250, 258);  // YES
    EXPECT_EQ(test::ReadFile(dir / "old.ini"),
              "[Level]\nName = New Level\n\nAdd: [BreakablePO] Bench/Block @ 96, 120; Rotate 0; Link () -> ()\n");
}

TEST_F(EditorTest, UndoAndRedoRestoreEveryEditExactly) {
    OpenEditorOn("Main/Level 1");
    std::vector<std::vector<std::string>> seen{Layout()};
    auto edit = [&](auto act) {
        act();
        seen.push_back(Layout());
        ASSERT_NE(seen.back(), seen[seen.size() - 2]) << "step " << seen.size() - 1 << " changed nothing";
    };
    edit([&] { ClickAt(100, 130); });
    edit([&] { ClickAt(100, 130); });
    edit([&] { Wheel(100, 130, SDL_BUTTON_WHEELDOWN); });
    edit([&] {
        Tool(kLink);
        ClickAt(100, 130);
    });
    edit([&] { ClickAt(305, 293); });  // the target step of the link
    edit([&] { Tool(kCleanup); });
    edit([&] { Click(305, 293, SDL_BUTTON_RIGHT); });
    edit([&] { Tool(kCenter); });
    const int depth = EditorUndoDepth();
    EXPECT_EQ(depth, static_cast<int>(seen.size()) - 1);

    for (int i = static_cast<int>(seen.size()) - 2; i >= 0; --i) {
        Ctrl(SDLK_z);
        EXPECT_EQ(Layout(), seen[static_cast<std::size_t>(i)]) << "undo back to step " << i;
    }
    Ctrl(SDLK_z);  // nothing left: nothing happens
    EXPECT_EQ(Layout(), seen[0]);
    EXPECT_FALSE(HasUnsavedChanges());
    for (std::size_t i = 1; i < seen.size(); ++i) {
        Ctrl(i % 2 ? SDLK_y : SDLK_z, i % 2 == 0);
        EXPECT_EQ(Layout(), seen[i]) << "redo to step " << i;
    }
    Ctrl(SDLK_y);
    EXPECT_EQ(Layout(), seen.back());
    ASSERT_NE(Ghost(), nullptr);
    EXPECT_EQ(Ghost()->rotation, 0) << "the ghost is not part of the history";

    // A new edit after undoing drops what could have been redone.
    Ctrl(SDLK_z);
    ClickAt(400, 400);
    Ctrl(SDLK_y);
    EXPECT_EQ(Layout().size(), seen[seen.size() - 2].size() + 1);
}

TEST_F(EditorTest, HistoryHoldsAtLeastAHundredSteps) {
    OpenEditor();
    for (int i = 0; i < 150; ++i)
        ClickAt(30 + 12 * (i % 50), 60 + 12 * (i / 50));
    ASSERT_EQ(Layout().size(), 150u);
    for (int i = 0; i < 120; ++i)
        EditorUndo();
    EXPECT_EQ(Layout().size(), 30u);
    for (int i = 0; i < 120; ++i)
        EditorRedo();
    EXPECT_EQ(Layout().size(), 150u);
}

TEST_F(EditorTest, LeavingWithUnsavedEditsAsksFirst) {
    OpenEditor();
    PressKey(kEscapeKey);
    EXPECT_EQ(CurrentState(), GameState::SettingsMenu) << "nothing to lose: no question";

    OpenEditor();
    ClickAt(100, 130);
    PressKey(kEscapeKey);
    EXPECT_EQ(CurrentState(), GameState::LevelEditor);
    ASSERT_TRUE(CurrentEditor().asking);
    ClickAt(300, 300);
    EXPECT_EQ(Layout().size(), 1u) << "the question holds the editor";
    PressKey(kEscapeKey);  // no
    EXPECT_FALSE(CurrentEditor().asking);
    EXPECT_EQ(CurrentState(), GameState::LevelEditor);

    Tool(kLoad);
    ASSERT_TRUE(CurrentEditor().asking);
    ClickAt(390, 258);  // NO
    EXPECT_EQ(CurrentState(), GameState::LevelEditor);
    EXPECT_EQ(Layout().size(), 1u);

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Push(quit);
    EXPECT_TRUE(Frame()) << "a closed window asks too";
    ASSERT_TRUE(CurrentEditor().asking);
    Click(250, 258);  // YES
    EXPECT_FALSE(Frame()) << "yes ends the program";

    EditorExit();
    ResetGameState();
    ResetEditorState();
    OpenEditor();
    ClickAt(100, 130);
    Tool(kLoad);
    ClickAt(250, 258);  // YES
    EXPECT_EQ(CurrentState(), GameState::CustomLevels);
    EXPECT_TRUE(CameFromEditor());
}

TEST_F(EditorTest, TestPlayRunsTheWrittenLevelAndComesBackIntact) {
    OpenEditor();
    ClickAt(100, 130);
    Tool(kNextDef);
    ClickAt(200, 130);
    Tool(kLink);
    ClickAt(100, 130);
    ClickAt(200, 130);
    const std::vector<std::string> before = Layout();
    const int depth = EditorUndoDepth();

    Tool(kTest);
    EXPECT_EQ(CurrentState(), GameState::Play);
    EXPECT_TRUE(CameFromEditor());
    EXPECT_EQ(ThePlaySession().levelName, "New Level");
    EXPECT_EQ(test::ReadFile(dir / "NewLevel.ini"),
              "[Level]\nName = New Level\n\n"
              "Add: [BreakablePO] Bench/Block @ 96, 120; Rotate 0; Link (0) -> ()\n"
              "Add: [Exit] Bench/Gate @ 192, 120; Rotate 0; Link () -> (0)\n");
    ASSERT_EQ(TheWorld().Count(), 2) << "the level alone, without a ghost";

    Frame();  // the block falls a little: the board is live
    PressKey(kEscapeKey);
    ASSERT_EQ(CurrentState(), GameState::LevelEditor);
    EXPECT_FALSE(CameFromEditor());
    EXPECT_EQ(Layout(), before);
    EXPECT_EQ(CurrentEditor().level.name, "New Level");
    EXPECT_TRUE(HasUnsavedChanges()) << "a test play saves nothing";
    EXPECT_EQ(EditorUndoDepth(), depth);
    Ctrl(SDLK_z);
    EXPECT_EQ(Layout().back(), "Exit Bench/Gate 192,120 0 >") << "the link target undone";
}

TEST_F(EditorTest, PreviewWritesAShrunkPictureOfTheLevel) {
    // A second name for an older picture shows it was replaced, never written over in place.
    test::WriteFile(dir / "Preview.bmp", "older picture");
    std::filesystem::create_hard_link(dir / "Preview.bmp", dir / "older.bmp");
    OpenEditor();
    ClickAt(100, 130);  // a block at 96,120: preview pixel 32..39, 40..47
    Hover(300, 300);
    Tool(kPreview);
    EXPECT_EQ(test::ReadFile(dir / "older.bmp"), "older picture");
    SDL_Surface* shot = SDL_LoadBMP((dir / "Preview.bmp").string().c_str());
    ASSERT_NE(shot, nullptr);
    EXPECT_EQ(shot->w, 210);
    EXPECT_EQ(shot->h, 158);
    auto rgb = [&](int x, int y) {
        Uint8 r, g, b;
        SDL_LockSurface(shot);
        Uint8* p = static_cast<Uint8*>(shot->pixels) + y * shot->pitch + x * shot->format->BytesPerPixel;
        Uint32 v = 0;
        std::memcpy(&v, p, shot->format->BytesPerPixel);
        SDL_UnlockSurface(shot);
        SDL_GetRGB(v, shot->format, &r, &g, &b);
        return std::vector<int>{r, g, b};
    };
    EXPECT_EQ(rgb(35, 44), (std::vector<int>{176, 118, 62}));
    EXPECT_EQ(rgb(5, 150), (std::vector<int>{255, 255, 255}));
    SDL_FreeSurface(shot);
}

TEST_F(EditorTest, ALevelWithAKindNoModuleDefinesStopsWithTheNotFoundMessage) {
    OpenEditor();
    Tool(kLoad);
    ASSERT_EQ(CurrentState(), GameState::CustomLevels);
    Click(148, 192);  // the browser's previous module: Main
    Click(492, 242);  // its next level: Broken
    Click(320, 320);  // GO
    std::string message;
    try {
        RunFrame();
    } catch (const platform::GameError& error) {
        message = error.Message();
    }
    EXPECT_EQ(message, "Door \"Nowhere/Gate\" not found!");
}

TEST_F(EditorTest, ASavedLevelPlaysInItsModuleExactlyAsInTest) {
    OpenEditor();
    Tool(kPrevDef);  // Ledge, the pinned floor, last in the palette
    ASSERT_EQ(CurrentEditor().templateCaption, "Ledge");
    ClickAt(200, 400);  // 192..432 x 396..408
    ClickAt(200, 200);  // a roof at 192..204
    Tool(kNextDef);     // round to Block: mission-critical
    ClickAt(250, 380);  // on the floor
    ClickAt(305, 305);  // in the air
    Tool(kNextDef);     // Gate, at the right end
    ClickAt(410, 380);
    Tool(kNextDef);     // Button on the floor
    ClickAt(340, 375);
    Tool(kNextDef);     // Door between the button and the gate, opened by the button
    ClickAt(370, 350);
    Tool(kLink);
    ClickAt(345, 390);
    ClickAt(372, 370);
    ASSERT_EQ(Layout()[5], "ButtonPO Bench/Button 336,372 0 0>");
    ASSERT_EQ(Layout()[6], "Door Bench/Door 360,348 0 >0");
    fs::create_directories(dir / "Modules/Yard");
    test::WriteFile(dir / "Modules/Yard/Include.ini", "Made.ini\n");
    SetFileChooserAnswer("Modules/Yard/Made.ini");
    Tool(kSave);
    Tool(kTest);
    ASSERT_EQ(CurrentState(), GameState::Play);

    // Each board built as entering play builds it, then the same moves run out headless.
    const char* moves[] = {"Up", "Down", "Up", "Down"};
    auto play = [&](const std::string& level) {
        World& world = TheWorld();
        world.Clear();
        BuildLevel(level);
        world.SetGravity(90);
        std::vector<std::pair<std::uint64_t, LevelStatus>> boards;
        SettleHeadless(world, 4000);
        boards.emplace_back(world.StateHash(), world.levelStatus);
        for (const char* move : moves) {
            PlayMoveHeadless(world, move, 4000);
            boards.emplace_back(world.StateHash(), world.levelStatus);
        }
        return boards;
    };
    const auto tried = play("New Level");
    const std::string triedBoard = DescribeObjects(TheWorld());
    LoadModule("./Modules/Yard");
    const auto played = play("Yard/New Level");
    EXPECT_EQ(played, tried);
    EXPECT_NE(tried.front().first, tried.back().first) << "the moves moved something";
    EXPECT_EQ(tried.back().second, LevelStatus::Playing) << "still playing: every move was run out";

    // The simulator, loading the game folder afresh, ends on the same board.
    const std::string command = std::string(QM_SIM_BINARY) + " play 'Yard/New Level' U,D,U,D --data '" +
                                dir.Path().string() + "' 2>&1";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        EXPECT_EQ(pclose(pipe), 0) << out;
    }
    const std::size_t lastLine = out.rfind('\n', out.size() - 2);
    const std::string last = out.substr(lastLine == std::string::npos ? 0 : lastLine + 1);
    EXPECT_NE(last.find("\"turn\":4"), std::string::npos) << out;
    EXPECT_NE(last.find("\"objects\":" + triedBoard), std::string::npos) << last << "\n" << triedBoard;
}

}  // namespace
