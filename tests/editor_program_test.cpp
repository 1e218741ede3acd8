// The real program: from the title through the settings menu into the editor, and a level
// loaded, changed, saved, test-played and left, all by scripted input.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>
#include <string>

#include "tests/frame_shots.h"
#include "tests/test_support.h"
#include "tools/assetgen/canvas.h"

namespace fs = std::filesystem;

namespace {

// The built game folder with the editor's workshop module in place of any content.
void WriteEditorGameFolder(const fs::path& dir) {
    test::CopyGameFolder(dir);
    fs::remove_all(dir / "Modules");
    fs::copy(fs::path(QM_FIXTURES_DIR) / "editor_module/Modules", dir / "Modules", fs::copy_options::recursive);
    fs::create_directories(dir / "Art");
    Canvas(24, 24, {176, 118, 62, 255}).WritePng((dir / "Art/Block.png").string());
    Canvas(24, 12, {242, 172, 64, 255}).WritePng((dir / "Art/Button.png").string());
    Canvas(12, 48, {38, 110, 128, 255}).WritePng((dir / "Art/Door.png").string());
    Canvas(240, 12, {58, 44, 102, 255}).WritePng((dir / "Art/Floor.png").string());
}

// Down on one frame, up on the next: a click.
std::string Click(int frame, int x, int y, int button = 1) {
    return std::to_string(frame) + " mousemove " + std::to_string(x) + " " + std::to_string(y) + "\n" +
           std::to_string(frame) + " mousedown " + std::to_string(button) + " " + std::to_string(x) + " " +
           std::to_string(y) + "\n" + std::to_string(frame + 1) + " mouseup " + std::to_string(button) + " " +
           std::to_string(x) + " " + std::to_string(y) + "\n";
}

TEST(EditorProgramTest, ALoadedLevelIsChangedSavedTriedAndLeftWithAQuestion) {
    test::ScratchDir dir;
    WriteEditorGameFolder(dir.Path());
    std::string script;
    for (int frame = 10; frame <= 200; frame += 10)
        script += std::to_string(frame) + " key 32\n";  // through the opening pictures
    script += Click(230, 320, 210);                      // title: SETTINGS
    script += Click(270, 150, 180);                      // settings: LEVEL EDITOR
    script += Click(290, 580, 14);                       // editor: Load
    script += Click(310, 148, 192);                      // browser: previous module, "Main"
    script += Click(330, 320, 320);                      // browser: GO, "Level 1" into the editor
    script += Click(350, 100, 130, 5);                   // the wheel turns the ghost a quarter
    script += Click(360, 100, 130);                      // place the turned block
    script += Click(370, 604, 14);                       // Link: from the block...
    script += Click(380, 100, 130);
    script += Click(390, 305, 293);                      // ...to the level's button
    script += Click(400, 484, 14);                       // Save: the chooser opens
    script += "410 key 109\n412 key 105\n414 key 110\n416 key 101\n420 key 13\n";  // "mine", Enter
    script += Click(440, 556, 14);                       // Test
    script += "470 key 27\n";                            // back from play to the editor
    script += "480 shot " + (dir / "back.bmp").string() + "\n";
    script += Click(500, 100, 130, 3);                   // an edit left unsaved
    script += "510 quit\n";
    script += "520 shot " + (dir / "asked.bmp").string() + "\n";
    script += Click(530, 250, 258);                      // "Discard changes?" YES
    script += "600 shot " + (dir / "too-late.bmp").string() + "\n";
    test::WriteFile(dir / "script.txt", script);

    test::RunResult r =
        test::RunGameBinary({"--data", dir.Path().string(), "--script", (dir / "script.txt").string(), "--uncapped"});
    ASSERT_EQ(r.exitCode, 0) << r.output;

    const std::string saved = test::ReadFile(dir / "mine.ini");
    EXPECT_EQ(saved,
              "[Level]\n"
              "Name = Level 1\n"
              "TurnsPar = 3\n"
              "PreviewPath = Previews/One.bmp\n"
              "\n"
              "Add: [PhysObj] Bench/Floor @ 192, 300; Rotate 0; Link () -> ()\n"
              "Add: [ButtonPO] Bench/Button @ 300, 276; Rotate 0; Link (7) -> (8)\n"
              "Add: [Door] Bench/Door @ 384, 252; Rotate 0; Link () -> (7)\n"
              "Add: [Entity] Bench/Reed @ 0, 456; Rotate 0; Link () -> ()\n"
              "Add: [BreakablePO] Bench/Block @ 204, 276; Rotate 90; Link () -> ()\n"
              "Add: [BreakablePO] Bench/Block @ 96, 120; Rotate 90; Link (8) -> ()\n"
              "DialogEvent: Main/Hello\n");
    EXPECT_EQ(test::ReadFile(dir / "NewLevel.ini"), saved) << "the test play ran the level as saved";
    EXPECT_TRUE(fs::exists(dir / "back.bmp")) << "Escape from the test came back to the editor";
    EXPECT_TRUE(fs::exists(dir / "asked.bmp")) << "a closed window with unsaved edits asks first";
    EXPECT_FALSE(fs::exists(dir / "too-late.bmp")) << "yes ends the program";
}

// Typed characters, one every other frame, from `frame` on; the next free frame comes back.
int Type(std::string& script, int frame, const std::string& text) {
    for (char c : text) {
        script += std::to_string(frame) + " key " + std::to_string(static_cast<unsigned char>(c)) + "\n";
        frame += 2;
    }
    return frame;
}

// A designer's whole road: a level built from the campaign's pieces in an empty editor,
// named and given music in the form, solved with the par taken from the answer, saved into
// a new module, then found under CUSTOM LEVELS and played to its end.
TEST(EditorProgramTest, ALevelIsBuiltNamedSolvedSavedIntoANewModuleAndPlayedFromCustomLevels) {
    test::ScratchDir dir;
    test::CopyGameFolder(dir.Path());
    std::string script = "10 key 27\n";               // past the opening
    script += Click(40, 320, 212);                     // title: SETTINGS
    script += Click(80, 150, 180);                     // settings: LEVEL EDITOR
    int f = 120;
    auto click = [&](int x, int y) {
        script += Click(f, x, y);
        f += 4;
    };
    auto key = [&](int sym, int wait) {
        script += std::to_string(f) + " key " + std::to_string(sym) + "\n";
        f += wait;
    };
    // A page on a wall; right, it stops at a wall above the Ledger; down, it lands on it.
    click(192, 156);                                   // the palette starts at the page
    for (int i = 0; i < 5; ++i)
        click(460, 14);                                // on to the wall
    click(192, 192);
    click(336, 156);
    click(300, 336);
    for (int i = 0; i < 4; ++i)
        click(460, 14);                                // on to the Ledger
    click(300, 300);
    click(176, 14);                                    // Level: the form
    for (int i = 0; i < 9; ++i)
        key(8, 2);                                     // "New Level" rubbed out
    f = Type(script, f, "First Fall");
    key(9, 2);                                         // Tab: the music
    f = Type(script, f, "TRACK1");
    key(13, 4);                                        // applied
    click(200, 14);                                    // Solve
    f += 60;
    key(13, 4);                                        // the answer becomes the par
    click(484, 14);                                    // Save: the chooser
    f += 4;
    key(274, 2);                                       // "Modules/"...
    key(13, 4);                                        // ...walked into
    f = Type(script, f, "Pond");
    click(320, 408);                                   // NEW FOLDER
    f = Type(script, f, "FirstFall");
    key(13, 10);                                       // saved
    key(27, 10);                                       // out of the editor: the module is loaded
    click(150, 240);                                   // settings: RETURN TO MENU
    f += 10;
    click(160, 212);                                   // title: PLAY
    f += 30;
    click(509, 412);                                   // level select: CUSTOM LEVELS
    f += 20;
    click(320, 280);                                   // GO on the one custom level
    f += 60;
    key(275, 80);                                      // Right
    script += std::to_string(f) + " shot " + (dir / "one-turn.bmp").string() + "\n";
    key(274, 150);                                     // Down
    script += std::to_string(f) + " shot " + (dir / "done.bmp").string() + "\n";
    key(32, 40);                                       // on from the finished level
    script += std::to_string(f) + " shot " + (dir / "after.bmp").string() + "\n";
    script += std::to_string(f + 10) + " quit\n";
    test::WriteFile(dir / "script.txt", script);

    test::RunResult r =
        test::RunGameBinary({"--data", dir.Path().string(), "--script", (dir / "script.txt").string(), "--uncapped"});
    ASSERT_EQ(r.exitCode, 0) << r.output;

    EXPECT_EQ(test::ReadFile(dir / "Modules/Pond/Include.ini"), "FirstFall.ini\n");
    EXPECT_EQ(test::ReadFile(dir / "Modules/Pond/FirstFall.ini"),
              "[Level]\n"
              "Name = First Fall\n"
              "MusicThemePath = RS#TRACK1\n"
              "TurnsPar = 2\n"
              "\n"
              "Add: [BreakablePO] Main/Page @ 192, 156; Rotate 0; Link () -> ()\n"
              "Add: [BreakablePO] Main/Wall @ 192, 192; Rotate 0; Link () -> ()\n"
              "Add: [BreakablePO] Main/Wall @ 336, 156; Rotate 0; Link () -> ()\n"
              "Add: [BreakablePO] Main/Wall @ 300, 336; Rotate 0; Link () -> ()\n"
              "Add: [Exit] Main/Ledger @ 300, 300; Rotate 0; Link () -> ()\n");
    // A message fills the band across the middle once the board rests after the last turn,
    // and only a completed level lets Space lead away from the board.
    test::Shot oneTurn = test::LoadShot(dir / "one-turn.bmp"), done = test::LoadShot(dir / "done.bmp");
    test::Shot after = test::LoadShot(dir / "after.bmp");
    ASSERT_TRUE(oneTurn && done && after);
    EXPECT_GT(test::Difference(oneTurn, done, SDL_Rect{60, 236, 520, 32}), 0.05) << "the level's message shown";
    EXPECT_GT(test::Difference(done, after, SDL_Rect{0, 0, 640, 480}), 0.3) << "the level was complete";
}

}  // namespace
