// Saving from the editor: where a level may go, the questions before writing over a file or
// leaving, modules' Include.ini lists, and the level's own preview picture.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <filesystem>
#include <optional>

#include "app/game_state.h"
#include "app/input.h"
#include "app/timer.h"
#include "content/module_loader.h"
#include "content/registry.h"
#include "dialog/dialogs.h"
#include "editor/editor.h"
#include "editor/save_target.h"
#include "game/app.h"
#include "game/screens.h"
#include "platform/app_focus.h"
#include "platform/game_error.h"
#include "play/play.h"
#include "tests/editor_fixture.h"
#include "tests/test_support.h"
#include "tools/assetgen/canvas.h"
#include "ui/custom_levels.h"
#include "widgets/file_chooser.h"
#include "widgets/widgets.h"
#include "world/draw_queue.h"
#include "world/render.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

constexpr int kSaveTool = 472 + 12, kPreviewTool = 616 + 12;
constexpr int kYesX = 250, kNoX = 390, kSaveX = 320, kAnswerY = 258;

// The workshop module of the editor tests with the editor open on one placed block: something
// unsaved.
class EditorSaveTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        if (HasFatalFailure())
            return;
        OpenEditor();
        ClickAt(100, 130);
    }
    void SaveAs(const std::string& answer) {
        SetFileChooserAnswer(answer);
        ClickAt(kSaveTool, 14);
    }
    const std::string& Status() const { return CurrentEditor().status; }
};

TEST(SaveTargetTest, OnlyLevelFilesInTheGameOrAModuleFolderAreTargets) {
    test::ScratchDir dir;
    test::WorkingDir in(dir.Path());
    fs::create_directories(dir / "Modules/Reeds/Art");
    test::WriteFile(dir / "Settings.ini", "UpKey = 273\n");
    test::WriteFile(dir / "Pond.ini", "[Level]\nName = Pond\n");
    test::WriteFile(dir / "Modules/Reeds/Include.ini", "Pieces.ini\nMarsh.ini\n");
    test::WriteFile(dir / "Modules/Reeds/Pieces.ini", "[Sprite]\nName = Reed\n");
    test::WriteFile(dir / "Modules/Reeds/Marsh.ini", "[Level]\nName = Marsh\n");
    test::WriteFile(dir / "Modules/Reeds/Both.ini", "[Level]\nName = Both\n[Dialog]\nName = Hi\n");
    test::WriteFile(dir / "Modules/Lone", "not a folder");
    fs::create_directories(dir / "Deep.ini");

    struct Case {
        const char* chosen;
        const char* path;  // empty: refused
        const char* refusal = "";
    };
    const Case cases[] = {
        {"Fresh", "Fresh.ini"},
        {"Fresh.INI", "Fresh.ini"},
        {"./Pond.ini", "Pond.ini"},
        {"Modules/Reeds/Marsh.ini", "Modules/Reeds/Marsh.ini"},
        {"Modules/New Set/Start", "Modules/New Set/Start.ini"},
        {"Settings.ini", "", "Settings.ini is not a level file"},
        {"settings", "", "settings.ini is not a level file"},
        {"Modules/Reeds/Include.ini", "", "Include.ini is not a level file"},
        {"Modules/Reeds/Pieces.ini", "", "holds more than a level"},
        {"Modules/Reeds/Both.ini", "", "holds more than a level"},
        {"Deep.ini", "", "is a folder"},
        {"SaveData.sav", "", "end in .ini"},
        {"run.rpl", "", "end in .ini"},
        {".hidden", "", "start with a dot"},
        {"..ini", "", "\"..\""},
        {"a..b", "", "\"..\""},
        {"tab\there", "", "control characters"},
        {"back\\slash", "", "/ or \\"},
        {"what?", "", "can't hold ?"},
        {"../Up.ini", "", "above the game folder"},
        {"Modules/../Up.ini", "", "above the game folder"},
        {"/tmp/Abs.ini", "", "inside the game folder"},
        {"GUI/Menu.ini", "", "a module in Modules"},
        {"Modules/Loose.ini", "", "a module in Modules"},
        {"Modules/Reeds/Art/In.ini", "", "a module in Modules"},
        {"Modules/.git/In.ini", "", "start with a dot"},
        {"Modules/Lone/In.ini", "", "is not a folder"},
        {"Modules/Main/Mine.ini", "", "Main is the campaign"},
        {"Modules/A Very Long Module Name Indeed Yes/X.ini", "", "shorten the level's name"},
        {"", "", "Type a name"},
    };
    for (const Case& c : cases) {
        std::string refusal;
        const std::optional<SaveTarget> target = CheckSaveTarget(c.chosen, "Level", refusal);
        if (*c.path) {
            ASSERT_TRUE(target) << c.chosen << ": " << refusal;
            EXPECT_EQ(target->path, c.path) << c.chosen;
        } else {
            EXPECT_FALSE(target) << c.chosen << " gave " << (target ? target->path : "");
            EXPECT_NE(refusal.find(c.refusal), std::string::npos) << c.chosen << ": " << refusal;
        }
    }
    std::string refusal;
    EXPECT_TRUE(CheckSaveTarget("Pond", "Level", refusal)->replaces);
    EXPECT_FALSE(CheckSaveTarget("Fresh", "Level", refusal)->replaces);
    EXPECT_TRUE(CheckSaveTarget("Modules/New Set/Start", "Level", refusal)->newFolder);

    // The chooser lists what a save may write over, and nothing else.
    auto listed = [](const std::string& folder) {
        std::vector<std::string> names;
        for (const std::string& name : ListMatchingFiles("*", folder))
            if (OffersAsLevelFile(folder, name))
                names.push_back(name);
        return names;
    };
    EXPECT_TRUE(OffersAsFolder("", "Modules"));
    EXPECT_TRUE(OffersAsFolder("Modules", "Reeds"));
    for (const auto& [folder, name] : {std::pair{"", "GUI"}, {"Modules", "Main"}, {"Modules/Reeds", "Art"}})
        EXPECT_FALSE(OffersAsFolder(folder, name)) << folder << "/" << name;
    EXPECT_EQ(listed(""), (std::vector<std::string>{"Pond.ini"}));
    EXPECT_EQ(listed("Modules/Reeds"), (std::vector<std::string>{"Marsh.ini"}));
}

TEST_F(EditorSaveTest, SavingOverALevelAsksAndNoKeepsTheOldFile) {
    test::WriteFile(dir / "Pond.ini", "[Level]\nName = Old\n");
    SaveAs("Pond");
    ASSERT_TRUE(CurrentEditor().asking);
    ClickAt(kNoX, kAnswerY);
    EXPECT_FALSE(CurrentEditor().asking);
    EXPECT_EQ(test::ReadFile(dir / "Pond.ini"), "[Level]\nName = Old\n");
    EXPECT_NE(Status().find("kept as it was"), std::string::npos) << Status();
    EXPECT_TRUE(HasUnsavedChanges());

    SaveAs("Pond");
    ClickAt(kYesX, kAnswerY);
    EXPECT_EQ(test::ReadFile(dir / "Pond.ini"),
              "[Level]\nName = New Level\n\nAdd: [BreakablePO] Bench/Block @ 96, 120; Rotate 0; Link () -> ()\n");
    EXPECT_FALSE(HasUnsavedChanges());

    // What is not a level is refused without a question.
    test::WriteFile(dir / "Settings.ini", "UpKey = 273\n");
    SaveAs("Settings.ini");
    EXPECT_FALSE(CurrentEditor().asking);
    EXPECT_EQ(test::ReadFile(dir / "Settings.ini"), "UpKey = 273\n");
    EXPECT_NE(Status().find("Not saved: Settings.ini is not a level file"), std::string::npos) << Status();
}

TEST_F(EditorSaveTest, IncludeListGainsTheLevelOnceAndKeepsItsOtherLines) {
    const fs::path include = dir / "Modules/Bench/Include.ini";
    test::WriteFile(include, "// the workshop\r\nPieces.ini\r\n./Listed.ini");
    fs::create_hard_link(include, dir / "include-before");
    SaveAs("Modules/Bench/Pond");
    const std::string listed = "// the workshop\r\nPieces.ini\r\n./Listed.ini\r\nPond.ini\r\n";
    EXPECT_EQ(test::ReadFile(include), listed);
    EXPECT_EQ(test::ReadFile(dir / "include-before"), "// the workshop\r\nPieces.ini\r\n./Listed.ini")
        << "replaced by a rename, never written in place";
    EXPECT_NE(Status().find("listed it in the module's Include.ini"), std::string::npos) << Status();

    SaveAs("Modules/Bench/Pond");
    ClickAt(kYesX, kAnswerY);
    SaveAs("Modules/Bench/Listed");
    EXPECT_EQ(test::ReadFile(include), listed);
    EXPECT_NE(Status().find("already in the module's Include.ini"), std::string::npos) << Status();
    EXPECT_TRUE(fs::exists(dir / "Modules/Bench/Listed.ini"));
}

TEST_F(EditorSaveTest, AListThatCannotBeWrittenLeavesTheFolderAsItWas) {
    // The list is a link into a folder that is not there: the level can be written, the list not.
    const fs::path include = dir / "Modules/Bench/Include.ini";
    fs::remove(include);
    fs::create_symlink("gone/Include.ini", include);
    test::WriteFile(dir / "Modules/Bench/Old.ini", "[Level]\nName = Old\n");
    SaveAs("Modules/Bench/Old");
    ClickAt(kYesX, kAnswerY);
    SaveAs("Modules/Bench/Pond");
    EXPECT_NE(Status().find("Could not save Modules/Bench/Pond.ini"), std::string::npos) << Status();
    EXPECT_EQ(test::ReadFile(dir / "Modules/Bench/Old.ini"), "[Level]\nName = Old\n");
    EXPECT_FALSE(fs::exists(dir / "Modules/Bench/Pond.ini"));
    EXPECT_EQ(fs::read_symlink(include), "gone/Include.ini");
    EXPECT_TRUE(HasUnsavedChanges());
}

TEST_F(EditorSaveTest, ALevelSavedIntoANewModuleIsACustomLevelOnceTheEditorIsLeft) {
    SaveAs("Modules/Yard/Pond");
    EXPECT_EQ(test::ReadFile(dir / "Modules/Yard/Include.ini"), "Pond.ini\n");
    EXPECT_NE(Status().find("made the module's Include.ini"), std::string::npos) << Status();
    PressKey(kEscapeKey);
    ASSERT_EQ(CurrentState(), GameState::SettingsMenu);
    EXPECT_NE(Registry().Find("Main/Level 1"), nullptr) << "the campaign stays";

    SetState(GameState::CustomLevels);
    for (int i = 0; i < Registry().ModuleCount() && CustomLevelsModuleText() != "Yard"; ++i)
        ClickAt(492, 192);  // next module
    EXPECT_EQ(CustomLevelsModuleText(), "Yard");
    EXPECT_EQ(CustomLevelsLevelText(), "New Level");
    EXPECT_EQ(CustomLevelsChosenLevel(), "Yard/New Level");
}

TEST_F(EditorSaveTest, PreviewBecomesThePictureOfTheSavedLevel) {
    ClickAt(kPreviewTool, 14);
    EXPECT_TRUE(fs::exists(dir / "Preview.bmp"));
    EXPECT_EQ(CurrentEditor().level.previewPath, "") << "a level with no file yet has no picture of its own";

    SaveAs("Modules/Yard/Pond");
    ClickAt(kPreviewTool, 14);
    EXPECT_EQ(CurrentEditor().level.previewPath, "Modules/Yard/Pond.bmp");
    SDL_Surface* picture = SDL_LoadBMP((dir / "Modules/Yard/Pond.bmp").string().c_str());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->w, 210);
    SDL_FreeSurface(picture);
    SaveAs("Modules/Yard/Pond");
    ClickAt(kYesX, kAnswerY);
    EXPECT_NE(test::ReadFile(dir / "Modules/Yard/Pond.ini").find("\nPreviewPath = Modules/Yard/Pond.bmp\n"),
              std::string::npos);
    PressKey(kEscapeKey);
    EXPECT_EQ(Registry().LevelPreviewPath("Yard/New Level"), "Modules/Yard/Pond.bmp");

    // Loaded again, the level knows its file: the chooser starts there and Preview writes beside it.
    ThePlaySession().levelName = "Yard/New Level";
    BuildLevel("Yard/New Level");
    SetEditorHoldsLevel(true);
    SetState(GameState::LevelEditor);
    EXPECT_EQ(CurrentEditor().levelPath, "Modules/Yard/Pond.ini");
}

TEST_F(EditorSaveTest, DiscardChangesOffersToSaveFirst) {
    test::WriteFile(dir / "Pond.ini", "[Level]\nName = Old\n");
    struct Step {
        std::optional<std::string> answer;
        bool replace;  // the name is taken: answered NO
    };
    // A cancelled chooser and a refused replacement both stay in the editor.
    for (const Step& step : {Step{std::nullopt, false}, Step{"Pond", true}}) {
        PressKey(kEscapeKey);
        ASSERT_TRUE(CurrentEditor().asking);
        SetFileChooserAnswer(step.answer);
        ClickAt(kSaveX, kAnswerY);
        if (step.replace)
            ClickAt(kNoX, kAnswerY);
        EXPECT_FALSE(CurrentEditor().asking);
        EXPECT_EQ(CurrentState(), GameState::LevelEditor);
    }
    PressKey(kEscapeKey);
    SetFileChooserAnswer("Fresh");
    ClickAt(kSaveX, kAnswerY);
    EXPECT_TRUE(fs::exists(dir / "Fresh.ini"));
    EXPECT_EQ(CurrentState(), GameState::SettingsMenu);
}

}  // namespace
