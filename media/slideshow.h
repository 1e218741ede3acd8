#pragma once
#include <cstddef>

// Cutscenes: full-screen pictures shown one after another through fades to black. While a
// slideshow runs it swallows all input and hides the mouse cursor.
void StartOpeningCutscene();
void StartGlowingCutscene();
void StartClosingCutscene();
void StartSlideshow();

// Once per frame from the main loop.
void UpdateSlideshow();
// No picture waits and none is shown.
bool SlideshowFinished();
bool SlideshowActive();
std::size_t SlideQueueSize();

// A dialog box open over a picture keeps it up until the box closes.
void HoldSlideshow();
void ReleaseSlideshow();
void ClearSlideQueue();
