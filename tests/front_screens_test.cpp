// The menu screens and cutscenes, driven through the real frame loop in a copy of the
// game folder, with the clock stepped by hand.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <thread>
#include <vector>

#include "game/screens.h"
#include "play/story.h"
#include "play/play.h"
#include "game/app.h"
#include "app/game_state.h"
#include "app/input.h"
#include "world/render.h"
#include "app/timer.h"
#include "audio/cues.h"
#include "audio/music.h"
#include "content/module_loader.h"
#include "content/registry.h"
#include "content/settings_file.h"
#include "dialog/dialog_box.h"
#include "dialog/dialogs.h"
#include "media/slideshow.h"
#include "platform/app_focus.h"
#include "platform/game_error.h"
#include "platform/notice.h"
#include "platform/window.h"
#include "play/save_data.h"
#include "tests/test_support.h"
#include "tools/assetgen/canvas.h"
#include "ui/credits.h"
#include "ui/custom_levels.h"
#include "ui/level_select.h"
#include "ui/settings_menu.h"
#include "ui/title_menu.h"
#include "widgets/file_chooser.h"
#include "widgets/notice_line.h"
#include "widgets/widgets.h"
#include "world/pixels.h"

namespace {

std::uint32_t ticks = 0;
std::uint32_t Ticks() { return ticks; }

const char* kCampaign =
    "[Level]\nName = Level 1\nTurnsPar = 5\n\n"
    "[Level]\nName = Level 2\nPreviewPath = GUI/NoSuchPreview.png\n\n"
    "[Level]\nName = Level 3\nTurnsPar = 7\nPreviewPath = GUI/LevelSelectButton.png\n\n"
    "[Dialog]\nName = Ending\nTrigger = ENDING_DIALOG\n";
// Level 4 is listed but nothing defines it.
const char* kLevelList = "Main/Level 1\nMain/Level 2\nMain/Level 3\nMain/Level 4\n";

class FrontScreens : public ::testing::Test {
protected:
    void SetUp() override {
        test::CopyGameFolder(dir.Path());
        cwd.emplace(dir.Path());
        if (!TTF_WasInit()) {
            ASSERT_EQ(TTF_Init(), 0);
        }
        ASSERT_TRUE(OpenAudio());
        platform::SetScriptedFocus(true);
        SetScreenSurface(SDL_GetVideoSurface());
        ticks = 1000;
        SetTickSource(Ticks);
        SetFixedTimerStep(1.0);
        ResetGameState();
        Registry() = ModuleRegistry();
        test::WriteFile(dir / "LevelList.txt", kLevelList);
    }

    void TearDown() override {
        if (SlideshowActive()) {
            InjectEvent(KeyEvent(SDL_KEYDOWN, kEscapeKey));
            UpdateStoryPictures();
        }
        SetFadeAlpha(0);
        SetFadeRate(0);
        ResetDialogBox();
        FreeDialogBox();
        clearWidgets();
        ClearSlideQueue();
        StopMusic();
        CloseAudio();
        Registry() = ModuleRegistry();
        ResetGameState();
        ClearBindings();
        platform::SetWindowScaleSetting(0);
        SetTickSource(nullptr);
        SetFixedTimerStep(0);
        SetScreenSurface(nullptr);
        platform::SetScriptedFocus(false);
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
    }

    // Lays out the modules, then reads them, the settings and the save data as start-up does.
    void Start(const std::map<std::string, std::string>& modules = {{"Main", kCampaign}}) {
        for (const auto& [name, content] : modules) {
            test::WriteFile(dir / "Modules" / name / "Include.ini", "content.ini\n");
            test::WriteFile(dir / "Modules" / name / "content.ini", content);
        }
        LoadAllModules();
        LoadSettings();
        std::vector<std::string> levels;
        for (int i : Registry().TemplatesOfType("Level"))
            levels.push_back(Registry().NameAt(i));
        LoadSaveData(levels);
        CreateDialogBox();
    }

    static SDL_Event KeyEvent(Uint8 type, int sym) {
        SDL_Event e{};
        e.type = type;
        e.key.type = type;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = static_cast<SDLKey>(sym);
        return e;
    }
    static void Push(SDL_Event e) { SDL_PushEvent(&e); }
    static void PushMouse(Uint8 type, int x, int y) {
        SDL_Event e{};
        if (type == SDL_MOUSEMOTION) {
            e.type = e.motion.type = SDL_MOUSEMOTION;
            e.motion.x = static_cast<Uint16>(x);
            e.motion.y = static_cast<Uint16>(y);
        } else {
            e.type = e.button.type = type;
            e.button.button = SDL_BUTTON_LEFT;
            e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            e.button.x = static_cast<Uint16>(x);
            e.button.y = static_cast<Uint16>(y);
        }
        SDL_PushEvent(&e);
    }

    void Frame(int count = 1) {
        for (int i = 0; i < count; ++i) {
            ASSERT_TRUE(RunFrame());
            ticks += msPerFrame;
        }
    }
    void Key(int sym) {
        Push(KeyEvent(SDL_KEYDOWN, sym));
        Frame();
        Push(KeyEvent(SDL_KEYUP, sym));
        Frame();
    }
    void MoveMouse(int x, int y) {
        PushMouse(SDL_MOUSEMOTION, x, y);
        Frame();
    }
    // Press and release over (x, y); the screen acts on the click in the frame after.
    void Click(int x, int y) {
        PushMouse(SDL_MOUSEMOTION, x, y);
        PushMouse(SDL_MOUSEBUTTONDOWN, x, y);
        Frame();
        PushMouse(SDL_MOUSEBUTTONUP, x, y);
        Frame(2);
    }
    // Press and release within one frame, as a quick tap can arrive.
    void QuickClick(int x, int y) {
        PushMouse(SDL_MOUSEMOTION, x, y);
        PushMouse(SDL_MOUSEBUTTONDOWN, x, y);
        PushMouse(SDL_MOUSEBUTTONUP, x, y);
        Frame(2);
    }
    static void ClickCell(FrontScreens& t, int slot) { t.Click(20 + 71 * (slot % 5) + 28, 124 + 71 * (slot / 5) + 28); }

    test::ScratchDir dir;
    std::optional<test::WorkingDir> cwd;
    std::uint32_t msPerFrame = 10;
};

TEST(LevelListTest, ReadsNamesWithTheLengthRule) {
    test::ScratchDir dir;
    const std::string name39(39, 'a');
    struct Case {
        const char* what;
        std::optional<std::string> file;  // none: no file at all
        std::vector<std::string> slots;   // the first slots expected; the rest empty
    };
    const Case cases[] = {
        {"missing file", std::nullopt, {}},
        {"empty file", "", {}},
        {"plain lines, empty line kept as a gap", "Main/A\n\nMain/C", {"Main/A", "", "Main/C"}},
        {"Windows line ends", "Main/A\r\nMain/B\r\n", {"Main/A", "Main/B"}},
        {"39 characters fit and reading goes on", name39 + "\nMain/B\n", {name39, "Main/B"}},
        {"a longer line is cut to 39 and ends the list", "Main/A\n" + name39 + "xyz\nMain/C\n", {"Main/A", name39}},
        {"blanks are part of the name", " Main/A \n", {" Main/A "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::path path = dir / "LevelList.txt";
        std::filesystem::remove(path);
        if (c.file)
            test::WriteFile(path, *c.file);
        LevelTable table;
        table.fill("stale");
        ReadLevelList(path, table);
        for (int i = 0; i < kLevelSlots; ++i) {
            std::string expected = i < static_cast<int>(c.slots.size()) ? c.slots[static_cast<std::size_t>(i)]
                                   : i < kListedSlots                    ? ""
                                                                         : "stale";
            EXPECT_EQ(table[static_cast<std::size_t>(i)], expected) << "slot " << i;
        }
    }

    std::string many;
    for (int i = 0; i < 30; ++i)
        many += "Main/L" + std::to_string(i) + "\n";
    test::WriteFile(dir / "LevelList.txt", many);
    LevelTable table;
    ReadLevelList(dir / "LevelList.txt", table);
    EXPECT_EQ(table[24], "Main/L24");
    EXPECT_EQ(table[25], "") << "only 25 lines are read";
}

TEST_F(FrontScreens, LevelSelectOpensLevelsInListOrder) {
    Start();
    RecordResult("Main/Level 1", 1, 4);
    SetState(GameState::LevelSelect);
    EXPECT_EQ(SelectedLevel(), 1) << "the selection starts on the first open level not yet completed";
    Key(SDLK_LEFT);
    LevelPanelText panel = LevelSelectPanel();
    EXPECT_EQ(panel.name, "Level 1");
    EXPECT_EQ(panel.status, "COMPLETE");
    EXPECT_EQ(panel.turns, "BEST 4  PAR 5");
    EXPECT_FALSE(panel.hasPreview);

    ClearNotices();
    Key(SDLK_RIGHT);
    EXPECT_EQ(SelectedLevel(), 1);
    EXPECT_EQ(ThePlaySession().levelName, "Main/Level 2");
    panel = LevelSelectPanel();
    EXPECT_FALSE(panel.hasPreview) << "a preview that cannot be loaded shows none";
    EXPECT_EQ(CurrentNotice(), "No preview for \"Main/Level 2\": File GUI/NoSuchPreview.png could not be loaded!");
    EXPECT_EQ(panel.status, "INCOMPLETE");
    EXPECT_EQ(panel.turns, "") << "a level without par, never finished, has neither to show";

    // Level 2 is not completed, so Level 3 stays locked whichever way it is reached.
    Key(SDLK_RIGHT);
    ClickCell(*this, 2);
    Key(SDLK_DOWN);  // onto an empty slot, which falls back to the locked last one
    EXPECT_EQ(SelectedLevel(), 1);
    EXPECT_EQ(LevelSelectPanel().name, "Level 2");

    Key(SDLK_UP);
    EXPECT_EQ(SelectedLevel(), 0) << "up from the top row clamps to the first slot";
    Key(SDLK_LEFT);
    EXPECT_EQ(SelectedLevel(), 0);

    RecordResult("Main/Level 2", 1, 3);
    ClickCell(*this, 2);
    EXPECT_EQ(SelectedLevel(), 2);
    panel = LevelSelectPanel();
    EXPECT_EQ(panel.name, "Level 3");
    EXPECT_EQ(panel.turns, "PAR 7") << "no best before the level is finished";
    EXPECT_TRUE(panel.hasPreview);

    Key(kEscapeKey);
    EXPECT_EQ(CurrentState(), GameState::TitleMenu);
    EXPECT_EQ(LevelSelectPanel().name, "") << "the panel is gone with the screen";
}

TEST_F(FrontScreens, LevelSelectKeepsItsChoiceAndLeadsOn) {
    Start();
    RecordResult("Main/Level 1", 1, 9);
    SetState(GameState::LevelSelect);
    Key(SDLK_RIGHT);
    Key(kEscapeKey);
    SetState(GameState::LevelSelect);
    EXPECT_EQ(SelectedLevel(), 1) << "the choice outlives the screen";
    EXPECT_EQ(LevelSelectPanel().name, "Level 2");

    Key(SDLK_SPACE);
    EXPECT_EQ(CurrentState(), GameState::Play);
    EXPECT_EQ(ThePlaySession().levelName, "Main/Level 2");

    SetState(GameState::LevelSelect);
    SetCameFromEditor(true);
    Key(kEscapeKey);
    EXPECT_EQ(CurrentState(), GameState::LevelEditor) << "opened from the editor, Escape goes back there";
    EXPECT_FALSE(CameFromEditor());
}

TEST_F(FrontScreens, LevelListProblemsHaveTheirDocumentedOutcomes) {
    Start();
    std::filesystem::remove(dir / "LevelList.txt");
    ThePlaySession().levelName = "Main/Level 3";
    SetState(GameState::LevelSelect);
    EXPECT_EQ(LevelSelectPanel().name, "") << "no list: nothing is selected";
    EXPECT_EQ(ThePlaySession().levelName, "Main/Level 3");
    Key(SDLK_RIGHT);
    Click(509, 345);  // PLAY still plays the level set before
    EXPECT_EQ(CurrentState(), GameState::Play);
    EXPECT_EQ(ThePlaySession().levelName, "Main/Level 3");

    // A slot naming a level nothing defines is unavailable: never selected, never played.
    test::WriteFile(dir / "LevelList.txt", kLevelList);
    RecordResult("Main/Level 2", 1, 5);
    RecordResult("Main/Level 3", 1, 7);
    SetState(GameState::LevelSelect);
    SetSelectedLevel(3);
    Key(kEscapeKey);
    SetState(GameState::LevelSelect);
    EXPECT_EQ(SelectedLevel(), 2);
    EXPECT_EQ(ThePlaySession().levelName, "Main/Level 3");
    ClickCell(*this, 3);
    Key(SDLK_RIGHT);
    EXPECT_EQ(SelectedLevel(), 2);
    EXPECT_EQ(ThePlaySession().levelName, "Main/Level 3");

    ThePlaySession().levelName = "Main/Level 4";
    Key(SDLK_SPACE);
    Click(509, 345);
    EXPECT_EQ(CurrentState(), GameState::LevelSelect) << "nothing starts a level no module has";
}

TEST_F(FrontScreens, TitleCaptionFollowsTheMouseAndButtonsLeadOn) {
    Start();
    SetState(GameState::TitleMenu);
    EXPECT_EQ(CurrentSongName(), "RS#TITLETRACK");
    Frame();
    EXPECT_EQ(TitleMenuCaption(), "PLAY") << "PLAY is selected at first";
    // Off the buttons the caption names the selected one, which followed the mouse.
    const std::pair<int, const char*> hovers[] = {{160, "PLAY"}, {320, "SETTINGS"}, {480, "QUIT"}, {40, "QUIT"}};
    for (auto [x, caption] : hovers) {
        MoveMouse(x, 212);
        Frame();
        EXPECT_EQ(TitleMenuCaption(), caption) << "mouse at x " << x;
    }
    // A pointer resting on the gear leads no more once a key moves the ring: caption, ring
    // and the lit door agree.
    MoveMouse(320, 212);
    Frame();
    EXPECT_EQ(TitleMenuCaption(), "SETTINGS");
    Key(SDLK_RIGHT);
    EXPECT_EQ(focusedButton(), 2);
    EXPECT_EQ(TitleMenuCaption(), "QUIT");
    Key(SDLK_RIGHT);
    EXPECT_EQ(TitleMenuCaption(), "QUIT") << "the arrows stop at the last door";
    Key(SDLK_LEFT);
    Key(SDLK_LEFT);
    Key(SDLK_LEFT);
    EXPECT_EQ(TitleMenuCaption(), "PLAY") << "and at the first: Left from PLAY is no way to QUIT";
    Key(SDLK_SPACE);
    Key(SDLK_DOWN);
    EXPECT_EQ(CurrentState(), GameState::TitleMenu) << "Space and the arrows do not leave";

    Click(320, 212);
    EXPECT_EQ(CurrentState(), GameState::SettingsMenu);
    Key(kEscapeKey);
    EXPECT_EQ(CurrentState(), GameState::TitleMenu);
    Click(160, 212);
    EXPECT_EQ(CurrentState(), GameState::LevelSelect);
}

TEST_F(FrontScreens, TheMenusTickWhenTheRingMovesAndChimeOnAChoice) {
    Start();
    SetState(GameState::TitleMenu);
    Frame();
    const std::uint64_t moves = CuesPlayed(Cue::MenuMove), choices = CuesPlayed(Cue::MenuChoose);
    Key(SDLK_RIGHT);
    EXPECT_EQ(CuesPlayed(Cue::MenuMove), moves + 1);
    Key(SDLK_RIGHT);
    Key(SDLK_RIGHT);
    EXPECT_EQ(CuesPlayed(Cue::MenuMove), moves + 2) << "at the last door the ring stays, and so does the tick";
    Key(SDLK_LEFT);
    Key(SDLK_LEFT);
    EXPECT_EQ(CuesPlayed(Cue::MenuMove), moves + 4);
    EXPECT_EQ(CuesPlayed(Cue::MenuChoose), choices);
    Key(SDLK_RETURN);
    EXPECT_EQ(CurrentState(), GameState::LevelSelect);
    EXPECT_EQ(CuesPlayed(Cue::MenuChoose), choices + 1);
}

TEST_F(FrontScreens, AWarningAboutThePlayersFolderOutlastsTheOpeningWrapsAndGoesOnAKey) {
    Start();
    const std::string warning = "Couldn't create the folder \"/home/" + std::string(120, 'q') +
                                "/.local/share/quillmere\" (Not a directory). Playing in a temporary folder: nothing "
                                "will be kept.";
    platform::NotifyUntilDismissed(warning);
    platform::Notify("A passing message waits its turn.");
    SetState(GameState::Intro);
    StartOpeningCutscene();
    Frame(1000);  // ten seconds into the opening
    EXPECT_EQ(CurrentNotice(), warning) << "no time limit";
    Key(kEscapeKey);  // skips the opening; the warning was under it, so it stays
    Frame(5);
    ASSERT_EQ(CurrentState(), GameState::TitleMenu);
    EXPECT_EQ(CurrentNotice(), warning);

    // The text wraps into lines over the foot of the title, on a dark strip across the screen.
    auto band = [] {
        std::vector<std::uint32_t> pixels;
        SDL_Surface* screen = SDL_GetVideoSurface();
        PixelLock lock(screen);
        for (int y = 416; y < 440; ++y)
            for (int x = 0; x < 640; x += 4)
                pixels.push_back(GetPixel(screen, x, y));
        return pixels;
    };
    const std::vector<std::uint32_t> withWarning = band();
    Key(SDLK_RIGHT);
    EXPECT_EQ(CurrentNotice(), "A passing message waits its turn.") << "a key closes it; the next follows";
    Frame(450);
    EXPECT_EQ(CurrentNotice(), "");
    const std::vector<std::uint32_t> without = band();
    std::size_t changed = 0;
    for (std::size_t i = 0; i < withWarning.size(); ++i)
        changed += withWarning[i] != without[i];
    EXPECT_GT(changed, withWarning.size() * 9 / 10) << "the strip stands two lines and more above the foot";
}

TEST_F(FrontScreens, BrowserWithOnlyTheCampaignFindsNothing) {
    Start();
    SetState(GameState::CustomLevels);
    EXPECT_EQ(CustomLevelsModuleText(), "None found!");
    EXPECT_EQ(CustomLevelsLevelText(), "None found!");
    Click(492, 192);
    EXPECT_EQ(CustomLevelsModuleText(), "None found!");
    Click(320, 330);  // GO
    EXPECT_EQ(CurrentState(), GameState::CustomLevels);
    Key(kEscapeKey);
    EXPECT_EQ(CurrentState(), GameState::LevelSelect);
}

TEST_F(FrontScreens, BrowserStepsThroughCustomModulesAndLevels) {
    Start({{"Main", kCampaign},
           {"Garden", "[Level]\nName = Moss\n\n[Level]\nName = Fern\n"},
           {"Notes", "[Dialog]\nName = Hello\nTrigger = LEVEL_START\n"}});
    SetState(GameState::CustomLevels);
    EXPECT_EQ(CustomLevelsModuleText(), "Garden");
    EXPECT_EQ(CustomLevelsLevelText(), "Moss");

    struct Step {
        int x, y;
        const char* module;
        const char* level;
    };
    const Step steps[] = {
        {492, 242, "Garden", "Fern"},   // next level
        {492, 242, "Garden", "Moss"},   // wraps to the first
        {148, 242, "Garden", "Fern"},   // previous wraps to the last
        {492, 192, "Notes", "None found!"},  // a module without levels
        {492, 192, "Garden", "Moss"},   // wraps round past the hidden campaign, at the first level
        {148, 192, "Notes", "None found!"},
    };
    for (const Step& s : steps) {
        Click(s.x, s.y);
        EXPECT_EQ(CustomLevelsModuleText(), s.module);
        EXPECT_EQ(CustomLevelsLevelText(), s.level);
    }
    Click(320, 330);
    EXPECT_EQ(CurrentState(), GameState::CustomLevels) << "GO does nothing without a level";
    Click(148, 192);
    Click(492, 242);
    Click(320, 330);
    EXPECT_EQ(CurrentState(), GameState::Play);
    EXPECT_EQ(ThePlaySession().levelName, "Garden/Fern") << "played by its full name";
}

TEST_F(FrontScreens, BrowserShowsTheLevelsOwnPictureAndSurvivesABrokenOne) {
    std::filesystem::create_directories(dir / "Pictures");
    Canvas(210, 158, {40, 160, 90, 255}).WritePng((dir / "Pictures/Moss.png").string());
    test::WriteFile(dir / "Pictures/Torn.png", "not a picture");
    Start({{"Main", kCampaign},
           {"Garden", "[Level]\nName = Moss\nPreviewPath = Pictures/Moss.png\n\n[Level]\nName = Fern\n\n"
                      "[Level]\nName = Reed\nPreviewPath = Pictures/Torn.png\n"}});
    SetState(GameState::CustomLevels);
    Frame();
    // The middle of the half-size picture, left of GO.
    auto greenShown = [] {
        Uint8 r, g, b;
        SDL_Surface* screen = SDL_GetVideoSurface();
        SDL_GetRGB(GetPixel(screen, 150 + 52, 306 + 39), screen->format, &r, &g, &b);
        return r < 80 && g > 120 && b < 130;
    };
    EXPECT_TRUE(greenShown()) << "Moss shows its picture";
    Click(492, 242);
    EXPECT_EQ(CustomLevelsLevelText(), "Fern");
    EXPECT_FALSE(greenShown()) << "a level without a picture shows none";
    Click(492, 242);
    EXPECT_EQ(CustomLevelsLevelText(), "Reed");
    EXPECT_FALSE(greenShown());
    EXPECT_EQ(CurrentNotice().rfind("No preview for \"Garden/Reed\"", 0), 0u) << CurrentNotice();
    Click(492, 242);
    EXPECT_TRUE(greenShown()) << "and back on Moss";
}

TEST_F(FrontScreens, BrowserFromTheEditorListsTheCampaign) {
    Start({{"Main", kCampaign}, {"Garden", "[Level]\nName = Moss\n"}});
    SetCameFromEditor(true);
    SetState(GameState::CustomLevels);
    Click(148, 192);
    EXPECT_EQ(CustomLevelsModuleText(), "Main");
    EXPECT_EQ(CustomLevelsLevelText(), "Level 1");
    Click(320, 330);
    EXPECT_EQ(CurrentState(), GameState::LevelEditor);
    EXPECT_EQ(ThePlaySession().levelName, "Main/Level 1");
    EXPECT_FALSE(CameFromEditor());
}

TEST_F(FrontScreens, HeldVolumeArrowsStepEveryTenthOfASecondWithinBounds) {
    Start();
    SetSoundVolume(100);
    SetMusicVolume(10);
    SetState(GameState::SettingsMenu);
    EXPECT_EQ(SettingsMenuView().sound, "100");

    Click(178, 314);
    EXPECT_EQ(SoundVolume(), 95) << "a short click steps once";

    // Held, the arrow steps as it goes down and then every time another 100 ms are past:
    // four steps in 350 ms.
    Frame(8);
    PushMouse(SDL_MOUSEMOTION, 178, 314);
    PushMouse(SDL_MOUSEBUTTONDOWN, 178, 314);
    Frame(35);
    PushMouse(SDL_MOUSEBUTTONUP, 178, 314);
    Frame();
    EXPECT_EQ(SoundVolume(), 75);
    EXPECT_EQ(SettingsMenuView().sound, "75");

    // Music down stops at 0; up from 100 never passes it.
    PushMouse(SDL_MOUSEMOTION, 378, 314);
    PushMouse(SDL_MOUSEBUTTONDOWN, 378, 314);
    Frame(60);
    PushMouse(SDL_MOUSEBUTTONUP, 378, 314);
    Frame();
    EXPECT_EQ(MusicVolume(), 0);
    EXPECT_EQ(SettingsMenuView().music, "0");
    SetSoundVolume(100);
    PushMouse(SDL_MOUSEMOTION, 266, 314);
    PushMouse(SDL_MOUSEBUTTONDOWN, 266, 314);
    Frame(30);
    PushMouse(SDL_MOUSEBUTTONUP, 266, 314);
    Frame();
    EXPECT_EQ(SoundVolume(), 100);
}

TEST_F(FrontScreens, RebindingTakesTheNextKeyForTheShownAction) {
    Start();
    SetState(GameState::SettingsMenu);
    EXPECT_EQ(SettingsMenuView().action, "Up");
    EXPECT_EQ(SettingsMenuView().key, "UP");

    Click(480, 380);  // REBIND
    EXPECT_EQ(SettingsMenuView().key, "Press a key.");
    EXPECT_EQ(SettingsMenuView().rebind, "CANCEL");
    Click(256, 401);  // the next action while waiting
    EXPECT_EQ(SettingsMenuView().action, "Down");
    Key('x');
    EXPECT_EQ(BindingKey("Down"), 'x');
    EXPECT_EQ(BindingKey("Up"), SDLK_UP);
    EXPECT_EQ(SettingsMenuView().key, "X");
    EXPECT_EQ(SettingsMenuView().rebind, "REBIND");

    Click(100, 401);
    Click(100, 401);  // wraps from the first action to the last
    EXPECT_EQ(SettingsMenuView().action, "Fullscreen");
    EXPECT_EQ(SettingsMenuView().key, "F11");

    // Escape while waiting cancels the rebinding and stays; the next one leaves, and leaving
    // writes the settings.
    Click(480, 380);
    Key(kEscapeKey);
    EXPECT_EQ(CurrentState(), GameState::SettingsMenu);
    EXPECT_EQ(SettingsMenuView().key, "F11");
    EXPECT_EQ(SettingsMenuView().rebind, "REBIND");
    Key(kEscapeKey);
    EXPECT_EQ(CurrentState(), GameState::TitleMenu);
    EXPECT_EQ(BindingKey("Fullscreen"), SDLK_F11);
    std::string written = test::ReadFile(dir / "Settings.ini");
    EXPECT_NE(written.find("DownKey = 120"), std::string::npos) << written;
    EXPECT_NE(written.find("FullscreenKey = 292"), std::string::npos) << written;
}

TEST_F(FrontScreens, RebindingAKeyInUseSwapsItAndSaysWhichActionHadIt) {
    Start();
    SetBinding("Up", 'w');
    SetState(GameState::SettingsMenu);
    while (SettingsMenuView().action != "Restart")
        Click(256, 401);
    Click(480, 380);
    Key('w');
    EXPECT_EQ(BindingKey("Restart"), 'w');
    EXPECT_EQ(BindingKey("Up"), 'r') << "Up is never left without a key, nor sharing one";
    EXPECT_EQ(SettingsMenuView().bindingNote, "W was the key of Up, which now has R.");
    Click(480, 380);
    Key('w');
    EXPECT_EQ(BindingKey("Restart"), 'w') << "its own key again changes nothing";
    EXPECT_EQ(BindingKey("Up"), 'r');
    EXPECT_EQ(SettingsMenuView().bindingNote, "");
}

TEST_F(FrontScreens, TheHintKeyIsListedAfterUndoAndRebindable) {
    Start();
    SetState(GameState::SettingsMenu);
    for (int i = 0; i < 20 && SettingsMenuView().action != "Undo"; ++i)
        Click(256, 401);
    Click(256, 401);
    EXPECT_EQ(SettingsMenuView().action, "Hint");
    EXPECT_EQ(SettingsMenuView().key, "H");
    Click(480, 380);
    Key('j');
    EXPECT_EQ(BindingKey("Hint"), 'j');
    Key(kEscapeKey);
    const std::string written = test::ReadFile(dir / "Settings.ini");
    EXPECT_NE(written.find("Hint = 106"), std::string::npos) << written;
}

TEST_F(FrontScreens, TheWindowSizeStepsThroughWhatTheDesktopOffersAndIsWrittenOnLeaving) {
    Start();
    platform::SetWindowScaleSetting(0);
    SetState(GameState::SettingsMenu);
    EXPECT_EQ(SettingsMenuView().window, "LARGEST");
    // The dummy display offers 640x480 alone: the arrows stop at both ends.
    const struct {
        int x;
        const char* shown;
        int setting;
    } steps[] = {{388, "LARGEST", 0}, {544, "640x480", 1}, {544, "640x480", 1}, {388, "LARGEST", 0}, {544, "640x480", 1}};
    for (const auto& step : steps) {
        Click(step.x, 212);
        EXPECT_EQ(SettingsMenuView().window, step.shown);
        EXPECT_EQ(platform::WindowScaleSetting(), step.setting);
    }
    Key(kEscapeKey);
    EXPECT_NE(test::ReadFile(dir / "Settings.ini").find("\nWindowScale = 1\n"), std::string::npos);
    // A size this desktop cannot show reads as the largest it can; a step down goes below it.
    platform::SetWindowScaleSetting(4);
    SetState(GameState::SettingsMenu);
    EXPECT_EQ(SettingsMenuView().window, "640x480");
    Click(388, 212);
    EXPECT_EQ(platform::WindowScaleSetting(), 0);
}

TEST_F(FrontScreens, FullscreenFollowsItsBindingAndAltEnterOnAnyScreen) {
    Start();
    SetState(GameState::TitleMenu);
    platform::SetFullscreenSetting(false);
    SDL_Event altEnter = KeyEvent(SDL_KEYDOWN, SDLK_RETURN);
    altEnter.key.keysym.mod = KMOD_LALT;
    const struct {
        const char* what;
        std::function<void()> press;
        bool fullscreen;
    } steps[] = {
        {"F11", [&] { Key(SDLK_F11); }, true},
        {"F11 again", [&] { Key(SDLK_F11); }, false},
        {"Alt+Enter, not taken as Enter by the menu", [&] { Push(altEnter); Frame(); }, true},
        {"rebound to F", [&] { SetBinding("Fullscreen", 'f'); Key('f'); }, false},
        {"F11 once rebound", [&] { Key(SDLK_F11); }, false},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.press();
        EXPECT_EQ(platform::FullscreenSetting(), step.fullscreen);
        EXPECT_EQ(CurrentState(), GameState::TitleMenu);
    }
    // Kept with the settings, and the dummy window never left 640x480.
    SetState(GameState::SettingsMenu);
    SetState(GameState::TitleMenu);
    const std::string written = test::ReadFile(dir / "Settings.ini");
    EXPECT_NE(written.find("\nFullscreen = 0\n"), std::string::npos) << written;
    EXPECT_NE(written.find("\nFullscreenKey = 102\n"), std::string::npos) << written;
    EXPECT_EQ(SDL_GetVideoSurface()->w, 640);
    platform::SetFullscreenSetting(false);
}

TEST_F(FrontScreens, ClearDataAsksInWordsAndOnlyForgetClears) {
    Start();
    RecordResult("Main/Level 1", 1, 4);
    SaveSaveData();
    SetState(GameState::SettingsMenu);
    // Hurried keys never reach it: the ring starts on RETURN TO MENU and Enter there leaves.
    Key(SDLK_RETURN);
    EXPECT_EQ(CurrentState(), GameState::TitleMenu);
    SetState(GameState::SettingsMenu);
    struct Case {
        const char* what;
        std::function<void()> answer;
        bool cleared;
    };
    const Case cases[] = {
        {"Enter on the ring's first place, KEEP", [this] { Key(SDLK_RETURN); }, false},
        {"Escape", [this] { Key(kEscapeKey); }, false},
        {"a click on KEEP", [this] { Click(390, 260); }, false},
        {"Left onto FORGET, then Enter", [this] { Key(SDLK_LEFT); Key(SDLK_RETURN); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Click(150, 140);
        EXPECT_EQ(SettingsMenuView().question, "Forget all progress?");
        EXPECT_TRUE(IsCompleted("Main/Level 1"));
        c.answer();
        Frame();
        EXPECT_EQ(SettingsMenuView().question, "");
        EXPECT_EQ(CurrentState(), GameState::SettingsMenu) << "Escape answers the question, it does not leave";
        EXPECT_EQ(IsCompleted("Main/Level 1"), !c.cleared);
        EXPECT_EQ(SettingsMenuView().clicks, c.cleared ? "Data cleared!" : "");
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "SaveData.sav"));
}

TEST_F(FrontScreens, AClickWithinOneFrameActsOnceOnEveryFrontButton) {
    Start({{"Main", kCampaign}, {"Garden", "[Level]\nName = Moss\n\n[Level]\nName = Fern\n"}});
    RecordResult("Main/Level 1", 1, 4);
    struct Case {
        const char* what;
        GameState screen;
        int x, y;
        GameState after;
        std::function<bool(const SettingsMenuText& before)> actedOnce;  // none: the new screen says it all
    };
    const Case cases[] = {
        {"title PLAY", GameState::TitleMenu, 160, 212, GameState::LevelSelect, nullptr},
        {"title SETTINGS", GameState::TitleMenu, 320, 212, GameState::SettingsMenu, nullptr},
        {"a grid cell", GameState::LevelSelect, 48, 152, GameState::LevelSelect, [](const SettingsMenuText&) { return SelectedLevel() == 0; }},
        {"level select PLAY", GameState::LevelSelect, 509, 345, GameState::Play, nullptr},
        {"CUSTOM LEVELS", GameState::LevelSelect, 509, 410, GameState::CustomLevels, nullptr},
        {"CREDITS", GameState::LevelSelect, 509, 446, GameState::Credits, nullptr},
        {"next level", GameState::CustomLevels, 492, 242, GameState::CustomLevels,
         [](const SettingsMenuText&) { return CustomLevelsLevelText() == "Fern"; }},
        {"GO", GameState::CustomLevels, 320, 330, GameState::Play, nullptr},
        {"CLEAR DATA", GameState::SettingsMenu, 150, 140, GameState::SettingsMenu,
         [](const SettingsMenuText&) { return SettingsMenuView().question == "Forget all progress?"; }},
        {"sound down", GameState::SettingsMenu, 178, 314, GameState::SettingsMenu, [](const SettingsMenuText&) { return SoundVolume() == 95; }},
        {"music up", GameState::SettingsMenu, 466, 314, GameState::SettingsMenu, [](const SettingsMenuText&) { return MusicVolume() == 55; }},
        {"next action", GameState::SettingsMenu, 256, 401, GameState::SettingsMenu,
         [](const SettingsMenuText& before) {
             const std::vector<std::string> names = BindingNames();
             auto at = std::find(names.begin(), names.end(), before.action);
             return at != names.end() && SettingsMenuView().action == names[(at - names.begin() + 1) % names.size()];
         }},
        {"REBIND", GameState::SettingsMenu, 480, 380, GameState::SettingsMenu,
         [](const SettingsMenuText&) { return SettingsMenuView().rebind == "CANCEL"; }},
        {"LEVEL EDITOR", GameState::SettingsMenu, 150, 184, GameState::LevelEditor, nullptr},
        {"RETURN TO MENU", GameState::SettingsMenu, 150, 228, GameState::TitleMenu, nullptr},
        {"credits RETURN TO MENU", GameState::Credits, 320, 405, GameState::TitleMenu, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetSoundVolume(100);
        SetMusicVolume(50);
        SetState(GameState::Intro);
        SetState(c.screen);
        Frame(12);  // past the volume arrows' first tenth of a second
        const SettingsMenuText before = c.screen == GameState::SettingsMenu ? SettingsMenuView() : SettingsMenuText{};
        QuickClick(c.x, c.y);
        Frame(40);  // a button left held would act again by now
        EXPECT_EQ(CurrentState(), c.after);
        EXPECT_EQ(pressedButton(), -1);
        if (c.actedOnce) {
            EXPECT_TRUE(c.actedOnce(before));
        }
    }
}

TEST_F(FrontScreens, EveryScreenIsReachedByKeysAlone) {
    Start();
    SetState(GameState::TitleMenu);
    struct Step {
        const char* what;
        std::vector<int> keys;
        GameState after;
    };
    const Step route[] = {
        {"PLAY is selected first", {SDLK_RETURN}, GameState::LevelSelect},
        {"Enter plays the level selected in the grid", {SDLK_RETURN}, GameState::Play},
        {"back", {kEscapeKey}, GameState::LevelSelect},
        {"Tab walks the buttons beside the grid", {SDLK_TAB, SDLK_TAB, SDLK_RETURN}, GameState::CustomLevels},
        {"back", {kEscapeKey}, GameState::LevelSelect},
        {"Right past the last open level reaches PLAY", {SDLK_RIGHT, SDLK_DOWN, SDLK_DOWN, SDLK_RETURN}, GameState::Credits},
        {"RETURN TO MENU is selected first, and leads to the title", {SDLK_RETURN}, GameState::TitleMenu},
        {"the arrows walk the title", {SDLK_RIGHT, SDLK_RETURN}, GameState::SettingsMenu},
        {"LEVEL EDITOR, above where the ring starts", {SDLK_UP, SDLK_RETURN}, GameState::LevelEditor},
        {"back", {kEscapeKey}, GameState::SettingsMenu},
        {"RETURN TO MENU is selected first", {SDLK_RETURN}, GameState::TitleMenu},
    };
    for (const Step& step : route) {
        SCOPED_TRACE(step.what);
        for (int key : step.keys)
            Key(key);
        Frame();
        ASSERT_EQ(CurrentState(), step.after);
    }
}

TEST_F(FrontScreens, RebindingTakesTheKeyItWaitsForFromTheSelection) {
    Start();
    SetState(GameState::SettingsMenu);
    const std::string action = SettingsMenuView().action;
    const int old = BindingKey(action);
    ASSERT_NE(action, "Down");
    for (int i = 0; i < 9; ++i)
        Key(SDLK_DOWN);  // from RETURN TO MENU on to REBIND
    Key(SDLK_RETURN);
    ASSERT_EQ(SettingsMenuView().rebind, "CANCEL");
    Key(SDLK_DOWN);
    EXPECT_EQ(BindingKey(action), SDLK_DOWN) << "the arrow is the binding";
    EXPECT_EQ(BindingKey("Down"), old) << "and Down takes the action's old key in exchange";
    EXPECT_EQ(SettingsMenuView().bindingNote, "DOWN was the key of Down, which now has " + KeyCaption(old) + ".");
    EXPECT_EQ(SettingsMenuView().action, action);
    EXPECT_EQ(SettingsMenuView().rebind, "REBIND");
    Key(SDLK_RETURN);
    EXPECT_EQ(SettingsMenuView().rebind, "CANCEL") << "the selection stayed on REBIND";
    Key(SDLK_RETURN);
    EXPECT_EQ(BindingKey(action), SDLK_RETURN) << "Enter too is only a key to bind";
}

TEST_F(FrontScreens, AfterClearDataNoLockedSlotStarts) {
    Start();
    RecordResult("Main/Level 1", 1, 4);
    RecordResult("Main/Level 2", 1, 4);
    SetState(GameState::LevelSelect);
    ASSERT_EQ(SelectedLevel(), 2);
    SetState(GameState::SettingsMenu);
    Click(150, 140);
    Key(SDLK_LEFT);
    Key(SDLK_RETURN);
    Frame();
    ASSERT_EQ(SettingsMenuView().clicks, "Data cleared!");
    Key(kEscapeKey);
    Key(SDLK_RETURN);
    ASSERT_EQ(CurrentState(), GameState::LevelSelect);
    const LevelPanelText panel = LevelSelectPanel();
    EXPECT_EQ(SelectedLevel(), 0);
    EXPECT_EQ(panel.name, "Level 1");
    EXPECT_EQ(panel.status, "INCOMPLETE");
    EXPECT_EQ(panel.frameX, 16);
    EXPECT_EQ(panel.frameY, 120) << "the frame sits on the first cell";

    for (int slot = 1; slot < kListedSlots; ++slot)
        ClickCell(*this, slot);
    EXPECT_EQ(SelectedLevel(), 0) << "no locked cell can be chosen";
    // Even with a locked level set to play by other means, no way of starting it works.
    const std::pair<const char*, std::function<void()>> starts[] = {
        {"Space", [this] { Key(SDLK_SPACE); }},
        {"Enter", [this] { Key(SDLK_RETURN); }},
        {"PLAY", [this] { Click(509, 345); }},
    };
    for (const auto& [what, start] : starts) {
        SCOPED_TRACE(what);
        ThePlaySession().levelName = "Main/Level 3";
        start();
        EXPECT_EQ(CurrentState(), GameState::LevelSelect);
        SetFocusedButton(-1);
    }
}

// The share of clearly differing pixels between two same-sized areas of the screen.
double AreaDifference(SDL_Rect a, SDL_Rect b) {
    SDL_Surface* screen = SDL_GetVideoSurface();
    SDL_Surface* rgb = SDL_CreateRGBSurface(SDL_SWSURFACE, screen->w, screen->h, 32, 0xff0000, 0xff00, 0xff, 0);
    SDL_BlitSurface(screen, nullptr, rgb, nullptr);
    int differing = 0;
    for (int y = 0; y < a.h; ++y)
        for (int x = 0; x < a.w; ++x) {
            auto pixel = [&](const SDL_Rect& r) {
                return static_cast<const std::uint32_t*>(rgb->pixels)[(r.y + y) * rgb->pitch / 4 + r.x + x];
            };
            const std::uint32_t p = pixel(a), q = pixel(b);
            for (int shift : {0, 8, 16})
                if (std::abs(static_cast<int>((p >> shift) & 0xff) - static_cast<int>((q >> shift) & 0xff)) > 48) {
                    ++differing;
                    break;
                }
        }
    SDL_FreeSurface(rgb);
    return static_cast<double>(differing) / (a.w * a.h);
}

TEST_F(FrontScreens, TheGridShowsLockedOpenCompletedAndWithinParApart) {
    Start();
    RecordResult("Main/Level 1", 1, 4);  // within its par of 5
    RecordResult("Main/Level 2", 1, 9);  // completed, no par to meet
    SetState(GameState::LevelSelect);    // Level 3 open, Level 4 locked
    Frame();
    // The lower right corner of each cell: clear of the number and of the selection frame.
    auto corner = [](int slot) {
        return SDL_Rect{static_cast<Sint16>(20 + 71 * slot + 40), 124 + 40, 14, 14};
    };
    const char* names[] = {"within par", "completed", "open", "locked"};
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b)
            EXPECT_GT(AreaDifference(corner(a), corner(b)), 0.1) << names[a] << " and " << names[b] << " look alike";
}

TEST_F(FrontScreens, ACompletionWithAHintLooksApartFromTheGoldMarkAndTheTick) {
    Start();
    RecordHintedResult("Main/Level 1", 4);  // within its par of 5, but helped
    RecordResult("Main/Level 2", 1, 9);     // completed by the player alone
    RecordResult("Main/Level 3", 1, 7);     // within its par of 7
    SetSelectedLevel(0);
    SetState(GameState::LevelSelect);
    Frame();
    auto corner = [](int slot) {
        return SDL_Rect{static_cast<Sint16>(20 + 71 * slot + 40), 124 + 40, 14, 14};
    };
    EXPECT_GT(AreaDifference(corner(0), corner(2)), 0.1) << "helped and within par look alike";
    EXPECT_GT(AreaDifference(corner(0), corner(1)), 0.1) << "helped and completed look alike";
    const LevelPanelText panel = LevelSelectPanel();
    EXPECT_EQ(panel.status, "DONE WITH A HINT");
    EXPECT_EQ(panel.turns, "BEST 4  PAR 5");
    // Once the player wins it alone, over par or not, the level is theirs.
    RecordResult("Main/Level 1", 1, 8);
    SetState(GameState::TitleMenu);
    SetState(GameState::LevelSelect);
    Frame();
    EXPECT_EQ(LevelSelectPanel().status, "COMPLETE");
    EXPECT_EQ(LevelSelectPanel().turns, "BEST 8  PAR 5");
}

TEST_F(FrontScreens, RandomInputNeverLeavesAButtonHeldNorStartsALockedLevel) {
    Start();
    RecordResult("Main/Level 1", 1, 4);  // Level 2 open; Levels 3 and 4 locked for good
    SetFileChooserFrameHook([](int) { return false; });
    std::mt19937 random(1717);
    const int keys[] = {SDLK_TAB,  SDLK_RETURN, SDLK_SPACE, SDLK_UP,        SDLK_DOWN, SDLK_LEFT,
                        SDLK_RIGHT, 'c',        'r',        SDLK_BACKSPACE, kEscapeKey};
    auto chance = [&](unsigned percent) { return random() % 100 < percent; };
    std::vector<int> held;  // keys stay down across frames and screens
    SetState(GameState::TitleMenu);
    for (int frame = 0; frame < 3000; ++frame) {
        SCOPED_TRACE("frame " + std::to_string(frame));
        if (chance(20)) {
            held.push_back(keys[random() % std::size(keys)]);
            Push(KeyEvent(SDL_KEYDOWN, held.back()));
        }
        if (!held.empty() && chance(20)) {
            const std::size_t at = random() % held.size();
            Push(KeyEvent(SDL_KEYUP, held[at]));
            held.erase(held.begin() + static_cast<std::ptrdiff_t>(at));
        }
        const int x = static_cast<int>(random() % 640), y = static_cast<int>(random() % 480);
        if (chance(30))
            PushMouse(SDL_MOUSEMOTION, x, y);
        if (chance(8))
            PushMouse(SDL_MOUSEBUTTONDOWN, x, y);
        if (chance(8))
            PushMouse(SDL_MOUSEBUTTONUP, x, y);
        if (chance(4)) {
            PushMouse(SDL_MOUSEBUTTONDOWN, x, y);
            PushMouse(SDL_MOUSEBUTTONUP, x, y);
        }
        // QUIT and Escape on the title end the program; here the title simply stays.
        RunFrame();
        ticks += msPerFrame;
        if (!MouseButtonHeld(SDL_BUTTON_LEFT)) {
            ASSERT_EQ(pressedButton(), -1) << "a button is held without the mouse button down";
        }
        if (CurrentState() == GameState::Play) {
            const std::string& level = ThePlaySession().levelName;
            ASSERT_TRUE(level == "Main/Level 1" || level == "Main/Level 2") << level << " was started";
        }
        // The editor is not a menu: its own tests drive it.
        if (CurrentState() == GameState::LevelEditor)
            SetState(GameState::TitleMenu);
    }
    SetFileChooserFrameHook(nullptr);
}

TEST(KeyCaptionTest, NamesKeysInUpperCaseAndSurvivesOddSymbols) {
    const std::pair<int, const char*> cases[] = {
        {SDLK_UP, "UP"}, {SDLK_SPACE, "SPACE"}, {'q', "Q"}, {SDLK_F9, "F9"}, {-5, "UNKNOWN KEY"}, {100000, "UNKNOWN KEY"},
    };
    for (auto [sym, caption] : cases)
        EXPECT_EQ(KeyCaption(sym), caption) << sym;
}

TEST_F(FrontScreens, CreditsReturnToTheMenuOrBackToTheLevelSelect) {
    Start();
    SetState(GameState::Credits);
    Key(SDLK_SPACE);
    EXPECT_EQ(CurrentState(), GameState::Credits);
    Click(320, 405);
    EXPECT_EQ(CurrentState(), GameState::TitleMenu) << "RETURN TO MENU goes where it says";
    SetState(GameState::Credits);
    Key(kEscapeKey);
    EXPECT_EQ(CurrentState(), GameState::LevelSelect) << "Escape goes back where the credits came from";

    // The opening, which plays once by itself, can be watched again from here.
    SetState(GameState::Credits);
    Key(SDLK_UP);
    Key(SDLK_RETURN);
    EXPECT_EQ(CurrentState(), GameState::Intro);
    EXPECT_EQ(CurrentSongName(), "RS#INTROTRACK");
    Key(kEscapeKey);
    Frame(5);
    EXPECT_EQ(CurrentState(), GameState::TitleMenu);
}

TEST_F(FrontScreens, TheCreditsLinkTheHomePageTheMetadataNames) {
    // The same address as the AppStream metadata's home page, and it opens.
    const std::string metainfo = test::ReadFile(std::filesystem::path(QM_FIXTURES_DIR) / "../../dist/org.quillmere.Quillmere.metainfo.xml");
    EXPECT_NE(metainfo.find(std::string("<url type=\"homepage\">") + kCreditsHomePage + "</url>"), std::string::npos);
    EXPECT_EQ(std::string(kCreditsHomePage).find("example"), std::string::npos);
    test::ScratchDir opener;
    test::WriteFile(opener / "xdg-open", "#!/bin/sh\necho \"$1\" > \"" + (opener / "part").string() + "\" && mv \"" +
                                             (opener / "part").string() + "\" \"" + (opener / "opened").string() + "\"\n");
    std::filesystem::permissions(opener / "xdg-open", std::filesystem::perms::owner_all);
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (opener.Path().string() + ":" + path).c_str(), 1);
    Start();
    SetState(GameState::Credits);
    Frame();
    Click(320, 188);
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(CurrentState(), GameState::Credits);
    for (int i = 0; i < 200 && !std::filesystem::exists(opener / "opened"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(test::ReadFile(opener / "opened"), std::string(kCreditsHomePage) + "\n");
}

TEST_F(FrontScreens, OpeningPlaysThroughToTheTitle) {
    // Twenty frames a second keep the run short; fades and display time scale alike.
    msPerFrame = 50;
    SetFixedTimerStep(5.0);
    Start();
    StartOpeningCutscene();
    EXPECT_EQ(CurrentSongName(), "RS#INTROTRACK");
    EXPECT_EQ(SlideQueueSize(), 9u);
    EXPECT_FALSE(CursorShown());
    Frame(35);
    EXPECT_EQ(SlideQueueSize(), 8u) << "the first picture goes up once the screen is black";
    Frame(35);
    EXPECT_EQ(FadeAlpha(), 0.0) << "and fades in";
    Frame(55);
    EXPECT_EQ(FadeAlpha(), 0.0) << "then stays for three seconds";
    int frames = 125;
    while (CurrentState() == GameState::Intro && frames < 5000) {
        Frame();
        ++frames;
    }
    EXPECT_EQ(CurrentState(), GameState::TitleMenu);
    EXPECT_TRUE(SlideshowFinished());
    EXPECT_TRUE(CursorShown());
    EXPECT_EQ(CurrentSongName(), "RS#TITLETRACK");
    // Each of nine pictures: a fade out and in of 34 frames each, three seconds of 60 frames.
    EXPECT_GT(frames, 9 * (34 + 34 + 60));
    EXPECT_LT(frames, 9 * (35 + 35 + 62) + 40);
}

TEST_F(FrontScreens, SkippingFollowsEachCutscenesRules) {
    Start();
    struct Case {
        const char* what;
        void (*start)();
        int key;
        bool skips;
    };
    const Case cases[] = {
        {"opening, Action 1", StartOpeningCutscene, SDLK_SPACE, true},
        {"opening, Skip Dialog", StartOpeningCutscene, 'c', true},
        {"opening, Enter", StartOpeningCutscene, SDLK_RETURN, true},
        {"glowing, Enter", StartGlowingCutscene, SDLK_RETURN, false},
        {"closing, Space", StartClosingCutscene, SDLK_SPACE, false},
        {"glowing, Action 1", StartGlowingCutscene, SDLK_SPACE, false},
        {"glowing, Escape", StartGlowingCutscene, kEscapeKey, true},
        {"closing, Skip Dialog", StartClosingCutscene, 'c', false},
        {"closing, Escape", StartClosingCutscene, kEscapeKey, true},
    };
    // Beneath the pictures lies a screen that Escape would leave.
    SetState(GameState::Credits);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.start();
        Frame(20);
        ASSERT_TRUE(SlideshowActive());
        Key(c.key);
        EXPECT_EQ(SlideshowActive(), !c.skips);
        EXPECT_EQ(SlideshowFinished(), c.skips);
        EXPECT_EQ(CursorShown(), c.skips);
        if (c.skips) {
            EXPECT_EQ(FadeAlpha(), 0.0) << "a skip clears the screen at once";
        } else {
            InjectEvent(KeyEvent(SDL_KEYDOWN, kEscapeKey));
            UpdateStoryPictures();
        }
        ASSERT_TRUE(SlideshowFinished());
    }
    EXPECT_EQ(CurrentState(), GameState::Credits) << "the keys never reached the screen beneath";

    // A click skips the opening too; the click never reaches the button under it.
    StartOpeningCutscene();
    Frame(20);
    QuickClick(320, 405);
    EXPECT_TRUE(SlideshowFinished());
    EXPECT_EQ(CurrentState(), GameState::Credits);
}

TEST_F(FrontScreens, ClosingHasEighteenPicturesAndAHeldPictureStays) {
    Start();
    StartClosingCutscene();
    EXPECT_EQ(SlideQueueSize(), 18u);
    EXPECT_EQ(CurrentSongName(), "RS#OUTROTRACK");
    Frame(171 + 170 + 5);
    HoldSlideshow();
    Frame(320);
    EXPECT_EQ(SlideQueueSize(), 17u) << "held past its three seconds";
    EXPECT_EQ(FadeAlpha(), 0.0);
    ReleaseSlideshow();
    Frame(171 + 5);
    EXPECT_EQ(SlideQueueSize(), 16u);
}

TEST_F(FrontScreens, TheEndingDialogHoldsTheLastPictureUntilItIsRead) {
    // Ten frames a second: the eighteen pictures pass quickly, the timing rules scale alike.
    msPerFrame = 100;
    SetFixedTimerStep(10.0);
    std::string campaign = std::string(kCampaign) +
                           "\n[Sprite]\nName = Keeper\nSpritePath = GUI/LevelSelectButton.png\nWidth = 56\nHeight = 56\n"
                           "\n[Dialog]\nName = Ending\nTrigger = ENDING_DIALOG\n"
                           "AddMessage: Icon[Main/Keeper] Flag[Main/Keeper] Text[And the mere was still.]\n";
    Start({{"Main", campaign}});
    StartClosingCutscene();
    int frames = 0;
    while (CurrentDialog() == -1 && frames++ < 2000)
        Frame();
    ASSERT_NE(CurrentDialog(), -1) << "the ending's dialog opens on the last picture";
    EXPECT_EQ(SlideQueueSize(), 0u);
    Frame(100);
    EXPECT_FALSE(SlideshowFinished()) << "ten seconds on, the last picture is still up";
    EXPECT_EQ(FadeAlpha(), 0.0);

    for (int i = 0; i < 20 && CurrentDialog() != -1; ++i) {
        Key('x');
        Frame(5);
    }
    ASSERT_EQ(CurrentDialog(), -1);
    frames = 0;
    while (!SlideshowFinished() && frames++ < 200)
        Frame();
    EXPECT_TRUE(SlideshowFinished()) << "once the dialog is read the pictures end";
}

}  // namespace
