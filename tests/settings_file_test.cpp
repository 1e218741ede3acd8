#include <gtest/gtest.h>

#include <filesystem>

#include "app/input.h"
#include "audio/music.h"
#include "content/settings_file.h"
#include "platform/game_error.h"
#include "platform/notice.h"
#include "platform/window.h"
#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

const std::string kDefaults =
    "SoundVolume = 100\nMusicVolume = 100\nMusicMuted = 0\nWindowScale = 0\nFullscreen = 0\nOpeningSeen = 0\n"
    "UpKey = 273\nDownKey = 274\nRightKey = 275\nLeftKey = 276\nAction1 = 32\nSkipDialog = 99\nRestart = 114\nUndo = 8\n"
    "Hint = 104\n"
    "MuteMusic = 109\nSaveReplay = 290\nLoadReplay = 291\nScreenshot = 316\nFullscreenKey = 292\n";

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override { ClearBindings(); }
    void TearDown() override {
        if (MusicMuted())
            ToggleMusicMute();
        SetSoundVolume(100);
        SetMusicVolume(100);
        platform::SetWindowScaleSetting(0);
        platform::SetFullscreenSetting(false);
        SetOpeningSeen(false);
    }

    // Loads the given file text and saves it again; returns what was written.
    std::string RoundTrip(const std::string& text) {
        test::WriteFile(dir / "Settings.ini", text);
        LoadSettings();
        SaveSettings();
        return test::ReadFile(dir / "Settings.ini");
    }

    test::ScratchDir dir;
    test::WorkingDir inDir{dir.Path()};
};

TEST_F(SettingsFileTest, SavingWritesEveryLineInOrderWhateverTheFileHeld) {
    const std::string shuffled =
        "// my keys\r\n"
        "Screenshot = 301\r\n"
        "MusicVolume = 35\n"
        "Fullscreen = 1\n"
        "WindowScale = 3\n"
        "OpeningSeen = 1\n"
        "UpKey = 119\n"
        "UpKey = 1\n"  // later duplicates are ignored
        "LeftKey = 97\n"
        "Unknown = 5\n"
        "SoundVolume = 80";  // no final line feed
    const std::string written = RoundTrip(shuffled);
    EXPECT_EQ(written,
              "SoundVolume = 80\nMusicVolume = 35\nMusicMuted = 0\nWindowScale = 3\nFullscreen = 1\nOpeningSeen = 1\n"
              "UpKey = 119\nDownKey = 274\nRightKey = 275\nLeftKey = 97\nAction1 = 32\nSkipDialog = 99\nRestart = 114\nUndo = 8\n"
              "Hint = 104\n"
              "MuteMusic = 109\nSaveReplay = 290\nLoadReplay = 291\nScreenshot = 301\nFullscreenKey = 292\n");
    EXPECT_EQ(SoundVolume(), 80);
    EXPECT_EQ(MusicVolume(), 35);
    EXPECT_TRUE(OpeningSeen());
    EXPECT_EQ(BindingKey("Up"), 119);
    EXPECT_EQ(BindingNames(), (std::vector<std::string>{"Up", "Down", "Right", "Left", "Action 1", "Skip Dialog",
                                                        "Restart", "Undo", "Hint", "Mute Music", "Save Replay",
                                                        "Load Replay", "Screenshot", "Fullscreen"}));
    EXPECT_EQ(platform::WindowScaleSetting(), 3);
    EXPECT_TRUE(platform::FullscreenSetting());
    EXPECT_FALSE(fs::exists(dir / "Settings.ini.tmp"));
    // Read back, the file gives the same settings again.
    EXPECT_EQ(RoundTrip(written), written);
}

TEST_F(SettingsFileTest, MissingKeysTakeTheirDefaults) {
    EXPECT_EQ(RoundTrip(""), kDefaults);
    EXPECT_EQ(BindingKey("Skip Dialog"), 99);

    std::string onlyMusic = kDefaults;
    onlyMusic.replace(onlyMusic.find("MusicVolume = 100"), 17, "MusicVolume = 50");
    EXPECT_EQ(RoundTrip("MusicVolume = 50\n"), onlyMusic);
    EXPECT_EQ(MusicVolume(), 50);
    EXPECT_EQ(SoundVolume(), 100);
}

TEST_F(SettingsFileTest, GarbageValuesReadAsAtoiDoes) {
    struct Case {
        const char* line;
        int up;
    };
    const Case cases[] = {
        {"UpKey = w", 0},     {"UpKey = 12abc", 12}, {"UpKey =  -5", -5},
        {"UpKey =273", 73},   // the character after "=" is skipped unread
        {"UpKey  = 119", 273},  // not a key line: the default
        {"upkey = 119", 273}, {"UpKey = 99999999999", 2147483647},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        test::WriteFile(dir / "Settings.ini", std::string(c.line) + "\nSoundVolume = loud\n");
        LoadSettings();
        EXPECT_EQ(BindingKey("Up"), c.up);
        EXPECT_EQ(SoundVolume(), 0);
    }
}

TEST_F(SettingsFileTest, MutedMusicKeepsItsVolumeAcrossARestart) {
    test::WriteFile(dir / "Settings.ini", "MusicVolume = 70\n");
    LoadSettings();
    ToggleMusicMute();
    SaveSettings();  // as quitting does
    const std::string written = test::ReadFile(dir / "Settings.ini");
    EXPECT_NE(written.find("\nMusicVolume = 70\nMusicMuted = 1\n"), std::string::npos) << written;

    // The next start: still muted, and unmuting brings the volume back.
    ToggleMusicMute();
    SetMusicVolume(100);
    LoadSettings();
    EXPECT_TRUE(MusicMuted());
    EXPECT_EQ(MusicVolume(), 70);
    ToggleMusicMute();
    EXPECT_EQ(MusicVolume(), 70);
    SaveSettings();
    EXPECT_NE(test::ReadFile(dir / "Settings.ini").find("\nMusicVolume = 70\nMusicMuted = 0\n"), std::string::npos);
}

TEST_F(SettingsFileTest, AFileFromBeforeUndoLoadsWithTheNewDefaults) {
    // Exactly what earlier versions wrote, with a rebound Restart and the music muted
    // (kept then as volume 0).
    test::WriteFile(dir / "Settings.ini",
                    "SoundVolume = 60\nMusicVolume = 0\nUpKey = 273\nDownKey = 274\nRightKey = 275\n"
                    "LeftKey = 276\nAction1 = 32\nSkipDialog = 99\nRestart = 116\nMuteMusic = 109\n"
                    "SaveReplay = 290\nLoadReplay = 291\nScreenshot = 316\n");
    LoadSettings();
    EXPECT_EQ(BindingKey("Undo"), 8);
    EXPECT_EQ(BindingKey("Hint"), 104);
    EXPECT_EQ(BindingKey("Fullscreen"), 292);
    EXPECT_EQ(platform::WindowScaleSetting(), 0);
    EXPECT_FALSE(platform::FullscreenSetting());
    EXPECT_EQ(BindingKey("Restart"), 116);
    EXPECT_EQ(SoundVolume(), 60);
    EXPECT_EQ(MusicVolume(), 0);
    EXPECT_FALSE(MusicMuted());
}

TEST_F(SettingsFileTest, AMissingOrUnreadableFileGivesTheDefaultsAndAFailedWriteIsTold) {
    platform::TakeNotices();
    SetSoundVolume(30);
    EXPECT_NO_THROW(LoadSettings());
    EXPECT_EQ(SoundVolume(), 100);
    EXPECT_EQ(BindingKey("Up"), 273);
    EXPECT_TRUE(platform::TakeNotices().empty()) << "a missing file is no news";

    // A folder in the file's place can be neither read nor replaced: said both times, and
    // the folder is left as it was.
    fs::create_directories(dir / "Settings.ini" / "inside");
    SetSoundVolume(30);
    EXPECT_NO_THROW(LoadSettings());
    EXPECT_EQ(SoundVolume(), 100);
    EXPECT_NO_THROW(SaveSettings());
    const std::vector<std::string> notices = platform::TakeNotices();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0], "Couldn't read \"Settings.ini\": the default settings are used");
    EXPECT_TRUE(notices[1].starts_with("Couldn't save the settings (couldn't write \"./Settings.ini\": ")) << notices[1];
    EXPECT_TRUE(fs::is_directory(dir / "Settings.ini" / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1) << "no temporary left";
}

TEST_F(SettingsFileTest, AKeyWithNoValueKeepsItsDefaultAndIsNamed) {
    platform::TakeNotices();
    test::WriteFile(dir / "Settings.ini", "SoundVolume = 40\nUpKey =\nDownKey = 115\n");
    EXPECT_NO_THROW(LoadSettings());
    EXPECT_EQ(SoundVolume(), 40);
    EXPECT_EQ(BindingKey("Up"), 273);
    EXPECT_EQ(BindingKey("Down"), 115);
    EXPECT_EQ(platform::TakeNotices(),
              (std::vector<std::string>{"Settings.ini: \"UpKey =\" has no value; the default is used"}));
}

TEST_F(SettingsFileTest, ALinkedFileIsUpdatedThroughTheLink) {
    test::WriteFile(dir / "real.ini", "SoundVolume = 40\n");
    fs::create_symlink("real.ini", dir / "Settings.ini");
    LoadSettings();
    SetSoundVolume(60);
    SaveSettings();
    EXPECT_TRUE(fs::is_symlink(dir / "Settings.ini"));
    EXPECT_EQ(test::ReadFile(dir / "real.ini").substr(0, 17), "SoundVolume = 60\n");
}

// The real program, in a copy of the game folder.
TEST(SettingsFileProgram, ShippedFileIsReadAndWrittenBackAndAMissingOneIsWrittenAnew) {
    test::ScratchDir game;
    test::CopyGameFolder(game.Path());
    EXPECT_EQ(test::ReadFile(game / "Settings.ini"), kDefaults);
    test::WriteFile(game / "Settings.ini", "LeftKey = 97\nSoundVolume = 40\n");
    test::RunResult run = test::RunGameBinary({"--data", game.Path().string(), "--frames", "3"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    std::string expected = kDefaults;
    expected.replace(expected.find("SoundVolume = 100"), 17, "SoundVolume = 40");
    expected.replace(expected.find("LeftKey = 276"), 13, "LeftKey = 97");
    // The first start played the opening, and the file says so for the next.
    expected.replace(expected.find("OpeningSeen = 0"), 15, "OpeningSeen = 1");
    EXPECT_EQ(test::ReadFile(game / "Settings.ini"), expected);

    // Without the file the game starts on the defaults and writes them at the end; what a
    // killed run left behind is cleared away.
    fs::remove(game / "Settings.ini");
    test::WriteFile(game / "Settings.ini.tmp999999999", "half");
    test::WriteFile(game / "SaveData.sav.tmp999999999", "half");
    run = test::RunGameBinary({"--data", game.Path().string(), "--frames", "3"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    std::string seen = kDefaults;
    seen.replace(seen.find("OpeningSeen = 0"), 15, "OpeningSeen = 1");
    EXPECT_EQ(test::ReadFile(game / "Settings.ini"), seen);
    EXPECT_FALSE(fs::exists(game / "Settings.ini.tmp999999999"));
    EXPECT_FALSE(fs::exists(game / "SaveData.sav.tmp999999999"));
}

}  // namespace
