#include "play/story.h"

#include "audio/music.h"
#include "dialog/dialog_box.h"
#include "dialog/dialogs.h"
#include "media/slideshow.h"
#include "play/play.h"

void StartOpeningCutscene() {
    BeginCutscene(true);
    QueueCutscene("Opening", 1, 9);
    PlayMusic("RS#INTROTRACK", false);
    StartSlideshow();
}

void StartGlowingCutscene() {
    BeginCutscene(false);
    QueueCutscene("Glowing", 1, 2);
    StopMusic();
    StartSlideshow();
}

void StartClosingCutscene() {
    BeginCutscene(false);
    // The closing story has no fourth picture: the numbering skips it.
    QueueCutscene("Closing", 1, 19, 4);
    PlayMusic("RS#OUTROTRACK", false);
    AddDialog("Main/Ending");
    StartSlideshow();
}

void UpdateStoryDialogs(const PlaySession& play) {
    // A dialog that opens now comes in where it hides least of the board.
    PlaceBoxAtTop(BoxBelongsAtTop(play.world));
    DialogCues cues;
    cues.turnCount = play.turns;
    cues.levelPerfect = play.LevelPerfect();
    cues.slidesWaiting = SlideQueueSize();
    cues.replayPlaying = play.replay.replayPlaying;
    UpdateDialogs(cues);
}

void UpdateStoryPictures() {
    // The box holds the picture from the frame it opens to the frame it closes.
    static bool boxWasOpen = false;
    if (BoxOpen() != boxWasOpen) {
        boxWasOpen = BoxOpen();
        if (boxWasOpen)
            HoldSlideshow();
        else
            ReleaseSlideshow();
    }
    if (UpdateSlideshow())
        ResetDialogBox();
}
