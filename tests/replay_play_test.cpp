// Replays saved and loaded through the chooser from the running game, and the two campaign
// levels that end in a cutscene.
#include <gtest/gtest.h>

#include "game/screens.h"
#include "app/game_state.h"
#include "dialog/dialogs.h"
#include "media/slideshow.h"
#include "platform/game_error.h"
#include "play/play.h"
#include "play/replay.h"
#include "play/save_data.h"
#include "tests/play_fixture.h"
#include "widgets/file_chooser.h"
#include "widgets/notice_line.h"
#include "ui/level_select.h"
#include "world/world.h"

namespace {

class ReplayPlayTest : public PlayTest {
protected:
    void TearDown() override {
        ClearFileChooserAnswers();
        PlayTest::TearDown();
    }
};

TEST_F(ReplayPlayTest, LoadingFromAMenuPlaysTheReplaysLevelAndSavingAfterwardsKeepsNoMoves) {
    test::WriteFile(dir / "walk.rpl", "Play/Slide\nDown\nLeft\n");
    SetState(GameState::LevelSelect);
    SetFileChooserAnswer("walk.rpl");
    Frame({SDLK_F10});
    ASSERT_EQ(CurrentState(), GameState::Play);
    EXPECT_EQ(ThePlaySession().levelName, "Play/Slide");
    EXPECT_TRUE(ThePlaySession().replay.replayPlaying) << "the key that loaded it does not stop it";
    ASSERT_TRUE(RunUntil([] { return !ThePlaySession().replay.replayPlaying; }));
    EXPECT_EQ(ThePlaySession().turns, 2);

    SetFileChooserAnswer("again.rpl");
    Frame({SDLK_F9});
    EXPECT_EQ(test::ReadFile(dir / "again.rpl"), "Play/Slide\n") << "played-back moves are not the player's";
}

TEST_F(ReplayPlayTest, AReplaySavedAfterRestartHoldsOnlyTheTurnsSince) {
    Enter("Play/Slide");
    ASSERT_TRUE(Settle());
    Frame({SDLK_DOWN});
    Frame({SDLK_r});
    ASSERT_TRUE(Settle());
    Frame({SDLK_UP});
    ASSERT_TRUE(Settle());
    SetFileChooserAnswer("after.rpl");
    Frame({SDLK_F9});
    EXPECT_EQ(test::ReadFile(dir / "after.rpl"), "Play/Slide\nUp\n");
    SetFileChooserAnswer(std::nullopt);
    Frame({SDLK_F9});
    EXPECT_EQ(CurrentState(), GameState::Play) << "a cancelled save changes nothing";

    // A replay that cannot be written keeps the file there and says so.
    ClearNotices();
    std::filesystem::create_directories(dir / "taken.rpl" / "inside");
    SetFileChooserAnswer("taken.rpl");
    Frame({SDLK_F9});
    EXPECT_EQ(CurrentNotice(), "Couldn't save the replay to \"taken.rpl\"");
    EXPECT_TRUE(std::filesystem::exists(dir / "taken.rpl" / "inside"));
    EXPECT_EQ(CurrentState(), GameState::Play);
}

TEST_F(ReplayPlayTest, LoadingDuringPlayLeavesTheLevelWithItsProgressWritten) {
    test::WriteFile(dir / "campaign.rpl", "Main/Level 1\nRight\n");
    Enter("Play/Slide");
    ASSERT_TRUE(Settle());
    Frame({SDLK_RIGHT});
    ASSERT_TRUE(RunUntil([] { return TheWorld().levelStatus == LevelStatus::Complete; }));
    Frame();
    SetFileChooserAnswer("campaign.rpl");
    Frame({SDLK_F10});
    EXPECT_EQ(ThePlaySession().levelName, "Main/Level 1");
    SaveData onDisk;
    onDisk.Build({"Play/Slide"});
    onDisk.Read("SaveData.sav");
    EXPECT_EQ(onDisk.BestTurns("Play/Slide"), 1);
    ASSERT_TRUE(RunUntil([] { return TheWorld().levelStatus == LevelStatus::Complete; }));
    Frame();
    EXPECT_EQ(IsCompleted("Main/Level 1"), 0) << "the replay did it";
}

TEST_F(ReplayPlayTest, ReplaysThatCannotBePlayed) {
    Enter("Play/Slide");
    SetFileChooserAnswer(std::nullopt);
    Frame({SDLK_F10});
    EXPECT_FALSE(ThePlaySession().replay.replayPlaying) << "cancelled";

    // A file that cannot be read keeps the level and has nothing to play.
    SetFileChooserAnswer("missing.rpl");
    Frame({SDLK_F10});
    EXPECT_EQ(CurrentState(), GameState::Play);
    EXPECT_EQ(ThePlaySession().levelName, "Play/Slide");
    ASSERT_TRUE(Settle());
    Frame();
    EXPECT_FALSE(ThePlaySession().replay.replayPlaying);

    // Files that cannot be played say so on screen and leave play as it was.
    test::WriteFile(dir / "empty.rpl", "");
    test::WriteFile(dir / "unknown.rpl", "Nowhere/Level 9\nRight\n");
    struct Case {
        const char* file;
        const char* message;
    } cases[] = {
        {"missing.rpl", "Couldn't read the replay \"missing.rpl\""},
        {"empty.rpl", "The replay \"empty.rpl\" names no level of this game"},
        {"unknown.rpl", "The replay \"unknown.rpl\" names no level of this game: \"Nowhere/Level 9\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Frame();
        ClearNotices();
        SetFileChooserAnswer(c.file);
        Frame({SDLK_F10});
        EXPECT_EQ(CurrentState(), GameState::Play);
        EXPECT_EQ(ThePlaySession().levelName, "Play/Slide");
        EXPECT_FALSE(ThePlaySession().replay.replayPlaying);
        EXPECT_EQ(CurrentNotice(), c.message);
    }
}

TEST_F(ReplayPlayTest, TheClosingLevelEndsInItsCutsceneAndTheCredits) {
    Enter("Main/Tarrow For Time");
    ASSERT_TRUE(RunUntil([] { return SlideshowActive(); }));
    EXPECT_EQ(TheWorld().levelStatus, LevelStatus::Complete);
    EXPECT_EQ(RunningDialogs().size(), 1u) << "the ending's dialog waits for the last picture";
    Frame({SDLK_SPACE});
    EXPECT_TRUE(SlideshowActive()) << "only Escape skips this one";
    EXPECT_EQ(CurrentState(), GameState::Play);
    Frame({SDLK_ESCAPE});
    EXPECT_TRUE(RunningDialogs().empty()) << "skipping drops the ending's dialog";
    ASSERT_TRUE(RunUntil([] { return CurrentState() != GameState::Play; }, 10));
    EXPECT_EQ(CurrentState(), GameState::Credits);
}

TEST_F(ReplayPlayTest, TheGlowingLevelEndsInItsCutsceneAndMovesTheSelectionOn) {
    SetSelectedLevel(1);
    Enter("Main/Botany \xE0 la Kool-aid Man");
    ASSERT_TRUE(RunUntil([] { return SlideshowActive(); }));
    Frame({SDLK_ESCAPE});
    ASSERT_TRUE(RunUntil([] { return CurrentState() != GameState::Play; }, 10));
    EXPECT_EQ(CurrentState(), GameState::LevelSelect);
    EXPECT_EQ(SelectedLevel(), 2);
}

}  // namespace
