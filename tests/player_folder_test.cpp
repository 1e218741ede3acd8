#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/player_folder.h"
#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

TEST(PlayerFolder, FollowsTheXdgRule) {
    const struct {
        const char* xdg;
        const char* home;
        const char* folder;
        bool noted;
    } cases[] = {
        {"/data", "/home/p", "/data/quillmere", false},
        {nullptr, "/home/p", "/home/p/.local/share/quillmere", false},
        {"", "/home/p", "/home/p/.local/share/quillmere", false},   // empty counts as unset
        {"data", "/home/p", "/home/p/.local/share/quillmere", true},  // relative: ignored, and said so
        {"data", nullptr, "", true},
        {nullptr, "", "", false},
        {nullptr, "home", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.xdg ? c.xdg : "(unset)") + " " + (c.home ? c.home : "(unset)"));
        std::string note;
        EXPECT_EQ(platform::PlayerFolder(c.xdg, c.home, &note), fs::path(c.folder));
        EXPECT_EQ(!note.empty(), c.noted) << note;
    }
}

class PreparePlayerFolder : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteFile(shipped / "LevelList.txt", "Main/Level 1\n");
        test::WriteFile(shipped / "Settings.ini", "SoundVolume = 100\n");
        test::WriteFile(shipped / "GUI" / "Cursor.png", "png");
        test::WriteFile(shipped / "Modules" / "Main" / "Include.ini", "");
        test::WriteFile(shipped / "Modules" / "Extra" / "Include.ini", "");
    }

    test::ScratchDir dir;
    fs::path shipped = dir / "prefix";
    fs::path player = dir / "home" / "quillmere";
};

TEST_F(PreparePlayerFolder, LinksTheShippedContentAndCopiesTheSettings) {
    // Installed content is read-only; the player's copy must not be.
    fs::permissions(shipped / "Settings.ini", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const platform::FolderSetup setup = platform::PreparePlayerFolder(player, shipped);
    EXPECT_TRUE(setup.usable);
    EXPECT_TRUE(setup.problems.empty());
    EXPECT_EQ(fs::read_symlink(player / "GUI"), shipped / "GUI");
    EXPECT_EQ(fs::read_symlink(player / "LevelList.txt"), shipped / "LevelList.txt");
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(player / "Modules")));
    EXPECT_EQ(fs::read_symlink(player / "Modules" / "Main"), shipped / "Modules" / "Main");
    EXPECT_FALSE(fs::is_symlink(player / "Settings.ini"));
    EXPECT_EQ(test::ReadFile(player / "Settings.ini"), "SoundVolume = 100\n");
    EXPECT_NE(fs::status(player / "Settings.ini").permissions() & fs::perms::owner_write, fs::perms::none)
        << "the first copy can be saved over";
}

TEST_F(PreparePlayerFolder, KeepsWhatThePlayerMadeAndMendsBrokenLinks) {
    test::WriteFile(player / "Settings.ini", "SoundVolume = 5\n");
    test::WriteFile(player / "Modules" / "Mine" / "Include.ini", "");
    test::WriteFile(player / "Modules" / "Extra" / "Include.ini", "mine");  // the player's own copy wins
    fs::create_directories(player);
    fs::create_symlink(dir / "old-prefix" / "GUI", player / "GUI");                      // an install since moved
    fs::create_symlink(dir / "old-prefix" / "Modules" / "Gone", player / "Modules" / "Gone");  // no longer shipped
    fs::create_symlink(dir / "elsewhere", player / "LevelList.txt");

    const platform::FolderSetup setup = platform::PreparePlayerFolder(player, shipped);
    EXPECT_TRUE(setup.usable);
    EXPECT_EQ(test::ReadFile(player / "Settings.ini"), "SoundVolume = 5\n");
    EXPECT_EQ(test::ReadFile(player / "Modules" / "Extra" / "Include.ini"), "mine");
    EXPECT_TRUE(fs::exists(player / "Modules" / "Mine" / "Include.ini"));
    EXPECT_EQ(fs::read_symlink(player / "GUI"), shipped / "GUI");
    EXPECT_EQ(fs::read_symlink(player / "LevelList.txt"), shipped / "LevelList.txt");
    EXPECT_FALSE(fs::exists(fs::symlink_status(player / "Modules" / "Gone")));
    // Each broken link is told, by name.
    for (const char* name : {"GUI", "LevelList.txt", "Gone"}) {
        EXPECT_TRUE(std::any_of(setup.problems.begin(), setup.problems.end(),
                                [&](const std::string& p) { return p.find(name) != std::string::npos; }))
            << name;
    }
}

TEST_F(PreparePlayerFolder, AFolderThatCannotBeMadeIsToldAndNotUsed) {
    test::WriteFile(dir / "home", "a file where the folder should go");
    const platform::FolderSetup setup = platform::PreparePlayerFolder(player, shipped);
    EXPECT_FALSE(setup.usable);
    ASSERT_EQ(setup.problems.size(), 1u);
    EXPECT_TRUE(setup.problems[0].starts_with("Couldn't create the folder \"" + player.string() + "\""))
        << setup.problems[0];
}

TEST_F(PreparePlayerFolder, AFolderThatCannotBeMadeGivesTheReasonOfTheMaking) {
    // The system's own folder /sys refuses new folders even to root: the reason is that
    // refusal, never the "not there" of asking afterwards.
    if (!fs::is_directory("/sys/kernel"))
        GTEST_SKIP() << "no /sys here";
    const fs::path refused = "/sys/quillmere-test/data/quillmere";
    const platform::FolderSetup setup = platform::PreparePlayerFolder(refused, shipped);
    ASSERT_EQ(setup.problems.size(), 1u);
    EXPECT_EQ(setup.problems[0].find("No such file"), std::string::npos) << setup.problems[0];
    EXPECT_NE(setup.problems[0].find("not permitted"), std::string::npos) << setup.problems[0];
}

TEST_F(PreparePlayerFolder, MissingShippedContentLeavesTheFolderUnusable) {
    fs::remove_all(shipped / "GUI");
    EXPECT_FALSE(platform::PreparePlayerFolder(player, shipped).usable);
}

}  // namespace
