// The real program walked through its menus by scripted input; what it shows is read back
// from the frames it writes, what it keeps from the files it leaves.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>

#include "tests/frame_shots.h"
#include "tests/play_fixture.h"
#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

using test::Difference;
using test::LoadShot;
using test::Shot;

constexpr SDL_Rect kTitleCaption{69, 302, 502, 90};
constexpr SDL_Rect kLevelPanel{391, 20, 236, 300};
constexpr SDL_Rect kWholeScreen{0, 0, 640, 480};

class FrontProgram : public ::testing::Test {
protected:
    void SetUp() override {
        test::CopyGameFolder(dir.Path());
        test::WriteFile(dir / "Modules/Main/Include.ini", "Levels.ini\n");
        test::WriteFile(dir / "Modules/Main/Levels.ini",
                        "[Level]\nName = Level 1\nTurnsPar = 3\n\n"
                        "[Level]\nName = Level 2\nTurnsPar = 4\n\n"
                        "[Level]\nName = Level 3\n");
        test::WriteFile(dir / "LevelList.txt", "Main/Level 1\nMain/Level 2\nMain/Level 3\n");
    }

    // Runs the game on the script; the frame lines "N shot NAME" write NAME.bmp in the folder.
    test::RunResult Run(const std::string& script, long frames = 2000) {
        std::string text;
        std::size_t start = 0;
        while (start < script.size()) {
            std::size_t end = script.find('\n', start);
            std::string line = script.substr(start, end - start);
            if (auto at = line.find(" shot "); at != std::string::npos)
                line = line.substr(0, at) + " shot " + (dir / (line.substr(at + 6) + ".bmp")).string();
            text += line + "\n";
            start = end == std::string::npos ? script.size() : end + 1;
        }
        test::WriteFile(dir / "script.txt", text);
        return test::RunGameBinary({"--data", dir.Path().string(), "--script", (dir / "script.txt").string(), "--frames",
                                    std::to_string(frames), "--uncapped"});
    }
    Shot Frame(const std::string& name) { return LoadShot(dir / (name + ".bmp")); }

    test::ScratchDir dir;
};

// A save file with Level 1 completed in `turns`.
std::string CompletedLevelOne(int turns) {
    std::string record = "Main/Level 1";
    record.resize(40, '\0');
    record += '\1';
    for (int i = 0; i < 4; ++i)
        record += static_cast<char>((turns >> (8 * i)) & 0xff);
    return record;
}

TEST_F(FrontProgram, WalksFromTheTitleThroughTheLevelSelectIntoALevelAndBack) {
    test::WriteFile(dir / "SaveData.sav", CompletedLevelOne(2));
    test::RunResult r = Run(
        "1 key 27\n"                 // skip the opening pictures
        "10 shot title\n"
        "12 mousemove 320 212\n"     // over SETTINGS
        "16 shot title-settings\n"
        "18 mousemove 30 30\n"
        "22 shot title-none\n"
        "24 mousemove 160 212\n"
        "25 mousedown 1 160 212\n"
        "26 mouseup 1 160 212\n"     // PLAY: the level select, on Level 2, the first still to play
        "40 shot select-1\n"
        "42 key 276\n"               // Level 1, completed
        "50 shot select-2\n"
        "52 mousemove 190 152\n"
        "53 mousedown 1 190 152\n"
        "54 mouseup 1 190 152\n"     // Level 3 is locked
        "56 key 274\n"
        "62 shot select-locked\n"
        "64 mousemove 119 152\n"
        "65 mousedown 1 119 152\n"
        "66 mouseup 1 119 152\n"     // back to Level 2 by a click
        "72 shot select-clicked\n"
        "74 key 32\n"                // play it
        "90 shot playing\n"
        "92 key 27\n"                // and leave it
        "110 shot select-back\n"
        "112 key 27\n"               // to the title
        "120 key 27\n"               // and out: asked first
        "124 key 276\n"              // QUIT
        "126 key 13\n"
        "200 shot too-late\n");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_FALSE(fs::exists(dir / "too-late.bmp")) << "QUIT on the question ends the program";

    Shot title = Frame("title"), titleSettings = Frame("title-settings"), titleNone = Frame("title-none");
    ASSERT_TRUE(title && titleSettings && titleNone);
    EXPECT_GT(Difference(title, titleSettings, kTitleCaption), 0.02) << "the caption names the button under the mouse";
    EXPECT_LT(Difference(titleSettings, titleNone, kTitleCaption), 0.005) << "and stays with the selection it left";

    Shot one = Frame("select-1"), two = Frame("select-2"), locked = Frame("select-locked");
    Shot clicked = Frame("select-clicked"), playing = Frame("playing"), back = Frame("select-back");
    ASSERT_TRUE(one && two && locked && clicked && playing && back);
    EXPECT_GT(Difference(title, one, kWholeScreen), 0.3);
    EXPECT_GT(Difference(one, two, kLevelPanel), 0.01) << "the panel shows the level before";
    EXPECT_LT(Difference(two, locked, kWholeScreen), 0.005) << "a locked level is never chosen";
    EXPECT_LT(Difference(one, clicked, kWholeScreen), 0.005);
    EXPECT_GT(Difference(clicked, playing, kWholeScreen), 0.3);
    EXPECT_LT(Difference(clicked, back, kWholeScreen), 0.005) << "back where play began";
}

TEST_F(FrontProgram, SettingsKeepAVolumeAndAKeyAfterANormalExit) {
    test::RunResult r = Run(
        "1 key 27\n"
        "10 mousemove 320 212\n"
        "11 mousedown 1 320 212\n"
        "12 mouseup 1 320 212\n"     // SETTINGS
        "30 mousemove 178 314\n"
        "31 mousedown 1 178 314\n"   // hold the sound arrow down for a third of a second
        "64 mouseup 1 178 314\n"
        "70 mousemove 480 380\n"
        "71 mousedown 1 480 380\n"
        "72 mouseup 1 480 380\n"     // REBIND the first action, Up
        "80 key 119\n"               // to W
        "90 mousemove 150 230\n"
        "91 mousedown 1 150 230\n"
        "92 mouseup 1 150 230\n"     // RETURN TO MENU
        "100 key 27\n");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    std::string settings = test::ReadFile(dir / "Settings.ini");
    EXPECT_NE(settings.find("SoundVolume = 85\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("MusicVolume = 100\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("UpKey = 119\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("DownKey = 274\n"), std::string::npos) << settings;
}

TEST_F(FrontProgram, ClearDataEmptiesTheProgressOnlyWhenTheAnswerIsForget) {
    struct Case {
        const char* what;
        const char* answer;
        bool cleared;
    };
    const Case cases[] = {
        {"KEEP clicked", "40 mousemove 390 260\n41 mousedown 1 390 260\n42 mouseup 1 390 260\n", false},
        {"Enter twice: KEEP, then RETURN TO MENU", "40 key 13\n50 key 13\n", false},
        {"FORGET", "40 key 276\n42 key 13\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::WriteFile(dir / "SaveData.sav", CompletedLevelOne(2));
        fs::remove(dir / "Settings.ini");  // each run a first start, with the opening to skip
        std::string script = "1 key 27\n10 mousemove 320 212\n11 mousedown 1 320 212\n12 mouseup 1 320 212\n";
        script += "30 mousemove 150 140\n30 mousedown 1 150 140\n31 mouseup 1 150 140\n";  // CLEAR DATA
        script += c.answer;
        script += "80 key 27\n90 key 27\n92 key 276\n94 key 13\n";
        test::RunResult r = Run(script);
        ASSERT_EQ(r.exitCode, 0) << r.output;
        std::string saved = test::ReadFile(dir / "SaveData.sav");
        ASSERT_EQ(saved.size(), 3u * 45) << "one record per level, written again at shutdown";
        if (!c.cleared) {
            EXPECT_EQ(saved.substr(0, 45), CompletedLevelOne(2));
        } else {
            for (std::size_t at = 0; at < saved.size(); at += 45)
                EXPECT_EQ(saved.substr(at + 40, 5), std::string(5, '\0')) << "record " << at / 45;
        }
    }
}

TEST_F(FrontProgram, TheOpeningPlaysOnceAndEscapesAfterItNeverQuit) {
    test::RunResult r = Run(
        "5 shot opening\n"
        "40 key 27\n"
        "50 shot title\n"
        "60 key 27\n"                // asks
        "62 key 27\n"                // STAY
        "64 key 27\n"                // asks
        "66 key 13\n"                // STAY
        "80 shot still-here\n"
        "90 key 27\n"
        "92 key 276\n"
        "94 key 13\n"               // QUIT
        "150 shot too-late\n");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_FALSE(fs::exists(dir / "too-late.bmp")) << "QUIT ends the program";
    Shot opening = Frame("opening"), title = Frame("title"), stillHere = Frame("still-here");
    ASSERT_TRUE(opening && title && stillHere);
    EXPECT_GT(Difference(opening, title, kWholeScreen), 0.3);
    EXPECT_LT(Difference(title, stillHere, kWholeScreen), 0.005) << "four Escapes and an Enter left the title as it was";

    // The second start goes straight to the title.
    r = Run("5 shot second-start\n10 key 27\n12 key 276\n14 key 13\n");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    Shot second = Frame("second-start");
    ASSERT_TRUE(second);
    EXPECT_LT(Difference(title, second, kWholeScreen), 0.02);
}

// Random keys and clicks, some pressed and released in one frame and some held across
// screens, over a module whose later levels a single turn would complete: the run ends
// well, and no locked level was ever played.
TEST_F(FrontProgram, RandomInputNeverStartsALockedLevel) {
    WritePlayGameFolder(dir.Path());
    test::WriteFile(dir / "Modules/Main/Include.ini", "Levels.ini\n");
    test::WriteFile(dir / "LevelList.txt", "Main/Level 1\nMain/Level 2\nMain/Level 3\n");
    const std::string board = "Add: [PhysObj] Play/Floor @ 0, 464; Rotate 0; Link () -> ()\n"
                              "Add: [PhysObj] Play/Post @ 0, 400; Rotate 0; Link () -> ()\n"
                              "Add: [PhysObj] Play/Post @ 624, 400; Rotate 0; Link () -> ()\n"
                              "Add: [PhysObj] Play/Crate @ 16, 432; Rotate 0; Link () -> ()\n";
    const std::string gate = "Add: [Exit] Play/Gate @ 592, 432; Rotate 0; Link () -> ()\n";
    // Level 1 has no gate and so never opens the others.
    test::WriteFile(dir / "Modules/Main/Levels.ini", "[Level]\nName = Level 1\n\n" + board + "\n[Level]\nName = Level 2\n\n" +
                                                         board + gate + "\n[Level]\nName = Level 3\n\n" + board + gate);
    const int keys[] = {9, 13, 27, 32, 273, 274, 275, 276, 'c', 'r', 8};
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        auto chance = [&](unsigned percent) { return random() % 100 < percent; };
        std::string script;
        std::vector<int> held;
        for (int frame = 1; frame <= 3000; ++frame) {
            const std::string at = std::to_string(frame) + " ";
            // Escape ends the program from the title: rarer, so that the run goes on a while.
            if (chance(15)) {
                int key = keys[random() % std::size(keys)];
                if (key == 27 && !chance(10))
                    key = 13;
                held.push_back(key);
                script += at + "keydown " + std::to_string(key) + "\n";
            }
            if (!held.empty() && chance(15)) {
                const std::size_t k = random() % held.size();
                script += at + "keyup " + std::to_string(held[k]) + "\n";
                held.erase(held.begin() + static_cast<std::ptrdiff_t>(k));
            }
            const std::string where = std::to_string(random() % 640) + " " + std::to_string(random() % 480) + "\n";
            if (chance(20))
                script += at + "mousemove " + where;
            if (chance(5))
                script += at + "mousedown 1 " + where;
            if (chance(5))
                script += at + "mouseup 1 " + where;
            if (chance(3))
                script += at + "mousedown 1 " + where + at + "mouseup 1 " + where;
        }
        fs::remove(dir / "SaveData.sav");
        test::RunResult r = Run(script, 3000);
        ASSERT_EQ(r.exitCode, 0) << r.output;
        const std::string saved = fs::exists(dir / "SaveData.sav") ? test::ReadFile(dir / "SaveData.sav") : "";
        for (std::size_t at = 0; at + 45 <= saved.size(); at += 45) {
            const std::string name = saved.substr(at, saved.find('\0', at) - at);
            if (name != "Main/Level 1") {
                EXPECT_EQ(saved[at + 40], '\0') << name << " was completed, so it was played while locked";
            }
        }
    }
}

// The player's own files never end the program: a module that does not load is skipped with
// a line on screen, and a level-list slot naming no level can be neither chosen nor played.
TEST_F(FrontProgram, ABrokenModuleAndAListedLevelNoModuleHasLeaveTheGamePlayable) {
    test::WriteFile(dir / "Modules/Broken/Include.ini", "Things.ini\n");
    test::WriteFile(dir / "Modules/Broken/Things.ini",
                    "[Level]\nName = Fine\n\n[Sprite]\nName = Picture\nSpritePath = missing.png\n");
    test::WriteFile(dir / "LevelList.txt", "Main/Level 1\nBroken/Fine\nMain/Level 3\n");
    test::WriteFile(dir / "SaveData.sav", CompletedLevelOne(2));
    test::RunResult r = Run(
        "1 key 27\n"
        "10 shot title-notice\n"
        "25 mousemove 160 212\n"
        "26 mousedown 1 160 212\n"
        "27 mouseup 1 160 212\n"    // PLAY: the level select
        "40 shot select\n"
        "42 key 275\n"              // the second slot names a level of the skipped module
        "60 shot select-after\n"
        "62 key 27\n"
        "480 shot title-later\n"
        "490 key 27\n");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("The module \"Broken\" was skipped: File missing.png could not be loaded!"), std::string::npos)
        << r.output;
    Shot notice = Frame("title-notice"), later = Frame("title-later");
    Shot select = Frame("select"), after = Frame("select-after");
    ASSERT_TRUE(notice && later && select && after);
    EXPECT_GT(Difference(notice, later, SDL_Rect{0, 420, 640, 60}), 0.01) << "the line shows, then goes";
    EXPECT_LT(Difference(select, after, kWholeScreen), 0.005) << "the selection stays on the playable level";
}

// Save data in the way of the game's own file: the game starts, says so, and leaves it.
TEST_F(FrontProgram, SaveDataThatCannotBeReadIsLeftAsItWasAndSaid) {
    fs::create_directories(dir / "SaveData.sav" / "kept");
    test::RunResult r = Run("1 key 27\n20 key 27\n");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("Couldn't read \"SaveData.sav\": progress made now will not be saved over it"),
              std::string::npos)
        << r.output;
    EXPECT_TRUE(fs::exists(dir / "SaveData.sav" / "kept"));
}

}  // namespace
