// Dialogs in play: their events, the box's input rules and its slides.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/screens.h"
#include "app/game_state.h"
#include "content/dialog.h"
#include "dialog/dialog_box.h"
#include "dialog/dialogs.h"
#include "play/play.h"
#include "play/replay.h"
#include "tests/play_fixture.h"
#include "ui/play_display.h"
#include "world/world.h"

namespace {

std::vector<std::string> Running() {
    std::vector<std::string> events;
    for (auto& dialog : RunningDialogs())
        events.push_back(dialog->event);
    return events;
}

bool Showing() { return CurrentDialog() != -1; }

class DialogPlayTest : public PlayTest {
protected:
    // Ends the current dialog by reading it through: a key ends each slide, shows the
    // whole text, then moves on.
    void ReadThrough() {
        for (int i = 0; i < 50 && Showing(); ++i) {
            Frame({SDLK_x});
            Wait(500);
        }
        ASSERT_FALSE(Showing());
    }
};

TEST_F(DialogPlayTest, EachEventStartsItsDialogOnce) {
    Enter("Play/Talk");
    Frame();
    ASSERT_TRUE(Showing()) << "LEVEL_START in the first frame";
    EXPECT_EQ(RunningDialogs()[CurrentDialog()]->event, "LEVEL_START");
    EXPECT_TRUE(PlayPaused());
    ReadThrough();
    Frame();
    EXPECT_FALSE(Showing()) << "a started dialog never fires again, though the turn count is still 0";
    EXPECT_EQ(Running(), (std::vector<std::string>{"LEVEL_PERFECT", "LEVEL_COMPLETE", "pad"}));

    ASSERT_TRUE(Settle());
    Frame({SDLK_RIGHT});
    ASSERT_TRUE(RunUntil(Showing));
    EXPECT_EQ(RunningDialogs()[CurrentDialog()]->event, "pad") << "the trigger's link name";
    ReadThrough();
    ASSERT_TRUE(RunUntil(Showing));
    // Complete and perfect come together; the later one is shown.
    EXPECT_EQ(RunningDialogs()[CurrentDialog()]->event, "LEVEL_COMPLETE");
    EXPECT_EQ(CompletionMessageText(), "") << "not while the box is open";
    ReadThrough();
    Frame();
    EXPECT_EQ(CompletionMessageText(), "Level complete! Press SPACE to continue.");
}

// Talk's crate and gate lie along the bottom, where the box would hide them; Drop's fall
// leaves nothing on the board, and its box comes in along the bottom as usual.
TEST_F(DialogPlayTest, TheBoxComesInAlongTheEdgeWhereItHidesLessOfTheBoard) {
    Enter("Play/Talk");
    Frame();
    ASSERT_TRUE(Showing());
    EXPECT_TRUE(BoxAtTop());
    EXPECT_FALSE(PiecesUnderBox(TheWorld(), false).empty());
    EXPECT_TRUE(PiecesUnderBox(TheWorld(), true).empty());
    ReadThrough();

    Enter("Play/Drop");
    ASSERT_TRUE(RunUntil(Showing));
    EXPECT_EQ(RunningDialogs()[CurrentDialog()]->event, "LEVEL_FAIL");
    EXPECT_FALSE(BoxAtTop());
}

TEST_F(DialogPlayTest, NoDialogStartsDuringReplayPlayback) {
    ThePlaySession().StartPlayback(ReplayFile{"Play/Talk", {"Down", "Right", ""}});
    SetState(GameState::Play);
    bool shown = false;
    EXPECT_TRUE(RunUntil([&] {
        shown = shown || Showing();
        return TheWorld().levelStatus == LevelStatus::Complete;
    }));
    EXPECT_FALSE(shown);
    EXPECT_EQ(ThePlaySession().turns, 2);
    Frame({SDLK_x});
    EXPECT_FALSE(ThePlaySession().replay.replayPlaying);
    EXPECT_TRUE(Showing()) << "once the player takes over, the level talks again";
}

TEST_F(DialogPlayTest, EscapeSkipsTheDialogAndStaysInTheLevel) {
    Enter("Play/Talk");
    Frame();
    ASSERT_TRUE(Showing());
    Frame({SDLK_ESCAPE});
    EXPECT_EQ(CurrentState(), GameState::Play);
    EXPECT_FALSE(Showing());
    EXPECT_FALSE(PlayPaused());
    EXPECT_EQ(Running(), (std::vector<std::string>{"LEVEL_PERFECT", "LEVEL_COMPLETE", "pad"}))
        << "only the current dialog goes";
    Frame({SDLK_ESCAPE});
    EXPECT_EQ(CurrentState(), GameState::CustomLevels) << "with no dialog, Escape leaves";
}

TEST_F(DialogPlayTest, RestartGetsThroughTheDialogAndStartsItAgain) {
    Enter("Play/Talk");
    Frame();
    ASSERT_TRUE(Showing());
    ThePlaySession().replay.replayUsed = true;
    Frame({SDLK_r});
    EXPECT_FALSE(Showing());
    EXPECT_EQ(Running().size(), 4u) << "the level's dialogs are built afresh";
    EXPECT_TRUE(ThePlaySession().replay.replayUsed) << "restart keeps the replay mark";
    Frame();
    EXPECT_TRUE(Showing()) << "LEVEL_START fires again";
}

TEST_F(DialogPlayTest, TheBoxTakesOneStepPerKey) {
    Enter("Play/Talk");
    Frame();
    ASSERT_TRUE(Showing());
    EXPECT_FALSE(SlideDone());
    Frame({SDLK_x});
    EXPECT_TRUE(SlideDone()) << "a key ends the slide-in";
    EXPECT_EQ(BoxX(), 0);
    EXPECT_EQ(ShownText(), "") << "the same key does not also type";
    // The speaker screen switches on, then the text types out a letter per 30 ms.
    ASSERT_TRUE(RunUntil([] { return !ShownText().empty(); }, 50));
    EXPECT_LT(ShownText().size(), FullText().size());
    Frame({SDLK_x});
    EXPECT_EQ(ShownText(), "The crate wants the gate.");
    Frame({SDLK_x});
    EXPECT_EQ(FullText(), "Tip the lake to the right.");
    EXPECT_EQ(ShownText(), "");
    EXPECT_EQ(SpeakerPicturePath(), "Play/Heron");
    Frame({SDLK_x});  // shows it whole
    Frame({SDLK_x});  // nothing left: the box closes
    EXPECT_FALSE(BoxOpen());
    EXPECT_TRUE(Showing()) << "until the slide-out ends";
    EXPECT_TRUE(RunUntil([] { return !Showing(); }, 300));
    EXPECT_FALSE(PlayPaused());
    EXPECT_LE(BoxX(), -639);
}

TEST_F(DialogPlayTest, ADialogWithoutMessagesOpensNothing) {
    Enter("Play/Slide");
    AddDialog("Play/Empty");
    Frame();
    EXPECT_FALSE(Showing());
    EXPECT_FALSE(BoxOpen());
    EXPECT_FALSE(PlayPaused()) << "play is not left paused behind an empty box";
    EXPECT_TRUE(RunningDialogs().empty());

    AddDialog("Play/Empty");
    AddDialog("Play/Hello");
    Frame();
    ASSERT_TRUE(Showing()) << "the dialog after an empty one starts in the same frame";
    EXPECT_EQ(FullText(), "The crate wants the gate.");
}

TEST_F(DialogPlayTest, FailureHasItsDialog) {
    Enter("Play/Drop");
    ASSERT_TRUE(RunUntil(Showing));
    EXPECT_EQ(TheWorld().levelStatus, LevelStatus::Failed);
    EXPECT_EQ(FullText(), "Gone under.");
}

}  // namespace

namespace {

TEST_F(DialogPlayTest, BackInTheEditorTheLevelKeepsQuiet) {
    SetCameFromEditor(true);
    Enter("Play/Talk");
    Frame();
    ASSERT_TRUE(Showing());
    Frame({SDLK_c});
    Frame({SDLK_ESCAPE});
    ASSERT_EQ(CurrentState(), GameState::LevelEditor);
    for (int i = 0; i < 5; ++i)
        Frame();
    EXPECT_FALSE(Showing()) << "the level built again for the editor brings no dialogs along";
    EXPECT_TRUE(RunningDialogs().empty());
}

}  // namespace
