// The real program: from the title through the settings menu into the editor, and a level
// loaded, changed, saved, test-played and left, all by scripted input.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>
#include <string>

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

}  // namespace
