#pragma once

class PlaySession;

// The story told around play: the running dialogs and the cutscene pictures. The two know
// nothing of each other; this drives both, once a frame, and starts the cutscenes.

void StartOpeningCutscene();
void StartGlowingCutscene();
// The closing pictures, with the keeper's last words over them.
void StartClosingCutscene();

// Starts the dialogs whose events have come and moves the dialog box on.
void UpdateStoryDialogs(const PlaySession& play);
// Moves the pictures on; an open dialog box holds the picture under it, and skipping the
// pictures puts the box away.
void UpdateStoryPictures();
