// The level editor driven frame by frame through the real main loop, on a small workshop
// module (tests/fixtures/editor_module) with pictures made on the spot.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <set>
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
#include "audio/music.h"
#include "content/module_loader.h"
#include "content/registry.h"
#include "dialog/dialogs.h"
#include "editor/editor.h"
#include "editor/editor_solve.h"
#include "editor/level_form.h"
#include "editor/link_lines.h"
#include "platform/app_focus.h"
#include "platform/game_error.h"
#include "play/turn_engine.h"
#include "play/solver.h"
#include "tools/sim/sim.h"
#include "tests/editor_fixture.h"
#include "tests/test_support.h"
#include "tools/assetgen/canvas.h"
#include "widgets/file_chooser.h"
#include "widgets/widgets.h"
#include "world/draw_queue.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

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

TEST_F(EditorTest, AModuleOfLevelsOnlySortedFirstDoesNotLeaveTheEditorWithoutPieces) {
    std::filesystem::create_directories(dir / "Modules/Aaa");
    test::WriteFile(dir / "Modules/Aaa/Include.ini", "Levels.ini\n");
    test::WriteFile(dir / "Modules/Aaa/Levels.ini", "[Level]\nName = Harbour Mouth\nAdd: [BreakablePO] Bench/Block @ 204, 276; Rotate 0; Link () -> ()\n");
    Registry().Clear();
    ASSERT_TRUE(LoadAllModules());
    ASSERT_EQ(Registry().ModuleNameAt(0), "Aaa");

    OpenEditor();
    Frame();
    EXPECT_EQ(CurrentEditor().moduleCaption, "Bench");
    ASSERT_NE(Ghost(), nullptr);
    ClickAt(300, 300);
    EXPECT_EQ(TheWorld().Count(), 2) << "the ghost and the piece it placed";
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
    // Box 192..432 by 252..312, centred by one shift: x in steps of 6 (the door stands off
    // the others by 6), y in steps of 12.
    EXPECT_EQ(Layout(), (std::vector<std::string>{
                            "PhysObj Bench/Floor 198,252 0 >", "ButtonPO Bench/Button 306,228 0 7>",
                            "Door Bench/Door 390,204 0 >7", "Entity Bench/Reed 0,456 0 >",
                            "BreakablePO Bench/Block 210,228 90 >"}));
}

// A yard laid out on a 24-pixel grid, a door (placed 6 pixels off its picture) lying flush
// against the gate: Center moves it whole, on its own grid, and no two pieces come to overlap.
TEST_F(EditorTest, CenterKeepsALevelOnItsGridAndItsPiecesApart) {
    OpenEditorOnFile("Modules/Bench/Grid.ini",
                 "[Level]\nName = Grid Yard\n\n"
                 "Add: [BreakablePO] Bench/Ledge @ 48, 408; Rotate 0; Link () -> ()\n"
                 "Add: [BreakablePO] Bench/Block @ 48, 384; Rotate 0; Link () -> ()\n"
                 "Add: [Door] Bench/Door @ 66, 384; Rotate 90; Link () -> ()\n"
                 "Add: [Exit] Bench/Gate @ 120, 384; Rotate 0; Link () -> ()\n"
                 "Add: [BreakablePO] Bench/Block @ 264, 48; Rotate 90; Link () -> ()\n",
                 "Bench/Grid Yard");
    auto pieces = [] {
        std::vector<std::pair<int, int>> at;
        for (int i = 0; i < TheWorld().Count(); ++i)
            if (TheWorld().Get(i) != Ghost())
                at.emplace_back(TheWorld().Get(i)->x, TheWorld().Get(i)->y);
        return at;
    };
    auto overlaps = [] {
        std::set<std::pair<int, int>> pairs;
        for (int i = 0; i < TheWorld().Count(); ++i)
            for (const Entity* other : TheWorld().ObjectsOverlapping(*TheWorld().Get(i)))
                if (TheWorld().Get(i) != Ghost() && other != Ghost())
                    pairs.emplace(std::min(TheWorld().Get(i)->id, other->id), std::max(TheWorld().Get(i)->id, other->id));
        return pairs;
    };
    const auto before = pieces();
    const auto overlapsBefore = overlaps();
    Hover(600, 12);  // the ghost up in the toolbar, away from the pieces
    Tool(kCenter);
    const auto after = pieces();
    ASSERT_EQ(after.size(), before.size());
    const int dx = after[0].first - before[0].first, dy = after[0].second - before[0].second;
    EXPECT_NE(dx, 0);
    EXPECT_EQ(dx % 24, 0) << dx;
    EXPECT_EQ(dy % 24, 0) << dy;
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(after[i], std::make_pair(before[i].first + dx, before[i].second + dy)) << i;
    EXPECT_EQ(overlaps(), overlapsBefore);
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

// Level 1 links its button (7) to its door: a line joins the centres of their pictures,
// drawn in every editing frame; in link mode the chosen source is framed until the target
// is clicked.
TEST_F(EditorTest, LinksAreDrawnAndTheChosenSourceIsFramed) {
    OpenEditorOn("Main/Level 1");
    Hover(600, 440);
    const LinkLine line{312, 294, 396, 276};  // button 300..324 x 288..300, door 390..402 x 252..300
    EXPECT_EQ(LinkLinesOf(TheWorld(), Ghost()), std::vector<LinkLine>{line});
    const std::vector<int> amber{242, 172, 64};
    EXPECT_EQ(ScreenRgb(354, 285), amber) << "halfway along the line";
    EXPECT_EQ(ScreenRgb(396, 276), amber) << "the dot on the target";

    ClickAt(100, 130);  // a block to link from
    Tool(kLink);
    ClickAt(100, 130);
    ASSERT_EQ(CurrentEditor().mode, 2);
    EXPECT_EQ(ScreenRgb(94, 130), amber) << "framed while the target is awaited";
    EXPECT_EQ(CurrentEditor().statusLine, "Link: now click the piece it acts on.");
    ClickAt(305, 293);  // the button becomes its target
    EXPECT_NE(ScreenRgb(94, 130), amber) << "the frame goes with the target's click";
    EXPECT_EQ(LinkLinesOf(TheWorld(), Ghost()).size(), 2u);
}

TEST_F(EditorTest, TheGhostIsSeenThroughUntilItIsPlaced) {
    OpenEditor();
    Hover(300, 300);
    const std::vector<int> ground = ScreenRgb(110, 130);
    const std::vector<int> block{176, 118, 62};
    Hover(100, 130);  // the block ghost at 96..120 x 120..144
    const std::vector<int> ghost = ScreenRgb(110, 130);
    EXPECT_NE(ghost, block);
    EXPECT_NE(ghost, ground);
    for (int c = 0; c < 3; ++c)
        EXPECT_TRUE(std::min(block[c], ground[c]) <= ghost[c] && ghost[c] <= std::max(block[c], ground[c]))
            << "a blend of the block and the ground, channel " << c << ": " << ghost[c] << " between " << block[c]
            << " and " << ground[c];
    ClickAt(100, 130);
    Hover(300, 300);
    EXPECT_EQ(ScreenRgb(110, 130), block) << "placed, it is seen whole";
}

TEST_F(EditorTest, TheStatusLineNamesTheToolUnderTheMouse) {
    OpenEditor();
    const struct {
        int tool;
        const char* caption;
    } cases[] = {{kSave, "Save"}, {kCenter, "Center"}, {kLink, "Link"}, {kPreview, "Preview"},
                 {kLevel, "Level"}, {kSolve, "Solve"}, {kNextModule, "Next module"}};
    for (const auto& c : cases) {
        Hover(ToolX(c.tool), 14);
        Frame();
        EXPECT_TRUE(CurrentEditor().statusLine.starts_with(c.caption)) << CurrentEditor().statusLine;
    }
    Hover(300, 300);
    Frame();
    EXPECT_EQ(CurrentEditor().statusLine, "");
}

TEST_F(EditorTest, TheLevelFormSetsNameMusicAndParForSaveAndReadBack) {
    OpenEditorOn("Main/Level 1");
    Tool(kLevel);
    const LevelForm* form = EditorLevelForm();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Text(LevelForm::Field::Name), "Level 1");
    EXPECT_EQ(form->Text(LevelForm::Field::Par), "3");
    for (int i = 0; i < 7; ++i)
        PressKey(SDLK_BACKSPACE);
    Type("Ridge");
    PressKey(SDLK_TAB);
    Type("track3");
    PressKey(SDLK_TAB);
    PressKey(SDLK_BACKSPACE);
    Type("12m");  // "m" is typed, not taken as the mute key
    PressKey(SDLK_RETURN);
    ASSERT_NE(EditorLevelForm(), nullptr) << form->Message();
    EXPECT_EQ(EditorLevelForm()->Message(), "Par must be a whole number from 0 to 9999.");
    EXPECT_EQ(CurrentEditor().level.turnsPar, 3) << "a bad par changes nothing";
    EXPECT_FALSE(MusicMuted());
    PressKey(SDLK_BACKSPACE);
    PressKey(SDLK_RETURN);
    EXPECT_EQ(EditorLevelForm(), nullptr);
    EXPECT_EQ(CurrentState(), GameState::LevelEditor);
    EXPECT_TRUE(HasUnsavedChanges());

    SetFileChooserAnswer("Ridge.ini");
    Tool(kSave);
    const std::string text = test::ReadFile(dir / "Ridge.ini");
    EXPECT_TRUE(text.starts_with("[Level]\nName = Ridge\nMusicThemePath = RS#TRACK3\nTurnsPar = 12\n"
                                 "PreviewPath = Previews/One.bmp\n\n"))
        << text;
    EXPECT_FALSE(HasUnsavedChanges());
    LoadContentFile("./Ridge.ini");
    EXPECT_EQ(Registry().LevelTurnsPar("Ridge"), 12);
    EXPECT_EQ(Registry().LevelMusicThemePath("Ridge"), "RS#TRACK3");

    // Escape leaves the form, not the editor, and keeps the values.
    Tool(kLevel);
    Type("x");
    PressKey(kEscapeKey);
    EXPECT_EQ(EditorLevelForm(), nullptr);
    EXPECT_EQ(CurrentState(), GameState::LevelEditor);
    EXPECT_EQ(CurrentEditor().level.name, "Ridge");
}

TEST(LevelFormValues, BadValuesAreNamedAndGoodOnesRead) {
    const struct {
        const char* typed;
        bool good;
        std::int32_t par;
    } pars[] = {{"7", true, 7}, {" 0042 ", true, 42}, {"", true, 0}, {"9999", true, 9999}, {"10000", false, 0},
                {"99999999999999999999", false, 0}, {"-3", false, 0}, {"2.5", false, 0}, {"seven", false, 0}};
    for (const auto& c : pars) {
        std::int32_t par = -1;
        const std::string why = ReadPar(c.typed, par);
        EXPECT_EQ(why.empty(), c.good) << c.typed;
        EXPECT_EQ(par, c.good ? c.par : -1) << c.typed << ": a refused par is left alone";
    }
    const struct {
        const char* typed;
        const char* name;  // null: refused
    } names[] = {{"  Ridge ", "Ridge"}, {"", nullptr}, {"   ", nullptr}, {"Main/Ridge", nullptr},
                 {"Tab\there", nullptr}, {"A name well over thirty-nine characters long", nullptr}};
    for (const auto& c : names) {
        std::string name = "old";
        const std::string why = ReadLevelName(c.typed, name);
        EXPECT_EQ(why.empty(), c.name != nullptr) << c.typed;
        EXPECT_EQ(name, c.name ? c.name : "old") << c.typed;
    }
    const struct {
        const char* typed;
        const char* path;  // null: refused
    } tracks[] = {{"", ""}, {"TRACK9", "RS#TRACK9"}, {"rs#track1", "RS#TRACK1"}, {"RS#TITLETRACK", "RS#TITLETRACK"},
                  {"TRACK10", nullptr}, {"RS#NOSUCH", nullptr}, {"Music/none.ogg", nullptr}};
    for (const auto& c : tracks) {
        std::string path = "old";
        const std::string why = ReadMusicTrack(c.typed, path);
        EXPECT_EQ(why.empty(), c.path != nullptr) << c.typed;
        EXPECT_EQ(path, c.path ? c.path : "old") << c.typed;
    }
}

// The block rests on a high ledge; right, it runs into a stub above the hole, and down it
// drops into the hole on the low ledge: two turns. The workshop's gate never takes anything
// (it has no picture to glow with), so the level brings a hole that does.
class EditorSolveTest : public EditorTest {
protected:
    void OpenSlide() {
        Picture("Art/Glow0.png", 24, 24, {242, 172, 64, 255});
        Picture("Art/Glow1.png", 24, 24, {244, 232, 204, 255});
        test::WriteFile(dir / "Modules/Bench/Hole.ini",
                        "[Sprite]\nName = Glow Picture\nSpritePath = Art/Glow.png\nWidth = 24\nHeight = 24\n"
                        "FrameCount = 2\nFrameDelay = 1\nLoopAnim = 0\n\n"
                        "[Exit]\nName = Hole\nSpriteName = Bench/Block Picture\nActiveSpriteName = Bench/Glow Picture\n"
                        "TeleportFrame = 1\nPinned = 1\n");
        LoadContentFile("./Modules/Bench/Hole.ini");
        OpenEditorOnFile("Modules/Bench/Slide.ini",
                         "[Level]\nName = Slide\n\n"
                         "Add: [BreakablePO] Bench/Ledge @ 48, 200; Rotate 0; Link () -> ()\n"
                         "Add: [BreakablePO] Bench/Ledge @ 400, 188; Rotate 0; Link () -> ()\n"
                         "Add: [BreakablePO] Bench/Ledge @ 300, 400; Rotate 0; Link () -> ()\n"
                         "Add: [Exit] Bench/Hole @ 376, 376; Rotate 0; Link () -> ()\n"
                         "Add: [BreakablePO] Bench/Block @ 60, 176; Rotate 0; Link () -> ()\n",
                         "Bench/Slide");
    }
};

TEST_F(EditorSolveTest, RunsAcrossFramesFindsTheSolversTurnsAndSetsThePar) {
    OpenSlide();
    SetEditorSolveSlice(0);  // one move a frame
    Tool(kSolve);
    ASSERT_NE(EditorSolvePanel(), nullptr);
    const std::int32_t framesBefore = FramesDrawn();
    int frames = 0;
    while (EditorSolvePanel()->Searching() && frames < 1000) {
        Frame();
        ++frames;
    }
    EXPECT_GT(frames, 1) << "the search is spread over frames";
    EXPECT_GE(FramesDrawn() - framesBefore, frames) << "and every one of them was drawn";
    ASSERT_TRUE(EditorSolvePanel()->FewestTurns()) << EditorSolvePanel()->Verdict();
    const std::int32_t turns = *EditorSolvePanel()->FewestTurns();
    EXPECT_EQ(turns, 2);
    EXPECT_EQ(EditorSolvePanel()->Verdict(), "Fewest turns: " + std::to_string(turns));
    PressKey(SDLK_RETURN);
    EXPECT_EQ(EditorSolvePanel(), nullptr);
    EXPECT_EQ(CurrentEditor().level.turnsPar, turns);

    // The simulator's road: the saved file, built and settled, then searched to the end.
    SetFileChooserAnswer("Modules/Bench/Slide.ini");
    Tool(kSave);
    PressKey(SDLK_RETURN);  // "Replace ...?" YES
    LoadContentFile("./Modules/Bench/Slide.ini");
    World& world = TheWorld();
    world.Clear();
    world.frozen = false;  // the editor holds it still
    world.SetGravity(90);
    BuildLevel("Bench/Slide");
    SettleHeadless(world, 100000);
    const SolveResult direct = Solve(TheWorld().Snapshot(), {});
    ASSERT_TRUE(direct.solvable);
    EXPECT_EQ(static_cast<std::int32_t>(direct.moves.size()), turns);
    EXPECT_EQ(Registry().LevelTurnsPar("Bench/Slide"), turns);
}

TEST_F(EditorSolveTest, EscapeStopsTheSearchAndThenClosesItsPanel) {
    OpenSlide();
    SetEditorSolveSlice(0);
    Tool(kSolve);
    ASSERT_NE(EditorSolvePanel(), nullptr);
    ASSERT_TRUE(EditorSolvePanel()->Searching());
    PressKey(kEscapeKey);
    ASSERT_NE(EditorSolvePanel(), nullptr);
    EXPECT_FALSE(EditorSolvePanel()->Searching());
    EXPECT_TRUE(EditorSolvePanel()->Verdict().starts_with("Stopped")) << EditorSolvePanel()->Verdict();
    EXPECT_EQ(CurrentState(), GameState::LevelEditor);
    PressKey(kEscapeKey);
    EXPECT_EQ(EditorSolvePanel(), nullptr);
    EXPECT_EQ(CurrentState(), GameState::LevelEditor) << "the Escape that closed the panel stays there";
    EXPECT_EQ(CurrentEditor().level.turnsPar, 0);
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
